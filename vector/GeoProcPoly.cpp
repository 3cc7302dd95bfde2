#include "vector/GeoProcPoly.h"

#include "core/GeoVectorLayer.h"
#include "vector/GeoPLine.h"

#include <ostrel/GeoArray.h>
#include <ostrel/Misc.h>

#include <algorithm>
#include <cstdint>
#include <unordered_map>

namespace {

typedef std::vector<LONG> Keys;

bool IsRingEnd(LONG v) { return v == POLYGON_RING_END || v == -POLYGON_RING_END; }

// |v| without overflow for the most negative value.
UINT AbsKey(LONG v) { return v < 0 ? 0u - static_cast<UINT>(v) : static_cast<UINT>(v); }

// -v, wrapping instead of overflowing for the most negative value.
LONG Negate(LONG v) { return static_cast<LONG>(0u - static_cast<UINT>(v)); }

bool Shares(LONG a, LONG b) { return !IsRingEnd(a) && AbsKey(a) == AbsKey(b); }

Keys ToKeys(const CArray<LONG, LONG>& a) { return Keys(a.GetData(), a.GetData() + a.GetSize()); }

// First index of every arc of keys (ring ends skipped).
std::unordered_map<UINT, int> FirstIndexByArc(const Keys& keys) {
    std::unordered_map<UINT, int> index;
    index.reserve(keys.size() * 2);
    for (size_t i = 0; i < keys.size(); ++i)
        if (!IsRingEnd(keys[i])) index.emplace(AbsKey(keys[i]), static_cast<int>(i));
    return index;
}

// Peels the arcs that r walks both ways off r, writing the loops that remain to out, each followed
// by a ring end when it is not empty. The search for a pair (i, k), r[k] = -r[i], k > i, takes the
// first such i and, of several partners, the largest k; the loop outside the pair goes to out and
// the search goes on inside it. An index of every value's positions keeps each search logarithmic.
void PeelLoops(const Keys& r, Keys& out) {
    std::unordered_map<LONG, std::vector<int>> at;
    at.reserve(r.size() * 2);
    for (size_t i = 0; i < r.size(); ++i) at[r[i]].push_back(static_cast<int>(i));

    int begin = 0;
    int end = static_cast<int>(r.size());  // the current r is r[begin .. end - 1]
    for (;;) {
        int pi = -1, pk = -1;
        for (int i = begin; i < end && pi < 0; ++i) {
            auto it = at.find(Negate(r[i]));
            if (it == at.end() || Negate(r[i]) == r[i]) continue;
            const std::vector<int>& idx = it->second;
            // the largest partner index below end
            auto ub = std::lower_bound(idx.begin(), idx.end(), end);
            if (ub == idx.begin()) continue;
            int k = *(ub - 1);
            if (k > i) {
                pi = i;
                pk = k;
            }
        }
        if (pi < 0) {
            out.insert(out.end(), r.begin() + begin, r.begin() + end);
            return;
        }
        size_t before = out.size();
        out.insert(out.end(), r.begin() + pk + 1, r.begin() + end);
        out.insert(out.end(), r.begin() + begin, r.begin() + pi);
        if (out.size() != before) out.push_back(POLYGON_RING_END);
        if (pk == pi + 1) return;
        begin = pi + 1;
        end = pk;
    }
}

// BuildNewPoly on plain vectors; bIndex is FirstIndexByArc (b).
bool Merge(const Keys& a, const Keys& b, const std::unordered_map<UINT, int>& bIndex, Keys& out) {
    Keys r;
    r.reserve(a.size() + b.size());
    size_t s = 0;
    int k = -1;
    for (; s < a.size(); ++s) {
        if (!IsRingEnd(a[s])) {
            auto it = bIndex.find(AbsKey(a[s]));
            if (it != bIndex.end()) {
                k = it->second;
                break;
            }
        }
        r.push_back(a[s]);
    }
    if (k < 0) return false;

    const int last = static_cast<int>(b.size()) - 1;
    if (b[k] != a[s]) {  // walked both ways: the usual case for neighbours
        for (int i = k + 1; i <= last; ++i) r.push_back(b[i]);
        for (int i = 0; i < k; ++i) r.push_back(b[i]);
    } else {  // walked the same way: b joins reversed
        for (int i = k - 1; i >= 0; --i) r.push_back(Negate(b[i]));
        for (int i = last; i > k; --i) r.push_back(Negate(b[i]));
    }
    r.insert(r.end(), a.begin() + s + 1, a.end());
    r.erase(std::remove_if(r.begin(), r.end(), IsRingEnd), r.end());

    Keys loops;
    PeelLoops(r, loops);
    if (!loops.empty() && loops.back() == POLYGON_RING_END) loops.pop_back();
    out.insert(out.end(), loops.begin(), loops.end());
    return true;
}


// A sequence of signed arc values kept as an implicit treap (a binary tree in sequence order, balanced
// by random priorities), so an outline can be cut and spliced anywhere and the place of any of its
// values read back in logarithmic time. Nodes are never freed before the tree: a value cut out of the
// sequence simply stops being reachable.
class ArcTreap {
public:
    int New(LONG v) {
        seed_ ^= seed_ << 13;
        seed_ ^= seed_ >> 17;
        seed_ ^= seed_ << 5;
        nodes_.push_back({v, seed_, 1, -1, -1, -1});
        return static_cast<int>(nodes_.size()) - 1;
    }
    LONG Value(int n) const { return nodes_[n].v; }
    int Size(int t) const { return t < 0 ? 0 : nodes_[t].size; }

    // The sequence a followed by b.
    int Join(int a, int b) {
        if (a < 0 || b < 0) {
            int t = a < 0 ? b : a;
            if (t >= 0) nodes_[t].p = -1;
            return t;
        }
        if (nodes_[a].pri > nodes_[b].pri) {
            int r = Join(nodes_[a].r, b);
            nodes_[a].r = r;
            nodes_[r].p = a;
            Pull(a);
            nodes_[a].p = -1;
            return a;
        }
        int l = Join(a, nodes_[b].l);
        nodes_[b].l = l;
        nodes_[l].p = b;
        Pull(b);
        nodes_[b].p = -1;
        return b;
    }

    // a = the first k values of t, b = the rest.
    void Split(int t, int k, int& a, int& b) {
        if (t < 0) {
            a = b = -1;
            return;
        }
        if (Size(nodes_[t].l) >= k) {
            int l = -1;
            Split(nodes_[t].l, k, a, l);
            nodes_[t].l = l;
            if (l >= 0) nodes_[l].p = t;
            Pull(t);
            b = t;
        } else {
            int r = -1;
            Split(nodes_[t].r, k - Size(nodes_[t].l) - 1, r, b);
            nodes_[t].r = r;
            if (r >= 0) nodes_[r].p = t;
            Pull(t);
            a = t;
        }
        if (a >= 0) nodes_[a].p = -1;
        if (b >= 0) nodes_[b].p = -1;
    }

    // The place of node n in its sequence, from 0.
    int Rank(int n) const {
        int r = Size(nodes_[n].l);
        for (int p = nodes_[n].p; p >= 0; n = p, p = nodes_[p].p)
            if (nodes_[p].r == n) r += Size(nodes_[p].l) + 1;
        return r;
    }

    void AppendTo(int t, Keys& out) const {
        std::vector<int> stack;
        while (t >= 0 || !stack.empty()) {
            for (; t >= 0; t = nodes_[t].l) stack.push_back(t);
            t = stack.back();
            stack.pop_back();
            out.push_back(nodes_[t].v);
            t = nodes_[t].r;
        }
    }

private:
    struct Node {
        LONG v;
        uint32_t pri;
        int size, l, r, p;
    };
    void Pull(int t) { nodes_[t].size = 1 + Size(nodes_[t].l) + Size(nodes_[t].r); }

    std::vector<Node> nodes_;
    uint32_t seed_ = 2463534242u;
};

// One group's area, merged polygon by polygon exactly as BuildNewPoly folds them (the same merged key
// string comes out), without copying the area at each step: the area is a list of loops in an
// ArcTreap, with an index from every arc to its places, so a merge costs the added polygon's size
// and the arcs it peels off, times a logarithm, however large the area has grown.
class AreaMerger {
public:
    // The area of one polygon (its key string, loops separated by ring ends).
    explicit AreaMerger(const Keys& first) {
        int loop = -1;
        for (LONG v : first) {
            if (IsRingEnd(v)) {
                if (loop >= 0) loops_.push_back(loop);
                loop = -1;
                continue;
            }
            loop = tree_.Join(loop, Place(v));
        }
        if (loop >= 0) loops_.push_back(loop);
        std::vector<UINT> arcs;
        for (LONG v : first)
            if (!IsRingEnd(v)) arcs.push_back(AbsKey(v));
        KeepWalkedBothWays(arcs);
    }

    // Some arc of b is an arc of the area (the merge of b would succeed).
    bool Touches(const Keys& b) const {
        for (LONG v : b)
            if (!IsRingEnd(v) && at_.count(AbsKey(v))) return true;
        return false;
    }

    // Merges b (which Touches the area; bIndex = FirstIndexByArc (b)) into the area.
    void Add(const Keys& b, const std::unordered_map<UINT, int>& bIndex) {
        int area = -1;
        for (int loop : loops_) area = tree_.Join(area, loop);
        loops_.clear();

        // The first place of the area whose arc b also has.
        int s = INT32_MAX, sNode = -1;
        for (LONG v : b) {
            if (IsRingEnd(v)) continue;
            auto it = at_.find(AbsKey(v));
            if (it == at_.end()) continue;
            for (int n : it->second) {
                int rank = tree_.Rank(n);
                if (rank < s) {
                    s = rank;
                    sNode = n;
                }
            }
        }
        const LONG shared = tree_.Value(sNode);
        const int k = bIndex.at(AbsKey(shared));
        const int last = static_cast<int>(b.size()) - 1;
        Keys part;
        if (b[k] != shared) {
            for (int i = k + 1; i <= last; ++i) part.push_back(b[i]);
            for (int i = 0; i < k; ++i) part.push_back(b[i]);
        } else {
            for (int i = k - 1; i >= 0; --i) part.push_back(Negate(b[i]));
            for (int i = last; i > k; --i) part.push_back(Negate(b[i]));
        }
        part.erase(std::remove_if(part.begin(), part.end(), IsRingEnd), part.end());

        int before = -1, rest = -1, cut = -1, after = -1;
        tree_.Split(area, s, before, rest);
        tree_.Split(rest, 1, cut, after);
        Forget(cut);
        int middle = -1;
        for (LONG v : part) middle = tree_.Join(middle, Place(v));
        int r = tree_.Join(tree_.Join(before, middle), after);

        // The arcs r may walk both ways: those the area already walked both ways, and b's arcs.
        std::vector<UINT> arcs = both_;
        for (LONG v : part) arcs.push_back(AbsKey(v));
        std::sort(arcs.begin(), arcs.end());
        arcs.erase(std::unique(arcs.begin(), arcs.end()), arcs.end());
        struct Place_ {
            int pos, node;
            LONG v;
        };
        std::vector<Place_> places;
        for (UINT arc : arcs) {
            auto it = at_.find(arc);
            if (it == at_.end()) continue;
            bool plus = false, minus = false;
            for (int n : it->second) (tree_.Value(n) < 0 ? minus : plus) = true;
            if (!plus || !minus) continue;
            for (int n : it->second) {
                LONG v = tree_.Value(n);
                if (Negate(v) != v) places.push_back({tree_.Rank(n), n, v});
            }
        }
        std::sort(places.begin(), places.end(), [](const Place_& a, const Place_& b) { return a.pos < b.pos; });
        std::unordered_map<LONG, std::vector<std::pair<int, int>>> byValue;  // value -> (place, node), ascending
        for (const Place_& p : places) byValue[p.v].push_back({p.pos, p.node});

        // Peeling, as PeelLoops does on the whole sequence: the first place i with a partner of
        // opposite value after it (the last such partner k) inside the current window; the loop
        // outside (k, i) is kept and the search goes on inside it. A place passed over lies before
        // every later window, so the places are walked once.
        int begin = 0, end = tree_.Size(r), window = r;
        size_t next = 0;
        for (;;) {
            int pi = -1, pk = -1, ni = -1, nk = -1;
            for (; next < places.size(); ++next) {
                const Place_& p = places[next];
                if (p.pos < begin) continue;
                if (p.pos >= end) break;
                auto it = byValue.find(Negate(p.v));
                if (it == byValue.end()) continue;
                const auto& list = it->second;
                auto ub = std::lower_bound(list.begin(), list.end(), std::make_pair(end, -1));
                if (ub == list.begin() || (ub - 1)->first <= p.pos) continue;
                pi = p.pos;
                ni = p.node;
                pk = (ub - 1)->first;
                nk = (ub - 1)->second;
                ++next;
                break;
            }
            if (pi < 0) {
                if (window >= 0) loops_.push_back(window);
                break;
            }
            int head = -1, tail = -1, a = -1, b2 = -1, mid = -1;
            tree_.Split(window, pi - begin, head, a);
            tree_.Split(a, 1, cut, b2);
            tree_.Split(b2, pk - pi - 1, mid, a);
            tree_.Split(a, 1, cut, tail);
            Forget(ni);
            Forget(nk);
            int loop = tree_.Join(tail, head);
            if (loop >= 0) loops_.push_back(loop);
            if (pk == pi + 1) break;
            window = mid;
            begin = pi + 1;
            end = pk;
        }
        KeepWalkedBothWays(arcs);
    }

    // The merged key string: the loops separated by ring ends, none after the last.
    Keys Result() const {
        Keys out;
        for (size_t i = 0; i < loops_.size(); ++i) {
            if (i) out.push_back(POLYGON_RING_END);
            tree_.AppendTo(loops_[i], out);
        }
        return out;
    }

private:
    int Place(LONG v) {
        int n = tree_.New(v);
        at_[AbsKey(v)].push_back(n);
        return n;
    }
    void Forget(int n) {
        auto it = at_.find(AbsKey(tree_.Value(n)));
        std::vector<int>& list = it->second;
        list.erase(std::find(list.begin(), list.end(), n));
        if (list.empty()) at_.erase(it);
    }
    // both_ = those of arcs the area walks both ways.
    void KeepWalkedBothWays(const std::vector<UINT>& arcs) {
        both_.clear();
        for (UINT arc : arcs) {
            auto it = at_.find(arc);
            if (it == at_.end()) continue;
            bool plus = false, minus = false;
            for (int n : it->second) (tree_.Value(n) < 0 ? minus : plus) = true;
            if (plus && minus) both_.push_back(arc);
        }
        std::sort(both_.begin(), both_.end());
        both_.erase(std::unique(both_.begin(), both_.end()), both_.end());
    }

    ArcTreap tree_;
    std::vector<int> loops_;                          // roots, in key string order
    std::unordered_map<UINT, std::vector<int>> at_;  // arc -> its nodes in the area
    std::vector<UINT> both_;                          // arcs the area walks both ways
};
}  // namespace

CGeoProcPoly::CGeoProcPoly() = default;

CGeoProcPoly::CGeoProcPoly(CGeoVectorLayer* pLayer, CGeoKeyStringArray& keyStrings) {
    SetLayer(pLayer);
    m_KeyStrings.Copy(keyStrings);
}

CGeoProcPoly::~CGeoProcPoly() { m_KeyStrings.RemoveAll(); }

void CGeoProcPoly::SetLayer(CGeoVectorLayer* pLayer) { m_pLayer = pLayer; }

const CGeoKeyString* CGeoProcPoly::KeysAt(LONG position) const {
    if (position < 0 || position >= m_KeyStrings.GetSize()) return nullptr;
    return m_KeyStrings[position];
}

int CGeoProcPoly::HasSameNumber(CArray<LONG, LONG>& values, LONG value) {
    for (int i = 0; i < values.GetSize(); ++i)
        if (values[i] == value) return i;
    return -1;
}

void CGeoProcPoly::FindCount(std::vector<int>& values) {
    std::vector<int> kept;
    kept.reserve(values.size());
    std::unordered_map<int, char> seen;
    for (int v : values)
        if (seen.emplace(v, 1).second) kept.push_back(v);
    values.swap(kept);
}

int CGeoProcPoly::HaveRelation(const tagEXPOLY& a, const tagEXPOLY& b) {
    return a.first == b.first || a.first == b.second || a.second == b.first || a.second == b.second;
}

int CGeoProcPoly::IsPublicArc(LONG value, CArray<LONG, LONG>& keys, int& index, int& opposite) {
    if (IsRingEnd(value)) return 0;
    for (int i = 0; i < keys.GetSize(); ++i) {
        if (Shares(value, keys[i])) {
            index = i;
            opposite = keys[i] == value ? 0 : 1;
            return 1;
        }
    }
    return 0;
}

int CGeoProcPoly::IsPublicArc(LONG value, CArray<LONG, LONG>& positions) {
    if (IsRingEnd(value)) return 0;
    for (int p = 0; p < positions.GetSize(); ++p) {
        const CGeoKeyString* keys = KeysAt(positions[p]);
        if (!keys) continue;
        for (int i = 0; i < keys->GetSize(); ++i)
            if (Shares(value, (*keys)[i])) return 1;
    }
    return 0;
}

int CGeoProcPoly::IsAdjacent(CArray<LONG, LONG>& a, CArray<LONG, LONG>& b) {
    std::unordered_map<UINT, int> bIndex = FirstIndexByArc(ToKeys(b));
    for (int i = 0; i < a.GetSize(); ++i)
        if (!IsRingEnd(a[i]) && bIndex.count(AbsKey(a[i]))) return 1;
    return 0;
}

int CGeoProcPoly::IsJoinGeneralize(CArray<LONG, LONG>& selection, LONG position) {
    const CGeoKeyString* own = KeysAt(position);
    if (!own) return 0;
    CArray<LONG, LONG> others;
    for (int i = 0; i < selection.GetSize(); ++i)
        if (selection[i] != position) others.Add(selection[i]);
    for (int i = 0; i < own->GetSize(); ++i)
        if (IsPublicArc((*own)[i], others)) return 1;
    return 0;
}

int CGeoProcPoly::BuildNewPoly(CArray<LONG, LONG>& a, CArray<LONG, LONG>& b, CArray<LONG, LONG>& out) {
    Keys ka = ToKeys(a), kb = ToKeys(b), merged;
    if (!Merge(ka, kb, FirstIndexByArc(kb), merged)) return 0;
    for (LONG v : merged) out.Add(v);
    return 1;
}

void CGeoProcPoly::FindRelation(const std::vector<tagEXPOLY>& pairs, const std::vector<std::vector<int>>& pairsAt,
                                int p, std::vector<char>& visited, std::vector<int>& found) {
    // One frame per pair being walked: the two ascending lists of pairs at its positions, merged on
    // the fly, so the walk takes the related pairs in list order as the recursion would.
    struct Frame {
        int pair;
        size_t i1, i2;
    };
    std::vector<Frame> stack;
    visited[p] = 1;
    stack.push_back({p, 0, 0});
    while (!stack.empty()) {
        Frame& f = stack.back();
        const std::vector<int>& l1 = pairsAt[pairs[f.pair].first];
        const std::vector<int>& l2 = pairsAt[pairs[f.pair].second];
        int next = -1;
        while (f.i1 < l1.size() || f.i2 < l2.size()) {
            int q;
            if (f.i2 >= l2.size() || (f.i1 < l1.size() && l1[f.i1] <= l2[f.i2])) {
                q = l1[f.i1++];
                if (f.i2 < l2.size() && l2[f.i2] == q) ++f.i2;
            } else {
                q = l2[f.i2++];
            }
            if (q != f.pair && !visited[q]) {
                next = q;
                break;
            }
        }
        if (next < 0) {
            stack.pop_back();
            continue;
        }
        found.push_back(next);
        visited[next] = 1;
        stack.push_back({next, 0, 0});
    }
}

void CGeoProcPoly::GetOrgArray(const std::vector<tagEXPOLY>& pairs, const std::vector<int>& found,
                               std::vector<int>& positions) {
    positions.clear();
    if (found.empty()) return;
    const tagEXPOLY& lastPair = pairs[found.back()];
    positions.push_back(lastPair.first);
    positions.push_back(lastPair.second);
    for (size_t i = 0; i + 1 < found.size(); ++i) {
        positions.push_back(pairs[found[i]].second);
        positions.push_back(pairs[found[i]].first);
    }
    FindCount(positions);
}

int CGeoProcPoly::ReunitePoly(CArray<LONG, LONG>& selection, POINT** points, int** ringSizes, int& ringCount) {
    // 1. Candidates, in selection order: selected polygons that share an arc with another selected
    //    one, found through an index of the selection's arcs. A position selected more than once
    //    counts once (its first time): a polygon never merges with a copy of itself.
    std::vector<LONG> selected;
    {
        std::unordered_map<LONG, char> seen;
        for (int s = 0; s < selection.GetSize(); ++s)
            if (seen.emplace(selection[s], 1).second) selected.push_back(selection[s]);
    }
    std::unordered_map<UINT, std::vector<LONG>> selectedAt;  // arc -> distinct selected positions
    for (LONG position : selected) {
        const CGeoKeyString* keys = KeysAt(position);
        if (!keys) continue;
        for (int i = 0; i < keys->GetSize(); ++i) {
            LONG v = (*keys)[i];
            if (IsRingEnd(v)) continue;
            std::vector<LONG>& list = selectedAt[AbsKey(v)];
            if (std::find(list.begin(), list.end(), position) == list.end()) list.push_back(position);
        }
    }
    std::vector<LONG> candidates;
    for (LONG position : selected) {
        const CGeoKeyString* keys = KeysAt(position);
        if (!keys) continue;
        bool joined = false;
        for (int i = 0; i < keys->GetSize() && !joined; ++i) {
            LONG v = (*keys)[i];
            if (IsRingEnd(v)) continue;
            for (LONG q : selectedAt[AbsKey(v)])
                if (q != position) joined = true;
        }
        if (joined) candidates.push_back(position);
    }
    if (candidates.empty()) return 0;

    // 2. Working copies.
    const int S = static_cast<int>(candidates.size());
    std::vector<Keys> K(static_cast<size_t>(S));
    for (int i = 0; i < S; ++i) K[i] = ToKeys(*KeysAt(candidates[i]));

    // 3. Touching pairs i < j, i outer and j inner, both ascending.
    std::unordered_map<UINT, std::vector<int>> copiesAt;  // arc -> working copies holding it
    for (int i = 0; i < S; ++i)
        for (LONG v : K[i])
            if (!IsRingEnd(v)) {
                std::vector<int>& list = copiesAt[AbsKey(v)];
                if (list.empty() || list.back() != i) list.push_back(i);
            }
    std::vector<tagEXPOLY> pairs;
    std::vector<std::vector<int>> pairsAt(static_cast<size_t>(S));
    std::vector<int> partners;
    for (int i = 0; i < S; ++i) {
        partners.clear();
        for (LONG v : K[i])
            if (!IsRingEnd(v))
                for (int j : copiesAt[AbsKey(v)])
                    if (j > i) partners.push_back(j);
        std::sort(partners.begin(), partners.end());
        partners.erase(std::unique(partners.begin(), partners.end()), partners.end());
        for (int j : partners) {
            pairsAt[i].push_back(static_cast<int>(pairs.size()));
            pairsAt[j].push_back(static_cast<int>(pairs.size()));
            pairs.push_back({i, j});
        }
    }
    for (std::vector<int>& list : pairsAt) std::sort(list.begin(), list.end());

    // 4. Groups.
    std::vector<std::vector<int>> groups;
    std::vector<char> visited(pairs.size(), 0);
    std::vector<int> found;
    for (int p = 0; p < static_cast<int>(pairs.size()); ++p) {
        const bool wasVisited = visited[p] != 0;
        found.clear();
        FindRelation(pairs, pairsAt, p, visited, found);
        if (!found.empty()) {
            found.push_back(p);
            std::vector<int> group;
            GetOrgArray(pairs, found, group);
            groups.push_back(group);
        } else if (!wasVisited) {
            groups.push_back({pairs[p].second, pairs[p].first});
        }
    }

    // 5. Merging each group, adding its positions in order as soon as they touch the area so far.
    std::vector<Keys> merged;
    std::vector<char> done(static_cast<size_t>(S), 0);
    for (const std::vector<int>& group : groups) {
        AreaMerger area(K[group[0]]);
        done[group[0]] = 1;
        std::vector<int> waiting;
        for (size_t g = 1; g < group.size(); ++g)
            if (!done[group[g]]) waiting.push_back(group[g]);
        while (!waiting.empty()) {
            size_t kept = 0;
            for (int gi : waiting) {
                if (!done[gi] && area.Touches(K[gi])) {
                    area.Add(K[gi], FirstIndexByArc(K[gi]));
                    done[gi] = 1;
                } else if (!done[gi]) {
                    waiting[kept++] = gi;
                }
            }
            // A polygon whose shared arcs were all taken by others (an arc shared by more than two
            // polygons) can never join: stop instead of looping for ever.
            if (kept == waiting.size()) break;
            waiting.resize(kept);
        }
        merged.push_back(area.Result());
    }

    // 6. Output: one ring per loop of every merged key string. Merging drops the ring ends of the
    //    areas it joins, so a key string may hold several loops one after the other, or one loop
    //    spliced into another; the arcs are therefore chained by their end points, and every chain
    //    that closes (or is left over at a ring end) is a ring of its own.
    CGeoArray array(50);
    std::vector<int> sizes;
    struct Chain {
        size_t firstArc;
        POINT start, end;
        std::vector<POINT> pts;
    };
    std::vector<std::pair<size_t, std::vector<POINT>>> rings;  // (first arc index, points)
    for (const Keys& u : merged) {
        rings.clear();
        std::vector<Chain> open;
        auto flush = [&]() {
            for (Chain& c : open) rings.emplace_back(c.firstArc, std::move(c.pts));
            open.clear();
        };
        for (size_t i = 0; i <= u.size(); ++i) {
            if (i == u.size() || IsRingEnd(u[i])) {
                flush();
                continue;
            }
            CGeoPLine* arc = m_pLayer ? dynamic_cast<CGeoPLine*>(m_pLayer->FindObj(AbsKey(u[i]))) : nullptr;
            const int n = arc ? arc->GetPoints() : 0;
            if (n <= 0) continue;  // an arc not found contributes nothing
            std::vector<POINT> pts(static_cast<size_t>(n));
            for (int k = 0; k < n; ++k) pts[k] = arc->GetPoint(k);
            if (u[i] < 0) SwapCoordinate(pts.data(), n);
            if (open.empty() || !(open.back().end.x == pts[0].x && open.back().end.y == pts[0].y))
                open.push_back({i, pts[0], pts[0], {}});
            Chain& c = open.back();
            c.pts.insert(c.pts.end(), pts.begin(), pts.end());
            c.end = pts.back();
            if (c.end.x == c.start.x && c.end.y == c.start.y) {
                rings.emplace_back(c.firstArc, std::move(c.pts));
                open.pop_back();
            }
        }
        std::stable_sort(rings.begin(), rings.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (auto& ring : rings) {
            array.Add(ring.second.data(), static_cast<int>(ring.second.size()));
            sizes.push_back(static_cast<int>(ring.second.size()));
        }
    }

    // 7.
    ringCount = static_cast<int>(sizes.size());
    *ringSizes = new int[sizes.size()];
    std::copy(sizes.begin(), sizes.end(), *ringSizes);
    *points = array.GetData();
    return 1;
}
