// Numeric helpers shared by the Ostrel sources (not installed).
#pragma once

#include "win32/wintypes.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace ostrel_detail {

typedef __int128 Wide;

// Clamps a double into the LONG range after truncation toward zero; NaN gives 0.
// Converting an out-of-range double to an integer is undefined behaviour, so every
// computed coordinate goes through one of these.
inline LONG TruncToLong(double v)
{
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return (LONG)-2147483647 - 1;
    return (LONG)std::trunc(v);
}

// Round to nearest, halves away from zero; clamped like TruncToLong.
inline LONG RoundToLong(double v)
{
    if (std::isnan(v)) return 0;
    return TruncToLong(std::round(v));
}

inline LONG ClampToLong(int64_t v)
{
    if (v > 2147483647LL) return 2147483647;
    if (v < -2147483648LL) return (LONG)-2147483647 - 1;
    return (LONG)v;
}

// (b - a) x (c - a), exact.
inline Wide Cross(const POINT& a, const POINT& b, const POINT& c)
{
    Wide bx = (Wide)b.x - a.x, by = (Wide)b.y - a.y;
    Wide cx = (Wide)c.x - a.x, cy = (Wide)c.y - a.y;
    return bx * cy - by * cx;
}

inline int Sign(Wide v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }

inline double Dx(const POINT& a, const POINT& b) { return (double)((int64_t)b.x - a.x); }
inline double Dy(const POINT& a, const POINT& b) { return (double)((int64_t)b.y - a.y); }

// A rectangle with left <= right and top <= bottom.
inline RECT Normalized(const RECT& r)
{
    RECT n = r;
    if (n.left > n.right) { LONG t = n.left; n.left = n.right; n.right = t; }
    if (n.top > n.bottom) { LONG t = n.top; n.top = n.bottom; n.bottom = t; }
    return n;
}

// Closed containment in a normalised rectangle.
inline bool InClosed(const RECT& n, const POINT& p)
{
    return p.x >= n.left && p.x <= n.right && p.y >= n.top && p.y <= n.bottom;
}

inline bool InClosed(const RECT& n, double x, double y)
{
    return x >= n.left && x <= n.right && y >= n.top && y <= n.bottom;
}

inline POINT MakePoint(LONG x, LONG y)
{
    POINT p;
    p.x = x;
    p.y = y;
    return p;
}

const double kPi = 3.14159265358979323846;

// Vertex i of the regular n-gon about c whose vertex 0 is v, counter-clockwise (y up), rounded.
inline POINT RegularVertex(int i, int n, const POINT& c, const POINT& v)
{
    if (i == 0 || n <= 0) return v;
    double dx = (double)((int64_t)v.x - c.x), dy = (double)((int64_t)v.y - c.y);
    double a = 2.0 * kPi * i / n;
    double cs = std::cos(a), sn = std::sin(a);
    return MakePoint(ClampToLong((int64_t)c.x + RoundToLong(dx * cs - dy * sn)),
                     ClampToLong((int64_t)c.y + RoundToLong(dx * sn + dy * cs)));
}

} // namespace ostrel_detail
