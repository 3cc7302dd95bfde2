#include "terrain/GeoDEM.h"

#include "core/GeoVectorLayer.h"
#include "vector/GeoPLine.h"
#include "vector/GeoPolygonLine.h"
#include "DemFixtures.h"

#include <afx/WinApp.h>

#include <gtest/gtest.h>
#include <string>

#include <cmath>
#include <map>
#include <set>
#include <vector>

using demtest::MakeDem;
using demtest::MakeDemFn;

namespace {

const LONG X = -99999;

struct Line {
    bool closed;
    double z;
    std::vector<CPoint> pts;
};

// Traces into a fresh metre layer and returns the lines in the order they were added.
std::vector<Line> Trace(CGeoDEM& dem, double interval, int* result = nullptr)
{
    CGeoVectorLayer layer;
    layer.SetUnit(6);
    const int r = dem.CreateContour(layer, interval);
    if (result) *result = r;
    std::vector<Line> lines;
    for (int id = 1; id <= layer.GetMaxID(); ++id) {
        auto* obj = static_cast<CGeoPLine*>(layer.FindObj(static_cast<UINT>(id)));
        if (!obj) continue;
        Line l;
        l.closed = obj->IsKindOf(RUNTIME_CLASS(CGeoPolygonLine));
        l.z = obj->GetZ();
        EXPECT_EQ(obj->GetUnit(), 6);
        for (int i = 0; i < obj->GetPoints(); ++i) l.pts.push_back(obj->GetPoint(i));
        lines.push_back(l);
    }
    return lines;
}

std::multiset<double> Levels(const std::vector<Line>& lines)
{
    std::multiset<double> z;
    for (const Line& l : lines) z.insert(l.z);
    return z;
}

}  // namespace

TEST(Contours, ConeGivesOneRingPerLevelOnTheGrid)
{
    // A cone of 21 x 21 nodes, 10 m apart, peak 1000 at the centre node, north-west corner (1000, 5200).
    auto dem = MakeDemFn(21, 21, [](int c, int r) { return static_cast<LONG>(std::lround(1000 - 100 * std::hypot(c - 10, r - 10))); },
                         1000, 5200, 10.0, 1.0);
    const auto lines = Trace(*dem, 200);
    std::map<double, int> rings;
    for (const Line& l : lines) {
        if (!l.closed) continue;
        ++rings[l.z];
        const double radius = (1000 - l.z) / 100 * 10.0;  // metres
        for (const CPoint& p : l.pts) {
            // Placed on the grid: the centre node is at (1100, 5100). Truncation to whole metres and
            // the linear crossing on a rounded cone stay within 2 m.
            EXPECT_NEAR(std::hypot(p.x - 1100.0, p.y - 5100.0), radius, 2.0) << "level " << l.z;
        }
    }
    EXPECT_EQ(rings, (std::map<double, int>{{200, 1}, {400, 1}, {600, 1}, {800, 1}}));
}

TEST(Contours, LevelsUseFloorDivisionAndRefuseUselessIntervals)
{
    // A west-east plane: open lines from the southern to the northern border.
    auto plane = MakeDemFn(20, 5, [](int c, int) { return -103 + c * 8; }, 0, 50, 10.0, 1.0);  // -103 .. 49
    const auto lines = Trace(*plane, 50);
    EXPECT_EQ(Levels(lines), (std::multiset<double>{-100, -50, 0}));
    for (const Line& l : lines) {
        EXPECT_FALSE(l.closed);
        // Vertical lines where the plane crosses the level: x = 10 * (L + 103) / 8.
        const double x = 10.0 * (l.z + 103) / 8;
        for (const CPoint& p : l.pts) EXPECT_NEAR(p.x, x, 1.0);
        EXPECT_EQ(l.pts.front().y, 10);  // from the southern border...
        EXPECT_EQ(l.pts.back().y, 50);   // ...to the northern one
    }
    // min 103, max 257: 150, 200, 250; a level equal to the minimum is not traced.
    auto up = MakeDemFn(4, 20, [](int c, int r) { return r == 19 && c == 0 ? 103 : 257 - r * 8; });
    EXPECT_EQ(Levels(Trace(*up, 50)), (std::multiset<double>{150, 200, 250}));
    auto from100 = MakeDemFn(4, 20, [](int, int r) { return 252 - r * 8; });  // 100 .. 252
    EXPECT_EQ(Levels(Trace(*from100, 50)), (std::multiset<double>{150, 200, 250}));

    // The interval is in real units: scale 0.1 makes 5 m fifty stored units.
    auto scaled = MakeDemFn(20, 3, [](int c, int) { return c * 10; }, 0, 30, 10.0, 0.1);  // 0 .. 19 m
    EXPECT_EQ(Levels(Trace(*scaled, 5)), (std::multiset<double>{5, 10, 15}));
    int result = 0;
    EXPECT_TRUE(Trace(*scaled, 0.04, &result).empty());  // below one stored unit
    EXPECT_EQ(result, -1);
    EXPECT_TRUE(Trace(*scaled, -5, &result).empty());
    EXPECT_EQ(result, -1);
    auto none = MakeDem({{X, X}, {X, X}});
    EXPECT_TRUE(Trace(*none, 10, &result).empty());
    EXPECT_EQ(result, 0);
}

TEST(Contours, SaddleJoinsOrSeparatesByTheCellMean)
{
    const std::vector<std::vector<LONG>> twoPeaks = {{0, 0, 0, 0},  //
                                                     {0, 10, 0, 0},
                                                     {0, 0, 10, 0},
                                                     {0, 0, 0, 0}};
    // Level 5: mean (10 + 0 + 0 + 10) / 4 = 5 reaches the level, one ring around both peaks.
    auto a = MakeDem(twoPeaks, 0, 40, 10.0, 1.0);
    std::map<double, int> at5;
    for (const Line& l : Trace(*a, 5)) at5[l.z] += l.closed ? 1 : 100;
    EXPECT_EQ(at5[5], 1);
    // Level 6: the mean stays below it, two rings.
    std::map<double, int> at6;
    for (const Line& l : Trace(*a, 6)) at6[l.z] += l.closed ? 1 : 100;
    EXPECT_EQ(at6[6], 2);
}

TEST(Contours, NoDataEndsLinesInsteadOfRingingIt)
{
    // A west-east plane 0 .. 95 with a block of no-data in its middle.
    auto dem = MakeDemFn(20, 12,
                         [](int c, int r) { return (c >= 8 && c <= 11 && r >= 4 && r <= 7) ? X : c * 5; }, 0, 120, 10.0, 1.0);
    const auto lines = Trace(*dem, 25);
    std::map<double, int> count;
    for (const Line& l : lines) {
        EXPECT_FALSE(l.closed) << "no ring around the no-data block at " << l.z;
        ++count[l.z];
        for (const CPoint& p : l.pts) {
            // No vertex inside the block (columns 8..11 are x 80..110, rows 4..7 from the north y 50..80).
            EXPECT_FALSE(p.x > 80 && p.x < 110 && p.y > 50 && p.y < 80) << l.z;
        }
    }
    // 25 and 75 miss the block: one line each; 50 (column 10) is cut in two.
    EXPECT_EQ(count, (std::map<double, int>{{25, 1}, {50, 2}, {75, 1}}));
}

TEST(Contours, RidgeGivesOpenLinesBorderToBorder)
{
    auto ridge = MakeDemFn(12, 9, [](int, int r) { return 100 - 20 * std::abs(r - 4); }, 0, 90, 10.0, 1.0);
    const auto lines = Trace(*ridge, 30);
    ASSERT_FALSE(lines.empty());
    for (const Line& l : lines) {
        EXPECT_FALSE(l.closed);
        EXPECT_EQ(l.pts.front().x, 0);
        EXPECT_EQ(l.pts.back().x, 110);
    }
    EXPECT_EQ(Levels(lines), (std::multiset<double>{30, 30, 60, 60, 90, 90}));
}

// One undeclared spike and a fine interval would ask for a level every unit up to 2^31: the number of
// levels is bounded, and a request beyond it refused with a message instead of worked through.
TEST(GeoDEMContour, LevelCountIsBounded)
{
    const struct {
        LONG top;
        bool refused;
    } cases[] = {
        {2147483647, true},
        {CGeoDEM::kMaxContourLevels + 1, true},
        {CGeoDEM::kMaxContourLevels, false},  // exactly the bound: traced, a ring around the peak a level
    };
    for (const auto& c : cases) {
        AfxClearMessageLog();
        auto dem = MakeDem({{0, 0, 0}, {0, c.top, 0}, {0, 0, 0}}, 0, 30, 10.0, 1.0);
        CGeoVectorLayer layer;
        layer.SetUnit(6);
        const int result = dem->CreateContour(layer, 1.0);
        if (c.refused) {
            EXPECT_EQ(result, -1) << c.top;
            EXPECT_EQ(layer.GetObjectCount(), 0) << c.top;
            ASSERT_EQ(AfxGetMessageLog().size(), 1u) << c.top;
            EXPECT_EQ(std::string(static_cast<LPCTSTR>(AfxGetMessageLog()[0].text)).rfind("等高线层数过多: ", 0), 0u);
        } else {
            EXPECT_GT(result, CGeoDEM::kMaxContourLevels / 2) << c.top;
            EXPECT_EQ(layer.GetObjectCount(), result) << c.top;
            EXPECT_TRUE(AfxGetMessageLog().empty()) << c.top;
        }
    }
}
