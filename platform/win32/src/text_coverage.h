// Coverage of text kept for drawing it again. Private to win32.
//
// Text drawn again with the same outlines moved by whole pixels has the same coverage moved likewise, as
// long as the device coordinates of the outlines come out as the same numbers moved by those pixels. The
// cache keeps the mask of each text geometry seen, made exactly as a direct fill of its outlines makes
// it, so that drawing the text again composites that mask instead of building and filling the outlines
// afresh. Upright text is laid from a pixel corner and kept as laid from the origin; turned text is kept
// as laid from where it was first drawn, with how far its coordinates reach from there, so that a caller
// can tell whether another origin gives the same numbers moved (see DrawCachedText).
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>

#include "gdi_internal.h"

namespace win32 {
namespace gdi {

struct TextCoverage {
    RECT box{0, 0, 0, 0};  // the mask a direct fill would make: the outlines' ShapeBox grown by 2
    Mask ink;              // its nonzero part (empty when nothing is covered)
    double ox = 0, oy = 0;  // the baseline origin the outlines were laid from
    double reach = 0;       // how far from the origin, on either axis, laying out any point can go
};

// The antialiased nonzero-rule coverage of turned text: the outlines, lying inside `box` (their ShapeBox
// grown by 2), rasterised by FreeType with exact areas, as FreeType draws a font's own turned glyphs, at
// a fraction of the cost of Cairo's sampled fill. Into `ink`, trimmed to its nonzero part. False when
// the box is larger than kept coverage may be, or the outlines have more points than FreeType takes or
// a figure without its own start, and Cairo's fill serves; the answer depends on the outlines alone, so
// a direct fill and a kept coverage of the same outlines agree.
bool TurnedCoverage(const Shape& outlines, const RECT& box, Mask* ink);

class TextCoverageCache {
public:
    // The antialiased coverage filled with the nonzero rule from the outlines `build` lays from the
    // baseline origin (ox, oy) (device pixels), cached under `key`, which must name everything the
    // outlines depend on but the whole pixels of that origin; `build`, `turned` and the origin count only
    // for a new key. Turned text is rasterised by TurnedCoverage where it can be, as its direct fill is.
    // nullptr when there are no outlines or they span too many pixels to keep. The coverage stays valid
    // until the next call.
    template <class Build>
    const TextCoverage* Find(const std::string& key, double ox, double oy, bool turned, Build build) {
        auto it = entries_.find(key);
        if (it != entries_.end()) return it->second.kept ? &it->second.coverage : nullptr;
        return Insert(key, build(), ox, oy, turned);
    }

private:
    struct Entry {
        bool kept = false;
        TextCoverage coverage;
    };
    const TextCoverage* Insert(const std::string& key, const Shape& outlines, double ox, double oy, bool turned);

    std::unordered_map<std::string, Entry> entries_;
    size_t bytes_ = 0;
};

// The one cache the text calls share.
TextCoverageCache& SharedTextCoverage();

}  // namespace gdi
}  // namespace win32
