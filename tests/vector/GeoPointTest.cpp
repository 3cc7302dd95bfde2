// Points, label points and nodes as objects: directions, default names, geometry and editing, snapping,
// the TIN vertex they give, copies, and their records (hand-built bytes, round trips, truncation).
#include "LineTestSupport.h"

#include "core/GeoSettings.h"
#include "core/ObjectBytes.h"
#include "vector/GeoTinPoint.h"
#include "vector/GeoLabelPoint.h"
#include "vector/GeoNode.h"
#include "vector/GeoPoint.h"

#include <ostrel/Units.h>
#include <pellion/GeoCoordinateTransformer.h>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>

namespace {

using objbytes::Bytes;

std::string Name(const CGeoObject& o) { return std::string(static_cast<LPCSTR>(o.GetObjectName())); }
std::string Num(int n) { return std::to_string(n); }

// The object writer's bytes for one object (class tag, then its record).
std::vector<BYTE> StoreObject(const CObject* ob) {
    return linetest::Store([&](CArchive& ar) { ar << ob; });
}

std::unique_ptr<CObject> LoadObject(const std::vector<BYTE>& data) {
    CObject* ob = nullptr;
    linetest::Load(data, [&](CArchive& ar) { ar >> ob; });
    return std::unique_ptr<CObject>(ob);
}

// The new-class tag the object writer puts before the first object of a class.
Bytes ClassTag(WORD schema, const char* name) {
    Bytes b;
    b.Word(0xFFFF).Word(schema).Word(static_cast<WORD>(std::strlen(name)));
    for (const char* p = name; *p; ++p) b.Byte(static_cast<BYTE>(*p));
    return b;
}

}  // namespace

TEST(GeoPoint, SetDirectKeepsTheDirectionWithinZeroTo360) {
    const struct {
        double in, out;
    } cases[] = {
        {0, 0},      {30, 30},    {360, 0},    {725, 5},   {-30, 330},
        {-360, 360},  // a negative whole turn gives 360, not 0
        {-725, 355}, {-720, 360}, {359.5, 359.5},
        {std::numeric_limits<double>::quiet_NaN(), 0}, {std::numeric_limits<double>::infinity(), 0},
    };
    CGeoPoint p;
    for (const auto& c : cases) {
        p.SetDirect(c.in);
        EXPECT_DOUBLE_EQ(p.GetDirect(), c.out) << c.in;
    }
}

TEST(GeoPoint, PointsAndLabelPointsShareACounterAndNodesHaveTheirOwn) {
    const int points = CGeoPoint::GetPointCount(), nodes = CGeoNode::GetNodeCount();
    CGeoPoint a;
    CGeoLabelPoint b(1, 2);
    EXPECT_EQ(Name(a), "点 " + Num(points + 1));
    EXPECT_EQ(Name(b), "点 " + Num(points + 2));
    CGeoNode n;
    EXPECT_EQ(Name(n), "结点 " + Num(nodes + 1));
    EXPECT_EQ(CGeoPoint::GetPointCount(), points + 3);  // the node ran the point's constructor too
    CGeoPoint c;
    EXPECT_EQ(Name(c), "点 " + Num(points + 4));

    // An empty name gives back the default of the class's own counter.
    n.SetObjectName("x");
    n.SetObjectName("");
    EXPECT_EQ(Name(n), "结点 " + Num(nodes + 1));

    // A copy is a new object with a name of its own.
    CGeoPoint copy(c, 0, 1);
    EXPECT_EQ(Name(copy), "点 " + Num(points + 5));

    EXPECT_EQ(std::string(static_cast<LPCSTR>(a.GetObjectTypeName())), "矢量点");
    EXPECT_EQ(std::string(static_cast<LPCSTR>(b.GetObjectTypeName())), "标识点");
    EXPECT_EQ(std::string(static_cast<LPCSTR>(n.GetObjectTypeName())), "结点");
}

TEST(GeoPoint, BoundsFollowThePositionThroughEveryEdit) {
    CGeoPoint p(3, 4);
    EXPECT_EQ(p.GetBounds(), CRect(3, 4, 3, 4));
    EXPECT_EQ(p.GetPosition(), CRect(3, 4, 3, 4));
    EXPECT_EQ(p.GetHandleCount(), 1);
    EXPECT_EQ(p.GetHandle(5), CPoint(3, 4));

    p += CPoint(2, 3);
    EXPECT_TRUE(p == CPoint(5, 7));
    p -= CPoint(10, 10);
    EXPECT_TRUE(p == CPoint(-5, -3));
    EXPECT_TRUE(p != CPoint(5, 7));
    p = CPoint(100, 200);
    EXPECT_EQ(p.GetPoint(), CPoint(100, 200));
    EXPECT_EQ(p.GetPosition(), CRect(100, 200, 100, 200));
    p.MoveHandleTo(1, CPoint(-1, 8));
    EXPECT_EQ(p.GetPoint(), CPoint(-1, 8));
    p.MoveTo(CRect(20, 30, 25, 35));  // a rectangle with a size: the position is its top-left corner
    EXPECT_EQ(p.GetPoint(), CPoint(20, 30));
    EXPECT_EQ(p.GetBounds(), CRect(20, 30, 20, 30));

    // Rotation turns the position counter-clockwise (y up), the way every shape turns, and leaves the
    // direction alone.
    CGeoPoint r(10, 0);
    r.SetDirect(30);
    r.DoRotateCCW(90, CPoint(0, 0));
    EXPECT_EQ(r.GetPoint(), CPoint(0, 10));
    EXPECT_EQ(r.GetBounds(), CRect(0, 10, 0, 10));
    EXPECT_DOUBLE_EQ(r.GetDirect(), 30.0);

    // A node stays where it is.
    CGeoNode n(10, 0);
    n.DoRotateCCW(90, CPoint(0, 0));
    EXPECT_EQ(n.GetPoint(), CPoint(10, 0));
    EXPECT_EQ(n.GetPosition(), CRect(10, 0, 10, 0));

    // Unit changes convert the position with the bounds.
    CGeoPoint u(5000, -2000);  // millimetres
    u.ChangeUnit(6);           // metres
    EXPECT_EQ(u.GetPoint(), CPoint(5, -2));
    EXPECT_EQ(u.GetBounds(), CRect(5, -2, 5, -2));
}

TEST(GeoPoint, AssignmentsMoveLabelPointsAndNodesToo) {
    CGeoLabelPoint lp(1, 1);
    lp = CPoint(4, 5);
    EXPECT_EQ(lp.GetPoint(), CPoint(4, 5));
    CGeoNode n(1, 1);
    n = CPoint(-4, 5);
    n += CPoint(1, 1);
    EXPECT_EQ(n.GetPoint(), CPoint(-3, 6));
    EXPECT_EQ(n.GetPosition(), CRect(-3, 6, -3, 6));
}

TEST(GeoPoint, AClickNearThePointSelectsIt) {
    // Scale 10 in millimetres: one unit is one device unit; the origin puts y = 300 at the device's top.
    CGeoPoint p(100, 100);
    const CPoint origin(0, -300), none(0, 0);
    int rx = 0, ry = 0;
    GetSelRectRadius(rx, ry);
    EXPECT_TRUE(p.NormalHitTest(CPoint(100, 200), 10, origin, none));
    EXPECT_TRUE(p.NormalHitTest(CPoint(100 + rx - 1, 200 - ry + 1), 10, origin, none));
    EXPECT_FALSE(p.NormalHitTest(CPoint(100 + rx + 1, 200), 10, origin, none));
    EXPECT_FALSE(p.NormalHitTest(CPoint(100, 200 + ry + 1), 10, origin, none));
}

TEST(GeoPoint, IntersectsTheRectangleAsGivenWhateverTheMode) {
    const struct {
        CRect rect;
        int hit;
    } cases[] = {
        {CRect(0, 0, 10, 10), 1},
        {CRect(0, 0, 5, 5), 0},      // right and bottom edges excluded
        {CRect(5, 5, 6, 6), 1},      // left and top edges included
        {CRect(10, 10, 0, 0), 0},    // not normalised: holds nothing
        {CRect(6, 0, 10, 10), 0},
    };
    CGeoPoint p(5, 5);
    for (const auto& c : cases)
        for (SELOBJMODE mode : {SELOBJ_MEET, SELOBJ_INSIDE})
            EXPECT_EQ(p.Intersects(c.rect, mode), c.hit) << c.rect.left << "," << c.rect.top << " mode " << mode;
}

TEST(GeoPoint, SnapsOnlyAsEndPointVertexOrNearestWithinTheAreasHalves) {
    const CRect area(0, 0, 10, 10);  // centre (5, 5), halves 5
    const struct {
        CPoint at;
        int snapped;
    } cases[] = {{{5, 5}, 1}, {{9, 1}, 1}, {{1, 9}, 1}, {{10, 5}, 0}, {{0, 5}, 0}, {{5, -1}, 0}};
    for (const auto& c : cases) {
        CGeoPoint p(c.at.x, c.at.y);
        for (SNAPTYPE kind : {SNAP_ENDPOINT, SNAP_VERTEX, SNAP_NEAREST}) {
            CPoint got(-1, -1);
            int index = 77;
            EXPECT_EQ(p.GetSnapPointA(got, area, index, kind, 0), c.snapped) << c.at.x << "," << c.at.y;
            EXPECT_EQ(got, c.snapped ? c.at : CPoint(-1, -1));
            EXPECT_EQ(index, 77);
        }
    }
    CGeoPoint centre(5, 5);
    for (SNAPTYPE kind : {SNAP_NONE, SNAP_MIDPOINT, SNAP_PERPENDICULAR, SNAP_CENTER, SNAP_QUADRANT, SNAP_TANGENT}) {
        CPoint got;
        int index = 0;
        EXPECT_EQ(centre.GetSnapPointA(got, area, index, kind, 0), 0) << kind;
    }
    // Extreme coordinates do not overflow the centre or the halves.
    CGeoPoint far(INT_MAX - 1, INT_MIN + 1);
    CPoint got;
    int index = 0;
    EXPECT_EQ(far.GetSnapPointA(got, CRect(INT_MAX - 4, INT_MIN, INT_MAX, INT_MIN + 4), index, SNAP_VERTEX, 0), 1);
}

TEST(GeoPoint, GivesOneTinVertex) {
    CGeoPoint p(3, 4);
    p.SetZ(12.5);
    EXPECT_EQ(p.GetTinPointNumber(), 1);
    EXPECT_EQ(p.GetPoint(7), CPoint(3, 4));
    EXPECT_EQ(p.GetX(7), 3);
    EXPECT_EQ(p.GetY(7), 4);

    CGeoTinPoint vertices[2];
    vertices[1].SetNumber(99);
    CGeoTinPoint* cursor = vertices;
    CPoint reference(0, 0);
    EXPECT_EQ(p.CreateTinPoints(cursor, reference), 1);
    EXPECT_EQ(cursor, vertices + 1);
    EXPECT_EQ(vertices[0].GetNumber(), 0);
    EXPECT_EQ(vertices[0].GetMainBody(), &p);
    EXPECT_DOUBLE_EQ(vertices[0].GetDistance(), 25.0);
    EXPECT_EQ(vertices[0].GetX(), 3);
    EXPECT_DOUBLE_EQ(vertices[0].GetZ(), 12.5);
    EXPECT_EQ(vertices[1].GetNumber(), 99);  // nothing written past the one record
}

namespace {

// Metres in, (x + 1000, 2y) out.
class CShiftTransformer : public CGeoCoordinateTransformer {
public:
    int Transform(double x, double y, double& xOut, double& yOut) const override {
        xOut = x + 1000.0;
        yOut = 2.0 * y;
        return 1;
    }
};

class CShiftWithOffsets : public CBaseCoordinateTransformer {
public:
    int Transform(double x, double y, double& xOut, double& yOut) const override {
        xOut = x + 1000.0;
        yOut = 2.0 * y;
        return 1;
    }
};

}  // namespace

TEST(GeoPoint, TransformMapsThePositionInMetres) {
    CGeoPoint p(1500, -2500);  // millimetres
    CShiftTransformer shift;
    p.Transform(shift, 1.0, 0.0);  // (2.5, -2.5) m -> (1002.5, -5) m
    EXPECT_EQ(p.GetPoint(), CPoint(1002500, -5000));
    EXPECT_EQ(p.GetPosition(), CRect(1002500, -5000, 1002500, -5000));

    CGeoPoint q(1500, -2500);
    CShiftWithOffsets offsets;
    offsets.SetSecondOffsetX(1000.0);
    offsets.SetSecondOffsetY(-10.0);
    q.Transform(offsets, 1.0, 0.0);
    EXPECT_EQ(q.GetPoint(), CPoint(2500, 5000));
}

TEST(GeoPoint, CopiesCarryTheirClassesOwnData) {
    CGeoPoint p(3, 4);
    p.SetDirect(45);
    p.SetZ(2.0);
    std::unique_ptr<CGeoObject> dup(p.Duplicate(0, 1));
    auto* d = dynamic_cast<CGeoPoint*>(dup.get());
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->GetRuntimeClass(), RUNTIME_CLASS(CGeoPoint));
    EXPECT_EQ(d->GetPoint(), CPoint(3, 4));
    EXPECT_DOUBLE_EQ(d->GetDirect(), 45.0);
    EXPECT_DOUBLE_EQ(d->GetZ(), 2.0);
    EXPECT_NE(Name(*d), Name(p));

    CGeoLabelPoint lp(7, 8);
    lp.SetPolygonID(42);
    std::unique_ptr<CGeoObject> ldup(lp.Duplicate(0, 1));
    auto* l = dynamic_cast<CGeoLabelPoint*>(ldup.get());
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->GetPolygonID(), 42u);
    EXPECT_EQ(l->GetPoint(), CPoint(7, 8));
    CGeoLabelPoint lcopy(lp, 0, 1);
    EXPECT_EQ(lcopy.GetPolygonID(), 42u);
    CGeoLabelPoint assigned;
    assigned = lp;
    EXPECT_EQ(assigned.GetPolygonID(), 42u);
    EXPECT_EQ(assigned.GetPoint(), CPoint(7, 8));

    CGeoNode n(1, 1);
    n.GetLineIDs().Add(17);
    n.GetLineIDs().Add(static_cast<DWORD>(-4));
    CGeoNode target;
    target.GetLineIDs().Add(5);
    ASSERT_EQ(target.Copy(n, 0, 1), 1);
    ASSERT_EQ(target.GetLineIDs().GetSize(), 2);  // replaced, not appended
    EXPECT_EQ(static_cast<int>(target.GetLineIDs()[1]), -4);
    std::unique_ptr<CGeoObject> ndup(n.Duplicate(0, 1));
    auto* nd = dynamic_cast<CGeoNode*>(ndup.get());
    ASSERT_NE(nd, nullptr);
    EXPECT_EQ(nd->GetLineIDs().GetSize(), 2);

    // Only the same class copies: a point does not become a label point's data.
    CGeoLabelPoint other;
    other.SetPolygonID(9);
    EXPECT_EQ(other.Copy(p, 0, 1), 0);
    EXPECT_EQ(other.CopyData(p), 0);
    EXPECT_EQ(other.GetPolygonID(), 9u);
    EXPECT_EQ(other.GetPoint(), CPoint(0, 0));
}

TEST(GeoPoint, SymbolOfThePointIsThePointSymbolAndOfTheLabelPointTheFillSymbol) {
    GEOVIEW view;
    view.SetSymbol(SYMBOL_POINT, 1);
    view.SetSymbol(SYMBOL_LINE, 11);
    view.SetSymbol(SYMBOL_FILL, 21);
    CGeoPoint p;
    CGeoLabelPoint lp;
    CGeoNode n;
    EXPECT_EQ(p.GetObjectSymbolID(view), 1);
    EXPECT_EQ(n.GetObjectSymbolID(view), 1);
    EXPECT_EQ(lp.GetObjectSymbolID(view), 21);
}

// ---- records ----

namespace {

// The vector-object part of o's record, as its own Serialize writes it.
std::vector<BYTE> VectorPart(CGeoVectorObject& o) {
    return linetest::Store([&](CArchive& ar) { o.CGeoVectorObject::Serialize(ar); });
}

}  // namespace

TEST(GeoPointRecord, IsTheVectorRecordFollowedByPositionAndDirection) {
    CGeoPoint p(-7, 300);
    p.SetDirect(12.5);
    const std::vector<BYTE> golden =
        ClassTag(0, "CGeoPoint").Append(VectorPart(p)).Long(-7).Long(300).Double(12.5).Data();
    EXPECT_EQ(StoreObject(&p), golden);

    std::unique_ptr<CObject> back = LoadObject(golden);
    auto* q = dynamic_cast<CGeoPoint*>(back.get());
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(q->GetPoint(), CPoint(-7, 300));
    EXPECT_EQ(q->GetBounds(), CRect(-7, 300, -7, 300));
    EXPECT_DOUBLE_EQ(q->GetDirect(), 12.5);
    EXPECT_EQ(q->GetObjectName(), p.GetObjectName());
}

TEST(GeoPointRecord, LabelPointAddsItsPolygonIDAndNodeItsLineList) {
    CGeoLabelPoint lp(1, 2);
    lp.SetPolygonID(0x01020304);
    EXPECT_EQ(StoreObject(&lp),
              ClassTag(1, "CGeoLabelPoint").Append(VectorPart(lp)).Long(1).Long(2).Double(0).Dword(0x01020304).Data());

    // A node where arc 17 starts and arc 4 ends.
    CGeoNode n(5, 6);
    n.GetLineIDs().Add(17);
    n.GetLineIDs().Add(static_cast<DWORD>(-4));
    const std::vector<BYTE> golden = ClassTag(1, "CGeoNode")
                                         .Append(VectorPart(n))
                                         .Long(5)
                                         .Long(6)
                                         .Double(0)
                                         .Word(2)
                                         .Dword(17)
                                         .Dword(0xFFFFFFFC)
                                         .Data();
    EXPECT_EQ(StoreObject(&n), golden);

    std::unique_ptr<CObject> back = LoadObject(golden);
    auto* m = dynamic_cast<CGeoNode*>(back.get());
    ASSERT_NE(m, nullptr);
    ASSERT_EQ(m->GetLineIDs().GetSize(), 2);
    EXPECT_EQ(static_cast<int>(m->GetLineIDs()[0]), 17);
    EXPECT_EQ(static_cast<int>(m->GetLineIDs()[1]), -4);
    EXPECT_EQ(m->GetPoint(), CPoint(5, 6));

    std::unique_ptr<CObject> lback = LoadObject(StoreObject(&lp));
    auto* l = dynamic_cast<CGeoLabelPoint*>(lback.get());
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->GetPolygonID(), 0x01020304u);
}

TEST(GeoPointRecord, ATruncatedRecordRaisesAnArchiveError) {
    CGeoNode n(5, 6);
    for (DWORD id : {1u, 2u, 3u}) n.GetLineIDs().Add(id);
    const std::vector<BYTE> whole = StoreObject(&n);
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        const std::vector<BYTE> part(whole.begin(), whole.begin() + cut);
        EXPECT_THROW(LoadObject(part), CArchiveException) << "cut at " << cut;
    }
    // A count that claims more IDs than the data holds is refused too.
    std::vector<BYTE> bad = whole;
    bad[bad.size() - 14] = 0xFE;  // the count word, low byte: 3 -> 0xFE
    EXPECT_THROW(LoadObject(bad), CArchiveException);
}
