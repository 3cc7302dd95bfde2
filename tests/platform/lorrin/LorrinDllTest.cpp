#include <lorrin/LorrinDll.h>

#include <win32/gdirecord.h>

#include <gtest/gtest.h>

namespace {

void Levels(CLorrinDll& r)
{
    r.m_nLevelCount = 3;
    const double colors[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    const double breaks[3] = {0.0, 10.0, 20.0};
    for (int i = 0; i < 3; ++i) {
        for (int k = 0; k < 3; ++k) r.m_dLevelColor[i][k] = colors[i][k];
        r.m_dLevelBreak[i] = breaks[i];
    }
}

}  // namespace

TEST(LorrinDll, BitmapHasOnePixelPerNodeInTheLevelColours)
{
    // 3 x 2 grid, south row first: -5 (below the first break), 10 (on a break), no data; 19.9, 20, 500.
    float grid[6] = {-5.0f, 10.0f, -99999.0f, 19.9f, 20.0f, 500.0f};
    CLorrinDll r;
    Levels(r);
    r.m_pGrid = grid;
    r.m_nGridWidth = 3;
    r.m_nGridHeight = 2;
    ASSERT_EQ(r.DemtoBmp(), 1);
    ASSERT_NE(r.m_pBitmapInfo, nullptr);
    const BITMAPINFOHEADER& h = r.m_pBitmapInfo->bmiHeader;
    EXPECT_EQ(h.biWidth, 3);
    EXPECT_EQ(h.biHeight, 2);
    EXPECT_EQ(h.biBitCount, 8);
    EXPECT_EQ(h.biClrUsed, 4u);  // three levels and the background
    const BYTE* bits = static_cast<const BYTE*>(r.m_pBits);
    const BYTE expected[8] = {0, 1, 3, 0, 1, 2, 2, 0};  // rows padded to 4 bytes
    for (int i = 0; i < 3; ++i) EXPECT_EQ(bits[i], expected[i]) << i;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(bits[4 + i], expected[4 + i]) << i;
    const RGBQUAD* pal = r.m_pBitmapInfo->bmiColors;
    EXPECT_EQ(pal[0].rgbRed, 255);
    EXPECT_EQ(pal[2].rgbBlue, 255);
    EXPECT_EQ(pal[3].rgbGreen, 255);  // white background
    CLorrinDll::FreeBitmap(r.m_pBits, r.m_pBitmapInfo);

    r.m_nLevelCount = 0;  // nothing to paint with
    EXPECT_EQ(r.DemtoBmp(), 0);
}

TEST(LorrinDll, DrawDemStretchesTheGridIntoTheRectangle)
{
    HDC dc = win32::CreateImageDC(20, 20);
    float grid[4] = {5.0f, 15.0f, 25.0f, -99999.0f};  // south row: red, green; north row: blue, none
    CLorrinDll r;
    Levels(r);
    RECT rect{0, 0, 10, 10};
    ASSERT_EQ(r.DrawDEM(dc, &rect, grid, 2, 2, 1.0f), 1);
    EXPECT_EQ(::GetPixel(dc, 1, 8), RGB(255, 0, 0));
    EXPECT_EQ(::GetPixel(dc, 8, 8), RGB(0, 255, 0));
    EXPECT_EQ(::GetPixel(dc, 1, 1), RGB(0, 0, 255));
    EXPECT_EQ(::GetPixel(dc, 8, 1), RGB(255, 255, 255));
    EXPECT_EQ(r.m_pBits, nullptr);  // the renderer's outputs are left as they were
    ::DeleteDC(dc);
}
