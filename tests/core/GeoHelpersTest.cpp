// The planar helpers: exact step formulas, point counts, clipped runs and degenerate input.
#include "core/GeoHelpers.h"

#include <ostrel/Measure.h>
#include <win32/gdirecord.h>
#include <win32/fileapi.h>
#include <win32/module.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <vector>

namespace {

const double kPi = 3.14159265358979323846;

POINT P(LONG x, LONG y) { return POINT{x, y}; }

std::vector<POINT> Take(POINT* pts, int n)
{
    std::vector<POINT> v(pts, pts + n);
    delete[] pts;
    return v;
}

TEST(GeoHelpers, LineCoefficientsAndCrossings)
{
    double A = 0, B = 0, C = 0;
    ASSERT_EQ(GetLineCoefficients(0, 0, 10, 5, &A, &B, &C), 1);
    EXPECT_DOUBLE_EQ(A * 10 + B * 5 + C, 0.0);
    EXPECT_DOUBLE_EQ(B, -10.0);
    ASSERT_EQ(GetLineCoefficients(3, 0, 3, 7, &A, &B, &C), 1); // vertical
    EXPECT_DOUBLE_EQ(A, 1.0);
    EXPECT_DOUBLE_EQ(C, -3.0);
    EXPECT_EQ(GetLineCoefficients(2, 2, 2, 2, &A, &B, &C), 0);

    struct Case {
        double s[8];
        int result;
        double x, y;
    };
    const Case cases[] = {
        {{0, 0, 10, 0, 5, -5, 5, 5}, 1, 5, 0},
        {{0, 0, 10, 0, 0, -5, 0, 5}, 0, 0, 0},     // at the very end of the first segment
        {{0, 0, 10, 0, 0.05, -5, 0.05, 5}, 0, 0.05, 0}, // within 1 % of the end
        {{0, 0, 10, 0, 0.1, -5, 0.1, 5}, 1, 0.1, 0},    // exactly 1 %
        {{0, 0, 10, 10, 0, 10, 10, 0}, 1, 5, 5},
        {{0, 0, 10, 0, 20, -5, 20, 5}, 0, 20, 0},  // beyond the segment: written, but 0
    };
    for (const Case& c : cases) {
        double x = -1, y = -1;
        EXPECT_EQ(CrossPoint(c.s[0], c.s[1], c.s[2], c.s[3], c.s[4], c.s[5], c.s[6], c.s[7], &x, &y), c.result);
        EXPECT_NEAR(x, c.x, 1e-12);
        EXPECT_NEAR(y, c.y, 1e-12);
    }
    double x = -1, y = -1;
    EXPECT_EQ(CrossPoint(0, 0, 10, 0, 0, 1, 10, 1, &x, &y), 0); // parallel: nothing written
    EXPECT_EQ(x, -1);
    EXPECT_EQ(CrossPoint(0, 0, 10, 0, 0, 0, 0, 0, &x, &y), 0);  // coinciding ends
    EXPECT_EQ(CrossPoint(0, 0, 10, 0, 5, -5, 5, 5, nullptr, nullptr), 1);

    EXPECT_TRUE(IsAnticlockwise(0, 0, 1, 0, 1, 1));
    EXPECT_FALSE(IsAnticlockwise(1, 1, 1, 0, 0, 0));
    EXPECT_FALSE(IsAnticlockwise(0, 0, 1, 1, 2, 2));
}

TEST(GeoHelpers, CirclePointCounts)
{
    POINT* pts = nullptr;
    int count = 0;
    EXPECT_EQ(ConvertRadiusCircleToPLine(P(100, 200), 10.0, pts, count, 0), 37);
    std::vector<POINT> v = Take(pts, count);
    ASSERT_EQ(count, 37);
    EXPECT_EQ(v[0].x, 110);
    EXPECT_EQ(v[0].y, 200);
    EXPECT_EQ(v[9].x, 100); // 90 degrees after 9 steps of 10
    EXPECT_EQ(v[9].y, 210);
    EXPECT_EQ(v[36].x, v[0].x);
    EXPECT_EQ(v[36].y, v[0].y);

    EXPECT_EQ(ConvertRadiusCircleToPLine(P(0, 0), 1000000.0, pts, count, 100), 101);
    delete[] pts;
    // r = 1000: a step of 2.8 sqrt(10 / r) = 0.28 is still above 10 degrees, so 36 steps.
    EXPECT_EQ(ConvertRadiusCircleToPLine(P(0, 0), 1000.0, pts, count, 0), 37);
    delete[] pts;
    // r = 10000: steps of 0.0885, trunc(2 pi / step) + 1 of them.
    const int n = (int)std::trunc(2.0 * kPi / (2.8 * std::sqrt(10.0 / 10000.0))) + 1;
    EXPECT_EQ(n, 71);
    EXPECT_EQ(ConvertRadiusCircleToPLine(P(0, 0), 10000.0, pts, count, 0), n + 1);
    delete[] pts;

    for (double r : {0.0, -5.0, (double)NAN}) {
        EXPECT_EQ(ConvertRadiusCircleToPLine(P(7, 8), r, pts, count, 0), 37);
        v = Take(pts, count);
        for (const POINT& p : v) {
            EXPECT_EQ(p.x, 7);
            EXPECT_EQ(p.y, 8);
        }
    }
}

TEST(GeoHelpers, ArcRunsInItsTurningDirectionAndEndsAtP3)
{
    POINT* pts = nullptr;
    int count = 0;
    // Half circle of radius 1000 through its top, counter-clockwise.
    ConvertTriPntArcToPLine(P(1000, 0), P(0, 1000), P(-1000, 0), pts, count, 50, 360);
    std::vector<POINT> v = Take(pts, count);
    // step = 2.8 sqrt(0.1) = 0.8854; trunc(pi / step) + 1 = 4 steps: fewer than six, the chord is long,
    // so five points at pi / 5 apart, then p3.
    ASSERT_EQ(count, 6);
    EXPECT_EQ(v[0].x, 1000);
    EXPECT_EQ(v[0].y, 0);
    for (size_t i = 0; i + 1 < v.size(); ++i) {
        EXPECT_NEAR(std::hypot(v[i].x, v[i].y), 1000.0, 1.5);
        EXPECT_GE(v[i].y, 0); // through the top
        if (i > 0) {
            EXPECT_LT(v[i].x, v[i - 1].x);
        }
    }
    EXPECT_EQ(v[2].x, 309); // 1000 cos(2 pi / 5), truncated
    EXPECT_EQ(v[5].x, -1000);
    EXPECT_EQ(v[5].y, 0);

    // The same arc given clockwise runs through the top the other way.
    ConvertTriPntArcToPLine(P(-1000, 0), P(0, 1000), P(1000, 0), pts, count, 50, 360);
    v = Take(pts, count);
    ASSERT_EQ(count, 6);
    EXPECT_EQ(v[0].x, -1000);
    EXPECT_GT(v[1].y, 0);
    EXPECT_GT(v[1].x, v[0].x);
    EXPECT_EQ(v[5].x, 1000);

    // A large radius: many small steps, capped by maxSteps.
    ConvertTriPntArcToPLine(P(1000000, 0), P(0, 1000000), P(-1000000, 0), pts, count, 50, 360);
    v = Take(pts, count);
    // step = 2.8 sqrt(1e-4) = 0.028: trunc(pi / 0.028) + 1 = 113 points, then p3.
    EXPECT_EQ(count, 114);
    ConvertTriPntArcToPLine(P(1000000, 0), P(0, 1000000), P(-1000000, 0), pts, count, 50, 100);
    v = Take(pts, count);
    EXPECT_EQ(count, 101);
    EXPECT_EQ(v[50].x, 0);
    EXPECT_EQ(v[50].y, 1000000);

    // A short arc: its chord.
    ConvertTriPntArcToPLine(P(0, 0), P(10, 3), P(20, 0), pts, count, 50, 360);
    v = Take(pts, count);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(v[1].x, 20);
}

TEST(GeoHelpers, DegenerateArcsAreStraightRuns)
{
    POINT* pts = nullptr;
    int count = 0;
    ConvertTriPntArcToPLine(P(0, 0), P(5, 5), P(10, 10), pts, count, 50, 360);
    std::vector<POINT> v = Take(pts, count);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(v[1].x, 10);
    ConvertTriPntArcToPLine(P(0, 0), P(20, 0), P(10, 0), pts, count, 50, 360); // turns back
    v = Take(pts, count);
    ASSERT_EQ(count, 3);
    EXPECT_EQ(v[1].x, 20);
    ConvertTriPntArcToPLine(P(4, 4), P(4, 4), P(4, 4), pts, count, 50, 360);
    v = Take(pts, count);
    EXPECT_EQ(count, 2);
    // Nearly collinear over the whole range: the centre lies beyond the coordinates.
    ConvertTriPntArcToPLine(P(-2000000000, 0), P(0, 1), P(2000000000, 0), pts, count, 50, 0);
    v = Take(pts, count);
    EXPECT_EQ(count, 3);
}

TEST(GeoHelpers, RoundRectangle)
{
    POINT* pts = nullptr;
    int count = 0;
    ConvertRoundRectToPLine(RECT{0, 0, 100, 60}, P(20, 20), pts, count);
    std::vector<POINT> v = Take(pts, count);
    ASSERT_EQ(count, 21); // k = 4
    EXPECT_EQ(v[0].x, 100);
    EXPECT_EQ(v[0].y, 10);
    EXPECT_EQ(v[4].x, 90);
    EXPECT_EQ(v[4].y, 0);
    EXPECT_EQ(v[5].x, 10); // second quarter starts at the mirror of (90, 0)
    EXPECT_EQ(v[5].y, 0);
    EXPECT_EQ(v[10].x, 0);   // third quarter: point 0 mirrored in both axes
    EXPECT_EQ(v[10].y, 50);
    EXPECT_EQ(v[15].x, 90);  // fourth: point 4 mirrored in y
    EXPECT_EQ(v[15].y, 60);
    EXPECT_EQ(v[20].x, v[0].x);
    EXPECT_EQ(v[20].y, v[0].y);

    // A large corner: half-size 50000 gives steps of 2.8 sqrt(100 / 50000) = 0.125 < pi / 8.
    ConvertRoundRectToPLine(RECT{0, 0, 200000, 200000}, P(100000, 100000), pts, count);
    v = Take(pts, count);
    const int k = (int)std::trunc(kPi / (2.0 * 2.8 * std::sqrt(100.0 / 50000.0)));
    EXPECT_EQ(k, 12);
    EXPECT_EQ(count, 4 * k + 5);
    EXPECT_EQ(v[k].x, 150000); // the quarter ends exactly at pi / 2
    EXPECT_EQ(v[k].y, 0);

    ConvertRoundRectToPLine(RECT{0, 0, 100, 60}, P(0, 0), pts, count);
    v = Take(pts, count);
    EXPECT_EQ(count, 21);
    EXPECT_EQ(v[0].x, 100);
    EXPECT_EQ(v[0].y, 0);
    ConvertRoundRectToPLine(RECT{0, 0, 100, 60}, P(-20, -20), pts, count);
    delete[] pts;
    EXPECT_EQ(count, 21);
}

TEST(GeoHelpers, WholeMillionOrigin)
{
    struct Case {
        double x, y, ox, oy, rx, ry;
    };
    const Case cases[] = {
        {2345678.5, -1500000.0, 2000000, -1000000, 345678.5, -500000.0},
        {999999.0, -999999.0, 0, 0, 999999.0, -999999.0},
        {-3000000.0, 0.0, -3000000, 0, 0.0, 0.0},
    };
    for (const Case& c : cases) {
        double x = c.x, y = c.y, ox = 1, oy = 1;
        ClipCoorWithOrigin(x, y, ox, oy);
        EXPECT_DOUBLE_EQ(ox, c.ox);
        EXPECT_DOUBLE_EQ(oy, c.oy);
        EXPECT_DOUBLE_EQ(x, c.rx);
        EXPECT_DOUBLE_EQ(y, c.ry);
    }
}

// The point lists of the Polyline calls a recording DC saw.
std::vector<std::vector<POINT>> DrawnRuns(POINT* pts, int n, RECT* clip)
{
    HDC dc = win32::CreateRecordingDC(200, 200);
    PolyLine(dc, pts, n, clip);
    std::vector<std::vector<POINT>> runs;
    for (const win32::GdiRecord& r : win32::GetRecording(dc))
        if (r.call == "Polyline") runs.push_back(r.points);
    DeleteDC(dc);
    return runs;
}

TEST(GeoHelpers, ClippedPolylineDrawsOnlyTheRunsThatMeetTheClip)
{
    // In at the left, out, back in, out at the right.
    POINT pts[] = {P(0, 50), P(20, 50), P(40, 90), P(60, 90), P(80, 50), P(100, 50)};
    RECT clip = {10, 40, 90, 60};
    std::vector<std::vector<POINT>> runs = DrawnRuns(pts, 6, &clip);
    ASSERT_EQ(runs.size(), 2u);
    ASSERT_EQ(runs[0].size(), 3u); // segments 0 and 1: points 0 to 2
    EXPECT_EQ(runs[0][2].x, 40);
    ASSERT_EQ(runs[1].size(), 3u); // segments 3 and 4, open to the last point
    EXPECT_EQ(runs[1][0].x, 60);
    EXPECT_EQ(runs[1][2].x, 100);

    EXPECT_EQ(DrawnRuns(pts, 6, nullptr).size(), 1u);
    EXPECT_EQ(DrawnRuns(pts, 6, nullptr)[0].size(), 6u);
    RECT away = {150, 150, 160, 160};
    EXPECT_TRUE(DrawnRuns(pts, 6, &away).empty());
    RECT touching = {100, 50, 120, 70}; // only the last point
    runs = DrawnRuns(pts, 6, &touching);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].size(), 2u);
    EXPECT_TRUE(DrawnRuns(pts, 1, nullptr).empty());
    PolyLine(nullptr, pts, 6, nullptr);
}

TEST(GeoHelpers, LastErrorMessage)
{
    // The codes are the platform's own: 80 is "file exists" (what CopyFile reports), not an errno.
    const struct {
        DWORD code;
        const char* text;
    } cases[] = {{2, "系统找不到指定的文件。"}, {5, "拒绝访问。"}, {80, "文件存在。"},
                 {87, "参数错误。"}, {112, "磁盘空间不足。"}, {99999, "未知错误。"}};
    for (const auto& c : cases) {
        AfxClearMessageLog();
        SetLastError(c.code);
        EXPECT_EQ(ShowLastErrorMessage("打开 ", " 失败"), c.code);
        ASSERT_EQ(AfxGetMessageLog().size(), 1u);
        EXPECT_EQ(AfxGetMessageLog()[0].text, CString("打开 ") + c.text + " 失败") << c.code;
    }
}

TEST(GeoHelpers, PlatformFailuresReportWindowsCodes)
{
    // A failed copy and a failed file open both leave Windows codes, which the message texts know.
    EXPECT_FALSE(CopyFile("/nonexistent-folder/a", "/tmp/b", FALSE));
    EXPECT_EQ(GetLastError(), 2u);
    EXPECT_EQ(win32::ErrorFromErrno(ENOENT), 2u);
    EXPECT_EQ(win32::ErrorFromErrno(EACCES), 5u);
    EXPECT_EQ(win32::ErrorFromErrno(ENOSPC), 112u);
    EXPECT_EQ(win32::ErrorFromErrno(EFBIG), 223u);
    EXPECT_EQ(win32::ErrorFromErrno(ELOOP), 1117u);
}

} // namespace
