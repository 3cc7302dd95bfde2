// Coverage of text kept for drawing it again.
#include "text_coverage.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

#include "text_font.h"

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

}  // namespace

bool TurnedCoverage(const Shape& outlines, const RECT& box, Mask* ink) {
    const int64_t w = (int64_t)box.right - box.left, h = (int64_t)box.bottom - box.top;
    if (outlines.empty() || w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide) return false;
    FT_Library lib = FreeTypeLibrary();
    if (!lib) return false;
    // Kept between calls: text fills one small outline after another.
    static thread_local std::vector<FT_Vector> points;
    static thread_local std::vector<char> tags;
    static thread_local std::vector<short> ends;
    static thread_local std::vector<uint8_t> pixels;
    points.clear();
    tags.clear();
    ends.clear();
    // Device coordinates (pixel centres on integers, y down) to the bitmap's (26.6 fixed point, pixel
    // corners, y up from its bottom edge), each by one addition: outlines that come out as the same
    // numbers moved by whole pixels, with their box, give the very same sums, and FreeType's integer
    // rasteriser the same coverage.
    const double toX = 0.5 - box.left, toY = (double)box.bottom - 0.5;
    bool open = false;
    for (size_t i = 0; i < outlines.size(); ++i) {
        const BYTE t = outlines[i].type & ~PT_CLOSEFIGURE;
        if (t == PT_MOVETO) {
            if (open) ends.push_back((short)(points.size() - 1));
            open = true;
        } else if (!open || (t == PT_BEZIERTO && i + 2 >= outlines.size())) {
            return false;  // a figure that Cairo would start for itself, or a curve cut short
        }
        const size_t n = t == PT_BEZIERTO ? 3 : 1;
        for (size_t k = 0; k < n; ++k) {
            const PathPoint& p = outlines[i + k];
            const double x = (p.x + toX) * 64, y = (toY - p.y) * 64;
            if (!(std::fabs(x) < 1e9 && std::fabs(y) < 1e9)) return false;
            points.push_back(FT_Vector{(FT_Pos)std::llround(x), (FT_Pos)std::llround(y)});
            tags.push_back(k + 1 < n ? FT_CURVE_TAG_CUBIC : FT_CURVE_TAG_ON);
        }
        i += n - 1;
        if (points.size() > SHRT_MAX) return false;
        if (outlines[i].type & PT_CLOSEFIGURE) {
            ends.push_back((short)(points.size() - 1));
            open = false;
        }
    }
    if (open) ends.push_back((short)(points.size() - 1));
    FT_Outline o{};
    o.n_contours = (short)ends.size();
    o.n_points = (short)points.size();
    o.points = points.data();
    o.tags = tags.data();
    o.contours = ends.data();
    o.flags = FT_OUTLINE_NONE;  // the nonzero rule
    pixels.assign((size_t)w * h, 0);
    FT_Bitmap bm{};
    bm.rows = (unsigned)h;
    bm.width = (unsigned)w;
    bm.pitch = (int)w;  // rows from the top
    bm.buffer = pixels.data();
    bm.num_grays = 256;
    bm.pixel_mode = FT_PIXEL_MODE_GRAY;
    if (FT_Outline_Get_Bitmap(lib, &o, &bm) != 0) return false;
    *ink = NonzeroPart(pixels.data(), (int)w, box.left, box.top, (int)w, (int)h);
    return true;
}

const TextCoverage* TextCoverageCache::Insert(const std::string& key, const Shape& outlines, double ox, double oy,
                                              bool turned) {
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
    if (!turned || !TurnedCoverage(outlines, box, &e.coverage.ink)) e.coverage.ink = FillCoverage(outlines, box);
    bytes_ += e.coverage.ink.data.size();
    return &e.coverage;
}

TextCoverageCache& SharedTextCoverage() {
    static auto* cache = new TextCoverageCache();
    return *cache;
}

}  // namespace gdi
}  // namespace win32
