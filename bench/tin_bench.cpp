// TIN build and DXF export against peers measured in the same run:
//   - CGeoTin on 100,000 and 1,000,000 uniform spot heights against qhull's Delaunay triangulation of the
//     same points (libqhull_r, loaded at run time), with the share of our edges that are Delaunay edges;
//   - 100,000 spot heights on concentric rings against 100,000 uniform ones (the hull walk must not turn
//     quadratic when every new vertex lies on the hull);
//   - ExportToDxf of the 1,000,000-point TIN against writing the same number of bytes with fwrite.
// Prints ratios (ours / peer); never passes or fails on time.
#include "core/GeoVectorObject.h"
#include "terrain/GeoTin.h"
#include "terrain/GeoTinTriangle.h"
#include "vector/GeoTinPoint.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>
#include <utility>
#include <vector>

#include <dlfcn.h>
#if __has_include(<libqhull_r/libqhull_r.h>)
extern "C" {
#include <libqhull_r/libqhull_r.h>
}
#define HAVE_QHULL_HEADERS 1
#endif

namespace {

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Many spot heights as one body: vertex k is point k. The body has no segments (GetPoints 0), so no two
// of its vertices are neighbours and nothing is forced.
class CSpotCloud : public CGeoVectorObject {
public:
    std::vector<int> x, y;
    int GetX(int i) const override { return x[i]; }
    int GetY(int i) const override { return y[i]; }
    CPoint GetPoint(int i) const override { return CPoint(x[i], y[i]); }
    double GetZ(int i) const override { return 0.001 * x[i] + 0.002 * y[i]; }
    int GetPoints() const override { return 0; }
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

// The CGeoTin pipeline of a layer build on one body: sweep, links, swaps, forcing, plane forms.
class CBenchTin : public CGeoTin {
public:
    BOOL Build(CSpotCloud& cloud, CPoint centre) {
        if (!AllocateTables(cloud.GetTinPointNumber())) return FALSE;
        CGeoTinPoint* cursor = GetTinPoint(0);
        cloud.CreateTinPoints(cursor, centre);
        if (!Triangulate()) return FALSE;
        CreateNeighborhood();
        ConvexCheck();
        CrossCheck();
        CreatePlaneForm();
        return TRUE;
    }
};

void Uniform(CSpotCloud& c, int n, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> d(0, 10000000);
    std::unordered_set<long long> seen;
    while (static_cast<int>(c.x.size()) < n) {
        const int a = d(rng), b = d(rng);
        if (!seen.insert(static_cast<long long>(a) << 32 | static_cast<unsigned>(b)).second) continue;
        c.x.push_back(a);
        c.y.push_back(b);
    }
}

void Rings(CSpotCloud& c, int n) {
    const int perRing = 1000;
    for (int r = 0; static_cast<int>(c.x.size()) < n; ++r)
        for (int i = 0; i < perRing && static_cast<int>(c.x.size()) < n; ++i) {
            const double a = 2.0 * M_PI * (i + 0.37 * r) / perRing;
            c.x.push_back(5000000 + static_cast<int>(std::lround((20000.0 + 40000.0 * r) * std::cos(a))));
            c.y.push_back(5000000 + static_cast<int>(std::lround((20000.0 + 40000.0 * r) * std::sin(a))));
        }
}

double TimeTin(CSpotCloud& c, CBenchTin& tin) {
    const double t0 = Now();
    if (!tin.Build(c, CPoint(5000000, 5000000))) std::printf("  build failed\n");
    return Now() - t0;
}

typedef std::set<std::pair<int, int>> EdgeSet;

EdgeSet TinEdges(CGeoTin& tin) {
    EdgeSet e;
    for (LONG s = 1; s <= tin.GetTriangleCount(); ++s) {
        CGeoTinTriangle* t = tin.GetTriangle(s);
        for (int i = 0; i < 3; ++i) {
            const int a = t->GetVertex(i)->GetNumber(), b = t->GetVertex((i + 1) % 3)->GetNumber();
            e.insert({std::min(a, b), std::max(a, b)});
        }
    }
    return e;
}

#ifdef HAVE_QHULL_HEADERS
struct Qhull {
    void* lib = nullptr;
    decltype(&qh_zero) zero = nullptr;
    decltype(&qh_new_qhull) newQhull = nullptr;
    decltype(&qh_freeqhull) freeQhull = nullptr;
    decltype(&qh_memfreeshort) memFreeShort = nullptr;
    Qhull() {
        lib = dlopen("libqhull_r.so.8.0", RTLD_NOW);
        if (!lib) return;
        zero = reinterpret_cast<decltype(zero)>(dlsym(lib, "qh_zero"));
        newQhull = reinterpret_cast<decltype(newQhull)>(dlsym(lib, "qh_new_qhull"));
        freeQhull = reinterpret_cast<decltype(freeQhull)>(dlsym(lib, "qh_freeqhull"));
        memFreeShort = reinterpret_cast<decltype(memFreeShort)>(dlsym(lib, "qh_memfreeshort"));
    }
    bool Ok() const { return zero && newQhull && freeQhull && memFreeShort; }

    // Delaunay triangulation; returns the build time and fills the edge set when edges is not NULL.
    double Run(const CSpotCloud& c, EdgeSet* edges, int* triangles) {
        std::vector<coordT> pts(2 * c.x.size());
        for (size_t i = 0; i < c.x.size(); ++i) {
            pts[2 * i] = c.x[i];
            pts[2 * i + 1] = c.y[i];
        }
        qhT q;
        qhT* qh = &q;
        zero(qh, stderr);
        char flags[] = "qhull d Qt Qbb Qz";
        const double t0 = Now();
        const int rc = newQhull(qh, 2, static_cast<int>(c.x.size()), pts.data(), False, flags, nullptr, stderr);
        const double t = Now() - t0;
        int count = 0;
        if (rc == 0)
            for (facetT* f = qh->facet_list; f && f->next; f = f->next) {
                if (f->upperdelaunay) continue;
                ++count;
                if (!edges) continue;
                int id[3], k = 0;
                vertexT *vertex, **vertexp;
                FOREACHvertex_(f->vertices) if (k < 3) id[k++] = static_cast<int>((vertex->point - pts.data()) / 2);
                for (int i = 0; i < 3; ++i) {
                    const int a = id[i], b = id[(i + 1) % 3];
                    edges->insert({std::min(a, b), std::max(a, b)});
                }
            }
        if (triangles) *triangles = count;
        int curlong, totlong;
        freeQhull(qh, !qh_ALL);
        memFreeShort(qh, &curlong, &totlong);
        return t;
    }
};
#endif

double DirSize(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? static_cast<double>(st.st_size) : 0.0;
}

}  // namespace

int main() {
    CGeoTinPoint::SetMinusY(0);
#ifdef HAVE_QHULL_HEADERS
    Qhull qhull;
    const bool haveQhull = qhull.Ok();
#else
    const bool haveQhull = false;
#endif
    if (!haveQhull) std::printf("qhull (libqhull-dev) not available: reference times skipped\n");

    double uniform100k = 0.0;
    for (int n : {100000, 1000000}) {
        CSpotCloud cloud;
        Uniform(cloud, n, 42);
        CBenchTin tin;
        const double ours = TimeTin(cloud, tin);
        if (n == 100000) uniform100k = ours;
        std::printf("TIN of %d uniform spot heights: %.3f s, %d triangles\n", n, ours, tin.GetTriangleCount());
#ifdef HAVE_QHULL_HEADERS
        if (haveQhull) {
            EdgeSet ref;
            int refTriangles = 0;
            const double peer = qhull.Run(cloud, n <= 100000 ? &ref : nullptr, &refTriangles);
            std::printf("  qhull Delaunay: %.3f s, %d triangles; ratio ours / qhull = %.2f\n", peer, refTriangles,
                        ours / peer);
            if (!ref.empty()) {
                const EdgeSet mine = TinEdges(tin);
                size_t common = 0;
                for (const auto& e : mine) common += ref.count(e);
                std::printf("  share of TIN edges that are Delaunay edges: %.5f\n",
                            static_cast<double>(common) / mine.size());
            }
        }
#endif
        if (n == 1000000) {
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
                std::printf("DXF export of %d triangles: %.3f s for %.0f MB; raw write of the same bytes %.3f s; "
                            "ratio %.2f\n",
                            tin.GetTriangleCount(), dxf, bytes / 1e6, io, dxf / io);
                std::remove((base + ".dxf").c_str());
                std::remove(raw.c_str());
                rmdir(dir);
            }
        }
    }

    CSpotCloud rings;
    Rings(rings, 100000);
    CBenchTin ringTin;
    const double ringTime = TimeTin(rings, ringTin);
    std::printf("TIN of 100000 spot heights on concentric rings: %.3f s, %d triangles; ratio rings / uniform = %.2f\n",
                ringTime, ringTin.GetTriangleCount(), ringTime / uniform100k);
    return 0;
}
