// The process-wide annotation defaults and their profile entries.
#include "annotation/AnnoDefaults.h"
#include "annotation/GeoAnno.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

class AnnoDefaults : public ::testing::Test {
protected:
    void SetUp() override { m_app.SetProfileFile((m_tmp.Path() + "/profile.ini").c_str()); }
    void TearDown() override {
        SetCurrentGeoAnno(GEOANNO());
        LoadDefaultGeoRect();
        LoadDefaultGeoFormat();
        SetCurrentSongJianAngle(150.0f);
        SetCurrentDynamicGeoAnno(1);
        SetCurrentContourLabel(LoadDefaultContourLabel());
        SetAttributeLabelFontFit(0);
    }
    std::string Entry(LPCSTR key) { return m_app.GetProfileString("Settings", key).str(); }
    void Put(LPCSTR key, LPCSTR text) { m_app.WriteProfileString("Settings", key, text); }

    testsupport::TempDir m_tmp{"corvane-anno"};
    CWinApp m_app;
};

TEST_F(AnnoDefaults, BuiltInValuesAndTheirEntries) {
    SaveGeoAnno();
    EXPECT_EQ(Entry("GeoAnno"), "0.000000:0.000000:0:50:50:0:0:0:3:0:1:150.000000:1.0:0");
    SaveGeoFormat();
    EXPECT_EQ(Entry("GeoFormat"), "10:10:10:10:2.0");
    SaveGeoRect();
    EXPECT_EQ(Entry("GeoRect"), "0:0:0:0");
    SaveSongJianAngle();
    EXPECT_EQ(Entry("SongJianAngle"), "150.000000");
    SaveDynamicGeoAnno();
    EXPECT_EQ(Entry("DynamicAnno"), "1");
    SaveContourLabel();
    // Fields 0, 1, 2, 3, 9, 6, 8, 5, 7, 10, 4, 11, 12, 13, 14 of 1 0 0 0 1 30 0 0 0 1 1 0 1 0 0.
    EXPECT_EQ(Entry("ContourLabel"), "1:0:0:0:1:0:0:30:0:1:1:0:1:0:0");
    SaveAttributeLabelFontFit();
    EXPECT_EQ(Entry("LabelFontFit"), "0");
    EXPECT_EQ(GetElevationCharHeight(), 30);
    EXPECT_EQ(GetElevationPrecision(), 1);
    EXPECT_EQ(GetElevationColor(), 0u);
}

TEST_F(AnnoDefaults, GeoAnnoEntryLoadsTheFieldsThatParse) {
    LoadGeoAnno();  // no entry: nothing changes
    EXPECT_EQ(GetCurrentGeoAnno(-1).m_byMoveFlag, 1);

    SetGeoAnnoLineWidth(2.5f);
    SetGeoAnnoBackColor(0x123456);
    GEOANNO start = GetCurrentGeoAnno(-1);
    start.m_byStyle = 0x04;
    SetCurrentGeoAnno(start);
    Put("GeoAnno", "300.5:450:4:60:70:2:5:6:6");
    LoadGeoAnno();
    const GEOANNO a = GetCurrentGeoAnno(-1);
    EXPECT_FLOAT_EQ(a.m_fEscapeAngle, 300.5f);
    EXPECT_FLOAT_EQ(a.m_fOrientAngle, 450.0f);
    EXPECT_EQ(a.m_nAlignType, 4);
    EXPECT_EQ(a.m_nCharHeight, 60);
    EXPECT_EQ(a.m_nCharWidth, 70);
    EXPECT_EQ(a.m_nPositionType, 2);
    EXPECT_EQ(a.m_nRowSpace, 5);
    EXPECT_EQ(a.m_nColSpace, 6);
    EXPECT_EQ(a.m_nUnit, 6);
    EXPECT_EQ(a.m_byStyle, 0);      // a short entry zeroes both flag bytes
    EXPECT_EQ(a.m_byMoveFlag, 0);
    EXPECT_FLOAT_EQ(a.m_fItalicAngle, 150.0f);
    EXPECT_FLOAT_EQ(a.m_fLineWidth, 2.5f);
    EXPECT_EQ(a.m_crBackColor, 0x123456u);

    SaveGeoAnno();
    EXPECT_EQ(Entry("GeoAnno"), "300.500000:450.000000:4:60:70:2:5:6:6:0:0:150.000000:2.5:1193046");
    Put("GeoAnno", "");
    LoadGeoAnno();
    EXPECT_EQ(GetCurrentGeoAnno(-1).m_nCharHeight, 60);
}

TEST_F(AnnoDefaults, OtherEntriesKeepTheirFieldOrder) {
    Put("GeoRect", "1:2:3:4");
    LoadGeoRect();
    tagGEORECT r = GetCurrentGeoRect(-1);
    EXPECT_EQ(r.bottom, 1);
    EXPECT_EQ(r.left, 2);
    EXPECT_EQ(r.right, 3);
    EXPECT_EQ(r.top, 4);
    EXPECT_EQ(GetCurrentGeoRect(0).left, 2);  // only a scale above 0 scales
    EXPECT_EQ(GetCurrentGeoRect(30).right, 9);

    Put("GeoFormat", "1:2:3:4:5.25");
    LoadGeoFormat();
    tagGEOFORMAT f = GetCurrentGeoFor(-1);
    EXPECT_EQ(f.fen_hor, 1);
    EXPECT_EQ(f.fen_ver, 2);
    EXPECT_EQ(f.hor, 3);
    EXPECT_EQ(f.ver, 4);
    EXPECT_FLOAT_EQ(f.fen_shu_width, 5.25f);
    SaveGeoFormat();
    EXPECT_EQ(Entry("GeoFormat"), "1:2:3:4:5.2");
    f = GetCurrentGeoFor(20);
    EXPECT_EQ(f.ver, 8);
    EXPECT_FLOAT_EQ(f.fen_shu_width, 10.5f);

    Put("ContourLabel", "10:11:12:13:14:15:16:17:18:19:20:21:22:23:24");
    LoadContourLabel();
    const tagCONTOURLABEL c = GetCurrentContourLabel();
    const int want[15] = {10, 11, 12, 13, 20, 17, 15, 18, 16, 14, 19, 21, 22, 23, 24};
    for (int i = 0; i < 15; ++i) EXPECT_EQ(c.m_nField[i], want[i]) << i;
    EXPECT_EQ(GetElevationCharHeight(), 17);

    Put("SongJianAngle", "120.5");
    Put("DynamicAnno", "0");
    Put("LabelFontFit", "1");
    LoadSongJianAngle();
    LoadDynamicGeoAnno();
    LoadAttributeLabelFontFit();
    EXPECT_FLOAT_EQ(GetCurrentSongJianAngle(), 120.5f);
    EXPECT_EQ(GetCurrentDynamicGeoAnno(), 0);
    EXPECT_EQ(GetAttributeLabelFontFit(), 1);
}

TEST_F(AnnoDefaults, ScaledCopiesAndSingleFieldSetters) {
    SetGeoAnnoCharWidth(40);
    SetGeoAnnoCharHeight(30);
    SetGeoAnnoRowSpace(5);
    SetGeoAnnoColSpace(3);
    EXPECT_EQ(GetCurrentGeoAnno(20).m_nCharWidth, 80);
    EXPECT_EQ(GetCurrentGeoAnno(20).m_nColSpace, 6);
    EXPECT_EQ(GetCurrentGeoAnno(-1).m_nRowSpace, 5);
    EXPECT_EQ(GetCurrentGeoAnno(0).m_nCharHeight, 0);
    EXPECT_EQ(GetCurrentGeoAnno(15).m_nRowSpace, 7);
    EXPECT_EQ(GetCurrentCharWidth(), 40);
    EXPECT_EQ(GetCurrentCharHeight(), 30);

    SetGeoAnnoRotateAngle(30.0f);
    SetGeoAnnoEscapeAngle(20.0f);
    EXPECT_FLOAT_EQ(GetCurrentGeoAnno(-1).m_fEscapeAngle, 300.0f);
    EXPECT_FLOAT_EQ(GetCurrentGeoAnno(-1).m_fOrientAngle, 200.0f);

    const struct {
        float in, stored;
    } italic[] = {{-20.0f, 200.0f}, {80.0f, 800.0f}, {81.0f, 10.0f}, {95.5f, 155.0f}, {160.0f, 0.0f}};
    for (const auto& c : italic) {
        SetGeoAnnoItalicAngle(c.in);
        EXPECT_FLOAT_EQ(GetCurrentGeoAnno(-1).m_fItalicAngle, c.stored) << c.in;
    }

    SetGeoAnnoPositionType(6);
    SetGeoAnnoTwoAlign(1);
    SetGeoAnnoMoveFlag(0x103);
    EXPECT_EQ(GetGeoAnnoPositionType(), 6);
    EXPECT_TRUE(GetCurrentGeoAnno(-1).GetTwoAlign());
    EXPECT_EQ(GetCurrentGeoAnno(-1).m_byMoveFlag, 3);

    GEOANNO withText;
    CObList list;
    withText.m_strText = "abc";
    withText.m_pOutputList = &list;
    withText.m_ptPosition = CPoint(5, 6);
    SetCurrentGeoAnno(withText);
    const GEOANNO kept = GetCurrentGeoAnno(-1);
    EXPECT_TRUE(kept.m_strText.IsEmpty());
    EXPECT_EQ(kept.m_pOutputList, nullptr);
    EXPECT_EQ(kept.m_ptRotateCenter, CPoint(5, 6));
    EXPECT_EQ(LoadDefaultGeoAnno().m_nCharWidth, 50);
    EXPECT_EQ(GetCurrentGeoAnno(-1).m_ptPosition, CPoint(5, 6));  // the default record leaves it alone
}

// New annotations take the built-in spacing and margins without throwing away the ones the user set.
TEST_F(AnnoDefaults, ConstructingAnnotationsKeepsTheCurrentSpacingAndMargins) {
    Put("GeoFormat", "1:2:3:4:5.0");
    Put("GeoRect", "1:2:3:4");
    LoadGeoFormat();
    LoadGeoRect();
    CGeoAnno a;
    CGeoAnno b(CString("X"), CPoint(0, 0), 50, 50, 0.0f, 0.0f, 0, 0, 1, 0, 0, 0, 0);
    EXPECT_EQ(a.GetGeoFormat(), (tagGEOFORMAT{10, 10, 10, 10, 2.0f}));
    EXPECT_EQ(b.GetGeoRect(), tagGEORECT());
    EXPECT_EQ(GetCurrentGeoFor(-1), (tagGEOFORMAT{3, 4, 1, 2, 5.0f}));
    EXPECT_EQ(GetCurrentGeoRect(-1).top, 4);

    // The explicit reset still resets.
    EXPECT_EQ(LoadDefaultGeoFormat(), (tagGEOFORMAT{10, 10, 10, 10, 2.0f}));
    EXPECT_EQ(GetCurrentGeoFor(-1).hor, 10);
    LoadDefaultGeoRect();
    EXPECT_EQ(GetCurrentGeoRect(-1), tagGEORECT());
}

}  // namespace
