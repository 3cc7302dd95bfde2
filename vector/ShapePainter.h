// The painting rules every vector shape shares, in one place: the device width of a style's lines, the
// pens and brushes a plain painter selects and how the device context is put back afterwards, the
// choice of the symbol a symbolised painter draws with and when it must paint plainly instead, and the
// frame of one symbol drawing or output call (context, colour override, mask restore).
//
// A shape's painters use them like this:
//   symbolised   int symbol = ChooseSymbol (library, style, kind); 0 -> the plain painter with
//                scaleWidths 1, nothing else. Otherwise a CSymbolPainting draws the device geometry;
//                a result other than 0 (the library failed) -> the plain painter with scaleWidths 1.
//   plain        a CShapePainter selects the pen (and brush), sets the raster operation for XOR
//                drawing, the shape draws, and the painter puts everything back.
// Device points are made in a CScratchPoints buffer (the shared scratch point buffer).
#pragma once

#include "core/GeoView.h"
#include "core/VMSymbolLibIO.h"

#include <afx/afx.h>
#include <win32/wingdi.h>

#include <vector>

class CDC;
class CGeoVectorObject;
class CSymbolAttrib;
class CSymbolOutputer;

// Device width of the style's lines: trunc(line width * scale2 / scale) when scaleWidths is non-zero,
// else 0 (the thinnest line). A scale of 0 counts as 1. A negative or non-finite result gives 0, one
// beyond the int range the largest int.
int GetDevicePenWidth(const GEOVIEW& view, UINT scale, UINT scale2, int scaleWidths);

// The symbol a symbolised painter draws with: the style's symbol of that kind, or 0 when pLib is NULL.
// 0 means: no symbol, paint plainly instead.
int ChooseSymbol(const void* pLib, const GEOVIEW& view, SYMBOLTYPE kind);

// The drawing mode handed to the symbol library: -300 (XOR display drawing) when xorMode is non-zero,
// else 13 (normal drawing). The device context's own raster operation is never handed over.
int GetSymbolDrawMode(int xorMode);

// The dangle and false-node marks of a line at its device points pts[0 .. n - 1], from the object's
// dangle bits: 0x01 a dangle mark at the first point, 0x02 at the last, 0x08 a false-node mark at the
// first, 0x10 at the last; the marks at the last point only when n > 1. Nothing for n < 1 or a NULL DC.
void DrawLineEndMarks(CDC* pDC, const POINT* pts, int n, int nDangleBits);

// The show states of an area drawn from a list of lines: 0 a black outline of width w0, no fill; 1 a red
// outline of width w1, no fill; 2 a black fill of shape 4; 3 a green fill of shape 4. Other states change
// nothing.
void ApplyAreaShowState(GEOVIEW& view, int state, float w0, float w1);

// A point buffer for one painting, taken from the shared scratch point buffer and given back when the
// object goes (or at Release). Holds room for at least n points; Get () is NULL only when no memory could
// be had, and the painter then draws nothing.
class CScratchPoints {
public:
    explicit CScratchPoints(int n);
    ~CScratchPoints();
    CScratchPoints(const CScratchPoints&) = delete;
    CScratchPoints& operator=(const CScratchPoints&) = delete;

    POINT* Get() const { return m_pPoints; }
    // Gives the buffer back now; later calls do nothing.
    void Release();

private:
    POINT* m_pPoints;
};

// The GDI state of one plain painting. Every change made through it is undone by Restore (or the
// destructor), in this order: the raster operations and background modes in the reverse order of
// their setting, then the pen, then the brush; then the pens and brushes it created are deleted. Stock
// objects are never deleted. Restore is idempotent; the painter may be used again afterwards.
class CShapePainter {
public:
    // pDC may be NULL: nothing is then selected or drawn.
    explicit CShapePainter(CDC* pDC);
    ~CShapePainter();
    CShapePainter(const CShapePainter&) = delete;
    CShapePainter& operator=(const CShapePainter&) = delete;

    CDC* GetDC() const { return m_pDC; }

    // The style's line pen at device width w. When bGeometric is set and w > 1: a geometric pen of style
    // (style line shape | PS_GEOMETRIC), width w, drawn with a solid brush of the line colour. Otherwise
    // a solid cosmetic pen of width w (0 or 1; below 0 counts as 0) in the line colour. A line shape
    // that no geometric pen can take (an unknown dash style) gives a solid pen of width w instead.
    // FALSE when no pen could be made (the DC keeps its pen).
    BOOL SelectLinePen(const GEOVIEW& view, int w, BOOL bGeometric);
    // A pen made by CreatePen (style, width, colour). FALSE when GDI refuses it.
    BOOL SelectPen(int nStyle, int nWidth, COLORREF crColor);
    // A solid brush (nHatch < 0) or a hatch brush of style HS_* nHatch, in the colour. FALSE when GDI
    // refuses it.
    BOOL SelectFillBrush(int nHatch, COLORREF crColor);
    // A stock pen or brush (NULL_BRUSH, NULL_PEN, ...). FALSE for an unknown index or another kind.
    BOOL SelectStockObject(int nIndex);

    // Sets the raster operation (R2_*).
    void SetROP2(int nRop);
    // R2_NOTXORPEN when xorMode is non-zero, so that drawing twice restores the picture; else nothing.
    void SetXorMode(int xorMode);
    // Sets the background mode (OPAQUE, TRANSPARENT).
    void SetBkMode(int nMode);

    void Restore();

private:
    BOOL Select(HGDIOBJ hObject, BOOL bOwned);

    CDC* m_pDC;
    HGDIOBJ m_hOldPen = nullptr;
    HGDIOBJ m_hOldBrush = nullptr;
    // Raster operation (kind 0) and background mode (kind 1) changes with the value each replaced.
    struct ModeChange {
        int nKind;
        int nOld;
    };
    // A few entries in the painter itself, more on the heap: a painter is made for every shape drawn,
    // and most set one pen and one brush.
    template <class T>
    class SmallList {
    public:
        void push_back(const T& v) {
            if (m_n < kFixed)
                m_fixed[m_n] = v;
            else
                m_more.push_back(v);
            ++m_n;
        }
        size_t size() const { return m_n; }
        const T& operator[](size_t i) const { return i < kFixed ? m_fixed[i] : m_more[i - kFixed]; }
        void clear() {
            m_n = 0;
            m_more.clear();
        }

    private:
        static constexpr size_t kFixed = 4;
        T m_fixed[kFixed];
        std::vector<T> m_more;
        size_t m_n = 0;
    };
    SmallList<ModeChange> m_modes;
    SmallList<HGDIOBJ> m_created;
};

// The frame of symbol calls for one shape: the context handed through the library to its conversions
// is a CCoordsConverter {scale, scale2, device flag}; the shape's symbol attributes are prepared for the
// call (obj.PrepareSymbolAttribute (library, symbol, keepColours, colour): unless keepColours is set the
// symbol takes the given colour) and their mask is set back to what it was by RestoreMask or the
// destructor. attrib is the record the drawing uses: the shape's own symbol attributes (the ones
// PrepareSymbolAttribute works on). The library, the object and the record must outlive this object.
class CSymbolPainting {
public:
    // For drawing on a device: device flag 1.
    CSymbolPainting(CGeoVectorObject& obj, CSymbolAttrib& attrib, CSymbolLibIO* pLib, int nSymbol, UINT scale,
                    UINT scale2, int keepColours, COLORREF crColor);
    // For output through an outputer with the caller's converter (not copied; it must outlive this
    // object): colours kept (keepColours 1, colour 0).
    CSymbolPainting(CGeoVectorObject& obj, CSymbolAttrib& attrib, CSymbolLibIO* pLib, int nSymbol,
                    void* pConverter);
    ~CSymbolPainting();
    CSymbolPainting(const CSymbolPainting&) = delete;
    CSymbolPainting& operator=(const CSymbolPainting&) = delete;

    // The poly form of the library's DrawSymbol with nParts parts (pCounts[i] points each) in device
    // coordinates, the clip rectangle, mode GetSymbolDrawMode (xorMode), no output rectangle. Returns the
    // library's result: 0 drawn, anything else failed (and nothing was drawn).
    LONG DrawPoly(CDC* pDC, const POINT* pPoints, const LONG* pCounts, LONG nParts, const RECT* pClip, int xorMode);
    // The same with one part of nCount points.
    LONG DrawPoly(CDC* pDC, const POINT* pPoints, LONG nCount, const RECT* pClip, int xorMode);
    // The rectangle form (the ellipse inscribed in *pRect, device coordinates).
    LONG DrawRect(CDC* pDC, const RECT* pRect, const RECT* pClip, int xorMode);
    // The point form at a device point, turned by dAngle degrees counter-clockwise.
    LONG DrawPoint(CDC* pDC, const POINT& pt, double dAngle, const RECT* pClip, int xorMode);

    // The poly form of the library's OutputSymbol (flag 0, no clip) in millimetres. Returns the
    // library's result: 0 done.
    LONG OutputPoly(CSymbolOutputer* pOutputer, const POINT* pPoints, const LONG* pCounts, LONG nParts);
    LONG OutputPoly(CSymbolOutputer* pOutputer, const POINT* pPoints, LONG nCount);

    // Sets the attribute mask back to the one before the preparation; later calls do nothing.
    void RestoreMask();

private:
    CSymbolAttrib& m_attrib;
    CSymbolLibIO* m_pLib;
    int m_nSymbol;
    CCoordsConverter m_converter;  // the context of drawing calls
    void* m_pContext;               // &m_converter, or the caller's converter for output
    WORD m_wOldMask;
    bool m_bRestored = false;
};
