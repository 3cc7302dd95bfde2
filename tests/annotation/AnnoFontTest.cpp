// Fonts of annotation rows, the lettering shears, glyph outlines as polygons, and the type-size and
// face-scale tables.
#include "annotation/AnnoDefaults.h"
#include "annotation/AnnoFont.h"
#include "annotation/GeoAnno.h"
#include "vector/GeoPolygonLine.h"

#include "AnnoDrawSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace annodraw_test;

TEST(AnnoFontTables, TypeSizesByNameAndBySize)
{
    int n = 0;
    GetAnnoFontSizeTable(n);
    EXPECT_EQ(n, 38);
    GetAnnoFaceScaleTable(n);
    EXPECT_EQ(n, 5);

    struct { const char* name; double size; } cases[] = {
        {"五号", 36.75}, {"12", 30.0}, {"特号", 157.5}, {"八号", 14.0}, {"62", 155.0}, {"九号", 25.0}, {"", 25.0}};
    for (auto& c : cases) {
        CString name(c.name);
        EXPECT_DOUBLE_EQ(GetFontSizeByK(name), c.size) << c.name;
    }
    CString name("unchanged");
    EXPECT_TRUE(GetFontKBySize(36.75, name));
    EXPECT_STREQ(name, "五号");
    EXPECT_TRUE(GetFontKBySize(30.0, name));
    EXPECT_STREQ(name, "12");
    name = "unchanged";
    EXPECT_FALSE(GetFontKBySize(36.7, name));
    EXPECT_STREQ(name, "unchanged");
}

TEST(AnnoFontTables, SizesScaledByFace)
{
    struct { const char* face; int enlarge; int w, h; } cases[] = {
        {"隶书", 1, 140, 140}, {"隶书", 0, 71, 71}, {"宋体", 1, 110, 110}, {"楷体_GB2312", 0, 90, 90},
        {"Arial", 1, 100, 100}, {"", 1, 100, 100}};
    for (auto& c : cases) {
        int w = 100, h = 100;
        CString face(c.face), unused;
        GetSizeWithScale(w, h, face, unused, c.enlarge);
        EXPECT_EQ(w, c.w) << c.face << " " << c.enlarge;
        EXPECT_EQ(h, c.h) << c.face << " " << c.enlarge;
    }
    double sx = 0, sy = 0;
    EXPECT_FALSE(FindFaceScale(CString("隶"), sx, sy));
    EXPECT_EQ(sx, 1.0);
    EXPECT_EQ(sy, 1.0);
}

TEST(AnnoFont, FontDescriptionFollowsStyleAndRecord)
{
    struct Case {
        const char* what;
        DWORD flags;
        int cw, ch, bold, positionType, outputMode;
        UINT scale;
        LONG width, height, weight, escapement, orientation;
    } cases[] = {
        // scale 10: one unit per pixel; escape 300, orient 450.
        {"plain", GEOVIEW_TEXT_TRANSPARENT, 40, 50, 400, 0, 0, 10, 20, -50, 400, 450, 300},
        {"bold flag wins", GEOVIEW_TEXT_BOLD, 40, 50, 300, 0, 0, 10, 20, -50, 700, 450, 300},
        {"bold value", 0, 40, 50, 900, 0, 0, 10, 20, -50, 900, 450, 300},
        {"slanted is upright", GEOVIEW_TEXT_SLANT, 40, 50, 400, 0, 0, 10, 20, -50, 400, 0, 0},
        {"shoulder is upright", GEOVIEW_TEXT_SONGJIAN, 40, 50, 400, 0, 0, 10, 20, -50, 400, 0, 0},
        {"box text is upright", 0, 40, 50, 400, 2, 0, 10, 20, -50, 400, 0, 0},
        {"outlines are upright", 0, 40, 50, 400, 0, 1, 10, 20, -50, 400, 0, 0},
        // 2.5 units at 1:1000 are far below a pixel: at least 1, height -1.
        {"tiny", 0, 5, 5, 400, 0, 0, 1000, 1, -1, 400, 450, 300},
    };
    for (const Case& c : cases) {
        RecordingDC rec;
        GEOANNO r = MakeRecord("A", c.cw, c.ch);
        r.m_fEscapeAngle = 300.0f;
        r.m_fOrientAngle = 450.0f;
        r.m_nBoldValue = c.bold;
        r.m_nPositionType = c.positionType;
        r.m_nOutputMode = c.outputMode;
        GEOVIEW v = MakeStyle(c.flags, RGB(10, 20, 30));
        CFont font;
        CFont* old = CreateAnnoFont(&rec.dc, c.scale, 0, v, r, font);
        ASSERT_NE(old, nullptr) << c.what;
        LOGFONT lf;
        ASSERT_GT(font.GetLogFont(&lf), 0);
        EXPECT_EQ(lf.lfWidth, c.width) << c.what;
        EXPECT_EQ(lf.lfHeight, c.height) << c.what;
        EXPECT_EQ(lf.lfWeight, c.weight) << c.what;
        EXPECT_EQ(lf.lfEscapement, c.escapement) << c.what;
        EXPECT_EQ(lf.lfOrientation, c.orientation) << c.what;
        EXPECT_EQ(lf.lfCharSet, 134);
        EXPECT_EQ(lf.lfOutPrecision, 3);
        EXPECT_EQ(lf.lfQuality, 2);
        EXPECT_EQ(lf.lfPitchAndFamily, 0x22);
        EXPECT_STREQ(lf.lfFaceName, "宋体");
        EXPECT_EQ(rec.dc.GetBkMode(), TRANSPARENT);
        EXPECT_EQ(rec.dc.GetTextColor(), RGB(10, 20, 30));
        rec.dc.SelectObject(old);
    }
}

TEST(AnnoFont, TextAlignmentByRowAndNothingWithoutScaleOrDC)
{
    struct { int align, mode; UINT expected; } cases[] = {
        {0, 0, TA_BOTTOM}, {1, 0, TA_BOTTOM}, {2, 0, TA_TOP}, {5, 0, TA_TOP}, {8, 0, TA_TOP},
        {7, 0, TA_BOTTOM}, {2, 1, TA_BOTTOM}, {9, 0, TA_BASELINE}};
    for (auto& c : cases) {
        RecordingDC rec;
        rec.dc.SetTextAlign(TA_BASELINE);
        GEOANNO r = MakeRecord("A", 40, 40, c.align);
        r.m_nOutputMode = c.mode;
        CFont font;
        CFont* old = CreateAnnoFont(&rec.dc, 10, 0, MakeStyle(), r, font);
        EXPECT_EQ(rec.dc.GetTextAlign(), c.expected) << c.align << "/" << c.mode;
        if (old) rec.dc.SelectObject(old);
    }
    GEOANNO r = MakeRecord("A", 40, 40);
    CFont f1, f2;
    EXPECT_EQ(CreateAnnoFont(nullptr, 10, 0, MakeStyle(), r, f1), nullptr);
    RecordingDC rec;
    EXPECT_EQ(CreateAnnoFont(&rec.dc, 0, 0, MakeStyle(), r, f2), nullptr);
    EXPECT_EQ(f2.GetSafeHandle(), nullptr);
}

TEST(AnnoFont, ShearsLeanAndRaiseTheWayTheDirectionBitsSay)
{
    const double q = M_PI / 4;  // tan = 1
    // Slant: a vertical stroke from the baseline (y 0) up to y -100 (device y runs down).
    POINT a[2] = {{0, 0}, {0, -100}};
    ShearSlant(a, 2, 0, q, 0);
    EXPECT_EQ(a[1].x, -99);  // top leans left (tan (pi / 4) is a hair below 1)
    EXPECT_EQ(a[0].x, 0);
    POINT b[2] = {{0, 0}, {0, -100}};
    ShearSlant(b, 2, 0, q, GEOVIEW_TEXT_SLANT_DIR);
    EXPECT_EQ(b[1].x, 99);  // right; tan(-pi/4) * -100 truncates to 99
    // Shoulder: a horizontal stroke.
    POINT c[2] = {{0, 0}, {100, 0}};
    ShearShoulder(c, 2, q, GEOVIEW_TEXT_SONGJIAN_DIR, 1);
    EXPECT_EQ(c[0].y, 0);
    EXPECT_EQ(c[1].y, -99);  // rises to the right
    POINT d[2] = {{0, 0}, {100, 0}};
    ShearShoulder(d, 2, q, 0, 1);
    EXPECT_EQ(d[1].y, 0);
    EXPECT_EQ(d[0].y, -99);  // rises to the left
    // Degenerate input is left alone.
    POINT e[1] = {{5, 5}};
    ShearSlant(e, 1, 0, q, 0);
    ShearShoulder(e, 1, q, 0, 1);
    ShearSlant(nullptr, 3, 0, q, 0);
    EXPECT_EQ(e[0].x, 5);
    EXPECT_EQ(e[0].y, 5);
}

TEST(AnnoFont, GlyphOutlinesBecomePolygonsAtTheAnchor)
{
    RecordingDC rec;
    CObList out;
    GEOANNO r = MakeRecord("A", 100, 100);
    r.m_ptPosition = CPoint(1000, 2000);
    r.m_ptRotateCenter = r.m_ptPosition;
    r.m_nOutputMode = 1;
    r.m_pOutputList = &out;
    GEOVIEW v = MakeStyle(GEOVIEW_TEXT_TRANSPARENT, RGB(200, 0, 0));
    CFont font;
    CFont* old = CreateAnnoFont(&rec.dc, kScale, 0, v, r, font);
    DrawCharOutline(&rec.dc, kScale, v, r, "A", 0, 0, 0);
    if (old) rec.dc.SelectObject(old);
    ASSERT_GE(out.GetCount(), 1);
    UINT id = 0;
    POSITION pos = out.GetHeadPosition();
    while (pos) {
        CGeoPolygonLine* poly = dynamic_cast<CGeoPolygonLine*>(out.GetNext(pos));
        ASSERT_NE(poly, nullptr);
        EXPECT_EQ(poly->GetObjectData(), ANNO_DATA_GLYPH);
        EXPECT_EQ(poly->GetID(), id++);
        EXPECT_EQ(poly->GetGeoView().m_crFillColor, RGB(200, 0, 0));
        EXPECT_EQ(poly->GetGeoView().m_nLineShape, 3);
        // "A" is a half-width glyph in a 50 x 100 cell standing on the anchor.
        const CRect b = poly->GetBounds();
        EXPECT_GE(b.left, 1000 - 5);
        EXPECT_LE(b.right, 1000 + 55);
        EXPECT_GE(std::min(b.top, b.bottom), 2000 - 25);
        EXPECT_LE(std::max(b.top, b.bottom), 2000 + 105);
    }
    ClearOutput(out);

    // A blank has no outline: nothing emitted, nothing drawn.
    DrawCharOutline(&rec.dc, kScale, v, r, " ", 0, 0, 0);
    EXPECT_EQ(out.GetCount(), 0);
}

// Shearing keeps a glyph's area, so sheared lettering must carry as much ink as the upright glyph, with
// the same soft edges: at map sizes whole-pixel outlines and an aliased fill lose hairline strokes.
TEST(AnnoFont, ShearedLetteringIsAsWholeAndSmoothAsUpright)
{
    struct Ink {
        double sum = 0;   // coverage summed over the image, in pixels
        int partial = 0;  // pixels between background and ink
    };
    auto measure = [](DWORD flags, int size) {
        ImageDC img(4 * size, 4 * size);
        img.dc.FillSolidRect(0, 0, img.w, img.h, RGB(255, 255, 255));
        GEOANNO r = MakeRecord("北", size, size);
        GEOVIEW v = MakeStyle(GEOVIEW_TEXT_TRANSPARENT | flags, RGB(0, 0, 0));
        r.m_fItalicAngle = 150.0f;  // 15 degrees
        CFont font;
        CFont* old = CreateAnnoFont(&img.dc, kScale, 0, v, r, font);
        if (flags)
            DrawCharOutline(&img.dc, kScale, v, r, "北", size, 2 * size, 0);
        else
            img.dc.TextOut(size, 2 * size, "北", 2);
        if (old) img.dc.SelectObject(old);
        Ink ink;
        for (COLORREF c : img.Pixels()) {
            const int g = GetGValue(c);
            ink.sum += (255 - g) / 255.0;
            if (g > 20 && g < 235) ++ink.partial;
        }
        return ink;
    };
    for (int size : {16, 40, 120}) {
        SCOPED_TRACE(size);
        const Ink upright = measure(0, size);
        ASSERT_GT(upright.sum, size);
        for (DWORD flags : {(DWORD)GEOVIEW_TEXT_SLANT, (DWORD)GEOVIEW_TEXT_SONGJIAN}) {
            const Ink sheared = measure(flags, size);
            EXPECT_NEAR(sheared.sum, upright.sum, 0.08 * upright.sum) << "flags " << flags;
            EXPECT_GT(sheared.partial, upright.partial / 2) << "flags " << flags;
        }
    }
}
