// DrawGeoAnno's dispatch, the annotation object's drawing hooks, highlighted drawing that a second
// drawing removes, and a gallery picture of the lettering styles.
#include "annotation/DrawGeoAnno.h"
#include "annotation/AnnoTextDraw.h"
#include "annotation/GeoAnno.h"

#include "AnnoDrawSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace annodraw_test;

namespace {

CGeoAnno* MakeAnno(const char* text, int positionType)
{
    return new CGeoAnno(CString(text), CPoint(0, 0), 50, 40, 0.0f, 0.0f, 0, positionType, 1, 0, 0, 0, 0);
}

void DrawObject(CGeoAnno& a, CDC& dc, const GEOVIEW& v, int xorMode = 0)
{
    a.OnDrawWithoutSymbolization(&dc, kScale, kScale, CPoint(0, 0), CPoint(0, 0), v, nullptr, xorMode, 0, 1);
}

}  // namespace

TEST(DrawGeoAnno, SizesBelowOneBecomeOneAndUnknownPositionTypesDrawNothing)
{
    RecordingDC rec;
    GEOANNO r = MakeRecord("A", 0, -5);
    DrawGeoAnno(&rec.dc, kScale, kScale, CPoint(), CPoint(), MakeStyle(), r, nullptr, 0, nullptr, nullptr, 0, 1);
    EXPECT_EQ(r.m_nCharWidth, 1);
    EXPECT_EQ(r.m_nCharHeight, 1);
    EXPECT_EQ(rec.Calls("TextOut").size(), 1u);

    for (int type : {5, 6, -1, 7}) {
        RecordingDC none;
        GEOANNO t = MakeRecord("AB", 40, 50);
        t.m_nPositionType = type;
        t.SetShowFrame(1);
        DrawGeoAnno(&none.dc, kScale, kScale, CPoint(), CPoint(), MakeStyle(), t, nullptr, 0, nullptr, nullptr, 0, 1);
        EXPECT_TRUE(none.All().empty()) << type;
    }
}

TEST(DrawGeoAnno, FormattedTextIsDrawnPartByPartNotAsPlainRows)
{
    RecordingDC rec;
    GEOANNO r = MakeRecord("A|B", 40, 50);
    r.SetFormatStyle(1);
    tagGEOFORMAT f;
    DrawGeoAnno(&rec.dc, kScale, kScale, CPoint(), CPoint(), MakeStyle(), r, nullptr, 0, nullptr, &f, 0, 1);
    const auto texts = rec.Calls("TextOut");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "A");
    EXPECT_EQ(texts[1].text, "B");
}

TEST(GeoAnnoDraw, EmptyTextDrawsNothingEvenWithAFrame)
{
    CGeoAnno* a = MakeAnno("", 0);
    a->SetShowFrame(1);
    a->SetFillFrame(1);
    RecordingDC rec;
    DrawObject(*a, rec.dc, MakeStyle());
    EXPECT_TRUE(rec.All().empty());
    delete a;
}

TEST(GeoAnnoDraw, SymbolisedHookDrawsLikeThePlainOne)
{
    CGeoAnno* a = MakeAnno("中文", 0);
    RecordingDC plain, symbolised;
    DrawObject(*a, plain.dc, MakeStyle());
    a->OnDrawWithSymbolization(&symbolised.dc, kScale, kScale, CPoint(), CPoint(), MakeStyle(), nullptr, 0, 0,
                               nullptr, 0);
    EXPECT_EQ(Xs(plain.Calls("TextOut")), (std::vector<int>{0, 40}));
    EXPECT_EQ(Xs(symbolised.Calls("TextOut")), Xs(plain.Calls("TextOut")));
    delete a;
}

TEST(GeoAnnoDraw, MultiPointAnnotationDrawsEachCharacterAtItsPoint)
{
    CGeoAnno* a = MakeAnno("甲乙丙", 6);
    a->SetSpace(30);
    a->SetRowSpace(20);
    const CPoint pts[3] = {{0, 0}, {100, -50}, {300, -80}};
    for (int k = 0; k < 3; ++k) {
        a->SetPositionPoint(pts[k], k);
        a->SetEscapeAngle(k == 2 ? 900.0f : 0.0f, k);
    }
    RecordingDC rec;
    DrawObject(*a, rec.dc, MakeStyle());
    const auto texts = rec.Calls("TextOut");
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, "甲");
    EXPECT_EQ(texts[2].text, "丙");
    EXPECT_EQ(Xs(texts), (std::vector<int>{0, 100, 300}));
    EXPECT_EQ(Ys(texts), (std::vector<int>{0, 50, 80}));
    EXPECT_EQ(texts[2].font.lfEscapement, 900);
    EXPECT_EQ(texts[1].font.lfEscapement, 0);

    // Formatted multi-point text is drawn unformatted, character by character.
    a->SetFormatStyle(1);
    ASSERT_TRUE(a->GetFormatStyle());
    RecordingDC formatted;
    DrawObject(*a, formatted.dc, MakeStyle());
    EXPECT_EQ(Xs(formatted.Calls("TextOut")), (std::vector<int>{0, 100, 300}));
    delete a;
}

TEST(GeoAnnoDraw, HideAndBlinkLeaveTheDCUntouched)
{
    CGeoAnno* a = MakeAnno("AB", 0);
    a->SetShowFrame(1);
    RecordingDC rec;
    const GEOVIEW v = MakeStyle(0);
    a->OnHideWithSymbolization(&rec.dc, kScale, kScale, CPoint(), v, nullptr);
    a->OnHideWithoutSymbolization(&rec.dc, kScale, kScale, CPoint(), v, nullptr);
    a->OnBlinkWithSymbolization(&rec.dc, kScale, kScale, CPoint(), v, nullptr);
    a->OnBlinkWithoutSymbolization(&rec.dc, kScale, kScale, CPoint(), v, nullptr);
    EXPECT_TRUE(rec.All().empty());
    delete a;
}

TEST(GeoAnnoDraw, BaseLineIsADottedXorLineThatASecondDrawingRemoves)
{
    CGeoAnno* a = MakeAnno("甲乙", 6);
    a->SetPositionPoint(CPoint(10, -10), 0);
    a->SetPositionPoint(CPoint(90, -50), 1);
    RecordingDC rec;
    a->DrawBaseLine(&rec.dc, nullptr, kScale, CPoint(), CPoint(), TRACKER_NORMAL, TRACKER_ALL);
    const auto all = rec.All();
    ASSERT_FALSE(all.empty());
    bool found = false;
    for (const auto& r : all) {
        if (r.call != "Polyline" && r.call != "MoveTo" && r.call != "LineTo") continue;
        found = true;
        EXPECT_EQ(r.rop2, R2_NOTXORPEN);
        EXPECT_EQ(r.pen.lopnStyle & 0xF, (UINT)PS_DOT);
        EXPECT_EQ(r.pen.lopnColor, RGB(0, 0, 125));
    }
    EXPECT_TRUE(found);
    EXPECT_EQ(rec.dc.GetROP2(), R2_COPYPEN);

    ImageDC img(120, 80);
    img.dc.FillSolidRect(0, 0, 60, 80, RGB(40, 90, 200));
    const auto before = img.Pixels();
    a->DrawBaseLine(&img.dc, nullptr, kScale, CPoint(), CPoint(), TRACKER_NORMAL, TRACKER_ALL);
    EXPECT_NE(img.Pixels(), before);
    a->DrawBaseLine(&img.dc, nullptr, kScale, CPoint(), CPoint(), TRACKER_NORMAL, TRACKER_ALL);
    EXPECT_EQ(img.Pixels(), before);
    delete a;
}

TEST(GeoAnnoDraw, HighlightedDrawingTwiceRestoresThePicture)
{
    struct Case { const char* what; DWORD flags; BYTE style; int colSpace; int positionType; } cases[] = {
        {"plain with decorations", GEOVIEW_TEXT_TRANSPARENT | GEOVIEW_TEXT_UNDERLINE | GEOVIEW_TEXT_STRIKE |
                                       GEOVIEW_TEXT_EMPHASIS, ANNO_SHOWFRAME, 0, 0},
        {"slanted, character boxes", GEOVIEW_TEXT_SLANT, 0, 60, 0},
        {"shoulder-raised, filled", GEOVIEW_TEXT_TRANSPARENT | GEOVIEW_TEXT_SONGJIAN, ANNO_FILLFRAME, 0, 0},
        {"box text", GEOVIEW_TEXT_TRANSPARENT, 0, 0, 2},
    };
    for (const Case& c : cases) {
        ImageDC img(220, 120);
        img.dc.FillSolidRect(0, 0, 110, 120, RGB(250, 220, 90));
        img.dc.FillSolidRect(110, 0, 110, 120, RGB(30, 60, 120));
        const auto before = img.Pixels();
        CGeoAnno* a = new CGeoAnno(CString("注记Ab"), CPoint(20, -90), 50, 40, 0.0f, 0.0f, 0, 0, 1, c.colSpace, 0, 0, 0);
        a->SetShowFrame(c.style & ANNO_SHOWFRAME);
        a->SetFillFrame(c.style & ANNO_FILLFRAME);
        if (c.positionType == 2) {
            a->SetPositionType(2);
            a->SetBounds(CRect(10, -110, 130, -10));
        }
        GEOVIEW v = MakeStyle(c.flags, RGB(200, 0, 0));
        v.m_nBufferWidth = 10;
        DrawObject(*a, img.dc, v, 1);
        EXPECT_NE(img.Pixels(), before) << c.what;
        DrawObject(*a, img.dc, v, 1);
        EXPECT_EQ(img.Pixels(), before) << c.what;
        delete a;
    }
}

TEST(GeoAnnoDraw, Gallery)
{
    ImageDC img(640, 420);
    const CPoint origin(0, -420);  // record y up from the picture's bottom edge
    struct Item {
        const char* text;
        CPoint at;
        float angle;
        DWORD flags;
        BYTE style;
        int align, colSpace, rowSpace, positionType;
        COLORREF colour;
    } items[] = {
        {"注记 Annotation", {20, 380}, 0, GEOVIEW_TEXT_TRANSPARENT, 0, 0, 0, 0, 0, RGB(0, 0, 0)},
        {"斜体 Slant", {20, 310}, 0, GEOVIEW_TEXT_TRANSPARENT | GEOVIEW_TEXT_SLANT, 0, 0, 0, 0, 0, RGB(180, 0, 0)},
        {"耸肩 Shoulder", {20, 240}, 0, GEOVIEW_TEXT_TRANSPARENT | GEOVIEW_TEXT_SONGJIAN | GEOVIEW_TEXT_SONGJIAN_DIR,
         0, 0, 0, 0, 0, RGB(0, 0, 180)},
        {"下划线着重号", {20, 170}, 0, GEOVIEW_TEXT_TRANSPARENT | GEOVIEW_TEXT_UNDERLINE | GEOVIEW_TEXT_EMPHASIS |
                                             GEOVIEW_TEXT_STRIKE, 0, 0, 0, 0, 0, RGB(0, 120, 0)},
        {"旋转文字", {420, 60}, 300.0f, GEOVIEW_TEXT_TRANSPARENT, ANNO_SHOWFRAME | ANNO_FILLFRAME, 4, 0, 0, 0,
         RGB(90, 0, 90)},
        {"间隔字", {20, 60}, 0, 0, 0, 0, 40, 0, 0, RGB(0, 0, 0)},
        {"多行\r\n居中文字\r\n注记", {500, 330}, 0, GEOVIEW_TEXT_TRANSPARENT | GEOVIEW_TEXT_BOLD, ANNO_SHOWFRAME, 4,
         0, 10, 0, RGB(0, 0, 0)},
    };
    img.dc.FillSolidRect(0, 0, 640, 420, RGB(255, 255, 255));
    img.dc.FillSolidRect(0, 340, 250, 80, RGB(200, 215, 255));  // the opaque character boxes cover it
    img.dc.SetBkColor(RGB(255, 255, 255));
    for (const Item& it : items) {
        CGeoAnno* a = new CGeoAnno(CString(it.text), it.at, 40, 40, it.angle, it.angle, it.align, it.positionType, 1,
                                   it.colSpace, it.rowSpace, 0, 0);
        a->SetShowFrame(it.style & ANNO_SHOWFRAME);
        a->SetFillFrame(it.style & ANNO_FILLFRAME);
        a->SetBackColor(RGB(255, 240, 180));
        a->SetLineWidth(20.0f);
        GEOVIEW v = MakeStyle(it.flags, it.colour);
        v.m_nBufferWidth = 10;
        a->OnDrawWithoutSymbolization(&img.dc, kScale, kScale, origin, CPoint(), v, nullptr, 0, 0, 1);
        delete a;
    }
    CGeoAnno* box = new CGeoAnno(CString("方框注记自动换行两端对齐"), CRect(330, 150, 470, 250), 30, 30, tagGEORECT(), 0,
                                 0, 5, 1);
    box->SetShowFrame(1);
    box->SetLineWidth(10.0f);
    GEOVIEW bv = MakeStyle(GEOVIEW_TEXT_TRANSPARENT, RGB(120, 60, 0));
    box->OnDrawWithoutSymbolization(&img.dc, kScale, kScale, origin, CPoint(), bv, nullptr, 0, 0, 1);
    CGeoAnno* hl = new CGeoAnno(CString("高亮"), CPoint(330, 100), 40, 40, 0.0f, 0.0f, 0, 0, 1, 0, 0, 0, 0);
    hl->OnDrawWithoutSymbolization(&img.dc, kScale, kScale, origin, CPoint(), bv, nullptr, 1, 0, 1);
    delete box;
    delete hl;
    const std::string path = std::string(CORVANE_TEST_OUTPUT_DIR) + "/annotation-gallery.png";
    EXPECT_TRUE(win32::WriteDCToPNG(img.dc.m_hDC, path.c_str()));
    // Some ink of every colour used reached the picture.
    int red = 0, blue = 0;
    for (COLORREF c : img.Pixels()) {
        if (GetRValue(c) > 120 && GetGValue(c) < 80 && GetBValue(c) < 80) ++red;
        if (GetBValue(c) > 120 && GetRValue(c) < 80 && GetGValue(c) < 80) ++blue;
    }
    EXPECT_GT(red, 50);
    EXPECT_GT(blue, 50);
}

TEST(DrawGeoAnno, BackgroundAndUnderlineCoverExactlyTheirPixels)
{
    // Two blanks (no ink of their own), each 10 wide, 50 high; at scale 10 one unit is a pixel: the text
    // box is x 2..22 and device y 10..60 (record y -60..-10, align 0 at (2, -60)). Pens of width 1 draw
    // the outlines' right and bottom edges too.
    ImageDC img(30, 70);
    img.dc.SetBkColor(RGB(255, 0, 0));
    GEOANNO r = MakeRecord("  ", 20, 50);
    r.m_ptPosition = r.m_ptRotateCenter = CPoint(2, -60);
    DrawGeoAnno(&img.dc, kScale, kScale, CPoint(), CPoint(), MakeStyle(GEOVIEW_TEXT_UNDERLINE, RGB(0, 0, 255)), r,
                nullptr, 0, nullptr, nullptr, 0, 1);
    for (int y = 0; y < 70; ++y) {
        for (int x = 0; x < 30; ++x) {
            COLORREF want = RGB(255, 255, 255);
            if (x >= 2 && x <= 22 && y >= 10 && y <= 60) want = RGB(255, 0, 0);  // background with its pen
            if (x >= 2 && x <= 22 && y >= 58 && y <= 60) want = RGB(0, 0, 255);   // the bar, 2 high, with its pen
            ASSERT_EQ(::GetPixel(img.dc.m_hDC, x, y), want) << x << "," << y;
        }
    }
}
