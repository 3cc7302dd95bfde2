// The annotation style sample: physical sizes shown at their true size on a 96 dpi screen, or fitted to
// the rectangle by scaling the sizes or by growing the rectangle; the caller's records stay as they are.
#include "AnnoDrawSupport.h"

#include "annotation/AnnoStyleSample.h"
#include "annotation/FormatText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using annodraw_test::RecordingDC;

// "AB" with sizes of 10 mm (100 tenths): 37 pixels at 96 dpi (37.8, truncated), so the two single-byte
// characters make a 37 x 37 sample. The frame shows the box the text took.
GEOANNO Sample() {
    GEOANNO a = annodraw_test::MakeRecord("AB", 100, 100, 0);
    a.m_ptPosition = CPoint(50, 50);
    a.SetShowFrame(1);
    return a;
}

// The device box of the frame polygon.
CRect FrameBox(const RecordingDC& rec) {
    const auto frames = rec.Calls("Polygon");
    if (frames.empty()) return CRect(0, 0, 0, 0);
    CRect b(frames[0].points[0], frames[0].points[0]);
    for (const POINT& p : frames[0].points) {
        b.left = std::min<LONG>(b.left, p.x);
        b.right = std::max<LONG>(b.right, p.x);
        b.top = std::min<LONG>(b.top, p.y);
        b.bottom = std::max<LONG>(b.bottom, p.y);
    }
    return b;
}

int FontHeight(const RecordingDC& rec) {
    const auto texts = rec.Calls("TextOut");
    return texts.empty() ? 0 : texts[0].font.lfHeight;
}

TEST(AnnoStyleSample, FitModesPlaceAndSizeTheSample) {
    const struct {
        int fit, scaleSizes;
        CRect rectAfter, frame;
        int fontHeight;
    } cases[] = {
        // True size, centred on (35, 20), overflowing the 50 x 20 rectangle.
        {0, 0, CRect(10, 10, 60, 30), CRect(16, 1, 53, 38), -37},
        {0, 1, CRect(10, 10, 60, 30), CRect(16, 1, 53, 38), -37},
        // Fitted by the sizes: k = 20 / 37.
        {1, 1, CRect(10, 10, 60, 30), CRect(25, 10, 45, 30), -20},
        // Fitted by the rectangle: exactly as wide as the sample, raised to its height.
        {1, 0, CRect(10, 10, 47, 47), CRect(10, 10, 47, 47), -37},
    };
    for (const auto& c : cases) {
        RecordingDC rec;
        GEOANNO a = Sample();
        GEOVIEW v = annodraw_test::MakeStyle();
        tagGEORECT m;
        tagGEOFORMAT f;
        CRect r(10, 10, 60, 30);
        DrawTips(&rec.dc, r, a, v, m, f, c.fit, c.scaleSizes);
        const std::string what = "fit " + std::to_string(c.fit) + " scale sizes " + std::to_string(c.scaleSizes);
        EXPECT_EQ(r, c.rectAfter) << what;
        EXPECT_EQ(FrameBox(rec), c.frame) << what;
        EXPECT_EQ(FontHeight(rec), c.fontHeight) << what;
        // The caller's records are not touched.
        EXPECT_EQ(a.m_nCharHeight, 100);
        EXPECT_EQ(a.m_nCharWidth, 100);
        EXPECT_EQ(a.m_ptPosition, CPoint(50, 50));
        EXPECT_EQ(a.m_nUnit, 3);
        EXPECT_EQ(a.m_nAlignType, 0);
    }
}

TEST(AnnoStyleSample, ATallRectangleKeepsItsHeightAndAWideOneNarrows) {
    RecordingDC rec;
    GEOANNO a = Sample();
    GEOVIEW v = annodraw_test::MakeStyle();
    tagGEORECT m;
    tagGEOFORMAT f;
    CRect r(0, 0, 200, 100);
    DrawTips(&rec.dc, r, a, v, m, f, 1, 0);
    EXPECT_EQ(r, CRect(0, 0, 37, 100));
}

TEST(AnnoStyleSample, BoxTextIsCentredOnTheRectangle) {
    RecordingDC rec;
    GEOANNO a = annodraw_test::MakeRecord("AB", 100, 100, 0);
    a.m_nPositionType = 2;
    a.m_rcBounds = CRect(0, 0, 200, 100);  // 20 mm x 10 mm: 75 x 37 pixels
    a.SetShowFrame(1);
    GEOVIEW v = annodraw_test::MakeStyle();
    tagGEORECT m;
    tagGEOFORMAT f;
    CRect r(0, 0, 200, 100);
    DrawTips(&rec.dc, r, a, v, m, f, 0, 1);
    const CRect frame = FrameBox(rec);
    EXPECT_NEAR(frame.CenterPoint().x, 100, 1);
    EXPECT_NEAR(frame.CenterPoint().y, 50, 1);
    EXPECT_NEAR(frame.Width(), 75, 1);
    EXPECT_NEAR(frame.Height(), 37, 1);
    EXPECT_EQ(a.m_rcBounds, CRect(0, 0, 200, 100));
}

TEST(AnnoStyleSample, TurnedTextTurnsAboutItsPlaceInTheRectangle) {
    // The caller's position lies far from the rectangle; the sample must still turn about the point it
    // is placed at, or it would be drawn away from the rectangle.
    for (int fit = 0; fit < 2; ++fit) {
        RecordingDC rec;
        GEOANNO a = Sample();
        a.m_ptPosition = CPoint(300, 300);
        a.m_fEscapeAngle = 450.0f;
        a.m_fOrientAngle = 450.0f;
        GEOVIEW v = annodraw_test::MakeStyle();
        tagGEORECT m;
        tagGEOFORMAT f;
        CRect r(0, 0, 100, 100);
        DrawTips(&rec.dc, r, a, v, m, f, fit, 1);
        const CRect frame = FrameBox(rec);
        EXPECT_NEAR(frame.CenterPoint().x, 50, 2) << fit;
        EXPECT_NEAR(frame.CenterPoint().y, 50, 2) << fit;
    }
}

TEST(AnnoStyleSample, ASampleWithoutExtentCountsAsOneUnitAndFitsAnyRectangle) {
    for (CRect start : {CRect(0, 0, 40, 40), CRect(5, 5, 5, 5)}) {
        RecordingDC rec;
        GEOANNO a = annodraw_test::MakeRecord("AB", 0, 0, 0);
        GEOVIEW v = annodraw_test::MakeStyle();
        tagGEORECT m;
        tagGEOFORMAT f;
        CRect r = start;
        DrawTips(&rec.dc, r, a, v, m, f, 1, 1);
        EXPECT_EQ(r, start);
        EXPECT_EQ(a.m_nCharHeight, 0);
    }
}

TEST(AnnoStyleSample, FormattedPartsComeBackInDevicePixels) {
    RecordingDC rec;
    GEOANNO a = annodraw_test::MakeRecord("AB", 100, 100, 0);
    a.SetFormatStyle(1);
    CFormatPartArray parts;
    a.m_pPartOutput = &parts;
    GEOVIEW v = annodraw_test::MakeStyle();
    tagGEORECT m;
    tagGEOFORMAT f;
    CRect r(0, 0, 200, 100);
    DrawTips(&rec.dc, r, a, v, m, f, 0, 1);
    ASSERT_EQ(parts.size(), 1u);
    // 37 x 37 pixels centred on (100, 50), y down.
    EXPECT_NEAR(parts[0].left, 82, 1);
    EXPECT_NEAR(parts[0].right, 119, 1);
    EXPECT_NEAR(parts[0].top, 32, 1);
    EXPECT_NEAR(parts[0].bottom, 69, 1);
}

TEST(AnnoStyleSample, NoDeviceContextDrawsNothingAndChangesNothing) {
    GEOANNO a = Sample();
    GEOVIEW v = annodraw_test::MakeStyle();
    tagGEORECT m;
    tagGEOFORMAT f;
    CRect r(10, 10, 60, 30);
    DrawTips(nullptr, r, a, v, m, f, 1, 0);
    EXPECT_EQ(r, CRect(10, 10, 60, 30));
}

}  // namespace
