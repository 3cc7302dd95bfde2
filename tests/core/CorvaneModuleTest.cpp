// Library start-up and version.
#include "core/CorvaneModule.h"

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
