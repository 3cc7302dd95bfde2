// Attribute labels: text made from an object's attribute values through a class label's template,
// set beside the object with the point labeller and either drawn or created as annotation objects.
//
// Values come from the object's record in its layer's attribute database (the theme's common fields,
// then its class's fields) and from four pseudo-fields:
//   "图层名"    the layer's name (text)        "高程"     the object's GetZ (0) (double)
//   "地物名称"  the feature-class name (text)  "地物编码" the class id (32-bit integer)
#pragma once

#include "annotation/GeoClassLabel.h"

#include <afx/afx.h>

class CDC;
class CGeoVectorObject;
class CGeoVectorLayer;
class CSymbolLibIO;

// What ShowAttributeAnnotationLabel does with the labels.
enum ANNOLABELTYPE : int {
    ANNOLABEL_DRAW = 0,    // draw on the device context
    ANNOLABEL_CREATE = 1,  // create annotation objects in the target layer
};

// Empties values, then appends one value per name, in order: a pseudo-field's value; a theme field's
// value from the record; a class field's value from the record; empty text for a name found in
// neither or a value the record lacks (as when the layer has no database or no record). 0 for a NULL
// object (values left empty); else 1.
int GetAttributeByClassField(CGeoVectorObject* pObject, CStringArray& names, CList<COleVariant, COleVariant&>& values);

// Fills the template in label: every "%name%" is replaced by the text of its value (VartoString; an
// empty text becomes one blank). A single or double float whose text holds a '.' is cut, not rounded,
// to precision decimals (a precision below 0 counts as 1; 0 drops the '.'). With bFormatText the
// special characters of formatted text | / @ ( ) \ in a value get a backslash before them unless one
// is there already (GBK double-byte characters are stepped over, so their trail bytes are never
// escaped); plain labels are left as they are. Returns 1; 0 when no value had any text, and then
// values is emptied.
int CreateGClassAttibuteLabel(CStringArray& names, CList<COleVariant, COleVariant&>& values, CString& label,
                              int precision, int bFormatText = 1);

// Labels the objects by the class label's settings (the parameters are those of the point
// labeller): points at their position, closed polygon lines at an inner point (centred), open
// polygon lines and other polylines at the line node (first, last or middle vertex; polylines also
// "both ends": the last point and, when the ends lie farther apart than labelScale * 0.2, the first).
// Names of the template that are neither pseudo-fields nor fields of the layer's theme or the class
// are dropped. Objects without values or with a wholly empty label are skipped, and with kind 0 also
// those whose millimetre bounds lie wholly outside area. With kind 1 the annotations go to target
// (moved from the layer's corner to the target's), take the feature class of the first object
// (carried into the target's theme with the settings' style when the target lacks it). The object
// list is emptied (its objects are not deleted). Nothing happens for a NULL layer, an empty list, or
// kind 1 without a target.
void ShowAttributeAnnotationLabel(CDC* dc, CPoint& origin, CPoint& offset, CRect& area, CGeoVectorLayer* layer,
                                  CGeoClassLabel& settings, CTypedPtrList<CObList, CGeoVectorObject*>& objects,
                                  int scale, int labelScale, ANNOLABELTYPE kind, CGeoVectorLayer* target, int fitText,
                                  CSymbolLibIO* symbols);
