#include "GeomTestSupport.h"

#include "PointCurvePredicates.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(RingWithPoint, InsideOnAndOutside) {
    struct Case {
        tagPOINT centre;
        LONG r;
        tagPOINT pt;
        int in;
        unsigned char ex;
    } cases[] = {
        {P(0, 0), 5, P(3, 4), 1, 1},   {P(0, 0), 5, P(5, 0), 1, 1},  {P(0, 0), 5, P(1, 1), 1, 2},
        {P(0, 0), 5, P(4, 4), 0, 0},   {P(0, 0), 5, P(6, 0), 0, 0},  {P(10, 0), 5, P(10, -5), 1, 1},
        {P(10, 0), 5, P(10, 6), 0, 0}, {P(0, 0), 0, P(0, 0), 1, 1},
        {P(2147483000, 0), 2000, P(2147483647, 0), 1, 2},  // the ring's box reaches past 32 bits
    };
    for (Case& c : cases) {
        EXPECT_EQ(RingWithPoint(&c.centre, c.r, &c.pt), c.in) << c.pt.x << "," << c.pt.y;
        EXPECT_EQ(RingWithPointEx(&c.centre, c.r, &c.pt), c.ex) << c.pt.x << "," << c.pt.y;
        EXPECT_EQ(PointWithRing(&c.pt, &c.centre, c.r), c.in);
        EXPECT_EQ(PointWithRingEx(&c.pt, &c.centre, c.r), c.ex);
    }
}

TEST(PointWithCircleExt, RayCrossingCodes) {
    tagPOINT a = P(-5, 0), b = P(0, 5), c = P(5, 0);  // centre (0, 0), R = 5
    struct Case {
        tagPOINT pt;
        LONG expected;
    } cases[] = {
        {P(0, 5), -1}, {P(-3, 5), 2}, {P(3, 5), 0}, {P(-7, 0), 2}, {P(0, 0), 1},
        {P(5, 0), -1}, {P(6, 3), 0},  {P(-6, 3), 2}, {P(0, 9), 0}, {P(3, -4), -1},
    };
    for (Case& k : cases) EXPECT_EQ(PointWithCircleExt(&k.pt, &a, &b, &c), k.expected) << k.pt.x << "," << k.pt.y;
}

TEST(PointWithCircle, DistanceFromCentreAgainstD) {
    AfxClearMessageLog();
    tagPOINT a = P(-5, 0), b = P(0, 5), c = P(5, 0);
    tagPOINT on = P(3, 4), near = P(5, 1), off = P(1, 1);
    EXPECT_EQ(PointWithCircle(&on, 5.0, &a, &b, &c), 1);
    EXPECT_EQ(PointWithCircle(&near, 5.0, &a, &b, &c), 1);  // sqrt(26) - 5 = 0.099
    EXPECT_EQ(PointWithCircle(&off, 5.0, &a, &b, &c), 0);
    double dist = -7;
    EXPECT_EQ(PointWithCircleEx(&off, 5.0, dist, &a, &b, &c), 0);
    EXPECT_DOUBLE_EQ(dist, std::sqrt(2.0));  // written before the tolerance test

    tagPOINT l1 = P(0, 0), l2 = P(1, 1), l3 = P(2, 2);
    dist = -7;
    EXPECT_EQ(PointWithCircle(&on, 5.0, &l1, &l2, &l3), 0);
    EXPECT_EQ(PointWithCircleEx(&on, 5.0, dist, &l1, &l2, &l3), 0);
    EXPECT_EQ(dist, -7);
    EXPECT_EQ(PointWithCircleExt(&on, &l1, &l2, &l3), 0);
    EXPECT_TRUE(TakeMessages().empty());
}

TEST(PointWithArc, OnTheArcWithinItsRange) {
    AfxClearMessageLog();
    tagPOINT a = P(5, 0), b = P(0, 5), c = P(-5, 0);  // upper half about the origin
    tagPOINT upper = P(3, 4), lower = P(3, -4), inside = P(1, 1);
    EXPECT_EQ(PointWithArc(&upper, 5.0, &a, &b, &c), 1);
    EXPECT_EQ(PointWithArc(&upper, 5.0, &c, &b, &a), 1);  // the same arc the other way round
    EXPECT_EQ(PointWithArc(&lower, 5.0, &a, &b, &c), 0);  // outside the angular range
    EXPECT_EQ(PointWithArc(&upper, 4.0, &a, &b, &c), 0);
    EXPECT_EQ(PointWithArc(&inside, 5.0, &a, &b, &c), 0);

    double gap = -1;
    tagPOINT justOut = P(4, 4);  // distance 5.657 from the centre, radius 5
    EXPECT_EQ(PointWithArcEx(&justOut, 0.5, gap, &a, &b, &c), 1);
    EXPECT_NEAR(gap, 0.4315, 1e-4);
    EXPECT_EQ(PointWithArcEx(&justOut, 0.4, gap, &a, &b, &c), 0);
    gap = -1;
    EXPECT_EQ(PointWithArcEx(&lower, 9.0, gap, &a, &b, &c), 0);
    EXPECT_EQ(gap, -1);  // not written for a point outside the range
    EXPECT_TRUE(TakeMessages().empty());
}

TEST(PointWithArcExt, CrossingsOfTheUpperHalf) {
    tagPOINT a = P(5, 0), b = P(0, 5), c = P(-5, 0);
    struct Case {
        tagPOINT pt;
        LONG expected;
    } cases[] = {
        {P(-10, 3), 2}, {P(-10, -3), 0}, {P(0, 3), 1}, {P(6, 3), 0}, {P(0, 9), 0},
        {P(-10, 0), 3},  // through the first end (5, 0), counted 2, and the last end (-5, 0)
    };
    for (Case& k : cases) EXPECT_EQ(PointWithArcExt(&k.pt, &a, &b, &c), k.expected) << k.pt.x << "," << k.pt.y;
}

TEST(PointArcForms, NoArcShowsTheMessageEachTime) {
    AfxClearMessageLog();
    tagPOINT a = P(0, 0), b = P(1, 1), c = P(2, 2), pt = P(1, 1);
    double gap = 0;
    EXPECT_EQ(PointWithArc(&pt, 1.0, &a, &b, &c), 0);
    EXPECT_EQ(PointWithArcEx(&pt, 1.0, gap, &a, &b, &c), 0);
    EXPECT_EQ(PointWithArcExt(&pt, &a, &b, &c), 0);
    EXPECT_EQ(TakeMessages(), std::vector<std::string>(3, "指定的三点不能构成圆弧!"));
}
