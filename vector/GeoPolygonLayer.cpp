// What a vector layer asks of a topological polygon: resolving its arcs after loading, handing back its
// label point when it leaves the layer, where its record lives, and the neighbourhood queries.
#include "vector/GeoPolygon.h"

#include "core/GeoVectorLayer.h"
#include "vector/GeoLabelPoint.h"
#include "vector/GeoPLine.h"

#include <cstring>

int CGeoPolygon::OnLayerLoaded() {
    BuildBorderLine();
    if (!GetUseData()) return 0;
    int nRings = 0;
    GetPolyData(nullptr, nullptr, nRings);
    return 1;
}

void CGeoPolygon::OnDeleteFromLayer(CGeoVectorLayer* pLayer) {
    if (std::strcmp(GetRuntimeClass()->m_lpszClassName, "CGeoPolygon") != 0) return;
    if (GetLabelPointID() == 0) return;
    if (CGeoLabelPoint* pLabel = GetLabelPoint()) {
        pLabel->SetPolygonID(0);
        if (pLayer) {
            CGeoPoint* pPoint = new CGeoPoint(pLabel->GetPoint());
            pLayer->Replace(pPoint, pLabel);
            if (pPoint->GetPosInLayer())
                delete pLabel;
            else
                delete pPoint;  // the label point was not listed here: it stays as it is
        }
    }
    SetLabelPoint(static_cast<CGeoLabelPoint*>(nullptr));
}

CGeoVectorObject* CGeoPolygon::GetAttributeCarrier() { return GetLabelPoint(); }

int CGeoPolygon::IsFoundLast() const { return 1; }

int CGeoPolygon::UsesBorderArc(const CGeoVectorObject* pArc) const {
    if (!pArc || !pArc->IsKindOf(RUNTIME_CLASS(CGeoPLine))) return 0;
    return IsPartOf(static_cast<const CGeoPLine*>(pArc));
}

void CGeoPolygon::GetBorderArcs(std::vector<const CGeoVectorObject*>& arcs) const {
    for (int i = 0; i < m_nBorder; ++i)
        if (m_pEntries[i].arc) arcs.push_back(m_pEntries[i].arc);
}

namespace {

// Whether the bounds meet the square of 10 units about p (touching counts).
bool NearPoint(const CRect& b, POINT p) {
    return b.left <= p.x + 10 && p.x - 10 <= b.right && b.top <= p.y + 10 && p.y - 10 <= b.bottom;
}

}  // namespace

int CGeoPolygon::HasHandleNear(POINT p) const {
    return NearPoint(GetBounds(), p) && IsHandle(p) != -1 ? 1 : 0;
}

int CGeoPolygon::HasBorderPointAt(POINT p, CGeoVectorLayer* pLayer) const {
    if (!pLayer || !NearPoint(GetBounds(), p)) return 0;
    for (int i = 0; i < m_nKeys; ++i) {
        const LONG key = m_pEntries[i].key;
        if (key == POLYGON_RING_END) continue;
        const UINT id = key < 0 ? 0u - static_cast<UINT>(key) : static_cast<UINT>(key);
        CGeoAccessorialObject* pArc = pLayer->FindObj(id);
        if (!pArc || !pArc->IsKindOf(RUNTIME_CLASS(CGeoPLine))) continue;
        if (GetHandlePosOnLine(static_cast<CGeoPLine*>(pArc), p) != 0) return 1;
    }
    return 0;
}
