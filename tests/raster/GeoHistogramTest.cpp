#include "raster/GeoHistogram.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A one-band, 256-level histogram with the given counts at the given levels.
void Fill(CGeoHistogram& h, std::vector<std::pair<int, int>> counts)
{
    int total = 0;
    for (auto& c : counts) total += c.second;
    h.Initialize(total, 1, 256);
    for (auto& c : counts) h.GetH(0)[c.first] = c.second;
    h.CreateSByH();
}

}  // namespace

TEST(GeoHistogram, StatisticsOfSmallHistograms)
{
    CGeoHistogram one;
    Fill(one, {{77, 5}});
    int max = -1, min = -1, mean = -1;
    ASSERT_EQ(one.GetMaxMinGreyLevel(max, min, 0), 1);
    EXPECT_EQ(max, 77);
    EXPECT_EQ(min, 77);
    ASSERT_EQ(one.GetMeanGreyLevel(mean, 0), 1);
    EXPECT_EQ(mean, 77);
    EXPECT_EQ(one.GetMaxMinGreyLevel(max, min, 1), 0);
    EXPECT_EQ(one.GetH(1), nullptr);

    // No samples: max 0, min levels - 1, and no division by the empty total.
    CGeoHistogram empty(0, 2, 256);
    ASSERT_EQ(empty.GetMaxMinGreyLevel(max, min, 1), 1);
    EXPECT_EQ(max, 0);
    EXPECT_EQ(min, 255);
    ASSERT_EQ(empty.GetMeanGreyLevel(mean, 0), 1);
    EXPECT_EQ(mean, 0);
    double means[10] = {1, 1}, devs[10] = {1, 1};
    ASSERT_EQ(empty.CalAverDev(means, devs), 1);
    EXPECT_EQ(means[1], 0.0);
    EXPECT_EQ(devs[1], 0.0);
    EXPECT_EQ(empty.CreateSByH(), 0);

    CGeoHistogram two;
    Fill(two, {{10, 1}, {20, 1}});
    ASSERT_EQ(two.CalAverDev(means, devs), 1);
    EXPECT_DOUBLE_EQ(means[0], 15.0);
    EXPECT_DOUBLE_EQ(devs[0], 5.0);
    EXPECT_DOUBLE_EQ(two.GetS(0)[15], 0.5);
}

TEST(GeoHistogram, LookUpTables)
{
    CGeoHistogram a, b;
    Fill(a, {{100, 4}});
    Fill(b, {{120, 4}});
    int* table = nullptr;
    ASSERT_EQ(a.CreateLookUpTable(&b, 0, table, 0), 1);
    EXPECT_EQ(table[250], 255);  // clamped
    EXPECT_EQ(table[10], 30);
    EXPECT_EQ(table[0], 20);

    CGeoHistogram c, d;
    Fill(c, {{10, 1}, {20, 1}});
    Fill(d, {{100, 1}, {200, 1}});
    ASSERT_EQ(c.CreateLookUpTable(&d, 1, table, 0), 1);
    EXPECT_EQ(table[10], 100);
    EXPECT_EQ(table[15], 150);
    EXPECT_EQ(table[20], 200);
    EXPECT_EQ(table[0], 0);  // (0 - 10) * 10 + 100, then clamped
    // One occupied level has no range: every level goes to the target's lowest.
    ASSERT_EQ(a.CreateLookUpTable(&d, 1, table, 0), 1);
    EXPECT_EQ(table[100], 100);
    EXPECT_EQ(table[0], 100);

    // Cumulative matching of identical histograms: identity where S rises.
    CGeoHistogram e, f;
    std::vector<std::pair<int, int>> counts;
    for (int i = 0; i < 256; ++i) counts.push_back({i, 1 + i % 3});
    Fill(e, counts);
    Fill(f, counts);
    ASSERT_EQ(e.CreateLookUpTable(&f, 2, table, 0), 1);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(table[i], i);

    EXPECT_EQ(e.CreateLookUpTable(&f, 3, table, 0), 0);
    EXPECT_EQ(table, nullptr);
    EXPECT_EQ(e.CreateLookUpTable(&f, 0, table, 4), 0);
    delete[] table;
}

TEST(GeoHistogram, RecordsRoundTripAndRefuseAbsurdSizes)
{
    CGeoStandardHistogram s(1, 2, 3, 4);
    Fill(*s.GetHistogram(), {{3, 2}, {250, 6}});
    s.GetAverages()[0] = 12.5;
    s.GetCovarances()[9] = -1.0;
    s.SetExtent(10, 20, 30, 40);
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        s.Serialize(ar);
    }
    const ULONGLONG size = file.GetLength();
    EXPECT_EQ(size, 12u + 256 * 4 + 16 + 160);
    std::vector<BYTE> bytes(static_cast<size_t>(size));
    file.SeekToBegin();
    file.Read(bytes.data(), static_cast<UINT>(size));
    // bands 1, levels 256, total 8; the extent after the counts as top, bottom, left, right.
    const BYTE head[12] = {1, 0, 0, 0, 0, 1, 0, 0, 8, 0, 0, 0};
    EXPECT_EQ(std::vector<BYTE>(bytes.begin(), bytes.begin() + 12), std::vector<BYTE>(head, head + 12));
    const size_t ext = 12 + 1024;
    EXPECT_EQ(bytes[ext], 10);
    EXPECT_EQ(bytes[ext + 4], 20);
    EXPECT_EQ(bytes[ext + 8], 30);
    EXPECT_EQ(bytes[ext + 12], 40);

    CMemFile in(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&in, CArchive::load);
    CGeoStandardHistogram back;
    back.Serialize(ar);
    int t, l, b, r;
    back.GetExtent(t, l, b, r);
    EXPECT_EQ(t, 10);
    EXPECT_EQ(b, 20);
    EXPECT_EQ(l, 30);
    EXPECT_EQ(r, 40);
    EXPECT_EQ(back.GetHistogram()->GetH(0)[250], 6);
    EXPECT_DOUBLE_EQ(back.GetHistogram()->GetS(0)[3], 0.25);  // rebuilt
    EXPECT_EQ(back.GetAverages()[0], 12.5);
    EXPECT_EQ(back.GetCovarances()[9], -1.0);

    for (const std::vector<BYTE>& bad : {std::vector<BYTE>{11, 0, 0, 0, 0, 1, 0, 0, 1, 0, 0, 0},
                                         std::vector<BYTE>{1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F, 1, 0, 0, 0},
                                         std::vector<BYTE>{1, 0, 0, 0, 0, 1, 0, 0, 1, 0, 0, 0, 5}}) {
        CMemFile f(const_cast<BYTE*>(bad.data()), static_cast<UINT>(bad.size()));
        CArchive a(&f, CArchive::load);
        CGeoHistogram h;
        EXPECT_THROW(h.Serialize(a), CArchiveException);
    }
}
