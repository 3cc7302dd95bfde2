#include "core/GeoObjectIndex.h"

#include "core/GeoVectorObject.h"

#include <boost/geometry.hpp>
#include <boost/geometry/geometries/box.hpp>
#include <boost/geometry/geometries/point.hpp>
#include <boost/geometry/index/rtree.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <iterator>
#include <map>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;

namespace {

// The tree holds float boxes rounded outwards (half the size of exact boxes of doubles) and the number of
// the object's slot; every candidate it gives is then tested against the slot's exact bounds, so answers
// are exactly those of comparing the integer bounds.
typedef bg::model::point<float, 2, bg::cs::cartesian> Point;
typedef bg::model::box<Point> Box;
typedef std::pair<Box, uint32_t> Entry;
typedef bgi::rtree<Entry, bgi::quadratic<16>> Tree;

float Down(LONG v) {
    float f = static_cast<float>(v);
    if (static_cast<double>(f) > v) f = std::nextafter(f, -std::numeric_limits<float>::infinity());
    return f;
}

float Up(LONG v) {
    float f = static_cast<float>(v);
    if (static_cast<double>(f) < v) f = std::nextafter(f, std::numeric_limits<float>::infinity());
    return f;
}

// A rectangle with left <= right and top <= bottom.
struct Bounds {
    LONG left = 0, top = 0, right = 0, bottom = 0;
    static Bounds Of(const CRect& r) {
        return Bounds{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
                      std::max(r.top, r.bottom)};
    }
    // Closed: touching counts.
    bool Meets(const Bounds& o) const {
        return left <= o.right && o.left <= right && top <= o.bottom && o.top <= bottom;
    }
    Box Outward() const { return Box(Point(Down(left), Down(top)), Point(Up(right), Up(bottom))); }
};

bool ByListOrder(const CGeoVectorObject* a, const CGeoVectorObject* b) {
    return a->GetListOrder() < b->GetListOrder();
}

// One held object: its bounds and unit as last read, and whether they changed since. A free slot has no
// object.
struct Slot {
    CGeoVectorObject* object = nullptr;
    Bounds bounds;
    int unit = 0;
    bool dirty = false;
};

const uint32_t kNoSlot = 0xFFFFFFFFu;

// A hash table with open addressing and linear probing: a cell per entry and no node, since a layer of a
// million objects would otherwise spend more on its look-ups' nodes than on its tree. A Cell is empty
// when default-constructed and tells its emptiness (Empty) and key (Key, a 64-bit value).
template <class Cell>
class OpenTable {
public:
    void Clear() {
        m_cells.clear();
        m_size = 0;
    }
    size_t Size() const { return m_size; }
    void Reserve(size_t n) {
        if ((n + 1) * 10 > m_cells.size() * 7) Rehash(Capacity(n));
    }
    Cell* Find(uint64_t key) {
        if (m_cells.empty()) return nullptr;
        for (size_t i = Home(key);; i = (i + 1) & Mask()) {
            if (m_cells[i].Empty()) return nullptr;
            if (m_cells[i].Key() == key) return &m_cells[i];
        }
    }
    const Cell* Find(uint64_t key) const { return const_cast<OpenTable*>(this)->Find(key); }
    // An empty cell for a key not in the table; the caller fills it at once (the table counts it).
    Cell& Insert(uint64_t key) {
        Reserve(m_size + 1);
        size_t i = Home(key);
        while (!m_cells[i].Empty()) i = (i + 1) & Mask();
        ++m_size;
        return m_cells[i];
    }
    void Erase(Cell* cell) {
        size_t i = static_cast<size_t>(cell - m_cells.data());
        // Shift back the cells after it that would no longer be reached past the hole.
        for (size_t j = (i + 1) & Mask(); !m_cells[j].Empty(); j = (j + 1) & Mask()) {
            const size_t home = Home(m_cells[j].Key());
            const bool between = i <= j ? (i < home && home <= j) : (i < home || home <= j);
            if (between) continue;
            m_cells[i] = std::move(m_cells[j]);
            i = j;
        }
        m_cells[i] = Cell();
        --m_size;
    }

private:
    std::vector<Cell> m_cells;  // a power of two long, or empty
    size_t m_size = 0;

    size_t Mask() const { return m_cells.size() - 1; }
    size_t Home(uint64_t key) const {
        // Fibonacci hashing: the low bits of heap addresses, and runs of IDs, carry little.
        return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> 32) & Mask();
    }
    static size_t Capacity(size_t n) {
        size_t c = 16;
        while (c * 7 < (n + 1) * 10) c *= 2;
        return c;
    }
    void Rehash(size_t capacity) {
        std::vector<Cell> old(capacity);
        old.swap(m_cells);
        for (Cell& c : old)
            if (!c.Empty()) {
                size_t i = Home(c.Key());
                while (!m_cells[i].Empty()) i = (i + 1) & Mask();
                m_cells[i] = std::move(c);
            }
    }
};

uint64_t KeyOf(const void* p) { return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(p)); }

// Object -> its slot.
struct SlotCell {
    const void* object = nullptr;
    uint32_t slot = 0;
    bool Empty() const { return object == nullptr; }
    uint64_t Key() const { return KeyOf(object); }
};

// User ID -> the objects that carry it. Most IDs have one object, kept in the cell; the others of a
// shared ID go to a set of their own, so taking one out or changing its ID never walks the rest.
struct UserIDCell {
    UINT id = 0;
    uint32_t others = kNoSlot;  // index of the set of the others, or none
    CGeoVectorObject* first = nullptr;
    bool Empty() const { return first == nullptr; }
    uint64_t Key() const { return id; }
};

}  // namespace

struct CGeoObjectIndex::Impl {
    bool bUserIDs = false;
    OpenTable<UserIDCell> userIDs;
    std::vector<std::unordered_set<CGeoVectorObject*>> others;  // by UserIDCell::others
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
        if (cell->others == kNoSlot) {
            if (!freeOthers.empty()) {
                cell->others = freeOthers.back();
                freeOthers.pop_back();
            } else {
                cell->others = static_cast<uint32_t>(others.size());
                others.emplace_back();
            }
        }
        others[cell->others].insert(pObject);
    }
    // Whether the object was there under that ID.
    bool LeaveUserID(UINT nUserID, CGeoVectorObject* pObject) {
        UserIDCell* cell = userIDs.Find(nUserID);
        if (!cell) return false;
        std::unordered_set<CGeoVectorObject*>* rest = cell->others == kNoSlot ? nullptr : &others[cell->others];
        if (cell->first == pObject) {
            if (!rest) {
                userIDs.Erase(cell);
                return true;
            }
            cell->first = *rest->begin();
            rest->erase(rest->begin());
        } else if (!rest || rest->erase(pObject) == 0) {
            return false;
        }
        if (rest->empty()) {
            std::unordered_set<CGeoVectorObject*>().swap(*rest);
            freeOthers.push_back(cell->others);
            cell->others = kNoSlot;
        }
        return true;
    }
    uint32_t SlotOf(const void* pObject) const {
        const SlotCell* cell = slotOf.Find(KeyOf(pObject));
        return cell ? cell->slot : kNoSlot;
    }

    bool bArcs = false;
    // Arc -> the objects whose borders hold it, in list order; and what each holder held when entered.
    std::unordered_map<const CGeoVectorObject*, std::vector<CGeoVectorObject*>> holders;
    std::unordered_map<CGeoVectorObject*, std::vector<const CGeoVectorObject*>> arcsOf;

    void EnterArcs(CGeoVectorObject* pObject) {
        std::vector<const CGeoVectorObject*> arcs;
        pObject->GetBorderArcs(arcs);
        if (arcs.empty()) return;
        std::sort(arcs.begin(), arcs.end());
        arcs.erase(std::unique(arcs.begin(), arcs.end()), arcs.end());
        for (const CGeoVectorObject* pArc : arcs) {
            std::vector<CGeoVectorObject*>& v = holders[pArc];
            v.insert(std::upper_bound(v.begin(), v.end(), pObject, ByListOrder), pObject);
        }
        arcsOf[pObject] = std::move(arcs);
    }
    void LeaveArcs(CGeoVectorObject* pObject) {
        auto it = arcsOf.find(pObject);
        if (it == arcsOf.end()) return;
        for (const CGeoVectorObject* pArc : it->second) {
            auto h = holders.find(pArc);
            if (h == holders.end()) continue;
            h->second.erase(std::remove(h->second.begin(), h->second.end(), pObject), h->second.end());
            if (h->second.empty()) holders.erase(h);
        }
        arcsOf.erase(it);
    }

    bool bBounds = false;
    std::vector<Slot> slots;
    std::vector<uint32_t> freeSlots;
    OpenTable<SlotCell> slotOf;
    std::map<int, Tree> trees;  // by unit
    std::vector<CGeoVectorObject*> dirty;

    static void Read(Slot& s) {
        s.bounds = Bounds::Of(s.object->GetBounds());
        s.unit = s.object->GetUnit();
        s.dirty = false;
    }

    // Takes a slot for an object not held yet and reads its bounds; the tree is left to the caller.
    uint32_t Hold(CGeoVectorObject* pObject) {
        uint32_t n;
        if (!freeSlots.empty()) {
            n = freeSlots.back();
            freeSlots.pop_back();
        } else {
            n = static_cast<uint32_t>(slots.size());
            slots.emplace_back();
        }
        slots[n].object = pObject;
        Read(slots[n]);
        SlotCell& cell = slotOf.Insert(KeyOf(pObject));
        cell.object = pObject;
        cell.slot = n;
        return n;
    }

    void Plant(uint32_t n) { trees[slots[n].unit].insert(Entry(slots[n].bounds.Outward(), n)); }
    void Uproot(uint32_t n) { trees[slots[n].unit].remove(Entry(slots[n].bounds.Outward(), n)); }

    void RebuildTrees() {
        std::map<int, std::vector<Entry>> byUnit;
        for (uint32_t n = 0; n < slots.size(); ++n)
            if (slots[n].object) byUnit[slots[n].unit].emplace_back(slots[n].bounds.Outward(), n);
        trees.clear();
        // The packing constructor gives a better tree than inserting one by one.
        for (auto& u : byUnit) trees.emplace(u.first, Tree(u.second.begin(), u.second.end()));
    }

    // Re-reads the bounds of the objects marked since the last search.
    void Refresh() {
        if (dirty.empty()) return;
        const bool rebuild = dirty.size() > slotOf.Size() / 4 + 64;
        for (CGeoVectorObject* pObject : dirty) {
            const uint32_t n = SlotOf(pObject);
            if (n == kNoSlot || !slots[n].dirty) continue;
            if (!rebuild) Uproot(n);
            Read(slots[n]);
            if (!rebuild) Plant(n);
        }
        dirty.clear();
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
    if (d.bBounds && d.SlotOf(pObject) == kNoSlot) d.Plant(d.Hold(pObject));
}

void CGeoObjectIndex::Remove(CGeoVectorObject* pObject) {
    Impl& d = *m_pImpl;
    if (d.bArcs) d.LeaveArcs(pObject);
    if (d.bUserIDs) d.LeaveUserID(pObject->GetUserID(), pObject);
    if (d.bBounds) {
        const uint32_t n = d.SlotOf(pObject);
        if (n == kNoSlot) return;
        d.Uproot(n);
        // A mark left in the dirty list is skipped once the object is no longer held.
        d.slotOf.Erase(d.slotOf.Find(KeyOf(pObject)));
        d.slots[n] = Slot();
        d.freeSlots.push_back(n);
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
    d.dirty.push_back(pObject);
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
        const std::unordered_set<CGeoVectorObject*>& rest = m_pImpl->others[cell->others];
        found.insert(found.end(), rest.begin(), rest.end());
    }
    std::sort(found.begin(), found.end(), ByListOrder);
}

bool CGeoObjectIndex::HasBounds() const { return m_pImpl->bBounds; }

void CGeoObjectIndex::BuildBounds(const CObList& objects) {
    Impl& d = *m_pImpl;
    d.slots.clear();
    d.freeSlots.clear();
    d.slotOf.Clear();
    d.dirty.clear();
    d.slots.reserve(static_cast<size_t>(objects.GetCount()));
    d.slotOf.Reserve(static_cast<size_t>(objects.GetCount()));
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
        const Bounds rect = Bounds::Of(rectInUnit(u.first));
        u.second.query(bgi::intersects(rect.Outward()), std::back_inserter(hits));
        for (const Entry& e : hits) {
            const Slot& s = d.slots[e.second];
            if (s.bounds.Meets(rect)) found.push_back(s.object);
        }
    }
    std::sort(found.begin(), found.end(), ByListOrder);
}

bool CGeoObjectIndex::HasBorderArcs() const { return m_pImpl->bArcs; }

void CGeoObjectIndex::BuildBorderArcs(const CObList& objects) {
    Impl& d = *m_pImpl;
    d.holders.clear();
    d.arcsOf.clear();
    for (POSITION p = objects.GetHeadPosition(); p;) d.EnterArcs(static_cast<CGeoVectorObject*>(objects.GetNext(p)));
    d.bArcs = true;
}

void CGeoObjectIndex::FindBorderHolders(const CGeoVectorObject* pArc, std::vector<CGeoVectorObject*>& found) const {
    found.clear();
    auto it = m_pImpl->holders.find(pArc);
    if (it != m_pImpl->holders.end()) found = it->second;
}
