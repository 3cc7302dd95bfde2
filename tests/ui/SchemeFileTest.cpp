// Scheme files: the exact bytes of a small file, round trips, empty files and lists, corrupt files that
// must leave the caller's themes alone, and saves that fail without harming the previous file.
#include "ui/Scheme.h"

#include "core/GeoVectorLayer.h"
#include "core/SchemaRecords.h"
#include "support/TempDir.h"

#include <afx/afxtest.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

using namespace schematest;
using testsupport::ReadFileBytes;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

typedef CTypedPtrList<CObList, CGeoTheme*> ThemeList;

// A theme whose record breaks off halfway, as a full disk would make it.
class CHalfWrittenTheme : public CGeoTheme {
    DECLARE_SERIAL(CHalfWrittenTheme)
public:
    void Serialize(CArchive& ar) override {
        CGeoTheme::Serialize(ar);
        AfxThrowFileException(CFileException::diskFull);
    }
};
IMPLEMENT_SERIAL(CHalfWrittenTheme, CGeoTheme, 0)

namespace {

struct OwnedThemes {
    ThemeList list;
    ~OwnedThemes() { ClearThemeList(&list); }
};

Bytes ClassTag(const char* name) {
    const WORD n = static_cast<WORD>(std::strlen(name));
    return ByteBuilder().w(0xFFFF).w(0).w(n).raw(name, n).get();
}

CGeoTheme* MakeTheme(const char* name) {
    auto* theme = new CGeoTheme;
    theme->SetName(name);
    theme->SetGeoView(TestStyle());
    theme->SetDataType(2);
    theme->AddGC(MakeClass(10, "A", {"W"}), -2);
    theme->AddField(LongField("ID"), -2);
    return theme;
}

// The record of MakeTheme(name) after its class tag.
Bytes ThemeBody(const char* name) {
    ClassBody gc;
    gc.fields = {"W"};
    gc.code = 10;
    gc.name = "A";
    ByteBuilder b;
    b.w(1).bytes(ClassTag("CGeoGClass")).bytes(gc.get());
    b.bytes(LongFieldListBytes({"ID"})).bytes(TestStyleBytes(1.38f)).str(name).dw(2);
    return b.get();
}

std::string AsString(const Bytes& b) { return std::string(b.begin(), b.end()); }

std::vector<std::string> Names(const ThemeList& list) {
    std::vector<std::string> names;
    for (POSITION pos = list.GetHeadPosition(); pos;) names.push_back(list.GetNext(pos)->GetName().str());
    return names;
}

void Strict(afxtest::Session& s) { s.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; }); }

}  // namespace

TEST(SchemeFile, OneThemeFileHasTheArchiveBytesAndReadsBack) {
    TempDir dir;
    OwnedThemes themes;
    themes.list.AddTail(MakeTheme("T"));
    ASSERT_EQ(SaveSchemeFile(themes.list, CString(dir("a.sch").c_str())), 1);

    const Bytes expect = ByteBuilder().w(1).bytes(ClassTag("CGeoTheme")).bytes(ThemeBody("T")).get();
    EXPECT_EQ(ReadFileBytes(dir("a.sch")), AsString(expect));

    OwnedThemes read;
    ASSERT_EQ(ReadSchemeFile(CString(dir("a.sch").c_str()), read.list), 1);
    ASSERT_EQ(read.list.GetCount(), 1);
    const CGeoTheme* p = read.list.GetHead();
    EXPECT_EQ(p->GetName(), "T");
    EXPECT_EQ(p->GetDataType(), 2);
    EXPECT_EQ(p->GetFieldCount(), 1);
    CGeoGClass gc;
    ASSERT_EQ(p->GetGC(0, gc), 1);
    EXPECT_EQ(gc.GetGCID(), 10u);
    EXPECT_EQ(gc.GetFieldCount(), 1);
}

TEST(SchemeFile, LaterThemesUseTheClassIndexAndAppendInFileOrder) {
    TempDir dir;
    OwnedThemes themes;
    themes.list.AddTail(MakeTheme("\xB5\xC0\xC2\xB7"));  // "道路"
    themes.list.AddTail(MakeTheme("B"));
    ASSERT_EQ(SaveSchemeFile(themes.list, CString(dir("b.sch").c_str())), 1);
    const std::string bytes = ReadFileBytes(dir("b.sch"));
    // After the first theme (class 1, object 2, its class's class 3 and object 4), CGeoTheme is tag 0x8001
    // and the class of the second theme's feature class is 0x8003.
    const Bytes first = ByteBuilder().w(2).bytes(ClassTag("CGeoTheme")).bytes(ThemeBody("\xB5\xC0\xC2\xB7")).get();
    ASSERT_EQ(bytes.substr(0, first.size()), AsString(first));
    EXPECT_EQ(bytes.substr(first.size(), 6), AsString(ByteBuilder().w(0x8001).w(1).w(0x8003).get()));

    OwnedThemes read;
    read.list.AddTail(MakeTheme("old"));
    ASSERT_EQ(ReadSchemeFile(CString(dir("b.sch").c_str()), read.list), 1);
    EXPECT_EQ(Names(read.list), (std::vector<std::string>{"old", "\xB5\xC0\xC2\xB7", "B"}));
}

TEST(SchemeFile, EmptyFileIsASchemeWithoutLayersAndAnEmptyListWritesNothing) {
    TempDir dir;
    WriteFileBytes(dir("empty.sch"), "");
    OwnedThemes read;
    read.list.AddTail(MakeTheme("old"));
    EXPECT_EQ(ReadSchemeFile(CString(dir("empty.sch").c_str()), read.list), 1);
    EXPECT_EQ(read.list.GetCount(), 1);

    OwnedThemes none;
    EXPECT_EQ(SaveSchemeFile(none.list, CString(dir("new.sch").c_str())), 0);
    EXPECT_FALSE(std::filesystem::exists(dir("new.sch")));
    WriteFileBytes(dir("kept.sch"), "previous");
    EXPECT_EQ(SaveSchemeFile(none.list, CString(dir("kept.sch").c_str())), 0);
    EXPECT_EQ(ReadFileBytes(dir("kept.sch")), "previous");
}

TEST(SchemeFile, MissingFileIsReportedAndGivesZero) {
    TempDir dir;
    afxtest::Session s;
    Strict(s);
    s.ExpectMessageBox("", IDOK);
    OwnedThemes read;
    EXPECT_EQ(ReadSchemeFile(CString(dir("none.sch").c_str()), read.list), 0);
    EXPECT_TRUE(read.list.IsEmpty());
    EXPECT_TRUE(s.Verify());
}

TEST(SchemeFile, CorruptFilesRaiseAndLeaveTheCallersThemes) {
    const Bytes body = ThemeBody("T");
    const Bytes theme = ByteBuilder().bytes(ClassTag("CGeoTheme")).bytes(body).get();
    const Bytes good = ByteBuilder().w(1).bytes(theme).get();
    struct Case {
        const char* what;
        Bytes data;
        int cause;
    } cases[] = {
        {"count beyond the data", ByteBuilder().w(2).bytes(theme).get(), CArchiveException::endOfFile},
        {"count smaller than the data", ByteBuilder().w(0).bytes(theme).get(), CArchiveException::badIndex},
        {"large count form", ByteBuilder().w(0xFFFF).dw(0x7FFFFFFF).bytes(theme).get(), CArchiveException::endOfFile},
        {"unknown class", ByteBuilder().w(1).bytes(ClassTag("CGeoThemX")).bytes(body).get(), CArchiveException::badClass},
        {"feature class instead of a theme", ByteBuilder().w(1).bytes(ClassTag("CGeoGClass")).get(), CArchiveException::badClass},
        {"null theme", ByteBuilder().w(1).w(0).get(), CArchiveException::badIndex},
        {"the same theme twice", ByteBuilder().w(2).bytes(theme).w(2).get(), CArchiveException::badIndex},
    };
    TempDir dir;
    const std::string path = dir("bad.sch");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFileBytes(path, AsString(c.data));
        OwnedThemes read;
        read.list.AddTail(MakeTheme("old"));
        try {
            ReadSchemeFile(CString(path.c_str()), read.list);
            ADD_FAILURE() << "no exception";
        } catch (CArchiveException& e) {
            EXPECT_EQ(e.m_cause, c.cause);
        }
        EXPECT_EQ(Names(read.list), std::vector<std::string>{"old"});
    }
    // Every truncation of a good file (other than to nothing) is refused the same way.
    int loaded = 0;
    for (size_t n = 1; n < good.size(); ++n) {
        WriteFileBytes(path, AsString(Bytes(good.begin(), good.begin() + n)));
        OwnedThemes read;
        try {
            ReadSchemeFile(CString(path.c_str()), read.list);
            ++loaded;
        } catch (CArchiveException&) {
        }
        if (!read.list.IsEmpty()) ++loaded;
    }
    EXPECT_EQ(loaded, 0);
}

TEST(SchemeFile, FailedSaveIsReportedAndKeepsThePreviousFile) {
    TempDir dir;
    const std::string path = dir("s.sch");
    WriteFileBytes(path, "previous scheme");
    OwnedThemes themes;
    themes.list.AddTail(MakeTheme("T"));
    themes.list.AddTail(new CHalfWrittenTheme);
    afxtest::Session s;
    Strict(s);
    s.ExpectMessageBox("", IDOK);
    EXPECT_EQ(SaveSchemeFile(themes.list, CString(path.c_str())), 0);
    EXPECT_TRUE(s.Verify());
    EXPECT_EQ(ReadFileBytes(path), "previous scheme");
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1);  // no temporary file left behind
}

TEST(SchemeFile, LayerListSavesTheVectorLayersThemesUnderTheLayerNames) {
    TempDir dir;
    std::unique_ptr<CGeoTheme> theme(MakeTheme("schema"));
    std::unique_ptr<CGeoVectorLayer> roads(CreateVectorLayer(nullptr, theme.get(), "\xB5\xC0\xC2\xB7", "", 0));
    std::unique_ptr<CGeoVectorLayer> rivers(CreateVectorLayer(nullptr, theme.get(), "rivers", "", 0));
    CGeoLayer plain;
    CTypedPtrList<CObList, CGeoLayer*> layers;
    layers.AddTail(roads.get());
    layers.AddTail(&plain);
    layers.AddTail(rivers.get());
    ASSERT_EQ(SaveSchemeFile(CString(dir("l.sch").c_str()), layers), 1);
    OwnedThemes read;
    ASSERT_EQ(ReadSchemeFile(CString(dir("l.sch").c_str()), read.list), 1);
    EXPECT_EQ(Names(read.list), (std::vector<std::string>{"\xB5\xC0\xC2\xB7", "rivers"}));
    EXPECT_EQ(read.list.GetHead()->GetGCCount(), 1);

    CTypedPtrList<CObList, CGeoLayer*> noVector;
    noVector.AddTail(&plain);
    EXPECT_EQ(SaveSchemeFile(CString(dir("n.sch").c_str()), noVector), 0);
    EXPECT_FALSE(std::filesystem::exists(dir("n.sch")));
}
