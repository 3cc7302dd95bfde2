#include "vector/GeoNPolygon.h"

#include "core/GeoSettings.h"
#include "vector/GeoLineType.h"
#include "vector/GeoPolygonLine.h"
#include "vector/ShapePainter.h"
#include "vector/SaturatingMath.h"

#include <ostrel/Contact.h>
#include <ostrel/Measure.h>
#include <ostrel/ShapePoints.h>
#include <ostrel/Snap.h>
#include <ostrel/Units.h>
#include <quenby/SymbolLibIO.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

using geomath::ClampLong;

IMPLEMENT_SERIAL(CGeoNPolygon, CGeoCircle, 0)

namespace {

const double kPi = 3.14159265358979323846;

int SidesOrDefault(int sides) { return sides == 0 ? GetNPolygonSides() : sides; }

}  // namespace

// ---- construction ----

CGeoNPolygon::CGeoNPolygon(int sides) { SetSides(SidesOrDefault(sides)); }

CGeoNPolygon::CGeoNPolygon(CPoint centre, int sides) : CGeoCircle(centre) { SetSides(SidesOrDefault(sides)); }

CGeoNPolygon::CGeoNPolygon(CPoint centre, CPoint vertex, int sides) {
    SetSides(SidesOrDefault(sides));
    AddPoint(centre);
    AddPoint(vertex);
    Complete(1);
}

CGeoNPolygon::CGeoNPolygon(CPoint centre, int radius, int sides) {
    SetSides(SidesOrDefault(sides));
    AddPoint(centre);
    // The circle's rule keeps the vertex's coordinates positive where it can.
    AddPoint(CGeoCircle(centre, radius).GetPoint(1));
    Complete(1);
}

CGeoNPolygon::CGeoNPolygon(const CGeoNPolygon& src, int withAttribute, int withRecord) : CGeoCircle() {
    Copy(src, withAttribute, withRecord);
}

CGeoNPolygon::~CGeoNPolygon() = default;

void CGeoNPolygon::Serialize(CArchive& ar) {
    CGeoCircle::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_nSides);
    } else {
        LONG sides = 0;
        ar >> sides;
        m_nSides = sides;
    }
}

int CGeoNPolygon::SetSides(int n) {
    const int old = m_nSides;
    if (n != old) {
        m_nSides = n;
        RecalcBounds();
    }
    return old;
}

CGeoObject* CGeoNPolygon::Duplicate(int withAttribute, int withRecord) {
    CGeoNPolygon* copy = new CGeoNPolygon;
    if (!copy->Copy(*this, withAttribute, withRecord)) {
        copy->Remove();
        return nullptr;
    }
    return copy;
}

int CGeoNPolygon::CopyData(const CGeoVectorObject& src) {
    if (!CGeoCircle::CopyData(src)) return 0;
    if (src.IsKindOf(RUNTIME_CLASS(CGeoNPolygon))) m_nSides = static_cast<const CGeoNPolygon&>(src).m_nSides;
    return 1;
}

void CGeoNPolygon::RecalcBounds() {
    // A polygon still being digitised has no vertex yet: its bounds are the centre's point.
    if (m_nSlotCount <= 0) return;
    if (HasVertices())
        m_rcBounds = ::RecalcBounds(m_nSides, m_ptCenter, m_ptRim);
    else
        CGeoCircle::RecalcBounds();
}

int CGeoNPolygon::MakeRing(POINT* out) const {
    if (!HasVertices() || out == nullptr) return 0;
    GetVertex(m_nSides, m_ptCenter, m_ptRim, out);
    out[m_nSides] = out[0];
    return m_nSides;
}

// ---- measures and hit tests ----

int CGeoNPolygon::PointOnLine(POINT point) const {
    const CRect box(ClampLong(static_cast<LONGLONG>(point.x) - 2), ClampLong(static_cast<LONGLONG>(point.y) - 2),
                    ClampLong(static_cast<LONGLONG>(point.x) + 2), ClampLong(static_cast<LONGLONG>(point.y) + 2));
    return Intersects(box, SELOBJ_MEET) ? 0 : -1;
}

int CGeoNPolygon::PointOnLine(POINT point, int tolerance) const {
    const CRect b = GetBounds();
    const LONGLONG t = tolerance;
    if (point.x < b.left - t || point.y < b.top - t || point.x > b.right + t || point.y > b.bottom + t) return -1;
    if (!HasVertices()) return -1;
    std::vector<POINT> ring(static_cast<size_t>(m_nSides) + 1);
    MakeRing(ring.data());
    for (int i = 0; i < m_nSides; ++i)
        if (PointToLine(point, ring[i], ring[i + 1]) < tolerance) return i;
    return -1;
}

int CGeoNPolygon::LineXLine(const CGeoLine&) const { return 0; }

double CGeoNPolygon::Length() const {
    if (!HasVertices()) return 0.0;
    const double n = m_nSides;
    return 2.0 * n * GetRadius() * std::sin(kPi / n);
}

double CGeoNPolygon::Area() const {
    if (!HasVertices()) return 0.0;
    const double n = m_nSides, r = GetRadius();
    return r * r * n / 2.0 * std::sin(2.0 * kPi / n);
}

int CGeoNPolygon::Through(const CRect& rect) const {
    return HasVertices() ? NPlygnXRect(m_nSides, m_ptCenter, m_ptRim, rect) : 0;
}

// ---- handles and names ----

int CGeoNPolygon::CanDeleteHandle(int nHandle) const { return (CanBeEdited() && nHandle == 2 && m_nSides > 3) ? 1 : 0; }

void CGeoNPolygon::DeleteHandle(int nHandle) {
    if (!CanDeleteHandle(nHandle)) return;
    --m_nSides;
    RecalcBounds();
}

int CGeoNPolygon::CanAddHandle(int nHandle) const { return (CanBeEdited() && nHandle == 2) ? 1 : 0; }

void CGeoNPolygon::AddHandle(int nHandle) {
    if (!CanAddHandle(nHandle) || m_nSides == INT_MAX) return;
    ++m_nSides;
    RecalcBounds();
}

CString CGeoNPolygon::GetObjectTypeName() const {
    CString name;
    name.Format("正%d边形", m_nSides);
    if (m_bFace) name += CString("面");
    return name;
}

void CGeoNPolygon::DoRotateCCW(double degrees, CPoint centre) { CGeoCircle::DoRotateCCW(degrees, centre); }

void CGeoNPolygon::Transform(CGeoCoordinateTransformer& transformer, double x0, double y0) {
    CGeoCircle::Transform(transformer, x0, y0);
}

int CGeoNPolygon::GetSnapPointA(CPoint& point, CRect rect, int& nIndex, SNAPTYPE type, LONG lParam) {
    if (!HasVertices()) return 0;
    if (type != SNAP_VERTEX && type != SNAP_MIDPOINT && type != SNAP_PERPENDICULAR && type != SNAP_NEAREST) return 0;
    std::vector<POINT> ring(static_cast<size_t>(m_nSides) + 1);
    MakeRing(ring.data());
    const int n = m_nSides + 1;
    switch (type) {
        case SNAP_VERTEX: return SnapToVertex(ring.data(), n, point, rect, nIndex, lParam) ? 1 : 0;
        case SNAP_MIDPOINT: return SnapToMidPoint(ring.data(), n, point, rect, nIndex, lParam) ? 1 : 0;
        case SNAP_PERPENDICULAR: return SnapToPerPoint(ring.data(), n, point, rect, nIndex, lParam) ? 1 : 0;
        default: return SnapToNearestPoint(ring.data(), n, point, rect, nIndex, lParam) ? 1 : 0;
    }
}

// ---- painters ----

void CGeoNPolygon::OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                           const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                           void* pSymbolLib, int keepColours) {
    const int symbol = ChooseShapeSymbol(pSymbolLib, view);
    LONG result = QUENBY_ERR_ARGUMENT;
    if (symbol != 0 && HasVertices()) {
        const int n = m_nSides + 1;
        CScratchPoints pts(n);
        if (pts.Get()) {
            MakeRing(pts.Get());
            RPtoLP(scale, origin, offset, pts.Get(), pts.Get(), n);
            CSymbolPainting painting(*this, m_SymbolAttrib, static_cast<CSymbolLibIO*>(pSymbolLib), symbol, scale,
                                     scale2, keepColours, ShapeColour(view));
            result = painting.DrawPoly(pDC, pts.Get(), n, pClip, xorMode);
        }
    }
    if (result != QUENBY_OK)
        OnDrawWithoutSymbolization(pDC, scale, scale2, origin, offset, view, pClip, xorMode, nWord8, 1);
}

void CGeoNPolygon::OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                              const GEOVIEW& view, RECT*, int xorMode, int, int scaleWidths) {
    if (!pDC || !pDC->m_hDC || !HasVertices()) return;
    CScratchPoints pts(m_nSides + 1);
    if (!pts.Get()) return;
    CShapePainter painter(pDC);
    PreparePlainPainter(painter, view, scale, scale2, scaleWidths, xorMode, FALSE);
    MakeRing(pts.Get());
    RPtoLP(scale, origin, offset, pts.Get(), pts.Get(), m_nSides);
    ::Polygon(pDC->m_hDC, pts.Get(), m_nSides);
    painter.Restore();
}

int CGeoNPolygon::OnSymbolizeOutput(CSymbolLibIO* pLib, CSymbolOutputer* pOutputer, CCoordsConverter* pConverter,
                                    GEOVIEW* pView) {
    if (!pLib || !pOutputer || !pConverter || !pView || !HasVertices()) return 0;
    const int symbol = pView->GetSymbol(m_bFace ? SYMBOL_FILL : SYMBOL_LINE);
    if (symbol == 0) return 0;
    const int n = m_nSides + 1;
    CScratchPoints pts(n);
    if (!pts.Get()) return 0;
    MakeRing(pts.Get());
    ::ChangeUnit(GetUnit(), 3, pts.Get(), pts.Get(), n, 1.0);
    CSymbolPainting output(*this, m_SymbolAttrib, pLib, symbol, pConverter);
    return output.OutputPoly(pOutputer, pts.Get(), n) == QUENBY_OK ? 1 : 0;
}

// ---- conversions ----

CGeoLine* CGeoNPolygon::ConvertMeTo(WORD code, DWORD flags) const {
    if (!CanConvertTo(code, flags)) return nullptr;
    switch (GetGLTType(code)) {
        case GLT_PLINE:
        case GLT_POLYGONLINE: {
            if (!HasVertices()) return nullptr;
            std::vector<POINT> ring(static_cast<size_t>(m_nSides) + 1);
            MakeRing(ring.data());
            ring[m_nSides] = m_ptRim;  // the stored first vertex closes the polyline
            CGeoLine* line;
            if (GetGLTType(code) == GLT_PLINE) {
                line = new CGeoPLine(m_nSides + 1, ring.data(), 1);
            } else {
                CGeoPolygonLine* polygon = new CGeoPolygonLine(m_nSides, ring.data(), 1);
                polygon->SetFace(m_bFace);
                line = polygon;
            }
            line->SetUnit(GetUnit());
            return line;
        }
        case GLT_CIRCLE: {
            CGeoCircle* circle = new CGeoCircle(m_ptCenter, m_ptRim);
            circle->SetUnit(GetUnit());
            circle->SetFace(m_bFace);
            return circle;
        }
        default: return nullptr;
    }
}
