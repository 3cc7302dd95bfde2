// CGeoPLine: conversions to the spline, the polygon line and the right-angle polygon.
#include "vector/GeoPLine.h"

#include "vector/GeoLineType.h"
#include "vector/GeoPolygonLine.h"
#include "vector/GeoRAPolygon.h"
#include "vector/GeoSPLine.h"

#include <ostrel/Contact.h>

CGeoLine* CGeoPLine::ConvertMeTo(WORD code, DWORD flags) const {
    if (!CanConvertTo(code, flags)) return nullptr;
    switch (GetGLTType(code)) {
        case GLT_SPLINE: {
            CGeoSPLine* spline = new CGeoSPLine(m_nSlotCount, GetGLTParam(code));
            for (int i = 0; i < m_nSlotCount; ++i) spline->AddPoint(m_pPoints[i]);
            if (spline->GetPoints() < 2) {
                spline->Remove();
                return nullptr;
            }
            spline->SetUnit(GetUnit());
            spline->Complete(1);
            return spline;
        }
        case GLT_POLYGONLINE: {
            int n = m_nSlotCount;
            if (n > 1 && EqualPoint(m_pPoints[0], m_pPoints[n - 1])) --n;
            CGeoPolygonLine* ring = new CGeoPolygonLine(n, m_pPoints, TRUE);
            ring->SetUnit(GetUnit());
            ring->SetFace(0);
            return ring;
        }
        case GLT_RAPOLYGON: {
            CGeoRAPolygon* ra = new CGeoRAPolygon(m_nSlotCount, m_pPoints, TRUE);
            ra->SetUnit(GetUnit());
            ra->SetFace(0);
            return ra;
        }
        default: return nullptr;
    }
}
