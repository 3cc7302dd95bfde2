#include "pellion/GeoGaussTransformer.h"

#include <proj.h>

#include <cmath>
#include <cstdio>
#include <limits>

IMPLEMENT_DYNAMIC(CGeoGaussTransformer, CBaseCoordinateTransformer)

struct CGeoGaussTransformer::Pipeline {
    PJ_CONTEXT* ctx = nullptr;
    PJ* pj = nullptr;
    Pipeline() = default;
    Pipeline(const Pipeline&) = delete;
    Pipeline& operator=(const Pipeline&) = delete;
    ~Pipeline()
    {
        if (pj) proj_destroy(pj);
        if (ctx) proj_context_destroy(ctx);
    }
};

namespace {

// PROJ's parameters of the ellipsoids, or NULL for an unknown code.
const char* EllipsoidParameters(GAUSSELLIPSOID e)
{
    switch (e) {
    case GAUSS_KRASSOVSKY: return "+ellps=krass";
    case GAUSS_IAG75: return "+a=6378140 +rf=298.257";
    case GAUSS_CGCS2000: return "+ellps=GRS80";
    case GAUSS_WGS84: return "+ellps=WGS84";
    }
    return nullptr;
}

}  // namespace

CGeoGaussTransformer::CGeoGaussTransformer() = default;

CGeoGaussTransformer::CGeoGaussTransformer(int nInZone, int nOutZone, int nZoneWidth, GAUSSELLIPSOID ellipsoid)
    : m_nInZoneWidth(nZoneWidth), m_nInZone(nInZone), m_nOutZoneWidth(nZoneWidth), m_nOutZone(nOutZone),
      m_Ellipsoid(ellipsoid)
{
}

CGeoGaussTransformer::~CGeoGaussTransformer() { ResetPipeline(); }

double CGeoGaussTransformer::GetCentralMeridian(int nZoneWidth, int nZone)
{
    if ((nZoneWidth != 3 && nZoneWidth != 6) || nZone < 1 || nZone > 360 / nZoneWidth)
        return std::numeric_limits<double>::quiet_NaN();
    return nZoneWidth == 6 ? 6.0 * nZone - 3.0 : 3.0 * nZone;
}

int CGeoGaussTransformer::SetZones(int nInZoneWidth, int nInZone, int nOutZoneWidth, int nOutZone)
{
    m_nInZoneWidth = nInZoneWidth;
    m_nInZone = nInZone;
    m_nOutZoneWidth = nOutZoneWidth;
    m_nOutZone = nOutZone;
    ResetPipeline();
    return !std::isnan(GetCentralMeridian(nInZoneWidth, nInZone)) &&
           !std::isnan(GetCentralMeridian(nOutZoneWidth, nOutZone));
}

int CGeoGaussTransformer::SetEllipsoid(GAUSSELLIPSOID ellipsoid)
{
    m_Ellipsoid = ellipsoid;
    ResetPipeline();
    return EllipsoidParameters(ellipsoid) != nullptr;
}

void CGeoGaussTransformer::SetInputOffset(double east, double north)
{
    m_dInputOffsetEast = east;
    m_dInputOffsetNorth = north;
}

int CGeoGaussTransformer::IsValid() const
{
    return !std::isnan(GetCentralMeridian(m_nInZoneWidth, m_nInZone)) &&
           !std::isnan(GetCentralMeridian(m_nOutZoneWidth, m_nOutZone)) && EllipsoidParameters(m_Ellipsoid);
}

void CGeoGaussTransformer::ResetPipeline()
{
    delete m_pPipeline;
    m_pPipeline = nullptr;
}

CGeoGaussTransformer::Pipeline* CGeoGaussTransformer::GetPipeline() const
{
    if (m_pPipeline) return m_pPipeline;
    if (!IsValid()) return nullptr;

    // The zone number sits in the millions of the easting, above the 500 km false easting.
    const char* ellps = EllipsoidParameters(m_Ellipsoid);
    char def[512];
    std::snprintf(def, sizeof def,
                  "+proj=pipeline"
                  " +step +inv +proj=tmerc +lat_0=0 +lon_0=%.17g +k=1 +x_0=%.17g +y_0=0 %s"
                  " +step +proj=tmerc +lat_0=0 +lon_0=%.17g +k=1 +x_0=%.17g +y_0=0 %s",
                  GetCentralMeridian(m_nInZoneWidth, m_nInZone), m_nInZone * 1000000.0 + 500000.0, ellps,
                  GetCentralMeridian(m_nOutZoneWidth, m_nOutZone), m_nOutZone * 1000000.0 + 500000.0, ellps);

    Pipeline* p = new Pipeline;
    p->ctx = proj_context_create();
    if (p->ctx) {
        proj_log_level(p->ctx, PJ_LOG_NONE);
        p->pj = proj_create(p->ctx, def);
    }
    if (!p->pj) {
        delete p;
        return nullptr;
    }
    m_pPipeline = p;
    return p;
}

int CGeoGaussTransformer::Transform(double x, double y, double& xOut, double& yOut) const
{
    const double x0 = x, y0 = y;
    Pipeline* p = std::isfinite(x0) && std::isfinite(y0) ? GetPipeline() : nullptr;
    if (p) {
        PJ_COORD c = proj_coord(x0, y0, 0.0, 0.0);
        proj_errno_reset(p->pj);
        c = proj_trans(p->pj, PJ_FWD, c);
        if (proj_errno(p->pj) == 0 && std::isfinite(c.xy.x) && std::isfinite(c.xy.y)) {
            xOut = c.xy.x;
            yOut = c.xy.y;
            return 1;
        }
    }
    xOut = x0;
    yOut = y0;
    return 0;
}
