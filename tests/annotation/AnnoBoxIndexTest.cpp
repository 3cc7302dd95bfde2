// The collision grid's look-up by where boxes lie answers exactly as walking the grid's cells: for many
// boxes (upright and turned, small and huge, inside and outside the area, on the extra column that
// aliases the next row's first cell) and queries with several margins, through adds, deletes and
// replaces, Intersects equals "some box of GetRecord collides".
#include "annotation/AnnoBoxIndex.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

int WalkIntersects(const CGeoAnnoGrid& grid, const tagANNORECT& box, int margin) {
    CAnnoRectList found;
    grid.GetRecord(box, found);
    for (POSITION p = found.GetHeadPosition(); p;)
        if (AnnoRectsIntersect(box, *found.GetNext(p), margin)) return 1;
    return 0;
}

tagANNORECT RandomBox(std::mt19937& rng, int id) {
    std::uniform_int_distribution<int> pos(-500, 5500), size(0, 120), kind(0, 19);
    const int k = kind(rng);
    int w = size(rng), h = size(rng) / 2;
    if (k == 0) w = h = 4000;  // spans most of the area
    if (k == 1) w = -w;        // inverted
    const float angle = k < 10 ? 0.0f : static_cast<float>(std::uniform_int_distribution<int>(-180, 180)(rng));
    return tagANNORECT(id, pos(rng), pos(rng), w, h, angle);
}

TEST(AnnoBoxIndex, AnswersAsTheGridCellsDo) {
    struct Case {
        int rows, columns;
        CRect area;
    };
    const Case cases[] = {
        {10, 10, CRect(0, 0, 5000, 5000)},  // the default grid
        {7, 3, CRect(0, 0, 5000, 5000)},    // few wide cells
        {40, 60, CRect(1000, 1000, 3000, 4000)},
        {1, 1, CRect(0, 0, 0, 0)},  // an empty area
    };
    const int margins[] = {0, 6, 40, -25};
    for (const Case& c : cases) {
        std::mt19937 rng(29);
        CGeoAnnoGrid grid;
        grid.SetTotalRect(c.area);
        grid.SetRows(c.rows);
        grid.SetColumns(c.columns);
        grid.BuildIndex();
        int mismatches = 0, hits = 0, asked = 0;
        auto check = [&](int n) {
            for (int q = 0; q < n; ++q) {
                const tagANNORECT box = RandomBox(rng, -1);
                for (int m : margins) {
                    const int walk = WalkIntersects(grid, box, m);
                    hits += walk;
                    ++asked;
                    if (grid.Intersects(box, m) != walk) ++mismatches;
                }
            }
        };
        for (int i = 0; i < 1500; ++i) grid.AddRecord(RandomBox(rng, i));
        check(300);
        for (int i = 0; i < 1500; i += 3) grid.DeleteRecord(i);
        for (int i = 1; i < 1500; i += 7) {
            const POSITION at = grid.FindRecord(i);
            if (!at) continue;
            tagANNORECT moved = RandomBox(rng, i);
            grid.ReplaceRecord(*grid.GetRecordList().GetAt(at), moved);
        }
        check(300);
        EXPECT_EQ(0, mismatches) << c.rows << " x " << c.columns;
        EXPECT_GT(hits, asked / 10);  // the fixture collides often enough to mean something
        EXPECT_LT(hits, asked);

        // Rebuilding drops every box from the look-up as from the cells.
        grid.BuildIndex();
        EXPECT_EQ(0, grid.Intersects(tagANNORECT(-1, -100000, -100000, 200000, 200000, 0.0f), 0));
    }
}

TEST(AnnoBoxIndex, CellRangesShareTheAliasedCell) {
    typedef CAnnoBoxIndex::CellRange R;
    // Row 2's cell past the last of 4 columns is row 3's first cell.
    EXPECT_TRUE(CAnnoBoxIndex::ShareCell(R{4, 4, 2, 2}, R{0, 1, 3, 3}, 4));
    EXPECT_TRUE(CAnnoBoxIndex::ShareCell(R{0, 0, 3, 5}, R{3, 4, 1, 2}, 4));
    EXPECT_FALSE(CAnnoBoxIndex::ShareCell(R{4, 4, 2, 2}, R{0, 1, 2, 2}, 4));
    EXPECT_FALSE(CAnnoBoxIndex::ShareCell(R{4, 4, 2, 2}, R{1, 3, 3, 3}, 4));
    EXPECT_FALSE(CAnnoBoxIndex::ShareCell(R{3, 3, 2, 2}, R{0, 0, 3, 3}, 4));
    EXPECT_TRUE(CAnnoBoxIndex::ShareCell(R{1, 2, 1, 2}, R{2, 3, 2, 4}, 4));
}

}  // namespace
