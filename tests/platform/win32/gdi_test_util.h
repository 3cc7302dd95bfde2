// Helpers for the GDI tests: small white canvases and pixel pictures that show what was drawn.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "win32/gdirecord.h"
#include "win32/windraw.h"
#include "win32/wingdi.h"

namespace gditest {

// A width x height 32-bit white canvas; DeleteDC frees it.
inline HDC Canvas(int w, int h) { return win32::CreateImageDC(w, h); }

// The colours of the DC's bitmap, row by row from the top, read past any clip region and mapping.
struct Pixels {
    int w = 0, h = 0;
    std::vector<COLORREF> c;
    explicit Pixels(HDC dc) {
        HBITMAP bmp = (HBITMAP)GetCurrentObject(dc, OBJ_BITMAP);
        BITMAP bm{};
        GetObject(bmp, sizeof bm, &bm);
        w = bm.bmWidth;
        h = bm.bmHeight;
        BITMAPINFO bmi{};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = w;
        bmi.bmiHeader.biHeight = -h;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        std::vector<uint32_t> raw((size_t)w * h);
        GetDIBits(dc, bmp, 0, (UINT)h, raw.data(), &bmi, DIB_RGB_COLORS);
        for (uint32_t v : raw) c.push_back(RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF));
    }
    COLORREF at(int x, int y) const { return c[(size_t)y * w + x]; }
};

// The canvas as text, one line per row: '.' for white, '#' for black, and the given characters for other
// colours ('?' for any colour not listed).
inline std::string Art(HDC dc, const std::map<COLORREF, char>& legend = {}) {
    Pixels p(dc);
    std::string s;
    for (int y = 0; y < p.h; ++y) {
        for (int x = 0; x < p.w; ++x) {
            COLORREF c = p.at(x, y);
            auto it = legend.find(c);
            if (it != legend.end()) s += it->second;
            else if (c == RGB(255, 255, 255)) s += '.';
            else if (c == 0) s += '#';
            else s += '?';
        }
        s += '\n';
    }
    return s;
}

// Bounding box [l, r) x [t, b) in device pixels of the pixels that are not white; (0,0,0,0) if none.
inline RECT InkBox(HDC dc) {
    Pixels p(dc);
    RECT r{p.w, p.h, -1, -1};
    for (int y = 0; y < p.h; ++y)
        for (int x = 0; x < p.w; ++x)
            if (p.at(x, y) != RGB(255, 255, 255)) {
                if (x < r.left) r.left = x;
                if (y < r.top) r.top = y;
                if (x + 1 > r.right) r.right = x + 1;
                if (y + 1 > r.bottom) r.bottom = y + 1;
            }
    if (r.right < 0) return RECT{0, 0, 0, 0};
    return r;
}

inline std::string OutputPath(const char* name) { return std::string(CORVANE_TEST_OUTPUT_DIR) + "/" + name; }

}  // namespace gditest
