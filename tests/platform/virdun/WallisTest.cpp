#include <virdun/Wallis.h>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// A bottom-up 8-bit bitmap of w x h, rows padded to 4 bytes; value(x, row from the top).
struct Bitmap {
    int w, h, stride;
    std::vector<BYTE> bits;
    template <class F>
    Bitmap(int w_, int h_, F value) : w(w_), h(h_), stride((w_ + 3) / 4 * 4), bits(size_t(stride) * h_, 0)
    {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) at(x, y) = static_cast<BYTE>(value(x, y));
    }
    BYTE& at(int x, int y) { return bits[size_t(h - 1 - y) * stride + x]; }
    void Stats(int x0, int y0, int x1, int y1, double& mean, double& dev)
    {
        double s = 0, q = 0, n = 0;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                s += at(x, y);
                q += at(x, y) * at(x, y);
                ++n;
            }
        mean = s / n;
        dev = std::sqrt(q / n - mean * mean);
    }
};

int Dull(int x, int y) { return 60 + (x * 7 + y * 3) % 20; }

}  // namespace

TEST(ShellWallis, MovesMeanAndDeviationTowardTheTargets)
{
    Bitmap b(130, 97, Dull);
    double m0, d0;
    b.Stats(0, 0, b.w - 1, b.h - 1, m0, d0);
    ASSERT_EQ(ShellWallis(b.bits.data(), b.h, b.w, 8, b.stride, CRect(0, 0, 0, 0), 128.0, 40.0, "w"), 1);
    double m1, d1;
    b.Stats(0, 0, b.w - 1, b.h - 1, m1, d1);
    EXPECT_LT(std::fabs(m1 - 128.0), std::fabs(m0 - 128.0) / 2);
    // The contrast weight (0.75) lets the spread go only part of the way: about twice the original here.
    EXPECT_GT(d1, 1.8 * d0);
    EXPECT_LT(d1, 40.0);
}

TEST(ShellWallis, MarginsStayUntouchedAndBadInputIsRefused)
{
    Bitmap b(64, 48, Dull);
    const std::vector<BYTE> before = b.bits;
    ASSERT_EQ(ShellWallis(b.bits.data(), b.h, b.w, 8, b.stride, CRect(10, 5, -7, -3), 128.0, 40.0, "w"), 1);
    int changedInside = 0;
    for (int y = 0; y < b.h; ++y)
        for (int x = 0; x < b.w; ++x) {
            const bool margin = x < 10 || y < 5 || x >= b.w - 7 || y >= b.h - 3;
            const BYTE old = before[size_t(b.h - 1 - y) * b.stride + x];
            if (margin)
                ASSERT_EQ(b.at(x, y), old) << x << "," << y;
            else
                changedInside += b.at(x, y) != old;
        }
    EXPECT_GT(changedInside, 1000);
    // Nothing to do: every call leaves the bitmap alone.
    const std::vector<BYTE> now = b.bits;
    EXPECT_EQ(ShellWallis(nullptr, b.h, b.w, 8, b.stride, CRect(), 128.0, 40.0, "w"), 0);
    EXPECT_EQ(ShellWallis(b.bits.data(), b.h, b.w, 4, b.stride, CRect(), 128.0, 40.0, "w"), 0);
    EXPECT_EQ(ShellWallis(b.bits.data(), b.h, b.w, 8, b.stride, CRect(40, 0, -40, 0), 128.0, 40.0, "w"), 0);
    EXPECT_EQ(b.bits, now);
}

TEST(ShellTransitionWallis, FullAtTheSeamNothingAtTheFarSide)
{
    for (int direction : {0, 1}) {
        SCOPED_TRACE(direction);
        Bitmap b(40, 40, Dull);
        const std::vector<BYTE> before = b.bits;
        double avg[10] = {150.0}, dev[10] = {6.0};
        // Strip rows 5..34, columns 10..29.
        ASSERT_EQ(ShellTransitionWallis(b.bits.data(), b.h, b.w, 8, b.stride, 5, 34, 10, 29, direction, avg, dev), 1);
        double mean, d;
        if (direction == 0)
            b.Stats(10, 5, 10, 34, mean, d);  // the seam column
        else
            b.Stats(10, 5, 29, 5, mean, d);  // the seam row
        EXPECT_NEAR(mean, 150.0, 3.0);
        // Outside the strip nothing changed.
        for (int y = 0; y < b.h; ++y)
            for (int x = 0; x < b.w; ++x) {
                if (x < 10 || x > 29 || y < 5 || y > 34) {
                    ASSERT_EQ(b.at(x, y), before[size_t(b.h - 1 - y) * b.stride + x]);
                }
            }
        // A strip beyond the image is cut, not written past the bitmap.
        EXPECT_EQ(ShellTransitionWallis(b.bits.data(), b.h, b.w, 8, b.stride, 30, 90, 30, 90, direction, avg, dev), 1);
        EXPECT_EQ(ShellTransitionWallis(b.bits.data(), b.h, b.w, 8, b.stride, 50, 90, 0, 9, direction, avg, dev), 0);
    }
}
