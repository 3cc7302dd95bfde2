// CDocument as the file opener the library uses around its archives.
//
// GetFile opens a file for reading, or for writing through a temporary file in the same folder;
// ReleaseFile with bAbort FALSE puts the temporary file in the place of the target (one rename), with
// bAbort TRUE deletes it. A save that fails halfway therefore leaves the previous file as it was.
#pragma once

#include "afx/File.h"
#include "afx/Object.h"

class CDocument : public CObject {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument() = default;
    ~CDocument() override;

    // A new open file (owned by the document until ReleaseFile), or NULL with the cause in *pError.
    // Flags with modeCreate, modeWrite or modeReadWrite write through a temporary file
    // (CFileReplacement); a target without write permission for anyone is refused (accessDenied).
    virtual CFile* GetFile(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError);
    // Closes and deletes the file. For a written file: bAbort FALSE commits it to its target
    // (throwing CFileException when that fails), TRUE discards it.
    virtual void ReleaseFile(CFile* pFile, BOOL bAbort);

    // Shows the load or save failure box for the exception (or for nIDPDefault when the exception
    // says nothing more precise). The text names the file and the cause.
    virtual void ReportSaveLoadException(LPCTSTR lpszPathName, CException* e, BOOL bSaving, UINT nIDPDefault);

    const CString& GetPathName() const { return m_strPathName; }
    virtual void SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU = TRUE) { (void)bAddToMRU; m_strPathName = lpszPathName; }
    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle; }
    BOOL IsModified() const { return m_bModified; }
    void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

private:
    CString m_strPathName;
    CString m_strTitle;
    BOOL m_bModified = FALSE;
};

#define AFX_IDP_INVALID_FILENAME 0xF100
#define AFX_IDP_FAILED_TO_OPEN_DOC 0xF101
#define AFX_IDP_FAILED_TO_SAVE_DOC 0xF102
