#include "vector/PolygonXPolygon.h"

#include "vector/GeoPolygonLine.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <utility>
#include <vector>

IMPLEMENT_DYNCREATE(CPolygonXPolygon, CObject)

namespace {

typedef __int128 Wide;
typedef std::int64_t Long;

const double kTwoPi = 6.2831852;

bool Same(POINT a, POINT b) { return a.x == b.x && a.y == b.y; }
bool Less(POINT a, POINT b) { return a.x < b.x || (a.x == b.x && a.y < b.y); }
// A number that orders points as Less does.
std::uint64_t Key(POINT p) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(p.x) ^ 0x80000000u) << 32) |
           (static_cast<std::uint32_t>(p.y) ^ 0x80000000u);
}

// floor(v + 0.5), saturated to 32 bits.
LONG Nearest(double v) {
    const double t = std::floor(v + 0.5);
    if (!(t > -2147483648.0)) return INT32_MIN;
    if (t > 2147483647.0) return INT32_MAX;
    return static_cast<LONG>(t);
}

// Twice the signed area of the triangle o a b: > 0 when b lies left of o->a (y axis up). Exact.
Wide Cross(POINT o, POINT a, POINT b) {
    return static_cast<Wide>(static_cast<Long>(a.x) - o.x) * (static_cast<Long>(b.y) - o.y) -
           static_cast<Wide>(static_cast<Long>(a.y) - o.y) * (static_cast<Long>(b.x) - o.x);
}
int Orient(POINT o, POINT a, POINT b) {
    const Wide c = Cross(o, a, b);
    return c > 0 ? 1 : (c < 0 ? -1 : 0);
}
Wide Dot(POINT o, POINT a, POINT b) {
    return static_cast<Wide>(static_cast<Long>(a.x) - o.x) * (static_cast<Long>(b.x) - o.x) +
           static_cast<Wide>(static_cast<Long>(a.y) - o.y) * (static_cast<Long>(b.y) - o.y);
}

// floor(n / d) for d > 0.
Wide FloorDiv(Wide n, Wide d) {
    Wide q = n / d;
    if (n % d != 0 && n < 0) --q;
    return q;
}

// p strictly inside the segment ab, given that it lies on its line.
bool StrictlyWithin(POINT a, POINT b, POINT p) { return Dot(p, a, b) < 0; }

// ---- noding ----

struct Seg {
    POINT p, q;  // as the input runs
    int ring;    // 0 = a, 1 = b
    bool fresh;  // cut or made in the last pass: its crossings are not known yet
};

struct Cut {
    size_t seg;
    POINT at;
};

// The crossing of the segments p (p1 p2) and q (q1 q2), which cross properly, rounded to the nearest
// unit exactly: p1 + t (p2 - p1) with t = num / den.
POINT RoundedCrossing(POINT p1, POINT p2, POINT q1, POINT q2) {
    const Long rx = static_cast<Long>(p2.x) - p1.x, ry = static_cast<Long>(p2.y) - p1.y;
    const Long sx = static_cast<Long>(q2.x) - q1.x, sy = static_cast<Long>(q2.y) - q1.y;
    Wide den = static_cast<Wide>(rx) * sy - static_cast<Wide>(ry) * sx;
    Wide num = static_cast<Wide>(static_cast<Long>(q1.x) - p1.x) * sy - static_cast<Wide>(static_cast<Long>(q1.y) - p1.y) * sx;
    if (den < 0) {
        den = -den;
        num = -num;
    }
    // coordinate = (c1 den + d num) / den; nearest = floor((2 (c1 den + d num) + den) / (2 den))
    auto nearest = [&](Long c1, Long d) {
        const Wide n = static_cast<Wide>(c1) * den + static_cast<Wide>(d) * num;
        return static_cast<LONG>(FloorDiv(2 * n + den, 2 * den));
    };
    return {nearest(p1.x, rx), nearest(p1.y, ry)};
}

class Noder {
public:
    explicit Noder(std::vector<Seg>& segs) : segs_(segs) {}

    // Splits until no two segments cross or touch other than end to end. Returns whether the two
    // inputs met anywhere.
    bool Run() {
        for (int pass = 0; pass < 64; ++pass) {
            cuts_.clear();
            Sweep();
            if (cuts_.empty()) break;
            Apply();
        }
        std::sort(shared_.begin(), shared_.end());
        shared_.erase(std::unique(shared_.begin(), shared_.end()), shared_.end());
        return contact_;
    }

    // The points where more than two segment ends may meet (crossings, touches, a ring visiting a point
    // twice), sorted: every other vertex joins just the two segments before and after it in its ring.
    const std::vector<std::uint64_t>& Shared() const { return shared_; }

private:
    static LONG MinX(const Seg& s) { return std::min(s.p.x, s.q.x); }

    // Sorts by x (a radix sort, byte by byte, for many segments).
    static void SortByX(std::vector<std::pair<LONG, size_t>>& v) {
        if (v.size() < 4096) {
            std::sort(v.begin(), v.end());
            return;
        }
        std::vector<std::pair<LONG, size_t>> tmp(v.size());
        for (int shift = 0; shift < 32; shift += 8) {
            size_t count[257] = {0};
            auto digit = [shift](LONG x) { return ((static_cast<std::uint32_t>(x) ^ 0x80000000u) >> shift) & 0xFF; };
            for (const auto& e : v) ++count[digit(e.first) + 1];
            for (int d = 0; d < 256; ++d) count[d + 1] += count[d];
            for (const auto& e : v) tmp[count[digit(e.first)]++] = e;
            v.swap(tmp);
        }
    }
    static LONG MaxX(const Seg& s) { return std::max(s.p.x, s.q.x); }

    // Every pair whose x ranges overlap and at least one of which is fresh is tested.
    void Sweep() {
        if (order_.empty()) {
            order_.resize(segs_.size());
            for (size_t i = 0; i < segs_.size(); ++i) order_[i] = {MinX(segs_[i]), i};
            SortByX(order_);
        }
        const std::vector<std::pair<LONG, size_t>>& order = order_;
        std::vector<size_t> all, fresh;
        auto scan = [&](std::vector<size_t>& active, size_t s, LONG x) {
            size_t keep = 0;
            for (size_t k = 0; k < active.size(); ++k) {
                const size_t o = active[k];
                if (MaxX(segs_[o]) < x) continue;
                active[keep++] = o;
                Test(o, s);
            }
            active.resize(keep);
        };
        for (const auto& e : order) {
            const size_t s = e.second;
            if (segs_[s].fresh)
                scan(all, s, e.first);
            else
                scan(fresh, s, e.first);
            all.push_back(s);
            if (segs_[s].fresh) fresh.push_back(s);
        }
        for (Seg& s : segs_) s.fresh = false;
    }

    void Test(size_t i, size_t j) {
        const Seg& a = segs_[i];
        const Seg& b = segs_[j];
        if (std::max(a.p.y, a.q.y) < std::min(b.p.y, b.q.y) || std::max(b.p.y, b.q.y) < std::min(a.p.y, a.q.y)) return;
        const POINT p1 = a.p, p2 = a.q, q1 = b.p, q2 = b.q;
        const int d1 = Orient(q1, q2, p1), d2 = Orient(q1, q2, p2);
        if (d1 != 0 && d1 == d2) return;
        const int d3 = Orient(p1, p2, q1), d4 = Orient(p1, p2, q2);
        if (d3 != 0 && d3 == d4) return;
        const bool meet = a.ring != b.ring;
        if (d1 != 0 && d2 != 0 && d3 != 0 && d4 != 0) {
            const POINT x = RoundedCrossing(p1, p2, q1, q2);
            cuts_.push_back({i, x});
            cuts_.push_back({j, x});
            shared_.push_back(Key(x));
            contact_ = contact_ || meet;
            return;
        }
        // Touching or collinear: every end lying inside the other segment cuts it there.
        bool touched = false;
        // Ends in common: one segment's end where the next in the same ring starts is the ring's own
        // joint; any other meeting may gather more than two ends.
        auto common = [&](POINT x, POINT y, bool joint) {
            if (!Same(x, y)) return;
            touched = true;
            if (!(joint && !meet)) shared_.push_back(Key(x));
        };
        common(p1, q1, false);
        common(p2, q2, false);
        common(p1, q2, true);
        common(p2, q1, true);
        auto onto = [&](POINT pt, int d, POINT s1, POINT s2, size_t seg) {
            if (d != 0 || Same(pt, s1) || Same(pt, s2)) return;
            if (StrictlyWithin(s1, s2, pt)) {
                cuts_.push_back({seg, pt});
                shared_.push_back(Key(pt));
                touched = true;
            }
        };
        onto(p1, d1, q1, q2, j);
        onto(p2, d2, q1, q2, j);
        onto(q1, d3, p1, p2, i);
        onto(q2, d4, p1, p2, i);
        contact_ = contact_ || (meet && touched);
    }

    void Apply() {
        std::sort(cuts_.begin(), cuts_.end(), [](const Cut& x, const Cut& y) { return x.seg < y.seg; });
        std::vector<Seg> out;
        out.reserve(segs_.size() + cuts_.size());
        std::vector<std::ptrdiff_t> kept(segs_.size(), -1);  // where an uncut segment went
        size_t c = 0;
        std::vector<POINT> pts;
        for (size_t i = 0; i < segs_.size(); ++i) {
            const Seg& s = segs_[i];
            if (c >= cuts_.size() || cuts_[c].seg != i) {
                kept[i] = static_cast<std::ptrdiff_t>(out.size());
                out.push_back(s);
                continue;
            }
            pts.clear();
            for (; c < cuts_.size() && cuts_[c].seg == i; ++c) pts.push_back(cuts_[c].at);
            const POINT o = s.p, e = s.q;
            std::sort(pts.begin(), pts.end(), [&](POINT x, POINT y) {
                const Wide dx = Dot(o, e, x), dy = Dot(o, e, y);
                return dx < dy || (dx == dy && Less(x, y));
            });
            POINT from = o;
            const size_t before = out.size();
            for (const POINT& p : pts) {
                if (Same(p, from) || Same(p, e)) continue;
                out.push_back({from, p, s.ring, true});
                from = p;
            }
            out.push_back({from, e, s.ring, out.size() > before});
            if (out.size() == before + 1) kept[i] = static_cast<std::ptrdiff_t>(before);
        }
        segs_.swap(out);
        // The next sweep's order: the uncut segments in the order they had, merged with the new pieces.
        std::vector<std::pair<LONG, size_t>> fresh, next;
        for (size_t i = 0; i < segs_.size(); ++i)
            if (segs_[i].fresh) fresh.push_back({MinX(segs_[i]), i});
        std::sort(fresh.begin(), fresh.end());
        next.reserve(segs_.size());
        size_t f = 0;
        for (const auto& e : order_) {
            const std::ptrdiff_t k = kept[e.second];
            if (k < 0) continue;
            for (; f < fresh.size() && fresh[f].first < e.first; ++f) next.push_back(fresh[f]);
            next.push_back({e.first, static_cast<size_t>(k)});
        }
        for (; f < fresh.size(); ++f) next.push_back(fresh[f]);
        order_.swap(next);
    }

    std::vector<Seg>& segs_;
    std::vector<std::pair<LONG, size_t>> order_;  // segments by their least x
    std::vector<Cut> cuts_;
    std::vector<std::uint64_t> shared_;
    bool contact_ = false;
};

// ---- the planar network ----

struct Edge {
    int u, v;  // vertices
    int w[2];  // winding change across the edge, left of u->v minus right, for a and for b
};

// Winding number of the point p about the edges, counted on the horizontal ray to the left of p;
// p must not lie inside an edge.
void Winding(const std::vector<Edge>& edges, const std::vector<POINT>& verts, POINT p, int out[2]) {
    out[0] = out[1] = 0;
    for (const Edge& e : edges) {
        const POINT u = verts[e.u], v = verts[e.v];
        const bool uBelow = u.y <= p.y, vBelow = v.y <= p.y;
        if (uBelow == vBelow) continue;
        const int o = Orient(u, v, p);
        if (uBelow && o < 0) {  // upward, crossing left of p
            out[0] -= e.w[0];
            out[1] -= e.w[1];
        } else if (!uBelow && o > 0) {  // downward, crossing left of p
            out[0] += e.w[0];
            out[1] += e.w[1];
        }
    }
}

// Nonzero winding of p about a closed ring (p not on it).
bool InsideRing(const std::vector<POINT>& ring, POINT p) {
    int w = 0;
    const size_t n = ring.size();
    for (size_t i = 0; i < n; ++i) {
        const POINT a = ring[i], b = ring[(i + 1) % n];
        const bool aBelow = a.y <= p.y, bBelow = b.y <= p.y;
        if (aBelow == bBelow) continue;
        const int o = Orient(a, b, p);
        if (aBelow && o > 0)
            ++w;
        else if (!aBelow && o < 0)
            --w;
    }
    return w != 0;
}

Wide TwiceArea(const std::vector<POINT>& ring) {
    Wide s = 0;
    const size_t n = ring.size();
    for (size_t i = 0; i < n; ++i) {
        const POINT a = ring[i], b = ring[(i + 1) % n];
        s += static_cast<Wide>(a.x) * b.y - static_cast<Wide>(b.x) * a.y;
    }
    return s;
}

struct UnionFind {
    std::vector<int> up;
    explicit UnionFind(size_t n) : up(n) { std::iota(up.begin(), up.end(), 0); }
    int Find(int x) {
        while (up[x] != x) x = up[x] = up[up[x]];
        return x;
    }
    void Join(int a, int b) { up[Find(a)] = Find(b); }
};

// The region inside both inputs, from the noded segments: its boundary rings with their parts.
class Overlay {
public:
    Overlay(const std::vector<Seg>& segs, const std::vector<std::uint64_t>& shared) {
        Build(segs, shared);
        if (edges_.empty()) return;
        TraceFaces();
        ClassifyFaces();
        TraceBoundary();
    }

    // The largest part of the region as one ring (holes bridged in), or empty when it has no area.
    std::vector<POINT> LargestPart() {
        int best = -1;
        Wide bestArea = 0;
        for (size_t k = 0; k < outers_.size(); ++k) {
            Wide area = TwiceArea(rings_[outers_[k]]);
            for (int h : holesOf_[k]) area += TwiceArea(rings_[h]);
            if (area > bestArea) {
                bestArea = area;
                best = static_cast<int>(k);
            }
        }
        if (best < 0) return {};
        std::vector<POINT> ring = rings_[outers_[best]];
        std::vector<int> holes = holesOf_[best];
        std::vector<POINT> lows;
        for (int h : holes) lows.push_back(*std::min_element(rings_[h].begin(), rings_[h].end(), Less));
        std::vector<size_t> order(holes.size());
        std::iota(order.begin(), order.end(), 0);
        std::sort(order.begin(), order.end(), [&](size_t x, size_t y) { return Less(lows[x], lows[y]); });
        for (size_t k : order) Bridge(ring, rings_[holes[k]], lows[k]);
        return ring;
    }

private:
    // Vertices: a shared point (see Noder::Shared) is one vertex wherever it occurs; any other point is
    // the joint of two consecutive segments of one ring. Edges: one per segment, the segments between
    // two shared points merged when they join the same two (their windings added; dropped when they
    // cancel, as a bridge run out and back does).
    void Build(const std::vector<Seg>& segs, const std::vector<std::uint64_t>& shared) {
        const size_t n = segs.size();
        std::vector<int> sharedId(shared.size(), -1);
        // A bit per hash of the shared points turns most other points away without a search.
        std::vector<std::uint64_t> filter(1024, 0);
        auto hash = [](std::uint64_t k) { return static_cast<size_t>((k * 0x9E3779B97F4A7C15ull) >> 48); };
        for (std::uint64_t k : shared) filter[hash(k) >> 6] |= 1ull << (hash(k) & 63);
        std::vector<int> startId(n);
        std::vector<char> isShared;
        verts_.reserve(n);
        isShared.reserve(n);
        for (size_t i = 0; i < n; ++i) {
            const POINT p = segs[i].p;
            int* id = nullptr;
            const std::uint64_t k = Key(p);
            if (filter[hash(k) >> 6] >> (hash(k) & 63) & 1) {
                auto it = std::lower_bound(shared.begin(), shared.end(), k);
                if (it != shared.end() && *it == k) id = &sharedId[static_cast<size_t>(it - shared.begin())];
            }
            if (id && *id >= 0) {
                startId[i] = *id;
                continue;
            }
            startId[i] = static_cast<int>(verts_.size());
            if (id) *id = startId[i];
            verts_.push_back(p);
            isShared.push_back(id != nullptr);
        }
        std::vector<Edge> twice;
        edges_.reserve(n);
        for (size_t i = 0, ringStart = 0; i < n; ++i) {
            if (segs[i].ring != segs[ringStart].ring) ringStart = i;
            const bool last = i + 1 == n || segs[i + 1].ring != segs[i].ring;
            Edge e;
            e.u = startId[i];
            e.v = last ? startId[ringStart] : startId[i + 1];
            e.w[0] = e.w[1] = 0;
            e.w[segs[i].ring] = 1;
            if (e.u == e.v) continue;
            if (isShared[e.u] && isShared[e.v]) {
                if (e.u > e.v) {
                    std::swap(e.u, e.v);
                    e.w[segs[i].ring] = -1;
                }
                twice.push_back(e);
            } else {
                edges_.push_back(e);
            }
        }
        std::sort(twice.begin(), twice.end(), [](const Edge& x, const Edge& y) { return x.u < y.u || (x.u == y.u && x.v < y.v); });
        for (size_t i = 0; i < twice.size();) {
            Edge e = twice[i];
            size_t j = i + 1;
            for (; j < twice.size() && twice[j].u == e.u && twice[j].v == e.v; ++j) {
                e.w[0] += twice[j].w[0];
                e.w[1] += twice[j].w[1];
            }
            if (e.w[0] != 0 || e.w[1] != 0) edges_.push_back(e);
            i = j;
        }
        if (edges_.empty()) return;

        const size_t nh = edges_.size() * 2;
        origin_.resize(nh);
        for (size_t e = 0; e < edges_.size(); ++e) {
            origin_[2 * e] = edges_[e].u;
            origin_[2 * e + 1] = edges_[e].v;
        }
        // Outgoing half-edges of each vertex, counterclockwise from the direction +x (only a vertex of
        // more than two needs sorting: two directions are in counterclockwise order either way).
        start_.assign(verts_.size() + 1, 0);
        for (size_t h = 0; h < nh; ++h) ++start_[origin_[h] + 1];
        for (size_t v = 0; v < verts_.size(); ++v) start_[v + 1] += start_[v];
        around_.resize(nh);
        std::vector<int> fill(start_.begin(), start_.end() - 1);
        for (size_t h = 0; h < nh; ++h) around_[fill[origin_[h]]++] = static_cast<int>(h);
        slot_.resize(nh);
        for (size_t v = 0; v < verts_.size(); ++v) {
            if (start_[v + 1] - start_[v] > 2) {
                const POINT o = verts_[v];
                std::sort(around_.begin() + start_[v], around_.begin() + start_[v + 1],
                          [&](int x, int y) { return Before(o, Target(x), Target(y)); });
            }
            for (int k = start_[v]; k < start_[v + 1]; ++k) slot_[around_[k]] = k;
        }
    }

    // Whether the direction o->a comes before o->b counterclockwise from +x.
    static bool Before(POINT o, POINT a, POINT b) {
        const bool ua = Upper(o, a), ub = Upper(o, b);
        if (ua != ub) return ua;
        return Cross(o, a, b) > 0;
    }
    // Whether o->a points into the upper half-plane, +x included.
    static bool Upper(POINT o, POINT a) { return a.y > o.y || (a.y == o.y && a.x > o.x); }

    POINT Target(int h) const { return verts_[origin_[h ^ 1]]; }
    // The half-edge after h on the face to its left: the first outgoing half-edge clockwise from h's
    // twin at h's target.
    int Next(int h) const {
        const int t = h ^ 1;
        const int v = origin_[t];
        int k = slot_[t] - 1;
        if (k < start_[v]) k = start_[v + 1] - 1;
        return around_[k];
    }

    void TraceFaces() {
        const size_t nh = origin_.size();
        face_.assign(nh, -1);
        for (size_t h0 = 0; h0 < nh; ++h0) {
            if (face_[h0] >= 0) continue;
            const int f = static_cast<int>(faceEdge_.size());
            int h = static_cast<int>(h0);
            do {
                face_[h] = f;
                h = Next(h);
            } while (h != static_cast<int>(h0) && face_[h] < 0);
            faceEdge_.push_back(static_cast<int>(h0));
        }
    }

    // Winding numbers of every face: each connected piece of the network gets its outer face's numbers
    // from a ray to the left of its lowest leftmost vertex, and the rest follow across the edges.
    void ClassifyFaces() {
        const size_t nf = faceEdge_.size();
        wind_.assign(nf * 2, 0);
        std::vector<char> known(nf, 0);
        UnionFind pieces(verts_.size());
        for (const Edge& e : edges_) pieces.Join(e.u, e.v);
        std::vector<int> lowest(verts_.size(), -1);
        for (size_t v = 0; v < verts_.size(); ++v) {
            if (start_[v + 1] == start_[v]) continue;  // every edge there cancelled out
            int& low = lowest[pieces.Find(static_cast<int>(v))];
            if (low < 0 || Less(verts_[v], verts_[low])) low = static_cast<int>(v);
        }
        std::vector<int> queue, low;
        for (size_t r = 0; r < verts_.size(); ++r)
            if (lowest[r] >= 0) low.push_back(lowest[r]);
        std::vector<int> w(low.size() * 2);
        WindingsAt(low, w);
        for (size_t c = 0; c < low.size(); ++c) {
            const int f = FaceLeftOfVertex(low[c]);
            wind_[2 * f] = w[2 * c];
            wind_[2 * f + 1] = w[2 * c + 1];
            known[f] = 1;
            queue.push_back(f);
        }
        for (size_t q = 0; q < queue.size(); ++q) {
            const int f = queue[q];
            int h = faceEdge_[f];
            size_t steps = 0;
            do {
                const int g = face_[h ^ 1];
                if (!known[g]) {
                    const Edge& e = edges_[h >> 1];
                    const int s = (h & 1) ? -1 : 1;
                    wind_[2 * g] = wind_[2 * f] - s * e.w[0];
                    wind_[2 * g + 1] = wind_[2 * f + 1] - s * e.w[1];
                    known[g] = 1;
                    queue.push_back(g);
                }
                h = Next(h);
            } while (h != faceEdge_[f] && face_[h] == f && ++steps < face_.size());
        }
    }

    // Winding numbers about both inputs of the vertices' own points (none of them inside an edge),
    // counted on rays to the left. Few points are counted edge by edge; many (a network in many pieces,
    // as inputs with many holes give) in one sweep upwards that keeps the edges spanning the current
    // height.
    void WindingsAt(const std::vector<int>& points, std::vector<int>& out) const {
        if (points.size() <= 4) {
            for (size_t c = 0; c < points.size(); ++c) Winding(edges_, verts_, verts_[points[c]], &out[2 * c]);
            return;
        }
        std::vector<int> byY(points.size()), edgesByLow(edges_.size());
        std::iota(byY.begin(), byY.end(), 0);
        std::iota(edgesByLow.begin(), edgesByLow.end(), 0);
        std::sort(byY.begin(), byY.end(), [&](int a, int b) { return verts_[points[a]].y < verts_[points[b]].y; });
        auto low = [&](int e) { return std::min(verts_[edges_[e].u].y, verts_[edges_[e].v].y); };
        auto high = [&](int e) { return std::max(verts_[edges_[e].u].y, verts_[edges_[e].v].y); };
        std::sort(edgesByLow.begin(), edgesByLow.end(), [&](int a, int b) { return low(a) < low(b); });
        std::vector<Edge> spanning;
        std::vector<int> spanningHigh;
        size_t next = 0;
        for (int c : byY) {
            const POINT p = verts_[points[c]];
            // An edge crosses the ray when one end lies at or below p's height and the other above.
            for (; next < edgesByLow.size() && low(edgesByLow[next]) <= p.y; ++next) {
                spanning.push_back(edges_[edgesByLow[next]]);
                spanningHigh.push_back(high(edgesByLow[next]));
            }
            size_t keep = 0;
            for (size_t k = 0; k < spanning.size(); ++k) {
                if (spanningHigh[k] <= p.y) continue;
                spanning[keep] = spanning[k];
                spanningHigh[keep++] = spanningHigh[k];
            }
            spanning.resize(keep);
            spanningHigh.resize(keep);
            Winding(spanning, verts_, p, &out[2 * c]);
        }
    }

    // The face that holds the direction -x at vertex v: the face left of the last outgoing half-edge
    // before -x counterclockwise (half-edges are sorted counterclockwise from +x, the upper half-plane
    // first), or of the very last one when none points into the upper half-plane.
    int FaceLeftOfVertex(int v) const {
        const POINT o = verts_[v];
        int last = -1;
        for (int k = start_[v]; k < start_[v + 1]; ++k) {
            const int h = around_[k];
            if (last < 0) {
                last = h;
                continue;
            }
            const bool up = Upper(o, Target(h)), lastUp = Upper(o, Target(last));
            if ((up && !lastUp) || (up == lastUp && Before(o, Target(last), Target(h)))) last = h;
        }
        return face_[last];
    }

    bool Inside(int f) const { return wind_[2 * f] != 0 && wind_[2 * f + 1] != 0; }
    bool Boundary(int h) const { return Inside(face_[h]) && !Inside(face_[h ^ 1]); }

    void TraceBoundary() {
        const size_t nh = origin_.size();
        UnionFind parts(faceEdge_.size());
        for (size_t e = 0; e < edges_.size(); ++e) {
            const int f = face_[2 * e], g = face_[2 * e + 1];
            if (Inside(f) && Inside(g)) parts.Join(f, g);
        }
        std::vector<char> used(nh, 0);
        std::vector<int> ringPart;
        for (size_t h0 = 0; h0 < nh; ++h0) {
            if (used[h0] || !Boundary(static_cast<int>(h0))) continue;
            std::vector<POINT> ring;
            int h = static_cast<int>(h0);
            do {
                used[h] = 1;
                ring.push_back(verts_[origin_[h]]);
                int g = Next(h);
                for (size_t turns = 0; !Boundary(g) && turns < nh; ++turns) g = Next(g ^ 1);
                h = g;
            } while (!used[h]);
            Tidy(ring);
            if (ring.size() < 3) continue;
            rings_.push_back(ring);
            ringPart.push_back(parts.Find(face_[h0]));
        }
        // Outer rings run counterclockwise; each part has one. Holes belong to their part's outer
        // ring, or, for a part whose only rings are holes (a separate piece of the network inside a
        // face), to the smallest outer ring around them.
        std::vector<int> outerOfPart(faceEdge_.size(), -1);
        for (size_t r = 0; r < rings_.size(); ++r) {
            if (TwiceArea(rings_[r]) > 0) {
                outerOfPart[ringPart[r]] = static_cast<int>(outers_.size());
                outers_.push_back(static_cast<int>(r));
                holesOf_.emplace_back();
            }
        }
        std::vector<int> adopted(faceEdge_.size(), -2);
        for (size_t r = 0; r < rings_.size(); ++r) {
            if (TwiceArea(rings_[r]) > 0) continue;
            int k = outerOfPart[ringPart[r]];
            if (k < 0) {
                int& a = adopted[ringPart[r]];
                if (a == -2) a = EnclosingOuter(rings_[r]);
                k = a;
            }
            if (k >= 0) holesOf_[k].push_back(static_cast<int>(r));
        }
    }

    int EnclosingOuter(const std::vector<POINT>& hole) const {
        const POINT p = *std::min_element(hole.begin(), hole.end(), Less);
        int best = -1;
        Wide bestArea = 0;
        for (size_t k = 0; k < outers_.size(); ++k) {
            const std::vector<POINT>& outer = rings_[outers_[k]];
            if (std::find_if(outer.begin(), outer.end(), [&](POINT q) { return Same(p, q); }) != outer.end()) continue;
            if (!InsideRing(outer, p)) continue;
            const Wide area = TwiceArea(outer);
            if (best < 0 || area < bestArea) {
                best = static_cast<int>(k);
                bestArea = area;
            }
        }
        return best;
    }

    // Drops repeated points and points where the ring runs straight on; starts at the lowest
    // leftmost point.
    static void Tidy(std::vector<POINT>& ring) {
        bool changed = true;
        while (changed && ring.size() >= 3) {
            changed = false;
            std::vector<POINT> out;
            const size_t n = ring.size();
            for (size_t i = 0; i < n; ++i) {
                const POINT prev = out.empty() ? ring[n - 1] : out.back(), p = ring[i], next = ring[(i + 1) % n];
                if (Same(p, prev) || (Orient(prev, p, next) == 0 && Dot(p, prev, next) < 0)) {
                    changed = true;
                    continue;
                }
                out.push_back(p);
            }
            ring.swap(out);
        }
        if (ring.empty()) return;
        std::rotate(ring.begin(), std::min_element(ring.begin(), ring.end(), Less), ring.end());
    }

    // Joins a hole (clockwise) to the ring along the horizontal from the hole's point h leftwards to
    // the nearest point of the ring.
    static void Bridge(std::vector<POINT>& ring, const std::vector<POINT>& hole, POINT h) {
        const size_t n = ring.size();
        int bestAt = -1;
        bool onVertex = false;
        Wide bestN = 0, bestD = 1;  // crossing x = bestN / bestD
        bool touching = false;
        for (size_t i = 0; i < n && !touching; ++i) {
            if (Same(ring[i], h)) {  // the hole touches the ring there: joined without a bridge
                bestAt = static_cast<int>(i);
                onVertex = touching = true;
            }
        }
        for (size_t i = 0; i < n && !touching; ++i) {
            const POINT a = ring[i], b = ring[(i + 1) % n];
            Wide xn, xd;
            bool vertex = false;
            if (a.y == h.y && a.x < h.x) {
                xn = a.x;
                xd = 1;
                vertex = true;
            } else if ((a.y < h.y && b.y > h.y) || (a.y > h.y && b.y < h.y)) {
                Long dy = static_cast<Long>(b.y) - a.y;
                xn = static_cast<Wide>(a.x) * dy + static_cast<Wide>(static_cast<Long>(b.x) - a.x) * (static_cast<Long>(h.y) - a.y);
                xd = dy;
                if (xd < 0) {
                    xn = -xn;
                    xd = -xd;
                }
                if (!(xn < static_cast<Wide>(h.x) * xd)) continue;
            } else {
                continue;
            }
            if (bestAt < 0 || xn * bestD > bestN * xd) {
                bestAt = static_cast<int>(i);
                bestN = xn;
                bestD = xd;
                onVertex = vertex;
            }
        }
        if (bestAt < 0) return;  // not inside: nothing sound to join to
        const size_t hi = static_cast<size_t>(std::find_if(hole.begin(), hole.end(), [&](POINT q) { return Same(q, h); }) - hole.begin());
        std::vector<POINT> loop;
        for (size_t k = 0; k <= hole.size(); ++k) loop.push_back(hole[(hi + k) % hole.size()]);
        POINT end;
        std::vector<POINT> out(ring.begin(), ring.begin() + bestAt + 1);
        if (onVertex) {
            end = ring[static_cast<size_t>(bestAt)];
        } else {
            end = {static_cast<LONG>(FloorDiv(2 * bestN + bestD, 2 * bestD)), h.y};
            if (!Same(end, out.back())) out.push_back(end);
        }
        out.insert(out.end(), loop.begin(), loop.end());
        out.push_back(end);
        out.insert(out.end(), ring.begin() + bestAt + 1, ring.end());
        std::vector<POINT> clean;
        for (const POINT& p : out)
            if (clean.empty() || !Same(clean.back(), p)) clean.push_back(p);
        while (clean.size() > 1 && Same(clean.front(), clean.back())) clean.pop_back();
        ring.swap(clean);
    }

    std::vector<Edge> edges_;
    std::vector<POINT> verts_;
    std::vector<int> origin_, start_, around_, slot_, face_, faceEdge_, wind_;
    std::vector<std::vector<POINT>> rings_;
    std::vector<int> outers_;
    std::vector<std::vector<int>> holesOf_;
};

// The input's points without repeated consecutive points or a repeated closing point.
std::vector<POINT> PointsOf(CGeoPolygonLine* line) {
    std::vector<POINT> pts;
    const int n = line->GetPoints();
    pts.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const POINT p = line->GetPoint(i);
        if (pts.empty() || !Same(pts.back(), p)) pts.push_back(p);
    }
    while (pts.size() > 1 && Same(pts.front(), pts.back())) pts.pop_back();
    return pts;
}

// Removes every stretch where a ring runs out along a segment and straight back (a segment followed by
// its reverse, also across the ring's seam): such a spike bounds nothing, and its two edges would lie on
// top of each other in the network.
void DropSpikes(std::vector<Seg>& segs) {
    auto reverse = [](const Seg& x, const Seg& y) { return Same(x.p, y.q) && Same(x.q, y.p); };
    bool any = false;
    for (size_t i = 0, first = 0; i < segs.size() && !any; ++i) {
        if (segs[i].ring != segs[first].ring) first = i;
        const bool last = i + 1 == segs.size() || segs[i + 1].ring != segs[i].ring;
        any = reverse(segs[i], last ? segs[first] : segs[i + 1]);
    }
    if (!any) return;
    std::vector<Seg> out;
    out.reserve(segs.size());
    for (size_t i = 0; i < segs.size();) {
        const size_t first = out.size();
        const int ring = segs[i].ring;
        for (; i < segs.size() && segs[i].ring == ring; ++i) {
            if (out.size() > first && reverse(out.back(), segs[i]))
                out.pop_back();
            else
                out.push_back(segs[i]);
        }
        size_t head = first;
        while (out.size() - head >= 2 && reverse(out.back(), out[head])) {
            out.pop_back();
            ++head;
        }
        out.erase(out.begin() + static_cast<std::ptrdiff_t>(first), out.begin() + static_cast<std::ptrdiff_t>(head));
    }
    segs.swap(out);
}

// A box, bounds included.
struct Box {
    Long l, b, r, t;
};

Box BoxOf(const std::vector<POINT>& pts) {
    Box box = {pts[0].x, pts[0].y, pts[0].x, pts[0].y};
    for (const POINT& p : pts) {
        box.l = std::min<Long>(box.l, p.x);
        box.r = std::max<Long>(box.r, p.x);
        box.b = std::min<Long>(box.b, p.y);
        box.t = std::max<Long>(box.t, p.y);
    }
    return box;
}

// The ring with every stretch of segments that keeps clear of the box f replaced by a path along f's
// border: each such segment's ends move straight to their nearest points of f (a move that stays
// outside f, so no point inside f changes its winding number about the ring), and the moved points are
// thinned to the turns along the border. Inside f the ring bounds what it bounded before.
std::vector<POINT> ClipRing(const std::vector<POINT>& pts, const Box& f) {
    const size_t n = pts.size();
    std::vector<char> clear(n);
    bool any = false;
    for (size_t i = 0; i < n; ++i) {
        const POINT a = pts[i], b = pts[(i + 1) % n];
        clear[i] = std::max(a.x, b.x) < f.l || std::min(a.x, b.x) > f.r || std::max(a.y, b.y) < f.b || std::min(a.y, b.y) > f.t;
        any = any || clear[i];
    }
    if (!any) return pts;
    auto clamp = [&](POINT p) {
        return POINT{static_cast<LONG>(std::min(std::max<Long>(p.x, f.l), f.r)), static_cast<LONG>(std::min(std::max<Long>(p.y, f.b), f.t))};
    };
    auto onOneSide = [&](POINT a, POINT b, POINT c) {
        return (a.x == b.x && b.x == c.x && (a.x == f.l || a.x == f.r)) || (a.y == b.y && b.y == c.y && (a.y == f.b || a.y == f.t));
    };
    std::vector<POINT> out;
    auto put = [&](POINT p) {
        if (!out.empty() && Same(out.back(), p)) return;
        if (out.size() >= 2 && onOneSide(out[out.size() - 2], out.back(), p)) out.pop_back();
        out.push_back(p);
    };
    for (size_t i = 0; i < n; ++i) {
        const bool before = clear[(i + n - 1) % n], after = clear[i];
        if (before) put(clamp(pts[i]));
        if (!before || !after) put(pts[i]);
        if (after && !before) put(clamp(pts[i]));
    }
    // The seam where the ring closes.
    while (out.size() > 1 && Same(out.front(), out.back())) out.pop_back();
    while (out.size() >= 3 && onOneSide(out[out.size() - 2], out.back(), out.front())) out.pop_back();
    while (out.size() >= 3 && onOneSide(out.back(), out[0], out[1])) out.erase(out.begin());
    return out;
}

CGeoPolygonLine* NewLine(const std::vector<POINT>& pts) {
    return new CGeoPolygonLine(static_cast<int>(pts.size()), pts.data(), FALSE);
}

}  // namespace

CPolygonXPolygon::CPolygonXPolygon() {}

CPolygonXPolygon::~CPolygonXPolygon() {}

// ---- planar helpers ----

double CPolygonXPolygon::iDist(POINT p, POINT q) {
    if (Same(p, q)) return 0;
    double dx = static_cast<double>(p.x) - q.x, dy = static_cast<double>(p.y) - q.y;
    return std::sqrt(dx * dx + dy * dy);
}

double CPolygonXPolygon::PointToLine(POINT a, POINT b, POINT p) {
    if (Same(a, b)) return iDist(a, p);
    double dx = static_cast<double>(b.x) - a.x, dy = static_cast<double>(b.y) - a.y;
    double cross = dx * (static_cast<double>(p.y) - a.y) - dy * (static_cast<double>(p.x) - a.x);
    return std::fabs(cross) / std::sqrt(dx * dx + dy * dy);
}

int CPolygonXPolygon::CrossPoint1(const double l1[3], const double l2[3], double& x, double& y) {
    const double det = l1[0] * l2[1] - l1[1] * l2[0];
    if (det == 0) return 0;
    x = (l1[1] * l2[2] - l2[1] * l1[2]) / det;
    y = (l2[0] * l1[2] - l1[0] * l2[2]) / det;
    return 1;
}

namespace {
// Coefficients (A, B, C) of A x + B y + C = 0 through p and q.
void LineCoefficients(POINT p, POINT q, double l[3]) {
    l[0] = static_cast<double>(q.y) - p.y;
    l[1] = static_cast<double>(p.x) - q.x;
    l[2] = static_cast<double>(q.x) * p.y - static_cast<double>(p.x) * q.y;
}

bool InBox(double x, double y, POINT a, POINT b) {
    return x >= std::min(a.x, b.x) && x <= std::max(a.x, b.x) && y >= std::min(a.y, b.y) && y <= std::max(a.y, b.y);
}
}  // namespace

int CPolygonXPolygon::CrossPoint2(POINT p1, POINT p2, POINT p3, POINT p4, POINT& out) {
    double l1[3], l2[3], x, y;
    LineCoefficients(p1, p2, l1);
    LineCoefficients(p3, p4, l2);
    if (!CrossPoint1(l1, l2, x, y)) return 0;
    out.x = Nearest(x);
    out.y = Nearest(y);
    return 1;
}

int CPolygonXPolygon::IfLineXLine(POINT p1, POINT p2, POINT p3, POINT p4, POINT& out) {
    if (Same(p1, p2) || Same(p3, p4)) return 0;
    if (std::max(p1.x, p2.x) < std::min(p3.x, p4.x) || std::max(p3.x, p4.x) < std::min(p1.x, p2.x) ||
        std::max(p1.y, p2.y) < std::min(p3.y, p4.y) || std::max(p3.y, p4.y) < std::min(p1.y, p2.y))
        return 0;
    POINT x;
    if (!CrossPoint2(p1, p2, p3, p4, x)) return 0;
    if (!InBox(x.x, x.y, p1, p2) || !InBox(x.x, x.y, p3, p4)) return 0;
    out = x;
    return 1;
}

int CPolygonXPolygon::LineForm(POINT a, POINT b, POINT p, POINT& out) {
    double fx = a.x, fy = a.y;
    if (!Same(a, b)) {
        double dx = static_cast<double>(b.x) - a.x, dy = static_cast<double>(b.y) - a.y;
        double t = (dx * (static_cast<double>(p.x) - a.x) + dy * (static_cast<double>(p.y) - a.y)) / (dx * dx + dy * dy);
        fx = a.x + t * dx;
        fy = a.y + t * dy;
    }
    if (!InBox(fx, fy, a, b)) return 0;
    out.x = Nearest(fx);
    out.y = Nearest(fy);
    return 1;
}

double CPolygonXPolygon::InsectionAngle(POINT p, POINT a, POINT b) {
    if (Same(a, p) || Same(b, p)) return 0;
    auto direction = [&](POINT q) {
        double dx = static_cast<double>(q.x) - p.x, dy = static_cast<double>(q.y) - p.y;
        double c = std::max(-1.0, std::min(1.0, dx / std::sqrt(dx * dx + dy * dy)));
        return dy >= 0 ? std::acos(c) : kTwoPi - std::acos(c);
    };
    double d = direction(b) - direction(a);
    if (d < 0) d += kTwoPi;
    return d;
}

// ---- intersection ----

CGeoPolygonLine* CPolygonXPolygon::PolygonLineXPolygonLine(CGeoPolygonLine* a, CGeoPolygonLine* b) {
    if (!a || !b) return nullptr;
    const std::vector<POINT> ptsA = PointsOf(a), ptsB = PointsOf(b);
    if (ptsA.size() < 3 || ptsB.size() < 3) return nullptr;

    // The common part lies in both boxes: outside them (with a unit to spare) only how often each ring
    // winds around matters, so the rings are first reduced there to paths along that border.
    const Box boxA = BoxOf(ptsA), boxB = BoxOf(ptsB);
    const Box f = {std::max(boxA.l, boxB.l) - 1, std::max(boxA.b, boxB.b) - 1, std::min(boxA.r, boxB.r) + 1,
                   std::min(boxA.t, boxB.t) + 1};
    if (f.l + 1 >= f.r - 1 || f.b + 1 >= f.t - 1) return nullptr;  // the boxes share no area
    const Box limits = {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    const Box g = {std::max(f.l, limits.l), std::max(f.b, limits.b), std::min(f.r, limits.r), std::min(f.t, limits.t)};
    const std::vector<POINT> clipA = ClipRing(ptsA, g), clipB = ClipRing(ptsB, g);

    std::vector<Seg> segs;
    segs.reserve(clipA.size() + clipB.size());
    for (int r = 0; r < 2; ++r) {
        const std::vector<POINT>& pts = r == 0 ? clipA : clipB;
        for (size_t i = 0; i < pts.size(); ++i)
            if (!Same(pts[i], pts[(i + 1) % pts.size()])) segs.push_back({pts[i], pts[(i + 1) % pts.size()], r, true});
    }
    Noder noder(segs);
    const bool met = noder.Run();
    DropSpikes(segs);
    std::vector<POINT> ring = Overlay(segs, noder.Shared()).LargestPart();
    if (ring.size() < 3) return nullptr;
    if (!met) {
        // Outlines that never meet: when the answer is the whole of one input (it lies inside the
        // other and around none of its holes), that input comes back as it was given.
        const Wide area = TwiceArea(ring);
        for (const std::vector<POINT>* pts : {&ptsA, &ptsB}) {
            const Wide own = TwiceArea(*pts);
            if (own == area || -own == area) return NewLine(*pts);
        }
    }
    return NewLine(ring);
}
