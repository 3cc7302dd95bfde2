#include "vector/GeoLineType.h"

#include <cstring>

namespace {

// Conversions accepted by source class. A class without a row inherits the row of its base, so a
// subclass that converts like its base (the image mosaic line after the polyline) needs none.
// Each shape class adds its row here when it is built.
const GeoLineConversionRow kConversionTable[] = {
    {"CGeoLine", 0, 0},
    {"CGeoOpenLine", 0, 0},
    {"CGeoCloseLine", 0, 0},
    // A polygon line or a right-angle polygon needs a ring of at least 3 points.
    {"CGeoPLine", GLTSet({GLT_SPLINE, GLT_POLYGONLINE, GLT_RAPOLYGON}),
     GLTSet({GLT_POLYGONLINE, GLT_RAPOLYGON})},
    {"CGeoMixedLine", GLTSet({GLT_PLINE, GLT_SPLINE}), 0},
    {"CGeoSPLine", GLTSet({GLT_PLINE, GLT_POLYGONLINE}), 0},
    {"CGeoPolygonLine", GLTSet({GLT_PLINE, GLT_RAPOLYGON}), 0},
    {"CGeoRAPolygon", GLTSet({GLT_PLINE, GLT_POLYGONLINE}), 0},
    {"CGeoCircle",
     GLTSet({GLT_PLINE, GLT_TRIPOINTCIRCLE, GLT_RECTCIRCLE, GLT_TRIPOINTARC, GLT_ELLIPSE, GLT_POLYGONLINE, GLT_NPOLYGON}),
     0},
    {"CGeoNPolygon", GLTSet({GLT_PLINE, GLT_CIRCLE, GLT_POLYGONLINE}), 0},
    {"CGeoRect", GLTSet({GLT_PLINE, GLT_ELLIPSE, GLT_ROUNDRECT, GLT_POLYGONLINE, GLT_RAPOLYGON}), 0},
    {"CGeoEllipse", GLTSet({GLT_PLINE, GLT_CIRCLE, GLT_TRIPOINTCIRCLE, GLT_RECT, GLT_ROUNDRECT, GLT_POLYGONLINE}), 0},
    {"CGeoRectCircle", GLTSet({GLT_PLINE, GLT_CIRCLE, GLT_ELLIPSE, GLT_RECT, GLT_POLYGONLINE}), 0},
    {"CGeoRoundRect", GLTSet({GLT_PLINE, GLT_ELLIPSE, GLT_RECT, GLT_POLYGONLINE}), 0},
    {"CGeoTriPointArc", GLTSet({GLT_PLINE, GLT_CIRCLE, GLT_TRIPOINTCIRCLE}), 0},
    {"CGeoTriPointCircle",
     GLTSet({GLT_PLINE, GLT_CIRCLE, GLT_RECTCIRCLE, GLT_TRIPOINTARC, GLT_ELLIPSE, GLT_POLYGONLINE}), 0},
};

}  // namespace

const GeoLineConversionRow* FindLineConversionRow(const CRuntimeClass* pClass) {
    for (; pClass != nullptr; pClass = pClass->m_pBaseClass) {
        for (const GeoLineConversionRow& row : kConversionTable)
            if (std::strcmp(row.lpszClassName, pClass->m_lpszClassName) == 0) return &row;
    }
    return nullptr;
}

BOOL IsLineConversionAccepted(const CRuntimeClass* pClass, WORD code, int nPoints) {
    const GeoLineConversionRow* row = FindLineConversionRow(pClass);
    if (row == nullptr) return FALSE;
    BYTE type = GetGLTType(code);
    if (type >= 32) return FALSE;
    DWORD bit = DWORD(1) << type;
    if (!(row->dwTargets & bit)) return FALSE;
    if ((row->dwRingTargets & bit) && nPoints < 3) return FALSE;
    return TRUE;
}
