#include "ostrel/Misc.h"

#include <charconv>
#include <cmath>
#include <cstdio>

CString itos(int value)
{
    // Every new object names itself with a counter, so this runs once per object read from a file.
    char text[16];
    char* end = std::to_chars(text, text + sizeof text, value).ptr;
    return CString(text, static_cast<int>(end - text));
}

void Swap(POINT& a, POINT& b)
{
    POINT t = a;
    a = b;
    b = t;
}

void SwapCoordinate(POINT* pts, int n)
{
    if (pts == nullptr) return;
    for (int i = 0, j = n - 1; i < j; ++i, --j) Swap(pts[i], pts[j]);
}

namespace {

// z lies within 1e-6 of the interval of a whole multiple of step.
bool MultipleOf(double z, double step, double interval)
{
    return std::fabs(z - std::round(z / step) * step) <= 1e-6 * interval;
}

} // namespace

int GetContourType(double z, float interval, int pointMode)
{
    double I = interval;
    if (!(I > 0.0) || !std::isfinite(I) || !std::isfinite(z)) return -1;
    if (MultipleOf(z, 5.0 * I, I)) return 0;
    if (MultipleOf(z, I, I)) return 1;
    if (MultipleOf(z, I / 2.0, I)) return 2;
    if (MultipleOf(z, I / 4.0, I)) return 3;
    return pointMode ? 4 : -1;
}
