// The polyline: block sizes and growth, point editing and its refusals, handles, the stride hooks,
// the TIN contract and the record.
#include "LineTestSupport.h"

#include "core/GeoLayer.h"
#include "core/ObjectBytes.h"
#include "vector/GeoTinPoint.h"
#include "vector/GeoPLine.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

using namespace linetest;

namespace {

std::unique_ptr<CGeoPLine> Line(const Pts& pts) { return std::unique_ptr<CGeoPLine>(MakeLine(pts)); }

const Pts kFive = {{0, 0}, {10, 0}, {20, 0}, {30, 0}, {40, 0}};

TEST(GeoPLineStorage, BlockSizes) {
    EXPECT_EQ(NearestSize(0), 400);
    EXPECT_EQ(NearestSize(49), 400);
    EXPECT_EQ(NearestSize(50), 800);
    EXPECT_EQ(NearestSize(1), 400);
    EXPECT_EQ(LineMemSize(3), 24);
    EXPECT_EQ(NearestSize(0x7FFFFFFF), 0);  // no block that big
}

TEST(GeoPLineStorage, GrowsInStepsOfFiftySlots) {
    CGeoPLine line;
    EXPECT_EQ(line.GetPointBufferSize(), 400);
    for (int i = 0; i < 50; ++i) ASSERT_EQ(line.AddPoint(i, -i), 1);
    EXPECT_EQ(line.GetPointBufferSize(), 400);
    ASSERT_EQ(line.AddPoint(50, -50), 1);  // the 51st point
    EXPECT_EQ(line.GetPointBufferSize(), 800);
    EXPECT_EQ(line.GetPoints(), 51);
    EXPECT_EQ(line.GetPoint(50).y, -50);
    EXPECT_EQ(line.GetBounds(), CRect(0, -50, 50, 0));
}

TEST(GeoPLineStorage, TrimAndClear) {
    CGeoPLine fifty;
    fifty.Trim();
    EXPECT_EQ(fifty.GetPointBufferSize(), 400);  // an empty block of 50 slots stays
    CGeoPLine hundred(100);
    EXPECT_EQ(hundred.GetPointBufferSize(), 800);
    hundred.Trim();
    EXPECT_EQ(hundred.GetPointBufferSize(), 400);

    auto line = Line(kFive);
    line->Trim();
    EXPECT_EQ(line->GetPointBufferSize(), 40);
    line->Clear();
    EXPECT_EQ(line->GetPoints(), 0);
    EXPECT_EQ(line->GetBounds(), CRect(0, 0, 0, 0));
    EXPECT_EQ(line->GetPointBufferSize(), 40);  // a block of 50 slots or less is kept
    for (int i = 0; i < 6; ++i) ASSERT_EQ(line->AddPoint(7, i), 1);
    EXPECT_EQ(line->GetPointBufferSize(), 400);  // the sixth point needed the next step
    EXPECT_EQ(line->GetBounds(), CRect(7, 0, 7, 5));
}

TEST(GeoPLineStorage, SetPointBufferSizeNeverCutsPointsInUse) {
    auto line = Line(kFive);
    EXPECT_EQ(line->SetPointBufferSize(16), 0);
    EXPECT_EQ(line->GetPointBufferSize(), 400);
    EXPECT_EQ(line->SetPointBufferSize(400), 0);  // the size it has: nothing happens
    EXPECT_EQ(line->SetPointBufferSize(-1), 1);   // 50 slots more
    EXPECT_EQ(line->GetPointBufferSize(), 800);
    EXPECT_EQ(line->SetPointBufferSize(0), 1);  // back to 50 slots
    EXPECT_EQ(line->GetPointBufferSize(), 400);
    EXPECT_TRUE(SamePoints(PointsOf(*line), kFive));
}

TEST(GeoPLineConstruction, Constructors) {
    CGeoPLine empty(3);
    EXPECT_EQ(empty.GetPointBufferSize(), 24);
    EXPECT_EQ(empty.GetPoints(), 0);
    EXPECT_EQ(empty.IsCompleted(), 0);

    CGeoPLine one(CPoint(5, -6));
    EXPECT_EQ(one.GetPointBufferSize(), 400);
    EXPECT_EQ(one.GetPoints(), 1);
    EXPECT_EQ(one.GetBounds(), CRect(5, -6, 5, -6));

    CGeoPLine noRoom(0, CPoint(1, 2));  // a one-point line always has a slot for its point
    EXPECT_EQ(noRoom.GetPoints(), 1);
    EXPECT_EQ(noRoom.GetPoint(0), CPoint(1, 2));
    EXPECT_GE(noRoom.GetPointBufferSize(), 8);

    const Pts pts = {{3, 4}, {-1, 9}, {6, 0}};
    CGeoPLine exact(3, pts.data(), FALSE);
    EXPECT_EQ(exact.GetPointBufferSize(), 24);
    EXPECT_EQ(exact.IsCompleted(), 1);
    EXPECT_EQ(exact.GetBounds(), CRect(-1, 0, 6, 9));
    CGeoPLine rounded(3, pts.data(), TRUE);
    EXPECT_EQ(rounded.GetPointBufferSize(), 400);

    CGeoPLine copy(exact);
    EXPECT_TRUE(SamePoints(PointsOf(copy), pts));
    EXPECT_EQ(copy.GetBounds(), exact.GetBounds());
    EXPECT_EQ(copy.IsCompleted(), 1);
}

TEST(GeoPLineEditing, TrimsKeepHeadOrTail) {
    struct Case {
        bool head;
        int n;
        Pts want;
    };
    const Case cases[] = {
        {true, 2, {{0, 0}, {10, 0}}},
        {false, 2, {{30, 0}, {40, 0}}},
        {true, 0, kFive},
        {true, 6, kFive},
        {false, 0, kFive},
        {false, 6, kFive},
        {false, 5, kFive},
        {true, 1, {{0, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.head ? "TrimHead " : "TrimTail ") + std::to_string(c.n));
        auto line = Line(kFive);
        if (c.head)
            line->TrimHead(c.n);
        else
            line->TrimTail(c.n);
        EXPECT_TRUE(SamePoints(PointsOf(*line), c.want));
        if (c.n > 0 && c.n <= 5) {
            EXPECT_EQ(line->GetPointBufferSize(), 8 * c.n);  // trimmed to the points kept
            EXPECT_EQ(line->GetBounds(), CRect(c.want.front().x, 0, c.want.back().x, 0));
        }
    }
}

TEST(GeoPLineEditing, InvertSwapsEnds) {
    auto four = Line({{0, 0}, {1, 1}, {2, 2}, {3, 3}});
    four->Invert();
    EXPECT_TRUE(SamePoints(PointsOf(*four), {{3, 3}, {2, 2}, {1, 1}, {0, 0}}));
    auto three = Line({{0, 0}, {1, 1}, {2, 5}});
    three->Invert();
    EXPECT_TRUE(SamePoints(PointsOf(*three), {{2, 5}, {1, 1}, {0, 0}}));
    auto one = Line({{4, 4}});
    one->Invert();
    EXPECT_TRUE(SamePoints(PointsOf(*one), {{4, 4}}));
}

TEST(GeoPLineEditing, InsertAndDelete) {
    auto line = Line({{0, 0}, {10, 0}, {20, 0}});
    line->InsertPointBefore(5, 5, 1);
    EXPECT_TRUE(SamePoints(PointsOf(*line), {{0, 0}, {5, 5}, {10, 0}, {20, 0}}));
    EXPECT_EQ(line->GetBounds(), CRect(0, 0, 20, 5));
    // InsertPointAfter reports an insertion, into spare room or not.
    EXPECT_EQ(line->InsertPointAfter(15, -5, 2), 1);
    EXPECT_EQ(line->InsertPointAfter(30, 0, 4), 1);  // after the last point
    EXPECT_TRUE(SamePoints(PointsOf(*line), {{0, 0}, {5, 5}, {10, 0}, {15, -5}, {20, 0}, {30, 0}}));
    EXPECT_EQ(line->GetBounds(), CRect(0, -5, 30, 5));

    EXPECT_EQ(line->DeletePoint(1), 1);
    EXPECT_EQ(line->DeletePoint(0), 1);
    EXPECT_EQ(line->DeletePoint(3), 1);  // the last point
    EXPECT_TRUE(SamePoints(PointsOf(*line), {{10, 0}, {15, -5}, {20, 0}}));
    EXPECT_EQ(line->GetBounds(), CRect(10, -5, 20, 0));
    EXPECT_EQ(line->DeletePoint(20, 0), 1);
    EXPECT_EQ(line->DeletePoint(99, 99), 0);

    auto one = Line({{3, 3}});
    EXPECT_EQ(one->DeletePoint(0), 1);
    EXPECT_EQ(one->GetPoints(), 0);
    EXPECT_EQ(one->CGeoLine::GetPoints(), 0);
}

TEST(GeoPLineEditing, InsertAfterGrowsTheBlockWhenFull) {
    Pts pts;
    for (int i = 0; i < 50; ++i) pts.push_back(POINT{i, 0});
    auto line = Line(pts);
    ASSERT_EQ(line->GetPointBufferSize(), 800);  // NearestSize(50)
    line->Trim();
    ASSERT_EQ(line->GetPointBufferSize(), 400);
    EXPECT_EQ(line->InsertPointAfter(POINT{0, 1}, 0), 1);
    EXPECT_EQ(line->GetPointBufferSize(), 800);
    EXPECT_EQ(line->GetPoint(1), CPoint(0, 1));
    EXPECT_EQ(line->GetPoint(50), CPoint(49, 0));
}

TEST(GeoPLineEditing, IndexesOutsideThePointsAreRefused) {
    const Pts three = {{0, 0}, {10, 0}, {20, 0}};
    auto line = Line(three);
    for (int i : {-1, 3, 1000}) {
        SCOPED_TRACE(i);
        line->InsertPointBefore(POINT{1, 1}, i);
        EXPECT_EQ(line->InsertPointAfter(POINT{1, 1}, i), 0);
        EXPECT_EQ(line->DeletePoint(i), 0);
        line->MovePoint(i, POINT{3, 3});
        line->MovePointTo(i, POINT{3, 3});
        line->MoveHandleTo(i + 1, CPoint(3, 3));
        EXPECT_EQ(line->GetPoint(i), CPoint(0, 0));
    }
    EXPECT_TRUE(SamePoints(PointsOf(*line), three));
    EXPECT_EQ(line->CGeoLine::GetPoints(), 3);

    CGeoPLine empty;
    EXPECT_EQ(empty.InsertPointAfter(POINT{1, 1}, 0), 0);  // an empty line takes points by AddPoint only
    empty.InsertPointBefore(POINT{1, 1}, 0);
    EXPECT_EQ(empty.GetPoints(), 0);
    CPoint s, e;
    EXPECT_EQ(empty.GetStartAndEndPoint(s, e), 0);
}

TEST(GeoPLineEditing, ALayerThatIsNotEditableRefusesEveryEdit) {
    auto line = Line(kFive);
    CGeoLayer layer(0);
    layer.Fetch(line.get());
    EXPECT_EQ(line->AddPoint(1, 1), 0);
    EXPECT_EQ(line->InsertPointAfter(POINT{1, 1}, 0), 0);
    line->InsertPointBefore(POINT{1, 1}, 0);
    EXPECT_EQ(line->DeletePoint(0), 0);
    line->MovePoint(0, 1, 1);
    line->MovePointTo(0, 1, 1);
    line->MoveHandleTo(1, CPoint(1, 1));
    line->Move(CSize(1, 1));
    line->Invert();
    line->TrimHead(2);
    line->TrimTail(2);
    line->Clear();
    EXPECT_EQ(line->CanAddHandle(1), 0);
    EXPECT_EQ(line->CanDeleteHandle(1), 0);
    line->AddHandle(1);
    line->DeleteHandle(1);
    EXPECT_TRUE(SamePoints(PointsOf(*line), kFive));
    EXPECT_EQ(line->GetBounds(), CRect(0, 0, 40, 0));
    layer.Editable(1);
    EXPECT_EQ(line->AddPoint(50, 0), 1);
    layer.Deviate(line.get());
}

TEST(GeoPLineEditing, MovingPoints) {
    auto line = Line({{0, 0}, {10, 0}, {20, 0}});
    line->MovePoint(1, 0, 7);
    line->MovePointTo(2, 30, -3);
    line->MovePoint(0, POINT{0, 0});  // a (0, 0) offset changes nothing
    EXPECT_TRUE(SamePoints(PointsOf(*line), {{0, 0}, {10, 7}, {30, -3}}));
    EXPECT_EQ(line->GetBounds(), CRect(0, -3, 30, 7));
    line->MovePointTo(1, 0, 0);  // a polyline's points may coincide
    EXPECT_EQ(line->GetPoint(1), CPoint(0, 0));
    line->MoveHandleTo(3, CPoint(1, 1));
    EXPECT_EQ(line->GetPoint(2), CPoint(1, 1));
}

TEST(GeoPLineEditing, FindPointReturnsTheFirst) {
    auto line = Line({{1, 1}, {2, 2}, {1, 1}});
    EXPECT_EQ(line->FindPoint(1, 1), 0);
    EXPECT_EQ(line->FindPoint(2, 2), 1);
    EXPECT_EQ(line->FindPoint(3, 3), -1);
    int index = -7;
    EXPECT_EQ(line->FindPoint(POINT{3, 3}, index), 0);
    EXPECT_EQ(index, -7);
    EXPECT_EQ(line->FindPoint(2, 2, index), 1);
    EXPECT_EQ(index, 1);
}

TEST(GeoPLineHandles, AddAndDeleteHandles) {
    struct Case {
        int handle;
        Pts want;
    };
    const Pts base = {{0, 0}, {100, 0}, {200, 0}};
    const Case cases[] = {
        {3, {{0, 0}, {100, 0}, {200, 0}, {210, 0}}},  // beyond the end, away from the previous point
        {1, {{0, 0}, {10, 0}, {100, 0}, {200, 0}}},
        {2, {{0, 0}, {100, 0}, {110, 0}, {200, 0}}},
        {0, base},
        {4, base},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.handle);
        auto line = Line(base);
        line->AddHandle(c.handle);
        EXPECT_TRUE(SamePoints(PointsOf(*line), c.want));
    }
    // Integer division per coordinate, toward zero.
    auto slant = Line({{0, 0}, {-19, 29}});
    slant->AddHandle(1);
    EXPECT_EQ(slant->GetPoint(1), CPoint(-1, 2));

    auto line = Line(base);
    EXPECT_EQ(line->CanDeleteHandle(0), 0);
    EXPECT_EQ(line->CanDeleteHandle(4), 0);
    EXPECT_EQ(line->CanDeleteHandle(3), 1);
    line->DeleteHandle(2);
    EXPECT_TRUE(SamePoints(PointsOf(*line), {{0, 0}, {200, 0}}));
    auto one = Line({{5, 5}});
    EXPECT_EQ(one->CanDeleteHandle(1), 0);  // a single point is never taken away by its handle
    EXPECT_EQ(one->CanAddHandle(1), 0);
    EXPECT_EQ(one->GetHandle(1), CPoint(5, 5));
    EXPECT_EQ(one->GetHandle(0), CPoint(0, 0));
}

TEST(GeoPLineTransform, MoveRotateUnit) {
    auto line = Line({{0, 0}, {10, 0}});
    line->Move(CSize(5, -5));
    EXPECT_TRUE(SamePoints(PointsOf(*line), {{5, -5}, {15, -5}}));
    EXPECT_EQ(line->GetBounds(), CRect(5, -5, 15, -5));
    line->MoveTo(CRect(0, 0, 1, 1));  // only the top-left corner counts
    EXPECT_TRUE(SamePoints(PointsOf(*line), {{0, 0}, {10, 0}}));

    line->DoRotateCCW(180, CPoint(0, 0));
    EXPECT_TRUE(SamePoints(PointsOf(*line), {{0, 0}, {-10, 0}}));
    EXPECT_EQ(line->GetBounds(), CRect(-10, 0, 0, 0));

    auto metres = Line({{1, 2}, {-3, 4}});
    metres->SetUnit(6);
    metres->ChangeUnit(3);
    EXPECT_TRUE(SamePoints(PointsOf(*metres), {{1000, 2000}, {-3000, 4000}}));
}

TEST(GeoPLineTin, CreateTinPointsFillsOneRecordPerPoint) {
    auto line = Line({{3, 4}, {0, 0}, {-6, 8}});
    EXPECT_EQ(line->GetTinPointNumber(), 3);
    CGeoTinPoint records[4];
    CGeoTinPoint* cursor = records;
    CPoint reference(0, 0);
    EXPECT_EQ(line->CreateTinPoints(cursor, reference), 3);
    EXPECT_EQ(cursor, records + 3);
    const double want[] = {25.0, 0.0, 100.0};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(records[i].GetNumber(), i);
        EXPECT_EQ(records[i].GetMainBody(), line.get());
        EXPECT_EQ(records[i].GetDistance(), want[i]);
    }
    EXPECT_EQ(records[3].GetMainBody(), nullptr);
    EXPECT_EQ(line->GetX(2), -6);
    EXPECT_EQ(line->GetY(2), 8);
    EXPECT_EQ(line->GetX(3), 0);
}

// A line whose points own three slots each, the two between them derived from the points: the layout
// a spline uses, driven only through the hooks.
class CStrideLine : public CGeoPLine {
public:
    int GetPointSize(int) const override { return 3; }
    void OnLineChanged() override {
        ++changes;
        // Derived slots: one and two thirds of the way to the next point.
        for (int i = 0; i + 1 < GetPoints(); ++i) {
            POINT a = m_pPoints[3 * i], b = m_pPoints[3 * i + 3];
            m_pPoints[3 * i + 1] = POINT{a.x + (b.x - a.x) / 3, a.y + (b.y - a.y) / 3};
            m_pPoints[3 * i + 2] = POINT{a.x + 2 * (b.x - a.x) / 3, a.y + 2 * (b.y - a.y) / 3};
        }
    }
    int CanSamePoint(int, int) const override { return 0; }
    int changes = 0;
};

TEST(GeoPLineStride, SlotsFollowTheHooks) {
    CStrideLine line;
    line.AddPoint(0, 0);
    line.AddPoint(30, 0);
    line.AddPoint(30, 30);
    EXPECT_EQ(line.CGeoLine::GetPoints(), 7);  // (3 - 1) * 3 + 1 slots
    EXPECT_EQ(line.GetPoints(), 3);
    EXPECT_EQ(line.GetPoint(2), CPoint(30, 30));
    EXPECT_TRUE(SamePoints(SlotsOf(line), {{0, 0}, {10, 0}, {20, 0}, {30, 0}, {30, 10}, {30, 20}, {30, 30}}));

    line.InsertPointAfter(POINT{0, 30}, 2);
    EXPECT_EQ(line.CGeoLine::GetPoints(), 10);
    line.DeletePoint(1);  // the point and the derived slots before it go
    EXPECT_TRUE(SamePoints(PointsOf(line), {{0, 0}, {30, 30}, {0, 30}}));
    EXPECT_TRUE(SamePoints(SlotsOf(line), {{0, 0}, {10, 10}, {20, 20}, {30, 30}, {20, 30}, {10, 30}, {0, 30}}));
    line.Invert();
    EXPECT_TRUE(SamePoints(PointsOf(line), {{0, 30}, {30, 30}, {0, 0}}));
    EXPECT_EQ(line.GetPoint(1), CPoint(30, 30));
    // Points of this class may not coincide with a neighbour: moved onto one, they step aside.
    line.MovePointTo(1, 0, 0);
    EXPECT_EQ(line.GetPoint(1), CPoint(5, 5));
    line.TrimTail(2);
    EXPECT_TRUE(SamePoints(PointsOf(line), {{5, 5}, {0, 0}}));
    EXPECT_EQ(line.CGeoLine::GetPoints(), 4);

    // The record holds the logical points only; loading scatters them at the stride and rebuilds.
    Bytes bytes = Store([&](CArchive& ar) { line.Serialize(ar); });
    CStrideLine back;
    Load(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_TRUE(SamePoints(SlotsOf(back), SlotsOf(line)));
    EXPECT_EQ(back.GetPointBufferSize(), 32);
    EXPECT_GT(back.changes, 0);
}

// ---- allocation failure ----

int g_failAfter = -1;  // allocations left before they fail; -1 never fails

void* FailingAllocator(void* block, std::size_t bytes) {
    if (g_failAfter == 0) return nullptr;
    if (g_failAfter > 0) --g_failAfter;
    return std::realloc(block, bytes);
}

struct FailingAllocations {
    explicit FailingAllocations(int after) {
        g_failAfter = after;
        previous = SetLineMemAllocator(FailingAllocator);
    }
    ~FailingAllocations() {
        SetLineMemAllocator(previous);
        g_failAfter = -1;
    }
    LineMemAllocator previous;
};

TEST(GeoPLineStorage, FailedGrowthChangesNothing) {
    Pts many;
    for (int i = 0; i < 120; ++i) many.push_back(POINT{i, i});
    auto source = Line(many);
    auto target = Line({{1, 2}, {3, 4}});
    target->Complete(0);
    const CRect bounds = target->GetBounds();
    auto full = Line(Pts(many.begin(), many.begin() + 50));
    full->Trim();  // exactly 50 slots: the 51st point needs a bigger block
    {
        FailingAllocations failing(0);
        EXPECT_EQ(target->CopyData(*source), 0);
        EXPECT_EQ(full->AddPoint(0, 0), 0);
        EXPECT_EQ(full->InsertPointAfter(POINT{0, 0}, 0), 0);
        full->InsertPointBefore(POINT{0, 0}, 0);
        EXPECT_EQ(full->GetPoints(), 50);
        EXPECT_EQ(full->GetPoint(0), CPoint(0, 0));
    }
    EXPECT_TRUE(SamePoints(PointsOf(*target), {{1, 2}, {3, 4}}));
    EXPECT_EQ(target->IsCompleted(), 0);
    EXPECT_EQ(target->GetBounds(), bounds);

    EXPECT_EQ(target->CopyData(*source), 1);
    EXPECT_TRUE(SamePoints(PointsOf(*target), many));
    EXPECT_EQ(target->IsCompleted(), 1);
    EXPECT_EQ(target->GetBounds(), source->GetBounds());
}

// ---- record ----

TEST(GeoPLineRecord, ThreePointLineBytes) {
    auto line = Line({{1, -2}, {300, 4}, {-5, 70000}});
    line->SetObjectName("P");
    line->SetObjectClassID(9);  // drawn in its class's style: no own view in the record
    line->SetZ(12.5);
    line->SetUserID(21);
    // The cleared symbol-attribute record: length 6, format 1, mask 0, no items.
    const Bytes clearedSymbolAttrib = {0x06, 0, 0, 0, 0x01, 0, 0, 0, 0, 0};
    const Bytes want = objbytes::Bytes()
                           .GeoObject(CRect(-5, -2, 300, 70000), "P", 3, 1.38f)
                           .Dword(21)  // user ID
                           .Dword(0)   // ID
                           .Long(1)    // removed with its layer
                           .Long(0)    // mark
                           .Byte(0)    // flag byte
                           .Dword(9)   // feature class
                           .Dword(1)   // display attribute: the class's style
                           .Double(12.5)
                           .Append(clearedSymbolAttrib)
                           .Long(1)  // completed
                           .Long(3)  // slot count
                           .Long(1).Long(-2).Long(300).Long(4).Long(-5).Long(70000)  // the points, raw
                           .Data();
    const Bytes bytes = Store([&](CArchive& ar) { line->Serialize(ar); });
    EXPECT_EQ(bytes, want);

    CGeoPLine back;
    Load(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_TRUE(SamePoints(PointsOf(back), PointsOf(*line)));
    EXPECT_EQ(back.GetBounds(), line->GetBounds());
    EXPECT_EQ(back.IsCompleted(), 1);
    EXPECT_EQ(back.GetObjectName(), CString("P"));
    EXPECT_EQ(back.GetZ(), 12.5);
    EXPECT_EQ(back.GetPointBufferSize(), 24);
    EXPECT_EQ(Store([&](CArchive& ar) { back.Serialize(ar); }), want);
}

TEST(GeoPLineRecord, LoadedLineHoldsExactlyItsPoints) {
    Pts seven;
    for (int i = 0; i < 7; ++i) seven.push_back(POINT{i * 3, -i});
    auto line = Line(seven);
    Bytes bytes = Store([&](CArchive& ar) { ar << static_cast<CObject*>(line.get()); });
    CObject* obj = nullptr;
    Load(bytes, [&](CArchive& ar) { ar >> obj; });
    std::unique_ptr<CObject> owned(obj);
    ASSERT_NE(obj, nullptr);
    ASSERT_TRUE(obj->IsKindOf(RUNTIME_CLASS(CGeoPLine)));
    CGeoPLine* back = static_cast<CGeoPLine*>(obj);
    EXPECT_EQ(back->GetPointBufferSize(), 56);
    EXPECT_TRUE(SamePoints(PointsOf(*back), seven));
}

// A line read with one or two points keeps them in the object itself: edits that grow it move them out
// into a block, a record read again over it (with fewer or more points) takes its place, and each
// block is freed once (the sanitizers of the test build watch that).
TEST(GeoPLineRecord, LoadedShortLinesGrowAndReloadLikeAnyOther) {
    auto record = [](const Pts& pts) {
        auto line = Line(pts);
        return Store([&](CArchive& ar) { line->Serialize(ar); });
    };
    const Pts one = {{5, 6}}, two = {{1, 2}, {-3, 4}}, three = {{0, 0}, {7, 7}, {9, -1}};
    for (const Pts* first : {&one, &two, &three}) {
        SCOPED_TRACE(first->size());
        CGeoPLine line;
        Load(record(*first), [&](CArchive& ar) { line.Serialize(ar); });
        EXPECT_EQ(line.GetPointBufferSize(), static_cast<int>(8 * first->size()));
        EXPECT_TRUE(SamePoints(PointsOf(line), *first));
        // Reloaded over itself with each other size, then grown past a block of 50 slots and trimmed.
        for (const Pts* next : {&two, &three, &one, first}) {
            Load(record(*next), [&](CArchive& ar) { line.Serialize(ar); });
            EXPECT_EQ(line.GetPointBufferSize(), static_cast<int>(8 * next->size()));
            EXPECT_TRUE(SamePoints(PointsOf(line), *next));
        }
        Pts want = *first;
        for (int i = 0; i < 60; ++i) {
            ASSERT_EQ(line.AddPoint(POINT{100 + i, i}), 1);
            want.push_back(POINT{100 + i, i});
        }
        line.InsertPointBefore(POINT{-50, -50}, 0);
        want.insert(want.begin(), POINT{-50, -50});
        EXPECT_TRUE(SamePoints(PointsOf(line), want));
        line.Trim();
        EXPECT_EQ(line.GetPointBufferSize(), static_cast<int>(8 * want.size()));
        EXPECT_EQ(line.GetBounds(), CRect(-50, -50, 159, 59));
        std::unique_ptr<CGeoObject> copy(line.Duplicate(0, 0));
        ASSERT_NE(copy, nullptr);
        EXPECT_TRUE(SamePoints(PointsOf(static_cast<CGeoPLine&>(*copy)), want));
    }
    // Made smaller again through the block size alone: a two-point line asked for less room than its
    // points keeps them, for more gets it.
    CGeoPLine small;
    Load(record(two), [&](CArchive& ar) { small.Serialize(ar); });
    EXPECT_EQ(small.SetPointBufferSize(8), 0);
    EXPECT_EQ(small.SetPointBufferSize(800), 1);
    EXPECT_EQ(small.GetPointBufferSize(), 800);
    EXPECT_TRUE(SamePoints(PointsOf(small), two));
}

TEST(GeoPLineRecord, CorruptRecordsRaiseArchiveExceptions) {
    auto line = Line({{1, 2}, {3, 4}, {5, 6}});
    const Bytes good = Store([&](CArchive& ar) { line->Serialize(ar); });
    const size_t slotCountAt = good.size() - 24 - 4;

    // Truncated anywhere.
    for (size_t cut = 0; cut < good.size(); ++cut) {
        Bytes bad(good.begin(), good.begin() + cut);
        CGeoPLine back;
        EXPECT_THROW(Load(bad, [&](CArchive& ar) { back.Serialize(ar); }), CArchiveException) << cut;
        EXPECT_LE(back.GetPoints() * 8, back.GetPointBufferSize());
    }
    // Slot counts that are negative or promise more points than the record holds.
    for (LONG count : {-1, 4, 1 << 28, 0x7FFFFFFF}) {
        SCOPED_TRACE(count);
        Bytes bad = good;
        std::memcpy(&bad[slotCountAt], &count, 4);
        CGeoPLine back;
        try {
            Load(bad, [&](CArchive& ar) { back.Serialize(ar); });
            ADD_FAILURE() << "no exception";
        } catch (CArchiveException& e) {
            EXPECT_TRUE(e.m_cause == CArchiveException::endOfFile || e.m_cause == CArchiveException::badIndex);
        }
        EXPECT_EQ(back.GetPoints(), 0);
        EXPECT_EQ(back.GetPointBufferSize(), 400);  // nothing allocated from the bad count
    }
}

}  // namespace
