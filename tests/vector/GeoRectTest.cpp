// The rectangle: unnormalised corners in the bounds, handles, hit tests, measures, rotation and
// transformation, snapping, records (with the exact records of the other closed shapes), conversions and
// painting.
#include "ClosedShapeSupport.h"

#include "core/ObjectBytes.h"
#include "vector/GeoCircle.h"
#include "vector/GeoEllipse.h"
#include "vector/GeoLineType.h"
#include "vector/GeoNPolygon.h"
#include "vector/GeoPolygonLine.h"
#include "vector/GeoRAPolygon.h"
#include "vector/GeoRect.h"
#include "vector/GeoRoundRect.h"

#include <ostrel/Measure.h>

#include <gtest/gtest.h>

#include <memory>

using namespace linetest;
using namespace closedtest;

namespace {

CPoint P(int x, int y) { return CPoint(x, y); }

}  // namespace

TEST(GeoRect, KeepsItsCornersAsGiven) {
    CGeoRect rect(CRect(10, 20, 0, 0));
    EXPECT_EQ(rect.GetPosition(), CRect(10, 20, 0, 0));
    EXPECT_EQ(rect.GetBounds(), CRect(0, 0, 10, 20));
    EXPECT_EQ(rect.GetPoint(0), P(10, 20));
    EXPECT_EQ(rect.GetPoint(1), P(0, 0));
    EXPECT_EQ(rect.GetPoint(9), P(0, 0));  // any other index: corner 2
    EXPECT_EQ(rect.GetHandle(2), P(5, 20));
    EXPECT_EQ(rect.GetVisiblePoint(), P(0, 0));
    EXPECT_EQ(rect.IsCompleted(), 1);
    EXPECT_EQ(rect.GetPoints(), 2);
    EXPECT_DOUBLE_EQ(rect.Area(), 200.0);
    EXPECT_DOUBLE_EQ(rect.Length(), 60.0);

    CGeoRect digitised;
    EXPECT_EQ(digitised.AddPoint(POINT{30, 40}), 1);
    EXPECT_EQ(digitised.GetPosition(), CRect(30, 40, 30, 40));
    EXPECT_EQ(digitised.AddPoint(POINT{-10, 5}), 1);
    EXPECT_EQ(digitised.GetPosition(), CRect(30, 40, -10, 5));
    EXPECT_EQ(digitised.AddPoint(POINT{0, 0}), 0);
    EXPECT_EQ(digitised.GetPosition(), CRect(30, 40, -10, 5));
    EXPECT_EQ(CGeoRect(P(3, 4)).GetPosition(), CRect(3, 4, 3, 4));
    EXPECT_EQ(CGeoRect(P(3, 4)).GetPoints(), 1);

    // Moving a corner: only those given, and never normalised.
    CGeoRect one(P(3, 4));
    one.MovePointTo(1, POINT{9, 9});
    EXPECT_EQ(one.GetPosition(), CRect(3, 4, 3, 4));
    rect.MovePoint(0, POINT{-20, 0});
    EXPECT_EQ(rect.GetPosition(), CRect(-10, 20, 0, 0));
    rect.MovePointTo(1, POINT{-30, 50});
    EXPECT_EQ(rect.GetPosition(), CRect(-10, 20, -30, 50));
    rect.Move(CSize(1, 1));
    EXPECT_EQ(rect.GetPosition(), CRect(-9, 21, -29, 51));
    EXPECT_EQ(rect.Mirror(POINT{0, 0}, POINT{0, 1}), 0);
    EXPECT_EQ(rect.GetPosition(), CRect(-9, 21, -29, 51));
}

TEST(GeoRect, HandlesWorkOnTheStoredCorners) {
    // Corner 1 (0, 0), corner 2 (10, 21): the halves are 5 and 10.
    const CRect start(0, 0, 10, 21);
    struct Case {
        int handle;
        CPoint at;
        CRect after;  // after MoveHandleTo (handle, (100, 200))
        LPCSTR cursor;
    } cases[] = {
        {1, P(0, 0), CRect(100, 200, 10, 21), IDC_SIZENWSE},   {2, P(5, 0), CRect(0, 200, 10, 21), IDC_SIZENS},
        {3, P(10, 0), CRect(0, 200, 100, 21), IDC_SIZENESW},   {4, P(10, 10), CRect(0, 0, 100, 21), IDC_SIZEWE},
        {5, P(10, 21), CRect(0, 0, 100, 200), IDC_SIZENWSE},   {6, P(5, 21), CRect(0, 0, 10, 200), IDC_SIZENS},
        {7, P(0, 21), CRect(100, 0, 10, 200), IDC_SIZENESW},   {8, P(0, 10), CRect(100, 0, 10, 21), IDC_SIZEWE},
        {9, P(0, 0), CRect(100, 200, 10, 21), IDC_SIZENWSE},   {0, P(0, 0), CRect(100, 200, 10, 21), IDC_SIZENWSE},
    };
    for (const Case& c : cases) {
        CGeoRect rect(start);
        EXPECT_EQ(rect.GetHandle(c.handle), c.at) << c.handle;
        EXPECT_EQ(rect.GetHandleCursor(c.handle), LoadCursor(nullptr, c.cursor)) << c.handle;
        rect.MoveHandleTo(c.handle, P(100, 200));
        EXPECT_EQ(rect.GetPosition(), c.after) << c.handle;
    }
    EXPECT_EQ(CGeoRect(start).GetHandleCount(), 8);
    // Halves truncate toward zero on reversed corners too.
    EXPECT_EQ(CGeoRect(CRect(0, 0, -5, -5)).GetHandle(2), P(-2, 0));
}

TEST(GeoRect, PointOnLineGivesTheSide) {
    CGeoRect rect(CRect(0, 0, 10, 10));
    struct Case {
        POINT p;
        int want;
    } boxForm[] = {{{5, 0}, 0}, {{10, 5}, 1}, {{5, 10}, 2}, {{0, 5}, 3}, {{5, 5}, -1}, {{11, 5}, -1}, {{10, 10}, 1}};
    for (const Case& c : boxForm) EXPECT_EQ(rect.PointOnLine(c.p), c.want) << c.p.x << "," << c.p.y;
    // Reversed corners number the sides from corner 1.
    CGeoRect reversed(CRect(10, 10, 0, 0));
    EXPECT_EQ(reversed.PointOnLine(POINT{5, 10}), 0);
    EXPECT_EQ(reversed.PointOnLine(POINT{0, 5}), 1);

    struct Case2 {
        POINT p;
        int want;
    } tolerance[] = {{{5, -2}, 0}, {{12, 5}, 1}, {{5, 8}, 2}, {{5, 7}, -1}, {{13, 5}, -1}, {{5, 5}, -1}};
    for (const Case2& c : tolerance) EXPECT_EQ(rect.PointOnLine(c.p, 3), c.want) << c.p.x << "," << c.p.y;

    EXPECT_TRUE(rect.Through(CRect(8, 8, 12, 12)));
    EXPECT_TRUE(reversed.Through(CRect(8, 8, 12, 12)));
    EXPECT_FALSE(rect.Through(CRect(20, 20, 30, 30)));
}

TEST(GeoRect, RotationMovesTheCentreOnly) {
    CGeoRect rect(CRect(10, 0, 20, 10));
    rect.DoRotateCCW(90, P(0, 0));
    const POINT c = RotatePoint(POINT{15, 5}, POINT{0, 0}, 3.14159265358979323846 / 2);
    EXPECT_EQ(rect.GetPosition(), CRect(c.x - 5, c.y - 5, c.x + 5, c.y + 5));
    // Reversed corners stay reversed.
    CGeoRect reversed(CRect(20, 10, 10, 0));
    reversed.DoRotateCCW(90, P(0, 0));
    EXPECT_EQ(reversed.GetPosition(), CRect(c.x + 5, c.y + 5, c.x - 5, c.y - 5));
}

TEST(GeoRect, TransformKeepsItAxisParallelAndNormalised) {
    CGeoRect rect(CRect(2000, 3000, 1000, 0));  // millimetres, reversed
    CClosedShapeFlip flip;                      // x -> 0.5 - x, y -> y + 1 (metres)
    rect.Transform(flip, 0.0, 0.0);
    EXPECT_EQ(rect.GetPosition(), CRect(-1500, 1000, -500, 4000));
}

TEST(GeoRect, UnitChangeAndSnapping) {
    CGeoRect rect(CRect(2, 1, 0, 0));
    rect.SetUnit(6);
    rect.ChangeUnit(3);
    EXPECT_EQ(rect.GetPosition(), CRect(2000, 1000, 0, 0));

    CGeoRect snap(CRect(10, 10, 0, 0));
    CPoint p(9, 1);
    int index = -1;
    EXPECT_EQ(snap.GetSnapPointA(p, CRect(8, -1, 12, 3), index, SNAP_VERTEX, 0), 1);
    EXPECT_EQ(p, P(10, 0));
    EXPECT_EQ(index, 1);  // the ring starts at (xmin, ymin)
    p = CPoint(1, 5);
    EXPECT_EQ(snap.GetSnapPointA(p, CRect(-1, 3, 3, 7), index, SNAP_MIDPOINT, 0), 1);
    EXPECT_EQ(p, P(0, 5));
    EXPECT_EQ(index, 3);
    p = CPoint(5, 5);
    EXPECT_EQ(snap.GetSnapPointA(p, CRect(3, 3, 7, 7), index, SNAP_CENTER, 0), 0);
}

TEST(GeoRect, RecordCarriesTheCornersUnnormalised) {
    CGeoRect rect(CRect(10, 20, -5, 0));
    rect.SetFace(1);
    const Bytes closed = Store([&](CArchive& ar) { rect.CGeoCloseLine::Serialize(ar); });
    const Bytes bytes = Store([&](CArchive& ar) { rect.Serialize(ar); });
    EXPECT_EQ(bytes, closed);  // nothing of its own
    const Bytes corners = {10, 0, 0, 0, 20, 0, 0, 0, 0xFB, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0};
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 16), corners);
    CGeoRect back;
    Load(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.GetPosition(), CRect(10, 20, -5, 0));
    EXPECT_EQ(back.IsFace(), 1);
    EXPECT_EQ(back.GetPoints(), 2);

    std::unique_ptr<CGeoObject> dup(rect.Duplicate(0, 1));
    ASSERT_TRUE(dup && dup->GetRuntimeClass() == RUNTIME_CLASS(CGeoRect));
    EXPECT_EQ(dup->GetPosition(), CRect(10, 20, -5, 0));
    EXPECT_EQ(static_cast<CGeoRect&>(*dup).IsFace(), 1);
    EXPECT_EQ(rect.GetObjectTypeName(), CString("矩形面"));
    rect.SetFace(0);
    EXPECT_EQ(rect.GetObjectTypeName(), CString("矩形"));
}

TEST(GeoRect, ConversionsUseTheNormalisedCorners) {
    CGeoRect rect(CRect(60, 30, 0, 0));
    rect.SetFace(1);
    rect.SetUnit(6);
    const Pts ring = {{0, 0}, {60, 0}, {60, 30}, {0, 30}, {0, 0}};
    std::unique_ptr<CGeoLine> line(rect.ConvertTo(GLT_TYPE(GLT_PLINE, 0), 0));
    ASSERT_TRUE(line && line->GetRuntimeClass() == RUNTIME_CLASS(CGeoPLine));
    EXPECT_TRUE(SamePoints(PointsOf(static_cast<CGeoPLine&>(*line)), ring));
    EXPECT_EQ(line->IsCompleted(), 1);
    EXPECT_EQ(line->GetUnit(), 6);

    std::unique_ptr<CGeoLine> polygon(rect.ConvertTo(GLT_TYPE(GLT_POLYGONLINE, 0), 0));
    ASSERT_TRUE(polygon && polygon->GetRuntimeClass() == RUNTIME_CLASS(CGeoPolygonLine));
    EXPECT_TRUE(SamePoints(PointsOf(static_cast<CGeoPLine&>(*polygon)), Pts(ring.begin(), ring.begin() + 4)));
    EXPECT_EQ(static_cast<CGeoPolygonLine&>(*polygon).IsFace(), 1);
    EXPECT_EQ(polygon->IsCompleted(), 1);

    std::unique_ptr<CGeoLine> ra(rect.ConvertTo(GLT_TYPE(GLT_RAPOLYGON, 0), 0));
    ASSERT_TRUE(ra && ra->GetRuntimeClass() == RUNTIME_CLASS(CGeoRAPolygon));
    EXPECT_EQ(ra->GetPoints(), 4);
    EXPECT_EQ(static_cast<CGeoRAPolygon&>(*ra).IsFace(), 1);
    EXPECT_DOUBLE_EQ(static_cast<CGeoRAPolygon&>(*ra).Area(), 1800.0);
    EXPECT_EQ(ra->GetUnit(), 6);

    std::unique_ptr<CGeoLine> ellipse(rect.ConvertTo(GLT_TYPE(GLT_ELLIPSE, 0), 0));
    ASSERT_TRUE(ellipse && ellipse->GetRuntimeClass() == RUNTIME_CLASS(CGeoEllipse));
    EXPECT_EQ(ellipse->GetPosition(), CRect(0, 0, 60, 30));
    EXPECT_EQ(static_cast<CGeoEllipse&>(*ellipse).IsFace(), 1);
    EXPECT_EQ(ellipse->GetUnit(), 6);
    std::unique_ptr<CGeoLine> round(rect.ConvertTo(GLT_TYPE(GLT_ROUNDRECT, 0), 0));
    ASSERT_TRUE(round && round->GetRuntimeClass() == RUNTIME_CLASS(CGeoRoundRect));
    EXPECT_EQ(round->GetPosition(), CRect(0, 0, 60, 30));
    EXPECT_EQ(static_cast<CGeoRoundRect&>(*round).GetStoredRoundRect(), CPoint(10, 5));
    EXPECT_EQ(static_cast<CGeoRoundRect&>(*round).IsFace(), 1);
    EXPECT_EQ(round->GetUnit(), 6);
    EXPECT_EQ(rect.ConvertTo(GLT_TYPE(GLT_RECT, 0), 0), nullptr);
    EXPECT_EQ(rect.ConvertTo(GLT_TYPE(GLT_CIRCLE, 0), 0), nullptr);
    EXPECT_EQ(rect.GetPosition(), CRect(60, 30, 0, 0));
}

TEST_F(ClosedDraw, RectangleUsesAGeometricPenOnlyWhenWide) {
    CGeoRect rect(CRect(10, 10, 0, 0));
    m_view.m_fLineWidth = 0.5f;
    auto all = Plain(rect);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].call, "Rectangle");
    EXPECT_TRUE(SamePoints(all[0].points, {{0, 290}, {10, 300}}));
    EXPECT_EQ(all[0].pen.lopnStyle, static_cast<UINT>(PS_SOLID));
    EXPECT_EQ(all[0].brush.lbStyle, static_cast<UINT>(BS_NULL));
    m_view.m_fLineWidth = 3.0f;
    all = Plain(rect);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].pen.lopnStyle, static_cast<UINT>(PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_JOIN_MITER));
    EXPECT_EQ(all[0].pen.lopnWidth.x, 3);
    EXPECT_EQ(all[0].pen.lopnColor, 0x0000FFu);
    ExpectDCRestored();

    rect.SetFace(1);
    m_view.m_nFillShape = 2;
    m_view.m_bTransparent = 1;
    all = Plain(rect);
    EXPECT_NE(all[0].brush.lbStyle, static_cast<UINT>(BS_NULL));
    EXPECT_EQ(all[0].brush.lbColor, 0x00FF00u);
    EXPECT_EQ(all[0].rop2, R2_MASKPEN);
    EXPECT_EQ(all[0].bkMode, TRANSPARENT);
    ExpectDCRestored();

    m_view.SetSymbol(SYMBOL_FILL, 21);
    all = Symbolised(rect, &m_lib);
    ASSERT_FALSE(all.empty());
    EXPECT_FALSE(all.size() == 1 && all[0].call == "Rectangle");
    ExpectDCRestored();
    m_view.SetSymbol(SYMBOL_FILL, 999);  // unknown to the library: plain
    all = Symbolised(rect, &m_lib);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].call, "Rectangle");
}

TEST(GeoRectOutput, TheRingOfTheBoundsInMillimetres) {
    CVMSymbolLibIO lib;
    quenbytest::AddSampleSymbols(lib);
    GEOVIEW view;
    view.SetSymbol(SYMBOL_LINE, 11);
    CCoordsConverter converter(1000, 1000, 0);
    CGeoRect rect(CRect(2, 1, 0, 0));
    rect.SetUnit(6);
    CKeepOutlines out;
    EXPECT_EQ(rect.OnSymbolizeOutput(&lib, &out, &converter, &view), 1);
    ASSERT_FALSE(out.shapes.empty());
    // The dashes start at (xmin, ymin) and run up the left side first.
    ASSERT_GE(out.shapes[0].size(), 2u);
    EXPECT_TRUE(SamePoints(Pts(out.shapes[0].begin(), out.shapes[0].begin() + 2), {{0, 0}, {0, 1000}}));
    EXPECT_EQ(rect.OnSymbolizeOutput(&lib, &out, nullptr, &view), 0);
}

// The exact records of the closed shapes, field by field: the line record, the face flag, then what
// each class adds (the rectangle nothing: its corners are the bounds, unnormalised).
TEST(ClosedShapeRecords, ExactBytes) {
    auto prefix = [](const CRect& bounds, LONG slots) {
        const Bytes clearedSymbolAttrib = {0x06, 0, 0, 0, 0x01, 0, 0, 0, 0, 0};
        return objbytes::Bytes()
            .GeoObject(bounds, "S", 3, 1.38f)
            .Dword(0).Dword(0).Long(1).Long(0).Byte(0)  // IDs, removal, mark, flag
            .Dword(4).Dword(1).Double(0.0)             // class, its style, Z
            .Append(clearedSymbolAttrib)
            .Long(1)       // completed
            .Long(slots);  // slot count
    };
    CGeoRect rect(CRect(10, 20, -5, 0));
    CGeoCircle circle(CPoint(-7, 8), CPoint(100, -200));  // radius 233.9: half side 234
    CGeoNPolygon square(CPoint(0, 0), CPoint(10, 0), 4);
    CGeoEllipse ellipse(CRect(30, 0, 0, 10));
    const struct Case {
        CGeoCloseLine* shape;
        Bytes want;
    } cases[] = {
        {&rect, prefix(CRect(10, 20, -5, 0), 2).Long(1).Data()},
        {&ellipse, prefix(CRect(30, 0, 0, 10), 2).Long(1).Data()},
        {&circle, prefix(CRect(-241, -226, 227, 242), 2).Long(1).Long(-7).Long(8).Long(100).Long(-200).Data()},
        {&square, prefix(CRect(-10, -10, 10, 10), 2).Long(1).Long(0).Long(0).Long(10).Long(0).Long(4).Data()},
    };
    for (const Case& c : cases) {
        c.shape->SetObjectName("S");
        c.shape->SetObjectClassID(4);
        c.shape->SetFace(1);
        const char* name = c.shape->GetRuntimeClass()->m_lpszClassName;
        EXPECT_EQ(Store([&](CArchive& ar) { c.shape->Serialize(ar); }), c.want) << name;
        std::unique_ptr<CObject> made(c.shape->GetRuntimeClass()->CreateObject());
        auto* back = static_cast<CGeoCloseLine*>(made.get());
        EXPECT_EQ(objbytes::Load(*back, c.want), 0u) << name;
        EXPECT_EQ(Store([&](CArchive& ar) { back->Serialize(ar); }), c.want) << name;
        EXPECT_EQ(back->GetPosition(), c.shape->GetPosition()) << name;
        for (size_t cut = 0; cut < c.want.size(); cut += 7) {
            std::unique_ptr<CObject> part(c.shape->GetRuntimeClass()->CreateObject());
            EXPECT_THROW(objbytes::Load(*part, Bytes(c.want.begin(), c.want.begin() + cut)), CArchiveException)
                << name << " cut at " << cut;
        }
    }
}
