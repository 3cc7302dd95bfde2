// Conversions back to 32-bit coordinates that saturate instead of overflowing. Shapes compute sums and
// products in 64 bits or in doubles and return to LONG through these, so extreme coordinates clamp to the
// range rather than wrap.
#pragma once

#include <afx/Archive.h>
#include <afx/Geometry.h>

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

// p moved by (dx, dy), each coordinate clamped to the LONG range.
inline CPoint Offset(CPoint p, LONGLONG dx, LONGLONG dy) { return CPoint(ClampLong(p.x + dx), ClampLong(p.y + dy)); }

// A point in a record: x, then y, each a 32-bit integer.
inline void WritePoint(CArchive& ar, const CPoint& p) { ar << static_cast<LONG>(p.x) << static_cast<LONG>(p.y); }
inline void ReadPoint(CArchive& ar, CPoint& p) {
    LONG x = 0, y = 0;
    ar >> x >> y;
    p = CPoint(x, y);
}

}  // namespace geomath
