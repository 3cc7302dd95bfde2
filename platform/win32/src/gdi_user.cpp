// The window manager's rectangle painting: system colours, FillRect, FrameRect, InvertRect,
// DrawFocusRect and DrawEdge.
#include <algorithm>

#include "gdi_internal.h"
#include "win32/windraw.h"

namespace win32 {
namespace gdi {
namespace {

const COLORREF kSysColors[] = {
    RGB(212, 208, 200), RGB(58, 110, 165),  RGB(10, 36, 106),   RGB(128, 128, 128), RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(255, 255, 255),
    RGB(212, 208, 200), RGB(212, 208, 200), RGB(128, 128, 128), RGB(10, 36, 106),   RGB(255, 255, 255),
    RGB(212, 208, 200), RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(64, 64, 64),    RGB(212, 208, 200), RGB(0, 0, 0),       RGB(255, 255, 225),
};
const int kSysColorCount = sizeof kSysColors / sizeof kSysColors[0];

// A brush argument: a handle, or a system colour index + 1 as GDI callers may pass.
Brush* ResolveBrush(HBRUSH h) {
    uintptr_t v = reinterpret_cast<uintptr_t>(h);
    if (v >= 1 && v <= (uintptr_t)kSysColorCount) return Get<Brush>(GetSysColorBrush((int)v - 1), OBJ_BRUSH);
    return Get<Brush>(h, OBJ_BRUSH);
}

Mask RectMask(const DC& dc, const RECT& d) { return MakeMask(dc, d.left, d.top, d.right, d.bottom); }

void FillMask(Mask& m) { std::fill(m.data.begin(), m.data.end(), 255); }

}  // namespace
}  // namespace gdi
}  // namespace win32

using namespace win32::gdi;
using win32::GdiRecord;

DWORD GetSysColor(int index) { return index >= 0 && index < kSysColorCount ? kSysColors[index] : 0; }

HBRUSH GetSysColorBrush(int index) {
    static Brush* brushes[kSysColorCount] = {};
    if (index < 0 || index >= kSysColorCount) return nullptr;
    if (!brushes[index]) {
        brushes[index] = new Brush();
        brushes[index]->color = kSysColors[index];
        brushes[index]->stock = true;
    }
    return reinterpret_cast<HBRUSH>(brushes[index]);
}

int FillRect(HDC hdc, const RECT* rc, HBRUSH brush) {
    DC* dc = DcFrom(hdc);
    Brush* b = ResolveBrush(brush);
    if (!dc || !rc || !b) return 0;
    RECT d = ToDeviceRect(*dc, rc->left, rc->top, rc->right, rc->bottom);
    if (GdiRecord* r = Record(*dc, "FillRect", {POINT{d.left, d.top}, POINT{d.right, d.bottom}}))
        r->brush = LOGBRUSH{b->style, b->color, (ULONG_PTR)b->hatch};
    Mask m = RectMask(*dc, d);
    FillMask(m);
    Composite(*dc, m, BrushPaint(*dc, b), R2_COPYPEN);
    return 1;
}

int FrameRect(HDC hdc, const RECT* rc, HBRUSH brush) {
    DC* dc = DcFrom(hdc);
    Brush* b = ResolveBrush(brush);
    if (!dc || !rc || !b) return 0;
    if (rc->right <= rc->left || rc->bottom <= rc->top) return 1;
    RECT d = ToDeviceRect(*dc, rc->left, rc->top, rc->right, rc->bottom);
    if (GdiRecord* r = Record(*dc, "FrameRect", {POINT{d.left, d.top}, POINT{d.right, d.bottom}}))
        r->brush = LOGBRUSH{b->style, b->color, (ULONG_PTR)b->hatch};
    Region frame = Region::FromRect(d.left, d.top, d.right, d.bottom);
    if (rc->right - rc->left > 2 && rc->bottom - rc->top > 2) {
        RECT in = ToDeviceRect(*dc, rc->left + 1, rc->top + 1, rc->right - 1, rc->bottom - 1);
        frame = Region::Combine(frame, Region::FromRect(in.left, in.top, in.right, in.bottom), RGN_DIFF);
    }
    Mask m = RectMask(*dc, d);
    frame.ForEachRectIn(m.x0, m.y0, m.x0 + m.w, m.y0 + m.h, [&](int l, int t, int r, int bt) {
        for (int y = t; y < bt; ++y) std::fill(m.Row(y) + (l - m.x0), m.Row(y) + (r - m.x0), 255);
    });
    Composite(*dc, m, BrushPaint(*dc, b), R2_COPYPEN);
    return 1;
}

BOOL InvertRect(HDC hdc, const RECT* rc) {
    DC* dc = DcFrom(hdc);
    if (!dc || !rc) return FALSE;
    RECT d = ToDeviceRect(*dc, rc->left, rc->top, rc->right, rc->bottom);
    Record(*dc, "InvertRect", {POINT{d.left, d.top}, POINT{d.right, d.bottom}});
    Mask m = RectMask(*dc, d);
    FillMask(m);
    Paint p;
    p.kind = Paint::Solid;
    Composite(*dc, m, p, R2_NOT);
    return TRUE;
}

BOOL DrawFocusRect(HDC hdc, const RECT* rc) {
    DC* dc = DcFrom(hdc);
    if (!dc || !rc) return FALSE;
    RECT d = ToDeviceRect(*dc, rc->left, rc->top, rc->right, rc->bottom);
    Record(*dc, "DrawFocusRect", {POINT{d.left, d.top}, POINT{d.right, d.bottom}});
    if (d.right <= d.left || d.bottom <= d.top) return TRUE;
    Mask m = RectMask(*dc, d);
    if (m.Empty()) return TRUE;
    // Every other pixel of the one-pixel border, inverted: a second call restores the pixels.
    for (int y = m.y0; y < m.y0 + m.h; ++y) {
        for (int x = m.x0; x < m.x0 + m.w; ++x) {
            bool border = x == d.left || x == d.right - 1 || y == d.top || y == d.bottom - 1;
            if (border && ((x + y) & 1) == 0) m.Row(y)[x - m.x0] = 255;
        }
    }
    Paint p;
    p.kind = Paint::Solid;
    Composite(*dc, m, p, R2_NOT);
    return TRUE;
}

BOOL DrawEdge(HDC hdc, LPRECT rc, UINT edge, UINT flags) {
    DC* dc = DcFrom(hdc);
    if (!dc || !rc) return FALSE;
    if (GdiRecord* r = Record(*dc, "DrawEdge", {ToDevice(*dc, rc->left, rc->top), ToDevice(*dc, rc->right, rc->bottom)}))
        r->flags = edge << 16 | (flags & 0xFFFF);
    bool wasRecording = dc->recording;
    dc->recording = false;
    RECT r = *rc;
    auto line = [&](int l, int t, int rr, int b, int color) {
        RECT x{l, t, rr, b};
        FillRect(hdc, &x, GetSysColorBrush(color));
    };
    auto border = [&](UINT raised, UINT sunken, int tlRaised, int brRaised, int tlSunken, int brSunken) {
        if (!(edge & (raised | sunken)) || r.right <= r.left || r.bottom <= r.top) return;
        bool isRaised = (edge & raised) != 0;
        int tl = isRaised ? tlRaised : tlSunken, br = isRaised ? brRaised : brSunken;
        if (flags & BF_MONO) tl = br = COLOR_WINDOWFRAME;
        else if (flags & BF_FLAT) tl = br = COLOR_3DSHADOW;
        if (flags & BF_TOP) line(r.left, r.top, r.right, r.top + 1, tl);
        if (flags & BF_LEFT) line(r.left, r.top, r.left + 1, r.bottom, tl);
        if (flags & BF_BOTTOM) line(r.left, r.bottom - 1, r.right, r.bottom, br);
        if (flags & BF_RIGHT) line(r.right - 1, r.top, r.right, r.bottom, br);
        if (flags & BF_TOP) ++r.top;
        if (flags & BF_LEFT) ++r.left;
        if (flags & BF_BOTTOM) --r.bottom;
        if (flags & BF_RIGHT) --r.right;
    };
    border(BDR_RAISEDOUTER, BDR_SUNKENOUTER, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_3DSHADOW, COLOR_3DHIGHLIGHT);
    border(BDR_RAISEDINNER, BDR_SUNKENINNER, COLOR_3DHIGHLIGHT, COLOR_3DSHADOW, COLOR_3DDKSHADOW, COLOR_3DLIGHT);
    if ((flags & BF_MIDDLE) && r.right > r.left && r.bottom > r.top) FillRect(hdc, &r, GetSysColorBrush(COLOR_3DFACE));
    dc->recording = wasRecording;
    if (flags & BF_ADJUST) *rc = r;
    return TRUE;
}
