// Automatic labelling of points: a text label set beside a point at one of nine positions around it,
// or at the first free one of four (right, above, left, below) while labels already placed in the
// collision grid are in the way, the offsets growing pass by pass up to their limits.
//
// The label is either drawn at once on the host's device context or turned into a new CGeoAnno that is
// appended to the annotation record's output list (owned by the caller). One overload labels a single
// point from a prepared parameter record; the other walks a list of objects with a parallel list of
// texts and reports progress to the host's main window.
//
// Lengths of the parameter record, of the annotation's sizes and of the format spacing are given at
// label scale: they are multiplied by S / 10 (symbol sizes by S / 100), S being the record's label
// scale, and rounded as trunc(v + 0.5) (results outside the int range are clamped to it).
//
// Coordinates: the point is converted from its unit to millimetres; the label box and the corners
// below are in millimetres with y up. Nothing here keeps state between calls: the grid and the output
// list carry the results of a run.
#pragma once

#include "annotation/AnnoGrid.h"
#include "annotation/GeoAnnoRecord.h"
#include "annotation/LabelParams.h"

#include <afx/afx.h>

class CDC;
class GEOVIEW;
class CGeoVectorObject;
class CSymbolLibIO;

// Outcome of labelling one point.
enum LABELRESULT : int {
    LABEL_NOT_PLACED = 0,
    LABEL_PLACED = 1,
};

// The window message that reports the progress of a list run: wParam the percentage, lParam 0.
#define WM_GEO_LABEL_PROGRESS 1225

// The corner (left, bottom) of a box of width w and height h set at position `position` around the
// point (x, y), before any offset (halves rounded as trunc(size / 2 + 0.5)):
//   0 (x, y - h/2) right, centred vertically    1 (x, y) upper right       2 (x - w/2, y) above
//   3 (x - w, y) upper left                     4 (x - w, y - h/2) left    5 (x - w, y - h) lower left
//   6 (x - w/2, y - h) below                    7 (x, y - h) lower right   8 (x - w/2, y - h/2) centred
// Any other position has no anchor of its own: the corner is the point itself.
CPoint GetPointLabelCorner(int position, int x, int y, int w, int h);

// Labels one point.
//   dc, scale, origin, offset: the device mapping handed on to drawing (drawing mode only).
//   style, text, format: the label's style, annotation record and formatted-text spacing; the function
//     works on copies and changes none of them. The record's output list selects the mode: with a list
//     a new CGeoAnno (owned by the caller) is appended to it; without one the label is drawn on dc.
//   para: the point and the settings (see tagPOINTPARA); not changed.
//   area: where the labels are meant to go, in the unit of the point (para field 21). A box that a
//     fixed position (0 to 8) would put not wholly inside a non-empty area switches the search to the
//     automatic positions for the passes that follow; an empty area tests nothing.
//   grid: the collision grid of the run; NULL, or para's "use grid" field 0, means every candidate is
//     free and nothing is recorded. Otherwise the final box (the corner plus para's offset fields 15,
//     16, the box size, angle 0) is recorded with a new id from GetAnnoIndexID, also when no free
//     position was found (the label then keeps the last corner tried).
// Returns LABEL_NOT_PLACED for an empty text, and in drawing mode without a device context; both
// change nothing (the grid included). Otherwise LABEL_PLACED.
// The display-scale fit (field 17, drawing only) is skipped when the label scale is not positive.
LABELRESULT AutoLabelGeoPoint(CDC* dc, int scale, CPoint origin, CPoint offset, const GEOVIEW& style,
                              GEOANNO& text, tagPOINTPARA& para, tagRECT& area, tagGEOFORMAT& format,
                              CGeoAnnoGrid* grid);

// Labels a list of objects, object k with text k, through the single-point form, each from a fresh copy
// of para: a point (CGeoPoint and its kinds) at its position; a closed line (CGeoPolygonLine) at an
// inner point of its ring with position 8 (centred); other objects, NULL entries and rings without
// points are skipped. Fields 6 and 5 take the object's symbol sizes (GetObjSymbolSize with symbols),
// field 21 its unit. The record's output list is kept, so created annotations collect there.
// With label kind 3 (para field 14) the host's main window, when there is one, receives message 1225
// with trunc(100.0 * n / total) for n = field 20 before the first object and then once after each
// list entry (skipped ones included), n counting on from field 20; total is field 19, and no message
// is sent when it is 0 or less.
// Returns 0, labelling nothing, when the two lists differ in length; otherwise 1.
int AutoLabelGeoPoint(CDC* dc, int scale, CPoint& origin, CPoint& offset, const GEOVIEW& style,
                      const GEOANNO& text, const tagPOINTPARA& para, CRect& area,
                      CTypedPtrList<CObList, CGeoVectorObject*>& objects, CStringList& texts,
                      tagGEOFORMAT& format, CGeoAnnoGrid* grid, CSymbolLibIO* symbols);
