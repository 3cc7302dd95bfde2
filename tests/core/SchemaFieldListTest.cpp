// Attribute field lists, the default field description, the field-type tables and size packing.
#include "core/GeoFieldList.h"

#include "core/SchemaBytes.h"

#include <tamsel/FieldHelpers.h>

#include <gtest/gtest.h>

using schematest::ByteBuilder;
using schematest::Bytes;

namespace {

CDaoFieldInfo MakeField(const char* name, short type, LONG size) {
    CDaoFieldInfo f;
    f.m_strName = name;
    f.m_nType = type;
    f.m_lSize = size;
    return f;
}

// Owns the descriptions of a list for the length of a test.
struct FieldList {
    CPtrList list;
    ~FieldList() { ClearFieldInfoList(&list); }
    void Add(const CDaoFieldInfo& f) { list.AddTail(new CDaoFieldInfo(f)); }
    const CDaoFieldInfo& At(int i) const { return *static_cast<CDaoFieldInfo*>(list.GetAt(list.FindIndex(i))); }
};

}  // namespace

TEST(FieldList, RecordBytesAndLoadAppends) {
    CDaoFieldInfo a = MakeField("\xBF\xED\xB6\xC8", dbDouble, 3 << 16 | 10 << 8 | 12);  // "宽度"
    a.m_lAttributes = dbFixedField | dbUpdatableField;
    a.m_nOrdinalPosition = 2;
    a.m_bRequired = TRUE;
    a.m_bAllowZeroLength = FALSE;
    a.m_lCollatingOrder = 1033;
    a.m_strForeignName = "F";
    a.m_strSourceField = "SF";
    a.m_strSourceTable = "ST";
    a.m_strValidationRule = ">0";
    a.m_strValidationText = "VT";
    a.m_strDefaultValue = "1.5";
    CDaoFieldInfo b = MakeField("NAME", dbText, 20);

    FieldList src;
    src.Add(a);
    src.Add(b);
    Bytes bytes = schematest::Store([&](CArchive& ar) { SerializeFieldInfoList(ar, &src.list); });

    ByteBuilder expect;
    expect.dw(2);
    expect.bytes({0x04, 0xBF, 0xED, 0xB6, 0xC8}).w(7).dw(0x030A0C).dw(0x21).w(2).dw(1).dw(0).dw(1033);
    expect.str("F").str("SF").str("ST").str(">0").str("VT").str("1.5");
    expect.str("NAME").w(10).dw(20).dw(0).w(0).dw(0).dw(0).dw(0);
    expect.str("").str("").str("").str("").str("").str("");
    EXPECT_EQ(bytes, expect.get());

    // Loading appends after what the list already holds.
    FieldList dst;
    dst.Add(MakeField("OLD", dbLong, 4));
    schematest::Load(bytes, [&](CArchive& ar) { SerializeFieldInfoList(ar, &dst.list); });
    ASSERT_EQ(dst.list.GetCount(), 3);
    EXPECT_EQ(dst.At(0).m_strName, "OLD");
    const CDaoFieldInfo& r = dst.At(1);
    EXPECT_EQ(r.m_strName, a.m_strName);
    EXPECT_EQ(r.m_nType, dbDouble);
    EXPECT_EQ(r.m_lSize, a.m_lSize);
    EXPECT_EQ(r.m_lAttributes, a.m_lAttributes);
    EXPECT_EQ(r.m_nOrdinalPosition, 2);
    EXPECT_EQ(r.m_bRequired, TRUE);
    EXPECT_EQ(r.m_lCollatingOrder, 1033);
    EXPECT_EQ(r.m_strValidationRule, ">0");
    EXPECT_EQ(r.m_strDefaultValue, "1.5");
    EXPECT_EQ(dst.At(2).m_strName, "NAME");
    EXPECT_EQ(dst.At(2).m_lSize, 20);
}

TEST(FieldList, TruncatedRecordThrowsAndLeaksNothing) {
    FieldList src;
    src.Add(MakeField("A", dbLong, 6));
    src.Add(MakeField("B", dbText, 50));
    Bytes bytes = schematest::Store([&](CArchive& ar) { SerializeFieldInfoList(ar, &src.list); });
    EXPECT_EQ(schematest::CountTruncationFailures(bytes,
                                                  [](CArchive& ar) {
                                                      FieldList l;
                                                      SerializeFieldInfoList(ar, &l.list);
                                                  }),
              0);
}

TEST(FieldList, CopyReplacesAndClearSkipsNulls) {
    FieldList src, dst;
    src.Add(MakeField("A", dbLong, 6));
    src.Add(MakeField("B", dbText, 50));
    dst.Add(MakeField("X", dbByte, 1));
    CopyFieldInfoList(&dst.list, &src.list);
    ASSERT_EQ(dst.list.GetCount(), 2);
    EXPECT_EQ(dst.At(0).m_strName, "A");
    EXPECT_EQ(dst.At(1).m_lSize, 50);
    EXPECT_NE(&dst.At(0), &src.At(0));  // copies, not shared descriptions

    CopyFieldInfoList(&dst.list, &dst.list);  // copying a list onto itself keeps it
    EXPECT_EQ(dst.list.GetCount(), 2);

    dst.list.AddTail(static_cast<void*>(nullptr));
    ClearFieldInfoList(&dst.list);
    EXPECT_TRUE(dst.list.IsEmpty());
}

TEST(FieldList, DefaultFieldDescription) {
    CDaoFieldInfo d = GetDefaultFieldInfo();
    EXPECT_EQ(d.m_strName, "");
    EXPECT_EQ(d.m_nType, dbBoolean);
    EXPECT_EQ(d.m_lSize, GetFieldSize(d));
    EXPECT_EQ(d.m_lSize, 1);
    EXPECT_EQ(d.m_lAttributes, 32);
    EXPECT_EQ(d.m_nOrdinalPosition, 1);
    EXPECT_EQ(d.m_bRequired, FALSE);
    EXPECT_EQ(d.m_bAllowZeroLength, FALSE);
    EXPECT_EQ(d.m_lCollatingOrder, 0);

    SetDefaultFieldInfo(MakeField("CODE", dbLong, 4));
    EXPECT_EQ(GetDefaultFieldInfo().m_strName, "CODE");
    EXPECT_EQ(GetDefaultFieldInfo().m_nType, dbLong);
    SetDefaultFieldInfo(d);
    EXPECT_EQ(GetDefaultFieldInfo().m_nType, dbBoolean);
}

TEST(FieldTypes, NameAndLengthMaps) {
    struct Case { short code; const char* name; short len; };
    const Case cases[] = {
        {10, "文本", 50}, {2, "字节", 1}, {3, "短整数", 2}, {4, "长整数", 4}, {7, "浮点数", 8},
        {1, "是/否", 1},  {5, "货币", 8}, {8, "日期", 8},   {12, "备注", 50},
        {6, "", 0},       {0, "", 0},     {-1, "", 0},      {11, "", 0},
    };
    FTListMap names;
    FTLenMap lengths;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(names.GetTypeString(c.code), c.name);
        EXPECT_EQ(lengths.GetTypeLenth(c.code), c.len);
        if (*c.name) {
            EXPECT_EQ(FTListMap::GetStringType(c.name), c.code);
        }
    }
    EXPECT_EQ(FTListMap::GetStringType("\xBB\xF5\xB1\xD2"), 5);  // "货币" as bytes
    EXPECT_EQ(FTListMap::GetStringType("货币 "), 0);
    EXPECT_EQ(FTListMap::GetStringType(""), 0);
    EXPECT_EQ(FTListMap::GetStringType("TEXT"), 0);
}

TEST(FieldTypes, ChoiceTable) {
    int codes[FIELD_TYPE_CHOICES] = {};
    GetFieldTypeCodes(codes);
    const int expectCodes[] = {1, 2, 5, 8, 7, 4, 12, 3, 10};
    const char* expectNames[] = {"布尔型", "字符型", "货币型", "日期", "双精度", "长整型", "备注", "整数", "字符串"};
    for (int i = 0; i < FIELD_TYPE_CHOICES; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(codes[i], expectCodes[i]);
        EXPECT_EQ(GetFieldTypeCode(i), expectCodes[i]);
        EXPECT_EQ(GetFieldTypeName(i), expectNames[i]);
        EXPECT_EQ(GetFieldTypeIndex(MakeField("F", static_cast<short>(expectCodes[i]), 0)), i);
    }
    EXPECT_EQ(GetFieldTypeIndex(MakeField("F", dbSingle, 0)), 0);  // not in the table
    EXPECT_EQ(GetFieldTypeCode(-1), 0);
    EXPECT_EQ(GetFieldTypeCode(9), 0);
    EXPECT_EQ(GetFieldTypeName(9), "");
}

TEST(FieldTypes, SizePackingAndUnpacking) {
    struct Case { int type; LONG size; int width, len, dec; };
    const Case unpack[] = {
        {7, 0, 8, 8, 2},
        {10, 0, 50, 50, 0},
        {12, -1, 50, 50, 0},
        {10, 300, 300, 300, 0},
        {7, 3 << 16 | 10 << 8 | 12, 12, 10, 3},
        {7, 12, 12, 12, 2},              // no length or decimals given: the width and 2
        {2, 0x05, 5, 5, 0},
        {2, 0, 3, 3, 0},
        {3, 0, 5, 5, 0},
        {4, -7, 6, 6, 0},
        {4, 0x0A00, 0, 10, 0},           // given with a zero width: the width stays 0
        {4, 3 << 16 | 8 << 8 | 9, 9, 8, 0},
        {6, 3 << 16 | 10 << 8 | 12, 0, 0, 0},
        {1, 1, 0, 0, 0},
        {8, 8, 0, 0, 0},
    };
    for (const Case& c : unpack) {
        SCOPED_TRACE(testing::Message() << c.type << " " << c.size);
        int w = -99, l = -99, d = -99;
        GetFieldSize(c.type, c.size, w, l, d);
        EXPECT_EQ(w, c.width);
        EXPECT_EQ(l, c.len);
        EXPECT_EQ(d, c.dec);
    }

    EXPECT_EQ(GetFieldSize(7, 12, 10, 3), 3 << 16 | 10 << 8 | 12);
    EXPECT_EQ(GetFieldSize(6, 12, 10, 3), 3 << 16 | 10 << 8 | 12);
    EXPECT_EQ(GetFieldSize(3, 5, 4, 2), 4 << 8 | 5);   // decimals ignored
    EXPECT_EQ(GetFieldSize(10, 40, 4, 2), 40);
    EXPECT_EQ(GetFieldSize(8, 8, 8, 0), 0);
    int w, l, d;
    GetFieldSize(7, GetFieldSize(7, 12, 10, 3), w, l, d);
    EXPECT_EQ(w * 10000 + l * 100 + d, 121003);
}
