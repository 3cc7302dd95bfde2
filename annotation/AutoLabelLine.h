// Automatic labelling of lines: a text written along a polyline character by character (or as one
// block), following the line's bends, on the line or beside it, with upright characters or characters
// along or across the line, repeated along long lines, optionally clipped to a visible area first, and
// shifted forward along the line when a character would overlap the previous one or a label already in
// the collision grid.
//
// Each placed piece is either drawn at once on the host's device context or created as a new CGeoAnno
// and appended to the annotation record's output list (owned by the caller). One overload labels one
// point sequence from a prepared parameter record; the other walks a list of polylines with a parallel
// list of texts, can first join lines that carry the same text and touch end to end, and reports
// progress to the host's main window.
//
// Lengths of the parameter record, of the annotation's sizes and of the format spacing are given at
// label scale: they are multiplied by S / 10 (fields 6 to 8 by S / 100), S being the record's label
// scale, and rounded as trunc(v + 0.5). The points are converted from their unit (field 30) to
// millimetres; pieces, boxes and created annotations are in millimetres with y up.
//
// Pieces: one single-byte character (box half the character width by the height), one double-byte
// character (a lead byte of 0x80 or above and the byte after it; box the character width by the height),
// the whole text (the laid-out box) or the rest of the text (its row width by the height).
#pragma once

#include "annotation/AnnoGrid.h"
#include "annotation/AutoLabelPoint.h"
#include "annotation/GeoAnnoRecord.h"
#include "annotation/LabelParams.h"

#include <afx/afx.h>

class CDC;
class GEOVIEW;
class CGeoPLine;
class CSymbolLibIO;

// The 3 x 3 alignment code of a piece for the character orientation (field 1) and the side (field 0):
//   along the line (1):   side 1 -> 0, side 3 -> 2, sides 0 and 2 -> 1
//   across the line (2):  side 1 -> 6, side 3 -> 0, sides 0 and 2 -> 4
//   upright (0):          4, but 1 on the line (side 2)
// Other orientations are handled as upright.
int GetLineLabelAlign(int orientation, int side);

// Labels the point sequence of para fields 18 and 19 (in the unit of field 30) with text's string.
//   dc, scale, origin, offset: the device mapping handed on to drawing (drawing kinds only; without a
//     device context nothing is drawn).
//   style, text, format: works on copies; nothing of them changes, except that created annotations are
//     appended to text's output list (in the kinds that create objects; a piece is deleted when there is
//     no list).
//   para: not changed. Kind (field 21) 3 labels the whole line, 2 first cuts it by area (in the unit of
//     the points; edges count as inside) into its visible pieces; kinds 1 and 3 create annotations,
//     the others draw. Kinds other than 2 and 3 label nothing.
//   grid: the collision grid of the run, may be NULL (no grid tests, nothing recorded). Every placed
//     box is recorded with an id from GetAnnoIndexID.
// A shift step (field 14) of 0 or less places a refused piece where it is, without tests, so a retry
// can never stall. Returns LABEL_NOT_PLACED for a NULL point array, fewer than 2 points or an empty
// text; otherwise LABEL_PLACED (also when the kind labels nothing).
LABELRESULT AutoLabelGeoLine(CDC* dc, int scale, CPoint origin, CPoint offset, const GEOVIEW& style,
                             GEOANNO& text, tagLINEPARA& para, CRect& area, tagGEOFORMAT& format,
                             CGeoAnnoGrid* grid);

// Labels line k of the list with text k through the single form, each from a copy of para whose points,
// symbol sizes (GetObjSymbolSize with symbols: field 6 the first, field 7 half the second, rounded) and
// unit come from the line. NULL entries and objects that are not polylines are skipped; a spline is
// labelled through a polyline conversion of it. The record's output list is kept.
// With join (field 16) set, lines first join when both have at least 2 points, their texts are equal
// byte for byte and an end of one lies on an end of the other: the later line is appended to a working
// copy of the earlier (marked 1 in its object data) and is itself marked 2 and skipped. After the run the
// working copies are deleted, the original lines are back at their places in the list, and the object
// data of every listed line is 0.
// With kind 3 (field 21) the host's main window, when there is one, receives message 1225 with
// trunc(100.0 * n / total) for n = field 29 before the first line and then after each list entry, n
// counting on; total is field 28, and no message is sent when it is 0 or less.
// Returns 0, labelling nothing, when the two lists differ in length; otherwise 1.
int AutoLabelGeoLine(CDC* dc, int scale, CPoint& origin, CPoint& offset, const GEOVIEW& style,
                     const GEOANNO& text, const tagLINEPARA& para, CRect& area,
                     CTypedPtrList<CObList, CGeoPLine*>& lines, CStringList& texts, tagGEOFORMAT& format,
                     CGeoAnnoGrid* grid, CSymbolLibIO* symbols);
