// Unit conversion, map/device lengths, the display translation and the scratch buffer.
#include "ostrel/PointBuffer.h"
#include "ostrel/Translate.h"
#include "ostrel/Units.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

struct IntCase {
    int from, to;
    LONG value, expected;
};

TEST(OstrelUnits, IntegerFormsTruncateTowardZeroAndClamp)
{
    const IntCase cases[] = {
        {6, 3, 1, 1000},     {3, 6, 1500, 1},        {3, 6, -1500, -1},   {1, 3, 1, 25},
        {3, 1, 254, 10},     {3, 1, 253, 9},         {4, 3, 7, 70},       {3, 4, 79, 7},
        {7, 6, 2, 2000},     {9, 3, 5, 5},           {3, 9, 5, 5},        {2, 3, 5, 5}, // unknown code: mm
        {3, 3, -7, -7},      {7, 3, 3000, INT_MAX},  {7, 3, -3000, INT_MIN},
    };
    for (const IntCase& c : cases) {
        POINT p = {c.value, -c.value};
        ChangeUnit(c.from, c.to, p, 1.0);
        EXPECT_EQ(p.x, c.expected) << c.from << "->" << c.to << " of " << c.value;
        if (c.expected != INT_MIN && c.expected != INT_MAX) {
            EXPECT_EQ(p.y, -c.expected);
        }
    }
}

TEST(OstrelUnits, EveryFormAgrees)
{
    EXPECT_DOUBLE_EQ(ChangeUnit(3, 6, 1500.0, 1.0), 1.5);
    EXPECT_DOUBLE_EQ(ChangeUnit(1, 3, 2.0, 1.0), 50.8);
    EXPECT_DOUBLE_EQ(ChangeUnit(3, 6, 1500.0, 2.0), 3.0); // the factor multiplies

    RECT r = {1, 2, 3, 4};
    ChangeUnit(6, 3, r, 1.0);
    EXPECT_EQ(r.left, 1000);
    EXPECT_EQ(r.bottom, 4000);
    SIZE s = {2540, -2540};
    ChangeUnit(3, 1, s, 1.0);
    EXPECT_EQ(s.cx, 100);
    EXPECT_EQ(s.cy, -100);

    POINT pts[2] = {{1, 2}, {3, 4}};
    ChangeUnit(6, 3, pts, pts, 2, 1.0); // in place
    EXPECT_EQ(pts[1].x, 3000);
    POINT dst[2];
    ChangeUnit(3, 6, pts, dst, 2, 1.0);
    EXPECT_EQ(dst[0].y, 2);
    ChangeUnit(3, 6, pts, dst, 0, 1.0); // nothing to do
    ChangeUnit(3, 6, nullptr, dst, 2, 1.0);
}

TEST(OstrelUnits, MapDeviceLengths)
{
    EXPECT_EQ(RPtoLP(100u, 3, (LONG)1000, 1.0), 100);
    EXPECT_EQ(RPtoLP(10u, 6, (LONG)1, 1.0), 1000);
    EXPECT_EQ(LPtoRP(10u, 6, (LONG)1000, 1.0), 1);
    EXPECT_DOUBLE_EQ(LPtoRP(100u, 3, 7.0, 1.0), 70.0);
    EXPECT_EQ(RPtoLP(0u, 3, (LONG)5, 1.0), 50);            // a zero scale counts as 1
    EXPECT_EQ(LPtoRP(100u, 3, (LONG)5, 0.0), 0);           // a zero factor gives 0, never a division by 0
    EXPECT_EQ(RPtoLP(1u, 9, (LONG)250, 1.0 / 100.0), 25);  // library units at 100 per mm
    EXPECT_EQ(RPtoLP(3u, 3, (LONG)-1, 1.0), -3);
    EXPECT_EQ(RPtoLP(1u, 3, (LONG)1, 1.0 / 3.0), 3);       // 3.333.. truncated

    POINT size = {20, 30};
    RPtoLP(10u, 3, size, 1.0);
    EXPECT_EQ(size.x, 20);
    EXPECT_EQ(size.y, 30);
    RECT r = {0, 10, 20, 30};
    RPtoLP(100u, 6, r, 1.0);
    EXPECT_EQ(r.top, 1000);
    LPtoRP(100u, 6, r, 1.0);
    EXPECT_EQ(r.bottom, 30);
}

class OstrelTranslate : public ::testing::Test {
protected:
    void TearDown() override
    {
        SetTranslate(0);
        SetRotateAngle(0.0);
        SetBasePoint(0, 0);
        SetTransform(0, 0);
    }
};

TEST_F(OstrelTranslate, OffAtLoadAndParametersKept)
{
    EXPECT_EQ(IsUsedTranslate(), 0);
    SetTranslate(5);
    EXPECT_EQ(IsUsedTranslate(), 1);
    SetBasePoint(100, 200);
    SetRotateAngle(30.0);
    SetTransform(-5, 7);
    int x, y, cx, cy;
    GetBasePoint(x, y);
    GetTransform(cx, cy);
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 200);
    EXPECT_EQ(cx, -5);
    EXPECT_EQ(cy, 7);
    EXPECT_DOUBLE_EQ(GetRotateAngle(), 30.0);
}

TEST_F(OstrelTranslate, Translate2UndoesTranslate)
{
    SetBasePoint(100, 200);
    SetTransform(5, -7);
    // A quarter turn counter-clockwise (the sense of RotatePoint): (110, 200) -> (100, 210), then shifted.
    SetRotateAngle(90.0);
    POINT p = {110, 200};
    Translate(p);
    EXPECT_EQ(p.x, 105);
    EXPECT_EQ(p.y, 203);

    const double angles[] = {0.0, 30.0, -123.4, 400.0};
    const POINT pts[] = {{0, 0}, {123456, -98765}, {-1000000, 5}};
    for (double a : angles) {
        SetRotateAngle(a);
        for (const POINT& q : pts) {
            POINT t = q;
            Translate(t);
            double x = t.x, y = t.y;
            Translate2(x, y);
            EXPECT_NEAR(x, q.x, 1.0) << a;
            EXPECT_NEAR(y, q.y, 1.0) << a;
        }
    }
}

TEST_F(OstrelTranslate, RectangleBecomesTheBoxOfItsCorners)
{
    SetRotateAngle(90.0);
    RECT r = {0, 0, 20, 10};
    Translate(r);
    EXPECT_EQ(r.left, -10);
    EXPECT_EQ(r.right, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.bottom, 20);
}

TEST(OstrelPointBuffer, BuffersNestAndKeepTheirContents)
{
    ASSERT_EQ(GetFXPointBufferDepth(), 0);
    FreeFXPointBuffer(); // nothing held: no effect
    EXPECT_EQ(GetFXPointBufferDepth(), 0);

    POINT* outer = GetFXPointBuffer(3);
    ASSERT_NE(outer, nullptr);
    outer[2] = POINT{7, 8};
    POINT* inner = GetFXPointBuffer(1000);
    ASSERT_NE(inner, nullptr);
    EXPECT_NE(inner, outer);
    inner[999] = POINT{1, 1};
    EXPECT_EQ(GetFXPointBufferDepth(), 2);
    FreeFXPointBuffer();
    EXPECT_EQ(outer[2].x, 7);
    EXPECT_EQ(outer[2].y, 8);
    FreeFXPointBuffer();
    EXPECT_EQ(GetFXPointBufferDepth(), 0);

    POINT* tiny = GetFXPointBuffer(-4); // at least one point
    ASSERT_NE(tiny, nullptr);
    tiny[0] = POINT{0, 0};
    FreeFXPointBuffer();
}

} // namespace
