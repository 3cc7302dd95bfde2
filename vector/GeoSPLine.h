// CGeoSPLine: the spline, a smooth curve through digitised control points.
//
// Between every two control points it keeps k interpolated points computed by the planar-geometry
// spline routine (AdjustSpline), so every polyline operation that draws, measures or hit-tests over the
// slots handles the curve unchanged. Slot layout (the polyline's with stride k + 1): control point i at
// slot i * (k + 1), the k slots after it hold the curve towards the next one; slot count =
// (points - 1) * (k + 1) + 1. Only the control points are the shape's own data: they are what is edited,
// saved and handed out as points and handles; the interpolated slots are rebuilt after every change.
//
// k = 0 given to a constructor or to SetSplineIntpPoints means the global default (GetSplineIntpPts,
// 7 unless changed); so does a negative k.
//
// Record: k as a 32-bit word FIRST, before the whole polyline chain (so before the root object's
// fields), then the polyline record, which holds only the control points. A loaded k below 1 or above
// kMaxStoredIntp, or a slot count that does not fit the layout of k, raises CArchiveException;
// whatever fails in a load leaves the spline with its former k and no points.
#pragma once

#include "vector/GeoPLine.h"

class CGeoSPLine : public CGeoPLine {
    DECLARE_SERIAL(CGeoSPLine)

public:
    // The largest k a record may hold (interpolated points per segment).
    static const int kMaxStoredIntp = 4096;

    // Empty spline (the polyline's 50 slots).
    explicit CGeoSPLine(int k = 0);
    // Empty, with a block of (n - 1) * (k + 1) + 1 slots.
    CGeoSPLine(int n, int k);
    // First control point p.
    CGeoSPLine(CPoint p, int k);
    // First control point p, a block of (n - 1) * (k + 1) + 1 slots.
    CGeoSPLine(int n, CPoint p, int k);
    // A copy through Copy(src, copyAttributes, attributeMode).
    CGeoSPLine(const CGeoSPLine& src, int copyAttributes, int attributeMode);
    // The (n - 1) * (k + 1) + 1 slots of the array as they stand (control and interpolated points), in a
    // block rounded up to the next 50 slots; completed.
    CGeoSPLine(int n, int k, const POINT* slots);
    ~CGeoSPLine() override;

    void Serialize(CArchive& ar) override;

    // k: interpolated points between two control points.
    int GetSplineIntpPoints() const { return m_nK; }
    // Changes k in place (0 or below: the global default), moving the control points to their new slots
    // and rebuilding the curve. 0 when the object may not be edited, k is unchanged or the block cannot
    // grow (nothing changed then); else 1.
    int SetSplineIntpPoints(int k);

    // ---- overrides ----

    // k + 1 for every point.
    int GetPointSize(int i) const override;
    // Rebuilds the interpolated slots from the control points.
    void OnLineChanged() override;
    // Drops the point just added when it equals the previous control point: a spline never holds two
    // equal consecutive control points from digitising.
    void OnAddPoint() override;
    // 0: a control point moved onto a neighbour is shifted by (+5, +5).
    int CanSamePoint(int i, int side) const override;
    // The bounds of every slot (the curve may bulge beyond the new point).
    void RecalcBounds(POINT p) override;
    using CGeoPLine::RecalcBounds;
    // 1 when editable, 0 < h <= GetPoints() and the spline keeps at least two control points afterwards.
    int CanDeleteHandle(int nHandle) const override;
    // 0: a spline is not thinned.
    int Compress(CCompressPts& thinner) override;
    // SNAP_VERTEX: the first control point inside the area (strictly, about its centre), the index not
    // set; SNAP_ENDPOINT and SNAP_NEAREST: the polyline's over all slots; every other kind 0.
    int GetSnapPointA(CPoint& point, CRect rect, int& nIndex, SNAPTYPE type, LONG lParam) override;
    // The polyline part and k; 0 (nothing copied) when the source is no spline.
    int CopyData(const CGeoVectorObject& src) override;
    // A new spline of the default k filled by Copy; NULL when the copy fails. The caller owns it.
    CGeoObject* Duplicate(int withAttribute, int withRecord) override;
    // "样条曲线".
    CString GetObjectTypeName() const override;

    // Conversions (accepted: polyline, polygon line). The flags decide what happens to the interpolated
    // points: 0 keep them (every slot becomes a vertex), 1 drop them (the control points only), any other
    // value asks the user ("保留样条插值点吗?", Yes keeps, No drops, Cancel gives NULL). The new object
    // takes this spline's unit and is completed; a polygon line gets face flag 0 and the points as they
    // are (a last point equal to the first stays).
    CGeoLine* ConvertMeTo(WORD code, DWORD flags) const override;

    // The painters, hide and blink hooks are the polyline's, over all slots.

private:
    // The k a constructor or setter means: the global default for k <= 0.
    static int ResolveK(int k);
    // (n - 1) * (k + 1) + 1 slots for n points (0 for n <= 0), capped to the int range.
    static int SlotsFor(int n, int k);

    int m_nK;
};
