// The collision grid of automatic labelling: box corners, the pair test of upright and turned boxes, the
// cell ranges, and registering, finding, deleting and moving boxes without leaving stale cell entries.
#include "annotation/AnnoGrid.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

typedef std::vector<std::pair<int, int>> Points;

Points Corners(const tagANNORECT& box, int margin) {
    POINT c[4];
    GetAnnoRectCorners(box, margin, c);
    Points v;
    for (const POINT& p : c) v.emplace_back(p.x, p.y);
    return v;
}

struct Range {
    int c0, c1, r0, r1;
};

Range RangeOf(const CGeoAnnoGrid& g, const tagANNORECT& b) {
    Range r;
    g.GetAnnoIndex(b, r.c0, r.c1, r.r0, r.r1);
    return r;
}

int CountFound(const CGeoAnnoGrid& g, const tagANNORECT& query) {
    CAnnoRectList out;
    g.GetRecord(query, out);
    return out.GetCount();
}

// A 1000 x 1000 area in 10 x 10 cells of 100.
class AnnoGrid : public ::testing::Test {
protected:
    void SetUp() override {
        m_grid.SetTotalRect(CRect(0, 0, 1000, 1000));
        m_grid.BuildIndex();
    }
    CGeoAnnoGrid m_grid;
};

}  // namespace

TEST(AnnoRect, FilledFromPartsOrFromPositionAndSize) {
    const tagANNORECT a(7, CRect(1, 2, 3, 4), 12.5f);
    EXPECT_EQ(a.left, 1);
    EXPECT_EQ(a.top, 2);
    EXPECT_EQ(a.right, 3);
    EXPECT_EQ(a.bottom, 4);
    EXPECT_FLOAT_EQ(a.angle, 12.5f);
    EXPECT_EQ(a.id, 7);
    const tagANNORECT b(8, 10, 20, 30, 40, 0.0f);
    EXPECT_EQ(b.right, 40);
    EXPECT_EQ(b.bottom, 60);
    EXPECT_EQ(b.id, 8);
}

TEST(AnnoRect, CornersGrowByTheMarginAndTurnAboutTheFirstCorner) {
    EXPECT_EQ(Corners(tagANNORECT(0, CRect(10, 20, 110, 40), 0.0f), 5),
              Points({{5, 15}, {115, 15}, {115, 45}, {5, 45}}));
    // 30 degrees counter-clockwise (y up): offsets rounded as trunc(v + 0.5), so -9.5 gives -9.
    EXPECT_EQ(Corners(tagANNORECT(0, CRect(0, 0, 100, 20), 30.0f), 0),
              Points({{0, 0}, {87, 50}, {77, 67}, {-9, 17}}));
    // The margin grows the box before it turns, about the grown first corner.
    EXPECT_EQ(Corners(tagANNORECT(0, CRect(0, 0, 100, 20), 30.0f), 30),
              Points({{-30, -30}, {109, 50}, {69, 119}, {-69, 39}}));
    // A quarter turn with pi taken as 3.1415926 leaves cos slightly above 0: -4.5 + tiny truncates to -4.
    EXPECT_EQ(Corners(tagANNORECT(0, CRect(0, 0, 10, 5), 90.0f), 0), Points({{0, 0}, {0, 10}, {-4, 10}, {-4, 0}}));
}

TEST(AnnoRect, PairTestOfUprightAndTurnedBoxes) {
    const tagANNORECT turned(1, CRect(0, 0, 100, 20), 30.0f);        // ring (0,0) (87,50) (77,67) (-9,17)
    const tagANNORECT bigTurned(2, CRect(-50, -50, 200, 100), 30.0f);
    struct Case {
        const char* what;
        tagANNORECT a, b;
        int margin;
        int expected;
    } cases[] = {
        {"upright, 1 apart: the margin is not applied", tagANNORECT(0, CRect(0, 0, 10, 10), 0),
         tagANNORECT(0, CRect(11, 0, 20, 10), 0), 10, 0},
        {"upright, touching", tagANNORECT(0, CRect(0, 0, 10, 10), 0), tagANNORECT(0, CRect(10, 5, 20, 10), 0), 0, 1},
        {"upright, one inside the other", tagANNORECT(0, CRect(0, 0, 100, 100), 0),
         tagANNORECT(0, CRect(40, 40, 50, 50), 0), 0, 1},
        {"upright inside the turned box's extent but below its edge", turned,
         tagANNORECT(0, CRect(60, 20, 80, 30), 0), 0, 0},
        {"the margin grows the turned box over it", turned, tagANNORECT(0, CRect(60, 20, 80, 30), 0), 20, 1},
        {"upright crossing an edge of the turned box", turned, tagANNORECT(0, CRect(60, 30, 120, 40), 0), 0, 1},
        {"upright wholly inside the turned box", turned, tagANNORECT(0, CRect(40, 28, 42, 30), 0), 0, 1},
        {"the same, upright given first", tagANNORECT(0, CRect(40, 28, 42, 30), 0), turned, 0, 1},
        {"two turned boxes apart", turned, tagANNORECT(0, CRect(200, 0, 300, 20), 30.0f), 0, 0},
        {"two turned boxes crossing", turned, tagANNORECT(0, CRect(40, -20, 140, 0), 90.0f), 0, 1},
        {"a small turned box wholly inside a larger one", turned, tagANNORECT(0, CRect(40, 28, 50, 32), 30.0f), 0, 1},
        {"the larger one given first", bigTurned, turned, 0, 1},
    };
    for (const Case& c : cases) EXPECT_EQ(AnnoRectsIntersect(c.a, c.b, c.margin), c.expected) << c.what;
}

TEST(AnnoGridIds, EveryNewGridRestartsTheCounter) {
    SetZeroAnnoIndexID();
    GetAnnoIndexID();
    GetAnnoIndexID();
    CGeoAnnoGrid grid;
    EXPECT_EQ(GetAnnoIndexID(), 0);
    EXPECT_EQ(GetAnnoIndexID(), 1);
    EXPECT_EQ(GetAnnoIndexID(), 2);
    SetZeroAnnoIndexID();
    EXPECT_EQ(GetAnnoIndexID(), 0);
}

TEST_F(AnnoGrid, CellRangesClampToTheBorderCells) {
    EXPECT_EQ(m_grid.GetRows(), 10);
    EXPECT_EQ(m_grid.GetColumns(), 10);
    EXPECT_EQ(m_grid.GetGridIndexNum(), 121);
    struct Case {
        tagANNORECT box;
        Range expected;
    } cases[] = {
        {tagANNORECT(0, CRect(0, 0, 50, 50), 0), {0, 0, 0, 0}},
        {tagANNORECT(0, CRect(90, 150, 110, 160), 0), {0, 1, 1, 1}},
        // On the right and bottom edges: the extra column and row.
        {tagANNORECT(0, CRect(990, 990, 1000, 1000), 0), {9, 10, 9, 10}},
        {tagANNORECT(0, CRect(-500, -500, -400, 50), 0), {0, 0, 0, 0}},
        {tagANNORECT(0, CRect(5000, 300, 6000, 5000), 0), {10, 10, 3, 10}},
        // A turned box covers the extent of its turned corners: (0,0) (87,50) (77,67) (-9,17) moved by 300.
        {tagANNORECT(0, CRect(300, 300, 400, 320), 30.0f), {2, 3, 3, 3}},
    };
    for (const Case& c : cases) {
        const Range r = RangeOf(m_grid, c.box);
        EXPECT_EQ(r.c0, c.expected.c0) << c.box.left;
        EXPECT_EQ(r.c1, c.expected.c1) << c.box.left;
        EXPECT_EQ(r.r0, c.expected.r0) << c.box.left;
        EXPECT_EQ(r.r1, c.expected.r1) << c.box.left;
    }
}

TEST_F(AnnoGrid, QueriesSeeTheBoxesOfTheirCells) {
    m_grid.AddRecord(GetAnnoIndexID(), CRect(90, 90, 110, 110), 0.0f);  // four cells
    m_grid.AddRecord(tagANNORECT(GetAnnoIndexID(), CRect(700, 700, 800, 720), 30.0f));

    EXPECT_EQ(CountFound(m_grid, tagANNORECT(0, CRect(0, 0, 10, 10), 0)), 1);
    EXPECT_EQ(CountFound(m_grid, tagANNORECT(0, CRect(150, 150, 160, 160), 0)), 1);
    EXPECT_EQ(CountFound(m_grid, tagANNORECT(0, CRect(0, 0, 199, 199), 0)), 4);  // once per cell
    EXPECT_EQ(CountFound(m_grid, tagANNORECT(0, CRect(400, 400, 410, 410), 0)), 0);

    EXPECT_TRUE(m_grid.Intersects(tagANNORECT(0, CRect(100, 100, 120, 120), 0), 0));
    EXPECT_FALSE(m_grid.Intersects(tagANNORECT(0, CRect(111, 90, 130, 110), 0), 10));  // upright: no margin
    EXPECT_FALSE(m_grid.Intersects(tagANNORECT(0, CRect(760, 720, 780, 730), 0), 0));
    EXPECT_TRUE(m_grid.Intersects(tagANNORECT(0, CRect(760, 720, 780, 730), 0), 20));
    EXPECT_TRUE(m_grid.Intersects(tagANNORECT(0, CRect(740, 728, 742, 730), 0), 0));   // inside the turned one

    const POSITION at = m_grid.FindRecord(1);
    ASSERT_NE(at, nullptr);
    EXPECT_EQ(m_grid.GetRecordList().GetAt(at)->left, 700);
    EXPECT_EQ(m_grid.FindRecord(2), nullptr);
}

TEST_F(AnnoGrid, DeletingABoxClearsEveryCellItWasIn) {
    m_grid.AddRecord(tagANNORECT(5, CRect(90, 90, 110, 110), 0));
    m_grid.AddRecord(tagANNORECT(6, CRect(150, 150, 160, 160), 0));
    m_grid.DeleteRecord(5);
    for (const CRect& r : {CRect(0, 0, 10, 10), CRect(150, 0, 160, 10), CRect(0, 150, 10, 160)})
        EXPECT_EQ(CountFound(m_grid, tagANNORECT(0, r, 0)), 0);
    EXPECT_EQ(CountFound(m_grid, tagANNORECT(0, CRect(150, 150, 151, 151), 0)), 1);
    EXPECT_EQ(m_grid.FindRecord(5), nullptr);
    EXPECT_EQ(m_grid.GetRecordList().GetCount(), 1);
    m_grid.DeleteRecord(5);  // no box bears it any more
    EXPECT_EQ(m_grid.GetRecordList().GetCount(), 1);
}

TEST_F(AnnoGrid, DeletingByABoxElsewhereLeavesNoPointerToTheFreedBox) {
    m_grid.AddRecord(tagANNORECT(5, CRect(90, 90, 110, 110), 0));
    m_grid.DeleteRecord(tagANNORECT(5, CRect(800, 800, 810, 810), 0));
    EXPECT_EQ(m_grid.FindRecord(5), nullptr);
    // Any cell still listing the box would be read after it was freed here.
    EXPECT_FALSE(m_grid.Intersects(tagANNORECT(0, CRect(0, 0, 300, 300), 0), 0));
    EXPECT_EQ(CountFound(m_grid, tagANNORECT(0, CRect(0, 0, 300, 300), 0)), 0);
}

TEST_F(AnnoGrid, MovingABoxReindexesIt) {
    POINT from{100, 100}, to{700, 650};
    m_grid.AddRecord(tagANNORECT(3, from.x, from.y, 50, 20, 0.0f));
    m_grid.MoveRecord(3, from, 0.0f, to, 45.0f, 50, 20);
    EXPECT_FALSE(m_grid.Intersects(tagANNORECT(0, CRect(100, 100, 150, 120), 0), 0));
    EXPECT_TRUE(m_grid.Intersects(tagANNORECT(0, CRect(700, 660, 705, 665), 0), 0));
    ASSERT_EQ(m_grid.GetRecordList().GetCount(), 1);
    const tagANNORECT* moved = m_grid.GetRecordList().GetHead();
    EXPECT_EQ(moved->left, 700);
    EXPECT_EQ(moved->bottom, 670);
    EXPECT_FLOAT_EQ(moved->angle, 45.0f);

    // The old box given with a stale position: the box is still found through its own cells' overlap
    // with that range and leaves every cell of its real extent.
    m_grid.ReplaceRecord(tagANNORECT(3, CRect(650, 600, 760, 700), 0), tagANNORECT(9, CRect(10, 10, 20, 20), 0));
    EXPECT_FALSE(m_grid.Intersects(tagANNORECT(0, CRect(600, 600, 800, 800), 0), 0));
    EXPECT_TRUE(m_grid.Intersects(tagANNORECT(0, CRect(15, 15, 16, 16), 0), 0));
    EXPECT_NE(m_grid.FindRecord(9), nullptr);
    m_grid.DeleteRecord(9);
    EXPECT_EQ(CountFound(m_grid, tagANNORECT(0, CRect(0, 0, 999, 999), 0)), 0);
}

TEST_F(AnnoGrid, ReplacingABoxNotInTheOldCellsChangesNothing) {
    m_grid.AddRecord(tagANNORECT(3, CRect(100, 100, 150, 120), 0));
    m_grid.ReplaceRecord(tagANNORECT(3, CRect(800, 800, 850, 820), 0), tagANNORECT(3, CRect(0, 0, 5, 5), 0));
    EXPECT_EQ(m_grid.GetRecordList().GetHead()->left, 100);
    EXPECT_TRUE(m_grid.Intersects(tagANNORECT(0, CRect(120, 110, 121, 111), 0), 0));
    m_grid.ReplaceRecord(tagANNORECT(4, CRect(100, 100, 150, 120), 0), tagANNORECT(4, CRect(0, 0, 5, 5), 0));
    EXPECT_EQ(m_grid.GetRecordList().GetHead()->left, 100);
}

TEST_F(AnnoGrid, RebuildingForgetsTheCellsButKeepsTheBoxes) {
    m_grid.AddRecord(tagANNORECT(1, CRect(100, 100, 150, 120), 0));
    m_grid.BuildIndex();
    EXPECT_FALSE(m_grid.Intersects(tagANNORECT(0, CRect(100, 100, 150, 120), 0), 0));
    EXPECT_NE(m_grid.FindRecord(1), nullptr);
    m_grid.FreeMemory();
    m_grid.AddRecord(tagANNORECT(2, CRect(100, 100, 150, 120), 0));  // no cells: registered only
    EXPECT_FALSE(m_grid.Intersects(tagANNORECT(0, CRect(100, 100, 150, 120), 0), 0));
    EXPECT_EQ(CountFound(m_grid, tagANNORECT(0, CRect(100, 100, 150, 120), 0)), 0);
    EXPECT_EQ(m_grid.GetRecordList().GetCount(), 2);
}

TEST_F(AnnoGrid, NewDimensionsWaitForTheNextBuild) {
    m_grid.SetRows(2);
    m_grid.SetColumns(3);
    EXPECT_EQ(m_grid.GetGridIndexNum(), 12);
    // Still the 10 x 10 cells: a box in the far corner stays inside the cell array.
    m_grid.AddRecord(tagANNORECT(1, CRect(990, 990, 1000, 1000), 0));
    const Range r = RangeOf(m_grid, tagANNORECT(0, CRect(990, 990, 1000, 1000), 0));
    EXPECT_EQ(r.c1, 10);
    m_grid.SetTotalRect(CRect(0, 0, 10, 10));
    EXPECT_TRUE(m_grid.Intersects(tagANNORECT(0, CRect(995, 995, 996, 996), 0), 0));
    m_grid.DeleteRecord(1);
    m_grid.BuildIndex();
    const Range s = RangeOf(m_grid, tagANNORECT(0, CRect(5, 5, 6, 10), 0));
    EXPECT_EQ(s.c0, 1);  // 10 / 3 per column
    EXPECT_EQ(s.r1, 2);
}

TEST(AnnoGridDegenerate, EmptyAreaAndZeroDimensionsStillIndex) {
    CGeoAnnoGrid grid;
    grid.SetRows(0);
    grid.SetColumns(-3);
    grid.BuildIndex();  // area never set: empty
    grid.AddRecord(tagANNORECT(1, CRect(10, 10, 20, 20), 0));
    grid.AddRecord(tagANNORECT(2, CRect(-20, -20, -10, -10), 0));
    EXPECT_TRUE(grid.Intersects(tagANNORECT(0, CRect(15, 15, 30, 30), 0), 0));
    EXPECT_TRUE(grid.Intersects(tagANNORECT(0, CRect(-15, -15, -12, -12), 0), 0));
    EXPECT_FALSE(grid.Intersects(tagANNORECT(0, CRect(100, 100, 130, 130), 0), 0));
    grid.DeleteRecord(1);
    grid.DeleteRecord(2);
    EXPECT_EQ(grid.GetRecordList().GetCount(), 0);
}
