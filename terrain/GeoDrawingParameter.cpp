#include "terrain/GeoDrawingParameter.h"

#include "vector/GeoTinPoint.h"

#include <cmath>

namespace {

LONG Saturate(double v) {
    v = std::trunc(v);
    if (!(v > -2147483648.0)) return v != v ? 0 : INT32_MIN;
    if (v > 2147483647.0) return INT32_MAX;
    return static_cast<LONG>(v);
}

}  // namespace

tagPOINT StGeoDrawingParameter::RPToLP(CPoint p) const {
    tagPOINT r;
    r.x = Saturate((p.x - m_dXOrigin) * m_dXScale + 0.5);
    if (CGeoTinPoint::GetMinusY())
        r.y = Saturate((p.y - m_dYOrigin) * m_dYScale + 0.5);
    else
        r.y = Saturate((m_dYOrigin - p.y) * m_dYScale + 0.5);
    return r;
}

CGeoTinPointArray::~CGeoTinPointArray() = default;
