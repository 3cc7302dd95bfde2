// CGeoNPolygon: the regular polygon, held by its centre, its first vertex and its number of sides. It
// is a radius circle (GeoCircle.h) whose rim point is the first vertex: the polygon is inscribed in
// that circle. The other vertices are never stored; they follow counter-clockwise (y up) from the
// first one (Ostrel GetVertex), and the bounds are those of the vertices.
//
// The side count is stored as given. Counts outside 1 to kMaxSides (a negative count from a damaged
// record, a huge one) make a degenerate polygon: it has no vertices, draws, outputs and snaps nothing,
// measures 0, converts to nothing but a circle, and keeps the circle's square as its bounds.
//
// Handles are the circle's: 1 the centre, 2 the first vertex. Deleting handle 2 removes a side (never
// below three), adding it adds one; the first vertex stays where it is.
//
// Record (after the circle record, GeoCircle.h):
//   sides   32 bits
#pragma once

#include "vector/GeoCircle.h"

class CGeoNPolygon : public CGeoCircle {
    DECLARE_SERIAL(CGeoNPolygon)

public:
    // The largest side count that gives a polygon with vertices.
    static const int kMaxSides = 100000;

    // In every constructor a side count of 0 means the global default (GetNPolygonSides).
    // No point yet.
    explicit CGeoNPolygon(int sides = 0);
    // The centre alone (slot count 1, first vertex = centre); not completed.
    CGeoNPolygon(CPoint centre, int sides);
    // Centre and first vertex; completed.
    CGeoNPolygon(CPoint centre, CPoint vertex, int sides);
    // Centre and radius; the first vertex by the circle's radius rule (CGeoCircle (c, r)); completed.
    CGeoNPolygon(CPoint centre, int radius, int sides);
    CGeoNPolygon(const CGeoNPolygon& src, int withAttribute = 0, int withRecord = 1);
    ~CGeoNPolygon() override;

    void Serialize(CArchive& ar) override;

    int GetSides() const { return m_nSides; }
    // Returns the old count; when n differs, stores n (unchecked) and recomputes the bounds.
    int SetSides(int n);
    // Whether the side count gives a polygon with vertices (1 to kMaxSides).
    BOOL HasVertices() const { return m_nSides >= 1 && m_nSides <= kMaxSides; }

    // ---- overrides ----

    CGeoObject* Duplicate(int withAttribute, int withRecord) override;
    // The circle data, then the side count when the source is a regular polygon.
    int CopyData(const CGeoVectorObject& src) override;
    // Bounds of the vertices (the circle's square for a degenerate polygon).
    void RecalcBounds() override;
    // Conversions (accepted: polyline, circle, polygon line). A polyline gets the vertices and the first
    // vertex again; a polygon line the vertices; a circle is the circumscribed one. Face flags travel to
    // the circle and the polygon line, the unit to all. A degenerate polygon gives NULL except for the
    // circle.
    CGeoLine* ConvertMeTo(WORD code, DWORD flags) const override;
    // 0 when the square of 2 units about the point meets the outline (Intersects), else -1.
    int PointOnLine(POINT point) const override;
    // -1 outside the bounds widened by the tolerance; otherwise the index i of the first side (vertex i
    // to vertex i + 1, the last side closing onto vertex 0) nearer to the point than the tolerance, or
    // -1 when none is.
    int PointOnLine(POINT point, int tolerance) const override;
    int LineXLine(const CGeoLine& other) const override;
    // 2 n R sin(pi / n); 0 for a degenerate polygon.
    double Length() const override;
    // R^2 n / 2 sin(2 pi / n); 0 for a degenerate polygon.
    double Area() const override;
    // 1 only when the object can be edited, h = 2 and there are more than three sides.
    int CanDeleteHandle(int nHandle) const override;
    // One side fewer.
    void DeleteHandle(int nHandle) override;
    // 1 when the object can be edited and h = 2.
    int CanAddHandle(int nHandle) const override;
    // One side more.
    void AddHandle(int nHandle) override;
    // Whether the outline meets the rectangle.
    int Through(const CRect& rect) const override;
    // "正n边形" with the side count, followed by "面" for a face.
    CString GetObjectTypeName() const override;
    void DoRotateCCW(double degrees, CPoint centre) override;
    void Transform(CGeoCoordinateTransformer& transformer, double x0, double y0) override;
    // SNAP_VERTEX, SNAP_MIDPOINT, SNAP_PERPENDICULAR and SNAP_NEAREST over the closed ring of vertices;
    // every other kind (the centre included) 0.
    int GetSnapPointA(CPoint& point, CRect rect, int& nIndex, SNAPTYPE type, LONG lParam) override;

    // The closed ring of vertices through the polygon form of the library; no library, no symbol or a
    // failing library: the plain painter (scaleWidths 1).
    void OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                 const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8, void* pSymbolLib,
                                 int keepColours) override;
    // GDI Polygon over the vertices with a solid pen; see CGeoCloseLine::PreparePlainPainter.
    void OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                    const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                    int scaleWidths) override;
    // The symbol decomposed along the closed ring in millimetres, colours kept. 1 done; 0 when the
    // library failed, the symbol is 0, an argument is NULL or the polygon is degenerate.
    int OnSymbolizeOutput(CSymbolLibIO* pLib, CSymbolOutputer* pOutputer, CCoordsConverter* pConverter,
                          GEOVIEW* pView) override;

protected:
    // The vertices into out (room for sides + 1) and the first vertex again after them; the number of
    // vertices written (sides), 0 for a degenerate polygon.
    int MakeRing(POINT* out) const;

    int m_nSides = 3;
};
