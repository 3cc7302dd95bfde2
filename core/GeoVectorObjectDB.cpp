// The vector object's operations that need its vector layer: its feature class from the layer's theme,
// the effective display attribute and the class's style, and copying and comparing attribute records.
#include "core/GeoVectorObject.h"

#include "core/GeoVectorLayer.h"

#include <tamsel/GeoAttributeDatabase.h>

namespace {

CGeoVectorLayer* VectorLayerOf(const CGeoAccessorialObject& object) {
    CGeoLayer* pLayer = object.GetLayer();
    return pLayer && pLayer->IsKindOf(RUNTIME_CLASS(CGeoVectorLayer)) ? static_cast<CGeoVectorLayer*>(pLayer)
                                                                        : nullptr;
}

// A vector layer draws its objects with symbols when its layer type has bit 4.
bool IsSymbolised(CGeoLayer* pLayer) {
    return pLayer && pLayer->IsKindOf(RUNTIME_CLASS(CGeoVectorLayer)) &&
           (static_cast<CGeoVectorLayer*>(pLayer)->GetLayerType() & 0x4);
}

}  // namespace

DISPLAYATTR CGeoVectorObject::GetDisplayAttribute() const {
    return m_nClassID != 0 && !IsSymbolised(m_pLayer) ? DISPLAYATTR_GCLASS : DISPLAYATTR_SELF;
}

GEOVIEW CGeoVectorObject::GetGClassGeoView() const {
    if (IsSymbolised(m_pLayer)) return m_GeoView;
    CGeoGClass gc;
    return GetGClass(gc) ? gc.GetGeoView() : m_GeoView;
}

int CGeoVectorObject::GetGClass(CGeoGClass& gc) const {
    if (m_nClassID == 0) return 0;
    CGeoVectorLayer* pLayer = VectorLayerOf(*this);
    return pLayer ? pLayer->GetGClass(m_nClassID, gc) : 0;
}

int CGeoVectorObject::CopyAttribute(const CGeoVectorObject& src, int bWithRecord) {
    CGeoVectorLayer* pLayer = VectorLayerOf(src);
    if (!pLayer) return 0;
    const UINT oldClass = m_nClassID;
    const GEOVIEW oldView = m_GeoView;
    const DISPLAYATTR oldDisplay = m_nDisplayAttr;
    CGeoLayer* pFormer = m_pLayer;
    const UINT oldUserID = GetUserID();
    const bool moving = pFormer != pLayer;

    // Back into the former layer under the former user ID, which keys the record left there.
    auto returnToFormer = [&] {
        if (pFormer && pFormer->Add(this)) SetUserID(oldUserID);
    };

    // The object leaves its layer with its record kept there until the copy has succeeded.
    if (moving) {
        if (pFormer && !pFormer->Delete(this, 0)) return 0;
        if (!pLayer->Add(this)) {
            returnToFormer();
            return 0;
        }
    }
    m_nClassID = src.m_nClassID;
    m_GeoView = src.m_GeoView;
    m_nDisplayAttr = src.m_nDisplayAttr;
    SetFlag(src.GetFlag());
    if (src.GetFlag() & 0x1) CopySymbolAttribute(src);

    bool ok = true;
    CGeoAttributeDatabase* pDB = pLayer->GetAttributeDatabase();
    if (bWithRecord && pDB && pDB->IsExistID(src.GetUserID(), 0)) {
        CGeoValueList values;
        ok = pLayer->GetAttribute(src.GetUserID(), &values, m_nClassID) != 0;
        // A record this object already has in the class's table takes the values in place.
        if (ok)
            ok = pDB->IsExistID(GetUserID(), m_nClassID) ? pDB->SetIDValue(GetUserID(), &values, m_nClassID, "")
                                                         : pDB->NewID(GetUserID(), &values, m_nClassID);
    }
    if (!ok) {
        m_nClassID = oldClass;
        m_GeoView = oldView;
        m_nDisplayAttr = oldDisplay;
        if (moving) {
            pLayer->Delete(this, 0);
            returnToFormer();
        }
        return 0;
    }
    // Moved for good: the record in the former layer goes now, unless another object there shares it.
    if (moving && pFormer && pFormer->IsKindOf(RUNTIME_CLASS(CGeoVectorLayer))) {
        CGeoVectorLayer* pOld = static_cast<CGeoVectorLayer*>(pFormer);
        if (!pOld->IsExistUserID(oldUserID, 0)) pOld->RemoveAttribute(oldUserID, oldClass);
    }
    return 1;
}

int CGeoVectorObject::HasSameDBAttribute(const CGeoVectorObject& other) const {
    CGeoVectorLayer* pLayer = VectorLayerOf(*this);
    if (!pLayer || other.GetLayer() != pLayer) return 0;
    const UINT nClass = GetObjectClassID();
    if (nClass != other.GetObjectClassID()) return 0;
    CGeoAttributeDatabase* pDB = pLayer->GetAttributeDatabase();
    if (GetUserID() == other.GetUserID() || nClass == 0 || !pDB) return 1;
    const BOOL mine = pDB->IsExistID(GetUserID(), nClass), theirs = pDB->IsExistID(other.GetUserID(), nClass);
    if (!mine && !theirs) return 1;
    if (!mine || !theirs) return 0;
    CGeoValueList a, b;
    if (!pDB->GetIDValue(GetUserID(), &a, nClass, "") || !pDB->GetIDValue(other.GetUserID(), &b, nClass, ""))
        return 0;
    if (a.GetCount() != b.GetCount()) return 0;
    for (POSITION p = a.GetHeadPosition(), q = b.GetHeadPosition(); p && q;)
        if (a.GetNext(p) != b.GetNext(q)) return 0;
    return 1;
}
