#include "ostrel/Snap.h"

#include "Num.h"
#include "ostrel/Measure.h"
#include "ostrel/ShapePoints.h"

#include <algorithm>
#include <initializer_list>

using namespace ostrel_detail;

namespace {

// Keeps the best qualifying candidate.
class Picker {
public:
    Picker(const RECT& box, LONG tolerance) : box_(Normalized(box)), tolerance_(tolerance)
    {
        centre_ = RectCenter(box_);
    }
    const POINT& Centre() const { return centre_; }
    void Offer(const POINT& p, int index)
    {
        if (!InClosed(box_, p)) return;
        double d = SqrtDist(p, centre_);
        if (tolerance_ > 0 && d > (double)tolerance_ * tolerance_) return;
        if (found_ && d >= best_) return;
        found_ = true;
        best_ = d;
        point_ = p;
        index_ = index;
    }
    bool Found() const { return found_; }
    const POINT& Point() const { return point_; }
    int Index() const { return index_; }

private:
    RECT box_;
    LONG tolerance_;
    POINT centre_;
    bool found_ = false;
    double best_ = 0;
    POINT point_ = {0, 0};
    int index_ = 0;
};

int Finish(const Picker& pick, POINT& pt, int* index)
{
    if (!pick.Found()) return 0;
    pt = pick.Point();
    if (index) *index = pick.Index();
    return 1;
}

// Nearest point of the segment a-b to p.
POINT NearestOnSegment(const POINT& a, const POINT& b, const POINT& p)
{
    double dx = Dx(a, b), dy = Dy(a, b);
    double len2 = dx * dx + dy * dy;
    if (len2 == 0.0) return a;
    double t = (Dx(a, p) * dx + Dy(a, p) * dy) / len2;
    if (t <= 0.0) return a;
    if (t >= 1.0) return b;
    return MakePoint(RoundToLong(a.x + t * dx), RoundToLong(a.y + t * dy));
}

POINT FromDouble(double x, double y) { return MakePoint(RoundToLong(x), RoundToLong(y)); }

// Nearest point of the ellipse x^2/a^2 + y^2/b^2 = 1 (a, b > 0) to (px, py) with px, py >= 0, by
// bisection on the Lagrange parameter (robust for every position, including points inside).
void NearestOnEllipseQuadrant(double a, double b, double px, double py, double& x, double& y)
{
    if (py == 0.0 && px == 0.0) {
        // The centre: the nearer vertex.
        if (a <= b) { x = a; y = 0; } else { x = 0; y = b; }
        return;
    }
    if (py == 0.0) {
        // On the major or minor axis line.
        double denom = a * a - b * b;
        if (denom > 0 && px * a < denom) {
            x = a * a * px / denom;
            double q = 1.0 - (x / a) * (x / a);
            y = b * std::sqrt(q > 0 ? q : 0);
        } else {
            x = a;
            y = 0;
        }
        return;
    }
    if (px == 0.0) {
        double denom = b * b - a * a;
        if (denom > 0 && py * b < denom) {
            y = b * b * py / denom;
            double q = 1.0 - (y / b) * (y / b);
            x = a * std::sqrt(q > 0 ? q : 0);
        } else {
            x = 0;
            y = b;
        }
        return;
    }
    // f(t) = (a px / (t + a^2))^2 + (b py / (t + b^2))^2 - 1 decreases on t > -min(a, b)^2.
    // f(hi) < 0 because both denominators exceed hypot(a px, b py).
    double lo = -std::min(a * a, b * b), hi = std::hypot(a * px, b * py);
    auto f = [&](double t) {
        double u = a * px / (t + a * a), v = b * py / (t + b * b);
        return u * u + v * v - 1.0;
    };
    for (int i = 0; i < 200; ++i) {
        double mid = 0.5 * (lo + hi);
        if (mid == lo || mid == hi) break;
        if (f(mid) > 0) lo = mid; else hi = mid;
    }
    double t = 0.5 * (lo + hi);
    x = a * a * px / (t + a * a);
    y = b * b * py / (t + b * b);
}

} // namespace

int SnapToVertex(const POINT* pts, int n, POINT& pt, const RECT& box, int& index, LONG tolerance)
{
    if (pts == nullptr) return 0;
    Picker pick(box, tolerance);
    for (int i = 0; i < n; ++i) pick.Offer(pts[i], i);
    return Finish(pick, pt, &index);
}

int SnapToEndPoint(const POINT* pts, int n, POINT& pt, const RECT& box, LONG tolerance)
{
    if (pts == nullptr || n <= 0) return 0;
    Picker pick(box, tolerance);
    pick.Offer(pts[0], 0);
    pick.Offer(pts[n - 1], n - 1);
    return Finish(pick, pt, nullptr);
}

int SnapToMidPoint(const POINT* pts, int n, POINT& pt, const RECT& box, int& index, LONG tolerance)
{
    if (pts == nullptr) return 0;
    Picker pick(box, tolerance);
    for (int i = 0; i + 1 < n; ++i) pick.Offer(CalcMidPoint(pts[i], pts[i + 1]), i);
    return Finish(pick, pt, &index);
}

int SnapToPerPoint(const POINT* pts, int n, POINT& pt, const RECT& box, int& index, LONG tolerance)
{
    if (pts == nullptr) return 0;
    Picker pick(box, tolerance);
    for (int i = 0; i + 1 < n; ++i) {
        const POINT& a = pts[i];
        const POINT& b = pts[i + 1];
        double dx = Dx(a, b), dy = Dy(a, b);
        double len2 = dx * dx + dy * dy;
        if (len2 == 0.0) continue;
        double t = (Dx(a, pt) * dx + Dy(a, pt) * dy) / len2;
        if (t < 0.0 || t > 1.0) continue;
        pick.Offer(MakePoint(RoundToLong(a.x + t * dx), RoundToLong(a.y + t * dy)), i);
    }
    return Finish(pick, pt, &index);
}

int SnapToNearestPoint(const POINT* pts, int n, POINT& pt, const RECT& box, int& index, LONG tolerance)
{
    if (pts == nullptr || n <= 0) return 0;
    Picker pick(box, tolerance);
    if (n == 1) {
        pick.Offer(pts[0], 0);
        return Finish(pick, pt, &index);
    }
    // Only the overall nearest point counts, so that a far segment never wins over a near one.
    int bestIndex = 0;
    POINT best = pts[0];
    double bestD = -1.0;
    for (int i = 0; i + 1 < n; ++i) {
        POINT q = NearestOnSegment(pts[i], pts[i + 1], pick.Centre());
        double d = SqrtDist(q, pick.Centre());
        if (bestD < 0 || d < bestD) {
            bestD = d;
            best = q;
            bestIndex = i;
        }
    }
    pick.Offer(best, bestIndex);
    return Finish(pick, pt, &index);
}

int SnapToCenterPoint(const POINT& c, double, double, POINT& pt, const RECT& box, LONG tolerance)
{
    Picker pick(box, tolerance);
    pick.Offer(c, 0);
    return Finish(pick, pt, nullptr);
}

int SnapToQuadrant(const POINT* pts, int n, const POINT&, double, double, POINT& pt, const RECT& box,
                   LONG tolerance)
{
    if (pts == nullptr) return 0;
    Picker pick(box, tolerance);
    for (int i = 0; i < n; ++i) pick.Offer(pts[i], i);
    return Finish(pick, pt, nullptr);
}

int SnapToCircleNearestPoint(const POINT& c, double rx, double ry, POINT& pt, const RECT& box, LONG tolerance)
{
    rx = std::fabs(rx);
    ry = std::fabs(ry);
    if (!std::isfinite(rx) || !std::isfinite(ry)) return 0;
    Picker pick(box, tolerance);
    double px = Dx(c, pick.Centre()), py = Dy(c, pick.Centre());
    double x, y;
    if (rx == 0.0 && ry == 0.0) {
        x = 0;
        y = 0;
    } else if (rx == 0.0 || ry == 0.0) {
        // Flat ellipse: the segment along the non-zero axis.
        x = rx == 0.0 ? 0.0 : std::max(-rx, std::min(rx, px));
        y = ry == 0.0 ? 0.0 : std::max(-ry, std::min(ry, py));
    } else if (rx == ry) {
        double d = std::hypot(px, py);
        if (d == 0.0) {
            x = rx;
            y = 0;
        } else {
            x = px * rx / d;
            y = py * rx / d;
        }
    } else {
        NearestOnEllipseQuadrant(rx, ry, std::fabs(px), std::fabs(py), x, y);
        if (px < 0) x = -x;
        if (py < 0) y = -y;
    }
    pick.Offer(FromDouble(c.x + x, c.y + y), 0);
    return Finish(pick, pt, nullptr);
}

int SnapToCircleTangentPoint(const POINT& c, double rx, double ry, POINT& pt, const RECT& box, LONG tolerance)
{
    rx = std::fabs(rx);
    ry = std::fabs(ry);
    if (!(rx > 0.0) || !(ry > 0.0) || !std::isfinite(rx) || !std::isfinite(ry)) return 0;
    // In the frame where the ellipse is the unit circle, tangency is kept by the affine map.
    double u = Dx(c, pt) / rx, v = Dy(c, pt) / ry;
    double d = std::hypot(u, v);
    if (!(d > 1.0)) return 0;
    double base = std::atan2(v, u), spread = std::acos(1.0 / d);
    Picker pick(box, tolerance);
    for (double a : {base + spread, base - spread})
        pick.Offer(FromDouble(c.x + rx * std::cos(a), c.y + ry * std::sin(a)), 0);
    return Finish(pick, pt, nullptr);
}
