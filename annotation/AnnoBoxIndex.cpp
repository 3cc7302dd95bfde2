#include "annotation/AnnoBoxIndex.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <unordered_map>
#include <vector>

namespace {

// Beyond this many cells across, a box is kept aside rather than filed in every cell it spans.
const int64_t kMaxSpan = 16;
// Coordinates are kept this far inside the 32-bit range; a box reaching past it is kept aside, since
// clamped corners near the limits no longer follow the margin bound used below.
const int64_t kSafe = (int64_t(1) << 30);

struct Extent {
    int64_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

// The extent of the box's corners without margin, as the collision grid ranges it.
Extent ExtentOf(const tagANNORECT& box) {
    POINT pts[4];
    GetAnnoRectCorners(box, 0, pts);
    Extent e;
    e.x0 = e.x1 = pts[0].x;
    e.y0 = e.y1 = pts[0].y;
    for (int i = 1; i < 4; ++i) {
        e.x0 = std::min<int64_t>(e.x0, pts[i].x);
        e.x1 = std::max<int64_t>(e.x1, pts[i].x);
        e.y0 = std::min<int64_t>(e.y0, pts[i].y);
        e.y1 = std::max<int64_t>(e.y1, pts[i].y);
    }
    return e;
}

int64_t FloorDiv(int64_t v, int64_t s) {
    int64_t q = v / s;
    if ((v % s != 0) && ((v < 0) != (s < 0))) --q;
    return q;
}

uint64_t CellKey(int64_t ix, int64_t iy) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(ix)) << 32) | static_cast<uint32_t>(iy);
}

}  // namespace

struct CAnnoBoxIndex::Impl {
    struct Item {
        tagANNORECT* box = nullptr;  // NULL for a free slot
        Extent extent;
        CellRange cells;
        bool aside = false;
        mutable unsigned long long stamp = 0;
    };
    std::vector<Item> items;
    std::vector<size_t> freeSlots;
    std::unordered_map<const tagANNORECT*, size_t> slotOf;
    std::unordered_map<uint64_t, std::vector<size_t>> buckets;
    std::vector<size_t> aside;
    int64_t cellSize = 1;
    size_t builtFor = 0;  // the number of boxes when the cell size was last read
    mutable unsigned long long stamp = 0;  // marks the boxes one query has tried

    bool Spans(const Extent& e, int64_t& ix0, int64_t& iy0, int64_t& ix1, int64_t& iy1) const {
        ix0 = FloorDiv(e.x0, cellSize);
        ix1 = FloorDiv(e.x1, cellSize);
        iy0 = FloorDiv(e.y0, cellSize);
        iy1 = FloorDiv(e.y1, cellSize);
        return ix1 - ix0 < kMaxSpan && iy1 - iy0 < kMaxSpan;
    }

    void File(size_t slot) {
        Item& it = items[slot];
        const Extent& e = it.extent;
        int64_t ix0, iy0, ix1, iy1;
        const bool outside = e.x0 < -kSafe || e.y0 < -kSafe || e.x1 > kSafe || e.y1 > kSafe;
        it.aside = outside || !Spans(e, ix0, iy0, ix1, iy1);
        if (it.aside) {
            aside.push_back(slot);
            return;
        }
        for (int64_t ix = ix0; ix <= ix1; ++ix)
            for (int64_t iy = iy0; iy <= iy1; ++iy) buckets[CellKey(ix, iy)].push_back(slot);
    }

    void Unfile(size_t slot) {
        const Item& it = items[slot];
        if (it.aside) {
            aside.erase(std::find(aside.begin(), aside.end(), slot));
            return;
        }
        int64_t ix0, iy0, ix1, iy1;
        Spans(it.extent, ix0, iy0, ix1, iy1);
        for (int64_t ix = ix0; ix <= ix1; ++ix)
            for (int64_t iy = iy0; iy <= iy1; ++iy) {
                auto b = buckets.find(CellKey(ix, iy));
                std::vector<size_t>& v = b->second;
                v.erase(std::find(v.begin(), v.end(), slot));
                if (v.empty()) buckets.erase(b);
            }
    }

    // Reads the cell size from the boxes held (their mean extent) and files every box again.
    void Refile() {
        double sum = 0.0;
        for (const Item& it : items)
            if (it.box) sum += static_cast<double>(std::max(it.extent.x1 - it.extent.x0, it.extent.y1 - it.extent.y0));
        const double mean = slotOf.empty() ? 1.0 : sum / static_cast<double>(slotOf.size());
        cellSize = std::max<int64_t>(1, static_cast<int64_t>(std::min(mean, static_cast<double>(kSafe))));
        buckets.clear();
        aside.clear();
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i].box) File(i);
        builtFor = slotOf.size();
    }

    bool Answers(const Item& it, const tagANNORECT& box, int margin, const CellRange& cells, int columns) const {
        if (it.stamp == stamp) return false;
        it.stamp = stamp;
        return ShareCell(it.cells, cells, columns) && AnnoRectsIntersect(box, *it.box, margin);
    }
};

CAnnoBoxIndex::CAnnoBoxIndex() : m_pImpl(new Impl) {}

CAnnoBoxIndex::~CAnnoBoxIndex() = default;

void CAnnoBoxIndex::Clear() { m_pImpl.reset(new Impl); }

void CAnnoBoxIndex::Add(tagANNORECT* pBox, const CellRange& cells) {
    Impl& d = *m_pImpl;
    if (!pBox || d.slotOf.count(pBox)) return;
    size_t slot;
    if (!d.freeSlots.empty()) {
        slot = d.freeSlots.back();
        d.freeSlots.pop_back();
    } else {
        slot = d.items.size();
        d.items.emplace_back();
    }
    Impl::Item& it = d.items[slot];
    it.box = pBox;
    it.extent = ExtentOf(*pBox);
    it.cells = cells;
    it.stamp = d.stamp;
    d.slotOf.emplace(pBox, slot);
    // The cell size is read at the first box and whenever the number of boxes has doubled since.
    if (d.slotOf.size() >= 2 * d.builtFor)
        d.Refile();
    else
        d.File(slot);
}

void CAnnoBoxIndex::Remove(const tagANNORECT* pBox) {
    Impl& d = *m_pImpl;
    auto at = d.slotOf.find(pBox);
    if (at == d.slotOf.end()) return;
    const size_t slot = at->second;
    d.Unfile(slot);
    d.items[slot].box = nullptr;
    d.freeSlots.push_back(slot);
    d.slotOf.erase(at);
}

bool CAnnoBoxIndex::ShareCell(const CellRange& a, const CellRange& b, int columns) {
    if (a.c0 <= b.c1 && b.c0 <= a.c1 && a.r0 <= b.r1 && b.r0 <= a.r1) return true;
    // Row r's cell past the last column is row r + 1's first cell.
    if (a.c1 == columns && b.c0 == 0 && std::max(a.r0 + 1, b.r0) <= std::min(a.r1 + 1, b.r1)) return true;
    if (b.c1 == columns && a.c0 == 0 && std::max(b.r0 + 1, a.r0) <= std::min(b.r1 + 1, a.r1)) return true;
    return false;
}

int CAnnoBoxIndex::Intersects(const tagANNORECT& box, int margin, const CellRange& cells, int columns) const {
    const Impl& d = *m_pImpl;
    if (d.slotOf.empty()) return 0;
    ++d.stamp;
    // A box tried with a margin m becomes a ring within 5|m| + 2 of its unmargined extent (the margin
    // grows the corners, the turn about the moved first corner shifts them, rounding adds one), so two
    // boxes can only collide when their extents come within twice that of each other.
    const int64_t reach = 2 * (5 * std::llabs(static_cast<long long>(margin)) + 2);
    Extent q = ExtentOf(box);
    q.x0 = std::max(q.x0 - reach, -2 * kSafe);
    q.y0 = std::max(q.y0 - reach, -2 * kSafe);
    q.x1 = std::min(q.x1 + reach, 2 * kSafe);
    q.y1 = std::min(q.y1 + reach, 2 * kSafe);
    for (size_t slot : d.aside)
        if (d.Answers(d.items[slot], box, margin, cells, columns)) return 1;
    const int64_t ix0 = FloorDiv(q.x0, d.cellSize), ix1 = FloorDiv(q.x1, d.cellSize);
    const int64_t iy0 = FloorDiv(q.y0, d.cellSize), iy1 = FloorDiv(q.y1, d.cellSize);
    const double cellsSpanned = static_cast<double>(ix1 - ix0 + 1) * static_cast<double>(iy1 - iy0 + 1);
    if (cellsSpanned > static_cast<double>(d.buckets.size())) {
        // A query wider than the filled cells: the filled cells are fewer to look at.
        for (const auto& b : d.buckets) {
            const int64_t ix = static_cast<int32_t>(b.first >> 32), iy = static_cast<int32_t>(b.first & 0xffffffffu);
            if (ix < ix0 || ix > ix1 || iy < iy0 || iy > iy1) continue;
            for (size_t slot : b.second)
                if (d.Answers(d.items[slot], box, margin, cells, columns)) return 1;
        }
        return 0;
    }
    for (int64_t ix = ix0; ix <= ix1; ++ix)
        for (int64_t iy = iy0; iy <= iy1; ++iy) {
            auto b = d.buckets.find(CellKey(ix, iy));
            if (b == d.buckets.end()) continue;
            for (size_t slot : b->second)
                if (d.Answers(d.items[slot], box, margin, cells, columns)) return 1;
        }
    return 0;
}
