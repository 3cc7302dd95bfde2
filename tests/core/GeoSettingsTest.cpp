// Process-wide settings: defaults, setter guards, the profile entries in their exact formats, partial and
// damaged entries, the compression pairs read on every call, the mark styles and the default library.
#include "core/GeoSettings.h"

#include "core/SymbolLibAccess.h"
#include "platform/quenby/SampleSymbolLib.h"

#include <ostrel/Translate.h>
#include <win32/module.h>

#include <gtest/gtest.h>
#include "support/TempDir.h"

#include <cstdlib>
#include <string>
#include <sys/stat.h>

namespace {

const char kDefaultBase[] =
    "10:10:7:5:5:7:0:16711680:16:10:5:65280:16711680:0:1:50:2:255:65280:0:16711680:3:255:1:7:16711680:5.000:1:7";

// Puts every setting these tests touch back to its built-in value.
void RestoreDefaults() {
    SetSelRectRadius(10, 10);
    SetHandleRadius(7);
    SetXYBorder(5, 5);
    SetSplineIntpPts(7);
    SetDefaultColor(0);
    SetDefaultFillColor(0xFF0000);
    SetDefaultPointSize(16);
    SetCrossRadius(10);
    SetDangleRadius(5);
    SetDangleColor(0xFF00);
    SetShowElevationColor(0xFF0000);
    SetHoldBelt(0);
    SetShowElevationPrecision(1);
    SetShowElevationCharHeight(50);
    SetTrackerFrameColor(0xFF);
    SetTrackerFillColor(0xFF00);
    SetDefaultPolygonFillShape(0);
    SetDefaultPolygonFillColor(0xFF0000);
    SetDefaultPolygonBorderLineShape(3);
    SetDefaultPolygonBorderColor(0xFF);
    SetDefaultPolygonTransparent(1);
    SetFalseNodeRadius(7);
    SetFalseNodeColor(0xFF0000);
    SetClearDangleDist(5.0f);
    SetDangleMode(1);
    SetClearFalseNodeCondition(7);
    SetCurrentElevationChart(GetDefaultElevationChart());
    SetContourCode(201, 202, 203, 204);
    OnlycontourShowElevChart(1);
    ElevPointShowElevChart(1);
    SetLabelPointShowType(LABEL_CROSS);
    SetTranslate(0);
    SetRotateAngle(0.0);
    SetBasePoint(0, 0);
    SetTransform(0, 0);
}

class Settings : public ::testing::Test {
protected:
    void SetUp() override {
        m_app.SetProfileFile((m_dir + "/profile.ini").c_str());
        AfxClearMessageLog();
    }
    void TearDown() override {
        // The tick precision has no setter here: the defaults' own entry puts it back.
        Put("BaseVariable", kDefaultBase);
        LoadCorvaneVariable();
        RestoreDefaults();
    }
    CString Entry(LPCSTR entry, LPCSTR section = "Settings") { return m_app.GetProfileString(section, entry); }
    void Put(LPCSTR entry, LPCSTR text, LPCSTR section = "Settings") { m_app.WriteProfileString(section, entry, text); }

    testsupport::TempDir m_tmp{"corvane-settings"};
    std::string m_dir = m_tmp.Path();
    CWinApp m_app;
};

}  // namespace

TEST_F(Settings, DefaultsAreInPlace) {
    struct Case {
        const char* name;
        long long value, expected;
    } cases[] = {
        {"SelRectRadiusX", GetSelRectRadiusX(), 10},     {"SelRectRadiusY", GetSelRectRadiusY(), 10},
        {"HandleRadius", GetHandleRadius(), 7},          {"XBorder", GetXBorder(), 5},
        {"YBorder", GetYBorder(), 5},                    {"SplineIntpPts", GetSplineIntpPts(), 7},
        {"DefaultColor", GetDefaultColor(), 0},          {"DefaultFillColor", GetDefaultFillColor(), 0xFF0000},
        {"DefaultPointSize", GetDefaultPointSize(), 16}, {"CrossRadius", GetCrossRadius(), 10},
        {"DangleRadius", GetDangleRadius(), 5},          {"DangleColor", GetDangleColor(), 0xFF00},
        {"ShowElevationColor", GetShowElevationColor(), 0xFF0000}, {"HoldBelt", GetHoldBelt(), 0},
        {"ShowElevationPrecision", GetShowElevationPrecision(), 1},
        {"ShowElevationCharHeight", GetShowElevationCharHeight(), 50}, {"TicPrecision", GetTicPrecision(), 2},
        {"TrackerFrameColor", GetTrackerFrameColor(), 0xFF}, {"TrackerFillColor", GetTrackerFillColor(), 0xFF00},
        {"PolygonFillShape", GetDefaultPolygonFillShape(), 0},
        {"PolygonFillColor", GetDefaultPolygonFillColor(), 0xFF0000},
        {"PolygonBorderShape", GetDefaultPolygonBorderLineShape(), 3},
        {"PolygonBorderColor", GetDefaultPolygonBorderLineColor(), 0xFF},
        {"PolygonTransparent", IsDefaultPolygonTransparent(), 1}, {"FalseNodeRadius", GetFalseNodeRadius(), 7},
        {"FalseNodeColor", GetFalseNodeColor(), 0xFF0000}, {"DangleMode", GetDangleMode(), 1},
        {"ClearFalseNodeCondition", GetClearFalseNodeCondition(), 7}, {"NPolygonSides", GetNPolygonSides(), 3},
        {"IsLoadMATFile", GetIsLoadMATFile(), 0},        {"AvlPermit", IsAvlPermit(), 1},
        {"IndexContour", GetIndexContourCode(), 201},    {"MedianContour", GetMedianContourCode(), 202},
        {"SuContour", GetSuContourCode(), 203},          {"ZhuContour", GetZhuContourCode(), 204},
        {"OnlyContour", IsOnlyContourShowElevChart(), 1}, {"ElevPoint", IsElevPointShowElevChart(), 1},
        {"MapScale", GetDefaultMapScale(), 50000},       {"LabelType", GetLabelPointShowType(), LABEL_CROSS},
    };
    for (const Case& c : cases) EXPECT_EQ(c.value, c.expected) << c.name;
    EXPECT_EQ(GetClearDangleDist(), 5.0f);
    EXPECT_EQ(GetOPTFileName(), CString("图廓点.opt"));
    EXPECT_TRUE(GetMATFilePathName().IsEmpty());
    EXPECT_EQ(GetDefaultSymbolLibFile(), CString("Normal"));
    float a = 0, b = 0;
    GetCompressLengthPro(a, b);
    EXPECT_EQ(a, 5.0f);
    EXPECT_EQ(b, 0.2f);
    GetSmoothParameter(a, b);
    EXPECT_EQ(a, 1.0f);
    EXPECT_EQ(b, 0.5f);
    EXPECT_TRUE(IsEqual(GetCurrentElevationChart(), GetDefaultElevationChart()));
}

TEST_F(Settings, GuardedSettersIgnoreBadValues) {
    SetDangleRadius(0);
    EXPECT_EQ(GetDangleRadius(), 5);
    SetSplineIntpPts(-3);
    EXPECT_EQ(GetSplineIntpPts(), 7);
    SetSplineIntpPts(1);
    EXPECT_EQ(GetSplineIntpPts(), 1);
}

TEST_F(Settings, SavesBaseVariablesInTheirExactFormat) {
    SaveCorvaneVariable();
    EXPECT_EQ(Entry("BaseVariable"), CString(kDefaultBase));
    EXPECT_EQ(Entry("BaseVariable2"), CString("0:0.000000:0:0:0:0"));

    SetTranslate(1);
    SetRotateAngle(30.5);
    SetBasePoint(1, -2);
    SetTransform(3, 4);
    SetClearDangleDist(2.25f);
    SetHandleRadius(9);
    SaveCorvaneVariable();
    EXPECT_EQ(Entry("BaseVariable2"), CString("1:30.500000:1:-2:3:4"));
    CString base = Entry("BaseVariable");
    EXPECT_EQ(base.Left(6), CString("10:10:"));
    EXPECT_NE(base.Find(":9:5:5:"), -1);
    EXPECT_NE(base.Find(":2.250:"), -1);
}

TEST_F(Settings, AbsentEntriesChangeNothing) {
    LoadCorvaneVariable();
    LoadElevationChart();
    LoadContourCode();
    LoadLabelPointShowType();
    EXPECT_EQ(GetHandleRadius(), 7);
    EXPECT_EQ(GetTrackerFrameColor(), 0xFFu);
    EXPECT_EQ(GetClearDangleDist(), 5.0f);
    EXPECT_TRUE(IsEqual(GetCurrentElevationChart(), GetDefaultElevationChart()));
    EXPECT_EQ(GetIndexContourCode(), 201u);
    EXPECT_EQ(GetLabelPointShowType(), LABEL_CROSS);
    EXPECT_EQ(IsUsedTranslate(), 0);
}

TEST_F(Settings, LoadsBaseVariablesStraightIntoTheValues) {
    // Every value changed, the guards bypassed (a dangle radius of 0, a tick precision of 99).
    Put("BaseVariable", "1:2:3:4:5:6:7:8:9:10:0:12:13:14:15:16:99:18:19:20:21:22:23:24:25:26:1.5:28:29");
    LoadCorvaneVariable();
    int x, y;
    GetSelRectRadius(x, y);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 2);
    EXPECT_EQ(GetHandleRadius(), 3);
    GetXYBorder(x, y);
    EXPECT_EQ(x, 4);
    EXPECT_EQ(y, 5);
    EXPECT_EQ(GetSplineIntpPts(), 6);
    EXPECT_EQ(GetDefaultColor(), 7u);
    EXPECT_EQ(GetDefaultFillColor(), 8u);
    EXPECT_EQ(GetDefaultPointSize(), 9);
    EXPECT_EQ(GetCrossRadius(), 10);
    EXPECT_EQ(GetDangleRadius(), 0);
    EXPECT_EQ(GetDangleColor(), 12u);
    EXPECT_EQ(GetShowElevationColor(), 13u);
    EXPECT_EQ(GetHoldBelt(), 14);
    EXPECT_EQ(GetShowElevationPrecision(), 15);
    EXPECT_EQ(GetShowElevationCharHeight(), 16);
    EXPECT_EQ(GetTicPrecision(), 99);
    EXPECT_EQ(GetTrackerFrameColor(), 18u);
    EXPECT_EQ(GetTrackerFillColor(), 19u);
    EXPECT_EQ(GetDefaultPolygonFillShape(), 20);
    EXPECT_EQ(GetDefaultPolygonFillColor(), 21u);
    EXPECT_EQ(GetDefaultPolygonBorderLineShape(), 22);
    EXPECT_EQ(GetDefaultPolygonBorderLineColor(), 23u);
    EXPECT_EQ(IsDefaultPolygonTransparent(), 24);
    EXPECT_EQ(GetFalseNodeRadius(), 25);
    EXPECT_EQ(GetFalseNodeColor(), 26u);
    EXPECT_EQ(GetClearDangleDist(), 1.5f);
    EXPECT_EQ(GetDangleMode(), 28);
    EXPECT_EQ(GetClearFalseNodeCondition(), 29);

    // Saving writes back what was loaded.
    SaveCorvaneVariable();
    EXPECT_EQ(Entry("BaseVariable"),
              CString("1:2:3:4:5:6:7:8:9:10:0:12:13:14:15:16:99:18:19:20:21:22:23:24:25:26:1.500:28:29"));
}

TEST_F(Settings, PartialEntriesChangeOnlyTheirLeadingFields) {
    Put("BaseVariable", "12:13:x:1");
    LoadCorvaneVariable();
    EXPECT_EQ(GetSelRectRadiusX(), 12);
    EXPECT_EQ(GetSelRectRadiusY(), 13);
    EXPECT_EQ(GetHandleRadius(), 7);
    EXPECT_EQ(GetXBorder(), 5);

    Put("ContourCode", "301:302");
    LoadContourCode();
    EXPECT_EQ(GetIndexContourCode(), 301u);
    EXPECT_EQ(GetMedianContourCode(), 302u);
    EXPECT_EQ(GetSuContourCode(), 203u);

    Put("ElevationChart", "20.5:3");
    LoadElevationChart();
    _tagELEVATIONCHART chart = GetCurrentElevationChart();
    EXPECT_EQ(chart.m_fContourInterval, 20.5f);
    EXPECT_EQ(chart.m_fSpecialElevation, 3.0f);
    EXPECT_EQ(chart.m_crColor[0], 0xFFu);
    EXPECT_EQ(chart.m_nWidth[9], 30);
    EXPECT_FALSE(IsEqual(chart, GetDefaultElevationChart()));
    EXPECT_EQ(GetDefaultElevationChart().m_fContourInterval, 10.0f);
}

TEST_F(Settings, ADamagedTranslationEntryChangesNothing) {
    Put("BaseVariable2", "1:45.5:5");
    LoadCorvaneVariable();
    EXPECT_EQ(IsUsedTranslate(), 0);
    EXPECT_EQ(GetRotateAngle(), 0.0);

    Put("BaseVariable2", "1:45.5:5:6:7:8");
    LoadCorvaneVariable();
    EXPECT_EQ(IsUsedTranslate(), 1);
    EXPECT_EQ(GetRotateAngle(), 45.5);
    int x, y;
    GetBasePoint(x, y);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 6);
    GetTransform(x, y);
    EXPECT_EQ(x, 7);
    EXPECT_EQ(y, 8);
}

TEST_F(Settings, ElevationChartAndContourCodesRoundTrip) {
    SaveElevationChart();
    EXPECT_EQ(Entry("ElevationChart"),
              CString("10.000000:0.000000:255:65280:16711680:65535:2763429:11823615:11823615:255:16436871:16711935:"
                      "40:20:20:20:20:10:10:20:10:30"));
    _tagELEVATIONCHART chart = GetDefaultElevationChart();
    chart.m_fContourInterval = 5.0f;
    chart.m_crColor[3] = 0x123456;
    chart.m_nWidth[9] = 1;
    _tagELEVATIONCHART previous = SetCurrentElevationChart(chart);
    EXPECT_TRUE(IsEqual(previous, GetDefaultElevationChart()));
    SaveElevationChart();
    SetCurrentElevationChart(GetDefaultElevationChart());
    LoadElevationChart();
    EXPECT_TRUE(IsEqual(GetCurrentElevationChart(), chart));

    SetContourCode(1, 2, 3, 4);
    SaveContourCode();
    EXPECT_EQ(Entry("ContourCode"), CString("1:2:3:4"));
    SetContourCode(201, 202, 203, 204);
    LoadContourCode();
    EXPECT_TRUE(IsContourCode(3));
    EXPECT_FALSE(IsContourCode(201));
    EXPECT_EQ(GetZhuContourCode(), 4u);
}

TEST_F(Settings, StylesAreColouredByElevation) {
    struct Case {
        double z;
        int mode;
        COLORREF point, line;
        float width;
    } cases[] = {
        {0.0, 3, 0, 0xFF, 2.0f},         // class 7
        {0.0, 0, 0xFF, 0, 9.0f},
        {50.0, 1, 0, 0xFF, 4.0f},        // an index contour: class 0
        {10.0, 1, 0, 0xFF00, 2.0f},      // class 1
        {10.0, 0, 0xFF00, 0, 9.0f},
        {7.0, 0, 0x2A2AA5, 0, 9.0f},     // an elevation point between levels: class 4
        {3.0, 1, 0, 0xFF00FF, 3.0f},     // no class: class 9
        {-4.5, 1, 0, 0xFACE87, 1.0f},    // the special elevation: class 8
    };
    _tagELEVATIONCHART chart = GetDefaultElevationChart();
    chart.m_fSpecialElevation = -4.5f;
    SetCurrentElevationChart(chart);
    for (const Case& c : cases) {
        GEOVIEW v;
        v.m_crPointColor = v.m_crLineColor = 0;
        v.m_fLineWidth = 9.0f;
        ColorGeoViewByElevation(c.z, &v, c.mode);
        EXPECT_EQ(v.m_crPointColor, c.point) << c.z << " " << c.mode;
        EXPECT_EQ(v.m_crLineColor, c.line) << c.z << " " << c.mode;
        EXPECT_EQ(v.m_fLineWidth, c.width) << c.z << " " << c.mode;
    }
    ColorGeoViewByElevation(1.0, nullptr, 0);
}

TEST_F(Settings, ElevationFlagsAreOnUnlessTheEntryIsExactlyZero) {
    struct Case {
        const char* text;  // NULL: no entry
        int expected;
    } cases[] = {{nullptr, 1}, {"0", 0}, {"1", 1}, {"x", 1}, {"00", 1}, {" 0", 1}};
    for (const Case& c : cases) {
        OnlycontourShowElevChart(c.expected ? 0 : 1);
        ElevPointShowElevChart(c.expected ? 0 : 1);
        Put("OnlyContour", c.text);
        Put("ElevPoint", c.text);
        LoadShowElevCharType();
        EXPECT_EQ(IsOnlyContourShowElevChart(), c.expected) << (c.text ? c.text : "(none)");
        EXPECT_EQ(IsElevPointShowElevChart(), c.expected) << (c.text ? c.text : "(none)");
    }
    OnlycontourShowElevChart(5);
    ElevPointShowElevChart(0);
    SaveShowElevCharType();
    EXPECT_EQ(Entry("OnlyContour"), CString("1"));
    EXPECT_EQ(Entry("ElevPoint"), CString("0"));
}

TEST_F(Settings, LabelTypeRoundTrips) {
    SetLabelPointShowType(LABEL_SYMBOL);
    SaveLabelPointShowType();
    EXPECT_EQ(Entry("LabelType"), CString("3"));
    SetLabelPointShowType(LABEL_HIDE);
    LoadLabelPointShowType();
    EXPECT_EQ(GetLabelPointShowType(), LABEL_SYMBOL);
}

TEST_F(Settings, CompressionPairsAreWrittenAtOnceAndReadOnEveryCall) {
    SetCompressLengthPro(3.0f, 0.5f);
    EXPECT_EQ(Entry("Para", "Compress Settings"), CString("3.000000:0.500000"));
    float a = 0, b = 0;
    GetCompressLengthPro(a, b);
    EXPECT_EQ(a, 3.0f);
    EXPECT_EQ(b, 0.5f);
    // The getter reads the profile, not the stored pair.
    Put("Para", "7:8", "Compress Settings");
    GetCompressLengthPro(a, b);
    EXPECT_EQ(a, 7.0f);
    EXPECT_EQ(b, 8.0f);
    // A field that does not parse leaves the caller's variable as it was.
    Put("Para", "9", "Compress Settings");
    a = b = -1;
    GetCompressLengthPro(a, b);
    EXPECT_EQ(a, 9.0f);
    EXPECT_EQ(b, -1.0f);

    GetSmoothParameter(a, b);
    EXPECT_EQ(a, 1.0f);
    EXPECT_EQ(b, 0.5f);
    SetSmoothParameter(2.0f, 0.25f);
    EXPECT_EQ(Entry("Smooth Para", "Compress Settings"), CString("2.000000:0.250000"));
    Put("Smooth Para", "4", "Compress Settings");
    GetSmoothParameter(a, b);
    EXPECT_EQ(a, 4.0f);
    EXPECT_EQ(b, 0.25f);  // the stored pair fills what the entry lacks

    // Without an entry the stored pairs answer.
    Put("Para", nullptr, "Compress Settings");
    GetCompressLengthPro(a, b);
    EXPECT_EQ(a, 3.0f);
    EXPECT_EQ(b, 0.5f);
    SetCompressLengthPro(5.0f, 0.2f);
    SetSmoothParameter(1.0f, 0.5f);
}

TEST_F(Settings, MarkStylesAreFixedAndNotPersisted) {
    struct Case {
        COLORREF colour, fill;
        int transparent;
    } marks[] = {{0xFF0000, 0xFFFF, 1}, {0xFF00, 0xFFFF, 1}, {0xFF, 0xFF, 0}, {0x2A2AA5, 0xFFFF, 1}, {0xFFFF, 0xFFFF, 0}};
    for (int i = 0; i < 5; ++i) {
        GEOVIEW v = GetMarkGeoView(static_cast<GEOMARK>(i + 1));
        EXPECT_EQ(v.m_crPointColor, marks[i].colour);
        EXPECT_EQ(v.m_crLineColor, marks[i].colour);
        EXPECT_EQ(v.m_crAnnoColor, marks[i].colour);
        EXPECT_EQ(v.m_crFillColor, marks[i].fill);
        EXPECT_EQ(v.m_bTransparent, marks[i].transparent);
        EXPECT_EQ(v.m_nPointShape, 66);
        EXPECT_EQ(v.m_nPointSize, 16);
        EXPECT_EQ(v.m_nLineShape, 3);
        EXPECT_EQ(v.m_dwTextFlags, 0x80u);
        EXPECT_EQ(v.GetSymbol(SYMBOL_FILL), 0);
    }
    SetDefaultColor(0x111111);
    for (GEOMARK m : {static_cast<GEOMARK>(0), static_cast<GEOMARK>(6)})
        EXPECT_EQ(GetMarkGeoView(m).m_crLineColor, 0x111111u);  // the default style
    SetDefaultColor(0);

    GEOVIEW changed = GetMarkGeoView(GEOMARK_3);
    changed.m_crLineColor = 0xABCDEF;
    SetMarkGeoView(changed, static_cast<GEOMARK>(7));
    for (int i = 1; i <= 5; ++i) EXPECT_NE(GetMarkGeoView(static_cast<GEOMARK>(i)).m_crLineColor, 0xABCDEFu);
    SetMarkGeoView(changed, GEOMARK_3);
    SaveMarkGeoView();
    LoadMarkGeoView();
    EXPECT_EQ(GetMarkGeoView(GEOMARK_3).m_crLineColor, 0xABCDEFu);
    changed.m_crLineColor = 0xFF;
    SetMarkGeoView(changed, GEOMARK_3);
}

class DefaultLibrary : public Settings {
protected:
    void SetUp() override {
        Settings::SetUp();
        win32::SetWindowsDirectory(m_dir);
        ASSERT_EQ(mkdir((m_dir + "/Quenby").c_str(), 0755), 0);
        ASSERT_TRUE(quenbytest::WriteSampleLibrary((m_dir + "/Quenby/Normal.sym").c_str()));
        ASSERT_TRUE(quenbytest::WriteSampleLibrary((m_dir + "/Quenby/Roads.slb").c_str()));
    }
    void TearDown() override {
        // Back to "Normal" at 50000 (the library stays open, as the default library does).
        SetDefaultSymbolLibFile("Normal", 50000);
        Settings::TearDown();
    }
};

TEST_F(DefaultLibrary, LoadOpensTheNamedLibraryPresentOrNot) {
    // No entry: the current name and scale, "Normal" at 50000.
    LoadDefaultSymbolLibFile();
    ASSERT_TRUE(GetDefaultSymbolLibIO() != nullptr);
    EXPECT_EQ(GetDefaultSymbolLibIO()->GetMapScale(), 50000u);
    EXPECT_EQ(GetDefaultSymbolLibIO()->GetFilePath(), GetSymbolLibFileName("Normal"));
    EXPECT_TRUE(AfxGetMessageLog().empty());

    Put("SymbolLib", "25000:#Roads");
    LoadDefaultSymbolLibFile();
    EXPECT_EQ(GetDefaultSymbolLibFile(), CString("#Roads"));
    EXPECT_EQ(GetDefaultMapScale(), 25000);
    EXPECT_EQ(GetDefaultSymbolLibIO()->GetFilePath(), GetSymbolLibFileName("#Roads"));

    SaveDefaultSymbolLibFile();
    EXPECT_EQ(Entry("SymbolLib"), CString("25000:#Roads"));
}

TEST_F(DefaultLibrary, AFailedOpenKeepsThePreviousLibrary) {
    SetDefaultSymbolLibFile("Normal", 10000);
    CSymbolLibIO* before = GetDefaultSymbolLibIO();
    ASSERT_TRUE(before != nullptr);
    SetDefaultSymbolLibFile("Missing", 500);
    EXPECT_EQ(GetDefaultSymbolLibIO(), before);
    EXPECT_EQ(GetDefaultSymbolLibFile(), CString("Normal"));
    EXPECT_EQ(GetDefaultMapScale(), 10000);
    ASSERT_EQ(AfxGetMessageLog().size(), 1u);
    EXPECT_EQ(AfxGetMessageLog()[0].text, CString("打开符号库出错！"));

    // An empty name releases the library and keeps the scale.
    SetDefaultSymbolLibFile("", 500);
    EXPECT_TRUE(GetDefaultSymbolLibIO() == nullptr);
    EXPECT_EQ(GetDefaultMapScale(), 500);
    EXPECT_TRUE(GetDefaultSymbolLibFile().IsEmpty());
}

TEST_F(DefaultLibrary, TheLibraryNameIsReadWithABound) {
    SetDefaultSymbolLibFile("Normal", 10000);
    Put("SymbolLib", ("20000:" + std::string(256, 'n')).c_str());
    LoadDefaultSymbolLibFile();
    EXPECT_EQ(GetDefaultSymbolLibFile(), CString("Normal"));  // refused: too long
    EXPECT_EQ(GetDefaultMapScale(), 20000);
    EXPECT_TRUE(AfxGetMessageLog().empty());

    // The name ends at white space, as a "%s" field does.
    Put("SymbolLib", "30000:Normal and more");
    LoadDefaultSymbolLibFile();
    EXPECT_EQ(GetDefaultSymbolLibFile(), CString("Normal"));
    EXPECT_EQ(GetDefaultMapScale(), 30000);

    // A missing file shows the message and keeps the open library with its name and scale.
    CSymbolLibIO* open = GetDefaultSymbolLibIO();
    Put("SymbolLib", ("40000:" + std::string(255, 'n')).c_str());
    LoadDefaultSymbolLibFile();
    EXPECT_EQ(AfxGetMessageLog().size(), 1u);
    EXPECT_EQ(GetDefaultSymbolLibFile(), CString("Normal"));
    EXPECT_EQ(GetDefaultMapScale(), 30000);
    EXPECT_EQ(GetDefaultSymbolLibIO(), open);
}

TEST(SettingsWithoutApplication, ProfileCountsAsEmpty) {
    ASSERT_TRUE(AfxGetApp() == nullptr);
    LoadCorvaneVariable();
    SaveCorvaneVariable();
    float a = 0, b = 0;
    GetCompressLengthPro(a, b);
    EXPECT_EQ(a, 5.0f);
    EXPECT_EQ(GetHandleRadius(), 7);
}
