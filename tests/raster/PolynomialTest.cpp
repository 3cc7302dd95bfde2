#include "raster/GeoImage.h"
#include "raster/Polynomial.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// Point records (x, y, X, Y) on a grid of pixel positions, ground from a known model.
template <class F>
std::vector<double> Records(int nx, int ny, F model)
{
    std::vector<double> r;
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) {
            const double x = 10.0 + 37.0 * i + 3.0 * j, y = 5.0 + 29.0 * j + 2.0 * (i % 3);
            double X, Y;
            model(x, y, X, Y);
            r.insert(r.end(), {x, y, X, Y});
        }
    return r;
}

void AddPoints(CGeoImage& image, const std::vector<double>& r)
{
    for (size_t i = 0; i < r.size(); i += 4) {
        auto* g = new CGeoGCPoint;
        g->SetPixelPoint(CPoint(static_cast<LONG>(std::lround(r[i] * 10)), static_cast<LONG>(std::lround(r[i + 1] * 10))));
        g->SetGCPX(r[i + 2]);
        g->SetGCPY(r[i + 3]);
        image.GetGCPoints()->AddTail(g);
    }
}

}  // namespace

TEST(Polynomial, OnePointIsAShift)
{
    double P[4] = {100, 200, 5000, 6000};
    double m2p[4], p2m[4];
    ASSERT_EQ(Polynomial(2, 1, P, m2p, p2m, nullptr, nullptr), 20);
    CGeoImage image;
    AddPoints(image, {100, 200, 5000, 6000});
    double x = 0, y = 0;
    ASSERT_EQ(image.MapCoordToImageCoord(1, 5010, 6010, x, y), 1);
    EXPECT_DOUBLE_EQ(x, 110);
    EXPECT_DOUBLE_EQ(y, 210);
    double X = 0, Y = 0;
    ASSERT_EQ(image.ImageCoordToMapCoord(1, X, Y, 110, 210), 1);
    EXPECT_DOUBLE_EQ(X, 5010);
    EXPECT_DOUBLE_EQ(Y, 6010);
}

TEST(Polynomial, KindMatchesThePointCount)
{
    struct { int k, n, want; } cases[] = {
        {1, 0, 0},  {4, 1, 20}, {1, 2, 20},  {20, 3, 1},  {10, 3, 1}, {0, 3, 0},  {1, 3, 1},  {3, 4, 10},
        {1, 5, 1},  {10, 5, 10}, {3, 6, 2},  {20, 9, 20}, {4, 10, 3}, {2, 14, 2}, {4, 15, 4}, {10, 20, 10},
    };
    for (const auto& c : cases) EXPECT_EQ(MatchPolynomialKind(c.k, c.n), c.want) << c.k << " " << c.n;
}

TEST(Polynomial, RecoversKnownModelsBothWays)
{
    struct Case {
        int kind, nx, ny;
        void (*model)(double, double, double&, double&);
    } cases[] = {
        {1, 3, 2, [](double x, double y, double& X, double& Y) { X = 500 + 2 * x - 0.5 * y; Y = 800 + 0.25 * x + 2 * y; }},
        {2, 4, 3,
         [](double x, double y, double& X, double& Y) { X = 5 + x + 1e-3 * x * y; Y = 7 + y - 2e-3 * x * x + 1e-3 * y * y; }},
        {3, 5, 4,
         [](double x, double y, double& X, double& Y) { X = x + 1e-6 * x * x * x; Y = 3 + y + 1e-6 * x * y * y; }},
        {10, 3, 3, [](double x, double y, double& X, double& Y) { X = 1 + 2 * x + 3 * y + 0.01 * x * y; Y = y - x; }},
        {20, 3, 2,
         [](double x, double y, double& X, double& Y) {  // a turn of 30 degrees, scale 2
             const double c = 2 * std::cos(0.5235987755982988), s = 2 * std::sin(0.5235987755982988);
             X = 100 + c * x + s * y;
             Y = 50 + c * y - s * x;
         }},
    };
    for (const auto& c : cases) {
        std::vector<double> r = Records(c.nx, c.ny, c.model);
        const int n = static_cast<int>(r.size() / 4);
        std::vector<double> m2p(30), p2m(30), rm(2 * n), rp(2 * n);
        ASSERT_EQ(Polynomial(c.kind, n, r.data(), m2p.data(), p2m.data(), rm.data(), rp.data()), c.kind);
        for (double v : rp) EXPECT_NEAR(v, 0.0, 1e-6) << c.kind;
        CGeoImage image;
        AddPoints(image, r);
        for (int i = 0; i < n; ++i) {
            double x, y, X, Y;
            ASSERT_EQ(image.MapCoordToImageCoord(c.kind, r[4 * i + 2], r[4 * i + 3], x, y), 1);
            // Only a linear model has an inverse of its own kind; the others are fitted, not inverted.
            if (c.kind == 1 || c.kind == 20) {
                EXPECT_NEAR(x, r[4 * i], 1e-6) << c.kind;
                EXPECT_NEAR(y, r[4 * i + 1], 1e-6) << c.kind;
            }
            ASSERT_EQ(image.ImageCoordToMapCoord(c.kind, X, Y, r[4 * i], r[4 * i + 1]), 1);
            EXPECT_NEAR(X, r[4 * i + 2], 1e-6) << c.kind;
            EXPECT_NEAR(Y, r[4 * i + 3], 1e-6) << c.kind;
        }
        double rms = -1;
        ASSERT_EQ(image.Accuracy(c.kind, rms), 1);
        EXPECT_NEAR(rms, 0.0, 1e-6);
    }
}

TEST(Polynomial, LargeGroundCoordinatesUseTheFitsScale)
{
    // Ground near 100 km: the first point at or above 100 000 makes the fit divide by 4000; points
    // evaluated just below it must be divided too.
    auto model = [](double x, double y, double& X, double& Y) {
        X = 99900 + 2 * x + 0.1 * y;
        Y = 100000 + 2 * y;
    };
    std::vector<double> r = Records(4, 3, model);
    CGeoImage image;
    AddPoints(image, r);
    double X, Y, x, y;
    model(20.0, 40.0, X, Y);
    ASSERT_LT(X, 100000.0);
    ASSERT_EQ(image.MapCoordToImageCoord(1, X, Y, x, y), 1);
    EXPECT_NEAR(x, 20.0, 1e-6);
    EXPECT_NEAR(y, 40.0, 1e-6);

    // Calculate keeps its own rule: exactly 100 000 is not scaled, above it is.
    double c[12] = {0, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0};  // X' = x, Y' = y
    CGeoImage six;
    AddPoints(six, Records(3, 2, model));
    ASSERT_EQ(six.Calculate(c, 2, 100000.0, 5.0, X, Y), 1);
    EXPECT_EQ(X, 100000.0);
    ASSERT_EQ(six.Calculate(c, 2, 100001.0, 5.0, X, Y), 1);
    EXPECT_DOUBLE_EQ(X, 100001.0 / 4000.0);
}

TEST(Polynomial, SingularSystemsFail)
{
    // Singular only in the last column: the earlier pivots pass.
    double A[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 1, 0, 0, 1, 1};
    double b[4] = {1, 2, 3, 3};
    int ok = 1;
    gauss(4, A, b, 1e-12, &ok);
    EXPECT_EQ(ok, 0);
    double B[4] = {4, 1, 2, 3}, rhs[2] = {1, 2};
    gauss(2, B, rhs, 1e-12, &ok);
    ASSERT_EQ(ok, 1);
    EXPECT_DOUBLE_EQ(rhs[0], 0.1);
    EXPECT_DOUBLE_EQ(rhs[1], 0.6);
    // Collinear points give no affine.
    double line[12] = {0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2}, coef[6];
    EXPECT_EQ(AffineFromThreePoints(line, coef), 0);
    double tri[12] = {0, 0, 10, 20, 1, 0, 12, 20, 0, 1, 10, 23};
    ASSERT_EQ(AffineFromThreePoints(tri, coef), 1);
    EXPECT_NEAR(coef[0], 10, 1e-12);
    EXPECT_NEAR(coef[1], 2, 1e-12);
    EXPECT_NEAR(coef[5], 3, 1e-12);
    // Three collinear control points: the affine fit fails instead of answering NaN.
    CGeoImage image;
    AddPoints(image, {0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2});
    double m2p[6], p2m[6];
    EXPECT_EQ(image.CalcCoef(1, m2p, p2m), 0);
    double x, y;
    EXPECT_EQ(image.MapCoordToImageCoord(1, 1, 1, x, y), 0);
}

TEST(Polynomial, InterpolationWeightsAndClamping)
{
    const BYTE four[4] = {10, 20, 30, 40};
    EXPECT_EQ(CGeoImage::Interpolate(0, 0, four, 1), 10);
    EXPECT_EQ(CGeoImage::Interpolate(0.5, 0.5, four, 1), 25);
    BYTE sixteen[16];
    for (int i = 0; i < 16; ++i) sixteen[i] = BYTE(i * 10);
    EXPECT_EQ(CGeoImage::Interpolate(0, 0, sixteen, 2), 50);  // the base pixel (1, 1)
    // t = 0.5 along x only: weights -0.125, 0.625, 0.625, -0.125 over row 1 (40, 50, 60, 70) -> 55.
    EXPECT_EQ(CGeoImage::Interpolate(0.5, 0, sixteen, 2), 55);
    // Next to an edge the a = -1 kernel overshoots: 255 * (1 - w0(0.25)) = 290.9 and 255 * w0 = -35.9.
    // The values are clamped, not wrapped to 35 and 220.
    BYTE bright[16], dark[16];
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i) {
            bright[4 * j + i] = i == 0 ? 0 : 255;
            dark[4 * j + i] = i == 0 ? 255 : 0;
        }
    EXPECT_EQ(CGeoImage::Interpolate(0.25, 0, bright, 2), 255);
    EXPECT_EQ(CGeoImage::Interpolate(0.25, 0, dark, 2), 0);
    EXPECT_EQ(CGeoImage::Interpolate(0.5, 0.5, four, 7), 0);
}

TEST(Polynomial, AccuracyWritesResidualsIntoTheControlPoints)
{
    // Affine over four points, one of them off by (3, 4) on the ground.
    CGeoImage image;
    AddPoints(image, {0, 0, 100, 200, 100, 0, 300, 200, 0, 100, 100, 400, 100, 100, 303, 404});
    double rms = 0;
    ASSERT_EQ(image.Accuracy(1, rms), 1);
    EXPECT_GT(rms, 0.0);
    double sum = 0;
    for (POSITION pos = image.GetGCPoints()->GetHeadPosition(); pos;) {
        CGeoGCPoint* g = image.GetGCPoints()->GetNext(pos);
        EXPECT_DOUBLE_EQ(g->GetDistance(), std::hypot(g->GetResidualX(), g->GetResidualY()));
        sum += g->GetResidualX() * g->GetResidualX() + g->GetResidualY() * g->GetResidualY();
    }
    EXPECT_NEAR(rms, std::sqrt(sum / (4 - 3)), 1e-9);
    // Three points: exactly as many as the affine's unknowns per coordinate; the fit is exact.
    CGeoImage three;
    AddPoints(three, {0, 0, 100, 200, 100, 0, 300, 200, 0, 100, 100, 400});
    ASSERT_EQ(three.Accuracy(1, rms), 1);
    EXPECT_EQ(rms, 0.0);
    CGeoImage none;
    EXPECT_EQ(none.Accuracy(1, rms), 0);
}

TEST(Polynomial, PointInPolygonEvenOdd)
{
    const double square[8] = {0, 0, 10, 0, 10, 10, 0, 10};
    EXPECT_EQ(PointInPolygon(5.0, 5.0, 4, square), 1);
    EXPECT_EQ(PointInPolygon(15.0, 5.0, 4, square), 0);
    EXPECT_EQ(PointInPolygon(5.0, 10.0, 4, square), 0);  // the top edge's y is outside [min, max)
    EXPECT_EQ(PointInPolygon(5.0, 0.0, 4, square), 1);
    const POINT ints[4] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    EXPECT_EQ(PointInPolygon(9, 9, 4, ints), 1);
    double recs[12] = {5, 5, 0, 0, 1, 1, 0, 0, 3, 3, 0, 0};
    SetDistanceReference(0, 0);
    qsort(recs, 3, 4 * sizeof(double), CompareDistance);
    EXPECT_EQ(recs[0], 1);
    EXPECT_EQ(recs[8], 5);
}
