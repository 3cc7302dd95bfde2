#include "GeomTestSupport.h"

#include "PlanarMeasures.h"

#include <gtest/gtest.h>

TEST(AngleEx, AxisDirectionsUseTheLibraryConstantsExactly) {
    struct Case {
        tagPOINT p;
        double expected;
    } cases[] = {
        {P(0, 5), 1.57079632679485}, {P(-3, 0), 3.1415926535897}, {P(0, -2), 4.712388980384549},
        {P(0, 0), 0.0},              {P(7, 0), 0.0},
    };
    tagPOINT origin = P(0, 0);
    for (Case& c : cases) EXPECT_EQ(AngleEx(&c.p, &origin), c.expected) << c.p.x << "," << c.p.y;
}

TEST(AngleEx, QuadrantsRunAnticlockwiseWithYUp) {
    tagPOINT origin = P(10, 10);
    struct Case {
        tagPOINT p;
        double expected;
    } cases[] = {
        {P(11, 11), 0.7853981633974483},
        {P(9, 11), 3.1415926535897 - 0.7853981633974483},
        {P(9, 9), 3.1415926535897 + 0.7853981633974483},
        {P(11, 9), 6.2831853071794 - 0.7853981633974483},
    };
    for (Case& c : cases) EXPECT_NEAR(AngleEx(&c.p, &origin), c.expected, 1e-12);
}

TEST(IsArcClockwise, SenseWithYUp) {
    struct Case {
        tagPOINT a, b, c;
        int expected;
    } cases[] = {
        {P(0, 0), P(5, 5), P(10, 0), 1},
        {P(10, 0), P(5, 5), P(0, 0), 0},
        {P(0, 0), P(1, 1), P(2, 2), 0},    // collinear
        {P(0, 0), P(0, 5), P(5, 5), 1},    // up, then right
        {P(0, 0), P(0, 5), P(-5, 5), 0},   // up, then left
        {P(0, 0), P(5, 0), P(5, -5), 1},   // right, then down
        {P(0, 0), P(5, 5), P(0, 10), 0},   // c straight above a, b to its right: a left turn
        {P(0, 0), P(-5, 5), P(0, 10), 1},  // c straight above a, b to its left: a right turn
        {P(0, 0), P(-5, -5), P(0, -10), 0},
        {P(0, 0), P(5, -5), P(0, -10), 1},
    };
    for (Case& c : cases) EXPECT_EQ(IsArcClockwise(&c.a, &c.b, &c.c), c.expected);
}

TEST(CircleCentre, CentreAndRadiusTruncatedTowardZero) {
    tagPOINT a = P(0, 0), b = P(10, 10), c = P(20, 0), centre = P(99, 99);
    LONG r = 0;
    ASSERT_EQ(CircleCentre(&a, &b, &c, &centre, r), 1);
    EXPECT_EQ(centre.x, 10);
    EXPECT_EQ(centre.y, 0);
    EXPECT_EQ(r, 10);

    // Centre (-2.5, 2.5): both coordinates truncate toward zero; radius sqrt(12.5) = 3.53.
    tagPOINT d = P(0, 0), e = P(-5, 0), f = P(0, 5);
    ASSERT_EQ(CircleCentre(&d, &e, &f, &centre, r), 1);
    EXPECT_EQ(centre.x, -2);
    EXPECT_EQ(centre.y, 2);
    EXPECT_EQ(r, 3);
}

TEST(CircleCentre, VerticalFirstChordStillFindsTheCircle) {
    // a-b vertical, b-c not: the centre of (0,0), (0,10), (10,10) is (5, 5).
    tagPOINT a = P(0, 0), b = P(0, 10), c = P(10, 10), centre = P(0, 0);
    LONG r = 0;
    ASSERT_EQ(CircleCentre(&a, &b, &c, &centre, r), 1);
    EXPECT_EQ(centre.x, 5);
    EXPECT_EQ(centre.y, 5);
    EXPECT_EQ(r, 7);
}

TEST(CircleCentre, NoCircleLeavesOutputsUntouched) {
    struct Case {
        tagPOINT a, b, c;
    } cases[] = {
        {P(0, 0), P(1, 1), P(2, 2)},                 // collinear
        {P(3, 3), P(3, 3), P(7, 1)},                 // two equal points
        {P(3, 3), P(7, 1), P(3, 3)},                 // first and last equal
        {P(0, 0), P(0, 5), P(0, 9)},                 // both chords vertical
        {P(-2000000000, 0), P(0, 1), P(2000000000, 0)},  // centre far beyond 32 bits
    };
    for (Case& c : cases) {
        tagPOINT centre = P(42, 43);
        LONG r = 44;
        EXPECT_EQ(CircleCentre(&c.a, &c.b, &c.c, &centre, r), 0);
        EXPECT_EQ(centre.x, 42);
        EXPECT_EQ(centre.y, 43);
        EXPECT_EQ(r, 44);
    }
}

TEST(Slope, VerticalHasNone) {
    tagPOINT p = P(4, 9), q = P(2, 5), v = P(4, 1);
    double k = 7.0;
    EXPECT_EQ(Slope(&p, &q, k), 1);
    EXPECT_EQ(k, 2.0);
    k = 7.0;
    EXPECT_EQ(Slope(&p, &v, k), 0);
    EXPECT_EQ(k, 7.0);
}

TEST(PointDistances, SquaredDistancesToLineSegmentAndPolyline) {
    tagPOINT a = P(0, 0), b = P(10, 0);
    struct Case {
        tagPOINT pt;
        double line, seg;
    } cases[] = {
        {P(-5, 0), 0, 25},   // beyond a
        {P(5, 3), 9, 9},     // above the middle
        {P(13, 4), 16, 25},  // beyond b
        {P(0, -2), 4, 4},    // level with a
    };
    for (Case& c : cases) {
        EXPECT_DOUBLE_EQ(DPointToLine(&c.pt, &a, &b), c.line);
        EXPECT_DOUBLE_EQ(DPointToLineSeg(&c.pt, &a, &b), c.seg);
    }
    tagPOINT pt = P(3, 4), same = P(0, 0);
    EXPECT_DOUBLE_EQ(DPointToLine(&pt, &same, &same), 25);
    EXPECT_DOUBLE_EQ(DPointToLineSeg(&pt, &same, &same), 25);
    EXPECT_DOUBLE_EQ(DPointToPoint(&pt, &same), 25);

    tagPOINT line[3] = {P(0, 0), P(10, 0), P(10, 10)};
    tagPOINT q = P(12, 6);
    EXPECT_DOUBLE_EQ(DPointToFoldLine(&q, 2, line), 4);   // second segment is nearer
    EXPECT_DOUBLE_EQ(DPointToFoldLine(&q, 1, line), 40);  // only the first: its end (10,0)
    EXPECT_DOUBLE_EQ(DPointToFoldLine(&q, 0, line), 0.0);
    EXPECT_DOUBLE_EQ(DPointToFoldLine(&q, -3, nullptr), 0.0);
}

TEST(IsPointInSectorEx, RangeFollowsTheSense) {
    tagPOINT centre = P(0, 0), a = P(0, -5), b = P(0, 5);  // a at 3pi/2, b at pi/2
    tagPOINT east = P(7, 0), west = P(-7, 0), atA = P(0, -9), atB = P(0, 1);
    EXPECT_EQ(IsPointInSectorEx(&east, &a, &b, &centre, 0), 1);
    EXPECT_EQ(IsPointInSectorEx(&west, &a, &b, &centre, 0), 0);
    EXPECT_EQ(IsPointInSectorEx(&east, &a, &b, &centre, 1), 0);
    EXPECT_EQ(IsPointInSectorEx(&west, &a, &b, &centre, 1), 1);
    for (int cw = 0; cw < 2; ++cw) {
        EXPECT_EQ(IsPointInSectorEx(&atA, &a, &b, &centre, cw), 1);
        EXPECT_EQ(IsPointInSectorEx(&atB, &a, &b, &centre, cw), 1);
    }
}

TEST(IsPointInSector, AlsoBoundedByTheRadiusOfA) {
    tagPOINT centre = P(0, 0), a = P(5, 0), b = P(0, 5);
    tagPOINT inside = P(3, 3), onArc = P(3, 4), beyond = P(4, 4), wrongSide = P(-1, -1);
    EXPECT_EQ(IsPointInSector(&inside, &a, &b, &centre, 0), 1);
    EXPECT_EQ(IsPointInSector(&onArc, &a, &b, &centre, 0), 1);  // as far as a counts
    EXPECT_EQ(IsPointInSector(&beyond, &a, &b, &centre, 0), 0);
    EXPECT_EQ(IsPointInSector(&wrongSide, &a, &b, &centre, 0), 0);
}

TEST(DPointToArc, PieSliceOrNearerEnd) {
    AfxClearMessageLog();
    // The upper half of the circle of radius 5 about the origin, given either way round.
    tagPOINT a = P(5, 0), b = P(0, 5), c = P(-5, 0);
    tagPOINT inSlice = P(1, 2), below = P(4, -3), far = P(0, 20);
    for (int reversed = 0; reversed < 2; ++reversed) {
        tagPOINT* first = reversed ? &c : &a;
        tagPOINT* last = reversed ? &a : &c;
        EXPECT_DOUBLE_EQ(DPointToArc(&inSlice, first, &b, last), 5);  // |pt - centre|^2
        EXPECT_DOUBLE_EQ(DPointToArc(&below, first, &b, last), 10);   // to (5, 0)
        EXPECT_DOUBLE_EQ(DPointToArc(&far, first, &b, last), 425);    // outside the slice: to an end
    }
    EXPECT_TRUE(TakeMessages().empty());
}

TEST(NoCircle, ArcDistanceAndEnvelopeSayTheirOwnMessageCircleDistanceIsSilent) {
    AfxClearMessageLog();
    tagPOINT a = P(0, 0), b = P(1, 1), c = P(2, 2), pt = P(5, 5);
    EXPECT_EQ(DPointToCircle(&pt, &a, &b, &c), -1.0);
    EXPECT_TRUE(TakeMessages().empty());
    EXPECT_EQ(DPointToArc(&pt, &a, &b, &c), -1.0);
    EXPECT_EQ(TakeMessages(), std::vector<std::string>{"The three points can not build a circle!"});
    tagEnvelope env{1, 2, 3, 4};
    EXPECT_EQ(ArcEnvelope(&env, &a, &b, &c), 0);
    EXPECT_EQ(TakeMessages(), std::vector<std::string>{"指定的三点不能构成圆!"});
    EXPECT_EQ(env.xmin, 1);
    EXPECT_EQ(env.ymax, 4);
}

TEST(DPointToCircle, SquaredDistanceToTheCentre) {
    tagPOINT a = P(-5, 0), b = P(0, 5), c = P(5, 0), pt = P(3, 4);
    EXPECT_DOUBLE_EQ(DPointToCircle(&pt, &a, &b, &c), 25);
}

TEST(ArcEnvelope, WidensForEveryAxisDirectionPassed) {
    struct Case {
        tagPOINT a, b, c;
        tagEnvelope expected;
    } cases[] = {
        {P(10, 0), P(0, 10), P(-10, 0), {-10, 0, 10, 10}},     // upper half, anticlockwise
        {P(-10, 0), P(0, 10), P(10, 0), {-10, 0, 10, 10}},     // the same arc clockwise
        {P(0, -10), P(10, 0), P(0, 10), {0, -10, 10, 10}},     // right half through direction 0
        {P(-24, -7), P(-20, -15), P(-7, -24), {-24, -24, -7, -7}},  // within the third quadrant
        {P(-7, -24), P(20, 15), P(-24, -7), {-25, -25, 25, 25}},    // the long way round: all four
        {P(10, 0), P(0, -10), P(-10, 0), {-10, -10, 10, 0}},   // lower half
    };
    for (Case& c : cases) {
        tagEnvelope env{0, 0, 0, 0};
        ASSERT_EQ(ArcEnvelope(&env, &c.a, &c.b, &c.c), 1);
        EXPECT_EQ(env.xmin, c.expected.xmin);
        EXPECT_EQ(env.ymin, c.expected.ymin);
        EXPECT_EQ(env.xmax, c.expected.xmax);
        EXPECT_EQ(env.ymax, c.expected.ymax);
    }
}
