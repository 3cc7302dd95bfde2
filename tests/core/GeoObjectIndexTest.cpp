// A vector layer's look-ups by bounds and user ID answer exactly as walking the list does, in the same
// order, while objects are added, deleted, replaced, moved directly, re-numbered, converted to another
// unit and moved with the layer's bounds; and an object listed twice sends the layer back to its list.
#include "DrawTestSupport.h"

#include "core/GeoVectorLayer.h"
#include "vector/GeoPLine.h"
#include "vector/GeoPoint.h"

#include <ostrel/Units.h>

#include <gtest/gtest.h>

#include <climits>

#include <algorithm>
#include <random>
#include <vector>

namespace {

// The walk FindObj by rectangle is defined by: tail to head, polygons after every other kind.
CGeoAccessorialObject* WalkFind(CGeoVectorLayer& layer, const CRect& rect, SELOBJMODE mode)
{
    std::vector<CGeoVectorObject*> last;
    auto hits = [&](CGeoVectorObject* o) {
        CRect r = rect;
        ChangeUnit(3, o->GetUnit(), static_cast<RECT&>(r), 1.0);
        return o->Intersects(r, mode);
    };
    for (POSITION p = layer.m_ObjList.GetTailPosition(); p;) {
        auto* o = static_cast<CGeoVectorObject*>(layer.m_ObjList.GetPrev(p));
        if (o->IsFoundLast()) last.push_back(o);
        else if (hits(o)) return o;
    }
    for (CGeoVectorObject* o : last)
        if (hits(o)) return o;
    return nullptr;
}

std::vector<CGeoAccessorialObject*> WalkUser(CGeoVectorLayer& layer, UINT nUserID)
{
    std::vector<CGeoAccessorialObject*> out;
    for (POSITION p = layer.m_ObjList.GetHeadPosition(); p;) {
        auto* o = static_cast<CGeoAccessorialObject*>(layer.m_ObjList.GetNext(p));
        if (o->GetUserID() == nUserID) out.push_back(o);
    }
    return out;
}

// The boxes a clipped draw reaches, in order (only the test boxes log their drawing).
std::vector<const CGeoVectorObject*> WalkDrawn(CGeoVectorLayer& layer, const CRect& clip)
{
    std::vector<const CGeoVectorObject*> out;
    for (POSITION p = layer.m_ObjList.GetHeadPosition(); p;) {
        auto* o = static_cast<CGeoVectorObject*>(layer.m_ObjList.GetNext(p));
        const CRect b = o->GetBounds();
        if (b.right < clip.left || b.left > clip.right || b.bottom < clip.top || b.top > clip.bottom) continue;
        if (dynamic_cast<CDrawTestBox*>(o)) out.push_back(o);
    }
    return out;
}

std::vector<CGeoAccessorialObject*> Found(CGeoVectorLayer& layer, UINT nUserID)
{
    CGeoAccessorialObjectList list;
    layer.FindUserObj(nUserID, list);
    std::vector<CGeoAccessorialObject*> out;
    for (POSITION p = list.GetHeadPosition(); p;) out.push_back(list.GetNext(p));
    return out;
}

// The sharing test deletes use, opened to the test.
struct OpenLayer : CGeoVectorLayer {
    using CGeoVectorLayer::CGeoVectorLayer;
    using CGeoVectorLayer::IsUserIDShared;
};

struct Fixture {
    OpenLayer layer{CRect(0, 0, 2000, 2000)};
    std::mt19937 rng{29};
    int Coord() { return std::uniform_int_distribution<int>(0, 400)(rng); }
    int Small(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
    CGeoVectorObject* Nth(int i)
    {
        POSITION p = layer.m_ObjList.FindIndex(i);
        return p ? static_cast<CGeoVectorObject*>(layer.m_ObjList.GetAt(p)) : nullptr;
    }
    void AddOne()
    {
        const int x = Coord(), y = Coord();
        switch (Small(3)) {
        case 0: layer.Add(new CGeoPoint(x, y)); break;
        case 1: {
            POINT pts[3] = {{x, y}, {x + Small(40), y + Small(40) - 20}, {x + Small(60), y}};
            layer.Add(new CGeoPLine(3, pts, FALSE));
            break;
        }
        default: layer.Add(new CDrawTestBox(CRect(x, y, x + Small(50), y + Small(50)))); break;
        }
    }
    void Mutate()
    {
        const int n = layer.GetObjectCount();
        CGeoVectorObject* o = n ? Nth(Small(n)) : nullptr;
        switch (Small(7)) {
        case 0: AddOne(); break;
        case 1:
            if (o) {
                layer.Delete(o, 0);
                delete o;
            }
            break;
        case 2:
            if (o) o->Move(CSize(Small(60) - 30, Small(60) - 30));
            break;
        case 3:
            if (o) o->SetUserID(static_cast<UINT>(1 + Small(Small(2) ? 20 : 400)));  // many share one, or few
            break;
        case 4:
            if (auto* line = dynamic_cast<CGeoPLine*>(o)) line->MovePointTo(1, POINT{Coord(), Coord()});
            else if (auto* point = dynamic_cast<CGeoPoint*>(o)) *point = CPoint(Coord(), Coord());
            break;
        case 5:
            if (o) o->ChangeUnit(o->GetUnit() == 3 ? 4 : 3);
            break;
        default:
            if (o && Small(8) == 0) layer.ResetBounds(CRect(Small(9), Small(9), 2000, 2000));
            break;
        }
    }
    void Check()
    {
        CTestDC dc;
        for (int q = 0; q < 6; ++q) {
            const int x = Coord(), y = Coord();
            const CRect rect(x, y, x + Small(40), y + Small(40));
            for (SELOBJMODE mode : {SELOBJ_MEET, SELOBJ_INSIDE})
                ASSERT_EQ(layer.FindObj(rect, mode, 0), WalkFind(layer, rect, mode)) << "rect query " << q;
            const UINT id = static_cast<UINT>(1 + Small(40));
            ASSERT_EQ(Found(layer, id), WalkUser(layer, id));
            // Sharing, asked for a listed object (first, middle or last of its ID's holders).
            if (const int n = layer.GetObjectCount()) {
                CGeoVectorObject* o = Nth(Small(n));
                const bool shared = WalkUser(layer, o->GetUserID()).size() > 1;
                ASSERT_EQ(layer.IsUserIDShared(o->GetUserID(), o) != FALSE, shared) << "sharing " << q;
            }
        }
        // A clip of device units: at scale 10 and origin (0, 0) object (x, y) is device (x, -y).
        const int x = Coord(), y = Coord();
        RECT clip{x, -y - 80, x + 80, -y};
        const CRect objectClip = layer.LPtoRP(10, CPoint(0, 0), layer.GetBoundsInMillimeter().TopLeft(), clip, 0);
        DrawLog().clear();
        layer.Draw(&dc, &clip, 10, 10, CPoint(0, 0), DisplayState(2), 0, nullptr);
        std::vector<const CGeoVectorObject*> drawn;
        for (const DrawCall& c : DrawLog()) drawn.push_back(c.object);
        ASSERT_EQ(drawn, WalkDrawn(layer, objectClip));
    }
};

}  // namespace

TEST(LayerIndex, AnswersAsTheListWalkThroughEdits)
{
    Fixture f;
    for (int i = 0; i < 300; ++i) f.AddOne();
    f.Check();
    for (int step = 0; step < 400; ++step) {
        f.Mutate();
        if (step % 5 == 0) f.Check();
        if (::testing::Test::HasFatalFailure()) return;
    }
    // Converting a line puts the new object in its place: found where the old one was.
    for (POSITION p = f.layer.m_ObjList.GetHeadPosition(); p;) {
        auto* o = static_cast<CGeoVectorObject*>(f.layer.m_ObjList.GetNext(p));
        if (!f.layer.CanConvertObj(o, 0, 0)) continue;
        if (CGeoPLine* line = f.layer.FixedLine(o)) {
            delete o;
            EXPECT_TRUE(f.layer.IsListed(line));
            break;
        }
    }
    f.Check();
}

TEST(LayerIndex, AnObjectListedTwiceSendsTheLayerBackToItsList)
{
    CDrawTestBox* shared = new CDrawTestBox(CRect(10, 10, 20, 20));
    shared->SetAutoRemoveByLayer(0);
    {
    CGeoVectorLayer a, b;
    a.Add(shared);
    CDrawTestBox* other = new CDrawTestBox(CRect(100, 100, 120, 120));
    a.Add(other);
    EXPECT_EQ(a.FindObj(CRect(12, 12, 14, 14), SELOBJ_MEET, 0), shared);  // builds a's look-ups
    b.Add(shared);  // still in a's list, now linked to b
    shared->Move(CSize(100, 100));
    // a still lists it: its walk finds it at its new place, in front of the other box.
    EXPECT_EQ(a.FindObj(CRect(112, 112, 114, 114), SELOBJ_MEET, 0), WalkFind(a, CRect(112, 112, 114, 114), SELOBJ_MEET));
    EXPECT_TRUE(a.IsListed(shared));
    EXPECT_EQ(Found(a, shared->GetUserID()), WalkUser(a, shared->GetUserID()));
    b.Delete(shared, 0);
    a.Delete(other, 0);
    delete other;
    // a's list still names the box; a lets it go when it dies, since it does not own it.
    }
    delete shared;
}

// Far from the origin neighbouring coordinates share one float; the look-up must still tell bounds
// one unit apart, and find boxes touching the rectangle's edge, as comparing the integers does.
TEST(LayerIndex, BoundsOneUnitApartFarFromTheOriginAreTold)
{
    CGeoVectorLayer layer;
    const int far = 100000000;  // floats step by 8 here
    std::vector<CDrawTestBox*> boxes;
    for (int i = 0; i < 40; ++i) {  // 1 x 1 boxes four units apart on a diagonal
        const int x = far + 4 * i, y = -far - 4 * i;
        boxes.push_back(new CDrawTestBox(CRect(x, y, x + 1, y + 1)));
        layer.Add(boxes.back());
    }
    int found = 0;
    for (int i = 0; i < 40; ++i) {
        const int x = far + 4 * i, y = -far - 4 * i;
        for (int off : {0, 1}) {  // overlapping the box by one unit, or only touching its corner
            const CRect rect(x + off, y + off, x + 3, y + 3);
            for (SELOBJMODE mode : {SELOBJ_MEET, SELOBJ_INSIDE})
                ASSERT_EQ(layer.FindObj(rect, mode, 0), WalkFind(layer, rect, mode)) << i << " " << off;
            found += WalkFind(layer, rect, SELOBJ_MEET) != nullptr;
        }
    }
    EXPECT_EQ(found, 40);  // each overlapping rectangle finds its box, none of the others any
    // The bounds look-up itself counts touching: a rectangle at a box's corner finds that box alone.
    for (int i = 0; i < 40; ++i) {
        const int x = far + 4 * i, y = -far - 4 * i;
        std::vector<CGeoVectorObject*> near;
        ASSERT_TRUE(layer.FindByBounds(CRect(x + 1, y + 1, x + 3, y + 3), near));
        EXPECT_EQ(near, std::vector<CGeoVectorObject*>{boxes[static_cast<size_t>(i)]});
        ASSERT_TRUE(layer.FindByBounds(CRect(x + 2, y + 2, x + 3, y + 3), near));
        EXPECT_TRUE(near.empty());
    }
    // Moving a box by one unit is seen too.
    boxes[7]->Move(CSize(1, 0));
    const CRect rect(far + 29, -far - 28, far + 30, -far - 27);
    EXPECT_EQ(layer.FindObj(rect, SELOBJ_MEET, 0), WalkFind(layer, rect, SELOBJ_MEET));
    EXPECT_EQ(layer.FindObj(rect, SELOBJ_MEET, 0), boxes[7]);
}

TEST(LayerIndex, BoundsReachingAcrossTheCoordinateRangeAreTold)
{
    // Corners near both ends of the range: the look-up's sums and sizes must not overflow.
    CGeoVectorLayer layer;
    const int lo = INT_MIN + 2, hi = INT_MAX - 2;
    const CRect rects[] = {CRect(lo, lo, hi, hi), CRect(hi - 10, hi - 10, hi, hi), CRect(lo, lo, lo + 10, lo + 10),
                           CRect(lo, hi - 10, lo + 10, hi), CRect(hi - 10, lo, hi, lo + 10), CRect(-5, -5, 5, 5)};
    for (int round = 0; round < 20; ++round)
        for (const CRect& r : rects) layer.Add(new CDrawTestBox(r));
    for (const CRect& r : rects)
        for (SELOBJMODE mode : {SELOBJ_MEET, SELOBJ_INSIDE})
            ASSERT_EQ(layer.FindObj(r, mode, 0), WalkFind(layer, r, mode)) << r.left << "," << r.top;
    std::vector<CGeoVectorObject*> near;
    ASSERT_TRUE(layer.FindByBounds(CRect(hi - 1, hi - 1, hi, hi), near));
    EXPECT_EQ(near.size(), 40u);  // the whole-range boxes and the boxes at the top right corner
}

// Thousands of objects under two user IDs, taken out in random order until a few are left and then put
// back: the look-up grows and shrinks its sets, and its answers stay those of the walk.
TEST(LayerIndex, ManyHoldersOfOneUserIDComeAndGo)
{
    OpenLayer layer(CRect(0, 0, 2000, 2000));
    std::vector<CGeoVectorObject*> objects;
    for (int i = 0; i < 3000; ++i) {
        auto* point = new CGeoPoint(i % 100, i / 100);
        layer.Add(point);
        point->SetUserID(i % 3 ? 5 : 6);
        objects.push_back(point);
    }
    auto check = [&](const char* when) {
        for (UINT id : {5u, 6u}) ASSERT_EQ(Found(layer, id), WalkUser(layer, id)) << when;
        for (size_t i = 0; i < objects.size(); i += 1 + objects.size() / 7) {
            CGeoVectorObject* o = objects[i];
            ASSERT_EQ(layer.IsUserIDShared(o->GetUserID(), o) != FALSE, WalkUser(layer, o->GetUserID()).size() > 1)
                << when;
        }
    };
    check("built");
    std::mt19937 rng(3);
    std::shuffle(objects.begin(), objects.end(), rng);
    while (objects.size() > 3) {
        CGeoVectorObject* o = objects.back();
        objects.pop_back();
        ASSERT_TRUE(layer.Delete(o, 0));
        delete o;
        if (objects.size() % 97 == 0 || objects.size() < 10) check("deleting");
    }
    for (int i = 0; i < 500; ++i) {
        auto* point = new CGeoPoint(i, 0);
        layer.Add(point);
        point->SetUserID(5);
        objects.push_back(point);
    }
    check("added again");
}

// An object moved and then deleted before the next search: the look-up must not read it again.
TEST(LayerIndex, AnObjectMovedThenDeletedIsNeverReadAgain)
{
    CGeoVectorLayer layer(CRect(0, 0, 2000, 2000));
    CGeoPoint* kept = new CGeoPoint(10, 10);
    CGeoPoint* gone = new CGeoPoint(50, 50);
    layer.Add(kept);
    layer.Add(gone);
    EXPECT_EQ(layer.FindObj(CRect(45, 45, 55, 55), SELOBJ_MEET, 0), gone);  // builds the look-up
    gone->Move(CSize(100, 0));
    ASSERT_TRUE(layer.Delete(gone, 0));
    delete gone;
    EXPECT_EQ(layer.FindObj(CRect(145, 45, 155, 55), SELOBJ_MEET, 0), nullptr);
    EXPECT_EQ(layer.FindObj(CRect(5, 5, 15, 15), SELOBJ_MEET, 0), kept);
}
