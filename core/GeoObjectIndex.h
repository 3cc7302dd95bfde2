// CGeoObjectIndex: what a vector layer looks its objects up by instead of walking its whole list: their
// user IDs, their bounds and the border arcs of its polygons.
//
// It holds objects without owning them. The layer puts in every object it lists and takes out every
// object it unlists, and passes on every change of an indexed object's user ID or bounds; the two
// parts are built on demand (BuildUserIDs, BuildBounds, BuildBorderArcs) and kept current from then on. Answers come in
// list order: each object is sorted by its list order key (CGeoAccessorialObject::GetListOrder), which
// the layer makes grow along its list.
//
// Bounds are kept per object unit, as GetBounds gives them (normalised), so that a rectangle converted
// into each unit is compared with the bounds exactly as the objects would compare it. Adding, removing
// and a bounds change only note the object; the next search brings the bounds part up to date, so a run
// of edits costs the tree one batch.
#pragma once

#include <afx/afx.h>

#include <functional>
#include <memory>
#include <vector>

class CGeoVectorObject;

class CGeoObjectIndex {
public:
    CGeoObjectIndex();
    ~CGeoObjectIndex();
    CGeoObjectIndex(const CGeoObjectIndex&) = delete;
    CGeoObjectIndex& operator=(const CGeoObjectIndex&) = delete;

    // Forgets every object; both parts are unbuilt.
    void Clear();

    // ---- keeping current ----
    // Puts in / takes out an object (into / from the parts that are built). Remove of an object not
    // held does nothing.
    void Add(CGeoVectorObject* pObject);
    void Remove(CGeoVectorObject* pObject);
    // The held object's user ID was nOldUserID and is now its GetUserID.
    void UserIDChanged(CGeoVectorObject* pObject, UINT nOldUserID);
    // The held object's bounds (or unit, or border) changed.
    void BoundsChanged(CGeoVectorObject* pObject);

    // ---- user IDs ----
    bool HasUserIDs() const;
    // Builds the user-ID part from the objects of the list (CGeoVectorObject*).
    void BuildUserIDs(const CObList& objects);
    // Whether an object other than pObject has that user ID.
    bool IsUserIDShared(UINT nUserID, const CGeoVectorObject* pObject) const;
    // Every object with that user ID, in list order.
    void FindUserID(UINT nUserID, std::vector<CGeoVectorObject*>& found) const;

    // ---- bounds ----
    bool HasBounds() const;
    // Builds the bounds part from the objects of the list (CGeoVectorObject*).
    void BuildBounds(const CObList& objects);
    // Every object whose bounds meet the rectangle rectInUnit (unit) gives for the object's unit
    // (closed: touching counts; the rectangle is normalised first), in list order.
    void FindBounds(const std::function<CRect(int)>& rectInUnit, std::vector<CGeoVectorObject*>& found);

    // ---- border arcs ----
    bool HasBorderArcs() const;
    // Builds the border-arc part from the objects of the list (GetBorderArcs of each).
    void BuildBorderArcs(const CObList& objects);
    // Every object whose border arcs (GetBorderArcs) include pArc, each once, in list order.
    void FindBorderHolders(const CGeoVectorObject* pArc, std::vector<CGeoVectorObject*>& found) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
};
