// CGeoPLine: hit tests, vertex insertion, length, snapping, thinning, joining and transformation.
#include "vector/GeoPLine.h"

#include "core/GeoSettings.h"
#include "vector/CompressPts.h"
#include "vector/SaturatingMath.h"

#include <ostrel/Contact.h>
#include <ostrel/Measure.h>
#include <ostrel/ShapePoints.h>
#include <ostrel/Snap.h>
#include <ostrel/Units.h>
#include <pellion/GeoCoordinateTransformer.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

using geomath::ClampLong;
using geomath::TruncLong;

namespace {

// Truncation toward zero into the coordinate range (NaN gives 0).

// The square of half-side d about p, kept inside the coordinate range.
RECT SquareAbout(POINT p, LONGLONG d) {
    return RECT{ClampLong(p.x - d), ClampLong(p.y - d), ClampLong(p.x + d), ClampLong(p.y + d)};
}

// p inside the normalised rectangle r grown by d on every side (edges included).
bool InGrownRect(POINT p, const CRect& r, LONGLONG d) {
    return p.x >= r.left - d && p.x <= r.right + d && p.y >= r.top - d && p.y <= r.bottom + d;
}

// On one axis, the offset v of the foot from a is no longer than the offset d of b from a, and the
// product d * v is not negative (v on b's side of a). The sign test stands for the product, which can
// exceed 64 bits.
bool WithinOnAxis(LONGLONG d, LONGLONG v) {
    return std::llabs(v) <= std::llabs(d) && (d == 0 || v == 0 || (d > 0) == (v > 0));
}

// The foot v of the perpendicular lies within the segment a-b.
bool FootWithinSegment(POINT a, POINT b, POINT v) {
    return WithinOnAxis(static_cast<LONGLONG>(b.x) - a.x, static_cast<LONGLONG>(v.x) - a.x) &&
           WithinOnAxis(static_cast<LONGLONG>(b.y) - a.y, static_cast<LONGLONG>(v.y) - a.y);
}

}  // namespace

// ---- hit tests ----

int CGeoPLine::PointOnLine(POINT point) const {
    if (m_nSlotCount <= 0) return -1;
    // The bounds are widened by the reach of the test square: a point just off a horizontal or vertical
    // line lies outside its flat bounds and must still hit it.
    CRect bounds = GetBounds();
    bounds.NormalizeRect();
    if (!InGrownRect(point, bounds, 2)) return -1;
    if (m_nSlotCount == 1) return PointEqual(point, m_pPoints[0]) ? 0 : -1;
    const RECT r = SquareAbout(point, 2);
    const int s = std::max(GetPointSize(0), 1);
    for (int i = 0; i + 1 < m_nSlotCount; ++i)
        if (LineXRect(m_pPoints[i], m_pPoints[i + 1], r)) return i / s;
    return -1;
}

int CGeoPLine::PointOnLine(POINT point, int tolerance) const {
    if (m_nSlotCount <= 0) return -1;
    CRect bounds = GetBounds();
    bounds.NormalizeRect();
    if (!InGrownRect(point, bounds, tolerance)) return -1;
    if (m_nSlotCount == 1) return Distance(point, m_pPoints[0]) < tolerance ? 0 : -1;
    const int s = std::max(GetPointSize(0), 1);
    for (int i = 0; i + 1 < m_nSlotCount; ++i)
        if (PointToLine(point, m_pPoints[i], m_pPoints[i + 1]) < tolerance) return i / s;
    return -1;
}

int CGeoPLine::Through(const CRect& rect) const {
    if (m_nSlotCount <= 0) return 0;
    if (m_nSlotCount == 1) return rect.PtInRect(m_pPoints[0]) ? 1 : 0;
    for (int i = 0; i + 1 < m_nSlotCount; ++i)
        if (LineXRect(m_pPoints[i], m_pPoints[i + 1], rect)) return 1;
    return 0;
}

// ---- vertex insertion, length, snapping, thinning ----

int CGeoPLine::InsertPoint(POINT p, UINT scale) {
    const double t = ::LPtoRP(scale, GetUnit(), static_cast<double>(GetHandleRadius()), 1.0);
    // A click on an existing vertex picks the vertex; it adds none.
    for (int h = GetHandleCount(); h >= 1; --h) {
        const CPoint v = GetHandle(h);
        const CRect box(TruncLong(v.x - t), TruncLong(v.y - t), TruncLong(v.x + t), TruncLong(v.y + t));
        if (box.PtInRect(p)) return 0;
    }
    const int s = std::max(GetPointSize(0), 1);
    for (int i = 0; i + 1 < m_nSlotCount; ++i) {
        const POINT a = m_pPoints[i];
        const POINT b = m_pPoints[i + 1];
        const SIZE dir{ClampLong(static_cast<LONGLONG>(b.x) - a.x), ClampLong(static_cast<LONGLONG>(b.y) - a.y)};
        const POINT v = VtPoint(a, p, dir);
        if (!FootWithinSegment(a, b, v)) continue;
        if (PointToLine(p, a, b) <= t) return InsertPointAfter(v, i / s);
    }
    return 0;
}

double CGeoPLine::Length() const {
    if (m_nSlotCount < 2) return 0.0;
    return PolyLineLength(m_pPoints, m_nSlotCount, 0);
}

int CGeoPLine::GetSnapPointA(CPoint& point, CRect rect, int& nIndex, SNAPTYPE type, LONG lParam) {
    switch (type) {
        case SNAP_ENDPOINT: return SnapToEndPoint(m_pPoints, m_nSlotCount, point, rect, lParam) ? 1 : 0;
        case SNAP_VERTEX: return SnapToVertex(m_pPoints, m_nSlotCount, point, rect, nIndex, lParam) ? 1 : 0;
        case SNAP_MIDPOINT: return SnapToMidPoint(m_pPoints, m_nSlotCount, point, rect, nIndex, lParam) ? 1 : 0;
        case SNAP_PERPENDICULAR: return SnapToPerPoint(m_pPoints, m_nSlotCount, point, rect, nIndex, lParam) ? 1 : 0;
        case SNAP_NEAREST: return SnapToNearestPoint(m_pPoints, m_nSlotCount, point, rect, nIndex, lParam) ? 1 : 0;
        default: return 0;
    }
}

int CGeoPLine::Compress(CCompressPts& thinner) {
    if (m_nSlotCount < 3) return 0;
    int n = m_nSlotCount;
    const int result = thinner.Compress(m_pPoints, &n, 0);
    m_nSlotCount = std::clamp(n, 0, m_nSlotCount);
    OnLineChanged();
    RecalcBounds();
    return result;
}

// ---- joining ----

namespace {

// The other line's logical points, copied so that joining a line to itself reads what it held before.
std::vector<POINT> LogicalPoints(const CGeoPLine& line) {
    std::vector<POINT> pts(static_cast<std::size_t>(line.GetPoints()));
    for (std::size_t i = 0; i < pts.size(); ++i) pts[i] = line.GetPoint(static_cast<int>(i));
    return pts;
}

}  // namespace

int CGeoPLine::AddTail(CGeoPLine& other, BOOL orient) {
    if (!IsSameType(other) || !CanBeEdited() || !CanAddLine(other)) return 0;
    if (other.GetPoints() == 0) return 1;
    if (LineXLine(other)) return 0;

    const CPoint e = GetLastPoint();
    CPoint s2, e2;
    other.GetStartAndEndPoint(s2, e2);
    if (orient && Distance(e, e2) < Distance(e, s2)) other.Invert();

    std::vector<POINT> pts = LogicalPoints(other);
    std::size_t first = 0;
    if (m_nSlotCount > 0 && !pts.empty() && EqualPoint(m_pPoints[m_nSlotCount - 1], pts[0])) first = 1;
    const LONGLONG n = static_cast<LONGLONG>(pts.size() - first);
    const LONGLONG P = GetPoints();
    const LONGLONG s = std::max(GetPointSize(0), 1);
    if (P + n == 0) return 1;
    // The block must hold every slot the join writes at this line's stride, which for a stride above 1
    // is more than the two slot counts together.
    const LONGLONG slots = (P + n - 1) * s + 1;
    const LONGLONG bytes = std::max(LineMemSize(m_nSlotCount) + LineMemSize(other.m_nSlotCount), LineMemSize(slots));
    if (bytes > INT_MAX) return 0;
    if (m_nCapacity < bytes && !AppendLineMem(static_cast<int>(bytes))) return 0;

    for (LONGLONG k = 0; k < n; ++k) {
        const LONGLONG at = (P + k) * s;
        m_pPoints[at] = pts[first + k];
        // The slots between logical points get a defined value until OnLineChanged derives them.
        if (at >= s)
            for (LONGLONG j = at - s + 1; j < at; ++j) m_pPoints[j] = m_pPoints[at - s];
    }
    m_nSlotCount = static_cast<int>(slots);
    OnLineChanged();
    RecalcBounds();
    return 1;
}

int CGeoPLine::AddHead(CGeoPLine& other, BOOL orient) {
    if (!IsSameType(other) || !CanBeEdited() || !CanAddLine(other)) return 0;
    if (other.GetPoints() == 0) return 1;
    if (LineXLine(other)) return 0;

    const CPoint f = GetFirstPoint();
    CPoint s2, e2;
    other.GetStartAndEndPoint(s2, e2);
    if (orient && Distance(f, s2) < Distance(f, e2)) other.Invert();

    std::vector<POINT> pts = LogicalPoints(other);
    if (m_nSlotCount > 0 && !pts.empty() && EqualPoint(m_pPoints[0], pts.back())) pts.pop_back();
    const LONGLONG n = static_cast<LONGLONG>(pts.size());
    const LONGLONG P = GetPoints();
    const LONGLONG s = std::max(GetPointSize(0), 1);
    if (P + n == 0) return 1;
    const LONGLONG slots = (P + n - 1) * s + 1;
    const LONGLONG bytes = std::max(LineMemSize(m_nSlotCount) + LineMemSize(other.m_nSlotCount), LineMemSize(slots));
    if (bytes > INT_MAX) return 0;
    if (m_nCapacity < bytes && !AppendLineMem(static_cast<int>(bytes))) return 0;

    if (m_nSlotCount > 0)
        std::memmove(m_pPoints + n * s, m_pPoints, static_cast<std::size_t>(m_nSlotCount) * sizeof(POINT));
    for (LONGLONG k = 0; k < n; ++k) {
        const POINT p = pts[static_cast<std::size_t>(k)];
        m_pPoints[k * s] = p;
        // The slots up to the next logical point get a defined value until OnLineChanged derives them.
        for (LONGLONG j = k * s + 1; j < (k + 1) * s && j < slots; ++j) m_pPoints[j] = p;
    }
    m_nSlotCount = static_cast<int>(slots);
    OnLineChanged();
    RecalcBounds();
    return 1;
}

int CGeoPLine::AddLine(CGeoPLine& other) {
    if (!IsSameType(other) || !CanBeEdited() || !CanAddLine(other)) return 0;
    CPoint s1, e1, s2, e2;
    if (!GetStartAndEndPoint(s1, e1) || !other.GetStartAndEndPoint(s2, e2)) return 0;

    const double d[4] = {SqrtDist(s1, s2), SqrtDist(s1, e2), SqrtDist(e1, s2), SqrtDist(e1, e2)};
    int nearest = 0;
    for (int i = 1; i < 4; ++i)
        if (d[i] < d[nearest]) nearest = i;

    switch (nearest) {
        case 0:
            Invert();
            return AddTail(other, FALSE);
        case 1: return AddHead(other, FALSE);
        case 2: return AddTail(other, FALSE);
        default: {
            CGeoObject* pCopy = other.Duplicate(0, 1);
            if (!pCopy) return 0;
            if (!pCopy->IsKindOf(RUNTIME_CLASS(CGeoPLine))) {
                pCopy->Remove();
                return 0;
            }
            CGeoPLine* pLine = static_cast<CGeoPLine*>(pCopy);
            pLine->Invert();
            const int result = AddTail(*pLine, FALSE);
            pLine->Remove();
            return result;
        }
    }
}

// ---- coordinate transformation ----

void CGeoPLine::Transform(CGeoCoordinateTransformer& transformer, double dx, double dy) {
    const int unit = GetUnit();
    const CBaseCoordinateTransformer* pBase =
        transformer.IsKindOf(RUNTIME_CLASS(CBaseCoordinateTransformer))
            ? static_cast<const CBaseCoordinateTransformer*>(&transformer)
            : nullptr;
    for (int i = 0; i < m_nSlotCount; ++i) {
        POINT& p = m_pPoints[i];
        const double xm = ::ChangeUnit(unit, 6, static_cast<double>(p.x), 1.0) + dx;
        const double ym = ::ChangeUnit(unit, 6, static_cast<double>(p.y), 1.0) + dy;
        double xo = xm, yo = ym;
        transformer.Transform(xm, ym, xo, yo);
        if (pBase) {
            xo -= pBase->GetSecondOffsetX();
            yo -= pBase->GetSecondOffsetY();
        }
        p.x = TruncLong(::ChangeUnit(6, unit, xo, 1.0));
        p.y = TruncLong(::ChangeUnit(6, unit, yo, 1.0));
    }
    OnLineChanged();
    RecalcBounds();
}
