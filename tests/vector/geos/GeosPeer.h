// GEOS as the reference for the overlay operations: integer shapes handed to both the library and
// GEOS, the areas compared, and generators of random and awkward shapes.
//
// A Shape is an outline (any orientation) with holes. The library's polygon lines are single rings,
// so a shape with holes reaches them as one ring that runs out to each hole along a bridge and back
// (Keyhole); GEOS gets the same shape as a valid polygon with interior rings.
//
// The allowance: an overlay rounds every crossing to whole units, so its area may differ from the
// exact one by up to about the result's perimeter times the distance a point moved (Allowance).
#pragma once

#include <win32/wintypes.h>

#include <geos_c.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace geospeer {

using Ring = std::vector<POINT>;

struct Shape {
    Ring outer;
    std::vector<Ring> holes;
};

// Measured from the first point, so coordinates near the 32-bit limits keep their precision.
inline double SignedArea(const Ring& r) {
    double s = 0;
    const size_t n = r.size();
    for (size_t i = 0; i < n; ++i) {
        const POINT& a = r[i];
        const POINT& b = r[(i + 1) % n];
        const double ax = static_cast<double>(a.x) - r[0].x, ay = static_cast<double>(a.y) - r[0].y;
        const double bx = static_cast<double>(b.x) - r[0].x, by = static_cast<double>(b.y) - r[0].y;
        s += ax * by - bx * ay;
    }
    return s / 2;
}

inline bool SameRing(const Ring& a, const Ring& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](const POINT& p, const POINT& q) {
               return p.x == q.x && p.y == q.y;
           });
}

inline double Perimeter(const Ring& r) {
    double s = 0;
    for (size_t i = 0; i < r.size(); ++i) {
        const POINT& a = r[i];
        const POINT& b = r[(i + 1) % r.size()];
        s += std::hypot(static_cast<double>(b.x) - a.x, static_cast<double>(b.y) - a.y);
    }
    return s;
}

// Area difference an overlay may show when each output point lies within `moved` units of its exact
// place (1 unit covers rounding crossings to whole units; tolerances that snap points need more).
inline double Allowance(double perimeter, double moved = 1.0) { return perimeter * moved + 1; }

inline Ring Reversed(Ring r) {
    std::reverse(r.begin(), r.end());
    return r;
}

// The shape as one ring: the outline as given, and from its first vertex a bridge out to each hole's
// first vertex, the hole run the other way round from the outline, and back along the same bridge.
inline Ring Keyhole(const Shape& s) {
    const Ring& outer = s.outer;
    const bool ccw = SignedArea(outer) > 0;
    Ring out;
    out.push_back(outer[0]);
    for (const Ring& h0 : s.holes) {
        Ring h = (SignedArea(h0) > 0) == ccw ? Reversed(h0) : h0;
        for (const POINT& p : h) out.push_back(p);
        out.push_back(h[0]);
        out.push_back(outer[0]);
    }
    for (size_t i = 1; i < outer.size(); ++i) out.push_back(outer[i]);
    return out;
}

inline Ring Rect(LONG l, LONG b, LONG r, LONG t) { return {{l, b}, {r, b}, {r, t}, {l, t}}; }

inline Ring Moved(Ring r, LONG dx, LONG dy) {
    for (POINT& p : r) {
        p.x += dx;
        p.y += dy;
    }
    return r;
}

// n vertices on a circle (counterclockwise).
inline Ring Circle(int n, double cx, double cy, double radius) {
    Ring r;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * M_PI * i / n;
        r.push_back({static_cast<LONG>(std::lround(cx + radius * std::cos(a))),
                     static_cast<LONG>(std::lround(cy + radius * std::sin(a)))});
    }
    return r;
}

// A star-shaped ring: n vertices at random angles around (cx, cy), each at a random radius in
// [rmin, rmax] (counterclockwise, simple).
inline Ring RandomStar(std::mt19937& rng, int n, double cx, double cy, double rmin, double rmax) {
    std::uniform_real_distribution<double> angle(0, 2 * M_PI), radius(rmin, rmax);
    std::vector<double> angles(static_cast<size_t>(n));
    for (double& a : angles) a = angle(rng);
    std::sort(angles.begin(), angles.end());
    Ring r;
    for (double a : angles) {
        const double d = radius(rng);
        POINT p = {static_cast<LONG>(std::lround(cx + d * std::cos(a))), static_cast<LONG>(std::lround(cy + d * std::sin(a)))};
        if (r.empty() || p.x != r.back().x || p.y != r.back().y) r.push_back(p);
    }
    return r;
}

// A star with `arms` arms sampled at n vertices: radius R (1 + depth cos(arms t)), counterclockwise.
inline Ring ArmStar(int n, int arms, double cx, double cy, double radius, double depth, double turn = 0) {
    Ring r;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * M_PI * i / n + turn;
        const double d = radius * (1 + depth * std::cos(arms * (a - turn)));
        r.push_back({static_cast<LONG>(std::lround(cx + d * std::cos(a))), static_cast<LONG>(std::lround(cy + d * std::sin(a)))});
    }
    return r;
}

// One GEOS context for a test, with its errors printed (its notices, such as why an input is not
// valid, are not).
class Geos {
public:
    Geos() : h_(GEOS_init_r()) {
        GEOSContext_setNoticeHandler_r(h_, &Geos::Quiet);
        GEOSContext_setErrorHandler_r(h_, &Geos::Print);
    }
    ~Geos() { GEOS_finish_r(h_); }
    Geos(const Geos&) = delete;
    Geos& operator=(const Geos&) = delete;

    GEOSContextHandle_t h() const { return h_; }

    GEOSGeometry* LinearRing(const Ring& r) const {
        GEOSCoordSequence* seq = GEOSCoordSeq_create_r(h_, static_cast<unsigned>(r.size() + 1), 2);
        for (size_t i = 0; i <= r.size(); ++i) {
            const POINT& p = r[i % r.size()];
            GEOSCoordSeq_setXY_r(h_, seq, static_cast<unsigned>(i), p.x, p.y);
        }
        return GEOSGeom_createLinearRing_r(h_, seq);
    }
    GEOSGeometry* Polygon(const Shape& s) const {
        std::vector<GEOSGeometry*> holes;
        for (const Ring& r : s.holes) holes.push_back(LinearRing(r));
        return GEOSGeom_createPolygon_r(h_, LinearRing(s.outer), holes.data(), static_cast<unsigned>(holes.size()));
    }
    // A single ring as the library may write it (self-touching, or with a bridge to a hole), made
    // valid so GEOS can measure it.
    GEOSGeometry* ValidPolygon(const Ring& r) const {
        GEOSGeometry* raw = Polygon(Shape{r, {}});
        GEOSGeometry* valid = GEOSMakeValid_r(h_, raw);
        GEOSGeom_destroy_r(h_, raw);
        return valid;
    }
    double Area(const GEOSGeometry* g) const {
        double a = 0;
        GEOSArea_r(h_, g, &a);
        return a;
    }
    double Length(const GEOSGeometry* g) const {
        double l = 0;
        GEOSLength_r(h_, g, &l);
        return l;
    }
    // The polygon of largest area among the parts of a (multi)polygon or collection; NULL when it has
    // no area. Owned by g.
    const GEOSGeometry* LargestPart(const GEOSGeometry* g) const {
        const GEOSGeometry* best = nullptr;
        double bestArea = 0;
        const int n = GEOSGetNumGeometries_r(h_, g);
        for (int i = 0; i < n; ++i) {
            const GEOSGeometry* part = GEOSGetGeometryN_r(h_, g, i);
            const double a = Area(part);
            if (a > bestArea) {
                bestArea = a;
                best = part;
            }
        }
        return best;
    }
    // Area of the symmetric difference of two geometries.
    double DifferenceArea(const GEOSGeometry* a, const GEOSGeometry* b) const {
        GEOSGeometry* d = GEOSSymDifference_r(h_, a, b);
        const double area = d ? Area(d) : -1;
        if (d) GEOSGeom_destroy_r(h_, d);
        return area;
    }
    void Destroy(GEOSGeometry* g) const {
        if (g) GEOSGeom_destroy_r(h_, g);
    }

private:
    static void Quiet(const char*, ...) {}
    static void Print(const char* fmt, ...) {
        va_list ap;
        va_start(ap, fmt);
        std::vfprintf(stderr, fmt, ap);
        va_end(ap);
        std::fputc('\n', stderr);
    }
    GEOSContextHandle_t h_;
};

inline std::string Describe(const Ring& r) {
    std::string s;
    for (const POINT& p : r) s += "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
    return s;
}

}  // namespace geospeer
