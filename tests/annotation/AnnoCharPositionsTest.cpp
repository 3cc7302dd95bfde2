// Character positions of annotation text, conversion to per-character points and placing text
// between points.
#include "annotation/AnnoCharPositions.h"
#include "annotation/AnnoDefaults.h"
#include "annotation/GeoAnno.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Anchored text at the origin: char height 20, char width 50 (a single-byte character is 25 wide).
CGeoAnno Text(const char* text, int align = 0, int colSpace = 0, int rowSpace = 0, int positionType = 0,
              float angle = 0.0f)
{
    return CGeoAnno(CString(text), CPoint(0, 0), 20, 50, angle, angle, align, positionType, 1, colSpace,
                    rowSpace, 0, 0);
}

struct Units {
    std::vector<CPoint> points;
    std::vector<int> widths;
    int height = 0;
};

Units PositionsOf(CGeoAnno& anno, int turn, int perChar)
{
    CArray<CPoint, CPoint> pts;
    CArray<int, int> widths;
    Units u;
    GetPositionPointArray(&anno, pts, widths, u.height, turn, perChar);
    for (int i = 0; i < pts.GetSize(); ++i) {
        u.points.push_back(pts[i]);
        u.widths.push_back(widths[i]);
    }
    return u;
}

class AnnoCharPositionsTest : public ::testing::Test {
protected:
    void TearDown() override { SetCurrentGeoAnno(GEOANNO()); }
};

TEST_F(AnnoCharPositionsTest, OneRowStepsByWidthAndColumnSpaceFromTheAlignedCorner)
{
    CGeoAnno left = Text("文字a", 0, 10);
    Units u = PositionsOf(left, 0, 1);
    EXPECT_EQ(u.points, (std::vector<CPoint>{{0, 0}, {60, 0}, {120, 0}}));
    EXPECT_EQ(u.widths, (std::vector<int>{50, 50, 25}));
    EXPECT_EQ(u.height, 20);

    // Right-top anchor: the row (145 wide) ends at the anchor and hangs below it.
    CGeoAnno rightTop = Text("文字a", 8, 10);
    u = PositionsOf(rightTop, 0, 1);
    EXPECT_EQ(u.points, (std::vector<CPoint>{{-145, -20}, {-85, -20}, {-25, -20}}));

    // Turned a quarter (counter-clockwise, y up) about the anchor.
    CGeoAnno turned = Text("文字a", 0, 10, 0, 0, 900.0f);
    u = PositionsOf(turned, 1, 1);
    EXPECT_EQ(u.points, (std::vector<CPoint>{{0, 0}, {0, 60}, {0, 120}}));
    u = PositionsOf(turned, 0, 1);
    EXPECT_EQ(u.points, (std::vector<CPoint>{{0, 0}, {60, 0}, {120, 0}}));
}

TEST_F(AnnoCharPositionsTest, RowsStackDownwardAndPerCharacterRowsKeepTheirColumn)
{
    // Two rows (100 and 50 wide), row space 5: the block is 45 high, first row at y 25.
    CGeoAnno left = Text("文字\r\n文", 0, 0, 5);
    Units u = PositionsOf(left, 0, 1);
    EXPECT_EQ(u.points, (std::vector<CPoint>{{0, 25}, {50, 25}, {0, 0}}));
    u = PositionsOf(left, 0, 0);
    EXPECT_EQ(u.points, (std::vector<CPoint>{{0, 25}, {0, 0}}));
    EXPECT_EQ(u.widths, (std::vector<int>{100, 100}));

    // Right-aligned rows each end at the anchor's x.
    CGeoAnno right = Text("文字\r\n文", 6, 0, 5);
    u = PositionsOf(right, 0, 1);
    EXPECT_EQ(u.points, (std::vector<CPoint>{{-100, 25}, {-50, 25}, {-50, 0}}));

    // Turned per character: each row's start turns about the anchor, its characters about that start
    // (the layout's short pi leaves the quarter turn a hair short, so -25 rounds up to -24).
    CGeoAnno turned = Text("文字\r\n文", 0, 0, 5, 0, 900.0f);
    u = PositionsOf(turned, 1, 1);
    EXPECT_EQ(u.points, (std::vector<CPoint>{{-24, 0}, {-24, 50}, {0, 0}}));
}

TEST_F(AnnoCharPositionsTest, VerticalTextPlacesOneCharacterPerRow)
{
    CGeoAnno v = Text("文a", 0, 0, 5);
    v.SetVert(1);
    Units u = PositionsOf(v, 0, 1);
    EXPECT_EQ(u.points, (std::vector<CPoint>{{0, 25}, {0, 0}}));
    EXPECT_EQ(u.widths, (std::vector<int>{50, 25}));
}

TEST_F(AnnoCharPositionsTest, BoxAndMultiPointUnits)
{
    CGeoAnno box(CString("文字"), CRect(10, 20, 110, 80), 20, 50, tagGEORECT(), 0, 0, 0, 0);
    Units u = PositionsOf(box, 1, 1);
    EXPECT_EQ(u.points, (std::vector<CPoint>{{10, 20}}));
    EXPECT_EQ(u.widths, (std::vector<int>{100}));
    EXPECT_EQ(u.height, 60);

    // Multi-point, centre-middle anchor: the box (50 x 20) is centred on the point, then turned with the
    // character a quarter counter-clockwise about it.
    CGeoAnno mp = Text("文a", 4, 0, 0, 6);
    mp.SetPositionPoint(CPoint(100, 100), 0);
    mp.SetPositionPoint(CPoint(300, 100), 1);
    mp.SetEscapeAngle(900.0f, 0);
    u = PositionsOf(mp, 1, 1);
    EXPECT_EQ(u.points, (std::vector<CPoint>{{110, 75}, {300 - 13, 90}}));
    EXPECT_EQ(u.widths, (std::vector<int>{50, 25}));
    EXPECT_EQ(u.height, 20);

    CGeoAnno empty = Text("");
    EXPECT_TRUE(PositionsOf(empty, 1, 1).points.empty());
}

TEST_F(AnnoCharPositionsTest, ConvertToMultiPointSpreadsCharactersAndRefusesWhatItCannot)
{
    CGeoAnno rows = Text("文字\r\n文", 6, 0, 5);
    EXPECT_EQ(ConvertToMultiPoint(&rows), 0);
    EXPECT_EQ(rows.GetPositionType(), 6);
    EXPECT_EQ(rows.GetName(), CString("文字文"));
    ASSERT_EQ(rows.GetPoints(), 3);
    EXPECT_EQ(rows.GetPositionPoint(0), CPoint(-100, 25));
    EXPECT_EQ(rows.GetPositionPoint(2), CPoint(-50, 0));
    EXPECT_EQ(rows.GetAlignType(), 0);
    // The spread text draws where it stood: same unit positions as before.
    Units u = PositionsOf(rows, 1, 1);
    EXPECT_EQ(u.points, (std::vector<CPoint>{{-100, 25}, {-50, 25}, {-50, 0}}));

    // Already multi-point: nothing changes.
    rows.SetPositionPoint(CPoint(1, 2), 0);
    ConvertToMultiPoint(&rows);
    EXPECT_EQ(rows.GetPositionPoint(0), CPoint(1, 2));
    EXPECT_EQ(rows.GetPoints(), 3);

    CGeoAnno box(CString("文字"), CRect(10, 20, 110, 80), 20, 50, tagGEORECT(), 0, 0, 0, 0);
    ConvertToMultiPoint(&box);
    EXPECT_EQ(box.GetPositionType(), 2);
    EXPECT_EQ(ConvertToMultiPoint(nullptr), 0);
}

TEST_F(AnnoCharPositionsTest, PlacingBetweenTwoPoints)
{
    // Equal points only move the position point.
    CGeoAnno same = Text("文字", 3, 40, 0, 0, 300.0f);
    CPoint p(7, 9);
    CalculatePosForDouble(&same, p, p);
    EXPECT_EQ(same.GetPositionPoint(0), CPoint(7, 9));
    EXPECT_FLOAT_EQ(same.GetEscapeAngle(0), 300.0f);
    EXPECT_EQ(same.GetSpace(), 40);

    // Centre column: the midpoint; up the y axis is a quarter turn; five characters of 80 spread over
    // 1000 leave 150 between neighbours whatever the space was before.
    CGeoAnno spread(CString("文字文字文"), CPoint(0, 0), 20, 80, 0.0f, 0.0f, 3, 0, 1, 999, 0, 0, 1);
    CPoint a(0, 0), b(0, 1000);
    CalculatePosForDouble(&spread, a, b);
    EXPECT_EQ(spread.GetPositionPoint(0), CPoint(0, 500));
    EXPECT_NEAR(spread.GetEscapeAngle(0), 900.0f, 0.01f);
    EXPECT_NEAR(spread.GetOrientAngle(), 900.0f, 0.01f);
    EXPECT_EQ(spread.GetSpace(), 150);

    // Characters wider than the distance: no negative space.
    CGeoAnno wide(CString("文字文字文"), CPoint(0, 0), 20, 300, 0.0f, 0.0f, 6, 0, 1, 999, 0, 0, 1);
    CalculatePosForDouble(&wide, a, b);
    EXPECT_EQ(wide.GetPositionPoint(0), CPoint(0, 1000));
    EXPECT_EQ(wide.GetSpace(), 0);

    // Vertical text: the row space spreads the rows; the angle is a quarter turn less (plus a full turn).
    CGeoAnno vert(CString("文字文字文"), CPoint(0, 0), 100, 80, 0.0f, 0.0f, 0, 0, 1, 0, 0, 1, 1);
    CalculatePosForDouble(&vert, a, b);
    EXPECT_EQ(vert.GetRowSpace(), 125);
    EXPECT_NEAR(vert.GetEscapeAngle(0), 3600.0f, 0.01f);

    // Without two-sided alignment the spacing stays.
    CGeoAnno plain = Text("文字", 0, 40);
    CalculatePosForDouble(&plain, a, b);
    EXPECT_EQ(plain.GetSpace(), 40);
    EXPECT_EQ(plain.GetPositionPoint(0), CPoint(0, 0));
}

TEST_F(AnnoCharPositionsTest, PlacingCharactersAlongALine)
{
    CGeoAnno mp(CString("文字文字a"), CPoint(0, 0), 20, 80, 0.0f, 0.0f, 0, 6, 1, 30, 0, 0, 0);
    CPoint start(10, 10);
    CalculatePosForMultiP(&mp, start, 900.0f, 0, -1);
    ASSERT_EQ(mp.GetPoints(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(mp.GetPositionPoint(i), CPoint(10, 10 + 80 * i)) << i;
        EXPECT_FLOAT_EQ(mp.GetEscapeAngle(i), 900.0f);
    }

    // Inserting one character before character 1 moves the old ones up.
    CGeoAnno ins(CString("文新字"), CPoint(0, 0), 20, 50, 0.0f, 0.0f, 0, 6, 1, 0, 0, 0, 0);
    ins.SetPoints(2);
    ins.SetPositionPoint(CPoint(0, 0), 0);
    ins.SetPositionPoint(CPoint(100, 0), 1);
    CPoint at(50, 50);
    CalculatePosForMultiP(&ins, at, 0.0f, 1, 1);
    ASSERT_EQ(ins.GetPoints(), 3);
    EXPECT_EQ(ins.GetPositionPoint(0), CPoint(0, 0));
    EXPECT_EQ(ins.GetPositionPoint(1), CPoint(50, 50));
    EXPECT_EQ(ins.GetPositionPoint(2), CPoint(100, 0));

    // A count that does not match the text would move points past the arrays: refused.
    CalculatePosForMultiP(&ins, at, 0.0f, 1, 4);
    EXPECT_EQ(ins.GetPoints(), 3);
    EXPECT_EQ(ins.GetPositionPoint(2), CPoint(100, 0));
    CalculatePosForMultiP(&ins, at, 0.0f, 4, -1);  // first above the point count
    EXPECT_EQ(ins.GetPositionPoint(1), CPoint(50, 50));
}

TEST_F(AnnoCharPositionsTest, BoxHandlesAndExtent)
{
    const CRect box(10, 20, 31, 61);
    const CPoint expected[9] = {{0, 0}, {10, 20}, {20, 20}, {31, 20}, {31, 40},
                                {31, 61}, {20, 61}, {10, 61}, {10, 40}};
    for (int h = 0; h <= 8; ++h) EXPECT_EQ(GetBoxHandle(h, box), expected[h]) << h;

    struct Case {
        int handle;
        CRect result;
    } cases[] = {{1, {0, 0, 31, 61}}, {2, {10, 0, 31, 61}},  {3, {10, 0, 0, 61}},  {4, {10, 20, 0, 61}},
                 {5, {10, 20, 0, 0}}, {6, {10, 20, 31, 0}},  {7, {0, 20, 31, 0}},  {8, {0, 20, 31, 61}},
                 {9, {0, 0, 31, 61}}};
    for (const Case& c : cases) {
        CRect r = box;
        MoveBoxHandle(c.handle, 0, 0, r);
        EXPECT_EQ(r, c.result) << c.handle;
    }

    const POINT pts[3] = {{5, -7}, {-3, 9}, {0, 0}};
    int maxX, minX, maxY, minY;
    GetPointsExtent(pts, 3, maxX, minX, maxY, minY);
    EXPECT_EQ(maxX, 5);
    EXPECT_EQ(minX, -3);
    EXPECT_EQ(maxY, 9);
    EXPECT_EQ(minY, -7);
    GetPointsExtent(pts, 0, maxX, minX, maxY, minY);
    EXPECT_EQ(maxX, -1410065408);
    EXPECT_EQ(minY, 1410065408);
}

}  // namespace
