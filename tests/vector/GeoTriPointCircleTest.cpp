// The three-point circle: bounds and measures, hit tests, snapping, the face flag in records and
// painting, and conversions.
#include "ClosedShapeSupport.h"

#include "vector/GeoCircle.h"
#include "vector/GeoEllipse.h"
#include "vector/GeoLineType.h"
#include "vector/GeoPolygonLine.h"
#include "vector/GeoRoundRect.h"
#include "vector/GeoTriPointCircle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace linetest;
using namespace closedtest;

namespace {

const double kPi = 3.14159265358979323846;

CPoint P(int x, int y) { return CPoint(x, y); }

CGeoTriPointCircle Ring10() { return CGeoTriPointCircle(P(10, 0), P(0, 10), P(-10, 0)); }

}  // namespace

TEST(GeoTriPointCircle, BoundsMeasuresAndHitTests) {
    CGeoTriPointCircle circle = Ring10();
    EXPECT_EQ(circle.GetBounds(), CRect(-10, -10, 10, 10));  // the whole circle, not the arc
    EXPECT_NEAR(circle.Area(), 100 * kPi, 1e-9);
    EXPECT_NEAR(circle.Length(), 20 * kPi, 1e-9);
    EXPECT_EQ(circle.IsCompleted(), 1);
    struct Case {
        POINT p;
        int tolerance, want;
    } cases[] = {
        {{0, -11}, 2, 0}, {{0, 0}, 2, -1}, {{10, 0}, 2, 0}, {{0, -12}, 2, -1},  // strictly inside the ring
        {{0, -13}, 2, -1}, {{20, 20}, 2, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(circle.PointOnLine(c.p, c.tolerance), c.want) << c.p.x << "," << c.p.y;
    EXPECT_EQ(circle.PointOnLine(POINT{0, -10}), 0);
    EXPECT_EQ(circle.PointOnLine(POINT{0, 0}), -1);
    EXPECT_EQ(circle.Through(CRect(-1, -11, 1, -9)), 1);  // the lower half counts for a full circle
    EXPECT_EQ(circle.Through(CRect(-2, -2, 2, 2)), 0);

    // Invert swaps the ends and keeps the circle.
    circle.Invert();
    EXPECT_EQ(circle.GetPoint(0), P(-10, 0));
    EXPECT_EQ(circle.GetPoint(2), P(10, 0));
    EXPECT_EQ(circle.GetBounds(), CRect(-10, -10, 10, 10));

    // Collinear points: no circle, no measures, the point box.
    CGeoTriPointCircle flat(P(0, 0), P(5, 5), P(10, 10));
    flat.SetFace(1);
    EXPECT_EQ(flat.GetBounds(), CRect(0, 0, 10, 10));
    EXPECT_EQ(flat.Area(), 0.0);
    EXPECT_EQ(flat.Length(), 0.0);
    EXPECT_EQ(flat.IsFace(), 1);  // the flag stays set
    for (WORD type : {GLT_PLINE, GLT_CIRCLE, GLT_RECTCIRCLE, GLT_TRIPOINTARC, GLT_ELLIPSE, GLT_POLYGONLINE})
        EXPECT_EQ(flat.ConvertTo(GLT_TYPE(type, 0), 0), nullptr) << type;

    // Digitising: the third point gives the circle's square.
    CGeoTriPointCircle drawn;
    drawn.AddPoint(POINT{10, 0});
    drawn.AddPoint(POINT{0, 10});
    EXPECT_EQ(drawn.GetBounds(), CRect(0, 0, 10, 10));
    drawn.AddPoint(POINT{-10, 0});
    EXPECT_EQ(drawn.GetBounds(), CRect(-10, -10, 10, 10));
    drawn.MovePointTo(1, POINT{0, -10});  // editing keeps the square up to date
    EXPECT_EQ(drawn.GetBounds(), CRect(-10, -10, 10, 10));
    drawn.MovePointTo(1, POINT{0, 20});
    EXPECT_EQ(drawn.GetBounds().Width(), drawn.GetBounds().Height());
}

TEST(GeoTriPointCircle, SnapsOnTheFullCircleButNotToItsPoints) {
    CGeoTriPointCircle circle = Ring10();
    int index = -1;
    CPoint p(1, 1);
    EXPECT_EQ(circle.GetSnapPointA(p, CRect(-2, -2, 2, 2), index, SNAP_CENTER, 0), 1);
    EXPECT_EQ(p, P(0, 0));
    p = P(1, -11);
    EXPECT_EQ(circle.GetSnapPointA(p, CRect(-1, -13, 3, -9), index, SNAP_NEAREST, 0), 1);
    EXPECT_EQ(p, P(1, -10));  // the lower half: no arc test for a full circle
    p = P(0, -9);
    EXPECT_EQ(circle.GetSnapPointA(p, CRect(-2, -12, 2, -8), index, SNAP_QUADRANT, 0), 1);
    EXPECT_EQ(p, P(0, -9));  // quadrant points are rounded as trunc(v + 0.5): -9.5 gives -9
    EXPECT_EQ(index, 3);
    p = P(20, -10);
    EXPECT_EQ(circle.GetSnapPointA(p, CRect(-3, -13, 3, -7), index, SNAP_TANGENT, 0), 1);
    EXPECT_EQ(p, P(0, -10));
    p = P(10, 0);
    EXPECT_EQ(circle.GetSnapPointA(p, CRect(8, -2, 12, 2), index, SNAP_VERTEX, 0), 0);  // handles, not vertices
}

TEST(GeoTriPointCircle, RecordNamesAndCopiesCarryTheFaceFlag) {
    CGeoTriPointCircle circle = Ring10();
    circle.SetFace(1);
    const Bytes arc = Store([&](CArchive& ar) { circle.CGeoTriPointArc::Serialize(ar); });
    const Bytes bytes = Store([&](CArchive& ar) { circle.Serialize(ar); });
    ASSERT_EQ(bytes.size(), arc.size() + 4);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + arc.size()), arc);
    EXPECT_EQ(Bytes(bytes.end() - 4, bytes.end()), Bytes({1, 0, 0, 0}));

    CGeoTriPointCircle back;
    Load(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.IsFace(), 1);
    EXPECT_EQ(back.GetPoint(1), P(0, 10));
    EXPECT_EQ(back.GetPosition(), CRect(-10, -10, 10, 10));
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        CGeoTriPointCircle part;
        EXPECT_THROW(Load(Bytes(bytes.begin(), bytes.begin() + cut), [&](CArchive& ar) { part.Serialize(ar); }),
                     CArchiveException)
            << "cut at " << cut;
    }

    std::unique_ptr<CGeoObject> dup(circle.Duplicate(0, 1));
    ASSERT_TRUE(dup && dup->GetRuntimeClass() == RUNTIME_CLASS(CGeoTriPointCircle));
    EXPECT_EQ(static_cast<CGeoTriPointCircle&>(*dup).IsFace(), 1);
    EXPECT_EQ(static_cast<CGeoTriPointCircle&>(*dup).GetPoint(2), P(-10, 0));

    EXPECT_EQ(circle.GetObjectTypeName(), CString("三点圆面"));
    GEOVIEW view;
    view.SetSymbol(SYMBOL_LINE, 11);
    view.SetSymbol(SYMBOL_FILL, 21);
    EXPECT_EQ(circle.GetObjectSymbolID(view), 21);
    EXPECT_EQ(circle.SetFace(0), 1);
    EXPECT_EQ(circle.GetObjectTypeName(), CString("三点圆"));
    EXPECT_EQ(circle.GetObjectSymbolID(view), 11);
}

TEST(GeoTriPointCircle, Conversions) {
    CGeoTriPointCircle circle = Ring10();
    circle.SetUnit(6);
    circle.SetFace(1);

    std::unique_ptr<CGeoLine> radius(circle.ConvertTo(GLT_TYPE(GLT_CIRCLE, 0), 0));
    ASSERT_TRUE(radius && radius->GetRuntimeClass() == RUNTIME_CLASS(CGeoCircle));
    EXPECT_EQ(static_cast<CGeoCircle&>(*radius).GetCenter(), P(0, 0));
    EXPECT_EQ(radius->GetPoint(1), P(0, 10));
    EXPECT_EQ(static_cast<CGeoCircle&>(*radius).IsFace(), 1);
    EXPECT_EQ(radius->GetUnit(), 6);

    std::unique_ptr<CGeoLine> ring(circle.ConvertTo(GLT_TYPE(GLT_POLYGONLINE, 0), 0));
    ASSERT_TRUE(ring && ring->GetRuntimeClass() == RUNTIME_CLASS(CGeoPolygonLine));
    EXPECT_EQ(static_cast<CGeoPolygonLine&>(*ring).IsFace(), 1);
    EXPECT_LE(ring->GetPoints(), 50);
    EXPECT_EQ(ring->GetUnit(), 6);
    std::unique_ptr<CGeoLine> line(circle.ConvertTo(GLT_TYPE(GLT_PLINE, 0), 0));
    ASSERT_TRUE(line && line->GetRuntimeClass() == RUNTIME_CLASS(CGeoPLine));
    EXPECT_EQ(line->GetPoints(), ring->GetPoints() + 1);
    EXPECT_EQ(line->GetFirstPoint(), line->GetLastPoint());
    // A large circle still gives at most 50 points and the closing one.
    std::unique_ptr<CGeoLine> big(
        CGeoTriPointCircle(P(100000, 0), P(0, 100000), P(-100000, 0)).ConvertTo(GLT_TYPE(GLT_PLINE, 0), 0));
    ASSERT_TRUE(big);
    EXPECT_EQ(big->GetPoints(), 51);

    std::unique_ptr<CGeoLine> arc(circle.ConvertTo(GLT_TYPE(GLT_TRIPOINTARC, 0), 0));
    ASSERT_TRUE(arc && arc->GetRuntimeClass() == RUNTIME_CLASS(CGeoTriPointArc));
    EXPECT_EQ(arc->GetPoint(0), P(10, 0));
    EXPECT_EQ(arc->GetBounds(), CRect(-10, 0, 10, 10));
    EXPECT_EQ(arc->GetUnit(), 6);

    std::unique_ptr<CGeoLine> ellipse(circle.ConvertTo(GLT_TYPE(GLT_ELLIPSE, 0), 0));
    ASSERT_TRUE(ellipse && ellipse->GetRuntimeClass() == RUNTIME_CLASS(CGeoEllipse));
    EXPECT_EQ(ellipse->GetPosition(), CRect(-10, -10, 10, 10));
    EXPECT_EQ(static_cast<CGeoEllipse&>(*ellipse).IsFace(), 1);
    std::unique_ptr<CGeoLine> square(circle.ConvertTo(GLT_TYPE(GLT_RECTCIRCLE, 0), 0));
    ASSERT_TRUE(square && square->GetRuntimeClass() == RUNTIME_CLASS(CGeoRectCircle));
    EXPECT_EQ(square->GetPosition(), CRect(-10, -10, 10, 10));
    EXPECT_EQ(static_cast<CGeoRectCircle&>(*square).IsFace(), 1);

    for (WORD type : {GLT_SPLINE, GLT_TRIPOINTCIRCLE, GLT_RECT, GLT_ROUNDRECT, GLT_RAPOLYGON, GLT_NPOLYGON})
        EXPECT_EQ(circle.ConvertMeTo(GLT_TYPE(type, 0), 0), nullptr) << type;
}

TEST_F(ClosedDraw, TriPointCircleFaceCountsOnlyWithACircle) {
    CGeoTriPointCircle circle(P(60, 50), P(50, 60), P(40, 50));
    auto all = Plain(circle);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].call, "Ellipse");
    EXPECT_TRUE(SamePoints(all[0].points, {{40, 240}, {60, 260}}));
    EXPECT_EQ(all[0].pen.lopnStyle, static_cast<UINT>(PS_SOLID));
    EXPECT_EQ(all[0].brush.lbStyle, static_cast<UINT>(BS_NULL));
    EXPECT_EQ(all[0].bkMode, OPAQUE);
    ExpectDCRestored();

    circle.SetFace(1);
    m_view.m_bTransparent = 1;
    all = Plain(circle);
    EXPECT_EQ(all[0].brush.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(all[0].brush.lbColor, 0x00FF00u);
    EXPECT_EQ(all[0].rop2, R2_MASKPEN);
    EXPECT_EQ(all[0].bkMode, TRANSPARENT);
    ExpectDCRestored();

    // A face whose points fell into a line draws the two segments, symbolised or not, with the line
    // symbol.
    CGeoTriPointCircle flat(P(0, 0), P(5, 5), P(10, 10));
    flat.SetFace(1);
    flat.SetDangleType(DANGLE_FIRST | DANGLE_LAST);  // no end marks on a circle
    all = Plain(flat);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].call, "LineTo");
    EXPECT_TRUE(SamePoints(all[1].points, {{5, 295}, {10, 290}}));
    ExpectDCRestored();
    m_view.SetSymbol(SYMBOL_FILL, 21);
    all = Symbolised(flat, &m_lib);  // no line symbol: plain
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].call, "LineTo");
    m_view.SetSymbol(SYMBOL_LINE, 11);
    all = Symbolised(flat, &m_lib);
    ASSERT_FALSE(all.empty());
    for (const auto& r : all) EXPECT_NE(r.call, "LineTo");  // the symbol, not the plain segments

    // With a circle the face takes the fill symbol.
    all = Symbolised(circle, &m_lib);
    ASSERT_FALSE(all.empty());
    for (const auto& r : all) EXPECT_NE(r.call, "Ellipse");
    all = Symbolised(circle, nullptr);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].call, "Ellipse");
}

TEST(GeoTriPointCircleOutput, TheSymbolGoesOverTheBoundsInMillimetres) {
    CVMSymbolLibIO lib;
    quenbytest::AddSampleSymbols(lib);
    GEOVIEW view;
    view.SetSymbol(SYMBOL_LINE, 11);
    CCoordsConverter converter(1000, 1000, 0);
    CGeoTriPointCircle circle(P(6, 5), P(5, 6), P(4, 5));
    circle.SetUnit(6);  // metres: the bounds are (4000, 4000, 6000, 6000) mm
    CKeepOutlines out;
    EXPECT_EQ(circle.OnSymbolizeOutput(&lib, &out, &converter, &view), 1);
    ASSERT_FALSE(out.shapes.empty());
    for (const Pts& shape : out.shapes)
        for (const POINT& p : shape) {
            EXPECT_GE(p.y, 3900);
            EXPECT_LE(p.y, 6100);
        }
    EXPECT_EQ(circle.OnSymbolizeOutput(&lib, &out, nullptr, &view), 0);
    circle.SetFace(1);  // the style has no fill symbol
    EXPECT_EQ(circle.OnSymbolizeOutput(&lib, &out, &converter, &view), 0);
}

TEST(ArcShapeRecords, TravelAsObjectsAndComeBackAsTheirOwnClasses) {
    CGeoTriPointArc arc(P(10, 0), P(0, 10), P(-10, 0));
    CGeoTriPointCircle circle = Ring10();
    circle.SetFace(1);
    CGeoRoundRect round(CRect(100, 50, 0, 0), P(200, 10));
    const Bytes bytes = Store([&](CArchive& ar) {
        ar << static_cast<const CObject*>(&arc) << static_cast<const CObject*>(&circle)
           << static_cast<const CObject*>(&round);
    });
    std::unique_ptr<CObject> a, c, r;
    Load(bytes, [&](CArchive& ar) {
        CObject* p = nullptr;
        ar >> p;
        a.reset(p);
        ar >> p;
        c.reset(p);
        ar >> p;
        r.reset(p);
    });
    ASSERT_TRUE(a && a->GetRuntimeClass() == RUNTIME_CLASS(CGeoTriPointArc));
    ASSERT_TRUE(c && c->GetRuntimeClass() == RUNTIME_CLASS(CGeoTriPointCircle));
    ASSERT_TRUE(r && r->GetRuntimeClass() == RUNTIME_CLASS(CGeoRoundRect));
    EXPECT_EQ(static_cast<CGeoTriPointArc&>(*a).GetBounds(), CRect(-10, 0, 10, 10));
    EXPECT_EQ(static_cast<CGeoTriPointCircle&>(*c).IsFace(), 1);
    EXPECT_EQ(static_cast<CGeoRoundRect&>(*r).GetPosition(), CRect(100, 50, 0, 0));  // corners as given
    EXPECT_EQ(static_cast<CGeoRoundRect&>(*r).GetStoredRoundRect(), P(200, 10));
}
