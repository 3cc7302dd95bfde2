// Layer themes: classes, copying and the theme record.
#include "core/GeoTheme.h"

#include "core/SchemaRecords.h"

#include <gtest/gtest.h>

using namespace schematest;

namespace {

// The class tag of the first CGeoGClass in an archive: new class, schema 0, the name.
Bytes NewClassTag(const char* name) {
    ByteBuilder b;
    b.w(0xFFFF).w(0).w(static_cast<WORD>(std::strlen(name))).raw(name, std::strlen(name));
    return b.get();
}

CGeoTheme MakeTheme() {
    CGeoTheme theme;
    theme.SetName("\xB5\xC0\xC2\xB7");  // "道路"
    theme.SetGeoView(TestStyle());
    theme.SetDataType(2 | 4);
    theme.AddGC(MakeClass(10, "A", {"W"}), -2);
    theme.AddGC(MakeClass(20, "B"), -2);
    theme.AddField(LongField("ID"), -2);
    return theme;
}

std::vector<UINT> Codes(const CGeoTheme& theme) {
    std::vector<UINT> codes;
    for (int i = 0; i < theme.GetGCCount(); ++i) {
        CGeoGClass gc;
        theme.GetGC(i, gc);
        codes.push_back(gc.GetGCID());
    }
    return codes;
}

// A theme record with no classes and no fields whose style has the given version.
Bytes EmptyThemeBytes(float styleVersion, bool withDataType, DWORD dataType) {
    ByteBuilder b;
    b.w(0).dw(0).bytes(TestStyleBytes(styleVersion)).str("T");
    if (withDataType) b.dw(dataType);
    b.dw(0xC0FFEE);
    return b.get();
}

}  // namespace

TEST(GeoTheme, Defaults) {
    CGeoTheme theme;
    EXPECT_EQ(theme.GetName(), "\xCE\xB4\xC3\xFC\xC3\xFB\xB2\xE3");  // "未命名层"
    EXPECT_EQ(theme.GetDataType(), 1);
    EXPECT_EQ(theme.GetGCCount(), 0);
    EXPECT_EQ(theme.GetFieldCount(), 0);
    EXPECT_EQ(theme.GetFieldFlagCount(), 0);
    EXPECT_EQ(theme.GetGeoView().m_crLineColor, GetDefaultGEOVIEW().m_crLineColor);
    EXPECT_EQ(theme.EditProperties(0, nullptr), 0);
}

TEST(GeoTheme, RecordBytesAndLoadAppends) {
    CGeoTheme theme = MakeTheme();
    Bytes bytes = Store([&](CArchive& ar) { theme.Serialize(ar); });

    ClassBody a, b;
    a.fields = {"W"};
    a.code = 10;
    a.name = "A";
    b.code = 20;
    b.name = "B";
    ByteBuilder expect;
    expect.w(2).bytes(NewClassTag("CGeoGClass")).bytes(a.get()).w(0x8001).bytes(b.get());
    expect.bytes(LongFieldListBytes({"ID"})).bytes(TestStyleBytes(1.38f)).str("\xB5\xC0\xC2\xB7").dw(6);
    EXPECT_EQ(bytes, expect.get());

    // Loading appends classes without the code check of AddGC, and fields after the present ones.
    CGeoTheme back;
    back.AddGC(MakeClass(10, "Old"), -2);
    back.AddField(LongField("PRE"), -2);
    Load(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(Codes(back), (std::vector<UINT>{10, 10, 20}));
    ASSERT_EQ(back.GetFieldCount(), 2);
    CDaoFieldInfo f;
    back.GetFieldInfo(1, f);
    EXPECT_EQ(f.m_strName, "ID");
    EXPECT_EQ(back.GetName(), "\xB5\xC0\xC2\xB7");
    EXPECT_EQ(back.GetDataType(), 6);
    CGeoGClass gc;
    ASSERT_EQ(back.GetGC(1, gc), 1);
    EXPECT_EQ(gc.GetGCName(), "A");
    EXPECT_EQ(gc.GetFieldCount(), 1);
    EXPECT_EQ(back.FindGC(CString("Old")), 0);
}

TEST(GeoTheme, DataTypeReadOnlyAfterStyleVersion136) {
    struct Case { float styleVersion; bool stored; int expect; };
    const Case cases[] = {
        {1.2f, false, 8},
        {1.36f, false, 8},  // kept: the record has no data type
        {1.37f, true, 3},
        {1.38f, true, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.styleVersion);
        CGeoTheme theme;
        theme.SetDataType(8);
        DWORD sentinel = 0;
        Load(EmptyThemeBytes(c.styleVersion, c.stored, 3), [&](CArchive& ar) {
            theme.Serialize(ar);
            ar >> sentinel;
        });
        EXPECT_EQ(sentinel, 0xC0FFEEu);
        EXPECT_EQ(theme.GetDataType(), c.expect);
        EXPECT_EQ(theme.GetName(), "T");
    }
}

TEST(GeoTheme, CorruptClassListsAreRefused) {
    ClassBody body;
    body.code = 1;
    body.name = "A";
    const Bytes tail = ByteBuilder().dw(0).bytes(TestStyleBytes(1.38f)).str("T").dw(1).get();
    struct Case { const char* what; Bytes list; int cause; };
    const Case cases[] = {
        {"null element", ByteBuilder().w(1).w(0).get(), CArchiveException::badIndex},
        {"second reference to one class",
         ByteBuilder().w(2).bytes(NewClassTag("CGeoGClass")).bytes(body.get()).w(2).get(),
         CArchiveException::badIndex},
        {"object of another class", ByteBuilder().w(1).bytes(NewClassTag("CGeoTheme")).get(),
         CArchiveException::badClass},
        {"unknown class", ByteBuilder().w(1).bytes(NewClassTag("CNoSuchClass")).get(), CArchiveException::badClass},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes bytes = ByteBuilder().bytes(c.list).bytes(tail).get();
        CGeoTheme theme;
        try {
            Load(bytes, [&](CArchive& ar) { theme.Serialize(ar); });
            ADD_FAILURE() << "loaded";
        } catch (CArchiveException& e) {
            EXPECT_EQ(e.m_cause, c.cause);
        }
    }

    CGeoTheme theme = MakeTheme();
    Bytes good = Store([&](CArchive& ar) { theme.Serialize(ar); });
    EXPECT_EQ(CountTruncationFailures(good,
                                      [](CArchive& ar) {
                                          CGeoTheme t;
                                          t.Serialize(ar);
                                      }),
              0);
}

TEST(GeoTheme, ClassLookupAndEditing) {
    CGeoTheme theme = MakeTheme();
    EXPECT_EQ(theme.FindGC(20u), 1);
    EXPECT_EQ(theme.FindGC(30u), -1);
    EXPECT_EQ(theme.FindGC(CString("B")), 1);

    CGeoGClass out = MakeClass(77, "Keep");
    EXPECT_EQ(theme.GetGC(2, out), 0);
    EXPECT_EQ(theme.GetGC(-1, out), 0);
    EXPECT_EQ(out.GetGCID(), 77u);

    // AddGC refuses a code already present even under another name; SetGC does not compare codes.
    EXPECT_EQ(theme.AddGC(MakeClass(20, "Other"), -2), 0);
    EXPECT_EQ(theme.SetGC(0, MakeClass(20, "Twin")), 1);
    EXPECT_EQ(Codes(theme), (std::vector<UINT>{20, 20}));
    EXPECT_EQ(theme.SetGC(2, MakeClass(1, "X")), 0);
    theme += MakeClass(20, "Third");  // refused quietly
    theme += MakeClass(30, "Third");
    EXPECT_EQ(Codes(theme), (std::vector<UINT>{20, 20, 30}));

    EXPECT_EQ(theme.DeleteGC(20u), 1);  // the first of the two
    EXPECT_EQ(theme.FindGC(CString("Twin")), -1);
    EXPECT_EQ(theme.DeleteGC(CString("Third")), 1);
    EXPECT_EQ(theme.DeleteGC(CString("Third")), 0);
    EXPECT_EQ(theme.DeleteGC(99u), 0);
    EXPECT_EQ(theme.DeleteGC(1), 0);
    EXPECT_EQ(theme.DeleteGC(0), 1);
    EXPECT_EQ(theme.GetGCCount(), 0);
    theme += MakeClass(1, "A");
    EXPECT_EQ(theme.DeleteAllGCs(), 1);
    EXPECT_EQ(theme.GetGCCount(), 0);

    theme += LongField("id");  // refused quietly: "ID" is there already
    theme += LongField("NAME");
    EXPECT_EQ(theme.GetFieldCount(), 2);
}

TEST(GeoTheme, CopiesAreDeep) {
    CGeoTheme src = MakeTheme();
    auto* flag = new CFlagInfo;
    flag->m_strOldName = "ID";
    src.m_FlagInfoList.AddTail(flag);

    CGeoTheme dst;
    dst.AddGC(MakeClass(99, "Gone"), -2);
    dst = src;
    EXPECT_EQ(Codes(dst), (std::vector<UINT>{10, 20}));
    EXPECT_EQ(dst.GetFieldCount(), 1);
    EXPECT_EQ(dst.GetName(), src.GetName());
    EXPECT_EQ(dst.GetDataType(), 6);
    EXPECT_EQ(dst.GetGeoView().m_nPointSize, 7);
    EXPECT_EQ(dst.FindFlagInfoByOldname("id"), 0);
    src.DeleteAllGCs();
    EXPECT_EQ(dst.GetGCCount(), 2);
    dst = *&dst;
    EXPECT_EQ(dst.GetGCCount(), 2);

    CTypedPtrList<CObList, CGeoTheme*> a, b;
    a.AddTail(new CGeoTheme(dst));
    b.AddTail(new CGeoTheme);
    b.AddTail(new CGeoTheme);
    CopyThemeList(&b, &a);
    ASSERT_EQ(b.GetCount(), 1);
    EXPECT_NE(b.GetHead(), a.GetHead());
    EXPECT_EQ(b.GetHead()->GetGCCount(), 2);
    b.AddTail(static_cast<CGeoTheme*>(nullptr));
    ClearThemeList(&a);
    ClearThemeList(&b);
    EXPECT_TRUE(b.IsEmpty());
}
