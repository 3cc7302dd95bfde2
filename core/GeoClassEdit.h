// Editing one feature class of a vector layer, carried into the layer's objects and attribute database.
//
// EditGeoClass shows the feature-class property sheet of the user interface (reached through a hook that
// ui/ fills when the library starts; the core never includes ui/) on a copy of the class and, when the
// sheet reports a change, stores the edited class with ApplyGeoClassEdit.
#pragma once

#include <afx/afx.h>

#include "core/GeoGClass.h"

class CGeoVectorLayer;
class CSymbolLibIO;

// The feature-class sheet: pOthers (CGeoGClass*, not owned) the classes the edited one must not collide
// with, pClass the class to show (NULL for a new one), the symbol library (may be NULL), the view-only
// flag. Returns the sheet's modified flag (nonzero when a page was applied) and, then, the edited class
// in *pEdited.
typedef int (*PFN_GCLASS_SHEET)(CObList* pOthers, CGeoGClass* pClass, CSymbolLibIO* pLib, int bViewOnly,
                                CGeoGClass* pEdited);
// Installs the sheet (ui/ does at load); returns the previous one. NULL behaves as a sheet left unchanged.
PFN_GCLASS_SHEET SetGClassSheetHook(PFN_GCLASS_SHEET pfn);
PFN_GCLASS_SHEET GetGClassSheetHook();

// Edits the class with code nCode of the layer in the sheet. 0 when the layer is NULL, the theme has no
// such class, the sheet changed nothing (always so when bViewOnly), or the change could not be stored
// (see ApplyGeoClassEdit); 1 when the edited class was stored.
int EditGeoClass(CGeoVectorLayer* pLayer, UINT nCode, CSymbolLibIO* pLib, int bViewOnly);

// Stores an edited copy of the class nCode in the layer:
//  - a new code moves the layer's objects of nCode to it and, when the class has a table, gives the
//    table the new code; when the database refuses that, a message says so and nothing is changed (0);
//  - without a table the edited class is stored as it is;
//  - with one, the stored class takes the edited code, name, style, scale range, type, elevation flag
//    and letter size, and each field change of the edited class's rename records is made in the table
//    first (a deletion asks before it drops values of existing records; "No" keeps the field); a field
//    whose change the database refuses keeps its stored form, and one message lists them. Fields the
//    database put in a new order are stored in that order.
// Rename records are consumed. 1 when stored, 0 when nothing was changed (also for a NULL layer or an
// unknown code).
int ApplyGeoClassEdit(CGeoVectorLayer* pLayer, UINT nCode, const CGeoGClass& edited);

// Gives every object of the layer with class nOldCode the class nNewCode (SetObjectClassID, which also
// switches the object to the new class's style, or to its own one for 0).
void MoveObjectsToClass(CGeoVectorLayer* pLayer, UINT nOldCode, UINT nNewCode);

// Renumbers the theme's class nOldCode to nNewCode: its table first (when it has one), then the class,
// then the objects. 1 when done (also when both codes are equal); 0 when the theme has no class nOldCode
// or for a NULL layer; 0 with a message saying why, changing nothing, when nNewCode is 0 or another
// class's code or the database refuses to rename the table.
int RenumberGeoClass(CGeoVectorLayer* pLayer, UINT nOldCode, UINT nNewCode);

class CGeoAttributeDatabase;
class CGeoTheme;

// Carries the field changes of `edited` (its rename records, read as the field page writes them) into
// the table nCode of the database (0: the common fields) and into the fields of `stored` (a CGeoGClass,
// or a CGeoTheme for the common fields): a state-1 record changes the stored field in place when name,
// type, size, required flag or default value differ; a state-2 record deletes it, asking first (Yes/No)
// when the table holds records ("No" keeps it); a record without old name adds the field. A change the
// database refuses leaves the stored field as it was and its name is appended to `refused`. Last, when
// the stored fields stand out of the order of `edited`, the database reorders them and `stored` follows;
// stored fields that `edited` lacks go last. Neither rename list is changed. pDB must not be NULL.
template <class THolder>
void ApplyFieldEdits(CGeoAttributeDatabase* pDB, UINT nCode, THolder& stored, const CGeoGClass& edited,
                     CStringArray& refused);

// One message naming the fields whose change the database refused; nothing for an empty list.
void ReportRefusedFields(const CStringArray& refused);
