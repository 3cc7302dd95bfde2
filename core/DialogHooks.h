// The dialogs the core opens, reached through hooks.
//
// Some entry points of the core show a dialog: the symbol picker (GetSymbol), the symbol-library
// picker (SelectSymbolLib) and the value input (CGeoVectorObject::EditSymbolAttribute). The dialogs live
// on a higher floor of the library (ui/), which the core never includes; ui/ fills these hooks when the
// library starts. A hook that is not filled (a NULL function) behaves as a dialog the user cancelled.
//
// Strings are GBK. Every hook is called on the host's user-interface thread and returns IDOK (1) after
// the user confirmed, or any other code (IDCANCEL) after a cancel; outputs are written only on IDOK.
#pragma once

#include <afx/afx.h>

class CSymbolLibIO;

struct tagDialogHooks {
    // The modal symbol picker over pLib (not owned; may be NULL), opened with lCurrent selected and the
    // kind filter dwFilter (0x8000 point, 0x4000 line, 0x2000 fill, 0x1000 custom symbols, combined
    // by OR). On IDOK *plChosen receives the symbol chosen.
    int (*pfnPickSymbol)(CSymbolLibIO* pLib, LONG lCurrent, DWORD dwFilter, LONG* plChosen);
    // The modal symbol-library picker opened on the library name strCurrent ("#name" a library file,
    // "name" a symbol file). On IDOK *pstrChosen receives the name chosen, in the same form.
    int (*pfnPickSymbolLib)(const CString& strCurrent, CString* pstrChosen);
    // The modal input of one integer: window caption, label before the field, unit text after it, and
    // the starting value in *plValue, which receives the value typed on IDOK. No range is checked.
    int (*pfnInputLong)(const CString& strCaption, const CString& strLabel, const CString& strUnit, LONG* plValue);
};

// The hooks now in force (all NULL until the dialogs fill them).
const tagDialogHooks& GetDialogHooks();
// Replaces every hook at once and returns the previous set, so that a test can put it back.
tagDialogHooks SetDialogHooks(const tagDialogHooks& hooks);

class CGeoVectorObject;

// The attribute value dialog of one vector object (ObjAttributeEdit, and CGeoVectorLayer::SetAttribute
// without values). Returns -1 when the dialog cannot be prepared for the object (nothing is shown),
// otherwise the dialog's code after it closed: 0 nothing written, 1 values written, 2 record deleted,
// 3 record split off under a new user ID. Kept apart from tagDialogHooks so that it is filled on its
// own; NULL (the default) behaves as a dialog that cannot be prepared.
typedef int (*AttributeValueDialogHook)(CGeoVectorObject* pObject);
AttributeValueDialogHook GetAttributeValueDialogHook();
// Replaces the hook and returns the previous one.
AttributeValueDialogHook SetAttributeValueDialogHook(AttributeValueDialogHook hook);

struct tagPropertyParam;

// The property sheet of one vector object (CGeoVectorObject::NewEditProperties): shows the sheet over
// the object, view-only when bViewOnly is nonzero, with the host's context pParam (may be NULL), lets
// the object add its own pages (OnAddPropertyPage), writes the confirmed edits back into the object and
// calls its OnPropertyPageOK, or after a cancel its OnPropertyPageCancel. Returns 1 after OK, else 0.
// NULL (the default) behaves as a sheet the user cancelled.
typedef int (*ObjectSheetHook)(CGeoVectorObject* pObject, int bViewOnly, tagPropertyParam* pParam);
ObjectSheetHook GetObjectSheetHook();
// Replaces the hook and returns the previous one.
ObjectSheetHook SetObjectSheetHook(ObjectSheetHook hook);

class CGeoLayer;

// The layer property sheet of one layer (CGeoLayer::EditProperties of vector and image layers): runs it
// over the layer with the symbol library for its style pages (not owned; may be NULL) and the view-only
// flag, and returns how it closed: 1 after OK, any other code after Cancel. The sheet changes the layer
// only when it closes with OK. NULL (the default) behaves as a sheet the user cancelled.
typedef int (*LayerSheetHook)(CGeoLayer* pLayer, CSymbolLibIO* pLib, int bViewOnly);
LayerSheetHook GetLayerSheetHook();
// Replaces the hook and returns the previous one.
LayerSheetHook SetLayerSheetHook(LayerSheetHook hook);

// Opens the layer property sheet (the hook above) and tells whether it changed the layer: 1 when it
// closed with OK or set the layer's modified flag, else 0. The sheet starts from a cleared modified
// flag; a flag that was set before the call is set again afterwards, whatever the sheet did, so that
// unsaved changes made before are never forgotten. 0 for a NULL layer.
int RunLayerPropertySheet(CGeoLayer* pLayer, CSymbolLibIO* pLib, int bViewOnly);
