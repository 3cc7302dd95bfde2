// The polyline towards the editor: hit tests, vertex insertion, length, snapping, thinning, joining
// and transformation into another coordinate system.
#include "LineTestSupport.h"

#include "core/GeoLayer.h"
#include "core/GeoSettings.h"
#include "vector/CompressPts.h"
#include "vector/GeoPLine.h"

#include <pellion/GeoCoordinateTransformer.h>

#include <gtest/gtest.h>

#include <ostrel/Measure.h>

#include <cmath>
#include <cstdlib>
#include <memory>

using namespace linetest;

// A line whose logical points own three slots each, the two between them derived from the points (the
// layout of a spline), with a run-time class of its own so that joins see two of them as one class.
class CPLineEditStride3 : public CGeoPLine {
    DECLARE_DYNAMIC(CPLineEditStride3)
public:
    int GetPointSize(int) const override { return 3; }
    void OnLineChanged() override {
        for (int i = 0; i + 1 < GetPoints(); ++i) {
            POINT a = m_pPoints[3 * i], b = m_pPoints[3 * i + 3];
            m_pPoints[3 * i + 1] = POINT{a.x + (b.x - a.x) / 3, a.y + (b.y - a.y) / 3};
            m_pPoints[3 * i + 2] = POINT{a.x + 2 * (b.x - a.x) / 3, a.y + 2 * (b.y - a.y) / 3};
        }
    }
};
IMPLEMENT_DYNAMIC(CPLineEditStride3, CGeoPLine)

namespace {

std::unique_ptr<CGeoPLine> Line(const Pts& pts) { return std::unique_ptr<CGeoPLine>(MakeLine(pts)); }

// A stride-3 line through the points, its block trimmed to exactly the slots in use.
std::unique_ptr<CPLineEditStride3> StrideLine(const Pts& pts) {
    auto line = std::make_unique<CPLineEditStride3>();
    for (const POINT& p : pts) line->AddPoint(p);
    line->Trim();
    return line;
}

// ---- hit tests ----

TEST(GeoPLineHitTest, PointOnLineFindsTheFirstSegmentNearThePoint) {
    struct Case {
        Pts line;
        POINT p;
        int tolerance;  // 0: the 2-unit square form
        int expected;
    };
    const Pts flat = {{0, 0}, {10, 0}};
    const Pts bend = {{0, 0}, {10, 0}, {10, 10}};
    const Case cases[] = {
        {flat, {5, 1}, 0, 0},    // just off a horizontal line, outside its flat bounds
        {flat, {5, -2}, 0, 0},   // the square's edge touches the line
        {flat, {5, 3}, 0, -1},   // beyond the 2-unit square
        {flat, {12, 0}, 0, 0},   // beyond the end, within the square
        {flat, {13, 0}, 0, -1},
        {flat, {5, 3}, 4, 0},    // the tolerance form reaches farther
        {flat, {5, 3}, 3, -1},   // a distance equal to the tolerance misses
        {flat, {5, -3}, 4, 0},
        {bend, {10, 5}, 0, 1},   // the second segment
        {bend, {10, 1}, 0, 0},   // both segments pass: the first wins
        {bend, {9, 5}, 2, 1},
        {bend, {4, 4}, 0, -1},   // inside the bounds, near no segment
        {{{5, 5}}, {5, 5}, 0, 0},  // one point: only the point itself
        {{{5, 5}}, {6, 5}, 0, -1},
        {{{5, 5}}, {6, 5}, 2, 0},
        {{{5, 5}}, {7, 5}, 2, -1},
        {{}, {0, 0}, 0, -1},
        {{}, {0, 0}, 5, -1},
    };
    for (const Case& c : cases) {
        auto line = Line(c.line);
        const int got = c.tolerance ? line->PointOnLine(c.p, c.tolerance) : line->PointOnLine(c.p);
        EXPECT_EQ(got, c.expected) << Show(c.line) << " p (" << c.p.x << "," << c.p.y << ") tol " << c.tolerance;
    }
}

TEST(GeoPLineHitTest, PointOnLineAnswersLogicalPointsOverDerivedSlots) {
    auto line = StrideLine({{0, 0}, {30, 0}, {30, 30}});
    EXPECT_EQ(line->PointOnLine(POINT{25, 1}), 0);  // on the derived slots between points 0 and 1
    EXPECT_EQ(line->PointOnLine(POINT{31, 25}), 1);
    EXPECT_EQ(line->PointOnLine(POINT{29, 12}, 3), 1);
}

TEST(GeoPLineHitTest, ThroughARectangle) {
    auto line = Line({{0, 0}, {100, 100}});
    EXPECT_EQ(line->Through(CRect(40, 0, 60, 100)), 1);   // crossed, no vertex inside
    EXPECT_EQ(line->Through(CRect(60, 0, 100, 40)), 0);
    EXPECT_EQ(line->Through(CRect(100, 100, 120, 120)), 1);  // the corner touches the end
    auto dot = Line({{10, 10}});
    EXPECT_EQ(dot->Through(CRect(0, 0, 20, 20)), 1);
    EXPECT_EQ(dot->Through(CRect(0, 0, 10, 20)), 0);  // right edge excluded for a single point
    EXPECT_EQ(dot->Through(CRect(10, 10, 20, 20)), 1);
    EXPECT_EQ(Line({})->Through(CRect(-10, -10, 10, 10)), 0);
}

// ---- vertex insertion ----

TEST(GeoPLineInsertPoint, InsertsTheFootOfTheClickOnTheFirstSegmentWithinReach) {
    ASSERT_EQ(GetHandleRadius(), 7);  // at scale 10 in millimetres: 7 units
    struct Case {
        POINT click;
        int result;
        Pts after;
    };
    const Case cases[] = {
        {{50, 2}, 1, {{0, 0}, {50, 0}, {100, 0}}},  // the foot, not the click
        {{50, -7}, 1, {{0, 0}, {50, 0}, {100, 0}}},
        {{50, 8}, 0, {{0, 0}, {100, 0}}},  // out of reach
        {{3, 1}, 0, {{0, 0}, {100, 0}}},   // on the handle of point 0
        {{-7, -7}, 0, {{0, 0}, {100, 0}}},  // the handle square's top-left corner counts
        {{120, 0}, 0, {{0, 0}, {100, 0}}},  // the foot lies beyond the segment
    };
    for (const Case& c : cases) {
        auto line = Line({{0, 0}, {100, 0}});
        EXPECT_EQ(line->InsertPoint(c.click, 10), c.result) << c.click.x << "," << c.click.y;
        EXPECT_TRUE(SamePoints(PointsOf(*line), c.after)) << c.click.x << "," << c.click.y;
    }

    // The first qualifying segment wins; the vertex goes after its first point.
    auto zigzag = Line({{0, 0}, {100, 0}, {100, 4}, {0, 4}});
    EXPECT_EQ(zigzag->InsertPoint(POINT{50, 2}, 10), 1);
    EXPECT_TRUE(SamePoints(PointsOf(*zigzag), {{0, 0}, {50, 0}, {100, 0}, {100, 4}, {0, 4}}));
    // A larger scale reaches farther: 7 device units are 14 mm at scale 20.
    auto wide = Line({{0, 0}, {100, 0}});
    EXPECT_EQ(wide->InsertPoint(POINT{50, 12}, 20), 1);
    // A sloped segment: the foot of (0, 10) on (0, 0)-(20, 20) is (5, 5).
    auto slope = Line({{-20, -20}, {20, 20}});
    EXPECT_EQ(slope->InsertPoint(POINT{0, 6}, 10), 1);
    EXPECT_TRUE(SamePoints(PointsOf(*slope), {{-20, -20}, {3, 3}, {20, 20}}));
}

TEST(GeoPLineInsertPoint, ReportsARefusedInsertion) {
    auto line = Line({{0, 0}, {100, 0}});
    CGeoLayer layer(0);
    layer.Fetch(line.get());
    EXPECT_EQ(line->InsertPoint(POINT{50, 2}, 10), 0);
    EXPECT_EQ(line->GetPoints(), 2);
    layer.Deviate(line.get());

    auto stride = StrideLine({{0, 0}, {90, 0}, {90, 90}});
    EXPECT_EQ(stride->InsertPoint(POINT{90, 45}, 10), 1);  // after logical point 1
    EXPECT_TRUE(SamePoints(PointsOf(*stride), {{0, 0}, {90, 0}, {90, 45}, {90, 90}}));
}

// ---- length, snapping, thinning ----

TEST(GeoPLineMeasure, LengthRunsOverEverySlot) {
    EXPECT_DOUBLE_EQ(Line({{0, 0}, {3, 4}, {3, 10}})->Length(), 11.0);
    EXPECT_DOUBLE_EQ(Line({{5, 5}})->Length(), 0.0);
    EXPECT_DOUBLE_EQ(Line({})->Length(), 0.0);
    // Derived slots that leave the chord make the line longer than its logical points say.
    auto stride = StrideLine({{0, 0}, {30, 0}});
    stride->GetPointBuffer()[1] = POINT{10, 10};
    EXPECT_NEAR(stride->Length(), std::sqrt(200.0) + std::sqrt(200.0) + 10.0, 1e-9);
}

TEST(GeoPLineSnap, EachKindSnapsThroughItsOwnRule) {
    auto line = Line({{0, 0}, {100, 0}, {100, 100}});
    struct Case {
        SNAPTYPE type;
        CPoint cursor;
        int result;
        CPoint snapped;
        int index;
    };
    const Case cases[] = {
        {SNAP_ENDPOINT, {97, 98}, 1, {100, 100}, -1},
        {SNAP_ENDPOINT, {98, 3}, 0, {98, 3}, -1},  // a vertex, but no end point
        {SNAP_VERTEX, {98, 3}, 1, {100, 0}, 1},
        {SNAP_MIDPOINT, {48, 2}, 1, {50, 0}, 0},
        {SNAP_MIDPOINT, {97, 52}, 1, {100, 50}, 1},
        {SNAP_PERPENDICULAR, {40, 4}, 1, {40, 0}, 0},
        {SNAP_NEAREST, {96, 70}, 1, {100, 70}, 1},
        {SNAP_CENTER, {50, 0}, 0, {50, 0}, -1},  // kinds a polyline does not answer
        {SNAP_QUADRANT, {100, 0}, 0, {100, 0}, -1},
        {SNAP_NONE, {100, 0}, 0, {100, 0}, -1},
    };
    for (const Case& c : cases) {
        CPoint p = c.cursor;
        int index = -1;
        CRect box(c.cursor.x - 5, c.cursor.y - 5, c.cursor.x + 5, c.cursor.y + 5);
        EXPECT_EQ(line->GetSnapPointA(p, box, index, c.type, 0), c.result) << c.type;
        EXPECT_EQ(p, c.snapped) << c.type;
        EXPECT_EQ(index, c.index) << c.type;
    }
}

TEST(GeoPLineCompress, ThinsInPlaceAndRecomputesTheBounds) {
    CCompressPts thinner;
    thinner.m_dDistance = 1.0;
    auto line = Line({{0, 0}, {5, 0}, {10, 0}, {10, 5}, {10, 10}});
    EXPECT_EQ(line->Compress(thinner), 1);
    EXPECT_TRUE(SamePoints(PointsOf(*line), {{0, 0}, {10, 0}, {10, 10}}));
    EXPECT_EQ(line->GetBounds(), CRect(0, 0, 10, 10));

    auto shortLine = Line({{0, 0}, {5, 0}});
    EXPECT_EQ(shortLine->Compress(thinner), 0);
    EXPECT_EQ(shortLine->GetPoints(), 2);
    // A thinner with no tolerance attempts nothing.
    auto untouched = Line({{0, 0}, {5, 0}, {10, 0}});
    CCompressPts idle;
    EXPECT_EQ(untouched->Compress(idle), 0);
    EXPECT_EQ(untouched->GetPoints(), 3);
}

// ---- joining ----

TEST(GeoPLineJoin, AddLineJoinsAtTheNearestEnds) {
    struct Case {
        const char* what;
        Pts self, other;
        Pts result, otherAfter;
    };
    const Case cases[] = {
        {"end-start: the shared end is not doubled", {{0, 0}, {10, 0}}, {{10, 0}, {20, 0}},
         {{0, 0}, {10, 0}, {20, 0}}, {{10, 0}, {20, 0}}},
        {"start-start: this line turns round", {{10, 0}, {20, 0}}, {{10, 0}, {0, 0}},
         {{20, 0}, {10, 0}, {0, 0}}, {{10, 0}, {0, 0}}},
        {"start-end: the other goes before", {{10, 0}, {20, 0}}, {{0, 5}, {9, 0}},
         {{0, 5}, {9, 0}, {10, 0}, {20, 0}}, {{0, 5}, {9, 0}}},
        {"end-end: a reversed copy goes after, the other stays", {{0, 0}, {10, 0}}, {{20, 0}, {10, 0}},
         {{0, 0}, {10, 0}, {20, 0}}, {{20, 0}, {10, 0}}},
        {"d1 and d2 both 0: d1 (start-end) wins", {{0, 0}, {10, 0}}, {{10, 0}, {5, 5}, {0, 0}},
         {{10, 0}, {5, 5}, {0, 0}, {10, 0}}, {{10, 0}, {5, 5}, {0, 0}}},
        {"d0 and d3 equal: d0 wins", {{0, 0}, {10, 0}}, {{-5, 0}, {15, 0}},
         {{10, 0}, {0, 0}, {-5, 0}, {15, 0}}, {{-5, 0}, {15, 0}}},
    };
    for (const Case& c : cases) {
        auto self = Line(c.self), other = Line(c.other);
        EXPECT_EQ(self->AddLine(*other), 1) << c.what;
        EXPECT_TRUE(SamePoints(PointsOf(*self), c.result)) << c.what;
        EXPECT_TRUE(SamePoints(PointsOf(*other), c.otherAfter)) << c.what;
        EXPECT_EQ(self->GetBounds(), CRect(::RecalcBounds(c.result.data(), static_cast<int>(c.result.size()))))
            << c.what;
    }
}

TEST(GeoPLineJoin, OrientTurnsTheOtherLineToMeetThisOne) {
    auto self = Line({{0, 0}, {10, 0}});
    auto away = Line({{30, 0}, {12, 0}});
    EXPECT_EQ(self->AddTail(*away, TRUE), 1);
    EXPECT_TRUE(SamePoints(PointsOf(*self), {{0, 0}, {10, 0}, {12, 0}, {30, 0}}));
    EXPECT_TRUE(SamePoints(PointsOf(*away), {{12, 0}, {30, 0}}));  // reversed in place

    auto plain = Line({{0, 0}, {10, 0}});
    auto asIs = Line({{30, 0}, {12, 0}});
    EXPECT_EQ(plain->AddTail(*asIs, FALSE), 1);
    EXPECT_TRUE(SamePoints(PointsOf(*plain), {{0, 0}, {10, 0}, {30, 0}, {12, 0}}));

    auto head = Line({{0, 0}, {10, 0}});
    auto before = Line({{-2, 0}, {-30, 0}});  // its start lies nearer this line's start
    EXPECT_EQ(head->AddHead(*before, TRUE), 1);
    EXPECT_TRUE(SamePoints(PointsOf(*head), {{-30, 0}, {-2, 0}, {0, 0}, {10, 0}}));
    auto shared = Line({{-10, 0}, {0, 0}});
    EXPECT_EQ(head->AddHead(*shared, FALSE), 1);  // (-30, 0) is not this line's first point: nothing shared
    EXPECT_TRUE(SamePoints(PointsOf(*head), {{-10, 0}, {0, 0}, {-30, 0}, {-2, 0}, {0, 0}, {10, 0}}));
    auto meets = Line({{-50, 0}, {-10, 0}});
    EXPECT_EQ(head->AddHead(*meets, FALSE), 1);  // the other's last point is this line's first: dropped
    EXPECT_EQ(head->GetPoints(), 7);
    EXPECT_EQ(head->GetPoint(0), CPoint(-50, 0));
}

TEST(GeoPLineJoin, Refusals) {
    auto self = Line({{0, 0}, {10, 0}});
    auto stride = StrideLine({{10, 0}, {20, 0}});
    EXPECT_EQ(self->AddTail(*stride, FALSE), 0);  // another class
    EXPECT_EQ(self->AddHead(*stride, FALSE), 0);
    EXPECT_EQ(self->AddLine(*stride), 0);
    EXPECT_EQ(self->GetPoints(), 2);

    auto empty = Line({});
    EXPECT_EQ(self->AddTail(*empty, TRUE), 1);  // nothing to add
    EXPECT_EQ(self->AddHead(*empty, TRUE), 1);
    EXPECT_EQ(self->AddLine(*empty), 0);         // no ends to meet
    EXPECT_EQ(empty->AddLine(*self), 0);
    EXPECT_EQ(self->GetPoints(), 2);

    // An empty line takes the other's points whole.
    EXPECT_EQ(empty->AddTail(*self, FALSE), 1);
    EXPECT_TRUE(SamePoints(PointsOf(*empty), {{0, 0}, {10, 0}}));

    CGeoLayer layer(0);
    auto other = Line({{10, 0}, {20, 0}});
    layer.Fetch(self.get());
    EXPECT_EQ(self->AddTail(*other, FALSE), 0);
    EXPECT_EQ(self->AddLine(*other), 0);
    layer.Deviate(self.get());
    EXPECT_EQ(self->GetPoints(), 2);
}

void* FailingRealloc(void*, std::size_t) { return nullptr; }

TEST(GeoPLineJoin, ABlockThatCannotGrowLeavesThisLineAsItWas) {
    auto self = Line({{0, 0}, {10, 0}});
    self->Trim();
    auto other = Line({{20, 0}, {30, 0}});
    LineMemAllocator previous = SetLineMemAllocator(FailingRealloc);
    EXPECT_EQ(self->AddTail(*other, FALSE), 0);
    EXPECT_EQ(self->AddHead(*other, FALSE), 0);
    SetLineMemAllocator(previous);
    EXPECT_TRUE(SamePoints(PointsOf(*self), {{0, 0}, {10, 0}}));
    EXPECT_EQ(self->GetBounds(), CRect(0, 0, 10, 0));
}

// Two lines of stride 3 with blocks of exactly their slots: the join writes (points - 1) * 3 + 1 slots,
// two more than the two slot counts together when no end is shared. Run under the address sanitizer.
TEST(GeoPLineJoin, JoinsAtAStrideAboveOneStayInsideTheBlock) {
    struct Case {
        bool tail;
        Pts self, other, result;
    };
    const Case cases[] = {
        {true, {{0, 0}, {30, 0}}, {{60, 0}, {90, 0}}, {{0, 0}, {30, 0}, {60, 0}, {90, 0}}},
        {true, {{0, 0}, {30, 0}}, {{30, 0}, {90, 0}}, {{0, 0}, {30, 0}, {90, 0}}},
        {false, {{0, 0}, {30, 0}}, {{-90, 0}, {-30, 0}}, {{-90, 0}, {-30, 0}, {0, 0}, {30, 0}}},
        {false, {{0, 0}, {30, 0}}, {{-90, 0}, {0, 0}}, {{-90, 0}, {0, 0}, {30, 0}}},
        {true, {{0, 0}}, {{30, 0}}, {{0, 0}, {30, 0}}},
        {false, {{0, 0}}, {{30, 0}, {60, 0}, {90, 0}}, {{30, 0}, {60, 0}, {90, 0}, {0, 0}}},
    };
    for (const Case& c : cases) {
        auto self = StrideLine(c.self), other = StrideLine(c.other);
        ASSERT_EQ(self->GetPointBufferSize(), 8 * self->CGeoLine::GetPoints());
        EXPECT_EQ(c.tail ? self->AddTail(*other, FALSE) : self->AddHead(*other, FALSE), 1);
        EXPECT_TRUE(SamePoints(PointsOf(*self), c.result));
        const int slots = (static_cast<int>(c.result.size()) - 1) * 3 + 1;
        EXPECT_EQ(self->CGeoLine::GetPoints(), slots);
        EXPECT_GE(self->GetPointBufferSize(), 8 * slots);
        // Every slot holds a point of the line: the derived ones were rebuilt between the new points.
        const POINT* s = self->GetPointBuffer();
        for (int i = 0; i + 1 < self->GetPoints(); ++i) {
            POINT a = s[3 * i], b = s[3 * i + 3];
            EXPECT_EQ(s[3 * i + 1].x, a.x + (b.x - a.x) / 3);
        }
    }
    // Joining a line to itself reads the points it had before.
    auto loop = StrideLine({{0, 0}, {30, 0}, {30, 30}});
    EXPECT_EQ(loop->AddTail(*loop, FALSE), 1);
    EXPECT_TRUE(SamePoints(PointsOf(*loop), {{0, 0}, {30, 0}, {30, 30}, {0, 0}, {30, 0}, {30, 30}}));
}

// ---- transformation ----

// (x, y) -> (2 x + 1, y - 3) metres.
class CPLineEditAffine : public CGeoCoordinateTransformer {
public:
    int Transform(double x, double y, double& xOut, double& yOut) const override {
        xOut = 2 * x + 1;
        yOut = y - 3;
        return 1;
    }
};

class CPLineEditShift : public CBaseCoordinateTransformer {
public:
    int Transform(double x, double y, double& xOut, double& yOut) const override {
        xOut = x + 1000;
        yOut = y + 2000;
        return 1;
    }
};

TEST(GeoPLineTransform, EverySlotGoesThroughMetres) {
    auto line = Line({{1500, -2500}, {0, 0}, {-1, 1}});  // millimetres
    CPLineEditAffine affine;
    line->Transform(affine, 0.5, 0.0);
    // x: (1.5 + 0.5) * 2 + 1 = 5 m; (0 + 0.5) * 2 + 1 = 2 m; (-0.001 + 0.5) * 2 + 1 = 1.998 m.
    // y: -2.5 - 3 = -5.5 m; -3 m; 0.001 - 3 = -2.999 m, truncated toward zero.
    EXPECT_TRUE(SamePoints(PointsOf(*line), {{5000, -5500}, {2000, -3000}, {1998, -2999}}));
    EXPECT_EQ(line->GetBounds(), CRect(1998, -5500, 5000, -2999));

    auto metres = Line({{1, 2}});
    metres->SetUnit(6);
    CPLineEditShift shift;
    shift.SetSecondOffsetX(1000.0);
    shift.SetSecondOffsetY(1990.5);
    metres->Transform(shift, 0.0, 0.0);
    EXPECT_EQ(metres->GetPoint(0), CPoint(1, 11));  // 2 + 2000 - 1990.5 = 11.5 -> 11
}

}  // namespace
