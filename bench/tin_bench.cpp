// TIN build against CGAL's Delaunay triangulation of the same points, in one process:
//   - 100,000 and 1,000,000 uniform spot heights: the whole build (sweep, links, swaps, forcing, plane
//     forms) against CGAL building its Delaunay triangulation from the same points; the triangle sets
//     must be equal (random integer points are in general position), and the growth of both times from
//     10^5 to 10^6 is printed next to that of n log n;
//   - 100,000 spot heights on concentric rings (every new vertex lies on the hull) and 100,000 contour
//     vertices (closed lines whose segments are forced into the TIN) against the same number of uniform
//     spot heights: neither may cost more per point;
//   - ExportToDxf of the 1,000,000-point TIN against writing the same number of bytes with fwrite.
// Exits 1 when a triangle set differs from the peer's or a forced segment is missing.
#include "BenchUtil.h"

#include "core/GeoVectorObject.h"
#include "terrain/GeoTin.h"
#include "terrain/GeoTinTriangle.h"
#include "vector/GeoTinPoint.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>
#include <utility>
#include <vector>

#ifdef BENCH_HAVE_CGAL
#include <CGAL/Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>
#endif

namespace {

using bench::Now;

// Spot heights or lines as one body each: vertex k is point k. A body with GetPoints 0 has no segments,
// so no two of its vertices are neighbours and nothing is forced; a line body (GetPoints = its count)
// is closed: its last and first points are neighbours.
class CBody : public CGeoVectorObject {
public:
    std::vector<int> x, y;
    int first = 0;     // the number of point 0 across all bodies, for the triangle sets
    bool line = false;
    int GetX(int i) const override { return x[i]; }
    int GetY(int i) const override { return y[i]; }
    CPoint GetPoint(int i) const override { return CPoint(x[i], y[i]); }
    double GetZ(int i) const override { return 0.001 * x[i] + 0.002 * y[i]; }
    int GetPoints() const override { return line ? static_cast<int>(x.size()) : 0; }
    LONG GetTinPointNumber() const override { return static_cast<LONG>(x.size()); }
    LONG CreateTinPoints(CGeoTinPoint*& cursor, CPoint& c) override {
        for (size_t i = 0; i < x.size(); ++i, ++cursor) {
            const double dx = static_cast<double>(x[i]) - c.x, dy = static_cast<double>(y[i]) - c.y;
            cursor->SetNumber(static_cast<int>(i));
            cursor->SetMainBody(this);
            cursor->SetDistance(dx * dx + dy * dy);
        }
        return static_cast<LONG>(x.size());
    }
};

typedef std::vector<std::unique_ptr<CBody>> Shape;

// The pipeline of a layer build over the bodies: sweep, links, swaps, forcing, plane forms.
class CBenchTin : public CGeoTin {
public:
    double steps[5] = {0, 0, 0, 0, 0};
    BOOL Build(Shape& bodies, CPoint centre) {
        LONG n = 0;
        for (auto& b : bodies) n += b->GetTinPointNumber();
        double t = Now();
        if (!AllocateTables(static_cast<int>(n))) return FALSE;
        CGeoTinPoint* cursor = GetTinPoint(0);
        for (auto& b : bodies) b->CreateTinPoints(cursor, centre);
        if (!Triangulate()) return FALSE;
        Step(0, t);
        CreateNeighborhood();
        Step(1, t);
        ConvexCheck();
        Step(2, t);
        CrossCheck();
        Step(3, t);
        CreatePlaneForm();
        Step(4, t);
        return TRUE;
    }

private:
    void Step(int k, double& t) {
        const double now = Now();
        steps[k] = now - t;
        t = now;
    }
};

void Number(Shape& s) {
    int first = 0;
    for (auto& b : s) {
        b->first = first;
        first += static_cast<int>(b->x.size());
    }
}

Shape Uniform(int n, unsigned seed) {
    Shape s;
    s.emplace_back(new CBody);
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> d(0, 10000000);
    std::unordered_set<long long> seen;
    while (static_cast<int>(s[0]->x.size()) < n) {
        const int a = d(rng), b = d(rng);
        if (!seen.insert(static_cast<long long>(a) << 32 | static_cast<unsigned>(b)).second) continue;
        s[0]->x.push_back(a);
        s[0]->y.push_back(b);
    }
    return s;
}

// Concentric rings of 1000 points around the sweep's centre, one body of spot heights or one closed
// line per ring.
Shape Rings(int n, bool lines) {
    const int perRing = 1000;
    Shape s;
    for (int r = 0; r * perRing < n; ++r) {
        if (lines || s.empty()) s.emplace_back(new CBody);
        CBody& b = *s.back();
        b.line = lines;
        for (int i = 0; i < perRing && r * perRing + i < n; ++i) {
            const double a = 2.0 * M_PI * (i + 0.37 * r) / perRing;
            b.x.push_back(5000000 + static_cast<int>(std::lround((20000.0 + 40000.0 * r) * std::cos(a))));
            b.y.push_back(5000000 + static_cast<int>(std::lround((20000.0 + 40000.0 * r) * std::sin(a))));
        }
    }
    return s;
}

typedef std::vector<std::array<int, 3>> TriangleSet;

void Sorted(TriangleSet& t) {
    for (auto& a : t) std::sort(a.begin(), a.end());
    std::sort(t.begin(), t.end());
}

TriangleSet Triangles(CGeoTin& tin) {
    TriangleSet t;
    t.reserve(tin.GetTriangleCount());
    for (LONG s = 1; s <= tin.GetTriangleCount(); ++s) {
        CGeoTinTriangle* tr = tin.GetTriangle(s);
        std::array<int, 3> a;
        for (int i = 0; i < 3; ++i) {
            CGeoTinPoint* v = tr->GetVertex(i);
            a[i] = static_cast<CBody*>(v->GetMainBody())->first + v->GetNumber();
        }
        t.push_back(a);
    }
    Sorted(t);
    return t;
}

// Segments of the line bodies that are not edges of the TIN.
long MissingSegments(CGeoTin& tin, const Shape& s) {
    std::set<std::pair<int, int>> edges;
    for (const auto& a : Triangles(tin))
        for (int i = 0; i < 3; ++i) edges.insert({std::min(a[i], a[(i + 1) % 3]), std::max(a[i], a[(i + 1) % 3])});
    long missing = 0;
    for (const auto& b : s) {
        if (!b->line) continue;
        const int m = static_cast<int>(b->x.size());
        for (int i = 0; i < m; ++i) {
            const int p = b->first + i, q = b->first + (i + 1) % m;
            missing += edges.count({std::min(p, q), std::max(p, q)}) ? 0 : 1;
        }
    }
    return missing;
}

#ifdef BENCH_HAVE_CGAL
typedef CGAL::Exact_predicates_inexact_constructions_kernel K;
typedef CGAL::Triangulation_vertex_base_with_info_2<int, K> Vb;
typedef CGAL::Triangulation_data_structure_2<Vb> Tds;
typedef CGAL::Delaunay_triangulation_2<K, Tds> Delaunay;

struct Peer {
    std::vector<std::pair<K::Point_2, int>> points;
    explicit Peer(const Shape& s) {
        for (const auto& b : s)
            for (size_t i = 0; i < b->x.size(); ++i)
                points.push_back({K::Point_2(b->x[i], b->y[i]), b->first + static_cast<int>(i)});
    }
    TriangleSet Run(double* seconds) const {
        const double t0 = Now();
        Delaunay dt(points.begin(), points.end());
        *seconds = Now() - t0;
        TriangleSet t;
        t.reserve(dt.number_of_faces());
        for (auto f = dt.finite_faces_begin(); f != dt.finite_faces_end(); ++f)
            t.push_back({f->vertex(0)->info(), f->vertex(1)->info(), f->vertex(2)->info()});
        Sorted(t);
        return t;
    }
};
#endif

struct Result {
    double ours = 1e300, peer = 1e300;
    double steps[5] = {0, 0, 0, 0, 0};
    int triangles = 0;
    long differing = -1;  // triangles of ours not in the peer's set, -1 without a peer
    long missing = 0;     // line segments that are no edge
};

// Best of `rounds` alternating builds of ours and the peer's.
Result Measure(Shape& s, int rounds) {
    Number(s);
    const CPoint centre(5000000, 5000000);
    Result r;
#ifdef BENCH_HAVE_CGAL
    const Peer peer(s);
#endif
    for (int k = 0; k < rounds; ++k) {
        CBenchTin tin;
        const double t0 = Now();
        if (!tin.Build(s, centre)) {
            std::printf("  build failed\n");
            std::exit(1);
        }
        const double t = Now() - t0;
        if (t < r.ours) {
            r.ours = t;
            std::copy(tin.steps, tin.steps + 5, r.steps);
        }
        r.triangles = tin.GetTriangleCount();
#ifdef BENCH_HAVE_CGAL
        double p = 0;
        const TriangleSet theirs = peer.Run(&p);
        r.peer = std::min(r.peer, p);
        if (k == 0) {
            const TriangleSet mine = Triangles(tin);
            TriangleSet diff;
            std::set_difference(mine.begin(), mine.end(), theirs.begin(), theirs.end(), std::back_inserter(diff));
            r.differing = static_cast<long>(diff.size()) + std::labs(static_cast<long>(theirs.size()) -
                                                                      static_cast<long>(mine.size()));
            r.missing = MissingSegments(tin, s);
        }
#endif
    }
    return r;
}

void Print(const char* what, const Result& r) {
    bench::Row(what, r.ours, r.peer < 1e300 ? r.peer : 0.0);
    std::printf("    %d triangles; sweep %.3f, links %.3f, swaps %.3f, forcing %.3f, planes %.3f s", r.triangles,
                r.steps[0], r.steps[1], r.steps[2], r.steps[3], r.steps[4]);
    if (r.differing >= 0) std::printf("; %ld triangles differ from the peer's", r.differing);
    std::printf("\n");
}

double DirSize(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? static_cast<double>(st.st_size) : 0.0;
}

}  // namespace

int main() {
    CGeoTinPoint::SetMinusY(0);
#ifndef BENCH_HAVE_CGAL
    std::printf("CGAL (libcgal-dev) not available: peer times and triangle checks skipped\n");
#endif
    bool wrong = false;
    bench::Header();

    Shape small = Uniform(100000, 42);
    const Result u5 = Measure(small, 3);
    Print("TIN of 100,000 uniform spot heights (CGAL Delaunay)", u5);
    wrong |= u5.differing > 0;

    Shape large = Uniform(1000000, 42);
    const Result u6 = Measure(large, 2);
    Print("TIN of 1,000,000 uniform spot heights (CGAL Delaunay)", u6);
    wrong |= u6.differing > 0;
    const double nlogn = (1e6 * std::log(1e6)) / (1e5 * std::log(1e5));
    std::printf("    time 10^5 -> 10^6: ours x%.1f, CGAL x%.1f, n log n x%.1f\n", u6.ours / u5.ours,
                u6.peer < 1e300 ? u6.peer / u5.peer : 0.0, nlogn);

    Shape rings = Rings(100000, false);
    const Result r5 = Measure(rings, 3);
    Print("TIN of 100,000 spot heights on rings (CGAL Delaunay)", r5);
    std::printf("    rings / uniform: %.2f\n", r5.ours / u5.ours);

    Shape contours = Rings(100000, true);
    const Result c5 = Measure(contours, 3);
    Print("TIN of 100,000 contour vertices (CGAL Delaunay)", c5);
    std::printf("    contour vertices / uniform: %.2f; %ld segments not forced\n", c5.ours / u5.ours, c5.missing);
    wrong |= c5.missing > 0;

    {
        CBenchTin tin;
        Number(large);
        tin.Build(large, CPoint(5000000, 5000000));
        char dir[] = "/tmp/tin-bench-XXXXXX";
        if (mkdtemp(dir)) {
            const std::string base = std::string(dir) + "/tin";
            double t0 = Now();
            tin.ExportToDxf(base.c_str());
            const double dxf = Now() - t0;
            const double bytes = DirSize(base + ".dxf");
            std::vector<char> block(1 << 20, 'x');
            const std::string raw = std::string(dir) + "/raw";
            t0 = Now();
            FILE* f = std::fopen(raw.c_str(), "wb");
            for (double left = bytes; f && left > 0; left -= block.size())
                std::fwrite(block.data(), 1, static_cast<size_t>(std::min<double>(left, block.size())), f);
            if (f) std::fclose(f);
            const double io = Now() - t0;
            bench::Row("DXF export of the 1,000,000-point TIN (fwrite of its bytes)", dxf, io);
            std::remove((base + ".dxf").c_str());
            std::remove(raw.c_str());
            rmdir(dir);
        }
    }
    if (wrong) std::printf("WRONG: a triangle set differs from CGAL's or a segment was not forced\n");
    return wrong ? 1 : 0;
}
