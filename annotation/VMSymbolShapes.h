// CVMSymbolShapes: the shapes and annotations that symbolised output creates (polylines, polygon lines,
// circles and ellipses, three-point arcs, annotations). This floor sees every one of them, so the maker
// lives here and registers itself with the output sink (CVMSymbolOutputer::SetShapeMaker) when the
// library is loaded.
#pragma once

#include "core/VMSymbolOutputer.h"

class CVMSymbolShapes : public CVMSymbolShapeMaker {
public:
    // See CVMSymbolShapeMaker; every result is new and owned by the caller.
    CGeoVectorObject* PolyLine(const POINT* pPoints, LONG n) override;
    CGeoVectorObject* PolygonLine(const POINT* pPoints, LONG n, int bFace) override;
    CGeoVectorObject* Anno(const CString& text, const CRect& box, LONG h) override;
    CGeoVectorObject* Ellipse(const CRect& box, int bFace) override;
    CGeoVectorObject* Arc(POINT start, POINT middle, POINT end) override;
    CGeoVectorObject* ArcPolygon(POINT start, POINT middle, POINT end, const POINT* pCentre, int bFace) override;

    // The maker registered at load time.
    static CVMSymbolShapes& Instance();
};
