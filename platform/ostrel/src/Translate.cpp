#include "ostrel/Translate.h"

#include "Num.h"

using namespace ostrel_detail;

namespace {

struct TranslateState {
    int on = 0;
    int baseX = 0, baseY = 0;
    double degrees = 0.0;
    int cx = 0, cy = 0;
};

TranslateState g_translate;

// Forward map in doubles. Counter-clockwise with y up for a positive angle, as RotatePoint:
// x' = dx cos a - dy sin a, y' = dx sin a + dy cos a.
void Forward(double& x, double& y)
{
    double a = g_translate.degrees * kPi / 180.0;
    double c = std::cos(a), s = std::sin(a);
    double dx = x - g_translate.baseX, dy = y - g_translate.baseY;
    x = g_translate.baseX + dx * c - dy * s + g_translate.cx;
    y = g_translate.baseY + dx * s + dy * c + g_translate.cy;
}

} // namespace

int IsUsedTranslate() { return g_translate.on; }
void SetTranslate(int on) { g_translate.on = on != 0 ? 1 : 0; }

void SetBasePoint(int x, int y)
{
    g_translate.baseX = x;
    g_translate.baseY = y;
}

void GetBasePoint(int& x, int& y)
{
    x = g_translate.baseX;
    y = g_translate.baseY;
}

void SetRotateAngle(double degrees) { g_translate.degrees = std::isfinite(degrees) ? degrees : 0.0; }
double GetRotateAngle() { return g_translate.degrees; }

void SetTransform(int cx, int cy)
{
    g_translate.cx = cx;
    g_translate.cy = cy;
}

void GetTransform(int& cx, int& cy)
{
    cx = g_translate.cx;
    cy = g_translate.cy;
}

void Translate(POINT& p)
{
    double x = p.x, y = p.y;
    Forward(x, y);
    p.x = RoundToLong(x);
    p.y = RoundToLong(y);
}

void Translate(RECT& r)
{
    POINT c[4] = {MakePoint(r.left, r.top), MakePoint(r.right, r.top), MakePoint(r.right, r.bottom),
                  MakePoint(r.left, r.bottom)};
    for (POINT& p : c) Translate(p);
    RECT b = {c[0].x, c[0].y, c[0].x, c[0].y};
    for (const POINT& p : c) {
        if (p.x < b.left) b.left = p.x;
        if (p.x > b.right) b.right = p.x;
        if (p.y < b.top) b.top = p.y;
        if (p.y > b.bottom) b.bottom = p.y;
    }
    r = b;
}

void Translate2(double& x, double& y)
{
    double a = g_translate.degrees * kPi / 180.0;
    double c = std::cos(a), s = std::sin(a);
    double dx = x - g_translate.cx - g_translate.baseX;
    double dy = y - g_translate.cy - g_translate.baseY;
    // Inverse rotation: the transpose of the forward matrix.
    x = g_translate.baseX + dx * c + dy * s;
    y = g_translate.baseY - dx * s + dy * c;
}
