#include "afx/Document.h"

#include "afx/WinApp.h"

#include <unistd.h>

#include <atomic>

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
