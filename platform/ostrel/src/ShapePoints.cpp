#include "ostrel/ShapePoints.h"

#include "Num.h"

#include <vector>

using namespace ostrel_detail;

namespace {

double CatmullRom(double p0, double p1, double p2, double p3, double t)
{
    double t2 = t * t, t3 = t2 * t;
    return 0.5 * (2.0 * p1 + (-p0 + p2) * t + (2.0 * p0 - 5.0 * p1 + 4.0 * p2 - p3) * t2 +
                  (-p0 + 3.0 * p1 - 3.0 * p2 + p3) * t3);
}

} // namespace

void AdjustSpline(int slotCount, int k, POINT* slots)
{
    if (slots == nullptr || k <= 0 || slotCount < 2) return;
    const int stride = k + 1;
    const int controls = (slotCount - 1) / stride + 1;
    for (int j = 0; j + 1 < controls; ++j) {
        const POINT& p0 = slots[(j > 0 ? j - 1 : j) * stride];
        const POINT& p1 = slots[j * stride];
        const POINT& p2 = slots[(j + 1) * stride];
        const POINT& p3 = slots[(j + 2 < controls ? j + 2 : j + 1) * stride];
        for (int i = 1; i <= k; ++i) {
            double t = (double)i / stride;
            slots[j * stride + i] = MakePoint(RoundToLong(CatmullRom(p0.x, p1.x, p2.x, p3.x, t)),
                                              RoundToLong(CatmullRom(p0.y, p1.y, p2.y, p3.y, t)));
        }
    }
}

int GetVertex(int n, const POINT& c, const POINT& v, POINT* out)
{
    if (out == nullptr || n <= 0) return 0;
    for (int i = 0; i < n; ++i) out[i] = RegularVertex(i, n, c, v);
    return n;
}

int GetVertex(int n, const POINT* ctrl, POINT* out)
{
    if (ctrl == nullptr || out == nullptr || n <= 0) return 0;
    out[0] = ctrl[0];
    if (n == 1) return 1;
    out[1] = ctrl[1];
    if (n == 2) return 2;

    // Local frame: origin control point 0, u along the first side, w a quarter turn counter-clockwise.
    double ux = Dx(ctrl[0], ctrl[1]), uy = Dy(ctrl[0], ctrl[1]);
    double len = std::hypot(ux, uy);
    if (len == 0.0) {
        ux = 1.0;
        uy = 0.0;
    } else {
        ux /= len;
        uy /= len;
    }
    const double wx = -uy, wy = ux;
    auto along = [&](const POINT& p) { return Dx(ctrl[0], p) * ux + Dy(ctrl[0], p) * uy; };
    auto across = [&](const POINT& p) { return Dx(ctrl[0], p) * wx + Dy(ctrl[0], p) * wy; };
    auto toPoint = [&](double s, double t) {
        return MakePoint(RoundToLong(ctrl[0].x + s * ux + t * wx), RoundToLong(ctrl[0].y + s * uy + t * wy));
    };

    // Vertex i alternates: odd i moves along u (new s), even i moves along w (new t).
    double s = along(ctrl[1]), t = 0.0;
    int count = 2;
    for (int i = 2; i < n; ++i) {
        if (i % 2 == 0)
            t = across(ctrl[i]);
        else
            s = along(ctrl[i]);
        out[count++] = toPoint(s, t);
    }
    if (n % 2 == 0) {
        // The last side ran along u: drop straight back onto the first side's line.
        out[count++] = toPoint(s, 0.0);
    } else {
        // The last side ran along w: run along u to the line through control point 0 across the first
        // side, then back to control point 0.
        out[count++] = toPoint(0.0, t);
        out[count++] = ctrl[0];
    }
    return count;
}

POINT VtPoint(const POINT& a, const POINT& p, const SIZE& dir)
{
    double dx = dir.cx, dy = dir.cy;
    double len2 = dx * dx + dy * dy;
    if (len2 == 0.0) return a;
    double t = (Dx(a, p) * dx + Dy(a, p) * dy) / len2;
    return MakePoint(RoundToLong(a.x + t * dx), RoundToLong(a.y + t * dy));
}

POINT VtPoint(const POINT& a, const POINT& p, const POINT& dir)
{
    SIZE d;
    d.cx = dir.x;
    d.cy = dir.y;
    return VtPoint(a, p, d);
}

POINT ProPoint(const POINT& p0, const POINT& p1, const POINT& p2)
{
    double dx = Dx(p0, p1), dy = Dy(p0, p1);
    double len2 = dx * dx + dy * dy;
    if (len2 == 0.0) return p0;
    double t = (Dx(p0, p2) * dx + Dy(p0, p2) * dy) / len2;
    return MakePoint(RoundToLong(p0.x + t * dx), RoundToLong(p0.y + t * dy));
}
