// Text: face names to fonts, LOGFONT sizes and metrics, the ink of a character in the cell the metrics
// predict for every alignment and escapement, glyph outlines in paths, and DrawText layout.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "gdi_test_util.h"

using namespace gditest;

namespace {

HFONT MakeFont(const char* face, int height, int width = 0, int escapement = 0, int weight = FW_NORMAL) {
    LOGFONT lf{};
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = escapement;
    lf.lfWeight = weight;
    lf.lfCharSet = GB2312_CHARSET;
    lf.lfOutPrecision = OUT_STROKE_PRECIS;
    lf.lfQuality = PROOF_QUALITY;
    lf.lfPitchAndFamily = 0x22;
    std::strcpy(lf.lfFaceName, face);
    return CreateFontIndirect(&lf);
}

// Selects a font for the life of the scope and deletes it afterwards.
struct WithFont {
    HDC dc;
    HFONT f;
    HGDIOBJ old;
    WithFont(HDC d, HFONT font) : dc(d), f(font), old(SelectObject(d, font)) {}
    ~WithFont() {
        SelectObject(dc, old);
        DeleteObject(f);
    }
};

int InkCount(HDC dc) {
    Pixels p(dc);
    int n = 0;
    for (COLORREF c : p.c) n += c != RGB(255, 255, 255);
    return n;
}

}  // namespace

TEST(GdiFont, ChineseFaceNamesFindTheirFonts) {
    struct Case {
        const char* face;
        const char* file;
    } cases[] = {
        {"宋体", "uming"},       {"新宋体", "uming"}, {"仿宋", "uming"},   {"仿宋_GB2312", "uming"},
        {"楷体_GB2312", "ukai"}, {"楷体", "ukai"},    {"隶书", "ukai"},    {"黑体", "wqy-zenhei"},
        {"SimHei", "wqy-zenhei"}, {"simsun", "uming"}, {"VOZivuz", "uming"}, {"", "uming"},
        {"DejaVu Sans", "DejaVuSans"},
    };
    for (const Case& c : cases) {
        std::string file = win32::ResolveFaceFile(c.face);
        EXPECT_NE(file.find(c.file), std::string::npos) << c.face << " -> " << file;
    }
    std::vector<std::string> names = win32::GetInstalledFaceNames();
    ASSERT_GE(names.size(), 5u);
    EXPECT_EQ(names[0], "宋体");
    EXPECT_EQ(names[1], "黑体");
    EXPECT_EQ(names[2], "楷体_GB2312");
    EXPECT_NE(std::find(names.begin(), names.end(), "DejaVu Sans"), names.end());
}

TEST(GdiFont, AscentPlusDescentIsTheEmHeight) {
    HDC dc = Canvas(4, 4);
    for (const char* face : {"宋体", "黑体", "楷体_GB2312", "仿宋", "隶书", "VOZivuz", "DejaVu Sans"}) {
        for (int h : {-1, -7, -12, -13, -40, -250}) {
            for (int w : {0, 3, 50}) {
                WithFont f(dc, MakeFont(face, h, w));
                TEXTMETRIC tm;
                ASSERT_TRUE(GetTextMetrics(dc, &tm));
                EXPECT_EQ(tm.tmAscent + tm.tmDescent, -h) << face << " " << h;
                EXPECT_EQ(tm.tmHeight, -h) << face << " " << h;
                EXPECT_EQ(tm.tmInternalLeading, 0);
                EXPECT_EQ(tm.tmOverhang, 0);
                EXPECT_EQ(tm.tmCharSet, GB2312_CHARSET);
                if (w > 0) {
                    EXPECT_EQ(tm.tmAveCharWidth, w) << face;
                }
            }
        }
    }
    // The Arphic faces put 900 of 1024 units above the baseline.
    WithFont f(dc, MakeFont("宋体", -1024));
    TEXTMETRIC tm;
    GetTextMetrics(dc, &tm);
    EXPECT_EQ(tm.tmAscent, 900);
    EXPECT_EQ(tm.tmDescent, 124);
    // A positive height (cell height) gives the same em here: there is no internal leading.
    WithFont g(dc, MakeFont("宋体", 30));
    GetTextMetrics(dc, &tm);
    EXPECT_EQ(tm.tmHeight, 30);
    DeleteDC(dc);
}

TEST(GdiFont, WidthsComeFromTheFontDescription) {
    HDC dc = Canvas(4, 4);
    for (const char* face : {"宋体", "黑体", "楷体_GB2312"}) {
        // A double-byte character is one em wide, a single byte half of it; lfWidth sets half the em.
        for (int w : {0, 15, 50}) {
            WithFont f(dc, MakeFont(face, -20, w));
            int em = w ? 2 * w : 20;
            SIZE sz;
            ASSERT_TRUE(GetTextExtentPoint32(dc, "中a国", 5, &sz));
            EXPECT_EQ(sz.cx, em * 5 / 2) << face << " " << w;
            EXPECT_EQ(sz.cy, 20);
            INT widths[3];
            ASSERT_TRUE(GetCharWidth(dc, 'A', 'C', widths));
            EXPECT_EQ(widths[0], em / 2);
            EXPECT_EQ(widths[2], em / 2);
            ASSERT_TRUE(GetCharWidth(dc, 0xD6D0, 0xD6D0, widths));  // 中
            EXPECT_EQ(widths[0], em);
        }
    }
    // Bytes that are not GBK still take their place: a bad pair one em, a lone lead byte half.
    WithFont f(dc, MakeFont("宋体", -20));
    SIZE sz;
    GetTextExtentPoint32(dc, "\x81\x20" "a\xB0", 4, &sz);
    EXPECT_EQ(sz.cx, 20 + 10 + 10);
    GetTextExtentPoint32(dc, "", 0, &sz);
    EXPECT_EQ(sz.cx, 0);
    EXPECT_EQ(sz.cy, 20);
    DeleteDC(dc);
}

TEST(GdiText, InkOfACharacterLiesInThePredictedCell) {
    const UINT hAligns[3] = {TA_LEFT, TA_CENTER, TA_RIGHT};
    const UINT vAligns[3] = {TA_TOP, TA_BASELINE, TA_BOTTOM};
    const double pi = 3.14159265358979323846;
    for (int esc : {0, 450, 900}) {
        for (UINT ha : hAligns) {
            for (UINT va : vAligns) {
                HDC dc = Canvas(120, 120);
                WithFont f(dc, MakeFont("宋体", -40, 0, esc));
                TEXTMETRIC tm;
                GetTextMetrics(dc, &tm);
                SIZE sz;
                GetTextExtentPoint32(dc, "中", 2, &sz);
                SetBkMode(dc, TRANSPARENT);
                SetTextAlign(dc, ha | va);
                const int rx = 60, ry = 60;
                TextOut(dc, rx, ry, "中", 2);
                // The cell in its own frame: along the baseline a0..a0+cx, up b0..b0+height.
                double a0 = ha == TA_LEFT ? 0 : ha == TA_RIGHT ? -sz.cx : -sz.cx / 2;
                double b0 = va == TA_TOP ? -tm.tmHeight : va == TA_BOTTOM ? 0 : -tm.tmDescent;
                double th = esc * pi / 1800, ux = std::cos(th), uy = -std::sin(th), vx = -std::sin(th), vy = -std::cos(th);
                Pixels p(dc);
                double amin = 1e9, amax = -1e9, bmin = 1e9, bmax = -1e9;
                int ink = 0;
                for (int y = 0; y < p.h; ++y) {
                    for (int x = 0; x < p.w; ++x) {
                        if (p.at(x, y) == RGB(255, 255, 255)) continue;
                        ++ink;
                        double dx = x + 0.5 - rx, dy = y + 0.5 - ry;
                        double a = dx * ux + dy * uy, b = dx * vx + dy * vy;
                        amin = std::min(amin, a);
                        amax = std::max(amax, a);
                        bmin = std::min(bmin, b);
                        bmax = std::max(bmax, b);
                    }
                }
                std::string where = "escapement " + std::to_string(esc) + " align " + std::to_string(ha | va);
                ASSERT_GT(ink, 50) << where;
                // Inside the cell, to a pixel...
                EXPECT_GE(amin, a0 - 1) << where;
                EXPECT_LE(amax, a0 + sz.cx + 1) << where;
                EXPECT_GE(bmin, b0 - 1) << where;
                EXPECT_LE(bmax, b0 + tm.tmHeight + 1) << where;
                // ...and filling most of it, so the cell is the right one.
                EXPECT_GT(amax - amin, 0.7 * sz.cx) << where;
                EXPECT_GT(bmax - bmin, 0.7 * tm.tmHeight) << where;
                DeleteDC(dc);
            }
        }
    }
}

TEST(GdiText, AttributesModesAndCurrentPosition) {
    HDC dc = Canvas(80, 40);
    int regular, bold;
    {
        WithFont f(dc, MakeFont("黑体", -30));
        SetBkMode(dc, TRANSPARENT);
        SetROP2(dc, R2_NOP);  // text ignores the raster operation
        TextOut(dc, 0, 0, "田", 2);
        regular = InkCount(dc);
        EXPECT_GT(regular, 0);
    }
    RECT all{0, 0, 80, 40};
    FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    {
        WithFont f(dc, MakeFont("黑体", -30, 0, 0, FW_BOLD));
        TextOut(dc, 0, 0, "田", 2);
        bold = InkCount(dc);
    }
    EXPECT_GT(bold, regular * 11 / 10);
    SetROP2(dc, R2_COPYPEN);
    // OPAQUE fills the text cell with the background colour.
    FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    {
        WithFont f(dc, MakeFont("宋体", -20));
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, RGB(0, 255, 0));
        SetTextColor(dc, RGB(0, 0, 255));
        TextOut(dc, 5, 5, " ", 1);  // a blank: only the cell, 10 x 20
        Pixels p(dc);
        EXPECT_EQ(p.at(5, 5), RGB(0, 255, 0));
        EXPECT_EQ(p.at(14, 24), RGB(0, 255, 0));
        EXPECT_EQ(p.at(15, 24), RGB(255, 255, 255));
        EXPECT_EQ(p.at(14, 25), RGB(255, 255, 255));
        EXPECT_EQ(p.at(4, 5), RGB(255, 255, 255));
        // TA_UPDATECP draws at the current position and moves it by the extent.
        SetTextAlign(dc, TA_UPDATECP);
        MoveToEx(dc, 30, 5, nullptr);
        TextOut(dc, 0, 0, "ab", 2);
        POINT cp;
        GetCurrentPositionEx(dc, &cp);
        EXPECT_EQ(cp.x, 50);
        EXPECT_EQ(cp.y, 5);
        SetTextAlign(dc, TA_TOP | TA_LEFT);
        // Bytes that are not GBK draw nothing.
        FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
        SetBkMode(dc, TRANSPARENT);
        TextOut(dc, 0, 0, "\x81\x20\x0d\xB0", 4);
        EXPECT_EQ(InkCount(dc), 0);
    }
    DeleteDC(dc);
}

TEST(GdiText, ExtTextOutRectangleAndAdvances) {
    HDC dc = Canvas(60, 30);
    WithFont f(dc, MakeFont("宋体", -20));
    SetBkColor(dc, RGB(255, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    RECT rc{10, 5, 30, 25};
    ExtTextOut(dc, 0, 0, ETO_OPAQUE | ETO_CLIPPED, &rc, "国国国", 6, nullptr);
    RECT ink = InkBox(dc);
    EXPECT_EQ(ink.left, 10);
    EXPECT_EQ(ink.top, 5);
    EXPECT_EQ(ink.right, 30);
    EXPECT_EQ(ink.bottom, 25);
    Pixels p(dc);
    EXPECT_EQ(p.at(10, 24), RGB(255, 0, 0));
    // Advances per byte: a double-byte character takes the sum of its two entries.
    SetTextAlign(dc, TA_UPDATECP);
    MoveToEx(dc, 0, 0, nullptr);
    INT dx[4] = {7, 0, 5, 4};
    ExtTextOut(dc, 0, 0, 0, nullptr, "中ab", 4, dx);
    POINT cp;
    GetCurrentPositionEx(dc, &cp);
    EXPECT_EQ(cp.x, 16);
    DeleteDC(dc);
}

TEST(GdiTextPath, TextOutInAPathGivesGlyphOutlines) {
    HDC dc = Canvas(60, 60);
    WithFont f(dc, MakeFont("宋体", -48));
    SetTextAlign(dc, TA_BOTTOM | TA_LEFT);
    ASSERT_TRUE(BeginPath(dc));
    TextOut(dc, 0, 0, "口", 2);
    ASSERT_TRUE(EndPath(dc));
    EXPECT_EQ(InkCount(dc), 0);  // nothing drawn
    int n = GetPath(dc, nullptr, nullptr, 0);
    ASSERT_GT(n, 8);
    std::vector<POINT> pts((size_t)n);
    std::vector<BYTE> types((size_t)n);
    EXPECT_EQ(GetPath(dc, pts.data(), types.data(), n - 1), -1);
    ASSERT_EQ(GetPath(dc, pts.data(), types.data(), n), n);
    int figures = 0, closes = 0, beziers = 0;
    int miny = 0, maxy = -1000;
    for (int i = 0; i < n; ++i) {
        BYTE t = types[i] & ~PT_CLOSEFIGURE;
        figures += t == PT_MOVETO;
        beziers += t == PT_BEZIERTO;
        if (types[i] & PT_CLOSEFIGURE) {
            ++closes;
            EXPECT_TRUE(i + 1 == n || (types[i + 1] & ~PT_CLOSEFIGURE) == PT_MOVETO) << i;
        }
        miny = std::min<int>(miny, pts[i].y);
        maxy = std::max<int>(maxy, pts[i].y);
    }
    EXPECT_EQ(types[0], PT_MOVETO);
    EXPECT_EQ(figures, 2);
    EXPECT_EQ(closes, 2);
    EXPECT_TRUE(types[n - 1] & PT_CLOSEFIGURE);
    EXPECT_GT(beziers, 0);
    // Drawn at (0, 0) from the bottom: the path lies above, at negative y, unclipped.
    EXPECT_LT(miny, -30);
    EXPECT_LE(maxy, 0);
    ASSERT_TRUE(FlattenPath(dc));
    int m = GetPath(dc, nullptr, nullptr, 0);
    std::vector<POINT> fp((size_t)m);
    std::vector<BYTE> ft((size_t)m);
    ASSERT_EQ(GetPath(dc, fp.data(), ft.data(), m), m);
    int flatFigures = 0;
    for (BYTE t : ft) {
        BYTE k = t & ~PT_CLOSEFIGURE;
        EXPECT_TRUE(k == PT_MOVETO || k == PT_LINETO);
        flatFigures += k == PT_MOVETO;
    }
    EXPECT_EQ(flatFigures, 2);
    // Filling the path draws the glyph; the path is gone afterwards.
    SetTextAlign(dc, TA_TOP | TA_LEFT);
    BeginPath(dc);
    TextOut(dc, 5, 5, "口", 2);
    EndPath(dc);
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    ASSERT_TRUE(FillPath(dc));
    EXPECT_GT(InkCount(dc), 100);
    EXPECT_EQ(GetPath(dc, nullptr, nullptr, 0), -1);
    DeleteDC(dc);
}

TEST(GdiText, DrawTextFormats) {
    HDC dc = Canvas(100, 60);
    WithFont f(dc, MakeFont("宋体", -12));
    RECT calc{0, 0, 0, 0};
    EXPECT_EQ(DrawText(dc, "图层 A&B", -1, &calc, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX), 12);
    EXPECT_EQ(calc.right, 12 * 2 + 6 * 4);
    RECT pre{0, 0, 0, 0};
    DrawText(dc, "&File", -1, &pre, DT_CALCRECT | DT_SINGLELINE);  // the prefix mark takes no room
    EXPECT_EQ(pre.right, 6 * 4);
    // Word breaks: between double-byte characters, and at blanks.
    RECT wrap{0, 0, 40, 0};
    EXPECT_EQ(DrawText(dc, "一二三四五六", -1, &wrap, DT_CALCRECT | DT_WORDBREAK), 24);
    EXPECT_EQ(wrap.right, 36);
    RECT words{0, 0, 45, 0};
    EXPECT_EQ(DrawText(dc, "abc def ghi", -1, &words, DT_CALCRECT | DT_WORDBREAK), 24);
    EXPECT_EQ(words.right, 42);
    // Centred in the rectangle, horizontally and vertically.
    SetBkMode(dc, TRANSPARENT);
    RECT box{10, 10, 90, 50};
    int h = DrawText(dc, "中心", -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EXPECT_EQ(h, 20 - 10 + 12 + 4);
    RECT ink = InkBox(dc);
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 50, 2);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 30, 2);
    // An end ellipsis keeps the text inside the rectangle.
    RECT all{0, 0, 100, 60};
    FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    RECT narrow{0, 0, 40, 12};
    DrawText(dc, "abcdefghijklmnop", -1, &narrow, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
    EXPECT_LE(InkBox(dc).right, 40);
    DeleteDC(dc);
}
