// One row of annotation text: where each character goes, what each output mode produces, the character
// boxes and the decorations, and highlighted drawing.
#include "annotation/AnnoTextDraw.h"
#include "annotation/GeoAnno.h"
#include "vector/GeoCircle.h"
#include "vector/GeoPolygonLine.h"

#include "AnnoDrawSupport.h"

#include <gtest/gtest.h>

using namespace annodraw_test;

namespace {

int Row(RecordingDC& rec, GEOANNO& r, const GEOVIEW& v, int highlight = 0)
{
    return DrawAnnoRow(&rec.dc, kScale, kScale, CPoint(0, 0), CPoint(0, 0), v, r, nullptr, highlight, 0, 1);
}

}  // namespace

TEST(AnnoRow, EmptyTextDrawsNothing)
{
    RecordingDC rec;
    GEOANNO r = MakeRecord("", 40, 50);
    r.SetShowFrame(1);
    EXPECT_EQ(Row(rec, r, MakeStyle(GEOVIEW_TEXT_TRANSPARENT | GEOVIEW_TEXT_UNDERLINE)), -1);
    EXPECT_TRUE(rec.Calls("TextOut").empty());
    EXPECT_TRUE(rec.Calls("Polygon").empty());
}

TEST(AnnoRow, CharactersAdvanceFromTheRowStartByBytesAndColumnSpaces)
{
    // Two double-byte characters and a single byte: 0, 40 + 30, 80 + 60.
    RecordingDC rec;
    GEOANNO r = MakeRecord("中文a", 40, 50);
    r.m_nColSpace = 30;
    r.m_ptPosition = r.m_ptRotateCenter = CPoint(100, -200);
    EXPECT_EQ(Row(rec, r, MakeStyle()), 4);  // the last character starts at byte 4
    const auto texts = rec.Calls("TextOut");
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(Xs(texts), (std::vector<int>{100, 170, 240}));
    EXPECT_EQ(Ys(texts), (std::vector<int>{200, 200, 200}));
    EXPECT_EQ(texts[0].text, "中");
    EXPECT_EQ(texts[2].text, "a");
    EXPECT_EQ(texts[0].font.lfHeight, -50);
    EXPECT_EQ(texts[0].font.lfWidth, 20);
    EXPECT_EQ(texts[0].textAlign, (UINT)TA_BOTTOM);
}

TEST(AnnoRow, AlignTypesPlaceTheRowAroundTheAnchor)
{
    // "中文" is 80 wide and 50 high; device y = -record y.
    struct { int align; std::vector<int> xs; int y; UINT ta; } cases[] = {
        {0, {0, 40}, 0, TA_BOTTOM},   {1, {0, 40}, 25, TA_BOTTOM},   {2, {0, 40}, 0, TA_TOP},
        {4, {-40, 0}, 25, TA_BOTTOM}, {6, {-80, -40}, 0, TA_BOTTOM}, {8, {-80, -40}, 0, TA_TOP},
    };
    for (auto& c : cases) {
        RecordingDC rec;
        GEOANNO r = MakeRecord("中文", 40, 50, c.align);
        Row(rec, r, MakeStyle());
        const auto texts = rec.Calls("TextOut");
        EXPECT_EQ(Xs(texts), c.xs) << c.align;
        EXPECT_EQ(Ys(texts), (std::vector<int>{c.y, c.y})) << c.align;
        EXPECT_EQ(texts[0].textAlign, c.ta) << c.align;
    }
}

TEST(AnnoRow, TurnedRowStepsAlongTheTextAngle)
{
    RecordingDC rec;
    GEOANNO r = MakeRecord("中文", 40, 50);
    r.m_fEscapeAngle = r.m_fOrientAngle = 900.0f;  // a quarter turn: the row runs up the screen
    Row(rec, r, MakeStyle());
    const auto texts = rec.Calls("TextOut");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1].points[0].x, 0);
    // 40 up the screen: -39.99... rounds as trunc(v + 0.5), so -39 (the short pi of annotation angles).
    EXPECT_EQ(texts[1].points[0].y, -39);
    EXPECT_EQ(texts[0].font.lfEscapement, 900);
}

TEST(AnnoRow, HitTestFindsTheCharacterUnderTheWorkPoint)
{
    struct { int target; int index; int workX; } cases[] = {
        {5, 0, 0},    // left of the first character's centre
        {-50, 0, 0},  // far left
        {25, 2, 40},  // past the first centre: the second character
        {70, 4, 80},  // the single byte after them
    };
    for (auto& c : cases) {
        RecordingDC rec;
        GEOANNO r = MakeRecord("中文a", 40, 50);
        r.m_nOutputMode = 3;
        r.m_nWorkX = c.target;
        EXPECT_EQ(Row(rec, r, MakeStyle()), c.index) << c.target;
        EXPECT_EQ(r.m_nWorkX, c.workX) << c.target;
        EXPECT_TRUE(rec.Calls("TextOut").empty());
    }
}

TEST(AnnoRow, AnnotationListModeEmitsOneRowOrOnePiecePerCharacter)
{
    GEOVIEW v = MakeStyle(GEOVIEW_TEXT_TRANSPARENT, RGB(1, 2, 3));
    {
        CObList out;
        GEOANNO r = MakeRecord("中文", 40, 50, 4);
        r.m_nOutputMode = 2;
        r.m_pOutputList = &out;
        r.m_ptPosition = r.m_ptRotateCenter = CPoint(10, 20);
        EXPECT_EQ(DrawAnnoRow(nullptr, kScale, kScale, CPoint(), CPoint(), v, r, nullptr, 0, 0, 1), 1);
        ASSERT_EQ(out.GetCount(), 1);
        CGeoAnno* a = dynamic_cast<CGeoAnno*>(out.GetHead());
        ASSERT_NE(a, nullptr);
        EXPECT_STREQ(a->GetName(), "中文");
        EXPECT_EQ(a->GetPositionPoint(0), CPoint(10, 20));
        EXPECT_EQ(a->GetGeoView().m_crAnnoColor, RGB(1, 2, 3));
        ClearOutput(out);
    }
    {
        CObList out;
        GEOANNO r = MakeRecord("中文", 40, 50, 1);
        r.m_nColSpace = 30;
        r.m_nOutputMode = 2;
        r.m_pOutputList = &out;
        DrawAnnoRow(nullptr, kScale, kScale, CPoint(), CPoint(), v, r, nullptr, 0, 0, 1);
        ASSERT_EQ(out.GetCount(), 2);
        CGeoAnno* second = dynamic_cast<CGeoAnno*>(out.GetTail());
        ASSERT_NE(second, nullptr);
        EXPECT_STREQ(second->GetName(), "文");
        EXPECT_EQ(second->GetPositionPoint(0), CPoint(70, 25));  // middle row: the top of the cell
        EXPECT_EQ(second->GetAlignType(), 2);
        ClearOutput(out);
    }
}

TEST(AnnoRow, CharacterBoxesOnlyWhenCharactersStandApart)
{
    // Buffer width 10 (1 mm) at scale2 10 gives a halo of 10; column space 30 is wider.
    struct { const char* what; DWORD flags; BYTE style; int colSpace; size_t boxes; COLORREF colour; } cases[] = {
        {"opaque, apart", 0, 0, 30, 2, RGB(255, 255, 255)},
        {"opaque, close", 0, 0, 5, 0, 0},
        {"transparent, no frame", GEOVIEW_TEXT_TRANSPARENT, 0, 30, 0, 0},
        {"transparent, filled", GEOVIEW_TEXT_TRANSPARENT, ANNO_FILLFRAME, 30, 2, RGB(0, 200, 0)},
    };
    for (auto& c : cases) {
        RecordingDC rec;
        GEOANNO r = MakeRecord("中文", 40, 50);
        r.m_nColSpace = c.colSpace;
        r.m_byStyle = c.style;
        r.m_crBackColor = RGB(0, 200, 0);
        GEOVIEW v = MakeStyle(c.flags);
        v.m_nBufferWidth = 10;
        Row(rec, r, v);
        const auto boxes = rec.Calls("Polygon");
        ASSERT_EQ(boxes.size(), c.boxes) << c.what;
        if (c.boxes == 0) continue;
        EXPECT_EQ(boxes[0].brush.lbColor, c.colour) << c.what;
        // The first cell 0..40 x 0..50 grown by 5 on every side (device y down).
        EXPECT_EQ(boxes[0].points[0].x, -5) << c.what;
        EXPECT_EQ(boxes[0].points[0].y, 5) << c.what;
        EXPECT_EQ(boxes[0].points[2].x, 45) << c.what;
        EXPECT_EQ(boxes[0].points[2].y, -55) << c.what;
    }
}

TEST(AnnoRow, UnderlineStrikeLineAndEmphasisDots)
{
    RecordingDC rec;
    GEOANNO r = MakeRecord("中文", 40, 50, 6);
    GEOVIEW v = MakeStyle(GEOVIEW_TEXT_TRANSPARENT | GEOVIEW_TEXT_UNDERLINE | GEOVIEW_TEXT_STRIKE |
                          GEOVIEW_TEXT_EMPHASIS, RGB(0, 0, 200));
    Row(rec, r, v);
    const auto bars = rec.Calls("Polygon");
    ASSERT_EQ(bars.size(), 2u);
    // Strike line first: lower edge at trunc(50 / 2.5 - 50 / 50) = 19, 2 high; then the underline 0..2.
    EXPECT_EQ(Pts(bars[0].points), "(-80,-19)(0,-19)(0,-21)(-80,-21)(-80,-19)");
    EXPECT_EQ(Pts(bars[1].points), "(-80,0)(0,0)(0,-2)(-80,-2)(-80,0)");
    EXPECT_EQ(bars[1].brush.lbColor, RGB(0, 0, 200));
    // Dots of radius 50 / 25 = 2, centred under each character, 2r below the baseline.
    const auto dots = rec.Calls("Ellipse");
    ASSERT_EQ(dots.size(), 2u);
    EXPECT_EQ(Pts(dots[0].points), "(-62,2)(-58,6)");
    EXPECT_EQ(Pts(dots[1].points), "(-22,2)(-18,6)");
}

TEST(AnnoRow, SlantedLetteringIsFilledFromTheShearedOutline)
{
    RecordingDC rec;
    GEOANNO r = MakeRecord("中A", 40, 50);
    Row(rec, r, MakeStyle(GEOVIEW_TEXT_TRANSPARENT | GEOVIEW_TEXT_SLANT, RGB(9, 9, 9)));
    EXPECT_TRUE(rec.Calls("TextOut").empty());
    const auto fills = rec.Calls("FillPath");
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[0].brush.lbColor, RGB(9, 9, 9));
    EXPECT_EQ(fills[0].polyFillMode, WINDING);
}

TEST(AnnoRow, HighlightUsesTheNotXorPenAndTheDCIsPutBack)
{
    RecordingDC rec;
    GEOANNO r = MakeRecord("中", 40, 50);
    const int rop = rec.dc.GetROP2();
    CPen* pen = rec.dc.GetCurrentPen();
    CBrush* brush = rec.dc.GetCurrentBrush();
    Row(rec, r, MakeStyle(GEOVIEW_TEXT_TRANSPARENT | GEOVIEW_TEXT_UNDERLINE), 1);
    const auto strokes = rec.Calls("StrokePath");
    ASSERT_EQ(strokes.size(), 1u);
    EXPECT_EQ(strokes[0].rop2, R2_NOTXORPEN);
    EXPECT_EQ(strokes[0].pen.lopnColor, ANNO_HIGHLIGHT_COLOR);
    EXPECT_EQ(strokes[0].pen.lopnWidth.x, 2);
    const auto bars = rec.Calls("Polygon");
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_EQ(bars[0].rop2, R2_NOTXORPEN);
    EXPECT_EQ(rec.dc.GetROP2(), rop);
    EXPECT_EQ(rec.dc.GetCurrentPen()->GetSafeHandle(), pen->GetSafeHandle());
    EXPECT_EQ(rec.dc.GetCurrentBrush()->GetSafeHandle(), brush->GetSafeHandle());
}

TEST(AnnoRow, ClipRectangleOfTheRecordIsAppliedAndTheClipBoxPutBack)
{
    RecordingDC rec;
    RECT before;
    rec.dc.GetClipBox(&before);
    RECT clip = {0, -10, 30, 60};  // record units, y up
    GEOANNO r = MakeRecord("中文", 40, 50);
    r.m_pClipRect = &clip;
    Row(rec, r, MakeStyle());
    RECT after;
    rec.dc.GetClipBox(&after);
    EXPECT_EQ(CRect(after), CRect(before));
}

TEST(AnnoRow, EmittedDecorationsInOutlineMode)
{
    CObList out;
    RecordingDC rec;
    GEOANNO r = MakeRecord("A", 40, 50);
    r.m_nOutputMode = 1;
    r.m_pOutputList = &out;
    r.m_ptPosition = r.m_ptRotateCenter = CPoint(500, 500);
    DrawAnnoRow(&rec.dc, kScale, kScale, CPoint(), CPoint(), MakeStyle(GEOVIEW_TEXT_TRANSPARENT | GEOVIEW_TEXT_UNDERLINE),
                r, nullptr, 0, 0, 1);
    int glyphs = 0, underlines = 0;
    POSITION pos = out.GetHeadPosition();
    while (pos) {
        CGeoPolygonLine* poly = dynamic_cast<CGeoPolygonLine*>(out.GetNext(pos));
        ASSERT_NE(poly, nullptr);
        if (poly->GetObjectData() == 0x100000) ++glyphs;
        if (poly->GetObjectData() == ANNO_DATA_UNDERLINE) {
            ++underlines;
            EXPECT_EQ(poly->GetBounds(), CRect(500, 500, 520, 502));
            EXPECT_EQ(poly->GetGeoView().m_nLineShape, 0x2200);
            EXPECT_TRUE(poly->IsFace());
        }
    }
    EXPECT_GE(glyphs, 1);
    EXPECT_EQ(underlines, 1);
    EXPECT_TRUE(rec.Calls("FillPath").empty());
    ClearOutput(out);
}

TEST(AnnoRow, EmphasisDotsBecomeCirclesInTheAnnotationListMode)
{
    CObList out;
    GEOANNO r = MakeRecord("中文", 40, 50);
    r.m_nOutputMode = 2;
    r.m_pOutputList = &out;
    r.m_ptPosition = r.m_ptRotateCenter = CPoint(100, 100);
    GEOVIEW v = MakeStyle(GEOVIEW_TEXT_TRANSPARENT | GEOVIEW_TEXT_EMPHASIS, RGB(0, 90, 0));
    DrawAnnoRow(nullptr, kScale, kScale, CPoint(), CPoint(), v, r, nullptr, 0, 0, 1);
    ASSERT_EQ(out.GetCount(), 3);  // the row, then one dot per character
    EXPECT_NE(dynamic_cast<CGeoAnno*>(out.GetHead()), nullptr);
    std::vector<CPoint> centres;
    POSITION pos = out.GetHeadPosition();
    out.GetNext(pos);
    while (pos) {
        CGeoCircle* dot = dynamic_cast<CGeoCircle*>(out.GetNext(pos));
        ASSERT_NE(dot, nullptr);
        EXPECT_EQ(dot->GetObjectData(), ANNO_DATA_DOT);
        EXPECT_DOUBLE_EQ(dot->GetRadius(), 2.0);
        EXPECT_EQ(dot->GetGeoView().m_crFillColor, RGB(0, 90, 0));
        centres.push_back(dot->GetCenter());
    }
    // Under the middle of each character, 2r below the row's base.
    EXPECT_EQ(centres, (std::vector<CPoint>{CPoint(120, 96), CPoint(160, 96)}));
    ClearOutput(out);
}
