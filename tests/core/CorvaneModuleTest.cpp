// Library start-up and version.
#include "core/CorvaneModule.h"

#include "core/CorvaneVersion.h"

#include <cstdio>

#include <gtest/gtest.h>

TEST(CorvaneModule, VersionComesFromTheVersionBlock) {
    EXPECT_NE(GetCorvaneInstance(), nullptr);
    EXPECT_EQ(GetCorvaneVersion(), 1.38f);
    EXPECT_EQ(GetCorvaneLibraryVersion(), 1.38f);
    EXPECT_EQ(GetVersionSection(GetCorvaneInstance(), "ProductVersion"), "1.38");
    EXPECT_EQ(GetVersionSection(GetCorvaneInstance(), "FileVersion"), "1.15");
    EXPECT_EQ(GetVersionSection(GetCorvaneInstance(), "NoSuchKey"), "");
    // A float version against double literals: the reason thresholds are float constants.
    float v = GetCorvaneVersion();
    EXPECT_TRUE(v >= 1.38f);
    EXPECT_FALSE(v >= 1.38);
}

// The record version, the run-time query and the version header come from one number.
TEST(CorvaneModule, VersionQueryMatchesTheHeader) {
    EXPECT_EQ(GetCorvaneVersionNum(), CORVANE_VERSION_NUM);
    EXPECT_STREQ(GetCorvaneVersionString(), CORVANE_VERSION_STRING);
    EXPECT_EQ(CORVANE_VERSION_NUM / 10000, CORVANE_VERSION_MAJOR);
    EXPECT_EQ(CORVANE_VERSION_NUM / 100 % 100, CORVANE_VERSION_MINOR);
    char product[16];
    std::snprintf(product, sizeof product, "%d.%d", CORVANE_VERSION_MAJOR, CORVANE_VERSION_MINOR);
    EXPECT_EQ(GetVersionSection(GetCorvaneInstance(), "ProductVersion"), product);
    EXPECT_TRUE(CORVANE_VERSION_CHECK(1, 38, 0));
    EXPECT_FALSE(CORVANE_VERSION_CHECK(CORVANE_VERSION_MAJOR, CORVANE_VERSION_MINOR, CORVANE_VERSION_PATCH + 1));
}

TEST(CorvaneModule, LibraryIsInTheModuleChain) {
    bool found = false;
    for (CDynLinkLibrary* lib : AfxGetModuleChain()) found = found || lib->m_hModule == GetCorvaneInstance();
    EXPECT_TRUE(found);
}

TEST(CorvaneModule, EntryPointFailsWithoutAModule) {
    EXPECT_FALSE(DllMain(nullptr, DLL_PROCESS_ATTACH, nullptr));
    EXPECT_EQ(GetCorvaneLibraryVersion(), 1.38f);  // nothing was set by the failed attach
    EXPECT_TRUE(DllMain(GetCorvaneInstance(), DLL_THREAD_ATTACH, nullptr));
}

TEST(CorvaneModule, CurrentFileVersionCases) {
    AfxSetUserDriver(nullptr);
    AfxClearMessageLog();
    EXPECT_EQ(GetCurrentFileVersion(), 1.38f);   // unset: becomes the library version
    SetCurrentFileVersion(1.2f);
    EXPECT_EQ(GetCurrentFileVersion(), 1.2f);
    SetCurrentFileVersion(2.0f);
    EXPECT_EQ(GetCurrentFileVersion(), 1.38f);
    EXPECT_EQ(GetCurrentFileVersion(), 1.38f);
    ASSERT_EQ(AfxGetMessageLog().size(), 2u);
    EXPECT_EQ(AfxGetMessageLog()[0].text, "版本号错误!");
    SetCurrentFileVersion(0.0f);
}
