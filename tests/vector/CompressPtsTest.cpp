// The point thinner: its passes on small hand-checked lines, its refusals, and runs that end with
// few points (those must not read outside the caller's array).
#include "vector/CompressPts.h"

#include "ostrel/Measure.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

using Pts = std::vector<POINT>;

bool SamePoints(const Pts& a, const Pts& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].x != b[i].x || a[i].y != b[i].y) return false;
    return true;
}

std::string Show(const Pts& p) {
    std::string s;
    for (const POINT& q : p) s += "(" + std::to_string(q.x) + "," + std::to_string(q.y) + ")";
    return s;
}

struct Case {
    const char* name;
    double distance, direction;
    int closed;
    Pts in;
    int result;
    Pts out;
};

TEST(CompressPts, TableOfCases) {
    const Case cases[] = {
        {"collinear middle point goes", 1, 0, 0, {{0, 0}, {5, 0}, {10, 0}}, 1, {{0, 0}, {10, 0}}},
        {"point beyond D stays", 1, 0, 0, {{0, 0}, {5, 2}, {10, 0}}, 1, {{0, 0}, {5, 2}, {10, 0}}},
        {"within D and within 0.207 of the chord goes (leaves 2 points)", 10, 0, 0,
         {{0, 0}, {5, 2}, {10, 0}}, 1, {{0, 0}, {10, 0}}},
        {"beyond 0.207 of the chord stays whatever D", 10, 0, 0, {{0, 0}, {5, 3}, {10, 0}}, 1,
         {{0, 0}, {5, 3}, {10, 0}}},
        {"2 points left, then the direction pass and the ring step are skipped", 10, 1, 1,
         {{0, 0}, {5, 2}, {10, 0}}, 1, {{0, 0}, {10, 0}}},
        {"chord split recursively; the first index wins a tie", 1, 0, 0,
         {{0, 0}, {10, 5}, {20, 0}, {30, -5}, {40, 0}}, 1, {{0, 0}, {10, 5}, {30, -5}, {40, 0}}},
        {"zero chord splits at its farthest point", 1, 0, 0,
         {{0, 0}, {10, 0}, {20, 0}, {20, 10}, {0, 0}}, 1, {{0, 0}, {20, 0}, {20, 10}, {0, 0}}},
        {"out and back along a zero chord is a spike", 1, 0, 0, {{0, 0}, {10, 0}, {20, 0}, {0, 0}}, 1,
         {{0, 0}, {0, 0}}},
        {"spike out and back (D = 0)", 0, 1, 0, {{0, 0}, {10, 0}, {20, 0}, {10, 0}, {30, 0}}, 1,
         {{0, 0}, {10, 0}, {30, 0}}},
        {"spike at the end drops only the tip", 0, 1, 0, {{0, 0}, {10, 0}, {20, 5}, {10, 0}}, 1,
         {{0, 0}, {10, 0}, {10, 0}}},
        {"zig-zag next to short segments", 0, 1, 0,
         {{0, 0}, {100, 0}, {200, 0}, {201, 1}, {202, 0}, {300, 0}, {400, 0}}, 1,
         {{0, 0}, {100, 0}, {201, 1}, {300, 0}, {400, 0}}},
        {"closed ring: first vertex to the midpoint of its neighbours", 1, 0, 1,
         {{50, 1}, {100, 0}, {100, 100}, {0, 100}, {0, 0}}, 1,
         {{50, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}}},
        {"closed ring: last vertex to the midpoint of its neighbours", 1, 0, 1,
         {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {1, 50}}, 1,
         {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 50}}},
        {"repeated start: both copies move", 1, 0, 0,
         {{50, 1}, {100, 0}, {100, 100}, {0, 100}, {0, 0}, {50, 1}}, 1,
         {{50, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}, {50, 0}}},
        {"open line with a far start is left alone", 1, 0, 0,
         {{50, 1}, {100, 0}, {100, 100}, {0, 100}, {0, 0}}, 1,
         {{50, 1}, {100, 0}, {100, 100}, {0, 100}, {0, 0}}},
        {"coordinates far apart: the distance is exact (0.71 from the chord goes at D = 1)", 1, 0, 0,
         {{-2000000000, -2000000000}, {2000000000, 1999999999}, {2000000000, 2000000000}}, 1,
         {{-2000000000, -2000000000}, {2000000000, 2000000000}}},
        {"coordinates far apart: 0.71 from the chord stays at D = 0.5", 0.5, 0, 0,
         {{-2000000000, -2000000000}, {2000000000, 1999999999}, {2000000000, 2000000000}}, 1,
         {{-2000000000, -2000000000}, {2000000000, 1999999999}, {2000000000, 2000000000}}},
        {"two points: nothing attempted", 1, 1, 0, {{0, 0}, {5, 5}}, 0, {{0, 0}, {5, 5}}},
        {"both tolerances 0: nothing attempted", 0, 0, 1, {{0, 0}, {5, 0}, {10, 0}}, 0,
         {{0, 0}, {5, 0}, {10, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCompressPts thinner;
        thinner.m_dDistance = c.distance;
        thinner.m_dDirection = c.direction;
        // A heap block of exactly the input's size, so a read outside it trips the sanitizer.
        std::vector<POINT> buf(c.in);
        int n = static_cast<int>(buf.size());
        EXPECT_EQ(thinner.Compress(buf.data(), &n, c.closed), c.result);
        Pts got(buf.begin(), buf.begin() + n);
        EXPECT_TRUE(SamePoints(got, c.out)) << Show(got) << " expected " << Show(c.out);
    }
}

TEST(CompressPts, DefaultToleranceIsZeroAndCopiesCarryBoth) {
    CCompressPts unset;
    EXPECT_EQ(unset.m_dDistance, 0.0);
    EXPECT_EQ(unset.m_dDirection, 0.0);
    POINT pts[] = {{0, 0}, {5, 0}, {10, 0}};
    int n = 3;
    EXPECT_EQ(unset.Compress(pts, &n, 0), 0);
    EXPECT_EQ(n, 3);

    CCompressPts a;
    a.m_dDistance = 2.5;
    a.m_dDirection = 0.5;
    CCompressPts b(a), c;
    c = a;
    EXPECT_EQ(b.m_dDistance, 2.5);
    EXPECT_EQ(b.m_dDirection, 0.5);
    EXPECT_EQ(c.m_dDistance, 2.5);
    EXPECT_EQ(c.m_dDirection, 0.5);
}

TEST(CompressPts, NullArgumentsAttemptNothing) {
    CCompressPts t;
    t.m_dDistance = 1;
    POINT pts[] = {{0, 0}, {5, 0}, {10, 0}};
    int n = 3;
    EXPECT_EQ(t.Compress(nullptr, &n, 0), 0);
    EXPECT_EQ(t.Compress(pts, nullptr, 0), 0);
    EXPECT_EQ(n, 3);
}

// A long noisy run never grows, keeps both ends, and keeps at least two points whatever the
// tolerances, closed or open.
TEST(CompressPts, LongRunsKeepTheirEnds) {
    for (int closed = 0; closed <= 1; ++closed) {
        for (double d : {0.0, 1.0, 50.0, 1e9}) {
            for (double l : {0.0, 1.0, 30.0}) {
                std::vector<POINT> pts;
                unsigned s = 12345;
                for (int i = 0; i < 200; ++i) {
                    s = s * 1103515245u + 12345u;
                    pts.push_back(POINT{i * 7, static_cast<LONG>((s >> 16) % 21) - 10});
                }
                pts.push_back(pts[3]);  // a return to an earlier point
                const POINT first = pts.front(), last = pts.back();
                CCompressPts t;
                t.m_dDistance = d;
                t.m_dDirection = l;
                int n = static_cast<int>(pts.size());
                t.Compress(pts.data(), &n, closed);
                ASSERT_GE(n, 2);
                ASSERT_LE(n, 201);
                if (!closed) {
                    EXPECT_EQ(pts[0].x, first.x);
                    EXPECT_EQ(pts[0].y, first.y);
                    EXPECT_EQ(pts[n - 1].x, last.x);
                    EXPECT_EQ(pts[n - 1].y, last.y);
                }
            }
        }
    }
}

// The distance pass split by plain recursion, every distance from the library's exact measure.
void SplitByReference(const Pts& p, int a, int b, double D, std::vector<char>& keep) {
    if (b - a < 2) return;
    const double chord = Distance(p[a], p[b]);
    int c = a + 1;
    double e = PointToStraightLine(p[c], p[a], p[b], chord);
    for (int i = a + 2; i < b; ++i) {
        const double d = PointToStraightLine(p[i], p[a], p[b], chord);
        if (d > e) e = d, c = i;
    }
    if (e > D || e / chord > 0.207) {
        keep[c] = 1;
        SplitByReference(p, a, c, D, keep);
        SplitByReference(p, c, b, D, keep);
    }
}

// Coordinates of every magnitude: short spans, spans at the edge of what a 64-bit cross product holds,
// and lines across the whole coordinate range, whose products need more; short lines and long ones.
// The thinner keeps exactly the points the reference split keeps (x only grows, so no point repeats
// and the spike and ring steps have nothing to do).
TEST(CompressPts, KeepsTheReferencePointsAtEveryMagnitude) {
    std::mt19937_64 rng(5);
    const int64_t spans[] = {1000, INT32_MAX, UINT32_MAX};
    for (int64_t span : spans) {
        for (int n : {40, 300}) {
            for (double D : {1.0, 1e3, 1e8}) {
                Pts line(static_cast<size_t>(n));
                const int64_t step = span / n;
                for (int i = 0; i < n; ++i) {
                    line[i].x = static_cast<LONG>(INT32_MIN + i * step + static_cast<int64_t>(rng() % step));
                    line[i].y = static_cast<LONG>(INT32_MIN + static_cast<int64_t>(rng() % (span + 1)));
                }
                std::vector<char> keep(n, 0);
                keep[0] = keep[n - 1] = 1;
                SplitByReference(line, 0, n - 1, D, keep);
                Pts want;
                for (int i = 0; i < n; ++i)
                    if (keep[i]) want.push_back(line[i]);
                CCompressPts t;
                t.m_dDistance = D;
                Pts got(line);
                int m = n;
                ASSERT_EQ(t.Compress(got.data(), &m, 0), 1);
                got.resize(static_cast<size_t>(m));
                EXPECT_TRUE(SamePoints(got, want)) << "span " << span << ", " << n << " points, D " << D << ": "
                                                   << got.size() << " kept, expected " << want.size();
            }
        }
    }
}

}  // namespace
