// CGeoRoundRect: the rectangle with rounded corners. It is the rectangle (GeoRect.h: two unnormalised
// corners held in the bounds) plus a corner size, the width and height of the ellipse that rounds each
// corner, in the object's unit.
//
// The corner size is stored as set, never clamped (it may exceed the rectangle). What draws, measures
// and polygonises uses the effective size, GetRoundRect: the stored size limited to the width and
// height of the rectangle and raised to 0 when negative.
//
// Handles: the rectangle's eight, plus handle 9 that drags the corner size. With the normalised bounds
// (xmin, ymin, xmax, ymax), w = xmax - xmin, h = ymax - ymin, the stored size (cx, cy) and halvings
// truncated toward zero:
//   handle 9 lies at (xmax - cx / 2, ymin + cy / 2), x raised to (xmin + xmax) / 2 and y lowered to
//   (ymin + ymax) / 2 where they pass the centre;
//   dragging it to p first limits p.x to xmax - 1 when greater, else raises it to xmin + w / 2, and
//   p.y to at least ymin + 1, else to at most ymin + h / 2; the corner size becomes
//   ((xmax - p.x) * 2, (p.y - ymin) * 2).
// Its cursor is the system's size-all cursor.
//
// Rotation and transformation are the rectangle's and keep the corner size; rounded rectangles offer
// no snap points.
//
// Record (after the rectangle's record, which is the closed-line record):
//   corner size  8 bytes   cx, cy as signed 32-bit integers, as stored (unclamped)
#pragma once

#include "vector/GeoRect.h"

class CGeoRoundRect : public CGeoRect {
    DECLARE_SERIAL(CGeoRoundRect)

public:
    // No corner yet; corner size (16, 16).
    CGeoRoundRect();
    // No corner yet; the given corner size.
    explicit CGeoRoundRect(CPoint size);
    // One corner at p (the rectangle's point constructor); the given corner size.
    CGeoRoundRect(CPoint p, CPoint size);
    // Both corners from r, kept as given; completed; the given corner size.
    CGeoRoundRect(const CRect& r, CPoint size);
    CGeoRoundRect(const CGeoRoundRect& src, int withAttribute = 0, int withRecord = 1);
    ~CGeoRoundRect() override;

    void Serialize(CArchive& ar) override;

    // Stores the corner size unchanged; returns the previous one.
    CPoint SetRoundRect(CPoint size);
    // The effective corner size: (min(cx, w), min(cy, h)) of the normalised bounds, each at least 0. The
    // stored size is not changed.
    CPoint GetRoundRect() const;
    // The stored corner size.
    CPoint GetStoredRoundRect() const { return m_ptRound; }

    // ---- overrides ----

    CGeoObject* Duplicate(int withAttribute, int withRecord) override;
    // The rectangle's data, then the corner size when the source is a rounded rectangle.
    int CopyData(const CGeoVectorObject& src) override;
    // Conversions (accepted: polyline, polygon line, ellipse, rectangle). The polyline is the rounded
    // ring (its first point repeated at the end), the polygon line the same ring without the repeated
    // point; the ellipse and the rectangle take the normalised bounds. Face flags travel to targets that
    // have one, the unit to all.
    CGeoLine* ConvertMeTo(WORD code, DWORD flags) const override;
    // 0 when the square of 2 units about the point meets the outline (Intersects), else -1.
    int PointOnLine(POINT point) const override;
    // -1 outside the normalised bounds widened by the tolerance; otherwise 0 when the point lies nearer
    // than the tolerance to the rounded ring, else -1.
    int PointOnLine(POINT point, int tolerance) const override;
    int LineXLine(const CGeoLine& other) const override;
    // 2 (W + H) - (cx + cy) (2 - pi / 2), with the effective corner size.
    double Length() const override;
    // W H - (4 - pi) (cx / 2) (cy / 2), with the effective corner size.
    double Area() const override;
    // Handles 1 to 8: the rectangle's; 9: the corner size (see the top of this file).
    void MoveHandleTo(int nHandle, CPoint point) override;
    // Whether the outline of the rounded rectangle meets the rectangle.
    int Through(const CRect& rect) const override;
    int GetHandleCount() const override;
    CPoint GetHandle(int nHandle) const override;
    HCURSOR GetHandleCursor(int nHandle) const override;
    // Converts the bounds, then the corner size, from the old unit to the current one.
    void OnUnitChanged(int nOldUnit) override;
    // "圆角矩形", followed by "面" for a face.
    CString GetObjectTypeName() const override;
    // Always 0.
    int GetSnapPointA(CPoint& point, CRect rect, int& nIndex, SNAPTYPE type, LONG lParam) override;

    // The rounded ring in device units through the poly form of the library; no library, no symbol or a
    // failing library: the plain painter (scaleWidths 1).
    void OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                 const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8, void* pSymbolLib,
                                 int keepColours) override;
    // GDI RoundRect on the device rectangle of the normalised bounds with the effective corner size in
    // device units; a solid pen, brush and modes as CGeoCloseLine::PreparePlainPainter.
    void OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                    const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                    int scaleWidths) override;
    // The library's rounded-rectangle form over the bounds and the effective corner size in
    // millimetres, colours kept. 1 done; 0 when the library failed, the symbol is 0 or an argument is
    // NULL.
    int OnSymbolizeOutput(CSymbolLibIO* pLib, CSymbolOutputer* pOutputer, CCoordsConverter* pConverter,
                          GEOVIEW* pView) override;

protected:
    CPoint m_ptRound{16, 16};
};
