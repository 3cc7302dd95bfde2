// Feature classes: accessors, fields, copying and the class record in every version.
#include "core/GeoGClass.h"

#include "core/SchemaRecords.h"

#include <gtest/gtest.h>

using namespace schematest;

namespace {

std::vector<std::string> FieldNames(const CGeoGClass& gc) {
    std::vector<std::string> names;
    for (int i = 0; i < gc.GetFieldCount(); ++i) {
        CDaoFieldInfo f;
        gc.GetFieldInfo(i, f);
        names.push_back(f.m_strName.str());
    }
    return names;
}

}  // namespace

TEST(GeoGClass, Defaults) {
    CGeoGClass gc;
    EXPECT_EQ(gc.GetGCID(), 0u);
    EXPECT_EQ(gc.GetGCName(), "\xCE\xB4\xC3\xFC\xC3\xFB\xB5\xD8\xCE\xEF");  // "未命名地物"
    EXPECT_EQ(gc.GetMinScale(), 1u);
    EXPECT_EQ(gc.GetMaxScale(), 0xFFFFFFFFu);
    EXPECT_EQ(gc.GetType(), 0x20000067);
    EXPECT_EQ(gc.IsElevationValid(), 0);
    EXPECT_EQ(gc.GetOldVersion(), 1.0f);
    EXPECT_EQ(gc.GetFieldCount(), 0);
    EXPECT_EQ(gc.GetFieldFlagCount(), 0);
    UINT w = 0, h = 0;
    EXPECT_EQ(gc.GetFontSize(w, h), 1);
    EXPECT_EQ(w, 50u);
    EXPECT_EQ(h, 50u);
    EXPECT_EQ(gc.EditProperties(0, nullptr, nullptr), 0);
}

TEST(GeoGClass, ScaleRangeAndFontSize) {
    CGeoGClass gc;
    gc.SetMaxScale(1000);
    EXPECT_EQ(gc.SetMinScale(5000), 1u);  // above the max: refused, the previous value returned
    EXPECT_EQ(gc.GetMinScale(), 1u);
    EXPECT_EQ(gc.SetMinScale(1000), 1u);  // equal to the max is allowed
    EXPECT_EQ(gc.GetMinScale(), 1000u);
    EXPECT_EQ(gc.SetMaxScale(999), 1000u);  // below the min: refused
    EXPECT_EQ(gc.GetMaxScale(), 1000u);
    gc.SetMinMaxScale(800, 500);
    UINT lo = 0, hi = 0;
    gc.GetMinMaxScale(lo, hi);
    EXPECT_EQ(lo, 500u);
    EXPECT_EQ(hi, 800u);
    EXPECT_FALSE(gc.IsValidScale(499));
    EXPECT_TRUE(gc.IsValidScale(500));
    EXPECT_TRUE(gc.IsValidScale(800));
    EXPECT_FALSE(gc.IsValidScale(801));

    gc.SetType(0x20000000 | 0x03);
    gc.SetFontSize(30, 40);
    UINT w = 7, h = 9;
    EXPECT_EQ(gc.GetFontSize(w, h), 0);  // no annotations: outputs untouched
    EXPECT_EQ(w, 7u);
    EXPECT_EQ(h, 9u);
    gc.SetType(0x20000000 | 0x04);
    EXPECT_EQ(gc.GetFontSize(w, h), 1);
    EXPECT_EQ(w, 30u);
    EXPECT_EQ(h, 40u);

    EXPECT_EQ(gc.SetGCID(7), 0u);
    EXPECT_EQ(gc.SetGCID(8), 7u);
    EXPECT_EQ(gc.SetGCName("A"), "\xCE\xB4\xC3\xFC\xC3\xFB\xB5\xD8\xCE\xEF");
    GEOVIEW previous = gc.SetGeoView(TestStyle());
    EXPECT_EQ(previous.m_crPointColor, GetDefaultGEOVIEW().m_crPointColor);
    EXPECT_EQ(gc.GetGeoView().m_nPointSize, 7);
}

TEST(GeoGClass, FieldEditing) {
    CGeoGClass gc = MakeClass(1, "C", {"A", "B", "C"});
    CDaoFieldInfo f;
    EXPECT_EQ(gc.GetFieldInfo(3, f), 0);
    EXPECT_EQ(gc.GetFieldInfo(-1, f), 0);
    ASSERT_EQ(gc.GetFieldInfo(1, f), 1);
    EXPECT_EQ(f.m_strName, "B");

    // SetFieldInfo does not check the name against the others.
    EXPECT_EQ(gc.SetFieldInfo(2, LongField("a")), 1);
    EXPECT_EQ(FieldNames(gc), (std::vector<std::string>{"A", "B", "a"}));
    EXPECT_EQ(gc.SetFieldInfo(3, LongField("D")), 0);

    EXPECT_EQ(gc.DeleteField("b"), 1);
    EXPECT_EQ(gc.DeleteField("b"), 0);
    EXPECT_EQ(gc.DeleteField(5), 0);
    EXPECT_EQ(gc.DeleteField(0), 1);
    EXPECT_EQ(FieldNames(gc), (std::vector<std::string>{"a"}));
    gc += LongField("Z");
    gc += LongField("z");  // refused quietly
    EXPECT_EQ(FieldNames(gc), (std::vector<std::string>{"a", "Z"}));
    EXPECT_EQ(gc.DeleteAllFields(), 1);
    EXPECT_EQ(gc.GetFieldCount(), 0);
}

TEST(GeoGClass, CopyDropsCaseDuplicateFieldsAndCopiesRenames) {
    CGeoGClass src = MakeClass(12, "Road", {"A", "B", "C"});
    src.SetFieldInfo(2, LongField("a"));  // now "A", "B", "a"
    src.SetMinMaxScale(10, 20);
    src.SetType(0x40000004);
    src.ValidElevation(1);
    src.SetFontSize(3, 4);
    auto* flag = new CFlagInfo;
    flag->m_strOldName = "X";
    flag->m_strNewName = "Y";
    flag->m_nState = 1;
    src.m_FlagInfoList.AddTail(flag);

    CGeoGClass dst = MakeClass(99, "Other", {"Q"});
    dst = src;
    EXPECT_EQ(FieldNames(dst), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(dst.GetGCID(), 12u);
    EXPECT_EQ(dst.GetGCName(), "Road");
    EXPECT_EQ(dst.GetMaxScale(), 20u);
    EXPECT_EQ(dst.GetType(), 0x40000004);
    EXPECT_EQ(dst.IsElevationValid(), 1);
    UINT w = 0, h = 0;
    EXPECT_EQ(dst.GetFontSize(w, h), 1);
    EXPECT_EQ(w * 10 + h, 34u);
    EXPECT_EQ(dst.GetGeoView().m_crFillColor, 0x00FFFFu);
    ASSERT_EQ(dst.GetFieldFlagCount(), 1);
    EXPECT_NE(dst.m_FlagInfoList.GetHead(), flag);
    EXPECT_EQ(dst.FindFlagInfoByOldname("x"), 0);

    CGeoGClass copy(src);
    EXPECT_EQ(copy.GetFieldCount(), 2);
    copy = *&copy;  // assigning a class to itself keeps it
    EXPECT_EQ(copy.GetFieldCount(), 2);
    EXPECT_EQ(copy.GetFieldFlagCount(), 1);
}

TEST(GeoGClass, RecordBytesAndRoundTrip) {
    CGeoGClass gc = MakeClass(1001, "\xB5\xC0\xC2\xB7", {"WIDTH", "LANES"});  // "道路"
    gc.SetMinMaxScale(500, 100000);
    gc.SetType(0x20000003 | 0x04);
    gc.ValidElevation(1);
    gc.SetFontSize(30, 40);
    Bytes bytes = Store([&](CArchive& ar) { gc.Serialize(ar); });

    ClassBody expect;
    expect.fields = {"WIDTH", "LANES"};
    expect.minScale = 500;
    expect.maxScale = 100000;
    expect.code = 1001;
    expect.name = "\xB5\xC0\xC2\xB7";
    expect.type = 0x20000007;
    expect.elevation = 1;
    expect.fontWidth = 30;
    expect.fontHeight = 40;
    EXPECT_EQ(bytes, expect.get());
    EXPECT_EQ(gc.GetOldVersion(), 1.0f);  // storing resets the version member

    // Loading into a class that already has fields appends the loaded ones after them.
    CGeoGClass back = MakeClass(5, "X", {"OLD"});
    Load(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(FieldNames(back), (std::vector<std::string>{"OLD", "WIDTH", "LANES"}));
    EXPECT_EQ(back.GetGCID(), 1001u);
    EXPECT_EQ(back.GetGCName(), "\xB5\xC0\xC2\xB7");
    EXPECT_EQ(back.GetMinScale(), 500u);
    EXPECT_EQ(back.GetMaxScale(), 100000u);
    EXPECT_EQ(back.GetType(), 0x20000007);
    EXPECT_EQ(back.IsElevationValid(), 1);
    EXPECT_EQ(back.GetOldVersion(), 1.38f);
    UINT w = 0, h = 0;
    back.GetFontSize(w, h);
    EXPECT_EQ(w, 30u);
    EXPECT_EQ(h, 40u);
    EXPECT_EQ(back.GetGeoView().m_crAnnoColor, 0x123456u);
    EXPECT_EQ(back.GetGeoView().m_fLineWidth, 0.5f);
}

// Records of older libraries: each gate at and below its threshold. Every record is followed by a
// sentinel word that must be the next thing read.
TEST(GeoGClass, LoadsRecordsOfEveryVersion) {
    struct Case {
        const char* what;
        bool versioned;
        float version;
        DWORD storedType;
        int expectType, expectElevation;
        UINT expectFontWidth;
    };
    const Case cases[] = {
        {"no version", false, 0.0f, 0, 0x20000067, 0, 50},
        {"1.1, no data kind", true, 1.1f, 0x03, 0x20000003, 0, 50},
        {"1.1, cartographic", true, 1.1f, 0x40000002, 0x40000002, 0, 50},
        {"1.11", true, 1.11f, 0x01, 0x20000001, 0, 50},
        {"1.12", true, 1.12f, 0x05, 0x20000005, 1, 50},
        {"1.34", true, 1.34f, 0x05, 0x20000005, 1, 50},
        {"1.35", true, 1.35f, 0x60000004, 0x60000004, 1, 25},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ByteBuilder b;
        b.bytes(LongFieldListBytes({"F"})).bytes(TestStyleBytes(c.versioned ? c.version : 1.2f));
        b.dw(c.versioned ? (700 | 0x80000000) : 700).dw(9000).dw(42).str("N");
        if (c.versioned) {
            b.f(c.version).dw(c.storedType);
            if (c.version >= 1.12f) b.i32(1);
            if (c.version >= 1.35f) b.dw(25).dw(35);
        }
        b.dw(0xC0FFEE);

        CGeoGClass gc;
        DWORD sentinel = 0;
        Load(b.get(), [&](CArchive& ar) {
            gc.Serialize(ar);
            ar >> sentinel;
        });
        EXPECT_EQ(sentinel, 0xC0FFEEu);
        EXPECT_EQ(gc.GetOldVersion(), c.versioned ? c.version : 1.0f);
        EXPECT_EQ(gc.GetMinScale(), 700u);
        EXPECT_EQ(gc.GetMaxScale(), 9000u);
        EXPECT_EQ(gc.GetGCID(), 42u);
        EXPECT_EQ(gc.GetGCName(), "N");
        EXPECT_EQ(gc.GetFieldCount(), 1);
        EXPECT_EQ(gc.GetType(), c.expectType);
        EXPECT_EQ(gc.IsElevationValid(), c.expectElevation);
        gc.SetType(0x04);
        UINT w = 0, h = 0;
        gc.GetFontSize(w, h);
        EXPECT_EQ(w, c.expectFontWidth);
        EXPECT_EQ(h, c.expectFontWidth == 50 ? 50u : 35u);
    }
}

TEST(GeoGClass, TruncatedRecordThrowsAndLeaksNothing) {
    CGeoGClass gc = MakeClass(3, "T", {"A"});
    Bytes bytes = Store([&](CArchive& ar) { gc.Serialize(ar); });
    EXPECT_EQ(CountTruncationFailures(bytes,
                                      [](CArchive& ar) {
                                          CGeoGClass c;
                                          c.Serialize(ar);
                                      }),
              0);
}

TEST(GeoGClass, ListHelpers) {
    CTypedPtrList<CObList, CGeoGClass*> src, dst;
    src.AddTail(new CGeoGClass(MakeClass(1, "A", {"F"})));
    src.AddTail(new CGeoGClass(MakeClass(2, "B")));
    dst.AddTail(new CGeoGClass(MakeClass(9, "Z")));
    CopyGCList(&dst, &src);
    ASSERT_EQ(dst.GetCount(), 2);
    EXPECT_NE(dst.GetHead(), src.GetHead());
    EXPECT_EQ(dst.GetHead()->GetGCID(), 1u);
    EXPECT_EQ(dst.GetHead()->GetFieldCount(), 1);
    EXPECT_EQ(dst.GetTail()->GetGCName(), "B");
    CopyGCList(&dst, &dst);
    EXPECT_EQ(dst.GetCount(), 2);
    dst.AddTail(static_cast<CGeoGClass*>(nullptr));
    ClearGCList(&dst);
    ClearGCList(&src);
    EXPECT_TRUE(dst.IsEmpty());
    EXPECT_TRUE(src.IsEmpty());
}
