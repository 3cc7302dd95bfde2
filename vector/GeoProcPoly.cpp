#include "vector/GeoProcPoly.h"

#include "core/GeoVectorLayer.h"
#include "vector/GeoPLine.h"

#include <ostrel/GeoArray.h>
#include <ostrel/Misc.h>

#include <algorithm>
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
    //    one, found through an index of the selection's arcs.
    std::unordered_map<UINT, std::vector<LONG>> selectedAt;  // arc -> distinct selected positions
    for (int s = 0; s < selection.GetSize(); ++s) {
        const CGeoKeyString* keys = KeysAt(selection[s]);
        if (!keys) continue;
        for (int i = 0; i < keys->GetSize(); ++i) {
            LONG v = (*keys)[i];
            if (IsRingEnd(v)) continue;
            std::vector<LONG>& list = selectedAt[AbsKey(v)];
            if (std::find(list.begin(), list.end(), selection[s]) == list.end()) list.push_back(selection[s]);
        }
    }
    std::vector<LONG> candidates;
    for (int s = 0; s < selection.GetSize(); ++s) {
        const CGeoKeyString* keys = KeysAt(selection[s]);
        if (!keys) continue;
        bool joined = false;
        for (int i = 0; i < keys->GetSize() && !joined; ++i) {
            LONG v = (*keys)[i];
            if (IsRingEnd(v)) continue;
            for (LONG q : selectedAt[AbsKey(v)])
                if (q != selection[s]) joined = true;
        }
        if (joined) candidates.push_back(selection[s]);
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
    std::vector<std::unordered_map<UINT, int>> indexCache(static_cast<size_t>(S));
    for (const std::vector<int>& group : groups) {
        Keys u = K[group[0]];
        done[group[0]] = 1;
        size_t remaining = 0;
        for (size_t g = 1; g < group.size(); ++g)
            if (!done[group[g]]) ++remaining;
        while (remaining > 0) {
            size_t before = remaining;
            for (size_t g = 1; g < group.size(); ++g) {
                int gi = group[g];
                if (done[gi]) continue;
                if (indexCache[gi].empty()) indexCache[gi] = FirstIndexByArc(K[gi]);
                Keys out;
                if (Merge(u, K[gi], indexCache[gi], out)) {
                    u.swap(out);
                    done[gi] = 1;
                    --remaining;
                    std::unordered_map<UINT, int>().swap(indexCache[gi]);
                }
            }
            // A polygon whose shared arcs were all taken by others (an arc shared by more than two
            // polygons) can never join: stop instead of looping for ever.
            if (remaining == before) break;
        }
        merged.push_back(std::move(u));
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
