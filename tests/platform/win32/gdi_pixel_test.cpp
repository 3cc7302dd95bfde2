// Pixel-exact drawing on tiny bitmaps: GDI's edge rules, the sixteen raster operations, XOR drawing that
// undoes itself, clipping, hatches and dashes.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "gdi_test_util.h"

using namespace gditest;

namespace {

// Selects an object for the life of the scope and deletes it afterwards.
struct Selected {
    HDC dc;
    HGDIOBJ obj, old;
    Selected(HDC d, HGDIOBJ o) : dc(d), obj(o), old(SelectObject(d, o)) {}
    ~Selected() {
        SelectObject(dc, old);
        DeleteObject(obj);
    }
};

}  // namespace

TEST(GdiEdges, RectangleCoversLeftTopToRightMinusOne) {
    HDC dc = Canvas(6, 6);
    Rectangle(dc, 0, 0, 4, 4);  // black pen, white brush
    EXPECT_EQ(Art(dc),
              "####..\n"
              "#..#..\n"
              "#..#..\n"
              "####..\n"
              "......\n"
              "......\n");
    DeleteDC(dc);
}

TEST(GdiEdges, FillsWithoutPenAndFillRect) {
    HDC dc = Canvas(10, 5);
    {
        Selected brush(dc, CreateSolidBrush(0));
        SelectObject(dc, GetStockObject(NULL_PEN));
        Rectangle(dc, 0, 0, 4, 4);  // a null pen leaves the figure one pixel smaller
        SelectObject(dc, GetStockObject(BLACK_PEN));
    }
    RECT rc{5, 0, 9, 4};
    FillRect(dc, &rc, (HBRUSH)GetStockObject(BLACK_BRUSH));  // all of [left, right) x [top, bottom)
    EXPECT_EQ(Art(dc),
              "###..####.\n"
              "###..####.\n"
              "###..####.\n"
              ".....####.\n"
              "..........\n");
    DeleteDC(dc);
}

TEST(GdiEdges, EllipseAndRoundRectStayInsideTheirBoxes) {
    struct Case {
        const char* name;
        RECT box;
    } cases[] = {{"Ellipse", {1, 2, 12, 9}}, {"RoundRect", {3, 1, 15, 11}}, {"Chord", {0, 0, 16, 12}}, {"Pie", {2, 3, 9, 12}}};
    for (const Case& c : cases) {
        HDC dc = Canvas(20, 14);
        std::string n = c.name;
        const RECT& b = c.box;
        if (n == "Ellipse") Ellipse(dc, b.left, b.top, b.right, b.bottom);
        if (n == "RoundRect") RoundRect(dc, b.left, b.top, b.right, b.bottom, 6, 6);
        if (n == "Chord") Chord(dc, b.left, b.top, b.right, b.bottom, 0, 0, 16, 0);  // radials up-left, up-right
        if (n == "Pie") Pie(dc, b.left, b.top, b.right, b.bottom, 100, 7, 5, -100);
        RECT ink = InkBox(dc);
        EXPECT_GE(ink.left, b.left) << n;
        EXPECT_GE(ink.top, b.top) << n;
        EXPECT_LE(ink.right, b.right) << n;
        EXPECT_LE(ink.bottom, b.bottom) << n;
        if (n == "Ellipse" || n == "RoundRect") {
            EXPECT_EQ(ink.left, b.left) << n;
            EXPECT_EQ(ink.top, b.top) << n;
            EXPECT_EQ(ink.right, b.right) << n;
            EXPECT_EQ(ink.bottom, b.bottom) << n;
        }
        DeleteDC(dc);
    }
}

TEST(GdiEdges, LinesLeaveOutTheirLastPixel) {
    HDC dc = Canvas(8, 6);
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 5, 0);
    POINT pl[3] = {{0, 2}, {3, 2}, {3, 5}};
    Polyline(dc, pl, 3);
    MoveToEx(dc, 7, 0, nullptr);
    LineTo(dc, 7, 0);  // nothing
    POINT cur;
    GetCurrentPositionEx(dc, &cur);
    EXPECT_EQ(cur.x, 7);
    EXPECT_EQ(Art(dc),
              "#####...\n"
              "........\n"
              "####....\n"
              "...#....\n"
              "...#....\n"
              "........\n");
    DeleteDC(dc);
}

TEST(GdiEdges, ArcRunsCounterClockwiseUnlessToldOtherwise) {
    // From the right radial to the top radial: counter-clockwise is the upper-right quarter.
    HDC dc = Canvas(12, 12);
    Arc(dc, 0, 0, 11, 11, 20, 5, 5, -20);
    RECT ink = InkBox(dc);
    EXPECT_GE(ink.left, 5);
    EXPECT_LE(ink.bottom, 6);
    SetArcDirection(dc, AD_CLOCKWISE);
    RECT all{0, 0, 12, 12};
    FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    Arc(dc, 0, 0, 11, 11, 20, 5, 5, -20);  // now three quarters
    ink = InkBox(dc);
    EXPECT_EQ(ink.left, 0);
    EXPECT_EQ(ink.bottom, 11);
    DeleteDC(dc);
}

TEST(GdiRop2, EveryModeGivesItsTruthTable) {
    // With destination bits 1010 and pen bits 1100 in every nibble, mode m gives the byte (m - 1) * 0x11.
    for (int mode = R2_BLACK; mode <= R2_WHITE; ++mode) {
        HDC dc = Canvas(3, 3);
        RECT all{0, 0, 3, 3};
        HBRUSH bg = CreateSolidBrush(RGB(0xAA, 0xAA, 0xAA));
        FillRect(dc, &all, bg);
        DeleteObject(bg);
        {
            Selected pen(dc, CreatePen(PS_SOLID, 1, RGB(0xCC, 0xCC, 0xCC)));
            Selected brush(dc, CreateSolidBrush(RGB(0xCC, 0xCC, 0xCC)));
            EXPECT_EQ(SetROP2(dc, mode), R2_COPYPEN);
            MoveToEx(dc, 0, 0, nullptr);
            LineTo(dc, 3, 0);          // pen
            Rectangle(dc, -1, 1, 4, 4);  // brush inside, at row 1 column 1
        }
        BYTE k = (BYTE)((mode - 1) * 0x11);
        EXPECT_EQ(GetPixel(dc, 1, 0), RGB(k, k, k)) << "pen, mode " << mode;
        EXPECT_EQ(GetPixel(dc, 1, 1), RGB(k, k, k)) << "brush, mode " << mode;
        EXPECT_EQ(GetPixel(dc, 1, 2), RGB(0xCC, 0xCC, 0xCC) == RGB(k, k, k) ? RGB(k, k, k) : GetPixel(dc, 1, 2));
        DeleteDC(dc);
    }
    HDC dc = Canvas(1, 1);
    EXPECT_EQ(SetROP2(dc, 0), 0);
    EXPECT_EQ(SetROP2(dc, 17), 0);
    EXPECT_EQ(GetROP2(dc), R2_COPYPEN);
    DeleteDC(dc);
}

namespace {

// A 32-bit DIB section canvas whose bytes can be compared directly.
struct DibCanvas {
    HDC dc;
    HBITMAP bmp, old;
    void* bits = nullptr;
    size_t size;
    DibCanvas(int w, int h) {
        BITMAPINFO bmi{};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = w;
        bmi.bmiHeader.biHeight = h;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        dc = CreateCompatibleDC(nullptr);
        bmp = CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
        old = (HBITMAP)SelectObject(dc, bmp);
        size = (size_t)w * h * 4;
    }
    ~DibCanvas() {
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    std::vector<uint8_t> Bytes() const {
        const uint8_t* p = static_cast<const uint8_t*>(bits);
        return std::vector<uint8_t>(p, p + size);
    }
};

void DrawScene(HDC dc) {
    HPEN thin = CreatePen(PS_SOLID, 0, RGB(200, 30, 90));
    HPEN wide = CreatePen(PS_SOLID, 5, RGB(10, 220, 60));
    LOGBRUSH lb{BS_SOLID, RGB(90, 90, 250), 0};
    DWORD dashes[4] = {3, 2, 1, 2};
    HPEN geo = ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_FLAT | PS_JOIN_MITER, 3, &lb, 4, dashes);
    HPEN dash = CreatePen(PS_DASHDOT, 1, RGB(255, 128, 0));
    HBRUSH hatch = CreateHatchBrush(HS_DIAGCROSS, RGB(0, 128, 255));
    HBRUSH solid = CreateSolidBrush(RGB(250, 250, 0));
    HGDIOBJ oldPen = SelectObject(dc, thin), oldBrush = SelectObject(dc, solid);
    Rectangle(dc, 3, 3, 30, 20);
    Ellipse(dc, 10, 8, 50, 40);
    SelectObject(dc, wide);
    POINT star[5] = {{40, 5}, {55, 45}, {20, 20}, {60, 20}, {25, 45}};
    SelectObject(dc, hatch);
    Polygon(dc, star, 5);
    SelectObject(dc, geo);
    Polyline(dc, star, 5);
    SelectObject(dc, dash);
    SetBkMode(dc, OPAQUE);
    MoveToEx(dc, 0, 47, nullptr);
    LineTo(dc, 63, 30);
    Arc(dc, 5, 5, 60, 45, 0, 0, 60, 45);
    Pie(dc, 30, 2, 62, 30, 62, 16, 30, 2);
    RoundRect(dc, 2, 30, 30, 47, 8, 8);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    for (HGDIOBJ o : {(HGDIOBJ)thin, (HGDIOBJ)wide, (HGDIOBJ)geo, (HGDIOBJ)dash, (HGDIOBJ)hatch, (HGDIOBJ)solid}) DeleteObject(o);
}

}  // namespace

TEST(GdiRop2, XorAndNotXorTwiceRestoreTheImageExactly) {
    for (int mode : {R2_XORPEN, R2_NOTXORPEN, R2_NOT}) {
        DibCanvas c(64, 48);
        // A background with every kind of pixel value.
        uint32_t* px = static_cast<uint32_t*>(c.bits);
        for (size_t i = 0; i < c.size / 4; ++i) px[i] = (uint32_t)(i * 2654435761u) & 0x00FFFFFF;
        std::vector<uint8_t> before = c.Bytes();
        SetROP2(c.dc, mode);
        DrawScene(c.dc);
        EXPECT_NE(c.Bytes(), before) << mode;
        DrawScene(c.dc);
        EXPECT_EQ(c.Bytes(), before) << "mode " << mode;
    }
}

TEST(GdiRop2, MaskPenMakesTransparentFills) {
    HDC dc = Canvas(4, 1);
    SetPixel(dc, 0, 0, RGB(255, 255, 255));
    SetPixel(dc, 1, 0, RGB(0x12, 0x34, 0x56));
    SetROP2(dc, R2_MASKPEN);
    {
        Selected brush(dc, CreateSolidBrush(RGB(0xF0, 0x0F, 0xFF)));
        SelectObject(dc, GetStockObject(NULL_PEN));
        Rectangle(dc, 0, 0, 5, 2);
        SelectObject(dc, GetStockObject(BLACK_PEN));
    }
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0xF0, 0x0F, 0xFF));
    EXPECT_EQ(GetPixel(dc, 1, 0), RGB(0x10, 0x04, 0x56));
    DeleteDC(dc);
}

TEST(GdiClip, DrawingStaysInsideTheClipRegion) {
    HDC dc = Canvas(12, 8);
    EXPECT_EQ(IntersectClipRect(dc, 2, 1, 10, 7), SIMPLEREGION);
    EXPECT_EQ(ExcludeClipRect(dc, 4, 3, 6, 5), COMPLEXREGION);
    RECT box;
    EXPECT_EQ(GetClipBox(dc, &box), COMPLEXREGION);
    EXPECT_EQ(box.left, 2);
    EXPECT_EQ(box.top, 1);
    EXPECT_EQ(box.right, 10);
    EXPECT_EQ(box.bottom, 7);
    RECT all{0, 0, 12, 8};
    FillRect(dc, &all, (HBRUSH)GetStockObject(BLACK_BRUSH));
    EXPECT_TRUE(PtVisible(dc, 2, 1));
    EXPECT_FALSE(PtVisible(dc, 4, 3));
    EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);  // outside the clip region
    EXPECT_EQ(Art(dc),
              "............\n"
              "..########..\n"
              "..########..\n"
              "..##..####..\n"
              "..##..####..\n"
              "..########..\n"
              "..########..\n"
              "............\n");
    // A region selected as the clip is copied; removing the clip shows the whole surface again.
    HRGN tri = CreatePolygonRgn(std::vector<POINT>{{0, 0}, {8, 0}, {0, 8}}.data(), 3, ALTERNATE);
    SelectClipRgn(dc, tri);
    DeleteObject(tri);
    FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    SelectClipRgn(dc, nullptr);
    // The triangle covers the pixels whose centres lie inside it: x + y < 8.
    EXPECT_EQ(GetPixel(dc, 6, 1), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 7, 1), 0u);
    EXPECT_EQ(GetPixel(dc, 2, 5), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 3, 5), 0u);
    DeleteDC(dc);
}

TEST(GdiRegion, CombinationsAndQueries) {
    HRGN a = CreateRectRgn(0, 0, 10, 10), b = CreateRectRgn(5, 5, 15, 15), r = CreateRectRgn(0, 0, 0, 0);
    struct Case {
        int mode, complexity;
        RECT box;
        POINT in, out;
    } cases[] = {
        {RGN_AND, SIMPLEREGION, {5, 5, 10, 10}, {5, 5}, {4, 4}},
        {RGN_OR, COMPLEXREGION, {0, 0, 15, 15}, {14, 14}, {12, 2}},
        {RGN_XOR, COMPLEXREGION, {0, 0, 15, 15}, {2, 2}, {7, 7}},
        {RGN_DIFF, COMPLEXREGION, {0, 0, 10, 10}, {9, 2}, {9, 9}},
        {RGN_COPY, SIMPLEREGION, {0, 0, 10, 10}, {9, 9}, {10, 10}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CombineRgn(r, a, b, c.mode), c.complexity) << c.mode;
        RECT box;
        GetRgnBox(r, &box);
        EXPECT_EQ(box.left, c.box.left) << c.mode;
        EXPECT_EQ(box.top, c.box.top) << c.mode;
        EXPECT_EQ(box.right, c.box.right) << c.mode;
        EXPECT_EQ(box.bottom, c.box.bottom) << c.mode;
        EXPECT_TRUE(PtInRegion(r, c.in.x, c.in.y)) << c.mode;
        EXPECT_FALSE(PtInRegion(r, c.out.x, c.out.y)) << c.mode;
    }
    RECT touch{10, 10, 12, 12}, inside{8, 8, 12, 12};
    EXPECT_FALSE(RectInRegion(a, &touch));
    EXPECT_TRUE(RectInRegion(a, &inside));
    // A polygon region and a rectangle region cover the same pixels.
    POINT sq[4] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    HRGN p = CreatePolygonRgn(sq, 4, WINDING);
    EXPECT_TRUE(EqualRgn(p, a));
    // Union then difference gives the first region back; the destination may be a source.
    CombineRgn(r, a, b, RGN_OR);
    CombineRgn(r, r, b, RGN_DIFF);
    HRGN expect = CreateRectRgn(0, 0, 10, 10);
    CombineRgn(expect, expect, b, RGN_DIFF);
    EXPECT_TRUE(EqualRgn(r, expect));
    EXPECT_EQ(CombineRgn(r, a, nullptr, RGN_OR), ERROR);
    EXPECT_EQ(CombineRgn(r, a, b, 9), ERROR);
    // Triangles that tile a square share no pixel and leave none out, whichever way the diagonal runs.
    for (int flip = 0; flip < 2; ++flip) {
        POINT t1[3] = {{0, 0}, {8, 0}, {flip ? 8 : 0, 8}};
        POINT t2[3] = {{flip ? 0 : 8, 0}, {8, 8}, {0, 8}};
        HRGN r1 = CreatePolygonRgn(t1, 3, ALTERNATE), r2 = CreatePolygonRgn(t2, 3, ALTERNATE);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                EXPECT_EQ(PtInRegion(r1, x, y) + PtInRegion(r2, x, y), 1) << x << "," << y << " flip " << flip;
        EXPECT_FALSE(PtInRegion(r1, 8, 0) || PtInRegion(r2, 8, 0) || PtInRegion(r2, 0, 8));
        DeleteObject(r1);
        DeleteObject(r2);
    }
    HRGN e = CreateEllipticRgn(0, 0, 10, 6);
    RECT eb;
    GetRgnBox(e, &eb);
    EXPECT_EQ(eb.left, 0);
    EXPECT_EQ(eb.top, 0);
    EXPECT_EQ(eb.right, 10);
    EXPECT_EQ(eb.bottom, 6);
    EXPECT_FALSE(PtInRegion(e, 0, 0));
    EXPECT_TRUE(PtInRegion(e, 5, 3));
    for (HRGN h : {a, b, r, p, expect, e}) DeleteObject(h);
}

TEST(GdiRegion, FrameAndFillRegions) {
    HDC dc = Canvas(8, 6);
    HRGN rgn = CreateRectRgn(1, 1, 7, 5);
    HBRUSH black = (HBRUSH)GetStockObject(BLACK_BRUSH);
    FrameRgn(dc, rgn, black, 1, 1);
    EXPECT_EQ(Art(dc),
              "........\n"
              ".######.\n"
              ".#....#.\n"
              ".#....#.\n"
              ".######.\n"
              "........\n");
    InvertRgn(dc, rgn);
    EXPECT_EQ(Art(dc),
              "........\n"
              "........\n"
              "..####..\n"
              "..####..\n"
              "........\n"
              "........\n");
    DeleteObject(rgn);
    DeleteDC(dc);
}

TEST(GdiBrush, HatchesRepeatEveryEightPixelsFromTheBrushOrigin) {
    // Expected rows of an 8 x 8 cell, '#' hatch pixel.
    const char* cells[6] = {
        "........|........|........|########|........|........|........|........",
        "....#...|....#...|....#...|....#...|....#...|....#...|....#...|....#...",
        "#.......|.#......|..#.....|...#....|....#...|.....#..|......#.|.......#",
        ".......#|......#.|.....#..|....#...|...#....|..#.....|.#......|#.......",
        "....#...|....#...|....#...|########|....#...|....#...|....#...|....#...",
        "#......#|.#....#.|..#..#..|...##...|...##...|..#..#..|.#....#.|#......#",
    };
    for (int hs = HS_HORIZONTAL; hs <= HS_DIAGCROSS; ++hs) {
        for (POINT org : {POINT{0, 0}, POINT{3, 5}}) {
            HDC dc = Canvas(16, 16);
            SetBrushOrgEx(dc, org.x, org.y, nullptr);
            SetBkMode(dc, TRANSPARENT);
            HBRUSH br = CreateHatchBrush(hs, 0);
            RECT all{0, 0, 16, 16};
            FillRect(dc, &all, br);
            DeleteObject(br);
            for (int y = 0; y < 16; ++y) {
                for (int x = 0; x < 16; ++x) {
                    int cx = ((x - org.x) % 8 + 8) % 8, cy = ((y - org.y) % 8 + 8) % 8;
                    bool on = cells[hs][cy * 9 + cx] == '#';
                    ASSERT_EQ(GetPixel(dc, x, y), on ? 0u : RGB(255, 255, 255))
                        << "hatch " << hs << " at " << x << "," << y << " origin " << org.x << "," << org.y;
                }
            }
            DeleteDC(dc);
        }
    }
    // In OPAQUE mode the gaps take the background colour.
    HDC dc = Canvas(8, 8);
    SetBkColor(dc, RGB(0, 255, 0));
    HBRUSH br = CreateHatchBrush(HS_CROSS, RGB(255, 0, 0));
    RECT all{0, 0, 8, 8};
    FillRect(dc, &all, br);
    DeleteObject(br);
    EXPECT_EQ(GetPixel(dc, 4, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 255, 0));
    DeleteDC(dc);
}

TEST(GdiPen, CosmeticDashesRepeatAsGdiDrawsThem) {
    struct Case {
        int style;
        const char* period;  // one period of the pattern, '#' pen and '.' gap
    } cases[] = {
        {PS_DASH, "##################......"},
        {PS_DOT, "###..."},
        {PS_DASHDOT, "#########......###......"},
        {PS_DASHDOTDOT, "#########...###...###..."},
    };
    for (const Case& c : cases) {
        HDC dc = Canvas(60, 3);
        SetBkMode(dc, TRANSPARENT);
        {
            Selected pen(dc, CreatePen(c.style, 1, 0));
            MoveToEx(dc, 0, 1, nullptr);
            LineTo(dc, 60, 1);
        }
        std::string row = Art(dc).substr(61, 60), period = c.period;
        std::string expect;
        while (expect.size() < 60) expect += period;
        EXPECT_EQ(row, expect.substr(0, 60)) << "style " << c.style;
        // OPAQUE fills the gaps with the background colour.
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, RGB(0, 0, 255));
        {
            Selected pen(dc, CreatePen(c.style, 1, 0));
            MoveToEx(dc, 0, 2, nullptr);
            LineTo(dc, 60, 2);
        }
        std::string opaque = Art(dc, {{RGB(0, 0, 255), 'b'}}).substr(122, 60);
        for (char& ch : expect) ch = ch == '.' ? 'b' : ch;
        EXPECT_EQ(opaque, expect.substr(0, 60)) << "style " << c.style;
        DeleteDC(dc);
    }
}

TEST(GdiPen, WidePensCapsAndInsideFrame) {
    HDC dc = Canvas(20, 20);
    LOGBRUSH lb{BS_SOLID, 0, 0};
    {
        Selected pen(dc, ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT, 4, &lb, 0, nullptr));
        MoveToEx(dc, 4, 4, nullptr);
        LineTo(dc, 14, 4);
    }
    RECT ink = InkBox(dc);
    EXPECT_EQ(ink.left, 4);  // flat caps end at the end points
    EXPECT_GE(ink.right, 14);
    EXPECT_LE(ink.right, 15);
    EXPECT_EQ(ink.bottom - ink.top, 4);
    RECT all{0, 0, 20, 20};
    FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    {
        Selected pen(dc, ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_SQUARE, 4, &lb, 0, nullptr));
        MoveToEx(dc, 4, 4, nullptr);
        LineTo(dc, 14, 4);
    }
    ink = InkBox(dc);
    EXPECT_EQ(ink.left, 2);  // square caps reach half the width beyond
    EXPECT_GE(ink.right, 16);
    FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    {
        Selected pen(dc, CreatePen(PS_INSIDEFRAME, 5, 0));
        Rectangle(dc, 2, 3, 18, 17);
    }
    ink = InkBox(dc);
    EXPECT_EQ(ink.left, 2);
    EXPECT_EQ(ink.top, 3);
    EXPECT_EQ(ink.right, 18);
    EXPECT_EQ(ink.bottom, 17);
    EXPECT_EQ(GetPixel(dc, 6, 7), 0u);                   // inside the 5-pixel frame
    EXPECT_EQ(GetPixel(dc, 7, 8), RGB(255, 255, 255));  // the white interior
    // Lines from far outside the surface (a zoomed-in map) keep their course and their dashes.
    FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    {
        Selected pen(dc, CreatePen(PS_SOLID, 3, 0));
        MoveToEx(dc, -100000000, 5, nullptr);
        LineTo(dc, 100000000, 5);
    }
    ink = InkBox(dc);
    EXPECT_EQ(ink.left, 0);
    EXPECT_EQ(ink.right, 20);
    EXPECT_EQ(ink.top, 4);
    EXPECT_EQ(ink.bottom, 7);
    FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    {
        Selected pen(dc, ExtCreatePen(PS_GEOMETRIC | PS_DASH | PS_ENDCAP_FLAT, 2, &lb, 0, nullptr));
        // Dashes 6 on, 2 off; pixel x lies 1000007 + x along the line, 7 mod 8 at x = 0: in a gap.
        MoveToEx(dc, -1000007, 10, nullptr);
        LineTo(dc, 20, 10);
    }
    Pixels p(dc);
    EXPECT_EQ(p.at(0, 10), RGB(255, 255, 255));
    EXPECT_EQ(p.at(3, 10), 0u);
    EXPECT_EQ(p.at(8, 10), RGB(255, 255, 255));
    EXPECT_EQ(p.at(10, 10), 0u);
    DeleteDC(dc);
    // Invalid ExtCreatePen requests fail.
    EXPECT_EQ(ExtCreatePen(PS_COSMETIC | PS_SOLID, 3, &lb, 0, nullptr), nullptr);
    EXPECT_EQ(ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE, 3, &lb, 0, nullptr), nullptr);
    EXPECT_EQ(ExtCreatePen(PS_GEOMETRIC | PS_SOLID, 3, nullptr, 0, nullptr), nullptr);
}

TEST(GdiObjects, SelectReturnsThePreviousAndDeletionWaitsForTheDC) {
    HDC dc = Canvas(4, 4);
    HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HGDIOBJ old = SelectObject(dc, red);
    EXPECT_EQ(old, GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), (HGDIOBJ)red);
    EXPECT_TRUE(DeleteObject(red));  // still selected: lives on until deselected
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 3, 0);
    EXPECT_EQ(GetPixel(dc, 1, 0), RGB(255, 0, 0));
    EXPECT_EQ(SelectObject(dc, old), (HGDIOBJ)red);
    EXPECT_EQ(GetObjectType(red), 0u);  // gone now
    EXPECT_EQ(SelectObject(dc, red), nullptr);
    // A selected bitmap cannot be deleted.
    HGDIOBJ bmp = GetCurrentObject(dc, OBJ_BITMAP);
    EXPECT_EQ(GetObjectType(bmp), (DWORD)OBJ_BITMAP);
    HDC mem = CreateCompatibleDC(nullptr);
    HBITMAP own = CreateCompatibleBitmap(dc, 2, 2);
    HGDIOBJ monoDefault = SelectObject(mem, own);
    EXPECT_FALSE(DeleteObject(own));
    SelectObject(mem, monoDefault);
    EXPECT_TRUE(DeleteObject(own));
    DeleteDC(mem);
    // SaveDC and RestoreDC bring back the objects and attributes.
    int level = SaveDC(dc);
    EXPECT_EQ(level, 1);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    SetTextColor(dc, RGB(1, 2, 3));
    SetMapMode(dc, MM_LOMETRIC);
    EXPECT_TRUE(RestoreDC(dc, -1));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetTextColor(dc), 0u);
    EXPECT_EQ(GetMapMode(dc), MM_TEXT);
    EXPECT_FALSE(RestoreDC(dc, -1));
    // Bad handles fail without harm.
    EXPECT_EQ(SelectObject(nullptr, GetStockObject(BLACK_PEN)), nullptr);
    EXPECT_FALSE(Rectangle(reinterpret_cast<HDC>(&level), 0, 0, 1, 1));
    EXPECT_FALSE(DeleteObject(reinterpret_cast<HGDIOBJ>(&level)));
    DeleteDC(dc);
}

// The registry of live handles through growth and removals in scattered order: every handle still
// alive is found, every one just deleted is not (a second delete fails), whatever was removed around it.
TEST(GdiObjects, ManyHandlesLiveAndDieInAnyOrder) {
    std::vector<HPEN> live;
    for (int i = 0; i < 5000; ++i) live.push_back(CreatePen(PS_SOLID, 1, RGB(i % 256, 0, 0)));
    for (size_t step : {7u, 3u, 1u}) {
        std::vector<HPEN> kept, dead;
        for (size_t i = 0; i < live.size(); ++i) (i % step == 0 ? dead : kept).push_back(live[i]);
        for (HPEN p : dead) EXPECT_TRUE(DeleteObject(p));
        for (HPEN p : kept) EXPECT_EQ(GetObjectType(p), static_cast<DWORD>(OBJ_PEN));
        // Checked before anything new is made, which might take a freed address.
        for (HPEN p : dead) {
            EXPECT_EQ(GetObjectType(p), 0u);
            EXPECT_FALSE(DeleteObject(p));
        }
        live = kept;
        for (size_t i = 0; i < dead.size() / 2; ++i) live.push_back(CreatePen(PS_DASH, 1, RGB(0, 0, 255)));
        for (HPEN p : live) EXPECT_EQ(GetObjectType(p), static_cast<DWORD>(OBJ_PEN));
    }
    for (HPEN p : live) EXPECT_TRUE(DeleteObject(p));
}

TEST(GdiMapping, ModesOriginsAndExtents) {
    HDC dc = Canvas(200, 200);
    EXPECT_EQ(SetMapMode(dc, MM_LOMETRIC), MM_TEXT);
    POINT p[2] = {{254, -254}, {0, 0}};
    LPtoDP(dc, p, 2);
    EXPECT_EQ(p[0].x, 96);  // one inch at 96 pixels per inch, y up
    EXPECT_EQ(p[0].y, 96);
    SetViewportOrgEx(dc, 10, 190, nullptr);
    POINT q{100, 100};
    LPtoDP(dc, &q, 1);
    EXPECT_EQ(q.x, 10 + 38);  // 10 mm = 37.8 pixels
    EXPECT_EQ(q.y, 190 - 38);
    DPtoLP(dc, &q, 1);
    EXPECT_NEAR(q.x, 100, 2);
    EXPECT_NEAR(q.y, 100, 2);
    // A logical rectangle drawn with y up lands on the device rectangle its corners map to.
    Rectangle(dc, 0, 0, 254, 127);
    RECT ink = InkBox(dc);
    EXPECT_EQ(ink.left, 10);
    EXPECT_EQ(ink.top, 190 - 48);
    EXPECT_EQ(ink.right, 10 + 96);
    EXPECT_EQ(ink.bottom, 190);
    // Isotropic mode keeps one scale on both axes.
    SetMapMode(dc, MM_ISOTROPIC);
    SetWindowExtEx(dc, 100, 100, nullptr);
    SetViewportExtEx(dc, 200, -50, nullptr);
    SIZE vp;
    GetViewportExtEx(dc, &vp);
    EXPECT_EQ(vp.cx, 50);
    EXPECT_EQ(vp.cy, -50);
    SetMapMode(dc, MM_ANISOTROPIC);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    SetWindowOrgEx(dc, 100, 0, nullptr);
    SetWindowExtEx(dc, 10, 10, nullptr);
    SetViewportExtEx(dc, 20, 30, nullptr);
    POINT r{105, 4};
    LPtoDP(dc, &r, 1);
    EXPECT_EQ(r.x, 10);
    EXPECT_EQ(r.y, 12);
    EXPECT_FALSE(SetWindowExtEx(dc, 0, 5, nullptr));
    DeleteDC(dc);
}

TEST(GdiRobustness, ExtremeArgumentsNeitherCrashNorWrap) {
    const int big[] = {INT32_MIN, -1000000000, -1, 0, 3, 1000000000, INT32_MAX};
    for (int mode : {MM_TEXT, MM_LOMETRIC, MM_TWIPS}) {
        HDC dc = Canvas(16, 16);
        SetMapMode(dc, mode);
        SetViewportOrgEx(dc, 8, 8, nullptr);
        HPEN wide = CreatePen(PS_SOLID, 7, RGB(9, 9, 9));
        HBRUSH hatch = CreateHatchBrush(HS_DIAGCROSS, RGB(1, 2, 3));
        SelectObject(dc, hatch);
        for (HPEN pen : {(HPEN)GetStockObject(BLACK_PEN), wide}) {
            SelectObject(dc, pen);
            for (int a : big) {
                for (int b : big) {
                    MoveToEx(dc, a, b, nullptr);
                    LineTo(dc, b, a);
                    Rectangle(dc, a, b, b, a);
                    Ellipse(dc, a, b, b, a);
                    RoundRect(dc, a, b, 5, 5, b, a);
                    Pie(dc, a, b, b, a, a, a, b, b);
                    POINT tri[3] = {{a, b}, {b, a}, {0, a}};
                    Polygon(dc, tri, 3);
                    PatBlt(dc, a, b, b, a, PATINVERT);
                    RECT rc{a, b, b, a};
                    FillRect(dc, &rc, hatch);
                    DrawText(dc, "ab 中", -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
                    SetBrushOrgEx(dc, a, b, nullptr);
                    IntersectClipRect(dc, a, b, b, a);
                    OffsetClipRgn(dc, a, b);
                    SelectClipRgn(dc, nullptr);
                }
            }
        }
        SelectObject(dc, GetStockObject(BLACK_PEN));
        SelectObject(dc, GetStockObject(WHITE_BRUSH));
        DeleteObject(wide);
        DeleteObject(hatch);
        DeleteDC(dc);
    }
    // Fonts of any size and angle, text anywhere.
    HDC dc = Canvas(16, 16);
    for (int h : big) {
        for (int w : {0, 7, INT32_MAX}) {
            HFONT f = CreateFont(h, w, h, 0, FW_BOLD, 1, 1, 1, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
            HGDIOBJ old = SelectObject(dc, f);
            for (int p : big) {
                TextOut(dc, p, p / 2, "中a\x81", 4);
                SIZE sz;
                GetTextExtentPoint32(dc, "中a中a", 6, &sz);
                TEXTMETRIC tm;
                GetTextMetrics(dc, &tm);
            }
            SelectObject(dc, old);
            DeleteObject(f);
        }
    }
    DeleteDC(dc);
    HRGN r = CreateRectRgn(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
    OffsetRgn(r, INT32_MAX, INT32_MAX);
    RECT box;
    GetRgnBox(r, &box);
    EXPECT_EQ(box.right, INT32_MAX);
    DeleteObject(r);
}
