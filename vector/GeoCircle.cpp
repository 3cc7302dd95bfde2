#include "vector/GeoCircle.h"

#include "core/CoreResources.h"
#include "core/GeoHelpers.h"
#include "vector/GeoEllipse.h"

#include <afx/CursorResource.h>
#include "vector/GeoLineType.h"
#include "vector/GeoNPolygon.h"
#include "vector/GeoPolygonLine.h"
#include "vector/GeoTriPointCircle.h"
#include "vector/ShapePainter.h"
#include "vector/SaturatingMath.h"

#include <ostrel/Contact.h>
#include <ostrel/Measure.h>
#include <ostrel/Snap.h>
#include <ostrel/Units.h>
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

IMPLEMENT_SERIAL(CGeoCircle, CGeoCloseLine, 0)

namespace {

const double kPi = 3.14159265358979323846;

}  // namespace

// ---- construction ----

CGeoCircle::CGeoCircle() = default;

CGeoCircle::CGeoCircle(CPoint c) : m_ptCenter(c), m_ptRim(c) {
    m_nSlotCount = 1;
    m_rcBounds.SetRect(c.x, c.y, c.x, c.y);
}

CGeoCircle::CGeoCircle(CPoint c, int r) : m_ptCenter(c) {
    if (static_cast<LONGLONG>(c.y) - r > 0)
        m_ptRim = Offset(c, 0, -static_cast<LONGLONG>(r));
    else if (static_cast<LONGLONG>(c.x) - r > 0)
        m_ptRim = Offset(c, -static_cast<LONGLONG>(r), 0);
    else
        m_ptRim = Offset(c, r, 0);
    m_nSlotCount = 2;
    Complete(1);
    RecalcBounds();
}

CGeoCircle::CGeoCircle(CPoint c, CPoint rim) : m_ptCenter(c), m_ptRim(rim) {
    m_nSlotCount = 2;
    Complete(1);
    RecalcBounds();
}

// The copy runs here, not in a base constructor, so that this class's CopyData takes part.
CGeoCircle::CGeoCircle(const CGeoCircle& src, int withAttribute, int withRecord) : CGeoCloseLine() {
    Copy(src, withAttribute, withRecord);
}

CGeoCircle::~CGeoCircle() = default;

void CGeoCircle::Serialize(CArchive& ar) {
    CGeoCloseLine::Serialize(ar);
    if (ar.IsStoring()) {
        WritePoint(ar, m_ptCenter);
        WritePoint(ar, m_ptRim);
    } else {
        ReadPoint(ar, m_ptCenter);
        ReadPoint(ar, m_ptRim);
    }
}

double CGeoCircle::GetRadius() const { return Distance(m_ptCenter, m_ptRim); }

CGeoObject* CGeoCircle::Duplicate(int withAttribute, int withRecord) {
    CGeoCircle* copy = new CGeoCircle;
    if (!copy->Copy(*this, withAttribute, withRecord)) {
        copy->Remove();
        return nullptr;
    }
    return copy;
}

int CGeoCircle::CopyData(const CGeoVectorObject& src) {
    if (!CGeoCloseLine::CopyData(src)) return 0;
    if (src.IsKindOf(RUNTIME_CLASS(CGeoCircle))) {
        const CGeoCircle& circle = static_cast<const CGeoCircle&>(src);
        m_ptCenter = circle.m_ptCenter;
        m_ptRim = circle.m_ptRim;
    }
    return 1;
}

// ---- points ----

int CGeoCircle::AddPoint(POINT point) {
    if (m_nSlotCount >= 2) return 0;
    if (m_nSlotCount <= 0) {
        m_nSlotCount = 1;
        m_ptCenter = point;
        m_rcBounds.SetRect(point.x, point.y, point.x, point.y);
        return 1;
    }
    m_nSlotCount = 2;
    m_ptRim = point;
    RecalcBounds();
    return 1;
}

void CGeoCircle::RecalcBounds() {
    const LONGLONG r = TruncLong(GetRadius() + 0.5);
    m_rcBounds.SetRect(ClampLong(m_ptCenter.x - r), ClampLong(m_ptCenter.y - r), ClampLong(m_ptCenter.x + r),
                       ClampLong(m_ptCenter.y + r));
}

CPoint CGeoCircle::GetVisiblePoint() const { return m_ptRim; }

CPoint CGeoCircle::GetPoint(int index) const {
    if (index < 0 || index > m_nSlotCount - 1) return CPoint(0, 0);
    return index == 0 ? m_ptCenter : m_ptRim;
}

// ---- measures and hit tests ----

int CGeoCircle::PointOnLine(POINT point) const {
    const CRect box(ClampLong(static_cast<LONGLONG>(point.x) - 2), ClampLong(static_cast<LONGLONG>(point.y) - 2),
                    ClampLong(static_cast<LONGLONG>(point.x) + 2), ClampLong(static_cast<LONGLONG>(point.y) + 2));
    return Intersects(box, SELOBJ_MEET) ? 0 : -1;
}

int CGeoCircle::PointOnLine(POINT point, int tolerance) const {
    const CRect b = GetBounds();
    const LONGLONG t = tolerance;
    if (point.x < b.left - t || point.y < b.top - t || point.x > b.right + t || point.y > b.bottom + t) return -1;
    const double r = GetRadius();
    const double dx = static_cast<double>(point.x) - m_ptCenter.x;
    const double dy = static_cast<double>(point.y) - m_ptCenter.y;
    const double d = dx * dx + dy * dy;
    const double inner = r - tolerance, outer = r + tolerance;
    return (inner * inner < d && d < outer * outer) ? 0 : -1;
}

int CGeoCircle::LineXLine(const CGeoLine&) const { return 0; }

double CGeoCircle::Length() const { return 2.0 * kPi * GetRadius(); }

double CGeoCircle::Area() const {
    const double r = GetRadius();
    return kPi * r * r;
}

int CGeoCircle::Through(const CRect& rect) const { return CircleXRect(GetBounds(), rect); }

// ---- editing ----

void CGeoCircle::Move(CSize offset) {
    if (!CanMove() || (offset.cx == 0 && offset.cy == 0)) return;
    m_ptCenter = Offset(m_ptCenter, offset.cx, offset.cy);
    m_ptRim = Offset(m_ptRim, offset.cx, offset.cy);
    m_rcBounds.SetRect(ClampLong(static_cast<LONGLONG>(m_rcBounds.left) + offset.cx),
                       ClampLong(static_cast<LONGLONG>(m_rcBounds.top) + offset.cy),
                       ClampLong(static_cast<LONGLONG>(m_rcBounds.right) + offset.cx),
                       ClampLong(static_cast<LONGLONG>(m_rcBounds.bottom) + offset.cy));
}

void CGeoCircle::MovePoint(int index, POINT offset) {
    if (!CanBeEdited()) return;
    CPoint& p = index == 0 ? m_ptCenter : m_ptRim;
    p = Offset(p, offset.x, offset.y);
    RecalcBounds();
}

void CGeoCircle::MovePointTo(int index, POINT position) {
    if (!CanBeEdited()) return;
    (index == 0 ? m_ptCenter : m_ptRim) = position;
    RecalcBounds();
}

void CGeoCircle::MoveHandleTo(int nHandle, CPoint point) {
    if (CanMoveHandle(nHandle)) MovePointTo(nHandle - 1, point);
}

int CGeoCircle::GetHandleCount() const { return 2; }

CPoint CGeoCircle::GetHandle(int nHandle) const { return GetPoint(nHandle - 1); }

HCURSOR CGeoCircle::GetHandleCursor(int) const { return AfxLoadCursorResource(IDC_GEO_HANDLE); }

void CGeoCircle::OnUnitChanged(int nOldUnit) {
    CGeoCloseLine::OnUnitChanged(nOldUnit);
    ::ChangeUnit(nOldUnit, GetUnit(), static_cast<POINT&>(m_ptCenter), 1.0);
    ::ChangeUnit(nOldUnit, GetUnit(), static_cast<POINT&>(m_ptRim), 1.0);
}

CString CGeoCircle::GetObjectTypeName() const {
    CString name("半径圆");
    if (m_bFace) name += CString("面");
    return name;
}

void CGeoCircle::DoRotateCCW(double degrees, CPoint centre) {
    const double radians = degrees * kPi / 180.0;
    m_ptCenter = RotatePoint(m_ptCenter, centre, radians);
    m_ptRim = RotatePoint(m_ptRim, centre, radians);
    RecalcBounds();
}

void CGeoCircle::Transform(CGeoCoordinateTransformer& transformer, double x0, double y0) {
    m_ptRim = TransformPoint(transformer, x0, y0, m_ptRim);
    m_ptCenter = TransformPoint(transformer, x0, y0, m_ptCenter);
    RecalcBounds();
}

int CGeoCircle::GetSnapPointA(CPoint& point, CRect rect, int& nIndex, SNAPTYPE type, LONG lParam) {
    const double r = GetRadius();
    switch (type) {
        case SNAP_CENTER: return SnapToCenterPoint(m_ptCenter, r, r, point, rect, lParam) ? 1 : 0;
        case SNAP_NEAREST: return SnapToCircleNearestPoint(m_ptCenter, r, r, point, rect, 0) ? 1 : 0;
        case SNAP_QUADRANT: {
            std::unique_ptr<POINT[]> quad(new POINT[4]);
            quad[0] = POINT{TruncLong(m_ptCenter.x + r + 0.5), m_ptCenter.y};
            quad[1] = POINT{m_ptCenter.x, TruncLong(m_ptCenter.y + r + 0.5)};
            quad[2] = POINT{TruncLong(m_ptCenter.x - r + 0.5), m_ptCenter.y};
            quad[3] = POINT{m_ptCenter.x, TruncLong(m_ptCenter.y - r + 0.5)};
            return SnapToVertex(quad.get(), 4, point, rect, nIndex, lParam) ? 1 : 0;
        }
        case SNAP_TANGENT: return SnapToCircleTangentPoint(m_ptCenter, r, r, point, rect, lParam) ? 1 : 0;
        default: return 0;
    }
}

// ---- painters ----

void CGeoCircle::OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                         const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8, void* pSymbolLib,
                                         int keepColours) {
    PaintBoundsEllipseWithSymbol(pDC, scale, scale2, origin, offset, view, pClip, xorMode, nWord8, pSymbolLib,
                                 keepColours);
}

void CGeoCircle::OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                            const GEOVIEW& view, RECT*, int xorMode, int, int scaleWidths) {
    PaintBoundsEllipse(pDC, scale, scale2, origin, offset, view, xorMode, scaleWidths);
}

int CGeoCircle::OnSymbolizeOutput(CSymbolLibIO* pLib, CSymbolOutputer* pOutputer, CCoordsConverter* pConverter,
                                  GEOVIEW* pView) {
    return OutputRectSymbol(pLib, pOutputer, pConverter, pView, GetBoundsInMillimeter());
}

// ---- conversions ----

CGeoLine* CGeoCircle::ConvertMeTo(WORD code, DWORD flags) const {
    if (!CanConvertTo(code, flags)) return nullptr;
    switch (GetGLTType(code)) {
        case GLT_PLINE:
        case GLT_POLYGONLINE: {
            POINT* points = nullptr;
            int count = 0;
            ConvertRadiusCircleToPLine(m_ptCenter, GetRadius(), points, count, 50);
            std::unique_ptr<POINT[]> owned(points);
            CGeoLine* line;
            if (GetGLTType(code) == GLT_PLINE) {
                line = new CGeoPLine(count, points, 1);
            } else {
                CGeoPolygonLine* ring = new CGeoPolygonLine(count - 1, points, 1);
                ring->SetFace(m_bFace);
                line = ring;
            }
            line->SetUnit(GetUnit());
            return line;
        }
        case GLT_NPOLYGON: {
            CGeoNPolygon* polygon = new CGeoNPolygon(m_ptCenter, m_ptRim, GetGLTParam(code));
            polygon->SetUnit(GetUnit());
            polygon->SetFace(m_bFace);
            return polygon;
        }
        case GLT_ELLIPSE: {
            CGeoEllipse* ellipse = new CGeoEllipse(GetBounds());
            ellipse->SetUnit(GetUnit());
            ellipse->SetFace(m_bFace);
            return ellipse;
        }
        case GLT_RECTCIRCLE: {
            CGeoRectCircle* square = new CGeoRectCircle(GetBounds());
            square->SetUnit(GetUnit());
            square->SetFace(m_bFace);
            return square;
        }
        case GLT_TRIPOINTCIRCLE: {
            CGeoTriPointCircle* circle = new CGeoTriPointCircle(m_ptRim, RotatePoint90(m_ptRim, m_ptCenter),
                                                                RotatePoint180(m_ptRim, m_ptCenter));
            circle->SetUnit(GetUnit());
            circle->SetFace(m_bFace);
            return circle;
        }
        case GLT_TRIPOINTARC: {
            // From the rim point through the opposite point, ending 5 degrees short of closing.
            CGeoTriPointArc* arc = new CGeoTriPointArc(m_ptRim, RotatePoint180(m_ptRim, m_ptCenter),
                                                       RotatePoint(m_ptRim, m_ptCenter, kPi / 36.0));
            arc->SetUnit(GetUnit());
            return arc;
        }
        default: return nullptr;
    }
}
