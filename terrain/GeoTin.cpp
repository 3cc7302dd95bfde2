#include "terrain/GeoTin.h"

#include "core/GeoHelpers.h"
#include "raster/GeoBandData.h"
#include "terrain/GeoDrawingParameter.h"
#include "vector/GeoPolygonLine.h"
#include "vector/GeoTinPoint.h"
#include "terrain/GeoTinTriangle.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

IMPLEMENT_SERIAL(CGeoTin, CGeoVectorObject, 0)

inline int CGeoTin::TableIndex(const CGeoTinPoint* p) const {
    const CGeoTinPoint* v = Vertices();
    if (!v || !p || p < v || p >= v + m_nPoints) return -1;
    return static_cast<int>(p - v);
}

// ---- the hull during the sweep -------------------------------------------------------------------------
//
// The hull is a circular doubly-linked list of vertex indices, anticlockwise, with a head: the list
// behaves like the pointer list it replaces (removing the head makes the next vertex the head; inserting
// after the tail appends). The sweep needs the first visible edge in list order from the head. Scanning
// from the head every time costs O(n h), which turns quadratic on ring-shaped input, so an angular hash
// of the hull vertices around a point strictly inside the hull (the first triangle's centroid) finds
// some visible edge in about constant time; the visible edges of a convex hull form one contiguous
// chain, so walking back from it (not past the head) gives the same first edge the scan would.
struct CGeoTin::Hull {
    std::vector<int> next, prev;
    std::vector<unsigned char> on;
    std::vector<int64_t> x, y;  // every vertex as seen through GetX / GetY
    std::vector<CPoint> point;  // and through GetPoint, for the triangles' bounds
    std::vector<int> hash;
    int head = -1;
    double cx = 0.0, cy = 0.0;

    // Strictly anticlockwise p, q, r, exactly: 32-bit inputs, 64-bit differences, 128-bit products.
    bool Ccw(int p, int q, int r) const {
        const __int128 a = static_cast<__int128>(x[q] - x[p]) * (y[r] - y[p]);
        const __int128 b = static_cast<__int128>(y[q] - y[p]) * (x[r] - x[p]);
        return a > b;
    }
    // The edge prev -> cur is visible from p: p lies strictly to its right.
    bool Visible(int p, int from, int to) const { return Ccw(p, to, from); }

    int Key(int v) const {
        const double dx = static_cast<double>(x[v]) - cx, dy = static_cast<double>(y[v]) - cy;
        const double s = std::fabs(dx) + std::fabs(dy);
        double a = 0.0;  // a pseudo-angle in [0, 4) that grows anticlockwise
        if (s > 0.0) a = dy >= 0.0 ? 1.0 - dx / s : 3.0 + dx / s;
        int k = static_cast<int>(a / 4.0 * static_cast<double>(hash.size()));
        if (k < 0) k = 0;
        if (k >= static_cast<int>(hash.size())) k = static_cast<int>(hash.size()) - 1;
        return k;
    }
    void Hash(int v) { hash[Key(v)] = v; }

    void InsertAfter(int after, int v) {
        const int n = next[after];
        next[after] = v;
        prev[v] = after;
        next[v] = n;
        prev[n] = v;
        on[v] = 1;
        Hash(v);
    }
    void Remove(int v) {
        next[prev[v]] = next[v];
        prev[next[v]] = prev[v];
        if (head == v) head = next[v];
        on[v] = 0;
    }

    // The first visible edge (from, next[from]) in list order from the head; -1 when p sees none.
    int FirstVisible(int p) const {
        const int size = static_cast<int>(hash.size());
        const int key = Key(p);
        int start = -1;
        for (int j = 0; j < size; ++j) {
            const int v = hash[(key - j + size) % size];
            if (v >= 0 && on[v]) {
                start = j == 0 ? prev[v] : v;
                break;
            }
        }
        if (start < 0) start = head;
        int e = start;
        while (!Visible(p, e, next[e])) {
            e = next[e];
            if (e == start) return -1;
        }
        // The chain runs over the head: the head's edge comes first in list order.
        const int tail = prev[head];
        if (Visible(p, tail, head) && Visible(p, head, next[head])) return head;
        while (e != head && Visible(p, prev[e], e)) e = prev[e];
        return e;
    }
};

void CGeoTin::HullDeleter::operator()(Hull* hull) const { delete hull; }

// ---- tables ---------------------------------------------------------------------------------------------

CGeoTin::CGeoTin() = default;

CGeoTin::~CGeoTin()
{
    Release();
    // The helper lines named by the vertices go only after the vertices themselves.
    ReleaseHelpers();
}

void CGeoTin::ReleaseHelpers()
{
    while (!m_Helpers.IsEmpty()) delete m_Helpers.RemoveHead();
}

void CGeoTin::Serialize(CArchive&) {}

CGeoTinPoint* CGeoTin::GetTinPoint(int i) const {
    CGeoTinPoint* v = Vertices();
    return v && i >= 0 && i < m_nPoints ? v + i : nullptr;
}

CGeoTinTriangle* CGeoTin::GetTriangle(LONG serial) const {
    CGeoTinTriangle* t = Triangles();
    return t && serial >= 1 && serial <= m_nTriangles ? t + (serial - 1) : nullptr;
}

void CGeoTin::Release() {
    m_pHull.reset();
    if (CGeoTinTriangle* t = Triangles())
        for (int k = 0; k < m_nTriangles; ++k) t[k].~CGeoTinTriangle();
    delete m_pTriangleTable;
    delete m_pVertexTable;
    m_pTriangleTable = nullptr;
    m_pVertexTable = nullptr;
    m_nTriangles = 0;
    m_nPoints = 0;
}

BOOL CGeoTin::AllocateTables(int n) {
    Release();
    if (n <= 0) return FALSE;
    const uint64_t vbytes = static_cast<uint64_t>(n) * sizeof(CGeoTinPoint);
    const uint64_t tbytes = 2ull * static_cast<uint64_t>(n) * sizeof(CGeoTinTriangle);
    if (vbytes > 0xFFFFFFFFull || tbytes > 0xFFFFFFFFull) return FALSE;
    auto* vt = new (std::nothrow) CGeoBandData();
    auto* tt = new (std::nothrow) CGeoBandData();
    if (!vt || !tt || !vt->Create(nullptr, nullptr, static_cast<DWORD>(vbytes), 0) ||
        !tt->Create(nullptr, nullptr, static_cast<DWORD>(tbytes), 0)) {
        delete vt;
        delete tt;
        return FALSE;
    }
    m_pVertexTable = vt;
    m_pTriangleTable = tt;
    // The records are plain data; give each a defined state before the bodies fill them.
    CGeoTinPoint* v = Vertices();
    for (int i = 0; i < n; ++i) new (v + i) CGeoTinPoint();
    m_nPoints = n;
    return TRUE;
}

void CGeoTin::AddTinTriangle(CGeoTinPoint* p1, CGeoTinPoint* p2, CGeoTinPoint* p3) {
    CGeoTinTriangle* t = new (Triangles() + m_nTriangles) CGeoTinTriangle(p1, p2, p3);
    ++m_nTriangles;
    t->SetSerialNumber(m_nTriangles);
    // During a sweep the hull holds every vertex's point, read once.
    const int a = m_pHull ? TableIndex(p1) : -1, b = m_pHull ? TableIndex(p2) : -1, c = m_pHull ? TableIndex(p3) : -1;
    if (a >= 0 && b >= 0 && c >= 0)
        t->SetPosition(m_pHull->point[a], m_pHull->point[b], m_pHull->point[c]);
    else
        t->SetPosition();
    // A triangle's bounds keep top >= bottom and so count as empty here: the TIN's bounds do not grow
    // (and empty bounds come out all zero).
    CRect r = t->GetPosition();
    m_rcBounds.UnionRect(&m_rcBounds, &r);
}

// ---- the sweep ------------------------------------------------------------------------------------------

// A hull position is the vertex's table index + 1, so that no vertex gives the NULL position.
static POSITION HullPosition(int index) { return reinterpret_cast<POSITION>(static_cast<intptr_t>(index) + 1); }
static int HullIndex(POSITION pos) { return static_cast<int>(reinterpret_cast<intptr_t>(pos) - 1); }

BOOL CGeoTin::StartHull() {
    m_pHull.reset();
    CGeoTinPoint* v = Vertices();
    const int n = m_nPoints;
    if (!v || n <= 0) return FALSE;
    try {
        std::unique_ptr<Hull, HullDeleter> hull(new Hull);
        hull->next.assign(n, -1);
        hull->prev.assign(n, -1);
        hull->on.assign(n, 0);
        hull->x.resize(n);
        hull->y.resize(n);
        hull->point.resize(n);
        const int hashSize = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n))));
        hull->hash.assign(std::max(hashSize, 1), -1);
        for (int i = 0; i < n; ++i) {
            hull->x[i] = v[i].GetX();
            hull->y[i] = v[i].GetY();
            hull->point[i] = v[i].GetPoint();
        }
        m_pHull = std::move(hull);
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
    return TRUE;
}

void CGeoTin::OpenHull(int a, int b, int c) {
    Hull& hull = *m_pHull;
    CGeoTinPoint* v = Vertices();
    AddTinTriangle(v + a, v + b, v + c);
    CGeoTinTriangle* t = Triangles() + (m_nTriangles - 1);
    t->MakeAnticlockwise();
    int h[3];
    for (int k = 0; k < 3; ++k) h[k] = static_cast<int>(t->GetVertex(k) - v);
    hull.head = h[0];
    for (int k = 0; k < 3; ++k) {
        hull.next[h[k]] = h[(k + 1) % 3];
        hull.prev[h[k]] = h[(k + 2) % 3];
        hull.on[h[k]] = 1;
    }
    hull.cx = (static_cast<double>(hull.x[h[0]]) + hull.x[h[1]] + hull.x[h[2]]) / 3.0;
    hull.cy = (static_cast<double>(hull.y[h[0]]) + hull.y[h[1]] + hull.y[h[2]]) / 3.0;
    for (int k = 0; k < 3; ++k) hull.Hash(h[k]);
}

BOOL CGeoTin::Triangulate() {
    CGeoTinPoint* v = Vertices();
    const int n = m_nPoints;
    if (!v || n <= 0) return FALSE;
    // Equal distances keep their table order, so a build is repeatable.
    std::stable_sort(v, v + n, [](const CGeoTinPoint& a, const CGeoTinPoint& b) {
        return a.GetDistance() < b.GetDistance();
    });
    if (!StartHull()) return FALSE;

    // The pending list is the sorted table itself: the first triangle takes its vertices from the front,
    // and every later one is extended in table order.
    const int a = 0;
    int i = 1;
    while (i < n) {
        double A, B, C;
        if (!GetLineCoefficients(v[a].GetX(), v[a].GetY(), v[i].GetX(), v[i].GetY(), &A, &B, &C)) {
            ++i;  // lies on the nearest vertex: dropped
            continue;
        }
        const int p = i++;
        int q = -1;
        for (int j = i; j < n; ++j)
            if (A * v[j].GetX() + B * v[j].GetY() + C != 0.0) {
                q = j;
                break;
            }
        if (q < 0) break;  // every remaining vertex lies on one line
        OpenHull(a, p, q);
        for (int j = i; j < n; ++j)
            if (j != q) ExtendIndex(j);
        m_pHull.reset();
        return TRUE;
    }
    m_pHull.reset();
    return FALSE;
}

BOOL CGeoTin::CreateTheFirstTriangle(CTypedPtrList<CPtrList, CGeoTinPoint*>& pending) {
    if (pending.IsEmpty()) return FALSE;
    if (!StartHull()) return FALSE;
    CGeoTinPoint* a = pending.RemoveHead();
    while (!pending.IsEmpty()) {
        CGeoTinPoint* head = pending.GetHead();
        double A, B, C;
        if (!GetLineCoefficients(a->GetX(), a->GetY(), head->GetX(), head->GetY(), &A, &B, &C)) {
            pending.RemoveHead();  // lies on a: dropped
            continue;
        }
        CGeoTinPoint* p = pending.RemoveHead();
        POSITION qpos = pending.GetHeadPosition();
        while (qpos) {
            CGeoTinPoint* q = pending.GetAt(qpos);
            if (A * q->GetX() + B * q->GetY() + C != 0.0) break;
            pending.GetNext(qpos);
        }
        if (!qpos) return FALSE;
        CGeoTinPoint* q = pending.GetAt(qpos);
        const int ia = TableIndex(a), ip = TableIndex(p), iq = TableIndex(q);
        // The hull works on table positions: records from elsewhere cannot join this TIN.
        if (ia < 0 || ip < 0 || iq < 0) return FALSE;
        OpenHull(ia, ip, iq);
        pending.RemoveAt(qpos);
        return TRUE;
    }
    return FALSE;
}

POSITION CGeoTin::InsertBoundaryVertex(CGeoTinPoint* p) {
    const int ip = TableIndex(p);
    if (!m_pHull || m_pHull->head < 0 || ip < 0 || m_pHull->on[ip]) return nullptr;
    Hull& hull = *m_pHull;
    const int prev = hull.FirstVisible(ip);
    if (prev < 0) return nullptr;
    const int cur = hull.next[prev];
    CGeoTinPoint* v = Vertices();
    AddTinTriangle(v + ip, v + cur, v + prev);
    hull.InsertAfter(prev, ip);
    return HullPosition(prev);
}

void CGeoTin::ExtendNext(POSITION, CGeoTinPoint* p) {
    const int ip = TableIndex(p);
    if (!m_pHull || ip < 0 || !m_pHull->on[ip]) return;
    Hull& hull = *m_pHull;
    CGeoTinPoint* v = Vertices();
    int a = hull.next[ip], b = hull.next[a];
    while (b != ip && hull.Ccw(ip, b, a)) {
        AddTinTriangle(v + ip, v + b, v + a);
        hull.Remove(a);
        a = b;
        b = hull.next[a];
    }
    hull.Hash(a);
}

void CGeoTin::ExtendPrev(POSITION pos, CGeoTinPoint* p) {
    const int ip = TableIndex(p);
    const int ic = HullIndex(pos);
    if (!m_pHull || ip < 0 || ic < 0 || ic >= m_nPoints || !m_pHull->on[ip] || !m_pHull->on[ic]) return;
    Hull& hull = *m_pHull;
    CGeoTinPoint* v = Vertices();
    int c = ic, d = hull.prev[c];
    while (d != ip && hull.Ccw(ip, c, d)) {
        AddTinTriangle(v + ip, v + c, v + d);
        hull.Remove(c);
        c = d;
        d = hull.prev[c];
    }
    hull.Hash(c);
}

void CGeoTin::Extend(CGeoTinPoint* p) {
    const int ip = TableIndex(p);
    if (m_pHull && ip >= 0) ExtendIndex(ip);
}

void CGeoTin::ExtendIndex(int ip) {
    CGeoTinPoint* p = Vertices() + ip;
    POSITION pos = InsertBoundaryVertex(p);
    if (!pos) return;
    // Only when the insertion was at the head can the visible chain continue backwards past it.
    const bool atHead = HullIndex(pos) == m_pHull->head;
    ExtendNext(pos, p);
    if (atHead) ExtendPrev(pos, p);
}

int CGeoTin::GetBoundary(CTypedPtrList<CPtrList, CGeoTinPoint*>& out) const {
    out.RemoveAll();
    if (!m_pHull || m_pHull->head < 0) return 0;
    CGeoTinPoint* v = Vertices();
    int e = m_pHull->head, count = 0;
    do {
        out.AddTail(v + e);
        ++count;
        e = m_pHull->next[e];
    } while (e != m_pHull->head);
    return count;
}

// ---- links, swaps, forcing, planes -----------------------------------------------------------------------

void CGeoTin::CreateNeighborhood() {
    CGeoTinTriangle* t = Triangles();
    CGeoTinPoint* v = Vertices();
    if (!t || !v || m_nTriangles <= 0 || m_nPoints <= 0) return;
    // The entries (triangle, edge) sorted by their edge's lower vertex (a counting sort: the vertices are
    // table positions) and, among those, by the higher one; equal keys keep their table order. Each
    // entry is 4 * triangle + edge.
    const size_t count = 3ull * static_cast<size_t>(m_nTriangles);
    std::vector<uint32_t> start, high, entry;
    try {
        start.assign(static_cast<size_t>(m_nPoints) + 1, 0);
        high.resize(count);
        entry.resize(count);
    } catch (const std::bad_alloc&) {
        return;
    }
    // The triangles' vertices as table positions, read from the large triangle objects once.
    std::vector<uint32_t> corner;
    try {
        corner.resize(count);
    } catch (const std::bad_alloc&) {
        return;
    }
    for (int k = 0; k < m_nTriangles; ++k)
        for (int i = 0; i < 3; ++i) corner[3 * static_cast<size_t>(k) + i] = static_cast<uint32_t>(t[k].GetVertex(i) - v);
    // Edge i of triangle k runs from corner i to corner i + 1; the lower table position is its low end.
    auto ends = [&](int k, int i, uint32_t& lo, uint32_t& hi) {
        const uint32_t a = corner[3 * static_cast<size_t>(k) + i], b = corner[3 * static_cast<size_t>(k) + (i + 1) % 3];
        lo = std::min(a, b);
        hi = std::max(a, b);
    };
    for (int k = 0; k < m_nTriangles; ++k)
        for (int i = 0; i < 3; ++i) {
            uint32_t lo, hi;
            ends(k, i, lo, hi);
            ++start[lo + 1];
        }
    for (int p = 0; p < m_nPoints; ++p) start[p + 1] += start[p];
    {
        std::vector<uint32_t> fill(start.begin(), start.end() - 1);
        for (int k = 0; k < m_nTriangles; ++k)
            for (int i = 0; i < 3; ++i) {
                uint32_t lo, hi;
                ends(k, i, lo, hi);
                const uint32_t at = fill[lo]++;
                high[at] = hi;
                entry[at] = static_cast<uint32_t>(k) * 4 + static_cast<uint32_t>(i);
            }
    }
    // The pairs found, as links per slot; written to the triangles in table order afterwards, which
    // touches the large triangle objects one after another instead of two at random per pair.
    std::vector<int32_t> slots;
    try {
        slots.assign(count, -1);
    } catch (const std::bad_alloc&) {
        return;
    }
    for (int p = 0; p < m_nPoints; ++p) {
        const uint32_t b = start[p], e = start[p + 1];
        // A vertex starts a handful of edges: an insertion sort, stable.
        for (uint32_t a = b + 1; a < e; ++a) {
            const uint32_t h = high[a], en = entry[a];
            uint32_t j = a;
            for (; j > b && high[j - 1] > h; --j) {
                high[j] = high[j - 1];
                entry[j] = entry[j - 1];
            }
            high[j] = h;
            entry[j] = en;
        }
        for (uint32_t a = b; a + 1 < e;) {
            if (high[a] == high[a + 1]) {
                const uint32_t x = entry[a], y = entry[a + 1];
                slots[3 * (x / 4) + x % 4] = static_cast<int32_t>(y);
                slots[3 * (y / 4) + y % 4] = static_cast<int32_t>(x);
                a += 2;
            } else {
                ++a;
            }
        }
    }
    for (int k = 0; k < m_nTriangles; ++k)
        for (int i = 0; i < 3; ++i) {
            const int32_t far = slots[3 * static_cast<size_t>(k) + i];
            if (far < 0) continue;
            const StGeoPointTriangleIndex l{t + far / 4, static_cast<unsigned char>(far % 4)};
            t[k].SetNeighbor(i, &l);
        }
}

// The swap passes work on a compact copy of the triangles (vertex indices, neighbour slots, the cosine of
// each smallest angle) and of the vertices' coordinates, and write the triangles they changed back at the
// end: the triangle objects are large and their vertices are read through virtual calls. A pass tests
// only the edges whose test may have changed since it last failed (an edge fails again until its
// triangle or the triangle across it is flipped), which gives the same swaps in the same order as
// testing every edge of every triangle.
void CGeoTin::ConvexCheck() {
    CGeoTinTriangle* tab = Triangles();
    CGeoTinPoint* v = Vertices();
    if (!tab || !v || m_nTriangles <= 0) return;
    const int nt = m_nTriangles;
    // A triangle carries its vertices' coordinates, so that testing an edge reads the triangle across
    // it and nothing else at random: one cache line each.
    struct alignas(64) Tri {
        int32_t v[3];  // vertex table positions
        int32_t n[3];  // links: 4 * triangle + edge, -1 none
        int32_t x[3], y[3];
        double cosMin;
    };
    // Left uninitialised: the copy below fills every triangle before anything reads it.
    std::unique_ptr<Tri[]> tri;
    struct XY {
        int32_t x, y;
    };
    std::vector<XY> xy;
    std::vector<unsigned char> dirty, seen;  // dirty: one bit per edge still to test, bit 3 = written back
    try {
        tri.reset(new Tri[nt]);
        dirty.assign(nt, 7);
        xy.resize(m_nPoints);
        seen.assign(m_nPoints, 0);
    } catch (const std::bad_alloc&) {
        return;
    }
    for (int k = 0; k < nt; ++k) {
        Tri& t = tri[k];
        for (int i = 0; i < 3; ++i) {
            const int32_t at = static_cast<int32_t>(tab[k].GetVertex(i) - v);
            t.v[i] = at;
            seen[at] = 1;
            StGeoPointTriangleIndex* link = tab[k].GetNeighbor(i);
            t.n[i] = link ? static_cast<int32_t>(link->triangle - tab) * 4 + link->edge : -1;
        }
    }
    // The vertices in table order: their records are read one after another, not at random.
    for (int i = 0; i < m_nPoints; ++i)
        if (seen[i]) {
            xy[i].x = v[i].GetX();
            xy[i].y = v[i].GetY();
        }
    for (int k = 0; k < nt; ++k) {
        Tri& t = tri[k];
        for (int i = 0; i < 3; ++i) {
            t.x[i] = xy[t.v[i]].x;
            t.y[i] = xy[t.v[i]].y;
        }
        t.cosMin = TinCosMinAngle(t.x[0], t.y[0], t.x[1], t.y[1], t.x[2], t.y[2]);
    }
    const unsigned char kWrite = 8;
    static const int kNext[3] = {1, 2, 0}, kPrev[3] = {2, 0, 1};  // (i + 1) mod 3, (i + 2) mod 3

    bool swapped = true;
    for (int pass = 0; pass < 20 && swapped; ++pass) {
        swapped = false;
        for (int k = 0; k < nt; ++k) {
            // The triangles across the edges of a triangle soon to be tested are fetched ahead: they lie
            // anywhere in the table.
            if (k + 16 < nt && (dirty[k + 16] & 7))
                for (int i = 0; i < 3; ++i)
                    if (tri[k + 16].n[i] >= 0) __builtin_prefetch(&tri[tri[k + 16].n[i] >> 2]);
            const unsigned char edges = dirty[k] & 7;
            if (!edges) continue;
            dirty[k] &= kWrite;
            Tri& T = tri[k];
            for (int l = 0; l < 3; ++l) {
                const int nb = T.n[l];
                if (nb < 0 || !(edges >> l & 1)) continue;
                const int u = nb >> 2, d = nb & 3;
                Tri& U = tri[u];
                const int o = kPrev[d];
                const int w = U.v[o];
                const int f = kNext[l], g = kPrev[l];
                const int vg = T.v[g];
                const long long xl = T.x[l], yl = T.y[l], xn = T.x[f], yn = T.y[f], xg = T.x[g], yg = T.y[g];
                const long long xw = U.x[o], yw = U.y[o];
                // Seen from U the same edge makes the same two tests on the same quadrilateral (its
                // vertices and both cosines trade places; the larger cosine is the same unless one is
                // NaN), so an edge that fails here fails there too until a flip marks it again.
                const unsigned char twin = static_cast<unsigned char>(~(1 << d));
                if (!TinCcw(xl, yl, xw, yw, xg, yg) || !TinCcw(xn, yn, xg, yg, xw, yw)) {
                    dirty[u] &= twin;
                    continue;
                }
                const double m = std::max(T.cosMin, U.cosMin);
                const bool symmetric = !std::isnan(T.cosMin) && !std::isnan(U.cosMin);
                // Both cosines at once: their square roots and divisions overlap, and the outcome of the
                // first comparison is hard to foresee.
                const double cosT = TinCosMinAngle(xl, yl, xw, yw, xg, yg);
                const double cosU = TinCosMinAngle(xn, yn, xg, yg, xw, yw);
                if (!(cosT < m) || !(cosU < m)) {
                    if (symmetric) dirty[u] &= twin;
                    continue;
                }
                // The flip of CGeoTinTriangle::reconstruct (l, link), links set as Link sets them.
                const int e = kNext[d];
                const int nU = U.n[e], nT = T.n[f];
                T.v[f] = w;
                T.x[f] = static_cast<int32_t>(xw);
                T.y[f] = static_cast<int32_t>(yw);
                U.v[e] = vg;
                U.x[e] = static_cast<int32_t>(xg);
                U.y[e] = static_cast<int32_t>(yg);
                T.n[l] = nU;
                if (nU >= 0) tri[nU >> 2].n[nU & 3] = k * 4 + l;
                U.n[d] = nT;
                if (nT >= 0) tri[nT >> 2].n[nT & 3] = u * 4 + d;
                T.n[f] = u * 4 + e;
                U.n[e] = k * 4 + f;
                // The new triangles are (vl, w, vg) and (vn, vg, w) turned round, and the smallest angle's
                // cosine does not depend on which vertex comes first.
                T.cosMin = cosT;
                U.cosMin = cosU;
                for (int t : {k, u}) {
                    dirty[t] = 7 | kWrite;
                    for (int i = 0; i < 3; ++i) {
                        const int o = tri[t].n[i];
                        if (o >= 0) dirty[o >> 2] |= static_cast<unsigned char>(1 << (o & 3)) | kWrite;
                    }
                }
                // The new diagonal would not flip back: its test puts the old pair against the new one,
                // whose larger cosine is below the old pair's larger one (neither new cosine is NaN, as
                // both compared below m), so it would fail and only clear its twin. Neither side is
                // marked; a later flip of T or U marks all their edges again.
                dirty[k] &= static_cast<unsigned char>(~(1 << f));
                dirty[u] &= static_cast<unsigned char>(~(1 << e));
                swapped = true;
                break;
            }
        }
    }

    for (int k = 0; k < nt; ++k) {
        if (!(dirty[k] & kWrite)) continue;
        for (int i = 0; i < 3; ++i) {
            tab[k].SetVertex(v + tri[k].v[i], i);
            const int nb = tri[k].n[i];
            if (nb < 0) {
                tab[k].SetNeighbor(i, nullptr);
            } else {
                const StGeoPointTriangleIndex l{tab + (nb >> 2), static_cast<unsigned char>(nb & 3)};
                tab[k].SetNeighbor(i, &l);
            }
        }
    }
}

void CGeoTin::CrossCheck() {
    CGeoTinTriangle* tab = Triangles();
    if (!tab) return;
    // Only vertices of bodies with segments (two points or more) can force anything: without any, every
    // triangle would pass over all of its vertices, so the pass is left out.
    bool segments = false;
    const CGeoVectorObject* last = nullptr;
    for (int i = 0; i < m_nPoints && !segments; ++i) {
        CGeoVectorObject* body = GetTinPoint(i)->GetMainBody();
        if (!body || body == last) continue;
        last = body;
        segments = body->GetPoints() >= 2;
    }
    if (!segments) return;
    // A triangle's CrossCheck changes nothing until one of its segments crosses the edge across from its
    // vertex; most never do. That test runs here first on what every vertex says of itself and of its
    // body's points on either side, read once in table order (none of it changes while edges flip), and
    // only a triangle where a segment crosses runs its CrossCheck, which makes the same tests again and
    // acts on them.
    struct Seg {
        CGeoVectorObject* body;  // NULL: the vertex starts no segment
        int number, points;      // its number; GetPoints of its body
        double vx, vy;           // GetX, GetY
        double x, y;             // its body's point, y negated as a body's y is when the flag is set
        double ox[3], oy[3];     // the body's points n - 1 (a polygon line's first point only), s - 1, s + 1
        bool has[3];
    };
    std::vector<Seg> seg;
    try {
        seg.resize(m_nPoints);
    } catch (const std::bad_alloc&) {
        seg.clear();
    }
    CGeoTinPoint* v = Vertices();
    const bool minus = CGeoTinPoint::GetMinusY() != 0;
    auto bodyY = [minus](const CGeoVectorObject* b, int i) {
        const double y = b->GetY(i);
        return minus ? -y : y;
    };
    for (size_t i = 0; i < seg.size(); ++i) {
        Seg& g = seg[i];
        CGeoTinPoint& p = v[i];
        g.body = p.GetMainBody();
        g.number = p.GetNumber();
        g.points = g.body ? g.body->GetPoints() : 0;
        g.vx = g.body ? p.GetX() : 0.0;
        g.vy = g.body ? p.GetY() : 0.0;
        g.has[0] = g.has[1] = g.has[2] = false;
        if (!g.body || g.points < 2) continue;  // body and number still serve the neighbour test
        const int s = g.number, n = g.points;
        g.x = g.body->GetX(s);
        g.y = bodyY(g.body, s);
        const int other[3] = {n - 1, s - 1, s + 1};
        g.has[0] = s == 0 && g.body->IsKindOf(RUNTIME_CLASS(CGeoPolygonLine));
        g.has[1] = s > 0;
        g.has[2] = s < n - 1;
        for (int q = 0; q < 3; ++q)
            if (g.has[q]) {
                g.ox[q] = g.body->GetX(other[q]);
                g.oy[q] = bodyY(g.body, other[q]);
            }
    }
    // Whether CGeoTinTriangle::CrossCheck would find a segment crossing: its tests, in its order.
    auto crosses = [&](const CGeoTinTriangle& t) {
        int at[3];
        for (int i = 0; i < 3; ++i) {
            at[i] = TableIndex(t.GetVertex(i));
            if (at[i] < 0) return true;  // not a record of the table: let the triangle see for itself
        }
        for (int i = 0; i < 3; ++i) {
            const Seg& a = seg[at[i]];
            if (!a.body || a.points < 2) continue;
            const Seg& b = seg[at[(i + 1) % 3]];
            const Seg& c = seg[at[(i + 2) % 3]];
            // CGeoTinPoint::IsNeighborPoint of the vertices across from this one.
            if (b.body && b.body == c.body && b.points > 0) {
                const long long count = b.points, nb = b.number, nc = c.number;
                if ((nb + 1) % count == nc || (nc + 1) % count == nb) continue;
            }
            const int s = a.number;
            const bool jOnB = b.body == a.body;
            for (int q = 0; q < 3; ++q) {
                if (!a.has[q]) continue;
                if (q == 1 && jOnB && b.number == s - 1) continue;
                if (q == 2 && jOnB && b.number == s + 1) continue;
                if (::CrossPoint(a.x, a.y, a.ox[q], a.oy[q], b.vx, b.vy, c.vx, c.vy, nullptr, nullptr)) return true;
            }
        }
        return false;
    };
    LONG counter = 1;
    for (int pass = 0; pass < 10 && counter; ++pass) {
        counter = 0;
        for (int k = 0; k < m_nTriangles; ++k)
            if (seg.empty() || crosses(tab[k])) tab[k].CrossCheck(counter);
    }
}

void CGeoTin::CreatePlaneForm() {
    CGeoTinTriangle* tab = Triangles();
    if (!tab) return;
    // Every vertex is read once, not once per triangle around it: its coordinates, height and point
    // come through virtual calls of its body.
    struct Seen {
        double x, y, z;
        CPoint point;
    };
    CGeoTinPoint* v = Vertices();
    std::vector<Seen> seen;
    std::vector<unsigned char> read;
    std::vector<int32_t> corner;  // the vertices' table positions, 3 a triangle; -1 when not all are records
    try {
        seen.resize(m_nPoints);
        read.assign(m_nPoints, 0);
        corner.resize(3 * static_cast<size_t>(m_nTriangles));
    } catch (const std::bad_alloc&) {
        for (int k = 0; k < m_nTriangles; ++k) {
            tab[k].CreatePlaneForm();
            tab[k].SetPosition();
        }
        return;
    }
    for (int k = 0; k < m_nTriangles; ++k) {
        const CGeoTinTriangle& t = tab[k];
        int32_t* at = &corner[3 * static_cast<size_t>(k)];
        bool all = t.HasVertices();
        for (int i = 0; i < 3 && all; ++i) {
            at[i] = TableIndex(t.GetVertex(i));
            all = at[i] >= 0;
        }
        if (!all) {
            at[0] = -1;
            continue;
        }
        for (int i = 0; i < 3; ++i) read[at[i]] = 1;
    }
    // The vertices in table order: their records are read one after another, not at random.
    for (int i = 0; i < m_nPoints; ++i) {
        if (!read[i]) continue;
        const CGeoTinPoint& p = v[i];
        seen[i].x = p.GetX();
        seen[i].y = p.GetY();
        seen[i].z = p.GetZ();
        seen[i].point = p.GetPoint();
    }
    for (int k = 0; k < m_nTriangles; ++k) {
        CGeoTinTriangle& t = tab[k];
        const int32_t* at = &corner[3 * static_cast<size_t>(k)];
        if (at[0] < 0) {
            t.CreatePlaneForm();
            t.SetPosition();
            continue;
        }
        double x[3], y[3], z[3];
        for (int i = 0; i < 3; ++i) {
            x[i] = seen[at[i]].x;
            y[i] = seen[at[i]].y;
            z[i] = seen[at[i]].z;
        }
        t.CreatePlaneForm(x, y, z);
        t.SetPosition(seen[at[0]].point, seen[at[1]].point, seen[at[2]].point);
    }
}

// ---- drawing --------------------------------------------------------------------------------------------

void CGeoTin::Draw(CDC* pDC, StGeoDrawingParameter& parameter) {
    CGeoTinTriangle* tab = Triangles();
    if (!tab) return;
    for (int k = 0; k < m_nTriangles; ++k) tab[k].Draw(pDC, parameter);
}

void CGeoTin::OnDrawWithSymbolization(CDC*, UINT, UINT, CPoint, CPoint, const GEOVIEW&, RECT*, int, int, void*, int) {}

void CGeoTin::OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                         const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8, int scaleWidths) {
    CGeoTinTriangle* tab = Triangles();
    if (!tab) return;
    for (int k = m_nTriangles - 1; k >= 0; --k)
        tab[k].OnDrawWithoutSymbolization(pDC, scale, scale2, origin, offset, view, pClip, xorMode, nWord8,
                                          scaleWidths);
}
