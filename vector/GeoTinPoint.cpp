#include "vector/GeoTinPoint.h"

#include "core/GeoHelpers.h"
#include "core/GeoVectorObject.h"

int CGeoTinPoint::m_bMinusY = 1;

BOOL CGeoTinPoint::IsAnticlockwise(const CGeoTinPoint* p, const CGeoTinPoint* q) const {
    return ::IsAnticlockwise(GetX(), GetY(), p->GetX(), p->GetY(), q->GetX(), q->GetY()) ? TRUE : FALSE;
}
