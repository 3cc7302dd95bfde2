// CGeoCloseLine: the base of the closed shapes held by a few defining points (circle, regular polygon,
// rectangle and its descendants). It has no geometry of its own; its only member is the face flag:
// non-zero, the shape is an area, drawn with the style's fill colour and fill symbol; 0, an outline,
// drawn with the line style and line symbol.
//
// It also holds the painting, transformation and symbol rules that every closed shape shares, as
// protected helpers, so that each shape states only its geometry.
//
// Mirroring: no closed shape mirrors itself; Mirror on any of them returns 0 and changes nothing.
// Hiding and blinking draw nothing.
//
// Record (after the line record, GeoLine.h; same order for store and load, no version gate):
//   face flag   32 bits
#pragma once

#include "vector/GeoLine.h"

class CShapePainter;
class CGeoCoordinateTransformer;

class CGeoCloseLine : public CGeoLine {
    DECLARE_SERIAL(CGeoCloseLine)

public:
    // Face flag 0.
    CGeoCloseLine();
    ~CGeoCloseLine() override;

    void Serialize(CArchive& ar) override;

    // Area enclosed, in square object units (never negative); 0.0 here.
    virtual double Area() const;

    int IsFace() const { return m_bFace; }
    // Stores the flag; returns the previous value.
    int SetFace(int bFace);

    // The line data, then the face flag when the source is a closed line; 0 (nothing copied) when the
    // source is not a line.
    int CopyData(const CGeoVectorObject& src) override;
    // The style's fill symbol for a face, else its line symbol.
    int GetObjectSymbolID(GEOVIEW view) const override;

protected:
    // The symbol a symbolised painter of this shape uses (fill symbol for a face, else line symbol); 0
    // when pLib is NULL or the style has none: paint plainly instead.
    int ChooseShapeSymbol(const void* pLib, const GEOVIEW& view) const;
    // The colour a symbol takes unless its colours are kept: the fill colour for a face, else the line
    // colour.
    COLORREF ShapeColour(const GEOVIEW& view) const;
    // Prepares a plain painting: the pen (device width from GetDevicePenWidth; a solid pen, or, when
    // bGeometricPen is set and the width exceeds 1, the style's geometric line pen), the fill brush of
    // the style for a face or the null brush for an outline, R2_NOTXORPEN when xorMode is set, and for a
    // transparent face R2_MASKPEN (unless xorMode) in TRANSPARENT mode, else OPAQUE mode. The painter
    // puts everything back.
    void PreparePlainPainter(CShapePainter& painter, const GEOVIEW& view, UINT scale, UINT scale2, int scaleWidths,
                             int xorMode, BOOL bGeometricPen) const;
    // One defining point through a coordinate transformer: object unit -> metres plus (x0, y0), the
    // transformer, minus the second offset of a CBaseCoordinateTransformer, metres -> object unit,
    // truncated toward zero (and kept inside the coordinate range).
    POINT TransformPoint(CGeoCoordinateTransformer& transformer, double x0, double y0, POINT p) const;
    // Painters of a shape drawn as the ellipse inscribed in its bounds (circles, ellipses). The
    // symbolised one draws the chosen symbol over the bounds in device units and falls back to the plain
    // one when there is no symbol or the library fails; the plain one draws ::Ellipse with the painter of
    // PreparePlainPainter (no geometric pen).
    void PaintBoundsEllipseWithSymbol(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                      const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8, void* pSymbolLib,
                                      int keepColours);
    void PaintBoundsEllipse(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW& view,
                            int xorMode, int scaleWidths);
    // Symbolised output of a shape given by a rectangle (the library's rectangle form): the fill symbol
    // for a face, else the line symbol, over the rectangle in millimetres, colours kept. 1 when the
    // library did it; 0 when it failed, the symbol is 0 or an argument is NULL.
    int OutputRectSymbol(CSymbolLibIO* pLib, CSymbolOutputer* pOutputer, CCoordsConverter* pConverter,
                         const GEOVIEW* pView, const RECT& rcMillimetres);

    int m_bFace = 0;
};
