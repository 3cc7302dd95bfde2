// Attribute-label settings and label-set files: template scanning, the setters' limits, the records
// and their version gates, and the collections' add rules.
#include "annotation/GeoClassLabel.h"

#include <afx/afx.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::vector<CString> Names(const CGeoClassLabel& label) {
    CStringArray names;
    label.GetFieldList(names);
    std::vector<CString> out;
    for (int i = 0; i < names.GetSize(); ++i) out.push_back(names[i]);
    return out;
}

std::vector<BYTE> Store(CObject& obj) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        obj.Serialize(ar);
        ar.Close();
    }
    return file.Data();
}

void LoadInto(const std::vector<BYTE>& bytes, CObject& obj) {
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    obj.Serialize(ar);
}

std::string TempPath(const char* name) {
    return std::string("/tmp/corvane_label_") + std::to_string(getpid()) + "_" + name;
}

CGeoClassLabel Label(UINT id, const char* format) {
    CGeoClassLabel l;
    l.SetClassID(id);
    l.SetFormat(format);
    return l;
}

}  // namespace

TEST(GeoClassLabel, TemplateNames) {
    struct Case {
        const char* format;
        std::vector<CString> names;
    } cases[] = {
        {"%NAME%\\%C%H%", {"NAME", "H"}},                    // the escaped '%' opens nothing
        {"%A%\x95\x5C%B%", {"A", "B"}},                       // a 0x5C trail byte escapes nothing
        {"高程%高程%米", {"高程"}},
        {"%OPEN", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(Names(Label(1, c.format)), c.names) << c.format;
    // copies rebuild the names from the template
    CGeoClassLabel a = Label(1, "%X%-%Y%");
    CGeoClassLabel b(a);
    EXPECT_EQ(Names(b), (std::vector<CString>{"X", "Y"}));
}

TEST(GeoClassLabel, SetterLimitsAndFlatView) {
    CGeoClassLabel l;
    l.SetLinePoint(static_cast<LINENODE>(7));
    EXPECT_EQ(l.GetLinePoint(), LINENODE_FIRST);
    l.SetLinePoint(LINENODE_BOTH);
    EXPECT_EQ(l.GetLinePoint(), LINENODE_BOTH);
    l.SetPrecision(12);
    EXPECT_EQ(l.GetPrecision(), 3);
    l.SetPrecision(10);
    EXPECT_EQ(l.GetPrecision(), 10);
    EXPECT_EQ(l.IsLabelLine() + l.IsLabelPoint() + l.IsLabelPoly() + l.GetFormatStyle(), 4);  // flags 0x0F

    tagATTRILABELTYPE t = l.GetAttributeLabelType();
    t.m_nCharSize = 44;
    t.m_bTransparent = 1;
    t.m_fFenShuWidth = 2.5f;
    t.m_dwFlags = 0x04;
    l.SetAttributeLabelType(t);
    int h = 0, w = 0;
    l.GetCharSize(h, w);
    EXPECT_EQ(h, 44);
    EXPECT_EQ(w, 44);
    EXPECT_TRUE(l.GetGeoView().m_dwTextFlags & 0x80);
    EXPECT_EQ(l.GetGeoFor().fen_shu_width, 2.5f);
    EXPECT_EQ(l.IsLabelPoint(), 1);
    EXPECT_EQ(l.IsLabelLine(), 0);
}

TEST(GeoClassLabel, RecordLayoutAndRoundTrip) {
    CGeoClassLabel l = Label(5, "A");
    l.SetOffset(3, 9);
    l.SetOffset2(4, 8);
    tagGEOFORMAT f;
    f.hor = 11;
    f.ver = 12;
    f.fen_hor = 13;
    f.fen_ver = 14;
    f.fen_shu_width = 1.5f;
    l.SetGeoFor(f);
    l.SetItalicAngle(120.0f);
    std::vector<BYTE> bytes = Store(l);
    // class id, "A" (2 bytes), five ints, precision byte, version, vertical offsets, then the spacing
    auto i32 = [&](size_t at) {
        int32_t v;
        std::memcpy(&v, &bytes[at], 4);
        return v;
    };
    auto f32 = [&](size_t at) {
        float v;
        std::memcpy(&v, &bytes[at], 4);
        return v;
    };
    EXPECT_EQ(i32(0), 5);
    EXPECT_EQ(i32(6), 3);
    EXPECT_EQ(i32(10), 9);
    EXPECT_EQ(f32(27), 1.38f);
    EXPECT_EQ(i32(31), 4);
    EXPECT_EQ(i32(39), 11);
    EXPECT_EQ(i32(51), 14);
    EXPECT_EQ(f32(55), 1.5f);

    CGeoClassLabel back;
    LoadInto(bytes, back);
    EXPECT_EQ(back.GetClassID(), 5u);
    EXPECT_EQ(back.GetFormat(), CString("A"));
    int s = 0, lim = 0;
    back.GetOffset2(s, lim);
    EXPECT_EQ(s, 4);
    EXPECT_EQ(lim, 8);
    EXPECT_TRUE(back.GetGeoFor() == f);
    EXPECT_EQ(back.GetItalicAngle(), 120.0f);
    EXPECT_EQ(back.GetOldVersion(), 1.38f);
}

TEST(GeoClassLabel, OlderRecordKeepsAbsentItems) {
    // A 1.3 record: no vertical offsets, an int width, no italic angle, no flags, no label settings.
    CGeoClassLabel source = Label(2, "");
    std::vector<BYTE> full = Store(source);
    std::vector<BYTE> old;
    auto put = [&](const void* p, size_t n) {
        const BYTE* b = static_cast<const BYTE*>(p);
        old.insert(old.end(), b, b + n);
    };
    old.insert(old.end(), full.begin(), full.begin() + 4 + 1 + 20 + 1);  // id, "", five ints, precision
    float v = 1.3f;
    put(&v, 4);
    int32_t spacing[5] = {1, 2, 3, 4, 7};
    put(spacing, 20);
    int32_t pos = 6;
    put(&pos, 4);
    const size_t namesAt = 4 + 1 + 20 + 1 + 4 + 8 + 20 + 4 + 4 + 4;  // in the full record
    // field names and style as the full record has them, without the label settings (27 ints)
    old.insert(old.end(), full.begin() + namesAt, full.end() - 27 * 4);

    CGeoClassLabel back;
    back.SetOffset2(5, 6);
    back.SetItalicAngle(99.0f);
    back.SetLabelPoly(0);
    LoadInto(old, back);
    int s = 0, lim = 0;
    back.GetOffset2(s, lim);
    EXPECT_EQ(s, 5);
    EXPECT_EQ(back.GetItalicAngle(), 99.0f);
    EXPECT_EQ(back.IsLabelPoly(), 0);
    EXPECT_EQ(back.GetGeoFor().fen_shu_width, 7.0f);
    EXPECT_EQ(back.GetPositionType(), 6);
}

TEST(GeoClassLabel, CollectionsReplaceAndAssignByKey) {
    CGeoLayerLabel layer;
    layer.SetLayerName("道路");
    CGeoClassLabel a = Label(1, "%A%"), b = Label(2, "%B%"), a2 = Label(1, "%A2%");
    layer.Add(a);
    layer.Add(b);
    layer.Add(a2);
    ASSERT_EQ(layer.GetSize(), 2);
    EXPECT_EQ(layer[0].GetFormat(), CString("%A2%"));
    layer.Delete(2);
    EXPECT_EQ(layer.FindGeoClassLabel(2), -1);

    CGeoProLabel set;
    CGeoLayerLabel* owned = new CGeoLayerLabel(layer);
    EXPECT_EQ(set.AddGeoLayerLabel(owned), 1);
    CGeoLayerLabel replacement;
    replacement.SetLayerName("道路");
    CGeoClassLabel c = Label(3, "%C%");
    replacement.Add(c);
    EXPECT_EQ(set.AddGeoLayerLabel(&replacement), 1);  // assigned into the one there
    ASSERT_EQ(set.GetSize(), 1);
    EXPECT_EQ(set.GetLayerLabel(0), owned);
    CGeoClassLabel found;
    EXPECT_EQ(set.FindGeoClassLabel("道路", 3, found), 1);
    EXPECT_EQ(set.FindGeoClassLabel("道路", 1, found), 0);
    EXPECT_EQ(set.FindGeoLayerLabel("道"), nullptr);
    EXPECT_EQ(set.AddGeoLayerLabel(nullptr), 0);
    EXPECT_EQ(set.RemoveGeoLayerLabel("道路"), 1);
    EXPECT_EQ(set.RemoveGeoLayerLabel("道路"), 0);
}

TEST(GeoClassLabel, LabelSetFileRoundTrip) {
    CGeoProLabel sets[3];
    for (int k = 0; k < 3; ++k) {
        CGeoLayerLabel layer;
        layer.SetLayerName(CString("层") + CString(std::to_string(k).c_str()));
        CGeoClassLabel l = Label(10 + k, "%NAME%");
        l.SetPrecision(k);
        layer.Add(l);
        sets[k].Add(&layer);
    }
    const std::string path = TempPath("sets.lab");
    ASSERT_EQ(WriteGeoAttributeLabel(path.c_str(), sets[0], sets[1], sets[2]), 1);
    CGeoProLabel back[3];
    ASSERT_EQ(ReadGeoAttributeLabel(path.c_str(), back[0], back[1], back[2]), 1);
    for (int k = 0; k < 3; ++k) {
        ASSERT_EQ(back[k].GetSize(), 1) << k;
        CGeoClassLabel l;
        ASSERT_EQ(back[k].FindGeoClassLabel(CString("层") + CString(std::to_string(k).c_str()), 10 + k, l), 1);
        EXPECT_EQ(l.GetPrecision(), k);
        EXPECT_EQ(back[k].GetOldVersion(), 1.38f);
    }
    std::remove(path.c_str());
    EXPECT_EQ(ReadGeoAttributeLabel(path.c_str(), back[0], back[1], back[2]), 0);
    EXPECT_EQ(back[0].GetSize(), 0);
}

TEST(GeoClassLabel, FirstSetOfVersionOneHidesTheOthers) {
    // First set: no layer labels and no version flag; then a flagged, empty second set.
    const std::string path = TempPath("old.lab");
    {
        CFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
        CArchive ar(&file, CArchive::store);
        ar << static_cast<DWORD>(0) << static_cast<DWORD>(0x80000000u) << 1.38f << static_cast<DWORD>(0);
        ar.Close();
    }
    CGeoProLabel a, b, c;
    ASSERT_EQ(ReadGeoAttributeLabel(path.c_str(), a, b, c), 1);
    EXPECT_EQ(a.GetOldVersion(), 1.0f);
    EXPECT_EQ(b.GetOldVersion(), 1.0f);  // not read
    std::remove(path.c_str());
}
