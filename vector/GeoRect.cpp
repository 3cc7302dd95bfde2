#include "vector/GeoRect.h"

#include "vector/GeoEllipse.h"
#include "vector/GeoLineType.h"
#include "vector/GeoPolygonLine.h"
#include "vector/GeoRAPolygon.h"
#include "vector/GeoRoundRect.h"
#include "vector/ShapePainter.h"
#include "vector/SaturatingMath.h"

#include <ostrel/Contact.h>
#include <ostrel/Measure.h>
#include <ostrel/Snap.h>
#include <quenby/SymbolLibIO.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <vector>

using geomath::ClampLong;

IMPLEMENT_SERIAL(CGeoRect, CGeoCloseLine, 0)

namespace {

const double kPi = 3.14159265358979323846;

RECT SquareAbout(POINT p, LONGLONG d) {
    return RECT{ClampLong(p.x - d), ClampLong(p.y - d), ClampLong(p.x + d), ClampLong(p.y + d)};
}

// Half of b - a, truncated toward zero, added to a.
LONG HalfWay(LONG a, LONG b) { return ClampLong(a + (static_cast<LONGLONG>(b) - a) / 2); }

}  // namespace

// ---- construction ----

CGeoRect::CGeoRect() = default;

CGeoRect::CGeoRect(CPoint p) { AddPoint(p); }

CGeoRect::CGeoRect(const CRect& r) {
    m_rcBounds = r;
    m_nSlotCount = 2;
    Complete(1);
}

CGeoRect::CGeoRect(const CGeoRect& src, int withAttribute, int withRecord) : CGeoCloseLine() {
    Copy(src, withAttribute, withRecord);
}

CGeoRect::~CGeoRect() = default;

void CGeoRect::Serialize(CArchive& ar) { CGeoCloseLine::Serialize(ar); }

CGeoObject* CGeoRect::Duplicate(int withAttribute, int withRecord) {
    CGeoRect* copy = new CGeoRect;
    if (!copy->Copy(*this, withAttribute, withRecord)) {
        copy->Remove();
        return nullptr;
    }
    return copy;
}

int CGeoRect::CopyData(const CGeoVectorObject& src) { return CGeoCloseLine::CopyData(src); }

CRect CGeoRect::GetBounds() const {
    CRect r = m_rcBounds;
    r.NormalizeRect();
    return r;
}

// ---- corners and measures ----

double CGeoRect::Area() const {
    const double w = static_cast<double>(m_rcBounds.right) - m_rcBounds.left;
    const double h = static_cast<double>(m_rcBounds.bottom) - m_rcBounds.top;
    return std::fabs(w * h);
}

double CGeoRect::Length() const {
    const double w = static_cast<double>(m_rcBounds.right) - m_rcBounds.left;
    const double h = static_cast<double>(m_rcBounds.bottom) - m_rcBounds.top;
    return 2.0 * (std::fabs(w) + std::fabs(h));
}

CPoint CGeoRect::GetPoint(int index) const {
    return index == 0 ? CPoint(m_rcBounds.left, m_rcBounds.top) : CPoint(m_rcBounds.right, m_rcBounds.bottom);
}

int CGeoRect::AddPoint(POINT point) {
    if (m_nSlotCount >= 2) return 0;
    if (m_nSlotCount == 1) {
        m_nSlotCount = 2;
        m_rcBounds.right = point.x;
        m_rcBounds.bottom = point.y;
        BoundsChanged();
        return 1;
    }
    m_nSlotCount = 1;
    m_rcBounds.SetRect(point.x, point.y, point.x, point.y);
    return 1;
}

CPoint CGeoRect::GetVisiblePoint() const {
    const CRect b = GetBounds();
    return CPoint(b.left, b.top);
}

int CGeoRect::PointOnLine(POINT point) const {
    const CRect b = GetBounds();
    if (point.x < b.left || point.y < b.top || point.x > b.right || point.y > b.bottom) return -1;
    const RECT box = SquareAbout(point, 2);
    const POINT c[4] = {{m_rcBounds.left, m_rcBounds.top},
                        {m_rcBounds.right, m_rcBounds.top},
                        {m_rcBounds.right, m_rcBounds.bottom},
                        {m_rcBounds.left, m_rcBounds.bottom}};
    for (int i = 0; i < 4; ++i)
        if (LineXRect(c[i], c[(i + 1) % 4], box)) return i;
    return -1;
}

int CGeoRect::PointOnLine(POINT point, int tolerance) const {
    const CRect b = GetBounds();
    const LONGLONG t = tolerance;
    if (point.x < b.left - t || point.y < b.top - t || point.x > b.right + t || point.y > b.bottom + t) return -1;
    const POINT c[4] = {{m_rcBounds.left, m_rcBounds.top},
                        {m_rcBounds.right, m_rcBounds.top},
                        {m_rcBounds.right, m_rcBounds.bottom},
                        {m_rcBounds.left, m_rcBounds.bottom}};
    for (int i = 0; i < 4; ++i)
        if (PointToLine(point, c[i], c[(i + 1) % 4]) < tolerance) return i;
    return -1;
}

int CGeoRect::LineXLine(const CGeoLine&) const { return 0; }

int CGeoRect::Through(const CRect& rect) const { return RectXRect(GetBounds(), rect); }

// ---- editing ----

void CGeoRect::MovePoint(int index, POINT offset) {
    if (!CanBeEdited() || index > m_nSlotCount - 1 || (offset.x == 0 && offset.y == 0)) return;
    LONG& x = index <= 0 ? m_rcBounds.left : m_rcBounds.right;
    LONG& y = index <= 0 ? m_rcBounds.top : m_rcBounds.bottom;
    x = ClampLong(static_cast<LONGLONG>(x) + offset.x);
    y = ClampLong(static_cast<LONGLONG>(y) + offset.y);
}

void CGeoRect::MovePointTo(int index, POINT position) {
    if (!CanBeEdited() || index > m_nSlotCount - 1) return;
    if (index <= 0) {
        m_rcBounds.left = position.x;
        m_rcBounds.top = position.y;
    } else {
        m_rcBounds.right = position.x;
        m_rcBounds.bottom = position.y;
    }
    BoundsChanged();
}

int CGeoRect::GetHandleCount() const { return 8; }

CPoint CGeoRect::GetHandle(int nHandle) const {
    const LONG x1 = m_rcBounds.left, y1 = m_rcBounds.top, x2 = m_rcBounds.right, y2 = m_rcBounds.bottom;
    switch (nHandle) {
        case 2: return CPoint(HalfWay(x1, x2), y1);
        case 3: return CPoint(x2, y1);
        case 4: return CPoint(x2, HalfWay(y1, y2));
        case 5: return CPoint(x2, y2);
        case 6: return CPoint(HalfWay(x1, x2), y2);
        case 7: return CPoint(x1, y2);
        case 8: return CPoint(x1, HalfWay(y1, y2));
        default: return CPoint(x1, y1);
    }
}

void CGeoRect::MoveHandleTo(int nHandle, CPoint point) {
    if (!CanMoveHandle(nHandle)) return;
    CRect& r = m_rcBounds;
    switch (nHandle) {
        case 2: r.top = point.y; break;
        case 3: r.right = point.x; r.top = point.y; break;
        case 4: r.right = point.x; break;
        case 5: r.right = point.x; r.bottom = point.y; break;
        case 6: r.bottom = point.y; break;
        case 7: r.left = point.x; r.bottom = point.y; break;
        case 8: r.left = point.x; break;
        default: r.left = point.x; r.top = point.y; break;
    }
}

HCURSOR CGeoRect::GetHandleCursor(int nHandle) const { return CGeoObject::GetHandleCursor(nHandle); }

CString CGeoRect::GetObjectTypeName() const {
    CString name("矩形");
    if (m_bFace) name += CString("面");
    return name;
}

void CGeoRect::DoRotateCCW(double degrees, CPoint centre) {
    const POINT before = RectCenter(GetBounds());
    const POINT after = RotatePoint(before, centre, degrees * kPi / 180.0);
    const LONGLONG dx = static_cast<LONGLONG>(after.x) - before.x, dy = static_cast<LONGLONG>(after.y) - before.y;
    m_rcBounds.SetRect(ClampLong(m_rcBounds.left + dx), ClampLong(m_rcBounds.top + dy),
                       ClampLong(m_rcBounds.right + dx), ClampLong(m_rcBounds.bottom + dy));
}

void CGeoRect::Transform(CGeoCoordinateTransformer& transformer, double x0, double y0) {
    const CRect b = GetBounds();
    const POINT corners[4] = {{b.left, b.top}, {b.left, b.bottom}, {b.right, b.bottom}, {b.right, b.top}};
    CRect out;
    for (int i = 0; i < 4; ++i) {
        const POINT p = TransformPoint(transformer, x0, y0, corners[i]);
        if (i == 0) {
            out.SetRect(p.x, p.y, p.x, p.y);
        } else {
            out.left = std::min(out.left, p.x);
            out.top = std::min(out.top, p.y);
            out.right = std::max(out.right, p.x);
            out.bottom = std::max(out.bottom, p.y);
        }
    }
    m_rcBounds = out;
}

int CGeoRect::GetSnapPointA(CPoint& point, CRect rect, int& nIndex, SNAPTYPE type, LONG lParam) {
    const CRect b = GetBounds();
    std::vector<POINT> ring = {
        {b.left, b.top}, {b.right, b.top}, {b.right, b.bottom}, {b.left, b.bottom}, {b.left, b.top}};
    switch (type) {
        case SNAP_VERTEX: return SnapToVertex(ring.data(), 5, point, rect, nIndex, lParam) ? 1 : 0;
        case SNAP_MIDPOINT: return SnapToMidPoint(ring.data(), 5, point, rect, nIndex, lParam) ? 1 : 0;
        case SNAP_PERPENDICULAR: return SnapToPerPoint(ring.data(), 5, point, rect, nIndex, lParam) ? 1 : 0;
        case SNAP_NEAREST: return SnapToNearestPoint(ring.data(), 5, point, rect, nIndex, lParam) ? 1 : 0;
        default: return 0;
    }
}

// ---- painters ----

void CGeoRect::OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                       const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8, void* pSymbolLib,
                                       int keepColours) {
    const int symbol = ChooseShapeSymbol(pSymbolLib, view);
    LONG result = QUENBY_ERR_ARGUMENT;
    if (symbol != 0) {
        CRect d = RPtoLP(scale, origin, offset, GetBounds());
        d.NormalizeRect();
        const POINT ring[5] = {
            {d.left, d.top}, {d.right, d.top}, {d.right, d.bottom}, {d.left, d.bottom}, {d.left, d.top}};
        CSymbolPainting painting(*this, m_SymbolAttrib, static_cast<CSymbolLibIO*>(pSymbolLib), symbol, scale,
                                 scale2, keepColours, ShapeColour(view));
        result = painting.DrawPoly(pDC, ring, 5, pClip, xorMode);
    }
    if (result != QUENBY_OK)
        OnDrawWithoutSymbolization(pDC, scale, scale2, origin, offset, view, pClip, xorMode, nWord8, 1);
}

void CGeoRect::OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                          const GEOVIEW& view, RECT*, int xorMode, int, int scaleWidths) {
    if (!pDC || !pDC->m_hDC) return;
    CShapePainter painter(pDC);
    PreparePlainPainter(painter, view, scale, scale2, scaleWidths, xorMode, TRUE);
    CRect d = RPtoLP(scale, origin, offset, GetBounds());
    d.NormalizeRect();
    ::Rectangle(pDC->m_hDC, d.left, d.top, d.right, d.bottom);
    painter.Restore();
}

int CGeoRect::OnSymbolizeOutput(CSymbolLibIO* pLib, CSymbolOutputer* pOutputer, CCoordsConverter* pConverter,
                                GEOVIEW* pView) {
    if (!pLib || !pOutputer || !pConverter || !pView) return 0;
    const int symbol = pView->GetSymbol(m_bFace ? SYMBOL_FILL : SYMBOL_LINE);
    if (symbol == 0) return 0;
    const CRect b = GetBoundsInMillimeter();
    const POINT ring[5] = {{b.left, b.top}, {b.left, b.bottom}, {b.right, b.bottom}, {b.right, b.top}, {b.left, b.top}};
    CSymbolPainting output(*this, m_SymbolAttrib, pLib, symbol, pConverter);
    return output.OutputPoly(pOutputer, ring, 5) == QUENBY_OK ? 1 : 0;
}

// ---- conversions ----

CGeoLine* CGeoRect::ConvertMeTo(WORD code, DWORD flags) const {
    if (!CanConvertTo(code, flags)) return nullptr;
    const CRect b = GetBounds();
    const POINT ring[5] = {{b.left, b.top}, {b.right, b.top}, {b.right, b.bottom}, {b.left, b.bottom}, {b.left, b.top}};
    switch (GetGLTType(code)) {
        case GLT_PLINE: {
            CGeoPLine* line = new CGeoPLine(5);
            for (const POINT& p : ring) line->AddPoint(p);
            line->Complete(1);
            line->SetUnit(GetUnit());
            return line;
        }
        case GLT_POLYGONLINE: {
            CGeoPolygonLine* polygon = new CGeoPolygonLine(4);
            for (int i = 0; i < 4; ++i) polygon->AddPoint(ring[i]);
            polygon->Complete(1);
            polygon->SetUnit(GetUnit());
            polygon->SetFace(m_bFace);
            return polygon;
        }
        case GLT_RAPOLYGON: {
            CGeoRAPolygon* ra = new CGeoRAPolygon(4);
            for (int i = 0; i < 4; ++i) ra->AddPoint(ring[i]);
            ra->SetUnit(GetUnit());
            ra->SetFace(m_bFace);
            ra->Complete(1);
            return ra;
        }
        case GLT_ELLIPSE: {
            CGeoEllipse* ellipse = new CGeoEllipse(b);
            ellipse->SetUnit(GetUnit());
            ellipse->SetFace(m_bFace);
            return ellipse;
        }
        case GLT_ROUNDRECT: {
            CGeoRoundRect* round = new CGeoRoundRect(
                b, CPoint(static_cast<LONG>((static_cast<LONGLONG>(b.right) - b.left) / 6),
                          static_cast<LONG>((static_cast<LONGLONG>(b.bottom) - b.top) / 6)));
            round->SetUnit(GetUnit());
            round->SetFace(m_bFace);
            return round;
        }
        default: return nullptr;
    }
}
