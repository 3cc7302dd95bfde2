#include "vector/GeoTriPointArc.h"

#include "core/GeoHelpers.h"
#include "vector/GeoCircle.h"
#include "vector/GeoLineType.h"
#include "vector/GeoPLine.h"
#include "vector/GeoTriPointCircle.h"
#include "vector/ShapePainter.h"
#include "vector/SaturatingMath.h"

#include <ostrel/Contact.h>
#include <ostrel/Measure.h>
#include <ostrel/Snap.h>
#include <ostrel/Units.h>
#include <pellion/GeoCoordinateTransformer.h>
#include <quenby/SymbolLibIO.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>

using geomath::ClampLong;
using geomath::Offset;
using geomath::ReadPoint;
using geomath::TruncLong;
using geomath::WritePoint;

IMPLEMENT_SERIAL(CGeoTriPointArc, CGeoOpenLine, 0)

namespace {

const double kPi = 3.14159265358979323846;

}  // namespace

// ---- construction ----

CGeoTriPointArc::CGeoTriPointArc() = default;

CGeoTriPointArc::CGeoTriPointArc(CPoint p1, CPoint p2, CPoint p3) : m_pt1(p1), m_pt2(p2), m_pt3(p3) {
    m_nSlotCount = 3;
    Complete(1);
    RecalcBounds();
}

// The copy runs here, not in a base constructor, so that this class's CopyData takes part.
CGeoTriPointArc::CGeoTriPointArc(const CGeoTriPointArc& src, int withAttribute, int withRecord) : CGeoOpenLine() {
    Copy(src, withAttribute, withRecord);
}

CGeoTriPointArc::~CGeoTriPointArc() = default;

void CGeoTriPointArc::Serialize(CArchive& ar) {
    CGeoOpenLine::Serialize(ar);
    if (ar.IsStoring()) {
        WritePoint(ar, m_pt1);
        WritePoint(ar, m_pt2);
        WritePoint(ar, m_pt3);
    } else {
        // An arc never holds more than three points; any other count is a damaged record, and the
        // painters and handle loops must not be driven by it.
        if (m_nSlotCount < 0 || m_nSlotCount > 3) AfxThrowArchiveException(CArchiveException::badIndex);
        ReadPoint(ar, m_pt1);
        ReadPoint(ar, m_pt2);
        ReadPoint(ar, m_pt3);
    }
}

CGeoObject* CGeoTriPointArc::Duplicate(int withAttribute, int withRecord) {
    CGeoTriPointArc* copy = new CGeoTriPointArc;
    if (!copy->Copy(*this, withAttribute, withRecord)) {
        copy->Remove();
        return nullptr;
    }
    return copy;
}

int CGeoTriPointArc::CopyData(const CGeoVectorObject& src) {
    if (!CGeoOpenLine::CopyData(src)) return 0;
    if (src.IsKindOf(RUNTIME_CLASS(CGeoTriPointArc))) {
        const CGeoTriPointArc& arc = static_cast<const CGeoTriPointArc&>(src);
        m_pt1 = arc.m_pt1;
        m_pt2 = arc.m_pt2;
        m_pt3 = arc.m_pt3;
    }
    return 1;
}

// ---- the circle ----

int CGeoTriPointArc::ExistACircle() const {
    if (m_nSlotCount < 3) return 0;
    // Differences of 32-bit coordinates take 33 bits, so their products need more than 64.
    typedef __int128 Wide;
    const Wide a = static_cast<Wide>(static_cast<LONGLONG>(m_pt2.x) - m_pt1.x) *
                   (static_cast<LONGLONG>(m_pt3.y) - m_pt2.y);
    const Wide b = static_cast<Wide>(static_cast<LONGLONG>(m_pt2.y) - m_pt1.y) *
                   (static_cast<LONGLONG>(m_pt3.x) - m_pt2.x);
    return a != b ? 1 : 0;
}

CPoint CGeoTriPointArc::GetCenter() const { return GetCenterOfCircle(m_pt1, m_pt2, m_pt3); }

int CGeoTriPointArc::GetCenter(double& x, double& y) const {
    double cx = 0.0, cy = 0.0;
    if (!GetCenterOfCircle(m_pt1, m_pt2, m_pt3, cx, cy)) return 0;
    x = cx;
    y = cy;
    return 1;
}

double CGeoTriPointArc::GetRadius() const { return ::GetRadius(m_pt1, m_pt2, m_pt3); }

// ---- points and bounds ----

int CGeoTriPointArc::DefinedPoints(POINT pts[3]) const {
    const int n = std::clamp(m_nSlotCount, 0, 3);
    const POINT all[3] = {m_pt1, m_pt2, m_pt3};
    for (int i = 0; i < n; ++i) pts[i] = all[i];
    return n;
}

void CGeoTriPointArc::RecalcPointBounds() {
    if (m_nSlotCount <= 0) return;
    RECT r{m_pt1.x, m_pt1.y, m_pt1.x, m_pt1.y};
    if (m_nSlotCount >= 2) ::RecalcBounds(r, m_pt2);
    if (m_nSlotCount >= 3) ::RecalcBounds(r, m_pt3);
    m_rcBounds = r;
}

void CGeoTriPointArc::RecalcBounds() {
    if (ExistACircle())
        m_rcBounds = GetArcRect(m_pt1, m_pt2, m_pt3, 0);
    else
        RecalcPointBounds();
}

int CGeoTriPointArc::AddPoint(POINT point) {
    if (m_nSlotCount > 2 || m_nSlotCount < 0) return 0;
    ++m_nSlotCount;
    if (m_nSlotCount == 1) {
        m_pt1 = point;
        m_rcBounds.SetRect(point.x, point.y, point.x, point.y);
    } else if (m_nSlotCount == 2) {
        m_pt2 = point;
        RECT r = m_rcBounds;
        ::RecalcBounds(r, point);
        m_rcBounds = r;
    } else {
        m_pt3 = point;
        RecalcBounds();
    }
    return 1;
}

CPoint CGeoTriPointArc::GetPoint(int index) const {
    if (index == 0) return m_pt1;
    if (index == 1) return m_pt2;
    return m_pt3;
}

CPoint CGeoTriPointArc::GetVisiblePoint() const { return m_pt2; }

void CGeoTriPointArc::Invert() {
    if (!ExistACircle()) return;
    std::swap(m_pt1, m_pt3);
    RecalcBounds();
}

// ---- measures and hit tests ----

double CGeoTriPointArc::Length() const {
    if (!ExistACircle()) return 0.0;
    // Radius times sweep in doubles: the integer circle rectangle saturates once the radius leaves the
    // coordinate range, which an ordinary, nearly straight bend already does.
    return TriPointArcLength(m_pt1, m_pt2, m_pt3);
}

int CGeoTriPointArc::PointOnLine(POINT point) const {
    const CRect box(ClampLong(static_cast<LONGLONG>(point.x) - 2), ClampLong(static_cast<LONGLONG>(point.y) - 2),
                    ClampLong(static_cast<LONGLONG>(point.x) + 2), ClampLong(static_cast<LONGLONG>(point.y) + 2));
    return Intersects(box, SELOBJ_MEET) ? 0 : -1;
}

int CGeoTriPointArc::PointOnLine(POINT point, int tolerance) const {
    if (tolerance < 0) return -1;
    if (!ExistACircle()) {
        POINT pts[3];
        const int n = DefinedPoints(pts);
        if (n == 1) return Distance(point, pts[0]) < tolerance ? 0 : -1;
        for (int i = 0; i + 1 < n; ++i)
            if (PointToLine(point, pts[i], pts[i + 1]) < tolerance) return 0;
        return -1;
    }
    double cx = 0.0, cy = 0.0;
    if (!GetCenter(cx, cy)) return -1;
    const double r = GetRadius();
    const double d = std::hypot(static_cast<double>(point.x) - cx, static_cast<double>(point.y) - cy);
    if (!(std::fabs(d - r) < tolerance)) return -1;
    // Inside the sweep: the angle from the arc's counter-clockwise start to the point does not pass its
    // end.
    RECT circle{};
    POINT start{}, end{};
    GetArcPara(m_pt1, m_pt2, m_pt3, circle, start, end, 0);
    const POINT c = RectCenter(circle);
    return CalcAngle(c, start, point, 0) <= CalcAngle(c, start, end, 0) ? 0 : -1;
}

int CGeoTriPointArc::LineXLine(const CGeoLine&) const { return 0; }

int CGeoTriPointArc::Through(const CRect& rect) const { return ArcXRect(m_pt1, m_pt2, m_pt3, rect, 0); }

// ---- editing ----

void CGeoTriPointArc::MovePoint(int index, POINT offset) {
    if (!CanBeEdited()) return;
    CPoint& p = index == 0 ? m_pt1 : index == 1 ? m_pt2 : m_pt3;
    p = Offset(p, offset.x, offset.y);
    RecalcBounds();
}

void CGeoTriPointArc::MovePointTo(int index, POINT position) {
    if (!CanBeEdited()) return;
    (index == 0 ? m_pt1 : index == 1 ? m_pt2 : m_pt3) = position;
    RecalcBounds();
}

void CGeoTriPointArc::Move(CSize offset) {
    if (!CanMove()) return;
    m_pt1 = Offset(m_pt1, offset.cx, offset.cy);
    m_pt2 = Offset(m_pt2, offset.cx, offset.cy);
    m_pt3 = Offset(m_pt3, offset.cx, offset.cy);
    m_rcBounds.SetRect(ClampLong(static_cast<LONGLONG>(m_rcBounds.left) + offset.cx),
                       ClampLong(static_cast<LONGLONG>(m_rcBounds.top) + offset.cy),
                       ClampLong(static_cast<LONGLONG>(m_rcBounds.right) + offset.cx),
                       ClampLong(static_cast<LONGLONG>(m_rcBounds.bottom) + offset.cy));
}

int CGeoTriPointArc::CanDeleteHandle(int) const { return !IsCompleted() && m_nSlotCount == 3 ? 1 : 0; }

void CGeoTriPointArc::DeleteHandle(int nHandle) {
    if (!CanDeleteHandle(nHandle)) return;
    m_nSlotCount = 2;
    m_pt2 = m_pt3;
    RecalcBounds();
}

void CGeoTriPointArc::OnUnitChanged(int nOldUnit) {
    CGeoOpenLine::OnUnitChanged(nOldUnit);
    ::ChangeUnit(nOldUnit, GetUnit(), static_cast<POINT&>(m_pt1), 1.0);
    ::ChangeUnit(nOldUnit, GetUnit(), static_cast<POINT&>(m_pt2), 1.0);
    ::ChangeUnit(nOldUnit, GetUnit(), static_cast<POINT&>(m_pt3), 1.0);
    RecalcBounds();
}

CString CGeoTriPointArc::GetObjectTypeName() const { return CString("三点圆弧"); }

void CGeoTriPointArc::DoRotateCCW(double degrees, CPoint centre) {
    const double radians = degrees * kPi / 180.0;
    m_pt1 = RotatePoint(m_pt1, centre, radians);
    m_pt2 = RotatePoint(m_pt2, centre, radians);
    m_pt3 = RotatePoint(m_pt3, centre, radians);
    RecalcBounds();
}

POINT CGeoTriPointArc::TransformPoint(CGeoCoordinateTransformer& transformer, double x0, double y0, POINT p) const {
    const int unit = GetUnit();
    const double xm = ::ChangeUnit(unit, 6, static_cast<double>(p.x), 1.0) + x0;
    const double ym = ::ChangeUnit(unit, 6, static_cast<double>(p.y), 1.0) + y0;
    double xo = xm, yo = ym;
    transformer.Transform(xm, ym, xo, yo);
    if (transformer.IsKindOf(RUNTIME_CLASS(CBaseCoordinateTransformer))) {
        const CBaseCoordinateTransformer& base = static_cast<const CBaseCoordinateTransformer&>(transformer);
        xo -= base.GetSecondOffsetX();
        yo -= base.GetSecondOffsetY();
    }
    return POINT{TruncLong(::ChangeUnit(6, unit, xo, 1.0)), TruncLong(::ChangeUnit(6, unit, yo, 1.0))};
}

void CGeoTriPointArc::Transform(CGeoCoordinateTransformer& transformer, double x0, double y0) {
    m_pt1 = TransformPoint(transformer, x0, y0, m_pt1);
    m_pt2 = TransformPoint(transformer, x0, y0, m_pt2);
    m_pt3 = TransformPoint(transformer, x0, y0, m_pt3);
    RecalcBounds();
}

int CGeoTriPointArc::GetSnapPointA(CPoint& point, CRect rect, int& nIndex, SNAPTYPE type, LONG lParam) {
    const CPoint c = GetCenter();
    const double r = GetRadius();
    switch (type) {
        case SNAP_CENTER: return SnapToCenterPoint(c, r, r, point, rect, lParam) ? 1 : 0;
        case SNAP_VERTEX: {
            std::unique_ptr<POINT[]> pts(new POINT[3]{m_pt1, m_pt2, m_pt3});
            return SnapToVertex(pts.get(), 3, point, rect, nIndex, lParam) ? 1 : 0;
        }
        case SNAP_NEAREST:
        case SNAP_TANGENT: {
            // The snap is found on the full circle and taken only when the arc itself passes through the
            // box. The tangent is drawn from the caller's point.
            POINT q = point;
            const int snapped = type == SNAP_NEAREST ? SnapToCircleNearestPoint(c, r, r, q, rect, lParam)
                                                     : SnapToCircleTangentPoint(c, r, r, q, rect, lParam);
            if (snapped && ArcXRect(m_pt1, m_pt2, m_pt3, rect, 0)) {
                point = q;
                return 1;
            }
            return 0;
        }
        default: return 0;
    }
}

// ---- painters ----

void CGeoTriPointArc::OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                              const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                              void* pSymbolLib, int keepColours) {
    const int symbol = ChooseSymbol(pSymbolLib, view, SYMBOL_LINE);
    LONG result = QUENBY_ERR_ARGUMENT;
    if (symbol != 0) {
        POINT* points = nullptr;
        int count = 0;
        if (ExistACircle()) {
            ConvertTriPntArcToPLine(m_pt1, m_pt2, m_pt3, points, count, 50, 360);
        } else {
            POINT given[3];
            count = DefinedPoints(given);
            points = new POINT[3];
            std::copy(given, given + count, points);
        }
        std::unique_ptr<POINT[]> owned(points);
        RPtoLP(scale, origin, offset, points, points, count);
        CSymbolPainting painting(*this, m_SymbolAttrib, static_cast<CSymbolLibIO*>(pSymbolLib), symbol, scale,
                                 scale2, keepColours, view.m_crLineColor);
        result = painting.DrawPoly(pDC, points, count, pClip, xorMode);
    }
    if (result != QUENBY_OK)
        OnDrawWithoutSymbolization(pDC, scale, scale2, origin, offset, view, pClip, xorMode, nWord8, 1);
}

void CGeoTriPointArc::OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                                 const GEOVIEW& view, RECT*, int xorMode, int, int scaleWidths) {
    if (!pDC || !pDC->m_hDC) return;
    POINT device[3];
    const int n = DefinedPoints(device);
    RPtoLP(scale, origin, offset, device, device, n);
    CShapePainter painter(pDC);
    painter.SelectPen(PS_SOLID, GetDevicePenWidth(view, scale, scale2, scaleWidths), view.m_crLineColor);
    painter.SelectStockObject(NULL_BRUSH);
    painter.SetXorMode(xorMode);
    if (ExistACircle()) {
        RECT circle{};
        POINT start{}, end{};
        GetArcPara(m_pt1, m_pt2, m_pt3, circle, start, end, 0);
        const CRect box = RPtoLP(scale, origin, offset, circle);
        const CPoint s = RPtoLP(scale, origin, offset, start);
        const CPoint e = RPtoLP(scale, origin, offset, end);
        // Equal device end points would make GDI draw the full circle.
        if (s != e) ::Arc(pDC->m_hDC, box.left, box.top, box.right, box.bottom, s.x, s.y, e.x, e.y);
    } else if (n > 0) {
        ::MoveToEx(pDC->m_hDC, device[0].x, device[0].y, nullptr);
        for (int i = 1; i < n; ++i) ::LineTo(pDC->m_hDC, device[i].x, device[i].y);
    }
    DrawLineEndMarks(pDC, device, n, GetDangleType());
    painter.Restore();
}

int CGeoTriPointArc::OnSymbolizeOutput(CSymbolLibIO* pLib, CSymbolOutputer* pOutputer, CCoordsConverter* pConverter,
                                       GEOVIEW* pView) {
    if (!pLib || !pOutputer || !pConverter || !pView) return 0;
    const int symbol = pView->GetSymbol(SYMBOL_LINE);
    if (symbol == 0) return 0;
    const int unit = GetUnit();
    CSymbolPainting output(*this, m_SymbolAttrib, pLib, symbol, pConverter);
    if (ExistACircle()) {
        POINT p1 = m_pt1, p2 = m_pt2, p3 = m_pt3;
        ::ChangeUnit(unit, 3, p1, 1.0);
        ::ChangeUnit(unit, 3, p2, 1.0);
        ::ChangeUnit(unit, 3, p3, 1.0);
        return pLib->OutputSymbol(pOutputer, symbol, p1, p2, p3, nullptr, pConverter, &m_SymbolAttrib) == QUENBY_OK
                   ? 1
                   : 0;
    }
    POINT pts[3];
    const int n = DefinedPoints(pts);
    for (int i = 0; i < n; ++i) ::ChangeUnit(unit, 3, pts[i], 1.0);
    return output.OutputPoly(pOutputer, pts, n) == QUENBY_OK ? 1 : 0;
}

// ---- conversions ----

CGeoLine* CGeoTriPointArc::ConvertMeTo(WORD code, DWORD flags) const {
    if (!CanConvertTo(code, flags)) return nullptr;
    switch (GetGLTType(code)) {
        case GLT_PLINE: {
            CGeoPLine* line;
            if (m_nSlotCount >= 3 && !ExistACircle()) {
                // Collinear: the broken line through the three points.
                const POINT pts[3] = {GetFirstPoint(), GetPoint(1), GetLastPoint()};
                line = new CGeoPLine(3, pts, 1);
            } else {
                if (!ExistACircle()) return nullptr;
                POINT* points = nullptr;
                int count = 0;
                ConvertTriPntArcToPLine(GetFirstPoint(), GetPoint(1), GetLastPoint(), points, count, 50, 360);
                std::unique_ptr<POINT[]> owned(points);
                line = new CGeoPLine(count, points, 1);
            }
            line->SetUnit(GetUnit());
            return line;
        }
        case GLT_CIRCLE: {
            if (!ExistACircle()) return nullptr;
            CGeoCircle* circle = new CGeoCircle(GetCenterOfCircle(m_pt1, m_pt2, m_pt3), m_pt2);
            circle->SetUnit(GetUnit());
            return circle;
        }
        case GLT_TRIPOINTCIRCLE: {
            if (!ExistACircle()) return nullptr;
            CGeoTriPointCircle* circle = new CGeoTriPointCircle(m_pt1, m_pt2, m_pt3);
            circle->SetUnit(GetUnit());
            return circle;
        }
        default: return nullptr;
    }
}
