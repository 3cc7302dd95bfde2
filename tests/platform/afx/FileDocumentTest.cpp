// Files with GBK paths, the document opener's all-or-nothing save, and file status as root sees it.
#include <afx/afx.h>
#include <gtest/gtest.h>
#include "support/TempDir.h"
#include <win32/codepage.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace {

// A GBK file path in a fresh folder.
class TempDir {
public:
    CString operator()(const char* gbkName) const { return CString(m_dir(gbkName).c_str()); }

private:
    testsupport::TempDir m_dir{"corvane-afx"};
};

void WriteText(const CString& path, const char* text) {
    CFile f(path, CFile::modeCreate | CFile::modeWrite);
    f.Write(text, static_cast<UINT>(std::strlen(text)));
    f.Close();
}

std::string ReadText(const CString& path) {
    CFile f(path, CFile::modeRead);
    std::string s(static_cast<size_t>(f.GetLength()), '\0');
    f.Read(&s[0], static_cast<UINT>(s.size()));
    return s;
}

}  // namespace

TEST(File, GbkPathsAndBackslashes) {
    TempDir dir;
    CString name = dir("图层\xD5\x5C.LYR");  // a trail byte 0x5C is not a separator
    WriteText(name, "abc");
    CString viaBackslash = name;
    int slash = viaBackslash.ReverseFind('/');
    viaBackslash.SetAt(slash, '\\');
    EXPECT_EQ(ReadText(viaBackslash), "abc");
    CFile f(name, CFile::modeRead);
    EXPECT_EQ(f.GetFileName(), "图层\xD5\x5C.LYR");
    EXPECT_EQ(f.GetFileTitle(), "图层\xD5\x5C");
    EXPECT_EQ(f.GetLength(), 3u);
}

TEST(File, OpenFailuresGiveTheirCause) {
    TempDir dir;
    CFile f;
    CFileException e;
    EXPECT_FALSE(f.Open(dir("none.bin"), CFile::modeRead, &e));
    EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
    EXPECT_FALSE(f.Open(dir("no/such/dir.bin"), CFile::modeCreate | CFile::modeWrite, &e));
    EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
    EXPECT_THROW(CFile::Remove(dir("none.bin")), CFileException);
}

TEST(File, StatusReadOnlyComesFromPermissionBits) {
    TempDir dir;
    CString name = dir("a.mdb");
    WriteText(name, "x");
    CFileStatus st;
    ASSERT_TRUE(CFile::GetStatus(name, st));
    EXPECT_FALSE(st.m_attribute & CFile::readOnly);
    EXPECT_EQ(st.m_size, 1);
    chmod(win32::GbkPathToNative(name.str()).c_str(), 0444);
    ASSERT_TRUE(CFile::GetStatus(name, st));
    EXPECT_TRUE(st.m_attribute & CFile::readOnly);
    EXPECT_FALSE(CFile::GetStatus(dir("missing"), st));
}

TEST(File, StdioFileWritesCrLfAndReadsLines) {
    TempDir dir;
    CString name = dir("report.txt");
    {
        CStdioFile f(name, CFile::modeCreate | CFile::modeWrite | CFile::typeText);
        f.WriteString("第一行\n");
        f.WriteString("two\n");
    }
    EXPECT_EQ(ReadText(name), "第一行\r\ntwo\r\n");
    CStdioFile f(name, CFile::modeRead);
    CString line;
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(line, "第一行");
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(line, "two");
    EXPECT_FALSE(f.ReadString(line));
}

TEST(File, FindFilesIgnoresCase) {
    TempDir dir;
    WriteText(dir("Normal.SLB"), "");
    WriteText(dir("other.sym"), "");
    CFileFind find;
    std::vector<CString> found;
    BOOL more = find.FindFile(dir("*.slb"));
    while (more) {
        more = find.FindNextFile();
        found.push_back(find.GetFileTitle());
    }
    EXPECT_EQ(found, (std::vector<CString>{"Normal"}));
}

TEST(Document, SaveThroughTemporaryFileKeepsOldFileOnFailure) {
    TempDir dir;
    CString target = dir("layer.LYR");
    WriteText(target, "old content");

    CDocument doc;
    CFileException fe;
    CFile* f = doc.GetFile(target, CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive, &fe);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->GetFilePath(), target);
    try {
        CArchive ar(f, CArchive::store);
        ar << CString("new half");
        ar.Flush();
        throw CArchiveException(CArchiveException::genericException);
    } catch (CArchiveException&) {
        doc.ReleaseFile(f, TRUE);
    }
    EXPECT_EQ(ReadText(target), "old content");

    f = doc.GetFile(target, CFile::modeCreate | CFile::modeReadWrite, &fe);
    ASSERT_NE(f, nullptr);
    {
        CArchive ar(f, CArchive::store);
        ar << CString("new");
        ar.Close();
    }
    doc.ReleaseFile(f, FALSE);
    EXPECT_EQ(ReadText(target), std::string("\x03new"));

    // No temporary file is left behind either way.
    CFileFind find;
    int n = 0;
    BOOL more = find.FindFile(dir("*"));
    while (more) {
        more = find.FindNextFile();
        if (!find.IsDots()) ++n;
    }
    EXPECT_EQ(n, 1);
}

TEST(Document, SaveRemovesTemporaryFilesOfDeadProcessesOnly) {
    TempDir dir;
    CString target = dir("图层.LYR");
    WriteText(target, "old content");
    // A process that has ended, one that lives (this one's parent) and this process itself.
    pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ASSERT_GT(child, 0);
    ::waitpid(child, nullptr, 0);
    CString dead, live, own, other;
    dead.Format("~图层.LYR.%d.3.tmp", static_cast<int>(child));
    live.Format("~图层.LYR.%d.0.tmp", static_cast<int>(::getppid()));
    own.Format("~图层.LYR.%d.9.tmp", static_cast<int>(::getpid()));
    other.Format("~其他.LYR.%d.0.tmp", static_cast<int>(child));
    for (const CString& name : {dead, live, own, other}) WriteText(dir(name), "half");

    CDocument doc;
    CFileException fe;
    CFile* f = doc.GetFile(target, CFile::modeCreate | CFile::modeReadWrite, &fe);
    ASSERT_NE(f, nullptr);
    doc.ReleaseFile(f, TRUE);
    EXPECT_FALSE(CFileFind().FindFile(dir(dead)));
    EXPECT_TRUE(CFileFind().FindFile(dir(live)));
    EXPECT_TRUE(CFileFind().FindFile(dir(own)));
    EXPECT_TRUE(CFileFind().FindFile(dir(other)));
    EXPECT_EQ(ReadText(target), "old content");
}

TEST(Document, OpenFailureAndReport) {
    TempDir dir;
    CDocument doc;
    CFileException fe;
    EXPECT_EQ(doc.GetFile(dir("missing.LYR"), CFile::modeRead, &fe), nullptr);
    EXPECT_EQ(fe.m_cause, CFileException::fileNotFound);
    AfxClearMessageLog();
    doc.ReportSaveLoadException(dir("missing.LYR"), &fe, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
    ASSERT_EQ(AfxGetMessageLog().size(), 1u);
    EXPECT_EQ(AfxGetMessageLog()[0].nIDHelp, static_cast<UINT>(AFX_IDP_FAILED_TO_OPEN_DOC));
    EXPECT_NE(AfxGetMessageLog()[0].text.Find("missing.LYR"), -1);
}
