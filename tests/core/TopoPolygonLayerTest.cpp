// What a vector layer does for topological polygons: resolving them after a load (dropping those whose
// arcs are gone), unlinking polygons and label points on Delete, and writing a polygon's record
// through its label point.
#include "core/GeoVectorLayer.h"
#include "vector/GeoLabelPoint.h"
#include "vector/GeoPLine.h"
#include "vector/GeoPoint.h"
#include "vector/GeoPolygon.h"

#include <tamsel/GeoAttributeDatabase.h>

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

struct UseDataGuard {
    int saved = GetUseData();
    ~UseDataGuard() { SetUseData(saved); }
};

CGeoPLine* Arc(CGeoVectorLayer& layer, std::vector<POINT> pts) {
    CGeoPLine* line = new CGeoPLine(static_cast<int>(pts.size()), pts.data(), TRUE);
    EXPECT_TRUE(layer.Add(line));
    return line;
}

CGeoPolygon* Polygon(CGeoVectorLayer& layer, std::initializer_list<LONG> keys) {
    CGeoPolygon* polygon = new CGeoPolygon;
    EXPECT_TRUE(layer.Add(polygon));
    CGeoKeyString k;
    for (LONG v : keys) k.Add(v);
    polygon->SetKeyString(k);
    return polygon;
}

// Two squares sharing arc 1 (S); arc 2 (L) closes the left one, arc 3 (R) the right one.
void TwoSquares(CGeoVectorLayer& layer) {
    Arc(layer, {{100, 0}, {100, 100}});
    Arc(layer, {{100, 100}, {0, 100}, {0, 0}, {100, 0}});
    Arc(layer, {{100, 0}, {200, 0}, {200, 100}, {100, 100}});
}

std::vector<CObject*> Objects(CGeoVectorLayer& layer) {
    std::vector<CObject*> out;
    for (POSITION p = layer.m_ObjList.GetHeadPosition(); p;) out.push_back(layer.m_ObjList.GetNext(p));
    return out;
}

int CountPolygons(CGeoVectorLayer& layer) {
    int n = 0;
    for (CObject* o : Objects(layer)) n += o->IsKindOf(RUNTIME_CLASS(CGeoPolygon)) ? 1 : 0;
    return n;
}

std::vector<BYTE> StoreLayer(CGeoVectorLayer& layer) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    layer.Serialize(ar);
    ar.Close();
    return file.Data();
}

void LoadLayer(CGeoVectorLayer& layer, std::vector<BYTE>& data) {
    CMemFile file(data.data(), static_cast<UINT>(data.size()));
    CArchive ar(&file, CArchive::load);
    layer.Serialize(ar);
}

CDaoFieldInfo Field(const char* name, short type) {
    CDaoFieldInfo f;
    f.m_strName = name;
    f.m_nType = type;
    return f;
}

}  // namespace

TEST(TopoPolygonLayer, LoadingResolvesPolygonsAndDropsThoseWithMissingArcs) {
    UseDataGuard guard;
    SetUseData(1);
    std::vector<BYTE> data;
    {
        CGeoVectorLayer layer(CRect(0, 0, 1000, 1000));
        TwoSquares(layer);
        Polygon(layer, {1, 2, POLYGON_RING_END});
        Polygon(layer, {3, -1, POLYGON_RING_END});
        Polygon(layer, {1, 2, POLYGON_RING_END, 9, POLYGON_RING_END});  // arc 9 does not exist
        Polygon(layer, {-1, 3, POLYGON_RING_END});
        data = StoreLayer(layer);
    }
    CGeoVectorLayer loaded;
    LoadLayer(loaded, data);
    EXPECT_EQ(CountPolygons(loaded), 3) << "only the polygon with a missing arc is dropped";
    EXPECT_EQ(loaded.FindObj(6), nullptr);
    EXPECT_EQ(GetUseData(), 1) << "the flag tells of the last polygon resolved";

    CGeoPolygon* left = static_cast<CGeoPolygon*>(loaded.FindObj(4));
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(left->GetBounds(), CRect(0, 0, 100, 100));
    // The ring data was read at load time and is cached: the cache answers handle queries.
    EXPECT_EQ(left->IsHandle(POINT{0, 100}), 4);
    EXPECT_DOUBLE_EQ(left->Area(), 10000.0);
}

// Arcs are found by ID however the IDs run: numbered from 1, far apart, or one ID on two arcs (the
// first listed is the arc). A polygon dropped while loading is not found as another polygon's "arc".
TEST(TopoPolygonLayer, LoadingFindsArcsByIDHoweverTheyAreNumbered) {
    UseDataGuard guard;
    struct Case {
        const char* what;
        UINT base;       // the arcs' IDs are base + 1 .. base + 4
        bool duplicate;  // the fourth arc, listed last, takes the second arc's ID
    } cases[] = {{"numbered from 1", 0, false}, {"far apart", 3000000, false}, {"one ID twice", 0, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUseData(1);
        std::vector<BYTE> data;
        UINT droppedID = 0, lastID = 0;
        {
            CGeoVectorLayer layer(CRect(0, 0, 1000, 1000));
            TwoSquares(layer);
            CGeoPLine* decoy = Arc(layer, {{100, 100}, {0, 900}, {0, 0}, {100, 0}});
            const std::vector<CObject*> arcs = Objects(layer);
            for (size_t i = 0; i < arcs.size(); ++i) static_cast<CGeoPLine*>(arcs[i])->SetID(c.base + 1 + static_cast<UINT>(i));
            if (c.duplicate) decoy->SetID(c.base + 2);
            const LONG s = static_cast<LONG>(c.base + 1), l = static_cast<LONG>(c.base + 2);
            Polygon(layer, {s, l, POLYGON_RING_END});
            CGeoPolygon* broken = Polygon(layer, {s, 9, POLYGON_RING_END});
            broken->SetID(c.base + 50);
            droppedID = broken->GetID();
            CGeoPolygon* last = Polygon(layer, {s, static_cast<LONG>(droppedID), POLYGON_RING_END});
            last->SetID(c.base + 60);
            lastID = last->GetID();
            data = StoreLayer(layer);
        }
        CGeoVectorLayer loaded;
        LoadLayer(loaded, data);
        EXPECT_EQ(CountPolygons(loaded), 1);
        EXPECT_EQ(loaded.FindObj(droppedID), nullptr);
        EXPECT_EQ(loaded.FindObj(lastID), nullptr);
        CGeoPolygon* left = nullptr;
        for (CObject* o : Objects(loaded))
            if (o->IsKindOf(RUNTIME_CLASS(CGeoPolygon))) left = static_cast<CGeoPolygon*>(o);
        ASSERT_NE(left, nullptr);
        EXPECT_EQ(left->GetBounds(), CRect(0, 0, 100, 100)) << "the first arc listed with the ID";
        EXPECT_DOUBLE_EQ(left->Area(), 10000.0);
        EXPECT_EQ(loaded.FindObj(c.base + 2), Objects(loaded)[1]) << "and FindObj agrees after the load";
    }
}

TEST(TopoPolygonLayer, LoadEndingOnABrokenPolygonLeavesTheFlagOffAndLeaksNothing) {
    UseDataGuard guard;
    SetUseData(1);
    std::vector<BYTE> data;
    {
        CGeoVectorLayer layer(CRect(0, 0, 1000, 1000));
        TwoSquares(layer);
        Polygon(layer, {1, 2, POLYGON_RING_END});
        Polygon(layer, {3, -8, POLYGON_RING_END});
        data = StoreLayer(layer);
    }
    {
        CGeoVectorLayer loaded;
        LoadLayer(loaded, data);
        EXPECT_EQ(CountPolygons(loaded), 1);
        EXPECT_EQ(GetUseData(), 0);
        // The surviving polygon holds its cache from the load; with the flag now off it is still
        // freed with the polygon (the sanitizer's leak check would catch it otherwise).
        CGeoPolygon* left = static_cast<CGeoPolygon*>(loaded.FindObj(4));
        ASSERT_NE(left, nullptr);
        EXPECT_DOUBLE_EQ(left->Area(), 10000.0);
    }
}

TEST(TopoPolygonLayer, DeleteHandsTheLabelPointBackAsAPlainPoint) {
    CGeoVectorLayer layer(CRect(0, 0, 1000, 1000));
    TwoSquares(layer);
    CGeoPolygon* left = Polygon(layer, {1, 2, POLYGON_RING_END});
    CGeoLabelPoint* label = new CGeoLabelPoint(50, 50);
    layer.Add(label);
    label->SetObjectClassID(4);
    left->SetLabelPoint(label);
    const UINT labelID = label->GetID();

    ASSERT_EQ(layer.Delete(left, 0), 1);
    EXPECT_EQ(left->GetLabelPointID(), 0u);
    CGeoAccessorialObject* now = layer.FindObj(labelID);
    ASSERT_NE(now, nullptr);
    EXPECT_STREQ(now->GetRuntimeClass()->m_lpszClassName, "CGeoPoint");
    EXPECT_EQ(static_cast<CGeoPoint*>(now)->GetPoint(), CPoint(50, 50));
    EXPECT_EQ(static_cast<CGeoVectorObject*>(now)->GetObjectClassID(), 4u);
    EXPECT_EQ(CountPolygons(layer), 0);
    delete left;

    // Deleting a label point takes it from its polygon.
    CGeoPolygon* right = Polygon(layer, {3, -1, POLYGON_RING_END});
    CGeoLabelPoint* second = new CGeoLabelPoint(150, 50);
    layer.Add(second);
    right->SetLabelPoint(second);
    ASSERT_EQ(layer.Delete(second, 0), 1);
    EXPECT_EQ(right->GetLabelPointID(), 0u);
    EXPECT_EQ(right->GetLabelPoint(), nullptr);
    delete second;
}

TEST(TopoPolygonLayer, PolygonRecordIsItsLabelPointsRecord) {
    CGeoVectorLayer layer(CRect(0, 0, 1000, 1000));
    layer.m_Theme.AddField(Field("NAME", dbText), -2);
    CGeoGClass lake;
    lake.SetGCID(3);
    layer.m_Theme.AddGC(lake, -2);
    TwoSquares(layer);
    CGeoPolygon* left = Polygon(layer, {1, 2, POLYGON_RING_END});
    left->SetObjectClassID(3);

    CGeoValueList values;
    COleVariant name("湖");
    values.AddTail(name);
    EXPECT_EQ(layer.SetAttribute(left, &values), 0) << "a polygon without a label point has no record";

    CGeoLabelPoint* label = new CGeoLabelPoint(50, 50);
    layer.Add(label);
    label->SetObjectClassID(3);
    left->SetLabelPoint(label);
    label->InitilizeAD(1);
    ASSERT_EQ(layer.SetAttribute(left, &values), 1);
    ASSERT_NE(layer.GetAttributeDatabase(), nullptr);
    EXPECT_TRUE(layer.GetAttributeDatabase()->IsExistID(label->GetUserID(), 3));
    EXPECT_FALSE(layer.GetAttributeDatabase()->IsExistID(left->GetUserID(), 3));
    EXPECT_EQ(label->IsADInitilized(), 0) << "the label point's attribute style is stale";
}

TEST(TopoPolygonLayer, RectangleFindsLinesBeforeThePolygonsUnderThem) {
    UseDataGuard guard;
    SetUseData(1);
    CGeoVectorLayer layer(CRect(0, 0, 1000, 1000));
    TwoSquares(layer);
    CGeoPolygon* left = Polygon(layer, {1, 2, POLYGON_RING_END});
    CGeoPolygon* right = Polygon(layer, {3, -1, POLYGON_RING_END});
    const struct {
        CRect rect;
        CObject* found;
    } cases[] = {
        {CRect(98, 40, 102, 60), layer.FindObj(1)},  // on the shared arc, inside both squares
        {CRect(40, 40, 60, 60), left},
        {CRect(140, 40, 160, 60), right},
        {CRect(400, 400, 410, 410), nullptr},
    };
    for (const auto& c : cases) EXPECT_EQ(layer.FindObj(c.rect, SELOBJ_MEET, 0), c.found) << c.rect.left;
}

TEST(TopoPolygonLayer, PolygonsAroundAnArcOrAPoint) {
    UseDataGuard guard;
    SetUseData(1);
    CGeoVectorLayer layer(CRect(0, 0, 1000, 1000));
    TwoSquares(layer);
    CGeoPolygon* left = Polygon(layer, {1, 2, POLYGON_RING_END});
    CGeoPolygon* right = Polygon(layer, {3, -1, POLYGON_RING_END});
    auto items = [](CGeoPolygonList& list) {
        std::vector<CGeoPolygon*> out;
        for (POSITION p = list.GetHeadPosition(); p;) out.push_back(list.GetNext(p));
        return out;
    };

    CGeoPolygonList shared, outer;
    EXPECT_TRUE(layer.IsPublicLine(static_cast<CGeoPLine*>(layer.FindObj(1)), shared));
    EXPECT_EQ(items(shared), (std::vector<CGeoPolygon*>{left, right}));
    EXPECT_TRUE(layer.IsPublicLine(static_cast<CGeoPLine*>(layer.FindObj(2)), outer));
    EXPECT_EQ(items(outer), (std::vector<CGeoPolygon*>{left}));

    // Ring points and arc ends at a point: the later polygon comes first.
    CGeoPolygonList atNode, atCorner, nowhere;
    EXPECT_TRUE(layer.GetNeighbourPolygonList(POINT{100, 100}, atNode));
    EXPECT_EQ(items(atNode), (std::vector<CGeoPolygon*>{right, left}));
    EXPECT_TRUE(layer.GetPolygonListShareSamePoint(POINT{200, 0}, atCorner));
    EXPECT_EQ(items(atCorner), (std::vector<CGeoPolygon*>{right}));
    EXPECT_FALSE(layer.GetPolygonListShareSamePoint(POINT{150, 50}, nowhere));
    EXPECT_FALSE(layer.GetNeighbourPolygonList(POINT{150, 50}, nowhere));
    EXPECT_TRUE(nowhere.IsEmpty());
}

// Once asked, the layer keeps the polygons around each arc as borders change, polygons come and go, and
// a border names an arc twice: the answers stay those of reading every polygon, in list order.
TEST(TopoPolygonLayer, ArcHoldersFollowBorderEditsAndListChanges) {
    CGeoVectorLayer layer(CRect(0, 0, 1000, 1000));
    TwoSquares(layer);
    CGeoPolygon* left = Polygon(layer, {1, 2, POLYGON_RING_END});
    CGeoPolygon* right = Polygon(layer, {3, -1, POLYGON_RING_END});
    CGeoPLine* shared = static_cast<CGeoPLine*>(layer.FindObj(1));
    auto holders = [&]() {
        CGeoPolygonList list;
        layer.IsPublicLine(shared, list);
        std::vector<CGeoPolygon*> out;
        for (POSITION p = list.GetHeadPosition(); p;) out.push_back(list.GetNext(p));
        return out;
    };
    EXPECT_EQ(holders(), (std::vector<CGeoPolygon*>{left, right}));

    CGeoKeyString outer;
    outer.Add(2);
    outer.Add(POLYGON_RING_END);
    left->SetKeyString(outer);
    CGeoPolygon* twice = Polygon(layer, {1, -1, POLYGON_RING_END});
    EXPECT_EQ(holders(), (std::vector<CGeoPolygon*>{right, twice}));
    EXPECT_EQ(right->GetNeighbourPolygon(shared), twice);

    ASSERT_TRUE(layer.Delete(right, 0));
    delete right;
    EXPECT_EQ(holders(), (std::vector<CGeoPolygon*>{twice}));

    CGeoKeyString back;
    for (LONG v : {1, 2, POLYGON_RING_END}) back.Add(v);
    left->SetKeyString(back);
    EXPECT_EQ(holders(), (std::vector<CGeoPolygon*>{left, twice}));
    EXPECT_EQ(left->GetNeighbourPolygon(shared), twice);
}

// Many polygons over a few arcs, so that an arc has many holders, through random border edits, deletes,
// replacements and additions: the arcs' holders and each polygon's neighbour stay those of reading every
// polygon in list order.
TEST(TopoPolygonLayer, ArcHoldersMatchTheListWalkThroughManyEdits) {
    CGeoVectorLayer layer(CRect(0, 0, 1000, 1000));
    std::vector<CGeoPLine*> arcs;
    for (int i = 0; i < 8; ++i) arcs.push_back(Arc(layer, {{i * 10, 0}, {i * 10 + 15, 20}}));
    std::mt19937 rng(7);
    auto keys = [&]() {
        CGeoKeyString k;
        const int n = std::uniform_int_distribution<int>(1, 4)(rng);
        for (int i = 0; i < n; ++i) {
            const LONG id = static_cast<LONG>(arcs[std::uniform_int_distribution<size_t>(0, arcs.size() - 1)(rng)]->GetID());
            k.Add(rng() % 2 ? id : -id);
        }
        k.Add(POLYGON_RING_END);
        return k;
    };
    std::vector<CGeoPolygon*> polygons;
    auto add = [&]() {
        CGeoPolygon* polygon = new CGeoPolygon;
        EXPECT_TRUE(layer.Add(polygon));
        CGeoKeyString k = keys();
        polygon->SetKeyString(k);
        polygons.push_back(polygon);
    };
    auto listed = [&]() {
        std::vector<CGeoPolygon*> out;
        for (CObject* o : Objects(layer))
            if (o->IsKindOf(RUNTIME_CLASS(CGeoPolygon))) out.push_back(static_cast<CGeoPolygon*>(o));
        return out;
    };
    for (int i = 0; i < 30; ++i) add();
    for (int step = 0; step < 1500; ++step) {
        const size_t at = std::uniform_int_distribution<size_t>(0, polygons.size() - 1)(rng);
        switch (rng() % 6) {
        case 0:
            add();
            break;
        case 1:
            if (polygons.size() > 5) {
                ASSERT_TRUE(layer.Delete(polygons[at], 0));
                delete polygons[at];
                polygons.erase(polygons.begin() + static_cast<long>(at));
            }
            break;
        case 2: {
            CGeoPolygon* fresh = new CGeoPolygon;
            layer.Replace(fresh, polygons[at]);
            CGeoKeyString k = keys();
            fresh->SetKeyString(k);
            delete polygons[at];
            polygons[at] = fresh;
            break;
        }
        default: {
            CGeoKeyString k = keys();
            polygons[at]->SetKeyString(k);
        }
        }
        const std::vector<CGeoPolygon*> all = listed();
        for (CGeoPLine* arc : arcs) {
            std::vector<CGeoPolygon*> expected;
            for (CGeoPolygon* p : all)
                if (p->IsPartOf(arc)) expected.push_back(p);
            CGeoPolygonList list;
            layer.IsPublicLine(arc, list);
            std::vector<CGeoPolygon*> got;
            for (POSITION p = list.GetHeadPosition(); p;) got.push_back(list.GetNext(p));
            ASSERT_EQ(got, expected) << "step " << step;
        }
        CGeoPolygon* asking = polygons[std::uniform_int_distribution<size_t>(0, polygons.size() - 1)(rng)];
        CGeoPLine* arc = arcs[rng() % arcs.size()];
        CGeoPolygon* neighbour = nullptr;
        const CRect b = asking->GetBounds();
        for (CGeoPolygon* p : all) {
            const CRect o = p->GetBounds();
            const bool meet = b.left <= o.right && o.left <= b.right && b.top <= o.bottom && o.top <= b.bottom;
            if (p != asking && meet && p->IsPartOf(arc)) {
                neighbour = p;
                break;
            }
        }
        ASSERT_EQ(asking->GetNeighbourPolygon(arc), neighbour) << "step " << step;
    }
}
