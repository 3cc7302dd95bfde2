#include "vector/GeoEllipse.h"

#include "vector/GeoCircle.h"
#include "vector/GeoLineType.h"
#include "vector/GeoPolygonLine.h"
#include "vector/GeoRoundRect.h"
#include "vector/GeoTriPointCircle.h"
#include "vector/ShapePainter.h"
#include "vector/SaturatingMath.h"

#include <ostrel/Contact.h>
#include <ostrel/Snap.h>
#include <quenby/SymbolLibIO.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <memory>

using geomath::ClampLong;
using geomath::TruncLong;

IMPLEMENT_SERIAL(CGeoEllipse, CGeoRect, 0)
IMPLEMENT_SERIAL(CGeoRectCircle, CGeoEllipse, 0)

namespace {

const double kPi = 3.14159265358979323846;

// The centre of normalised bounds: the half sums truncated toward zero.
CPoint CentreOf(const CRect& b) {
    return CPoint(TruncLong((static_cast<double>(b.left) + b.right) / 2.0),
                  TruncLong((static_cast<double>(b.top) + b.bottom) / 2.0));
}

LONGLONG Width(const CRect& b) { return static_cast<LONGLONG>(b.right) - b.left; }
LONGLONG Height(const CRect& b) { return static_cast<LONGLONG>(b.bottom) - b.top; }

bool OutsideWidened(const CRect& b, POINT p, LONGLONG t) {
    return p.x < b.left - t || p.y < b.top - t || p.x > b.right + t || p.y > b.bottom + t;
}

RECT BoxAbout(POINT p) {
    return RECT{ClampLong(static_cast<LONGLONG>(p.x) - 2), ClampLong(static_cast<LONGLONG>(p.y) - 2),
                ClampLong(static_cast<LONGLONG>(p.x) + 2), ClampLong(static_cast<LONGLONG>(p.y) + 2)};
}

template <class T>
T* WithUnitAndFace(T* target, int unit, int face) {
    target->SetUnit(unit);
    target->SetFace(face);
    return target;
}

}  // namespace

// ---- ellipse ----

CGeoEllipse::CGeoEllipse() = default;

CGeoEllipse::CGeoEllipse(CPoint p) : CGeoRect(p) {}

CGeoEllipse::CGeoEllipse(const CRect& r) : CGeoRect(r) {}

CGeoEllipse::CGeoEllipse(const CGeoEllipse& src, int withAttribute, int withRecord) : CGeoRect() {
    Copy(src, withAttribute, withRecord);
}

CGeoEllipse::~CGeoEllipse() = default;

void CGeoEllipse::Serialize(CArchive& ar) { CGeoRect::Serialize(ar); }

CGeoObject* CGeoEllipse::Duplicate(int withAttribute, int withRecord) {
    CGeoEllipse* copy = new CGeoEllipse;
    if (!copy->Copy(*this, withAttribute, withRecord)) {
        copy->Remove();
        return nullptr;
    }
    return copy;
}

int CGeoEllipse::CopyData(const CGeoVectorObject& src) { return CGeoRect::CopyData(src); }

double CGeoEllipse::Area() const {
    const double w = static_cast<double>(Width(m_rcBounds)), h = static_cast<double>(Height(m_rcBounds));
    return std::fabs((w / 2.0) * kPi * (h / 2.0));
}

double CGeoEllipse::Length() const {
    const double w = static_cast<double>(Width(m_rcBounds)), h = static_cast<double>(Height(m_rcBounds));
    return std::fabs((std::fabs(w) + std::fabs(h)) * kPi / 2.0);
}

int CGeoEllipse::PointOnLine(POINT point) const {
    return Intersects(CRect(BoxAbout(point)), SELOBJ_MEET) ? 0 : -1;
}

int CGeoEllipse::PointOnLine(POINT point, int tolerance) const {
    const CRect b = GetBounds();
    if (OutsideWidened(b, point, tolerance)) return -1;
    const CPoint c = CentreOf(b);
    const double dx = static_cast<double>(point.x) - c.x, dy = static_cast<double>(point.y) - c.y;
    const double dx2 = dx * dx, dy2 = dy * dy;
    const double a = Width(b) / 2.0, bb = Height(b) / 2.0, t = tolerance;
    const double outer = dx2 / ((a + t) * (a + t)) + dy2 / ((bb + t) * (bb + t));
    const double inner = dx2 / ((a - t) * (a - t)) + dy2 / ((bb - t) * (bb - t));
    return (outer < 1.0 && inner > 1.0) ? 0 : -1;
}

int CGeoEllipse::LineXLine(const CGeoLine&) const { return 0; }

int CGeoEllipse::Through(const CRect& rect) const { return EllipseXRect(GetBounds(), rect); }

CString CGeoEllipse::GetObjectTypeName() const {
    CString name("椭圆");
    if (m_bFace) name += CString("面");
    return name;
}

void CGeoEllipse::DoRotateCCW(double degrees, CPoint centre) { CGeoRect::DoRotateCCW(degrees, centre); }

void CGeoEllipse::Transform(CGeoCoordinateTransformer& transformer, double x0, double y0) {
    CGeoRect::Transform(transformer, x0, y0);
}

int CGeoEllipse::GetSnapPointA(CPoint& point, CRect rect, int& nIndex, SNAPTYPE type, LONG lParam) {
    const CRect b = GetBounds();
    const CPoint c = CentreOf(b);
    const double rx = static_cast<double>(Width(b) / 2), ry = static_cast<double>(Height(b) / 2);
    switch (type) {
        case SNAP_CENTER: return SnapToCenterPoint(c, rx, ry, point, rect, lParam) ? 1 : 0;
        case SNAP_NEAREST: return SnapToCircleNearestPoint(c, rx, ry, point, rect, lParam) ? 1 : 0;
        case SNAP_QUADRANT: {
            std::unique_ptr<POINT[]> quad(new POINT[4]);
            quad[0] = POINT{TruncLong(c.x + rx + 0.5), c.y};
            quad[1] = POINT{c.x, TruncLong(c.y + ry + 0.5)};
            quad[2] = POINT{TruncLong(c.x - rx + 0.5), c.y};
            quad[3] = POINT{c.x, TruncLong(c.y - ry + 0.5)};
            return SnapToQuadrant(quad.get(), 4, c, rx, ry, point, rect, 0) ? 1 : 0;
        }
        case SNAP_TANGENT: return SnapToCircleTangentPoint(c, rx, ry, point, rect, lParam) ? 1 : 0;
        default: (void)nIndex; return 0;
    }
}

void CGeoEllipse::OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                          const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                          void* pSymbolLib, int keepColours) {
    PaintBoundsEllipseWithSymbol(pDC, scale, scale2, origin, offset, view, pClip, xorMode, nWord8, pSymbolLib,
                                 keepColours);
}

void CGeoEllipse::OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                             const GEOVIEW& view, RECT*, int xorMode, int, int scaleWidths) {
    PaintBoundsEllipse(pDC, scale, scale2, origin, offset, view, xorMode, scaleWidths);
}

int CGeoEllipse::OnSymbolizeOutput(CSymbolLibIO* pLib, CSymbolOutputer* pOutputer, CCoordsConverter* pConverter,
                                   GEOVIEW* pView) {
    return OutputRectSymbol(pLib, pOutputer, pConverter, pView, GetBoundsInMillimeter());
}

CGeoLine* CGeoEllipse::ConvertMeTo(WORD code, DWORD flags) const {
    if (!CanConvertTo(code, flags)) return nullptr;
    const CRect b = GetBounds();
    const CPoint c = CentreOf(b);
    switch (GetGLTType(code)) {
        case GLT_PLINE:
        case GLT_POLYGONLINE: {
            const double a = Width(b) / 2.0, bb = Height(b) / 2.0;
            double step = 2.8 * std::sqrt(10.0 / a);
            int n;
            if (step >= kPi / 3.0) {
                n = 6;
                step = kPi / 3.0;
            } else {
                n = static_cast<int>(2.0 * kPi / step);  // about 0.71 sqrt(a): at most some 33 000
            }
            CGeoPLine* line = GetGLTType(code) == GLT_PLINE ? new CGeoPLine(n + 1) : new CGeoPolygonLine(n);
            for (int i = 0; i < n; ++i)
                line->AddPoint(POINT{ClampLong(c.x + static_cast<LONGLONG>(TruncLong(a * std::cos(i * step)))),
                                     ClampLong(c.y + static_cast<LONGLONG>(TruncLong(bb * std::sin(i * step))))});
            line->SetUnit(GetUnit());
            if (GetGLTType(code) == GLT_PLINE)
                line->AddPoint(POINT{ClampLong(c.x + static_cast<LONGLONG>(TruncLong(a))), c.y});
            else
                static_cast<CGeoPolygonLine*>(line)->SetFace(m_bFace);
            return line;
        }
        case GLT_CIRCLE:
        case GLT_TRIPOINTCIRCLE: {
            // The largest square centred in the bounds.
            CRect s = b;
            const LONGLONG w = Width(b), h = Height(b);
            if (w > h) {
                s.left = ClampLong(c.x - h / 2);
                s.right = ClampLong(s.left + h);
            } else if (h > w) {
                s.top = ClampLong(c.y - w / 2);
                s.bottom = ClampLong(s.top + w);
            }
            const CPoint m = CentreOf(s);
            const LONGLONG k = Width(s) / 2;
            if (GetGLTType(code) == GLT_TRIPOINTCIRCLE)
                return WithUnitAndFace(new CGeoTriPointCircle(CPoint(m.x, ClampLong(m.y - k)),
                                                              CPoint(ClampLong(m.x + k), m.y),
                                                              CPoint(m.x, ClampLong(m.y + k))),
                                       GetUnit(), m_bFace);
            const CPoint rim(m.x, ClampLong(m.y - k));
            return WithUnitAndFace(new CGeoCircle(m, rim), GetUnit(), m_bFace);
        }
        case GLT_RECT: return WithUnitAndFace(new CGeoRect(b), GetUnit(), m_bFace);
        case GLT_ROUNDRECT:
            return WithUnitAndFace(new CGeoRoundRect(b, CPoint(ClampLong(Width(b) / 6), ClampLong(Height(b) / 6))),
                                   GetUnit(), m_bFace);
        default: return nullptr;
    }
}

// ---- square circle ----

CGeoRectCircle::CGeoRectCircle() = default;

CGeoRectCircle::CGeoRectCircle(CPoint p) : CGeoEllipse(p) {}

CGeoRectCircle::CGeoRectCircle(const CRect& r) {
    CGeoRect::AddPoint(r.TopLeft());
    AddPoint(r.BottomRight());
    Complete(1);
}

CGeoRectCircle::CGeoRectCircle(const CGeoRectCircle& src, int withAttribute, int withRecord) : CGeoEllipse() {
    Copy(src, withAttribute, withRecord);
}

CGeoRectCircle::~CGeoRectCircle() = default;

CPoint CGeoRectCircle::SquareCorner(CPoint P, CPoint Q) {
    const LONGLONG dx = static_cast<LONGLONG>(P.x) - Q.x, dy = static_cast<LONGLONG>(P.y) - Q.y;
    if (std::llabs(dx) < std::llabs(dy)) return CPoint(P.x, ClampLong(Q.y + (dy > 0 ? 1 : -1) * std::llabs(dx)));
    return CPoint(ClampLong(Q.x + (dx > 0 ? 1 : -1) * std::llabs(dy)), P.y);
}

void CGeoRectCircle::Serialize(CArchive& ar) { CGeoEllipse::Serialize(ar); }

CGeoObject* CGeoRectCircle::Duplicate(int withAttribute, int withRecord) {
    CGeoRectCircle* copy = new CGeoRectCircle;
    if (!copy->Copy(*this, withAttribute, withRecord)) {
        copy->Remove();
        return nullptr;
    }
    return copy;
}

int CGeoRectCircle::CopyData(const CGeoVectorObject& src) { return CGeoEllipse::CopyData(src); }

int CGeoRectCircle::AddPoint(POINT point) {
    if (m_nSlotCount != 1) return CGeoRect::AddPoint(point);
    const CPoint corner = SquareCorner(point, CPoint(m_rcBounds.left, m_rcBounds.top));
    m_rcBounds.right = corner.x;
    m_rcBounds.bottom = corner.y;
    BoundsChanged();
    m_nSlotCount = 2;
    return 1;
}

void CGeoRectCircle::MoveHandleTo(int nHandle, CPoint point) {
    if (!CanMoveHandle(nHandle)) return;
    CRect& r = m_rcBounds;
    switch (nHandle) {
        case 1: {
            const CPoint p = SquareCorner(point, CPoint(r.right, r.bottom));
            r.left = p.x;
            r.top = p.y;
            break;
        }
        case 3: {
            const CPoint p = SquareCorner(point, CPoint(r.left, r.bottom));
            r.right = p.x;
            r.top = p.y;
            break;
        }
        case 5: {
            const CPoint p = SquareCorner(point, CPoint(r.left, r.top));
            r.right = p.x;
            r.bottom = p.y;
            break;
        }
        case 7: {
            const CPoint p = SquareCorner(point, CPoint(r.right, r.top));
            r.left = p.x;
            r.bottom = p.y;
            break;
        }
        default: break;  // side handles would break the square
    }
}

double CGeoRectCircle::Area() const {
    const double half = static_cast<double>(Width(m_rcBounds)) / 2.0;
    return kPi * half * half;
}

double CGeoRectCircle::Length() const { return std::fabs(static_cast<double>(Width(m_rcBounds)) * kPi); }

int CGeoRectCircle::PointOnLine(POINT point) const { return CGeoEllipse::PointOnLine(point); }

int CGeoRectCircle::PointOnLine(POINT point, int tolerance) const {
    const CRect b = GetBounds();
    if (OutsideWidened(b, point, tolerance)) return -1;
    const CPoint c = CentreOf(b);
    const double dx = static_cast<double>(point.x) - c.x, dy = static_cast<double>(point.y) - c.y;
    const double d = dx * dx + dy * dy;
    const double R = Width(b) / 2.0;
    const double inner = R - tolerance, outer = R + tolerance;
    return (inner * inner < d && d < outer * outer) ? 0 : -1;
}

int CGeoRectCircle::LineXLine(const CGeoLine&) const { return 0; }

int CGeoRectCircle::Through(const CRect& rect) const { return CircleXRect(GetBounds(), rect); }

CString CGeoRectCircle::GetObjectTypeName() const {
    CString name("矩形圆");
    if (m_bFace) name += CString("面");
    return name;
}

void CGeoRectCircle::DoRotateCCW(double degrees, CPoint centre) { CGeoEllipse::DoRotateCCW(degrees, centre); }

void CGeoRectCircle::Transform(CGeoCoordinateTransformer& transformer, double x0, double y0) {
    CGeoRect::Transform(transformer, x0, y0);
}

int CGeoRectCircle::GetSnapPointA(CPoint& point, CRect rect, int& nIndex, SNAPTYPE type, LONG lParam) {
    if (type < SNAP_CENTER || type > SNAP_TANGENT) return 0;
    return CGeoEllipse::GetSnapPointA(point, rect, nIndex, type, lParam);
}

CGeoLine* CGeoRectCircle::ConvertMeTo(WORD code, DWORD flags) const {
    if (!CanConvertTo(code, flags)) return nullptr;
    const CRect b = GetBounds();
    const CPoint c = CentreOf(b);
    switch (GetGLTType(code)) {
        case GLT_PLINE:
        case GLT_POLYGONLINE: {
            std::unique_ptr<CGeoLine> circle(ConvertTo(GLT_TYPE(GLT_CIRCLE, 0), 0));
            if (!circle) return nullptr;
            CGeoLine* line = circle->ConvertTo(GLT_TYPE(GetGLTType(code), 0), 0);
            if (line) line->SetUnit(GetUnit());
            return line;
        }
        case GLT_CIRCLE:
            return WithUnitAndFace(new CGeoCircle(c, CPoint(c.x, ClampLong(c.y - Width(b) / 2))), GetUnit(), m_bFace);
        case GLT_ELLIPSE: return WithUnitAndFace(new CGeoEllipse(b), GetUnit(), m_bFace);
        case GLT_RECT: return WithUnitAndFace(new CGeoRect(b), GetUnit(), m_bFace);
        default: return nullptr;
    }
}
