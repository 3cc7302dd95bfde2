// CGeoAccessorialObject: an object that can belong to a layer. Every vector feature and every raster
// object derives from it.
//
// It adds to the root object the link to its layer, the two identifiers a layer keys it by (the ID the
// layer assigns, the key of the layer's object index; the user ID, the key of its attribute record), a
// mark that selects one of the five process-wide highlight styles, a flag byte, whether the layer deletes
// it when the layer dies, and its node in the layer's object list. The layer does all linking (Add,
// Delete, Fetch, Deviate); the object only keeps what the layer sets and forwards attach and detach
// requests to it.
//
// Record (Serialize), after the CGeoObject part:
//   user ID                DWORD
//   ID                     DWORD
//   auto-remove-by-layer   32-bit int
//   mark                   32-bit int    stored from library version 1.12, loaded when the record's is >= 1.12
//   flag                   BYTE          stored from library version 1.15, loaded when the record's is >= 1.15
// An absent field keeps its initial value (mark 0, flag 0). The layer link and list position are never
// stored: the layer that loads its objects sets them.
#pragma once

#include "core/GeoObject.h"
#include "core/GeoSettings.h"

class CGeoLayer;
class CGeoCoordinateTransformer;

class CGeoAccessorialObject : public CGeoObject {
    DECLARE_SERIAL(CGeoAccessorialObject)

public:
    // No layer, user ID and ID 0, no mark, flag 0, removed by its layer, no list position.
    CGeoAccessorialObject();
    ~CGeoAccessorialObject() override;

    void Serialize(CArchive& ar) override;

    // ---- virtual operations added here ----

    // Called by SetUserID before the new user ID is stored; the base does nothing.
    virtual void OnChangeUserID(UINT nOldUserID, UINT nNewUserID);
    // Maps the object's coordinates through the transformer; x0 and y0 are metres added to the
    // coordinates (converted from the object's unit to metres) before the mapping. The base has no
    // coordinates of its own and does nothing.
    virtual void Transform(CGeoCoordinateTransformer& transformer, double x0, double y0);

    // ---- overrides ----

    // CanBeEdited: a free object can always move; one in a layer only while the layer is editable.
    int CanMove() const override;
    // The virtual CanMove, whatever the handle.
    int CanMoveHandle(int nHandle) const override;

    // ---- identifiers, mark, flags ----

    // Calls OnChangeUserID (old, new) even when they are equal, then stores the new user ID; the layer
    // listing the object then hears of a change (CGeoLayer::OnObjectUserIDChanged).
    void SetUserID(UINT nUserID);
    UINT GetUserID() const { return m_nUserID; }
    // The layer-assigned ID (a layer sets it).
    void SetID(UINT nID) { m_nID = nID; }
    UINT GetID() const { return m_nID; }

    // The owning layer, or NULL.
    CGeoLayer* GetLayer() const { return m_pLayer; }

    // 0 no mark; 1 to 5 select a mark style (GetMarkGeoView).
    GEOMARK GetMark() const { return m_nMark; }
    void SetMark(GEOMARK mark) { m_nMark = mark; }

    // Bit 0: the object carries old-style symbol-attribute values; the other bits are reserved.
    BYTE GetFlag() const { return m_byFlag; }
    void SetFlag(BYTE byFlag) { m_byFlag = byFlag; }

    // The object's node in its layer's object list, kept by that layer.
    POSITION GetPosInLayer() const { return m_posInLayer; }
    void SetPosInLayer(POSITION pos) { m_posInLayer = pos; }
    // The order key the listing layer gives the object: it grows along the layer's list, so sorting by
    // it gives list order. Kept by that layer; 0 for an object never listed.
    ULONGLONG GetListOrder() const { return m_nListOrder; }
    void SetListOrder(ULONGLONG nOrder) { m_nListOrder = nOrder; }
    // Where the listing layer's bounds look-up keeps the object, so that it finds it without a search;
    // kept by that look-up, which checks it before trusting it. 0xFFFFFFFF when not kept.
    UINT GetIndexSlot() const { return m_nIndexSlot; }
    void SetIndexSlot(UINT nSlot) { m_nIndexSlot = nSlot; }

    // Whether the layer deletes the object when the layer is destroyed (else it only detaches it).
    int CanAutoRemoveByLayer() const { return m_bAutoRemoveByLayer; }
    void SetAutoRemoveByLayer(int bAutoRemove) { m_bAutoRemoveByLayer = bAutoRemove; }

    // 1 when the object has no layer, else the layer's CanBeEdited.
    int CanBeEdited() const;

    // The result of the layer's virtual Add with this object: the layer sets the link, the IDs and the
    // list position, or refuses (0, the object unchanged). 0 for a NULL layer.
    int AttachLayer(CGeoLayer* pLayer);
    // 0 when the object has no layer; else the result of the layer's virtual Delete (this, 1), which
    // also removes the object's attribute record. The argument is not read.
    int DetachLayer(int nFlag);

protected:
    explicit CGeoAccessorialObject(NameLater tag) : CGeoObject(tag) {}

    friend class CGeoLayer;  // Fetch and Deviate set the layer link

    // A listed object passes a change of its bounds on to its layer (CGeoLayer::OnObjectBoundsChanged).
    void OnBoundsChanged() override;

    CGeoLayer* m_pLayer = nullptr;
    UINT m_nUserID = 0;
    UINT m_nID = 0;
    GEOMARK m_nMark = static_cast<GEOMARK>(0);
    BYTE m_byFlag = 0;
    int m_bAutoRemoveByLayer = 1;
    UINT m_nIndexSlot = 0xFFFFFFFFu;  // fills the padding before the next pointer
    POSITION m_posInLayer = nullptr;
    ULONGLONG m_nListOrder = 0;
};
