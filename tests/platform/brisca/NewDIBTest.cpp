#include <brisca/brisca.h>

#include "support/TempDir.h"

#include <win32/gdirecord.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

namespace {

TEST(NewDIB, CreateGivesPaddedZeroRowsAndGreyTables) {
    CNewDIB dib;
    EXPECT_FALSE(dib.Ready());
    EXPECT_EQ(dib.GetWidth(), 0);
    EXPECT_EQ(dib.GetBitmapInfoHeader(), nullptr);
    DWORD table[256];
    EXPECT_EQ(dib.GetColorTable(table), -1);
    struct Case {
        int w, bits;
        DWORD stride;
        int entries;
    } cases[] = {{33, 1, 8, 2}, {31, 4, 16, 16}, {5, 8, 8, 256}, {10, 24, 32, -1}, {3, 32, 12, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits);
        ASSERT_EQ(dib.CreateDIB(c.w, 7, c.bits), 1);
        EXPECT_EQ(dib.GetBytesPerLine(), c.stride);
        EXPECT_EQ(dib.GetBitCount(), c.bits);
        EXPECT_EQ(dib.GetColorTable(table), c.entries);
        if (c.entries > 0) {
            EXPECT_EQ(table[0], 0u);
            EXPECT_EQ(table[c.entries - 1], 0x00FFFFFFu);
        }
        EXPECT_EQ(dib.GetPixelRGB(c.w - 1, 6), 0u);
    }
    EXPECT_EQ(dib.CreateDIB(0, 5, 8), 0);
    EXPECT_EQ(dib.CreateDIB(5, 5, 16), 0);
    EXPECT_EQ(dib.CreateDIB(70000, 70000, 24), 0);  // more than 2^31 bytes
    EXPECT_EQ(dib.GetWidth(), 3);                   // the old image stays
}

TEST(NewDIB, PixelsCountFromTheBottomWithGdiBitOrder) {
    CNewDIB one;
    one.CreateDIB(10, 2, 1);
    one.SetPixelIndex(0, 0, 1);
    one.SetPixelIndex(9, 1, 1);
    EXPECT_EQ(one.GetDIBBits()[0], 0x80);  // bottom row, leftmost pixel in the high bit
    EXPECT_EQ(one.GetDIBBits()[4 + 1], 0x40);
    EXPECT_EQ(one.GetPixelIndex(9, 1), 1);
    EXPECT_EQ(one.GetPixelIndex(10, 1), -1);

    CNewDIB four;
    four.CreateDIB(3, 1, 4);
    four.SetPixelIndex(0, 0, 0xA);
    four.SetPixelIndex(1, 0, 0x5);
    EXPECT_EQ(four.GetDIBBits()[0], 0xA5);

    CNewDIB rgb;
    rgb.CreateDIB(2, 2, 24);
    rgb.SetPiexlRGB(1, 1, RGB(10, 20, 30));
    const BYTE* p = rgb.GetDIBBits() + rgb.GetBytesPerLine() + 3;
    EXPECT_EQ(p[0], 30);  // B, G, R
    EXPECT_EQ(p[2], 10);
    EXPECT_EQ(rgb.GetPixelRGB(1, 1), RGB(10, 20, 30));
    EXPECT_EQ(rgb.GetPixelIndex(1, 1), -1);

    CNewDIB pal;
    pal.CreateDIB(2, 1, 8);
    DWORD colours[3] = {0x000000FF, 0x0000FF00, 0x00FF0000};  // blue, green, red as RGBQUAD words
    pal.SetColorTable(3, colours);
    DWORD table[256];
    EXPECT_EQ(pal.GetColorTable(table), 3);
    pal.SetPiexlRGB(0, 0, RGB(250, 10, 0));  // nearest: red
    EXPECT_EQ(pal.GetPixelIndex(0, 0), 2);
    EXPECT_EQ(pal.GetPixelRGB(0, 0), RGB(255, 0, 0));
}

TEST(NewDIB, BlocksAreClippedAndBitExact) {
    CNewDIB src, dst;
    src.CreateDIB(9, 5, 1);
    dst.CreateDIB(9, 5, 1);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 9; ++x) src.SetPixelIndex(x, y, (x + y) % 2);
    // The block at (1, 1) of src, 4 x 3, lands at (6, 3) of dst: only 3 x 2 fits.
    EXPECT_EQ(dst.GetDIBBlock(&src, 1, 1, 6, 3, 4, 3), 1);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 9; ++x) {
            const bool inside = x >= 6 && y >= 3;
            EXPECT_EQ(dst.GetPixelIndex(x, y), inside ? (x - 5 + y - 2) % 2 : 0) << x << "," << y;
        }
    // Put goes the other way; negative corners move both blocks.
    CNewDIB back;
    back.CreateDIB(9, 5, 1);
    EXPECT_EQ(src.PutDIBBlock(&back, -2, 0, 0, 0, 4, 5), 1);
    EXPECT_EQ(back.GetPixelIndex(0, 0), src.GetPixelIndex(2, 0));
    EXPECT_EQ(back.GetPixelIndex(1, 4), src.GetPixelIndex(3, 4));
    EXPECT_EQ(back.GetPixelIndex(2, 0), 0);
    // Nothing to copy, or different depths.
    EXPECT_EQ(dst.GetDIBBlock(&src, 20, 0, 0, 0, 4, 4), 0);
    CNewDIB eight;
    eight.CreateDIB(9, 5, 8);
    EXPECT_EQ(eight.GetDIBBlock(&src, 0, 0, 0, 0, 4, 4), 0);
    EXPECT_EQ(eight.GetDIBBlock(nullptr, 0, 0, 0, 0, 4, 4), 0);
}

TEST(NewDIB, ResizeKeepsTheBottomLeftAndFills) {
    CNewDIB dib;
    dib.CreateDIB(2, 2, 24);
    dib.SetPiexlRGB(0, 0, RGB(1, 2, 3));
    dib.SetPiexlRGB(1, 1, RGB(4, 5, 6));
    ASSERT_EQ(dib.Resize(CSize(3, 4), RGB(200, 100, 50)), 1);
    EXPECT_EQ(dib.GetWidth(), 3);
    EXPECT_EQ(dib.GetHeight(), 4);
    EXPECT_EQ(dib.GetPixelRGB(0, 0), RGB(1, 2, 3));
    EXPECT_EQ(dib.GetPixelRGB(1, 1), RGB(4, 5, 6));
    EXPECT_EQ(dib.GetPixelRGB(2, 0), RGB(200, 100, 50));
    EXPECT_EQ(dib.GetPixelRGB(0, 3), RGB(200, 100, 50));
    ASSERT_EQ(dib.Resize(CSize(1, 1), 0), 1);
    EXPECT_EQ(dib.GetPixelRGB(0, 0), RGB(1, 2, 3));
    EXPECT_EQ(dib.Resize(CSize(0, 3), 0), 0);
    EXPECT_EQ(dib.Resize(CSize(100000, 100000), 0), 0);
    EXPECT_EQ(dib.GetWidth(), 1);
}

TEST(NewDIB, DrawDibTakesSourceRowsFromTheTop) {
    // A 2 x 4 image: top two rows red, bottom two blue.
    CNewDIB dib;
    dib.CreateDIB(2, 4, 24);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 2; ++x) dib.SetPiexlRGB(x, y, y >= 2 ? RGB(255, 0, 0) : RGB(0, 0, 255));
    CDC dc;
    ASSERT_TRUE(dc.Attach(win32::CreateImageDC(4, 4)));
    RECT dst{0, 0, 4, 4};
    RECT src{0, 0, 2, 2};  // the top half
    EXPECT_NE(dib.DrawDIB(&dc, &dst, &src, SRCCOPY), 0);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 3, 3), RGB(255, 0, 0));
    RECT lower{0, 2, 2, 4};
    EXPECT_NE(dib.DrawDIB(&dc, &dst, &lower, SRCCOPY), 0);
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(0, 0, 255));
    CNewDIB empty;
    EXPECT_EQ(empty.DrawDIB(&dc, &dst, &src, SRCCOPY), 0);
}

TEST(NewDIB, FileNamesAndUnknownTypes) {
    CNewDIB dib;
    EXPECT_EQ(dib.SetFileName("a\\b.TIF"), 1);
    EXPECT_STREQ((LPCSTR)dib.GetFileName(), "a\\b.TIF");
    EXPECT_EQ(dib.SetFileName("b.bmp"), 1);
    EXPECT_EQ(dib.SetFileName("b.png"), 0);
    testsupport::TempDir dir("corvane-dib");
    EXPECT_EQ(dib.SaveFile(dir("empty.bmp").c_str()), 0);  // nothing held
    dib.CreateDIB(2, 2, 8);
    EXPECT_EQ(dib.SaveFile(dir("x.png").c_str()), 0);
    std::ofstream(dir("junk.bin")) << "not an image at all";
    EXPECT_EQ(dib.ReadFile(dir("junk.bin").c_str()), 0);
    EXPECT_EQ(dib.ReadFile(dir("missing.bmp").c_str()), 0);
    EXPECT_EQ(dib.GetWidth(), 2);
}

}  // namespace
