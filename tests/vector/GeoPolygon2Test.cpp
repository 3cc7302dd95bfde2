// Line-list polygons: chaining the border lines into one ring whatever their directions, handles along
// the chain, resolving stored IDs, copies into a layer, moving, the record and plain drawing.
#include "vector/GeoPolygon2.h"

#include "../core/ObjectBytes.h"
#include "LineTestSupport.h"
#include "core/GeoVectorLayer.h"

#include <win32/gdirecord.h>

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <vector>

using namespace linetest;

namespace {

// A triangle p(0,0) q(100,0) r(0,100) from A p->q, B r->q (reversed in the ring), C r->p (reversed),
// with an inner vertex on A so that handles inside a line are seen too.
struct Triangle {
    CGeoVectorLayer layer{CRect(0, 0, 1000, 1000)};
    CGeoPLine* A = Line({{0, 0}, {50, 0}, {100, 0}});
    CGeoPLine* B = Line({{0, 100}, {100, 0}});
    CGeoPLine* C = Line({{0, 100}, {0, 0}});

    CGeoPLine* Line(const Pts& pts) {
        CGeoPLine* line = MakeLine(pts);
        EXPECT_TRUE(layer.Add(line));
        return line;
    }
    static void List(CGeoPLineList& list, std::initializer_list<CGeoPLine*> lines) {
        for (CGeoPLine* l : lines) list.AddTail(l);
    }
    CGeoPolygon2* Polygon(std::initializer_list<CGeoPLine*> lines) {
        CGeoPLineList list;
        List(list, lines);
        CGeoPolygon2* polygon = new CGeoPolygon2(list);
        EXPECT_TRUE(layer.Add(polygon));
        return polygon;
    }
};

Pts RingOf(const CGeoPolygon2& polygon, int* pCount = nullptr) {
    POINT* pts = nullptr;
    int count = -1;
    if (!polygon.GetPolygonPoints(pts, count)) {
        EXPECT_EQ(pts, nullptr);
        if (pCount) *pCount = count;
        return {};
    }
    Pts out(pts, pts + count + 1);
    delete[] pts;
    if (pCount) *pCount = count;
    return out;
}

Pts HandlesOf(const CGeoPolygon2& polygon) {
    Pts out;
    for (int i = 1; i <= polygon.GetHandleCount(); ++i) out.push_back(polygon.GetHandle(i));
    return out;
}

}  // namespace

TEST(GeoPolygon2, ChainsLinesOfEitherDirectionIntoOneRing) {
    Triangle t;
    CGeoPolygon2* polygon = t.Polygon({t.A, t.B, t.C});
    int count = 0;
    EXPECT_TRUE(SamePoints(RingOf(*polygon, &count), {{0, 0}, {50, 0}, {100, 0}, {0, 100}, {0, 0}}));
    EXPECT_EQ(count, 4);
    EXPECT_EQ(polygon->GetHandleCount(), 3 + 2 + 2 - 3);
    EXPECT_TRUE(SamePoints(HandlesOf(*polygon), {{0, 0}, {50, 0}, {100, 0}, {0, 100}}));
    EXPECT_EQ(polygon->GetHandle(5), CPoint(0, 0));
    EXPECT_EQ(polygon->GetHandle(0), CPoint(0, 0));
    EXPECT_EQ(polygon->GetBounds(), CRect(0, 0, 100, 100));
    EXPECT_EQ(polygon->GetVisiblePoint(), CPoint(50, 50));

    // The first line reversed: it is walked backwards so that it ends where the second begins.
    CGeoPolygon2* turned = t.Polygon({t.C, t.A, t.B});
    EXPECT_TRUE(SamePoints(RingOf(*turned), {{0, 100}, {0, 0}, {50, 0}, {100, 0}, {0, 100}}));
    EXPECT_TRUE(SamePoints(HandlesOf(*turned), {{0, 100}, {0, 0}, {50, 0}, {100, 0}}));
}

TEST(GeoPolygon2, OneClosedLineIsItsOwnRing) {
    Triangle t;
    CGeoPLine* closed = t.Line({{0, 0}, {10, 0}, {10, 10}, {0, 0}});
    CGeoPolygon2* polygon = t.Polygon({closed});
    EXPECT_TRUE(SamePoints(RingOf(*polygon), {{0, 0}, {10, 0}, {10, 10}, {0, 0}}));
    EXPECT_EQ(polygon->GetHandleCount(), 3);
    EXPECT_TRUE(SamePoints(HandlesOf(*polygon), {{0, 0}, {10, 0}, {10, 10}}));
}

TEST(GeoPolygon2, BrokenOrEmptyChainGivesNoRingAndNoHit) {
    Triangle t;
    CGeoPLine* away = t.Line({{500, 500}, {600, 600}});
    CGeoPolygon2* broken = t.Polygon({t.A, t.B, away});
    int count = 7;
    EXPECT_TRUE(RingOf(*broken, &count).empty());
    EXPECT_EQ(count, 0);
    EXPECT_EQ(broken->Intersects(CRect(0, 0, 1000, 1000)), 0);

    CGeoPolygon2 empty;
    EXPECT_TRUE(RingOf(empty).empty());
    EXPECT_EQ(empty.GetHandleCount(), 0);
    EXPECT_EQ(empty.GetHandle(1), CPoint(0, 0));

    CGeoPolygon2* whole = t.Polygon({t.A, t.B, t.C});
    EXPECT_EQ(whole->Intersects(CRect(10, 10, 20, 20)), 1);    // inside
    EXPECT_EQ(whole->Intersects(CRect(90, 90, 200, 200)), 0);  // beyond the hypotenuse
    // The base's hit test stays reachable beside the new overload.
    EXPECT_NE(whole->Intersects(CRect(10, 10, 20, 20), SELOBJ_INSIDE), 2);
}

TEST(GeoPolygon2, BuildBorderLineResolvesIdsOrLeavesTheBorderEmpty) {
    Triangle t;
    CGeoPolygon2* polygon = t.Polygon({t.A, t.B, t.C});
    ASSERT_EQ(polygon->GetLineIDs().GetSize(), 3);
    EXPECT_EQ(polygon->GetLineIDs()[1], t.B->GetID());

    // Load the IDs through the record, then resolve them.
    const Bytes data = Store([&](CArchive& ar) {
        CGeoPLineList list;
        Triangle::List(list, {t.A, t.B, t.C});
        CGeoPolygon2 source(list);
        source.Serialize(ar);
    });
    Load(data, [&](CArchive& ar) { polygon->Serialize(ar); });
    EXPECT_TRUE(polygon->GetBorderLines().IsEmpty());
    polygon->BuildBorderLine();
    EXPECT_EQ(polygon->GetBorderLines().GetCount(), 3);
    EXPECT_EQ(polygon->GetBounds(), CRect(0, 0, 100, 100));

    // An ID the layer does not know, or one naming another polygon: no border, IDs kept.
    CGeoPolygon2* other = t.Polygon({t.A, t.B, t.C});
    for (DWORD bad : {DWORD{9999}, DWORD(polygon->GetID())}) {
        const Bytes bytes = Store([&](CArchive& ar) {
            other->CGeoVectorObject::Serialize(ar);
            CDWordArray wrong;
            wrong.Add(t.A->GetID());
            wrong.Add(bad);
            wrong.Serialize(ar);
        });
        Load(bytes, [&](CArchive& ar) { other->Serialize(ar); });
        other->BuildBorderLine();
        EXPECT_TRUE(other->GetBorderLines().IsEmpty());
        EXPECT_EQ(other->GetLineIDs().GetSize(), 2);
        EXPECT_TRUE(RingOf(*other).empty());
    }
}

TEST(GeoPolygon2, RecordIsTheVectorObjectThenTheIdArray) {
    Triangle t;
    CGeoPolygon2* polygon = t.Polygon({t.A, t.B, t.C});
    const Bytes head = Store([&](CArchive& ar) { polygon->CGeoVectorObject::Serialize(ar); });
    const Bytes whole = Store([&](CArchive& ar) { polygon->Serialize(ar); });
    objbytes::Bytes want;
    want.Append(head).Word(3).Dword(t.A->GetID()).Dword(t.B->GetID()).Dword(t.C->GetID());
    EXPECT_EQ(whole, want.Data());

    CGeoPolygon2 back;
    Load(whole, [&](CArchive& ar) { back.Serialize(ar); });
    ASSERT_EQ(back.GetLineIDs().GetSize(), 3);
    EXPECT_EQ(back.GetLineIDs()[2], t.C->GetID());
    EXPECT_EQ(back.GetBounds(), polygon->GetBounds());

    // Cut short inside the IDs.
    const Bytes cut(whole.begin(), whole.end() - 2);
    CGeoPolygon2 damaged;
    EXPECT_THROW(Load(cut, [&](CArchive& ar) { damaged.Serialize(ar); }), CArchiveException);
}

TEST(GeoPolygon2, DuplicateCopiesTheLinesIntoTheLayerOnlyWhenItHasOne) {
    Triangle t;
    CGeoPolygon2* polygon = t.Polygon({t.A, t.B, t.C});

    // No layer: an empty border.
    std::unique_ptr<CGeoPolygon2> loose(static_cast<CGeoPolygon2*>(polygon->Duplicate(0, 0)));
    ASSERT_TRUE(loose);
    EXPECT_TRUE(loose->GetBorderLines().IsEmpty());
    EXPECT_EQ(loose->GetLineIDs().GetSize(), 0);

    // In the layer: new lines of their own, added to the layer with new IDs.
    CGeoPolygon2* copy = new CGeoPolygon2;
    ASSERT_TRUE(t.layer.Add(copy));
    ASSERT_TRUE(copy->CopyData(*polygon));
    ASSERT_EQ(copy->GetBorderLines().GetCount(), 3);
    CGeoPLine* first = copy->GetBorderLines().GetHead();
    EXPECT_NE(first, t.A);
    EXPECT_EQ(t.layer.FindObj(first->GetID()), first);
    EXPECT_EQ(copy->GetLineIDs()[0], first->GetID());
    EXPECT_TRUE(SamePoints(RingOf(*copy), RingOf(*polygon)));
}

TEST(GeoPolygon2, MoveShiftsTheLinesAndTheBounds) {
    Triangle t;
    CGeoPolygon2* polygon = t.Polygon({t.A, t.B, t.C});
    polygon->Move(CSize(5, -7));
    EXPECT_TRUE(SamePoints(PointsOf(*t.B), {{5, 93}, {105, -7}}));
    EXPECT_EQ(polygon->GetBounds(), CRect(5, -7, 105, 93));
    EXPECT_TRUE(SamePoints(RingOf(*polygon), {{5, -7}, {55, -7}, {105, -7}, {5, 93}, {5, -7}}));
    EXPECT_EQ(polygon->CanMoveHandle(1), 0);
    EXPECT_EQ(polygon->CanAddHandle(1), 0);
    EXPECT_EQ(polygon->CanDeleteHandle(1), 0);
}

TEST(GeoPolygon2, NamesAndStates) {
    CGeoPolygon2 polygon;
    polygon.DefaultObjectName();
    const CString name = polygon.GetObjectName();
    EXPECT_EQ(name.Left(7), CString("多边形 "));
    EXPECT_EQ(polygon.GetObjectTypeName(), CString("多边形"));
    GEOVIEW view = GetDefaultGEOVIEW();
    polygon.OnPrepareGeoView(view, SHOWSTATE_1);
    EXPECT_EQ(view.m_crLineColor, 0x0000FFu);
    EXPECT_EQ(view.m_fLineWidth, 10.0f);
    polygon.OnPrepareGeoView(view, SHOWSTATE_3);
    EXPECT_EQ(view.m_nFillShape, 4);
    EXPECT_EQ(view.m_crFillColor, 0x00FF00u);
}

namespace {

struct GeoPolygon2Draw : ::testing::Test {
    void SetUp() override { m_dc.Attach(win32::CreateRecordingDC(400, 400)); }
    void TearDown() override { ::DeleteDC(m_dc.Detach()); }
    std::vector<win32::GdiRecord> All() const { return win32::GetRecording(m_dc.m_hDC); }
    void Draw(CGeoPolygon2& polygon) {
        polygon.OnDrawWithoutSymbolization(&m_dc, 10, 10, CPoint(0, -300), CPoint(0, 0), view, nullptr, 0, 0, 1);
    }
    CDC m_dc;
    GEOVIEW view = GetDefaultGEOVIEW();
};

}  // namespace

TEST_F(GeoPolygon2Draw, PlainDrawingFillsAndOutlinesTheRing) {
    Triangle t;
    CGeoPolygon2* polygon = t.Polygon({t.A, t.B, t.C});
    view.m_nLineShape = PS_DASH;
    view.m_fLineWidth = 2.9f;
    view.m_crLineColor = 0x0000FF;
    view.m_nFillShape = 0;
    view.m_crFillColor = 0x00FF00;
    view.m_bTransparent = 0;
    Draw(*polygon);
    auto records = All();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].call, "Polygon");
    EXPECT_TRUE(SamePoints(records[0].points, {{0, 300}, {50, 300}, {100, 300}, {0, 200}, {0, 300}}));
    EXPECT_EQ(records[0].pen.lopnStyle & PS_STYLE_MASK, UINT(PS_DASH));
    EXPECT_EQ(records[0].pen.lopnWidth.x, 2);
    EXPECT_EQ(records[0].brush.lbStyle, UINT(BS_SOLID));
    EXPECT_EQ(records[0].brush.lbColor, 0x00FF00u);
    EXPECT_EQ(records[0].rop2, R2_COPYPEN);

    // Transparent: a masked fill without outline, then the outline without fill.
    win32::ClearRecording(m_dc.m_hDC);
    view.m_bTransparent = 1;
    view.m_nFillShape = HS_CROSS;
    Draw(*polygon);
    records = All();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].rop2, R2_MASKPEN);
    EXPECT_EQ(records[0].pen.lopnStyle, UINT(PS_NULL));
    EXPECT_EQ(records[0].brush.lbStyle, UINT(BS_HATCHED));
    EXPECT_EQ(records[0].brush.lbHatch, ULONG_PTR(HS_CROSS));
    EXPECT_EQ(records[1].rop2, R2_COPYPEN);
    EXPECT_EQ(records[1].brush.lbStyle, UINT(BS_NULL));
    EXPECT_EQ(records[1].pen.lopnWidth.x, 2);
}

TEST_F(GeoPolygon2Draw, NothingForBrokenChainsOrSymbolsAndOddStylesStaySafe) {
    Triangle t;
    CGeoPLine* away = t.Line({{500, 500}, {600, 600}});
    CGeoPolygon2* broken = t.Polygon({t.A, t.B, away});
    Draw(*broken);
    CGeoPolygon2* polygon = t.Polygon({t.A, t.B, t.C});
    polygon->OnDrawWithSymbolization(&m_dc, 10, 10, CPoint(0, -300), CPoint(0, 0), view, nullptr, 0, 0, nullptr, 0);
    EXPECT_TRUE(All().empty());

    // A fill shape no hatch brush takes and an absurd line width still draw one solid, thin polygon.
    view.m_bTransparent = 0;
    view.m_nFillShape = 77;
    view.m_fLineWidth = std::numeric_limits<float>::infinity();
    Draw(*polygon);
    const auto records = All();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].brush.lbStyle, UINT(BS_SOLID));
    EXPECT_LE(records[0].pen.lopnWidth.x, 1);
}
