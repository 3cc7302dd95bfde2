#include "ostrel/Contact.h"

#include "Num.h"
#include "ostrel/Measure.h"
#include "ostrel/ShapePoints.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

using namespace ostrel_detail;

namespace {

// Points and boxes on 64-bit coordinates, so that doubled coordinates stay exact.
struct P64 {
    int64_t x, y;
};
struct Box64 {
    int64_t l, t, r, b; // normalised
};

P64 Of(const POINT& p) { return P64{p.x, p.y}; }
Box64 Of(const RECT& rc)
{
    RECT n = Normalized(rc);
    return Box64{n.left, n.top, n.right, n.bottom};
}

Wide Cross64(const P64& a, const P64& b, const P64& c)
{
    return (Wide)(b.x - a.x) * (c.y - a.y) - (Wide)(b.y - a.y) * (c.x - a.x);
}

// Separating axes: x, y, and the segment's normal.
bool SegmentMeetsBox(const P64& p, const P64& q, const Box64& r)
{
    if (std::max(p.x, q.x) < r.l || std::min(p.x, q.x) > r.r) return false;
    if (std::max(p.y, q.y) < r.t || std::min(p.y, q.y) > r.b) return false;
    const P64 corners[4] = {{r.l, r.t}, {r.r, r.t}, {r.r, r.b}, {r.l, r.b}};
    int pos = 0, neg = 0;
    for (const P64& c : corners) {
        int s = Sign(Cross64(p, q, c));
        if (s > 0) ++pos;
        if (s < 0) ++neg;
    }
    return !(pos == 4 || neg == 4);
}

bool OnSegment(const POINT& p, const POINT& a, const POINT& b)
{
    if (Cross(a, b, p) != 0) return false;
    return p.x >= std::min(a.x, b.x) && p.x <= std::max(a.x, b.x) && p.y >= std::min(a.y, b.y) &&
           p.y <= std::max(a.y, b.y);
}

bool SegmentsMeet(const POINT& a, const POINT& b, const POINT& c, const POINT& d)
{
    int d1 = Sign(Cross(c, d, a)), d2 = Sign(Cross(c, d, b));
    int d3 = Sign(Cross(a, b, c)), d4 = Sign(Cross(a, b, d));
    if (d1 * d2 < 0 && d3 * d4 < 0) return true;
    return OnSegment(a, c, d) || OnSegment(b, c, d) || OnSegment(c, a, b) || OnSegment(d, a, b);
}

// Parameters t along a -> b (0 at a, 1 at b) of the points that a-b shares with c-d: none, one, or the
// two ends of a collinear overlap. Call only when the segments meet.
std::vector<long double> SharedParams(const POINT& a, const POINT& b, const POINT& c, const POINT& d)
{
    std::vector<long double> ts;
    long double abx = (long double)b.x - a.x, aby = (long double)b.y - a.y;
    long double len2 = abx * abx + aby * aby;
    Wide den = (Wide)((int64_t)b.x - a.x) * ((int64_t)d.y - c.y) - (Wide)((int64_t)b.y - a.y) * ((int64_t)d.x - c.x);
    if (len2 == 0) {
        ts.push_back(0);
        return ts;
    }
    if (den != 0) {
        Wide num = (Wide)((int64_t)c.x - a.x) * ((int64_t)d.y - c.y) - (Wide)((int64_t)c.y - a.y) * ((int64_t)d.x - c.x);
        ts.push_back((long double)num / (long double)den);
        return ts;
    }
    // Parallel and meeting: collinear overlap, or a degenerate c-d lying on a-b.
    auto param = [&](const POINT& p) {
        return (((long double)p.x - a.x) * abx + ((long double)p.y - a.y) * aby) / len2;
    };
    long double t0 = std::max((long double)0, std::min(param(c), param(d)));
    long double t1 = std::min((long double)1, std::max(param(c), param(d)));
    ts.push_back(t0);
    if (t1 != t0) ts.push_back(t1);
    return ts;
}

POINT AtParam(const POINT& a, const POINT& b, long double t)
{
    if (t <= 0) return a;
    if (t >= 1) return b;
    long double x = a.x + t * ((long double)b.x - a.x);
    long double y = a.y + t * ((long double)b.y - a.y);
    return MakePoint(RoundToLong((double)x), RoundToLong((double)y));
}

// Scaled squared distance of (x, y) from the centre of an ellipse.
double EllipseValue(double x, double y, double cx, double cy, double a, double b)
{
    double u = (x - cx) / a, v = (y - cy) / b;
    return u * u + v * v;
}

// Closest point of the closed box to (x, y).
void Clamp(const RECT& n, double& x, double& y)
{
    x = std::min(std::max(x, (double)n.left), (double)n.right);
    y = std::min(std::max(y, (double)n.top), (double)n.bottom);
}

bool EllipseOutlineMeets(double cx, double cy, double a, double b, const RECT& n)
{
    double x = cx, y = cy;
    Clamp(n, x, y);
    if (EllipseValue(x, y, cx, cy, a, b) > 1.0) return false;
    const double xs[2] = {(double)n.left, (double)n.right}, ys[2] = {(double)n.top, (double)n.bottom};
    for (double px : xs)
        for (double py : ys)
            if (EllipseValue(px, py, cx, cy, a, b) >= 1.0) return true;
    return false; // the rectangle lies strictly inside the ellipse
}

// Angle of (x, y) about (cx, cy) lies within the counter-clockwise sweep from angle a0 of length sweep.
bool InSweep(double x, double y, double cx, double cy, double a0, double sweep)
{
    double a = std::atan2(y - cy, x - cx) - a0;
    while (a < 0) a += 2.0 * kPi;
    while (a >= 2.0 * kPi) a -= 2.0 * kPi;
    return a <= sweep + 1e-12;
}

} // namespace

int LineXRect(const POINT& p, const POINT& q, const RECT& r) { return SegmentMeetsBox(Of(p), Of(q), Of(r)) ? 1 : 0; }

int RectXRect(const RECT& r1, const RECT& r2)
{
    RECT a = Normalized(r1), b = Normalized(r2);
    return (a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom) ? 1 : 0;
}

int PolygonXRect(const POINT* pts, int n, const RECT& r)
{
    if (pts == nullptr || n <= 0) return 0;
    if (n == 1) return LineXRect(pts[0], pts[0], r);
    for (int i = 0; i < n; ++i)
        if (LineXRect(pts[i], pts[(i + 1) % n], r)) return 1;
    RECT nr = Normalized(r);
    return PtInPolygon(MakePoint(nr.left, nr.top), pts, n);
}

int EllipseXRect(const RECT& box, const RECT& r)
{
    RECT b = Normalized(box), n = Normalized(r);
    if (b.left == b.right || b.top == b.bottom) {
        // A flat ellipse is the segment along the box's long side.
        return LineXRect(MakePoint(b.left, b.top), MakePoint(b.right, b.bottom), n);
    }
    double cx = ((double)b.left + b.right) / 2.0, cy = ((double)b.top + b.bottom) / 2.0;
    double a = ((double)b.right - b.left) / 2.0, bb = ((double)b.bottom - b.top) / 2.0;
    return EllipseOutlineMeets(cx, cy, a, bb, n) ? 1 : 0;
}

int CircleXRect(const RECT& box, const RECT& r) { return EllipseXRect(box, r); }

int ArcXRect(const POINT& p1, const POINT& p2, const POINT& p3, const RECT& r, int)
{
    double cx, cy;
    if (!GetCenterOfCircle(p1, p2, p3, cx, cy)) return (LineXRect(p1, p2, r) || LineXRect(p2, p3, r)) ? 1 : 0;
    RECT n = Normalized(r);
    if (InClosed(n, p1) || InClosed(n, p3)) return 1;
    POINT start, end;
    RECT circle;
    GetArcPara(p1, p2, p3, circle, start, end, 0);
    double rad = std::hypot(p1.x - cx, p1.y - cy);
    double a0 = std::atan2(start.y - cy, start.x - cx);
    double a1 = std::atan2(end.y - cy, end.x - cx);
    double sweep = a1 - a0;
    while (sweep < 0) sweep += 2.0 * kPi;
    // Crossings of the circle with the four edges, kept when they lie on the edge and in the sweep.
    for (int k = 0; k < 4; ++k) {
        bool vertical = k < 2;
        double fixed = k == 0 ? n.left : k == 1 ? n.right : k == 2 ? n.top : n.bottom;
        double lo = vertical ? n.top : n.left, hi = vertical ? n.bottom : n.right;
        double d = fixed - (vertical ? cx : cy);
        double h2 = rad * rad - d * d;
        if (h2 < 0) continue;
        double h = std::sqrt(h2);
        double mid = vertical ? cy : cx;
        for (double v : {mid - h, mid + h}) {
            if (v < lo || v > hi) continue;
            double x = vertical ? fixed : v, y = vertical ? v : fixed;
            if (InSweep(x, y, cx, cy, a0, sweep)) return 1;
        }
    }
    return 0;
}

int RoundRectXRect(const RECT& box, const POINT& radii, const RECT& r)
{
    RECT b = Normalized(box), n = Normalized(r);
    RECT c;
    c.left = std::max(b.left, n.left);
    c.right = std::min(b.right, n.right);
    c.top = std::max(b.top, n.top);
    c.bottom = std::min(b.bottom, n.bottom);
    if (c.left > c.right || c.top > c.bottom) return 0;
    double rx = std::min(std::fabs((double)radii.x), ((double)b.right - b.left) / 2.0);
    double ry = std::min(std::fabs((double)radii.y), ((double)b.bottom - b.top) / 2.0);
    if (rx <= 0.0 || ry <= 0.0) {
        // Plain rectangle: the outline is met unless r lies strictly inside the box.
        bool inside = n.left > b.left && n.right < b.right && n.top > b.top && n.bottom < b.bottom;
        return inside ? 0 : 1;
    }
    const double L = b.left, R = b.right, T = b.top, B = b.bottom;
    // Centres of the corner ellipses.
    auto cornerX = [&](double x) { return x < L + rx ? L + rx : (x > R - rx ? R - rx : x); };
    auto cornerY = [&](double y) { return y < T + ry ? T + ry : (y > B - ry ? B - ry : y); };
    // Value <= 1 inside the closed rounded rectangle (given x, y inside the box).
    auto value = [&](double x, double y) {
        double ex = cornerX(x), ey = cornerY(y);
        if (ex == x || ey == y) return 0.0; // in the cross of the two bands
        return EllipseValue(x, y, ex, ey, rx, ry);
    };
    // Does r meet the region? Nearest point of c to the region: try the bands first.
    bool meets = false;
    if (!(c.right < L + rx || c.left > R - rx)) meets = true;      // vertical band
    else if (!(c.bottom < T + ry || c.top > B - ry)) meets = true; // horizontal band
    else {
        double ex = cornerX(c.left), ey = cornerY(c.top);
        double x = ex, y = ey;
        Clamp(c, x, y);
        meets = EllipseValue(x, y, ex, ey, rx, ry) <= 1.0;
    }
    if (!meets) return 0;
    // Strictly inside the region (and the box) at all four corners means the outline is not met.
    const double xs[2] = {(double)n.left, (double)n.right}, ys[2] = {(double)n.top, (double)n.bottom};
    for (double px : xs)
        for (double py : ys) {
            if (px <= L || px >= R || py <= T || py >= B) return 1;
            if (value(px, py) >= 1.0) return 1;
        }
    return 0;
}

int RoundRectXRect(const RECT& box, const SIZE& radii, const RECT& r)
{
    return RoundRectXRect(box, MakePoint(radii.cx, radii.cy), r);
}

int NPlygnXRect(int n, const POINT& c, const POINT& v, const RECT& r)
{
    if (n <= 0) return 0;
    if (n == 1) return LineXRect(v, v, r);
    POINT prev = v;
    for (int i = 1; i <= n; ++i) {
        POINT next = i == n ? v : RegularVertex(i, n, c, v);
        if (LineXRect(prev, next, r)) return 1;
        prev = next;
    }
    return 0;
}

int LineXLine(const POINT& a, const POINT& b, const POINT& c, const POINT& d) { return SegmentsMeet(a, b, c, d) ? 1 : 0; }

int LineSegmentXLineSegment(const POINT& a, const POINT& b, const POINT& c, const POINT& d, POINT& x)
{
    if (!SegmentsMeet(a, b, c, d)) return 0;
    std::vector<long double> ts = SharedParams(a, b, c, d);
    x = AtParam(a, b, *std::min_element(ts.begin(), ts.end()));
    return 1;
}

int Intersection(const POINT& a, const POINT& b, const POINT& c, const POINT& d, POINT& x)
{
    return LineSegmentXLineSegment(a, b, c, d, x);
}

int LineSegXLSegs(const POINT& p, const POINT& q, const POINT* ring, int n, POINT& x)
{
    if (ring == nullptr || n < 1) return 0;
    const double len = Distance(p, q);
    bool touchP = false, touchQ = false, found = false;
    long double best = 0;
    auto consider = [&](long double t) {
        double fromP = (double)t * len, fromQ = (1.0 - (double)t) * len;
        if (fromP < 1.0) touchP = true;
        if (fromQ < 1.0) touchQ = true;
        if (fromP >= 1.0 && fromQ >= 1.0 && (!found || t < best)) {
            best = t;
            found = true;
        }
    };
    if (n == 1) {
        if (SegmentsMeet(p, q, ring[0], ring[0]))
            for (long double t : SharedParams(p, q, ring[0], ring[0])) consider(t);
    }
    for (int i = 0; i + 1 < n; ++i) {
        if (!SegmentsMeet(p, q, ring[i], ring[i + 1])) continue;
        for (long double t : SharedParams(p, q, ring[i], ring[i + 1])) consider(t);
    }
    if (found) {
        x = AtParam(p, q, best);
        return 1;
    }
    if (touchQ)
        x = q;
    else if (touchP)
        x = p;
    return 0;
}

int PointOnLine(const POINT& p, const POINT& a, const POINT& b)
{
    // Doubled coordinates make the half-unit square around p an integer box.
    P64 a2{2 * (int64_t)a.x, 2 * (int64_t)a.y}, b2{2 * (int64_t)b.x, 2 * (int64_t)b.y};
    Box64 box{2 * (int64_t)p.x - 1, 2 * (int64_t)p.y - 1, 2 * (int64_t)p.x + 1, 2 * (int64_t)p.y + 1};
    return SegmentMeetsBox(a2, b2, box) ? 1 : 0;
}

namespace {

// 1 inside, 0 outside, -1 on the boundary.
int Locate(const POINT& p, const POINT* pts, int n)
{
    if (pts == nullptr || n <= 0) return 0;
    for (int i = 0; i < n; ++i)
        if (OnSegment(p, pts[i], pts[(i + 1) % n])) return -1;
    if (n < 3) return 0;
    bool inside = false;
    for (int i = 0, j = n - 1; i < n; j = i++) {
        const POINT& a = pts[i];
        const POINT& b = pts[j];
        if ((a.y > p.y) != (b.y > p.y)) {
            // Does the edge cross the ray to the right of p? Sign-exact in 128 bits.
            Wide s = Cross(a, b, p);
            bool right = (b.y > a.y) ? s > 0 : s < 0;
            if (right) inside = !inside;
        }
    }
    return inside ? 1 : 0;
}

} // namespace

int PtInPolygon(const POINT& p, const POINT* pts, int n) { return Locate(p, pts, n) != 0 ? 1 : 0; }

int PtInsidePolygon(const POINT& p, const POINT* pts, int n) { return Locate(p, pts, n) == 1 ? 1 : 0; }

int EqualPoint(const POINT& p, const POINT& q) { return (p.x == q.x && p.y == q.y) ? 1 : 0; }
int PointEqual(const POINT& p, const POINT& q) { return EqualPoint(p, q); }
