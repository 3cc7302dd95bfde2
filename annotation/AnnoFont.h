// Fonts of annotation text, and the lettering styles that are made by geometry instead of the font.
//
// CreateAnnoFont turns a text style (GEOVIEW) and an annotation record (GEOANNO) into the GDI font that
// draws one row. Slanted (GEOVIEW flag 0x02) and shoulder-raised (0x08) lettering are not taken from the
// font: the character is drawn into a GDI path, its outline is read back, sheared (ShearSlant,
// ShearShoulder) and filled (DrawCharOutline). The same outlines become polygon objects when the record
// collects glyph outlines (output mode 1, EmitGlyphPolygons).
//
// Also here: the fixed table of Chinese type-size names and the scale factors of five type faces, which
// the annotation style pages use.
//
// Units: the record's sizes and points are in its unit; device values are pixels (y down). Angles are
// tenths of a degree, turned into radians with 3.1415926 / 1800. "Round" is trunc(v + 0.5); "truncate"
// is toward zero.
#pragma once

#include "annotation/GeoAnnoRecord.h"

#include <afx/afx.h>

class CDC;
class CFont;
class GEOVIEW;

// Object data of a glyph outline polygon (CGeoObject::SetObjectData).
#define ANNO_DATA_GLYPH 0x100000u

// One row of the type-size table: a name of at most 7 GBK bytes and a size in millimetres.
struct tagANNOFONTSIZE {
    char name[8];
    double mm;
};
// One row of the face-scale table: a face name of at most 31 GBK bytes and its two factors.
struct tagANNOFACESCALE {
    char face[32];
    double sx;
    double sy;
};

// The 38 type sizes in table order ("特号" 15.75 mm ... "八号" 1.4 mm, then "7" ... "62" points at
// n * 0.25 mm) and the 5 face scales ("宋体", "隶书", "黑体", "仿宋", "楷体_GB2312").
const tagANNOFONTSIZE* GetAnnoFontSizeTable(int& count);
const tagANNOFACESCALE* GetAnnoFaceScaleTable(int& count);

// Creates the row's font in `font`, sets the DC's background mode to TRANSPARENT, its text colour to the
// style's annotation colour and its text alignment (TA_TOP for the top-row aligns 2, 5, 8, TA_BOTTOM for
// the other aligns 0 to 8, unchanged for an align above 8; align 0 in output mode 1), and selects the
// font. Returns the previously selected font, which the caller selects back; NULL when nothing was
// selected: a NULL DC, a scale of 0 or less (as a signed int), or a font GDI refuses. Background mode,
// text colour and alignment are left changed on the DC.
// The font: the style's face, weight 700 for the bold flag 0x04 else the record's bold value, width
// round(char width / 2) and height -(char height), both mapped to device pixels and at least 1,
// escapement = truncate(orient angle) and orientation = truncate(escape angle), both 0 for slanted or
// shoulder-raised lettering, box text (position type 2) and output mode 1. scale2 is not used.
CFont* CreateAnnoFont(CDC* pDC, UINT scale, UINT scale2, const GEOVIEW& view, GEOANNO& anno, CFont& font);

// Draws one character (1 or 2 bytes, zero-terminated) whose reference point is device (x, y) through a
// GDI path: highlighted upright lettering strokes the path with the selected pen; otherwise the outline
// is read back (flattened outside output mode 0), sheared for shoulder-raised and slanted lettering
// (shoulder first), and then either emitted as polygons (output mode 1) or turned about (x, y) by minus
// the orient angle and filled in the annotation colour (WINDING fill mode, left set), or stroked when
// highlighted. A NULL DC, an empty outline (a blank) or a failed allocation draws and emits nothing.
void DrawCharOutline(CDC* pDC, UINT scale, const GEOVIEW& view, GEOANNO& anno, const char* character, int x, int y,
                     int highlight);

// Shoulder-raised lettering, in place: y -= truncate(tan(a) * (x - base)) (subtract non-zero, else +=),
// base = the smallest x for a >= 0, else the largest. The angle is negated when directionBit is 0, then
// folded: above pi/2 it loses pi/2, below -pi it gains pi/2. Nothing for NULL or fewer than 2 points.
void ShearShoulder(POINT* pts, int n, double radians, int directionBit, int subtract);
// Slanted lettering, in place: x += truncate((y - y0) * tan(a)); the angle is negated when directionBit
// is non-zero, then folded as above. Nothing for NULL or fewer than 2 points.
void ShearSlant(POINT* pts, int n, int y0, double radians, int directionBit);

// Output mode 1: turns a flattened glyph path (device pixels of a character drawn at (0, 0)) into closed
// CGeoPolygonLine objects appended to the record's output list (owned by the list's owner), one per
// figure: a figure starts at PT_MOVETO and ends at a point with PT_CLOSEFIGURE (inclusive) or, when it is
// not closed, before the next move; an unclosed last figure is dropped. Points are mapped back to the
// record's unit, placed at the row anchor and turned with the text. Each polygon: style = a default
// GEOVIEW in the annotation colour (line shape 3, fill shape 0, transparent), ID = its number within the
// character from 0, object data ANNO_DATA_GLYPH. Nothing without an output list.
void EmitGlyphPolygons(GEOANNO& anno, const GEOVIEW& view, int n, POINT* pts, BYTE* types, UINT scale);

// The size of a type-size name in tenths of a millimetre (byte comparison); 25.0 when it is not in the
// table.
double GetFontSizeByK(CString& name);
// Sets name to the first table row whose millimetres equal size / 10 exactly and returns TRUE; FALSE
// (name untouched) when none does.
BOOL GetFontKBySize(double size, CString& name);
// Scales a character size by the face's factors: enlarge non-zero multiplies, 0 divides, truncating.
// Nothing for an empty face or one not in the table. The fourth argument is not used.
void GetSizeWithScale(int& width, int& height, CString& face, CString& unused, int enlarge);
// The factors of a face (exact byte comparison); FALSE with both factors 1.0 when it is not in the table.
BOOL FindFaceScale(const CString& face, double& sx, double& sy);
