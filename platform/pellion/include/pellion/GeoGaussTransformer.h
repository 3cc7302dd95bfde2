// CGeoGaussTransformer: Gauss-Krueger coordinates of one zone into those of another (zone change), on
// one ellipsoid, computed by PROJ (inverse transverse Mercator of the input zone, then the forward
// projection of the output zone).
//
// Coordinates are metres, x east and y north, in the national form: the easting carries the zone
// number in its millions and the 500 km false easting, x = zone * 1 000 000 + 500 000 + E, where E is
// the distance east of the zone's central meridian; y is the distance north of the equator (scale 1 on
// the central meridian, no false northing). Zones are 6 degrees wide (numbers 1 to 60, central meridian
// 6 * n - 3 degrees east) or 3 degrees wide (numbers 1 to 120, central meridian 3 * n degrees east);
// the input and output zone need not have the same width.
//
// Input offsets: coordinates that lack part of the national form (for example eastings without the
// zone number) are completed by adding the input offsets before they are transformed. The transformer
// does not add them itself; it keeps them for the caller (PreGetInputOffsetEast, PreGetInputOffsetNorth),
// which adds them to the points it hands to Transform. Both start at 0.0.
//
// The defaults are 6-degree zone 20 into 6-degree zone 20 on the Krassovsky ellipsoid, which maps
// every point onto itself.
#pragma once

#include "pellion/GeoCoordinateTransformer.h"

// Ellipsoids of the Gauss-Krueger systems in use.
enum GAUSSELLIPSOID : int {
    GAUSS_KRASSOVSKY = 0,  // Krassovsky 1940 (Beijing 1954): a 6 378 245, 1/f 298.3
    GAUSS_IAG75 = 1,       // IAG 1975 (Xi'an 1980): a 6 378 140, 1/f 298.257
    GAUSS_CGCS2000 = 2,    // CGCS2000: a 6 378 137, 1/f 298.257 222 101
    GAUSS_WGS84 = 3,       // WGS 84: a 6 378 137, 1/f 298.257 223 563
};

class CGeoGaussTransformer : public CBaseCoordinateTransformer {
    DECLARE_DYNAMIC(CGeoGaussTransformer)

public:
    CGeoGaussTransformer();
    // Zone nInZone into zone nOutZone, both nZoneWidth degrees wide. Parameters that are not valid are
    // kept; Transform then fails (see IsValid).
    CGeoGaussTransformer(int nInZone, int nOutZone, int nZoneWidth = 6, GAUSSELLIPSOID ellipsoid = GAUSS_KRASSOVSKY);
    ~CGeoGaussTransformer() override;

    // Sets both zones with their widths. Returns 1 when the four values form valid zones; otherwise 0,
    // and the values are kept all the same, so that Transform fails rather than use other zones.
    int SetZones(int nInZoneWidth, int nInZone, int nOutZoneWidth, int nOutZone);
    // Returns 1 for a known ellipsoid; 0 (the value kept, Transform failing) for any other.
    int SetEllipsoid(GAUSSELLIPSOID ellipsoid);
    void SetInputOffset(double east, double north);

    int GetInZoneNum() const { return m_nInZone; }
    int GetOutZoneNum() const { return m_nOutZone; }
    int GetInZoneWidth() const { return m_nInZoneWidth; }
    int GetOutZoneWidth() const { return m_nOutZoneWidth; }
    GAUSSELLIPSOID GetEllipsoid() const { return m_Ellipsoid; }
    double PreGetInputOffsetEast() const { return m_dInputOffsetEast; }
    double PreGetInputOffsetNorth() const { return m_dInputOffsetNorth; }

    // 1 when both zones and the ellipsoid are valid.
    int IsValid() const;

    // The central meridian in degrees east of a zone (6 * n - 3 for 6-degree zones, 3 * n for 3-degree
    // zones), or a NaN when the width is neither 3 nor 6 or the number is outside 1 to 360 / width.
    static double GetCentralMeridian(int nZoneWidth, int nZone);

    // The zone change of a point in the national form (see the top of this file). Fails (0, the point
    // written back unchanged) when the parameters are not valid, an input is not finite, or PROJ cannot
    // transform the point.
    int Transform(double x, double y, double& xOut, double& yOut) const override;

private:
    // The PROJ context and pipeline of the current parameters, made on first use and dropped when a
    // parameter changes.
    struct Pipeline;
    // The pipeline, built when missing; NULL when the parameters are not valid or PROJ refuses them.
    Pipeline* GetPipeline() const;
    void ResetPipeline();

    int m_nInZoneWidth = 6;
    int m_nInZone = 20;
    int m_nOutZoneWidth = 6;
    int m_nOutZone = 20;
    GAUSSELLIPSOID m_Ellipsoid = GAUSS_KRASSOVSKY;
    double m_dInputOffsetEast = 0.0;
    double m_dInputOffsetNorth = 0.0;
    mutable Pipeline* m_pPipeline = nullptr;
};
