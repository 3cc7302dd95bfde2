#include "raster/RasterParameter.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class RasterParameterTest : public ::testing::Test {
protected:
    void SetUp() override { m_app.SetProfileFile((m_tmp.Path() + "/profile.ini").c_str()); }
    void SetEntry(const char* text) { m_app.WriteProfileString("Settings", "DefaultRasterParameter", text); }

    testsupport::TempDir m_tmp{"corvane-rasterparam"};
    CWinApp m_app;
};

void ExpectBuiltin(const tagRasterParameter& p) {
    EXPECT_EQ(p.m_nScale, 50000);
    EXPECT_EQ(p.m_dXResolution, 400.0);
    EXPECT_EQ(p.m_dYResolution, 400.0);
    EXPECT_EQ(p.m_dPixelSize, 1.0);
}

TEST_F(RasterParameterTest, RecordIsThirtyTwoRawBytesWithZeroPadding) {
    tagRasterParameter p = GetBuiltinRasterParameter();
    unsigned char bytes[32];
    std::memcpy(bytes, &p, 32);
    const unsigned char expected[8] = {0x50, 0xC3, 0, 0, 0, 0, 0, 0};  // 50000, then the padding
    EXPECT_EQ(0, std::memcmp(bytes, expected, 8));
    double x;
    std::memcpy(&x, bytes + 8, 8);
    EXPECT_EQ(x, 400.0);
}

TEST_F(RasterParameterTest, MissingOrMalformedEntryGivesTheWholeBuiltinDefault) {
    ExpectBuiltin(GetDefaultRasterParameter());
    for (const char* text : {"50000:400:400", "abc:def:ghi:jkl", "10000:300:x:2", "50000:0:0:0",
                             "50000:400:400:-1", ""}) {
        SCOPED_TRACE(text);
        SetEntry(text);
        ExpectBuiltin(GetDefaultRasterParameter());
    }
}

TEST_F(RasterParameterTest, FourFieldsReplaceAllInSinglePrecision) {
    SetEntry("10000:300.5:300.7:2.3");
    tagRasterParameter p = GetDefaultRasterParameter();
    EXPECT_EQ(p.m_nScale, 10000);
    EXPECT_EQ(p.m_dXResolution, 300.5);
    EXPECT_EQ(p.m_dYResolution, (double)300.7f);
    EXPECT_NE(p.m_dYResolution, 300.7);
    EXPECT_EQ(p.m_dPixelSize, (double)2.3f);
}

TEST_F(RasterParameterTest, SetWritesAtOnceAndReadsBack) {
    tagRasterParameter p = GetBuiltinRasterParameter();
    p.m_nScale = 25000;
    p.m_dXResolution = 600.0;
    p.m_dYResolution = 300.0;
    p.m_dPixelSize = 2.5;
    SetDefaultRasterParameter(p);
    EXPECT_STREQ((LPCSTR)m_app.GetProfileString("Settings", "DefaultRasterParameter"),
                 "25000:600.000000:300.000000:2.500000");
    tagRasterParameter q = GetDefaultRasterParameter();
    EXPECT_EQ(q.m_nScale, 25000);
    EXPECT_EQ(q.m_dXResolution, 600.0);
    EXPECT_EQ(q.m_dYResolution, 300.0);
    EXPECT_EQ(q.m_dPixelSize, 2.5);
}

}  // namespace
