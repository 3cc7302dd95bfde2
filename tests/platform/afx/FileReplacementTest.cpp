#include "afx/FileReplacement.h"
#include "afx/File.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <sys/stat.h>

using testsupport::ReadFileBytes;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace {

int Mode(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
}

int Entries(const std::string& folder) {
    int n = 0;
    for (auto it = std::filesystem::directory_iterator(folder); it != std::filesystem::directory_iterator(); ++it) ++n;
    return n;
}

}  // namespace

TEST(FileReplacement, TargetsChangeOnlyAtCommitAndAllTogether) {
    TempDir dir;
    WriteFileBytes(dir("a.hdr"), "old header");
    WriteFileBytes(dir("a.bil"), "old grid");
    ::chmod(dir("a.bil").c_str(), 0640);
    {
        CFileReplacement save;
        CString hdr, bil;
        ASSERT_TRUE(save.Add(dir("a.hdr").c_str(), hdr));
        ASSERT_TRUE(save.Add(dir("a.bil").c_str(), bil));
        EXPECT_EQ(afx::PathFolder(hdr), CString((dir.Path() + "/").c_str()));
        WriteFileBytes(hdr.str(), "new header");
        WriteFileBytes(bil.str(), "new grid");
        EXPECT_EQ(ReadFileBytes(dir("a.hdr")), "old header");
        ASSERT_TRUE(save.Commit());
    }
    EXPECT_EQ(ReadFileBytes(dir("a.hdr")), "new header");
    EXPECT_EQ(ReadFileBytes(dir("a.bil")), "new grid");
    EXPECT_EQ(Mode(dir("a.bil")), 0640);  // the new file keeps the old one's permissions
    EXPECT_EQ(Entries(dir.Path()), 2);     // no temporary and no journal left

    // Never committed: the targets stay and the temporaries go.
    {
        CFileReplacement save;
        CString hdr;
        ASSERT_TRUE(save.Add(dir("a.hdr").c_str(), hdr));
        WriteFileBytes(hdr.str(), "dropped");
    }
    EXPECT_EQ(ReadFileBytes(dir("a.hdr")), "new header");
    EXPECT_EQ(Entries(dir.Path()), 2);

    // A temporary never written fails the commit before any target changes.
    {
        CFileReplacement save;
        CString hdr, bil;
        ASSERT_TRUE(save.Add(dir("a.hdr").c_str(), hdr));
        ASSERT_TRUE(save.Add(dir("a.bil").c_str(), bil));
        WriteFileBytes(hdr.str(), "half");
        CFileException e;
        EXPECT_FALSE(save.Commit(&e));
        EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
        EXPECT_EQ(e.m_strFileName, CString(dir("a.bil").c_str()));
    }
    EXPECT_EQ(ReadFileBytes(dir("a.hdr")), "new header");
    EXPECT_EQ(Entries(dir.Path()), 2);
}

TEST(FileReplacement, AReadOnlyFileIsNotReplaced) {
    TempDir dir;
    WriteFileBytes(dir("locked.LYR"), "kept");
    ::chmod(dir("locked.LYR").c_str(), 0444);
    CFileReplacement save;
    CString temp;
    CFileException e;
    EXPECT_FALSE(save.Add(dir("locked.LYR").c_str(), temp, &e));
    EXPECT_EQ(e.m_cause, CFileException::accessDenied);
    EXPECT_EQ(CFileReplacement::FailureText("x", e), CString((dir("locked.LYR") + ": 拒绝访问。").c_str()));
    EXPECT_EQ(ReadFileBytes(dir("locked.LYR")), "kept");
    EXPECT_EQ(Mode(dir("locked.LYR")), 0444);
}

TEST(FileReplacement, ACommitStoppedBetweenItsRenamesIsFinishedByRecover) {
    TempDir dir;
    WriteFileBytes(dir("b.hdr"), "old header");
    // The grid's place is taken by a folder, so the second rename fails after the first was made:
    // the state a save killed between its renames leaves.
    std::filesystem::create_directory(dir("b.bil"));
    WriteFileBytes(dir("b.bil/x"), "");
    {
        CFileReplacement save;
        CString hdr, bil;
        ASSERT_TRUE(save.Add(dir("b.hdr").c_str(), hdr));
        ASSERT_TRUE(save.Add(dir("b.bil").c_str(), bil));
        WriteFileBytes(hdr.str(), "new header");
        WriteFileBytes(bil.str(), "new grid");
        EXPECT_FALSE(save.Commit());
    }
    EXPECT_EQ(ReadFileBytes(dir("b.hdr")), "new header");
    EXPECT_TRUE(std::filesystem::exists(dir("~b.hdr.commit")));

    // Nothing to do while the obstacle stays: the journal waits.
    CFileReplacement::Recover(dir("b.hdr").c_str());
    EXPECT_TRUE(std::filesystem::exists(dir("~b.hdr.commit")));

    std::filesystem::remove_all(dir("b.bil"));
    CFileReplacement::Recover(dir("b.hdr").c_str());
    EXPECT_EQ(ReadFileBytes(dir("b.bil")), "new grid");
    EXPECT_EQ(ReadFileBytes(dir("b.hdr")), "new header");
    EXPECT_EQ(Entries(dir.Path()), 2);

    // No journal: nothing happens.
    CFileReplacement::Recover(dir("b.hdr").c_str());
    EXPECT_EQ(Entries(dir.Path()), 2);
}
