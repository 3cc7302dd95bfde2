// TIN vertices: position and height through the main body, the y flip, orientation and neighbours.
#include "vector/GeoTinPoint.h"
#include "vector/GeoPLine.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Restores the process-wide flag whatever a test does with it.
struct MinusYGuard {
    int saved = CGeoTinPoint::GetMinusY();
    ~MinusYGuard() { CGeoTinPoint::SetMinusY(saved); }
};

std::unique_ptr<CGeoPLine> Body(const std::vector<POINT>& pts) {
    return std::make_unique<CGeoPLine>(static_cast<int>(pts.size()), pts.data(), TRUE);
}

std::vector<CGeoTinPoint> Vertices(CGeoPLine& body) {
    std::vector<CGeoTinPoint> v(body.GetTinPointNumber());
    CGeoTinPoint* cursor = v.data();
    CPoint centre(0, 0);
    body.CreateTinPoints(cursor, centre);
    return v;
}

TEST(GeoTinPoint, ReadsThroughItsBody) {
    MinusYGuard guard;
    EXPECT_EQ(CGeoTinPoint::m_bMinusY, 1);  // the initial state
    auto body = Body({{10, 20}, {-3, 7}});
    body->SetZ(8.25);
    auto v = Vertices(*body);
    EXPECT_EQ(v[0].GetPoint(), CPoint(10, 20));  // raw body coordinates
    EXPECT_EQ(v[0].GetX(), 10);
    EXPECT_EQ(v[0].GetY(), -20);  // seen with y up
    EXPECT_EQ(v[1].GetY(), -7);
    EXPECT_EQ(v[1].GetZ(), 8.25);
    EXPECT_EQ(v[0].GetDistance(), 500.0);
    CGeoTinPoint::SetMinusY(0);
    EXPECT_EQ(CGeoTinPoint::GetMinusY(), 0);
    EXPECT_EQ(v[0].GetY(), 20);

    // The body is asked every time: a moved point is seen at once.
    body->MovePointTo(0, 1, 2);
    EXPECT_EQ(v[0].GetPoint(), CPoint(1, 2));

    CGeoTinPoint copy = v[1];
    EXPECT_EQ(copy.GetMainBody(), body.get());
    EXPECT_EQ(copy.GetNumber(), 1);
    copy.SetMainBody(nullptr);
    EXPECT_EQ(v[1].GetMainBody(), body.get());
}

TEST(GeoTinPoint, Orientation) {
    MinusYGuard guard;
    CGeoTinPoint::SetMinusY(0);
    auto body = Body({{0, 0}, {1, 0}, {1, 1}, {2, 2}, {3, 3}});
    auto v = Vertices(*body);
    EXPECT_TRUE(v[0].IsAnticlockwise(&v[1], &v[2]));
    EXPECT_FALSE(v[0].IsAnticlockwise(&v[2], &v[1]));
    EXPECT_FALSE(v[2].IsAnticlockwise(&v[3], &v[4]));  // collinear, both orders
    EXPECT_FALSE(v[2].IsAnticlockwise(&v[4], &v[3]));
    // Seen with y flipped, the turn reverses.
    CGeoTinPoint::SetMinusY(1);
    EXPECT_FALSE(v[0].IsAnticlockwise(&v[1], &v[2]));
    EXPECT_TRUE(v[0].IsAnticlockwise(&v[2], &v[1]));
}

TEST(GeoTinPoint, NeighboursWrapAroundTheirBody) {
    auto body = Body({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}});
    auto other = Body({{0, 0}, {1, 0}});
    auto v = Vertices(*body);
    auto w = Vertices(*other);
    EXPECT_TRUE(v[4].IsNeighborPoint(&v[0]));
    EXPECT_TRUE(v[0].IsNeighborPoint(&v[4]));
    EXPECT_TRUE(v[1].IsNeighborPoint(&v[2]));
    EXPECT_FALSE(v[1].IsNeighborPoint(&v[3]));
    EXPECT_FALSE(v[0].IsNeighborPoint(&w[1]));  // another body
    // A body that has lost its points has no neighbours.
    CGeoPLine empty;
    CGeoTinPoint a, b;
    a.SetMainBody(&empty);
    b.SetMainBody(&empty);
    b.SetNumber(1);
    EXPECT_FALSE(a.IsNeighborPoint(&b));
}

}  // namespace
