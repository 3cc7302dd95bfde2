#include "terrain/GeoTinTriangle.h"

#include "core/GeoHelpers.h"
#include "terrain/GeoDrawingParameter.h"
#include "vector/GeoTinPoint.h"
#include "vector/GeoPolygonLine.h"

#include <afx/Dc.h>
#include <caddox/LineShape.h>

#include <algorithm>
#include <cmath>
#include <type_traits>

IMPLEMENT_SERIAL(CGeoTinTriangle, CGeoVectorObject, 0)

namespace {

inline int Next(int i) { return (i + 1) % 3; }
inline int Prev(int i) { return (i + 2) % 3; }

// A body's y seen in the same frame as the vertices' GetY.
inline double BodyY(const CGeoVectorObject* body, int n) {
    const double y = body->GetY(n);
    return CGeoTinPoint::GetMinusY() ? -y : y;
}

}  // namespace

// Strictly anticlockwise p, q, r through GetX / GetY, exactly: 64-bit differences, 128-bit products. A
// determinant in doubles can lose its sign for nearly collinear vertices at large coordinates, and the
// flips must never turn a triangle over.
BOOL TinTurnsAnticlockwise(const CGeoTinPoint* p, const CGeoTinPoint* q, const CGeoTinPoint* r) {
    return TinCcw(p->GetX(), p->GetY(), q->GetX(), q->GetY(), r->GetX(), r->GetY()) ? TRUE : FALSE;
}

namespace {

inline bool Consecutive(int a, int b, int count) {
    if (count <= 0) return false;
    const long long ca = a, cb = b, c = count;
    return (ca + 1) % c == cb || (cb + 1) % c == ca;
}

}  // namespace

// ---- links -------------------------------------------------------------------------------------------

CGeoTinPoint* StGeoPointTriangleIndex::GetLowVertex() const {
    CGeoTinPoint* a = triangle->GetVertex(edge);
    CGeoTinPoint* b = triangle->GetVertex(Next(edge));
    return a < b ? a : b;
}

CGeoTinPoint* StGeoPointTriangleIndex::GetHighVertex() const {
    CGeoTinPoint* a = triangle->GetVertex(edge);
    CGeoTinPoint* b = triangle->GetVertex(Next(edge));
    return a < b ? b : a;
}

CGeoTinPoint* StGeoPointTriangleIndex::GetOppositeVertex() const { return triangle->GetVertex(Prev(edge)); }

void StGeoPointTriangleIndex::Link(const StGeoPointTriangleIndex* other) const {
    // Copies first: other may point into a slot that the first assignment overwrites.
    const StGeoPointTriangleIndex self = *this;
    if (other) {
        const StGeoPointTriangleIndex far = *other;
        self.triangle->SetNeighbor(self.edge, &far);
        far.triangle->SetNeighbor(far.edge, &self);
    } else {
        self.triangle->SetNeighbor(self.edge, nullptr);
    }
}

int CompareTriangleEdges(const StGeoPointTriangleIndex* a, const StGeoPointTriangleIndex* b) {
    const CGeoTinPoint* la = a->GetLowVertex();
    const CGeoTinPoint* lb = b->GetLowVertex();
    if (la != lb) return la < lb ? -1 : 1;
    const CGeoTinPoint* ha = a->GetHighVertex();
    const CGeoTinPoint* hb = b->GetHighVertex();
    if (ha != hb) return ha < hb ? -1 : 1;
    return 0;
}

// ---- free helpers -------------------------------------------------------------------------------------

double MinAngleOfPoints(const CGeoTinPoint* p1, const CGeoTinPoint* p2, const CGeoTinPoint* p3) {
    return TinCosMinAngle(p1->GetX(), p1->GetY(), p2->GetX(), p2->GetY(), p3->GetX(), p3->GetY());
}

namespace {

// The elimination for any n, or for an n known when compiling (std::integral_constant), which lets the
// plane forms of every triangle run unrolled through the very same operations.
template <typename Size>
int Solve(double* rows, double* rhs, double bound, Size n) {
    auto at = [&](int r, int c) -> double& { return rows[r * n + c]; };
    for (int i = 0; i < n - 1; ++i) {
        int pivot = i;
        for (int r = i + 1; r < n; ++r)
            if (std::fabs(at(r, i)) > std::fabs(at(pivot, i))) pivot = r;
        if (!(std::fabs(at(pivot, i)) >= bound)) return 0;
        if (pivot != i) {
            for (int c = 0; c < n; ++c) std::swap(at(pivot, c), at(i, c));
            std::swap(rhs[pivot], rhs[i]);
        }
        const double p = at(i, i);
        for (int c = i; c < n; ++c) at(i, c) /= p;
        rhs[i] /= p;
        for (int r = i + 1; r < n; ++r) {
            const double f = at(r, i);
            for (int c = i; c < n; ++c) at(r, c) -= f * at(i, c);
            rhs[r] -= f * rhs[i];
        }
    }
    rhs[n - 1] /= at(n - 1, n - 1);
    for (int r = n - 2; r >= 0; --r)
        for (int c = r + 1; c < n; ++c) rhs[r] -= at(r, c) * rhs[c];
    return 1;
}

}  // namespace

int SolvePlaneForm(double* rows, double* rhs, double bound, int n) { return Solve(rows, rhs, bound, n); }

// ---- the triangle --------------------------------------------------------------------------------------

CGeoTinTriangle::CGeoTinTriangle() = default;

CGeoTinTriangle::CGeoTinTriangle(CGeoTinPoint* p1, CGeoTinPoint* p2, CGeoTinPoint* p3) { initialize(p1, p2, p3); }

CGeoTinTriangle::~CGeoTinTriangle() = default;

void CGeoTinTriangle::Serialize(CArchive& ar) {
    CGeoVectorObject::Serialize(ar);
    if (ar.IsStoring())
        ar << m_a << m_b << m_c;
    else
        ar >> m_a >> m_b >> m_c;
}

void CGeoTinTriangle::initialize(CGeoTinPoint* p1, CGeoTinPoint* p2, CGeoTinPoint* p3) {
    m_pVertex[0] = p1;
    m_pVertex[1] = p2;
    m_pVertex[2] = p3;
}

void CGeoTinTriangle::initialize(const CGeoTinTriangle& t) { initialize(t.m_pVertex[0], t.m_pVertex[1], t.m_pVertex[2]); }

void CGeoTinTriangle::SetPosition() {
    if (!HasVertices()) return;
    SetPosition(m_pVertex[0]->GetPoint(), m_pVertex[1]->GetPoint(), m_pVertex[2]->GetPoint());
}

void CGeoTinTriangle::SetPosition(const CPoint& a, const CPoint& b, const CPoint& c) {
    m_rcBounds.left = std::min({a.x, b.x, c.x});
    m_rcBounds.right = std::max({a.x, b.x, c.x});
    m_rcBounds.top = std::max({a.y, b.y, c.y});
    m_rcBounds.bottom = std::min({a.y, b.y, c.y});
    BoundsChanged();
}

CRect CGeoTinTriangle::GetBounds() const { return m_rcBounds; }

void CGeoTinTriangle::MakeAnticlockwise() {
    if (!TinTurnsAnticlockwise(m_pVertex[0], m_pVertex[1], m_pVertex[2])) std::swap(m_pVertex[1], m_pVertex[2]);
}

double CGeoTinTriangle::GetCosMinAngle() const { return MinAngleOfPoints(m_pVertex[0], m_pVertex[1], m_pVertex[2]); }

double CGeoTinTriangle::GetMinAngle() const {
    double c = GetCosMinAngle();
    if (c > 1.0) c = 1.0;
    return std::acos(c);
}

double CGeoTinTriangle::GetAngle(int i) const {
    auto sq = [](const CGeoTinPoint* p, const CGeoTinPoint* q) {
        const double dx = static_cast<double>(p->GetX()) - q->GetX();
        const double dy = static_cast<double>(p->GetY()) - q->GetY();
        return dx * dx + dy * dy;
    };
    const CGeoTinPoint* v = m_pVertex[i];
    const double s1 = sq(v, m_pVertex[Prev(i)]);
    const double s2 = sq(v, m_pVertex[Next(i)]);
    const double s3 = sq(m_pVertex[Next(i)], m_pVertex[Prev(i)]);
    double c = (s1 + s2 - s3) / 2.0 / std::sqrt(s1 * s2);
    // 0/0 for a vertex on top of a neighbour: take the angle as 0 rather than NaN.
    if (std::isnan(c)) c = 1.0;
    c = std::max(-1.0, std::min(1.0, c));
    return std::acos(c);
}

BOOL CGeoTinTriangle::IsContinuePoints(int i) const { return m_pVertex[i]->IsNeighborPoint(m_pVertex[Next(i)]); }

BOOL CGeoTinTriangle::IsTypeB() const {
    CGeoVectorObject* body = m_pVertex[0]->GetMainBody();
    if (!body || m_pVertex[1]->GetMainBody() != body || m_pVertex[2]->GetMainBody() != body) return FALSE;
    const long long count = body->GetPoints();
    if (count <= 0) return FALSE;
    for (int i = 0; i < 3; ++i)
        if ((static_cast<long long>(m_pVertex[i]->GetNumber()) + 1) % count != m_pVertex[Next(i)]->GetNumber())
            return FALSE;
    return TRUE;
}

BOOL CGeoTinTriangle::IsTypeA() const {
    CGeoVectorObject* body = m_pVertex[0]->GetMainBody();
    if (m_pVertex[1]->GetMainBody() != body || m_pVertex[2]->GetMainBody() != body) return FALSE;
    return IsTypeB() ? FALSE : TRUE;
}

// ---- flips ---------------------------------------------------------------------------------------------

void CGeoTinTriangle::reconstruct(int a, StGeoPointTriangleIndex* link) {
    CGeoTinTriangle* U = link->triangle;
    const int d = link->edge;
    const int f = Next(a), g = Prev(a), e = Next(d);
    // The outer links, read before anything changes.
    const StGeoPointTriangleIndex nU = U->m_Neighbor[e];
    const StGeoPointTriangleIndex nT = m_Neighbor[f];

    m_pVertex[f] = U->m_pVertex[Prev(d)];
    U->m_pVertex[e] = m_pVertex[g];

    StGeoPointTriangleIndex ta{this, static_cast<unsigned char>(a)};
    StGeoPointTriangleIndex ud{U, static_cast<unsigned char>(d)};
    StGeoPointTriangleIndex tf{this, static_cast<unsigned char>(f)};
    StGeoPointTriangleIndex ue{U, static_cast<unsigned char>(e)};
    ta.Link(nU.triangle ? &nU : nullptr);
    ud.Link(nT.triangle ? &nT : nullptr);
    tf.Link(&ue);
}

BOOL CGeoTinTriangle::CanFlip(int i, const CGeoTinPoint* w) const {
    const CGeoTinPoint* g = m_pVertex[Prev(i)];
    return TinTurnsAnticlockwise(m_pVertex[i], w, g) && TinTurnsAnticlockwise(m_pVertex[Next(i)], g, w);
}

int CGeoTinTriangle::reconstruct(int i, StGeoPointTriangleIndex** out) {
    *out = GetNeighbor(i);
    if (!*out || IsContinuePoints(i)) return 0;
    if (!CanFlip(i, (*out)->GetOppositeVertex())) return 0;
    reconstruct(i, *out);
    *out = &m_Neighbor[Next(i)];
    return 1;
}

int CGeoTinTriangle::reconstruct(int a, int b, StGeoPointTriangleIndex** out) {
    return reconstruct(b == Next(a) ? a : b, out);
}

int CGeoTinTriangle::ReconstructNeighborhood(CGeoTinTriangle* other) {
    StGeoPointTriangleIndex entries[12];
    int n = 0;
    for (int i = 0; i < 3; ++i)
        if (m_Neighbor[i].triangle && m_Neighbor[i].triangle != other) entries[n++] = m_Neighbor[i];
    for (int i = 0; i < 3; ++i) {
        entries[n++] = StGeoPointTriangleIndex{this, static_cast<unsigned char>(i)};
        entries[n++] = StGeoPointTriangleIndex{other, static_cast<unsigned char>(i)};
    }
    for (int i = 0; i < 3; ++i)
        if (other->m_Neighbor[i].triangle && other->m_Neighbor[i].triangle != this)
            entries[n++] = other->m_Neighbor[i];
    if (n < 10)
        for (int i = 0; i < 3; ++i) {
            m_Neighbor[i] = StGeoPointTriangleIndex();
            other->m_Neighbor[i] = StGeoPointTriangleIndex();
        }
    // Insertion sort: at most twelve entries, and equal edges keep their order (which std::sort of so
    // few elements also does, being an insertion sort below sixteen).
    for (int k = 1; k < n; ++k) {
        const StGeoPointTriangleIndex e = entries[k];
        int j = k;
        for (; j > 0 && CompareTriangleEdges(&e, &entries[j - 1]) < 0; --j) entries[j] = entries[j - 1];
        entries[j] = e;
    }
    for (int k = 0; k + 1 < n;) {
        if (CompareTriangleEdges(&entries[k], &entries[k + 1]) == 0) {
            entries[k].Link(&entries[k + 1]);
            k += 2;
        } else {
            ++k;
        }
    }
    return 1;
}

// ---- plane form and elevation --------------------------------------------------------------------------

void CGeoTinTriangle::CreatePlaneForm() {
    double x[3], y[3], z[3];
    for (int i = 0; i < 3; ++i) {
        x[i] = m_pVertex[i]->GetX();
        y[i] = m_pVertex[i]->GetY();
        z[i] = m_pVertex[i]->GetZ();
    }
    CreatePlaneForm(x, y, z);
}

void CGeoTinTriangle::CreatePlaneForm(const double x[3], const double y[3], const double z[3]) {
    double rows[9], rhs[3];
    for (int i = 0; i < 3; ++i) {
        rows[i * 3 + 0] = x[i];
        rows[i * 3 + 1] = y[i];
        rows[i * 3 + 2] = 1.0;
        rhs[i] = z[i];
    }
    if (Solve(rows, rhs, 1e-8, std::integral_constant<int, 3>())) {
        m_a = rhs[0];
        m_b = rhs[1];
        m_c = rhs[2];
    } else {
        AfxMessageBox("Error: Plane form");
        m_a = 0.0;
        m_b = 0.0;
        m_c = z[0];
    }
}

LONG CGeoTinTriangle::GetElevation(int x, int y, double k) const {
    const double v = std::trunc((m_a * x + m_b * y + m_c) / k + 0.5);
    // Saturated: a plane far outside its triangle, or k near 0, must not overflow the conversion.
    if (!(v > -2147483648.0)) return v != v ? 0 : INT32_MIN;
    if (v > 2147483647.0) return INT32_MAX;
    return static_cast<LONG>(v);
}

// ---- segment forcing -----------------------------------------------------------------------------------

int CGeoTinTriangle::CrossCheck(LONG& count) {
    for (int i = 0; i < 3; ++i) {
        const int j = Next(i), k = Prev(i);
        CGeoVectorObject* B = m_pVertex[i]->GetMainBody();
        if (!B) continue;
        const int n = B->GetPoints();
        if (n < 2) continue;
        if (m_pVertex[j]->IsNeighborPoint(m_pVertex[k])) continue;
        const int s = m_pVertex[i]->GetNumber();
        const bool jOnB = m_pVertex[j]->GetMainBody() == B;
        const int nj = m_pVertex[j]->GetNumber();

        int others[3];
        int m = 0;
        if (s == 0 && B->IsKindOf(RUNTIME_CLASS(CGeoPolygonLine))) others[m++] = n - 1;
        if (s > 0 && !(jOnB && nj == s - 1)) others[m++] = s - 1;
        if (s < n - 1 && !(jOnB && nj == s + 1)) others[m++] = s + 1;

        const double ex1 = m_pVertex[j]->GetX(), ey1 = m_pVertex[j]->GetY();
        const double ex2 = m_pVertex[k]->GetX(), ey2 = m_pVertex[k]->GetY();
        const double x1 = m ? B->GetX(s) : 0.0, y1 = m ? BodyY(B, s) : 0.0;
        for (int q = 0; q < m; ++q) {
            const double x2 = B->GetX(others[q]), y2 = BodyY(B, others[q]);
            if (!::CrossPoint(x1, y1, x2, y2, ex1, ey1, ex2, ey2, nullptr, nullptr)) continue;
            StGeoPointTriangleIndex* link = nullptr;
            if (reconstruct(j, &link)) {
                ++count;
                return 1;
            }
            if (link) {
                CGeoTinTriangle* U = link->triangle;
                U->CrossCheck2(x1, y1, x2, y2, link->edge, count);
            }
        }
    }
    return 0;
}

int CGeoTinTriangle::CrossCheck2(double x1, double y1, double x2, double y2, int edge, LONG& count) {
    const int e1 = Next(edge);
    const double ax = m_pVertex[e1]->GetX(), ay = m_pVertex[e1]->GetY();
    const double bx = m_pVertex[Next(e1)]->GetX(), by = m_pVertex[Next(e1)]->GetY();
    const int exit = ::CrossPoint(x1, y1, x2, y2, ax, ay, bx, by, nullptr, nullptr) ? e1 : Prev(edge);
    StGeoPointTriangleIndex* link = nullptr;
    if (reconstruct(exit, &link)) {
        ++count;
        return 1;
    }
    return 0;
}

// ---- terrain checks ------------------------------------------------------------------------------------

namespace {

// Vertex indices of the lowest and highest number: both start at 0; vertex 1, then 2, replaces the lowest
// when strictly smaller, otherwise the highest when strictly larger.
void LowHigh(CGeoTinTriangle* t, int& lo, int& hi) {
    lo = hi = 0;
    for (int v = 1; v < 3; ++v) {
        if (t->GetVertex(v)->GetNumber() < t->GetVertex(lo)->GetNumber())
            lo = v;
        else if (t->GetVertex(v)->GetNumber() > t->GetVertex(hi)->GetNumber())
            hi = v;
    }
}

bool OneBody(CGeoTinTriangle* t) {
    CGeoVectorObject* b = t->GetVertex(0)->GetMainBody();
    return b && t->GetVertex(1)->GetMainBody() == b && t->GetVertex(2)->GetMainBody() == b;
}

}  // namespace

int CGeoTinTriangle::TerrainCheckTypeB(LONG& count) {
    if (!OneBody(this)) return 0;
    int lo, hi;
    LowHigh(this, lo, hi);
    const int nlo = m_pVertex[lo]->GetNumber(), nhi = m_pVertex[hi]->GetNumber();
    const int points = m_pVertex[0]->GetMainBody()->GetPoints();
    StGeoPointTriangleIndex* out = nullptr;
    int flipped;
    if (static_cast<long long>(nhi) - nlo == 2) {
        flipped = reconstruct(lo, hi, &out);
    } else if (nlo == 0 && nhi == points - 1) {
        const int mid = 3 - lo - hi;
        const int m = m_pVertex[mid]->GetNumber();
        if (m == 1)
            flipped = reconstruct(mid, hi, &out);
        else if (m == points - 2)
            flipped = reconstruct(mid, lo, &out);
        else
            return 0;
    } else {
        return 0;
    }
    if (flipped) ++count;
    return 1;
}

int CGeoTinTriangle::TerrainCheckTypeA(LONG& count) {
    if (!OneBody(this)) return 0;
    int lo, hi;
    LowHigh(this, lo, hi);
    StGeoPointTriangleIndex* out = nullptr;
    if (lo != hi && reconstruct(lo, hi, &out)) {
        ++count;
        CGeoTinTriangle* other = out->triangle;
        TerrainCheckTypeB(count);
        other->TerrainCheckTypeB(count);
    }
    return 1;
}

int CGeoTinTriangle::TerrainCheckTypeH(LONG& count) {
    for (int i = 0; i < 3; ++i) {
        CGeoTinPoint* a = m_pVertex[i];
        CGeoTinPoint* b = m_pVertex[Next(i)];
        CGeoVectorObject* body = a->GetMainBody();
        if (!body || b->GetMainBody() != body || m_pVertex[Prev(i)]->GetMainBody() == body) continue;
        if (Consecutive(a->GetNumber(), b->GetNumber(), body->GetPoints())) continue;
        StGeoPointTriangleIndex* link = GetNeighbor(i);
        if (link && link->triangle->IsTypeA()) {
            StGeoPointTriangleIndex* out = nullptr;
            if (reconstruct(i, &out)) ++count;
        }
        return 1;
    }
    return 0;
}

int CGeoTinTriangle::TerrainCheckTypeD(LONG& count) {
    for (int i = 0; i < 3; ++i) {
        CGeoTinPoint* a = m_pVertex[i];
        CGeoTinPoint* b = m_pVertex[Next(i)];
        CGeoVectorObject* body = a->GetMainBody();
        if (!body || b->GetMainBody() != body) continue;
        const int lo = std::min(a->GetNumber(), b->GetNumber());
        const int hi = std::max(a->GetNumber(), b->GetNumber());
        if (static_cast<long long>(hi) - lo == 1) return 0;
        if (lo == 0 && hi == body->GetPoints() - 1) return 0;
        int cand = Next(i);
        if (!GetNeighbor(cand)) {
            cand = Prev(i);
            if (!GetNeighbor(cand)) return 1;
        }
        CGeoTinPoint* w = GetNeighbor(cand)->GetOppositeVertex();
        if (!(w->GetMainBody() == body && w->GetNumber() > lo && w->GetNumber() < hi)) return 1;
        StGeoPointTriangleIndex* out = nullptr;
        if (reconstruct(cand, &out)) {
            ++count;
            CGeoTinTriangle* other = out->triangle;
            TerrainCheckTypeB(count);
            other->TerrainCheckTypeB(count);
        }
        return 1;
    }
    return 0;
}

// ---- drawing -------------------------------------------------------------------------------------------

void CGeoTinTriangle::Draw(CDC* pDC, StGeoDrawingParameter& parameter) {
    if (!pDC || !HasVertices()) return;
    POINT pts[4];
    for (int i = 0; i < 3; ++i) pts[i] = parameter.RPToLP(m_pVertex[i]->GetPoint());
    pts[3] = pts[0];
    if (parameter.IsRasterizing()) {
        const COLORREF colour = static_cast<COLORREF>(m_lSerialNumber);
        CPen pen(PS_SOLID, 1, colour);
        CBrush brush(colour);
        CPen* oldPen = pDC->SelectObject(&pen);
        CBrush* oldBrush = pDC->SelectObject(&brush);
        pDC->Polygon(pts, 3);
        pDC->SelectObject(oldPen);
        pDC->SelectObject(oldBrush);
    } else {
        CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
        CPen* oldPen = pDC->SelectObject(&pen);
        pDC->Polyline(pts, 4);
        pDC->SelectObject(oldPen);
    }
}

void CGeoTinTriangle::OnDrawWithSymbolization(CDC*, UINT, UINT, CPoint, CPoint, const GEOVIEW&, RECT*, int, int, void*,
                                              int) {}

void CGeoTinTriangle::OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT, CPoint origin, CPoint offset,
                                                 const GEOVIEW& view, RECT*, int, int, int) {
    if (!pDC || !HasVertices()) return;
    POINT pts[4];
    for (int i = 0; i < 3; ++i) pts[i] = RPtoLP(scale, origin, offset, m_pVertex[i]->GetPoint());
    pts[3] = pts[0];
    CPen pen(GetLineShape(view.m_nLineShape), static_cast<int>(view.m_fLineWidth), view.m_crLineColor);
    CPen* oldPen = pDC->SelectObject(&pen);
    pDC->Polyline(pts, 4);
    pDC->SelectObject(oldPen);
}
