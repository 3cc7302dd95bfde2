// The ellipse and the square circle: the square rule, measures, hit tests, polygonising and the other
// conversions, snapping, records and painting.
#include "ClosedShapeSupport.h"

#include "vector/GeoCircle.h"
#include "vector/GeoEllipse.h"
#include "vector/GeoLineType.h"
#include "vector/GeoPolygonLine.h"
#include "vector/GeoRoundRect.h"
#include "vector/GeoTriPointCircle.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <memory>

using namespace linetest;
using namespace closedtest;

namespace {

const double kPi = 3.14159265358979323846;

CPoint P(int x, int y) { return CPoint(x, y); }

}  // namespace

TEST(GeoRectCircle, TheSecondCornerIsSquaredAgainstTheFirst) {
    struct Case {
        POINT given;
        CPoint corner;
    } cases[] = {
        {{10, 4}, P(4, 4)}, {{-3, 8}, P(-3, 3)}, {{6, 6}, P(6, 6)}, {{-10, 4}, P(-4, 4)}, {{0, 0}, P(0, 0)},
        {{2, -9}, P(2, -2)},
    };
    for (const Case& c : cases) {
        CGeoRectCircle circle(P(0, 0));
        EXPECT_EQ(circle.AddPoint(c.given), 1);
        EXPECT_EQ(circle.GetPoint(1), c.corner) << c.given.x << "," << c.given.y;
        EXPECT_EQ(circle.AddPoint(POINT{50, 50}), 0);
        EXPECT_EQ(circle.GetPoint(1), c.corner);
    }
    CGeoRectCircle empty;
    EXPECT_EQ(empty.AddPoint(POINT{3, 3}), 1);
    EXPECT_EQ(empty.GetPosition(), CRect(3, 3, 3, 3));
    CGeoRectCircle fromRect(CRect(0, 0, 10, 4));
    EXPECT_EQ(fromRect.GetPosition(), CRect(0, 0, 4, 4));
    EXPECT_EQ(fromRect.IsCompleted(), 1);
    // Far apart corners stay inside the coordinate range.
    EXPECT_EQ(CGeoRectCircle::SquareCorner(P(INT_MIN, INT_MIN + 1), P(INT_MAX, INT_MAX)), P(INT_MIN + 1, INT_MIN + 1));
}

TEST(GeoRectCircle, OnlyCornerHandlesMoveAndKeepTheSquare) {
    struct Case {
        int handle;
        CPoint to;
        CRect after;
    } cases[] = {
        {5, P(20, 12), CRect(0, 0, 12, 12)},   {1, P(-5, -3), CRect(-3, -3, 10, 10)},
        {3, P(14, -2), CRect(0, -2, 12, 10)},  {7, P(-1, 30), CRect(-1, 0, 10, 11)},
        {2, P(5, 40), CRect(0, 0, 10, 10)},    {4, P(40, 5), CRect(0, 0, 10, 10)},
        {6, P(5, 40), CRect(0, 0, 10, 10)},    {8, P(-9, 5), CRect(0, 0, 10, 10)},
        {9, P(50, 50), CRect(0, 0, 10, 10)},
    };
    for (const Case& c : cases) {
        CGeoRectCircle circle(CRect(0, 0, 10, 10));
        circle.MoveHandleTo(c.handle, c.to);
        EXPECT_EQ(circle.GetPosition(), c.after) << c.handle;
    }
    // The ellipse moves its handles as the rectangle does.
    CGeoEllipse ellipse(CRect(0, 0, 10, 10));
    ellipse.MoveHandleTo(5, P(20, 12));
    EXPECT_EQ(ellipse.GetPosition(), CRect(0, 0, 20, 12));
    ellipse.MoveHandleTo(2, P(5, -4));
    EXPECT_EQ(ellipse.GetPosition(), CRect(0, -4, 20, 12));
}

TEST(GeoEllipse, MeasuresHitTestsAndRotation) {
    CGeoEllipse ellipse(CRect(20, 10, 0, 0));  // reversed corners
    EXPECT_EQ(ellipse.GetBounds(), CRect(0, 0, 20, 10));
    EXPECT_DOUBLE_EQ(ellipse.Area(), 50 * kPi);
    EXPECT_DOUBLE_EQ(ellipse.Length(), 15 * kPi);
    struct Case {
        POINT p;
        int want;
    } cases[] = {{{10, 0}, 0}, {{20, 5}, 0}, {{10, 5}, -1}, {{10, 12}, -1}, {{0, 5}, 0}, {{19, 9}, -1}};
    for (const Case& c : cases) EXPECT_EQ(ellipse.PointOnLine(c.p, 1), c.want) << c.p.x << "," << c.p.y;
    EXPECT_EQ(ellipse.PointOnLine(POINT{10, 0}), 0);
    EXPECT_EQ(ellipse.PointOnLine(POINT{10, 5}), -1);
    EXPECT_TRUE(ellipse.Through(CRect(8, -1, 12, 1)));
    CGeoEllipse large(CRect(0, 0, 200, 100));
    EXPECT_EQ(large.PointOnLine(POINT{10, 10}), -1);  // in the bounds' corner, away from the outline
    EXPECT_FALSE(large.Through(CRect(0, 0, 15, 15)));
    EXPECT_EQ(ellipse.LineXLine(ellipse), 0);
    // A tolerance as wide as a semi-axis does not break the test.
    EXPECT_EQ(ellipse.PointOnLine(POINT{10, 5}, 5), -1);
    EXPECT_EQ(ellipse.PointOnLine(POINT{10, 1}, 5), 0);

    ellipse.DoRotateCCW(90, P(0, 0));
    EXPECT_EQ(ellipse.GetBounds().Width(), 20);
    EXPECT_EQ(ellipse.GetBounds().Height(), 10);
    EXPECT_EQ(ellipse.Mirror(POINT{0, 0}, POINT{0, 1}), 0);

    CGeoRectCircle circle(CRect(0, 0, 10, 10));
    EXPECT_DOUBLE_EQ(circle.Area(), 25 * kPi);
    EXPECT_DOUBLE_EQ(circle.Length(), 10 * kPi);
    EXPECT_EQ(circle.PointOnLine(POINT{5, 11}, 2), 0);
    EXPECT_EQ(circle.PointOnLine(POINT{5, 12}, 2), -1);  // 49 is not < 49
    EXPECT_EQ(circle.PointOnLine(POINT{5, 8}, 2), -1);   // 9 is not > 9
    EXPECT_TRUE(circle.Through(CRect(4, -1, 6, 1)));
    EXPECT_FALSE(circle.Through(CRect(0, 0, 1, 1)));
}

TEST(GeoEllipse, SnapsToCentreOutlineAndAxisEnds) {
    CGeoEllipse ellipse(CRect(0, 0, 20, 10));
    CGeoRectCircle circle(CRect(0, 0, 10, 10));
    struct Case {
        CGeoVectorObject* shape;
        SNAPTYPE type;
        CRect box;
        int want;
        CPoint at;
    } cases[] = {
        {&ellipse, SNAP_CENTER, CRect(9, 4, 12, 7), 1, P(10, 5)},
        {&ellipse, SNAP_QUADRANT, CRect(18, 3, 22, 7), 1, P(20, 5)},
        {&ellipse, SNAP_NEAREST, CRect(8, -2, 12, 2), 1, P(10, 0)},
        {&ellipse, SNAP_VERTEX, CRect(-2, -2, 2, 2), 0, P(0, 0)},
        {&circle, SNAP_CENTER, CRect(3, 3, 7, 7), 1, P(5, 5)},
        {&circle, SNAP_QUADRANT, CRect(3, 8, 7, 12), 1, P(5, 10)},
        {&circle, SNAP_MIDPOINT, CRect(3, 8, 7, 12), 0, P(0, 0)},
    };
    for (const Case& c : cases) {
        CPoint p = c.box.CenterPoint();
        const CPoint from = p;
        int index = -1;
        EXPECT_EQ(c.shape->GetSnapPointA(p, c.box, index, c.type, 0), c.want) << c.type;
        EXPECT_EQ(p, c.want ? c.at : from) << c.type;
    }
}

TEST(GeoEllipse, Polygonising) {
    CGeoEllipse small(CRect(0, 0, 20, 10));  // a = 10: one step of 2.8 rad is over 60 degrees
    small.SetUnit(6);
    small.SetFace(1);
    std::unique_ptr<CGeoLine> line(small.ConvertTo(GLT_TYPE(GLT_PLINE, 0), 0));
    ASSERT_TRUE(line && line->GetRuntimeClass() == RUNTIME_CLASS(CGeoPLine));
    const Pts pts = PointsOf(static_cast<CGeoPLine&>(*line));
    // Every offset is truncated toward zero: 10 cos(120 degrees) computes as -4.99..., giving 6.
    EXPECT_TRUE(SamePoints(pts, {{20, 5}, {15, 9}, {6, 9}, {0, 5}, {5, 1}, {14, 1}, {20, 5}}));
    EXPECT_EQ(line->GetUnit(), 6);
    std::unique_ptr<CGeoLine> ring(small.ConvertTo(GLT_TYPE(GLT_POLYGONLINE, 0), 0));
    ASSERT_TRUE(ring && ring->GetRuntimeClass() == RUNTIME_CLASS(CGeoPolygonLine));
    EXPECT_EQ(ring->GetPoints(), 6);
    EXPECT_EQ(static_cast<CGeoPolygonLine&>(*ring).IsFace(), 1);

    CGeoEllipse wide(CRect(0, 0, 20000, 100));  // a = 10 000: n = trunc(2 pi / (2.8 sqrt(0.001))) = 70
    std::unique_ptr<CGeoLine> many(wide.ConvertTo(GLT_TYPE(GLT_PLINE, 0), 0));
    ASSERT_TRUE(many);
    EXPECT_EQ(many->GetPoints(), 71);
    std::unique_ptr<CGeoLine> flat(CGeoEllipse(CRect(5, 5, 5, 5)).ConvertTo(GLT_TYPE(GLT_PLINE, 0), 0));
    ASSERT_TRUE(flat);
    EXPECT_EQ(flat->GetPoints(), 7);
}

TEST(GeoEllipse, OtherConversions) {
    struct Case {
        CRect bounds;
        CPoint centre, rim;
    } toCircle[] = {
        {CRect(0, 0, 40, 10), P(20, 5), P(20, 0)},
        {CRect(0, 0, 10, 40), P(5, 20), P(5, 15)},
        {CRect(10, 10, 0, 0), P(5, 5), P(5, 0)},
        {CRect(0, 0, 41, 11), P(20, 5), P(20, 0)},
    };
    for (const Case& c : toCircle) {
        CGeoEllipse ellipse(c.bounds);
        ellipse.SetFace(1);
        ellipse.SetUnit(7);
        std::unique_ptr<CGeoLine> out(ellipse.ConvertTo(GLT_TYPE(GLT_CIRCLE, 0), 0));
        ASSERT_TRUE(out && out->GetRuntimeClass() == RUNTIME_CLASS(CGeoCircle));
        const CGeoCircle& circle = static_cast<const CGeoCircle&>(*out);
        EXPECT_EQ(circle.GetCenter(), c.centre) << c.bounds.right;
        EXPECT_EQ(circle.GetPoint(1), c.rim) << c.bounds.right;
        EXPECT_EQ(circle.IsFace(), 1);
        EXPECT_EQ(circle.GetUnit(), 7);
    }
    CGeoEllipse ellipse(CRect(40, 10, 0, 0));
    ellipse.SetFace(1);
    std::unique_ptr<CGeoLine> rect(ellipse.ConvertTo(GLT_TYPE(GLT_RECT, 0), 0));
    ASSERT_TRUE(rect && rect->GetRuntimeClass() == RUNTIME_CLASS(CGeoRect));
    EXPECT_EQ(rect->GetPosition(), CRect(0, 0, 40, 10));
    EXPECT_EQ(static_cast<CGeoRect&>(*rect).IsFace(), 1);
    std::unique_ptr<CGeoLine> round(ellipse.ConvertTo(GLT_TYPE(GLT_ROUNDRECT, 0), 0));
    ASSERT_TRUE(round && round->GetRuntimeClass() == RUNTIME_CLASS(CGeoRoundRect));
    EXPECT_EQ(round->GetPosition(), CRect(0, 0, 40, 10));
    EXPECT_EQ(static_cast<CGeoRoundRect&>(*round).GetStoredRoundRect(), CPoint(6, 1));
    EXPECT_EQ(static_cast<CGeoRoundRect&>(*round).IsFace(), 1);
    // The three-point circle goes through the top, right and bottom of the circle of the largest
    // centred square (20, 5) with k = 5.
    std::unique_ptr<CGeoLine> three(ellipse.ConvertTo(GLT_TYPE(GLT_TRIPOINTCIRCLE, 0), 0));
    ASSERT_TRUE(three && three->GetRuntimeClass() == RUNTIME_CLASS(CGeoTriPointCircle));
    EXPECT_EQ(three->GetPoint(0), P(20, 0));
    EXPECT_EQ(three->GetPoint(1), P(25, 5));
    EXPECT_EQ(three->GetPoint(2), P(20, 10));
    EXPECT_EQ(static_cast<CGeoTriPointCircle&>(*three).IsFace(), 1);
    EXPECT_EQ(ellipse.ConvertTo(GLT_TYPE(GLT_ELLIPSE, 0), 0), nullptr);

    CGeoRectCircle square(CRect(10, 10, 0, 0));
    square.SetFace(1);
    square.SetUnit(6);
    std::unique_ptr<CGeoLine> line(square.ConvertTo(GLT_TYPE(GLT_PLINE, 0), 0));
    ASSERT_TRUE(line && line->GetRuntimeClass() == RUNTIME_CLASS(CGeoPLine));
    EXPECT_EQ(line->GetPoints(), 37);  // through the radius circle of radius 5
    EXPECT_EQ(line->GetPoint(0), P(10, 5));
    EXPECT_EQ(line->GetUnit(), 6);
    std::unique_ptr<CGeoLine> ring(square.ConvertTo(GLT_TYPE(GLT_POLYGONLINE, 0), 0));
    ASSERT_TRUE(ring && ring->GetRuntimeClass() == RUNTIME_CLASS(CGeoPolygonLine));
    EXPECT_EQ(ring->GetPoints(), 36);
    EXPECT_EQ(static_cast<CGeoPolygonLine&>(*ring).IsFace(), 1);
    std::unique_ptr<CGeoLine> circle(square.ConvertTo(GLT_TYPE(GLT_CIRCLE, 0), 0));
    ASSERT_TRUE(circle);
    EXPECT_EQ(static_cast<CGeoCircle&>(*circle).GetCenter(), P(5, 5));
    EXPECT_EQ(static_cast<CGeoCircle&>(*circle).GetPoint(1), P(5, 0));
    for (WORD type : {GLT_ELLIPSE, GLT_RECT}) {
        std::unique_ptr<CGeoLine> out(square.ConvertTo(GLT_TYPE(type, 0), 0));
        ASSERT_TRUE(out) << type;
        EXPECT_EQ(out->GetPosition(), CRect(0, 0, 10, 10)) << type;
        EXPECT_EQ(static_cast<CGeoCloseLine&>(*out).IsFace(), 1) << type;
        EXPECT_EQ(out->GetUnit(), 6);
    }
    EXPECT_EQ(square.ConvertTo(GLT_TYPE(GLT_RECTCIRCLE, 0), 0), nullptr);
}

TEST(GeoEllipse, RecordsAndNames) {
    CGeoEllipse ellipse(CRect(10, 20, -5, 0));
    ellipse.SetFace(1);
    const Bytes rect = Store([&](CArchive& ar) { ellipse.CGeoRect::Serialize(ar); });
    EXPECT_EQ(Store([&](CArchive& ar) { ellipse.Serialize(ar); }), rect);
    CGeoEllipse back;
    Load(rect, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.GetPosition(), CRect(10, 20, -5, 0));
    EXPECT_EQ(back.IsFace(), 1);
    std::unique_ptr<CGeoObject> dup(ellipse.Duplicate(0, 1));
    ASSERT_TRUE(dup && dup->GetRuntimeClass() == RUNTIME_CLASS(CGeoEllipse));
    EXPECT_EQ(dup->GetPosition(), CRect(10, 20, -5, 0));
    EXPECT_EQ(ellipse.GetObjectTypeName(), CString("椭圆面"));

    CGeoRectCircle square(CRect(0, 0, 8, 8));
    std::unique_ptr<CGeoObject> copy(square.Duplicate(0, 1));
    ASSERT_TRUE(copy && copy->GetRuntimeClass() == RUNTIME_CLASS(CGeoRectCircle));
    EXPECT_EQ(copy->GetPosition(), CRect(0, 0, 8, 8));
    EXPECT_EQ(square.GetObjectTypeName(), CString("矩形圆"));
    square.SetFace(1);
    EXPECT_EQ(square.GetObjectTypeName(), CString("矩形圆面"));
}

TEST_F(ClosedDraw, EllipsesAreGdiEllipsesWithASolidPen) {
    CGeoEllipse ellipse(CRect(20, 10, 0, 0));
    auto all = Plain(ellipse);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].call, "Ellipse");
    EXPECT_TRUE(SamePoints(all[0].points, {{0, 290}, {20, 300}}));
    EXPECT_EQ(all[0].pen.lopnStyle, static_cast<UINT>(PS_SOLID));  // unlike the rectangle's
    EXPECT_EQ(all[0].pen.lopnWidth.x, 3);
    EXPECT_EQ(all[0].brush.lbStyle, static_cast<UINT>(BS_NULL));
    ExpectDCRestored();

    CGeoRectCircle circle(CRect(0, 0, 10, 10));
    circle.SetFace(1);
    all = Plain(circle, 1);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].call, "Ellipse");
    EXPECT_EQ(all[0].brush.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(all[0].rop2, R2_NOTXORPEN);
    ExpectDCRestored();

    m_view.SetSymbol(SYMBOL_FILL, 21);
    all = Symbolised(circle, &m_lib);
    ASSERT_FALSE(all.empty());
    EXPECT_FALSE(all.size() == 1 && all[0].call == "Ellipse");
    all = Symbolised(ellipse, &m_lib);  // an outline without a line symbol
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].call, "Ellipse");
    ExpectDCRestored();

    CVMSymbolLibIO lib;
    quenbytest::AddSampleSymbols(lib);
    GEOVIEW view;
    view.SetSymbol(SYMBOL_LINE, 11);
    CCoordsConverter converter(1000, 1000, 0);
    CKeepOutlines out;
    EXPECT_EQ(ellipse.OnSymbolizeOutput(&lib, &out, &converter, &view), 1);
    EXPECT_FALSE(out.shapes.empty());
    EXPECT_EQ(ellipse.OnSymbolizeOutput(&lib, &out, &converter, nullptr), 0);
}
