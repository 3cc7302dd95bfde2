// CGeoRect: the axis-parallel rectangle given by two opposite corners. It keeps no geometry of its
// own: corner 1 is (left, top) and corner 2 is (right, bottom) of the object's stored bounds, kept as
// digitised and never normalised, so the first corner given stays corner 1 wherever the second lies
// (left may exceed right, top may exceed bottom). GetBounds returns a normalised copy; everything that
// needs a proper rectangle (measures aside) works on that copy. The ellipse, the square circle and the
// rounded rectangle derive from it and keep their geometry the same way.
//
// The slot count counts the corners given: 0, 1 or 2.
//
// Handles (8), on the stored corners with w = x2 - x1 and h = y2 - y1 halved toward zero:
//   1 (x1, y1)  2 (x1 + w/2, y1)  3 (x2, y1)  4 (x2, y1 + h/2)
//   5 (x2, y2)  6 (x1 + w/2, y2)  7 (x1, y2)  8 (x1, y1 + h/2)
// A corner handle moves both coordinates of its corner, a side handle only the one across its side.
// Handles are neither clamped nor normalised, and a number outside 1 to 8 acts as handle 1.
//
// Rotation moves the rectangle's centre about the pivot and keeps its size and axis-parallel sides.
//
// Record: the closed-line record only (GeoCloseLine.h); the corners travel, unnormalised, in the bounds
// of the object record.
#pragma once

#include "vector/GeoCloseLine.h"

class CGeoRect : public CGeoCloseLine {
    DECLARE_SERIAL(CGeoRect)

public:
    // No corner yet.
    CGeoRect();
    // One corner: AddPoint (p) on an empty rectangle.
    explicit CGeoRect(CPoint p);
    // Both corners from r, kept as given (not normalised); completed.
    explicit CGeoRect(const CRect& r);
    CGeoRect(const CGeoRect& src, int withAttribute = 0, int withRecord = 1);
    ~CGeoRect() override;

    void Serialize(CArchive& ar) override;

    // ---- overrides ----

    CGeoObject* Duplicate(int withAttribute, int withRecord) override;
    // The closed-line data (which hold the corners in the bounds).
    int CopyData(const CGeoVectorObject& src) override;
    // The normalised corners.
    CRect GetBounds() const override;
    // |w h| of the stored corners.
    double Area() const override;
    // 0: corner 1; any other index: corner 2.
    CPoint GetPoint(int index) const override;
    // Conversions (accepted: polyline, polygon line, right-angle polygon, ellipse, rounded rectangle),
    // all from the normalised corners: the polyline runs (xmin, ymin), (xmax, ymin), (xmax, ymax),
    // (xmin, ymax) and back to (xmin, ymin); the polygon line and the right-angle polygon take the first
    // four of those; the ellipse takes the normalised bounds, the rounded rectangle too with the corner
    // size (w / 6, h / 6) truncated toward zero. Face flags travel to targets that have one, the unit to
    // all.
    CGeoLine* ConvertMeTo(WORD code, DWORD flags) const override;
    // First call: both corners at the point (slot count 1); second: corner 2 (slot count 2). 1; a third
    // call changes nothing and returns 0.
    int AddPoint(POINT point) override;
    // -1 outside the normalised bounds (their border is inside); otherwise the first side, in the order
    // 0 (x1,y1)-(x2,y1), 1 (x2,y1)-(x2,y2), 2 (x2,y2)-(x1,y2), 3 (x1,y2)-(x1,y1), that meets the square of
    // 2 units about the point; -1 when none does.
    int PointOnLine(POINT point) const override;
    // -1 outside the normalised bounds widened by t; otherwise the first side in the same order nearer
    // to the point than t; -1 when none is.
    int PointOnLine(POINT point, int tolerance) const override;
    int LineXLine(const CGeoLine& other) const override;
    // 2 (|w| + |h|) of the stored corners.
    double Length() const override;
    // When the object can be edited and the index is among the corners given: corner 1 (index <= 0) or
    // corner 2 is offset (nothing for (0, 0)) or placed.
    void MovePoint(int index, POINT offset) override;
    void MovePointTo(int index, POINT position) override;
    // (xmin, ymin) of the normalised bounds.
    CPoint GetVisiblePoint() const override;
    // See the handle table at the top of this file; nothing when CanMoveHandle is 0.
    void MoveHandleTo(int nHandle, CPoint point) override;
    // Whether the rectangles meet (the normalised bounds against rect).
    int Through(const CRect& rect) const override;
    int GetHandleCount() const override;
    CPoint GetHandle(int nHandle) const override;
    // The system's sizing cursors: NWSE for 1 and 5, NS for 2 and 6, NESW for 3 and 7, WE for 4 and 8,
    // NWSE for any other number.
    HCURSOR GetHandleCursor(int nHandle) const override;
    // "矩形", followed by "面" for a face.
    CString GetObjectTypeName() const override;
    void DoRotateCCW(double degrees, CPoint centre) override;
    // SNAP_VERTEX, SNAP_MIDPOINT, SNAP_PERPENDICULAR and SNAP_NEAREST over the ring (xmin, ymin),
    // (xmax, ymin), (xmax, ymax), (xmin, ymax), (xmin, ymin); every other kind 0.
    int GetSnapPointA(CPoint& point, CRect rect, int& nIndex, SNAPTYPE type, LONG lParam) override;
    // The four corners of the normalised bounds transformed one by one; the new bounds are the box of
    // the results (normalised, axis-parallel).
    void Transform(CGeoCoordinateTransformer& transformer, double x0, double y0) override;

    // The device ring of the normalised bounds through the polygon form of the library; no library, no
    // symbol or a failing library: the plain painter (scaleWidths 1).
    void OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                 const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8, void* pSymbolLib,
                                 int keepColours) override;
    // GDI Rectangle on the device rectangle of the normalised bounds. The pen is the style's geometric
    // line pen (line shape | PS_GEOMETRIC) when the device width exceeds 1, else a solid pen; brush and
    // modes as CGeoCloseLine::PreparePlainPainter.
    void OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                    const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                    int scaleWidths) override;
    // The symbol decomposed along the ring (xmin, ymin), (xmin, ymax), (xmax, ymax), (xmax, ymin),
    // (xmin, ymin) of the bounds in millimetres, colours kept. 1 done; 0 when the library failed, the
    // symbol is 0 or an argument is NULL.
    int OnSymbolizeOutput(CSymbolLibIO* pLib, CSymbolOutputer* pOutputer, CCoordsConverter* pConverter,
                          GEOVIEW* pView) override;

    using CGeoLine::AddPoint;
    using CGeoLine::MovePoint;
    using CGeoLine::MovePointTo;
};
