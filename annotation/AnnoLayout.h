// Text layout of annotations: characters and rows of code-page-936 text, row widths, the anchor
// offsets of the nine align types, the corner points of the text box, and the scaling of a text style.
//
// Characters: a byte above 0x7F is the lead byte of a double-byte character (that byte and the next);
// any other byte is a single-byte character. The trail byte is not checked, so a lead byte at the very
// end of a string still counts as one character. A double-byte character is one character width wide,
// a single-byte one half of it.
//
// Rows end at CR LF or at the two-character escape backslash + 'n' when that backslash does not itself
// follow a backslash character; the separator belongs to neither row. Scans step over double-byte
// characters whole, so a trail byte that happens to equal '\\' or CR never starts a separator.
//
// Units: sizes and coordinates are integers in the annotation's unit, y up; angles are floats in tenths
// of a degree, turned into radians with 3.1415926 / 1800. "Round" below is trunc(v + 0.5) (so -2.7
// gives -2), "truncate" is toward zero and "halve" is integer division by 2.
//
// Align types: column = align / 3 (left, centre, right), row = align % 3 (bottom, middle, top, y up).
// Nothing here keeps state.
#pragma once

#include "annotation/GeoAnnoRecord.h"

class GEOVIEW;

// Number of characters (a double-byte character counts 1); 0 for an empty string.
int GetStringCount(const CString& text);
// Byte index at which character n (0-based) starts; -1 when n < 0 or n >= the byte length. When the
// string holds fewer than n + 1 characters, the byte index of its last character.
int FindCharPosition(int n, const CString& text);
// Steps pos over one character of text (len bytes): TRUE when it was double-byte (pos + 2), FALSE for a
// single byte (pos + 1); FALSE without moving when text is NULL, pos < 0 or pos > len. text must hold a
// readable byte at index len (a C string's terminator).
BOOL NextCharPos(const char* text, int& pos, int len);

// Appends the rows of text to rows and returns the size of rows (earlier entries included). Style 0:
// the non-empty pieces between separators; styles 1 and 2: one row per character of the text with its
// separators removed. An empty text returns 0 and leaves rows untouched.
int CalculateMultiLineRows(const CString& text, CStringArray& rows, int arrayStyle);
// Where a count of row content ends in the text: the byte index after the first n bytes that are not
// row separators (CR LF, and with escapes non-zero the escape "\n"), moved on past the separators that
// follow, so that it starts the next row; *contentEnd (when not NULL) receives the index before those
// separators. -1 when the text holds fewer than n bytes of content.
int SkipRowContent(const CString& text, int n, int escapes, int* contentEnd = nullptr);
// Deletes every row separator in place; FALSE for an empty string, else TRUE.
BOOL RemoveLineBreaks(CString& text);
// Width of the widest row: per row the sum of (column space + char width) over double-byte and
// (column space + round(char width / 2)) over single-byte characters, less one column space; with
// addSlant non-zero truncate(tan(italic angle) * char height) is added first. -1 for no rows.
int GetMaxWidth(const CStringArray& rows, int charWidth, int charHeight, int colSpace, float italicAngle,
                int addSlant);
// Greatest character count over the rows; -1 for no rows.
int GetMaxWords(const CStringArray& rows);
// round(char width * byte length / 2) + column space * (characters - 1); the height is not used.
int GetRowWidth(const CString& row, int charWidth, int charHeight, int colSpace);
// Rows of one character each: the sum of char width (double-byte first byte) or round(char width / 2)
// (single-byte), plus row space * (rows - 1). The second size is not used.
int GetColumnHeight(const CStringArray& rows, int charWidth, int unused, int rowSpace);

// The align offsets (dx, dy) for a box of width w and height h; any align outside 0 to 8 gives (0, 0).
// First row of a block (char height d): left column dx 0, centre round(w / 2), right w; dy = h - d,
// round(h / 2) - d or -d for the bottom, middle and top rows. The first row's reference point is
// (anchor x - dx, anchor y + dy).
CSize GetFirstRowOffset(int align, int w, int h, int d);
// Device space (y down): dx 0, halve(w) or w; dy 0, truncate(d * f / 2) or h.
CSize GetDeviceAlignOffset(int align, int w, int h, int d, double f);
// One row or character: dx 0, round(w / 2) or w; dy 0, round(h * f / 2) or 0.
CSize GetCharAlignOffset(int align, int w, int h, double f);
// 2 for align 3 to 5, 1 for align 6 to 8, 0 for any other value.
int GetAlignColumnCode(int align);

// The four corners of the annotation's text box: corner 0 = (x, y), then counter-clockwise for an
// unrotated box, (x + W, y), (x + W, y + H), (x, y + H).
//   - Empty text: all four are the position point.
//   - Box (position type 2): the record's bounds are normalised in place and give the corners, top being
//     the smaller y; never rotated.
//   - Formatted text: nothing is written without a spacing record; with one, W and H are the formatted
//     width and height (FormatText.h, leaves counted) and the box is anchored and turned like rows.
//   - Horizontal and vertical text: W = GetMaxWidth of the rows (no slant), H = rows * char height +
//     (rows - 1) * row space; corner 0 = position point less (0, round(W / 2) or W by column) and
//     (0, round(H / 2) or H by row); with rotate non-zero turned by the escape angle about the position
//     point.
//   - Echelon text: the corners of the band that runs from the first character's box to the last one's
//     (GetEchelonCorners), boxes as wide as the widest character; with rotate 0 they are turned back by
//     minus the escape angle about the position point.
void GetFourSquarePoint(GEOANNO& anno, CPoint corners[4], int rotate, tagGEOFORMAT* pFormat);

// Turn points counter-clockwise (y up) about (cx, cy): x' = cx + round(dx cos a - dy sin a),
// y' = cy + round(dx sin a + dy cos a). src and dst may be the same array; n <= 0 does nothing. An
// angle of exactly 0.0 copies the points unchanged (the rounding would otherwise move every point
// left of or below the centre by one unit).
void RotatePoints(int cx, int cy, const POINT* src, POINT* dst, int n, double radians);
// The same for one point in place; an angle of exactly 0.0 leaves it unchanged.
void RotatePointAbout(int cx, int cy, POINT* p, double radians);
// The angle folded into [0, pi / 2] (full-precision pi).
double FoldAngle(double radians);

// Echelon text (array style 2): upright characters stepping along the text angle so that neighbouring
// character boxes touch.
//
// The step of a double-byte (x2, y2) and of a single-byte character (x1, y1), as doubles.
struct tagECHELONSTEPS {
    double x2 = 0.0, y2 = 0.0;
    double x1 = 0.0, y1 = 0.0;
};
// Fills the steps for the record's sizes, column space g and escape angle folded into the first quadrant
// (a char width or height of 0 is first set to 1 in the record). With withTotal non-zero returns the
// sum of the steps of every row's first character less one column-space step, (truncate(sum x - g cos),
// truncate(sum y - g sin)); else (0, 0).
CSize GetEchelonSteps(GEOANNO& anno, tagECHELONSTEPS& steps, int withTotal);
// One position and one width per character (rows of one character each), starting at the position
// point: each running point is turned about the position point by (angle - FoldAngle (angle)), moved by
// the character align offset, then the running point advances by the truncated step. Widths are char
// width (double-byte) or round(char width / 2). With unturned 0 the positions are finally turned by
// minus the escape angle about the record's rotation centre. Returns the character count.
int CalculateEchelonPositions(GEOANNO& anno, CArray<CPoint, CPoint>& points, CArray<int, int>& widths,
                              int unturned);
// The four corners of the band between box a (the first character) and box b (the last) for a text
// angle in degrees; a equal to b gives a's corners (left, top), (right, top), (right, bottom),
// (left, bottom), top being the smaller y.
void GetEchelonCorners(const CRect& a, const CRect& b, float degrees, CPoint corners[4]);

// Multiplies char height, char width, column space and row space, the four ints of the spacing and the
// style's buffer width by k, truncating; fen_shu_width is scaled as a float.
void ChangeAnnoSize(GEOANNO& anno, GEOVIEW& view, tagGEOFORMAT& format, double k);
// Converts every size of the non-NULL parts from unit `from` to unit `to` (truncating): the record's
// char height, char width, column space and row space, all five spacing fields, all four margins.
// Equal units change nothing.
void ChangeUnit(GEOANNO* pAnno, tagGEOFORMAT* pFormat, tagGEORECT* pRect, int from, int to);
