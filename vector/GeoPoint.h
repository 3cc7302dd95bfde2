// CGeoPoint: the vector point feature, one position in the object's unit and a direction in degrees.
//
// The bounds always follow the position as the empty rectangle at it. A point draws as its style's
// point symbol (turned by its direction when its feature class is a directed point class) or, without
// a symbol, as a marker of its style; it is one TIN vertex, and the base of the label point and the
// topological node (GeoLabelPoint.h, GeoNode.h).
//
// Default names: every CGeoPoint constructor (label points' and nodes' included) raises a process-wide
// point counter that starts at -1 and names the object "点 " followed by it, so the first point of a
// process is "点 0". Nodes then rename themselves from a counter of their own.
//
// Record (after the vector-object record; no version gate):
//   position   8 bytes: x then y, 32-bit signed
//   direction  64-bit IEEE double, degrees
// A loaded direction is kept as stored.
#pragma once

#include "core/GeoVectorObject.h"

class CGeoPoint : public CGeoVectorObject {
    DECLARE_SERIAL(CGeoPoint)

public:
    // At (0, 0), at p, or at (x, y); direction 0.
    CGeoPoint();
    explicit CGeoPoint(POINT p);
    CGeoPoint(int x, int y);
    // A new point with a fresh default name, filled by CGeoVectorObject::Copy (src, copyAttributes,
    // attributeMode); when the copy fails part-way the point keeps what was copied so far.
    CGeoPoint(const CGeoPoint& src, int copyAttributes, int attributeMode);
    ~CGeoPoint() override;

    void Serialize(CArchive& ar) override;

    // ---- point ----

    CPoint GetPoint() const { return m_ptPosition; }
    // Stores the direction reduced to [0, 360]: d >= 0 gives d - trunc(d / 360) * 360, d < 0 gives
    // d + trunc(|d / 360|) * 360 + 360. So -30 gives 330, 725 gives 5, 360 gives 0 and a negative whole
    // multiple of 360 gives 360. A non-finite d stores 0.
    void SetDirect(double degrees);
    double GetDirect() const { return m_dDirection; }

    // Compare the position with p.
    bool operator==(const CPoint& p) const { return m_ptPosition == p; }
    bool operator!=(const CPoint& p) const { return m_ptPosition != p; }
    // Moves the point to p (MoveTo of the empty rectangle at p) when it differs.
    CGeoPoint& operator=(const CPoint& p);
    // CGeoVectorObject::Copy (src, 0, 1).
    CGeoPoint& operator=(const CGeoPoint& src);
    // Move (d) and Move (-d).
    CGeoPoint& operator+=(CPoint d);
    CGeoPoint& operator-=(CPoint d);

    // Hook for drawing a point's elevation; the point draws nothing.
    virtual void DrawElevation(CDC* pDC, POINT p, int n1, int n2, CPoint origin, CPoint offset);

    // ---- overrides ----

    // "矢量点".
    CString GetObjectTypeName() const override;
    // "点 " + the point counter.
    void DefaultObjectName() override;
    // A new CGeoPoint filled by Copy (this, withAttribute, withRecord); NULL (the new point deleted) when
    // the copy fails. The caller owns the result.
    CGeoObject* Duplicate(int withAttribute, int withRecord) override;
    // The vector-object part, then position and direction; 0 (nothing copied) when src is not a point.
    int CopyData(const CGeoVectorObject& src) override;

    // The empty rectangle at the position (the stored bounds are not read).
    CRect GetBounds() const override;
    // The bounds become the empty rectangle at the position.
    void RecalcBounds() override;
    // The root's MoveTo / Move (nothing when the point cannot move), then the position becomes the
    // bounds' top-left corner.
    void MoveTo(CRect rect) override;
    void Move(CSize offset) override;
    // One handle, the position, with the library's handle cursor; dragging it moves the point there.
    int GetHandleCount() const override;
    CPoint GetHandle(int nHandle) const override;
    HCURSOR GetHandleCursor(int nHandle) const override;
    void MoveHandleTo(int nHandle, CPoint point) override;
    // Whatever the mode: whether the rectangle as given (not normalised) holds the position, left and
    // top edges included, right and bottom edges excluded.
    int Intersects(const CRect& rect, SELOBJMODE mode) const override;
    // The position turned about the centre by Ostrel RotatePoint (degrees * pi / 180); the direction
    // does not change.
    void DoRotateCCW(double degrees, CPoint centre) override;
    // The vector-object part, then the position from the old unit to the current one.
    void OnUnitChanged(int nOldUnit) override;
    // The position from the object's unit plus (dx, dy) metres through the transformer (less its second
    // offsets when it is a CBaseCoordinateTransformer) back to the object's unit, truncated toward zero
    // and clamped to the coordinate range, as a polyline maps its points; then the bounds.
    void Transform(CGeoCoordinateTransformer& transformer, double dx, double dy) override;
    // SNAP_ENDPOINT, SNAP_VERTEX and SNAP_NEAREST: with c the centre of the area (halves truncated),
    // the position is the result (1) when |x - c.x| < width / 2 and |y - c.y| < height / 2 (integer
    // halves of the area as given); else 0. Other kinds 0. The index is not set.
    int GetSnapPointA(CPoint& point, CRect rect, int& nIndex, SNAPTYPE type, LONG lParam) override;
    // The style's point symbol.
    int GetObjectSymbolID(GEOVIEW view) const override;
    // D = the bounds in device coordinates. With a style, D grown on every side by
    // trunc(h / cos(a) + 0.5), h = point size * 1.4142 / 2, a = |direction - k - 45| degrees with
    // k = trunc(direction / 90) * 90 (the half-diagonal of the marker turned by the direction); without
    // one by the cross radius. The result is the union of that and D grown by the handle radius when
    // withHandles is set (else D). Device units, clamped to the coordinate range.
    CRect GetDrawBounds(UINT scale, CPoint origin, CPoint offset, int withHandles, const GEOVIEW* pView) const override;

    // Point-and-height contract: every index answers the position; one TIN vertex.
    CPoint GetPoint(int nIndex) const override;
    int GetX(int nIndex) const override;
    int GetY(int nIndex) const override;
    LONG GetTinPointNumber() const override;
    // Fills one vertex (number 0, this point, the squared distance from the position to the reference
    // point), advances the cursor by one record and returns 1.
    LONG CreateTinPoints(CGeoTinPoint*& pCursor, CPoint& reference) override;

    // Painters. Symbolised: the style's point symbol at the device position, turned by the direction
    // (360 for a direction of 0) when the feature class is a directed point class (type bits 0x01 and
    // 0x08), else not turned; no symbol, no library or a library failure draws plainly (scaleWidths 1).
    // Plain: with nWord8 set a cross of the cross radius (solid pen of width 1 in the point colour),
    // otherwise the Caddox marker of the style's point shape, colour and size, turned by the direction.
    // Hiding and blinking draw nothing.
    void OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW& view,
                                 RECT* pClip, int xorMode, int nWord8, void* pSymbolLib, int keepColours) override;
    void OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                    const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                    int scaleWidths) override;
    void OnHideWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, const GEOVIEW& view,
                                 RECT* pClip) override;
    void OnHideWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, const GEOVIEW& view,
                                    RECT* pClip) override;
    void OnBlinkWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, const GEOVIEW& view,
                                  RECT* pClip) override;
    void OnBlinkWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, const GEOVIEW& view,
                                     RECT* pClip) override;
    // The point symbol at the position in millimetres, turned as when drawing, colours kept. 1 when the
    // library output it; 0 when the style has no point symbol, an argument is NULL or the library failed.
    int OnSymbolizeOutput(CSymbolLibIO* pLib, CSymbolOutputer* pOutputer, CCoordsConverter* pConverter,
                          GEOVIEW* pView) override;

    // The process-wide point counter (-1 before the first point).
    static int GetPointCount() { return s_nPointCount; }

protected:
    // The angle a symbol is turned by: the direction (360 for 0) for a directed point class, else 0.
    double GetSymbolAngle() const;
    // Sets the position and the bounds (the empty rectangle at it).
    void SetPosition(POINT p);

    CPoint m_ptPosition;
    double m_dDirection = 0.0;

    static int s_nPointCount;
};
