// The rounded rectangle: the stored and the effective corner size, the corner handle, measures, hit
// tests, records, conversions, painting and output.
#include "ClosedShapeSupport.h"

#include "vector/GeoEllipse.h"
#include "vector/GeoLineType.h"
#include "vector/GeoPolygonLine.h"
#include "vector/GeoRoundRect.h"

#include <afx/Cursor.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace linetest;
using namespace closedtest;

namespace {

const double kPi = 3.14159265358979323846;

CPoint P(int x, int y) { return CPoint(x, y); }

}  // namespace

TEST(GeoRoundRect, TheCornerSizeIsStoredAsSetAndLimitedWhereUsed) {
    EXPECT_EQ(CGeoRoundRect().GetStoredRoundRect(), P(16, 16));
    EXPECT_EQ(CGeoRoundRect(P(4, 6)).GetStoredRoundRect(), P(4, 6));
    CGeoRoundRect one(P(3, 3), P(4, 6));
    EXPECT_EQ(one.GetPoints(), 1);
    EXPECT_EQ(one.GetPosition(), CRect(3, 3, 3, 3));
    EXPECT_EQ(one.GetStoredRoundRect(), P(4, 6));

    CGeoRoundRect round(CRect(100, 50, 0, 0), P(200, 10));  // reversed corners stay as given
    EXPECT_EQ(round.GetPosition(), CRect(100, 50, 0, 0));
    EXPECT_EQ(round.IsCompleted(), 1);
    EXPECT_EQ(round.GetRoundRect(), P(100, 10));
    EXPECT_EQ(round.GetStoredRoundRect(), P(200, 10));
    EXPECT_EQ(round.SetRoundRect(P(-5, 60)), P(200, 10));
    EXPECT_EQ(round.GetRoundRect(), P(0, 50));  // a negative size rounds nothing
    EXPECT_EQ(round.GetStoredRoundRect(), P(-5, 60));
}

TEST(GeoRoundRect, MeasuresUseTheEffectiveCornerSize) {
    CGeoRoundRect round(CRect(0, 0, 100, 50), P(20, 10));
    EXPECT_NEAR(round.Area(), 5000 - (4 - kPi) * 10 * 5, 1e-9);
    EXPECT_NEAR(round.Length(), 300 - 30 * 0.4292037, 1e-9);
    // A corner size beyond the rectangle counts as the rectangle: (100, 50) makes an ellipse.
    round.SetRoundRect(P(1000, 1000));
    EXPECT_NEAR(round.Area(), kPi * 50 * 25, 1e-9);
    round.SetRoundRect(P(0, 0));
    EXPECT_DOUBLE_EQ(round.Area(), 5000.0);
    EXPECT_DOUBLE_EQ(round.Length(), 300.0);
}

TEST(GeoRoundRect, TheNinthHandleDragsTheCornerSize) {
    CGeoRoundRect round(CRect(0, 0, 100, 50), P(16, 16));
    EXPECT_EQ(round.GetHandleCount(), 9);
    EXPECT_EQ(round.GetHandle(9), P(92, 8));
    EXPECT_EQ(round.GetHandle(5), P(100, 50));
    EXPECT_EQ(round.GetHandleCursor(9), LoadCursor(nullptr, IDC_SIZEALL));
    EXPECT_EQ(round.GetHandleCursor(5), LoadCursor(nullptr, IDC_SIZENWSE));

    struct Case {
        CPoint to, size;
    } cases[] = {
        {P(150, -10), P(2, 2)},   // limited to (99, 1)
        {P(0, 40), P(100, 50)},   // limited to (50, 25)
        {P(90, 10), P(20, 20)},
        {P(100, 0), P(2, 2)},
    };
    for (const Case& c : cases) {
        round.MoveHandleTo(9, c.to);
        EXPECT_EQ(round.GetStoredRoundRect(), c.size) << c.to.x << "," << c.to.y;
        EXPECT_EQ(round.GetPosition(), CRect(0, 0, 100, 50));
    }
    // The handle never passes the centre.
    round.SetRoundRect(P(500, 500));
    EXPECT_EQ(round.GetHandle(9), P(50, 25));
    // The other handles are the rectangle's and keep the corner size.
    round.MoveHandleTo(5, P(120, 60));
    EXPECT_EQ(round.GetPosition(), CRect(0, 0, 120, 60));
    EXPECT_EQ(round.GetStoredRoundRect(), P(500, 500));
}

TEST(GeoRoundRect, HitTestsRotationUnitsAndNoSnapping) {
    CGeoRoundRect round(CRect(0, 0, 100, 50), P(40, 40));
    EXPECT_EQ(round.PointOnLine(POINT{50, 0}), 0);
    EXPECT_EQ(round.PointOnLine(POINT{1, 1}), -1);  // the corner is cut off
    EXPECT_EQ(round.PointOnLine(POINT{50, 25}), -1);
    EXPECT_EQ(round.PointOnLine(POINT{50, 1}, 3), 0);
    EXPECT_EQ(round.PointOnLine(POINT{1, 1}, 3), -1);
    EXPECT_EQ(round.PointOnLine(POINT{6, 6}, 3), 0);  // on the rounded corner
    EXPECT_EQ(round.PointOnLine(POINT{50, 25}, 3), -1);
    EXPECT_EQ(round.Through(CRect(45, -2, 55, 2)), 1);
    EXPECT_EQ(round.Through(CRect(-1, -1, 2, 2)), 0);

    int index = 0;
    for (SNAPTYPE type : {SNAP_VERTEX, SNAP_MIDPOINT, SNAP_NEAREST, SNAP_CENTER, SNAP_QUADRANT}) {
        CPoint p(0, 0);
        EXPECT_EQ(round.GetSnapPointA(p, CRect(-5, -5, 5, 5), index, type, 0), 0) << type;
    }

    round.DoRotateCCW(180.0, P(0, 0));  // moved, not turned, and the corners keep their size
    EXPECT_EQ(round.GetBounds(), CRect(-100, -50, 0, 0));
    EXPECT_EQ(round.GetStoredRoundRect(), P(40, 40));

    CGeoRoundRect metres(CRect(0, 0, 2, 1), P(1, 1));
    metres.SetUnit(6);
    metres.ChangeUnit(3);
    EXPECT_EQ(metres.GetPosition(), CRect(0, 0, 2000, 1000));
    EXPECT_EQ(metres.GetStoredRoundRect(), P(1000, 1000));
    EXPECT_EQ(metres.GetObjectTypeName(), CString("圆角矩形"));
    metres.SetFace(1);
    EXPECT_EQ(metres.GetObjectTypeName(), CString("圆角矩形面"));
}

TEST(GeoRoundRect, RecordKeepsTheStoredCornerSize) {
    CGeoRoundRect round(CRect(0, 0, 100, 50), P(200, -3));
    round.SetFace(1);
    const Bytes rect = Store([&](CArchive& ar) { round.CGeoRect::Serialize(ar); });
    const Bytes bytes = Store([&](CArchive& ar) { round.Serialize(ar); });
    ASSERT_EQ(bytes.size(), rect.size() + 8);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + rect.size()), rect);
    EXPECT_EQ(Bytes(bytes.end() - 8, bytes.end()), Bytes({200, 0, 0, 0, 0xFD, 0xFF, 0xFF, 0xFF}));

    CGeoRoundRect back;
    Load(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.GetStoredRoundRect(), P(200, -3));
    EXPECT_EQ(back.IsFace(), 1);
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        CGeoRoundRect part;
        EXPECT_THROW(Load(Bytes(bytes.begin(), bytes.begin() + cut), [&](CArchive& ar) { part.Serialize(ar); }),
                     CArchiveException)
            << "cut at " << cut;
    }
    std::unique_ptr<CGeoObject> dup(round.Duplicate(0, 1));
    ASSERT_TRUE(dup && dup->GetRuntimeClass() == RUNTIME_CLASS(CGeoRoundRect));
    EXPECT_EQ(static_cast<CGeoRoundRect&>(*dup).GetStoredRoundRect(), P(200, -3));
    EXPECT_EQ(static_cast<CGeoRoundRect&>(*dup).GetPosition(), CRect(0, 0, 100, 50));
    CGeoRoundRect copy(round);
    EXPECT_EQ(copy.GetStoredRoundRect(), P(200, -3));
    EXPECT_EQ(copy.IsFace(), 1);
}

TEST(GeoRoundRect, Conversions) {
    CGeoRoundRect round(CRect(100, 50, 0, 0), P(20, 10));
    round.SetUnit(6);
    round.SetFace(1);
    std::unique_ptr<CGeoLine> line(round.ConvertTo(GLT_TYPE(GLT_PLINE, 0), 0));
    ASSERT_TRUE(line && line->GetRuntimeClass() == RUNTIME_CLASS(CGeoPLine));
    const Pts ring = PointsOf(static_cast<CGeoPLine&>(*line));
    ASSERT_GE(ring.size(), 21u);
    EXPECT_EQ(CPoint(ring.front()), CPoint(ring.back()));
    for (const POINT& p : ring) {
        EXPECT_TRUE(p.x >= 0 && p.x <= 100 && p.y >= 0 && p.y <= 50) << p.x << "," << p.y;
        EXPECT_FALSE((p.x == 0 || p.x == 100) && (p.y == 0 || p.y == 50)) << "a sharp corner";
    }
    EXPECT_EQ(line->IsCompleted(), 1);
    EXPECT_EQ(line->GetUnit(), 6);

    std::unique_ptr<CGeoLine> polygon(round.ConvertTo(GLT_TYPE(GLT_POLYGONLINE, 0), 0));
    ASSERT_TRUE(polygon && polygon->GetRuntimeClass() == RUNTIME_CLASS(CGeoPolygonLine));
    EXPECT_EQ(polygon->GetPoints(), line->GetPoints() - 1);
    EXPECT_EQ(static_cast<CGeoPolygonLine&>(*polygon).IsFace(), 1);
    EXPECT_EQ(polygon->GetUnit(), 6);

    std::unique_ptr<CGeoLine> ellipse(round.ConvertTo(GLT_TYPE(GLT_ELLIPSE, 0), 0));
    ASSERT_TRUE(ellipse && ellipse->GetRuntimeClass() == RUNTIME_CLASS(CGeoEllipse));
    EXPECT_EQ(ellipse->GetPosition(), CRect(0, 0, 100, 50));
    EXPECT_EQ(static_cast<CGeoEllipse&>(*ellipse).IsFace(), 1);
    std::unique_ptr<CGeoLine> rect(round.ConvertTo(GLT_TYPE(GLT_RECT, 0), 0));
    ASSERT_TRUE(rect && rect->GetRuntimeClass() == RUNTIME_CLASS(CGeoRect));
    EXPECT_EQ(rect->GetPosition(), CRect(0, 0, 100, 50));
    EXPECT_EQ(static_cast<CGeoRect&>(*rect).IsFace(), 1);
    EXPECT_EQ(rect->GetUnit(), 6);

    for (WORD type : {GLT_SPLINE, GLT_CIRCLE, GLT_ROUNDRECT, GLT_RAPOLYGON, GLT_TRIPOINTCIRCLE})
        EXPECT_EQ(round.ConvertMeTo(GLT_TYPE(type, 0), 0), nullptr) << type;
}

TEST_F(ClosedDraw, RoundRectIsARoundRectWithTheEffectiveCornerInDeviceUnits) {
    CGeoRoundRect round(CRect(60, 50, 10, 20), P(8, 200));
    auto all = Plain(round);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].call, "RoundRect");
    EXPECT_TRUE(SamePoints(all[0].points, {{10, 250}, {60, 280}, {8, 30}}));
    EXPECT_EQ(all[0].pen.lopnStyle, static_cast<UINT>(PS_SOLID));  // never the geometric pen
    EXPECT_EQ(all[0].pen.lopnWidth.x, 3);
    EXPECT_EQ(all[0].brush.lbStyle, static_cast<UINT>(BS_NULL));
    ExpectDCRestored();
    round.SetFace(1);
    all = Plain(round, 1);
    EXPECT_EQ(all[0].brush.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(all[0].rop2, R2_NOTXORPEN);
    ExpectDCRestored();

    // Symbolised: the fill symbol along the rounded ring; without a symbol, plain.
    all = Symbolised(round, &m_lib);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].call, "RoundRect");
    m_view.SetSymbol(SYMBOL_FILL, 21);
    all = Symbolised(round, &m_lib);
    ASSERT_FALSE(all.empty());
    for (const auto& r : all) EXPECT_NE(r.call, "RoundRect");
    ExpectDCRestored();
}

TEST(GeoRoundRectOutput, TheRoundedFormInMillimetres) {
    CVMSymbolLibIO lib;
    quenbytest::AddSampleSymbols(lib);
    GEOVIEW view;
    view.SetSymbol(SYMBOL_LINE, 11);
    CCoordsConverter converter(1000, 1000, 0);
    CGeoRoundRect round(CRect(4, 4, 6, 5), P(1, 1));
    round.SetUnit(6);  // metres: (4000, 4000, 6000, 5000) mm
    CKeepOutlines out;
    EXPECT_EQ(round.OnSymbolizeOutput(&lib, &out, &converter, &view), 1);
    ASSERT_FALSE(out.shapes.empty());
    for (const Pts& shape : out.shapes)
        for (const POINT& p : shape) {
            EXPECT_GE(p.x, 3900);
            EXPECT_LE(p.x, 6100);
            EXPECT_FALSE(p.x == 4000 && p.y == 4000) << "a sharp corner";
        }
    EXPECT_EQ(round.OnSymbolizeOutput(nullptr, &out, &converter, &view), 0);
    round.SetFace(1);
    EXPECT_EQ(round.OnSymbolizeOutput(&lib, &out, &converter, &view), 0);
}
