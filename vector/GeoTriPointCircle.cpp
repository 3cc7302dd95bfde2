#include "vector/GeoTriPointCircle.h"

#include "vector/GeoCircle.h"
#include "vector/GeoEllipse.h"
#include "vector/GeoLineType.h"
#include "vector/ShapePainter.h"
#include "vector/SaturatingMath.h"

#include <caddox/FillShape.h>
#include <ostrel/Contact.h>
#include <ostrel/Measure.h>
#include <ostrel/Snap.h>
#include <quenby/SymbolLibIO.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>

using geomath::ClampLong;
using geomath::TruncLong;

IMPLEMENT_SERIAL(CGeoTriPointCircle, CGeoTriPointArc, 0)

namespace {

const double kPi = 3.14159265358979323846;

template <class T>
T* WithUnitAndFace(T* target, int unit, int face) {
    target->SetUnit(unit);
    target->SetFace(face);
    return target;
}

}  // namespace

// ---- construction ----

CGeoTriPointCircle::CGeoTriPointCircle() = default;

CGeoTriPointCircle::CGeoTriPointCircle(CPoint p1, CPoint p2, CPoint p3) : CGeoTriPointArc(p1, p2, p3) {
    RecalcBounds();
}

CGeoTriPointCircle::CGeoTriPointCircle(const CGeoTriPointCircle& src, int withAttribute, int withRecord)
    : CGeoTriPointArc() {
    Copy(src, withAttribute, withRecord);
}

CGeoTriPointCircle::~CGeoTriPointCircle() = default;

void CGeoTriPointCircle::Serialize(CArchive& ar) {
    CGeoTriPointArc::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_bFace);
    } else {
        LONG face = 0;
        ar >> face;
        m_bFace = face;
    }
}

int CGeoTriPointCircle::SetFace(int bFace) {
    const int old = m_bFace;
    m_bFace = bFace;
    return old;
}

CGeoObject* CGeoTriPointCircle::Duplicate(int withAttribute, int withRecord) {
    CGeoTriPointCircle* copy = new CGeoTriPointCircle;
    if (!copy->Copy(*this, withAttribute, withRecord)) {
        copy->Remove();
        return nullptr;
    }
    return copy;
}

int CGeoTriPointCircle::CopyData(const CGeoVectorObject& src) {
    if (!CGeoTriPointArc::CopyData(src)) return 0;
    if (src.IsKindOf(RUNTIME_CLASS(CGeoTriPointCircle))) m_bFace = static_cast<const CGeoTriPointCircle&>(src).m_bFace;
    return 1;
}

void CGeoTriPointCircle::RecalcBounds() {
    if (ExistACircle())
        m_rcBounds = GetCircleRect(m_pt1, m_pt2, m_pt3);
    else
        RecalcPointBounds();
}

// ---- measures and hit tests ----

double CGeoTriPointCircle::Area() const {
    if (!ExistACircle()) return 0.0;
    const double r = GetRadius();
    return kPi * r * r;
}

double CGeoTriPointCircle::Length() const { return ExistACircle() ? 2.0 * kPi * GetRadius() : 0.0; }

int CGeoTriPointCircle::PointOnLine(POINT point) const {
    const CRect box(ClampLong(static_cast<LONGLONG>(point.x) - 2), ClampLong(static_cast<LONGLONG>(point.y) - 2),
                    ClampLong(static_cast<LONGLONG>(point.x) + 2), ClampLong(static_cast<LONGLONG>(point.y) + 2));
    return Intersects(box, SELOBJ_MEET) ? 0 : -1;
}

int CGeoTriPointCircle::PointOnLine(POINT point, int tolerance) const {
    const CRect b = m_rcBounds;
    const LONGLONG t = tolerance;
    if (point.x < b.left - t || point.y < b.top - t || point.x > b.right + t || point.y > b.bottom + t) return -1;
    const double cx = TruncLong((static_cast<double>(b.left) + b.right) / 2.0);
    const double cy = TruncLong((static_cast<double>(b.top) + b.bottom) / 2.0);
    const double r = (static_cast<double>(b.right) - b.left) / 2.0;
    const double dx = point.x - cx, dy = point.y - cy;
    const double d = dx * dx + dy * dy;
    const double inner = r - tolerance, outer = r + tolerance;
    return (inner * inner < d && d < outer * outer) ? 0 : -1;
}

int CGeoTriPointCircle::LineXLine(const CGeoLine&) const { return 0; }

int CGeoTriPointCircle::Through(const CRect& rect) const { return CircleXRect(m_rcBounds, rect); }

CString CGeoTriPointCircle::GetObjectTypeName() const {
    CString name("三点圆");
    if (m_bFace) name += CString("面");
    return name;
}

int CGeoTriPointCircle::GetObjectSymbolID(GEOVIEW view) const {
    return view.GetSymbol(m_bFace ? SYMBOL_FILL : SYMBOL_LINE);
}

int CGeoTriPointCircle::GetSnapPointA(CPoint& point, CRect rect, int& nIndex, SNAPTYPE type, LONG lParam) {
    const CPoint c = GetCenter();
    const double r = GetRadius();
    switch (type) {
        case SNAP_CENTER: return SnapToCenterPoint(c, r, r, point, rect, lParam) ? 1 : 0;
        case SNAP_NEAREST: return SnapToCircleNearestPoint(c, r, r, point, rect, lParam) ? 1 : 0;
        case SNAP_QUADRANT: {
            std::unique_ptr<POINT[]> quad(new POINT[4]);
            quad[0] = POINT{TruncLong(c.x + r + 0.5), c.y};
            quad[1] = POINT{c.x, TruncLong(c.y + r + 0.5)};
            quad[2] = POINT{TruncLong(c.x - r + 0.5), c.y};
            quad[3] = POINT{c.x, TruncLong(c.y - r + 0.5)};
            return SnapToVertex(quad.get(), 4, point, rect, nIndex, lParam) ? 1 : 0;
        }
        case SNAP_TANGENT: return SnapToCircleTangentPoint(c, r, r, point, rect, lParam) ? 1 : 0;
        default: return 0;
    }
}

// ---- painters ----

void CGeoTriPointCircle::OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                                 const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                                 void* pSymbolLib, int keepColours) {
    const bool circle = ExistACircle() != 0;
    const bool area = circle && m_bFace;
    const int symbol = ChooseSymbol(pSymbolLib, view, area ? SYMBOL_FILL : SYMBOL_LINE);
    LONG result = QUENBY_ERR_ARGUMENT;
    if (symbol != 0) {
        CSymbolPainting painting(*this, m_SymbolAttrib, static_cast<CSymbolLibIO*>(pSymbolLib), symbol, scale,
                                 scale2, keepColours, area ? view.m_crFillColor : view.m_crLineColor);
        if (circle) {
            const CRect device = RPtoLP(scale, origin, offset, m_rcBounds);
            result = painting.DrawRect(pDC, &device, pClip, xorMode);
        } else {
            POINT pts[3];
            const int n = DefinedPoints(pts);
            RPtoLP(scale, origin, offset, pts, pts, n);
            result = painting.DrawPoly(pDC, pts, n, pClip, xorMode);
        }
    }
    if (result != QUENBY_OK)
        OnDrawWithoutSymbolization(pDC, scale, scale2, origin, offset, view, pClip, xorMode, nWord8, 1);
}

void CGeoTriPointCircle::OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                                    const GEOVIEW& view, RECT*, int xorMode, int, int scaleWidths) {
    if (!pDC || !pDC->m_hDC) return;
    CShapePainter painter(pDC);
    painter.SelectPen(PS_SOLID, GetDevicePenWidth(view, scale, scale2, scaleWidths), view.m_crLineColor);
    if (m_bFace)
        painter.SelectFillBrush(GetFillShape(view.m_nFillShape), view.m_crFillColor);
    else
        painter.SelectStockObject(NULL_BRUSH);
    painter.SetXorMode(xorMode);
    if (ExistACircle()) {
        if (view.m_bTransparent && m_bFace) {
            if (!xorMode) painter.SetROP2(R2_MASKPEN);
            painter.SetBkMode(TRANSPARENT);
        } else {
            painter.SetBkMode(OPAQUE);
        }
        const CRect device = RPtoLP(scale, origin, offset, m_rcBounds);
        ::Ellipse(pDC->m_hDC, device.left, device.top, device.right, device.bottom);
    } else {
        POINT pts[3];
        const int n = DefinedPoints(pts);
        RPtoLP(scale, origin, offset, pts, pts, n);
        if (n > 0) {
            ::MoveToEx(pDC->m_hDC, pts[0].x, pts[0].y, nullptr);
            for (int i = 1; i < n; ++i) ::LineTo(pDC->m_hDC, pts[i].x, pts[i].y);
        }
    }
    painter.Restore();
}

int CGeoTriPointCircle::OnSymbolizeOutput(CSymbolLibIO* pLib, CSymbolOutputer* pOutputer,
                                          CCoordsConverter* pConverter, GEOVIEW* pView) {
    if (!pLib || !pOutputer || !pConverter || !pView) return 0;
    const int symbol = pView->GetSymbol(m_bFace ? SYMBOL_FILL : SYMBOL_LINE);
    if (symbol == 0) return 0;
    const CRect mm = GetBoundsInMillimeter();
    CSymbolPainting output(*this, m_SymbolAttrib, pLib, symbol, pConverter);
    return pLib->OutputSymbol(pOutputer, symbol, &static_cast<const RECT&>(mm), nullptr, pConverter,
                              &m_SymbolAttrib) == QUENBY_OK
               ? 1
               : 0;
}

// ---- conversions ----

CGeoLine* CGeoTriPointCircle::ConvertMeTo(WORD code, DWORD flags) const {
    if (!CanConvertTo(code, flags) || !ExistACircle()) return nullptr;
    switch (GetGLTType(code)) {
        case GLT_CIRCLE:
            return WithUnitAndFace(new CGeoCircle(GetCenterOfCircle(m_pt1, m_pt2, m_pt3), m_pt2), GetUnit(), m_bFace);
        case GLT_PLINE:
        case GLT_POLYGONLINE: {
            // Through a temporary radius circle, which carries the face flag to the polygon line.
            std::unique_ptr<CGeoLine> circle(ConvertTo(GLT_TYPE(GLT_CIRCLE, 0), 0));
            if (!circle) return nullptr;
            CGeoLine* line = circle->ConvertTo(GLT_TYPE(GetGLTType(code), 0), 0);
            if (line) line->SetUnit(GetUnit());
            return line;
        }
        case GLT_TRIPOINTARC: {
            CGeoTriPointArc* arc = new CGeoTriPointArc(m_pt1, m_pt2, m_pt3);
            arc->SetUnit(GetUnit());
            return arc;
        }
        case GLT_ELLIPSE: return WithUnitAndFace(new CGeoEllipse(GetBounds()), GetUnit(), m_bFace);
        case GLT_RECTCIRCLE: return WithUnitAndFace(new CGeoRectCircle(GetBounds()), GetUnit(), m_bFace);
        default: return nullptr;
    }
}
