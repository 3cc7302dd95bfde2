#include "ui/Scheme.h"

#include "core/GeoVectorLayer.h"

#include <afx/Document.h>

#include <memory>

const char* const SCHEME_FILE_FILTER = "Velmor方案文件(*.sch)|*.sch||";

namespace {

typedef CTypedPtrList<CObList, CGeoTheme*> ThemeList;

// Themes that are deleted unless they are handed over.
struct ThemeListGuard {
    ThemeList list;
    ~ThemeListGuard() { ClearThemeList(&list); }
};

// The theme list of a scheme file, read into list. Every element must be a theme read here for the
// first time (the list owns it), and the data must end with the list.
void LoadThemeList(CArchive& ar, ThemeList& list) {
    DWORD nCount = ar.ReadCount();
    while (nCount--) {
        CObject* p = ar.ReadOwnedObject(RUNTIME_CLASS(CGeoTheme));
        if (!p) AfxThrowArchiveException(CArchiveException::badIndex);
        list.AddTail(static_cast<CGeoTheme*>(p));
    }
    // A count smaller than the themes stored would otherwise drop layers unnoticed.
    BYTE rest;
    if (ar.Read(&rest, 1) != 0) AfxThrowArchiveException(CArchiveException::badIndex);
}

}  // namespace

CScheme::CScheme() : m_lstThemes(10), m_bModified(0) {}

CScheme::~CScheme() { ClearThemeList(&m_lstThemes); }

int ReadSchemeFile(CString strPath, ThemeList& list) {
    CDocument doc;
    CFileException fe;
    CFile* pFile = doc.GetFile(strPath, CFile::modeRead | CFile::shareDenyWrite, &fe);
    if (!pFile) {
        doc.ReportSaveLoadException(strPath, &fe, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        return 0;
    }
    // Read into a list of our own, so that a failure leaves the caller's list as it was.
    ThemeListGuard themes;
    try {
        CArchive ar(pFile, CArchive::load, 4096);
        if (pFile->GetLength() != 0) LoadThemeList(ar, themes.list);
        ar.Close();
    } catch (CFileException&) {
        doc.ReleaseFile(pFile, TRUE);
        return 0;
    } catch (...) {
        doc.ReleaseFile(pFile, TRUE);
        throw;
    }
    doc.ReleaseFile(pFile, FALSE);
    while (!themes.list.IsEmpty()) list.AddTail(themes.list.RemoveHead());
    return 1;
}

int SaveSchemeFile(ThemeList& list, CString strPath) {
    if (list.IsEmpty()) return 0;
    CDocument doc;
    CFileException fe;
    CFile* pFile = doc.GetFile(strPath, CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive, &fe);
    if (!pFile) {
        doc.ReportSaveLoadException(strPath, &fe, TRUE, AFX_IDP_INVALID_FILENAME);
        return 0;
    }
    try {
        CArchive ar(pFile, CArchive::store | CArchive::bNoFlushOnDelete, 4096);
        list.Serialize(ar);
        ar.Close();
    } catch (CException& e) {
        // A full disk or a record that cannot be written: the temporary file goes, the previous scheme
        // file stays, and the person is told instead of a menu handler meeting the exception.
        doc.ReleaseFile(pFile, TRUE);
        doc.ReportSaveLoadException(strPath, &e, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        return 0;
    } catch (...) {
        doc.ReleaseFile(pFile, TRUE);
        throw;
    }
    try {
        doc.ReleaseFile(pFile, FALSE);  // puts the new file in the place of the previous one
    } catch (CFileException& e) {
        doc.ReportSaveLoadException(strPath, &e, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        return 0;
    }
    return 1;
}

void GetLayerThemes(const CTypedPtrList<CObList, CGeoLayer*>& layers, ThemeList& themes) {
    for (POSITION pos = layers.GetHeadPosition(); pos;) {
        CGeoLayer* pLayer = layers.GetNext(pos);
        if (!pLayer || !pLayer->IsKindOf(RUNTIME_CLASS(CGeoVectorLayer))) continue;
        auto theme = std::make_unique<CGeoTheme>(static_cast<CGeoVectorLayer*>(pLayer)->m_Theme);
        theme->SetName(pLayer->GetObjectName());
        themes.AddTail(theme.release());
    }
}

int SaveSchemeFile(CString strPath, const CTypedPtrList<CObList, CGeoLayer*>& layers) {
    ThemeListGuard themes;
    GetLayerThemes(layers, themes.list);
    if (themes.list.IsEmpty()) return 0;
    return SaveSchemeFile(themes.list, strPath);
}
