// Helpers shared by the predicate sources; not installed.
#pragma once

#include "GeomTypes.h"

#include <climits>
#include <cmath>
#include <cstdint>

namespace corvanegeom {

constexpr double kHalfPi = 1.57079632679485;
constexpr double kPi = 3.1415926535897;
constexpr double kThreeHalfPi = 4.712388980384549;
constexpr double kTwoPi = 6.2831853071794;

inline bool SamePoint(const tagPOINT* p, const tagPOINT* q) { return p->x == q->x && p->y == q->y; }

// Sign of (p - s) x (t - s), exact for every 32-bit input: -1, 0 or 1.
inline int CrossSign(const tagPOINT* p, const tagPOINT* s, const tagPOINT* t) {
    __int128 v = static_cast<__int128>(static_cast<int64_t>(p->x) - s->x) * (static_cast<int64_t>(t->y) - s->y) -
                 static_cast<__int128>(static_cast<int64_t>(p->y) - s->y) * (static_cast<int64_t>(t->x) - s->x);
    return v > 0 ? 1 : (v < 0 ? -1 : 0);
}

// Truncation toward zero into a 32-bit integer, clamped to its range (NaN gives 0).
inline LONG TruncToLong(double v) {
    if (!(v == v)) return 0;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return static_cast<LONG>(v);
}

inline LONG ClampToLong(int64_t v) {
    return v > INT32_MAX ? INT32_MAX : (v < INT32_MIN ? INT32_MIN : static_cast<LONG>(v));
}

inline double Sq(double v) { return v * v; }

}  // namespace corvanegeom
