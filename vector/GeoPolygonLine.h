// CGeoPolygonLine: the closed polyline. Its last point connects back to its first without being stored
// twice. With the face flag set it is an area (drawn filled, symbolised with the fill symbol); without
// it, an outline (line style and line symbol). It is the common form of any closed outline.
//
// The points are the polyline's slots (one slot each, see GeoPLine.h); every measure, hit test, snap
// and painter treats them as a ring whose closing side runs from the last point to the first.
//
// Record (after the polyline record): the face flag, 32 bits.
#pragma once

#include "vector/GeoPLine.h"

class CGeoPolygonLine : public CGeoPLine {
    DECLARE_SERIAL(CGeoPolygonLine)

public:
    // The constructors of the polyline (GeoPLine.h); all leave the face flag 0, the copy takes the
    // source's.
    CGeoPolygonLine();
    explicit CGeoPolygonLine(int n);
    CGeoPolygonLine(int n, CPoint p);
    explicit CGeoPolygonLine(CPoint p);
    CGeoPolygonLine(const CGeoPolygonLine& src, int copyAttributes, int attributeMode);
    CGeoPolygonLine(int n, const POINT* pts, BOOL roundUp);
    ~CGeoPolygonLine() override;

    void Serialize(CArchive& ar) override;

    // Non-zero: the ring is an area.
    int IsFace() const { return m_bFace; }
    // Sets the face flag; returns the previous value.
    int SetFace(int bFace);

    // Area enclosed by the ring in square object units (>= 0 whatever the orientation; 0 below 3
    // points).
    virtual double Area() const;

    // ---- overrides ----

    // A new object of this class filled by Copy with both arguments; NULL when the copy fails. The caller
    // owns it.
    CGeoObject* Duplicate(int withAttribute, int withRecord) override;
    // The polyline part, then the face flag when the source is a polygon line.
    int CopyData(const CGeoVectorObject& src) override;
    // "多边形", followed by "面" for a face.
    CString GetObjectTypeName() const override;
    // The fill symbol of the style for a face, else the line symbol.
    int GetObjectSymbolID(GEOVIEW view) const override;

    // The ring's perimeter, closing side included; 0.0 below 3 points.
    double Length() const override;
    // The polyline's test; when it finds nothing, the closing side (last point to first point) against
    // the square of 2 units about p gives GetPoints() - 1.
    int PointOnLine(POINT point) const override;
    // The polyline's test; when it finds nothing, a closing side nearer than the tolerance gives
    // GetPoints() - 1.
    int PointOnLine(POINT point, int tolerance) const override;
    // The open sides in order, then the closing side; a one-point ring: whether the rectangle holds the
    // point (edges included). 0 for an empty line.
    int Through(const CRect& rect) const override;
    // As the polyline's, the closing side included: a foot on the closing side becomes the new last
    // point.
    int InsertPoint(POINT p, UINT scale) override;
    // The thinner in closed-ring mode; then OnLineChanged and the bounds. 0 (nothing done) below 3
    // points.
    int Compress(CCompressPts& thinner) override;
    // SNAP_VERTEX, SNAP_MIDPOINT, SNAP_PERPENDICULAR and SNAP_NEAREST over the ring with its first point
    // repeated at the end (so the closing side counts); every other kind, the end point included, 0.
    int GetSnapPointA(CPoint& point, CRect rect, int& nIndex, SNAPTYPE type, LONG lParam) override;

    // Symbolised painting: the fill symbol for a face, else the line symbol, along the ring closed
    // explicitly (point count + 1 device points), taking the fill colour (face) or the line colour unless
    // keepColours is set. No library, a symbol of 0 or a failing library: the plain painter (scaleWidths
    // 1).
    void OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                 const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8, void* pSymbolLib,
                                 int keepColours) override;
    // Plain painting. Pen: the polyline's line pen, or no outline at all (PS_NULL) when the style's line
    // width is exactly -1. Brush: for a face the style's fill colour, solid or hatched after the style's
    // fill shape (GetFillShape); for an outline the null brush. R2_NOTXORPEN with xorMode. A transparent
    // face is painted with R2_MASKPEN (unless xorMode) in TRANSPARENT background mode, everything else in
    // OPAQUE mode. A face is drawn with Polygon over the points; an outline with the clipped PolyLine
    // over the points and the first point again. The DC's raster operation, background mode, pen and
    // brush are put back.
    void OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                    const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                    int scaleWidths) override;
    // The fill symbol (face) or line symbol decomposed along the ring in millimetres, closed explicitly,
    // colours kept. 1 when the library did it; 0 when it failed, the symbol is 0 or an argument is NULL.
    int OnSymbolizeOutput(CSymbolLibIO* pLib, CSymbolOutputer* pOutputer, CCoordsConverter* pConverter,
                          GEOVIEW* pView) override;

    // Conversions (accepted: polyline, right-angle polygon). To a polyline: the points with the first
    // point appended again; to a right-angle polygon: the points as control points, face flag copied.
    // Both take this line's unit.
    CGeoLine* ConvertMeTo(WORD code, DWORD flags) const override;

protected:
    // Whether p lies in the handle square of half-side t about a handle (right and bottom edges
    // excluded): a click there picks the vertex rather than inserting one.
    int HitsHandle(POINT p, double t) const;
    // The first side i (ring[i] to ring[(i + 1) % n], the closing side last) whose perpendicular foot
    // from p falls within the side and that passes within t of p; the foot in foot. -1 when none.
    static int FindInsertSide(const POINT* ring, int n, POINT p, double t, POINT& foot);
    // The handle tolerance: the handle radius converted to object units at the scale.
    double HandleTolerance(UINT scale) const;

    int m_bFace = 0;
};
