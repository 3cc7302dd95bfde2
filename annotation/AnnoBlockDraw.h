// Drawing whole annotation texts: the frame or background behind the text, blocks of rows anchored at
// the position point, and text laid out inside the box of a box annotation with automatic line breaks
// and two-sided alignment. The rows themselves are drawn by DrawAnnoRow (AnnoTextDraw.h); arguments,
// output modes and object data codes are those described there.
//
// Units: the record's unit unless a function says device pixels; "halve" is integer division by 2,
// "round" trunc(v + 0.5), "truncate" toward zero. Characters follow the lead-byte rule of AnnoLayout.h.
#pragma once

#include "annotation/GeoAnnoRecord.h"

#include <afx/afx.h>

class CDC;
class GEOVIEW;

// The box behind the whole text: nothing when the characters carry boxes of their own (WantCharBoxes);
// the frame (fill and/or line) in the record's back colour when it fills or shows its frame; otherwise
// nothing for a transparent style, else a background in the DC's background colour.
void DrawAnnoBackground(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW& view,
                        GEOANNO& anno, RECT* pClip, int highlight, tagGEOFORMAT* pFormat);
// One whole-text box in `colour`: the text box's corners (GetFourSquarePoint) enlarged by the style's
// halo (plus half the frame line for frame = 1), widened for slanted and shoulder-raised lettering and
// turned with the text (box text stays upright). Output modes 1 and 2 also emit it as a closed polygon
// (background ANNO_DATA_BACKGROUND, filled frame ANNO_DATA_FILLFRAME, frame line ANNO_DATA_FRAMELINE).
// Nothing in output mode 4, in mode 5 for frame = 0, or for formatted text without its spacing (with it
// the box is the formatted block's). Highlighted: the outline with R2_NOTXORPEN in the highlight colour.
void DrawAnnoBox(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW& view, GEOANNO& anno,
                 COLORREF colour, int frame, RECT* pClip, int highlight, tagGEOFORMAT* pFormat);
// The rows of a plain text, first row at the block's anchor, each next row char height + row space
// lower (echelon rows step along the text angle, upright). Output modes 0 to 2 draw each row, mode 5
// emits one CGeoAnno per row, mode 3 stops at the first row whose next y is below the work point
// (index result = bytes of the rows so far, work point = (row x, that y + char height)). The record is
// left with the last row's text, position, align type and column space: callers pass a copy.
void DrawAnnoRows(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW& view, GEOANNO& anno,
                  RECT* pClip, int highlight, int nWord8, int scaleWidths);
// Moves the position point to the first row of a block of width W and height H and reduces the align
// type to a bottom or top row: aligns 0, 6 and 3 rise by H - char height, 1, 7 and 4 by halve(H) -
// char height (becoming 0, 6 and 3), 2, 5 and 8 stay.
void PlaceRowsBlock(GEOANNO& anno, int W, int H, int charHeight);
// Two-sided alignment: the column space that spreads the row to W, (W - row width without spaces) /
// (characters - 1); space is left as it is for a row of fewer than two characters. Returns space.
int JustifyRowSpace(const CString& row, int W, int charWidth, int& space);
// Text inside the box of a box annotation, inside its margins and frame line; never turned. Nothing
// without margins. Output mode 4 re-flows the text instead (ReflowTextInBox) and leaves the record
// re-flowed; otherwise position, text, bounds and clip rectangle are put back afterwards.
void DrawBoxedAnno(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW& view,
                   GEOANNO& anno, tagGEORECT* pMargins, RECT* pClip, int highlight, int nWord8, int scaleWidths);
// Takes the next row of text from byte pos that fits boxWidth (less the slant allowance when slant is
// set): characters of char width (double-byte) or round(char width / 2), each followed by space. A CR LF
// ends a row that holds something and is consumed with it; at a row's start it is skipped and adds
// nothing. With justify and at least two characters, space grows so the row fills the box. row gets the
// row's bytes (never the CR LF); pos moves past them. Returns the number of characters taken, -1 when
// pos is outside the text.
int FitRowInBox(const CString& text, CString& row, int boxWidth, int charWidth, int charHeight, int& pos, int& space,
                int justify, float italicAngle, int slant);
// The number of rows FitRowInBox makes of the record's text in the box, the first row that overflows
// the box height included; counting stops at a row that takes nothing. 0 for an empty text.
int CountBoxRows(GEOANNO& anno, int boxWidth, int boxHeight, int charWidth, int charHeight, double rowSpace,
                 int colSpace, float italicAngle, int slant);
// Puts the position point where the first row of a block of `rows` rows goes inside the record's bounds
// (the inner box) for its align type, corrected for slanted lettering.
void PlaceBlockInBox(GEOANNO& anno, const GEOVIEW& view, int rows);
// Output mode 4: the text is rebuilt as the rows that fit the box, joined by CR LF; the position point
// becomes the box's corner of smaller x and y and the align type 0. A box narrower than one character
// keeps the text on one row.
void ReflowTextInBox(GEOANNO& anno, CRect& box);
// The box of a box annotation while it is highlighted (output mode 0 only): its bounds outlined in the
// highlight colour, drawn so that a second drawing removes it.
void DrawBoxOutline(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW& view,
                    GEOANNO& anno, tagGEORECT* pMargins, RECT* pClip, int highlight, int nWord8, int scaleWidths);
