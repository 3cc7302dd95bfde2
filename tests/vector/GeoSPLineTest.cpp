// The spline: its slot layout of control and interpolated points, digitising, changing the number of
// interpolated points, snapping, its record (k first) and its conversions with and without the
// interpolated points.
#include "LineTestSupport.h"

#include "core/GeoSettings.h"
#include "vector/GeoLineType.h"
#include "vector/GeoPolygonLine.h"
#include "vector/GeoSPLine.h"

#include <ostrel/Measure.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace linetest;

namespace {

std::unique_ptr<CGeoSPLine> Spline(const Pts& controls, int k) {
    auto s = std::make_unique<CGeoSPLine>(k);
    for (const POINT& p : controls) s->AddPoint(p);
    return s;
}

const Pts kFour = {{0, 0}, {80, 40}, {160, 0}, {240, 40}};

// Every control point at slot i * (k + 1), and the curve between two control points different from
// the straight chord somewhere when three points are not in line.
void ExpectLayout(const CGeoSPLine& s, const Pts& controls) {
    const int k = s.GetSplineIntpPoints();
    const Pts slots = SlotsOf(s);
    ASSERT_EQ(slots.size(), (controls.size() - 1) * (k + 1) + 1);
    for (size_t i = 0; i < controls.size(); ++i) {
        EXPECT_EQ(slots[i * (k + 1)].x, controls[i].x) << i;
        EXPECT_EQ(slots[i * (k + 1)].y, controls[i].y) << i;
    }
    EXPECT_TRUE(SamePoints(PointsOf(s), controls));
}

TEST(GeoSPLine, ControlPointsOwnKPlusOneSlots) {
    ASSERT_EQ(GetSplineIntpPts(), 7);
    auto s = Spline(kFour, 0);  // 0: the global default
    EXPECT_EQ(s->GetSplineIntpPoints(), 7);
    EXPECT_EQ(s->GetPointSize(0), 8);
    ExpectLayout(*s, kFour);
    // The interpolated slots lie on a curve through the control points, not on the chords.
    const Pts slots = SlotsOf(*s);
    EXPECT_NE(slots[4].y, 20);
    EXPECT_EQ(s->GetBounds(), CRect(::RecalcBounds(slots.data(), static_cast<int>(slots.size()))));
    EXPECT_GT(s->Length(), CGeoPLine(4, kFour.data(), TRUE).Length());  // the curve is measured
    EXPECT_EQ(s->GetObjectTypeName(), CString("样条曲线"));

    // The array constructor takes control and interpolated slots as they stand.
    CGeoSPLine fromSlots(4, 7, slots.data());
    EXPECT_TRUE(SamePoints(SlotsOf(fromSlots), slots));
    EXPECT_EQ(fromSlots.IsCompleted(), 1);
    EXPECT_EQ(CGeoSPLine(5, 3).GetPointBufferSize(), 8 * 17);
    EXPECT_EQ(CGeoSPLine(-2).GetSplineIntpPoints(), 7);
}

TEST(GeoSPLine, DigitisingDropsARepeatedControlPoint) {
    auto s = Spline({{0, 0}, {10, 10}, {10, 10}, {20, 0}}, 7);
    EXPECT_EQ(s->GetPoints(), 3);
    EXPECT_EQ(s->GetPoint(1), CPoint(10, 10));  // the second control point, not an interpolated slot
    EXPECT_EQ(s->GetPoint(2), CPoint(20, 0));
    ExpectLayout(*s, {{0, 0}, {10, 10}, {20, 0}});

    // A control point moved onto its neighbour is pushed off it.
    s->MovePointTo(1, POINT{0, 0});
    EXPECT_EQ(s->GetPoint(1), CPoint(5, 5));

    // At least two control points stay.
    EXPECT_EQ(s->CanDeleteHandle(2), 1);
    s->DeleteHandle(2);
    ExpectLayout(*s, {{0, 0}, {20, 0}});
    EXPECT_EQ(s->CanDeleteHandle(1), 0);
    EXPECT_EQ(s->CanDeleteHandle(2), 0);
}

TEST(GeoSPLine, ChangingKMovesTheControlPointsAndRebuildsTheCurve) {
    auto s = Spline(kFour, 7);
    const Pts seven = SlotsOf(*s);
    EXPECT_EQ(s->SetSplineIntpPoints(3), 1);
    EXPECT_EQ(s->CGeoLine::GetPoints(), 13);
    EXPECT_EQ(s->GetPointBufferSize(), 13 * 8);  // trimmed
    ExpectLayout(*s, kFour);
    EXPECT_TRUE(SamePoints(SlotsOf(*s), SlotsOf(*Spline(kFour, 3))));
    EXPECT_EQ(s->SetSplineIntpPoints(3), 0);  // unchanged
    EXPECT_EQ(s->SetSplineIntpPoints(0), 1);  // the default, 7
    EXPECT_EQ(s->CGeoLine::GetPoints(), 25);
    ExpectLayout(*s, kFour);
    EXPECT_TRUE(SamePoints(SlotsOf(*s), seven));

    // Growth that cannot be had changes nothing.
    s->Trim();
    auto refuse = [](void*, std::size_t) -> void* { return nullptr; };
    LineMemAllocator old = SetLineMemAllocator(refuse);
    EXPECT_EQ(s->SetSplineIntpPoints(20), 0);
    SetLineMemAllocator(old);
    EXPECT_EQ(s->GetSplineIntpPoints(), 7);
    EXPECT_TRUE(SamePoints(SlotsOf(*s), seven));

    auto one = Spline({{1, 1}}, 7);
    EXPECT_EQ(one->SetSplineIntpPoints(2), 1);
    EXPECT_EQ(one->GetPointSize(0), 3);
}

TEST(GeoSPLine, JoiningTwoSplinesKeepsTheLayout) {
    // Blocks trimmed to the slots in use: the join must still find room for every slot it writes.
    auto a = Spline({{0, 0}, {10, 10}}, 7);
    auto b = Spline({{20, 0}, {30, 10}, {40, 0}}, 7);
    a->Trim();
    b->Trim();
    EXPECT_EQ(a->AddTail(*b, FALSE), 1);
    ExpectLayout(*a, {{0, 0}, {10, 10}, {20, 0}, {30, 10}, {40, 0}});
    CGeoPLine plain(2, kFour.data(), TRUE);
    EXPECT_EQ(a->AddTail(plain, FALSE), 0);  // another class
}

TEST(GeoSPLine, VertexSnappingSeesOnlyControlPoints) {
    auto s = Spline({{0, 0}, {80, 80}, {160, 0}}, 7);
    const Pts slots = SlotsOf(*s);
    CPoint p(-1, -1);
    int index = 99;
    const POINT mid = slots[4];  // an interpolated slot
    EXPECT_EQ(s->GetSnapPointA(p, CRect(mid.x - 2, mid.y - 2, mid.x + 2, mid.y + 2), index, SNAP_VERTEX, 0), 0);
    EXPECT_EQ(s->GetSnapPointA(p, CRect(76, 76, 84, 84), index, SNAP_VERTEX, 0), 1);
    EXPECT_EQ(p, CPoint(80, 80));
    EXPECT_EQ(index, 99);  // not set
    // Strictly inside the box about its centre: a control point on the edge does not count.
    EXPECT_EQ(s->GetSnapPointA(p, CRect(80, 80, 84, 84), index, SNAP_VERTEX, 0), 0);
    EXPECT_EQ(s->GetSnapPointA(p, CRect(158, -2, 162, 2), index, SNAP_ENDPOINT, 0), 1);
    EXPECT_EQ(p, CPoint(160, 0));
    EXPECT_EQ(s->GetSnapPointA(p, CRect(mid.x - 2, mid.y - 2, mid.x + 2, mid.y + 2), index, SNAP_NEAREST, 0), 1);
    EXPECT_EQ(s->GetSnapPointA(p, CRect(-100, -100, 300, 300), index, SNAP_MIDPOINT, 0), 0);
}

TEST(GeoSPLine, RecordStartsWithKAndHoldsOnlyControlPoints) {
    auto s = Spline(kFour, 0);
    const Bytes bytes = Store([&](CArchive& ar) { s->Serialize(ar); });
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 4), Bytes({7, 0, 0, 0}));
    // The record ends with the spline's slot count and the control points alone, raw.
    const size_t slotCountAt = bytes.size() - 32 - 4;
    LONG slotCount = 0;
    std::memcpy(&slotCount, &bytes[slotCountAt], 4);
    EXPECT_EQ(slotCount, 25);
    Bytes controls(32);
    std::memcpy(controls.data(), kFour.data(), 32);
    EXPECT_EQ(Bytes(bytes.end() - 32, bytes.end()), controls);

    CObject* obj = nullptr;
    Load(Store([&](CArchive& ar) { ar << static_cast<CObject*>(s.get()); }), [&](CArchive& ar) { ar >> obj; });
    std::unique_ptr<CObject> owned(obj);
    ASSERT_TRUE(obj && obj->GetRuntimeClass() == RUNTIME_CLASS(CGeoSPLine));
    EXPECT_TRUE(SamePoints(SlotsOf(static_cast<CGeoSPLine&>(*obj)), SlotsOf(*s)));  // the curve rebuilt

    // A k that gives no stride, or a slot count that does not fit the layout of k, is refused.
    for (LONG k : {0, -1, 0x7FFFFFFF}) {
        Bytes bad = bytes;
        std::memcpy(&bad[0], &k, 4);
        CGeoSPLine back(3);
        EXPECT_THROW(Load(bad, [&](CArchive& ar) { back.Serialize(ar); }), CArchiveException) << k;
        EXPECT_EQ(back.GetSplineIntpPoints(), 3);
        EXPECT_EQ(back.GetPoints(), 0);
    }
    {
        // A huge k with a slot count that fits it: four stored points would size a block of 2.4 GB.
        Bytes bad = bytes;
        const LONG k = 100000000, slots = 3 * (k + 1) + 1;
        std::memcpy(&bad[0], &k, 4);
        std::memcpy(&bad[slotCountAt], &slots, 4);
        CGeoSPLine back(3);
        EXPECT_THROW(Load(bad, [&](CArchive& ar) { back.Serialize(ar); }), CArchiveException);
        EXPECT_EQ(back.GetPoints(), 0);
    }
    {
        Bytes bad = bytes;
        const LONG ragged = 26;  // four points, but a stray slot after the last
        std::memcpy(&bad[slotCountAt], &ragged, 4);
        bad.insert(bad.end(), 8, 0);
        CGeoSPLine back(3);
        EXPECT_THROW(Load(bad, [&](CArchive& ar) { back.Serialize(ar); }), CArchiveException);
        EXPECT_EQ(back.GetPoints(), 0);
        EXPECT_EQ(back.GetSplineIntpPoints(), 3);
    }
}

TEST(GeoSPLine, CopiesKeepKAndAPolylineCannotBeCopiedIntoASpline) {
    auto s = Spline(kFour, 3);
    CGeoSPLine copy(*s, 0, 1);
    EXPECT_EQ(copy.GetSplineIntpPoints(), 3);
    EXPECT_TRUE(SamePoints(SlotsOf(copy), SlotsOf(*s)));
    std::unique_ptr<CGeoObject> dup(s->Duplicate(0, 1));
    ASSERT_TRUE(dup && dup->GetRuntimeClass() == RUNTIME_CLASS(CGeoSPLine));
    EXPECT_EQ(static_cast<CGeoSPLine&>(*dup).GetSplineIntpPoints(), 3);
    CGeoPLine line(4, kFour.data(), TRUE);
    EXPECT_EQ(copy.CopyData(line), 0);
    EXPECT_TRUE(SamePoints(SlotsOf(copy), SlotsOf(*s)));
}

class AnsweringUser : public CUserDriver {
public:
    int answer = IDYES;
    int asked = 0;
    CString text;
    UINT type = 0;
    int OnMessageBox(const CString& t, UINT nType, UINT) override {
        ++asked;
        text = t;
        type = nType;
        return answer;
    }
    int OnFileDialog(CFileDialog&, CString&) override { return IDCANCEL; }
};

TEST(GeoSPLine, ConversionsKeepOrDropTheInterpolatedPoints) {
    auto s = Spline({{0, 0}, {80, 80}, {160, 0}}, 7);
    s->SetUnit(6);
    s->SetZ(2.0);
    const Pts slots = SlotsOf(*s);
    auto converted = [&](WORD type, DWORD flags) {
        return std::unique_ptr<CGeoLine>(s->ConvertTo(GLT_TYPE(type, 0), flags));
    };
    auto kept = converted(GLT_PLINE, 0);
    ASSERT_TRUE(kept && kept->GetRuntimeClass() == RUNTIME_CLASS(CGeoPLine));
    EXPECT_TRUE(SamePoints(PointsOf(static_cast<CGeoPLine&>(*kept)), slots));  // 17 points
    EXPECT_EQ(kept->GetUnit(), 6);
    EXPECT_EQ(kept->GetZ(0), 2.0);
    EXPECT_EQ(kept->IsCompleted(), 1);
    auto dropped = converted(GLT_PLINE, 1);
    ASSERT_TRUE(dropped);
    EXPECT_TRUE(SamePoints(PointsOf(static_cast<CGeoPLine&>(*dropped)), {{0, 0}, {80, 80}, {160, 0}}));
    auto ring = converted(GLT_POLYGONLINE, 1);
    ASSERT_TRUE(ring && ring->GetRuntimeClass() == RUNTIME_CLASS(CGeoPolygonLine));
    EXPECT_EQ(static_cast<CGeoPolygonLine&>(*ring).IsFace(), 0);
    EXPECT_EQ(ring->GetPoints(), 3);
    EXPECT_EQ(converted(GLT_SPLINE, 0), nullptr);
    EXPECT_EQ(converted(GLT_RAPOLYGON, 0), nullptr);

    // Any other flags: the user decides.
    AnsweringUser user;
    AfxSetUserDriver(&user);
    user.answer = IDYES;
    auto yes = converted(GLT_POLYGONLINE, 2);
    user.answer = IDNO;
    auto no = converted(GLT_PLINE, 0xFFFFFFFF);
    user.answer = IDCANCEL;
    auto cancel = converted(GLT_PLINE, 2);
    AfxSetUserDriver(nullptr);
    EXPECT_EQ(user.asked, 3);
    EXPECT_EQ(user.text, CString("保留样条插值点吗?"));
    EXPECT_EQ(user.type, static_cast<UINT>(MB_YESNOCANCEL));
    ASSERT_TRUE(yes && no);
    EXPECT_EQ(yes->GetPoints(), 17);
    EXPECT_EQ(no->GetPoints(), 3);
    EXPECT_EQ(cancel, nullptr);
    EXPECT_TRUE(SamePoints(SlotsOf(*s), slots));  // the source is as it was
}

}  // namespace
