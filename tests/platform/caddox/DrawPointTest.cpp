// The point markers: what each marker number draws, turning, XOR drawing that removes itself, the
// device context put back, and the callback that draws instead.
#include <caddox/DrawPoint.h>

#include <win32/gdirecord.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<win32::GdiRecord> Drawn(int marker, double direction, int size) {
    CDC dc;
    dc.Attach(win32::CreateRecordingDC(100, 100));
    DrawPoint(&dc, CPoint(50, 50), direction, marker, 0x0000FF, size, 0, nullptr, 0);
    std::vector<win32::GdiRecord> out = win32::GetRecording(dc.m_hDC);
    return out;
}

int g_nCalls = 0;
void CountingCallback(CDC*, CPoint pt, double direction, int marker, COLORREF colour, int size, int xorMode) {
    ++g_nCalls;
    EXPECT_EQ(pt, CPoint(3, 4));
    EXPECT_DOUBLE_EQ(direction, 15.0);
    EXPECT_EQ(marker, 6);
    EXPECT_EQ(colour, 0x00FF00u);
    EXPECT_EQ(size, 9);
    EXPECT_EQ(xorMode, 1);
}

}  // namespace

TEST(CaddoxDrawPoint, EveryMarkerNumberDrawsOneFigureInTheColour) {
    const struct {
        int marker;
        const char* call;
        size_t calls;
        bool filled;
    } cases[] = {
        {0, "Ellipse", 1, true},  {1, "Ellipse", 1, false}, {2, "Polygon", 1, true},  {3, "Polygon", 1, false},
        {4, "LineTo", 2, false},  {5, "LineTo", 2, false},  {6, "Polygon", 1, true},  {7, "Polygon", 1, false},
        {66, "Polygon", 1, true} /* 66 % 8 = 2 */, {-3, "Ellipse", 1, true},
    };
    for (const auto& c : cases) {
        const auto drawn = Drawn(c.marker, 0.0, 10);
        size_t n = 0;
        for (const auto& r : drawn) {
            if (r.call == "MoveTo") continue;
            EXPECT_EQ(r.call, c.call) << c.marker;
            EXPECT_EQ(r.pen.lopnColor, 0x0000FFu) << c.marker;
            EXPECT_EQ(r.brush.lbStyle, static_cast<UINT>(c.filled ? BS_SOLID : BS_NULL)) << c.marker;
            for (const POINT& p : r.points) {
                EXPECT_LE(std::abs(p.x - 50), 6) << c.marker;
                EXPECT_LE(std::abs(p.y - 50), 6) << c.marker;
            }
            ++n;
        }
        EXPECT_EQ(n, c.calls) << c.marker;
    }
}

TEST(CaddoxDrawPoint, MarkersTurnCounterClockwiseAsSeen) {
    // The triangle's apex points up the device unturned, and to the left after 90 degrees.
    const auto upright = Drawn(6, 0.0, 10);
    const auto turned = Drawn(6, 90.0, 10);
    ASSERT_EQ(upright.size(), 1u);
    ASSERT_EQ(turned.size(), 1u);
    EXPECT_EQ(upright[0].points[0].x, 50);
    EXPECT_EQ(upright[0].points[0].y, 45);
    EXPECT_EQ(turned[0].points[0].x, 45);
    EXPECT_EQ(turned[0].points[0].y, 50);
}

TEST(CaddoxDrawPoint, XorDrawingTwiceRestoresThePixelsAndTheDcIsPutBack) {
    CDC dc;
    dc.Attach(win32::CreateImageDC(40, 40));
    CBrush background(0x336699);
    RECT all{0, 0, 40, 40};
    ::FillRect(dc.m_hDC, &all, background);
    CPen pen(PS_DASH, 1, 0x123456);
    CBrush brush(0x654321);
    HGDIOBJ oldPen = ::SelectObject(dc.m_hDC, pen);
    HGDIOBJ oldBrush = ::SelectObject(dc.m_hDC, brush);
    std::vector<COLORREF> before;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) before.push_back(::GetPixel(dc.m_hDC, x, y));

    for (int marker = 0; marker < CADDOX_MARKER_COUNT; ++marker) {
        DrawPoint(&dc, CPoint(20, 20), 30.0, marker, 0x00FF00, 12, 1, nullptr, 0);
        size_t changed = 0, k = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) changed += ::GetPixel(dc.m_hDC, x, y) != before[k++];
        EXPECT_GT(changed, 0u) << marker;
        DrawPoint(&dc, CPoint(20, 20), 30.0, marker, 0x00FF00, 12, 1, nullptr, 0);
        size_t i = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) ASSERT_EQ(::GetPixel(dc.m_hDC, x, y), before[i++]) << marker;
        EXPECT_EQ(dc.GetROP2(), R2_COPYPEN);
        EXPECT_EQ(::GetCurrentObject(dc.m_hDC, OBJ_PEN), static_cast<HGDIOBJ>(pen));
        EXPECT_EQ(::GetCurrentObject(dc.m_hDC, OBJ_BRUSH), static_cast<HGDIOBJ>(brush));
    }
    ::SelectObject(dc.m_hDC, oldPen);
    ::SelectObject(dc.m_hDC, oldBrush);
}

TEST(CaddoxDrawPoint, ACallbackDrawsInsteadAndANullDcDrawsNothing) {
    CDC dc;
    dc.Attach(win32::CreateRecordingDC(10, 10));
    g_nCalls = 0;
    DrawPoint(&dc, CPoint(3, 4), 15.0, 6, 0x00FF00, 9, 1, CountingCallback, 0);
    EXPECT_EQ(g_nCalls, 1);
    EXPECT_TRUE(win32::GetRecording(dc.m_hDC).empty());
    DrawPoint(nullptr, CPoint(3, 4), 15.0, 6, 0x00FF00, 9, 1, CountingCallback, 0);
    EXPECT_EQ(g_nCalls, 1);
}
