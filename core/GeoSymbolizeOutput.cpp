// Symbolised output of vector objects and vector layers: the entry points that set up a
// CVMSymbolOutputer run and hand each object's symbolised shape to it.
#include "core/DisplayState.h"
#include "core/GeoVectorLayer.h"
#include "core/GeoVectorObject.h"
#include "core/GeoView.h"
#include "core/VMSymbolLibIO.h"
#include "core/VMSymbolOutputer.h"

#include <ostrel/Units.h>

#include <memory>
#include <vector>

namespace {

// A layer's absolute origin in millimetres: the top-left of its bounds plus its origin (metres).
void AbsoluteOrigin(const CGeoLayer& layer, double& x, double& y) {
    const CRect mm = layer.GetBoundsInMillimeter();
    double ox = 0.0, oy = 0.0;
    layer.GetLayerOrigin(ox, oy);
    x = mm.left + ox * 1000.0;
    y = mm.top + oy * 1000.0;
}

// The millimetre offset from the source layer's frame to the target layer's, truncated.
CPoint LayerOffset(const CGeoLayer& source, const CGeoLayer& target) {
    double sx, sy, tx, ty;
    AbsoluteOrigin(source, sx, sy);
    AbsoluteOrigin(target, tx, ty);
    return CPoint(static_cast<int>(tx - sx), static_cast<int>(ty - sy));
}

}  // namespace

int CGeoVectorObject::SymbolizeOutput(CSymbolLibIO* pLib, CVMSymbolOutputer* pOutputer, UINT scale) {
    if (!pOutputer) return 0;
    tagDisplayState ds{};
    ds.m_nDisplayAttr = 1;
    ds.m_bKeepSymbolColor = 1;
    ds.m_pSymbolLibIO = pLib;
    ds.m_bScaleWidth = 1;
    GEOVIEW view(m_GeoView);
    GetGeoView(view, ds);

    CCoordsConverter converter(static_cast<int>(scale), static_cast<int>(scale), 0);
    pOutputer->SetUnit(GetUnit());
    pOutputer->SetClassCode(GetObjectClassID());
    pOutputer->SetZ(GetZ());
    return OnSymbolizeOutput(pLib, pOutputer, &converter, &view);
}

int CGeoVectorObject::SymbolizeOutput(CSymbolLibIO* pLib, UINT scale, CGeoVectorLayer* pTarget) {
    CGeoLayer* pOwn = GetLayer();
    if (!pOwn || !pOwn->IsKindOf(RUNTIME_CLASS(CGeoVectorLayer))) return 0;
    CGeoVectorLayer* pOwnLayer = static_cast<CGeoVectorLayer*>(pOwn);
    CGeoVectorLayer* pDest = pTarget ? pTarget : pOwnLayer;

    std::unique_ptr<CVMSymbolOutputer> pOutputer(new CVMSymbolOutputer);
    pOutputer->SetTargetLayer(pDest);
    if (pDest != pOwnLayer) pOutputer->SetOffset(LayerOffset(*pOwnLayer, *pDest));

    // Into a GIS-only layer the shapes carry the class's look but no class; the object itself must come
    // out of the export as it went in.
    const UINT nClassID = m_nClassID;
    const GEOVIEW ownView(m_GeoView);
    const DISPLAYATTR nDisplayAttr = m_nDisplayAttr;
    const bool bGisOnly = pDest->GetLayerType() == 1;
    if (bGisOnly) {
        SetGeoView(GetGClassGeoView());
        SetObjectClassID(0);
    }
    const int result = SymbolizeOutput(pLib, pOutputer.get(), scale);
    if (bGisOnly) {
        SetGeoView(ownView);
        m_nClassID = nClassID;
        m_nDisplayAttr = nDisplayAttr;
    }
    return result;
}

int CGeoVectorLayer::SymbolizeOutput(CGeoVectorLayer* pTarget, CSymbolLibIO* pLib, UINT scale,
                                     CUIntArray* pClasses) {
    if (!pTarget || !pLib || scale == 0) return 0;
    CVMSymbolOutputer outputer;
    outputer.SetTargetLayer(pTarget);
    const CPoint offset = LayerOffset(*this, *pTarget);
    outputer.SetOffset(offset);

    // The walk covers the objects listed now: what it creates may land in this very list.
    std::vector<CGeoVectorObject*> objects;
    objects.reserve(static_cast<size_t>(m_ObjList.GetCount()));
    for (POSITION pos = m_ObjList.GetHeadPosition(); pos;)
        objects.push_back(static_cast<CGeoVectorObject*>(m_ObjList.GetNext(pos)));

    const bool bFilter = pClasses && pClasses->GetSize() > 0;
    for (CGeoVectorObject* pObject : objects) {
        if (bFilter) {
            const UINT nClass = pObject->GetObjectClassID();
            bool bFound = false;
            for (int i = 0; i < pClasses->GetSize() && !bFound; ++i) bFound = pClasses->GetAt(i) == nClass;
            if (!bFound) continue;
        }
        if (pObject->SymbolizeOutput(pLib, &outputer, scale) != 0) continue;

        CGeoObject* pDup = pObject->Duplicate(0, 1);
        if (!pDup) continue;
        if (!pDup->IsKindOf(RUNTIME_CLASS(CGeoVectorObject))) {
            delete pDup;
            continue;
        }
        CGeoVectorObject* pCopy = static_cast<CGeoVectorObject*>(pDup);
        pCopy->SetGeoView(pObject->GetSelfGeoView());
        pCopy->SetObjectClassID(pObject->GetObjectClassID());
        pCopy->SetDisplayAttribute(DISPLAYATTR_SELF);
        // The offset is in millimetres; the copy moves in its own unit.
        POINT d = offset;
        ::ChangeUnit(3, pCopy->GetUnit(), d, 1.0);
        pCopy->Move(CSize(-d.x, -d.y));
        if (!pCopy->AttachLayer(pTarget)) delete pCopy;
    }
    return 1;
}
