#include "ostrel/LabelPlacement.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

LONG Clamp(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return (LONG)-2147483647 - 1;
    return static_cast<LONG>(v);
}

POINT Pt(double x, double y) {
    POINT p;
    p.x = Clamp(std::floor(x + 0.5));
    p.y = Clamp(std::floor(y + 0.5));
    return p;
}

}  // namespace

POINT CalcInsertPoint(const POINT& a, const POINT& b, double t) {
    return Pt(a.x + t * (static_cast<double>(b.x) - a.x), a.y + t * (static_cast<double>(b.y) - a.y));
}

int CalcMinDisNo(const POINT* pts, int count, const RECT& r, POINT& nearest) {
    if (!pts || count < 2) return -1;
    const double px = (static_cast<double>(r.left) + r.right) / 2.0;
    const double py = (static_cast<double>(r.top) + r.bottom) / 2.0;
    int best = -1;
    double bestD = 0.0;
    for (int i = 0; i + 1 < count; ++i) {
        const double ax = pts[i].x, ay = pts[i].y;
        const double dx = pts[i + 1].x - ax, dy = pts[i + 1].y - ay;
        const double len2 = dx * dx + dy * dy;
        double t = len2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0.0;
        t = std::min(1.0, std::max(0.0, t));
        const double qx = ax + t * dx, qy = ay + t * dy;
        const double d = std::hypot(px - qx, py - qy);
        if (best < 0 || d < bestD) {
            best = i;
            bestD = d;
            nearest = Pt(qx, qy);
        }
    }
    return best;
}

POINT* CalcOffsetPoint(const POINT* pts, int& count, double distance, int side, int) {
    thread_local std::vector<POINT> buffer;
    if (!pts || count < 1) {
        count = 0;
        return nullptr;
    }
    const size_t n = static_cast<size_t>(count);
    std::vector<double> nx(n - 1), ny(n - 1);
    for (size_t i = 0; i + 1 < n; ++i) {
        const double dx = static_cast<double>(pts[i + 1].x) - pts[i].x;
        const double dy = static_cast<double>(pts[i + 1].y) - pts[i].y;
        const double len = std::hypot(dx, dy);
        if (len > 0) {
            nx[i] = -dy / len;
            ny[i] = dx / len;
        } else {
            nx[i] = ny[i] = 0.0;
        }
    }
    for (size_t i = 1; i < nx.size(); ++i)
        if (nx[i] == 0.0 && ny[i] == 0.0) nx[i] = nx[i - 1], ny[i] = ny[i - 1];
    for (size_t i = nx.size(); i-- > 1;)
        if (nx[i - 1] == 0.0 && ny[i - 1] == 0.0) nx[i - 1] = nx[i], ny[i - 1] = ny[i];
    const double sign = side == 1 ? 1.0 : -1.0;
    buffer.assign(n, POINT{0, 0});
    for (size_t i = 0; i < n; ++i) {
        double mx = 0.0, my = 0.0;
        if (n == 1) {
            // a single point has no direction: it stays
        } else if (i == 0) {
            mx = nx[0], my = ny[0];
        } else if (i + 1 == n) {
            mx = nx[i - 1], my = ny[i - 1];
        } else {
            mx = nx[i - 1] + nx[i];
            my = ny[i - 1] + ny[i];
            const double dot = mx * nx[i] + my * ny[i];
            if (std::fabs(dot) < 0.5) {  // turn of more than about 150 degrees: no stretch
                mx = nx[i], my = ny[i];
            } else {
                mx /= dot;
                my /= dot;
            }
        }
        buffer[i] = Pt(pts[i].x + sign * distance * mx, pts[i].y + sign * distance * my);
    }
    return buffer.data();
}

int CalcLineXEllipse(const POINT& a, const POINT& b, const POINT& centre, double rx, double ry, POINT& first,
                     POINT& second) {
    if (!(rx > 0.0) || !(ry > 0.0)) return 0;
    // In the frame where the ellipse is the unit circle about the origin.
    const double dx = (static_cast<double>(b.x) - a.x) / rx, dy = (static_cast<double>(b.y) - a.y) / ry;
    const double fx = (static_cast<double>(a.x) - centre.x) / rx, fy = (static_cast<double>(a.y) - centre.y) / ry;
    const double qa = dx * dx + dy * dy;
    const double qb = 2 * (fx * dx + fy * dy);
    const double qc = fx * fx + fy * fy - 1.0;
    const double disc = qb * qb - 4 * qa * qc;
    if (qa <= 0 || disc < 0) return 0;
    const double root = std::sqrt(disc);
    const double t1 = (-qb - root) / (2 * qa), t2 = (-qb + root) / (2 * qa);
    const bool on1 = t1 >= 0 && t1 <= 1, on2 = t2 >= 0 && t2 <= 1;
    if (!on1 && !on2) return 0;
    first = CalcInsertPoint(a, b, on1 ? t1 : t2);
    second = CalcInsertPoint(a, b, on1 ? t2 : t1);
    return (on1 ? 1 : 0) + (on2 ? 1 : 0);
}
