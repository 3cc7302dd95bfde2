// Map-sheet index polygons: the sheet outline from the series' corner coordinates, its key string, the
// record with the three strings, and the sheet number written in the middle of the drawn polygon.
#include "vector/GeoMapIndexPolygon.h"

#include "../core/ObjectBytes.h"
#include "LineTestSupport.h"
#include "core/GeoVectorLayer.h"

#include <pellion/MapInfo.h>
#include <win32/gdirecord.h>

#include <gtest/gtest.h>

#include <climits>
#include <vector>

using namespace linetest;

namespace {

std::vector<LONG> KeysOf(CGeoPolygon& polygon) {
    CGeoKeyString k;
    polygon.GetKeyString(k, 0);
    return std::vector<LONG>(k.GetData(), k.GetData() + k.GetSize());
}

CGeoPLine* OutlineOf(const CGeoPolygon& polygon) {
    CGeoPolyBorder border;
    polygon.GetPolyBorder(border);
    return border.GetSize() > 0 ? border[0].arc : nullptr;
}

}  // namespace

TEST(MapInfo, SheetCornersInKilometres) {
    MapInfo sheet(" 1.5-2 ", 0);
    ASSERT_TRUE(sheet.IsValid());
    const double want[4][2] = {{2.0, 2.0}, {2.5, 2.0}, {2.5, 1.5}, {2.0, 1.5}};
    for (int corner = 0; corner < 4; ++corner) {
        double x = -1, y = -1;
        EXPECT_EQ(sheet.GetMapCornerCoordinate(corner, x, y, 2, -1), 1);
        EXPECT_EQ(x, want[corner][0]) << corner;
        EXPECT_EQ(y, want[corner][1]) << corner;
    }
    for (const char* bad : {"", "1.5", "1.5-", "a-2", "1.5-2x", "-2"}) {
        MapInfo unknown(bad, 0);
        double x = 7, y = 8;
        EXPECT_EQ(unknown.GetMapCornerCoordinate(0, x, y, 2, -1), 0) << bad;
        EXPECT_EQ(x, 7);
        EXPECT_EQ(y, 8);
    }
    EXPECT_FALSE(MapInfo("1.5-2", 1).IsValid());
}

TEST(GeoMapIndexPolygon, SheetOutlineIsAddedToTheLayerAndKeyed) {
    struct Case {
        CRect bounds;
        Pts outline;
    } cases[] = {
        // A layer starting at (0, 0) takes the corners times 1000000 as they are.
        {CRect(0, 0, 3000000, 3000000),
         {{2000000, 2000000}, {2500000, 2000000}, {2500000, 1500000}, {2000000, 1500000}, {2000000, 2000000}}},
        // Otherwise relative to the layer's top-left corner.
        {CRect(100, 200, 3000000, 3000000),
         {{1999900, 1999800}, {2499900, 1999800}, {2499900, 1499800}, {1999900, 1499800}, {1999900, 1999800}}},
    };
    for (const Case& c : cases) {
        CGeoVectorLayer layer(c.bounds);
        CGeoMapIndexPolygon* sheet = new CGeoMapIndexPolygon(&layer, "1.5-2");
        CGeoPLine* outline = OutlineOf(*sheet);
        ASSERT_NE(outline, nullptr);
        EXPECT_EQ(layer.FindObj(outline->GetID()), outline);
        EXPECT_TRUE(SamePoints(PointsOf(*outline), c.outline));
        EXPECT_EQ(KeysOf(*sheet), (std::vector<LONG>{LONG(outline->GetID()), POLYGON_RING_END}));
        EXPECT_EQ(sheet->GetMapNumber(), CString("1.5-2"));
        EXPECT_EQ(sheet->GetMapName(), CString(""));
        EXPECT_EQ(sheet->GetFileName(), CString(""));
        // Not added by itself.
        EXPECT_EQ(sheet->GetLayer(), nullptr);
        ASSERT_TRUE(layer.Add(sheet));
        EXPECT_EQ(sheet->GetBounds(), CRect(c.outline[3].x, c.outline[3].y, c.outline[1].x, c.outline[1].y));
    }
}

TEST(GeoMapIndexPolygon, UnknownSheetsAndFarCornersStaySafe) {
    // Unknown: the corners stay at zero, so the outline collapses onto the layer's origin.
    CGeoVectorLayer layer(CRect(10, 20, 1000, 1000));
    CGeoMapIndexPolygon* unknown = new CGeoMapIndexPolygon(&layer, "no sheet");
    ASSERT_NE(OutlineOf(*unknown), nullptr);
    EXPECT_TRUE(SamePoints(PointsOf(*OutlineOf(*unknown)), Pts(5, POINT{-10, -20})));
    unknown->Remove();

    // Corners far beyond the 32-bit range are clamped, not wrapped.
    CGeoVectorLayer far(CRect(0, 0, 1000, 1000));
    CGeoMapIndexPolygon* big = new CGeoMapIndexPolygon(&far, "99999-99999");
    ASSERT_NE(OutlineOf(*big), nullptr);
    EXPECT_EQ(OutlineOf(*big)->GetPoint(0), CPoint(INT_MAX, INT_MAX));
    big->Remove();

    CGeoMapIndexPolygon loose(nullptr, "1.5-2");
    EXPECT_TRUE(KeysOf(loose).empty());
    EXPECT_EQ(loose.GetMapNumber(), CString("1.5-2"));
}

TEST(GeoMapIndexPolygon, RecordAppendsTheThreeStrings) {
    CGeoVectorLayer layer(CRect(0, 0, 3000000, 3000000));
    CGeoMapIndexPolygon* sheet = new CGeoMapIndexPolygon(&layer, "1.5-2");
    ASSERT_TRUE(layer.Add(sheet));
    sheet->SetMapName("图幅");
    sheet->SetFileName("a.map");
    const Bytes head = Store([&](CArchive& ar) { sheet->CGeoPolygon::Serialize(ar); });
    const Bytes whole = Store([&](CArchive& ar) { sheet->Serialize(ar); });
    objbytes::Bytes want;
    want.Append(head).Str("图幅").Str("1.5-2").Str("a.map");
    EXPECT_EQ(whole, want.Data());

    CGeoMapIndexPolygon back;
    Load(whole, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.GetMapName(), CString("图幅"));
    EXPECT_EQ(back.GetMapNumber(), CString("1.5-2"));
    EXPECT_EQ(back.GetFileName(), CString("a.map"));
    EXPECT_EQ(KeysOf(back), KeysOf(*sheet));

    CGeoMapIndexPolygon cut;
    EXPECT_THROW(Load(Bytes(whole.begin(), whole.end() - 3), [&](CArchive& ar) { cut.Serialize(ar); }),
                 CArchiveException);
}

namespace {

struct SheetDrawing : ::testing::Test {
    void SetUp() override { m_dc.Attach(win32::CreateRecordingDC(600, 600)); }
    void TearDown() override { ::DeleteDC(m_dc.Detach()); }
    std::vector<win32::GdiRecord> Draw(CGeoMapIndexPolygon& sheet, UINT scale, int xorMode) {
        win32::ClearRecording(m_dc.m_hDC);
        sheet.OnDrawWithoutSymbolization(&m_dc, scale, scale, CPoint(-2000000, -2000000), CPoint(0, 0), view, nullptr,
                                         xorMode, 0, 1);
        return win32::GetRecording(m_dc.m_hDC);
    }
    CDC m_dc;
    GEOVIEW view = GetDefaultGEOVIEW();
    CGeoVectorLayer layer{CRect(0, 0, 3000000, 3000000)};
};

}  // namespace

TEST_F(SheetDrawing, NumberIsCentredAndClippedToTheGrownBounds) {
    CGeoMapIndexPolygon* sheet = new CGeoMapIndexPolygon(&layer, "1.5-2");
    ASSERT_TRUE(layer.Add(sheet));
    const CSize extent = m_dc.GetTextExtent(CString("1.5-2"));
    ASSERT_GT(extent.cx, 0);

    // The sheet covers device (0, 0) - (500, 500): grown by 10 its centre is (250, 250).
    auto records = Draw(*sheet, 10000, 0);
    ASSERT_GE(records.size(), 2u);
    EXPECT_EQ(records.front().call, "Polygon");
    const win32::GdiRecord& text = records.back();
    EXPECT_EQ(text.call, "ExtTextOut");
    EXPECT_EQ(text.text, "1.5-2");
    EXPECT_EQ(text.flags, UINT(ETO_OPAQUE | ETO_CLIPPED));
    ASSERT_EQ(text.points.size(), 3u);
    const POINT at{250 - extent.cx / 2, 250 - extent.cy / 2};
    EXPECT_TRUE(SamePoints(text.points, {at, at, {250 + extent.cx / 2, 250 + extent.cy / 2}}));
    EXPECT_EQ(text.rop2, R2_COPYPEN);

    // A sheet a few pixels wide: the clip stops 10 pixels beyond it; XOR text, the DC put back.
    records = Draw(*sheet, 1000000, 1);
    const win32::GdiRecord& small = records.back();
    ASSERT_EQ(small.call, "ExtTextOut");
    ASSERT_EQ(small.points.size(), 3u);
    EXPECT_EQ(small.rop2, R2_XORPEN);
    EXPECT_EQ(small.points[1].x, -10);
    EXPECT_EQ(small.points[2].x, 15);
    EXPECT_EQ(m_dc.GetROP2(), R2_COPYPEN);
}
