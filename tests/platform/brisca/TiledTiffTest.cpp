// Tiled, compressed and 16-bit TIFFs, written through libtiff directly.
#include <brisca/brisca.h>

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <tiffio.h>
#include <vector>

namespace {

// A w x h image of 8-bit grey (value = x + 7y) or 16-bit samples, tiled 16 x 16, LZW.
bool WriteTiled(const std::string& path, uint32_t w, uint32_t h, uint16_t bps) {
    TIFF* t = TIFFOpen(path.c_str(), "w");
    if (!t) return false;
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, w);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, h);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, bps);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, (uint16_t)1);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(t, TIFFTAG_TILEWIDTH, 16u);
    TIFFSetField(t, TIFFTAG_TILELENGTH, 16u);
    const size_t bytes = bps / 8;
    std::vector<uint8_t> tile(16 * 16 * bytes);
    for (uint32_t ty = 0; ty < h; ty += 16)
        for (uint32_t tx = 0; tx < w; tx += 16) {
            for (uint32_t r = 0; r < 16; ++r)
                for (uint32_t c = 0; c < 16; ++c) tile[(r * 16 + c) * bytes] = (uint8_t)((tx + c) + 7 * (ty + r));
            if (TIFFWriteTile(t, tile.data(), tx, ty, 0, 0) < 0) {
                TIFFClose(t);
                return false;
            }
        }
    TIFFClose(t);
    return true;
}

TEST(TiledTiff, TilesAreAssembledAcrossPartialEdges) {
    testsupport::TempDir dir("corvane-tiles");
    ASSERT_TRUE(WriteTiled(dir("t.tif"), 37, 21, 8));
    CNewDIB dib;
    ASSERT_EQ(dib.ReadFile(dir("t.tif").c_str()), 1);
    ASSERT_EQ(dib.GetWidth(), 37);
    ASSERT_EQ(dib.GetHeight(), 21);
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 37; ++x) {
            const int fileRow = 20 - y;
            ASSERT_EQ(dib.GetPixelIndex(x, y), (uint8_t)(x + 7 * fileRow)) << x << "," << y;
        }
}

TEST(TiledTiff, SixteenBitSamplesAreRefused) {
    testsupport::TempDir dir("corvane-tiles");
    ASSERT_TRUE(WriteTiled(dir("w.tif"), 16, 16, 16));
    CNewDIB dib;
    EXPECT_EQ(dib.ReadFile(dir("w.tif").c_str()), 0);
    EXPECT_FALSE(dib.Ready());
}

}  // namespace
