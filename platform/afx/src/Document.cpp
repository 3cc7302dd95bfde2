#include "afx/Document.h"
#include "afx/FileReplacement.h"

#include "afx/WinApp.h"

IMPLEMENT_DYNAMIC(CDocument, CObject)

namespace {

// A file written beside its target under a temporary name; the target is replaced only on commit.
class CTempTargetFile : public CFile {
public:
    CString m_strTarget;
    CFileReplacement m_replacement;
    CString GetFilePath() const override { return m_strTarget; }
    CString GetFileName() const override { return afx::PathFileName(m_strTarget); }
    CString GetFileTitle() const override { return afx::PathFileTitle(m_strTarget); }
};

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
    CString tempName;
    if (!f->m_replacement.Add(f->m_strTarget, tempName, pError)) {
        delete f;
        return nullptr;
    }
    UINT flags = (nOpenFlags & ~(CFile::modeNoTruncate | CFile::modeWrite)) | CFile::modeCreate | CFile::modeReadWrite;
    if (!f->Open(tempName, flags, pError)) {
        if (pError) pError->m_strFileName = lpszFileName;
        delete f;
        return nullptr;
    }
    // Write failures name the file the user knows, not its temporary.
    f->SetFilePath(lpszFileName);
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
    if (bAbort) {
        temp->Abort();
        delete temp;  // drops the temporary file
        return;
    }
    try {
        temp->Close();
    } catch (...) {
        delete temp;
        throw;
    }
    CFileException e;
    const BOOL committed = temp->m_replacement.Commit(&e);
    delete temp;
    if (!committed) throw e;
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
