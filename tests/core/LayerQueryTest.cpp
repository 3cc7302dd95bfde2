// Vector layers: the draw loop (clip, class filter, draw flag, scale ranges), hiding and blinking,
// searches by rectangle and user ID, bounds, transformation and conversion of objects.
#include "DrawTestSupport.h"

#include "core/GeoGClass.h"
#include "core/GeoVectorLayer.h"
#include "vector/GeoPLine.h"

#include <pellion/GeoGaussTransformer.h>

#include <gtest/gtest.h>
#include <proj.h>

#include <cmath>
#include <set>

namespace {

// Object coordinates are relative to the layer's top-left corner (1000, 2000); at scale 10 with origin
// (0, 0) an object point (x, y) lands on device (x + 1000, -(y + 2000)).
struct Layer {
    CGeoVectorLayer layer{CRect(1000, 2000, 9000, 9000)};
    CDrawTestBox* Add(const CRect& r, UINT nClass = 0)
    {
        CDrawTestBox* p = new CDrawTestBox(r);
        p->SetObjectClassID(nClass);
        EXPECT_TRUE(layer.Add(p));
        return p;
    }
    // The objects the last walk drew, in order.
    static std::vector<const CGeoVectorObject*> Drawn()
    {
        std::vector<const CGeoVectorObject*> out;
        for (const DrawCall& c : DrawLog()) out.push_back(c.object);
        return out;
    }
    std::vector<const CGeoVectorObject*> Draw(CDC* pDC, RECT* clip, int filter = 0, CDWordArray* ids = nullptr,
                                              UINT scale = 10, tagDisplayState ds = DisplayState(2))
    {
        DrawLog().clear();
        layer.Draw(pDC, clip, scale, scale, CPoint(0, 0), ds, filter, ids);
        return Drawn();
    }
};

TEST(LayerDraw, ClipSelectsObjectsByBoundsTouchingIncluded)
{
    Layer s;
    // The clip below is the object rectangle x 100..200, y 200..300.
    CDrawTestBox* inside = s.Add(CRect(120, 220, 180, 280));
    CDrawTestBox* touchRight = s.Add(CRect(200, 250, 260, 260));
    CDrawTestBox* touchTop = s.Add(CRect(120, 300, 130, 350));  // y up: its bottom edge on the clip's top
    CDrawTestBox* corner = s.Add(CRect(50, 150, 100, 200));     // touches only at a corner
    CDrawTestBox* across = s.Add(CRect(0, 0, 1000, 1000));
    s.Add(CRect(201, 250, 260, 260));  // just right of it
    s.Add(CRect(50, 250, 99, 260));    // just left
    s.Add(CRect(120, 301, 130, 350));  // just above
    s.Add(CRect(120, 100, 130, 199));  // just below

    CTestDC dc;
    RECT clip = {1100, -2300, 1200, -2200};
    const std::vector<const CGeoVectorObject*> expected = {inside, touchRight, touchTop, corner, across};
    EXPECT_EQ(s.Draw(&dc, &clip), expected);
    for (const DrawCall& c : DrawLog()) {
        EXPECT_EQ(c.offset, CPoint(1000, 2000));  // the layer's top-left corner
        EXPECT_EQ(c.clip, &clip);
    }
    // The boxes were drawn where the mapping puts them.
    const std::vector<win32::GdiRecord> r = dc.Records("Rectangle");
    ASSERT_EQ(r.size(), expected.size());
    EXPECT_EQ(r[0].points[0].x, 1120);
    EXPECT_EQ(r[0].points[0].y, -2280);
    EXPECT_EQ(r[0].points[1].x, 1180);
    EXPECT_EQ(r[0].points[1].y, -2220);

    EXPECT_EQ(s.Draw(&dc, nullptr).size(), 9u);  // no clip: everything
}

TEST(LayerDraw, ClassFilter)
{
    const struct {
        int mode;
        bool withIds;
        UINT id;
        int visible;
    } cases[] = {
        {0, false, 5, 1}, {0, true, 5, 1}, {1, true, 5, 0}, {2, false, 5, 0}, {2, true, 5, 1},
        {2, true, 6, 0},  {3, false, 6, 0}, {3, true, 5, 0}, {3, true, 6, 1}, {4, true, 5, 0},
        {-1, true, 5, 0},
    };
    CDWordArray ids;
    ids.Add(5);
    ids.Add(9);
    for (const auto& c : cases)
        EXPECT_EQ(GCIsVisible(c.id, c.mode, c.withIds ? &ids : nullptr), c.visible) << c.mode << " " << c.id;

    Layer s;
    CDrawTestBox* five = s.Add(CRect(0, 0, 10, 10), 5);
    CDrawTestBox* six = s.Add(CRect(0, 0, 10, 10), 6);
    CTestDC dc;
    EXPECT_EQ(s.Draw(&dc, nullptr, 2, &ids), std::vector<const CGeoVectorObject*>{five});
    EXPECT_EQ(s.Draw(&dc, nullptr, 3, &ids), std::vector<const CGeoVectorObject*>{six});
    EXPECT_TRUE(s.Draw(&dc, nullptr, 3, nullptr).empty());
    EXPECT_TRUE(s.Draw(&dc, nullptr, 1, &ids).empty());
}

TEST(LayerDraw, ClearingTheDrawFlagStopsTheWalk)
{
    Layer s;
    CDrawTestBox* a = s.Add(CRect(0, 0, 10, 10));
    CDrawTestBox* b = s.Add(CRect(0, 0, 10, 10));
    s.Add(CRect(0, 0, 10, 10));
    CTestDC dc;
    ASSERT_EQ(CGeoVectorLayer::GetLayerDrawFlag(), 1);

    CGeoVectorLayer::SetLayerDrawFlag(0);
    EXPECT_TRUE(s.Draw(&dc, nullptr).empty());
    CGeoVectorLayer::SetLayerDrawFlag(1);

    // The host aborts while b draws: b is finished, nothing after it starts.
    b->m_bClearDrawFlag = true;
    const std::vector<const CGeoVectorObject*> expected = {a, b};
    EXPECT_EQ(s.Draw(&dc, nullptr), expected);
    EXPECT_EQ(CGeoVectorLayer::GetLayerDrawFlag(), 0);  // the library leaves the flag to the host
    CGeoVectorLayer::SetLayerDrawFlag(1);

    // Hide and Blink do not look at the flag.
    CGeoVectorLayer::SetLayerDrawFlag(0);
    DrawLog().clear();
    tagDisplayState ds = DisplayState(2);
    s.layer.Hide(&dc, nullptr, 10, 10, CPoint(0, 0), CPoint(0, 0), ds, 0, nullptr);
    EXPECT_EQ(DrawLog().size(), 3u);
    CGeoVectorLayer::SetLayerDrawFlag(1);
}

TEST(LayerDraw, ClassScaleRangesOnScreenAndPaper)
{
    Layer s;
    CGeoGClass gc;
    gc.SetGCID(1);
    gc.SetMinMaxScale(5000, 20000);
    s.layer.m_Theme.AddGC(gc, -2);
    CDrawTestBox* ranged = s.Add(CRect(0, 0, 10, 10), 1);
    CDrawTestBox* free = s.Add(CRect(0, 0, 10, 10), 0);
    CTestDC screen, printer(1);
    using V = std::vector<const CGeoVectorObject*>;
    EXPECT_EQ(s.Draw(&screen, nullptr, 0, nullptr, 1000), (V{free}));
    EXPECT_EQ(s.Draw(&printer, nullptr, 0, nullptr, 1000), (V{ranged, free}));  // 1000 x 10 on paper
    EXPECT_EQ(s.Draw(&screen, nullptr, 0, nullptr, 10000), (V{ranged, free}));
    EXPECT_EQ(s.Draw(&printer, nullptr, 0, nullptr, 10000), (V{free}));
    tagDisplayState all = DisplayState(2);
    all.m_nShowMode = 1;
    EXPECT_EQ(s.Draw(&screen, nullptr, 0, nullptr, 1000, all), (V{ranged, free}));
    all.m_nShowMode = 2;
    EXPECT_TRUE(s.Draw(&screen, nullptr, 0, nullptr, 1000, all).empty());
}

TEST(LayerDraw, HideAndBlinkTwiceRestoreTheBitmap)
{
    Layer s;
    s.Add(CRect(10, 10, 60, 40));
    s.Add(CRect(40, 20, 90, 70));  // overlaps the first
    CTestDC dc(2, 200, 200);
    auto pixels = [&] {
        std::vector<COLORREF> out;
        for (int y = 0; y < 200; y += 2)
            for (int x = 0; x < 200; x += 2) out.push_back(::GetPixel(dc.m_hDC, x, y));
        return out;
    };
    const std::vector<COLORREF> blank = pixels();
    // Origin (-1000, -2100) with the layer corner (1000, 2000) puts object (x, y) at device (x, 100 - y).
    const CPoint origin(-1000, -2100);
    tagDisplayState ds = DisplayState(2);
    ds.m_nShowMode = 1;

    s.layer.Hide(&dc, nullptr, 10, 10, origin, CPoint(0, 0), ds, 0, nullptr);
    EXPECT_NE(pixels(), blank);
    EXPECT_NE(::GetPixel(dc.m_hDC, 30, 80), 0xFFFFFFu);  // inside the first box: y 10..40 -> 60..90
    EXPECT_EQ(::GetPixel(dc.m_hDC, 30, 50), 0xFFFFFFu);  // above it
    s.layer.Hide(&dc, nullptr, 10, 10, origin, CPoint(0, 0), ds, 0, nullptr);
    EXPECT_EQ(pixels(), blank);

    s.layer.Blink(&dc, nullptr, 10, 10, origin, CPoint(0, 0), ds, 0, nullptr);
    EXPECT_NE(pixels(), blank);
    s.layer.Blink(&dc, nullptr, 10, 10, origin, CPoint(0, 0), ds, 0, nullptr);
    EXPECT_EQ(pixels(), blank);

    // Filter mode 1 hides nothing.
    s.layer.Hide(&dc, nullptr, 10, 10, origin, CPoint(0, 0), ds, 1, nullptr);
    EXPECT_EQ(pixels(), blank);
}

TEST(LayerFind, RectanglePrefersTheLastNonPolygon)
{
    if (!IsStandInKind(PolygonKind())) GTEST_SKIP() << "the library has its own polygons; their tests cover this";
    CGeoVectorLayer layer(CRect(0, 0, 1000, 1000));
    CDrawTestBox* first = new CDrawTestBox(CRect(0, 0, 100, 100));
    CDrawTestBox* second = new CDrawTestBox(CRect(50, 50, 150, 150));
    CDrawTestKindBox* polygon = new CDrawTestKindBox(CRect(0, 0, 500, 500), PolygonKind());
    CDrawTestKindBox* bigPolygon = new CDrawTestKindBox(CRect(0, 0, 900, 900), PolygonKind());
    CDrawTestBox* inCm = new CDrawTestBox(CRect(60, 60, 70, 70));  // 600..700 mm
    inCm->SetUnit(4);
    for (CGeoAccessorialObject* p : std::initializer_list<CGeoAccessorialObject*>{first, polygon, second, bigPolygon, inCm})
        ASSERT_TRUE(layer.Add(p));

    const struct {
        CRect rect;
        const CGeoAccessorialObject* found;
    } cases[] = {
        {CRect(60, 60, 70, 70), second},          // both boxes and polygons: the last box
        {CRect(10, 10, 20, 20), first},           // only the first box among the non-polygons
        {CRect(300, 300, 310, 310), bigPolygon},  // only polygons: the last one
        {CRect(650, 650, 660, 660), inCm},        // millimetres converted to the object's centimetres
        {CRect(950, 950, 960, 960), nullptr},
    };
    for (const auto& c : cases)
        EXPECT_EQ(layer.FindObj(c.rect, SELOBJ_MEET, 0), c.found) << c.rect.left;
    EXPECT_EQ(layer.FindObj(CRect(0, 0, 1000, 1000), SELOBJ_INSIDE, 0), inCm);
}

TEST(LayerFind, UserObjectsInListOrder)
{
    Layer s;
    CDrawTestBox* a = s.Add(CRect(0, 0, 1, 1));
    s.Add(CRect(0, 0, 1, 1));
    CDrawTestBox* c = s.Add(CRect(0, 0, 1, 1));
    c->SetUserID(a->GetUserID());
    CGeoAccessorialObjectList list;
    list.AddTail(static_cast<CGeoAccessorialObject*>(nullptr));  // stale content goes
    EXPECT_EQ(s.layer.FindUserObj(a->GetUserID(), list), 1);
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetHead(), a);
    EXPECT_EQ(list.GetTail(), c);
    EXPECT_EQ(s.layer.FindUserObj(999, list), 0);
    EXPECT_TRUE(list.IsEmpty());
    list.AddTail(a);
    EXPECT_EQ(s.layer.FindUserObj(0, list), 0);
    EXPECT_EQ(list.GetCount(), 1);  // untouched
}

TEST(LayerBounds, AutoCompactFitsTheObjectsAndKeepsTheirPlace)
{
    CGeoVectorLayer layer(CRect(10, 10, 5000, 5000));
    CDrawTestBox* a = new CDrawTestBox(CRect(100, 100, 150, 300));
    CDrawTestBox* b = new CDrawTestBox(CRect(120, 140, 200, 160));
    ASSERT_TRUE(layer.Add(a));
    ASSERT_TRUE(layer.Add(b));
    EXPECT_EQ(layer.GetValideRect(), CRect(100, 100, 200, 300));
    layer.AutoCompactBounds();
    EXPECT_EQ(layer.GetPosition(), CRect(110, 110, 210, 310));
    EXPECT_EQ(a->GetBounds(), CRect(0, 0, 50, 200));
    EXPECT_EQ(b->GetBounds(), CRect(20, 40, 100, 60));
    layer.RecalBounds();  // already compact
    EXPECT_EQ(layer.GetPosition(), CRect(110, 110, 210, 310));

    // A point at the layer's corner and a line without height count.
    CDrawTestBox* point = new CDrawTestBox(CRect(0, 0, 0, 0));
    CDrawTestBox* flat = new CDrawTestBox(CRect(-30, 250, 40, 250));
    ASSERT_TRUE(layer.Add(point));
    ASSERT_TRUE(layer.Add(flat));
    EXPECT_EQ(layer.GetValideRect(), CRect(-30, 0, 100, 250));
    layer.AutoCompactBounds();
    EXPECT_EQ(layer.GetPosition(), CRect(80, 110, 210, 360));
    EXPECT_EQ(point->GetBounds(), CRect(30, 0, 30, 0));

    // Layer and objects in different units: the union is taken in millimetres.
    CGeoVectorLayer metres(CRect(0, 0, 100, 100));
    metres.SetUnit(6);
    CDrawTestBox* mm = new CDrawTestBox(CRect(3000, 4000, 5000, 9000));
    ASSERT_TRUE(metres.Add(mm));
    EXPECT_EQ(metres.GetValideRect(), CRect(3, 4, 5, 9));
    metres.AutoCompactBounds();
    EXPECT_EQ(metres.GetPosition(), CRect(3, 4, 5, 9));
    EXPECT_EQ(mm->GetBounds(), CRect(0, 0, 2000, 5000));
}

TEST(LayerBounds, EmptyOrLockedLayersKeepTheirBounds)
{
    CGeoVectorLayer empty(CRect(10, 10, 50, 50));
    EXPECT_EQ(empty.GetValideRect(), CRect(0, 0, 0, 0));
    empty.AutoCompactBounds();
    EXPECT_EQ(empty.GetPosition(), CRect(10, 10, 50, 50));

    CGeoVectorLayer locked(CRect(10, 10, 5000, 5000));
    CDrawTestBox* a = new CDrawTestBox(CRect(100, 100, 200, 300));
    ASSERT_TRUE(locked.Add(a));
    locked.Editable(0);
    locked.AutoCompactBounds();  // its objects could not move with the corner
    EXPECT_EQ(locked.GetPosition(), CRect(10, 10, 5000, 5000));
    EXPECT_EQ(a->GetBounds(), CRect(100, 100, 200, 300));

    // ResetBounds moves the corner and sizes the bounds, the objects staying in place.
    locked.Editable(1);
    locked.ResetBounds(CRect(50, 60, 70, 80));
    EXPECT_EQ(locked.GetPosition(), CRect(50, 60, 70, 80));
    EXPECT_EQ(a->GetBounds(), CRect(60, 50, 160, 250));
}

// The world position in metres of an object point: object + layer corner, in metres, + layer origin.
void World(const CGeoVectorLayer& layer, const CGeoVectorObject& o, POINT p, double& x, double& y)
{
    double ox = 0, oy = 0;
    layer.GetLayerOrigin(ox, oy);
    const CRect corner = layer.GetBoundsInMillimeter();
    x = (p.x + corner.left) / 1000.0 + ox;
    y = (p.y + corner.top) / 1000.0 + oy;
    (void)o;
}

// PROJ's answer from Beijing 1954 6-degree zone 20 to zone 21, in (east, north) order.
void EpsgZone20To21(double e, double n, double& x, double& y)
{
    PJ_CONTEXT* ctx = proj_context_create();
    PJ* raw = proj_create_crs_to_crs(ctx, "EPSG:21420", "EPSG:21421", nullptr);
    ASSERT_NE(raw, nullptr);
    PJ* pj = proj_normalize_for_visualization(ctx, raw);
    const PJ_XY r = proj_trans(pj, PJ_FWD, proj_coord(e, n, 0, 0)).xy;
    x = r.x;
    y = r.y;
    proj_destroy(pj);
    proj_destroy(raw);
    proj_context_destroy(ctx);
}

TEST(LayerTransform, GaussZoneChangeMovesObjectsToProjsAnswer)
{
    // Layer corner 500 km east, 100 m north of its origin; the objects lie 10 km and 30 km further.
    struct Case {
        const char* name;
        double originX, inputEast;
        double expectedOriginX;  // the layer origin after the change
        double zoneOut;          // what the output loses: nothing, or the output zone's millions
    } cases[] = {
        // Eastings that carry their zone in the layer origin: the origin takes the output zone.
        {"zone in the origin", 20000000.0, 0.0, 21000000.0, 0.0},
        // Eastings without their zone, completed by the input offset: the origin stays and the output
        // comes without its zone as well.
        {"zone as input offset", 0.0, 20000000.0, 0.0, 21000000.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CGeoVectorLayer layer(CRect(500000000, 100000, 600000000, 200000));
        layer.SetLayerOrigin(c.originX, 3000000.0);
        CDrawTestBox* near = new CDrawTestBox(CRect(10000000, 10000, 10001000, 11000));
        CDrawTestBox* far = new CDrawTestBox(CRect(30000000, 50000, 30002000, 52000));
        ASSERT_TRUE(layer.Add(near));
        ASSERT_TRUE(layer.Add(far));
        // World corners before, as full Gauss coordinates of zone 20.
        std::vector<std::pair<double, double>> before;
        for (CDrawTestBox* p : {near, far}) {
            for (POINT q : {p->GetBounds().TopLeft(), p->GetBounds().BottomRight()}) {
                double x, y;
                World(layer, *p, q, x, y);
                before.emplace_back(x - c.originX + 20000000.0, y);
            }
        }

        CGeoGaussTransformer t(20, 21);
        t.SetInputOffset(c.inputEast, 0.0);
        layer.Transform(t);

        double ox = 0, oy = 0;
        layer.GetLayerOrigin(ox, oy);
        EXPECT_EQ(ox, c.expectedOriginX);
        EXPECT_EQ(oy, 3000000.0);
        size_t k = 0;
        for (CDrawTestBox* p : {near, far}) {
            for (POINT q : {p->GetBounds().TopLeft(), p->GetBounds().BottomRight()}) {
                double x, y, ex, ey;
                World(layer, *p, q, x, y);
                EpsgZone20To21(before[k].first, before[k].second, ex, ey);
                ++k;
                // Object coordinates are whole millimetres, truncated.
                EXPECT_NEAR(x, ex - c.zoneOut, 0.0011);
                EXPECT_NEAR(y, ey, 0.0011);
            }
        }
        // The bounds fit the objects again.
        EXPECT_EQ(layer.GetValideRect().TopLeft(), CPoint(0, 0));
    }
}

// Shifts by (1000.25, -200) metres and doubles the distances from (0, 0).
class CShiftTransformer : public CBaseCoordinateTransformer {
public:
    int Transform(double x, double y, double& xOut, double& yOut) const override
    {
        xOut = 2 * x + 1000.25;
        yOut = 2 * y - 200.0;
        return 1;
    }
};

TEST(LayerTransform, BaseTransformerMovesTheOriginToTheMappedCorner)
{
    CGeoVectorLayer layer(CRect(4000, 5000, 90000, 90000));
    layer.SetLayerOrigin(100.0, 200.0);
    CDrawTestBox* p = new CDrawTestBox(CRect(1000, 2000, 3000, 6000));
    ASSERT_TRUE(layer.Add(p));
    CShiftTransformer t;
    layer.Transform(t);

    // The corner (4 m, 5 m) + origin maps to (2 * 104 + 1000.25, 2 * 205 - 200).
    double ox = 0, oy = 0;
    layer.GetLayerOrigin(ox, oy);
    EXPECT_DOUBLE_EQ(ox, 1208.25);
    EXPECT_DOUBLE_EQ(oy, 210.0);
    EXPECT_DOUBLE_EQ(t.GetSecondOffsetX(), 1208.25);
    EXPECT_DOUBLE_EQ(t.GetSecondOffsetY(), 210.0);
    // Every point lands where the mapping sends its world position.
    for (POINT before : {POINT{5000, 7000}, POINT{7000, 11000}}) {  // world millimetres less the origin
        const double ex = 2 * (before.x / 1000.0 + 100.0) + 1000.25, ey = 2 * (before.y / 1000.0 + 200.0) - 200.0;
        const POINT after = before.x == 5000 ? p->GetBounds().TopLeft() : p->GetBounds().BottomRight();
        double x, y;
        World(layer, *p, after, x, y);
        EXPECT_NEAR(x, ex, 0.0011);
        EXPECT_NEAR(y, ey, 0.0011);
    }
    EXPECT_EQ(layer.GetPosition().TopLeft(), CPoint(2000, 4000));  // compacted again
}

TEST(LayerTransform, LockedOrEmptyLayersAreLeftAlone)
{
    CShiftTransformer t;
    CGeoVectorLayer empty(CRect(4000, 5000, 9000, 9000));
    empty.Transform(t);
    EXPECT_EQ(empty.GetPosition(), CRect(4000, 5000, 9000, 9000));
    EXPECT_EQ(t.GetSecondOffsetX(), 0.0);

    CGeoVectorLayer locked(CRect(4000, 5000, 9000, 9000));
    CDrawTestBox* p = new CDrawTestBox(CRect(1, 2, 3, 4));
    ASSERT_TRUE(locked.Add(p));
    locked.Editable(0);
    locked.Transform(t);
    EXPECT_EQ(p->GetBounds(), CRect(1, 2, 3, 4));
    double ox = 1, oy = 1;
    locked.GetLayerOrigin(ox, oy);
    EXPECT_EQ(ox, 0.0);
}

TEST(LayerConvert, ConvertedObjectTakesThePlaceAndIdOfTheOld)
{
    CGeoVectorLayer layer(CRect(0, 0, 1000, 1000));
    CDrawTestLine* before = new CDrawTestLine(CRect(0, 0, 5, 5));
    CDrawTestLine* line = new CDrawTestLine(CRect(10, 20, 30, 40));
    CDrawTestLine* after = new CDrawTestLine(CRect(0, 0, 5, 5));
    for (CDrawTestLine* p : {before, line, after}) ASSERT_TRUE(layer.Add(p));
    line->SetObjectClassID(3);
    const UINT id = line->GetID(), userId = line->GetUserID();
    CDrawTestLine loose(CRect(0, 0, 1, 1));
    CDrawTestBox* box = new CDrawTestBox(CRect(0, 0, 1, 1));
    ASSERT_TRUE(layer.Add(box));

    // Refusals change nothing.
    layer.Editable(0);
    EXPECT_EQ(layer.CanConvertObj(line, 0, 0), 0);
    EXPECT_EQ(layer.ConvertObj(line, 0, 0), nullptr);
    EXPECT_EQ(layer.FixedLine(line), nullptr);
    layer.Editable(1);
    EXPECT_EQ(layer.ConvertObj(&loose, 0, 0), nullptr);  // not in this layer
    EXPECT_EQ(layer.CanConvertObj(box, 0, 0), 0);         // not a line
    EXPECT_EQ(layer.ConvertObj(box, 0, 0), nullptr);
    EXPECT_EQ(layer.CanConvertObj(line, 10, 0), 0);       // a kind the line cannot become
    EXPECT_EQ(layer.ConvertObj(line, 10, 0), nullptr);
    EXPECT_EQ(layer.FindObj(id), line);
    EXPECT_EQ(line->GetLayer(), &layer);
    EXPECT_EQ(layer.GetObjectCount(), 4);

    EXPECT_EQ(layer.CanConvertObj(line, 0, 0), 1);
    CGeoVectorObject* converted = layer.ConvertObj(line, 0, 0);
    ASSERT_NE(converted, nullptr);
    EXPECT_TRUE(converted->IsKindOf(RUNTIME_CLASS(CGeoPLine)));
    EXPECT_EQ(converted->GetID(), id);
    EXPECT_EQ(converted->GetUserID(), userId);
    EXPECT_EQ(converted->GetObjectClassID(), 3u);
    EXPECT_EQ(layer.FindObj(id), converted);
    EXPECT_EQ(layer.GetObjectCount(), 4);
    POSITION pos = layer.m_ObjList.GetHeadPosition();
    EXPECT_EQ(layer.m_ObjList.GetNext(pos), before);
    EXPECT_EQ(layer.m_ObjList.GetNext(pos), converted);
    EXPECT_EQ(layer.m_ObjList.GetNext(pos), after);
    EXPECT_EQ(layer.m_ObjList.Find(line), nullptr);  // handed back to the caller
    delete line;

    // FixedLine is the same conversion to a plain polyline.
    CGeoPLine* fixed = layer.FixedLine(after);
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(layer.m_ObjList.GetTail(), box);
    EXPECT_EQ(layer.m_ObjList.Find(after), nullptr);
    delete after;
}

TEST(LayerMarks, ClearDangleKeepsFalseNodes)
{
    Layer s;
    CDrawTestBox* a = s.Add(CRect(0, 0, 1, 1));
    CDrawTestBox* b = s.Add(CRect(0, 0, 1, 1));
    a->AddDangleType(DANGLE_FIRST | DANGLE_LAST | FALSENODE_LAST);
    b->AddDangleType(DANGLE_LAST);
    EXPECT_EQ(s.layer.ClearDangle(), 0);
    EXPECT_EQ(a->GetDangleType(), FALSENODE_LAST);
    EXPECT_EQ(b->GetDangleType(), 0);
}

}  // namespace
