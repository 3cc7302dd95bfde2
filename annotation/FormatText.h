// Formatted text: annotation text with a small mark-up for map notation, measured and drawn as nested
// parts.
//
// Mark-up. The separators "|", "/" and "@", the brackets "(" and ")" and the escape "\" are special; a
// special character preceded by "\" is an ordinary character (the "\" is removed before a part is
// drawn). A text splits at its first separator outside brackets into a left part, a kind and a right
// part:
//   kind 1  "|"  the parts side by side with a vertical bar between them;
//   kind 2  "/"  the parts side by side with a stroke slanted at 75 degrees between them;
//   kind 3  "@"  the left part stacked over the right part with a horizontal bar between them;
//   kind 4  a bracketed part followed by more text without a separator: the two side by side.
// A part is itself formatted text; a part without a separator is a leaf, drawn as one row of plain
// text. A text wholly inside one pair of brackets is unwrapped before it is split. CR LF pairs are
// removed from formatted text.
//
// The mark-up is scanned character by character under the code-page-936 rule of AnnoLayout.h: a byte
// above 0x7F starts a two-byte character, which is never special, so a trail byte equal to "@", "\" or
// "|" neither splits nor escapes anything.
//
// Parts nested more than 64 levels deep (brackets that wrap a whole part are not counted) are measured
// and drawn as one leaf, so that no text can exhaust the stack.
//
// Units: sizes and coordinates are integers in the annotation's unit, y up. "Round" is trunc(v + 0.5),
// "truncate" is toward zero, "halve" is integer division by 2. The stroke angle is 75 degrees taken as
// 75 * 3.1415926 / 180 radians. Sums that would leave the int range are clamped to it.
#pragma once

#include "annotation/GeoAnnoRecord.h"

#include <afx/afx.h>

#include <vector>

class CDC;
class GEOVIEW;

// Object data code of the bars and strokes that formatted text emits (CGeoObject::SetObjectData).
#define ANNO_DATA_FORMATSTROKE 0x20u

// One leaf as it was laid out: its text (escapes removed) and its unturned box in the annotation's
// unit: left the smaller x, top the larger y, right the larger x, bottom the smaller y.
struct tagFORMATPART {
    CString text;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
// The part output of a formatted drawing: when GEOANNO::m_pPartOutput is not NULL for formatted text it
// must point at one of these, owned by the caller; every leaf drawn appends one entry.
typedef std::vector<tagFORMATPART> CFormatPartArray;

// Result codes of IsValidFormatString (and codes understood by GetFormatError).
#define FORMAT_ERROR 0             // empty text
#define FORMAT_VALID 1
#define FORMAT_BRACKETS 2          // the brackets do not balance (only their count matters)
#define FORMAT_BAD_ESCAPE 3        // "\" followed by a character that is not special, or at the end
#define FORMAT_BRACKET_PLACE 6     // "(" after the first position follows a character that is not special
#define FORMAT_LINE_BREAK 7        // never produced here; a message for the dialogs
#define FORMAT_NO_MARK 8           // never produced here; a message for the dialogs

// TRUE for the special characters: with brackets ( ) / @ \ |, without / @ |.
BOOL IsFormatSpecial(char c, int withBrackets);
// "|" 1, "/" 2, "@" 3, any other character 4.
int GetFormatKind(char c);

// Checks the mark-up: 0 for an empty text, else 3 at the first bad escape, 6 at the first "(" that
// follows an ordinary character, else 1 when as many "(" as ")" were seen, else 2.
int IsValidFormatString(CString& text);
// The message text of a result code; any code other than 1, 2, 3, 6, 7 and 8 gives the general message.
void GetFormatError(int code, CString& message);

// One split of text (CR LF pairs are first removed from text in place). Returns 0 for an empty text
// (left = text, kind 0), else 1 with kind 1 to 4 and the two parts, or kind 0 and left = the (unwrapped)
// text when it holds no split (a leaf, or a text whose brackets do not close). right is written only
// when something is split.
int SplitFormat(CString& text, CString& left, CString& right, int& kind);

// The height and width of formatted text for the record's char width, char height and column space
// and the spacing. fontType is not used by the layout. leavesCount 1 gives every leaf its row size
// (height = char height, width = GetRowWidth of the leaf as written, escapes included); 0 makes every
// leaf 0 high and 0 wide, so only the spacing is measured (the slanted stroke's reach is still taken
// from the parts' real heights). 0 when the record or the spacing is NULL.
int GetFormatHeight(CString text, GEOANNO* pAnno, tagGEOFORMAT* pFormat, int fontType, int leavesCount);
int GetFormatWidth(CString text, GEOANNO* pAnno, tagGEOFORMAT* pFormat, int fontType, int leavesCount);

// Draws the record as formatted text with the drawing arguments of DrawGeoAnno (AnnoTextDraw.h).
// Nothing for a NULL spacing. A text that is not valid mark-up is drawn as plain rows (DrawAnnoRows).
// Otherwise the block W x H is anchored at the position point by the align type and drawn part by part:
// output modes 0 to 2 draw (or collect) each leaf as a row and each bar as a polygon (object data
// ANNO_DATA_FORMATSTROKE); mode 5 emits one CGeoAnno per leaf, turned with the text, and the bars as
// polygons; other modes draw no leaf. With a part output array every leaf also appends its box. The
// record's text, position point and align type are changed: callers pass a working copy.
void DrawGeoFormatAnno(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW& view,
                       GEOANNO& anno, tagGEOFORMAT* pFormat, RECT* pClip, int highlight);
// The recursive layout: splits the record's text and draws the parts from the position point, which is
// the reference point of the part's top row (its bottom-left for align 0, its top-left for align 2).
// Side by side parts are centred on each other vertically, stacked parts horizontally.
void DrawFormatPart(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW& view,
                    GEOANNO& anno, tagGEOFORMAT format, RECT* pClip, int highlight);
// Moves the position point from the anchor to the reference point of the block's top row and reduces
// the align type to 2 (aligns 2, 5, 8) or 0 (all others): the bottom-row aligns rise by H - char height,
// the middle-row aligns by halve(H) - char height; the centre column moves left by halve(W), the right
// column by W. An align outside 0 to 8 leaves the point and becomes 0.
void AnchorFormatBlock(GEOANNO& anno, int width, int height, int charHeight);

// The three strokes, each a closed five-point polygon drawn (mode 0) or emitted (other modes) by
// DrawPolygonOrEmit about the rotation centre with object data ANNO_DATA_FORMATSTROKE; bw is the
// spacing's fen_shu_width. For align type 2 the base point stands char height higher than the bar it
// draws (the row hangs below it).
//   DrawFractionBar: x from base x - hor to base x + length + hor, y from base y - round(bw) to base y.
//   DrawVerticalBar: x from base x + fen_hor to that + round(bw), y from base y to base y + height +
//     2 * fen_ver.
//   DrawSlantStroke: a bar of length round(height / sin 75) + 2 * fen_ver starting at base x + fen_hor,
//     y from base y - round(bw / 2) to base y, turned by 75 degrees counter-clockwise about the middle
//     of its left end.
void DrawFractionBar(CDC* pDC, UINT scale, CPoint origin, CPoint offset, const GEOVIEW& view, GEOANNO& anno,
                     const tagGEOFORMAT& format, POINT base, int length, int highlight);
void DrawVerticalBar(CDC* pDC, UINT scale, CPoint origin, CPoint offset, const GEOVIEW& view, GEOANNO& anno,
                     const tagGEOFORMAT& format, POINT base, int height, int highlight);
void DrawSlantStroke(CDC* pDC, UINT scale, CPoint origin, CPoint offset, const GEOVIEW& view, GEOANNO& anno,
                     const tagGEOFORMAT& format, POINT base, int height, int highlight);

// Deletes every "\" that escapes a special character; the escaped character stays and is not examined
// again (so "\\" leaves one "\").
void RemoveFormatEscapes(CString& text);
