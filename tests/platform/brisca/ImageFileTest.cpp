// Image files read from bytes built here by hand (not by the library under test), and round trips.
#include <brisca/brisca.h>

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sys/resource.h>
#include <fstream>
#include <string>
#include <vector>
#include <utility>

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, size_t at, uint16_t v) { std::memcpy(&b[at], &v, 2); }
void Put32(Bytes& b, size_t at, uint32_t v) { std::memcpy(&b[at], &v, 4); }

void Save(const std::string& path, const Bytes& b) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), (std::streamsize)b.size());
}

// A baseline little-endian TIFF with one uncompressed strip.
class TiffBuilder {
public:
    TiffBuilder(uint32_t w, uint32_t h, uint16_t bps, uint16_t spp, uint16_t photometric)
        : m_w(w), m_h(h), m_bps(bps), m_spp(spp), m_photometric(photometric) {}
    size_t RowBytes() const { return ((size_t)m_w * m_bps * m_spp + 7) / 8; }
    // Rows top first.
    Bytes pixels;
    std::vector<uint16_t> colormap;  // 3 * 2^bps values
    std::vector<double> pixelScale;  // tag 33550
    std::vector<double> tiepoints;   // tag 33922
    std::vector<double> transformation;
    uint32_t dpi = 0;

    Bytes Build() const {
        struct Entry {
            uint16_t tag, type;
            uint32_t count;
            Bytes data;
        };
        std::vector<Entry> entries;
        auto shorts = [](std::vector<uint16_t> v) {
            Bytes b(v.size() * 2);
            std::memcpy(b.data(), v.data(), b.size());
            return b;
        };
        auto longs = [](uint32_t v) {
            Bytes b(4);
            std::memcpy(b.data(), &v, 4);
            return b;
        };
        Bytes out(8, 0);
        out[0] = 'I';
        out[1] = 'I';
        out[2] = 42;
        const uint32_t stripAt = (uint32_t)out.size();
        out.insert(out.end(), pixels.begin(), pixels.end());
        entries.push_back({256, 4, 1, longs(m_w)});
        entries.push_back({257, 4, 1, longs(m_h)});
        entries.push_back({258, 3, m_spp, shorts(std::vector<uint16_t>(m_spp, m_bps))});
        entries.push_back({259, 3, 1, shorts({1})});
        entries.push_back({262, 3, 1, shorts({m_photometric})});
        entries.push_back({273, 4, 1, longs(stripAt)});
        entries.push_back({277, 3, 1, shorts({m_spp})});
        entries.push_back({278, 4, 1, longs(m_h)});
        entries.push_back({279, 4, 1, longs((uint32_t)pixels.size())});
        if (dpi) {
            Bytes r(8);
            const uint32_t num = dpi, den = 1;
            std::memcpy(r.data(), &num, 4);
            std::memcpy(r.data() + 4, &den, 4);
            entries.push_back({282, 5, 1, r});
            entries.push_back({283, 5, 1, r});
            entries.push_back({296, 3, 1, shorts({2})});
        }
        if (!colormap.empty()) entries.push_back({320, 3, (uint32_t)colormap.size(), shorts(colormap)});
        const std::pair<uint16_t, const std::vector<double>*> doubleTags[] = {
            {33550, &pixelScale}, {33922, &tiepoints}, {34264, &transformation}};
        for (const auto& [tag, values] : doubleTags) {
            if (values->empty()) continue;
            Bytes d(values->size() * 8);
            std::memcpy(d.data(), values->data(), d.size());
            entries.push_back({tag, 12, (uint32_t)values->size(), d});
        }
        // Values longer than 4 bytes go before the directory.
        std::vector<uint32_t> where(entries.size(), 0);
        for (size_t i = 0; i < entries.size(); ++i) {
            if (entries[i].data.size() <= 4) continue;
            if (out.size() % 2) out.push_back(0);
            where[i] = (uint32_t)out.size();
            out.insert(out.end(), entries[i].data.begin(), entries[i].data.end());
        }
        if (out.size() % 2) out.push_back(0);
        const uint32_t ifd = (uint32_t)out.size();
        Put32(out, 4, ifd);
        out.resize(out.size() + 2 + entries.size() * 12 + 4, 0);
        Put16(out, ifd, (uint16_t)entries.size());
        for (size_t i = 0; i < entries.size(); ++i) {
            const size_t at = ifd + 2 + i * 12;
            Put16(out, at, entries[i].tag);
            Put16(out, at + 2, entries[i].type);
            Put32(out, at + 4, entries[i].count);
            if (entries[i].data.size() <= 4) std::memcpy(&out[at + 8], entries[i].data.data(), entries[i].data.size());
            else Put32(out, at + 8, where[i]);
        }
        return out;
    }

private:
    uint32_t m_w, m_h;
    uint16_t m_bps, m_spp, m_photometric;
};

class ImageFileTest : public ::testing::Test {
protected:
    std::string Write(const char* name, const Bytes& b) {
        Save(m_dir(name), b);
        return m_dir(name);
    }
    testsupport::TempDir m_dir{"corvane-images"};
};

TEST_F(ImageFileTest, PaletteTiffIsFlippedBottomUpWithItsColours) {
    TiffBuilder t(5, 3, 8, 1, 3);
    for (uint32_t y = 0; y < 3; ++y)
        for (uint32_t x = 0; x < 5; ++x) t.pixels.push_back((uint8_t)(y * 10 + x));
    t.colormap.assign(3 * 256, 0);
    for (int i = 0; i < 256; ++i) {
        t.colormap[i] = (uint16_t)(i * 257);                // red
        t.colormap[256 + i] = (uint16_t)((255 - i) * 257);  // green
        t.colormap[512 + i] = 0x8000;                       // blue
    }
    t.dpi = 300;
    CNewDIB dib;
    ASSERT_EQ(dib.ReadFile(Write("pal.tif", t.Build()).c_str()), 1);
    EXPECT_EQ(dib.GetWidth(), 5);
    EXPECT_EQ(dib.GetHeight(), 3);
    EXPECT_EQ(dib.GetBitCount(), 8);
    EXPECT_EQ(dib.GetPixelIndex(0, 2), 0);   // the file's top row is the top
    EXPECT_EQ(dib.GetPixelIndex(4, 0), 24);  // its bottom row is row 0
    EXPECT_EQ(dib.GetPixelRGB(3, 1), RGB(13, 242, 128));
    EXPECT_EQ(dib.GetBitmapInfoHeader()->biXPelsPerMeter, 11811);
}

TEST_F(ImageFileTest, OneBitMinIsWhiteKeepsItsBitsWithAnInvertedTable) {
    TiffBuilder t(33, 2, 1, 1, 0);  // odd width: 5 bytes per row in the file, 8 in the bitmap
    t.pixels = {0x80, 0, 0, 0, 0x80, /* second row */ 0, 0, 0, 0, 0};
    CNewDIB dib;
    ASSERT_EQ(dib.ReadFile(Write("bw.tif", t.Build()).c_str()), 1);
    EXPECT_EQ(dib.GetBytesPerLine(), 8u);
    EXPECT_EQ(dib.GetPixelIndex(0, 1), 1);
    EXPECT_EQ(dib.GetPixelIndex(32, 1), 1);
    EXPECT_EQ(dib.GetPixelRGB(0, 1), RGB(0, 0, 0));  // 1 is black in min-is-white
    EXPECT_EQ(dib.GetPixelRGB(1, 1), RGB(255, 255, 255));
    EXPECT_EQ(dib.GetPixelIndex(0, 0), 0);
}

TEST_F(ImageFileTest, RgbTiffBecomesBgrRows) {
    TiffBuilder t(2, 2, 8, 3, 2);
    t.pixels = {255, 0, 0, 0, 255, 0, /* bottom */ 0, 0, 255, 10, 20, 30};
    CNewDIB dib;
    ASSERT_EQ(dib.ReadFile(Write("rgb.tif", t.Build()).c_str()), 1);
    EXPECT_EQ(dib.GetBitCount(), 24);
    EXPECT_EQ(dib.GetPixelRGB(0, 1), RGB(255, 0, 0));
    EXPECT_EQ(dib.GetPixelRGB(1, 1), RGB(0, 255, 0));
    EXPECT_EQ(dib.GetPixelRGB(1, 0), RGB(10, 20, 30));
    EXPECT_EQ(dib.GetDIBBits()[3], 30);  // bottom row, second pixel, blue first
}

TEST_F(ImageFileTest, GeoTiffTransformationOrNone) {
    TiffBuilder t(4, 3, 8, 1, 1);
    t.pixels.assign(12, 7);
    const std::string plain = Write("plain.tif", t.Build());
    t.transformation = {2.5, 0, 0, 512345.6, 0, -2.5, 0, 3398765.4 + 3 * 2.5, 0, 0, 0, 0, 0, 0, 0, 1};
    const std::string geo = Write("geo.tif", t.Build());

    CGeoTIFF reader;
    double* m = nullptr;
    int n = -1;
    ASSERT_TRUE(reader.LoadGeoTIFFFile(geo.c_str()));
    reader.GetModelTransformationTag(m, n);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(n, 16);
    EXPECT_EQ(m[0], 2.5);
    EXPECT_EQ(m[3], 512345.6);
    EXPECT_EQ(m[5], -2.5);
    EXPECT_EQ(m[15], 1.0);

    ASSERT_TRUE(reader.LoadGeoTIFFFile(plain.c_str()));
    reader.GetModelTransformationTag(m, n);
    EXPECT_EQ(m, nullptr);
    EXPECT_EQ(n, 0);
    EXPECT_FALSE(reader.LoadGeoTIFFFile(m_dir("none.tif").c_str()));

    // The bitmap reads the same file regardless of its extra tags.
    CNewDIB dib;
    EXPECT_EQ(dib.ReadFile(geo.c_str()), 1);
    EXPECT_EQ(dib.GetPixelIndex(3, 2), 7);
}

// Without tag 34264 the placement is made from a tie point and the pixel scale; 34264 wins when both
// are there, and tie points without a scale (control points) place nothing.
TEST_F(ImageFileTest, GeoTiffTiePointAndPixelScale) {
    struct Case {
        const char* what;
        std::vector<double> scale, ties;
        bool withMatrix, placed;
        double m0, m3, m5, m7;
    };
    const std::vector<double> matrix = {4, 0, 0, 100, 0, -4, 0, 200, 0, 0, 0, 0, 0, 0, 0, 1};
    const Case cases[] = {
        {"corner tie point", {2.5, 2.5, 0}, {0, 0, 0, 512345.5, 3398840.0, 0}, false, true, 2.5, 512345.5, -2.5,
         3398840.0},
        {"tie point inside, scale of two", {2, 3}, {10, 4, 0, 1000, 2000, 0}, false, true, 2, 980, -3, 2012},
        {"several tie points with a scale: the first", {1, 1, 0}, {1, 1, 0, 50, 60, 0, 3, 3, 0, 52, 58, 0}, false,
         true, 1, 49, -1, 61},
        {"the matrix wins", {2.5, 2.5, 0}, {0, 0, 0, 7, 8, 0}, true, true, 4, 100, -4, 200},
        {"tie points without a scale", {}, {0, 0, 0, 7, 8, 0, 3, 2, 0, 9, 9, 0}, false, false, 0, 0, 0, 0},
        {"a scale without a tie point", {2.5, 2.5, 0}, {}, false, false, 0, 0, 0, 0},
        {"a short tie point", {2.5, 2.5, 0}, {0, 0, 0, 7}, false, false, 0, 0, 0, 0},
        {"a scale of one value", {2.5}, {0, 0, 0, 7, 8, 0}, false, false, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TiffBuilder t(4, 3, 8, 1, 1);
        t.pixels.assign(12, 7);
        t.pixelScale = c.scale;
        t.tiepoints = c.ties;
        if (c.withMatrix) t.transformation = matrix;
        CGeoTIFF reader;
        ASSERT_TRUE(reader.LoadGeoTIFFFile(Write("tie.tif", t.Build()).c_str()));
        double* m = nullptr;
        int n = -1;
        reader.GetModelTransformationTag(m, n);
        if (!c.placed) {
            EXPECT_EQ(m, nullptr);
            EXPECT_EQ(n, 0);
            continue;
        }
        ASSERT_NE(m, nullptr);
        ASSERT_EQ(n, 16);
        EXPECT_EQ(m[0], c.m0);
        EXPECT_EQ(m[3], c.m3);
        EXPECT_EQ(m[5], c.m5);
        EXPECT_EQ(m[7], c.m7);
        EXPECT_EQ(m[1], 0.0);
        EXPECT_EQ(m[4], 0.0);
        EXPECT_EQ(m[15], 1.0);
    }
}

TEST_F(ImageFileTest, HandBuiltBmpsBottomUpAndTopDown) {
    // 3 x 2, 8 bits, two table entries; then the same picture as a top-down 24-bit file.
    auto header = [](int32_t w, int32_t h, uint16_t bits, uint32_t tableEntries, uint32_t dataBytes) {
        Bytes b(54 + tableEntries * 4 + dataBytes, 0);
        b[0] = 'B';
        b[1] = 'M';
        Put32(b, 2, (uint32_t)b.size());
        Put32(b, 10, 54 + tableEntries * 4);
        Put32(b, 14, 40);
        Put32(b, 18, (uint32_t)w);
        Put32(b, 22, (uint32_t)h);
        Put16(b, 26, 1);
        Put16(b, 28, bits);
        Put32(b, 38, 2835);
        Put32(b, 42, 2835);
        Put32(b, 46, tableEntries);
        return b;
    };
    Bytes eight = header(3, 2, 8, 2, 8);
    Put32(eight, 54, 0x00FF0000);  // entry 0: red
    Put32(eight, 58, 0x000000FF);  // entry 1: blue
    const uint8_t rows8[8] = {1, 0, 0, 0, /* top */ 0, 0, 1, 0};
    std::memcpy(&eight[62], rows8, 8);
    Bytes top = header(3, -2, 24, 0, 24);
    const uint8_t rows24[24] = {0, 0, 255, 0, 0, 255, 255, 0, 0, 0, 0, 0,   // top: red red blue
                                255, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0, 0};  // bottom: blue red red
    std::memcpy(&top[54], rows24, 24);

    CNewDIB a, b;
    ASSERT_EQ(a.ReadFile(Write("a.bmp", eight).c_str()), 1);
    ASSERT_EQ(b.ReadFile(Write("b.bmp", top).c_str()), 1);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(a.GetPixelRGB(x, y), b.GetPixelRGB(x, y)) << x << "," << y;
    EXPECT_EQ(a.GetPixelRGB(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(a.GetPixelRGB(2, 1), RGB(0, 0, 255));
    EXPECT_EQ(a.GetBitmapInfoHeader()->biXPelsPerMeter, 2835);

    // Every truncation and a few damaged fields fail without touching the image held.
    for (size_t cut = 0; cut < eight.size(); ++cut) {
        Bytes shorter(eight.begin(), eight.begin() + (long)cut);
        EXPECT_EQ(b.ReadFile(Write("cut.bmp", shorter).c_str()), 0) << cut;
    }
    Bytes bad = eight;
    Put32(bad, 46, 1000);  // more table entries than 8 bits allow
    EXPECT_EQ(b.ReadFile(Write("bad.bmp", bad).c_str()), 0);
    bad = eight;
    Put32(bad, 30, 1);  // compressed
    EXPECT_EQ(b.ReadFile(Write("bad.bmp", bad).c_str()), 0);
    EXPECT_EQ(b.GetBitCount(), 24);
}

TEST_F(ImageFileTest, TruncatedTiffFailsCleanly) {
    TiffBuilder t(5, 3, 8, 1, 1);
    t.pixels.assign(15, 3);
    const Bytes all = t.Build();
    CNewDIB dib;
    dib.CreateDIB(1, 1, 8);
    for (size_t cut : {0, 4, 8, 12, 20}) {
        Bytes shorter(all.begin(), all.begin() + (long)cut);
        EXPECT_EQ(dib.ReadFile(Write("cut.tif", shorter).c_str()), 0) << cut;
    }
    EXPECT_EQ(dib.GetWidth(), 1);
}

TEST_F(ImageFileTest, HeaderClaimingMorePixelsThanTheFileHoldsIsRefusedBeforeAllocating) {
    // 40000 x 40000 grey pixels (1.6 GB) claimed by files of a few hundred bytes.
    TiffBuilder t(40000, 40000, 8, 1, 1);
    t.pixels.assign(16, 7);
    Bytes bmp(54 + 8, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    Put32(bmp, 10, 54 + 8);   // rows start after a two-entry table
    Put32(bmp, 14, 40);       // information header size
    Put32(bmp, 18, 40000);    // width
    Put32(bmp, 22, 40000);    // height
    Put32(bmp, 26, 1 | 8 << 16);  // one plane, 8 bits
    Put32(bmp, 46, 2);        // table entries
    const std::pair<const char*, Bytes> files[] = {{"huge.tif", t.Build()}, {"huge.bmp", bmp}};
    for (const auto& f : files) {
        rusage before{};
        getrusage(RUSAGE_SELF, &before);
        CNewDIB dib;
        dib.CreateDIB(1, 1, 8);
        EXPECT_EQ(dib.ReadFile(Write(f.first, f.second).c_str()), 0) << f.first;
        EXPECT_EQ(dib.GetWidth(), 1);
        rusage after{};
        getrusage(RUSAGE_SELF, &after);
        EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 200L * 1024) << "kilobytes touched by the refused read of " << f.first;
    }
}

TEST_F(ImageFileTest, SaveAndReadBackEveryDepthInBothFormats) {
    for (int bits : {1, 4, 8, 24}) {
        CNewDIB dib;
        ASSERT_EQ(dib.CreateDIB(13, 5, bits), 1);
        if (bits == 8) {
            DWORD table[256];
            for (int i = 0; i < 256; ++i) table[i] = (DWORD)((i << 16) | ((255 - i) << 8) | 7);  // not grey
            dib.SetColorTable(256, table);
        }
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 13; ++x) {
                if (bits == 24) dib.SetPiexlRGB(x, y, RGB(x * 19, y * 50, x * y));
                else dib.SetPixelIndex(x, y, (x * 3 + y) % (1 << bits));
            }
        dib.GetBitmapInfoHeader()->biXPelsPerMeter = 15748;  // 400 dpi
        dib.GetBitmapInfoHeader()->biYPelsPerMeter = 15748;
        for (const char* ext : {".tif", ".bmp", ".TIFF"}) {
            SCOPED_TRACE(std::to_string(bits) + ext);
            const std::string path = m_dir(std::string("rt") + std::to_string(bits) + ext);
            ASSERT_EQ(dib.SaveFile(path.c_str()), 1);
            CNewDIB back;
            ASSERT_EQ(back.ReadFile(path.c_str()), 1);
            ASSERT_EQ(back.GetBitCount(), bits);
            ASSERT_EQ(back.GetWidth(), 13);
            EXPECT_NEAR(back.GetBitmapInfoHeader()->biXPelsPerMeter, 15748, 1);
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < 13; ++x) {
                    ASSERT_EQ(back.GetPixelRGB(x, y), dib.GetPixelRGB(x, y)) << x << "," << y;
                }
        }
    }
}

}  // namespace
