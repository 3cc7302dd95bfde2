// Bitmaps: DIB sections in their stored layout, StretchDIBits and SetDIBitsToDevice with nearest
// sampling, block transfers with raster operations and colour conversion, GetDIBits and SetDIBits.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "gdi_test_util.h"

using namespace gditest;

namespace {

// A BITMAPINFO with room for a 256-entry palette.
struct Info {
    BITMAPINFOHEADER h{};
    RGBQUAD colors[256]{};
    Info(int w, int hgt, int bpp) {
        h.biSize = sizeof h;
        h.biWidth = w;
        h.biHeight = hgt;
        h.biPlanes = 1;
        h.biBitCount = (WORD)bpp;
    }
    const BITMAPINFO* bmi() const { return reinterpret_cast<const BITMAPINFO*>(this); }
    BITMAPINFO* bmi() { return reinterpret_cast<BITMAPINFO*>(this); }
};

// A 4 x 4 checkerboard, 8 bits, palette black and red, rows bottom-up, each padded to 4 bytes; the
// bottom-left pixel is red.
struct Checker {
    Info info{4, 4, 8};
    uint8_t bits[16];
    Checker() {
        info.h.biClrUsed = 2;
        info.colors[1] = RGBQUAD{0, 0, 255, 0};
        for (int row = 0; row < 4; ++row)
            for (int x = 0; x < 4; ++x) bits[row * 4 + x] = (uint8_t)(((x + row) & 1) == 0);
    }
};

}  // namespace

TEST(GdiDib, SectionsKeepTheStoredLayout) {
    Info info(5, 3, 8);  // bottom-up, 5 pixels = 8 bytes per row
    for (int i = 0; i < 256; ++i) info.colors[i] = RGBQUAD{(BYTE)i, (BYTE)i, (BYTE)i, 0};
    info.colors[7] = RGBQUAD{0, 0, 255, 0};  // red
    HDC dc = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(dc, info.bmi(), DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bmp, nullptr);
    ASSERT_NE(bits, nullptr);
    DIBSECTION ds;
    ASSERT_EQ(GetObject(bmp, sizeof ds, &ds), (int)sizeof ds);
    EXPECT_EQ(ds.dsBm.bmWidthBytes, 8);
    EXPECT_EQ(ds.dsBm.bmBits, bits);
    EXPECT_EQ(ds.dsBmih.biSizeImage, 24u);
    HGDIOBJ old = SelectObject(dc, bmp);
    SetPixel(dc, 0, 0, RGB(255, 0, 0));    // top-left: the last row in memory
    SetPixel(dc, 4, 2, RGB(200, 200, 200)); // bottom-right: the first row
    const uint8_t* b = static_cast<const uint8_t*>(bits);
    EXPECT_EQ(b[2 * 8 + 0], 7);
    EXPECT_EQ(b[0 * 8 + 4], 200);
    // The pen colour becomes the nearest palette index, and raster operations work on indexes.
    SetROP2(dc, R2_XORPEN);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(3, 3, 3));
    SelectObject(dc, pen);
    MoveToEx(dc, 0, 1, nullptr);
    LineTo(dc, 5, 1);
    EXPECT_EQ(b[1 * 8 + 2], 3);
    LineTo(dc, 0, 1);
    EXPECT_EQ(b[1 * 8 + 2], 0);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    DeleteObject(pen);
    // Top-down sections store the top row first.
    Info td(2, -2, 24);
    void* tbits = nullptr;
    HBITMAP tbmp = CreateDIBSection(nullptr, td.bmi(), DIB_RGB_COLORS, &tbits, nullptr, 0);
    SelectObject(dc, tbmp);
    SetPixel(dc, 1, 0, RGB(1, 2, 3));
    const uint8_t* t = static_cast<const uint8_t*>(tbits);
    EXPECT_EQ(t[3], 3);  // B, G, R
    EXPECT_EQ(t[4], 2);
    EXPECT_EQ(t[5], 1);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteObject(tbmp);
    // Bad descriptions give no bitmap.
    Info bad(4, 4, 7);
    EXPECT_EQ(CreateDIBSection(dc, bad.bmi(), DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    EXPECT_EQ(bits, nullptr);
    Info many(4, 4, 4);
    many.h.biClrUsed = 17;
    EXPECT_EQ(CreateDIBSection(dc, many.bmi(), DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    DeleteDC(dc);
}

TEST(GdiDib, StretchDIBitsSamplesTheNearestPixel) {
    Checker c;
    HDC dc = Canvas(40, 40);
    SetStretchBltMode(dc, COLORONCOLOR);
    ASSERT_EQ(StretchDIBits(dc, 0, 0, 40, 40, 0, 0, 4, 4, c.bits, c.info.bmi(), DIB_RGB_COLORS, SRCCOPY), 4);
    Pixels p(dc);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            int sx = x / 10, sy = 3 - y / 10;  // source row counted from the bottom
            COLORREF want = ((sx + sy) & 1) == 0 ? RGB(255, 0, 0) : 0;
            ASSERT_EQ(p.at(x, y), want) << x << "," << y;
        }
    }
    // A source rectangle counted from the bottom-left: the lower-left 2 x 1 pixels, onto 20 x 10.
    RECT all{0, 0, 40, 40};
    FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    StretchDIBits(dc, 0, 0, 20, 10, 0, 0, 2, 1, c.bits, c.info.bmi(), DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(Pixels(dc).at(5, 5), RGB(255, 0, 0));
    EXPECT_EQ(Pixels(dc).at(15, 5), 0u);
    EXPECT_EQ(Pixels(dc).at(5, 15), RGB(255, 255, 255));
    // A negative destination width mirrors.
    StretchDIBits(dc, 20, 20, -20, 10, 0, 0, 2, 1, c.bits, c.info.bmi(), DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(Pixels(dc).at(5, 25), 0u);
    EXPECT_EQ(Pixels(dc).at(15, 25), RGB(255, 0, 0));
    // A top-down DIB counts its source rows from the top.
    Checker td;
    td.info.h.biHeight = -4;
    FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    StretchDIBits(dc, 0, 0, 4, 4, 0, 0, 4, 4, td.bits, td.info.bmi(), DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(Pixels(dc).at(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(Pixels(dc).at(1, 0), 0u);
    // A source outside the DIB writes nothing; bad arguments fail.
    FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    StretchDIBits(dc, 0, 0, 4, 4, 10, 10, 4, 4, c.bits, c.info.bmi(), DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(InkBox(dc).right, 0);
    EXPECT_EQ(StretchDIBits(dc, 0, 0, 4, 4, 0, 0, 4, 4, nullptr, c.info.bmi(), DIB_RGB_COLORS, SRCCOPY), (int)GDI_ERROR);
    // Through a clipping region only the region's pixels change, and an index beyond the palette
    // paints black.
    Checker odd;
    odd.bits[0] = 9;  // the bottom-left pixel, red before
    FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    HRGN clip = CreateRectRgn(0, 0, 20, 40);
    SelectClipRgn(dc, clip);
    StretchDIBits(dc, 0, 0, 40, 40, 0, 0, 4, 4, odd.bits, odd.info.bmi(), DIB_RGB_COLORS, SRCCOPY);
    SelectClipRgn(dc, nullptr);
    DeleteObject(clip);
    EXPECT_EQ(Pixels(dc).at(5, 35), 0u);
    EXPECT_EQ(Pixels(dc).at(5, 15), RGB(255, 0, 0));
    EXPECT_EQ(Pixels(dc).at(15, 35), 0u);
    EXPECT_EQ(Pixels(dc).at(25, 15), RGB(255, 255, 255));
    EXPECT_EQ(Pixels(dc).at(35, 35), RGB(255, 255, 255));
    DeleteDC(dc);
}

// Painting an image with SRCCOPY has a fast path of its own; a raster operation with the same truth
// table (0xCC: the source) but another low word takes the general one. Both must leave the same pixels,
// whatever the depth, stretch, mirroring, clipping or part of the source outside the image.
TEST(GdiDib, StretchDIBitsCopyAgreesWithTheGeneralPath) {
    const DWORD kSourceByTable = 0x00CC0000;
    uint32_t seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u, (seed >> 8) & 0xFF; };
    const int W = 12, H = 9;  // 24-bit rows of 36 bytes: no padding after the last pixel
    struct Case {
        int x, y, w, h, xs, ys, ws, hs;
    };
    const Case cases[] = {
        {3, 2, 12, 9, 0, 0, 12, 9},       // one to one
        {0, 0, 40, 30, 2, 1, 8, 6},       // enlarged: rows and columns repeat
        {5, 4, 13, 10, 0, 0, 12, 9},      // one pixel larger, as an image layer draws
        {1, 1, 6, 5, 0, 0, 12, 9},        // shrunk
        {30, 2, -25, 20, 0, 0, 12, 9},    // mirrored left to right
        {2, 28, 30, -25, 0, 0, 12, 9},    // mirrored top to bottom
        {0, 0, 40, 30, -3, -2, 20, 14},   // source partly outside the image: those pixels stay
        {-10, -5, 60, 45, 0, 0, 12, 9},   // destination beyond the canvas
    };
    for (int bpp : {8, 24, 32}) {
        for (int topDown = 0; topDown < 2; ++topDown) {
            Info info(W, topDown ? -H : H, bpp);
            info.h.biClrUsed = bpp == 8 ? 200 : 0;  // indices past the table paint black
            for (int i = 0; i < 200; ++i) info.colors[i] = RGBQUAD{(BYTE)next(), (BYTE)next(), (BYTE)next(), 0};
            const int stride = (W * bpp + 31) / 32 * 4;
            std::vector<BYTE> bits((size_t)stride * H);
            for (BYTE& b : bits) b = (BYTE)next();
            for (const Case& c : cases) {
                for (int clipped = 0; clipped < 2; ++clipped) {
                    HDC dc[2] = {Canvas(40, 30), Canvas(40, 30)};
                    for (int y = 0; y < 30; ++y)
                        for (int x = 0; x < 40; ++x) {
                            const COLORREF bg = RGB(next(), next(), next());
                            SetPixel(dc[0], x, y, bg);
                            SetPixel(dc[1], x, y, bg);
                        }
                    for (int k = 0; k < 2; ++k) {
                        if (clipped) {  // two boxes, so one row is painted in two runs
                            HRGN a = CreateRectRgn(2, 3, 15, 25), b = CreateRectRgn(20, 0, 33, 18);
                            CombineRgn(a, a, b, RGN_OR);
                            SelectClipRgn(dc[k], a);
                            DeleteObject(a);
                            DeleteObject(b);
                        }
                        StretchDIBits(dc[k], c.x, c.y, c.w, c.h, c.xs, c.ys, c.ws, c.hs, bits.data(), info.bmi(),
                                      DIB_RGB_COLORS, k ? kSourceByTable : SRCCOPY);
                    }
                    EXPECT_EQ(Pixels(dc[0]).c, Pixels(dc[1]).c)
                        << bpp << " bits, top-down " << topDown << ", clipped " << clipped << ", case at "
                        << c.x << "," << c.y << " " << c.w << "x" << c.h;
                    DeleteDC(dc[0]);
                    DeleteDC(dc[1]);
                }
            }
        }
    }
}

TEST(GdiDib, SetDIBitsToDeviceCopiesScanLines) {
    Checker c;
    HDC dc = Canvas(6, 6);
    // Only scan lines 2 and 3 (counted from the bottom: the image's top two rows) are passed.
    int n = SetDIBitsToDevice(dc, 1, 1, 4, 4, 0, 0, 2, 2, c.bits + 2 * 4, c.info.bmi(), DIB_RGB_COLORS);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(Art(dc, {{RGB(255, 0, 0), 'r'}}),
              "......\n"
              ".#r#r.\n"
              ".r#r#.\n"
              "......\n"
              "......\n"
              "......\n");
    DeleteDC(dc);
}

TEST(GdiBlt, CopiesRasterOperationsAndConversions) {
    HDC src = Canvas(4, 4), dst = Canvas(4, 4);
    SetPixel(src, 1, 1, RGB(10, 20, 30));
    SetPixel(dst, 1, 1, RGB(0xF0, 0xF0, 0xF0));
    std::vector<COLORREF> before = Pixels(dst).c;
    ASSERT_TRUE(BitBlt(dst, 0, 0, 4, 4, src, 0, 0, SRCINVERT));
    EXPECT_EQ(Pixels(dst).at(1, 1), RGB(0xF0 ^ 10, 0xF0 ^ 20, 0xF0 ^ 30));
    BitBlt(dst, 0, 0, 4, 4, src, 0, 0, SRCINVERT);
    EXPECT_EQ(Pixels(dst).c, before);
    // Overlapping copies within one bitmap read the pixels as they were.
    BitBlt(src, 1, 0, 3, 4, src, 0, 0, SRCCOPY);
    EXPECT_EQ(Pixels(src).at(2, 1), RGB(10, 20, 30));
    EXPECT_EQ(Pixels(src).at(1, 1), RGB(255, 255, 255));
    // PatBlt: DSTINVERT, BLACKNESS and the brush.
    PatBlt(dst, 0, 0, 2, 1, DSTINVERT);
    EXPECT_EQ(Pixels(dst).at(0, 0), 0u);
    HBRUSH br = CreateSolidBrush(RGB(0, 0, 255));
    HGDIOBJ old = SelectObject(dst, br);
    PatBlt(dst, 2, 2, 2, 2, PATCOPY);
    EXPECT_EQ(Pixels(dst).at(3, 3), RGB(0, 0, 255));
    SelectObject(dst, old);
    DeleteObject(br);
    EXPECT_FALSE(PatBlt(dst, 0, 0, 1, 1, SRCCOPY));  // needs a source
    // Monochrome to colour: 0 bits take the destination's text colour, 1 bits its background colour.
    HDC mono = CreateCompatibleDC(nullptr);
    HBITMAP mbmp = CreateCompatibleBitmap(mono, 4, 1);  // the fresh memory DC is monochrome
    BITMAP bm;
    GetObject(mbmp, sizeof bm, &bm);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    EXPECT_EQ(bm.bmWidthBytes, 2);
    HGDIOBJ mold = SelectObject(mono, mbmp);
    PatBlt(mono, 0, 0, 2, 1, WHITENESS);
    SetTextColor(dst, RGB(255, 0, 0));
    SetBkColor(dst, RGB(0, 255, 0));
    BitBlt(dst, 0, 0, 4, 1, mono, 0, 0, SRCCOPY);
    Pixels p(dst);
    EXPECT_EQ(p.at(0, 0), RGB(0, 255, 0));
    EXPECT_EQ(p.at(3, 0), RGB(255, 0, 0));
    // Colour to monochrome: the source's background colour gives 1 (white), the rest 0.
    SetBkColor(dst, RGB(0, 255, 0));
    BitBlt(mono, 0, 0, 4, 1, dst, 0, 0, SRCCOPY);
    uint8_t mb[2] = {0, 0};
    GetBitmapBits(mbmp, 2, mb);
    EXPECT_EQ(mb[0] & 0xF0, 0xC0);
    SelectObject(mono, mold);
    DeleteObject(mbmp);
    DeleteDC(mono);
    // A stretched blit samples the nearest pixel.
    HDC big = Canvas(8, 8);
    StretchBlt(big, 0, 0, 8, 8, dst, 0, 0, 4, 4, SRCCOPY);
    EXPECT_EQ(Pixels(big).at(7, 7), Pixels(dst).at(3, 3));
    EXPECT_EQ(Pixels(big).at(1, 1), Pixels(dst).at(0, 0));
    DeleteDC(big);
    DeleteDC(src);
    DeleteDC(dst);
}

TEST(GdiDib, GetAndSetDIBitsRoundTrip) {
    HDC dc = Canvas(3, 2);
    SetPixel(dc, 0, 0, RGB(1, 2, 3));
    SetPixel(dc, 2, 1, RGB(4, 5, 6));
    HBITMAP bmp = (HBITMAP)GetCurrentObject(dc, OBJ_BITMAP);
    Info info(0, 0, 0);
    ASSERT_EQ(GetDIBits(dc, bmp, 0, 0, nullptr, info.bmi(), DIB_RGB_COLORS), 2);  // fills the header
    EXPECT_EQ(info.h.biWidth, 3);
    EXPECT_EQ(info.h.biHeight, 2);
    EXPECT_EQ(info.h.biBitCount, 32);
    Info want(3, 2, 24);  // 9 bytes per row, padded to 12
    std::vector<uint8_t> bits(24, 0xEE);
    ASSERT_EQ(GetDIBits(dc, bmp, 0, 2, bits.data(), want.bmi(), DIB_RGB_COLORS), 2);
    EXPECT_EQ(bits[12 + 0], 3);  // top row stored second, B G R
    EXPECT_EQ(bits[12 + 2], 1);
    EXPECT_EQ(bits[6], 6);       // bottom row first
    EXPECT_EQ(bits[8], 4);
    bits[12 + 3] = 9;  // pixel (1, 0) blue
    ASSERT_EQ(SetDIBits(dc, bmp, 0, 2, bits.data(), want.bmi(), DIB_RGB_COLORS), 2);
    EXPECT_EQ(Pixels(dc).at(1, 0), RGB(255, 255, 9));
    EXPECT_EQ(Pixels(dc).at(0, 0), RGB(1, 2, 3));
    DeleteDC(dc);
}

TEST(GdiBrush, PatternBrushesTakeTheirPixels) {
    // A monochrome 8 x 8 pattern: 0 bits in the text colour, 1 bits in the background colour.
    WORD rows[8] = {0x00FF, 0x00FF, 0x00FF, 0x00FF, 0x00FF, 0x00FF, 0x00FF, 0x0000};
    HBITMAP pat = CreateBitmap(8, 8, 1, 1, rows);
    HBRUSH br = CreatePatternBrush(pat);
    DeleteObject(pat);  // the brush keeps its own copy
    HDC dc = Canvas(8, 8);
    SetTextColor(dc, RGB(255, 0, 0));
    SetBkColor(dc, RGB(0, 0, 255));
    RECT rc{0, 0, 8, 8};
    FillRect(dc, &rc, br);
    DeleteObject(br);
    EXPECT_EQ(Pixels(dc).at(3, 0), RGB(0, 0, 255));
    EXPECT_EQ(Pixels(dc).at(3, 7), RGB(255, 0, 0));
    DeleteDC(dc);
}
