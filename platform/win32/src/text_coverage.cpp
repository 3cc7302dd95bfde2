// Coverage of text kept for drawing it again.
#include "text_coverage.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace win32 {
namespace gdi {
namespace {

// Masks wider or taller than this are not kept: such text is rare and each mask would be large.
const int kMaxSide = 1024;
// The cache starts afresh beyond this many bytes of masks or this many entries. Turned characters each
// make an entry per angle, so the count holds a view of some ten thousand turned labels of a few
// characters each; the bytes bound the memory.
const size_t kMaxBytes = size_t(32) << 20;
const size_t kMaxEntries = 65536;

// The nonzero part of a mask; empty when all of it is zero.
Mask Trim(const Mask& m) {
    int l = m.w, r = 0, t = m.h, b = 0;
    for (int y = 0; y < m.h; ++y) {
        const uint8_t* row = m.Row(m.y0 + y);
        for (int x = 0; x < m.w; ++x) {
            if (!row[x]) continue;
            l = std::min(l, x);
            r = std::max(r, x + 1);
            t = std::min(t, y);
            b = y + 1;
        }
    }
    Mask out;
    if (l >= r) return out;
    out.x0 = m.x0 + l;
    out.y0 = m.y0 + t;
    out.w = r - l;
    out.h = b - t;
    out.stride = out.w;
    out.data.resize((size_t)out.w * out.h);
    for (int y = 0; y < out.h; ++y) std::memcpy(out.Row(out.y0 + y), m.Row(out.y0 + y) + l, (size_t)out.w);
    return out;
}

}  // namespace

const TextCoverage* TextCoverageCache::Insert(const std::string& key, const Shape& outlines, double ox, double oy) {
    if (entries_.size() >= kMaxEntries || bytes_ >= kMaxBytes) {
        entries_.clear();
        bytes_ = 0;
    }
    Entry& e = entries_[key];
    bytes_ += key.size() + sizeof e;
    if (outlines.empty()) return nullptr;
    // The box and the fill a direct fill of the whole text makes (FillSolidShape: ShapeBox grown by 2).
    RECT box = ShapeBox(outlines, 2);
    if ((int64_t)box.right - box.left > kMaxSide || (int64_t)box.bottom - box.top > kMaxSide) return nullptr;
    Mask m;
    m.x0 = box.left;
    m.y0 = box.top;
    m.w = box.right - box.left;
    m.h = box.bottom - box.top;
    m.stride = m.w;
    m.data.assign((size_t)m.stride * m.h, 0);
    FillIntoMask(m, outlines, WINDING, true);
    // A point lies at the origin plus its glyph coordinates (gx, gy) turned, less half a pixel: on each
    // axis the two terms gx cos + gy sin (signs aside) add up in size to no more than the point's
    // distance from the origin, so every partial sum lies within that distance and the half pixel of the
    // origin (and a margin for the rounding).
    double far2 = 0;
    for (const PathPoint& p : outlines) {
        const double dx = p.x + 0.5 - ox, dy = p.y + 0.5 - oy;
        far2 = std::max(far2, dx * dx + dy * dy);
    }
    e.kept = true;
    e.coverage.ox = ox;
    e.coverage.oy = oy;
    e.coverage.reach = std::sqrt(far2) + 1;
    e.coverage.box = box;
    e.coverage.ink = Trim(m);
    bytes_ += e.coverage.ink.data.size();
    return &e.coverage;
}

TextCoverageCache& SharedTextCoverage() {
    static auto* cache = new TextCoverageCache();
    return *cache;
}

}  // namespace gdi
}  // namespace win32
