#include "core/GeoObjectIndex.h"

#include "core/GeoVectorObject.h"

#include <boost/geometry.hpp>
#include <boost/geometry/geometries/box.hpp>
#include <boost/geometry/geometries/point.hpp>
#include <boost/geometry/index/rtree.hpp>

#include <algorithm>
#include <iterator>
#include <map>
#include <unordered_map>
#include <utility>

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;

namespace {

// Doubles hold every 32-bit coordinate exactly and keep the tree's area sums from overflowing.
typedef bg::model::point<double, 2, bg::cs::cartesian> Point;
typedef bg::model::box<Point> Box;
typedef std::pair<Box, CGeoVectorObject*> Entry;
typedef bgi::rtree<Entry, bgi::quadratic<16>> Tree;

Box ToBox(const CRect& r) {
    const double l = std::min(r.left, r.right), rr = std::max(r.left, r.right);
    const double t = std::min(r.top, r.bottom), b = std::max(r.top, r.bottom);
    return Box(Point(l, t), Point(rr, b));
}

bool ByListOrder(const CGeoVectorObject* a, const CGeoVectorObject* b) {
    return a->GetListOrder() < b->GetListOrder();
}

struct Held {
    Box box;
    int unit = 0;
    bool dirty = false;
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
    std::unordered_map<CGeoVectorObject*, Held> held;
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

    static Held Read(CGeoVectorObject* pObject) {
        Held h;
        h.box = ToBox(pObject->GetBounds());
        h.unit = pObject->GetUnit();
        return h;
    }

    void RebuildTrees() {
        std::map<int, std::vector<Entry>> byUnit;
        for (auto& e : held) byUnit[e.second.unit].emplace_back(e.second.box, e.first);
        trees.clear();
        // The packing constructor gives a better tree than inserting one by one.
        for (auto& u : byUnit) trees.emplace(u.first, Tree(u.second.begin(), u.second.end()));
    }

    // Re-reads the bounds of the objects marked since the last search.
    void Refresh() {
        if (dirty.empty()) return;
        const bool rebuild = dirty.size() > held.size() / 4 + 64;
        for (CGeoVectorObject* pObject : dirty) {
            auto it = held.find(pObject);
            if (it == held.end() || !it->second.dirty) continue;
            Held now = Read(pObject);
            if (!rebuild) {
                trees[it->second.unit].remove(Entry(it->second.box, pObject));
                trees[now.unit].insert(Entry(now.box, pObject));
            }
            it->second = now;
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
    if (d.bBounds) {
        Held h = Impl::Read(pObject);
        if (d.held.emplace(pObject, h).second) d.trees[h.unit].insert(Entry(h.box, pObject));
    }
}

void CGeoObjectIndex::Remove(CGeoVectorObject* pObject) {
    Impl& d = *m_pImpl;
    if (d.bArcs) d.LeaveArcs(pObject);
    if (d.bUserIDs) d.EraseUserID(pObject->GetUserID(), pObject);
    if (d.bBounds) {
        auto it = d.held.find(pObject);
        if (it == d.held.end()) return;
        d.trees[it->second.unit].remove(Entry(it->second.box, pObject));
        // A mark left in the dirty list is skipped once the object is no longer held.
        d.held.erase(it);
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
    auto it = d.held.find(pObject);
    if (it == d.held.end() || it->second.dirty) return;
    it->second.dirty = true;
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
    d.held.clear();
    d.dirty.clear();
    d.held.reserve(static_cast<size_t>(objects.GetCount()));
    for (POSITION p = objects.GetHeadPosition(); p;) {
        CGeoVectorObject* pObject = static_cast<CGeoVectorObject*>(objects.GetNext(p));
        d.held.emplace(pObject, Impl::Read(pObject));
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
        u.second.query(bgi::intersects(ToBox(rectInUnit(u.first))), std::back_inserter(hits));
        for (const Entry& e : hits) found.push_back(e.second);
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
