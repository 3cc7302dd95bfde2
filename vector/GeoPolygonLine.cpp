#include "vector/GeoPolygonLine.h"

#include "core/GeoHelpers.h"
#include "core/GeoSettings.h"
#include "vector/CompressPts.h"
#include "vector/GeoLineType.h"
#include "vector/GeoRAPolygon.h"
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
#include <cmath>
#include <cstdlib>
#include <vector>

using geomath::ClampLong;
using geomath::TruncLong;

IMPLEMENT_SERIAL(CGeoPolygonLine, CGeoPLine, 0)

namespace {

RECT SquareAbout(POINT p, LONGLONG d) {
    return RECT{ClampLong(p.x - d), ClampLong(p.y - d), ClampLong(p.x + d), ClampLong(p.y + d)};
}

bool WithinOnAxis(LONGLONG d, LONGLONG v) {
    return std::llabs(v) <= std::llabs(d) && (d == 0 || v == 0 || (d > 0) == (v > 0));
}

bool FootWithinSegment(POINT a, POINT b, POINT v) {
    return WithinOnAxis(static_cast<LONGLONG>(b.x) - a.x, static_cast<LONGLONG>(v.x) - a.x) &&
           WithinOnAxis(static_cast<LONGLONG>(b.y) - a.y, static_cast<LONGLONG>(v.y) - a.y);
}

}  // namespace

// ---- construction ----

CGeoPolygonLine::CGeoPolygonLine() = default;

CGeoPolygonLine::CGeoPolygonLine(int n) : CGeoPLine(n) {}

CGeoPolygonLine::CGeoPolygonLine(int n, CPoint p) : CGeoPLine(n, p) {}

CGeoPolygonLine::CGeoPolygonLine(CPoint p) : CGeoPLine(p) {}

// The copy runs here, not in the base constructor, so that this class's CopyData takes part.
CGeoPolygonLine::CGeoPolygonLine(const CGeoPolygonLine& src, int copyAttributes, int attributeMode) {
    Copy(src, copyAttributes, attributeMode);
}

CGeoPolygonLine::CGeoPolygonLine(int n, const POINT* pts, BOOL roundUp) : CGeoPLine(n, pts, roundUp) {}

CGeoPolygonLine::~CGeoPolygonLine() = default;

void CGeoPolygonLine::Serialize(CArchive& ar) {
    CGeoPLine::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_bFace);
    } else {
        LONG face = 0;
        ar >> face;
        m_bFace = face;
    }
}

int CGeoPolygonLine::SetFace(int bFace) {
    const int old = m_bFace;
    m_bFace = bFace;
    return old;
}

double CGeoPolygonLine::Area() const { return PolygonArea(m_pPoints, m_nSlotCount); }

// ---- copies and names ----

CGeoObject* CGeoPolygonLine::Duplicate(int withAttribute, int withRecord) {
    CGeoPolygonLine* copy = new CGeoPolygonLine;
    if (!copy->Copy(*this, withAttribute, withRecord)) {
        copy->Remove();
        return nullptr;
    }
    return copy;
}

int CGeoPolygonLine::CopyData(const CGeoVectorObject& src) {
    if (!CGeoPLine::CopyData(src)) return 0;
    if (src.IsKindOf(RUNTIME_CLASS(CGeoPolygonLine))) m_bFace = static_cast<const CGeoPolygonLine&>(src).m_bFace;
    return 1;
}

CString CGeoPolygonLine::GetObjectTypeName() const {
    CString name("多边形");
    if (m_bFace) name += CString("面");
    return name;
}

int CGeoPolygonLine::GetObjectSymbolID(GEOVIEW view) const {
    return view.GetSymbol(m_bFace ? SYMBOL_FILL : SYMBOL_LINE);
}

// ---- measures and hit tests ----

double CGeoPolygonLine::Length() const {
    if (m_nSlotCount < 3) return 0.0;
    return PolyLineLength(m_pPoints, m_nSlotCount, 1);
}

int CGeoPolygonLine::PointOnLine(POINT point) const {
    const int i = CGeoPLine::PointOnLine(point);
    if (i >= 0 || m_nSlotCount < 2) return i;
    return LineXRect(m_pPoints[0], m_pPoints[m_nSlotCount - 1], SquareAbout(point, 2)) ? GetPoints() - 1 : -1;
}

int CGeoPolygonLine::PointOnLine(POINT point, int tolerance) const {
    const int i = CGeoPLine::PointOnLine(point, tolerance);
    if (i >= 0 || m_nSlotCount < 2) return i;
    return PointToLine(point, m_pPoints[0], m_pPoints[m_nSlotCount - 1]) < tolerance ? GetPoints() - 1 : -1;
}

int CGeoPolygonLine::Through(const CRect& rect) const {
    if (m_nSlotCount <= 0) return 0;
    for (int i = 0; i + 1 < m_nSlotCount; ++i)
        if (LineXRect(m_pPoints[i], m_pPoints[i + 1], rect)) return 1;
    return LineXRect(m_pPoints[m_nSlotCount - 1], m_pPoints[0], rect) ? 1 : 0;
}

double CGeoPolygonLine::HandleTolerance(UINT scale) const {
    return ::LPtoRP(scale, GetUnit(), static_cast<double>(GetHandleRadius()), 1.0);
}

int CGeoPolygonLine::HitsHandle(POINT p, double t) const {
    for (int h = GetHandleCount(); h >= 1; --h) {
        const CPoint v = GetHandle(h);
        const CRect box(TruncLong(v.x - t), TruncLong(v.y - t), TruncLong(v.x + t), TruncLong(v.y + t));
        if (box.PtInRect(p)) return 1;
    }
    return 0;
}

int CGeoPolygonLine::FindInsertSide(const POINT* ring, int n, POINT p, double t, POINT& foot) {
    if (ring == nullptr || n < 2) return -1;
    for (int i = 0; i < n; ++i) {
        const POINT a = ring[i];
        const POINT b = ring[(i + 1) % n];
        const SIZE dir{ClampLong(static_cast<LONGLONG>(b.x) - a.x), ClampLong(static_cast<LONGLONG>(b.y) - a.y)};
        const POINT v = VtPoint(a, p, dir);
        if (!FootWithinSegment(a, b, v)) continue;
        if (PointToLine(p, a, b) <= t) {
            foot = v;
            return i;
        }
    }
    return -1;
}

int CGeoPolygonLine::InsertPoint(POINT p, UINT scale) {
    const double t = HandleTolerance(scale);
    if (HitsHandle(p, t)) return 0;
    POINT v{};
    const int side = FindInsertSide(m_pPoints, m_nSlotCount, p, t, v);
    return side < 0 ? 0 : InsertPointAfter(v, side);
}

int CGeoPolygonLine::Compress(CCompressPts& thinner) {
    if (m_nSlotCount < 3) return 0;
    int n = m_nSlotCount;
    const int result = thinner.Compress(m_pPoints, &n, 1);
    m_nSlotCount = std::clamp(n, 0, m_nSlotCount);
    OnLineChanged();
    RecalcBounds();
    return result;
}

int CGeoPolygonLine::GetSnapPointA(CPoint& point, CRect rect, int& nIndex, SNAPTYPE type, LONG lParam) {
    if (m_nSlotCount <= 0) return 0;
    std::vector<POINT> ring(m_pPoints, m_pPoints + m_nSlotCount);
    ring.push_back(m_pPoints[0]);
    const int n = static_cast<int>(ring.size());
    switch (type) {
        case SNAP_VERTEX: return SnapToVertex(ring.data(), n, point, rect, nIndex, lParam) ? 1 : 0;
        case SNAP_MIDPOINT: return SnapToMidPoint(ring.data(), n, point, rect, nIndex, lParam) ? 1 : 0;
        case SNAP_PERPENDICULAR: return SnapToPerPoint(ring.data(), n, point, rect, nIndex, lParam) ? 1 : 0;
        case SNAP_NEAREST: return SnapToNearestPoint(ring.data(), n, point, rect, nIndex, lParam) ? 1 : 0;
        default: return 0;
    }
}

// ---- painters ----

void CGeoPolygonLine::OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                              const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                              void* pSymbolLib, int keepColours) {
    const int symbol = ChooseSymbol(pSymbolLib, view, m_bFace ? SYMBOL_FILL : SYMBOL_LINE);
    if (symbol == 0 || m_nSlotCount <= 0) {
        OnDrawWithoutSymbolization(pDC, scale, scale2, origin, offset, view, pClip, xorMode, nWord8, 1);
        return;
    }
    LONG result = QUENBY_ERR_ARGUMENT;
    {
        const int n = m_nSlotCount + 1;
        CScratchPoints pts(n);
        if (pts.Get()) {
            RPtoLP(scale, origin, offset, m_pPoints, pts.Get(), m_nSlotCount);
            pts.Get()[m_nSlotCount] = pts.Get()[0];
            CSymbolPainting painting(*this, m_SymbolAttrib, static_cast<CSymbolLibIO*>(pSymbolLib), symbol, scale,
                                     scale2, keepColours, m_bFace ? view.m_crFillColor : view.m_crLineColor);
            result = painting.DrawPoly(pDC, pts.Get(), n, pClip, xorMode);
        }
    }
    if (result != QUENBY_OK)
        OnDrawWithoutSymbolization(pDC, scale, scale2, origin, offset, view, pClip, xorMode, nWord8, 1);
}

void CGeoPolygonLine::OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                                 const GEOVIEW& view, RECT* pClip, int xorMode, int,
                                                 int scaleWidths) {
    if (!pDC || !pDC->m_hDC || m_nSlotCount <= 0) return;
    CScratchPoints pts(m_nSlotCount + 1);
    if (!pts.Get()) return;
    CShapePainter painter(pDC);
    if (view.m_fLineWidth == -1.0f)
        painter.SelectPen(PS_NULL, 0, view.m_crLineColor);
    else
        painter.SelectLinePen(view, GetDevicePenWidth(view, scale, scale2, scaleWidths), TRUE);
    if (m_bFace)
        painter.SelectFillBrush(GetFillShape(view.m_nFillShape), view.m_crFillColor);
    else
        painter.SelectStockObject(NULL_BRUSH);
    RPtoLP(scale, origin, offset, m_pPoints, pts.Get(), m_nSlotCount);
    pts.Get()[m_nSlotCount] = pts.Get()[0];
    painter.SetXorMode(xorMode);
    if (view.m_bTransparent && m_bFace) {
        if (!xorMode) painter.SetROP2(R2_MASKPEN);
        painter.SetBkMode(TRANSPARENT);
    } else {
        painter.SetBkMode(OPAQUE);
    }
    if (m_bFace)
        ::Polygon(pDC->m_hDC, pts.Get(), m_nSlotCount);
    else
        ::PolyLine(pDC->m_hDC, pts.Get(), m_nSlotCount + 1, pClip);
    painter.Restore();
}

int CGeoPolygonLine::OnSymbolizeOutput(CSymbolLibIO* pLib, CSymbolOutputer* pOutputer, CCoordsConverter* pConverter,
                                       GEOVIEW* pView) {
    if (!pLib || !pOutputer || !pConverter || !pView || m_nSlotCount <= 0) return 0;
    const int symbol = pView->GetSymbol(m_bFace ? SYMBOL_FILL : SYMBOL_LINE);
    if (symbol == 0) return 0;
    const int n = m_nSlotCount + 1;
    CScratchPoints pts(n);
    if (!pts.Get()) return 0;
    ::ChangeUnit(GetUnit(), 3, m_pPoints, pts.Get(), m_nSlotCount, 1.0);
    pts.Get()[m_nSlotCount] = pts.Get()[0];
    CSymbolPainting output(*this, m_SymbolAttrib, pLib, symbol, pConverter);
    return output.OutputPoly(pOutputer, pts.Get(), n) == QUENBY_OK ? 1 : 0;
}

// ---- conversions ----

CGeoLine* CGeoPolygonLine::ConvertMeTo(WORD code, DWORD flags) const {
    if (!CanConvertTo(code, flags)) return nullptr;
    switch (GetGLTType(code)) {
        case GLT_PLINE: {
            CGeoPLine* line = new CGeoPLine(m_nSlotCount, m_pPoints, TRUE);
            if (m_nSlotCount > 0) line->AddPoint(m_pPoints[0]);  // the ring closed explicitly
            line->SetUnit(GetUnit());
            return line;
        }
        case GLT_RAPOLYGON: {
            CGeoRAPolygon* ra = new CGeoRAPolygon(m_nSlotCount, m_pPoints, TRUE);
            ra->SetUnit(GetUnit());
            ra->SetFace(m_bFace);
            return ra;
        }
        default: return nullptr;
    }
}
