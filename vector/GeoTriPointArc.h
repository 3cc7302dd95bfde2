// CGeoTriPointArc: the circular arc that starts at p1, passes through p2 and ends at p3. It is an open
// line: its three points are its edit handles. Centre and radius are never stored; they are computed
// from the three points whenever they are needed.
//
// The slot count is the number of points given so far (0 to 3). The points define a circle
// (ExistACircle) only when all three are given and they are not collinear (exact integer cross-product
// test). Without a circle the arc behaves as the broken line through the points it has: it is drawn
// as segments, measures 0, does not invert, and converts only to a polyline, and only when the three
// points are collinear.
//
// Bounds: with a circle, the box of the arc itself (its end points and the axis extremes within its
// sweep); without one, the box of the points given.
//
// Handles: the open line's (handle h is point h - 1, the library's handle cursor). Unlike the closed
// shapes, the arc keeps its editing guard on MovePoint and MovePointTo too: an arc whose layer cannot
// be edited does not change through any of them.
//
// Mirroring: Mirror returns 0 and changes nothing. Hiding and blinking draw nothing.
//
// Record (after the line record, GeoLine.h; the open line adds nothing):
//   p1  8 bytes   x, y as signed 32-bit integers
//   p2  8 bytes
//   p3  8 bytes
// Loading a record whose slot count lies outside 0 to 3 raises CArchiveException (badIndex).
#pragma once

#include "vector/GeoLine.h"

class CGeoTriPointArc : public CGeoOpenLine {
    DECLARE_SERIAL(CGeoTriPointArc)

public:
    // Slot count 0, the three points (0, 0).
    CGeoTriPointArc();
    // The three points in that order: slot count 3, completed, bounds computed.
    CGeoTriPointArc(CPoint p1, CPoint p2, CPoint p3);
    // A copy made by CGeoVectorObject::Copy (src, withAttribute, withRecord).
    CGeoTriPointArc(const CGeoTriPointArc& src, int withAttribute = 0, int withRecord = 1);
    ~CGeoTriPointArc() override;

    void Serialize(CArchive& ar) override;

    // 1 when at least three points are given and they are not collinear; else 0.
    int ExistACircle() const;
    // The centre of the circle through the three points, rounded to the nearest integer; for collinear
    // points the midpoint of p1 and p3.
    CPoint GetCenter() const;
    // The centre in doubles; 1, or 0 (x and y unchanged) when the points define no circle.
    int GetCenter(double& x, double& y) const;
    // The radius of the circle through the three points; 0.0 for collinear points.
    double GetRadius() const;

    // ---- overrides ----

    CGeoObject* Duplicate(int withAttribute, int withRecord) override;
    // The line data, then the three points when the source is a three-point arc.
    int CopyData(const CGeoVectorObject& src) override;
    // See the top of this file; a slot count of 0 leaves the bounds as they are.
    void RecalcBounds() override;
    // First call: p1 (bounds the point); second: p2 (bounds grown); third: p3 (bounds recomputed). 1; a
    // fourth call changes nothing and returns 0.
    int AddPoint(POINT point) override;
    // 0: p1; 1: p2; any other index: p3.
    CPoint GetPoint(int index) const override;
    // With a circle: p1 and p3 swap (the arc runs the other way), bounds recomputed; without: nothing.
    void Invert() override;
    // Conversions (accepted: polyline, radius circle, three-point circle). Collinear points give the
    // polyline of the three points; a true arc gives the polyline approximating it (chords of at least
    // 50 units, at most 360 steps) or the circle through the points (centre, rim point p2) or the
    // three-point circle of the same points. Everything else without a circle: NULL. The unit travels to
    // every result.
    CGeoLine* ConvertMeTo(WORD code, DWORD flags) const override;
    // 0 when the square of 2 units about the point meets the arc (Intersects), else -1.
    int PointOnLine(POINT point) const override;
    // With a circle: 0 when the point lies strictly within the tolerance of the circle and inside the
    // arc's sweep; without one: 0 when it lies within the tolerance of the broken line. Else -1.
    int PointOnLine(POINT point, int tolerance) const override;
    // Always 0: arcs are never intersected with lines.
    int LineXLine(const CGeoLine& other) const override;
    // The arc's length: sweep angle times radius; 0.0 without a circle.
    double Length() const override;
    // When the object can be edited: p1 (index 0), p2 (1) or p3 (any other index) is offset or placed;
    // the bounds follow.
    void MovePoint(int index, POINT offset) override;
    void MovePointTo(int index, POINT position) override;
    // When CanMove: the three points and the bounds are offset.
    void Move(CSize offset) override;
    // Whether the arc (or, without a circle, the broken line) meets the rectangle.
    int Through(const CRect& rect) const override;
    // p2.
    CPoint GetVisiblePoint() const override;
    // Converts the bounds, then the three points, from the old unit to the current one; bounds
    // recomputed.
    void OnUnitChanged(int nOldUnit) override;
    // "三点圆弧".
    CString GetObjectTypeName() const override;
    // Turns the three points about the pivot (degrees, positive as Ostrel RotatePoint turns).
    void DoRotateCCW(double degrees, CPoint centre) override;
    // 1 while the arc is not completed and holds exactly three points, whatever the handle.
    int CanDeleteHandle(int nHandle) const override;
    // When CanDeleteHandle: the middle point is taken back (p2 = p3, slot count 2).
    void DeleteHandle(int nHandle) override;
    // SNAP_CENTER (the centre), SNAP_VERTEX (the three points), SNAP_NEAREST and SNAP_TANGENT (on the
    // full circle, and only when the arc itself passes through the box); every other kind 0.
    int GetSnapPointA(CPoint& point, CRect rect, int& nIndex, SNAPTYPE type, LONG lParam) override;
    // Transforms the three points (object unit -> metres -> transformer -> object unit); bounds follow.
    void Transform(CGeoCoordinateTransformer& transformer, double x0, double y0) override;

    // The style's line symbol along the polygonised arc (or the broken line) through the poly form of
    // the library; no library, no symbol or a failing library: the plain painter (scaleWidths 1).
    void OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                 const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8, void* pSymbolLib,
                                 int keepColours) override;
    // A solid pen in the line colour, never filled: GDI Arc on the device circle (nothing when the two
    // mapped end points coincide), or the broken line without a circle; then the dangle and false-node
    // marks at the first and the last point.
    void OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                    const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                    int scaleWidths) override;
    // The line symbol: through the three-point form of the library with a circle, the poly form of the
    // points given without one; in millimetres, colours kept. 1 done; 0 when the library failed, the
    // symbol is 0 or an argument is NULL.
    int OnSymbolizeOutput(CSymbolLibIO* pLib, CSymbolOutputer* pOutputer, CCoordsConverter* pConverter,
                          GEOVIEW* pView) override;

    using CGeoLine::AddPoint;
    using CGeoLine::MovePoint;
    using CGeoLine::MovePointTo;

protected:
    // The points given, 0 to 3 of them, into pts; returns their number.
    int DefinedPoints(POINT pts[3]) const;
    // The bounds of the points given (slot count 1: p1; 2: p1 and p2; 3: all three); nothing for 0.
    void RecalcPointBounds();
    // One defining point through a coordinate transformer (see Transform).
    POINT TransformPoint(CGeoCoordinateTransformer& transformer, double x0, double y0, POINT p) const;

    CPoint m_pt1;
    CPoint m_pt2;
    CPoint m_pt3;
};
