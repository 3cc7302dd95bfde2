// A set of device pixels kept as horizontal bands of disjoint spans: the body of a GDI region and of
// a DC's clip. Exact integer arithmetic; every operation gives the canonical form (bands sorted and
// coalesced, spans sorted, disjoint and non-touching), so two equal sets compare equal.
#pragma once

#include <cstdint>
#include <vector>

#include "win32/wintypes.h"

namespace win32 {
namespace gdi {

struct Span {
    int x1, x2;  // [x1, x2)
    bool operator==(const Span& o) const { return x1 == o.x1 && x2 == o.x2; }
};

struct Band {
    int y1, y2;  // [y1, y2)
    std::vector<Span> spans;
};

class Region {
public:
    Region() = default;
    // [left, right) x [top, bottom); empty when either side is empty (callers normalise first).
    static Region FromRect(int left, int top, int right, int bottom);
    // The pixels whose mask byte is nonzero; mask rows are `stride` bytes apart, pixel (x0, y0) first.
    static Region FromMask(const uint8_t* mask, int stride, int x0, int y0, int w, int h);
    // RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF (a - b); RGN_COPY gives a.
    static Region Combine(const Region& a, const Region& b, int mode);

    bool Empty() const { return bands_.empty(); }
    RECT Box() const;         // (0, 0, 0, 0) when empty
    int Complexity() const;   // NULLREGION, SIMPLEREGION or COMPLEXREGION
    bool Contains(int x, int y) const;
    bool Intersects(const RECT& rc) const;  // rc normalised, right/bottom exclusive
    void Offset(int dx, int dy);
    bool operator==(const Region& o) const;
    const std::vector<Band>& Bands() const { return bands_; }
    std::vector<RECT> Rects() const;
    // Calls f(left, top, right, bottom) for every rectangle of the region that meets the box.
    template <class F>
    void ForEachRectIn(int left, int top, int right, int bottom, F f) const {
        for (const Band& b : bands_) {
            if (b.y2 <= top) continue;
            if (b.y1 >= bottom) break;
            int y1 = b.y1 > top ? b.y1 : top, y2 = b.y2 < bottom ? b.y2 : bottom;
            for (const Span& s : b.spans) {
                int x1 = s.x1 > left ? s.x1 : left, x2 = s.x2 < right ? s.x2 : right;
                if (x1 < x2) f(x1, y1, x2, y2);
            }
        }
    }

private:
    void AppendBand(int y1, int y2, std::vector<Span>&& spans);  // coalesces with the previous band
    std::vector<Band> bands_;
};

}  // namespace gdi
}  // namespace win32
