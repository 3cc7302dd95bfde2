#include "terrain/GeoDEM.h"
#include "terrain/GeoDEMLayer.h"

#include "DemFixtures.h"
#include "support/TempDir.h"

#include <afx/afx.h>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using demtest::MakeDem;
using demtest::MakeDemFn;

namespace {

const LONG X = -99999;  // invalid

// 3 columns x 3 rows, cell 10, north-west corner (0, 30): bounds (0, 0)-(30, 30).
std::unique_ptr<CGeoDEM> Grid3()
{
    return MakeDem({{10, 20, 30},  //
                    {40, 50, X},
                    {70, 80, 90}},
                   0, 30, 10.0, 0.1);
}

}  // namespace

TEST(GeoDEM, SizeConstructorGeometryAndDefaults)
{
    auto dem = Grid3();
    EXPECT_EQ(dem->GetWidth(), 3);
    EXPECT_EQ(dem->GetHeight(), 3);
    EXPECT_EQ(dem->GetBytesPerRow(), 12u);
    EXPECT_EQ(dem->GetPosition(), CRect(0, 0, 30, 30));
    EXPECT_EQ(dem->GetMaxY(), 30);
    EXPECT_EQ(dem->GetMinElevation(), 10);
    EXPECT_EQ(dem->GetMaxElevation(), 90);
    EXPECT_DOUBLE_EQ(dem->GetRealMaxElevation(), 9.0);

    CGeoDEM fresh;
    EXPECT_EQ(fresh.GetInvalidElevation(), 0);
    EXPECT_EQ(fresh.GetMaxElevation(), static_cast<LONG>(0x80000001));
    EXPECT_EQ(fresh.GetMinElevation(), 0x7FFFFFFF);
    EXPECT_DOUBLE_EQ(fresh.GetResZ(), 0.1);
    EXPECT_TRUE(fresh.IsBitmapOutdated());
    EXPECT_EQ(fresh.GetNodes(), nullptr);

    EXPECT_EQ(fresh.SetHZoomAndInvalidValue(10, -99999), 1);
    EXPECT_DOUBLE_EQ(fresh.GetResZ(), 0.1);
    EXPECT_TRUE(fresh.IsHZoomGiven());
    EXPECT_TRUE(fresh.IsInvalidGiven());
    EXPECT_EQ(fresh.SetHZoomAndInvalidValue(0, 5), 0);  // an infinite scale is refused
    EXPECT_EQ(fresh.GetInvalidElevation(), -99999);
}

TEST(GeoDEM, GetPixelByPointCases)
{
    auto dem = Grid3();
    struct Case {
        double x, y;
        EdInterpolateMethod method;
        int result;
        double value;
    } cases[] = {
        {0, 29, INTERPOLATE_NEAREST, 1, 1.0},       // one unit south of the NW corner: first node
        {0, 30, INTERPOLATE_NEAREST, -1, 0},        // the northern edge is outside
        {30, 15, INTERPOLATE_NEAREST, -1, 0},       // the eastern edge is outside
        {-1, 15, INTERPOLATE_NEAREST, -1, 0},
        {14, 26, INTERPOLATE_NEAREST, 1, 2.0},      // fx 1.4 rounds to column 1
        {29, 1, INTERPOLATE_NEAREST, 1, 9.0},       // fx 2.9 would round past the last column
        {5, 25, INTERPOLATE_BILINEAR, 1, 0.5 * 0.5 * (10 + 20 + 40 + 50) * 0.1},
        {5, 3, INTERPOLATE_BILINEAR, 1, 7.5},       // southern row: r0 = r1, still along x
        {15, 15, INTERPOLATE_BILINEAR, 0, 0},       // touches the invalid node, nearest is invalid
        {11, 19, INTERPOLATE_BILINEAR, 1, 5.0},     // touches it, nearest (50) is valid
        {25, 5, INTERPOLATE_BILINEAR, 1, 9.0},      // easternmost column falls back to nearest
    };
    for (const Case& c : cases) {
        double out = -1234.0;
        EXPECT_EQ(dem->GetPixel(c.x, c.y, out, c.method), c.result) << c.x << "," << c.y;
        if (c.result == 1) EXPECT_NEAR(out, c.value, 1e-9) << c.x << "," << c.y;
        else EXPECT_EQ(out, -1234.0) << "untouched at " << c.x << "," << c.y;
        double viaPoint = -1234.0;
        EXPECT_EQ(dem->GetPixel(CPoint(static_cast<LONG>(c.x), static_cast<LONG>(c.y)), viaPoint, c.method), c.result);
    }
    double out = 0;
    EXPECT_EQ(dem->GetPixel(2L, 1L, out), 1);  // an invalid node by index still reads
    EXPECT_DOUBLE_EQ(out, -9999.9);
    EXPECT_EQ(dem->GetPixel(3L, 0L, out), -1);
    EXPECT_EQ(dem->GetPixel(0L, -1L, out), -1);
    CGeoDEM empty;  // no grid: nothing is read
    EXPECT_EQ(empty.GetPixel(0L, 0L, out), -1);
    EXPECT_EQ(empty.GetPixel(0.0, 0.0, out, INTERPOLATE_BILINEAR), -1);
}

TEST(GeoDEM, BlocksMarkInvalidAndStaySouthFirst)
{
    auto dem = Grid3();
    std::unique_ptr<float[]> block(dem->GetBlock2(0, 1, 0, 2, 2));
    ASSERT_TRUE(block);
    // rows 0..1 from the north, columns 1..2, south row first
    EXPECT_FLOAT_EQ(block[0], 5.0f);
    EXPECT_FLOAT_EQ(block[1], -99999.0f);
    EXPECT_FLOAT_EQ(block[2], 2.0f);
    EXPECT_FLOAT_EQ(block[3], 3.0f);
    EXPECT_EQ(dem->GetBlock2(0, 2, 0, 2, 1), nullptr);  // leaves the grid
    EXPECT_EQ(dem->GetBlock2(0, 0, 0, 0, 1), nullptr);

    std::unique_ptr<CGeoBandData> grey(dem->GetBlock(0, 0, 0, 3, 3));
    ASSERT_TRUE(grey);
    EXPECT_EQ(grey->GetLength(), 12u);  // rows padded to 4
    const BYTE* g = grey->GetBuffer();
    EXPECT_EQ(g[0], 191);  // 70: (70 - 10) * 255 / 80 = 191.25
    EXPECT_EQ(g[2], 255);
    EXPECT_EQ(g[4 + 2], 0);  // invalid
    EXPECT_EQ(g[8], 0);      // the minimum

    auto flat = MakeDem({{5, 5}, {5, 5}});
    std::unique_ptr<CGeoBandData> flatGrey(flat->GetBlock(0, 0, 0, 2, 2));
    ASSERT_TRUE(flatGrey);
    EXPECT_EQ(flatGrey->GetBuffer()[0], 0);
    EXPECT_EQ(flatGrey->GetBuffer()[5], 0);
}

TEST(GeoDEM, SubDemAndPasteClipAndConvertScales)
{
    auto dem = Grid3();
    std::unique_ptr<CGeoDEM> sub(dem->GetBlock(CRect(10, 0, 30, 20)));
    ASSERT_TRUE(sub);
    EXPECT_EQ(sub->GetWidth(), 2);
    EXPECT_EQ(sub->GetHeight(), 2);
    double out = 0;
    ASSERT_EQ(sub->GetPixel(0L, 0L, out), 1);
    EXPECT_DOUBLE_EQ(out, 5.0);
    EXPECT_EQ(sub->GetMinElevation(), 50);  // the invalid node does not count
    EXPECT_EQ(sub->GetMaxElevation(), 90);
    // A rectangle reaching past the grid: outside nodes are invalid, not read from elsewhere.
    std::unique_ptr<CGeoDEM> over(dem->GetBlock(CRect(20, 0, 40, 10)));
    ASSERT_TRUE(over);
    ASSERT_EQ(over->GetPixel(1L, 0L, out), 1);
    EXPECT_DOUBLE_EQ(out, over->GetInvalidElevation() * 0.1);
    EXPECT_EQ(dem->GetBlock(CRect(100, 100, 120, 120)), nullptr);

    // 0.1 into 1.0 divides by ten (rounded); 1.0 into 0.1 multiplies.
    auto coarse = MakeDem({{0, 0}, {0, 0}}, 0, 20, 10.0, 1.0);
    auto fine = MakeDem({{126, X}, {4, 35}}, 0, 20, 10.0, 0.1);
    EXPECT_EQ(coarse->Paste(fine.get()), 1);
    EXPECT_EQ(coarse->GetNodes()[2], 13);  // north-west: 12.6 + 0.5 -> 13
    EXPECT_EQ(coarse->GetNodes()[3], 0);   // invalid source node leaves the target
    EXPECT_EQ(coarse->GetNodes()[1], 4);   // 3.5 + 0.5
    auto back = MakeDem({{0, 0}, {0, 0}}, 0, 20, 10.0, 0.1);
    auto ones = MakeDem({{7, 7}, {7, 7}}, 0, 20, 10.0, 1.0);
    EXPECT_EQ(back->Paste(ones.get()), 1);
    EXPECT_EQ(back->GetNodes()[0], 70);
    // Partly outside: only the overlap is written.
    auto edge = MakeDem({{1, 2}, {3, 4}}, 20, 40, 10.0, 0.1);
    EXPECT_EQ(dem->Paste(edge.get()), 1);
    EXPECT_EQ(dem->GetNodes()[2 * 3 + 2], 3);  // north row, last column took the other's south-west node
    auto far = MakeDem({{1}}, 500, 500);
    EXPECT_EQ(dem->Paste(far.get()), 0);
}

TEST(GeoDEM, CopyKeepsGridGeometryAndIsIndependent)
{
    auto dem = Grid3();
    std::unique_ptr<CGeoDEM> copy(static_cast<CGeoDEM*>(dem->Copy()));
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->GetBytesPerRow(), 12u);
    EXPECT_EQ(copy->GetPosition(), dem->GetPosition());
    EXPECT_EQ(copy->GetInvalidElevation(), X);
    double a = 0, b = 0;
    ASSERT_EQ(copy->GetPixel(5.0, 25.0, a, INTERPOLATE_NEAREST), 1);
    ASSERT_EQ(dem->GetPixel(5.0, 25.0, b, INTERPOLATE_NEAREST), 1);
    EXPECT_EQ(a, b);
    copy->SetPixel(7);
    EXPECT_EQ(dem->GetNodes()[0], 70);
    dem->ReplaceInvalidValueWithTheLowestHeight();
    EXPECT_EQ(dem->GetNodes()[1 * 3 + 2], 10);
}

TEST(GeoDEM, RecordHoldsSevenFieldsAfterTheRasterPart)
{
    auto dem = Grid3();
    CMemFile mem;
    {
        CArchive ar(&mem, CArchive::store);
        dem->Serialize(ar);
        ar.Close();
    }
    const ULONGLONG total = mem.GetLength();
    // The last 44 bytes: Alfa, compress, max, min, invalid, reserved, scale.
    std::vector<BYTE> bytes(static_cast<size_t>(total));
    mem.SeekToBegin();
    mem.Read(bytes.data(), static_cast<UINT>(total));
    const BYTE* tail = bytes.data() + total - 44;
    double d;
    LONG l;
    std::memcpy(&l, tail + 16, 4);
    EXPECT_EQ(l, 90);
    std::memcpy(&l, tail + 20, 4);
    EXPECT_EQ(l, 10);
    std::memcpy(&l, tail + 24, 4);
    EXPECT_EQ(l, X);
    std::memcpy(&d, tail + 36, 8);
    EXPECT_DOUBLE_EQ(d, 0.1);

    // Loading without a grid file keeps the record's bands waiting for the host's data.
    mem.SeekToBegin();
    CGeoDEM loaded;
    {
        CArchive ar(&mem, CArchive::load);
        loaded.Serialize(ar);
    }
    EXPECT_EQ(loaded.GetMaxElevation(), 90);
    EXPECT_EQ(loaded.GetInvalidElevation(), X);
    EXPECT_EQ(loaded.GetNodes(), nullptr);  // no view: every pixel path says "no grid"
    double out = 0;
    EXPECT_EQ(loaded.GetPixel(5.0, 25.0, out, INTERPOLATE_BILINEAR), -1);
    EXPECT_EQ(loaded.GetBlock2(0, 0, 0, 3, 3), nullptr);
}

// The host writes the records, then each raster's bytes where its record ended; loading maps those
// bytes at that offset, whatever it is. The nodes must still be read as aligned 32-bit values.
TEST(GeoDEM, NodesStoredAtAnyOffsetOfTheDocumentReadAligned)
{
    testsupport::TempDir dir;
    for (const char* name : {"A", "AB", "ABC", "ABCD", "ABCDE", "ABCDEF", "ABCDEFG"}) {
        SCOPED_TRACE(name);
        auto dem = Grid3();
        dem->SetObjectName(name);
        const std::string path = dir(std::string("doc") + name);
        ULONGLONG recordEnd = 0;
        {
            CFile f(path.c_str(), CFile::modeCreate | CFile::modeReadWrite);
            CArchive ar(&f, CArchive::store);
            dem->Serialize(ar);
            ar.Close();
            recordEnd = f.GetPosition();
            ASSERT_EQ(dem->WriteHugeData(&f), 1);
        }
        CGeoDEM loaded;
        CFile f(path.c_str(), CFile::modeRead);
        {
            CArchive ar(&f, CArchive::load);
            loaded.Serialize(ar);
        }
        f.Seek(static_cast<LONGLONG>(recordEnd), CFile::begin);
        EXPECT_EQ(loaded.ReadHugeData(&f), 1);
        const LONG* nodes = loaded.GetNodes();
        ASSERT_NE(nodes, nullptr);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(nodes) % alignof(LONG), 0u);
        const LONG* want = dem->GetNodes();
        for (int i = 0; i < 9; ++i) EXPECT_EQ(nodes[i], want[i]) << i;
        loaded.RecalcMinMax();
        EXPECT_EQ(loaded.GetMaxElevation(), 90);
        EXPECT_EQ(loaded.GetMinElevation(), 10);
    }
}
