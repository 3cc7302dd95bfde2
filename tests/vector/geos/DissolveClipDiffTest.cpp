// Dissolve and layer clip against GEOS: a dissolve must cover what GEOS's union of the same cells
// covers (net area, and inside/outside at every cell's middle); a clip must keep the length GEOS's
// intersection of each line with the clip polygon keeps, up to the rounding of its crossings.
#include "GeosPeer.h"

#include "core/GeoVectorLayer.h"
#include "vector/GeoPLine.h"
#include "vector/GeoProcPoly.h"
#include "vector/LayerMergeClip.h"

#include <climits>
#include <memory>

using namespace geospeer;

namespace {

const LONG kBig = 2147483000;

// ---- dissolve ----

// An nx x ny partition into cells whose corners are moved at random and whose sides bend at a
// middle vertex, so arcs run at any angle and have several points. Every cell walks its outline
// counterclockwise (bottom, right, -top, -left), at an offset anywhere in the coordinate range.
struct Partition {
    int nx, ny;
    LONG c;
    CGeoVectorLayer layer{CRect(0, 0, 0, 0)};
    std::vector<std::vector<POINT>> arcs;  // by arc ID - 1 order of creation
    std::vector<LONG> ids;
    std::vector<std::unique_ptr<CGeoKeyString>> keys;
    CGeoKeyStringArray array;
    std::vector<Ring> cells;
    std::vector<POINT> middles;

    Partition(std::mt19937& rng, int nx_, int ny_, LONG c_, LONG ox, LONG oy) : nx(nx_), ny(ny_), c(c_) {
        std::uniform_int_distribution<LONG> jitter(-c / 5, c / 5), bend(-c / 10, c / 10);
        std::vector<POINT> corner((nx + 1) * (ny + 1));
        for (int j = 0; j <= ny; ++j)
            for (int i = 0; i <= nx; ++i) {
                const bool edge = i == 0 || j == 0 || i == nx || j == ny;
                corner[j * (nx + 1) + i] = {ox + i * c + (edge ? 0 : jitter(rng)), oy + j * c + (edge ? 0 : jitter(rng))};
            }
        auto arc = [&](POINT a, POINT b, bool horizontal, bool frame) {
            POINT m = {static_cast<LONG>((static_cast<int64_t>(a.x) + b.x) / 2), static_cast<LONG>((static_cast<int64_t>(a.y) + b.y) / 2)};
            if (!frame) (horizontal ? m.y : m.x) += bend(rng);  // the frame stays straight
            std::vector<POINT> pts = {a, m, b};
            CGeoPLine* line = new CGeoPLine(3, pts.data(), FALSE);
            EXPECT_TRUE(layer.Add(line));
            arcs.push_back(pts);
            return static_cast<LONG>(line->GetID());
        };
        std::vector<LONG> h, v;
        std::vector<std::vector<POINT>> hp, vp;
        for (int j = 0; j <= ny; ++j)
            for (int i = 0; i < nx; ++i) {
                h.push_back(arc(corner[j * (nx + 1) + i], corner[j * (nx + 1) + i + 1], true, j == 0 || j == ny));
                hp.push_back(arcs.back());
            }
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i <= nx; ++i) {
                v.push_back(arc(corner[j * (nx + 1) + i], corner[(j + 1) * (nx + 1) + i], false, i == 0 || i == nx));
                vp.push_back(arcs.back());
            }
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i < nx; ++i) {
                const int b = j * nx + i, t = (j + 1) * nx + i, l = j * (nx + 1) + i, r = l + 1;
                keys.emplace_back(new CGeoKeyString);
                for (LONG k : {h[b], v[r], -h[t], -v[l], static_cast<LONG>(POLYGON_RING_END)}) keys.back()->Add(k);
                array.Add(keys.back().get());
                Ring cell = {hp[b][0], hp[b][1], vp[r][0], vp[r][1], hp[t][2], hp[t][1], vp[l][2], vp[l][1]};
                cells.push_back(cell);
                middles.push_back({ox + i * c + c / 2, oy + j * c + c / 2});
            }
    }
};

// Even-odd over every ring of the answer; rings are measured from their first point.
bool Covers(const std::vector<Ring>& rings, POINT p) {
    bool inside = false;
    for (const Ring& r : rings)
        for (size_t i = 0, j = r.size() - 1; i < r.size(); j = i++) {
            const POINT& a = r[i];
            const POINT& b = r[j];
            if ((a.y > p.y) != (b.y > p.y)) {
                const double x = a.x + (static_cast<double>(p.y) - a.y) * (static_cast<double>(b.x) - a.x) / (static_cast<double>(b.y) - a.y);
                if (x > p.x) inside = !inside;
            }
        }
    return inside;
}

void CheckDissolve(const Geos& g, Partition& part, const std::vector<LONG>& selection, const std::string& name) {
    SCOPED_TRACE(name);
    CGeoProcPoly proc(&part.layer, part.array);
    CGeoKeyString sel;
    for (LONG p : selection) sel.Add(p);
    POINT* pts = nullptr;
    int* sizes = nullptr;
    int count = 0;
    const int rc = proc.ReunitePoly(sel, &pts, &sizes, count);
    std::vector<Ring> rings;
    for (int i = 0, at = 0; rc && i < count; at += sizes[i], ++i) rings.emplace_back(pts + at, pts + at + sizes[i]);
    delete[] pts;
    delete[] sizes;

    // What GEOS unites: the selected cells that share a side with another selected one.
    std::vector<char> selected(part.cells.size(), 0);
    for (LONG p : selection) selected[p] = 1;
    std::vector<char> joined(part.cells.size(), 0);
    for (int j = 0; j < part.ny; ++j)
        for (int i = 0; i < part.nx; ++i) {
            const int k = j * part.nx + i;
            if (!selected[k]) continue;
            if ((i > 0 && selected[k - 1]) || (i + 1 < part.nx && selected[k + 1]) || (j > 0 && selected[k - part.nx]) ||
                (j + 1 < part.ny && selected[k + part.nx]))
                joined[k] = 1;
        }
    std::vector<GEOSGeometry*> polys;
    for (size_t k = 0; k < part.cells.size(); ++k)
        if (joined[k]) polys.push_back(g.Polygon(Shape{part.cells[k], {}}));
    ASSERT_EQ(rc, polys.empty() ? 0 : 1);
    if (polys.empty()) return;
    GEOSGeometry* all = GEOSGeom_createCollection_r(g.h(), GEOS_GEOMETRYCOLLECTION, polys.data(), static_cast<unsigned>(polys.size()));
    GEOSGeometry* u = GEOSUnaryUnion_r(g.h(), all);
    ASSERT_TRUE(u);
    double area = 0;
    for (const Ring& r : rings) area += SignedArea(r);
    const double peer = g.Area(u);
    EXPECT_NEAR(area, peer, 1e-9 * peer + 1);
    for (size_t k = 0; k < part.cells.size(); ++k)
        EXPECT_EQ(Covers(rings, part.middles[k]), joined[k] != 0) << "cell " << k;
    g.Destroy(u);
    g.Destroy(all);
}

// ---- clip ----

// The clip polygon's DPoints that convert back to exactly these layer points (target bounds 0,
// origin 0: the conversion adds half a unit and truncates toward zero).
std::vector<DPoint> ClipOf(const Ring& ring) {
    std::vector<DPoint> out;
    for (POINT p : ring) out.push_back({p.x * 1000.0 - (p.x < 0 ? 0.75 : 0), p.y * 1000.0 - (p.y < 0 ? 0.75 : 0)});
    out.push_back(out.front());
    return out;
}

struct Clip {
    std::string name;
    Shape shape;
    std::vector<Ring> lines;  // open polylines
};

double LineLength(const CGeoVectorObject* obj) {
    double s = 0;
    for (int i = 0; i + 1 < obj->GetPoints(); ++i) {
        POINT a = obj->GetPoint(i), b = obj->GetPoint(i + 1);
        s += std::hypot(static_cast<double>(b.x) - a.x, static_cast<double>(b.y) - a.y);
    }
    return s;
}

void CheckClip(const Geos& g, const Clip& c) {
    SCOPED_TRACE(c.name);
    const Ring ring = Keyhole(c.shape);
    GEOSGeometry* poly = g.Polygon(c.shape);
    ASSERT_EQ(GEOSisValid_r(g.h(), poly), 1);
    for (size_t k = 0; k < c.lines.size(); ++k) {
        const Ring& line = c.lines[k];
        CGeoVectorLayer source, target;
        source.Add(new CGeoPLine(static_cast<int>(line.size()), const_cast<POINT*>(line.data()), FALSE));
        CGeoVectorLayerList list;
        list.AddTail(&source);
        std::vector<DPoint> clip = ClipOf(ring);
        ASSERT_EQ(LayerCut(list, clip.data(), static_cast<LONG>(clip.size()), &target, 0), 1);
        double length = 0;
        int pieces = 0;
        for (POSITION p = target.m_ObjList.GetHeadPosition(); p; ++pieces) {
            const CGeoVectorObject* obj = static_cast<CGeoVectorObject*>(target.m_ObjList.GetNext(p));
            EXPECT_GT(LineLength(obj), 0) << "an empty piece of line " << k;
            length += LineLength(obj);
        }
        GEOSCoordSequence* seq = GEOSCoordSeq_create_r(g.h(), static_cast<unsigned>(line.size()), 2);
        for (size_t i = 0; i < line.size(); ++i) GEOSCoordSeq_setXY_r(g.h(), seq, static_cast<unsigned>(i), line[i].x, line[i].y);
        GEOSGeometry* gl = GEOSGeom_createLineString_r(g.h(), seq);
        GEOSGeometry* x = GEOSIntersection_r(g.h(), gl, poly);
        ASSERT_TRUE(x);
        const double peer = g.Length(x);
        // every piece end is a crossing rounded to whole units
        EXPECT_NEAR(length, peer, 2.0 * pieces + 1e-9 * peer + 1e-6) << "line " << k << ": " << Describe(line);
        g.Destroy(x);
        g.Destroy(gl);
    }
    g.Destroy(poly);
}

Ring Line(std::initializer_list<POINT> pts) { return Ring(pts); }

// Lines wandering over a box around the ring, some of them along its edges or through its vertices.
std::vector<Ring> LinesAround(std::mt19937& rng, const Ring& ring, int count) {
    int64_t l = ring[0].x, r = l, b = ring[0].y, t = b;
    for (POINT p : ring) {
        l = std::min<int64_t>(l, p.x);
        r = std::max<int64_t>(r, p.x);
        b = std::min<int64_t>(b, p.y);
        t = std::max<int64_t>(t, p.y);
    }
    const int64_t w = std::max<int64_t>(r - l, 10), hgt = std::max<int64_t>(t - b, 10);
    std::uniform_real_distribution<double> u(-0.2, 1.2);
    std::uniform_int_distribution<size_t> vertex(0, ring.size() - 1);
    auto clamp = [](double v) { return static_cast<LONG>(std::min(2147483647.0, std::max(-2147483648.0, std::round(v)))); };
    auto any = [&] { return POINT{clamp(l + u(rng) * w), clamp(b + u(rng) * hgt)}; };
    std::vector<Ring> out;
    for (int k = 0; k < count; ++k) {
        Ring line;
        switch (k % 4) {
            case 0:  // anywhere
                for (int i = 0; i < 6; ++i) line.push_back(any());
                break;
            case 1: {  // along a stretch of the ring and off again
                const size_t s = vertex(rng);
                line.push_back(any());
                for (size_t i = 0; i < 3; ++i) line.push_back(ring[(s + i) % ring.size()]);
                line.push_back(any());
                break;
            }
            case 2: {  // through two vertices of the ring (never back over itself)
                const size_t a = vertex(rng), b = (a + 1 + vertex(rng) % (ring.size() - 1)) % ring.size();
                line = {any(), ring[a], any(), ring[b]};
                break;
            }
            case 3: {  // a sliver: beside an edge, less than a unit off, slightly turned
                const size_t s = vertex(rng);
                const POINT a = ring[s], q = ring[(s + 1) % ring.size()];
                line = {{a.x, a.y + 1}, {q.x, q.y}, any()};
                break;
            }
        }
        Ring clean;
        for (POINT p : line)
            if (clean.empty() || p.x != clean.back().x || p.y != clean.back().y) clean.push_back(p);
        if (clean.size() >= 2) out.push_back(clean);
    }
    return out;
}

}  // namespace

TEST(DissolveAgainstGeos, RandomPartitions) {
    Geos g;
    std::mt19937 rng(45);
    const struct {
        const char* name;
        LONG ox, oy;
    } places[] = {
        {"at the origin", 0, 0},
        {"below and left of the origin", -600000, -400000},
        {"near the lowest coordinates", -kBig, -kBig},
        {"near the highest coordinates", kBig - 12 * 50000, kBig - 12 * 50000},
    };
    for (const auto& at : places) {
        Partition part(rng, 12, 9, 50000, at.ox, at.oy);
        const int n = part.nx * part.ny;
        std::vector<LONG> all, checker, holes, repeated;
        for (LONG k = 0; k < n; ++k) {
            all.push_back(k);
            const int i = k % part.nx, j = k / part.nx;
            if ((i + j) % 2 == 0) checker.push_back(k);  // cells meet at corners only
            if (!(i % 3 == 1 && j % 3 == 1)) holes.push_back(k);
        }
        repeated = {0, 1, 1, static_cast<LONG>(part.nx), 0, static_cast<LONG>(part.nx) + 1};
        CheckDissolve(g, part, all, std::string(at.name) + ": every cell");
        CheckDissolve(g, part, checker, std::string(at.name) + ": a checkerboard");
        CheckDissolve(g, part, holes, std::string(at.name) + ": around holes");
        CheckDissolve(g, part, repeated, std::string(at.name) + ": positions repeated");
        std::uniform_int_distribution<int> pct(20, 90);
        for (int r = 0; r < 6; ++r) {
            std::vector<LONG> sel;
            const int p = pct(rng);
            for (LONG k = 0; k < n; ++k)
                if (static_cast<int>(rng() % 100) < p) sel.push_back(k);
            std::shuffle(sel.begin(), sel.end(), rng);
            CheckDissolve(g, part, sel, std::string(at.name) + ": random " + std::to_string(r));
        }
    }
}

TEST(ClipAgainstGeos, AwkwardLinesAndPolygons) {
    Geos g;
    std::mt19937 rng(46);
    const Ring square = Rect(0, 0, 10000, 10000);
    const Shape framed{Rect(0, 0, 10000, 10000), {Rect(3000, 3000, 6000, 7000)}};
    std::vector<Clip> clips = {
        {"a square and lines on its edges",
         Shape{square, {}},
         {Line({{0, 2000}, {0, 8000}}), Line({{-5000, 0}, {15000, 0}}), Line({{5000, 5000}, {10000, 5000}}),
          Line({{10000, 5000}, {15000, 5000}}), Line({{2000, 5000}, {10000, 6000}, {2000, 7000}}),
          Line({{-1000, -1000}, {11000, 11000}}), Line({{10000, 10000}, {12000, 12000}})}},
        {"a frame with a hole", framed,
         {Line({{-1000, 5000}, {11000, 5000}}), Line({{4000, 4000}, {5000, 6000}}), Line({{3000, 2000}, {3000, 8000}}),
          Line({{0, 0}, {3000, 3000}})}},
        {"a square left of and below the origin", Shape{Rect(-15000, -15000, -5000, -5000), {}},
         {Line({{-20000, -10000}, {0, -9000}}), Line({{-15000, -20000}, {-15000, 0}})}},
        {"a square near the highest coordinates", Shape{Rect(kBig - 10000, kBig - 10000, kBig, kBig), {}},
         {Line({{kBig - 20000, kBig - 5000}, {INT32_MAX, kBig - 4000}}), Line({{kBig, kBig - 20000}, {kBig, INT32_MAX}})}},
        {"a square near the lowest coordinates", Shape{Rect(-kBig, -kBig, -kBig + 10000, -kBig + 10000), {}},
         {Line({{INT32_MIN, -kBig + 5000}, {-kBig + 20000, -kBig + 4000}})}},
        {"a needle", Shape{{{0, 0}, {1000000, 1}, {1000000, 3}, {0, 2}}, {}},
         {Line({{-10, 1}, {1000010, 2}}), Line({{500000, -5}, {500001, 10}})}},
    };
    for (const Clip& c : clips) CheckClip(g, c);

    // Random stars and circles anywhere in the coordinate range, with lines of every kind.
    const double shifts[] = {0, -1e6, 2.1e9, -2.1e9};
    for (int k = 0; k < 24; ++k) {
        const double sx = shifts[k % 4], sy = shifts[(k / 4) % 4], r = 1000 + 1e6 * (k % 5) / 4;
        Ring ring = k % 3 == 0 ? Circle(500, sx, sy, r) : k % 3 == 1 ? ArmStar(200, 7, sx, sy, r, 0.4) : RandomStar(rng, 40, sx, sy, 0.2 * r, r);
        if (ring.size() < 3) continue;
        Shape shape{ring, {}};
        GEOSGeometry* poly = g.Polygon(shape);
        const bool valid = GEOSisValid_r(g.h(), poly) == 1;
        g.Destroy(poly);
        if (!valid) continue;
        CheckClip(g, {"random " + std::to_string(k), shape, LinesAround(rng, ring, 24)});
    }
}
