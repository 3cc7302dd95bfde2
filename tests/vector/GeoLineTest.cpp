// The line base: shape type codes and the conversion gate, the conversion protocol, default names,
// rectangle selection, and the open line's handles.
#include "LineTestSupport.h"

#include "core/CoreResources.h"
#include "core/ObjectBytes.h"
#include "core/GeoView.h"
#include "vector/GeoCircle.h"
#include "vector/GeoEllipse.h"
#include "vector/GeoLine.h"
#include "vector/GeoLineType.h"
#include "vector/GeoMixLine.h"
#include "vector/GeoNPolygon.h"
#include "vector/GeoPLine.h"
#include "vector/GeoPolygonLine.h"
#include "vector/GeoRAPolygon.h"
#include "vector/GeoRect.h"
#include "vector/GeoRoundRect.h"
#include "vector/GeoSPLine.h"
#include "vector/GeoTriPointCircle.h"

#include <afx/CursorResource.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <set>

using namespace linetest;

// A polyline class of the tests' own: it has no row in the conversion table, so it converts as its
// base does; and it turns into a polyline, so the protocol around ConvertMeTo can be watched.
class CTestConvertLine : public CGeoPLine {
    DECLARE_SERIAL(CTestConvertLine)
public:
    CGeoLine* ConvertMeTo(WORD code, DWORD flags) const override {
        ++calls;
        lastFlags = flags;
        if (!CanConvertTo(code, flags)) return nullptr;
        CGeoPLine* out = new CGeoPLine(CGeoPLine::GetPoints(), GetPointBuffer(), TRUE);
        out->SetUnit(GetUnit());
        return out;
    }
    mutable int calls = 0;
    mutable DWORD lastFlags = 0;
};
IMPLEMENT_SERIAL(CTestConvertLine, CGeoPLine, 1)

// Records the rectangle that Intersects hands to Through.
class CThroughLine : public CGeoPLine {
public:
    int Through(const CRect& rect) const override {
        ++calls;
        seen = rect;
        return answer;
    }
    mutable int calls = 0;
    mutable CRect seen;
    int answer = 0;
};

namespace {

TEST(GeoLineType, CodesKeepTheLowByteOfTheParameter) {
    struct Case {
        WORD type, param, code;
    };
    const Case cases[] = {
        {12, 6, 0x060C}, {1, 0x107, 0x0701}, {0, 0, 0x0000}, {10, 5, 0x050A}, {3, 0xFF00, 0x0003},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GLT_TYPE(c.type, c.param), c.code) << c.type << " " << c.param;
        EXPECT_EQ(GetGLTType(c.code), c.type & 0xFF);
        EXPECT_EQ(GetGLTParam(c.code), c.param & 0xFF);
    }
}

// Every type byte against every line class built so far. The parameter byte never matters.
TEST(GeoLineType, ConversionGateOfEveryLineClass) {
    const Pts two = {{0, 0}, {10, 0}};
    const Pts three = {{0, 0}, {10, 0}, {10, 10}};
    CGeoLine line;
    CGeoOpenLine open;
    std::unique_ptr<CGeoPLine> pline2(MakeLine(two)), pline3(MakeLine(three)), pline0(MakeLine({}));
    CTestConvertLine inherits;
    for (const POINT& p : three) inherits.AddPoint(p);
    // The spline, the polygon line and the right-angle polygon accept their targets from any size.
    CGeoSPLine spline(3);
    for (const POINT& p : two) spline.AddPoint(p);
    CGeoMixedLine mixed;
    for (const POINT& p : two) mixed.AddPoint(p);
    CGeoPolygonLine ring(2, two.data(), TRUE);
    CGeoRAPolygon ra(2, two.data(), TRUE);
    CGeoCircle circle(CPoint(0, 0), CPoint(5, 0));
    CGeoNPolygon npolygon(CPoint(0, 0), CPoint(5, 0), 5);
    CGeoRect rect(CRect(0, 0, 10, 10));
    CGeoEllipse ellipse(CRect(0, 0, 10, 10));
    CGeoRectCircle squareCircle(CRect(0, 0, 10, 10));
    CGeoRoundRect roundRect(CRect(0, 0, 10, 10), CPoint(4, 4));
    CGeoTriPointArc arc(CPoint(10, 0), CPoint(0, 10), CPoint(-10, 0));
    CGeoTriPointCircle triCircle(CPoint(10, 0), CPoint(0, 10), CPoint(-10, 0));

    struct Row {
        const char* name;
        const CGeoLine* source;
        std::set<int> accepted;
    };
    const Row rows[] = {
        {"CGeoLine", &line, {}},
        {"CGeoOpenLine", &open, {}},
        {"CGeoPLine, no point", pline0.get(), {GLT_SPLINE}},
        {"CGeoPLine, 2 points", pline2.get(), {GLT_SPLINE}},
        {"CGeoPLine, 3 points", pline3.get(), {GLT_SPLINE, GLT_POLYGONLINE, GLT_RAPOLYGON}},
        {"a class without a row, 3 points", &inherits, {GLT_SPLINE, GLT_POLYGONLINE, GLT_RAPOLYGON}},
        {"CGeoSPLine", &spline, {GLT_PLINE, GLT_POLYGONLINE}},
        {"CGeoMixedLine", &mixed, {GLT_PLINE, GLT_SPLINE}},
        {"CGeoPolygonLine", &ring, {GLT_PLINE, GLT_RAPOLYGON}},
        {"CGeoRAPolygon", &ra, {GLT_PLINE, GLT_POLYGONLINE}},
        {"CGeoCircle", &circle,
         {GLT_PLINE, GLT_TRIPOINTCIRCLE, GLT_RECTCIRCLE, GLT_TRIPOINTARC, GLT_ELLIPSE, GLT_POLYGONLINE, GLT_NPOLYGON}},
        {"CGeoNPolygon", &npolygon, {GLT_PLINE, GLT_CIRCLE, GLT_POLYGONLINE}},
        {"CGeoRect", &rect, {GLT_PLINE, GLT_ELLIPSE, GLT_ROUNDRECT, GLT_POLYGONLINE, GLT_RAPOLYGON}},
        {"CGeoEllipse", &ellipse, {GLT_PLINE, GLT_CIRCLE, GLT_TRIPOINTCIRCLE, GLT_RECT, GLT_ROUNDRECT, GLT_POLYGONLINE}},
        {"CGeoRectCircle", &squareCircle, {GLT_PLINE, GLT_CIRCLE, GLT_ELLIPSE, GLT_RECT, GLT_POLYGONLINE}},
        {"CGeoRoundRect", &roundRect, {GLT_PLINE, GLT_ELLIPSE, GLT_RECT, GLT_POLYGONLINE}},
        {"CGeoTriPointArc", &arc, {GLT_PLINE, GLT_CIRCLE, GLT_TRIPOINTCIRCLE}},
        {"CGeoTriPointCircle", &triCircle,
         {GLT_PLINE, GLT_CIRCLE, GLT_RECTCIRCLE, GLT_TRIPOINTARC, GLT_ELLIPSE, GLT_POLYGONLINE}},
    };
    for (const Row& row : rows) {
        for (int type = 0; type <= 13; ++type) {
            for (WORD param : {0, 5, 0xFF}) {
                bool want = row.accepted.count(type) > 0;
                EXPECT_EQ(row.source->CanConvertTo(GLT_TYPE(type, param), 0) != 0, want)
                    << row.name << ", type " << type << ", parameter " << param;
            }
        }
        EXPECT_EQ(row.source->CanConvertTo(0x0120, 0), 0) << row.name;  // type byte 32: no class
    }
    EXPECT_EQ(FindLineConversionRow(RUNTIME_CLASS(CTestConvertLine)), FindLineConversionRow(RUNTIME_CLASS(CGeoPLine)));
    EXPECT_EQ(FindLineConversionRow(RUNTIME_CLASS(CGeoVectorObject)), nullptr);
}

TEST(GeoLineConvert, TheSourceNeverChangesAndTheCallerOwnsTheResult) {
    CTestConvertLine source;
    source.AddPoint(0, 0);
    source.AddPoint(10, 0);
    source.SetUnit(6);
    source.SetZ(42.5);
    const CString name = source.GetObjectName();

    // Refused by the gate: ConvertMeTo is not even asked.
    EXPECT_EQ(source.ConvertTo(GLT_TYPE(GLT_POLYGONLINE, 0), 0), nullptr);
    EXPECT_EQ(source.ConvertTo(GLT_TYPE(GLT_PLINE, 0), 0), nullptr);
    EXPECT_EQ(source.calls, 0);

    std::unique_ptr<CGeoLine> out(source.ConvertTo(GLT_TYPE(GLT_SPLINE, 9), 7));
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(source.calls, 1);
    EXPECT_EQ(source.lastFlags, 7u);  // the flags travel unchanged
    EXPECT_EQ(out->GetZ(0), 42.5);
    EXPECT_EQ(out->GetUnit(), 6);
    EXPECT_NE(out->GetObjectName(), name);
    EXPECT_TRUE(SamePoints(PointsOf(static_cast<CGeoPLine&>(*out)), {{0, 0}, {10, 0}}));
    // The source is as it was.
    EXPECT_TRUE(SamePoints(PointsOf(source), {{0, 0}, {10, 0}}));
    EXPECT_EQ(source.GetObjectName(), name);
    EXPECT_EQ(source.GetUnit(), 6);

    // Lines without converters refuse through the protocol as well.
    CGeoLine line;
    EXPECT_EQ(line.ConvertTo(GLT_TYPE(GLT_PLINE, 0), 0), nullptr);
    EXPECT_EQ(line.ConvertMeTo(GLT_TYPE(GLT_SPLINE, 0), 0), nullptr);
}

TEST(GeoLineNamesDeathTest, FirstLineOfAProcessIsNumberZeroWhateverItsClass) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            CGeoPLine first;
            CGeoOpenLine second;
            CGeoLine third;
            bool ok = first.GetObjectName() == CString("线 0") && second.GetObjectName() == CString("线 1") &&
                      third.GetObjectName() == CString("线 2");
            std::exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(GeoLine, LinesShareOneCounter) {
    CGeoLine a;
    CGeoPLine b;
    CString na = a.GetObjectName(), nb = b.GetObjectName();
    ASSERT_EQ(na.Left(3), CString("线 "));
    EXPECT_EQ(std::atoi(nb.Mid(3)), std::atoi(na.Mid(3)) + 1);
    b.SetObjectName("");  // the current counter again
    EXPECT_EQ(b.GetObjectName(), nb);
}

TEST(GeoLine, BaseBodies) {
    CGeoLine line;
    CPoint s(1, 1), e(2, 2);
    EXPECT_EQ(line.GetStartAndEndPoint(s, e), 0);
    EXPECT_EQ(line.AddPoint(3, 4), 1);
    EXPECT_EQ(line.GetPoints(), 0);  // nothing stored
    EXPECT_EQ(line.PointOnLine(POINT{0, 0}), -1);
    EXPECT_EQ(line.PointOnLine(POINT{0, 0}, 5), -1);
    EXPECT_EQ(line.LineXLine(line), 0);
    EXPECT_EQ(line.Length(), 0.0);
    EXPECT_EQ(line.Through(CRect(0, 0, 1, 1)), 1);
    EXPECT_EQ(line.GetPoint(3), CPoint(0, 0));
    line.Complete(1);
    EXPECT_EQ(line.IsCompleted(), 1);

    std::unique_ptr<CGeoObject> dup(line.Duplicate(0, 0));
    ASSERT_NE(dup, nullptr);
    EXPECT_TRUE(dup->IsKindOf(RUNTIME_CLASS(CGeoLine)));
    EXPECT_EQ(static_cast<CGeoLine&>(*dup).IsCompleted(), 1);

    // A line record is the vector-object record, then the completed flag and the slot count.
    line.SetObjectName("L");
    line.SetObjectClassID(4);
    const Bytes clearedSymbolAttrib = {0x06, 0, 0, 0, 0x01, 0, 0, 0, 0, 0};
    const Bytes want = objbytes::Bytes()
                           .GeoObject(CRect(0, 0, 0, 0), "L", 3, 1.38f)
                           .Dword(0).Dword(0).Long(1).Long(0).Byte(0)  // IDs, removal, mark, flag
                           .Dword(4).Dword(1).Double(0.0)             // class, its style, Z
                           .Append(clearedSymbolAttrib)
                           .Long(1)  // completed
                           .Long(0)  // slot count
                           .Data();
    EXPECT_EQ(Store([&](CArchive& ar) { line.Serialize(ar); }), want);
    CGeoLine back;
    Load(want, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.IsCompleted(), 1);
    EXPECT_EQ(back.GetObjectName(), CString("L"));
}

TEST(GeoOpenLine, HandlesAreThePoints) {
    std::unique_ptr<CGeoPLine> line(MakeLine({{0, 0}, {10, 5}, {20, 0}, {30, 5}}));
    EXPECT_EQ(line->GetHandleCount(), 4);
    EXPECT_EQ(line->GetHandle(1), CPoint(0, 0));
    EXPECT_EQ(line->GetHandle(4), CPoint(30, 5));
    EXPECT_EQ(line->GetHandle(0), CPoint(0, 0));  // point -1
    EXPECT_EQ(line->GetHandle(5), CPoint(0, 0));
    EXPECT_EQ(line->GetVisiblePoint(), CPoint(20, 0));
    CPoint s, e;
    EXPECT_EQ(line->GetStartAndEndPoint(s, e), 1);
    EXPECT_EQ(s, CPoint(0, 0));
    EXPECT_EQ(e, CPoint(30, 5));
    EXPECT_EQ(line->GetFirstPoint(), CPoint(0, 0));
    EXPECT_EQ(line->GetLastPoint(), CPoint(30, 5));

    GEOVIEW view;
    view.SetSymbol(SYMBOL_LINE, 77);
    view.SetSymbol(SYMBOL_POINT, 5);
    EXPECT_EQ(line->GetObjectSymbolID(view), 77);
}

TEST(GeoOpenLine, HandleCursorIsTheLibrarysResource322) {
    CGeoOpenLine open;
    HCURSOR c = open.GetHandleCursor(1);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(open.GetHandleCursor(0), c);
    EXPECT_EQ(c, AfxLoadCursorResource(IDC_GEO_HANDLE));
    EXPECT_NE(c, LoadCursor(nullptr, IDC_SIZENWSE));
    const CursorResource* image = AfxGetCursorResource(c);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->xHotSpot, 15);
    EXPECT_EQ(image->yHotSpot, 15);
    // The hot spot is the centre of a small square outline, itself transparent.
    auto black = [&](int x, int y) { return !(image->andMask[y * 4 + x / 8] & (0x80 >> (x % 8))); };
    EXPECT_FALSE(black(15, 15));
    EXPECT_TRUE(black(12, 15));
    EXPECT_TRUE(black(18, 12));
    EXPECT_TRUE(black(3, 3));  // an arrow tip
    EXPECT_EQ(AfxLoadCursorResource(IDC_GEO_HANDLE + 1), nullptr);
}

TEST(GeoLineSelect, RectangleSelection) {
    struct Case {
        const char* name;
        Pts pts;
        CRect rect;
        SELOBJMODE mode;
        int want;
        int throughCalls;
    };
    const Case cases[] = {
        // A sloping line with bounds (0, 0, 100, 100).
        {"spans the full height, part of the width", {{0, 0}, {100, 100}}, CRect(40, -10, 60, 110), SELOBJ_MEET, 1, 0},
        {"spans the full width", {{0, 0}, {100, 100}}, CRect(-5, 40, 105, 60), SELOBJ_MEET, 1, 0},
        {"strictly inside: Through decides", {{0, 0}, {100, 100}}, CRect(60, 10, 90, 40), SELOBJ_MEET, 0, 1},
        {"given unnormalised", {{0, 0}, {100, 100}}, CRect(90, 40, 60, 10), SELOBJ_MEET, 0, 1},
        {"outside the bounds", {{0, 0}, {100, 100}}, CRect(200, 200, 300, 300), SELOBJ_MEET, 0, 0},
        {"inside mode: bounds inside", {{0, 0}, {100, 100}}, CRect(0, 0, 100, 100), SELOBJ_INSIDE, 1, 0},
        {"inside mode: bounds not inside", {{0, 0}, {100, 100}}, CRect(0, 0, 99, 100), SELOBJ_INSIDE, 0, 0},
        // Point-sized bounds: the rectangle must hold the point, right and bottom edges excluded.
        {"point inside", {{5, 5}, {5, 5}}, CRect(0, 0, 10, 10), SELOBJ_MEET, 1, 0},
        {"point on the left edge", {{5, 5}, {5, 5}}, CRect(5, 0, 10, 10), SELOBJ_MEET, 1, 0},
        {"point on the right edge", {{10, 5}, {10, 5}}, CRect(0, 0, 10, 10), SELOBJ_MEET, 0, 0},
        {"point on the bottom edge", {{5, 10}, {5, 10}}, CRect(0, 0, 10, 10), SELOBJ_MEET, 0, 0},
        // A horizontal line: the segment across its bounds against the rectangle.
        {"horizontal line crossed", {{0, 5}, {100, 5}}, CRect(40, 0, 60, 10), SELOBJ_MEET, 1, 0},
        {"horizontal line missed", {{0, 5}, {100, 5}}, CRect(40, 6, 60, 10), SELOBJ_MEET, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CThroughLine line;
        for (const POINT& p : c.pts) line.AddPoint(p);
        EXPECT_EQ(line.Intersects(c.rect, c.mode) != 0, c.want != 0);
        EXPECT_EQ(line.calls, c.throughCalls);
        if (c.throughCalls) {
            EXPECT_EQ(line.seen, CRect(60, 10, 90, 40));
        }
    }
}

TEST(GeoLine, MoveToUsesOnlyTheTopLeftCorner) {
    std::unique_ptr<CGeoPLine> line(MakeLine({{0, 0}, {10, 20}}));
    line->MoveTo(CRect(0, 0, 10, 20));  // the bounds themselves: nothing
    EXPECT_TRUE(SamePoints(PointsOf(*line), {{0, 0}, {10, 20}}));
    line->MoveTo(CRect(100, 200, 101, 201));
    EXPECT_TRUE(SamePoints(PointsOf(*line), {{100, 200}, {110, 220}}));
    EXPECT_EQ(line->GetBounds(), CRect(100, 200, 110, 220));
}

}  // namespace
