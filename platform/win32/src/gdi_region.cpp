#include "gdi_region.h"

#include <algorithm>

#include "win32/wingdi.h"

namespace win32 {
namespace gdi {
namespace {

// Combines two sorted span lists by a boolean operation on "inside a" and "inside b".
std::vector<Span> CombineSpans(const std::vector<Span>& a, const std::vector<Span>& b, int mode) {
    std::vector<int> xs;
    xs.reserve(2 * (a.size() + b.size()));
    for (const Span& s : a) { xs.push_back(s.x1); xs.push_back(s.x2); }
    for (const Span& s : b) { xs.push_back(s.x1); xs.push_back(s.x2); }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    std::vector<Span> out;
    size_t ia = 0, ib = 0;
    for (size_t i = 0; i + 1 < xs.size(); ++i) {
        int x1 = xs[i], x2 = xs[i + 1];
        while (ia < a.size() && a[ia].x2 <= x1) ++ia;
        while (ib < b.size() && b[ib].x2 <= x1) ++ib;
        bool inA = ia < a.size() && a[ia].x1 <= x1;
        bool inB = ib < b.size() && b[ib].x1 <= x1;
        bool in = false;
        switch (mode) {
            case RGN_AND: in = inA && inB; break;
            case RGN_OR: in = inA || inB; break;
            case RGN_XOR: in = inA != inB; break;
            case RGN_DIFF: in = inA && !inB; break;
            default: in = inA; break;
        }
        if (!in) continue;
        if (!out.empty() && out.back().x2 == x1)
            out.back().x2 = x2;
        else
            out.push_back({x1, x2});
    }
    return out;
}

const std::vector<Span> kNoSpans;

}  // namespace

Region Region::FromRect(int left, int top, int right, int bottom) {
    Region r;
    if (left < right && top < bottom) r.bands_.push_back({top, bottom, {{left, right}}});
    return r;
}

Region Region::FromMask(const uint8_t* mask, int stride, int x0, int y0, int w, int h) {
    Region r;
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = mask + (size_t)y * stride;
        std::vector<Span> spans;
        int x = 0;
        while (x < w) {
            while (x < w && !row[x]) ++x;
            if (x >= w) break;
            int s = x;
            while (x < w && row[x]) ++x;
            spans.push_back({x0 + s, x0 + x});
        }
        if (!spans.empty()) r.AppendBand(y0 + y, y0 + y + 1, std::move(spans));
    }
    return r;
}

void Region::AppendBand(int y1, int y2, std::vector<Span>&& spans) {
    if (spans.empty() || y1 >= y2) return;
    if (!bands_.empty() && bands_.back().y2 == y1 && bands_.back().spans == spans) {
        bands_.back().y2 = y2;
        return;
    }
    bands_.push_back({y1, y2, std::move(spans)});
}

Region Region::Combine(const Region& a, const Region& b, int mode) {
    if (mode == RGN_COPY) return a;
    std::vector<int> ys;
    ys.reserve(2 * (a.bands_.size() + b.bands_.size()));
    for (const Band& band : a.bands_) { ys.push_back(band.y1); ys.push_back(band.y2); }
    for (const Band& band : b.bands_) { ys.push_back(band.y1); ys.push_back(band.y2); }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    Region out;
    size_t ia = 0, ib = 0;
    for (size_t i = 0; i + 1 < ys.size(); ++i) {
        int y1 = ys[i], y2 = ys[i + 1];
        while (ia < a.bands_.size() && a.bands_[ia].y2 <= y1) ++ia;
        while (ib < b.bands_.size() && b.bands_[ib].y2 <= y1) ++ib;
        const std::vector<Span>& sa = (ia < a.bands_.size() && a.bands_[ia].y1 <= y1) ? a.bands_[ia].spans : kNoSpans;
        const std::vector<Span>& sb = (ib < b.bands_.size() && b.bands_[ib].y1 <= y1) ? b.bands_[ib].spans : kNoSpans;
        if (sa.empty() && sb.empty()) continue;
        out.AppendBand(y1, y2, CombineSpans(sa, sb, mode));
    }
    return out;
}

RECT Region::Box() const {
    RECT rc{0, 0, 0, 0};
    if (bands_.empty()) return rc;
    rc.top = bands_.front().y1;
    rc.bottom = bands_.back().y2;
    rc.left = bands_.front().spans.front().x1;
    rc.right = bands_.front().spans.back().x2;
    for (const Band& b : bands_) {
        rc.left = std::min<LONG>(rc.left, b.spans.front().x1);
        rc.right = std::max<LONG>(rc.right, b.spans.back().x2);
    }
    return rc;
}

int Region::Complexity() const {
    if (bands_.empty()) return NULLREGION;
    if (bands_.size() == 1 && bands_[0].spans.size() == 1) return SIMPLEREGION;
    return COMPLEXREGION;
}

bool Region::Contains(int x, int y) const {
    for (const Band& b : bands_) {
        if (y < b.y1) return false;
        if (y >= b.y2) continue;
        for (const Span& s : b.spans) {
            if (x < s.x1) return false;
            if (x < s.x2) return true;
        }
        return false;
    }
    return false;
}

bool Region::Intersects(const RECT& rc) const {
    bool hit = false;
    ForEachRectIn(rc.left, rc.top, rc.right, rc.bottom, [&](int, int, int, int) { hit = true; });
    return hit;
}

void Region::Offset(int dx, int dy) {
    // Saturating: pixels pushed past the int range pile up at its end instead of wrapping.
    auto add = [](int a, int d) {
        int64_t v = (int64_t)a + d;
        return v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : (int)v;
    };
    Region out;
    for (const Band& b : bands_) {
        std::vector<Span> spans;
        for (const Span& s : b.spans) {
            Span t{add(s.x1, dx), add(s.x2, dx)};
            if (t.x1 < t.x2) spans.push_back(t);
        }
        out.AppendBand(add(b.y1, dy), add(b.y2, dy), std::move(spans));
    }
    *this = std::move(out);
}

bool Region::operator==(const Region& o) const {
    if (bands_.size() != o.bands_.size()) return false;
    for (size_t i = 0; i < bands_.size(); ++i) {
        if (bands_[i].y1 != o.bands_[i].y1 || bands_[i].y2 != o.bands_[i].y2 || !(bands_[i].spans == o.bands_[i].spans))
            return false;
    }
    return true;
}

std::vector<RECT> Region::Rects() const {
    std::vector<RECT> out;
    for (const Band& b : bands_)
        for (const Span& s : b.spans) out.push_back({s.x1, b.y1, s.x2, b.y2});
    return out;
}

}  // namespace gdi
}  // namespace win32
