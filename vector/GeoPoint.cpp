#include "vector/GeoPoint.h"

#include "core/CoreResources.h"
#include "core/GeoGClass.h"
#include "core/GeoSettings.h"
#include "vector/GeoTinPoint.h"
#include "vector/ShapePainter.h"
#include "vector/SaturatingMath.h"

#include <afx/CursorResource.h>
#include <caddox/DrawPoint.h>
#include <ostrel/Measure.h>
#include <ostrel/Misc.h>
#include <ostrel/Units.h>
#include <pellion/GeoCoordinateTransformer.h>
#include <quenby/SymbolLibIO.h>

#include <algorithm>
#include <climits>
#include <cmath>

using geomath::ClampLong;
using geomath::TruncLong;

IMPLEMENT_SERIAL(CGeoPoint, CGeoVectorObject, 0)

int CGeoPoint::s_nPointCount = -1;

namespace {

const double kPi = 3.14159265358979323846;

// Truncation toward zero into the coordinate range (NaN gives 0).

CRect Inflated(const CRect& r, int64_t d) {
    return CRect(ClampLong(r.left - d), ClampLong(r.top - d), ClampLong(r.right + d), ClampLong(r.bottom + d));
}

CRect Union(const CRect& a, const CRect& b) {
    return CRect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                 std::max(a.bottom, b.bottom));
}

}  // namespace

CGeoPoint::CGeoPoint() : CGeoPoint(0, 0) {}

CGeoPoint::CGeoPoint(POINT p) : CGeoPoint(p.x, p.y) {}

CGeoPoint::CGeoPoint(int x, int y) : CGeoVectorObject(NameLater()) {
    ++s_nPointCount;
    DefaultObjectName();
    SetPosition(POINT{x, y});
}

CGeoPoint::CGeoPoint(const CGeoPoint& src, int copyAttributes, int attributeMode) : CGeoPoint(0, 0) {
    Copy(src, copyAttributes, attributeMode);
}

CGeoPoint::~CGeoPoint() = default;

void CGeoPoint::Serialize(CArchive& ar) {
    CGeoVectorObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_ptPosition.x) << static_cast<LONG>(m_ptPosition.y) << m_dDirection;
    } else {
        LONG x = 0, y = 0;
        double direction = 0.0;
        ar >> x >> y >> direction;
        m_ptPosition = CPoint(x, y);
        m_dDirection = direction;
    }
}

void CGeoPoint::SetPosition(POINT p) {
    m_ptPosition = p;
    m_rcBounds = CRect(p.x, p.y, p.x, p.y);
}

void CGeoPoint::SetDirect(double d) {
    if (!std::isfinite(d)) {
        m_dDirection = 0.0;
    } else if (d >= 0) {
        m_dDirection = d - std::trunc(d / 360.0) * 360.0;
    } else {
        m_dDirection = d + std::trunc(std::fabs(d / 360.0)) * 360.0 + 360.0;
    }
}

CGeoPoint& CGeoPoint::operator=(const CPoint& p) {
    if (m_ptPosition != p) MoveTo(CRect(p, p));
    return *this;
}

CGeoPoint& CGeoPoint::operator=(const CGeoPoint& src) {
    if (&src != this) Copy(src, 0, 1);
    return *this;
}

CGeoPoint& CGeoPoint::operator+=(CPoint d) {
    Move(CSize(d.x, d.y));
    return *this;
}

CGeoPoint& CGeoPoint::operator-=(CPoint d) {
    Move(CSize(-d.x, -d.y));
    return *this;
}

void CGeoPoint::DrawElevation(CDC*, POINT, int, int, CPoint, CPoint) {}

CString CGeoPoint::GetObjectTypeName() const { return CString("矢量点"); }

void CGeoPoint::DefaultObjectName() { SetNumberedName("点 ", s_nPointCount); }

CGeoObject* CGeoPoint::Duplicate(int withAttribute, int withRecord) {
    CGeoPoint* copy = new CGeoPoint;
    if (!copy->Copy(*this, withAttribute, withRecord)) {
        copy->Remove();
        return nullptr;
    }
    return copy;
}

int CGeoPoint::CopyData(const CGeoVectorObject& src) {
    if (!src.IsKindOf(RUNTIME_CLASS(CGeoPoint))) return 0;
    if (!CGeoVectorObject::CopyData(src)) return 0;
    const CGeoPoint& point = static_cast<const CGeoPoint&>(src);
    m_ptPosition = point.m_ptPosition;
    BoundsChanged();  // the bounds are those of the position
    m_dDirection = point.m_dDirection;
    return 1;
}

CRect CGeoPoint::GetBounds() const { return CRect(m_ptPosition, m_ptPosition); }

void CGeoPoint::RecalcBounds() {
    const POINT p = m_ptPosition;
    m_rcBounds = ::RecalcBounds(&p, 1);
}

void CGeoPoint::MoveTo(CRect rect) {
    CGeoVectorObject::MoveTo(rect);
    m_ptPosition = m_rcBounds.TopLeft();
}

void CGeoPoint::Move(CSize offset) {
    CGeoVectorObject::Move(offset);
    m_ptPosition = m_rcBounds.TopLeft();
}

int CGeoPoint::GetHandleCount() const { return 1; }

CPoint CGeoPoint::GetHandle(int) const { return m_ptPosition; }

HCURSOR CGeoPoint::GetHandleCursor(int) const { return AfxLoadCursorResource(IDC_GEO_HANDLE); }

void CGeoPoint::MoveHandleTo(int, CPoint point) { MoveTo(CRect(point, point)); }

int CGeoPoint::Intersects(const CRect& rect, SELOBJMODE) const {
    const CPoint& p = m_ptPosition;
    return p.x >= rect.left && p.x < rect.right && p.y >= rect.top && p.y < rect.bottom ? 1 : 0;
}

void CGeoPoint::DoRotateCCW(double degrees, CPoint centre) {
    m_ptPosition = ::RotatePoint(m_ptPosition, centre, degrees * kPi / 180.0);
    RecalcBounds();
}

void CGeoPoint::OnUnitChanged(int nOldUnit) {
    CGeoVectorObject::OnUnitChanged(nOldUnit);
    POINT p = m_ptPosition;
    ::ChangeUnit(nOldUnit, GetUnit(), p, 1.0);
    m_ptPosition = p;
    BoundsChanged();
}

void CGeoPoint::Transform(CGeoCoordinateTransformer& transformer, double dx, double dy) {
    const int unit = GetUnit();
    const double xm = ::ChangeUnit(unit, 6, static_cast<double>(m_ptPosition.x), 1.0) + dx;
    const double ym = ::ChangeUnit(unit, 6, static_cast<double>(m_ptPosition.y), 1.0) + dy;
    double xo = xm, yo = ym;
    transformer.Transform(xm, ym, xo, yo);
    if (transformer.IsKindOf(RUNTIME_CLASS(CBaseCoordinateTransformer))) {
        const auto& base = static_cast<const CBaseCoordinateTransformer&>(transformer);
        xo -= base.GetSecondOffsetX();
        yo -= base.GetSecondOffsetY();
    }
    SetPosition(POINT{TruncLong(::ChangeUnit(6, unit, xo, 1.0)), TruncLong(::ChangeUnit(6, unit, yo, 1.0))});
}

int CGeoPoint::GetSnapPointA(CPoint& point, CRect rect, int&, SNAPTYPE type, LONG) {
    if (type != SNAP_ENDPOINT && type != SNAP_VERTEX && type != SNAP_NEAREST) return 0;
    const int64_t cx = (static_cast<int64_t>(rect.left) + rect.right) / 2;
    const int64_t cy = (static_cast<int64_t>(rect.top) + rect.bottom) / 2;
    const int64_t halfWidth = (static_cast<int64_t>(rect.right) - rect.left) / 2;
    const int64_t halfHeight = (static_cast<int64_t>(rect.bottom) - rect.top) / 2;
    const int64_t dx = m_ptPosition.x - cx, dy = m_ptPosition.y - cy;
    if ((dx < 0 ? -dx : dx) < halfWidth && (dy < 0 ? -dy : dy) < halfHeight) {
        point = m_ptPosition;
        return 1;
    }
    return 0;
}

int CGeoPoint::GetObjectSymbolID(GEOVIEW view) const { return view.GetSymbol(SYMBOL_POINT); }

CRect CGeoPoint::GetDrawBounds(UINT scale, CPoint origin, CPoint offset, int withHandles,
                               const GEOVIEW* pView) const {
    const CRect d = RPtoLP(scale, origin, offset, GetBounds());
    int64_t grow = GetCrossRadius();
    if (pView) {
        // The marker's half-diagonal as it reaches out along the axes when turned by the direction.
        const double dir = std::isfinite(m_dDirection) ? m_dDirection : 0.0;
        const double k = std::trunc(dir / 90.0) * 90.0;
        const double a = std::fabs(dir - k - 45.0) * kPi / 180.0;
        const double h = pView->m_nPointSize * 1.4142 / 2.0;
        grow = TruncLong(h / std::cos(a) + 0.5);
    }
    const CRect marker = Inflated(d, grow);
    const CRect handles = withHandles ? Inflated(d, GetHandleRadius()) : d;
    return Union(marker, handles);
}

CPoint CGeoPoint::GetPoint(int) const { return m_ptPosition; }

int CGeoPoint::GetX(int) const { return m_ptPosition.x; }

int CGeoPoint::GetY(int) const { return m_ptPosition.y; }

LONG CGeoPoint::GetTinPointNumber() const { return 1; }

LONG CGeoPoint::CreateTinPoints(CGeoTinPoint*& pCursor, CPoint& reference) {
    const double dx = static_cast<double>(m_ptPosition.x) - reference.x;
    const double dy = static_cast<double>(m_ptPosition.y) - reference.y;
    pCursor->SetNumber(0);
    pCursor->SetMainBody(this);
    pCursor->SetDistance(dx * dx + dy * dy);
    ++pCursor;
    return 1;
}

double CGeoPoint::GetSymbolAngle() const {
    CGeoGClass gc;
    if (!GetGClass(gc)) return 0.0;
    const int type = gc.GetType();
    if ((type & GCT_POINT) && (type & GCT_POINT_DIRECTED)) return m_dDirection == 0.0 ? 360.0 : m_dDirection;
    return 0.0;
}

void CGeoPoint::OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                        const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8, void* pSymbolLib,
                                        int keepColours) {
    const int symbol = ChooseSymbol(pSymbolLib, view, SYMBOL_POINT);
    LONG result = QUENBY_ERR_ARGUMENT;
    if (symbol != 0) {
        const CPoint device = RPtoLP(scale, origin, offset, m_ptPosition);
        CSymbolPainting painting(*this, m_SymbolAttrib, static_cast<CSymbolLibIO*>(pSymbolLib), symbol, scale, scale2,
                                 keepColours, view.m_crPointColor);
        result = painting.DrawPoint(pDC, device, GetSymbolAngle(), pClip, xorMode);
    }
    if (result != QUENBY_OK)
        OnDrawWithoutSymbolization(pDC, scale, scale2, origin, offset, view, pClip, xorMode, nWord8, 1);
}

void CGeoPoint::OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT, CPoint origin, CPoint offset,
                                           const GEOVIEW& view, RECT*, int xorMode, int nWord8, int) {
    if (!pDC || !pDC->m_hDC) return;
    const CPoint p = RPtoLP(scale, origin, offset, m_ptPosition);
    if (nWord8) {
        const int64_t r = GetCrossRadius();
        CShapePainter painter(pDC);
        painter.SelectPen(PS_SOLID, 1, view.m_crPointColor);
        ::MoveToEx(pDC->m_hDC, ClampLong(p.x - r), p.y, nullptr);
        ::LineTo(pDC->m_hDC, ClampLong(p.x + r), p.y);
        ::MoveToEx(pDC->m_hDC, p.x, ClampLong(p.y - r), nullptr);
        ::LineTo(pDC->m_hDC, p.x, ClampLong(p.y + r));
        return;
    }
    ::DrawPoint(pDC, p, m_dDirection, view.m_nPointShape, view.m_crPointColor, view.m_nPointSize, xorMode, nullptr, 0);
}

void CGeoPoint::OnHideWithSymbolization(CDC*, UINT, UINT, CPoint, const GEOVIEW&, RECT*) {}

void CGeoPoint::OnHideWithoutSymbolization(CDC*, UINT, UINT, CPoint, const GEOVIEW&, RECT*) {}

void CGeoPoint::OnBlinkWithSymbolization(CDC*, UINT, UINT, CPoint, const GEOVIEW&, RECT*) {}

void CGeoPoint::OnBlinkWithoutSymbolization(CDC*, UINT, UINT, CPoint, const GEOVIEW&, RECT*) {}

int CGeoPoint::OnSymbolizeOutput(CSymbolLibIO* pLib, CSymbolOutputer* pOutputer, CCoordsConverter* pConverter,
                                 GEOVIEW* pView) {
    if (!pLib || !pOutputer || !pConverter || !pView) return 0;
    const int symbol = pView->GetSymbol(SYMBOL_POINT);
    if (symbol == 0) return 0;
    POINT p = m_ptPosition;
    ::ChangeUnit(GetUnit(), 3, p, 1.0);
    // The painting frame prepares the symbol attributes (colours kept) and puts their mask back.
    CSymbolPainting frame(*this, m_SymbolAttrib, pLib, symbol, pConverter);
    const LONG result = pLib->OutputSymbol(pOutputer, symbol, p, GetSymbolAngle(), nullptr, pConverter, &m_SymbolAttrib);
    return result == QUENBY_OK ? 1 : 0;
}
