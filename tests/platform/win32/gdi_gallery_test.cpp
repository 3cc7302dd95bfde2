// A gallery of everything the GDI stand-in draws, written as gdi_gallery.png into the test output folder
// for a person to look at: primitives, pen styles, hatches, raster operations, text alignment and
// rotation, faces, bitmaps, paths and clipping.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "gdi_test_util.h"

using namespace gditest;

namespace {

HFONT Font(const char* face, int height, int escapement = 0, int weight = FW_NORMAL, bool italic = false,
           bool underline = false, bool strike = false) {
    LOGFONT lf{};
    lf.lfHeight = height;
    lf.lfEscapement = escapement;
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    lf.lfUnderline = underline;
    lf.lfStrikeOut = strike;
    lf.lfCharSet = GB2312_CHARSET;
    lf.lfQuality = PROOF_QUALITY;
    std::strcpy(lf.lfFaceName, face);
    return CreateFontIndirect(&lf);
}

void Label(HDC dc, int x, int y, const char* text) {
    HFONT f = Font("宋体", -12);
    HGDIOBJ old = SelectObject(dc, f);
    int mode = SetBkMode(dc, TRANSPARENT);
    UINT align = SetTextAlign(dc, TA_LEFT | TA_TOP);
    COLORREF color = SetTextColor(dc, RGB(60, 60, 60));
    TextOut(dc, x, y, text, (int)std::strlen(text));
    SetTextColor(dc, color);
    SetTextAlign(dc, align);
    SetBkMode(dc, mode);
    SelectObject(dc, old);
    DeleteObject(f);
}

void Cross(HDC dc, int x, int y) {
    HPEN p = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HGDIOBJ old = SelectObject(dc, p);
    MoveToEx(dc, x - 4, y, nullptr);
    LineTo(dc, x + 5, y);
    MoveToEx(dc, x, y - 4, nullptr);
    LineTo(dc, x, y + 5);
    SelectObject(dc, old);
    DeleteObject(p);
}

void Primitives(HDC dc, int y) {
    Label(dc, 10, y, "图元 primitives");
    y += 18;
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 128));
    HBRUSH brush = CreateSolidBrush(RGB(180, 220, 255));
    HGDIOBJ op = SelectObject(dc, pen), ob = SelectObject(dc, brush);
    Rectangle(dc, 10, y, 70, y + 50);
    RoundRect(dc, 80, y, 140, y + 50, 20, 20);
    Ellipse(dc, 150, y, 210, y + 50);
    Arc(dc, 220, y, 280, y + 50, 280, y, 220, y);
    Chord(dc, 290, y, 350, y + 50, 350, y + 10, 290, y + 10);
    Pie(dc, 360, y, 420, y + 50, 420, y + 25, 390, y);
    POINT star[5] = {{460, y}, {480, y + 50}, {430, y + 18}, {490, y + 18}, {440, y + 50}};
    Polygon(dc, star, 5);
    for (POINT& p : star) p.x += 70;
    SetPolyFillMode(dc, WINDING);
    Polygon(dc, star, 5);
    SetPolyFillMode(dc, ALTERNATE);
    POINT rings[8] = {{580, y}, {640, y}, {640, y + 50}, {580, y + 50}, {595, y + 15}, {625, y + 15}, {625, y + 35}, {595, y + 35}};
    INT counts[2] = {4, 4};
    PolyPolygon(dc, rings, counts, 2);
    POINT bez[4] = {{650, y + 50}, {660, y - 20}, {700, y + 70}, {710, y}};
    PolyBezier(dc, bez, 4);
    POINT zig[5] = {{720, y}, {735, y + 50}, {750, y}, {765, y + 50}, {780, y}};
    Polyline(dc, zig, 5);
    MoveToEx(dc, 790, y + 25, nullptr);
    ArcTo(dc, 790, y, 840, y + 50, 840, y + 25, 815, y);
    LineTo(dc, 840, y + 50);
    AngleArc(dc, 870, y + 25, 20, 0, 270);
    SelectObject(dc, op);
    SelectObject(dc, ob);
    DeleteObject(pen);
    DeleteObject(brush);
    // Rectangles of the window manager and regions.
    y += 60;
    RECT r1{10, y, 60, y + 30}, r2{70, y, 120, y + 30}, r3{130, y, 180, y + 30}, r4{190, y, 240, y + 30};
    HBRUSH green = CreateSolidBrush(RGB(0, 160, 0));
    FillRect(dc, &r1, green);
    FrameRect(dc, &r2, green);
    FillRect(dc, &r3, green);
    InvertRect(dc, &r3);
    DrawFocusRect(dc, &r4);
    RECT r5{250, y, 300, y + 30};
    DrawEdge(dc, &r5, EDGE_ETCHED, BF_RECT);
    RECT r6{310, y, 360, y + 30};
    DrawEdge(dc, &r6, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    HRGN a = CreateEllipticRgn(370, y, 430, y + 30), b = CreateRectRgn(400, y + 10, 460, y + 40);
    CombineRgn(a, a, b, RGN_XOR);
    FillRgn(dc, a, green);
    OffsetRgn(a, 100, 0);
    FrameRgn(dc, a, (HBRUSH)GetStockObject(BLACK_BRUSH), 2, 1);
    for (int i = 0; i < 10; ++i) SetPixel(dc, 580 + i * 3, y + 15, RGB(255, 0, 0));
    DeleteObject(a);
    DeleteObject(b);
    DeleteObject(green);
    Label(dc, 620, y + 8, "rects, edges, regions, pixels");
}

void PenStyles(HDC dc, int y) {
    Label(dc, 10, y, "画笔 pens");
    y += 18;
    const char* names[] = {"SOLID", "DASH", "DOT", "DASHDOT", "DASHDOTDOT"};
    for (int s = PS_SOLID; s <= PS_DASHDOTDOT; ++s) {
        HPEN p = CreatePen(s, 1, RGB(0, 0, 0));
        HGDIOBJ old = SelectObject(dc, p);
        SetBkMode(dc, s % 2 ? OPAQUE : TRANSPARENT);
        SetBkColor(dc, RGB(255, 200, 0));
        MoveToEx(dc, 10, y + s * 12 + 6, nullptr);
        LineTo(dc, 200, y + s * 12 + 6);
        SelectObject(dc, old);
        DeleteObject(p);
        Label(dc, 205, y + s * 12, names[s]);
    }
    SetBkMode(dc, TRANSPARENT);
    LOGBRUSH lb{BS_SOLID, RGB(0, 90, 160), 0};
    const struct {
        DWORD style;
        const char* name;
    } geo[] = {{PS_ENDCAP_FLAT | PS_JOIN_MITER, "flat miter"}, {PS_ENDCAP_SQUARE | PS_JOIN_BEVEL, "square bevel"},
               {PS_ENDCAP_ROUND | PS_JOIN_ROUND, "round round"}, {PS_DASH | PS_ENDCAP_FLAT, "geometric dash"}};
    for (int i = 0; i < 4; ++i) {
        HPEN p = ExtCreatePen(PS_GEOMETRIC | geo[i].style, 8, &lb, 0, nullptr);
        HGDIOBJ old = SelectObject(dc, p);
        POINT v[3] = {{310 + i * 110, y + 55}, {340 + i * 110, y + 10}, {370 + i * 110, y + 55}};
        Polyline(dc, v, 3);
        SelectObject(dc, old);
        DeleteObject(p);
        Label(dc, 300 + i * 110, y + 60, geo[i].name);
    }
    DWORD user[4] = {6, 2, 2, 2};
    HPEN up = ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_FLAT, 3, &lb, 4, user);
    HGDIOBJ old = SelectObject(dc, up);
    MoveToEx(dc, 750, y + 10, nullptr);
    LineTo(dc, 880, y + 60);
    SelectObject(dc, old);
    DeleteObject(up);
    HPEN inside = CreatePen(PS_INSIDEFRAME, 7, RGB(200, 0, 0));
    old = SelectObject(dc, inside);
    HGDIOBJ ob = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Ellipse(dc, 750, y + 62, 820, y + 80);
    SelectObject(dc, ob);
    SelectObject(dc, old);
    DeleteObject(inside);
    Label(dc, 825, y + 64, "inside");
}

void Hatches(HDC dc, int y) {
    Label(dc, 10, y, "阴影 hatches (opaque / transparent), pattern");
    y += 18;
    for (int h = HS_HORIZONTAL; h <= HS_DIAGCROSS; ++h) {
        HBRUSH br = CreateHatchBrush(h, RGB(0, 0, 200));
        HGDIOBJ old = SelectObject(dc, br);
        SetBkColor(dc, RGB(255, 255, 160));
        SetBkMode(dc, OPAQUE);
        Rectangle(dc, 10 + h * 70, y, 70 + h * 70, y + 40);
        SetBkMode(dc, TRANSPARENT);
        Rectangle(dc, 10 + h * 70, y + 45, 70 + h * 70, y + 85);
        SelectObject(dc, old);
        DeleteObject(br);
    }
    WORD rows[8] = {0x0081, 0x0042, 0x0024, 0x0018, 0x0018, 0x0024, 0x0042, 0x0081};
    HBITMAP pat = CreateBitmap(8, 8, 1, 1, rows);
    HBRUSH br = CreatePatternBrush(pat);
    DeleteObject(pat);
    SetTextColor(dc, RGB(160, 0, 160));
    SetBkColor(dc, RGB(220, 255, 220));
    HGDIOBJ old = SelectObject(dc, br);
    Ellipse(dc, 440, y, 540, y + 85);
    SelectObject(dc, old);
    DeleteObject(br);
    SetTextColor(dc, 0);
}

void RasterOps(HDC dc, int y) {
    Label(dc, 10, y, "二元光栅操作 ROP2 1..16 (pen and brush 0x00CCCC over stripes)");
    y += 18;
    for (int m = R2_BLACK; m <= R2_WHITE; ++m) {
        int x = 10 + (m - 1) * 55;
        RECT band1{x, y, x + 50, y + 20}, band2{x, y + 20, x + 50, y + 40};
        HBRUSH s1 = CreateSolidBrush(RGB(255, 0, 0)), s2 = CreateSolidBrush(RGB(0, 0, 255));
        FillRect(dc, &band1, s1);
        FillRect(dc, &band2, s2);
        DeleteObject(s1);
        DeleteObject(s2);
        HPEN p = CreatePen(PS_SOLID, 3, RGB(0, 0xCC, 0xCC));
        HBRUSH b = CreateSolidBrush(RGB(0, 0xCC, 0xCC));
        HGDIOBJ op = SelectObject(dc, p), ob = SelectObject(dc, b);
        SetROP2(dc, m);
        Ellipse(dc, x + 8, y + 5, x + 42, y + 35);
        SetROP2(dc, R2_COPYPEN);
        SelectObject(dc, op);
        SelectObject(dc, ob);
        DeleteObject(p);
        DeleteObject(b);
        char n[4];
        std::snprintf(n, sizeof n, "%d", m);
        Label(dc, x + 18, y + 42, n);
    }
}

void TextAlignment(HDC dc, int y) {
    Label(dc, 10, y, "文字对齐 text alignment (red cross = reference point)");
    y += 18;
    HFONT f = Font("宋体", -20);
    HGDIOBJ old = SelectObject(dc, f);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, RGB(230, 230, 230));
    const UINT h[3] = {TA_LEFT, TA_CENTER, TA_RIGHT};
    const UINT v[3] = {TA_TOP, TA_BASELINE, TA_BOTTOM};
    const char* hn[3] = {"L", "C", "R"};
    const char* vn[3] = {"T", "B", "Bt"};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            int x = 70 + i * 140, yy = y + 15 + j * 45;
            SetTextAlign(dc, h[i] | v[j]);
            char s[32];
            std::snprintf(s, sizeof s, "中A%s%s", hn[i], vn[j]);
            TextOut(dc, x, yy, s, (int)std::strlen(s));
            Cross(dc, x, yy);
        }
    }
    SelectObject(dc, old);
    DeleteObject(f);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_LEFT | TA_BASELINE);
    for (int e = 0; e < 3600; e += 450) {
        HFONT r = Font("黑体", -16, e);
        HGDIOBJ o = SelectObject(dc, r);
        TextOut(dc, 560, y + 60, "  旋转 rotate", 13);
        SelectObject(dc, o);
        DeleteObject(r);
    }
    Cross(dc, 560, y + 60);
    SetTextAlign(dc, TA_LEFT | TA_TOP);
}

void Faces(HDC dc, int y) {
    Label(dc, 10, y, "字体 faces and styles");
    y += 18;
    const char* faces[] = {"宋体", "黑体", "楷体_GB2312", "仿宋", "隶书", "DejaVu Sans"};
    for (int i = 0; i < 6; ++i) {
        HFONT f = Font(faces[i], -22);
        HGDIOBJ o = SelectObject(dc, f);
        char s[64];
        std::snprintf(s, sizeof s, "%s 地图 Map", faces[i]);
        TextOut(dc, 10 + (i % 3) * 290, y + (i / 3) * 28, s, (int)std::strlen(s));
        SelectObject(dc, o);
        DeleteObject(f);
    }
    y += 60;
    struct {
        int weight;
        bool italic, underline, strike;
        const char* text;
    } styles[] = {{FW_BOLD, false, false, false, "粗体 Bold"},
                  {FW_NORMAL, true, false, false, "斜体 Italic"},
                  {FW_NORMAL, false, true, false, "下划线 Underline"},
                  {FW_NORMAL, false, false, true, "删除线 Strike"}};
    for (int i = 0; i < 4; ++i) {
        HFONT f = Font("宋体", -20, 0, styles[i].weight, styles[i].italic, styles[i].underline, styles[i].strike);
        HGDIOBJ o = SelectObject(dc, f);
        TextOut(dc, 10 + i * 220, y, styles[i].text, (int)std::strlen(styles[i].text));
        SelectObject(dc, o);
        DeleteObject(f);
    }
    HFONT wide = CreateFont(-20, 20, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
    HGDIOBJ o = SelectObject(dc, wide);
    TextOut(dc, 10, y + 26, "宽字 lfWidth 20", 15);
    SelectObject(dc, o);
    DeleteObject(wide);
    RECT box{300, y + 26, 520, y + 70};
    FrameRect(dc, &box, (HBRUSH)GetStockObject(GRAY_BRUSH));
    DrawText(dc, "DrawText 自动换行与居中 word break and centring", -1, &box, DT_CENTER | DT_WORDBREAK);
}

void BitmapsPathsClips(HDC dc, int y) {
    Label(dc, 10, y, "位图 路径 裁剪 bitmaps, paths, clipping");
    y += 18;
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD pal[4];
    } info{};
    info.h.biSize = sizeof(BITMAPINFOHEADER);
    info.h.biWidth = 4;
    info.h.biHeight = 4;
    info.h.biPlanes = 1;
    info.h.biBitCount = 8;
    info.h.biClrUsed = 4;
    info.pal[0] = {0, 0, 0, 0};
    info.pal[1] = {0, 0, 255, 0};
    info.pal[2] = {0, 255, 0, 0};
    info.pal[3] = {255, 0, 0, 0};
    uint8_t bits[16];
    for (int i = 0; i < 16; ++i) bits[i] = (uint8_t)((i + i / 4) % 4);
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, 10, y, 80, 80, 0, 0, 4, 4, bits, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY);
    BitBlt(dc, 100, y, 80, 80, dc, 10, y, SRCCOPY);
    BitBlt(dc, 140, y + 20, 80, 80, dc, 10, y, SRCINVERT);
    // Glyph outlines stroked from a path.
    HFONT f = Font("黑体", -70);
    HGDIOBJ o = SelectObject(dc, f);
    BeginPath(dc);
    TextOut(dc, 240, y, "路径", 4);
    EndPath(dc);
    HPEN p = CreatePen(PS_SOLID, 2, RGB(200, 0, 0));
    HGDIOBJ op = SelectObject(dc, p);
    StrokePath(dc);
    SelectObject(dc, op);
    DeleteObject(p);
    SelectObject(dc, o);
    DeleteObject(f);
    // Clipped to an ellipse.
    HRGN clip = CreateEllipticRgn(420, y, 560, y + 90);
    SelectClipRgn(dc, clip);
    DeleteObject(clip);
    HBRUSH hb = CreateHatchBrush(HS_DIAGCROSS, RGB(0, 120, 0));
    RECT all{400, y - 10, 600, y + 100};
    FillRect(dc, &all, hb);
    DeleteObject(hb);
    HFONT big = Font("楷体_GB2312", -40);
    o = SelectObject(dc, big);
    TextOut(dc, 410, y + 25, "裁剪中", 6);
    SelectObject(dc, o);
    DeleteObject(big);
    SelectClipRgn(dc, nullptr);
    // XOR rubber band drawn twice (gone) and once (shown).
    SetROP2(dc, R2_NOTXORPEN);
    HPEN dotted = CreatePen(PS_DOT, 1, 0);
    op = SelectObject(dc, dotted);
    HGDIOBJ ob = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 600, y, 700, y + 80);
    Rectangle(dc, 600, y, 700, y + 80);
    Rectangle(dc, 620, y + 10, 720, y + 90);
    SelectObject(dc, ob);
    SelectObject(dc, op);
    DeleteObject(dotted);
    SetROP2(dc, R2_COPYPEN);
}

}  // namespace

TEST(GdiGallery, WritesAPictureOfEverything) {
    HDC dc = Canvas(900, 900);
    Primitives(dc, 5);
    PenStyles(dc, 125);
    Hatches(dc, 250);
    RasterOps(dc, 360);
    TextAlignment(dc, 440);
    Faces(dc, 600);
    BitmapsPathsClips(dc, 775);
    std::string path = OutputPath("gdi_gallery.png");
    ASSERT_TRUE(win32::WriteDCToPNG(dc, path.c_str()));
    FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    unsigned char sig[8] = {0};
    EXPECT_EQ(std::fread(sig, 1, 8, f), 8u);
    std::fclose(f);
    EXPECT_EQ(sig[1], 'P');
    EXPECT_EQ(sig[2], 'N');
    EXPECT_EQ(sig[3], 'G');
    DeleteDC(dc);
    // A DC without pixels has nothing to write.
    HDC rec = win32::CreateRecordingDC(10, 10);
    EXPECT_FALSE(win32::WriteDCToPNG(rec, path.c_str()));
    DeleteDC(rec);
}
