// Text drawn again: upright text composited from kept coverage gives the pixels a direct fill of its
// outlines gives, on 32- and 24-bit surfaces, and coverage blends colour over the pixels by its formula.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "gdi_test_util.h"

using namespace gditest;

namespace {

// A memory DC over a top-down DIB section of the given depth, filled with a colour pattern that makes
// every blended pixel show its coverage.
struct Surface {
    HDC dc = nullptr;
    HBITMAP bmp = nullptr;
    HGDIOBJ old = nullptr;
    Surface(int w, int h, int bpp) {
        BITMAPINFO bmi{};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = w;
        bmi.bmiHeader.biHeight = -h;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = (WORD)bpp;
        dc = CreateCompatibleDC(nullptr);
        void* bits = nullptr;
        bmp = CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
        old = SelectObject(dc, bmp);
        const int bytes = bpp / 8, stride = (w * bytes + 3) & ~3;
        for (int y = 0; y < h; ++y) {
            uint8_t* row = static_cast<uint8_t*>(bits) + (size_t)y * stride;
            for (int x = 0; x < w; ++x) {
                row[x * bytes] = (uint8_t)(x * y);      // blue
                row[x * bytes + 1] = (uint8_t)(y * 5);  // green
                row[x * bytes + 2] = (uint8_t)(x * 7);  // red
            }
        }
    }
    ~Surface() {
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
};

struct TextCase {
    const char* face;
    int height, width, weight;
    bool italic, underline, strike;
    const char* text;
};

HFONT MakeFont(const TextCase& c, int escapement = 0) {
    LOGFONT lf{};
    lf.lfEscapement = escapement;
    lf.lfOrientation = escapement;
    lf.lfHeight = c.height;
    lf.lfWidth = c.width;
    lf.lfWeight = c.weight;
    lf.lfItalic = c.italic;
    lf.lfUnderline = c.underline;
    lf.lfStrikeOut = c.strike;
    lf.lfCharSet = GB2312_CHARSET;
    lf.lfQuality = PROOF_QUALITY;
    std::strcpy(lf.lfFaceName, c.face);
    return CreateFontIndirect(&lf);
}

// Draws the text at each point; with `direct`, each time through a clip rectangle of its ink grown by
// one pixel, which cuts the text's mask and so makes every call fill its outlines afresh (the cut lies
// in the mask's empty margin, so it changes no pixel).
void DrawAll(HDC dc, const TextCase& c, int escapement, const std::vector<POINT>& at, const std::vector<RECT>* inks,
             UINT align) {
    HFONT f = MakeFont(c, escapement);
    HGDIOBJ old = SelectObject(dc, f);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, align);
    SetTextColor(dc, RGB(20, 60, 200));
    for (size_t i = 0; i < at.size(); ++i) {
        if (inks) {
            const RECT& r = (*inks)[i];
            HRGN clip = CreateRectRgn(r.left - 1, r.top - 1, r.right + 1, r.bottom + 1);
            SelectClipRgn(dc, clip);
            DeleteObject(clip);
        }
        TextOut(dc, at[i].x, at[i].y, c.text, (int)std::strlen(c.text));
        if (inks) SelectClipRgn(dc, nullptr);
    }
    SelectObject(dc, old);
    DeleteObject(f);
}

// The box of the pixels that differ between two pictures of the same size.
RECT Diff(const Pixels& a, const Pixels& b) {
    RECT r{a.w, a.h, 0, 0};
    for (int y = 0; y < a.h; ++y)
        for (int x = 0; x < a.w; ++x)
            if (a.at(x, y) != b.at(x, y)) {
                r.left = std::min<LONG>(r.left, x);
                r.top = std::min<LONG>(r.top, y);
                r.right = std::max<LONG>(r.right, x + 1);
                r.bottom = std::max<LONG>(r.bottom, y + 1);
            }
    return r;
}

// Draws each case at each escapement and alignment twice at the points, once letting the second round
// come from kept coverage and once filling every call afresh, and expects the same pixels on 32- and
// 24-bit surfaces.
void ExpectKeptMatchesDirect(const std::vector<TextCase>& cases, const std::vector<int>& escapements, int w, int h,
                             const std::vector<POINT>& at) {
    const UINT aligns[] = {TA_LEFT | TA_TOP, TA_CENTER | TA_BASELINE, TA_RIGHT | TA_BOTTOM};
    const Pixels blank(Surface(w, h, 32).dc);
    for (const TextCase& c : cases) {
        for (int esc : escapements) {
            for (UINT align : aligns) {
                std::string where = std::string(c.text) + " escapement " + std::to_string(esc) + " align " +
                                    std::to_string(align);
                // Each call's ink, drawn alone.
                std::vector<RECT> inks;
                for (const POINT& p : at) {
                    Surface one(w, h, 32);
                    DrawAll(one.dc, c, esc, {p}, nullptr, align);
                    inks.push_back(Diff(blank, Pixels(one.dc)));
                    ASSERT_LT(inks.back().left, inks.back().right) << where << ": no ink";
                }
                for (int bpp : {32, 24}) {
                    Surface kept(w, h, bpp), direct(w, h, bpp);
                    DrawAll(kept.dc, c, esc, at, nullptr, align);
                    DrawAll(kept.dc, c, esc, at, nullptr, align);  // the second round from kept coverage
                    DrawAll(direct.dc, c, esc, at, &inks, align);
                    DrawAll(direct.dc, c, esc, at, &inks, align);
                    RECT d = Diff(Pixels(kept.dc), Pixels(direct.dc));
                    EXPECT_GE(d.left, d.right) << where << " bpp " << bpp << ": differs in " << d.left << ","
                                               << d.top << " - " << d.right << "," << d.bottom;
                }
            }
        }
    }
}

}  // namespace

TEST(GdiTextCoverage, DrawingAgainGivesTheDirectFillsPixels) {
    const std::vector<TextCase> cases = {
        {"宋体", -16, 0, FW_NORMAL, false, false, false, "中华人民"},
        {"宋体", -13, 0, FW_NORMAL, false, false, false, "测绘 map 12"},
        {"黑体", -24, 0, FW_BOLD, false, false, false, "山川河流"},
        {"宋体", -20, 0, FW_NORMAL, true, false, false, "斜体 italic"},
        {"宋体", -18, 6, FW_NORMAL, false, true, true, "线 lines"},
        {"Arial", -11, 0, FW_NORMAL, false, false, false, "Wg,.;"},
    };
    // Apart, so that each call's ink is found alone; one place twice in a row.
    ExpectKeptMatchesDirect(cases, {0}, 260, 120, {{130, 40}, {131, 77}, {47, 95}, {200, 60}, {200, 60}});
}

// Turned text lies across pixels at a fraction its angle gives, and its coordinates are rounded as
// doubles round near its origin: kept coverage must be drawn only where both come out the same, and then
// gives the direct fill's pixels. The first five points lie between 128 and 256 with the text's reach,
// where coverage is drawn again; the text at the last four reaches across 64 or 128 and must be filled
// afresh. At right angles the turn leaves tiny terms that only such a match keeps exact.
TEST(GdiTextCoverage, TurnedTextDrawnAgainGivesTheDirectFillsPixels) {
    const std::vector<TextCase> cases = {
        {"宋体", -16, 0, FW_NORMAL, false, false, false, "中华"},
        {"黑体", -23, 0, FW_BOLD, false, false, false, "山 x"},
        {"宋体", -19, 5, FW_NORMAL, true, true, true, "斜 ab"},
        {"Arial", -11, 0, FW_NORMAL, false, false, false, "Wg,"},
    };
    ExpectKeptMatchesDirect(cases, {1, 450, 900, 1337, 1800, 2700, -300, 4050}, 260, 260,
                            {{190, 190}, {191, 200}, {200, 186}, {195, 204}, {195, 204}, {120, 120}, {121, 67}, {63, 170}, {170, 101}});
}

// Turned text cut by the visible area is filled afresh, over its whole box, and only the visible part is
// blended: inside a clip rectangle through the ink, the pixels are those of the whole text, and outside
// it none changes. The rectangles cut each side of the ink and its corners.
TEST(GdiTextCoverage, TurnedTextCutByTheClipGivesTheWholeTextsPixelsInside) {
    const TextCase c{"宋体", -21, 0, FW_NORMAL, false, true, false, "图 Wg"};
    const std::vector<RECT> clips = {{0, 0, 100, 200}, {100, 0, 200, 200}, {0, 0, 200, 100},
                                     {0, 100, 200, 200}, {90, 85, 115, 112}, {0, 0, 1, 1}};
    for (int esc : {1, 450, 1337, 2700, -300}) {
        Surface whole(200, 200, 32);
        DrawAll(whole.dc, c, esc, {{100, 100}}, nullptr, TA_CENTER | TA_BASELINE);
        const Pixels all(whole.dc), blank(Surface(200, 200, 32).dc);
        const RECT ink = Diff(blank, all);
        ASSERT_LT(ink.left, ink.right) << "escapement " << esc << ": no ink";
        for (const RECT& r : clips) {
            Surface cut(200, 200, 32);
            HRGN clip = CreateRectRgn(r.left, r.top, r.right, r.bottom);
            SelectClipRgn(cut.dc, clip);
            DeleteObject(clip);
            DrawAll(cut.dc, c, esc, {{100, 100}}, nullptr, TA_CENTER | TA_BASELINE);
            const Pixels part(cut.dc);
            int wrong = 0;
            for (int y = 0; y < 200; ++y)
                for (int x = 0; x < 200; ++x) {
                    const bool in = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
                    wrong += part.at(x, y) != (in ? all : blank).at(x, y);
                }
            EXPECT_EQ(wrong, 0) << "escapement " << esc << " clip " << r.left << "," << r.top << " - " << r.right
                                << "," << r.bottom;
        }
    }
}

TEST(GdiTextCoverage, CoverageBlendsColourOverThePixels) {
    // White text on black shows each pixel's coverage; the same text in another colour over the
    // pattern must give (colour x a + pixel x (255 - a) + 127) / 255 in every channel.
    for (int bpp : {32, 24}) {
        const int w = 200, h = 60;
        HFONT f = MakeFont({"宋体", -30, 0, FW_NORMAL, false, false, false, ""});
        Surface cover(w, h, bpp), over(w, h, bpp);
        PatBlt(cover.dc, 0, 0, w, h, BLACKNESS);
        Pixels before(over.dc);
        const COLORREF ink = RGB(250, 128, 3);
        for (Surface* s : {&cover, &over}) {
            HGDIOBJ old = SelectObject(s->dc, f);
            SetBkMode(s->dc, TRANSPARENT);
            SetTextColor(s->dc, s == &cover ? RGB(255, 255, 255) : ink);
            TextOut(s->dc, 5, 10, "图层中文字", 10);
            SelectObject(s->dc, old);
        }
        DeleteObject(f);
        Pixels a(cover.dc), after(over.dc);
        auto blend = [](int c, int d, int k) { return (c * k + d * (255 - k) + 127) / 255; };
        int partial = 0, bad = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                int k = GetRValue(a.at(x, y));
                partial += k > 0 && k < 255;
                COLORREF d = before.at(x, y), want = RGB(blend(GetRValue(ink), GetRValue(d), k),
                                                         blend(GetGValue(ink), GetGValue(d), k),
                                                         blend(GetBValue(ink), GetBValue(d), k));
                bad += after.at(x, y) != want;
            }
        }
        EXPECT_GT(partial, 100) << "bpp " << bpp;  // antialiased edges, not just full coverage
        EXPECT_EQ(bad, 0) << "bpp " << bpp;
    }
}
