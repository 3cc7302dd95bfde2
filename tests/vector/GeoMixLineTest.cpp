// The mixed line: runs of straight, spline and arc stretches over one slot block; digitising, changing
// run kinds, inserting and deleting around arcs, measures, painting, conversions and the record.
#include "LineTestSupport.h"

#include "core/ObjectBytes.h"

#include "vector/GeoLineType.h"
#include "vector/GeoMixLine.h"
#include "vector/GeoSPLine.h"

#include <ostrel/PointBuffer.h>
#include <win32/gdirecord.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace linetest;

namespace {

using Runs = std::vector<DWORD>;
const double kPi = 3.14159265358979323846;

DWORD R(int type, int start) { return static_cast<DWORD>(type) << 24 | static_cast<DWORD>(start); }

std::string ShowRuns(const Runs& runs) {
    std::string s;
    for (DWORD r : runs) s += "(" + std::to_string(r >> 24) + "," + std::to_string(r & 0xFFFFFF) + ")";
    return s;
}

// Digitises the points, choosing before each segment j the kind kinds[j] at its first point.
std::unique_ptr<CGeoMixedLine> Digitise(const Pts& pts, const std::vector<int>& kinds) {
    std::unique_ptr<CGeoMixedLine> line(new CGeoMixedLine);
    for (size_t i = 0; i < pts.size(); ++i) {
        if (i > 0 && i - 1 < kinds.size()) line->SetLineType(static_cast<int>(i) - 1, kinds[i - 1]);
        line->AddPoint(pts[i]);
    }
    return line;
}

Pts Row(int n) {
    Pts pts;
    for (int i = 0; i < n; ++i) pts.push_back({i * 10, (i % 2) * 10});
    return pts;
}

// The slot count the runs give n points, each point owning its run's stride and the last one slot.
int SlotsFor(const Runs& runs, int n) {
    int slots = 1;
    for (int i = 0; i + 1 < n; ++i) {
        int type = 0;
        for (DWORD r : runs)
            if (static_cast<int>(r & 0xFFFFFF) <= i) type = static_cast<int>(r >> 24);
        slots += type == 1 ? 8 : 1;
    }
    return slots;
}

::testing::AssertionResult Consistent(const CGeoMixedLine& line, const Pts& points) {
    if (!SamePoints(PointsOf(line), points)) return SamePoints(PointsOf(line), points);
    const int want = SlotsFor(line.GetRuns(), static_cast<int>(points.size()));
    if (line.CGeoLine::GetPoints() != want)
        return ::testing::AssertionFailure() << "slots " << line.CGeoLine::GetPoints() << " expected " << want
                                             << " for runs " << ShowRuns(line.GetRuns());
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST(GeoMixedLine, DigitisingStraightThenSplineLaysOutNineteenSlots) {
    const Pts pts = {{0, 0}, {10, 0}, {20, 0}, {30, 10}, {40, 0}};
    auto line = Digitise(pts, {0, 0, 1, 1});
    EXPECT_EQ(line->GetRuns(), Runs({R(0, 0), R(1, 2)}));
    EXPECT_EQ(line->CGeoLine::GetPoints(), 19);
    EXPECT_EQ(line->GetPoints(), 5);
    EXPECT_TRUE(SamePoints(PointsOf(*line), pts));
    const int sizes[] = {1, 1, 8, 8, 8};
    const int index[] = {0, 1, 2, 10, 18};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(line->GetPointSize(i), sizes[i]) << i;
        EXPECT_EQ(line->GetPointIndex(i), index[i]) << i;
    }
    EXPECT_EQ(line->GetPointSize(5), 0);
    // The terrain readers see logical points, not interpolated slots.
    EXPECT_EQ(line->GetX(3), 30);
    EXPECT_EQ(line->GetY(3), 10);
    EXPECT_EQ(line->GetPoint(5), CPoint(0, 0));
    EXPECT_EQ(line->GetLineType(1), 0);
    EXPECT_EQ(line->GetLineType(2), 1);  // a boundary point belongs to the run it starts
    // The spline stretch is interpolated: its slots bend up towards (30, 10).
    const POINT* slots = line->GetPointBuffer();
    EXPECT_GT(slots[6].y, 0);
    EXPECT_GT(slots[6].x, 20);
    EXPECT_LT(slots[6].x, 30);
    EXPECT_EQ(line->GetObjectTypeName(), CString("混合曲线"));
}

TEST(GeoMixedLine, AnArcRunIsFollowedByAStraightRunOnceComplete) {
    // (0,0) -> arc through (10,10) to (20,0) -> straight to (30,0).
    auto line = Digitise({{0, 0}, {10, 10}, {20, 0}, {30, 0}}, {2, 2});
    EXPECT_EQ(line->GetRuns(), Runs({R(2, 0), R(0, 2)}));
    EXPECT_EQ(line->CGeoLine::GetPoints(), 4);
    EXPECT_NEAR(line->Length(), 10 * kPi + 10, 1e-9);
    // The bounds are those of the half circle above the chord.
    EXPECT_EQ(line->GetBounds(), CRect(0, 0, 30, 10));

    // A complete arc followed by another arc starts a new arc run at its end.
    auto two = Digitise({{0, 0}, {10, 10}, {20, 0}, {30, -10}, {40, 0}}, {2, 2, 2, 2});
    EXPECT_EQ(two->GetRuns(), Runs({R(2, 0), R(2, 2), R(0, 4)}));
    EXPECT_NEAR(two->Length(), 20 * kPi, 1e-9);

    // A nearly straight arc run (radius 1.25e9, beyond the 32-bit range) measures as the arc it is.
    auto bend = Digitise({{-50000, 0}, {0, 1}, {50000, 0}}, {2, 2});
    const double radius = (50000.0 * 50000.0 + 1.0) / 2.0;
    EXPECT_NEAR(bend->Length(), radius * 2.0 * std::asin(50000.0 / radius), 1e-6);
    EXPECT_EQ(bend->GetBounds(), CRect(-50000, 0, 50000, 1));
}

TEST(GeoMixedLine, ChangingTheKindOfAnUnfinishedArcGivesItsSegmentTheNewKind) {
    struct Case {
        const char* name;
        std::vector<int> kinds;  // before each segment
        int then;                // kind chosen at the last point (the arc's second)
        Runs want;
        int slots;
    };
    const Case cases[] = {
        {"arc only -> spline", {2}, 1, {R(1, 0)}, 9},
        {"arc only -> straight", {2}, 0, {R(0, 0)}, 2},
        {"after straight -> straight extends it", {0, 2}, 0, {R(0, 0)}, 3},
        {"after straight -> spline", {0, 2}, 1, {R(0, 0), R(1, 1)}, 10},
        {"after spline -> spline extends it", {1, 2}, 1, {R(1, 0)}, 17},
    };
    for (const Case& c : cases) {
        const Pts pts = Row(static_cast<int>(c.kinds.size()) + 1);
        auto line = Digitise(pts, c.kinds);
        line->SetLineType(line->GetPoints() - 1, c.then);
        EXPECT_EQ(line->GetRuns(), c.want) << c.name << ": " << ShowRuns(line->GetRuns());
        EXPECT_EQ(line->CGeoLine::GetPoints(), c.slots) << c.name;
        EXPECT_TRUE(SamePoints(PointsOf(*line), pts)) << c.name;
    }
    // Choosing a kind at the last point twice keeps one run there.
    auto line = Digitise(Row(3), {0, 0});
    line->SetLineType(2, 1);
    line->SetLineType(2, 2);
    line->SetLineType(2, 0);
    EXPECT_EQ(line->GetRuns(), Runs({R(0, 0)}));
    line->SetLineType(2, 1);
    line->AddPoint(30, 0);
    EXPECT_EQ(line->GetRuns(), Runs({R(0, 0), R(1, 2)}));
    EXPECT_TRUE(Consistent(*line, {{0, 0}, {10, 10}, {20, 0}, {30, 0}}));
}

TEST(GeoMixedLine, InnerKindChangesMergeWithNeighboursOfThatKind) {
    // 11 points: straight 0-2, spline 2-4, straight 4-6, spline 6-8, straight 8-10.
    const Pts pts = Row(11);
    const std::vector<int> base = {0, 0, 1, 1, 0, 0, 1, 1, 0, 0};
    struct Case {
        const char* name;
        std::vector<std::pair<int, int>> steps;  // (point, kind)
        Runs want;
    };
    const Case cases[] = {
        {"first run, next of the kind: absorbs it", {{1, 1}}, {R(1, 0), R(0, 4), R(1, 6), R(0, 8)}},
        {"first run, next of another kind", {{1, 2}}, {R(2, 0), R(1, 2), R(0, 4), R(1, 6), R(0, 8)}},
        {"last run, previous of the kind: joins it", {{9, 1}}, {R(0, 0), R(1, 2), R(0, 4), R(1, 6)}},
        {"last run, previous of another kind", {{9, 2}}, {R(0, 0), R(1, 2), R(0, 4), R(1, 6), R(2, 8)}},
        {"middle, both neighbours of the kind", {{3, 0}}, {R(0, 0), R(1, 6), R(0, 8)}},
        {"middle, neither neighbour", {{5, 2}}, {R(0, 0), R(1, 2), R(2, 4), R(1, 6), R(0, 8)}},
        {"middle, only the next of the kind", {{5, 2}, {3, 2}}, {R(0, 0), R(2, 2), R(1, 6), R(0, 8)}},
        {"middle, only the previous of the kind", {{5, 2}, {7, 2}}, {R(0, 0), R(1, 2), R(2, 4), R(0, 8)}},
        {"a spline run made straight drops its interpolated slots", {{2, 0}},
         {R(0, 0), R(1, 6), R(0, 8)}},
        {"same kind: nothing", {{3, 1}}, {R(0, 0), R(1, 2), R(0, 4), R(1, 6), R(0, 8)}},
    };
    for (const Case& c : cases) {
        auto line = Digitise(pts, base);
        ASSERT_EQ(line->GetRuns(), Runs({R(0, 0), R(1, 2), R(0, 4), R(1, 6), R(0, 8)}));
        for (auto step : c.steps) line->SetLineType(step.first, step.second);
        EXPECT_EQ(line->GetRuns(), c.want) << c.name << ": " << ShowRuns(line->GetRuns());
        EXPECT_TRUE(Consistent(*line, pts)) << c.name;
    }
    // A line of one run takes any kind but a spline from an inner point.
    auto single = Digitise(Row(4), {0, 0, 0});
    single->SetLineType(1, 1);
    EXPECT_EQ(single->GetRuns(), Runs({R(0, 0)}));
    single->SetLineType(1, 2);
    EXPECT_EQ(single->GetRuns(), Runs({R(2, 0)}));
    EXPECT_TRUE(Consistent(*single, Row(4)));
    // Out of range: nothing.
    single->SetLineType(4, 0);
    single->SetLineType(1, 3);
    EXPECT_EQ(single->GetRuns(), Runs({R(2, 0)}));
}

TEST(GeoMixedLine, InsertingAroundAnArcKeepsItThreePoints) {
    // p0 -straight- p1 -arc- p2 - p3 -straight- p4
    const POINT p0{0, 0}, p1{10, 0}, p2{20, 10}, p3{30, 0}, p4{40, 0}, q{15, 8};
    const Pts pts = {p0, p1, p2, p3, p4};
    const Runs runs = {R(0, 0), R(2, 1), R(0, 3)};
    struct Case {
        const char* name;
        bool after;
        int i;
        Pts want;
        Runs wantRuns;
    };
    const Case cases[] = {
        {"before the middle", false, 2, {p0, p1, q, p2, p3, p4}, runs},
        {"after the middle", true, 2, {p0, p1, p2, q, p3, p4}, runs},
        {"after the first", true, 1, {p0, p1, q, p2, p3, p4}, runs},
        {"before the first", false, 1, {p0, q, p1, p2, p3, p4}, {R(0, 0), R(2, 1), R(0, 3)}},
        {"into a straight run", true, 3, {p0, p1, p2, p3, q, p4}, runs},
        {"after the last", true, 4, {p0, p1, p2, p3, p4, q}, runs},
        {"before the first point", false, 0, {q, p0, p1, p2, p3, p4}, {R(0, 0), R(2, 2), R(0, 4)}},
    };
    for (const Case& c : cases) {
        auto line = Digitise(pts, {0, 2, 2, 0});
        ASSERT_EQ(line->GetRuns(), runs);
        if (c.after)
            EXPECT_EQ(line->InsertPointAfter(q, c.i), 1) << c.name;
        else
            line->InsertPointBefore(q, c.i);
        EXPECT_EQ(line->GetRuns(), c.wantRuns) << c.name << ": " << ShowRuns(line->GetRuns());
        EXPECT_TRUE(Consistent(*line, c.want)) << c.name;
    }
    // Before an arc's middle point when an arc follows: its old last segment becomes a straight run.
    auto arcs = Digitise({{0, 0}, {10, 10}, {20, 0}, {30, -10}, {40, 0}}, {2, 2, 2, 2});
    arcs->InsertPointBefore(q, 1);
    EXPECT_EQ(arcs->GetRuns(), Runs({R(2, 0), R(0, 2), R(2, 3), R(0, 5)}));
    EXPECT_TRUE(Consistent(*arcs, {{0, 0}, q, {10, 10}, {20, 0}, {30, -10}, {40, 0}}));
    // Into a spline run: the new point gets its interpolated slots.
    auto spline = Digitise(Row(4), {0, 1, 1});
    EXPECT_EQ(spline->InsertPointAfter(q, 2), 1);
    EXPECT_TRUE(Consistent(*spline, {{0, 0}, {10, 10}, {20, 0}, q, {30, 10}}));
    EXPECT_EQ(spline->CGeoLine::GetPoints(), 1 + 3 * 8 + 1);
    // Refused: out of range.
    EXPECT_EQ(spline->InsertPointAfter(q, 5), 0);
    spline->InsertPointBefore(q, -1);
    EXPECT_EQ(spline->GetPoints(), 5);
}

TEST(GeoMixedLine, DeletingAPointRemovesEmptiedRunsAndMergesTheirNeighbours) {
    const POINT p0{0, 0}, p1{10, 0}, p2{20, 10}, p3{30, 0}, p4{40, 0};
    {
        auto line = Digitise({p0, p1, p2, p3, p4}, {0, 2, 2, 0});
        for (int i : {1, 2}) EXPECT_EQ(line->DeletePoint(i), 0) << i;  // inside the arc
        EXPECT_EQ(line->DeletePoint(5), 0);
        EXPECT_EQ(line->DeletePoint(-1), 0);
        // The arc's end point may go: the next point ends the arc; the straight run is left without a
        // segment.
        EXPECT_EQ(line->DeletePoint(3), 1);
        EXPECT_EQ(line->GetRuns(), Runs({R(0, 0), R(2, 1)}));
        EXPECT_TRUE(Consistent(*line, {p0, p1, p2, p4}));
        // Now the last point follows an arc point: refused.
        EXPECT_EQ(line->DeletePoint(3), 0);
        // The first point and the run that held only its segment go.
        EXPECT_EQ(line->DeletePoint(0), 1);
        EXPECT_EQ(line->GetRuns(), Runs({R(2, 0)}));
        EXPECT_TRUE(Consistent(*line, {p1, p2, p4}));
    }
    {
        // straight 0-2, one spline segment 2-3, straight 3-5: deleting point 2 merges the straight runs.
        auto line = Digitise(Row(6), {0, 0, 1, 0, 0});
        ASSERT_EQ(line->GetRuns(), Runs({R(0, 0), R(1, 2), R(0, 3)}));
        EXPECT_EQ(line->DeletePoint(2), 1);
        EXPECT_EQ(line->GetRuns(), Runs({R(0, 0)}));
        EXPECT_TRUE(Consistent(*line, {{0, 0}, {10, 10}, {30, 10}, {40, 0}, {50, 10}}));
    }
    {
        // Deleting inside a spline run keeps the run; deleting the last point of the line.
        auto line = Digitise(Row(5), {0, 1, 1, 1});
        EXPECT_EQ(line->DeletePoint(2), 1);
        EXPECT_TRUE(Consistent(*line, {{0, 0}, {10, 10}, {30, 10}, {40, 0}}));
        EXPECT_EQ(line->DeletePoint(3), 1);
        EXPECT_TRUE(Consistent(*line, {{0, 0}, {10, 10}, {30, 10}}));
        EXPECT_EQ(line->GetRuns(), Runs({R(0, 0), R(1, 1)}));
        // Down to nothing: no runs are left behind, and the line can be digitised again.
        for (int k = 0; k < 3; ++k) EXPECT_EQ(line->DeletePoint(0), 1);
        EXPECT_EQ(line->GetPoints(), 0);
        EXPECT_TRUE(line->GetRuns().empty());
        line->AddPoint(1, 1);
        EXPECT_EQ(line->GetRuns(), Runs({R(0, 0)}));
    }
    // Handles: no handle is added inside an arc.
    auto line = Digitise({p0, p1, p2, p3, p4}, {0, 2, 2, 0});
    EXPECT_EQ(line->CanAddHandle(1), 1);
    EXPECT_EQ(line->CanAddHandle(2), 0);
    EXPECT_EQ(line->CanAddHandle(3), 0);
    EXPECT_EQ(line->CanAddHandle(4), 1);
    line->AddHandle(4);  // a tenth of the way from p3 to p4
    EXPECT_TRUE(Consistent(*line, {p0, p1, p2, p3, {31, 0}, p4}));
}

TEST(GeoMixedLine, ClearInvertAndCopiesKeepTheRunsInStep) {
    auto line = Digitise({{0, 0}, {10, 0}, {20, 10}, {30, 0}, {40, 10}, {50, 0}}, {0, 2, 2, 1, 1});
    ASSERT_EQ(line->GetRuns(), Runs({R(0, 0), R(2, 1), R(1, 3)}));
    const Pts pts = PointsOf(*line);

    CGeoMixedLine copy(*line, 0, 1);
    EXPECT_EQ(copy.GetRuns(), line->GetRuns());
    EXPECT_TRUE(SamePoints(SlotsOf(copy), SlotsOf(*line)));
    std::unique_ptr<CGeoObject> dup(line->Duplicate(0, 1));
    ASSERT_TRUE(dup && dup->GetRuntimeClass() == RUNTIME_CLASS(CGeoMixedLine));
    EXPECT_EQ(static_cast<CGeoMixedLine&>(*dup).GetRuns(), line->GetRuns());
    // A polyline has no runs to give: nothing is copied.
    std::unique_ptr<CGeoPLine> plain(MakeLine({{1, 1}, {2, 2}}));
    EXPECT_EQ(copy.CopyData(*plain), 0);
    EXPECT_EQ(copy.GetRuns(), line->GetRuns());

    // Reversed: the spline comes first, then the arc, then the straight segment.
    line->Invert();
    EXPECT_EQ(line->GetRuns(), Runs({R(1, 0), R(2, 2), R(0, 4)}));
    EXPECT_TRUE(Consistent(*line, Pts(pts.rbegin(), pts.rend())));
    line->Invert();
    EXPECT_TRUE(SamePoints(SlotsOf(*line), SlotsOf(copy)));
    // An arc still waiting for its third point is not reversed.
    auto open = Digitise(Row(3), {0, 2});
    open->Invert();
    EXPECT_TRUE(SamePoints(PointsOf(*open), Row(3)));

    line->Clear();
    EXPECT_EQ(line->GetPoints(), 0);
    EXPECT_TRUE(line->GetRuns().empty());
    line->AddPoint(5, 5);
    line->AddPoint(6, 6);
    EXPECT_EQ(line->GetRuns(), Runs({R(0, 0)}));
    EXPECT_TRUE(Consistent(*line, {{5, 5}, {6, 6}}));
}

TEST(GeoMixedLine, MeasuresAndRefusedOperations) {
    auto straight = Digitise({{0, 0}, {3, 4}, {3, 10}}, {0, 0});
    EXPECT_DOUBLE_EQ(straight->Length(), 11.0);
    // An unfinished arc counts as its chord.
    auto chord = Digitise({{0, 0}, {3, 4}}, {2});
    EXPECT_DOUBLE_EQ(chord->Length(), 5.0);
    EXPECT_EQ(chord->Through(CRect(1, 1, 2, 3)), 1);
    // A collinear arc is its two segments.
    auto flat = Digitise({{0, 0}, {5, 0}, {10, 0}, {20, 0}}, {2, 2, 0});
    EXPECT_DOUBLE_EQ(flat->Length(), 20.0);

    auto arc = Digitise({{0, 0}, {10, 10}, {20, 0}, {30, 0}}, {2, 2, 0});
    EXPECT_EQ(arc->Through(CRect(9, 9, 11, 11)), 1);  // the top of the arc
    EXPECT_EQ(arc->Through(CRect(8, 1, 12, 3)), 0);   // inside the circle, off the arc
    EXPECT_EQ(arc->Through(CRect(25, -1, 26, 1)), 1);  // the straight run
    EXPECT_EQ(arc->Intersects(CRect(9, 9, 11, 11), SELOBJ_MEET), 1);

    EXPECT_EQ(arc->PointOnLine(POINT{25, 0}), -1);
    EXPECT_EQ(arc->PointOnLine(POINT{25, 0}, 5), -1);
    EXPECT_EQ(arc->InsertPoint(POINT{25, 0}, 10), 0);
    CGeoMixedLine other(CPoint(30, 0));
    other.AddPoint(40, 0);
    EXPECT_EQ(arc->AddTail(other, FALSE), 0);
    arc->TrimHead(2);
    arc->TrimTail(2);
    EXPECT_EQ(arc->GetPoints(), 4);
    // Moving a point of the arc moves the arc.
    arc->MovePointTo(1, CPoint(10, 20));
    EXPECT_EQ(arc->GetPoint(1), CPoint(10, 20));
    EXPECT_EQ(arc->GetBounds().bottom, 20);  // the arc's top: the circle about (10, 7.5) of radius 12.5
}

TEST(GeoMixedLine, ConstructorsStartOneStraightRunAndRotationTurnsEveryRun) {
    const Pts pts = {{0, 0}, {10, 0}, {20, 10}};
    CGeoMixedLine fromSlots(3, pts.data(), TRUE);
    EXPECT_EQ(fromSlots.GetRuns(), Runs({R(0, 0)}));
    EXPECT_TRUE(fromSlots.IsCompleted());
    EXPECT_EQ(fromSlots.GetBounds(), CRect(0, 0, 20, 10));
    EXPECT_EQ(CGeoMixedLine(CPoint(4, 5)).GetRuns(), Runs({R(0, 0)}));
    EXPECT_TRUE(CGeoMixedLine(10).GetRuns().empty());
    EXPECT_TRUE(CGeoMixedLine(0, nullptr, TRUE).GetRuns().empty());

    auto line = Digitise({{0, 0}, {10, 10}, {20, 0}, {30, 0}, {40, 10}}, {2, 2, 1, 1});
    line->DoRotateCCW(180.0, CPoint(0, 0));
    EXPECT_EQ(line->GetRuns(), Runs({R(2, 0), R(1, 2)}));
    const Pts turned = {{0, 0}, {-10, -10}, {-20, 0}, {-30, 0}, {-40, -10}};
    EXPECT_TRUE(Consistent(*line, turned));
    // The same line digitised turned: the same curve and bounds.
    auto direct = Digitise(turned, {2, 2, 1, 1});
    EXPECT_TRUE(SamePoints(SlotsOf(*line), SlotsOf(*direct)));
    EXPECT_EQ(line->GetBounds(), direct->GetBounds());
}

TEST(GeoMixedLine, ConvertsToAPolylineWithPolygonisedArcsAndToASpline) {
    auto line = Digitise({{0, 0}, {100, 0}, {200, 100}, {300, 0}, {400, 100}}, {0, 2, 2, 1});
    line->SetUnit(6);
    std::unique_ptr<CGeoLine> poly(line->ConvertTo(GLT_TYPE(GLT_PLINE, 0), 0));
    ASSERT_TRUE(poly && poly->GetRuntimeClass() == RUNTIME_CLASS(CGeoPLine));
    const Pts out = PointsOf(static_cast<CGeoPLine&>(*poly));
    EXPECT_EQ(poly->GetUnit(), 6);
    EXPECT_TRUE(poly->IsCompleted());
    // The arc's points lie on its circle (centre (200, 0), radius 100) and no boundary point repeats.
    ASSERT_GT(out.size(), 2u + 3u + 8u);
    EXPECT_EQ(CPoint(out[0]), CPoint(0, 0));
    EXPECT_EQ(CPoint(out[1]), CPoint(100, 0));
    EXPECT_EQ(CPoint(out.back()), CPoint(400, 100));
    size_t onCircle = 0;
    for (size_t k = 1; k < out.size(); ++k) {
        EXPECT_FALSE(out[k].x == out[k - 1].x && out[k].y == out[k - 1].y) << k;
        const double r = std::hypot(out[k].x - 200.0, out[k].y - 0.0);
        if (std::fabs(r - 100) <= 1.5) ++onCircle;
    }
    EXPECT_GE(onCircle, 5u);
    // The spline stretch keeps its interpolated slots: 8 slots after (300, 0).
    EXPECT_EQ(CPoint(out[out.size() - 9]), CPoint(300, 0));

    std::unique_ptr<CGeoLine> spline(line->ConvertTo(GLT_TYPE(GLT_SPLINE, 3), 0));
    ASSERT_TRUE(spline && spline->GetRuntimeClass() == RUNTIME_CLASS(CGeoSPLine));
    EXPECT_EQ(static_cast<CGeoSPLine&>(*spline).GetSplineIntpPoints(), 7);
    EXPECT_TRUE(SamePoints(PointsOf(static_cast<CGeoPLine&>(*spline)), PointsOf(*line)));
    EXPECT_EQ(spline->GetUnit(), 6);
    EXPECT_TRUE(spline->IsCompleted());

    for (WORD type : {GLT_POLYGONLINE, GLT_TRIPOINTARC, GLT_RESERVED})
        EXPECT_EQ(line->ConvertTo(GLT_TYPE(type, 0), 0), nullptr) << type;
}

namespace {

const UINT kScale = 10;
const CPoint kOrigin(0, -300);  // device y = 300 - y

class GeoMixedLineDraw : public ::testing::Test {
protected:
    void SetUp() override {
        m_dc.Attach(win32::CreateRecordingDC(400, 400));
        m_view.m_crLineColor = 0x0000FF;
        m_view.m_nLineShape = PS_DASH | PS_ENDCAP_FLAT;
        m_view.m_fLineWidth = 2.0f;
    }
    void TearDown() override { EXPECT_EQ(GetFXPointBufferDepth(), 0); }
    std::vector<win32::GdiRecord> All() const { return win32::GetRecording(m_dc.m_hDC); }

    CDC m_dc;
    GEOVIEW m_view;
};

}  // namespace

TEST_F(GeoMixedLineDraw, RunsArePathsAndArcsAreGdiArcs) {
    // straight (0,0)-(10,0), arc (10,0)-(20,10)-(30,0), straight on to (40,0).
    auto line = Digitise({{0, 0}, {10, 0}, {20, 10}, {30, 0}, {40, 0}}, {0, 2, 2, 0});
    const HGDIOBJ pen = ::GetCurrentObject(m_dc.m_hDC, OBJ_PEN);
    const int rop = ::GetROP2(m_dc.m_hDC);
    line->OnDrawWithoutSymbolization(&m_dc, kScale, kScale * 2, kOrigin, CPoint(0, 0), m_view, nullptr, 1, 0, 1);
    std::vector<std::string> calls;
    for (const auto& r : All()) {
        calls.push_back(r.call);
        EXPECT_EQ(r.rop2, R2_NOTXORPEN);
        EXPECT_EQ(r.pen.lopnStyle & PS_STYLE_MASK, static_cast<UINT>(PS_DASH)) << r.ToString();
        EXPECT_EQ(r.pen.lopnWidth.x, 4);  // 2 * 20 / 10
        EXPECT_EQ(r.pen.lopnColor, 0x0000FFu);
    }
    EXPECT_EQ(calls, std::vector<std::string>({"LineTo", "Arc", "LineTo"}));
    const auto all = All();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_TRUE(SamePoints(all[0].points, {{0, 300}, {10, 300}}));
    // The circle's box about (20, 0) of radius 10, the arc from (30,0) to (10,0) counter-clockwise.
    EXPECT_TRUE(SamePoints(all[1].points, {{10, 290}, {30, 310}, {30, 300}, {10, 300}}));
    EXPECT_TRUE(SamePoints(all[2].points, {{30, 300}, {40, 300}}));
    EXPECT_EQ(::GetCurrentObject(m_dc.m_hDC, OBJ_PEN), pen);
    EXPECT_EQ(::GetROP2(m_dc.m_hDC), rop);

    // The symbolised painter paints plainly, with or without a line symbol.
    win32::ClearRecording(m_dc.m_hDC);
    m_view.SetSymbol(SYMBOL_LINE, 5);
    int fakeLib = 0;
    line->OnDrawWithSymbolization(&m_dc, kScale, kScale, kOrigin, CPoint(0, 0), m_view, nullptr, 0, 0, &fakeLib, 1);
    EXPECT_EQ(All().size(), 3u);

    // A collinear arc is drawn as its two segments; an unfinished arc as its chord.
    win32::ClearRecording(m_dc.m_hDC);
    auto flat = Digitise({{0, 0}, {5, 0}, {10, 0}, {20, 0}}, {2, 2, 0});
    flat->OnDrawWithoutSymbolization(&m_dc, kScale, kScale, kOrigin, CPoint(0, 0), m_view, nullptr, 0, 0, 0);
    calls.clear();
    for (const auto& r : All()) calls.push_back(r.call);
    EXPECT_EQ(calls, std::vector<std::string>({"LineTo", "LineTo", "LineTo"}));
    win32::ClearRecording(m_dc.m_hDC);
    auto open = Digitise({{0, 0}, {5, 5}}, {2});
    open->OnDrawWithoutSymbolization(&m_dc, kScale, kScale, kOrigin, CPoint(0, 0), m_view, nullptr, 0, 0, 0);
    ASSERT_EQ(All().size(), 1u);
    EXPECT_EQ(All()[0].call, "LineTo");
}

TEST(GeoMixedLineRecord, RunsComeFirstAndTheRecordHoldsLogicalPoints) {
    const Pts pts = {{0, 0}, {10, 0}, {20, 10}, {30, 0}, {40, 10}};
    auto line = Digitise(pts, {0, 2, 2, 1});
    ASSERT_EQ(line->GetRuns(), Runs({R(0, 0), R(2, 1), R(1, 3)}));
    const Bytes bytes = Store([&](CArchive& ar) { line->Serialize(ar); });
    // WORD count 3, then the descriptors.
    const Bytes head = {3, 0, 0, 0, 0, 0, 1, 0, 0, 2, 3, 0, 0, 1};
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + head.size()), head);
    // The line part ends with the slot count 3 + 8 + 1 = 12 and the five points, raw.
    const size_t slotCountAt = bytes.size() - 40 - 4;
    LONG slotCount = 0;
    std::memcpy(&slotCount, &bytes[slotCountAt], 4);
    EXPECT_EQ(slotCount, 12);
    Bytes raw(40);
    std::memcpy(raw.data(), pts.data(), 40);
    EXPECT_EQ(Bytes(bytes.end() - 40, bytes.end()), raw);

    CObject* obj = nullptr;
    Load(Store([&](CArchive& ar) { ar << static_cast<CObject*>(line.get()); }), [&](CArchive& ar) { ar >> obj; });
    std::unique_ptr<CObject> owned(obj);
    ASSERT_TRUE(obj && obj->GetRuntimeClass() == RUNTIME_CLASS(CGeoMixedLine));
    auto& back = static_cast<CGeoMixedLine&>(*obj);
    EXPECT_EQ(back.GetRuns(), line->GetRuns());
    EXPECT_TRUE(SamePoints(SlotsOf(back), SlotsOf(*line)));  // the spline rebuilt
    EXPECT_EQ(back.GetBounds(), line->GetBounds());

    // Damaged run lists and slot counts are refused and leave an empty line.
    struct Bad {
        const char* name;
        size_t at;
        std::vector<BYTE> patch;
    };
    const Bad bads[] = {
        {"unknown type", 2 + 4 * 2 + 3, {3}},
        {"first run not at point 0", 2, {1}},
        {"runs out of order", 2 + 4 * 2, {0}},
        {"slot count off the stride", slotCountAt, {13}},
        {"slot count below the runs", slotCountAt, {3}},
        {"count beyond the data", 0, {200}},
        {"slot count far past the last point", slotCountAt, {0, 0, 0, 16}},
    };
    for (const Bad& bad : bads) {
        Bytes data = bytes;
        std::memcpy(&data[bad.at], bad.patch.data(), bad.patch.size());
        CGeoMixedLine target(CPoint(1, 1));
        EXPECT_THROW(Load(data, [&](CArchive& ar) { target.Serialize(ar); }), CArchiveException) << bad.name;
        EXPECT_EQ(target.GetPoints(), 0) << bad.name;
        EXPECT_TRUE(target.GetRuns().empty()) << bad.name;
    }
}

TEST(GeoMixedLineRecord, ArcAndSplineLineBytes) {
    // An arc (0,0) (10,10) (20,0), then a spline stretch to (30,0): runs (2,0) (1,2), 3 + 8 slots.
    auto line = Digitise({{0, 0}, {10, 10}, {20, 0}}, {2, 2});
    line->SetLineType(2, 1);
    line->AddPoint(30, 0);
    ASSERT_EQ(line->GetRuns(), Runs({R(2, 0), R(1, 2)}));
    line->SetObjectName("M");
    line->SetObjectClassID(4);
    line->SetUserID(8);
    line->Complete(1);
    const Bytes clearedSymbolAttrib = {0x06, 0, 0, 0, 0x01, 0, 0, 0, 0, 0};
    const Bytes want = objbytes::Bytes()
                           .Word(2)               // run count
                           .Dword(0x02000000)     // arc from point 0
                           .Dword(0x01000002)     // spline from point 2
                           .GeoObject(CRect(0, 0, 30, 10), "M", 3, 1.38f)
                           .Dword(8)     // user ID
                           .Dword(0)     // ID
                           .Long(1)      // removed with its layer
                           .Long(0)      // mark
                           .Byte(0)      // flag byte
                           .Dword(4)     // feature class
                           .Dword(1)     // display attribute: the class's style
                           .Double(0.0)  // Z
                           .Append(clearedSymbolAttrib)
                           .Long(1)   // completed
                           .Long(11)  // slot count
                           .Long(0).Long(0).Long(10).Long(10).Long(20).Long(0).Long(30).Long(0)
                           .Data();
    const Bytes bytes = Store([&](CArchive& ar) { line->Serialize(ar); });
    EXPECT_EQ(bytes, want);

    // The long count form (0xFFFF, then a DWORD) reads the same runs.
    Bytes longForm = {0xFF, 0xFF, 2, 0, 0, 0};
    longForm.insert(longForm.end(), want.begin() + 2, want.end());
    for (const Bytes* data : {&want, static_cast<const Bytes*>(&longForm)}) {
        CGeoMixedLine back;
        Load(*data, [&](CArchive& ar) { back.Serialize(ar); });
        EXPECT_EQ(back.GetRuns(), line->GetRuns());
        EXPECT_TRUE(SamePoints(SlotsOf(back), SlotsOf(*line)));
        EXPECT_EQ(back.GetBounds(), CRect(0, 0, 30, 10));
        EXPECT_EQ(back.GetPointBufferSize(), 11 * 8);
        EXPECT_EQ(Store([&](CArchive& ar) { back.Serialize(ar); }), want);
    }
    // Cut short anywhere: an archive exception and an empty line.
    for (size_t cut : {size_t(1), size_t(5), want.size() / 2, want.size() - 1}) {
        CGeoMixedLine back(CPoint(1, 1));
        EXPECT_THROW(Load(Bytes(want.begin(), want.begin() + cut), [&](CArchive& ar) { back.Serialize(ar); }),
                     CArchiveException)
            << cut;
        EXPECT_EQ(back.GetPoints(), 0) << cut;
        EXPECT_TRUE(back.GetRuns().empty()) << cut;
    }
}
