// The polyline's conversions to a spline, a polygon line and a right-angle polygon.
#include "LineTestSupport.h"

#include "core/GeoSettings.h"
#include "vector/GeoLineType.h"
#include "vector/GeoPolygonLine.h"
#include "vector/GeoRAPolygon.h"
#include "vector/GeoSPLine.h"

#include <gtest/gtest.h>

#include <memory>

using namespace linetest;

namespace {

std::unique_ptr<CGeoLine> Convert(const CGeoLine& line, WORD code) {
    return std::unique_ptr<CGeoLine>(line.ConvertTo(code, 0));
}

TEST(GeoPLineConvert, ToASplineWithTheParameterAsK) {
    std::unique_ptr<CGeoPLine> line(MakeLine({{0, 0}, {50, 50}, {50, 50}, {100, 0}}));
    line->SetUnit(6);
    line->SetZ(9.0);
    auto out = Convert(*line, GLT_TYPE(GLT_SPLINE, 3));
    ASSERT_TRUE(out && out->GetRuntimeClass() == RUNTIME_CLASS(CGeoSPLine));
    auto& spline = static_cast<CGeoSPLine&>(*out);
    EXPECT_EQ(spline.GetSplineIntpPoints(), 3);
    EXPECT_TRUE(SamePoints(PointsOf(spline), {{0, 0}, {50, 50}, {100, 0}}));  // the repeated point dropped
    EXPECT_EQ(spline.CGeoLine::GetPoints(), 9);
    EXPECT_EQ(spline.GetUnit(), 6);
    EXPECT_EQ(spline.GetZ(0), 9.0);
    EXPECT_EQ(spline.IsCompleted(), 1);

    // Parameter 0: the global default. Two points are enough for a spline.
    std::unique_ptr<CGeoPLine> two(MakeLine({{0, 0}, {10, 0}}));
    out = Convert(*two, GLT_TYPE(GLT_SPLINE, 0));
    ASSERT_TRUE(out);
    EXPECT_EQ(static_cast<CGeoSPLine&>(*out).GetSplineIntpPoints(), GetSplineIntpPts());
    // Fewer than two distinct points make no spline.
    for (const Pts& pts : {Pts{{5, 5}, {5, 5}, {5, 5}}, Pts{{5, 5}}, Pts{}}) {
        std::unique_ptr<CGeoPLine> flat(MakeLine(pts));
        EXPECT_EQ(Convert(*flat, GLT_TYPE(GLT_SPLINE, 0)), nullptr) << Show(pts);
    }
}

TEST(GeoPLineConvert, ToAPolygonLineFromThreePointsWithoutARepeatedEnd) {
    std::unique_ptr<CGeoPLine> two(MakeLine({{0, 0}, {10, 0}}));
    EXPECT_EQ(Convert(*two, GLT_TYPE(GLT_POLYGONLINE, 0)), nullptr);
    EXPECT_EQ(Convert(*two, GLT_TYPE(GLT_RAPOLYGON, 0)), nullptr);

    std::unique_ptr<CGeoPLine> three(MakeLine({{0, 0}, {10, 0}, {10, 10}}));
    three->SetUnit(7);
    three->SetZ(1.5);
    for (WORD code : {WORD(0x000A), WORD(0x050A)}) {  // the parameter is ignored
        auto out = Convert(*three, code);
        ASSERT_TRUE(out && out->GetRuntimeClass() == RUNTIME_CLASS(CGeoPolygonLine)) << code;
        EXPECT_TRUE(SamePoints(PointsOf(static_cast<CGeoPLine&>(*out)), {{0, 0}, {10, 0}, {10, 10}}));
        EXPECT_EQ(out->GetUnit(), 7);
        EXPECT_EQ(out->GetZ(0), 1.5);
        EXPECT_EQ(static_cast<CGeoPolygonLine&>(*out).IsFace(), 0);
        EXPECT_EQ(out->IsCompleted(), 1);
    }
    std::unique_ptr<CGeoPLine> closed(MakeLine({{0, 0}, {10, 0}, {10, 10}, {0, 0}}));
    auto ring = Convert(*closed, GLT_TYPE(GLT_POLYGONLINE, 0));
    ASSERT_TRUE(ring);
    EXPECT_TRUE(SamePoints(PointsOf(static_cast<CGeoPLine&>(*ring)), {{0, 0}, {10, 0}, {10, 10}}));
}

TEST(GeoPLineConvert, ToARightAnglePolygonAndOnToAPolygonLine) {
    std::unique_ptr<CGeoPLine> three(MakeLine({{0, 0}, {10, 0}, {10, 10}}));
    three->SetUnit(6);
    auto ra = Convert(*three, GLT_TYPE(GLT_RAPOLYGON, 0));
    ASSERT_TRUE(ra && ra->GetRuntimeClass() == RUNTIME_CLASS(CGeoRAPolygon));
    EXPECT_TRUE(SamePoints(PointsOf(static_cast<CGeoPLine&>(*ra)), {{0, 0}, {10, 0}, {10, 10}}));
    EXPECT_EQ(static_cast<CGeoRAPolygon&>(*ra).GetVertexCount(), 5);
    EXPECT_EQ(ra->GetBounds(), CRect(0, 0, 10, 10));
    auto ring = Convert(*ra, GLT_TYPE(GLT_POLYGONLINE, 0));
    ASSERT_TRUE(ring);
    EXPECT_EQ(static_cast<CGeoPolygonLine&>(*ring).IsFace(), 0);
    EXPECT_EQ(ring->GetUnit(), 6);
    EXPECT_TRUE(SamePoints(PointsOf(static_cast<CGeoPLine&>(*ring)), {{10, 0}, {10, 10}, {0, 10}, {0, 0}}));
}

}  // namespace
