#include "terrain/GeoTin.h"

#include "core/GeoHelpers.h"
#include "raster/GeoBandData.h"
#include "terrain/GeoDrawingParameter.h"
#include "vector/GeoTinPoint.h"
#include "terrain/GeoTinTriangle.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <new>

IMPLEMENT_SERIAL(CGeoTin, CGeoVectorObject, 0)

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

CGeoTinPoint* CGeoTin::Vertices() const {
    return m_pVertexTable ? reinterpret_cast<CGeoTinPoint*>(m_pVertexTable->GetBuffer()) : nullptr;
}

CGeoTinTriangle* CGeoTin::Triangles() const {
    return m_pTriangleTable ? reinterpret_cast<CGeoTinTriangle*>(m_pTriangleTable->GetBuffer()) : nullptr;
}

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

int CGeoTin::TableIndex(const CGeoTinPoint* p) const {
    const CGeoTinPoint* v = Vertices();
    if (!v || !p || p < v || p >= v + m_nPoints) return -1;
    return static_cast<int>(p - v);
}

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
        const int hashSize = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n))));
        hull->hash.assign(std::max(hashSize, 1), -1);
        for (int i = 0; i < n; ++i) {
            hull->x[i] = v[i].GetX();
            hull->y[i] = v[i].GetY();
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
    if (!t || m_nTriangles <= 0) return;
    // Each entry carries its edge key (the two vertices' table positions, low first), so one sort of
    // plain integers pairs every inner edge.
    struct Entry {
        uint64_t key;
        StGeoPointTriangleIndex link;
    };
    const uint64_t bytes = 3ull * static_cast<uint64_t>(m_nTriangles) * sizeof(Entry);
    if (bytes > 0xFFFFFFFFull) return;
    CGeoBandData scratch;
    if (!scratch.Create(nullptr, nullptr, static_cast<DWORD>(bytes), 0)) return;
    Entry* e = reinterpret_cast<Entry*>(scratch.GetBuffer());
    const size_t count = 3ull * static_cast<size_t>(m_nTriangles);
    for (int k = 0; k < m_nTriangles; ++k)
        for (int i = 0; i < 3; ++i) {
            Entry& en = e[3 * static_cast<size_t>(k) + i];
            en.link.triangle = t + k;
            en.link.edge = static_cast<unsigned char>(i);
            const uint64_t lo = static_cast<uint64_t>(en.link.GetLowVertex() - v);
            const uint64_t hi = static_cast<uint64_t>(en.link.GetHighVertex() - v);
            en.key = lo << 32 | hi;
        }
    std::sort(e, e + count, [](const Entry& a, const Entry& b) { return a.key < b.key; });
    for (size_t k = 0; k + 1 < count;) {
        if (e[k].key == e[k + 1].key) {
            e[k].link.Link(&e[k + 1].link);
            k += 2;
        } else {
            ++k;
        }
    }
}

void CGeoTin::ConvexCheck() {
    CGeoTinTriangle* tab = Triangles();
    if (!tab) return;
    bool swapped = true;
    for (int pass = 0; pass < 20 && swapped; ++pass) {
        swapped = false;
        for (int k = 0; k < m_nTriangles; ++k) {
            CGeoTinTriangle* T = tab + k;
            for (int l = 0; l < 3; ++l) {
                StGeoPointTriangleIndex* link = T->GetNeighbor(l);
                if (!link) continue;
                CGeoTinTriangle* U = link->triangle;
                CGeoTinPoint* w = link->GetOppositeVertex();
                CGeoTinPoint* vl = T->GetVertex(l);
                CGeoTinPoint* vn = T->GetVertex((l + 1) % 3);
                CGeoTinPoint* g = T->GetVertex((l + 2) % 3);
                if (!TinTurnsAnticlockwise(vl, w, g) || !TinTurnsAnticlockwise(vn, g, w)) continue;
                const double m = std::max(T->GetCosMinAngle(), U->GetCosMinAngle());
                if (MinAngleOfPoints(vl, w, g) < m && MinAngleOfPoints(vn, g, w) < m) {
                    T->reconstruct(l, link);
                    swapped = true;
                    break;
                }
            }
        }
    }
}

void CGeoTin::CrossCheck() {
    CGeoTinTriangle* tab = Triangles();
    if (!tab) return;
    LONG counter = 1;
    for (int pass = 0; pass < 10 && counter; ++pass) {
        counter = 0;
        for (int k = 0; k < m_nTriangles; ++k) tab[k].CrossCheck(counter);
    }
}

void CGeoTin::CreatePlaneForm() {
    CGeoTinTriangle* tab = Triangles();
    if (!tab) return;
    for (int k = 0; k < m_nTriangles; ++k) {
        tab[k].CreatePlaneForm();
        tab[k].SetPosition();
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
