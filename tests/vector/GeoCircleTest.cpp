// The radius circle and the closed-line base: construction, measures, hit tests, handles and editing,
// rotation, units and transformation, snapping, records, conversions and painting.
#include "ClosedShapeSupport.h"

#include "core/CoreResources.h"
#include "core/GeoSettings.h"
#include "vector/GeoCircle.h"
#include "vector/GeoEllipse.h"
#include "vector/GeoLineType.h"
#include "vector/GeoNPolygon.h"
#include "vector/GeoPolygonLine.h"
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

}  // namespace

TEST(GeoCloseLine, FaceFlagChoosesTheSymbolAndTravelsInTheRecord) {
    CGeoCloseLine shape;
    GEOVIEW view;
    view.SetSymbol(SYMBOL_LINE, 11);
    view.SetSymbol(SYMBOL_FILL, 21);
    EXPECT_EQ(shape.IsFace(), 0);
    EXPECT_EQ(shape.GetObjectSymbolID(view), 11);
    EXPECT_EQ(shape.SetFace(1), 0);
    EXPECT_EQ(shape.SetFace(1), 1);
    EXPECT_EQ(shape.GetObjectSymbolID(view), 21);
    EXPECT_EQ(shape.Area(), 0.0);

    const Bytes line = Store([&](CArchive& ar) { shape.CGeoLine::Serialize(ar); });
    const Bytes bytes = Store([&](CArchive& ar) { shape.Serialize(ar); });
    ASSERT_EQ(bytes.size(), line.size() + 4);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + line.size()), line);
    EXPECT_EQ(Bytes(bytes.end() - 4, bytes.end()), Bytes({1, 0, 0, 0}));
    CGeoCloseLine back;
    Load(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.IsFace(), 1);
}

TEST(GeoCircle, TheRadiusConstructorKeepsTheRimPointPositiveWhereItCan) {
    struct Case {
        CPoint centre;
        CPoint rim;
    } cases[] = {
        {P(100, 50), P(100, 30)},  // above the centre in y
        {P(50, 10), P(30, 10)},    // (50, -10) would be negative: to the left
        {P(10, 5), P(30, 5)},      // both negative: to the right
        {P(20, 20), P(40, 20)},    // y - r = 0 and x - r = 0 are not > 0
    };
    for (const Case& c : cases) {
        CGeoCircle circle(c.centre, 20);
        EXPECT_EQ(circle.GetPoint(1), c.rim) << c.centre.x << "," << c.centre.y;
        EXPECT_EQ(circle.GetPoints(), 2);
        EXPECT_EQ(circle.IsCompleted(), 1);
        EXPECT_DOUBLE_EQ(circle.GetRadius(), 20.0);
    }
}

TEST(GeoCircle, MeasuresAndBoundsComeFromTheRadius) {
    CGeoCircle circle(P(0, 0), P(3, 4));
    EXPECT_DOUBLE_EQ(circle.GetRadius(), 5.0);
    EXPECT_EQ(circle.GetBounds(), CRect(-5, -5, 5, 5));
    EXPECT_DOUBLE_EQ(circle.Length(), 10 * kPi);
    EXPECT_DOUBLE_EQ(circle.Area(), 25 * kPi);
    circle.SetFace(1);
    EXPECT_DOUBLE_EQ(circle.Area(), 25 * kPi);
    EXPECT_EQ(circle.GetVisiblePoint(), P(3, 4));

    // The half side is the radius rounded: trunc(1.414 + 0.5) = 1.
    EXPECT_EQ(CGeoCircle(P(10, 10), P(11, 11)).GetBounds(), CRect(9, 9, 11, 11));
    // Near the edge of the coordinate range the square stays inside it.
    EXPECT_EQ(CGeoCircle(P(INT_MAX - 1, 0), P(INT_MAX - 1, 10)).GetBounds().right, INT_MAX);
}

TEST(GeoCircle, DigitisedPointByPoint) {
    CGeoCircle circle;
    EXPECT_EQ(circle.GetPoints(), 0);
    EXPECT_EQ(circle.AddPoint(POINT{7, 8}), 1);
    EXPECT_EQ(circle.GetBounds(), CRect(7, 8, 7, 8));
    EXPECT_EQ(circle.GetPoint(0), P(7, 8));
    EXPECT_EQ(circle.GetPoint(1), P(0, 0));  // not given yet
    EXPECT_EQ(circle.AddPoint(POINT{7, 18}), 1);
    EXPECT_EQ(circle.GetBounds(), CRect(-3, -2, 17, 18));
    EXPECT_EQ(circle.AddPoint(POINT{0, 0}), 0);
    EXPECT_EQ(circle.GetPoint(1), P(7, 18));
    EXPECT_EQ(circle.GetPoint(2), P(0, 0));
    EXPECT_EQ(circle.GetPoint(-1), P(0, 0));
    EXPECT_EQ(circle.IsCompleted(), 0);  // the creator completes it

    CGeoCircle centreOnly(P(4, 5));
    EXPECT_EQ(centreOnly.GetPoints(), 1);
    EXPECT_EQ(centreOnly.GetBounds(), CRect(4, 5, 4, 5));
    EXPECT_EQ(centreOnly.IsCompleted(), 0);
}

TEST(GeoCircle, PointOnLine) {
    CGeoCircle circle(P(0, 0), P(3, 4));
    struct Case {
        POINT p;
        int want;
    } tolerance2[] = {
        {{0, 6}, 0},
        {{0, 7}, -1},   // 49 is not < 49
        {{0, 3}, -1},   // 9 is not > 9
        {{4, 3}, 0},    // on the circle
        {{0, 0}, -1},   // the centre
        {{8, 0}, -1},   // beyond the widened bounds
    };
    for (const Case& c : tolerance2) EXPECT_EQ(circle.PointOnLine(c.p, 2), c.want) << c.p.x << "," << c.p.y;
    // The box form: a square of 2 units about the point must meet the outline.
    EXPECT_EQ(circle.PointOnLine(POINT{5, 1}), 0);
    EXPECT_EQ(circle.PointOnLine(POINT{0, 0}), -1);
    EXPECT_EQ(circle.PointOnLine(POINT{20, 20}), -1);
    EXPECT_EQ(circle.LineXLine(circle), 0);
    EXPECT_TRUE(circle.Through(CRect(4, -1, 6, 1)));
    EXPECT_FALSE(circle.Through(CRect(-1, -1, 1, 1)));  // inside, away from the outline
}

TEST(GeoCircle, HandlesMovesAndMirror) {
    CGeoCircle circle(P(0, 0), P(3, 4));
    EXPECT_EQ(circle.GetHandleCount(), 2);
    EXPECT_EQ(circle.GetHandle(1), P(0, 0));
    EXPECT_EQ(circle.GetHandle(2), P(3, 4));
    EXPECT_EQ(circle.GetHandleCursor(1), AfxLoadCursorResource(IDC_GEO_HANDLE));
    EXPECT_EQ(circle.GetHandleCursor(2), AfxLoadCursorResource(IDC_GEO_HANDLE));

    circle.MoveHandleTo(1, P(1, 0));  // the centre moves, the rim stays
    EXPECT_EQ(circle.GetPoint(1), P(3, 4));
    EXPECT_DOUBLE_EQ(circle.GetRadius(), std::sqrt(20.0));
    EXPECT_EQ(circle.GetBounds(), CRect(-3, -4, 5, 4));
    circle.MoveHandleTo(2, P(1, 10));  // the rim moves, the centre stays
    EXPECT_EQ(circle.GetCenter(), P(1, 0));
    EXPECT_DOUBLE_EQ(circle.GetRadius(), 10.0);

    circle.MovePoint(0, POINT{1, 1});
    EXPECT_EQ(circle.GetCenter(), P(2, 1));
    circle.MovePoint(7, POINT{0, -10});  // any index but 0 is the rim
    EXPECT_EQ(circle.GetPoint(1), P(1, 0));
    EXPECT_EQ(circle.GetBounds(), CRect(1, 0, 3, 2));

    circle.Move(CSize(10, 20));
    EXPECT_EQ(circle.GetCenter(), P(12, 21));
    EXPECT_EQ(circle.GetPoint(1), P(11, 20));
    EXPECT_EQ(circle.GetBounds(), CRect(11, 20, 13, 22));

    const CRect before = circle.GetBounds();
    EXPECT_EQ(circle.Mirror(POINT{0, 0}, POINT{0, 10}), 0);
    EXPECT_EQ(circle.GetBounds(), before);
    EXPECT_EQ(circle.GetCenter(), P(12, 21));
}

TEST(GeoCircle, RotationUnitsAndTransformMoveBothPoints) {
    CGeoCircle circle(P(10, 0), P(10, 5));
    circle.DoRotateCCW(90, P(0, 0));
    const POINT c = RotatePoint(POINT{10, 0}, POINT{0, 0}, kPi / 2);
    const POINT r = RotatePoint(POINT{10, 5}, POINT{0, 0}, kPi / 2);
    EXPECT_EQ(circle.GetCenter(), CPoint(c));
    EXPECT_EQ(circle.GetPoint(1), CPoint(r));
    EXPECT_EQ(circle.GetBounds(), CRect(c.x - 5, c.y - 5, c.x + 5, c.y + 5));

    CGeoCircle metres(P(1, 2), P(4, 6));
    metres.SetUnit(6);
    metres.ChangeUnit(3);
    EXPECT_EQ(metres.GetCenter(), P(1000, 2000));
    EXPECT_EQ(metres.GetPoint(1), P(4000, 6000));
    EXPECT_EQ(metres.GetBounds(), CRect(-4000, -3000, 6000, 7000));

    // Millimetres -> metres, flipped and shifted, less the second offsets, back to millimetres.
    CGeoCircle mm(P(1000, 0), P(1000, 500));
    CClosedShapeFlip flip;
    mm.Transform(flip, 0.0, 0.0);
    EXPECT_EQ(mm.GetCenter(), P(-500, 1000));
    EXPECT_EQ(mm.GetPoint(1), P(-500, 1500));
    EXPECT_EQ(mm.GetBounds(), CRect(-1000, 500, 0, 1500));
}

TEST(GeoCircle, SnapsToCentreOutlineQuadrantsAndTangents) {
    CGeoCircle circle(P(0, 0), P(0, 10));
    struct Case {
        SNAPTYPE type;
        CRect box;
        CPoint from;
        int want;
        CPoint at;
    } cases[] = {
        {SNAP_CENTER, CRect(-2, -2, 2, 2), P(1, 1), 1, P(0, 0)},
        {SNAP_NEAREST, CRect(9, -1, 13, 1), P(11, 0), 1, P(10, 0)},
        {SNAP_QUADRANT, CRect(-2, 8, 2, 12), P(0, 10), 1, P(0, 10)},
        {SNAP_QUADRANT, CRect(5, 5, 8, 8), P(6, 6), 0, P(6, 6)},
        {SNAP_TANGENT, CRect(-11, -2, -9, 2), P(-20, 0), 0, P(-20, 0)},
        {SNAP_VERTEX, CRect(-2, 8, 2, 12), P(0, 10), 0, P(0, 10)},
        {SNAP_ENDPOINT, CRect(-2, 8, 2, 12), P(0, 10), 0, P(0, 10)},
    };
    for (const Case& c : cases) {
        CPoint p = c.from;
        int index = -1;
        EXPECT_EQ(circle.GetSnapPointA(p, c.box, index, c.type, 0), c.want) << c.type;
        EXPECT_EQ(p, c.at) << c.type;
    }
    // Quadrant index: the order +x, +y, -x, -y.
    CPoint p(-10, 0);
    int index = -1;
    EXPECT_EQ(circle.GetSnapPointA(p, CRect(-12, -2, -8, 2), index, SNAP_QUADRANT, 0), 1);
    EXPECT_EQ(index, 2);
}

TEST(GeoCircle, RecordCopiesAndNames) {
    CGeoCircle circle(P(-7, 8), P(100, -200));
    circle.SetFace(1);
    const Bytes closed = Store([&](CArchive& ar) { circle.CGeoCloseLine::Serialize(ar); });
    const Bytes bytes = Store([&](CArchive& ar) { circle.Serialize(ar); });
    ASSERT_EQ(bytes.size(), closed.size() + 16);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + closed.size()), closed);
    const Bytes tail = {0xF9, 0xFF, 0xFF, 0xFF, 8, 0, 0, 0, 100, 0, 0, 0, 0x38, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(Bytes(bytes.end() - 16, bytes.end()), tail);

    CGeoCircle back;
    Load(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.GetCenter(), P(-7, 8));
    EXPECT_EQ(back.GetPoint(1), P(100, -200));
    EXPECT_EQ(back.IsFace(), 1);
    EXPECT_EQ(back.GetBounds(), circle.GetBounds());
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        CGeoCircle part;
        EXPECT_THROW(Load(Bytes(bytes.begin(), bytes.begin() + cut), [&](CArchive& ar) { part.Serialize(ar); }),
                     CArchiveException)
            << "cut at " << cut;
    }

    std::unique_ptr<CGeoObject> dup(circle.Duplicate(0, 1));
    ASSERT_TRUE(dup && dup->GetRuntimeClass() == RUNTIME_CLASS(CGeoCircle));
    const CGeoCircle& copy = static_cast<const CGeoCircle&>(*dup);
    EXPECT_EQ(copy.GetCenter(), P(-7, 8));
    EXPECT_EQ(copy.GetPoint(1), P(100, -200));
    EXPECT_EQ(copy.IsFace(), 1);
    CGeoCircle constructed(circle);
    EXPECT_EQ(constructed.GetPoint(1), P(100, -200));
    EXPECT_EQ(constructed.IsFace(), 1);

    EXPECT_EQ(circle.GetObjectTypeName(), CString("半径圆面"));
    circle.SetFace(0);
    EXPECT_EQ(circle.GetObjectTypeName(), CString("半径圆"));
    std::unique_ptr<CObject> made(RUNTIME_CLASS(CGeoCircle)->CreateObject());
    EXPECT_TRUE(made && made->IsKindOf(RUNTIME_CLASS(CGeoCloseLine)));
}

TEST(GeoCircle, Conversions) {
    CGeoCircle circle(P(0, 0), P(5, 0));
    circle.SetUnit(6);
    circle.SetFace(1);
    circle.SetZ(3.5);

    std::unique_ptr<CGeoLine> line(circle.ConvertTo(GLT_TYPE(GLT_PLINE, 0), 0));
    ASSERT_TRUE(line && line->GetRuntimeClass() == RUNTIME_CLASS(CGeoPLine));
    const Pts pts = PointsOf(static_cast<CGeoPLine&>(*line));
    ASSERT_EQ(pts.size(), 37u);  // 36 points 10 degrees apart, then the first again
    EXPECT_EQ(pts.front().x, pts.back().x);
    EXPECT_EQ(pts.front().y, pts.back().y);
    EXPECT_EQ(pts[0].x, 5);
    EXPECT_EQ(pts[0].y, 0);
    EXPECT_EQ(line->GetUnit(), 6);
    EXPECT_EQ(line->GetZ(), 3.5);

    std::unique_ptr<CGeoLine> ring(circle.ConvertTo(GLT_TYPE(GLT_POLYGONLINE, 0), 0));
    ASSERT_TRUE(ring && ring->GetRuntimeClass() == RUNTIME_CLASS(CGeoPolygonLine));
    EXPECT_EQ(ring->GetPoints(), 36);
    EXPECT_EQ(static_cast<CGeoPolygonLine&>(*ring).IsFace(), 1);

    // A large circle is cut to 50 points on the circle.
    std::unique_ptr<CGeoLine> big(CGeoCircle(P(0, 0), P(100000, 0)).ConvertTo(GLT_TYPE(GLT_PLINE, 0), 0));
    ASSERT_TRUE(big);
    EXPECT_EQ(big->GetPoints(), 51);

    std::unique_ptr<CGeoLine> hexagon(circle.ConvertTo(GLT_TYPE(GLT_NPOLYGON, 6), 0));
    ASSERT_TRUE(hexagon && hexagon->GetRuntimeClass() == RUNTIME_CLASS(CGeoNPolygon));
    const CGeoNPolygon& hex = static_cast<const CGeoNPolygon&>(*hexagon);
    EXPECT_EQ(hex.GetSides(), 6);
    EXPECT_EQ(hex.GetCenter(), P(0, 0));
    EXPECT_EQ(hex.GetPoint(1), P(5, 0));
    EXPECT_EQ(hex.IsFace(), 1);
    EXPECT_EQ(hex.GetUnit(), 6);
    std::unique_ptr<CGeoLine> deflt(circle.ConvertTo(GLT_TYPE(GLT_NPOLYGON, 0), 0));
    ASSERT_TRUE(deflt);
    EXPECT_EQ(static_cast<CGeoNPolygon&>(*deflt).GetSides(), GetNPolygonSides());

    std::unique_ptr<CGeoLine> ellipse(circle.ConvertTo(GLT_TYPE(GLT_ELLIPSE, 0), 0));
    ASSERT_TRUE(ellipse && ellipse->GetRuntimeClass() == RUNTIME_CLASS(CGeoEllipse));
    EXPECT_EQ(ellipse->GetPosition(), CRect(-5, -5, 5, 5));
    EXPECT_EQ(static_cast<CGeoEllipse&>(*ellipse).IsFace(), 1);
    EXPECT_EQ(ellipse->GetUnit(), 6);
    std::unique_ptr<CGeoLine> square(circle.ConvertTo(GLT_TYPE(GLT_RECTCIRCLE, 0), 0));
    ASSERT_TRUE(square && square->GetRuntimeClass() == RUNTIME_CLASS(CGeoRectCircle));
    EXPECT_EQ(square->GetPosition(), CRect(-5, -5, 5, 5));
    EXPECT_EQ(static_cast<CGeoRectCircle&>(*square).IsFace(), 1);

    // The three-point circle through the rim point and the rim turned by 90 and 180 degrees; the arc
    // from the rim point through the opposite point, 5 degrees short of closing.
    std::unique_ptr<CGeoLine> three(circle.ConvertTo(GLT_TYPE(GLT_TRIPOINTCIRCLE, 0), 0));
    ASSERT_TRUE(three && three->GetRuntimeClass() == RUNTIME_CLASS(CGeoTriPointCircle));
    EXPECT_EQ(three->GetPoint(0), P(5, 0));
    EXPECT_EQ(three->GetPoint(1), CPoint(RotatePoint90(POINT{5, 0}, POINT{0, 0})));
    EXPECT_EQ(three->GetPoint(2), P(-5, 0));
    EXPECT_EQ(static_cast<CGeoTriPointCircle&>(*three).IsFace(), 1);
    EXPECT_EQ(three->GetUnit(), 6);
    EXPECT_DOUBLE_EQ(static_cast<CGeoTriPointCircle&>(*three).Area(), circle.Area());
    CGeoCircle wide(P(0, 0), P(1000, 0));
    wide.SetUnit(6);
    wide.SetFace(1);
    std::unique_ptr<CGeoLine> arc(wide.ConvertTo(GLT_TYPE(GLT_TRIPOINTARC, 0), 0));
    ASSERT_TRUE(arc && arc->GetRuntimeClass() == RUNTIME_CLASS(CGeoTriPointArc));
    EXPECT_EQ(arc->GetPoint(0), P(1000, 0));
    EXPECT_EQ(arc->GetPoint(1), P(-1000, 0));
    EXPECT_EQ(arc->GetPoint(2), P(996, 87));
    EXPECT_NEAR(arc->Length(), 2 * kPi * 1000 * 71 / 72, 2.0);  // 355 of 360 degrees
    EXPECT_EQ(arc->GetUnit(), 6);
    // Refused ones.
    for (WORD type : {GLT_SPLINE, GLT_CIRCLE, GLT_RECT, GLT_RAPOLYGON})
        EXPECT_EQ(circle.ConvertMeTo(GLT_TYPE(type, 0), 0), nullptr) << type;
    EXPECT_EQ(circle.GetCenter(), P(0, 0));  // the source never changes
    EXPECT_EQ(circle.GetPoint(1), P(5, 0));
}

TEST_F(ClosedDraw, CircleIsAnEllipseOnItsBounds) {
    CGeoCircle circle(P(50, 50), P(50, 70));
    auto all = Plain(circle);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].call, "Ellipse");
    EXPECT_TRUE(SamePoints(all[0].points, {{30, 230}, {70, 270}}));
    EXPECT_EQ(all[0].pen.lopnStyle, static_cast<UINT>(PS_SOLID));  // never a geometric pen
    EXPECT_EQ(all[0].pen.lopnWidth.x, 3);
    EXPECT_EQ(all[0].pen.lopnColor, 0x0000FFu);
    EXPECT_EQ(all[0].brush.lbStyle, static_cast<UINT>(BS_NULL));  // an outline
    EXPECT_EQ(all[0].rop2, R2_COPYPEN);
    EXPECT_EQ(all[0].bkMode, OPAQUE);
    ExpectDCRestored();

    EXPECT_EQ(Plain(circle, 0, 0)[0].pen.lopnWidth.x, 1);  // widths not scaled: the thinnest line
    all = Plain(circle, 1);
    EXPECT_EQ(all[0].rop2, R2_NOTXORPEN);
    ExpectDCRestored();

    circle.SetFace(1);
    m_view.m_bTransparent = 1;
    all = Plain(circle);
    EXPECT_EQ(all[0].brush.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(all[0].brush.lbColor, 0x00FF00u);
    EXPECT_EQ(all[0].rop2, R2_MASKPEN);
    EXPECT_EQ(all[0].bkMode, TRANSPARENT);
    ExpectDCRestored();
    all = Plain(circle, 1);  // XOR drawing is never masked
    EXPECT_EQ(all[0].rop2, R2_NOTXORPEN);
    EXPECT_EQ(all[0].bkMode, TRANSPARENT);
    ExpectDCRestored();
}

TEST_F(ClosedDraw, CircleSymbolisedOnlyWithTheSymbolOfItsKind) {
    CGeoCircle circle(P(50, 50), P(50, 70));
    m_view.SetSymbol(SYMBOL_FILL, 21);
    // An outline whose style has no line symbol is painted plainly with a null brush, fill symbol or not.
    auto all = Symbolised(circle, &m_lib);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].call, "Ellipse");
    EXPECT_EQ(all[0].brush.lbStyle, static_cast<UINT>(BS_NULL));
    EXPECT_EQ(all[0].pen.lopnWidth.x, 3);

    circle.SetFace(1);
    all = Symbolised(circle, &m_lib);
    ASSERT_FALSE(all.empty());
    bool plainEllipse = false;
    for (const auto& r : all) plainEllipse |= r.call == "Ellipse" && r.pen.lopnColor == 0x0000FFu;
    EXPECT_FALSE(plainEllipse);  // the hatch symbol, not the plain painter
    ExpectDCRestored();

    // No library: plain.
    all = Symbolised(circle, nullptr);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].call, "Ellipse");
    // A symbol the library does not have: plain.
    m_view.SetSymbol(SYMBOL_FILL, 999);
    all = Symbolised(circle, &m_lib);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].call, "Ellipse");
}

TEST(GeoCircleOutput, TheSymbolGoesOverTheBoundsInMillimetres) {
    CVMSymbolLibIO lib;
    quenbytest::AddSampleSymbols(lib);
    GEOVIEW view;
    view.SetSymbol(SYMBOL_LINE, 11);
    CCoordsConverter converter(1000, 1000, 0);
    CGeoCircle circle(P(5, 5), P(5, 6));
    circle.SetUnit(6);  // metres: the bounds are (4000, 4000, 6000, 6000) mm
    CKeepOutlines out;
    EXPECT_EQ(circle.OnSymbolizeOutput(&lib, &out, &converter, &view), 1);
    ASSERT_FALSE(out.shapes.empty());
    for (const Pts& shape : out.shapes)
        for (const POINT& p : shape) {
            EXPECT_GE(p.x, 3900);
            EXPECT_LE(p.x, 6100);
        }
    EXPECT_EQ(circle.OnSymbolizeOutput(&lib, nullptr, &converter, &view), 0);
    EXPECT_EQ(circle.OnSymbolizeOutput(nullptr, &out, &converter, &view), 0);
    circle.SetFace(1);  // the style has no fill symbol
    EXPECT_EQ(circle.OnSymbolizeOutput(&lib, &out, &converter, &view), 0);
}
