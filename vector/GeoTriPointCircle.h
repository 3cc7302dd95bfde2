// CGeoTriPointCircle: the whole circle through three points. It keeps the three-point arc's points,
// circle test, editing, handles and record, and adds a face flag of its own (it is no closed line, so
// the flag is a member of this class): non-zero, the circle is an area drawn with the fill style and
// fill symbol; 0, an outline drawn with the line style and line symbol.
//
// Bounds: with a circle, the square around the full circle; without one (fewer than three points, or
// collinear ones), the box of the points given. The face flag stays as set whether or not the points
// define a circle, but it counts in drawing only while they do: without a circle the shape draws as
// the broken line through its points, with the line symbol. Without a circle Area and Length are 0.0
// and every conversion returns NULL.
//
// Record (after the three-point arc's record, GeoTriPointArc.h):
//   face flag  32 bits
#pragma once

#include "vector/GeoTriPointArc.h"

class CGeoTriPointCircle : public CGeoTriPointArc {
    DECLARE_SERIAL(CGeoTriPointCircle)

public:
    // Slot count 0, face flag 0.
    CGeoTriPointCircle();
    // The three points: slot count 3, completed, face flag 0, bounds the square around the circle.
    CGeoTriPointCircle(CPoint p1, CPoint p2, CPoint p3);
    // A copy made by CGeoVectorObject::Copy (src, withAttribute, withRecord).
    CGeoTriPointCircle(const CGeoTriPointCircle& src, int withAttribute = 0, int withRecord = 1);
    ~CGeoTriPointCircle() override;

    void Serialize(CArchive& ar) override;

    int IsFace() const { return m_bFace; }
    // Stores the flag; returns the previous value.
    int SetFace(int bFace);
    // pi r^2 with a circle, face or not; 0.0 without one.
    virtual double Area() const;

    // ---- overrides ----

    CGeoObject* Duplicate(int withAttribute, int withRecord) override;
    // The arc's data, then the face flag when the source is a three-point circle.
    int CopyData(const CGeoVectorObject& src) override;
    // See the top of this file.
    void RecalcBounds() override;
    // 0 when the square of 2 units about the point meets the circle (Intersects), else -1.
    int PointOnLine(POINT point) const override;
    // On the stored bounds b: -1 outside b widened by the tolerance; otherwise, with the centre and
    // radius of b, 0 when the point lies strictly between the circles of radius r - t and r + t, else -1.
    int PointOnLine(POINT point, int tolerance) const override;
    int LineXLine(const CGeoLine& other) const override;
    // 2 pi r with a circle; 0.0 without one.
    double Length() const override;
    // Conversions (accepted: polyline, polygon line, radius circle, three-point arc, ellipse, square
    // circle), all NULL without a circle. The radius circle has the centre and p2 as its rim point; the
    // polyline and the polygon line go through it (at most 50 points, the polyline repeating its
    // first); the arc takes the same three points; the ellipse and the square circle take the bounds.
    // Face flags travel to targets that have one, the unit to all.
    CGeoLine* ConvertMeTo(WORD code, DWORD flags) const override;
    // Whether the circle's outline meets the rectangle (the circle inscribed in the bounds).
    int Through(const CRect& rect) const override;
    // "三点圆", followed by "面" for a face.
    CString GetObjectTypeName() const override;
    // SNAP_CENTER, SNAP_NEAREST, SNAP_QUADRANT (the points at 0, 90, 180 and 270 degrees) and
    // SNAP_TANGENT on the full circle; every other kind, the vertex kind included, 0.
    int GetSnapPointA(CPoint& point, CRect rect, int& nIndex, SNAPTYPE type, LONG lParam) override;
    // The style's fill symbol for a face, else its line symbol.
    int GetObjectSymbolID(GEOVIEW view) const override;

    // With a circle: the fill symbol (face) or the line symbol through the rectangle form of the library
    // on the device rectangle of the bounds; without one, the line symbol along the points given. No
    // library, no symbol or a failing library: the plain painter (scaleWidths 1).
    void OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                 const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8, void* pSymbolLib,
                                 int keepColours) override;
    // With a circle: GDI Ellipse on the device rectangle of the bounds, a solid pen, the fill brush for a
    // face (null brush otherwise), R2_MASKPEN and TRANSPARENT mode for a transparent face. Without one:
    // the broken line through the points given, with no end marks.
    void OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                    const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                    int scaleWidths) override;
    // The fill symbol (face) or line symbol over the bounds in millimetres (rectangle form), colours
    // kept. 1 done; 0 when the library failed, the symbol is 0 or an argument is NULL.
    int OnSymbolizeOutput(CSymbolLibIO* pLib, CSymbolOutputer* pOutputer, CCoordsConverter* pConverter,
                          GEOVIEW* pView) override;

protected:
    int m_bFace = 0;
};
