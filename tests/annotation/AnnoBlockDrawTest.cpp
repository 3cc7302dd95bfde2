// Blocks of rows, box text with line breaks and two-sided alignment, and the frame behind the text.
#include "annotation/AnnoBlockDraw.h"
#include "annotation/AnnoTextDraw.h"
#include "annotation/DrawGeoAnno.h"
#include "annotation/GeoAnno.h"
#include "vector/GeoPolygonLine.h"

#include "AnnoDrawSupport.h"

#include <gtest/gtest.h>

using namespace annodraw_test;

namespace {

void Draw(RecordingDC& rec, GEOANNO& r, const GEOVIEW& v, tagGEORECT* margins = nullptr, int highlight = 0)
{
    tagGEOFORMAT f;
    DrawGeoAnno(&rec.dc, kScale, kScale, CPoint(0, 0), CPoint(0, 0), v, r, nullptr, highlight, margins, &f, 0, 1);
}

}  // namespace

TEST(AnnoBlock, PlaceRowsBlockMovesToTheFirstRowAndReducesTheAlign)
{
    // W 100, H 170, char height 50.
    struct { int align; int dy; int reduced; } cases[] = {
        {0, 120, 0}, {6, 120, 6}, {3, 120, 3}, {1, 35, 0}, {7, 35, 6}, {4, 35, 3}, {2, 0, 2}, {5, 0, 5}, {8, 0, 8}};
    for (auto& c : cases) {
        GEOANNO r = MakeRecord("x", 40, 50, c.align);
        r.m_ptPosition = CPoint(7, 1000);
        PlaceRowsBlock(r, 100, 170, 50);
        EXPECT_EQ(r.m_ptPosition, CPoint(7, 1000 + c.dy)) << c.align;
        EXPECT_EQ(r.m_nAlignType, c.reduced) << c.align;
    }
}

TEST(AnnoBlock, ThreeCentredRowsStepDownFromTheBlockTop)
{
    RecordingDC rec;
    GEOANNO r = MakeRecord("AB\r\nCD\r\nEF", 40, 50, 4);
    r.m_nRowSpace = 10;
    Draw(rec, r, MakeStyle());
    const auto texts = rec.Calls("TextOut");
    ASSERT_EQ(texts.size(), 6u);
    // The block (H 170) is centred on the anchor: the first row stands on y 35 (align reduced to 3, the
    // bottom row), then each row 60 lower; device y = -record y.
    EXPECT_EQ(Ys(texts), (std::vector<int>{-35, -35, 25, 25, 85, 85}));
    EXPECT_EQ(Xs(texts), (std::vector<int>{-20, 0, -20, 0, -20, 0}));
}

TEST(AnnoBlock, TwoSidedAlignmentSpreadsRowsAndCentresSingleCharacters)
{
    int space = 7;
    EXPECT_EQ(JustifyRowSpace(CString("AB"), 80, 40, space), 40);
    space = 7;
    EXPECT_EQ(JustifyRowSpace(CString("A"), 80, 40, space), 7);

    RecordingDC rec;
    GEOANNO r = MakeRecord("ABCD\r\nAB\r\nA", 40, 50, 0);
    r.SetTwoAlign(1);
    Draw(rec, r, MakeStyle());
    const auto texts = rec.Calls("TextOut");
    ASSERT_EQ(texts.size(), 7u);
    // Row 1: 0 20 40 60; row 2 spread to 80: 0 and 60; row 3 centred at 40 (align 3 of a 20-wide row).
    EXPECT_EQ(Xs(texts), (std::vector<int>{0, 20, 40, 60, 0, 60, 30}));
}

TEST(AnnoBlock, FitRowInBoxBreaksRowsAndConsumesLineEnds)
{
    struct Case {
        const char* what;
        const char* text;
        int box, pos;
        int taken;
        const char* row;
        int posAfter;
    } cases[] = {
        {"fits three", "ABCDEF", 60, 0, 3, "ABC", 3},
        {"narrower than a character", "ABC", 10, 0, 0, "", 0},
        {"ends at CR LF", "AB\r\nCD", 100, 0, 2, "AB", 4},
        {"text ends with CR LF", "AB\r\n", 100, 0, 2, "AB", 4},
        {"blank line skipped", "\r\nCD", 100, 0, 2, "CD", 4},
        {"outside", "AB", 100, 2, -1, "", 2},
        // 0x81 0x40 is one character (trail byte below 0x80): never split across rows.
        {"double byte with a low trail", "A\x81\x40", 50, 0, 1, "A", 1},
        {"double byte whole", "\x81\x40" "B", 40, 0, 1, "\x81\x40", 2},
    };
    for (const Case& c : cases) {
        CString row("old");
        int pos = c.pos, space = 0;
        const int k = FitRowInBox(CString(c.text), row, c.box, 40, 50, pos, space, 0, 150.0f, 0);
        EXPECT_EQ(k, c.taken) << c.what;
        if (k >= 0) {
            EXPECT_STREQ(row, c.row) << c.what;
        }
        EXPECT_EQ(pos, c.posAfter) << c.what;
    }
    // Justified: 3 characters of 20 with space 0 in a box of 100 get space 20.
    CString row;
    int pos = 0, space = 0;
    FitRowInBox(CString("ABC"), row, 100, 40, 50, pos, space, 1, 0.0f, 0);
    EXPECT_EQ(space, 20);
}

TEST(AnnoBlock, CountBoxRowsAndReflow)
{
    GEOANNO r = MakeRecord("ABCDEF", 40, 50);
    EXPECT_EQ(CountBoxRows(r, 60, 1000, 40, 50, 0, 0, 0.0f, 0), 2);
    EXPECT_EQ(CountBoxRows(r, 10, 1000, 40, 50, 0, 0, 0.0f, 0), 1);   // nothing fits: one row, then stop
    EXPECT_EQ(CountBoxRows(r, 20, 60, 40, 50, 0, 0, 0.0f, 0), 2);     // the overflowing row counts
    GEOANNO e = MakeRecord("", 40, 50);
    EXPECT_EQ(CountBoxRows(e, 60, 1000, 40, 50, 0, 0, 0.0f, 0), 0);

    CRect box(100, 200, 160, 400);
    r.m_nAlignType = 4;
    ReflowTextInBox(r, box);
    EXPECT_STREQ(r.m_strText, "ABC\r\nDEF");
    EXPECT_EQ(r.m_ptPosition, CPoint(100, 200));
    EXPECT_EQ(r.m_nAlignType, 0);

    GEOANNO narrow = MakeRecord("ABC", 40, 50);  // must end, and keep the text
    CRect thin(0, 0, 5, 100);
    ReflowTextInBox(narrow, thin);
    EXPECT_STREQ(narrow.m_strText, "ABC");
}

TEST(AnnoBlock, BoxTextIsLaidOutInsideMarginsAndTheRecordPutBack)
{
    RecordingDC rec;
    GEOANNO r = MakeRecord("ABCDEF", 40, 50, 2);
    r.m_nPositionType = 2;
    r.m_rcBounds = CRect(0, 0, 80, 200);
    r.m_fEscapeAngle = 450.0f;  // box text is never turned
    tagGEORECT m;
    m.left = 10;
    m.right = 10;
    m.top = 20;
    m.bottom = 0;
    const GEOANNO before = r;
    GEOVIEW v = MakeStyle();
    v.m_fLineWidth = 0.0f;
    Draw(rec, r, v, &m);
    const auto texts = rec.Calls("TextOut");
    ASSERT_EQ(texts.size(), 6u);
    // Inner box x 10..70 (three characters a row), top row hangs from y 180.
    EXPECT_EQ(Xs(texts), (std::vector<int>{10, 30, 50, 10, 30, 50}));
    EXPECT_EQ(Ys(texts), (std::vector<int>{-180, -180, -180, -130, -130, -130}));
    EXPECT_EQ(texts[0].font.lfEscapement, 0);
    EXPECT_STREQ(r.m_strText, before.m_strText);
    EXPECT_EQ(r.m_ptPosition, before.m_ptPosition);
    EXPECT_EQ(r.m_rcBounds, before.m_rcBounds);
    EXPECT_EQ(r.m_pClipRect, nullptr);

    RecordingDC none;
    GEOANNO noMargins = before;
    Draw(none, noMargins, v, nullptr);
    EXPECT_TRUE(none.Calls("TextOut").empty());

    // Output mode 4 re-flows the text to the inner width.
    GEOANNO flow = before;
    flow.m_nOutputMode = 4;
    DrawGeoAnno(nullptr, kScale, kScale, CPoint(), CPoint(), v, flow, nullptr, 0, &m, nullptr, 0, 1);
    EXPECT_STREQ(flow.m_strText, "ABC\r\nDEF");
    EXPECT_EQ(flow.m_pClipRect, nullptr);
}

TEST(AnnoBlock, BackgroundAndFrameBehindTheText)
{
    struct Case {
        const char* what;
        DWORD flags;
        BYTE style;
        size_t polygons;
        COLORREF brush;  // 0xFFFFFFFF: the null brush
        int rop;
    } cases[] = {
        {"transparent, no frame", GEOVIEW_TEXT_TRANSPARENT, 0, 0, 0, 0},
        {"opaque background", 0, 0, 1, RGB(255, 255, 255), R2_COPYPEN},
        {"frame line", GEOVIEW_TEXT_TRANSPARENT, ANNO_SHOWFRAME, 1, 0xFFFFFFFF, R2_COPYPEN},
        {"filled frame", GEOVIEW_TEXT_TRANSPARENT, ANNO_FILLFRAME, 1, RGB(0, 128, 0), R2_COPYPEN},
    };
    for (const Case& c : cases) {
        RecordingDC rec;
        rec.dc.SetROP2(R2_XORPEN);
        GEOANNO r = MakeRecord("AB", 40, 50);
        r.m_byStyle = c.style;
        r.m_crBackColor = RGB(0, 128, 0);
        r.m_fLineWidth = 30.0f;
        Draw(rec, r, MakeStyle(c.flags));
        const auto polys = rec.Calls("Polygon");
        ASSERT_EQ(polys.size(), c.polygons) << c.what;
        if (c.polygons == 0) continue;
        if (c.brush == 0xFFFFFFFF)
            EXPECT_EQ(polys[0].brush.lbStyle, (UINT)BS_NULL) << c.what;
        else
            EXPECT_EQ(polys[0].brush.lbColor, c.brush) << c.what;
        if (c.flags == 0) {
            EXPECT_EQ(polys[0].rop2, c.rop) << c.what;
        }
        if (c.style == ANNO_SHOWFRAME) {
            EXPECT_EQ(polys[0].pen.lopnWidth.x, 30) << c.what;  // 10 * 30 / 10
            EXPECT_EQ(polys[0].pen.lopnColor, RGB(0, 128, 0));
            // The frame grows by half its line: 10 * 30 / 20 = 15 round the 40 x 50 text box.
            EXPECT_EQ(Pts(polys[0].points), "(-15,15)(55,15)(55,-65)(-15,-65)(-15,15)");
        }
        EXPECT_EQ(rec.dc.GetROP2(), R2_XORPEN) << c.what;
    }
}

TEST(AnnoBlock, SlantedFrameWidensOnTheLeaningSideOnly)
{
    for (DWORD dir : {0u, (DWORD)GEOVIEW_TEXT_SLANT_DIR}) {
        CObList out;
        GEOANNO r = MakeRecord("AB", 40, 100);
        r.SetShowFrame(1);
        r.m_fLineWidth = 0.0f;
        r.m_fItalicAngle = 450.0f;  // tan 45 degrees * 100 truncates to 99
        r.m_nOutputMode = 2;
        r.m_pOutputList = &out;
        DrawAnnoBackground(nullptr, kScale, kScale, CPoint(), CPoint(), MakeStyle(GEOVIEW_TEXT_TRANSPARENT |
                                                                                 GEOVIEW_TEXT_SLANT | dir),
                           r, nullptr, 0, nullptr);
        ASSERT_EQ(out.GetCount(), 1);
        CGeoPolygonLine* frame = dynamic_cast<CGeoPolygonLine*>(out.GetHead());
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->GetObjectData(), ANNO_DATA_FRAMELINE);
        EXPECT_FALSE(frame->IsFace());
        EXPECT_EQ(frame->GetBounds(), dir ? CRect(0, 0, 139, 100) : CRect(-99, 0, 40, 100)) << dir;
        ClearOutput(out);
    }
}

TEST(AnnoBlock, PartsModeEmitsOneAnnotationPerRowAndHitTestFindsTheRow)
{
    CObList out;
    GEOANNO r = MakeRecord("AB\r\nCDE", 40, 50, 0);
    r.m_nOutputMode = 5;
    r.m_pOutputList = &out;
    r.m_nRowSpace = 10;
    DrawGeoAnno(nullptr, kScale, kScale, CPoint(), CPoint(), MakeStyle(), r, nullptr, 0, nullptr, nullptr, 0, 1);
    ASSERT_EQ(out.GetCount(), 2);
    CGeoAnno* first = dynamic_cast<CGeoAnno*>(out.GetHead());
    CGeoAnno* second = dynamic_cast<CGeoAnno*>(out.GetTail());
    ASSERT_TRUE(first && second);
    EXPECT_STREQ(first->GetName(), "AB");
    EXPECT_STREQ(second->GetName(), "CDE");
    EXPECT_EQ(first->GetPositionPoint(0), CPoint(0, 60));
    EXPECT_EQ(second->GetPositionPoint(0), CPoint(0, 0));
    ClearOutput(out);

    // Rows stand on y 120, 60 and 0: a work point at y 20 lies in the third row, which starts after the
    // 5 bytes of the rows above it (separators not counted); the work point moves to that row's top.
    GEOANNO hit = MakeRecord("AB\r\nCDE\r\nF", 40, 50, 0);
    hit.m_nOutputMode = 3;
    hit.m_nRowSpace = 10;
    hit.m_nWorkY = 20;
    DrawGeoAnno(nullptr, kScale, kScale, CPoint(), CPoint(), MakeStyle(), hit, nullptr, 0, nullptr, nullptr, 0, 1);
    EXPECT_EQ(hit.m_nIndexResult, 5);
    EXPECT_EQ(hit.m_nWorkY, 50);
}
