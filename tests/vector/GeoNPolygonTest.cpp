// The regular polygon: side counts and their defaults, measures, hit tests (the tolerance form finds
// the side), handle operations on the side count, snapping, records, conversions and painting; side
// counts that give no polygon.
#include "ClosedShapeSupport.h"

#include "core/GeoSettings.h"
#include "vector/GeoLineType.h"
#include "vector/GeoNPolygon.h"
#include "vector/GeoPolygonLine.h"

#include <ostrel/Measure.h>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <memory>

using namespace linetest;
using namespace closedtest;

namespace {

CPoint P(int x, int y) { return CPoint(x, y); }

}  // namespace

TEST(GeoNPolygon, SideCountsAndTheirDefault) {
    EXPECT_EQ(CGeoNPolygon(0).GetSides(), GetNPolygonSides());
    EXPECT_EQ(CGeoNPolygon(P(5, 5), 0).GetSides(), GetNPolygonSides());
    const int old = GetNPolygonSides();
    SetNPolygonSides(7);
    EXPECT_EQ(CGeoNPolygon(P(0, 0), P(10, 0), 0).GetSides(), 7);
    EXPECT_EQ(CGeoNPolygon(P(0, 0), P(10, 0), 5).GetSides(), 5);
    SetNPolygonSides(old);

    CGeoNPolygon square(P(0, 0), P(10, 0), 4);
    EXPECT_EQ(square.IsCompleted(), 1);
    EXPECT_EQ(square.GetBounds(), CRect(-10, -10, 10, 10));
    EXPECT_EQ(square.SetSides(8), 4);
    EXPECT_EQ(square.GetSides(), 8);
    EXPECT_EQ(square.SetSides(3), 8);  // a triangle: its bounds follow
    const CRect triangle = square.GetBounds();
    EXPECT_EQ(triangle.right, 10);
    EXPECT_LT(triangle.left, -4);
    EXPECT_GT(triangle.left, -6);

    // The radius constructor picks the vertex as the circle does.
    CGeoNPolygon byRadius(P(50, 10), 20, 6);
    EXPECT_EQ(byRadius.GetPoint(1), P(30, 10));
    EXPECT_EQ(byRadius.IsCompleted(), 1);
    CGeoNPolygon centreOnly(P(5, 6), 6);
    EXPECT_EQ(centreOnly.GetPoints(), 1);
    EXPECT_EQ(centreOnly.GetBounds(), CRect(5, 6, 5, 6));
    EXPECT_EQ(centreOnly.IsCompleted(), 0);
}

TEST(GeoNPolygon, Measures) {
    CGeoNPolygon square(P(0, 0), P(10, 0), 4);
    EXPECT_NEAR(square.Length(), 80 * std::sin(3.14159265358979 / 4), 1e-9);
    EXPECT_NEAR(square.Area(), 200.0, 1e-9);
    CGeoNPolygon hexagon(P(0, 0), P(10, 0), 6);
    EXPECT_NEAR(hexagon.Length(), 60.0, 1e-9);
    EXPECT_NEAR(hexagon.Area(), 150 * std::sqrt(3.0), 1e-9);
}

TEST(GeoNPolygon, HitTestsFindTheOutline) {
    // Vertices (10, 0), (0, 10), (-10, 0), (0, -10).
    CGeoNPolygon square(P(0, 0), P(10, 0), 4);
    struct Case {
        POINT p;
        int want;
    } cases[] = {
        {{5, 5}, 0},     // on the first side
        {{-5, 6}, 1},    // one unit off the second
        {{-5, -5}, 2},
        {{5, -5}, 3},    // the closing side
        {{0, 0}, -1},    // inside, far from every side
        {{13, 0}, -1},   // beyond the widened bounds
    };
    for (const Case& c : cases) EXPECT_EQ(square.PointOnLine(c.p, 2), c.want) << c.p.x << "," << c.p.y;
    EXPECT_EQ(square.PointOnLine(POINT{5, 5}), 0);
    EXPECT_EQ(square.PointOnLine(POINT{0, 0}), -1);
    EXPECT_TRUE(square.Through(CRect(4, 4, 6, 6)));
    EXPECT_FALSE(square.Through(CRect(-2, -2, 2, 2)));
}

TEST(GeoNPolygon, TheVertexHandleAddsAndRemovesSides) {
    CGeoNPolygon triangle(P(0, 0), P(10, 0), 3);
    EXPECT_EQ(triangle.CanDeleteHandle(2), 0);
    triangle.DeleteHandle(2);
    EXPECT_EQ(triangle.GetSides(), 3);

    CGeoNPolygon pentagon(P(0, 0), P(10, 0), 5);
    EXPECT_EQ(pentagon.CanDeleteHandle(1), 0);
    pentagon.DeleteHandle(2);
    EXPECT_EQ(pentagon.GetSides(), 4);
    EXPECT_EQ(pentagon.GetBounds(), CRect(-10, -10, 10, 10));
    EXPECT_EQ(pentagon.GetPoint(1), P(10, 0));  // the vertex stays
    pentagon.AddHandle(1);
    EXPECT_EQ(pentagon.GetSides(), 4);
    EXPECT_EQ(pentagon.CanAddHandle(2), 1);
    pentagon.AddHandle(2);
    EXPECT_EQ(pentagon.GetSides(), 5);

    // The circle's handles move the centre and the vertex.
    pentagon.MoveHandleTo(2, P(0, 20));
    EXPECT_DOUBLE_EQ(pentagon.GetRadius(), 20.0);
    EXPECT_EQ(pentagon.GetBounds().bottom, 20);
}

TEST(GeoNPolygon, TurnedAndTransformedWithBoundsOfItsVertices) {
    CGeoNPolygon square(P(0, 0), P(10, 0), 4);
    square.DoRotateCCW(45, P(0, 0));
    const POINT v = RotatePoint(POINT{10, 0}, POINT{0, 0}, 3.14159265358979323846 / 4);
    EXPECT_EQ(square.GetPoint(1), CPoint(v));
    EXPECT_EQ(square.GetBounds(), ::RecalcBounds(4, POINT{0, 0}, v));  // not the circle's square
    EXPECT_LT(square.GetBounds().right, 10);

    CGeoNPolygon mm(P(1000, 0), P(2000, 0), 4);
    CClosedShapeFlip flip;  // x -> 0.5 - x, y -> y + 1 (metres)
    mm.Transform(flip, 0.0, 0.0);
    EXPECT_EQ(mm.GetCenter(), P(-500, 1000));
    EXPECT_EQ(mm.GetPoint(1), P(-1500, 1000));
    EXPECT_EQ(mm.GetBounds(), CRect(-1500, 0, 500, 2000));
    EXPECT_EQ(mm.Mirror(POINT{0, 0}, POINT{0, 1}), 0);
}

TEST(GeoNPolygon, SnapsOnTheRingButNotToTheCentre) {
    CGeoNPolygon square(P(0, 0), P(10, 0), 4);
    CPoint p(0, 9);
    int index = -1;
    EXPECT_EQ(square.GetSnapPointA(p, CRect(-2, 8, 2, 12), index, SNAP_VERTEX, 0), 1);
    EXPECT_EQ(p, P(0, 10));
    EXPECT_EQ(index, 1);
    p = CPoint(-4, -4);
    EXPECT_EQ(square.GetSnapPointA(p, CRect(-7, -7, -3, -3), index, SNAP_MIDPOINT, 0), 1);
    EXPECT_EQ(p, P(-5, -5));
    EXPECT_EQ(index, 2);
    p = CPoint(5, -5);
    EXPECT_EQ(square.GetSnapPointA(p, CRect(3, -7, 7, -3), index, SNAP_NEAREST, 0), 1);
    EXPECT_EQ(index, 3);  // the closing side counts
    p = CPoint(0, 0);
    EXPECT_EQ(square.GetSnapPointA(p, CRect(-2, -2, 2, 2), index, SNAP_CENTER, 0), 0);
    EXPECT_EQ(square.GetSnapPointA(p, CRect(-2, -2, 2, 2), index, SNAP_QUADRANT, 0), 0);
}

TEST(GeoNPolygon, RecordNamesAndCopies) {
    CGeoNPolygon hexagon(P(1, 2), P(11, 2), 6);
    hexagon.SetFace(1);
    const Bytes circle = Store([&](CArchive& ar) { hexagon.CGeoCircle::Serialize(ar); });
    const Bytes bytes = Store([&](CArchive& ar) { hexagon.Serialize(ar); });
    ASSERT_EQ(bytes.size(), circle.size() + 4);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + circle.size()), circle);
    EXPECT_EQ(Bytes(bytes.end() - 4, bytes.end()), Bytes({6, 0, 0, 0}));
    CGeoNPolygon back(3);
    Load(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.GetSides(), 6);
    EXPECT_EQ(back.GetPoint(1), P(11, 2));
    EXPECT_EQ(back.GetBounds(), hexagon.GetBounds());
    EXPECT_THROW(Load(Bytes(bytes.begin(), bytes.end() - 1), [&](CArchive& ar) { back.Serialize(ar); }),
                 CArchiveException);

    std::unique_ptr<CGeoObject> dup(hexagon.Duplicate(0, 1));
    ASSERT_TRUE(dup && dup->GetRuntimeClass() == RUNTIME_CLASS(CGeoNPolygon));
    EXPECT_EQ(static_cast<CGeoNPolygon&>(*dup).GetSides(), 6);
    EXPECT_EQ(static_cast<CGeoNPolygon&>(*dup).IsFace(), 1);

    EXPECT_EQ(hexagon.GetObjectTypeName(), CString("正6边形面"));
    hexagon.SetFace(0);
    EXPECT_EQ(hexagon.GetObjectTypeName(), CString("正6边形"));
}

TEST(GeoNPolygon, Conversions) {
    CGeoNPolygon hexagon(P(0, 0), P(10, 0), 6);
    hexagon.SetFace(1);
    hexagon.SetUnit(7);
    std::unique_ptr<CGeoLine> line(hexagon.ConvertTo(GLT_TYPE(GLT_PLINE, 0), 0));
    ASSERT_TRUE(line && line->GetRuntimeClass() == RUNTIME_CLASS(CGeoPLine));
    const Pts pts = PointsOf(static_cast<CGeoPLine&>(*line));
    ASSERT_EQ(pts.size(), 7u);
    EXPECT_EQ(pts[0].x, 10);
    EXPECT_EQ(pts[6].x, 10);
    EXPECT_EQ(pts[6].y, 0);
    EXPECT_EQ(line->GetUnit(), 7);

    std::unique_ptr<CGeoLine> ring(hexagon.ConvertTo(GLT_TYPE(GLT_POLYGONLINE, 0), 0));
    ASSERT_TRUE(ring && ring->GetRuntimeClass() == RUNTIME_CLASS(CGeoPolygonLine));
    EXPECT_EQ(ring->GetPoints(), 6);
    EXPECT_EQ(static_cast<CGeoPolygonLine&>(*ring).IsFace(), 1);
    // The vertices are rounded to whole units.
    EXPECT_NEAR(static_cast<CGeoPolygonLine&>(*ring).Area(), hexagon.Area(), 0.05 * hexagon.Area());

    std::unique_ptr<CGeoLine> circle(hexagon.ConvertTo(GLT_TYPE(GLT_CIRCLE, 0), 0));
    ASSERT_TRUE(circle && circle->GetRuntimeClass() == RUNTIME_CLASS(CGeoCircle));
    EXPECT_EQ(static_cast<CGeoCircle&>(*circle).GetPoint(1), P(10, 0));
    EXPECT_EQ(static_cast<CGeoCircle&>(*circle).IsFace(), 1);
    EXPECT_EQ(circle->GetUnit(), 7);

    EXPECT_EQ(hexagon.ConvertTo(GLT_TYPE(GLT_NPOLYGON, 5), 0), nullptr);
    EXPECT_EQ(hexagon.ConvertTo(GLT_TYPE(GLT_ELLIPSE, 0), 0), nullptr);
}

TEST(GeoNPolygon, SideCountsWithoutAPolygonAreHarmless) {
    for (int sides : {-1, INT_MIN, CGeoNPolygon::kMaxSides + 1, INT_MAX}) {
        CGeoNPolygon polygon(P(0, 0), P(10, 0), 4);
        polygon.SetSides(sides);
        EXPECT_EQ(polygon.GetSides(), sides);  // kept as given
        EXPECT_EQ(polygon.Length(), 0.0) << sides;
        EXPECT_EQ(polygon.Area(), 0.0) << sides;
        EXPECT_EQ(polygon.GetBounds(), CRect(-10, -10, 10, 10)) << sides;
        EXPECT_EQ(polygon.PointOnLine(POINT{10, 0}, 2), -1);
        EXPECT_EQ(polygon.Through(CRect(-20, -20, 20, 20)), 0);
        EXPECT_EQ(polygon.ConvertTo(GLT_TYPE(GLT_PLINE, 0), 0), nullptr);
        EXPECT_EQ(polygon.ConvertTo(GLT_TYPE(GLT_POLYGONLINE, 0), 0), nullptr);
        std::unique_ptr<CGeoLine> circle(polygon.ConvertTo(GLT_TYPE(GLT_CIRCLE, 0), 0));
        EXPECT_TRUE(circle);
        CPoint p(10, 0);
        int index = 0;
        EXPECT_EQ(polygon.GetSnapPointA(p, CRect(8, -2, 12, 2), index, SNAP_VERTEX, 0), 0);
        polygon.AddHandle(2);  // never wraps around
        EXPECT_EQ(polygon.GetSides(), sides == INT_MAX ? INT_MAX : sides + 1);
    }
    // A record holding such a count loads and stays harmless.
    CGeoNPolygon source(P(0, 0), P(10, 0), 4);
    Bytes bytes = Store([&](CArchive& ar) { source.Serialize(ar); });
    bytes[bytes.size() - 1] = 0x80;  // INT_MIN + 4
    CGeoNPolygon loaded(3);
    Load(bytes, [&](CArchive& ar) { loaded.Serialize(ar); });
    EXPECT_EQ(loaded.GetSides(), INT_MIN + 4);
    EXPECT_EQ(loaded.Area(), 0.0);
}

TEST_F(ClosedDraw, NPolygonIsAGdiPolygonOfItsVertices) {
    CGeoNPolygon square(P(50, 50), P(60, 50), 4);
    auto all = Plain(square);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].call, "Polygon");
    EXPECT_TRUE(SamePoints(all[0].points, {{60, 250}, {50, 240}, {40, 250}, {50, 260}}));
    EXPECT_EQ(all[0].pen.lopnStyle, static_cast<UINT>(PS_SOLID));  // never a geometric pen
    EXPECT_EQ(all[0].pen.lopnWidth.x, 3);
    EXPECT_EQ(all[0].brush.lbStyle, static_cast<UINT>(BS_NULL));
    ExpectDCRestored();
    square.SetFace(1);
    all = Plain(square, 1);
    EXPECT_EQ(all[0].brush.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(all[0].rop2, R2_NOTXORPEN);
    ExpectDCRestored();

    // Symbolised with the fill symbol; without one the plain painter.
    m_view.SetSymbol(SYMBOL_FILL, 21);
    all = Symbolised(square, &m_lib);
    ASSERT_FALSE(all.empty());
    EXPECT_FALSE(all.size() == 1 && all[0].call == "Polygon" && all[0].pen.lopnColor == 0x0000FFu);
    ExpectDCRestored();
    square.SetFace(0);
    all = Symbolised(square, &m_lib);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].call, "Polygon");

    square.SetSides(-3);
    EXPECT_TRUE(Plain(square).empty());
    EXPECT_TRUE(Symbolised(square, &m_lib).empty());
}

TEST(GeoNPolygonOutput, TheClosedRingInMillimetres) {
    CVMSymbolLibIO lib;
    quenbytest::AddSampleSymbols(lib);
    GEOVIEW view;
    view.SetSymbol(SYMBOL_LINE, 11);
    CCoordsConverter converter(1000, 1000, 0);
    CGeoNPolygon square(P(0, 0), P(10, 0), 4);
    square.SetUnit(6);
    CKeepOutlines out;
    EXPECT_EQ(square.OnSymbolizeOutput(&lib, &out, &converter, &view), 1);
    ASSERT_FALSE(out.shapes.empty());
    EXPECT_EQ(out.shapes[0].front().x, 10000);
    EXPECT_EQ(out.shapes[0].front().y, 0);
    square.SetSides(0);
    EXPECT_EQ(square.OnSymbolizeOutput(&lib, &out, &converter, &view), 0);
}
