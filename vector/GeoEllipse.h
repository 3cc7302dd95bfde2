// CGeoEllipse, the axis-parallel ellipse inscribed in a rectangle, and CGeoRectCircle, the square
// circle: the circle inscribed in a square that it keeps square while it is digitised and while its
// corner handles are dragged. Both hold their geometry as the rectangle does (GeoRect.h): two
// unnormalised corners in the object's bounds; handle points and cursors, moving, rotating (the centre
// moves, the axes stay parallel) and transformation are the rectangle's. Neither writes a record of its
// own.
//
// The ellipse's semi-axes are a = w / 2 and b = h / 2 of the corners (w = x2 - x1, h = y2 - y1); its
// centre is the centre of the normalised bounds.
//
// Square rule (the square circle): a corner P placed against the fixed opposite corner Q, with
// dx = P.x - Q.x and dy = P.y - Q.y, keeps its coordinate along the smaller of |dx| and |dy| and takes
// Q's other coordinate plus or minus that smaller difference (plus when its own difference is > 0):
// (P.x, Q.y + s(dy) |dx|) when |dx| < |dy|, else (Q.x + s(dx) |dy|, P.y). Operations other than
// AddPoint and MoveHandleTo (MovePointTo, Transform...) do not enforce it.
#pragma once

#include "vector/GeoRect.h"

class CGeoEllipse : public CGeoRect {
    DECLARE_SERIAL(CGeoEllipse)

public:
    CGeoEllipse();
    // One corner given (the rectangle's point constructor).
    explicit CGeoEllipse(CPoint p);
    // Both corners from r, kept as given; completed.
    explicit CGeoEllipse(const CRect& r);
    CGeoEllipse(const CGeoEllipse& src, int withAttribute = 0, int withRecord = 1);
    ~CGeoEllipse() override;

    void Serialize(CArchive& ar) override;

    // ---- overrides ----

    CGeoObject* Duplicate(int withAttribute, int withRecord) override;
    int CopyData(const CGeoVectorObject& src) override;
    // |(w / 2) pi (h / 2)|.
    double Area() const override;
    // The mean-radius approximation pi (|w| + |h|) / 2.
    double Length() const override;
    // Conversions (accepted: polyline, circle, three-point circle, rectangle, rounded rectangle, polygon
    // line). The polyline and the polygon line get points on the ellipse (6 for a small one, about
    // 0.71 sqrt(a) for larger ones; the polyline closes the ring with one more point); the circle is the
    // one inscribed in the largest square centred in the bounds, and the three-point circle is that
    // circle through its top, right and bottom points (m.x, m.y - k), (m.x + k, m.y), (m.x, m.y + k);
    // the rectangle takes the normalised bounds, the rounded rectangle too with the corner size
    // (w / 6, h / 6). Face flags travel to targets that have one, the unit to all.
    CGeoLine* ConvertMeTo(WORD code, DWORD flags) const override;
    // 0 when the square of 2 units about the point meets the outline (Intersects), else -1.
    int PointOnLine(POINT point) const override;
    // -1 outside the normalised bounds widened by t; 0 when the point lies strictly inside the ellipse
    // with semi-axes a + t, b + t and strictly outside the one with a - t, b - t (same centre); else -1.
    int PointOnLine(POINT point, int tolerance) const override;
    int LineXLine(const CGeoLine& other) const override;
    // Whether the outline meets the rectangle.
    int Through(const CRect& rect) const override;
    // "椭圆", followed by "面" for a face.
    CString GetObjectTypeName() const override;
    void DoRotateCCW(double degrees, CPoint centre) override;
    void Transform(CGeoCoordinateTransformer& transformer, double x0, double y0) override;
    // SNAP_CENTER, SNAP_NEAREST, SNAP_QUADRANT (the ends of the axes) and SNAP_TANGENT, with the
    // semi-axes halved by integer division; every other kind 0.
    int GetSnapPointA(CPoint& point, CRect rect, int& nIndex, SNAPTYPE type, LONG lParam) override;

    // As the radius circle: the rectangle form of the library on the device rectangle of the bounds; no
    // library, no symbol or a failing library: the plain painter (scaleWidths 1).
    void OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                 const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8, void* pSymbolLib,
                                 int keepColours) override;
    // GDI Ellipse on the device rectangle of the normalised bounds with a solid pen; see
    // CGeoCloseLine::PreparePlainPainter.
    void OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                    const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                    int scaleWidths) override;
    // The symbol over the bounds in millimetres (rectangle form), colours kept. 1 done; 0 when the
    // library failed, the symbol is 0 or an argument is NULL.
    int OnSymbolizeOutput(CSymbolLibIO* pLib, CSymbolOutputer* pOutputer, CCoordsConverter* pConverter,
                          GEOVIEW* pView) override;
};

class CGeoRectCircle : public CGeoEllipse {
    DECLARE_SERIAL(CGeoRectCircle)

public:
    CGeoRectCircle();
    // One corner: slot count 1, both corners p.
    explicit CGeoRectCircle(CPoint p);
    // Corner 1 is r's top-left; corner 2 is r's bottom-right placed by the square rule; completed.
    explicit CGeoRectCircle(const CRect& r);
    CGeoRectCircle(const CGeoRectCircle& src, int withAttribute = 0, int withRecord = 1);
    ~CGeoRectCircle() override;

    // The square-rule point of P against Q (see the top of this file), kept inside the coordinate range.
    static CPoint SquareCorner(CPoint P, CPoint Q);

    void Serialize(CArchive& ar) override;

    // ---- overrides ----

    CGeoObject* Duplicate(int withAttribute, int withRecord) override;
    int CopyData(const CGeoVectorObject& src) override;
    // The second corner is placed by the square rule against the first; otherwise the rectangle's.
    int AddPoint(POINT point) override;
    // Corner handles (1, 3, 5, 7) move their corner by the square rule against the opposite stored
    // corner; the side handles and any other number do nothing; nothing when CanMoveHandle is 0.
    void MoveHandleTo(int nHandle, CPoint point) override;
    // pi (w / 2)^2, from the width alone.
    double Area() const override;
    // |w pi|, from the width alone.
    double Length() const override;
    // Conversions (accepted: polyline, circle, ellipse, rectangle, polygon line). The polyline and the
    // polygon line go through the radius circle of the square circle; the circle has the centre of the
    // bounds and its rim point half the width above it; the ellipse and the rectangle take the
    // normalised bounds. Face flags travel to targets that have one, the unit to all.
    CGeoLine* ConvertMeTo(WORD code, DWORD flags) const override;
    // As the ellipse's box test.
    int PointOnLine(POINT point) const override;
    // -1 outside the normalised bounds widened by t; with R half the width, 0 when the distance d from
    // the centre satisfies (R - t)^2 < d^2 < (R + t)^2; else -1.
    int PointOnLine(POINT point, int tolerance) const override;
    int LineXLine(const CGeoLine& other) const override;
    // Whether the circle of the bounds meets the rectangle.
    int Through(const CRect& rect) const override;
    // "矩形圆", followed by "面" for a face.
    CString GetObjectTypeName() const override;
    void DoRotateCCW(double degrees, CPoint centre) override;
    void Transform(CGeoCoordinateTransformer& transformer, double x0, double y0) override;
    // SNAP_CENTER to SNAP_TANGENT as the ellipse; every other kind 0.
    int GetSnapPointA(CPoint& point, CRect rect, int& nIndex, SNAPTYPE type, LONG lParam) override;

    using CGeoLine::AddPoint;
};
