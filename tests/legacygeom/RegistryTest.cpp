// The file-backed registry the registry key class runs on.
#include "GeomTestSupport.h"

#include "win32/registry.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {
class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { win32::ResetRegistry(); }
    void TearDown() override { win32::ResetRegistry(); }
};

LONG SetSz(HKEY key, const char* name, const std::string& text) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                          static_cast<DWORD>(text.size()));
}
}  // namespace

TEST_F(RegistryTest, CreateOpenAndDisposition) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "A\\B\\C", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                              nullptr, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    HKEY again = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "a\\b\\c", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &again,
                              &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    EXPECT_EQ(SetSz(key, "v", "1"), ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(again, "V", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 1u);

    HKEY missing = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "A\\X", 0, KEY_READ, &missing), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "\\A", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &missing, nullptr),
              ERROR_BAD_PATHNAME);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(again), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
}

TEST_F(RegistryTest, VolatileKeysStayOutOfTheFileAndRefuseLastingChildren) {
    testsupport::TempDir dir("registry");
    win32::SetRegistryFile(dir("reg.txt"));
    HKEY lasting = nullptr, fleeting = nullptr, child = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Lasting", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &lasting, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Fleeting", 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                              &fleeting, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegCreateKeyExA(fleeting, "Child", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr),
              ERROR_CHILD_MUST_BE_VOLATILE);
    EXPECT_EQ(SetSz(lasting, "kept", "yes"), ERROR_SUCCESS);
    EXPECT_EQ(SetSz(fleeting, "lost", "yes"), ERROR_SUCCESS);
    RegCloseKey(lasting);
    RegCloseKey(fleeting);

    const std::string file = testsupport::ReadFileBytes(dir("reg.txt"));
    EXPECT_NE(file.find("[HKEY_CURRENT_USER\\Lasting]\n\"kept\"=sz:796573\n"), std::string::npos) << file;
    EXPECT_EQ(file.find("Fleeting"), std::string::npos) << file;
}

TEST_F(RegistryTest, FileRoundTripKeepsExactBytesAndOddNames) {
    testsupport::TempDir dir("registry");
    win32::SetRegistryFile(dir("reg.txt"));
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "数据\\[x]=\"y\"", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    const std::string bytes("a\0b\n]", 5);
    ASSERT_EQ(RegSetValueExA(key, "名=\"%", 0, REG_BINARY, reinterpret_cast<const BYTE*>(bytes.data()), 5),
              ERROR_SUCCESS);
    const DWORD number = 0xCAFE;
    ASSERT_EQ(RegSetValueExA(key, nullptr, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4), ERROR_SUCCESS);
    RegCloseKey(key);
    const std::string before = win32::DumpRegistry();

    win32::ResetRegistry();
    EXPECT_EQ(win32::DumpRegistry().find("数据"), std::string::npos);
    win32::SetRegistryFile(dir("reg.txt"));
    EXPECT_EQ(win32::DumpRegistry(), before);
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "数据\\[X]=\"Y\"", 0, KEY_READ, &key), ERROR_SUCCESS);
    char out[8];
    DWORD size = sizeof out, type = 0;
    ASSERT_EQ(RegQueryValueExA(key, "名=\"%", nullptr, &type, reinterpret_cast<BYTE*>(out), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(std::string(out, size), bytes);
    size = 2;
    char small[2] = {'k', 'k'};
    EXPECT_EQ(RegQueryValueExA(key, "", nullptr, &type, reinterpret_cast<BYTE*>(small), &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(small[0], 'k');  // untouched
    RegCloseKey(key);
}

TEST_F(RegistryTest, DeletingKeysAndValues) {
    HKEY key = nullptr, child = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "P", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegCreateKeyExA(key, "Q", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(SetSz(child, "v", "x"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "P"), ERROR_ACCESS_DENIED);  // has a subkey
    EXPECT_EQ(RegDeleteValueA(child, "v"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueA(child, "v"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKeyA(key, "Q"), ERROR_SUCCESS);
    EXPECT_EQ(SetSz(child, "v", "x"), ERROR_KEY_DELETED);
    RegCloseKey(child);
    RegCloseKey(key);
}
