#include "GeomTestSupport.h"

#include "RegKey.h"

#include "support/TempDir.h"
#include "win32/module.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

class RegKeyTest : public ::testing::Test {
protected:
    void SetUp() override {
        win32::ResetRegistry();
        win32::SetSystemDirectory("C:\\WINDOWS\\system32");
    }
    void TearDown() override { win32::ResetRegistry(); }

    // The string value under HKEY_CURRENT_USER\path, or "<missing>".
    static std::string Sz(const char* path, const char* name) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return "<missing key>";
        char buf[512];
        DWORD size = sizeof buf, type = 0;
        LONG rc = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
        RegCloseKey(key);
        if (rc != ERROR_SUCCESS || type != REG_SZ) return "<missing>";
        return std::string(buf, size);
    }
    static void WriteFile(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
};

const char kDsnKey[] = "SOFTWARE\\ODBC\\ODBC.INI\\geo";

}  // namespace

TEST_F(RegKeyTest, RunTimeClassIsRegisteredByTheLibrary) {
    CRuntimeClass* cls = CRuntimeClass::FromName("CRegKey");
    ASSERT_NE(cls, nullptr);
    EXPECT_EQ(cls, RUNTIME_CLASS(CRegKey));
    EXPECT_EQ(cls->m_wSchema, 0xFFFFu);
    EXPECT_EQ(cls->m_pBaseClass, RUNTIME_CLASS(CObject));
    EXPECT_EQ(CRegKey::_GetBaseClass(), RUNTIME_CLASS(CObject));
    CObject* obj = cls->CreateObject();
    ASSERT_NE(obj, nullptr);
    EXPECT_TRUE(obj->IsKindOf(RUNTIME_CLASS(CRegKey)));
    EXPECT_EQ(static_cast<CRegKey*>(obj)->m_hKey, nullptr);
    delete obj;

    // The library linked itself into the class library's module chain when it was loaded.
    HINSTANCE self = GetModuleHandleFromAddress(reinterpret_cast<const void*>(&CRegKey::_GetBaseClass));
    bool linked = false;
    for (CDynLinkLibrary* lib : AfxGetModuleChain()) linked = linked || lib->m_hModule == self;
    EXPECT_TRUE(linked);
}

TEST_F(RegKeyTest, ValuesWrittenAndReadBack) {
    CRegKey key;
    EXPECT_EQ(key.Open(HKEY_CURRENT_USER, "Software\\Test"), ERROR_SUCCESS);
    EXPECT_EQ(key.m_strPath, CString("Software\\Test"));
    EXPECT_EQ(key.Write("Count", DWORD(0x12345678)), ERROR_SUCCESS);
    EXPECT_EQ(key.Write("Name", "图层"), ERROR_SUCCESS);
    EXPECT_EQ(key.Write("Empty", ""), ERROR_SUCCESS);
    const BYTE blob[3] = {0, 0xFF, 7};
    EXPECT_EQ(key.Write("Blob", blob, 3), ERROR_SUCCESS);

    DWORD count = 0;
    EXPECT_EQ(key.Read("Count", count), ERROR_SUCCESS);
    EXPECT_EQ(count, 0x12345678u);
    CString name;
    EXPECT_EQ(key.Read("name", name), ERROR_SUCCESS);  // names compare without case
    EXPECT_EQ(name, CString("图层"));

    // A string is stored without its terminator; the empty one has size 0.
    DWORD size = 0, type = 0;
    EXPECT_EQ(RegQueryValueExA(key.m_hKey, "Name", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(RegQueryValueExA(key.m_hKey, "Empty", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 0u);
    CString empty("unchanged");
    EXPECT_EQ(key.Read("Empty", empty), ERROR_SUCCESS);
    EXPECT_EQ(empty, CString(""));

    BYTE out[8] = {};
    size = sizeof out;
    EXPECT_EQ(key.Read("Blob", out, size), ERROR_SUCCESS);
    EXPECT_EQ(size, 3u);
    EXPECT_EQ(out[1], 0xFF);
    size = 2;
    EXPECT_EQ(key.Read("Blob", out, size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 3u);
    key.Close();
    EXPECT_EQ(key.m_hKey, nullptr);
}

TEST_F(RegKeyTest, FailedReadsLeaveTheCallersVariablesAlone) {
    CRegKey key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, "Software\\Test"), ERROR_SUCCESS);
    ASSERT_EQ(key.Write("Long", std::string(250, 'x').c_str()), ERROR_SUCCESS);
    ASSERT_EQ(key.Write("Fits", std::string(200, 'y').c_str()), ERROR_SUCCESS);
    CString text("before");
    EXPECT_EQ(key.Read("Long", text), ERROR_MORE_DATA);
    EXPECT_EQ(text, CString("before"));
    EXPECT_EQ(key.Read("Missing", text), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(text, CString("before"));
    // Exactly the buffer's size, with no terminator stored: read without running past it.
    EXPECT_EQ(key.Read("Fits", text), ERROR_SUCCESS);
    EXPECT_EQ(text.str(), std::string(200, 'y'));

    DWORD value = 77;
    EXPECT_EQ(key.Read("Missing", value), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key.Read("Long", value), ERROR_MORE_DATA);
    EXPECT_EQ(value, 77u);

    CRegKey closed;
    EXPECT_EQ(closed.Read("Long", value), ERROR_INVALID_HANDLE);
    EXPECT_EQ(closed.Write("Long", DWORD(1)), ERROR_INVALID_HANDLE);
}

TEST_F(RegKeyTest, FreeTableSourceNeitherReadsTheAppPathNorCopies) {
    testsupport::TempDir data("legacygeom");
    CRegKey key;
    const std::string dir = data.Path() + "/";
    EXPECT_EQ(key.CreateFoxDataSource("geo", dir.c_str(), "ignored", 1, 1), 1);
    EXPECT_EQ(key.m_hKey, nullptr);
    EXPECT_EQ(Sz(kDsnKey, "BackgroundFetch"), "Yes");
    EXPECT_EQ(Sz(kDsnKey, "Collate"), "Machine");
    EXPECT_EQ(Sz(kDsnKey, "Description"), "");
    EXPECT_EQ(Sz(kDsnKey, "Driver"), "C:\\WINDOWS\\system32\\vfpodbc.dll");
    EXPECT_EQ(Sz(kDsnKey, "Exclusive"), "No");
    EXPECT_EQ(Sz(kDsnKey, "SetNoCountOn"), "No");
    EXPECT_EQ(Sz(kDsnKey, "SourceDb"), dir);
    EXPECT_EQ(Sz(kDsnKey, "SourceType"), "DBF");
    EXPECT_EQ(Sz("SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources", "geo"), "Microsoft visual FoxPro Driver");
    EXPECT_EQ(Sz("SOFTWARE\\KESTRAVION", "APPPATH"), "<missing key>");
    EXPECT_TRUE(std::filesystem::is_empty(data.Path()));
}

TEST_F(RegKeyTest, DatabaseContainerCopiesTheTemplatesNextToTheData) {
    testsupport::TempDir app("legacygeom-app"), data("legacygeom-data");
    WriteFile(app("FoxDataSource.dbc"), "container");
    WriteFile(app("FoxDataSource.DCT"), std::string("memo\0bytes", 10));
    WriteFile(app("FoxDataSource.DCX"), "");
    {
        CRegKey setup;
        ASSERT_EQ(setup.Open(HKEY_CURRENT_USER, "SOFTWARE\\KESTRAVION"), ERROR_SUCCESS);
        ASSERT_EQ(setup.Write("APPPATH", app.Path().c_str()), ERROR_SUCCESS);
    }
    CRegKey key;
    const std::string dir = data.Path() + "\\";  // Windows separators are accepted in paths
    EXPECT_EQ(key.CreateFoxDataSource("geo", dir.c_str(), "geo", 0, 1), 1);
    EXPECT_EQ(key.m_hKey, nullptr);
    EXPECT_EQ(Sz(kDsnKey, "SourceDb"), dir + "geo.DBC");
    EXPECT_EQ(Sz(kDsnKey, "SourceType"), "DBC");
    EXPECT_EQ(testsupport::ReadFileBytes(data("geo.DBC")), "container");
    EXPECT_EQ(testsupport::ReadFileBytes(data("geo.DCT")), std::string("memo\0bytes", 10));
    EXPECT_TRUE(std::filesystem::exists(data("geo.DCX")));

    // Again with failIfExists: the first copy fails, the values are in place, nothing else is copied.
    std::filesystem::remove(data("geo.DCT"));
    CRegKey again;
    EXPECT_EQ(again.CreateFoxDataSource("geo", dir.c_str(), "geo", 0, 1), 2);
    EXPECT_NE(again.m_hKey, nullptr);  // still open on the application key
    EXPECT_EQ(again.m_strPath, CString("SOFTWARE\\KESTRAVION"));
    EXPECT_FALSE(std::filesystem::exists(data("geo.DCT")));
    EXPECT_EQ(Sz(kDsnKey, "SourceType"), "DBC");

    // Without failIfExists the targets are replaced.
    EXPECT_EQ(again.CreateFoxDataSource("geo", dir.c_str(), "geo", 0, 0), 1);
    EXPECT_TRUE(std::filesystem::exists(data("geo.DCT")));
}

TEST_F(RegKeyTest, DirectoryAndNameRunTogetherWithoutASeparator) {
    testsupport::TempDir app("legacygeom-app"), data("legacygeom-data");
    WriteFile(app("FoxDataSource.dbc"), "c");
    WriteFile(app("FoxDataSource.DCT"), "t");
    WriteFile(app("FoxDataSource.DCX"), "x");
    CRegKey setup;
    ASSERT_EQ(setup.Open(HKEY_CURRENT_USER, "SOFTWARE\\KESTRAVION"), ERROR_SUCCESS);
    ASSERT_EQ(setup.Write("APPPATH", app.Path().c_str()), ERROR_SUCCESS);
    CRegKey key;
    const std::string dir = data("sub");  // no trailing separator
    EXPECT_EQ(key.CreateFoxDataSource("geo", dir.c_str(), "geo", 0, 1), 1);
    EXPECT_EQ(Sz(kDsnKey, "SourceDb"), dir + "geo.DBC");
    EXPECT_EQ(testsupport::ReadFileBytes(data("subgeo.DBC")), "c");
}

TEST_F(RegKeyTest, MissingAppPathFailsAfterTheRegistryValues) {
    CRegKey key;
    EXPECT_EQ(key.CreateFoxDataSource("geo", "/nonexistent/", "geo", 0, 1), 0);
    EXPECT_NE(key.m_hKey, nullptr);
    EXPECT_EQ(Sz(kDsnKey, "SourceDb"), "/nonexistent/geo.DBC");
    EXPECT_EQ(Sz("SOFTWARE\\KESTRAVION", "APPPATH"), "<missing>");  // the key was created, empty

    // Template files missing from the application folder: the copy fails.
    testsupport::TempDir app("legacygeom-app");
    CRegKey setup;
    ASSERT_EQ(setup.Open(HKEY_CURRENT_USER, "SOFTWARE\\KESTRAVION"), ERROR_SUCCESS);
    ASSERT_EQ(setup.Write("APPPATH", app.Path().c_str()), ERROR_SUCCESS);
    EXPECT_EQ(key.CreateFoxDataSource("geo", app.Path().c_str(), "geo", 0, 1), 2);
}

TEST_F(RegKeyTest, SystemFolderTooLongForAPathFails) {
    win32::SetSystemDirectory(std::string(400, 'S'));
    CRegKey key;
    EXPECT_EQ(key.CreateFoxDataSource("geo", "d", "geo", 1, 1), 0);
    EXPECT_EQ(Sz(kDsnKey, "Driver"), "<missing>");
    EXPECT_EQ(Sz(kDsnKey, "Description"), "");  // the values before it stay written
}
