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

// Object -> slot number: open addressing with linear probing, 16 bytes a cell and no node per entry, since a
// layer of a million objects would otherwise spend more on this map than on its tree.
class SlotMap {
public:
    void Clear() {
        m_cells.clear();
        m_size = 0;
    }
    size_t Size() const { return m_size; }
    void Reserve(size_t n) {
        if ((n + 1) * 10 > m_cells.size() * 7) Rehash(Capacity(n));
    }
    uint32_t Find(const void* key) const {
        if (m_cells.empty()) return kNoSlot;
        for (size_t i = Home(key);; i = (i + 1) & Mask()) {
            if (m_cells[i].key == key) return m_cells[i].slot;
            if (m_cells[i].key == nullptr) return kNoSlot;
        }
    }
    // key is not in the map yet.
    void Insert(const void* key, uint32_t slot) {
        Reserve(m_size + 1);
        size_t i = Home(key);
        while (m_cells[i].key) i = (i + 1) & Mask();
        m_cells[i] = Cell{key, slot};
        ++m_size;
    }
    void Erase(const void* key) {
        if (m_cells.empty()) return;
        size_t i = Home(key);
        while (m_cells[i].key != key) {
            if (m_cells[i].key == nullptr) return;
            i = (i + 1) & Mask();
        }
        // Shift back the cells after it that would no longer be reached past the hole.
        for (size_t j = (i + 1) & Mask(); m_cells[j].key; j = (j + 1) & Mask()) {
            const size_t home = Home(m_cells[j].key);
            const bool between = i <= j ? (i < home && home <= j) : (i < home || home <= j);
            if (between) continue;
            m_cells[i] = m_cells[j];
            i = j;
        }
        m_cells[i] = Cell{};
        --m_size;
    }

private:
    struct Cell {
        const void* key = nullptr;
        uint32_t slot = 0;
    };
    std::vector<Cell> m_cells;  // a power of two long, or empty
    size_t m_size = 0;

    size_t Mask() const { return m_cells.size() - 1; }
    size_t Home(const void* key) const {
        // Fibonacci hashing of the address; the low bits of heap addresses carry little.
        const uint64_t h = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(key)) * 0x9E3779B97F4A7C15ull;
        return static_cast<size_t>(h >> 32) & Mask();
    }
    static size_t Capacity(size_t n) {
        size_t c = 16;
        while (c * 7 < (n + 1) * 10) c *= 2;
        return c;
    }
    void Rehash(size_t capacity) {
        std::vector<Cell> old(capacity);
        old.swap(m_cells);
        for (const Cell& c : old)
            if (c.key) {
                size_t i = Home(c.key);
                while (m_cells[i].key) i = (i + 1) & Mask();
                m_cells[i] = c;
            }
    }
};

}  // namespace

struct CGeoObjectIndex::Impl {
    bool bUserIDs = false;
    std::unordered_multimap<UINT, CGeoVectorObject*> userIDs;

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
    SlotMap slotOf;
    std::map<int, Tree> trees;  // by unit
    std::vector<CGeoVectorObject*> dirty;

    void EraseUserID(UINT nUserID, CGeoVectorObject* pObject) {
        auto range = userIDs.equal_range(nUserID);
        for (auto it = range.first; it != range.second; ++it)
            if (it->second == pObject) {
                userIDs.erase(it);
                return;
            }
    }

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
        slotOf.Insert(pObject, n);
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
            const uint32_t n = slotOf.Find(pObject);
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
    if (d.bUserIDs) d.userIDs.emplace(pObject->GetUserID(), pObject);
    if (d.bBounds && d.slotOf.Find(pObject) == kNoSlot) d.Plant(d.Hold(pObject));
}

void CGeoObjectIndex::Remove(CGeoVectorObject* pObject) {
    Impl& d = *m_pImpl;
    if (d.bArcs) d.LeaveArcs(pObject);
    if (d.bUserIDs) d.EraseUserID(pObject->GetUserID(), pObject);
    if (d.bBounds) {
        const uint32_t n = d.slotOf.Find(pObject);
        if (n == kNoSlot) return;
        d.Uproot(n);
        // A mark left in the dirty list is skipped once the object is no longer held.
        d.slotOf.Erase(pObject);
        d.slots[n] = Slot();
        d.freeSlots.push_back(n);
    }
}

void CGeoObjectIndex::UserIDChanged(CGeoVectorObject* pObject, UINT nOldUserID) {
    Impl& d = *m_pImpl;
    if (!d.bUserIDs) return;
    auto range = d.userIDs.equal_range(nOldUserID);
    for (auto it = range.first; it != range.second; ++it)
        if (it->second == pObject) {
            d.userIDs.erase(it);
            d.userIDs.emplace(pObject->GetUserID(), pObject);
            return;
        }
}

void CGeoObjectIndex::BoundsChanged(CGeoVectorObject* pObject) {
    Impl& d = *m_pImpl;
    if (d.bArcs) {
        d.LeaveArcs(pObject);
        d.EnterArcs(pObject);
    }
    if (!d.bBounds) return;
    const uint32_t n = d.slotOf.Find(pObject);
    if (n == kNoSlot || d.slots[n].dirty) return;
    d.slots[n].dirty = true;
    d.dirty.push_back(pObject);
}

bool CGeoObjectIndex::HasUserIDs() const { return m_pImpl->bUserIDs; }

void CGeoObjectIndex::BuildUserIDs(const CObList& objects) {
    Impl& d = *m_pImpl;
    d.userIDs.clear();
    d.userIDs.reserve(static_cast<size_t>(objects.GetCount()));
    for (POSITION p = objects.GetHeadPosition(); p;) {
        CGeoVectorObject* pObject = static_cast<CGeoVectorObject*>(objects.GetNext(p));
        d.userIDs.emplace(pObject->GetUserID(), pObject);
    }
    d.bUserIDs = true;
}

bool CGeoObjectIndex::IsUserIDShared(UINT nUserID, const CGeoVectorObject* pObject) const {
    auto range = m_pImpl->userIDs.equal_range(nUserID);
    for (auto it = range.first; it != range.second; ++it)
        if (it->second != pObject) return true;
    return false;
}

void CGeoObjectIndex::FindUserID(UINT nUserID, std::vector<CGeoVectorObject*>& found) const {
    found.clear();
    auto range = m_pImpl->userIDs.equal_range(nUserID);
    for (auto it = range.first; it != range.second; ++it) found.push_back(it->second);
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
        if (d.slotOf.Find(pObject) == kNoSlot) d.Hold(pObject);
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
