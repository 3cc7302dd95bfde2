#include "core/GeoTemplet.h"

#include "core/SchemaPosition.h"

#include <memory>

IMPLEMENT_SERIAL(CGeoTemplet, CObject, 0)

namespace {

typedef CTypedPtrList<CObList, CGeoTheme*> ThemeList;

// Themes read from a file, deleted unless they are handed over.
struct ThemeListGuard {
    ThemeList list;
    ~ThemeListGuard() { ClearThemeList(&list); }
};

const char kTempletFilter[] = "Templet Files(*.TPT)|*.TPT|All Files(*.*)|*.*||";

}  // namespace

CGeoTemplet::CGeoTemplet() : m_strName("未命名模板"), m_ThemeList(10) {}

CGeoTemplet::CGeoTemplet(const CGeoTemplet& src) : CGeoTemplet() { *this = src; }

CGeoTemplet& CGeoTemplet::operator=(const CGeoTemplet& src) {
    if (this == &src) return *this;
    m_strName = src.m_strName;
    m_strFilePath = src.m_strFilePath;
    CopyThemeList(&m_ThemeList, const_cast<ThemeList*>(&src.m_ThemeList));
    return *this;
}

CGeoTemplet::~CGeoTemplet() { DeleteAllThemes(); }

CString CGeoTemplet::SetName(CString strName) {
    CString old = m_strName;
    m_strName = strName;
    return old;
}

int CGeoTemplet::GetTheme(int nIndex, CGeoTheme& theme) const {
    POSITION pos = m_ThemeList.FindIndex(nIndex);
    if (!pos || !m_ThemeList.GetAt(pos)) return 0;
    theme = *m_ThemeList.GetAt(pos);
    return 1;
}

int CGeoTemplet::FindTheme(CString strName) const {
    int i = 0;
    for (POSITION pos = m_ThemeList.GetHeadPosition(); pos; ++i) {
        const CGeoTheme* p = m_ThemeList.GetNext(pos);
        if (p && p->GetName() == strName) return i;
    }
    return -1;
}

int CGeoTemplet::AddTheme(const CGeoTheme& theme, int nPos) {
    if (FindTheme(theme.GetName()) >= 0 || !IsValidSchemaPosition(nPos, m_ThemeList.GetCount())) return 0;
    InsertAtSchemaPosition(m_ThemeList, new CGeoTheme(theme), nPos);
    return 1;
}

int CGeoTemplet::DeleteTheme(int nIndex) {
    POSITION pos = m_ThemeList.FindIndex(nIndex);
    if (!pos) return 0;
    CGeoTheme* p = m_ThemeList.GetAt(pos);
    m_ThemeList.RemoveAt(pos);
    if (p) p->Remove();
    return 1;
}

int CGeoTemplet::DeleteTheme(CString strName) { return DeleteTheme(FindTheme(strName)); }

int CGeoTemplet::DeleteAllThemes() {
    ClearThemeList(&m_ThemeList);
    return 1;
}

int CGeoTemplet::SetTheme(int nIndex, const CGeoTheme& theme) {
    POSITION pos = m_ThemeList.FindIndex(nIndex);
    if (!pos || !m_ThemeList.GetAt(pos)) return 0;
    *m_ThemeList.GetAt(pos) = theme;
    return 1;
}

CGeoTemplet& CGeoTemplet::operator+=(const CGeoTheme& theme) {
    AddTheme(theme, SCHEMA_POS_TAIL);
    return *this;
}

BOOL CGeoTemplet::ChooseFile(const CString& strPath, BOOL bSaving) {
    if (!strPath.IsEmpty()) {
        m_strFilePath = strPath;
        return TRUE;
    }
    if (!m_strFilePath.IsEmpty()) return TRUE;
    DWORD dwFlags = bSaving ? (OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT) : (OFN_PATHMUSTEXIST | OFN_HIDEREADONLY);
    CFileDialog dlg(!bSaving, "*.TPT", nullptr, dwFlags, kTempletFilter);
    dlg.m_ofn.lpstrTitle = bSaving ? "保存模板" : "打开模板";
    if (dlg.DoModal() != IDOK) return FALSE;
    m_strFilePath = dlg.GetPathName();
    return TRUE;
}

int CGeoTemplet::SaveTemplet(CString strPath) {
    const CString strOldPath = m_strFilePath;
    if (!ChooseFile(strPath, TRUE)) return 0;

    CDocument doc;
    CFileException fe;
    CFile* pFile = doc.GetFile(m_strFilePath, CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive, &fe);
    if (!pFile) {
        doc.ReportSaveLoadException(m_strFilePath, &fe, TRUE, AFX_IDP_INVALID_FILENAME);
        return 0;
    }
    try {
        CArchive ar(pFile, CArchive::store | CArchive::bNoFlushOnDelete, 4096);
        ar << m_strName << static_cast<DWORD>(m_ThemeList.GetCount());
        for (POSITION pos = m_ThemeList.GetHeadPosition(); pos;) m_ThemeList.GetNext(pos)->Serialize(ar);
        ar.Close();
    } catch (CFileException& e) {
        doc.ReleaseFile(pFile, TRUE);  // the previous file stays as it was
        doc.ReportSaveLoadException(m_strFilePath, &e, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        m_strFilePath = strOldPath;
        return 0;
    } catch (...) {
        doc.ReleaseFile(pFile, TRUE);
        m_strFilePath = strOldPath;
        throw;
    }
    try {
        doc.ReleaseFile(pFile, FALSE);  // puts the new file in the place of the previous one
    } catch (CFileException& e) {
        doc.ReportSaveLoadException(m_strFilePath, &e, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        m_strFilePath = strOldPath;
        return 0;
    }
    return 1;
}

int CGeoTemplet::LoadTemplet(CString strPath) {
    const CString strOldPath = m_strFilePath;
    if (!ChooseFile(strPath, FALSE)) return 0;

    CDocument doc;
    CFileException fe;
    CFile* pFile = doc.GetFile(m_strFilePath, CFile::modeRead | CFile::shareDenyWrite, &fe);
    if (!pFile) {
        doc.ReportSaveLoadException(m_strFilePath, &fe, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        m_strFilePath = strOldPath;
        return 0;
    }
    // Read into a separate name and list, so that a failure leaves this templet as it was.
    CString strName;
    ThemeListGuard themes;
    try {
        CArchive ar(pFile, CArchive::load, 4096);
        DWORD nCount = 0;
        ar >> strName >> nCount;
        for (DWORD i = 0; i < nCount; ++i) {
            auto theme = std::make_unique<CGeoTheme>();
            theme->Serialize(ar);
            themes.list.AddTail(theme.release());
        }
        ar.Close();
    } catch (CFileException&) {
        doc.ReleaseFile(pFile, TRUE);
        m_strFilePath = strOldPath;
        return 0;
    } catch (...) {
        doc.ReleaseFile(pFile, TRUE);
        m_strFilePath = strOldPath;
        throw;
    }
    try {
        doc.ReleaseFile(pFile, FALSE);
    } catch (CFileException&) {
        m_strFilePath = strOldPath;
        return 0;
    }
    DeleteAllThemes();
    while (!themes.list.IsEmpty()) m_ThemeList.AddTail(themes.list.RemoveHead());
    m_strName = strName;
    return 1;
}

void CGeoTemplet::Serialize(CArchive& ar) {
    if (ar.IsStoring())
        SaveTemplet(CString());
    else
        LoadTemplet(CString());
}
