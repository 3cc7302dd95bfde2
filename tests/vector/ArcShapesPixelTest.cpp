// Pixels of the three-point arc, the three-point circle and the rounded rectangle: an arc lands on the
// side of its middle point whichever way it runs, XOR drawing twice restores the picture, and a gallery
// picture for a person to look at.
#include "ClosedShapeSupport.h"

#include "vector/GeoRoundRect.h"
#include "vector/GeoTriPointArc.h"
#include "vector/GeoTriPointCircle.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

using namespace linetest;
using namespace closedtest;

namespace {

const COLORREF kWhite = 0xFFFFFF;

CPoint P(int x, int y) { return CPoint(x, y); }

class ArcPixels : public ClosedDraw {
protected:
    void SetUp() override {
        ClosedDraw::SetUp();
        m_image.Attach(win32::CreateImageDC(100, 100));
    }
    // Object (x, y) at device (x, 100 - y).
    void Draw(CGeoVectorObject& obj, int xorMode = 0) {
        obj.OnDrawWithoutSymbolization(&m_image, 10, 10, CPoint(0, -100), CPoint(0, 0), m_view, nullptr, xorMode, 0,
                                       1);
    }
    std::vector<COLORREF> Pixels() {
        std::vector<COLORREF> v;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x) v.push_back(m_image.GetPixel(x, y));
        return v;
    }
    void Clear() { ::PatBlt(m_image.m_hDC, 0, 0, 100, 100, WHITENESS); }

    CDC m_image;
};

}  // namespace

TEST_F(ArcPixels, AnArcLiesOnTheSideOfItsMiddlePointWhicheverWayItRuns) {
    struct Case {
        CPoint p1, p2, p3;
        POINT inked, blank;  // device pixels
    } cases[] = {
        {P(60, 50), P(50, 60), P(40, 50), {50, 40}, {50, 60}},  // upper half, counter-clockwise
        {P(40, 50), P(50, 60), P(60, 50), {50, 40}, {50, 60}},  // upper half, clockwise
        {P(60, 50), P(50, 40), P(40, 50), {50, 60}, {50, 40}},  // lower half
        {P(50, 60), P(60, 50), P(50, 40), {60, 50}, {40, 50}},  // right half
    };
    for (const Case& c : cases) {
        Clear();
        CGeoTriPointArc arc(c.p1, c.p2, c.p3);
        Draw(arc);
        EXPECT_NE(m_image.GetPixel(c.inked.x, c.inked.y), kWhite) << c.p2.x << "," << c.p2.y;
        EXPECT_EQ(m_image.GetPixel(c.blank.x, c.blank.y), kWhite) << c.p2.x << "," << c.p2.y;
    }
}

TEST_F(ArcPixels, DrawingTwiceInXorRestoresThePixels) {
    CGeoTriPointArc arc(P(70, 50), P(50, 70), P(50, 30));
    arc.SetDangleType(DANGLE_FIRST | FALSENODE_LAST);
    CGeoTriPointCircle circle(P(70, 50), P(50, 70), P(30, 50));
    circle.SetFace(1);
    CGeoRoundRect round(CRect(10, 10, 90, 60), P(30, 20));
    round.SetFace(1);
    for (CGeoVectorObject* obj : std::vector<CGeoVectorObject*>{&arc, &circle, &round}) {
        Clear();
        const std::vector<COLORREF> blank = Pixels();
        Draw(*obj, 1);
        EXPECT_NE(Pixels(), blank) << obj->GetRuntimeClass()->m_lpszClassName;
        Draw(*obj, 1);
        EXPECT_EQ(Pixels(), blank) << obj->GetRuntimeClass()->m_lpszClassName;
    }
}

TEST_F(ArcPixels, Gallery) {
    const char* dir = std::getenv("CORVANE_TEST_OUTPUT_DIR");
    if (!dir) GTEST_SKIP() << "no output folder";
    Clear();
    m_view.m_fLineWidth = 2.0f;
    CGeoRoundRect round(CRect(5, 95, 95, 55), P(30, 20));
    round.SetFace(1);
    Draw(round);
    CGeoTriPointCircle circle(P(30, 30), P(15, 45), P(5, 25));
    Draw(circle);
    CGeoTriPointArc arc(P(90, 30), P(70, 45), P(55, 20));
    arc.SetDangleType(DANGLE_FIRST | DANGLE_LAST);
    Draw(arc);
    const std::string path = std::string(dir) + "/vector-arc-shapes.png";
    EXPECT_TRUE(win32::WriteDCToPNG(m_image.m_hDC, path.c_str()));
}
