// Label settings: built-in and current values, the "LineLabel" and "PointLabel" profile entries in their
// field orders, short and damaged entries, the archive form of the line and point pair, and the symbol
// sizes of an object.
#include "annotation/LabelParams.h"
#include "core/GeoVectorObject.h"
#include "core/ObjectBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <quenby/SymbolAttrib.h>

#include <vector>

using objbytes::Bytes;

namespace {

// Field k of each record, by number, to write tables of cases over field numbers.
int& Line(tagLINELABEL& l, int k) { return reinterpret_cast<int*>(&l)[k]; }
int& Point(tagPOINTLABEL& p, int k) { return reinterpret_cast<int*>(&p)[k]; }

// Line field k = 100 + k, point field k = 200 + k.
tagLINELABEL NumberedLine() {
    tagLINELABEL l;
    for (int k = 0; k < 18; ++k) Line(l, k) = 100 + k;
    return l;
}
tagPOINTLABEL NumberedPoint() {
    tagPOINTLABEL p;
    for (int k = 0; k < 11; ++k) Point(p, k) = 200 + k;
    return p;
}

class LabelParams : public ::testing::Test {
protected:
    void SetUp() override { m_app.SetProfileFile((m_tmp.Path() + "/profile.ini").c_str()); }
    void TearDown() override {
        SetCurrentLineLabel(GetDefaultLineLabel());
        SetCurrentPointLabel(GetDefaultPointLabel());
    }
    std::string Entry(LPCSTR key) { return m_app.GetProfileString("Settings", key).str(); }
    void Put(LPCSTR key, LPCSTR text) { m_app.WriteProfileString("Settings", key, text); }

    testsupport::TempDir m_tmp{"corvane-label"};
    CWinApp m_app;
};

}  // namespace

TEST_F(LabelParams, BuiltInValuesAndTheirEntries) {
    const int line[18] = {2, 0, 50, 100, 10, 20, 0, 0, 0, 1000, 0, 0, 2, 0, 5, 1, 1, 1};
    const int point[11] = {9, 10, 20, 0, 0, 0, 0, 0, 0, 5, 1};
    tagLINELABEL l = GetCurrentLineLabel();
    tagPOINTLABEL p = GetCurrentPointLabel();
    for (int k = 0; k < 18; ++k) EXPECT_EQ(Line(l, k), line[k]) << k;
    for (int k = 0; k < 11; ++k) EXPECT_EQ(Point(p, k), point[k]) << k;
    EXPECT_EQ(l.m_nSide, 2);
    EXPECT_EQ(l.m_nMinRepeatLength, 1000);
    EXPECT_EQ(p.m_nPosition, 9);
    EXPECT_EQ(p.m_nUseGrid, 1);

    SaveLineLabel();
    EXPECT_EQ(Entry("LineLabel"), "0:2:2:20:10:50:100:0:0:0:0:0:1000:0:5:1:1:1");
    SavePointLabel();
    EXPECT_EQ(Entry("PointLabel"), "9:0:0:20:10:0:0:5:1");
}

TEST_F(LabelParams, EntriesKeepTheirFieldOrders) {
    SetCurrentLineLabel(NumberedLine());
    SetCurrentPointLabel(NumberedPoint());
    SaveLineLabel();
    EXPECT_EQ(Entry("LineLabel"), "101:100:112:105:104:102:103:107:108:106:111:110:109:113:114:115:116:117");
    SavePointLabel();
    EXPECT_EQ(Entry("PointLabel"), "200:206:205:202:201:207:208:209:210");  // no fields 3 and 4

    // Back in: every kept field returns; point fields 3 and 4 keep what they hold.
    SetCurrentLineLabel(GetDefaultLineLabel());
    tagPOINTLABEL keep = GetDefaultPointLabel();
    keep.m_nVerOffset = -7;
    keep.m_nVerOffsetLimit = 33;
    SetCurrentPointLabel(keep);
    LoadLineLabel();
    LoadPointLabel();
    tagLINELABEL l = GetCurrentLineLabel();
    tagPOINTLABEL p = GetCurrentPointLabel();
    for (int k = 0; k < 18; ++k) EXPECT_EQ(Line(l, k), 100 + k) << k;
    for (int k = 0; k < 11; ++k) EXPECT_EQ(Point(p, k), k == 3 ? -7 : k == 4 ? 33 : 200 + k) << k;
}

TEST_F(LabelParams, ShortOrDamagedEntriesSetOnlyTheLeadingFields) {
    struct Case {
        const char* text;
        std::vector<std::pair<int, int>> set;  // point field, value; the others stay numbered
    } cases[] = {
        {"5:2:3", {{0, 5}, {6, 2}, {5, 3}}},
        {"5:x:3", {{0, 5}}},
        {"5::3", {{0, 5}}},
        {"5;2:3", {{0, 5}}},
        {"-7:+8:0", {{0, -7}, {6, 8}, {5, 0}}},
        {"1:2147483648:3", {{0, 1}}},               // out of the int range
        {"-2147483648:2147483647", {{0, -2147483647 - 1}, {6, 2147483647}}},
        {"1:2:3:4:5:6:7:8:9:10:11", {{0, 1}, {6, 2}, {5, 3}, {2, 4}, {1, 5}, {7, 6}, {8, 7}, {9, 8}, {10, 9}}},
        {"x", {}},
        {"", {}},  // empty: nothing
    };
    for (const Case& c : cases) {
        SetCurrentPointLabel(NumberedPoint());
        Put("PointLabel", c.text);
        LoadPointLabel();
        tagPOINTLABEL expected = NumberedPoint();
        for (auto& fv : c.set) Point(expected, fv.first) = fv.second;
        tagPOINTLABEL got = GetCurrentPointLabel();
        for (int k = 0; k < 11; ++k) EXPECT_EQ(Point(got, k), Point(expected, k)) << c.text << " field " << k;
    }

    // Line: the first three numbers go to fields 1, 0 and 12.
    SetCurrentLineLabel(NumberedLine());
    Put("LineLabel", "3:1:0");
    LoadLineLabel();
    tagLINELABEL expected = NumberedLine();
    Line(expected, 1) = 3;
    Line(expected, 0) = 1;
    Line(expected, 12) = 0;
    tagLINELABEL got = GetCurrentLineLabel();
    for (int k = 0; k < 18; ++k) EXPECT_EQ(Line(got, k), Line(expected, k)) << k;
}

TEST_F(LabelParams, AbsentEntriesAndAbsentApplicationChangeNothing) {
    SetCurrentLineLabel(NumberedLine());
    LoadLineLabel();
    LoadPointLabel();
    EXPECT_EQ(GetCurrentLineLabel().m_nSide, 100);
    EXPECT_EQ(GetCurrentPointLabel().m_nPosition, 9);
}

TEST(LabelPara, StartsFromTheCurrentValues) {
    tagLINELABEL l = GetDefaultLineLabel();
    l.m_nCharSpace = 77;
    SetCurrentLineLabel(l);
    tagPOINTLABEL p = GetDefaultPointLabel();
    p.m_nSearchStep = 9;
    SetCurrentPointLabel(p);
    const tagLABELPARA pair;
    SetCurrentLineLabel(GetDefaultLineLabel());
    SetCurrentPointLabel(GetDefaultPointLabel());
    EXPECT_EQ(pair.m_LineLabel.m_nCharSpace, 77);
    EXPECT_EQ(pair.m_PointLabel.m_nSearchStep, 9);
    EXPECT_EQ(pair.m_LineLabel.m_nRepeat, 1);

    // The parameter records begin with the settings.
    tagLINEPARA lp;
    static_cast<tagLINELABEL&>(lp) = l;
    EXPECT_EQ(lp.m_nCharSpace, 77);
    EXPECT_EQ(lp.m_pPoints, nullptr);
    tagPOINTPARA pp;
    static_cast<tagPOINTLABEL&>(pp) = p;
    EXPECT_EQ(pp.m_nSearchStep, 9);
    EXPECT_EQ(pp.m_nScale, 0);
}

TEST(LabelPara, ArchiveOrderAndRoundTrip) {
    tagLABELPARA source;
    source.m_LineLabel = NumberedLine();
    source.m_PointLabel = NumberedPoint();
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        SerializeLabelPara(ar, source);
        ar.Close();
    }
    Bytes expected;
    for (int k : {0, 1, 2, 5, 6, 7, 8, 9, 10}) expected.Long(200 + k);
    for (int k : {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 9, 12, 13, 14, 15, 16, 17}) expected.Long(100 + k);
    EXPECT_EQ(file.Data(), expected.Data());

    tagLABELPARA target;
    target.m_PointLabel.m_nVerOffset = -5;
    target.m_PointLabel.m_nVerOffsetLimit = 55;
    {
        CMemFile in(expected.Data().data(), static_cast<UINT>(expected.Data().size()));
        CArchive ar(&in, CArchive::load);
        SerializeLabelPara(ar, target);
    }
    for (int k = 0; k < 18; ++k) EXPECT_EQ(Line(target.m_LineLabel, k), 100 + k) << k;
    for (int k = 0; k < 11; ++k)
        EXPECT_EQ(Point(target.m_PointLabel, k), k == 3 ? -5 : k == 4 ? 55 : 200 + k) << k;
}

TEST(LabelPara, ShortRecordRaisesArchiveExceptionAndKeepsThePair) {
    Bytes b;
    for (int i = 0; i < 26; ++i) b.Long(i);
    b.Word(1);
    tagLABELPARA target;
    target.m_LineLabel = NumberedLine();
    target.m_PointLabel = NumberedPoint();
    CMemFile in(b.Data().data(), static_cast<UINT>(b.Data().size()));
    CArchive ar(&in, CArchive::load);
    EXPECT_THROW(SerializeLabelPara(ar, target), CArchiveException);
    for (int k = 0; k < 18; ++k) EXPECT_EQ(Line(target.m_LineLabel, k), 100 + k) << k;
    for (int k = 0; k < 11; ++k) EXPECT_EQ(Point(target.m_PointLabel, k), 200 + k) << k;
}

TEST(ObjSymbolSize, ItemsCountOnlyUnderTheirMaskBits) {
    int first = 5, second = 6;
    GetObjSymbolSize(nullptr, first, second, nullptr);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 0);

    CGeoVectorObject obj;
    tagVM_SYM_VARIANT v{};
    v.wType = VM_SYM_INTEGER;
    v.lValue = 40;
    obj.SetSymbolAttribute(3, v);
    v.lValue = 12;
    obj.SetSymbolAttribute(4, v);
    GetObjSymbolSize(&obj, first, second, nullptr);
    EXPECT_EQ(first, 0);  // neither mask bit
    EXPECT_EQ(second, 0);

    obj.SetSymbolAttributeMark(4, 1);  // 0x04
    GetObjSymbolSize(&obj, first, second, nullptr);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 12);

    obj.SetSymbolAttributeMark(3, 1);  // 0x10
    GetObjSymbolSize(&obj, first, second, nullptr);
    EXPECT_EQ(first, 40);
    EXPECT_EQ(second, 12);

    CGeoVectorObject unset;  // bits on, items not set
    unset.SetSymbolAttributeMark(3, 1);
    unset.SetSymbolAttributeMark(4, 1);
    GetObjSymbolSize(&unset, first, second, nullptr);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 0);
}
