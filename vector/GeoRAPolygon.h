// CGeoRAPolygon: the right-angle polygon. The user digitises a few control points (the polyline's slots,
// one slot each) and the shape derives from them a rectilinear outline, its vertex ring (planar-geometry
// GetVertex: the first side runs from control point 0 to control point 1, every later side is
// perpendicular to the one before and ends level with the next control point, and the ring closes at a
// right angle onto the first side's line). The vertices, not the control points, are what it draws,
// measures, hit-tests and snaps to; the control points are its handles and its record.
//
// The vertex ring is rebuilt (RecalcVertex) after every change of the control points (OnLineChanged),
// and after copying, rotating, transforming and changing the unit. It holds at most twice as many
// points as there are control points and lives only in memory.
//
// The completed flag decides how it is painted: a completed shape is a ring (an area with the face
// flag), an unfinished one, while it is digitised, an open chain of its vertices without the last one.
//
// Record: the polygon line's; nothing of its own (the ring is rebuilt on loading).
#pragma once

#include "vector/GeoPolygonLine.h"

#include <vector>

class CGeoRAPolygon : public CGeoPolygonLine {
    DECLARE_SERIAL(CGeoRAPolygon)

public:
    // The constructors of the polygon line; those that receive points build the ring and the bounds.
    CGeoRAPolygon();
    explicit CGeoRAPolygon(int n);
    CGeoRAPolygon(int n, CPoint p);
    explicit CGeoRAPolygon(CPoint p);
    CGeoRAPolygon(const CGeoRAPolygon& src, int copyAttributes, int attributeMode);
    CGeoRAPolygon(int n, const POINT* pts, BOOL roundUp);
    ~CGeoRAPolygon() override;

    void Serialize(CArchive& ar) override;

    // Rebuilds the vertex ring from the control points.
    void RecalcVertex();
    // The vertex ring (GetVertexCount points; not closed explicitly, NULL when empty). Valid until the
    // next change of the shape.
    const POINT* GetVertices() const { return m_vertices.empty() ? nullptr : m_vertices.data(); }
    int GetVertexCount() const { return m_nVertexCount; }

    // ---- overrides (all on the vertex ring of c points) ----

    CGeoObject* Duplicate(int withAttribute, int withRecord) override;
    // The polygon line's part, then the ring rebuilt.
    int CopyData(const CGeoVectorObject& src) override;
    // "直角多边形", followed by "面" for a face.
    CString GetObjectTypeName() const override;

    // Rebuilds the ring.
    void OnLineChanged() override;
    // Both: the bounds of the vertex ring.
    void RecalcBounds() override;
    void RecalcBounds(POINT p) override;
    // Perimeter and area of the ring.
    double Length() const override;
    double Area() const override;
    // When CanMove: the control points, the bounds and the ring offset by d.
    void Move(CSize d) override;
    // The control points turned (see the polyline), then the ring and the bounds rebuilt.
    void DoRotateCCW(double degrees, CPoint centre) override;
    // The control points converted, then the ring rebuilt.
    void OnUnitChanged(int nOldUnit) override;
    // The control points transformed, then the ring and the bounds rebuilt.
    void Transform(CGeoCoordinateTransformer& transformer, double dx, double dy) override;

    // -1 outside the bounds; a one-point shape answers 0 only for its own point; else the first side i
    // (vertex i to i + 1, then the closing side c - 1) meeting the square of 2 units about p. The result
    // is a vertex index.
    int PointOnLine(POINT point) const override;
    // -1 outside the bounds (not grown by the tolerance); one point: 0 when p lies nearer than the
    // tolerance; else the first side nearer than the tolerance (the closing side c - 1). -1 when none.
    int PointOnLine(POINT point, int tolerance) const override;
    // One point: whether the rectangle holds it (right and bottom edges excluded); else whether a side
    // meets it, the closing side counting only from 3 control points on. 0 for an empty shape.
    int Through(const CRect& rect) const override;
    // The handle test and the side search of the polygon line over the vertex ring. The foot on the hit
    // side a-b becomes a new control point after the control point equal to a; when a is none, after the
    // control point before the one equal to b (after the last one when b is control point 0); when
    // neither is, after the nearest control point met walking the ring back from a (the last control
    // point when none is met). The result is InsertPointAfter's; 0 when no side qualifies.
    int InsertPoint(POINT p, UINT scale) override;
    // 0: a right-angle polygon is not thinned.
    int Compress(CCompressPts& thinner) override;
    // SNAP_VERTEX, SNAP_MIDPOINT, SNAP_PERPENDICULAR, SNAP_NEAREST over the c vertices (the ring is not
    // closed for snapping); every other kind 0.
    int GetSnapPointA(CPoint& point, CRect rect, int& nIndex, SNAPTYPE type, LONG lParam) override;

    // Symbolised painting: the fill symbol when completed and a face, else the line symbol; the device
    // vertices with vertex 0 appended; completed: c points when vertex 0 equals the last vertex, else
    // c + 1; unfinished: 2 when c = 2, else c - 1. Colours and fallback as for the polygon line.
    void OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                 const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8, void* pSymbolLib,
                                 int keepColours) override;
    // Plain painting: a solid pen of the line colour, device width GetDevicePenWidth (never geometric);
    // the brush and face handling of the polygon line, transparency only when completed and a face. A
    // completed shape: Polygon over the c vertices; an unfinished one: Polyline over 2 vertices when
    // c = 2, else c - 1 (nothing below 2).
    void OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                    const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                    int scaleWidths) override;
    // The symbol chosen as for drawing, along the vertices in millimetres with vertex 0 appended: c + 1
    // points when completed, else 2 when c = 2 and c - 1 otherwise. 1 when the library did it.
    int OnSymbolizeOutput(CSymbolLibIO* pLib, CSymbolOutputer* pOutputer, CCoordsConverter* pConverter,
                          GEOVIEW* pView) override;

    // Conversions (accepted: polyline, polygon line), from the vertex ring. To a polyline: the c vertices
    // with point 0 moved onto the last vertex (the chain starts and ends on one corner). To a polygon
    // line: the c vertices without vertex 0, face flag copied. Both take this shape's unit.
    CGeoLine* ConvertMeTo(WORD code, DWORD flags) const override;

private:
    // The number of device points an unfinished shape draws: 2 when c = 2, else c - 1.
    int OpenChainCount() const;

    std::vector<POINT> m_vertices;  // room for 2 * control points
    int m_nVertexCount = 0;
};
