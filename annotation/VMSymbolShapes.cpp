#include "annotation/VMSymbolShapes.h"

#include "annotation/GeoAnno.h"
#include "vector/GeoEllipse.h"
#include "vector/GeoLineType.h"
#include "vector/GeoPLine.h"
#include "vector/GeoPolygonLine.h"
#include "vector/GeoTriPointArc.h"

#include <cstdint>
#include <memory>

CGeoVectorObject* CVMSymbolShapes::PolyLine(const POINT* pPoints, LONG n) {
    return new CGeoPLine(n, pPoints, FALSE);
}

CGeoVectorObject* CVMSymbolShapes::PolygonLine(const POINT* pPoints, LONG n, int bFace) {
    CGeoPolygonLine* pPolygon = new CGeoPolygonLine(n, pPoints, FALSE);
    pPolygon->SetFace(bFace ? 1 : 0);
    return pPolygon;
}

CGeoVectorObject* CVMSymbolShapes::Anno(const CString& text, const CRect& box, LONG h) {
    return new CGeoAnno(text, box, h, h, 4, 0, 0.0f);
}

CGeoVectorObject* CVMSymbolShapes::Ellipse(const CRect& box, int bFace) {
    CGeoEllipse* pShape;
    if (static_cast<int64_t>(box.right) - box.left == static_cast<int64_t>(box.bottom) - box.top)
        pShape = new CGeoRectCircle(box);
    else
        pShape = new CGeoEllipse(box);
    pShape->SetFace(bFace ? 1 : 0);
    return pShape;
}

CGeoVectorObject* CVMSymbolShapes::Arc(POINT start, POINT middle, POINT end) {
    return new CGeoTriPointArc(start, middle, end);
}

CGeoVectorObject* CVMSymbolShapes::ArcPolygon(POINT start, POINT middle, POINT end, const POINT* pCentre,
                                              int bFace) {
    const CGeoTriPointArc arc(start, middle, end);
    std::unique_ptr<CGeoLine> pLine(arc.ConvertTo(GLT_PLINE, 0));
    if (!pLine) return nullptr;
    if (pCentre && !pLine->AddPoint(*pCentre)) return nullptr;
    CGeoLine* pPolygon = pLine->ConvertTo(GLT_POLYGONLINE, 0);
    if (!pPolygon) return nullptr;
    // A ring of fewer than 3 points (an arc collapsed onto one spot) encloses nothing.
    if (!pPolygon->IsKindOf(RUNTIME_CLASS(CGeoPolygonLine)) || pPolygon->GetPoints() < 3) {
        delete pPolygon;
        return nullptr;
    }
    static_cast<CGeoPolygonLine*>(pPolygon)->SetFace(bFace ? 1 : 0);
    return pPolygon;
}

CVMSymbolShapes& CVMSymbolShapes::Instance() {
    static CVMSymbolShapes maker;
    return maker;
}

namespace {

// Registered when the library is loaded, before any host code can ask for symbolised output.
__attribute__((constructor)) void RegisterSymbolShapes() {
    CVMSymbolOutputer::SetShapeMaker(&CVMSymbolShapes::Instance());
}

}  // namespace
