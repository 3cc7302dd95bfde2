#include "afx/Document.h"

#include "afx/WinApp.h"
#include "win32/codepage.h"

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

IMPLEMENT_DYNAMIC(CDocument, CObject)

namespace {

// A file written beside its target under a temporary name; the target is replaced only on commit.
class CTempTargetFile : public CFile {
public:
    CString m_strTarget;
    CString m_strTemp;
    CString GetFilePath() const override { return m_strTarget; }
    CString GetFileName() const override { return afx::PathFileName(m_strTarget); }
    CString GetFileTitle() const override { return afx::PathFileTitle(m_strTarget); }
};

CString TempNameFor(const CString& target) {
    static std::atomic<int> counter{0};
    CString name;
    name.Format("%s~%s.%d.%d.tmp", static_cast<LPCTSTR>(afx::PathFolder(target)),
                static_cast<LPCTSTR>(afx::PathFileName(target)), static_cast<int>(::getpid()), counter++);
    return name;
}

// Removes the temporary files a save of target left behind when its process died before it could
// commit or drop them ("~<name>.<pid>.<n>.tmp" of a process that no longer exists). Files of live
// processes, this one included, are theirs to finish.
void RemoveStaleTempFiles(const CString& target) {
    const std::string folder = win32::GbkPathToNative(afx::PathFolder(target).str());
    const std::string prefix = "~" + win32::GbkPathToNative(afx::PathFileName(target).str()) + ".";
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return;
    std::vector<std::string> stale;
    while (dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name.size() <= prefix.size() + 4 || name.compare(0, prefix.size(), prefix) != 0 ||
            name.compare(name.size() - 4, 4, ".tmp") != 0)
            continue;
        // What lies between is "<pid>.<counter>", both decimal.
        const std::string middle = name.substr(prefix.size(), name.size() - prefix.size() - 4);
        const size_t dot = middle.find('.');
        if (dot == std::string::npos || dot == 0 || dot + 1 == middle.size() ||
            middle.find_first_not_of("0123456789.") != std::string::npos || middle.find('.', dot + 1) != std::string::npos)
            continue;
        const long pid = std::strtol(middle.substr(0, dot).c_str(), nullptr, 10);
        if (pid <= 0 || pid == ::getpid()) continue;
        if (::kill(static_cast<pid_t>(pid), 0) == -1 && errno == ESRCH) stale.push_back(folder + name);
    }
    ::closedir(dir);
    for (const std::string& path : stale) ::unlink(path.c_str());
}

}  // namespace

CDocument::~CDocument() = default;

CFile* CDocument::GetFile(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
    bool writing = (nOpenFlags & (CFile::modeCreate | CFile::modeWrite | CFile::modeReadWrite)) != 0;
    if (!writing) {
        CFile* f = new CFile;
        if (!f->Open(lpszFileName, nOpenFlags, pError)) {
            delete f;
            return nullptr;
        }
        return f;
    }

    RemoveStaleTempFiles(lpszFileName);
    auto* f = new CTempTargetFile;
    f->m_strTarget = lpszFileName;
    f->m_strTemp = TempNameFor(f->m_strTarget);
    UINT flags = (nOpenFlags & ~(CFile::modeNoTruncate | CFile::modeWrite)) | CFile::modeCreate | CFile::modeReadWrite;
    if (!f->Open(f->m_strTemp, flags, pError)) {
        if (pError) pError->m_strFileName = lpszFileName;
        delete f;
        return nullptr;
    }
    if (nOpenFlags & CFile::modeNoTruncate) {
        // Start from the target's present content.
        CFile old;
        if (old.Open(lpszFileName, CFile::modeRead)) {
            char buf[65536];
            UINT n;
            while ((n = old.Read(buf, sizeof buf)) > 0) f->Write(buf, n);
            f->SeekToBegin();
        }
    }
    return f;
}

void CDocument::ReleaseFile(CFile* pFile, BOOL bAbort) {
    if (!pFile) return;
    auto* temp = dynamic_cast<CTempTargetFile*>(pFile);
    if (!temp) {
        if (bAbort) pFile->Abort();
        else {
            try {
                pFile->Close();
            } catch (...) {
                delete pFile;
                throw;
            }
        }
        delete pFile;
        return;
    }
    CString tempName = temp->m_strTemp, target = temp->m_strTarget;
    if (bAbort) {
        temp->Abort();
        delete temp;
        try {
            CFile::Remove(tempName);
        } catch (CFileException&) {
        }
        return;
    }
    try {
        temp->Close();
        delete temp;
        temp = nullptr;
        CFile::Rename(tempName, target);
    } catch (...) {
        delete temp;
        try {
            CFile::Remove(tempName);
        } catch (CFileException&) {
        }
        throw;
    }
}

void CDocument::ReportSaveLoadException(LPCTSTR lpszPathName, CException* e, BOOL bSaving, UINT nIDPDefault) {
    CString text;
    if (e) text = e->GetErrorText();
    if (text.IsEmpty()) {
        text = bSaving ? "保存文档失败。" : "打开文档失败。";
        if (lpszPathName && *lpszPathName) text = CString(lpszPathName) + ": " + text;
    }
    AfxMessageBox(text, MB_ICONEXCLAMATION, nIDPDefault);
}
