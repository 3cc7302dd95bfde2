// Conversions back to 32-bit coordinates that saturate instead of overflowing. Shapes compute sums and
// products in 64 bits or in doubles and return to LONG through these, so extreme coordinates clamp to the
// range rather than wrap.
#pragma once

#include "win32/wintypes.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace geomath {

// The value clamped to the LONG range.
inline LONG ClampLong(LONGLONG v) { return static_cast<LONG>(std::clamp<LONGLONG>(v, INT_MIN, INT_MAX)); }

// The value truncated toward zero and clamped to the LONG range; NaN gives 0.
inline LONG TruncLong(double v) {
    if (std::isnan(v)) return 0;
    if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
    if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
    return static_cast<LONG>(v);
}

}  // namespace geomath
