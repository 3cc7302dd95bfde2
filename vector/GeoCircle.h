// CGeoCircle: the radius circle, held by its centre and one point of its rim. The radius is never
// stored: it is the distance between the two points, recomputed whenever it is needed.
//
// The slot count is the number of defining points given so far: 0, 1 (the centre) or 2 (the rim
// point too). The bounds are the square (cx - r, cy - r, cx + r, cy + r) with r the radius rounded to
// the nearest integer (kept inside the coordinate range).
//
// Handles: 1 the centre, 2 the rim point. Moving the centre keeps the rim point (the radius changes);
// moving the rim point keeps the centre.
//
// Record (after the closed-line record, GeoCloseLine.h):
//   centre     8 bytes   x, y as signed 32-bit integers
//   rim point  8 bytes   x, y
#pragma once

#include "vector/GeoCloseLine.h"

class CGeoCircle : public CGeoCloseLine {
    DECLARE_SERIAL(CGeoCircle)

public:
    // Slot count 0, both points (0, 0), bounds empty.
    CGeoCircle();
    // The centre alone: slot count 1, centre = rim point = c, bounds the point c; not completed.
    explicit CGeoCircle(CPoint c);
    // Centre and radius; completed. The rim point keeps its coordinates positive where it can:
    // (c.x, c.y - r) when c.y - r > 0, else (c.x - r, c.y) when c.x - r > 0, else (c.x + r, c.y).
    CGeoCircle(CPoint c, int r);
    // Centre and rim point taken unchanged; completed.
    CGeoCircle(CPoint c, CPoint rim);
    // A copy made by CGeoVectorObject::Copy (src, withAttribute, withRecord).
    CGeoCircle(const CGeoCircle& src, int withAttribute = 0, int withRecord = 1);
    ~CGeoCircle() override;

    void Serialize(CArchive& ar) override;

    CPoint GetCenter() const { return m_ptCenter; }
    // Distance of centre and rim point, not rounded.
    double GetRadius() const;

    // ---- overrides ----

    // A new circle filled by Copy; NULL when the copy fails. The caller owns it.
    CGeoObject* Duplicate(int withAttribute, int withRecord) override;
    // The closed-line data, then both points when the source is a circle.
    int CopyData(const CGeoVectorObject& src) override;
    // First call: the centre (slot count 1); second: the rim point (slot count 2). 1; a third call
    // changes nothing and returns 0.
    int AddPoint(POINT point) override;
    // The square of the radius about the centre (see the top of this file).
    void RecalcBounds() override;
    // The rim point.
    CPoint GetVisiblePoint() const override;
    // 0: the centre; 1: the rim point; any index outside the points given so far: (0, 0).
    CPoint GetPoint(int index) const override;
    // Conversions (accepted: polyline, polygon line, three-point circle, three-point arc, ellipse, square
    // circle, regular polygon). A polyline gets at most 50 points on the circle and the first again, a
    // polygon line the same without the repeated point; a regular polygon takes the centre, the rim
    // point as its first vertex and the code's parameter as its side count (0: the default count).
    // The ellipse and the square circle take the bounds. The three-point circle runs through the rim
    // point and the rim point turned by 90 and by 180 degrees about the centre; the three-point arc runs
    // from the rim point through the opposite point and ends 5 degrees short of closing. Face flags
    // travel to targets that have one, the unit to all.
    CGeoLine* ConvertMeTo(WORD code, DWORD flags) const override;
    // 0 when the square of 2 units about the point meets the circle (Intersects), else -1.
    int PointOnLine(POINT point) const override;
    // -1 outside the bounds widened by the tolerance; otherwise 0 when the point lies strictly between
    // the circles of radius r - t and r + t, else -1.
    int PointOnLine(POINT point, int tolerance) const override;
    // Always 0: circles are never intersected with lines.
    int LineXLine(const CGeoLine& other) const override;
    // 2 pi r.
    double Length() const override;
    // pi r^2, face or not.
    double Area() const override;
    // Offsets both points and the bounds; nothing when the object cannot move or the size is (0, 0).
    void Move(CSize offset) override;
    // When the object can be edited: the centre (index 0) or the rim point (any other index) is offset
    // or placed; the bounds follow.
    void MovePoint(int index, POINT offset) override;
    void MovePointTo(int index, POINT position) override;
    // When CanMoveHandle: MovePointTo (h - 1, point).
    void MoveHandleTo(int nHandle, CPoint point) override;
    // Whether the circle's outline meets the rectangle.
    int Through(const CRect& rect) const override;
    int GetHandleCount() const override;
    // GetPoint (h - 1).
    CPoint GetHandle(int nHandle) const override;
    // The library's handle cursor (resource 322) for every handle.
    HCURSOR GetHandleCursor(int nHandle) const override;
    // Converts the bounds, then both points, from the old unit to the current one.
    void OnUnitChanged(int nOldUnit) override;
    // "半径圆", followed by "面" for a face.
    CString GetObjectTypeName() const override;
    // Turns the centre and the rim point about the pivot (degrees, positive as Ostrel RotatePoint turns).
    void DoRotateCCW(double degrees, CPoint centre) override;
    // SNAP_CENTER (the centre), SNAP_NEAREST (the nearest point of the outline), SNAP_QUADRANT (the four
    // points at 0, 90, 180 and 270 degrees) and SNAP_TANGENT; every other kind 0.
    int GetSnapPointA(CPoint& point, CRect rect, int& nIndex, SNAPTYPE type, LONG lParam) override;
    // Transforms the rim point and the centre; the bounds follow.
    void Transform(CGeoCoordinateTransformer& transformer, double x0, double y0) override;

    // Ellipse of the bounds: the fill symbol (face) or line symbol through the rectangle form of the
    // library; no library, no symbol or a failing library: the plain painter (scaleWidths 1).
    void OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                 const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8, void* pSymbolLib,
                                 int keepColours) override;
    // GDI Ellipse on the device rectangle of the bounds with a solid pen, the fill brush for a face (null
    // brush otherwise); see CGeoCloseLine::PreparePlainPainter.
    void OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                    const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                    int scaleWidths) override;
    // The symbol decomposed over the bounds in millimetres (rectangle form), colours kept. 1 done; 0 when
    // the library failed, the symbol is 0 or an argument is NULL.
    int OnSymbolizeOutput(CSymbolLibIO* pLib, CSymbolOutputer* pOutputer, CCoordsConverter* pConverter,
                          GEOVIEW* pView) override;

    using CGeoLine::AddPoint;
    using CGeoLine::MovePoint;
    using CGeoLine::MovePointTo;

protected:
    CPoint m_ptCenter;
    CPoint m_ptRim;
};
