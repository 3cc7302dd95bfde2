#include "ostrel/Measure.h"

#include "Num.h"
#include "ostrel/ShapePoints.h"

#include <algorithm>

using namespace ostrel_detail;

double Distance(const POINT& p, const POINT& q) { return std::hypot(Dx(p, q), Dy(p, q)); }

double SqrtDist(const POINT& p, const POINT& q)
{
    double dx = Dx(p, q), dy = Dy(p, q);
    return dx * dx + dy * dy;
}

double PointToLine(const POINT& p, const POINT& a, const POINT& b)
{
    double abx = Dx(a, b), aby = Dy(a, b);
    double apx = Dx(a, p), apy = Dy(a, p);
    double len2 = abx * abx + aby * aby;
    if (len2 == 0.0) return std::hypot(apx, apy);
    double t = (apx * abx + apy * aby) / len2;
    if (t <= 0.0) return std::hypot(apx, apy);
    if (t >= 1.0) return Distance(p, b);
    return std::fabs((double)Cross(a, b, p)) / std::sqrt(len2);
}

double PointToStraightLine(const POINT& p, const POINT& a, const POINT& b)
{
    return PointToStraightLine(p, a, b, std::hypot(Dx(a, b), Dy(a, b)));
}

double PointToStraightLine(const POINT& p, const POINT& a, const POINT& b, double chord)
{
    if (chord == 0.0) return Distance(p, a);
    return std::fabs((double)Cross(a, b, p)) / chord;
}

int LineDistance(const POINT& p, const POINT& a, const POINT& b)
{
    return TruncToLong(PointToStraightLine(p, a, b));
}

double PolyLineLength(const POINT* pts, int n, int closed)
{
    if (pts == nullptr || n < 2) return 0.0;
    double sum = 0.0;
    for (int i = 0; i + 1 < n; ++i) sum += Distance(pts[i], pts[i + 1]);
    if (closed) sum += Distance(pts[n - 1], pts[0]);
    return sum;
}

double PolygonArea(const POINT* pts, int n)
{
    if (pts == nullptr || n < 3) return 0.0;
    Wide twice = 0;
    for (int i = 0; i < n; ++i) {
        const POINT& a = pts[i];
        const POINT& b = pts[(i + 1) % n];
        // Relative to pts[0] keeps every product within 2^66.
        twice += Cross(pts[0], a, b);
    }
    if (twice < 0) twice = -twice;
    return (double)twice / 2.0;
}

double CalcAngle(const POINT& c, const POINT& a, const POINT& b, int)
{
    double a1 = std::atan2(Dy(c, a), Dx(c, a));
    double a2 = std::atan2(Dy(c, b), Dx(c, b));
    double r = a2 - a1;
    if (r < 0.0) r += 2.0 * kPi;
    if (r >= 2.0 * kPi) r -= 2.0 * kPi;
    if (r < 0.0 || r >= 2.0 * kPi) r = 0.0;
    return r;
}

POINT RectCenter(const RECT& r)
{
    return MakePoint((LONG)(((int64_t)r.left + r.right) / 2), (LONG)(((int64_t)r.top + r.bottom) / 2));
}

POINT CalcMidPoint(const POINT& p, const POINT& q)
{
    return MakePoint((LONG)(((int64_t)p.x + q.x) / 2), (LONG)(((int64_t)p.y + q.y) / 2));
}

int GetCenterOfCircle(const POINT& p1, const POINT& p2, const POINT& p3, double& x, double& y)
{
    Wide bx = (Wide)p2.x - p1.x, by = (Wide)p2.y - p1.y;
    Wide cx = (Wide)p3.x - p1.x, cy = (Wide)p3.y - p1.y;
    Wide d = 2 * (bx * cy - by * cx);
    if (d == 0) {
        x = ((double)p1.x + p3.x) / 2.0;
        y = ((double)p1.y + p3.y) / 2.0;
        return 0;
    }
    Wide b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
    long double ux = (long double)(cy * b2 - by * c2) / (long double)d;
    long double uy = (long double)(bx * c2 - cx * b2) / (long double)d;
    x = (double)(p1.x + ux);
    y = (double)(p1.y + uy);
    return 1;
}

POINT GetCenterOfCircle(const POINT& p1, const POINT& p2, const POINT& p3)
{
    double x, y;
    if (!GetCenterOfCircle(p1, p2, p3, x, y)) return CalcMidPoint(p1, p3);
    return MakePoint(RoundToLong(x), RoundToLong(y));
}

double GetRadius(const POINT& p1, const POINT& p2, const POINT& p3)
{
    double x, y;
    if (!GetCenterOfCircle(p1, p2, p3, x, y)) return 0.0;
    return std::hypot(p1.x - x, p1.y - y);
}

double GetRadius(const POINT& centre, const POINT& p) { return Distance(centre, p); }

namespace {

RECT PointsBox(const POINT& p1, const POINT& p2, const POINT& p3)
{
    POINT pts[3] = {p1, p2, p3};
    return RecalcBounds(pts, 3);
}

// Rounded centre and radius; false for collinear points.
bool CircleOf(const POINT& p1, const POINT& p2, const POINT& p3, POINT& c, LONG& r)
{
    double x, y;
    if (!GetCenterOfCircle(p1, p2, p3, x, y)) return false;
    c = MakePoint(RoundToLong(x), RoundToLong(y));
    r = RoundToLong(std::hypot(p1.x - x, p1.y - y));
    return true;
}

RECT SquareAround(const POINT& c, LONG r)
{
    RECT box;
    box.left = ClampToLong((int64_t)c.x - r);
    box.top = ClampToLong((int64_t)c.y - r);
    box.right = ClampToLong((int64_t)c.x + r);
    box.bottom = ClampToLong((int64_t)c.y + r);
    return box;
}

} // namespace

int GetArcPara(const POINT& p1, const POINT& p2, const POINT& p3, RECT& circleBox, POINT& start, POINT& end,
               int)
{
    POINT c;
    LONG r;
    if (!CircleOf(p1, p2, p3, c, r)) {
        circleBox = PointsBox(p1, p2, p3);
        start = p1;
        end = p3;
        return 0;
    }
    circleBox = SquareAround(c, r);
    if (Cross(p1, p2, p3) > 0) {
        start = p1;
        end = p3;
    } else {
        start = p3;
        end = p1;
    }
    return 1;
}

namespace {

// How far the circle reaches beyond the point p of it along +x, -x, +y and -y (k = 0 to 3), from the
// centre (cx, cy) in doubles. The reach towards p's own side is written as d^2 / (r + |e|) so that a
// circle far larger than the coordinates (a nearly straight arc) loses nothing to cancellation.
double Reach(const POINT& p, double cx, double cy, int k)
{
    const double dx = p.x - cx, dy = p.y - cy;
    const double r = std::hypot(dx, dy);
    const double e = k == 0 ? dx : k == 1 ? -dx : k == 2 ? dy : -dy;  // offset towards that side
    const double d = (k < 2) ? dy : dx;                              // offset across it
    return e >= 0.0 ? d * d / (r + e) : r - e;
}

} // namespace

RECT GetArcRect(const POINT& p1, const POINT& p2, const POINT& p3, int)
{
    double cx, cy;
    if (!GetCenterOfCircle(p1, p2, p3, cx, cy)) return PointsBox(p1, p2, p3);
    // The three points lie on the arc; the box then grows to every axis extreme the sweep passes.
    RECT box = PointsBox(p1, p2, p3);
    const bool ccw = Cross(p1, p2, p3) > 0;
    const POINT& start = ccw ? p1 : p3;
    const POINT& end = ccw ? p3 : p1;
    const double a0 = std::atan2(start.y - cy, start.x - cx);
    double sweep = std::atan2(end.y - cy, end.x - cx) - a0;
    while (sweep < 0.0) sweep += 2.0 * kPi;
    // Directions of the extremes: 0 (+x), pi (-x), pi/2 (+y), 3 pi/2 (-y), matching Reach's k.
    const double angles[4] = {0.0, kPi, kPi / 2.0, 3.0 * kPi / 2.0};
    for (int k = 0; k < 4; ++k) {
        double rel = angles[k] - a0;
        while (rel < 0.0) rel += 2.0 * kPi;
        while (rel >= 2.0 * kPi) rel -= 2.0 * kPi;
        if (rel > sweep) continue;
        const double reach = Reach(p2, cx, cy, k);
        switch (k) {
        case 0: box.right = std::max(box.right, RoundToLong(p2.x + reach)); break;
        case 1: box.left = std::min(box.left, RoundToLong(p2.x - reach)); break;
        case 2: box.bottom = std::max(box.bottom, RoundToLong(p2.y + reach)); break;
        default: box.top = std::min(box.top, RoundToLong(p2.y - reach)); break;
        }
    }
    return box;
}

RECT GetCircleRect(const POINT& p1, const POINT& p2, const POINT& p3)
{
    POINT c;
    LONG r;
    if (!CircleOf(p1, p2, p3, c, r)) return PointsBox(p1, p2, p3);
    return SquareAround(c, r);
}

void RecalcBounds(RECT& r, const POINT& p)
{
    if (p.x < r.left) r.left = p.x;
    if (p.x > r.right) r.right = p.x;
    if (p.y < r.top) r.top = p.y;
    if (p.y > r.bottom) r.bottom = p.y;
}

RECT RecalcBounds(const POINT* pts, int n)
{
    RECT r = {0, 0, 0, 0};
    if (pts == nullptr || n <= 0) return r;
    r.left = r.right = pts[0].x;
    r.top = r.bottom = pts[0].y;
    for (int i = 1; i < n; ++i) RecalcBounds(r, pts[i]);
    return r;
}

RECT RecalcBounds(int n, const POINT& c, const POINT& v)
{
    RECT r = {v.x, v.y, v.x, v.y};
    // Vertex by vertex: the side count is whatever the caller set, so nothing is allocated for it.
    for (int i = 1; i < n; ++i) RecalcBounds(r, RegularVertex(i, n, c, v));
    return r;
}

POINT RotatePoint(const POINT& p, const POINT& c, double radians)
{
    if (!std::isfinite(radians)) return p;
    double cs = std::cos(radians), sn = std::sin(radians);
    double dx = Dx(c, p), dy = Dy(c, p);
    double rx = dx * cs - dy * sn;
    double ry = dx * sn + dy * cs;
    return MakePoint(ClampToLong((int64_t)c.x + RoundToLong(rx)), ClampToLong((int64_t)c.y + RoundToLong(ry)));
}

POINT RotatePoint90(const POINT& p, const POINT& c)
{
    int64_t dx = (int64_t)p.x - c.x, dy = (int64_t)p.y - c.y;
    return MakePoint(ClampToLong(c.x - dy), ClampToLong(c.y + dx));
}

POINT RotatePoint180(const POINT& p, const POINT& c)
{
    int64_t dx = (int64_t)p.x - c.x, dy = (int64_t)p.y - c.y;
    return MakePoint(ClampToLong(c.x - dx), ClampToLong(c.y - dy));
}

int GetVectorRelation(const POINT& c, const POINT& b, const POINT& a, int deviceFlag)
{
    int s = Sign(Cross(c, b, a));
    return deviceFlag ? -s : s;
}
