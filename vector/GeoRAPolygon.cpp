#include "vector/GeoRAPolygon.h"

#include "core/GeoHelpers.h"
#include "vector/GeoLineType.h"
#include "vector/ShapePainter.h"
#include "vector/SaturatingMath.h"

#include <caddox/FillShape.h>
#include <ostrel/Contact.h>
#include <ostrel/Measure.h>
#include <ostrel/ShapePoints.h>
#include <ostrel/Snap.h>
#include <ostrel/Units.h>
#include <quenby/SymbolLibIO.h>

#include <algorithm>
#include <climits>

using geomath::ClampLong;

IMPLEMENT_SERIAL(CGeoRAPolygon, CGeoPolygonLine, 0)

namespace {

RECT SquareAbout(POINT p, LONGLONG d) {
    return RECT{ClampLong(p.x - d), ClampLong(p.y - d), ClampLong(p.x + d), ClampLong(p.y + d)};
}

bool InRect(POINT p, const CRect& r) { return p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom; }

}  // namespace

// ---- construction ----

CGeoRAPolygon::CGeoRAPolygon() = default;

CGeoRAPolygon::CGeoRAPolygon(int n) : CGeoPolygonLine(n) {}

CGeoRAPolygon::CGeoRAPolygon(int n, CPoint p) : CGeoPolygonLine(n, p) {
    RecalcVertex();
    RecalcBounds();
}

CGeoRAPolygon::CGeoRAPolygon(CPoint p) : CGeoPolygonLine(p) {
    RecalcVertex();
    RecalcBounds();
}

CGeoRAPolygon::CGeoRAPolygon(const CGeoRAPolygon& src, int copyAttributes, int attributeMode) {
    Copy(src, copyAttributes, attributeMode);
}

CGeoRAPolygon::CGeoRAPolygon(int n, const POINT* pts, BOOL roundUp) : CGeoPolygonLine(n, pts, roundUp) {
    RecalcVertex();
    RecalcBounds();
}

CGeoRAPolygon::~CGeoRAPolygon() = default;

void CGeoRAPolygon::Serialize(CArchive& ar) { CGeoPolygonLine::Serialize(ar); }

void CGeoRAPolygon::RecalcVertex() {
    const int n = std::max(m_nSlotCount, 0);
    // The outline never has more than 2n points (n + 2 for an odd n >= 3, n + 1 for an even one).
    m_vertices.assign(static_cast<std::size_t>(std::max(2 * n, 2)), POINT{0, 0});
    m_nVertexCount = n > 0 ? ::GetVertex(n, m_pPoints, m_vertices.data()) : 0;
    m_nVertexCount = std::clamp(m_nVertexCount, 0, static_cast<int>(m_vertices.size()));
}

int CGeoRAPolygon::OpenChainCount() const { return m_nVertexCount == 2 ? 2 : m_nVertexCount - 1; }

// ---- copies and names ----

CGeoObject* CGeoRAPolygon::Duplicate(int withAttribute, int withRecord) {
    CGeoRAPolygon* copy = new CGeoRAPolygon;
    if (!copy->Copy(*this, withAttribute, withRecord)) {
        copy->Remove();
        return nullptr;
    }
    return copy;
}

int CGeoRAPolygon::CopyData(const CGeoVectorObject& src) {
    if (!CGeoPolygonLine::CopyData(src)) return 0;
    RecalcVertex();
    return 1;
}

CString CGeoRAPolygon::GetObjectTypeName() const {
    CString name("直角多边形");
    if (m_bFace) name += CString("面");
    return name;
}

// ---- ring upkeep ----

void CGeoRAPolygon::OnLineChanged() { RecalcVertex(); }

void CGeoRAPolygon::RecalcBounds() { m_rcBounds = ::RecalcBounds(m_vertices.data(), m_nVertexCount); }

void CGeoRAPolygon::RecalcBounds(POINT) { RecalcBounds(); }

double CGeoRAPolygon::Length() const { return PolyLineLength(m_vertices.data(), m_nVertexCount, 1); }

double CGeoRAPolygon::Area() const { return PolygonArea(m_vertices.data(), m_nVertexCount); }

void CGeoRAPolygon::Move(CSize d) {
    if (!CanMove() || (d.cx == 0 && d.cy == 0)) return;
    CGeoPLine::Move(d);
    // The ring is offset the same way as the control points (wrapping like them).
    for (int i = 0; i < m_nVertexCount; ++i) {
        m_vertices[i].x = static_cast<LONG>(static_cast<unsigned>(m_vertices[i].x) + static_cast<unsigned>(d.cx));
        m_vertices[i].y = static_cast<LONG>(static_cast<unsigned>(m_vertices[i].y) + static_cast<unsigned>(d.cy));
    }
}

void CGeoRAPolygon::DoRotateCCW(double degrees, CPoint centre) {
    CGeoPLine::DoRotateCCW(degrees, centre);
    RecalcVertex();
    RecalcBounds();
}

void CGeoRAPolygon::OnUnitChanged(int nOldUnit) {
    CGeoPLine::OnUnitChanged(nOldUnit);
    RecalcVertex();
}

void CGeoRAPolygon::Transform(CGeoCoordinateTransformer& transformer, double dx, double dy) {
    CGeoPLine::Transform(transformer, dx, dy);
    RecalcVertex();
    RecalcBounds();
}

// ---- hit tests ----

int CGeoRAPolygon::PointOnLine(POINT point) const {
    const int c = m_nVertexCount;
    if (c <= 0) return -1;
    CRect bounds = GetBounds();
    bounds.NormalizeRect();
    if (!InRect(point, bounds)) return -1;
    const POINT* v = m_vertices.data();
    if (m_nSlotCount == 1) return PointEqual(point, v[0]) ? 0 : -1;
    const RECT r = SquareAbout(point, 2);
    for (int i = 0; i + 1 < c; ++i)
        if (LineXRect(v[i], v[i + 1], r)) return i;
    return LineXRect(v[c - 1], v[0], r) ? c - 1 : -1;
}

int CGeoRAPolygon::PointOnLine(POINT point, int tolerance) const {
    const int c = m_nVertexCount;
    if (c <= 0) return -1;
    CRect bounds = GetBounds();
    bounds.NormalizeRect();
    if (!InRect(point, bounds)) return -1;
    const POINT* v = m_vertices.data();
    if (m_nSlotCount == 1) return Distance(point, v[0]) < tolerance ? 0 : -1;
    for (int i = 0; i + 1 < c; ++i)
        if (PointToLine(point, v[i], v[i + 1]) < tolerance) return i;
    return PointToLine(point, v[c - 1], v[0]) < tolerance ? c - 1 : -1;
}

int CGeoRAPolygon::Through(const CRect& rect) const {
    const int c = m_nVertexCount;
    if (c <= 0) return 0;
    const POINT* v = m_vertices.data();
    if (m_nSlotCount == 1) return rect.PtInRect(v[0]) ? 1 : 0;
    for (int i = 0; i + 1 < c; ++i)
        if (LineXRect(v[i], v[i + 1], rect)) return 1;
    if (GetPoints() >= 3) return LineXRect(v[0], v[c - 1], rect) ? 1 : 0;
    return 0;
}

int CGeoRAPolygon::InsertPoint(POINT p, UINT scale) {
    const double t = HandleTolerance(scale);
    if (HitsHandle(p, t)) return 0;
    POINT foot{};
    const int side = FindInsertSide(m_vertices.data(), m_nVertexCount, p, t, foot);
    if (side < 0) return 0;
    const int c = m_nVertexCount;
    const POINT a = m_vertices[side];
    const POINT b = m_vertices[(side + 1) % c];
    int after = FindPoint(a);
    if (after < 0) {
        const int j = FindPoint(b);
        if (j == 0)
            after = GetPoints() - 1;
        else if (j > 0)
            after = j - 1;
    }
    // Both ends derived corners: the control point that precedes them along the ring.
    for (int k = side - 1; after < 0 && k >= 0; --k) after = FindPoint(m_vertices[k]);
    if (after < 0) after = GetPoints() - 1;
    return InsertPointAfter(foot, after);
}

int CGeoRAPolygon::Compress(CCompressPts&) { return 0; }

int CGeoRAPolygon::GetSnapPointA(CPoint& point, CRect rect, int& nIndex, SNAPTYPE type, LONG lParam) {
    const POINT* v = m_vertices.data();
    const int c = m_nVertexCount;
    if (c <= 0) return 0;
    switch (type) {
        case SNAP_VERTEX: return SnapToVertex(v, c, point, rect, nIndex, lParam) ? 1 : 0;
        case SNAP_MIDPOINT: return SnapToMidPoint(v, c, point, rect, nIndex, lParam) ? 1 : 0;
        case SNAP_PERPENDICULAR: return SnapToPerPoint(v, c, point, rect, nIndex, lParam) ? 1 : 0;
        case SNAP_NEAREST: return SnapToNearestPoint(v, c, point, rect, nIndex, lParam) ? 1 : 0;
        default: return 0;
    }
}

// ---- painters ----

void CGeoRAPolygon::OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                            const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                            void* pSymbolLib, int keepColours) {
    const bool area = IsCompleted() && m_bFace;
    const int symbol = ChooseSymbol(pSymbolLib, view, area ? SYMBOL_FILL : SYMBOL_LINE);
    if (symbol == 0) {
        OnDrawWithoutSymbolization(pDC, scale, scale2, origin, offset, view, pClip, xorMode, nWord8, 1);
        return;
    }
    const int c = m_nVertexCount;
    if (c <= 0) return;
    LONG result = QUENBY_ERR_ARGUMENT;
    {
        CScratchPoints pts(c + 1);
        if (pts.Get()) {
            RPtoLP(scale, origin, offset, m_vertices.data(), pts.Get(), c);
            pts.Get()[c] = pts.Get()[0];
            int count;
            if (IsCompleted())
                count = PointEqual(pts.Get()[c], pts.Get()[c - 1]) ? c : c + 1;
            else
                count = OpenChainCount();
            if (count < 1) return;  // a single unfinished point: nothing to draw yet
            CSymbolPainting painting(*this, m_SymbolAttrib, static_cast<CSymbolLibIO*>(pSymbolLib), symbol, scale,
                                     scale2, keepColours, m_bFace ? view.m_crFillColor : view.m_crLineColor);
            result = painting.DrawPoly(pDC, pts.Get(), count, pClip, xorMode);
        }
    }
    if (result != QUENBY_OK)
        OnDrawWithoutSymbolization(pDC, scale, scale2, origin, offset, view, pClip, xorMode, nWord8, 1);
}

void CGeoRAPolygon::OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                               const GEOVIEW& view, RECT*, int xorMode, int, int scaleWidths) {
    const int c = m_nVertexCount;
    if (!pDC || !pDC->m_hDC || c <= 0) return;
    const int count = IsCompleted() ? c : OpenChainCount();
    if (count < 2) return;  // GDI draws nothing below two points
    CScratchPoints pts(c);
    if (!pts.Get()) return;
    CShapePainter painter(pDC);
    painter.SelectPen(PS_SOLID, GetDevicePenWidth(view, scale, scale2, scaleWidths), view.m_crLineColor);
    if (m_bFace)
        painter.SelectFillBrush(GetFillShape(view.m_nFillShape), view.m_crFillColor);
    else
        painter.SelectStockObject(NULL_BRUSH);
    RPtoLP(scale, origin, offset, m_vertices.data(), pts.Get(), c);
    painter.SetXorMode(xorMode);
    if (view.m_bTransparent && m_bFace && IsCompleted()) {
        if (!xorMode) painter.SetROP2(R2_MASKPEN);
        painter.SetBkMode(TRANSPARENT);
    } else {
        painter.SetBkMode(OPAQUE);
    }
    if (IsCompleted())
        ::Polygon(pDC->m_hDC, pts.Get(), c);
    else
        ::Polyline(pDC->m_hDC, pts.Get(), count);
    painter.Restore();
}

int CGeoRAPolygon::OnSymbolizeOutput(CSymbolLibIO* pLib, CSymbolOutputer* pOutputer, CCoordsConverter* pConverter,
                                     GEOVIEW* pView) {
    const int c = m_nVertexCount;
    if (!pLib || !pOutputer || !pConverter || !pView || c <= 0) return 0;
    const int symbol = pView->GetSymbol(IsCompleted() && m_bFace ? SYMBOL_FILL : SYMBOL_LINE);
    if (symbol == 0) return 0;
    const int count = IsCompleted() ? c + 1 : OpenChainCount();
    if (count < 1) return 0;
    CScratchPoints pts(c + 1);
    if (!pts.Get()) return 0;
    ::ChangeUnit(GetUnit(), 3, m_vertices.data(), pts.Get(), c, 1.0);
    pts.Get()[c] = pts.Get()[0];
    CSymbolPainting output(*this, m_SymbolAttrib, pLib, symbol, pConverter);
    return output.OutputPoly(pOutputer, pts.Get(), count) == QUENBY_OK ? 1 : 0;
}

// ---- conversions ----

CGeoLine* CGeoRAPolygon::ConvertMeTo(WORD code, DWORD flags) const {
    if (!CanConvertTo(code, flags)) return nullptr;
    const int c = m_nVertexCount;
    const POINT* v = c > 0 ? m_vertices.data() : nullptr;
    switch (GetGLTType(code)) {
        case GLT_PLINE: {
            CGeoPLine* line = new CGeoPLine(c, v, TRUE);
            if (c > 0) line->MovePointTo(0, v[c - 1]);
            line->SetUnit(GetUnit());
            return line;
        }
        case GLT_POLYGONLINE: {
            CGeoPolygonLine* ring = new CGeoPolygonLine(c, v, TRUE);
            if (c > 0) ring->DeletePoint(0);  // vertex 0 lies on the closing side
            ring->SetUnit(GetUnit());
            ring->SetFace(m_bFace);
            return ring;
        }
        default: return nullptr;
    }
}
