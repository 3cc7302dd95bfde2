#include <brisca/brisca.h>

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

TEST(BriscaPaths, FolderAndTitle) {
    struct Case {
        const char* path;
        const char* folder;
        const char* title;
    } cases[] = {
        {"C:\\maps\\sheet.tif", "C:\\maps", "sheet"},
        {"/data/maps/a.b.tif", "/data/maps", "a.b"},
        {"mixed/dir\\name.bmp", "mixed/dir", "name"},
        {"plain", "", "plain"},
        {"", "", ""},
        {"C:\\noext\\", "C:\\noext", ""},
        // "表" is 0xB1 0xED and "\x95\x5C" ends in a byte that looks like '\\': it is no separator.
        {"d:\\图表\\\x95\x5C.tif", "d:\\图表", "\x95\x5C"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_STREQ((LPCSTR)GetFilePath(c.path), c.folder);
        EXPECT_STREQ((LPCSTR)GetFileName(c.path), c.title);
    }
}

TEST(BriscaPaths, RelativeAndAbsoluteAreInverse) {
    struct Case {
        const char* dir;
        const char* path;
        const char* relative;
    } cases[] = {
        {"C:\\doc", "C:\\doc\\img\\a.tif", "img\\a.tif"},
        {"C:\\doc\\x", "C:\\doc\\img\\a.tif", "..\\img\\a.tif"},
        {"c:\\DOC\\", "C:\\doc\\a.tif", "a.tif"},
        {"/home/u/maps", "/home/u/img/a.tif", "..\\img\\a.tif"},
        {"C:\\doc", "D:\\other\\a.tif", "D:\\other\\a.tif"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const CString rel = GetOppositePath(c.dir, c.path);
        EXPECT_STREQ((LPCSTR)rel, c.relative);
        const CString back = GetAbsolutePath(c.dir, rel);
        EXPECT_EQ(CString(back).CompareNoCase(c.path), 0) << (LPCSTR)back;
    }
    EXPECT_STREQ((LPCSTR)GetAbsolutePath("/home/u/maps", "..\\img\\a.tif"), "/home/u/img/a.tif");
    // Degenerate inputs: nothing is invented.
    EXPECT_STREQ((LPCSTR)GetOppositePath("", "C:\\a.tif"), "C:\\a.tif");
    EXPECT_STREQ((LPCSTR)GetOppositePath("C:\\doc", ""), "");
    EXPECT_STREQ((LPCSTR)GetOppositePath("C:\\doc", "img\\a.tif"), "img\\a.tif");
    EXPECT_STREQ((LPCSTR)GetAbsolutePath("C:\\doc", ""), "");
    EXPECT_STREQ((LPCSTR)GetAbsolutePath("", "a.tif"), "a.tif");
    EXPECT_STREQ((LPCSTR)GetAbsolutePath("C:\\doc", "E:\\x.tif"), "E:\\x.tif");
    EXPECT_STREQ((LPCSTR)GetAbsolutePath("C:\\doc", "..\\..\\..\\x.tif"), "C:\\x.tif");
}

TEST(BriscaPaths, FileIsExistOnlyForFiles) {
    testsupport::TempDir dir("corvane-brisca");
    std::ofstream(dir("a.tif")) << "x";
    EXPECT_TRUE(FileIsExist(dir("a.tif").c_str()));
    EXPECT_FALSE(FileIsExist(dir("b.tif").c_str()));
    EXPECT_FALSE(FileIsExist(dir.Path().c_str()));
    EXPECT_FALSE(FileIsExist(""));
    EXPECT_NE(GetDIBFilter().Find("*.tif"), -1);
}

TEST(BriscaStrings, FixedWidth) {
    EXPECT_STREQ((LPCSTR)GetLeftString("ab", 5), "ab   ");
    EXPECT_STREQ((LPCSTR)GetCenterString("ab", 7), "  ab   ");
    EXPECT_STREQ((LPCSTR)GetCenterString("图层", 8), "  图层  ");  // 4 bytes, 2 columns each side
    EXPECT_STREQ((LPCSTR)GetLeftString("abcdef", 3), "abcdef");
    EXPECT_STREQ((LPCSTR)GetCenterString("abc", -1), "abc");
    EXPECT_STREQ((LPCSTR)DupString("-=", 3), "-=-=-=");
    EXPECT_STREQ((LPCSTR)DupString("-", 0), "");
    EXPECT_STREQ((LPCSTR)DupString("-", -2), "");
}

}  // namespace
