// The three-point arc: the circle test, bounds, measures, digitising and editing, snapping, records,
// conversions, painting and output.
#include "ClosedShapeSupport.h"

#include "core/CoreResources.h"
#include "core/GeoLayer.h"
#include "vector/GeoCircle.h"
#include "vector/GeoLineType.h"
#include "vector/GeoTriPointArc.h"
#include "vector/GeoTriPointCircle.h"

#include <afx/CursorResource.h>
#include <ostrel/Measure.h>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <memory>

using namespace linetest;
using namespace closedtest;

namespace {

const double kPi = 3.14159265358979323846;

CPoint P(int x, int y) { return CPoint(x, y); }

// The half circle of radius 10 about (0, 0) above the x axis, run counter-clockwise.
CGeoTriPointArc HalfCircle() { return CGeoTriPointArc(P(10, 0), P(0, 10), P(-10, 0)); }

}  // namespace

TEST(GeoTriPointArc, CollinearPointsAreABrokenLine) {
    CGeoTriPointArc arc(P(0, 0), P(5, 5), P(10, 10));
    EXPECT_EQ(arc.ExistACircle(), 0);
    EXPECT_EQ(arc.GetBounds(), CRect(0, 0, 10, 10));
    EXPECT_EQ(arc.Length(), 0.0);
    arc.Invert();  // nothing without a circle
    EXPECT_EQ(arc.GetPoint(0), P(0, 0));
    EXPECT_EQ(arc.GetPoint(2), P(10, 10));

    std::unique_ptr<CGeoLine> line(arc.ConvertTo(GLT_TYPE(GLT_PLINE, 0), 0));
    ASSERT_TRUE(line && line->GetRuntimeClass() == RUNTIME_CLASS(CGeoPLine));
    EXPECT_TRUE(SamePoints(PointsOf(static_cast<CGeoPLine&>(*line)), {{0, 0}, {5, 5}, {10, 10}}));
    EXPECT_EQ(arc.ConvertTo(GLT_TYPE(GLT_CIRCLE, 0), 0), nullptr);
    EXPECT_EQ(arc.ConvertTo(GLT_TYPE(GLT_TRIPOINTCIRCLE, 0), 0), nullptr);
    // The test is exact at the ends of the coordinate range too.
    EXPECT_EQ(CGeoTriPointArc(P(INT_MIN, INT_MIN), P(0, 0), P(INT_MAX, INT_MAX)).ExistACircle(), 0);
    EXPECT_EQ(CGeoTriPointArc(P(INT_MIN, INT_MAX), P(INT_MAX, INT_MIN), P(INT_MIN, INT_MIN)).ExistACircle(), 1);
    // Hit tests follow the segments.
    EXPECT_EQ(arc.Through(CRect(4, 4, 6, 6)), 1);
    EXPECT_EQ(arc.Through(CRect(7, 0, 9, 2)), 0);
    EXPECT_EQ(arc.PointOnLine(POINT{6, 5}, 2), 0);
    EXPECT_EQ(arc.PointOnLine(POINT{10, 0}, 2), -1);
}

TEST(GeoTriPointArc, HalfCircleMeasuresInvertsAndConverts) {
    CGeoTriPointArc arc = HalfCircle();
    arc.SetUnit(6);
    EXPECT_EQ(arc.ExistACircle(), 1);
    EXPECT_EQ(arc.GetCenter(), P(0, 0));
    EXPECT_DOUBLE_EQ(arc.GetRadius(), 10.0);
    EXPECT_EQ(arc.GetBounds(), CRect(-10, 0, 10, 10));  // the arc's own box, not the circle's
    EXPECT_NEAR(arc.Length(), 10 * kPi, 1e-9);
    EXPECT_EQ(arc.GetVisiblePoint(), P(0, 10));
    EXPECT_EQ(arc.GetPoint(5), P(-10, 0));  // every index past 1 is p3
    EXPECT_EQ(arc.GetObjectTypeName(), CString("三点圆弧"));

    // Run the other way round: the same half circle and the same length.
    CGeoTriPointArc back = HalfCircle();
    back.Invert();
    EXPECT_EQ(back.GetPoint(0), P(-10, 0));
    EXPECT_EQ(back.GetPoint(2), P(10, 0));
    EXPECT_EQ(back.GetBounds(), CRect(-10, 0, 10, 10));
    EXPECT_NEAR(back.Length(), 10 * kPi, 1e-9);
    // The lower half circle.
    EXPECT_EQ(CGeoTriPointArc(P(10, 0), P(0, -10), P(-10, 0)).GetBounds(), CRect(-10, -10, 10, 0));

    std::unique_ptr<CGeoLine> circle(arc.ConvertTo(GLT_TYPE(GLT_CIRCLE, 0), 0));
    ASSERT_TRUE(circle && circle->GetRuntimeClass() == RUNTIME_CLASS(CGeoCircle));
    EXPECT_EQ(static_cast<CGeoCircle&>(*circle).GetCenter(), P(0, 0));
    EXPECT_EQ(circle->GetPoint(1), P(0, 10));
    EXPECT_EQ(circle->GetUnit(), 6);

    std::unique_ptr<CGeoLine> three(arc.ConvertTo(GLT_TYPE(GLT_TRIPOINTCIRCLE, 0), 0));
    ASSERT_TRUE(three && three->GetRuntimeClass() == RUNTIME_CLASS(CGeoTriPointCircle));
    EXPECT_EQ(three->GetPoint(1), P(0, 10));
    EXPECT_EQ(three->GetUnit(), 6);

    // An arc whose chord is shorter than 50 units becomes its chord, in metres like the arc.
    std::unique_ptr<CGeoLine> chord(arc.ConvertTo(GLT_TYPE(GLT_PLINE, 0), 0));
    ASSERT_TRUE(chord && chord->GetRuntimeClass() == RUNTIME_CLASS(CGeoPLine));
    EXPECT_TRUE(SamePoints(PointsOf(static_cast<CGeoPLine&>(*chord)), {{10, 0}, {-10, 0}}));
    EXPECT_EQ(chord->GetUnit(), 6);
    // A larger one runs over the arc (above the centre) from p1 to p3.
    CGeoTriPointArc wide(P(1000, 0), P(0, 1000), P(-1000, 0));
    std::unique_ptr<CGeoLine> line(wide.ConvertTo(GLT_TYPE(GLT_PLINE, 0), 0));
    ASSERT_TRUE(line && line->GetRuntimeClass() == RUNTIME_CLASS(CGeoPLine));
    const Pts pts = PointsOf(static_cast<CGeoPLine&>(*line));
    ASSERT_GE(pts.size(), 4u);
    EXPECT_EQ(CPoint(pts.front()), P(1000, 0));
    EXPECT_EQ(CPoint(pts.back()), P(-1000, 0));
    for (const POINT& p : pts) {
        EXPECT_GE(p.y, 0);
        EXPECT_NEAR(std::hypot(p.x, p.y), 1000.0, 1.5);
    }

    for (WORD type : {GLT_SPLINE, GLT_RECT, GLT_POLYGONLINE, GLT_TRIPOINTARC, GLT_ELLIPSE})
        EXPECT_EQ(arc.ConvertMeTo(GLT_TYPE(type, 0), 0), nullptr) << type;
}

TEST(GeoTriPointArc, PointOnLineFindsTheSweepOnly) {
    const CGeoTriPointArc arc = HalfCircle();
    struct Case {
        POINT p;
        int tolerance, want;
    } cases[] = {
        {{0, 10}, 2, 0},   {{7, 7}, 2, 0},    {{0, 11}, 2, 0},  {{0, 13}, 2, -1},
        {{0, 0}, 2, -1},   {{0, -10}, 2, -1}, {{7, -7}, 2, -1},  // the other half of the circle
    };
    for (const Case& c : cases)
        EXPECT_EQ(arc.PointOnLine(c.p, c.tolerance), c.want) << c.p.x << "," << c.p.y;
    EXPECT_EQ(arc.PointOnLine(POINT{0, 10}), 0);
    EXPECT_EQ(arc.PointOnLine(POINT{0, -10}), -1);
    EXPECT_EQ(arc.LineXLine(arc), 0);
}

TEST(GeoTriPointArc, DigitisingAndTakingBackTheMiddlePoint) {
    CGeoTriPointArc arc;
    EXPECT_EQ(arc.GetPoints(), 0);
    EXPECT_EQ(arc.AddPoint(POINT{10, 0}), 1);
    EXPECT_EQ(arc.GetPosition(), CRect(10, 0, 10, 0));
    EXPECT_EQ(arc.AddPoint(POINT{0, 10}), 1);
    EXPECT_EQ(arc.GetPosition(), CRect(0, 0, 10, 10));
    EXPECT_EQ(arc.AddPoint(POINT{-10, 0}), 1);
    EXPECT_EQ(arc.GetBounds(), CRect(-10, 0, 10, 10));
    EXPECT_EQ(arc.AddPoint(POINT{5, 5}), 0);  // a fourth point is refused
    EXPECT_EQ(arc.GetPoints(), 3);
    EXPECT_EQ(arc.GetHandleCount(), 3);
    EXPECT_EQ(arc.GetHandle(2), P(0, 10));
    EXPECT_EQ(arc.GetHandleCursor(1), AfxLoadCursorResource(IDC_GEO_HANDLE));

    // While digitising, any handle takes back the middle point.
    EXPECT_EQ(arc.CanDeleteHandle(1), 1);
    arc.DeleteHandle(1);
    EXPECT_EQ(arc.GetPoints(), 2);
    EXPECT_EQ(arc.GetPoint(0), P(10, 0));
    EXPECT_EQ(arc.GetPoint(1), P(-10, 0));
    EXPECT_EQ(arc.GetBounds(), CRect(-10, 0, 10, 0));
    EXPECT_EQ(arc.CanDeleteHandle(1), 0);  // only with three points
    EXPECT_EQ(arc.ConvertTo(GLT_TYPE(GLT_PLINE, 0), 0), nullptr);  // no circle, not three points
    EXPECT_EQ(arc.AddPoint(POINT{0, -10}), 1);
    arc.Complete(1);
    EXPECT_EQ(arc.CanDeleteHandle(3), 0);  // a finished arc keeps its points
}

TEST(GeoTriPointArc, EditingMovesThePointsAndNeedsAnEditableLayer) {
    CGeoTriPointArc arc = HalfCircle();
    arc.MoveHandleTo(2, P(0, -10));  // now the lower half
    EXPECT_EQ(arc.GetPoint(1), P(0, -10));
    EXPECT_EQ(arc.GetBounds(), CRect(-10, -10, 10, 0));
    arc.MovePoint(7, POINT{0, 5});  // any index past 1 is p3
    EXPECT_EQ(arc.GetPoint(2), P(-10, 5));
    arc.MovePointTo(0, POINT{10, 5});
    EXPECT_EQ(arc.GetPoint(0), P(10, 5));
    arc.Move(CSize(100, 200));
    EXPECT_EQ(arc.GetPoint(0), P(110, 205));
    EXPECT_EQ(arc.GetPoint(1), P(100, 190));
    EXPECT_EQ(arc.GetPoint(2), P(90, 205));
    // The sweep passes the circle's leftmost and rightmost points (centre (100, 200.8), r 10.8).
    EXPECT_EQ(arc.GetBounds(), CRect(89, 190, 111, 205));
    // Editing can make the points collinear: the arc becomes a broken line until they are not.
    arc.MovePointTo(1, POINT{100, 205});
    EXPECT_EQ(arc.ExistACircle(), 0);
    EXPECT_EQ(arc.GetBounds(), CRect(90, 205, 110, 205));

    // A layer that cannot be edited keeps the arc as it is, through every path.
    CGeoTriPointArc locked = HalfCircle();
    CGeoLayer layer(0);
    layer.Fetch(&locked);
    locked.MovePoint(0, POINT{1, 1});
    locked.MovePointTo(1, POINT{0, -10});
    locked.MoveHandleTo(3, P(0, 0));
    locked.Move(CSize(5, 5));
    EXPECT_EQ(locked.GetPoint(0), P(10, 0));
    EXPECT_EQ(locked.GetPoint(1), P(0, 10));
    EXPECT_EQ(locked.GetPoint(2), P(-10, 0));
    EXPECT_EQ(locked.GetBounds(), CRect(-10, 0, 10, 10));
    layer.Deviate(&locked);

    EXPECT_EQ(arc.Mirror(POINT{0, 0}, POINT{0, 10}), 0);
}

TEST(GeoTriPointArc, RotationUnitsAndTransformMoveAllThreePoints) {
    CGeoTriPointArc arc = HalfCircle();
    arc.DoRotateCCW(90.0, P(0, 0));
    EXPECT_EQ(arc.GetPoint(0), CPoint(RotatePoint(POINT{10, 0}, POINT{0, 0}, kPi / 2)));
    EXPECT_EQ(arc.GetPoint(1), CPoint(RotatePoint(POINT{0, 10}, POINT{0, 0}, kPi / 2)));
    EXPECT_EQ(arc.GetBounds(), CRect(-10, -10, 0, 10));  // the left half now

    CGeoTriPointArc metres(P(1, 0), P(0, 1), P(-1, 0));
    metres.SetUnit(6);
    metres.ChangeUnit(3);  // metres -> millimetres
    EXPECT_EQ(metres.GetPoint(0), P(1000, 0));
    EXPECT_EQ(metres.GetPoint(1), P(0, 1000));
    EXPECT_EQ(metres.GetBounds(), CRect(-1000, 0, 1000, 1000));

    CGeoTriPointArc moved(P(1, 0), P(0, 1), P(-1, 0));
    moved.SetUnit(6);
    CClosedShapeFlip flip;  // (x, y) -> (-x + 1 - 0.5, y + 2 - 1)
    moved.Transform(flip, 0.0, 0.0);
    EXPECT_EQ(moved.GetPoint(0), P(0, 1));  // trunc(-0.5) = 0
    EXPECT_EQ(moved.GetPoint(1), P(0, 2));
    EXPECT_EQ(moved.GetPoint(2), P(1, 1));
}

TEST(GeoTriPointArc, SnapsToCentreVerticesAndTheArcItself) {
    CGeoTriPointArc arc = HalfCircle();
    int index = -1;
    CPoint p(1, 1);
    EXPECT_EQ(arc.GetSnapPointA(p, CRect(-2, -2, 2, 2), index, SNAP_CENTER, 0), 1);
    EXPECT_EQ(p, P(0, 0));
    p = P(9, 1);
    EXPECT_EQ(arc.GetSnapPointA(p, CRect(8, -2, 12, 2), index, SNAP_VERTEX, 0), 1);
    EXPECT_EQ(p, P(10, 0));
    EXPECT_EQ(index, 0);
    p = P(1, 10);
    EXPECT_EQ(arc.GetSnapPointA(p, CRect(-1, 9, 3, 13), index, SNAP_NEAREST, 0), 1);
    EXPECT_EQ(p, P(1, 10));  // the circle point nearest the box centre (1, 11), rounded
    // A box on the full circle but off the arc's sweep: no snap.
    p = P(0, -11);
    EXPECT_EQ(arc.GetSnapPointA(p, CRect(-2, -12, 2, -8), index, SNAP_NEAREST, 0), 0);
    EXPECT_EQ(p, P(0, -11));
    // Tangents from a point outside the circle, taken only on the arc.
    p = P(20, 10);
    EXPECT_EQ(arc.GetSnapPointA(p, CRect(-3, 7, 3, 13), index, SNAP_TANGENT, 0), 1);
    EXPECT_EQ(p, P(0, 10));
    p = P(20, -10);
    EXPECT_EQ(arc.GetSnapPointA(p, CRect(-3, -13, 3, -7), index, SNAP_TANGENT, 0), 0);
    for (SNAPTYPE type : {SNAP_ENDPOINT, SNAP_MIDPOINT, SNAP_PERPENDICULAR, SNAP_QUADRANT}) {
        p = P(10, 0);
        EXPECT_EQ(arc.GetSnapPointA(p, CRect(8, -2, 12, 2), index, type, 0), 0) << type;
    }
}

TEST(GeoTriPointArc, RecordRoundTripAndDamagedRecords) {
    CGeoTriPointArc arc(P(-7, 8), P(100, -200), P(3, 0));
    const Bytes line = Store([&](CArchive& ar) { arc.CGeoLine::Serialize(ar); });
    const Bytes bytes = Store([&](CArchive& ar) { arc.Serialize(ar); });
    ASSERT_EQ(bytes.size(), line.size() + 24);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + line.size()), line);
    const Bytes tail = {0xF9, 0xFF, 0xFF, 0xFF, 8, 0, 0, 0, 100, 0, 0, 0, 0x38, 0xFF, 0xFF, 0xFF, 3, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(Bytes(bytes.end() - 24, bytes.end()), tail);
    // The line record ends with the completed flag and the slot count.
    EXPECT_EQ(Bytes(line.end() - 8, line.end()), Bytes({1, 0, 0, 0, 3, 0, 0, 0}));

    CGeoTriPointArc back;
    Load(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.GetPoint(0), P(-7, 8));
    EXPECT_EQ(back.GetPoint(1), P(100, -200));
    EXPECT_EQ(back.GetPoint(2), P(3, 0));
    EXPECT_EQ(back.GetPoints(), 3);
    EXPECT_EQ(back.GetPosition(), arc.GetPosition());
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        CGeoTriPointArc part;
        EXPECT_THROW(Load(Bytes(bytes.begin(), bytes.begin() + cut), [&](CArchive& ar) { part.Serialize(ar); }),
                     CArchiveException)
            << "cut at " << cut;
    }
    // A slot count no arc can have is a damaged record.
    for (LONG count : {4, -1, 0x7FFFFFFF}) {
        Bytes bad = bytes;
        const size_t at = line.size() - 4;
        for (int i = 0; i < 4; ++i) bad[at + i] = static_cast<BYTE>(static_cast<DWORD>(count) >> (8 * i));
        CGeoTriPointArc part;
        EXPECT_THROW(Load(bad, [&](CArchive& ar) { part.Serialize(ar); }), CArchiveException) << count;
    }

    std::unique_ptr<CGeoObject> dup(arc.Duplicate(0, 1));
    ASSERT_TRUE(dup && dup->GetRuntimeClass() == RUNTIME_CLASS(CGeoTriPointArc));
    EXPECT_EQ(static_cast<CGeoTriPointArc&>(*dup).GetPoint(1), P(100, -200));
    CGeoTriPointArc copy(arc);
    EXPECT_EQ(copy.GetPoint(2), P(3, 0));
    EXPECT_EQ(copy.GetPoints(), 3);
    std::unique_ptr<CObject> made(RUNTIME_CLASS(CGeoTriPointArc)->CreateObject());
    EXPECT_TRUE(made && made->IsKindOf(RUNTIME_CLASS(CGeoOpenLine)));
}

TEST_F(ClosedDraw, ArcIsDrawnCounterClockwiseBetweenItsEnds) {
    // The half circle about (50, 50) above its centre: device (x, 300 - y).
    CGeoTriPointArc arc(P(60, 50), P(50, 60), P(40, 50));
    auto all = Plain(arc);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].call, "Arc");
    EXPECT_TRUE(SamePoints(all[0].points, {{40, 240}, {60, 260}, {60, 250}, {40, 250}}));
    EXPECT_EQ(all[0].pen.lopnStyle, static_cast<UINT>(PS_SOLID));
    EXPECT_EQ(all[0].pen.lopnWidth.x, 3);
    EXPECT_EQ(all[0].pen.lopnColor, 0x0000FFu);
    EXPECT_EQ(all[0].brush.lbStyle, static_cast<UINT>(BS_NULL));
    ExpectDCRestored();
    // Run the other way, the ends swap so that GDI still draws the upper half.
    CGeoTriPointArc reversed(P(40, 50), P(50, 60), P(60, 50));
    all = Plain(reversed);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_TRUE(SamePoints(all[0].points, {{40, 240}, {60, 260}, {60, 250}, {40, 250}}));

    all = Plain(arc, 1);
    EXPECT_EQ(all[0].rop2, R2_NOTXORPEN);
    ExpectDCRestored();

    // The end marks at the first and the last point.
    arc.SetDangleType(DANGLE_FIRST | DANGLE_LAST);
    all = Plain(arc);
    ASSERT_EQ(all.size(), 3u);
    const int d = GetDangleRadius();
    EXPECT_TRUE(SamePoints(all[1].points, {{60 - d, 250 - d}, {60 + d, 250 + d}}));
    EXPECT_TRUE(SamePoints(all[2].points, {{40 - d, 250 - d}, {40 + d, 250 + d}}));

    // Ends that meet on the device draw nothing rather than a full circle.
    // (At scale 1000 a device unit is 100 object units: the ends 40 units apart meet.)
    CGeoTriPointArc almostFull(P(5000, 5000), P(5500, 500000), P(5040, 5000));
    win32::ClearRecording(m_dc.m_hDC);
    almostFull.OnDrawWithoutSymbolization(&m_dc, 1000, 1000, CPoint(0, 0), CPoint(0, 0), m_view, nullptr, 0, 0, 1);
    EXPECT_TRUE(win32::GetRecording(m_dc.m_hDC).empty());
    ExpectDCRestored();

    // Collinear points: the broken line.
    CGeoTriPointArc straight(P(0, 0), P(5, 5), P(10, 10));
    all = Plain(straight);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].call, "LineTo");
    EXPECT_TRUE(SamePoints(all[0].points, {{0, 300}, {5, 295}}));
    EXPECT_TRUE(SamePoints(all[1].points, {{5, 295}, {10, 290}}));
    ExpectDCRestored();
}

TEST_F(ClosedDraw, ArcSymbolisedWithItsLineSymbol) {
    CGeoTriPointArc arc(P(60, 50), P(50, 60), P(40, 50));
    m_view.SetSymbol(SYMBOL_FILL, 21);  // never used by an arc
    auto all = Symbolised(arc, &m_lib);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].call, "Arc");

    m_view.SetSymbol(SYMBOL_LINE, 11);
    all = Symbolised(arc, &m_lib);
    ASSERT_FALSE(all.empty());
    for (const auto& r : all) EXPECT_NE(r.call, "Arc");
    ExpectDCRestored();
    all = Symbolised(arc, nullptr);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].call, "Arc");
}

TEST(GeoTriPointArcOutput, ThreePointFormForAnArcPolyFormForABrokenLine) {
    CVMSymbolLibIO lib;
    quenbytest::AddSampleSymbols(lib);
    GEOVIEW view;
    view.SetSymbol(SYMBOL_LINE, 11);
    CCoordsConverter converter(1000, 1000, 0);
    CGeoTriPointArc arc(P(6, 5), P(5, 6), P(4, 5));
    arc.SetUnit(6);  // metres: the arc lies within (4000, 5000, 6000, 6000) mm
    CKeepOutlines out;
    EXPECT_EQ(arc.OnSymbolizeOutput(&lib, &out, &converter, &view), 1);
    ASSERT_FALSE(out.shapes.empty());
    for (const Pts& shape : out.shapes)
        for (const POINT& p : shape) {
            EXPECT_GE(p.x, 3900);
            EXPECT_LE(p.x, 6100);
            EXPECT_GE(p.y, 4900);
        }
    CGeoTriPointArc straight(P(1, 1), P(2, 2), P(3, 3));
    straight.SetUnit(6);
    CKeepOutlines line;
    EXPECT_EQ(straight.OnSymbolizeOutput(&lib, &line, &converter, &view), 1);
    ASSERT_FALSE(line.shapes.empty());
    EXPECT_EQ(arc.OnSymbolizeOutput(&lib, nullptr, &converter, &view), 0);
    view.SetSymbol(SYMBOL_LINE, 0);
    EXPECT_EQ(arc.OnSymbolizeOutput(&lib, &out, &converter, &view), 0);
}

// Arcs from a half circle down to a sag of one unit over chords up to the coordinate range. Once the
// circle's radius passes the 32-bit range its integer rectangle saturates; length, bounds, hit tests and
// the polyline must not depend on it.
TEST(GeoTriPointArc, NearlyStraightArcsMeasureBoundAndConvertExactly) {
    struct Case {
        int half;  // half the chord
        int sag;   // height of the middle point above the chord
    } cases[] = {
        {1000, 1000},           // half circle
        {1000, 414},            // about a quarter circle
        {50000, 1},             // 100 m bend at millimetre units: radius 1.25e9
        {1000000, 1},           // radius 5e11
        {1000000000, 1},        // chord across the coordinate range
        {1000000000, 1000000},  // the same chord, a visible bow
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.half) + " / " + std::to_string(c.sag));
        const double h = c.half, s = c.sag;
        const double radius = (h * h + s * s) / (2.0 * s);
        const double sweep = 2.0 * std::asin(h / radius);
        for (int turned = 0; turned < 2; ++turned) {
            // The chord along x, and the same arc turned a quarter so that the chord runs along y.
            auto at = [&](int x, int y) { return turned ? P(-y, x) : P(x, y); };
            const CPoint p1 = at(-c.half, 0), p2 = at(0, c.sag), p3 = at(c.half, 0);
            CGeoTriPointArc arc(p1, p2, p3);
            ASSERT_EQ(arc.ExistACircle(), 1);

            EXPECT_NEAR(arc.Length(), radius * sweep, radius * sweep * 1e-9);

            const CRect want = turned ? CRect(-c.sag, -c.half, 0, c.half) : CRect(-c.half, 0, c.half, c.sag);
            EXPECT_EQ(arc.GetBounds(), want);
            const CRect atMiddle(p2.x - 1, p2.y - 1, p2.x + 1, p2.y + 1);
            EXPECT_EQ(arc.Intersects(atMiddle, SELOBJ_MEET), 1);

            std::unique_ptr<CGeoLine> line(arc.ConvertTo(GLT_PLINE, 0));
            ASSERT_NE(line, nullptr);
            const int n = line->GetPoints();
            ASSERT_GE(n, 2);
            EXPECT_EQ(line->GetPoint(0), p1);
            EXPECT_EQ(line->GetPoint(n - 1), p3);
        }
    }
}
