// Gauss-Krueger zone changes, checked against PROJ's answer for the same points between the EPSG
// systems of those zones (looked up in PROJ's database, independently of the transformer's pipeline).
#include "pellion/GeoGaussTransformer.h"
#include "pellion/TicPrecision.h"

#include <gtest/gtest.h>
#include <proj.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

// PROJ's own answer between two EPSG systems, in (east, north) order.
struct EpsgTransform {
    PJ_CONTEXT* ctx = proj_context_create();
    PJ* pj = nullptr;
    EpsgTransform(const std::string& from, const std::string& to)
    {
        PJ* raw = proj_create_crs_to_crs(ctx, from.c_str(), to.c_str(), nullptr);
        if (raw) {
            pj = proj_normalize_for_visualization(ctx, raw);
            proj_destroy(raw);
        }
    }
    ~EpsgTransform()
    {
        if (pj) proj_destroy(pj);
        proj_context_destroy(ctx);
    }
    PJ_XY operator()(double e, double n) const { return proj_trans(pj, PJ_FWD, proj_coord(e, n, 0, 0)).xy; }
};

TEST(PellionGauss, ZoneChangesAgreeWithEpsgSystems)
{
    struct Case {
        const char* name;
        int inWidth, inZone, outWidth, outZone;
        GAUSSELLIPSOID ellipsoid;
        const char* from;
        const char* to;
        double east, north;  // an input point in the national form
    };
    const Case cases[] = {
        // Beijing 1954, 6-degree zone 20 -> 21, points on and far off the central meridian.
        {"bj54 20->21", 6, 20, 6, 21, GAUSS_KRASSOVSKY, "EPSG:21420", "EPSG:21421", 20500000.0, 3000000.0},
        {"bj54 20->21 west", 6, 20, 6, 21, GAUSS_KRASSOVSKY, "EPSG:21420", "EPSG:21421", 20210345.25, 4412000.5},
        {"bj54 21->20", 6, 21, 6, 20, GAUSS_KRASSOVSKY, "EPSG:21421", "EPSG:21420", 21753123.0, 2512345.75},
        // CGCS2000, 3-degree zone 39 -> 6-degree zone 20 (same central meridian 117).
        {"cgcs 3d39->6d20", 3, 39, 6, 20, GAUSS_CGCS2000, "EPSG:4527", "EPSG:4498", 39612345.6, 3398765.4},
        // Xi'an 1980, 6-degree zone 20 -> 3-degree zone 40 (central meridian 117 -> 120).
        {"xian 6d20->3d40", 6, 20, 3, 40, GAUSS_IAG75, "EPSG:2334", "EPSG:2364", 20712000.0, 3512000.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CGeoGaussTransformer t;
        ASSERT_EQ(t.SetZones(c.inWidth, c.inZone, c.outWidth, c.outZone), 1);
        ASSERT_EQ(t.SetEllipsoid(c.ellipsoid), 1);
        EpsgTransform ref(c.from, c.to);
        ASSERT_NE(ref.pj, nullptr);

        double x = 0, y = 0;
        ASSERT_EQ(t.Transform(c.east, c.north, x, y), 1);
        const PJ_XY r = ref(c.east, c.north);
        EXPECT_NEAR(x, r.x, 1e-4);
        EXPECT_NEAR(y, r.y, 1e-4);
        // And back again.
        CGeoGaussTransformer back;
        back.SetZones(c.outWidth, c.outZone, c.inWidth, c.inZone);
        back.SetEllipsoid(c.ellipsoid);
        double bx = 0, by = 0;
        ASSERT_EQ(back.Transform(x, y, bx, by), 1);
        EXPECT_NEAR(bx, c.east, 1e-5);
        EXPECT_NEAR(by, c.north, 1e-5);
    }
}

TEST(PellionGauss, SameZoneAndWidthChangeOnTheSameMeridian)
{
    CGeoGaussTransformer same;  // zone 20 into zone 20
    double x = 0, y = 0;
    ASSERT_EQ(same.Transform(20456789.125, 3123456.5, x, y), 1);
    EXPECT_NEAR(x, 20456789.125, 1e-6);
    EXPECT_NEAR(y, 3123456.5, 1e-6);

    // 6-degree zone 20 and 3-degree zone 39 share meridian 117: only the zone number changes.
    CGeoGaussTransformer t(20, 39, 6);
    t.SetZones(6, 20, 3, 39);
    ASSERT_EQ(t.Transform(20456789.125, 3123456.5, x, y), 1);
    EXPECT_NEAR(x, 39456789.125, 1e-6);
    EXPECT_NEAR(y, 3123456.5, 1e-6);
}

TEST(PellionGauss, FailuresWriteTheInputBack)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* name;
        int inWidth, inZone, outWidth, outZone;
        GAUSSELLIPSOID ellipsoid;
        double east, north;
    };
    const Case cases[] = {
        {"zone 0", 6, 0, 6, 20, GAUSS_KRASSOVSKY, 500000.0, 1.0},
        {"zone 61 of 6", 6, 20, 6, 61, GAUSS_KRASSOVSKY, 20500000.0, 1.0},
        {"zone 121 of 3", 3, 121, 6, 20, GAUSS_KRASSOVSKY, 20500000.0, 1.0},
        {"width 5", 5, 20, 6, 20, GAUSS_KRASSOVSKY, 20500000.0, 1.0},
        {"ellipsoid", 6, 20, 6, 21, static_cast<GAUSSELLIPSOID>(9), 20500000.0, 1.0},
        {"nan east", 6, 20, 6, 21, GAUSS_KRASSOVSKY, nan, 1.0},
        {"infinite north", 6, 20, 6, 21, GAUSS_KRASSOVSKY, 20500000.0, HUGE_VAL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CGeoGaussTransformer t;
        const int zonesOk = t.SetZones(c.inWidth, c.inZone, c.outWidth, c.outZone);
        const int ellipsoidOk = t.SetEllipsoid(c.ellipsoid);
        EXPECT_EQ(t.IsValid(), zonesOk && ellipsoidOk);
        double x = 7, y = 7;
        EXPECT_EQ(t.Transform(c.east, c.north, x, y), 0);
        EXPECT_TRUE(x == c.east || (std::isnan(x) && std::isnan(c.east)));
        EXPECT_EQ(y, c.north);
    }
    // The transformer recovers once its parameters are valid again.
    CGeoGaussTransformer t;
    t.SetZones(6, 0, 6, 20);
    t.SetZones(6, 20, 6, 21);
    double x = 0, y = 0;
    EXPECT_EQ(t.Transform(20500000.0, 3000000.0, x, y), 1);
    EXPECT_NEAR(x, 20904406.8353, 1e-3);  // cs2cs EPSG:21420 EPSG:21421
    EXPECT_NEAR(y, 3014245.7100, 1e-3);
}

TEST(PellionGauss, KindsAndOffsets)
{
    CGeoGaussTransformer t(20, 21);
    const CGeoCoordinateTransformer& base = t;
    EXPECT_TRUE(base.IsKindOf(RUNTIME_CLASS(CBaseCoordinateTransformer)));
    EXPECT_TRUE(base.IsKindOf(RUNTIME_CLASS(CGeoGaussTransformer)));
    EXPECT_EQ(t.GetOutZoneNum(), 21);
    EXPECT_EQ(t.GetSecondOffsetX(), 0.0);
    EXPECT_EQ(t.PreGetInputOffsetEast(), 0.0);

    // Offsets are kept for the caller and never applied by the mapping itself.
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    t.Transform(20500000.0, 3000000.0, x0, y0);
    t.SetInputOffset(20000000.0, 100.0);
    t.SetSecondOffsetX(21000000.0);
    t.SetSecondOffsetY(5.0);
    t.Transform(20500000.0, 3000000.0, x1, y1);
    EXPECT_EQ(x0, x1);
    EXPECT_EQ(y0, y1);
    EXPECT_EQ(t.PreGetInputOffsetEast(), 20000000.0);
    EXPECT_EQ(t.PreGetInputOffsetNorth(), 100.0);
    EXPECT_EQ(t.GetSecondOffsetY(), 5.0);
    EXPECT_GE(GetMaxTicPrecision(), 2);  // the settings' default precision must be allowed
}

}  // namespace
