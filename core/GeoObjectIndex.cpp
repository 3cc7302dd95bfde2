#include "core/GeoObjectIndex.h"

#include "core/GeoVectorObject.h"
#include "core/OpenTable.h"

#include <boost/geometry.hpp>
#include <boost/geometry/geometries/box.hpp>
#include <boost/geometry/geometries/point.hpp>
#include <boost/geometry/index/rtree.hpp>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <map>
#include <utility>

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;

using opentable::KeyOf;
using opentable::OpenTable;

namespace {

// The tree holds each object's bounds as an exact integer box with the object itself, so a search needs
// nothing but the tree to answer. The coordinates are 64-bit although the bounds are 32-bit: the tree
// adds corners (box centres when it packs) and subtracts them (sizes when it splits), which overflows
// 32 bits for bounds far apart or reaching across the range.
typedef bg::model::point<int64_t, 2, bg::cs::cartesian> Point;
typedef bg::model::box<Point> Box;
typedef std::pair<Box, CGeoVectorObject*> Entry;
typedef bgi::rtree<Entry, bgi::quadratic<16>> Tree;

// A rectangle with left <= right and top <= bottom.
struct Bounds {
    LONG left = 0, top = 0, right = 0, bottom = 0;
    static Bounds Of(const CRect& r) {
        return Bounds{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
                      std::max(r.top, r.bottom)};
    }
    Box AsBox() const { return Box(Point(left, top), Point(right, bottom)); }
};

bool ByListOrder(const CGeoVectorObject* a, const CGeoVectorObject* b) {
    return a->GetListOrder() < b->GetListOrder();
}

// One held object: its bounds and unit as last read, whether they changed since, and whether its tree
// holds it with those bounds. A free slot has no object.
struct Slot {
    CGeoVectorObject* object = nullptr;
    Bounds bounds;
    int unit = 0;
    bool dirty = false;
    bool planted = false;
};

const uint32_t kNoSlot = 0xFFFFFFFFu;

// A place in items for a new entry: one let go before (listed in freed), else a new one at the end.
template <class T>
uint32_t TakePlace(std::vector<T>& items, std::vector<uint32_t>& freed) {
    if (!freed.empty()) {
        const uint32_t n = freed.back();
        freed.pop_back();
        return n;
    }
    items.emplace_back();
    return static_cast<uint32_t>(items.size() - 1);
}

// One object of a set.
struct MemberCell {
    CGeoVectorObject* object = nullptr;
    bool Empty() const { return object == nullptr; }
    uint64_t Key() const { return KeyOf(object); }
};
typedef OpenTable<MemberCell> ObjectSet;

// User ID -> the objects that carry it. Most IDs have one object, kept in the cell; the others of a
// shared ID go to a set of their own, so taking one out or changing its ID never walks the rest.
struct UserIDCell {
    UINT id = 0;
    uint32_t others = kNoSlot;  // index of the set of the others, or none
    CGeoVectorObject* first = nullptr;
    bool Empty() const { return first == nullptr; }
    uint64_t Key() const { return id; }
};

// Arc -> the objects whose borders hold it, in list order: the first two in the cell (most arcs border one
// or two shapes), any others in a vector of their own.
struct ArcCell {
    const CGeoVectorObject* arc = nullptr;
    CGeoVectorObject* holder[2] = {nullptr, nullptr};
    uint32_t more = kNoSlot;
    bool Empty() const { return arc == nullptr; }
    uint64_t Key() const { return KeyOf(arc); }
};

// A holder -> its run of arcs in the pool.
struct HeldArcsCell {
    const CGeoVectorObject* object = nullptr;
    uint32_t at = 0, count = 0;
    bool Empty() const { return object == nullptr; }
    uint64_t Key() const { return KeyOf(object); }
};

}  // namespace

struct CGeoObjectIndex::Impl {
    bool bUserIDs = false;
    OpenTable<UserIDCell> userIDs;
    std::vector<ObjectSet> others;  // by UserIDCell::others
    std::vector<uint32_t> freeOthers;

    void EnterUserID(UINT nUserID, CGeoVectorObject* pObject) {
        UserIDCell* cell = userIDs.Find(nUserID);
        if (!cell) {
            cell = &userIDs.Insert(nUserID);
            cell->id = nUserID;
            cell->first = pObject;
            return;
        }
        if (cell->first == pObject) return;
        if (cell->others == kNoSlot) cell->others = TakePlace(others, freeOthers);
        ObjectSet& rest = others[cell->others];
        if (!rest.Find(KeyOf(pObject))) rest.Insert(KeyOf(pObject)).object = pObject;
    }
    // Whether the object was there under that ID.
    bool LeaveUserID(UINT nUserID, CGeoVectorObject* pObject) {
        UserIDCell* cell = userIDs.Find(nUserID);
        if (!cell) return false;
        ObjectSet* rest = cell->others == kNoSlot ? nullptr : &others[cell->others];
        if (cell->first == pObject) {
            if (!rest) {
                userIDs.Erase(cell);
                return true;
            }
            MemberCell* next = rest->Any();
            cell->first = next->object;
            rest->Erase(next);
        } else {
            MemberCell* member = rest ? rest->Find(KeyOf(pObject)) : nullptr;
            if (!member) return false;
            rest->Erase(member);
        }
        if (rest->Size() == 0) {
            rest->Clear();
            freeOthers.push_back(cell->others);
            cell->others = kNoSlot;
        }
        return true;
    }
    // The object's slot, or kNoSlot when it is not held: the number the object carries is trusted only
    // where that slot holds it.
    uint32_t SlotOf(const CGeoVectorObject* pObject) const {
        const uint32_t n = pObject->GetIndexSlot();
        return n < slots.size() && slots[n].object == pObject ? n : kNoSlot;
    }

    bool bArcs = false;
    // Arc -> the objects whose borders hold it, in list order.
    OpenTable<ArcCell> holders;
    std::vector<std::vector<CGeoVectorObject*>> moreHolders;  // by ArcCell::more
    std::vector<uint32_t> freeMore;
    // Holder -> the arcs it held when entered, a run of arcPool; runs left behind are reclaimed when
    // they make up half the pool.
    OpenTable<HeldArcsCell> heldArcs;
    std::vector<const CGeoVectorObject*> arcPool;
    size_t arcPoolLeft = 0;
    std::vector<CGeoVectorObject*> scratch;

    void Gather(const ArcCell& cell, std::vector<CGeoVectorObject*>& v) const {
        for (CGeoVectorObject* pHolder : cell.holder)
            if (pHolder) v.push_back(pHolder);
        if (cell.more != kNoSlot) v.insert(v.end(), moreHolders[cell.more].begin(), moreHolders[cell.more].end());
    }
    // Puts the holders back into the arc's cell, or drops the cell when none is left.
    void Scatter(ArcCell* cell, const std::vector<CGeoVectorObject*>& v) {
        if (v.empty()) {
            if (cell->more != kNoSlot) ReleaseMore(cell->more);
            holders.Erase(cell);
            return;
        }
        cell->holder[0] = v[0];
        cell->holder[1] = v.size() > 1 ? v[1] : nullptr;
        if (v.size() <= 2) {
            if (cell->more != kNoSlot) ReleaseMore(cell->more);
            cell->more = kNoSlot;
            return;
        }
        if (cell->more == kNoSlot) cell->more = TakePlace(moreHolders, freeMore);
        moreHolders[cell->more].assign(v.begin() + 2, v.end());
    }
    void ReleaseMore(uint32_t n) {
        std::vector<CGeoVectorObject*>().swap(moreHolders[n]);
        freeMore.push_back(n);
    }

    void EnterArcs(CGeoVectorObject* pObject) {
        LeaveArcs(pObject);  // a list may hold an object twice
        const size_t at = arcPool.size();
        pObject->GetBorderArcs(arcPool);
        if (arcPool.size() == at) return;
        std::sort(arcPool.begin() + at, arcPool.end());
        arcPool.erase(std::unique(arcPool.begin() + at, arcPool.end()), arcPool.end());
        for (size_t i = at; i < arcPool.size(); ++i) {
            const CGeoVectorObject* pArc = arcPool[i];
            ArcCell* cell = holders.Find(KeyOf(pArc));
            if (!cell) {
                cell = &holders.Insert(KeyOf(pArc));
                cell->arc = pArc;
            }
            scratch.clear();
            Gather(*cell, scratch);
            scratch.insert(std::upper_bound(scratch.begin(), scratch.end(), pObject, ByListOrder), pObject);
            Scatter(cell, scratch);
        }
        HeldArcsCell& held = heldArcs.Insert(KeyOf(pObject));
        held.object = pObject;
        held.at = static_cast<uint32_t>(at);
        held.count = static_cast<uint32_t>(arcPool.size() - at);
    }
    void LeaveArcs(CGeoVectorObject* pObject) {
        HeldArcsCell* held = heldArcs.Find(KeyOf(pObject));
        if (!held) return;
        for (uint32_t i = held->at; i < held->at + held->count; ++i) {
            ArcCell* cell = holders.Find(KeyOf(arcPool[i]));
            if (!cell) continue;
            scratch.clear();
            Gather(*cell, scratch);
            scratch.erase(std::remove(scratch.begin(), scratch.end(), pObject), scratch.end());
            Scatter(cell, scratch);
        }
        arcPoolLeft += held->count;
        heldArcs.Erase(held);
        if (arcPoolLeft > 1024 && arcPoolLeft * 2 > arcPool.size()) CompactArcPool();
    }
    void CompactArcPool() {
        std::vector<const CGeoVectorObject*> pool;
        pool.reserve(arcPool.size() - arcPoolLeft);
        heldArcs.ForEach([&](HeldArcsCell& held) {
            const uint32_t at = static_cast<uint32_t>(pool.size());
            pool.insert(pool.end(), arcPool.begin() + held.at, arcPool.begin() + held.at + held.count);
            held.at = at;
        });
        arcPool.swap(pool);
        arcPoolLeft = 0;
    }

    bool bBounds = false;
    std::vector<Slot> slots;
    std::vector<uint32_t> freeSlots;
    size_t held = 0;
    std::map<int, Tree> trees;  // by unit
    // What the trees are behind by, made good at the next search: the slots whose objects' bounds
    // changed, the slots taken since, and the entries of the objects let go. All by slot or by value,
    // never by object: an object let go may be gone by then.
    std::vector<uint32_t> dirty;
    std::vector<uint32_t> unplanted;
    std::vector<std::pair<int, Entry>> uprooted;

    static void Read(Slot& s) {
        s.bounds = Bounds::Of(s.object->GetBounds());
        s.unit = s.object->GetUnit();
        s.dirty = false;
    }

    // Takes a slot for an object not held yet and reads its bounds; the tree is left to the caller.
    uint32_t Hold(CGeoVectorObject* pObject) {
        const uint32_t n = TakePlace(slots, freeSlots);
        slots[n].object = pObject;
        Read(slots[n]);
        pObject->SetIndexSlot(n);
        ++held;
        return n;
    }

    static Entry EntryOf(const Slot& s) { return Entry(s.bounds.AsBox(), s.object); }
    void Plant(uint32_t n) {
        trees[slots[n].unit].insert(EntryOf(slots[n]));
        slots[n].planted = true;
    }

    void RebuildTrees() {
        std::map<int, std::vector<Entry>> byUnit;
        for (Slot& s : slots)
            if (s.object) {
                byUnit[s.unit].push_back(EntryOf(s));
                s.planted = true;
            }
        trees.clear();
        // The packing constructor gives a better tree than inserting one by one.
        for (auto& u : byUnit) trees.emplace(u.first, Tree(u.second.begin(), u.second.end()));
    }

    // Brings the trees up to date: lets go of the entries of objects let go, re-reads the bounds of the
    // objects marked and plants the objects taken. Past a quarter of the objects, packing all afresh is
    // quicker than as many single changes.
    void Refresh() {
        if (dirty.empty() && unplanted.empty() && uprooted.empty()) return;
        const bool rebuild = dirty.size() + unplanted.size() + uprooted.size() > held / 4 + 64;
        if (!rebuild)
            for (const auto& u : uprooted) trees[u.first].remove(u.second);
        for (uint32_t n : dirty) {
            // A slot let go, or taken again by an object not marked, is no longer dirty.
            if (!slots[n].object || !slots[n].dirty) continue;
            if (!rebuild && slots[n].planted) trees[slots[n].unit].remove(EntryOf(slots[n]));
            Read(slots[n]);
            if (!rebuild) Plant(n);
        }
        if (!rebuild)
            for (uint32_t n : unplanted)
                if (slots[n].object && !slots[n].planted) Plant(n);
        dirty.clear();
        unplanted.clear();
        uprooted.clear();
        if (rebuild) RebuildTrees();
    }
};

CGeoObjectIndex::CGeoObjectIndex() : m_pImpl(new Impl) {}

CGeoObjectIndex::~CGeoObjectIndex() = default;

void CGeoObjectIndex::Clear() { m_pImpl.reset(new Impl); }

void CGeoObjectIndex::Add(CGeoVectorObject* pObject) {
    Impl& d = *m_pImpl;
    if (d.bArcs) {
        d.LeaveArcs(pObject);
        d.EnterArcs(pObject);
    }
    if (d.bUserIDs) d.EnterUserID(pObject->GetUserID(), pObject);
    if (d.bBounds && d.SlotOf(pObject) == kNoSlot) d.unplanted.push_back(d.Hold(pObject));
}

void CGeoObjectIndex::Remove(CGeoVectorObject* pObject) {
    Impl& d = *m_pImpl;
    if (d.bArcs) d.LeaveArcs(pObject);
    if (d.bUserIDs) d.LeaveUserID(pObject->GetUserID(), pObject);
    if (d.bBounds) {
        const uint32_t n = d.SlotOf(pObject);
        if (n == kNoSlot) return;
        if (d.slots[n].planted) d.uprooted.emplace_back(d.slots[n].unit, Impl::EntryOf(d.slots[n]));
        // A mark left in the dirty or unplanted list is skipped once the slot no longer holds the object.
        d.slots[n] = Slot();
        d.freeSlots.push_back(n);
        --d.held;
        pObject->SetIndexSlot(kNoSlot);
    }
}

void CGeoObjectIndex::UserIDChanged(CGeoVectorObject* pObject, UINT nOldUserID) {
    Impl& d = *m_pImpl;
    if (!d.bUserIDs) return;
    if (d.LeaveUserID(nOldUserID, pObject)) d.EnterUserID(pObject->GetUserID(), pObject);
}

void CGeoObjectIndex::BoundsChanged(CGeoVectorObject* pObject) {
    Impl& d = *m_pImpl;
    if (d.bArcs) {
        d.LeaveArcs(pObject);
        d.EnterArcs(pObject);
    }
    if (!d.bBounds) return;
    const uint32_t n = d.SlotOf(pObject);
    if (n == kNoSlot || d.slots[n].dirty) return;
    d.slots[n].dirty = true;
    d.dirty.push_back(n);
}

bool CGeoObjectIndex::HasUserIDs() const { return m_pImpl->bUserIDs; }

void CGeoObjectIndex::BuildUserIDs(const CObList& objects) {
    Impl& d = *m_pImpl;
    d.userIDs.Clear();
    d.others.clear();
    d.freeOthers.clear();
    d.userIDs.Reserve(static_cast<size_t>(objects.GetCount()));
    for (POSITION p = objects.GetHeadPosition(); p;) {
        CGeoVectorObject* pObject = static_cast<CGeoVectorObject*>(objects.GetNext(p));
        d.EnterUserID(pObject->GetUserID(), pObject);
    }
    d.bUserIDs = true;
}

bool CGeoObjectIndex::IsUserIDShared(UINT nUserID, const CGeoVectorObject* pObject) const {
    const UserIDCell* cell = m_pImpl->userIDs.Find(nUserID);
    if (!cell) return false;
    if (cell->first != pObject) return true;
    // The others' set is never kept empty.
    return cell->others != kNoSlot;
}

void CGeoObjectIndex::FindUserID(UINT nUserID, std::vector<CGeoVectorObject*>& found) const {
    found.clear();
    const UserIDCell* cell = m_pImpl->userIDs.Find(nUserID);
    if (!cell) return;
    found.push_back(cell->first);
    if (cell->others != kNoSlot) {
        m_pImpl->others[cell->others].ForEach([&found](const MemberCell& m) { found.push_back(m.object); });
    }
    std::sort(found.begin(), found.end(), ByListOrder);
}

bool CGeoObjectIndex::HasBounds() const { return m_pImpl->bBounds; }

void CGeoObjectIndex::BuildBounds(const CObList& objects) {
    Impl& d = *m_pImpl;
    d.slots.clear();
    d.freeSlots.clear();
    d.held = 0;
    d.dirty.clear();
    d.unplanted.clear();
    d.uprooted.clear();
    d.slots.reserve(static_cast<size_t>(objects.GetCount()));
    for (POSITION p = objects.GetHeadPosition(); p;) {
        CGeoVectorObject* pObject = static_cast<CGeoVectorObject*>(objects.GetNext(p));
        if (d.SlotOf(pObject) == kNoSlot) d.Hold(pObject);
    }
    d.RebuildTrees();
    d.bBounds = true;
}

void CGeoObjectIndex::FindBounds(const std::function<CRect(int)>& rectInUnit, std::vector<CGeoVectorObject*>& found) {
    Impl& d = *m_pImpl;
    found.clear();
    d.Refresh();
    std::vector<Entry> hits;
    for (auto& u : d.trees) {
        if (u.second.empty()) continue;
        hits.clear();
        // Boxes that only touch intersect, as the bounds comparison counts touching.
        u.second.query(bgi::intersects(Bounds::Of(rectInUnit(u.first)).AsBox()), std::back_inserter(hits));
        for (const Entry& e : hits) found.push_back(e.second);
    }
    std::sort(found.begin(), found.end(), ByListOrder);
}

bool CGeoObjectIndex::HasBorderArcs() const { return m_pImpl->bArcs; }

void CGeoObjectIndex::BuildBorderArcs(const CObList& objects) {
    Impl& d = *m_pImpl;
    d.holders.Clear();
    d.moreHolders.clear();
    d.freeMore.clear();
    d.heldArcs.Clear();
    d.arcPool.clear();
    d.arcPoolLeft = 0;
    for (POSITION p = objects.GetHeadPosition(); p;) d.EnterArcs(static_cast<CGeoVectorObject*>(objects.GetNext(p)));
    d.bArcs = true;
}

void CGeoObjectIndex::FindBorderHolders(const CGeoVectorObject* pArc, std::vector<CGeoVectorObject*>& found) const {
    found.clear();
    if (const ArcCell* cell = m_pImpl->holders.Find(KeyOf(pArc))) m_pImpl->Gather(*cell, found);
}
