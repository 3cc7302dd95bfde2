// The symbols of a symbol library: point, line (a group of parallel strokes), fill and custom symbols.
//
// Symbols are defined in library units (CSymbolLibIO::GetUnitsPerMM per millimetre on paper) in a frame
// whose y axis points up. Widths are library units; 0 is the thinnest line a device can draw.
//   point symbol   primitives around the insertion point (0, 0); placed at a point and turned by an angle
//   line symbol    strokes drawn along a line, each offset sideways and dashed on its own
//   fill symbol    an area fill and border strokes drawn along every ring of the area
//   custom symbol  primitives in a frame rectangle that is stretched onto the shape's bounds
// Each class serialises its body (everything after the kind and name) in the layout given in
// SymbolLibIO.h.
#pragma once

#include <afx/afx.h>

#include <vector>

// Kinds, as symbol filters and the file's kind word spell them.
#define QUENBY_POINT_SYMBOL 0x8000u
#define QUENBY_LINE_SYMBOL 0x4000u
#define QUENBY_FILL_SYMBOL 0x2000u
#define QUENBY_CUSTOM_SYMBOL 0x1000u

// The largest symbol number (21 bits, as display styles store them); numbers start at 1.
#define QUENBY_MAX_SYMBOL 0x1FFFFF

// Primitive types.
#define QUENBY_PRIM_POLYLINE 1
#define QUENBY_PRIM_POLYGON 2
#define QUENBY_PRIM_TEXT 3
#define QUENBY_PRIM_ELLIPSE 4
#define QUENBY_PRIM_ARC 5
#define QUENBY_PRIM_CHORD 6

// Fill styles of primitives and fill symbols.
#define QUENBY_FILL_NONE 0
#define QUENBY_FILL_SOLID 1
#define QUENBY_FILL_HATCH_FIRST 2  // 2..7: hatch HS_HORIZONTAL..HS_DIAGCROSS
#define QUENBY_FILL_HATCH_LAST 7
#define QUENBY_FILL_TRANSPARENT 8  // solid, combined with what lies beneath

// One drawing element of a point or custom symbol. Which fields count depends on the type:
//   polyline: line, points (at least 2)         polygon: line, fill, points (at least 3, closed implicitly)
//   text:     crLine is the text colour; ptText the top-left corner, nTextHeight, strFace, strText
//   ellipse:  line, fill, box                   arc: line, fill, box, start, end, pie
//   chord:    line, fill, box, start, end
// The box is two opposite corners (left, top, right, bottom taken as x1, y1, x2, y2, in any order).
// Arcs run counter-clockwise (y up) from the radial through ptStart to the radial through ptEnd.
struct QuenbyPrimitive {
    BYTE nType = QUENBY_PRIM_POLYLINE;
    COLORREF crLine = 0;
    LONG nWidth = 0;
    DWORD dwLineStyle = 0;      // ExtCreatePen style word; PS_NULL (5) for no outline
    COLORREF crFill = 0;
    BYTE byFillStyle = QUENBY_FILL_NONE;
    BYTE byPie = 0;
    std::vector<POINT> points;
    RECT rcBox = {0, 0, 0, 0};
    POINT ptStart = {0, 0};
    POINT ptEnd = {0, 0};
    POINT ptText = {0, 0};
    LONG nTextHeight = 0;
    CString strFace;
    CString strText;

    void Serialize(CArchive& ar);
};

// One stroke of a line symbol or of a fill symbol's border: drawn along the line at a sideways offset
// (positive to the left of the line's direction), dashed by alternating on and off lengths (none = solid).
struct QuenbyStroke {
    COLORREF crColor = 0;
    LONG nWidth = 0;
    LONG nOffset = 0;
    std::vector<LONG> dashes;   // an even count (at most 64) of positive lengths: on, off, on, off...

    void Serialize(CArchive& ar);
};

// The base of every symbol: its number, name and kind.
class CQuenby : public CObject {
    DECLARE_DYNAMIC(CQuenby)
public:
    ~CQuenby() override;

    LONG GetSymbolNumber() const { return m_lNumber; }
    // Set before the symbol is added to a library, which files it under this number.
    void SetSymbolNumber(LONG lNumber) { m_lNumber = lNumber; }
    CString GetSymbolName() const { return m_strName; }
    void SetSymbolName(const CString& strName) { m_strName = strName; }
    // QUENBY_POINT_SYMBOL, QUENBY_LINE_SYMBOL, QUENBY_FILL_SYMBOL or QUENBY_CUSTOM_SYMBOL.
    virtual DWORD GetKind() const = 0;
    // The colour a caller sees first (the first primitive's or stroke's, or the fill colour).
    virtual COLORREF GetMainColor() const = 0;
    // The width of the first stroke in library units; 0 for symbols without strokes.
    virtual LONG GetMainWidth() const { return 0; }
    // A new symbol of the same class with the same content; the caller deletes it.
    virtual CQuenby* Clone() const = 0;

protected:
    CQuenby() = default;
    CQuenby(const CQuenby&) = default;

    LONG m_lNumber = 0;
    CString m_strName;
};

class CGeoPointSymbol : public CQuenby {
    DECLARE_SERIAL(CGeoPointSymbol)
public:
    CGeoPointSymbol() = default;
    DWORD GetKind() const override { return QUENBY_POINT_SYMBOL; }
    COLORREF GetMainColor() const override;
    CQuenby* Clone() const override { return new CGeoPointSymbol(*this); }
    void Serialize(CArchive& ar) override;

    std::vector<QuenbyPrimitive> m_primitives;
};

class CGeoGroupLineSymbol : public CQuenby {
    DECLARE_SERIAL(CGeoGroupLineSymbol)
public:
    CGeoGroupLineSymbol() = default;
    DWORD GetKind() const override { return QUENBY_LINE_SYMBOL; }
    COLORREF GetMainColor() const override;
    LONG GetMainWidth() const override;
    CQuenby* Clone() const override { return new CGeoGroupLineSymbol(*this); }
    void Serialize(CArchive& ar) override;

    std::vector<QuenbyStroke> m_strokes;
};

class CGeoFillSymbol : public CQuenby {
    DECLARE_SERIAL(CGeoFillSymbol)
public:
    CGeoFillSymbol() = default;
    DWORD GetKind() const override { return QUENBY_FILL_SYMBOL; }
    COLORREF GetMainColor() const override { return m_crFill; }
    LONG GetMainWidth() const override;
    CQuenby* Clone() const override { return new CGeoFillSymbol(*this); }
    void Serialize(CArchive& ar) override;

    COLORREF m_crFill = 0;
    BYTE m_byFillStyle = QUENBY_FILL_SOLID;
    std::vector<QuenbyStroke> m_border;
};

class CGeoCustomSymbol : public CQuenby {
    DECLARE_SERIAL(CGeoCustomSymbol)
public:
    CGeoCustomSymbol() = default;
    DWORD GetKind() const override { return QUENBY_CUSTOM_SYMBOL; }
    COLORREF GetMainColor() const override;
    CQuenby* Clone() const override { return new CGeoCustomSymbol(*this); }
    void Serialize(CArchive& ar) override;

    RECT m_rcFrame = {0, 0, 0, 0};   // two opposite corners, in library units; must not be degenerate
    std::vector<QuenbyPrimitive> m_primitives;
};
