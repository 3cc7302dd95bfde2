// Helpers of the TIN tests: bodies with explicit vertices, layers of spot heights and contours, and a
// checker of the properties every triangulation must have whatever order it was built in.
#pragma once

#include "core/GeoVectorLayer.h"
#include "terrain/GeoTin.h"
#include "vector/GeoTinPoint.h"
#include "terrain/GeoTinTriangle.h"
#include "vector/GeoPoint.h"
#include "vector/GeoPolygonLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace tintest {

// Restores the process-wide y flag whatever a test does with it.
struct MinusYGuard {
    int saved = CGeoTinPoint::GetMinusY();
    ~MinusYGuard() { CGeoTinPoint::SetMinusY(saved); }
};

// A layer of spot heights, one CGeoPoint per point, z = x + 2 y unless given.
inline std::unique_ptr<CGeoVectorLayer> PointLayer(const std::vector<POINT>& pts, const std::vector<double>& z = {},
                                                   const CRect& bounds = CRect(0, 0, 0, 0)) {
    auto layer = std::make_unique<CGeoVectorLayer>(bounds);
    for (size_t i = 0; i < pts.size(); ++i) {
        auto* p = new CGeoPoint(pts[i]);
        p->SetZ(i < z.size() ? z[i] : pts[i].x + 2.0 * pts[i].y);
        layer->Add(p);
    }
    return layer;
}

inline std::vector<POINT> RandomPoints(int n, unsigned seed, int range = 100000) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> d(0, range);
    std::set<std::pair<int, int>> seen;
    std::vector<POINT> pts;
    while (static_cast<int>(pts.size()) < n) {
        POINT p{d(rng), d(rng)};
        if (seen.insert({p.x, p.y}).second) pts.push_back(p);
    }
    return pts;
}

// A closed contour approximating a circle of radius r about (cx, cy) with n vertices.
inline CGeoPolygonLine* Ring(int cx, int cy, double r, int n, double z) {
    std::vector<POINT> pts;
    for (int i = 0; i < n; ++i) {
        const double a = 2.0 * M_PI * i / n;
        pts.push_back(POINT{cx + static_cast<int>(std::lround(r * std::cos(a))),
                            cy + static_cast<int>(std::lround(r * std::sin(a)))});
    }
    auto* line = new CGeoPolygonLine(static_cast<int>(pts.size()), pts.data(), TRUE);
    line->SetZ(z);
    return line;
}

inline __int128 Cross(const CGeoTinPoint* a, const CGeoTinPoint* b, const CGeoTinPoint* c) {
    return static_cast<__int128>(static_cast<long long>(b->GetX()) - a->GetX()) * (static_cast<long long>(c->GetY()) - a->GetY()) -
           static_cast<__int128>(static_cast<long long>(b->GetY()) - a->GetY()) * (static_cast<long long>(c->GetX()) - a->GetX());
}

// Twice the area of the convex hull of the TIN's vertices that belong to some triangle.
inline double HullArea2(const std::vector<const CGeoTinPoint*>& used) {
    std::vector<std::pair<long long, long long>> p;
    for (auto* v : used) p.push_back({v->GetX(), v->GetY()});
    std::sort(p.begin(), p.end());
    p.erase(std::unique(p.begin(), p.end()), p.end());
    if (p.size() < 3) return 0.0;
    auto cross = [](auto o, auto a, auto b) {
        return static_cast<double>(a.first - o.first) * (b.second - o.second) -
               static_cast<double>(a.second - o.second) * (b.first - o.first);
    };
    std::vector<std::pair<long long, long long>> h(2 * p.size());
    size_t k = 0;
    for (size_t i = 0; i < p.size(); ++i) {
        while (k >= 2 && cross(h[k - 2], h[k - 1], p[i]) <= 0) --k;
        h[k++] = p[i];
    }
    for (size_t i = p.size() - 1, t = k + 1; i > 0; --i) {
        while (k >= t && cross(h[k - 2], h[k - 1], p[i - 1]) <= 0) --k;
        h[k++] = p[i - 1];
    }
    h.resize(k - 1);
    double a = 0.0;
    for (size_t i = 0; i < h.size(); ++i) {
        const auto& u = h[i];
        const auto& w = h[(i + 1) % h.size()];
        a += static_cast<double>(u.first) * w.second - static_cast<double>(w.first) * u.second;
    }
    return a;
}

struct TinFacts {
    int triangles = 0;
    int usedVertices = 0;
    int hullEdges = 0;
};

// Every triangle anticlockwise, serial k at position k - 1, links mutual and naming the same edge in
// opposite directions, the triangles tiling the convex hull of their vertices (area sum), and Euler's
// count T = 2 v - h - 2 over the used vertices.
inline TinFacts CheckTin(const CGeoTin& tin) {
    TinFacts f;
    f.triangles = tin.GetTriangleCount();
    std::set<const CGeoTinPoint*> used;
    double area2 = 0.0;
    for (LONG s = 1; s <= tin.GetTriangleCount(); ++s) {
        CGeoTinTriangle* t = tin.GetTriangle(s);
        EXPECT_EQ(t, tin.GetTriangle(1) + (s - 1));
        EXPECT_EQ(t->GetSerialNumber(), s);
        const __int128 c = Cross(t->GetVertex(0), t->GetVertex(1), t->GetVertex(2));
        EXPECT_GT(c, 0) << "triangle " << s << " is not anticlockwise";
        area2 += static_cast<double>(c);
        for (int i = 0; i < 3; ++i) {
            used.insert(t->GetVertex(i));
            StGeoPointTriangleIndex* l = t->GetNeighbor(i);
            if (!l) {
                ++f.hullEdges;
                continue;
            }
            StGeoPointTriangleIndex* back = l->triangle->GetNeighbor(l->edge);
            EXPECT_TRUE(back && back->triangle == t && back->edge == i) << "triangle " << s << " edge " << i;
            EXPECT_EQ(l->triangle->GetVertex(l->edge), t->GetVertex((i + 1) % 3));
            EXPECT_EQ(l->triangle->GetVertex((l->edge + 1) % 3), t->GetVertex(i));
        }
    }
    f.usedVertices = static_cast<int>(used.size());
    if (f.triangles > 0) {
        EXPECT_EQ(f.triangles, 2 * f.usedVertices - f.hullEdges - 2);
        const double hull = HullArea2(std::vector<const CGeoTinPoint*>(used.begin(), used.end()));
        EXPECT_NEAR(area2, hull, 1e-9 * hull);
    }
    EXPECT_LE(f.triangles, 2 * tin.GetPointCount());
    return f;
}

// The undirected edges of the TIN as pairs of body coordinates.
inline std::set<std::pair<std::pair<int, int>, std::pair<int, int>>> Edges(const CGeoTin& tin) {
    std::set<std::pair<std::pair<int, int>, std::pair<int, int>>> e;
    for (LONG s = 1; s <= tin.GetTriangleCount(); ++s) {
        CGeoTinTriangle* t = tin.GetTriangle(s);
        for (int i = 0; i < 3; ++i) {
            std::pair<int, int> a{t->GetVertex(i)->GetX(), t->GetVertex(i)->GetY()};
            std::pair<int, int> b{t->GetVertex((i + 1) % 3)->GetX(), t->GetVertex((i + 1) % 3)->GetY()};
            e.insert(a < b ? std::make_pair(a, b) : std::make_pair(b, a));
        }
    }
    return e;
}

// The share of inner edges that are locally Delaunay (the opposite vertex of the neighbour lies not
// strictly inside the circumcircle), by an exact in-circle test.
inline double DelaunayShare(const CGeoTin& tin) {
    long long inner = 0, good = 0;
    for (LONG s = 1; s <= tin.GetTriangleCount(); ++s) {
        CGeoTinTriangle* t = tin.GetTriangle(s);
        for (int i = 0; i < 3; ++i) {
            StGeoPointTriangleIndex* l = t->GetNeighbor(i);
            if (!l) continue;
            ++inner;
            const CGeoTinPoint* d = l->GetOppositeVertex();
            long double m[3][3];
            for (int k = 0; k < 3; ++k) {
                const long double dx = static_cast<long double>(t->GetVertex(k)->GetX()) - d->GetX();
                const long double dy = static_cast<long double>(t->GetVertex(k)->GetY()) - d->GetY();
                m[k][0] = dx;
                m[k][1] = dy;
                m[k][2] = dx * dx + dy * dy;
            }
            const long double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                                    m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                                    m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
            if (det <= 0) ++good;
        }
    }
    return inner ? static_cast<double>(good) / inner : 1.0;
}

}  // namespace tintest
