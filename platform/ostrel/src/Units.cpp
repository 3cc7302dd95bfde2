#include "ostrel/Units.h"

#include "Num.h"

using namespace ostrel_detail;

namespace {

// Whole millimetres per unit for the codes that have them, else 0.
int64_t WholeMillimeters(int unit)
{
    switch (unit) {
    case 3: return 1;
    case 4: return 10;
    case 6: return 1000;
    case 7: return 1000000;
    case 9: return 1;
    default: return unit == 1 ? 0 : 1;
    }
}

// Integer value converted with truncation toward zero.
LONG ConvertInt(int from, int to, LONG v, double factor)
{
    if (factor == 1.0) {
        int64_t f = WholeMillimeters(from), t = WholeMillimeters(to);
        if (f != 0 && t != 0) {
            // |v| * 10^6 fits easily in 64 bits; C++ division truncates toward zero.
            return ClampToLong((int64_t)v * f / t);
        }
    }
    return TruncToLong(ChangeUnit(from, to, (double)v, factor));
}

double SafeScale(UINT scale) { return scale == 0 ? 1.0 : (double)scale; }

} // namespace

double UnitInMillimeters(int unit)
{
    switch (unit) {
    case 1: return 25.4;
    case 4: return 10.0;
    case 6: return 1000.0;
    case 7: return 1000000.0;
    default: return 1.0; // 3, 9 and unknown codes
    }
}

double ChangeUnit(int from, int to, double value, double factor)
{
    if (from == to) return value * factor;
    return value * UnitInMillimeters(from) * factor / UnitInMillimeters(to);
}

void ChangeUnit(int from, int to, POINT& p, double factor)
{
    p.x = ConvertInt(from, to, p.x, factor);
    p.y = ConvertInt(from, to, p.y, factor);
}

void ChangeUnit(int from, int to, RECT& r, double factor)
{
    r.left = ConvertInt(from, to, r.left, factor);
    r.top = ConvertInt(from, to, r.top, factor);
    r.right = ConvertInt(from, to, r.right, factor);
    r.bottom = ConvertInt(from, to, r.bottom, factor);
}

void ChangeUnit(int from, int to, SIZE& s, double factor)
{
    s.cx = ConvertInt(from, to, s.cx, factor);
    s.cy = ConvertInt(from, to, s.cy, factor);
}

void ChangeUnit(int from, int to, const POINT* src, POINT* dst, int n, double factor)
{
    if (src == nullptr || dst == nullptr) return;
    for (int i = 0; i < n; ++i) {
        POINT p = src[i];
        ChangeUnit(from, to, p, factor);
        dst[i] = p;
    }
}

double RPtoLP(UINT scale, int unit, double value, double factor)
{
    return ChangeUnit(unit, 3, value, 1.0) * factor * 10.0 / SafeScale(scale);
}

LONG RPtoLP(UINT scale, int unit, LONG value, double factor)
{
    return TruncToLong(RPtoLP(scale, unit, (double)value, factor));
}

void RPtoLP(UINT scale, int unit, POINT& p, double factor)
{
    p.x = RPtoLP(scale, unit, p.x, factor);
    p.y = RPtoLP(scale, unit, p.y, factor);
}

void RPtoLP(UINT scale, int unit, SIZE& s, double factor)
{
    s.cx = RPtoLP(scale, unit, s.cx, factor);
    s.cy = RPtoLP(scale, unit, s.cy, factor);
}

void RPtoLP(UINT scale, int unit, RECT& r, double factor)
{
    r.left = RPtoLP(scale, unit, r.left, factor);
    r.top = RPtoLP(scale, unit, r.top, factor);
    r.right = RPtoLP(scale, unit, r.right, factor);
    r.bottom = RPtoLP(scale, unit, r.bottom, factor);
}

double LPtoRP(UINT scale, int unit, double value, double factor)
{
    if (factor == 0.0) return 0.0;
    return ChangeUnit(3, unit, value * SafeScale(scale) / 10.0 / factor, 1.0);
}

LONG LPtoRP(UINT scale, int unit, LONG value, double factor)
{
    return TruncToLong(LPtoRP(scale, unit, (double)value, factor));
}

void LPtoRP(UINT scale, int unit, POINT& p, double factor)
{
    p.x = LPtoRP(scale, unit, p.x, factor);
    p.y = LPtoRP(scale, unit, p.y, factor);
}

void LPtoRP(UINT scale, int unit, SIZE& s, double factor)
{
    s.cx = LPtoRP(scale, unit, s.cx, factor);
    s.cy = LPtoRP(scale, unit, s.cy, factor);
}

void LPtoRP(UINT scale, int unit, RECT& r, double factor)
{
    r.left = LPtoRP(scale, unit, r.left, factor);
    r.top = LPtoRP(scale, unit, r.top, factor);
    r.right = LPtoRP(scale, unit, r.right, factor);
    r.bottom = LPtoRP(scale, unit, r.bottom, factor);
}
