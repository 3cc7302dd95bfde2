// Where symbol libraries lie, how names map to files and back, and opening and releasing them.
#include "core/SymbolLibAccess.h"

#include "core/VMSymbolLibIO.h"
#include "platform/quenby/SampleSymbolLib.h"

#include <win32/module.h>

#include <gtest/gtest.h>
#include "support/TempDir.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>

namespace {

class SymbolLibFolder : public ::testing::Test {
protected:
    void SetUp() override {
        win32::SetWindowsDirectory(m_dir);
        ASSERT_EQ(mkdir((m_dir + "/Quenby").c_str(), 0755), 0);
        AfxClearMessageLog();
    }
    testsupport::TempDir m_tmp{"corvane-windows"};
    std::string m_dir = m_tmp.Path();
};

}  // namespace

TEST_F(SymbolLibFolder, PathsFollowTheWindowsDirectory) {
    const CString dir(m_dir.c_str());
    EXPECT_EQ(GetSymbolLibPath(), dir + "\\Quenby");
    EXPECT_EQ(GetSymbolLibFileName("Normal"), dir + "\\Quenby\\Normal.sym");
    EXPECT_EQ(GetSymbolLibFileName("#Normal"), dir + "\\Quenby\\Normal.slb");
    EXPECT_TRUE(GetSymbolLibFileName("").IsEmpty());

    win32::SetWindowsDirectory("C:\\WINDOWS\\");
    EXPECT_EQ(GetSymbolLibPath(), CString("C:\\WINDOWS\\Quenby"));
    // A folder whose last character is a two-byte one with a trail byte of '\\' still needs a separator.
    win32::SetWindowsDirectory("D:\\x\x95\x5c");
    EXPECT_EQ(GetSymbolLibPath(), CString("D:\\x\x95\x5c\\Quenby"));
    win32::SetWindowsDirectory(m_dir);
}

TEST(SymbolLibName, IsTheInverseOfTheFileName) {
    struct Case {
        const char* path;
        const char* name;
    } cases[] = {
        {"C:\\WINDOWS\\Quenby\\Roads.SLB", "#Roads"},
        {"C:\\WINDOWS\\Quenby\\Roads.slb", "#Roads"},
        {"/data/Quenby/Normal.sym", "Normal"},
        {"C:\\WINDOWS\\Quenby\\Normal.Sym", "Normal"},
        {"C:\\notes.txt", ""},
        {"a.sym", "a"},
        {".sym", ""},       // 4 bytes: too short
        {"abcsym", ""},     // no '.' before the extension
        {"x.slbx", ""},
        {"D:\\道路.slb", "#道路"},
        {"D:\\\x95\x5c.sym", "\x95\x5c"},  // a trail byte that looks like a separator is not one
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(GetSymbolLibName(c.path), CString(c.name)) << c.path;
}

TEST_F(SymbolLibFolder, OpensLibrariesAsThisLibrarysReader) {
    ASSERT_TRUE(quenbytest::WriteSampleLibrary((m_dir + "/Quenby/Normal.sym").c_str()));
    CSymbolLibIO* lib = GetSymbolLibIO(GetSymbolLibFileName("Normal"), 50000);
    ASSERT_TRUE(lib != nullptr);
    EXPECT_TRUE(lib->IsKindOf(RUNTIME_CLASS(CVMSymbolLibIO)));
    EXPECT_EQ(lib->GetMapScale(), 50000u);
    EXPECT_EQ(lib->GetSymbolMap().GetCount(), 8);
    EXPECT_TRUE(AfxGetMessageLog().empty());
    ReleaseSymbolLibIO(lib);
    ReleaseSymbolLibIO(nullptr);

    // A missing and a damaged file: the message, and NULL.
    EXPECT_TRUE(GetSymbolLibIO(GetSymbolLibFileName("#Missing"), 50000) == nullptr);
    FILE* f = std::fopen((m_dir + "/Quenby/Bad.sym").c_str(), "wb");
    std::fputs("QSYM", f);
    std::fclose(f);
    EXPECT_TRUE(GetSymbolLibIO(GetSymbolLibFileName("Bad"), 50000) == nullptr);
    ASSERT_EQ(AfxGetMessageLog().size(), 2u);
    for (const AfxMessageRecord& m : AfxGetMessageLog()) {
        EXPECT_EQ(m.text, CString("打开符号库出错！"));
        EXPECT_EQ(m.nType & MB_TYPEMASK, MB_OK);
    }
}
