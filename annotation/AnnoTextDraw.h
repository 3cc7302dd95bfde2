// Drawing one row of annotation text: the characters one by one, each with its own place along the row,
// its own background box when the characters stand far apart, its own outline for slanted and
// shoulder-raised lettering and its own emphasis dot; then the row's strike line and underline.
//
// The record's output mode decides what a row produces (GEOANNO::m_nOutputMode):
//   0  pixels on the DC (device pixels, y down, the text angle negated);
//   1  glyph outlines and decoration polygons in the record's output list (characters are laid out in
//      a local device frame at (0, 0), upright, and mapped back to the record's unit);
//   2  one CGeoAnno per row, or per character when the column space is not 0, in the output list;
//   3  hit test: the character under the work point (m_nWorkX) - its position goes to the work point;
//   4, 5  nothing here (the block painters handle them).
// Emitted objects belong to whoever owns the output list; without an output list nothing is emitted.
// A NULL DC draws nothing (the computations of modes 1 to 3 still run where they need no DC).
//
// "Drawing arguments" below are those of DrawGeoAnno: DC, scale and scale2, origin and offset of the
// device mapping of CGeoObject::RPtoLP, the style, the record, the call's clip rectangle (not used
// here), the highlight flag (R2_NOTXORPEN in the highlight colour 0xFF7D7D, so drawing twice restores
// the image) and two trailing ints handed on unread.
//
// Highlighted drawing, background boxes and decorations put back every pen, brush and raster operation
// they select. The font's background mode, text colour and text alignment stay set (CreateAnnoFont).
// The record is changed only for the time of a call (position point, align type, text), except the work
// point and the result of a hit test.
#pragma once

#include "annotation/GeoAnnoRecord.h"

#include <afx/afx.h>

class CDC;
class GEOVIEW;

// Object data codes of emitted objects (CGeoObject::SetObjectData).
#define ANNO_DATA_FILLFRAME 0x1u
#define ANNO_DATA_UNDERLINE 0x400u
#define ANNO_DATA_STRIKE 0x800u
#define ANNO_DATA_DOT 0x1000u
#define ANNO_DATA_FRAMELINE 0x10000u
#define ANNO_DATA_BACKGROUND 0x40000u

// The pen colour of every highlighted outline of annotation text (red 0x7D, green 0x7D, blue 0xFF).
#define ANNO_HIGHLIGHT_COLOR ((COLORREF)0xFF7D7D)

// Maps a point of the record's unit to device pixels by the rule of CGeoObject::RPtoLP (display
// translation included); a unit of 0 marks device values, returned unchanged.
CPoint MapPoint(UINT scale, CPoint origin, CPoint offset, int unit, POINT p);
// The inverse, by the rule of CGeoObject::LPtoRP; a unit of 0 returns the point unchanged.
CPoint MapPointBack(UINT scale, CPoint origin, CPoint offset, int unit, POINT p);
// Maps a rectangle's corners; top and bottom come out with top < bottom (device y down).
CRect MapClipRect(UINT scale, CPoint origin, CPoint offset, int unit, RECT r);
// apply 1: IntersectClipRect (rect); 0: the clip region is removed first (SelectClipRgn (NULL)).
void ApplyClipRect(CDC* pDC, RECT rect, int apply);

// Draws the record's text as one row (font per row, clip rectangle of the record applied and then
// replaced by the DC's former clip box, highlight pen of width 2), then its strike line and underline.
// Returns the byte index at which the last processed character starts; -1 for an empty text.
int DrawAnnoRow(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW& view, GEOANNO& anno,
                RECT* pClip, int highlight, int nWord8, int scaleWidths);
// The loop over the characters of DrawAnnoRow. Character k starts truncate(bytes up to and including
// character k-1 * char width / 2) + k * column space after the row's start, computed in the record's
// unit from the row start each time (so rounding does not accumulate) and mapped to device for modes 0
// and 1. Same result as DrawAnnoRow; output mode 2 with column space 0 emits the whole row and returns 1
// (going on only for emphasis dots and boxes).
int DrawRowChars(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW& view, GEOANNO& anno,
                 RECT* pClip, int highlight, int nWord8, int scaleWidths);

// TRUE when every character gets its own background box: the style's halo (buffer width * scale2 / 10,
// plus the frame line's when the frame is shown) is narrower than the column space (the row space for
// vertical text), for plain, non-box text. Always TRUE outside output modes 0 to 2.
BOOL WantCharBoxes(UINT scale2, GEOANNO& anno, const GEOVIEW& view);
// The background box of one character at (x, y) (device pixels in modes 0 and 1, the record's unit
// otherwise) of width cw and height ch in the same units: the cell enlarged by half the halo on every
// side, sheared like the letters, turned with the text; in the DC's background colour (opaque styles,
// ANNO_DATA_BACKGROUND) or, for transparent styles, in the back colour as a filled frame or frame line;
// nothing for a transparent style without frame and fill, or when WantCharBoxes is FALSE.
void DrawCharBox(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, int x, int y, const GEOVIEW& view,
                 GEOANNO& anno, int highlight, int cw, int ch);
// The emphasis dot below a character whose unturned position is p (width cw, char height ch), turned
// about (cx, cy). Drawn on the DC in modes other than 1 and 2 (or without an output list); in modes 1
// and 2 a CGeoCircle (face, transparent style in the annotation colour, ANNO_DATA_DOT) is appended to the
// output list instead.
void DrawEmphasisDot(CDC* pDC, UINT scale, POINT& p, const GEOVIEW& view, GEOANNO& anno, int ch, int cw, int cx,
                     int cy, int highlight);
// Underline (style flag 0x10) and strike line (0x20) of the record's row, as bars of height
// char height / 25 in the record's unit, widened for slanted lettering; nothing when the flag is clear.
void DrawUnderline(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW& view,
                   GEOANNO& anno, RECT* pClip, int highlight);
void DrawStrikeLine(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW& view,
                    GEOANNO& anno, RECT* pClip, int highlight);
// Slanted lettering: length += t = round(tan(italic angle) * char height / 2) and the position point
// moves by -t (left column, 0x200 clear), +t (right column, 0x200 set) or round(t / 2) (centre column,
// 0x200 set). Nothing for other lettering.
void AdjustLineForSlant(int& length, GEOANNO& anno, const GEOVIEW& view);
// Turns the n points (record's unit) about (cx, cy) by the escape angle, in place; then emits them
// (output modes other than 0) or maps and draws them as a polygon in the style's annotation colour
// (frame lines outlined with the record's line width, others filled), or highlighted with
// R2_NOTXORPEN. Nothing for NULL points.
void DrawPolygonOrEmit(CDC* pDC, UINT scale, CPoint origin, CPoint offset, const GEOVIEW& view, GEOANNO& anno,
                       POINT* pts, int n, int cx, int cy, int objectData, int highlight);
// Appends a closed CGeoPolygonLine of the points (a last point equal to the first is not stored twice)
// in the annotation colour (line shape 0x2200, transparent), area for every code but
// ANNO_DATA_FRAMELINE. Nothing without an output list or for fewer than one point.
void EmitPolygon(const GEOVIEW& view, GEOANNO& anno, POINT* pts, int n, int objectData);
// Appends a CGeoAnno made from the record (position type 0, style = view, format style off, echelon
// made horizontal); with a piece and a position, its text is the piece at that position, align 2 (or
// 0 for the bottom-row aligns 0, 3, 6). Nothing without an output list.
void EmitAnnoPart(GEOANNO& anno, const GEOVIEW& view, const char* piece, POINT* position);
