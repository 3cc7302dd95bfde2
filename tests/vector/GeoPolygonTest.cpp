// Topological polygons: key strings resolved through the layer, ring data and who owns it, ring
// construction from arc lists, measures, bounds, label points and the record.
#include "vector/GeoPolygon.h"

#include "LineTestSupport.h"
#include "core/GeoVectorLayer.h"
#include "vector/GeoLabelPoint.h"
#include "vector/GeoPoint.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace linetest;

namespace {

// Keeps the process-wide flag as a test found it.
struct UseDataGuard {
    int saved = GetUseData();
    ~UseDataGuard() { SetUseData(saved); }
};

CGeoKeyString Keys(std::initializer_list<LONG> values) {
    CGeoKeyString k;
    for (LONG v : values) k.Add(v);
    return k;
}

std::vector<LONG> ToVector(const CGeoKeyString& k) { return std::vector<LONG>(k.GetData(), k.GetData() + k.GetSize()); }

// Two squares side by side sharing the arc S, and a closed arc H inside the left one:
//   S (ID 1) (100,0)->(100,100)
//   L (ID 2) (100,100)->(0,100)->(0,0)->(100,0)          left square with S
//   R (ID 3) (100,0)->(200,0)->(200,100)->(100,100)      right square with S reversed
//   H (ID 4) (20,20)->(40,20)->(40,40)->(20,40)->(20,20)  hole of 400
struct Squares {
    CGeoVectorLayer layer{CRect(0, 0, 1000, 1000)};
    CGeoPLine* S = Arc({{100, 0}, {100, 100}});
    CGeoPLine* L = Arc({{100, 100}, {0, 100}, {0, 0}, {100, 0}});
    CGeoPLine* R = Arc({{100, 0}, {200, 0}, {200, 100}, {100, 100}});
    CGeoPLine* H = Arc({{20, 20}, {40, 20}, {40, 40}, {20, 40}, {20, 20}});

    CGeoPLine* Arc(const Pts& pts) {
        CGeoPLine* line = MakeLine(pts);
        EXPECT_TRUE(layer.Add(line));
        return line;
    }
    CGeoPolygon* Polygon(std::initializer_list<LONG> keys) {
        CGeoPolygon* polygon = new CGeoPolygon;
        EXPECT_TRUE(layer.Add(polygon));
        CGeoKeyString k = Keys(keys);
        polygon->SetKeyString(k);
        return polygon;
    }
};

Pts Ring(const POINT* pts, int n) { return Pts(pts, pts + n); }

}  // namespace

TEST(GeoPolygon, KeyStringResolvesArcsAndRingDataWalksThemInOrder) {
    UseDataGuard guard;
    SetUseData(1);
    Squares m;
    CGeoPolygon* right = m.Polygon({3, -1, POLYGON_RING_END, 4, POLYGON_RING_END, 2});

    CGeoPolyBorder border;
    right->GetPolyBorder(border);
    ASSERT_EQ(border.GetSize(), 6);
    EXPECT_EQ(border[0].arc, m.R);
    EXPECT_TRUE(border[0].forward);
    EXPECT_EQ(border[1].arc, m.S);
    EXPECT_FALSE(border[1].forward);
    EXPECT_EQ(border[2].arc, nullptr);
    EXPECT_EQ(border[3].arc, m.H);

    POINT* pts = nullptr;
    int* sizes = nullptr;
    int rings = 0;
    right->GetPolyData(&pts, &sizes, rings);
    ASSERT_EQ(rings, 2) << "keys after the last ring end belong to no ring";
    ASSERT_EQ(sizes[0], 6) << "junction points are kept from both arcs";
    EXPECT_EQ(sizes[1], 5);
    EXPECT_TRUE(SamePoints(Ring(pts, 6), {{100, 0}, {200, 0}, {200, 100}, {100, 100}, {100, 100}, {100, 0}}));
    EXPECT_TRUE(SamePoints(PointsOf(*m.S), {{100, 0}, {100, 100}})) << "the reversed arc itself is untouched";

    // The flag on: the arrays are the polygon's cache; the next call replaces them.
    right->GetPolyData(&pts, &sizes, rings);
    EXPECT_EQ(right->IsHandle(POINT{200, 100}), 3);
    CGeoKeyString at;
    EXPECT_EQ(right->IsHandle(POINT{100, 100}, at), 1);
    EXPECT_EQ(ToVector(at), (std::vector<LONG>{4, 5}));
    EXPECT_EQ(right->IsHandle(POINT{7, 7}), -1);

    // The flag off: each result is the caller's.
    SetUseData(0);
    POINT* own = nullptr;
    int* ownSizes = nullptr;
    right->GetPolyData(&own, &ownSizes, rings);
    ASSERT_NE(own, nullptr);
    EXPECT_NE(own, pts);
    EXPECT_TRUE(SamePoints(Ring(own, 6), Ring(pts, 6)));
    delete[] own;
    delete[] ownSizes;
}

TEST(GeoPolygon, BuildBorderLineTellsThroughTheFlagWhetherEveryArcWasFound) {
    UseDataGuard guard;
    Squares m;
    // Object 5 is a point, not an arc; no object has ID 9.
    CGeoPoint* point = new CGeoPoint(5, 5);
    ASSERT_TRUE(m.layer.Add(point));
    ASSERT_EQ(point->GetID(), 5u);

    struct Case {
        std::initializer_list<LONG> keys;
        int complete;
    } cases[] = {
        {{1, 2, POLYGON_RING_END}, 1},
        {{1, 2, 9, POLYGON_RING_END}, 0},
        {{3, -1, POLYGON_RING_END}, 1},  // a complete polygon after a broken one sets the flag again
        {{1, 5, POLYGON_RING_END}, 0},   // an ID naming a point is a missing arc
        {{}, 1},
    };
    for (const Case& c : cases) {
        CGeoPolygon* polygon = m.Polygon({});
        CGeoKeyString keys = Keys(c.keys);
        polygon->SetKeyString(keys);
        polygon->BuildBorderLine();
        EXPECT_EQ(GetUseData(), c.complete) << ToVector(keys).size();
        POINT* pts = reinterpret_cast<POINT*>(1);
        int* sizes = reinterpret_cast<int*>(1);
        int rings = -1;
        polygon->GetPolyData(&pts, &sizes, rings);
        if (!c.complete || keys.GetSize() == 0) {
            EXPECT_EQ(pts, nullptr);
            EXPECT_EQ(sizes, nullptr);
            EXPECT_EQ(rings, 0);
        } else {
            EXPECT_EQ(rings, 1);
        }
    }
}

TEST(GeoPolygon, RingEndNeverTakesTheObjectWithThatID) {
    UseDataGuard guard;
    Squares m;
    m.H->SetID(POLYGON_RING_END);
    CGeoPolygon* polygon = m.Polygon({1, 2, POLYGON_RING_END});
    polygon->BuildBorderLine();
    CGeoPolyBorder border;
    polygon->GetPolyBorder(border);
    ASSERT_EQ(border.GetSize(), 3);
    EXPECT_EQ(border[2].arc, nullptr);
    EXPECT_EQ(GetUseData(), 1);
}

TEST(GeoPolygon, BordersAndKeysConvertBothWays) {
    Squares m;
    CGeoPolygon* polygon = m.Polygon({});
    CGeoPolyBorder border;
    for (QhPLine e : {QhPLine{m.R, 1}, QhPLine{m.S, 0}, QhPLine{nullptr, 1}}) border.Add(e);
    polygon->SetKeyString(border);
    CGeoKeyString keys;
    polygon->GetKeyString(keys, 0);
    EXPECT_EQ(ToVector(keys), (std::vector<LONG>{3, -1, POLYGON_RING_END}));
    EXPECT_EQ(polygon->GetBounds(), CRect(100, 0, 200, 100));

    // The sorted copy holds absolute values and follows later key strings.
    polygon->GetKeyString(keys, 1);
    EXPECT_EQ(ToVector(keys), (std::vector<LONG>{1, 3, POLYGON_RING_END}));
    CGeoKeyString next = Keys({-2, -1, POLYGON_RING_END});
    polygon->SetKeyString(next);
    polygon->GetKeyString(keys, 1);
    EXPECT_EQ(ToVector(keys), (std::vector<LONG>{1, 2, POLYGON_RING_END}));

    CGeoPolyBorder other;
    for (QhPLine e : {QhPLine{m.H, 1}, QhPLine{nullptr, 0}}) other.Add(e);
    polygon->SetBorderLine(other);
    polygon->GetKeyString(keys, 0);
    EXPECT_EQ(ToVector(keys), (std::vector<LONG>{4, POLYGON_RING_END}));
    EXPECT_TRUE(polygon->IsPartOf(m.H));
    EXPECT_FALSE(polygon->IsPartOf(m.S));
}

TEST(GeoPolygon, ArcsOfARingAreOrientedByTheirSharedEnds) {
    // A (ID 1) (0,0)->(10,0); B variants meet A at different ends; C follows B.
    CGeoVectorLayer layer(CRect(0, 0, 100, 100));
    auto arc = [&](const Pts& pts) {
        CGeoPLine* l = MakeLine(pts);
        layer.Add(l);
        return l;
    };
    CGeoPLine* A = arc({{0, 0}, {10, 0}});
    CGeoPLine* bFromLast = arc({{10, 0}, {10, 10}});   // 2
    CGeoPLine* bToLast = arc({{10, 10}, {10, 0}});     // 3
    CGeoPLine* bFromFirst = arc({{0, 0}, {0, 10}});    // 4
    CGeoPLine* bApart = arc({{0, 10}, {0, 0}});        // 5
    CGeoPLine* cForward = arc({{10, 10}, {0, 0}});     // 6: starts where bFromLast ends
    CGeoPLine* cBackward = arc({{5, 5}, {10, 10}});    // 7: ends there
    struct Case {
        std::vector<CGeoPLine*> lines;
        std::vector<LONG> keys;
    } cases[] = {
        {{A}, {1, POLYGON_RING_END}},
        {{A, bFromLast}, {1, 2, POLYGON_RING_END}},
        {{A, bToLast}, {1, -3, POLYGON_RING_END}},
        {{A, bFromFirst}, {-1, 4, POLYGON_RING_END}},
        {{A, bApart}, {-1, -5, POLYGON_RING_END}},
        {{A, bFromLast, cForward}, {1, 2, 6, POLYGON_RING_END}},
        {{A, bFromLast, cBackward}, {1, 2, -7, POLYGON_RING_END}},
        {{}, {}},
    };
    for (const Case& c : cases) {
        CGeoArcList ring;
        for (CGeoPLine* l : c.lines) ring.AddTail(l);
        CGeoPolyBorder border;
        CGeoKeyString keys;
        CGeoPolygon::ConstructOnePolygonFromLineList(ring, border, keys);
        EXPECT_EQ(ToVector(keys), c.keys);
        ASSERT_EQ(border.GetSize(), keys.GetSize());
        if (!c.keys.empty()) {
            EXPECT_EQ(border[border.GetSize() - 1].arc, nullptr);
        }
    }

    // A list with NULL separators: one call per ring, arcs after the last separator ignored.
    CGeoArcList lines;
    for (CGeoPLine* l : {A, bFromLast, static_cast<CGeoPLine*>(nullptr), bApart, static_cast<CGeoPLine*>(nullptr), cForward})
        lines.AddTail(l);
    CGeoPolygon polygon(lines);
    CGeoKeyString keys;
    polygon.GetKeyString(keys, 0);
    EXPECT_EQ(ToVector(keys), (std::vector<LONG>{1, 2, POLYGON_RING_END, 5, POLYGON_RING_END}));
    EXPECT_EQ(polygon.GetBounds(), CRect(0, 0, 10, 10)) << "the outer ring's arcs";
}

TEST(GeoPolygon, AreaSubtractsHolesAndPerimeterWalksEveryRing) {
    UseDataGuard guard;
    for (int flag : {1, 0}) {
        SetUseData(flag);
        Squares m;
        CGeoPolygon* left = m.Polygon({1, 2, POLYGON_RING_END, 4, POLYGON_RING_END});
        EXPECT_DOUBLE_EQ(left->Area(), 10000.0 - 400.0) << flag;
        EXPECT_DOUBLE_EQ(left->GetPerimeter(), 400.0 + 80.0) << flag;
        EXPECT_DOUBLE_EQ(left->Length(), 480.0) << flag;
        // Only the outer ring makes the bounds.
        EXPECT_EQ(left->GetBounds(), CRect(0, 0, 100, 100));
        EXPECT_EQ(left->GetVisiblePoint(), CPoint(50, 50));
    }
    CGeoPolygon empty;
    EXPECT_EQ(empty.Area(), 0.0);
    EXPECT_EQ(empty.GetPerimeter(), 0.0);
}

TEST(GeoPolygon, StraightArcsStillWidenTheBounds) {
    CGeoVectorLayer layer(CRect(0, 0, 1000, 1000));
    CGeoPLine* flat = MakeLine({{0, 0}, {50, 0}});
    CGeoPLine* up = MakeLine({{50, 0}, {50, 80}});
    CGeoPLine* back = MakeLine({{50, 80}, {-10, 30}, {0, 0}});
    for (CGeoPLine* l : {flat, up, back}) layer.Add(l);
    CGeoPolygon* polygon = new CGeoPolygon;
    layer.Add(polygon);
    CGeoKeyString keys = Keys({1, 2, 3, POLYGON_RING_END});
    polygon->SetKeyString(keys);
    EXPECT_EQ(polygon->GetBounds(), CRect(-10, 0, 50, 80));
}

TEST(GeoPolygon, HandlePositionOnAnArc) {
    CGeoPLine* open = MakeLine({{0, 0}, {10, 0}, {10, 10}, {10, 0}, {20, 0}});
    CGeoPLine* closed = MakeLine({{0, 0}, {10, 0}, {10, 10}, {0, 0}});
    struct Case {
        CGeoPLine* arc;
        CPoint p;
        int pos;
    } cases[] = {
        {open, {0, 0}, -2}, {open, {20, 0}, -3}, {open, {10, 0}, 1}, {open, {10, 10}, 2},
        {open, {5, 0}, 0},  {open, {50, 50}, 0}, {closed, {0, 0}, -1}, {nullptr, {0, 0}, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(CGeoPolygon::GetHandlePosOnLine(c.arc, c.p), c.pos) << c.p.x << "," << c.p.y;
    delete open;
    delete closed;
}

TEST(GeoPolygon, NeighbourIsTheOtherPolygonOnTheArc) {
    Squares m;
    CGeoPolygon* left = m.Polygon({1, 2, POLYGON_RING_END});
    CGeoPolygon* right = m.Polygon({3, -1, POLYGON_RING_END});
    EXPECT_EQ(left->GetNeighbourPolygon(m.S), right) << "bounds that only touch count";
    EXPECT_EQ(right->GetNeighbourPolygon(m.S), left);
    EXPECT_EQ(left->GetNeighbourPolygon(m.L), nullptr);
}

TEST(GeoPolygon, LabelPointLinksOnePolygonAtATime) {
    Squares m;
    CGeoPolygon* left = m.Polygon({1, 2, POLYGON_RING_END});
    CGeoPolygon* right = m.Polygon({3, -1, POLYGON_RING_END});
    CGeoLabelPoint* label = new CGeoLabelPoint(50, 50);
    m.layer.Add(label);

    left->SetLabelPoint(label);
    EXPECT_EQ(left->GetLabelPointID(), label->GetID());
    EXPECT_EQ(label->GetPolygonID(), left->GetID());
    EXPECT_EQ(left->GetLabelPoint(), label);

    right->SetLabelPoint(label);
    EXPECT_EQ(left->GetLabelPointID(), 0u) << "the label point left its former polygon";
    EXPECT_EQ(left->GetLabelPoint(), nullptr);
    EXPECT_EQ(right->GetLabelPoint(), label);
    EXPECT_EQ(label->GetPolygonID(), right->GetID());

    // A plain point becomes the label point in its place; the point list follows.
    CGeoPoint* plain = new CGeoPoint(60, 40);
    m.layer.Add(plain);
    plain->SetObjectClassID(7);
    plain->SetZ(12.5);
    const UINT id = plain->GetID();
    left->AddPoint(plain);
    POINT at = left->SetLabelPoint(plain);  // deletes plain
    EXPECT_EQ(CPoint(at), CPoint(60, 40));
    CGeoLabelPoint* made = left->GetLabelPoint();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetID(), id);
    EXPECT_EQ(made->GetObjectClassID(), 7u);
    EXPECT_EQ(made->GetZ(), 12.5);
    EXPECT_EQ(made->GetPolygonID(), left->GetID());
    EXPECT_EQ(m.layer.FindObj(id), made);
    CGeoPointList labels;
    EXPECT_EQ(left->GetLabelPointList(labels), 1);
    EXPECT_EQ(labels.GetHead(), made);
    EXPECT_EQ(left->GetLabelPointCount(), 1);

    // A label point replaced behind the polygon's back is not handed out.
    CGeoPoint* replacement = new CGeoPoint(1, 1);
    m.layer.Replace(replacement, made);
    EXPECT_EQ(left->GetLabelPoint(), nullptr);
    delete made;
}

TEST(GeoPolygon, NamesAndRefusedCopies) {
    CGeoPolygon polygon;
    EXPECT_EQ(polygon.GetObjectName(), CString(""));
    EXPECT_EQ(polygon.GetObjectTypeName(), CString("多边形"));
    polygon.DefaultObjectName();
    CGeoPolygon second;
    second.DefaultObjectName();
    EXPECT_EQ(std::strncmp(second.GetObjectName(), "多边形 ", std::strlen("多边形 ")), 0);
    EXPECT_NE(polygon.GetObjectName(), second.GetObjectName());
    EXPECT_EQ(polygon.Duplicate(1, 1), nullptr);
    EXPECT_EQ(polygon.CopyData(second), 0);
    CPoint p(1, 1);
    int index = 0;
    EXPECT_EQ(polygon.GetSnapPointA(p, CRect(0, 0, 10, 10), index, SNAP_VERTEX, 0), 0);
}

TEST(GeoPolygon, RecordHoldsKeysAndLabelIDOnly) {
    UseDataGuard guard;
    SetUseData(1);
    Squares m;
    CGeoPolygon* polygon = m.Polygon({3, -1, POLYGON_RING_END});
    CGeoLabelPoint* label = new CGeoLabelPoint(150, 50);
    m.layer.Add(label);
    polygon->SetLabelPoint(label);

    Bytes head = Store([&](CArchive& ar) { polygon->CGeoVectorObject::Serialize(ar); });
    Bytes tail = {3, 0, 3, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x20, 0xA1, 0x07, 0x00};
    const DWORD labelID = label->GetID();
    for (int i = 0; i < 4; ++i) tail.push_back(static_cast<BYTE>(labelID >> (8 * i)));
    Bytes want = head;
    want.insert(want.end(), tail.begin(), tail.end());
    Bytes got = Store([&](CArchive& ar) { polygon->Serialize(ar); });
    EXPECT_EQ(got, want);

    CGeoPolygon back;
    Load(got, [&](CArchive& ar) { back.Serialize(ar); });
    CGeoKeyString keys;
    back.GetKeyString(keys, 0);
    EXPECT_EQ(ToVector(keys), (std::vector<LONG>{3, -1, POLYGON_RING_END}));
    EXPECT_EQ(back.GetLabelPointID(), labelID);
    CGeoPolyBorder border;
    back.GetPolyBorder(border);
    EXPECT_EQ(border.GetSize(), 0) << "unresolved until its layer builds the border";

    for (size_t cut = head.size(); cut < got.size(); ++cut) {
        Bytes bad(got.begin(), got.begin() + static_cast<std::ptrdiff_t>(cut));
        CGeoPolygon broken;
        EXPECT_THROW(Load(bad, [&](CArchive& ar) { broken.Serialize(ar); }), CArchiveException) << cut;
    }
}

// The keys are written and read in pieces; whatever their number, the record is that of a key array
// (its count, 16-bit or escaped to 32-bit, then the values) and reads back whole.
TEST(GeoPolygon, LongKeyStringsKeepTheArrayRecord) {
    for (int n : {255, 256, 257, 700, 70000}) {
        CGeoKeyString keys;
        for (int i = 0; i < n; ++i) keys.Add(i % 7 == 6 ? POLYGON_RING_END : (i % 2 ? -(i + 1) : i + 1));
        CGeoPolygon polygon;
        polygon.SetKeyString(keys);
        Bytes want = Store([&](CArchive& ar) {
            polygon.CGeoVectorObject::Serialize(ar);
            keys.Serialize(ar);
            ar << static_cast<DWORD>(0);
        });
        Bytes got = Store([&](CArchive& ar) { polygon.Serialize(ar); });
        ASSERT_EQ(got, want) << n;

        CGeoPolygon back;
        Load(got, [&](CArchive& ar) { back.Serialize(ar); });
        CGeoKeyString read;
        back.GetKeyString(read, 0);
        EXPECT_EQ(ToVector(read), ToVector(keys)) << n;
        // Short of its last key byte the record is refused.
        Bytes bad(got.begin(), got.end() - 5);
        CGeoPolygon broken;
        EXPECT_THROW(Load(bad, [&](CArchive& ar) { broken.Serialize(ar); }), CArchiveException) << n;
    }
}
