// Coverage of upright text kept for drawing it again. Private to win32.
//
// Upright text drawn at another whole-pixel position is the same outlines moved by whole pixels, so its
// coverage is the same mask moved likewise. The cache keeps the mask of each text geometry seen, made
// exactly as a direct fill of the outlines at the origin makes it, so that drawing the text again
// composites that mask instead of building and filling the outlines afresh.
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
};

class TextCoverageCache {
public:
    // The antialiased coverage filled from the outlines `build` makes (device pixels, text origin at
    // 0, 0) with the nonzero rule, cached under `key`, which must name everything the outlines depend
    // on; `build` is called only for a new key. nullptr when there are no outlines or they span too many
    // pixels to keep. The coverage stays valid until the next call.
    template <class Build>
    const TextCoverage* Find(const std::string& key, Build build) {
        auto it = entries_.find(key);
        if (it != entries_.end()) return it->second.kept ? &it->second.coverage : nullptr;
        return Insert(key, build());
    }

private:
    struct Entry {
        bool kept = false;
        TextCoverage coverage;
    };
    const TextCoverage* Insert(const std::string& key, const Shape& outlines);

    std::unordered_map<std::string, Entry> entries_;
    size_t bytes_ = 0;
};

// The one cache the text calls share.
TextCoverageCache& SharedTextCoverage();

}  // namespace gdi
}  // namespace win32
