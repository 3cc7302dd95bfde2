// GEOANNO: one annotation's text and text style as a plain value record, and the two small records
// that travel with annotations: the inner margins of box text (tagGEORECT) and the spacing of
// formatted text (tagGEOFORMAT).
//
// Units: sizes and points are 32-bit integers in the record's unit (unit codes of CGeoObject, 3 =
// millimetre by default); angles are floats in tenths of a degree (900 is a quarter turn). y points up.
//
// GEOANNO is copied member by member. It owns only its text: the clip rectangle, the output list and
// the part output are work fields that point at the caller's data and are never freed by the record.
#pragma once

#include <afx/afx.h>

// Inner margins of a box annotation, in the annotation's unit.
struct tagGEORECT {
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
    bool operator==(const tagGEORECT& o) const {
        return left == o.left && right == o.right && top == o.top && bottom == o.bottom;
    }
};

// Spacing of formatted text, in the annotation's unit (fen_shu_width as a float).
struct tagGEOFORMAT {
    int hor = 0;
    int ver = 0;
    int fen_hor = 0;
    int fen_ver = 0;
    float fen_shu_width = 0.0f;
    bool operator==(const tagGEOFORMAT& o) const {
        return hor == o.hor && ver == o.ver && fen_hor == o.fen_hor && fen_ver == o.fen_ver &&
               fen_shu_width == o.fen_shu_width;
    }
};

// Row arrangement of annotation text.
enum ARRAYSTYLE { ARRAY_HORIZONTAL = 0, ARRAY_VERTICAL = 1, ARRAY_ECHELON = 2 };

// Style flag bits (GEOANNO and CGeoAnno alike).
#define ANNO_TWOALIGN 0x01     // characters of a row spread to the full width
#define ANNO_VERTICAL 0x02     // vertical array style
#define ANNO_SHOWFRAME 0x04    // draw the frame line
#define ANNO_FILLFRAME 0x08    // fill the background
#define ANNO_FORMATSTYLE 0x10  // the text is formatted text
#define ANNO_ECHELON 0x20      // echelon array style

// The style-flag rules shared by GEOANNO and CGeoAnno, over one flag byte.
//   SetFlag (mask, on): non-zero sets the bits of mask, 0 clears them; a mask above 256 does nothing.
//   TestFlag (mask): TRUE only when every bit of mask is set; FALSE for a mask above 256.
//   SetFormatStyle (on): a non-zero value does nothing while the array style is not 0; 0 always clears.
//   SetArrayStyle (s): a non-zero style does nothing while the format style is on; 0 clears both array
//     bits, 1 sets 0x02 and clears 0x20, 2 sets 0x20 and clears 0x02, any other value changes nothing.
//   GetArrayStyle: 1 when 0x02 is set, else 2 when 0x20 is set, else 0.
namespace annoflags {
void SetFlag(BYTE& flags, int mask, int on);
BOOL TestFlag(BYTE flags, int mask);
void SetFormatStyle(BYTE& flags, int on);
void SetArrayStyle(BYTE& flags, int style);
int GetArrayStyle(BYTE flags);
}  // namespace annoflags

struct GEOANNO {
    CString m_strText;               // rows separated by CR LF or the escape "\n"
    int m_nCharWidth = 50;           // width of a double-byte character; a single byte counts half
    int m_nCharHeight = 50;
    float m_fEscapeAngle = 0.0f;     // angle of the characters
    float m_fOrientAngle = 0.0f;     // angle of the line of text
    CPoint m_ptPosition{0, 0};       // the anchor
    int m_nUnit = 3;
    int m_nColSpace = 0;             // extra distance between neighbouring characters of a row
    int m_nAlignType = 0;            // 0 to 8: column = align / 3, row = align % 3
    int m_nPositionType = 0;         // 0 single point, 2 box, 6 multi-point (1 and 3 drawn like 0)
    CRect m_rcBounds{0, 0, 0, 0};
    int m_nRowSpace = 0;
    BYTE m_byStyle = 0;              // style flag bits
    BYTE m_byMoveFlag = 1;           // 0 to 3: how dragging a handle resizes the text
    int m_nBoldValue = 400;          // font weight
    RECT* m_pClipRect = nullptr;     // work field of the painters
    COLORREF m_crBackColor = 0;      // background fill of the frame
    float m_fLineWidth = 1.0f;       // width of the frame line
    float m_fItalicAngle = 150.0f;   // slant of slanted lettering
    CPoint m_ptRotateCenter{0, 0};   // the point the painters turn the text about
    int m_nOutputMode = 0;           // work field: 0 draw, 1..5 collect or hit-test
    CObList* m_pOutputList = nullptr;  // work field: receives what the output mode collects
    void* m_pPartOutput = nullptr;   // work field of formatted text
    int m_nIndexResult = 0;          // work field of the hit tests
    int m_nWorkX = 0;                // work point of the painters
    int m_nWorkY = 0;

    void SetFormatStyle(int on) { annoflags::SetFormatStyle(m_byStyle, on); }
    BOOL GetFormatStyle() const { return annoflags::TestFlag(m_byStyle, ANNO_FORMATSTYLE); }
    void SetArrayStyle(int style) { annoflags::SetArrayStyle(m_byStyle, style); }
    int GetArrayStyle() const { return annoflags::GetArrayStyle(m_byStyle); }
    void SetTwoAlign(int on) { annoflags::SetFlag(m_byStyle, ANNO_TWOALIGN, on); }
    BOOL GetTwoAlign() const { return annoflags::TestFlag(m_byStyle, ANNO_TWOALIGN); }
    void SetShowFrame(int on) { annoflags::SetFlag(m_byStyle, ANNO_SHOWFRAME, on); }
    BOOL GetShowFrame() const { return annoflags::TestFlag(m_byStyle, ANNO_SHOWFRAME); }
    void SetFillFrame(int on) { annoflags::SetFlag(m_byStyle, ANNO_FILLFRAME, on); }
    BOOL GetFillFrame() const { return annoflags::TestFlag(m_byStyle, ANNO_FILLFRAME); }
};

// A copy of the record whose rotation centre is its position point and whose part output, index result
// and work point are back at their defaults; clip rectangle, output mode and output list are copied.
GEOANNO MakeGeoAnno(const GEOANNO& anno);
