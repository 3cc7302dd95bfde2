// Templets and their files: the file bytes, choosing the file, and failures that must change nothing.
#include "core/GeoTemplet.h"

#include "core/SchemaRecords.h"

#include <gtest/gtest.h>
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

using namespace schematest;

namespace {

// Answers file dialogs as scripted and remembers what each dialog asked.
class Driver : public CUserDriver {
public:
    int OnMessageBox(const CString&, UINT, UINT) override { return IDOK; }
    int OnFileDialog(CFileDialog& dlg, CString& rPathName) override {
        ++dialogs;
        open = dlg.IsOpenDialog();
        title = dlg.GetTitle().str();
        defExt = dlg.GetDefExt().str();
        filter = dlg.GetFilter().str();
        flags = dlg.m_ofn.Flags;
        if (answer.empty()) return IDCANCEL;
        rPathName = answer.c_str();
        return IDOK;
    }
    std::string answer;  // empty: the user cancels
    int dialogs = 0;
    BOOL open = FALSE;
    std::string title, defExt, filter;
    DWORD flags = 0;
};

class TempletFiles : public testing::Test {
protected:
    void SetUp() override {
        AfxSetUserDriver(&driver);
        AfxClearMessageLog();
    }
    void TearDown() override {
        AfxSetUserDriver(nullptr);
    }
    std::string Path(const char* name) const { return dir + "/" + name; }
    static Bytes ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static void WriteFile(const std::string& path, const Bytes& b) {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        DIR* d = opendir(dir.c_str());
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.') names.push_back(e->d_name);
        closedir(d);
        return names;
    }

    testsupport::TempDir tmp{"schema-templet"};
    std::string dir = tmp.Path();
    Driver driver;
};

CGeoTheme Theme(const char* name, UINT code, const char* className) {
    CGeoTheme t;
    t.SetName(name);
    t.SetGeoView(TestStyle());
    t.SetDataType(2);
    t.AddGC(MakeClass(code, className, {"W"}), -2);
    return t;
}

CGeoTemplet TwoThemes() {
    CGeoTemplet tp;
    tp.SetName("\xCE\xB4\xC3\xFC\xC3\xFB\xC4\xA3\xB0\xE5" "1");  // "未命名模板1"
    tp.AddTheme(Theme("Roads", 10, "A"), -2);
    tp.AddTheme(Theme("Rivers", 20, "B"), -2);
    return tp;
}

std::string ThemeNames(const CGeoTemplet& tp) {
    std::string s;
    for (int i = 0; i < tp.GetThemeCount(); ++i) {
        CGeoTheme t;
        tp.GetTheme(i, t);
        s += t.GetName().str() + ";";
    }
    return s;
}

}  // namespace

TEST(GeoTemplet, DefaultsAndAccessors) {
    CGeoTemplet tp;
    EXPECT_EQ(tp.GetName(), "\xCE\xB4\xC3\xFC\xC3\xFB\xC4\xA3\xB0\xE5");  // "未命名模板"
    EXPECT_EQ(tp.GetTempletFileName(), "");
    EXPECT_EQ(tp.GetThemeCount(), 0);
    EXPECT_EQ(tp.SetName("N"), "\xCE\xB4\xC3\xFC\xC3\xFB\xC4\xA3\xB0\xE5");

    tp = TwoThemes();
    CGeoTheme out;
    out.SetName("Keep");
    EXPECT_EQ(tp.GetTheme(-1, out), 0);
    EXPECT_EQ(tp.GetTheme(2, out), 0);
    EXPECT_EQ(out.GetName(), "Keep");
    EXPECT_EQ(tp.SetTheme(1, Theme("Roads", 1, "X")), 1);  // names are not compared
    EXPECT_EQ(ThemeNames(tp), "Roads;Roads;");
    EXPECT_EQ(tp.SetTheme(2, out), 0);
    tp += Theme("Roads", 1, "X");  // refused quietly
    tp += out;
    EXPECT_EQ(ThemeNames(tp), "Roads;Roads;Keep;");
    EXPECT_EQ(tp.DeleteTheme(CString("Roads")), 1);
    EXPECT_EQ(tp.DeleteTheme(CString("Nope")), 0);
    EXPECT_EQ(tp.DeleteTheme(2), 0);
    EXPECT_EQ(tp.DeleteTheme(1), 1);
    EXPECT_EQ(ThemeNames(tp), "Roads;");

    CGeoTemplet copy(tp);
    copy.SetTempletFileName("x.tpt");
    tp = copy;
    EXPECT_EQ(tp.GetTempletFileName(), "x.tpt");
    copy.DeleteAllThemes();
    EXPECT_EQ(ThemeNames(tp), "Roads;");
}

TEST_F(TempletFiles, FileBytesAndRoundTrip) {
    CGeoTemplet tp = TwoThemes();
    const std::string path = Path("a.tpt");
    ASSERT_EQ(tp.SaveTemplet(path.c_str()), 1);
    EXPECT_EQ(tp.GetTempletFileName(), path.c_str());
    EXPECT_EQ(driver.dialogs, 0);

    // Bare theme records; the class tag of the second theme's class refers to the first one's.
    ClassBody a, b;
    a.fields = b.fields = {"W"};
    a.code = 10;
    a.name = "A";
    b.code = 20;
    b.name = "B";
    auto themeTail = [](const char* name) {
        return ByteBuilder().dw(0).bytes(TestStyleBytes(1.38f)).str(name).dw(2).get();
    };
    ByteBuilder expect;
    expect.str("\xCE\xB4\xC3\xFC\xC3\xFB\xC4\xA3\xB0\xE5" "1").dw(2);
    expect.w(1).w(0xFFFF).w(0).w(10).raw("CGeoGClass", 10).bytes(a.get()).bytes(themeTail("Roads"));
    expect.w(1).w(0x8001).bytes(b.get()).bytes(themeTail("Rivers"));
    EXPECT_EQ(ReadFile(path), expect.get());
    EXPECT_EQ(Entries(), std::vector<std::string>{"a.tpt"});  // no temporary file left behind

    CGeoTemplet back;
    back.AddTheme(Theme("Gone", 1, "G"), -2);
    ASSERT_EQ(back.LoadTemplet(path.c_str()), 1);
    EXPECT_EQ(back.GetName(), tp.GetName());
    EXPECT_EQ(ThemeNames(back), "Roads;Rivers;");
    EXPECT_EQ(back.GetTempletFileName(), path.c_str());
    CGeoTheme t;
    back.GetTheme(1, t);
    EXPECT_EQ(t.GetDataType(), 2);
    CGeoGClass gc;
    ASSERT_EQ(t.GetGC(0, gc), 1);
    EXPECT_EQ(gc.GetGCID(), 20u);
    EXPECT_EQ(gc.GetFieldCount(), 1);
}

TEST_F(TempletFiles, EmptyTemplet) {
    CGeoTemplet tp;
    tp.SetName("E");
    const std::string path = Path("empty.tpt");
    ASSERT_EQ(tp.SaveTemplet(path.c_str()), 1);
    EXPECT_EQ(ReadFile(path), (Bytes{0x01, 'E', 0, 0, 0, 0}));
    CGeoTemplet back = TwoThemes();
    ASSERT_EQ(back.LoadTemplet(path.c_str()), 1);
    EXPECT_EQ(back.GetThemeCount(), 0);
    EXPECT_EQ(back.GetName(), "E");
}

TEST_F(TempletFiles, ChoosingTheFile) {
    CGeoTemplet tp = TwoThemes();
    const std::string path = Path("chosen.tpt");

    // No path anywhere: the save dialog; cancelling returns 0 and changes nothing.
    EXPECT_EQ(tp.SaveTemplet(""), 0);
    EXPECT_EQ(driver.dialogs, 1);
    EXPECT_FALSE(driver.open);
    EXPECT_EQ(driver.title, "保存模板");
    EXPECT_EQ(driver.defExt, "*.TPT");
    EXPECT_EQ(driver.filter, "Templet Files(*.TPT)|*.TPT|All Files(*.*)|*.*||");
    EXPECT_EQ(driver.flags, static_cast<DWORD>(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT));
    EXPECT_EQ(tp.GetTempletFileName(), "");
    EXPECT_TRUE(Entries().empty());

    driver.answer = path;
    EXPECT_EQ(tp.SaveTemplet(""), 1);
    EXPECT_EQ(tp.GetTempletFileName(), path.c_str());
    Bytes first = ReadFile(path);
    EXPECT_FALSE(first.empty());

    // A known path is used without asking; Serialize ignores its archive and saves or loads.
    tp.SetName("Renamed");
    EXPECT_EQ(tp.SaveTemplet(""), 1);
    EXPECT_EQ(driver.dialogs, 2);
    EXPECT_NE(ReadFile(path), first);
    tp.SetName("Again");
    {
        CMemFile mem;
        CArchive ar(&mem, CArchive::store);
        tp.Serialize(ar);
        ar.Close();
        EXPECT_EQ(mem.GetLength(), 0u);
    }
    CGeoTemplet viaArchive;
    viaArchive.SetTempletFileName(path.c_str());
    {
        CMemFile mem;
        CArchive ar(&mem, CArchive::load);
        viaArchive.Serialize(ar);
    }
    EXPECT_EQ(viaArchive.GetName(), "Again");
    EXPECT_EQ(ThemeNames(viaArchive), "Roads;Rivers;");
    EXPECT_EQ(driver.dialogs, 2);

    // Loading with no path: the open dialog.
    driver.answer.clear();
    CGeoTemplet fresh;
    EXPECT_EQ(fresh.LoadTemplet(""), 0);
    EXPECT_EQ(driver.dialogs, 3);
    EXPECT_TRUE(driver.open);
    EXPECT_EQ(driver.title, "打开模板");
    EXPECT_EQ(driver.flags, static_cast<DWORD>(OFN_PATHMUSTEXIST | OFN_HIDEREADONLY));
    driver.answer = path;
    EXPECT_EQ(fresh.LoadTemplet(""), 1);
    EXPECT_EQ(fresh.GetName(), "Again");
    EXPECT_EQ(fresh.GetTempletFileName(), path.c_str());
    EXPECT_TRUE(AfxGetMessageLog().empty());
}

TEST_F(TempletFiles, FailedLoadLeavesTheTempletAsItWas) {
    const std::string good = Path("good.tpt");
    CGeoTemplet tp = TwoThemes();
    ASSERT_EQ(tp.SaveTemplet(good.c_str()), 1);
    Bytes bytes = ReadFile(good);

    // A second templet file, cut short inside its last theme, and one whose class list holds a null.
    CGeoTemplet other;
    other.SetName("Other");
    other.AddTheme(Theme("Lakes", 30, "L"), -2);
    other.AddTheme(Theme("Hills", 40, "H"), -2);
    const std::string cut = Path("cut.tpt");
    ASSERT_EQ(other.SaveTemplet(cut.c_str()), 1);
    Bytes cutBytes = ReadFile(cut);
    cutBytes.resize(cutBytes.size() - 3);
    WriteFile(cut, cutBytes);
    const std::string nullClass = Path("null.tpt");
    WriteFile(nullClass, ByteBuilder().str("N").dw(1).w(1).w(0).get());
    ASSERT_EQ(tp.SaveTemplet(good.c_str()), 1);  // back to the good file as the templet's path

    auto unchanged = [&] {
        EXPECT_EQ(tp.GetTempletFileName(), good.c_str());
        EXPECT_EQ(tp.GetName(), TwoThemes().GetName());
        EXPECT_EQ(ThemeNames(tp), "Roads;Rivers;");
    };

    EXPECT_EQ(tp.LoadTemplet(Path("missing.tpt").c_str()), 0);
    unchanged();
    ASSERT_EQ(AfxGetMessageLog().size(), 1u);
    EXPECT_EQ(AfxGetMessageLog()[0].nIDHelp, static_cast<UINT>(AFX_IDP_FAILED_TO_OPEN_DOC));

    EXPECT_THROW(tp.LoadTemplet(cut.c_str()), CArchiveException);
    unchanged();
    EXPECT_THROW(tp.LoadTemplet(nullClass.c_str()), CArchiveException);
    unchanged();

    EXPECT_EQ(tp.SaveTemplet(""), 1);  // still saves to its own file, with its own content
    EXPECT_EQ(ReadFile(good), bytes);
}

TEST_F(TempletFiles, FailedSaveKeepsThePreviousFile) {
    CGeoTemplet tp = TwoThemes();
    const std::string path = Path("keep.tpt");
    ASSERT_EQ(tp.SaveTemplet(path.c_str()), 1);
    const Bytes previous = ReadFile(path);

    // A file error while writing: the file-size limit stops the write halfway.
    tp.AddTheme(Theme("More", 50, "M"), -2);
    int result;
    {
        testsupport::FileSizeLimit full(64);
        result = tp.SaveTemplet("");
    }
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadFile(path), previous);
    EXPECT_EQ(Entries(), std::vector<std::string>{"keep.tpt"});
    EXPECT_EQ(tp.GetTempletFileName(), path.c_str());

    // The new file cannot take the place of the old one (a folder stands there): 0, the previous path
    // back, nothing left behind.
    const std::string folder = Path("folder.tpt");
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    ASSERT_EQ(mkdir((folder + "/inside").c_str(), 0755), 0);
    EXPECT_EQ(tp.SaveTemplet(folder.c_str()), 0);
    EXPECT_EQ(tp.GetTempletFileName(), path.c_str());
    EXPECT_EQ(Entries().size(), 2u);

    // A file that cannot be created: the save failure box; the path stays the one tried.
    AfxClearMessageLog();
    const std::string nowhere = Path("no/such/dir.tpt");
    EXPECT_EQ(tp.SaveTemplet(nowhere.c_str()), 0);
    ASSERT_EQ(AfxGetMessageLog().size(), 1u);
    EXPECT_EQ(AfxGetMessageLog()[0].nIDHelp, static_cast<UINT>(AFX_IDP_INVALID_FILENAME));
    EXPECT_EQ(tp.GetTempletFileName(), nowhere.c_str());
    EXPECT_EQ(ReadFile(path), previous);
}
