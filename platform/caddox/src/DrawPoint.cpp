#include "caddox/DrawPoint.h"

#include <win32/wingdi.h>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

LONG ClampLong(double v) {
    if (std::isnan(v)) return 0;
    return static_cast<LONG>(std::clamp(v, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

// (dx, dy) from the centre, in device units with y down, turned counter-clockwise as seen, rounded.
POINT Turned(POINT c, double dx, double dy, double sinA, double cosA) {
    // Counter-clockwise on a y-down device is clockwise in the device's own axes.
    const double x = dx * cosA + dy * sinA;
    const double y = -dx * sinA + dy * cosA;
    return POINT{ClampLong(c.x + std::round(x)), ClampLong(c.y + std::round(y))};
}

}  // namespace

void DrawPoint(CDC* pDC, CPoint pt, double direction, int marker, COLORREF colour, int size, int xorMode,
               CADDOX_POINTCALLBACK callback, int) {
    if (!pDC || !pDC->m_hDC) return;
    if (callback) {
        callback(pDC, pt, direction, marker, colour, size, xorMode);
        return;
    }
    const HDC hdc = pDC->m_hDC;
    const int kind = marker < 0 ? 0 : marker % CADDOX_MARKER_COUNT;
    const bool filled = kind == 0 || kind == 2 || kind == 6;
    const double h = std::max(size, 1) / 2.0;
    const double a = std::isfinite(direction) ? direction * 3.14159265358979323846 / 180.0 : 0.0;
    const double s = std::sin(a), c = std::cos(a);

    HPEN hPen = ::CreatePen(PS_SOLID, 1, colour);
    HBRUSH hBrush = filled ? ::CreateSolidBrush(colour) : nullptr;
    HGDIOBJ hOldPen = hPen ? ::SelectObject(hdc, hPen) : nullptr;
    HGDIOBJ hOldBrush = ::SelectObject(hdc, hBrush ? static_cast<HGDIOBJ>(hBrush) : ::GetStockObject(NULL_BRUSH));
    const int oldRop = xorMode ? ::SetROP2(hdc, R2_NOTXORPEN) : 0;

    switch (kind) {
        case 0:
        case 1: {
            const LONG r = ClampLong(h);
            ::Ellipse(hdc, ClampLong(static_cast<double>(pt.x) - r), ClampLong(static_cast<double>(pt.y) - r),
                      ClampLong(static_cast<double>(pt.x) + r + 1), ClampLong(static_cast<double>(pt.y) + r + 1));
            break;
        }
        case 2:
        case 3: {
            const POINT q[4] = {Turned(pt, -h, -h, s, c), Turned(pt, h, -h, s, c), Turned(pt, h, h, s, c),
                                Turned(pt, -h, h, s, c)};
            ::Polygon(hdc, q, 4);
            break;
        }
        case 4:
        case 5: {
            // The diagonal cross is the upright one turned by a further 45 degrees.
            const double b = kind == 5 ? a + 3.14159265358979323846 / 4.0 : a;
            const double s2 = std::sin(b), c2 = std::cos(b);
            const POINT ends[4] = {Turned(pt, -h, 0, s2, c2), Turned(pt, h, 0, s2, c2), Turned(pt, 0, -h, s2, c2),
                                   Turned(pt, 0, h, s2, c2)};
            ::MoveToEx(hdc, ends[0].x, ends[0].y, nullptr);
            ::LineTo(hdc, ends[1].x, ends[1].y);
            ::MoveToEx(hdc, ends[2].x, ends[2].y, nullptr);
            ::LineTo(hdc, ends[3].x, ends[3].y);
            break;
        }
        default: {
            const POINT q[3] = {Turned(pt, 0, -h, s, c), Turned(pt, h, h, s, c), Turned(pt, -h, h, s, c)};
            ::Polygon(hdc, q, 3);
            break;
        }
    }

    if (oldRop) ::SetROP2(hdc, oldRop);
    if (hOldBrush) ::SelectObject(hdc, hOldBrush);
    if (hOldPen) ::SelectObject(hdc, hOldPen);
    if (hBrush) ::DeleteObject(hBrush);
    if (hPen) ::DeleteObject(hPen);
}
