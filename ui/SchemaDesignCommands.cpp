// The scheme designer's commands that add, import, rename and delete schemes, layers and classes, and
// the rules that keep layer names, class names and class codes unique. Objects are found through the
// selected item's data (never by name or path), so the object changed or destroyed is always the one
// the item shows, also when a scheme is open twice or a file holds two layers of one name.
#include "ui/SchemaDesignDlg.h"

#include <afx/Exception.h>

#include "ui/GCInfoDlg.h"
#include "ui/resources/SchemeDesignTemplates.h"

namespace {

const char* const kThemePrefix = "未命名层";

}  // namespace

BOOL CSchemaDesignDlg::GetNameNumber(CString strText, UINT& n) {
    if (strText.IsEmpty()) return FALSE;
    unsigned long long v = 0;
    for (int i = 0; i < strText.GetLength(); ++i) {
        if (strText[i] < '0' || strText[i] > '9') return FALSE;
        v = v * 10 + static_cast<unsigned>(strText[i] - '0');
        if (v > 0xFFFFFFFFull) v = 0xFFFFFFFFull;  // saturates as the 32-bit reading does
    }
    if (v == 0 || v == 0xFFFFFFFFull) return FALSE;
    n = static_cast<UINT>(v);
    return TRUE;
}

CString CSchemaDesignDlg::GetDefaultThemeName(HTREEITEM hScheme) {
    const CString prefix = kThemePrefix;
    const int len = prefix.GetLength();
    UINT next = 1;
    for (HTREEITEM h = m_treeScheme.GetChildItem(hScheme); h; h = m_treeScheme.GetNextSiblingItem(h)) {
        const CString text = m_treeScheme.GetItemText(h);
        UINT n = 0;
        if (text.GetLength() >= len && text.Left(len).CompareNoCase(prefix) == 0 && GetNameNumber(text.Mid(len), n) &&
            n >= next)
            next = n + 1;
    }
    CString name;
    name.Format("%s%u", kThemePrefix, next);
    return name;
}

HTREEITEM CSchemaDesignDlg::FindItem(CString strText, CTreeCtrl* pTree, HTREEITEM hParent) {
    for (HTREEITEM h = pTree->GetChildItem(hParent); h; h = pTree->GetNextSiblingItem(h))
        if (pTree->GetItemText(h) == strText) return h;
    return nullptr;
}

POSITION CSchemaDesignDlg::FindShemeInList(CString strPath) {
    for (POSITION p = m_schemeList.GetHeadPosition(); p; m_schemeList.GetNext(p))
        if (m_schemeList.GetAt(p)->m_strPath == strPath) return p;
    return nullptr;
}

POSITION CSchemaDesignDlg::FindThemeInList(CString strName, CTypedPtrList<CObList, CGeoTheme*>& list) {
    for (POSITION p = list.GetHeadPosition(); p; list.GetNext(p))
        if (list.GetAt(p)->GetName() == strName) return p;
    return nullptr;
}

BOOL CSchemaDesignDlg::HasClassClash(const CGeoTheme* pTheme, int nExcept, const CString& strName, UINT nCode,
                                     BOOL* pNameClash) {
    const int byName = pTheme->FindGC(strName), byCode = pTheme->FindGC(nCode);
    const BOOL nameClash = byName >= 0 && byName != nExcept, codeClash = byCode >= 0 && byCode != nExcept;
    if (pNameClash) *pNameClash = nameClash;
    return nameClash || codeClash;
}

BOOL CSchemaDesignDlg::AskGCNameID(const CGeoTheme* pTheme, int nExcept, CString& strName, UINT& nCode,
                                   BOOL bAcceptUnchanged) {
    CString name = strName;
    UINT code = nCode;
    for (;;) {
        CGCInfoDlg dlg;
        dlg.m_strName = name;
        dlg.m_nCode = code;
        if (dlg.DoModal() != IDOK) return FALSE;
        name = dlg.m_strName;
        code = dlg.m_nCode;
        BOOL nameClash = FALSE;
        if ((bAcceptUnchanged && name == strName && code == nCode) ||
            !HasClassClash(pTheme, nExcept, name, code, &nameClash)) {
            strName = name;
            nCode = code;
            return TRUE;
        }
        // Say which value is taken before asking again.
        AfxMessageBox(nameClash ? "地物名称重复" : "地物编码重复", MB_OK);
    }
}

BOOL CSchemaDesignDlg::GetGCNameID(HTREEITEM hLayer, CString& strName, UINT& nCode) {
    if (m_treeScheme.GetItemType(hLayer) != TNT_LAYER) return FALSE;
    const CGeoTheme* pTheme = ThemeOfItem(hLayer);
    if (!strName.IsEmpty() && nCode != 0 && !HasClassClash(pTheme, -1, strName, nCode, nullptr)) return TRUE;
    return AskGCNameID(pTheme, -1, strName, nCode, FALSE);
}

HTREEITEM CSchemaDesignDlg::AddClassToLayer(CGeoGClass gc, HTREEITEM hLayer) {
    CString name = gc.GetGCName();
    UINT code = gc.GetGCID();
    if (!GetGCNameID(hLayer, name, code)) return nullptr;
    gc.SetGCName(name);
    gc.SetGCID(code);
    ThemeOfItem(hLayer)->AddGC(gc, -2);
    HTREEITEM h = InsertClassItem(gc, hLayer);
    if (h) m_treeScheme.SelectItem(h);
    SetModify(1);
    return h;
}

HTREEITEM CSchemaDesignDlg::AddThemeCopy(const CGeoTheme& theme, HTREEITEM hScheme) {
    CScheme* pScheme = SchemeOfItem(hScheme);
    if (!pScheme || m_treeScheme.GetItemType(hScheme) != TNT_SCHEME) return nullptr;
    auto* pTheme = new CGeoTheme(theme);
    pTheme->SetName(GetDefaultThemeName(hScheme));
    pScheme->m_lstThemes.AddHead(pTheme);
    HTREEITEM h = AddTheme(pTheme, hScheme);
    if (!h) return nullptr;
    pScheme->m_bModified = 1;
    m_treeScheme.SelectItem(h);
    m_treeScheme.EditLabel(h);  // the person names the layer at once
    return h;
}

void CSchemaDesignDlg::OnSdTreeNew() {
    HTREEITEM h = m_treeScheme.GetSelectedItem();
    switch (m_treeScheme.GetItemType(h)) {
        case TNT_ROOT: {
            CFileDialog dlg(FALSE, "sch", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, SCHEME_FILE_FILTER, this);
            dlg.m_ofn.lpstrTitle = "新建方案";
            if (dlg.DoModal() != IDOK) return;
            auto* pScheme = new CScheme;
            pScheme->m_lstThemes.AddTail(new CGeoTheme);
            pScheme->m_strPath = dlg.GetPathName();
            if (HTREEITEM hNew = InsertScheme("", pScheme)) m_treeScheme.SelectItem(hNew);
            break;
        }
        case TNT_SCHEME: AddThemeCopy(CGeoTheme(), h); break;
        case TNT_LAYER: {
            CGeoGClass gc;
            gc.SetType(GCT_LINE | GCT_LINE_DIRECTED);
            gc.SetGCName("");
            gc.SetGCID(0);
            AddClassToLayer(gc, h);
            break;
        }
        default: break;
    }
}

void CSchemaDesignDlg::OnSdTreeInput() {
    HTREEITEM h = m_treeScheme.GetSelectedItem();
    const int level = m_treeScheme.GetItemType(h);
    if (level != TNT_ROOT && level != TNT_SCHEME) return;
    CFileDialog dlg(TRUE, "sch", nullptr, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, SCHEME_FILE_FILTER, this);
    dlg.m_ofn.lpstrTitle = level == TNT_ROOT ? "导入方案" : "指定方案";
    if (dlg.DoModal() != IDOK) return;
    if (level == TNT_ROOT) {
        if (InsertScheme(dlg.GetPathName(), nullptr)) m_treeScheme.Expand(h, TVE_EXPAND);
        return;
    }
    CTypedPtrList<CObList, CGeoTheme*> read;
    int ok = 0;
    try {
        ok = ReadSchemeFile(dlg.GetPathName(), read);
    } catch (CException&) {
        ok = 0;  // the reader kept nothing of the file
    }
    if (!ok) {
        AfxMessageBox("无法打开指定文件!", MB_OK);
        return;
    }
    CScheme* pScheme = SchemeOfItem(h);
    for (POSITION p = read.GetHeadPosition(); p;) pScheme->m_lstThemes.AddTail(read.GetNext(p));
    for (POSITION p = read.GetHeadPosition(); p;) {
        CGeoTheme* pTheme = read.GetNext(p);
        if (FindItem(pTheme->GetName(), &m_treeScheme, h)) pTheme->SetName(GetDefaultThemeName(h));
        if (!AddTheme(pTheme, h)) return;
    }
    pScheme->m_bModified = 1;
    m_treeScheme.Expand(h, TVE_EXPAND);
}

void CSchemaDesignDlg::OnSdTreeRename() {
    HTREEITEM h = m_treeScheme.GetSelectedItem();
    const int level = m_treeScheme.GetItemType(h);
    if (level == TNT_LAYER) {
        m_treeScheme.EditLabel(h);
        return;
    }
    CGeoGClass gc;
    const int index = ClassOfItem(h, gc);
    if (index < 0) return;
    CGeoTheme* pTheme = ThemeOfItem(h);
    CString name = gc.GetGCName();
    UINT code = gc.GetGCID();
    if (!AskGCNameID(pTheme, index, name, code, TRUE)) return;
    gc.SetGCName(name);
    gc.SetGCID(code);
    pTheme->SetGC(index, gc);
    m_treeScheme.SetItemText(h, GetGCTitle(name, code, m_bNameFirst));
    m_treeScheme.SetItemData(h, code);
    SetModify(1);  // so deleting the scheme asks to save the new name
}

void CSchemaDesignDlg::OnBeginlabeleditTreeSd(NMHDR* pNMHDR, LRESULT* pResult) {
    // Only layer names are edited in place; classes are renamed through their info dialog.
    HTREEITEM h = reinterpret_cast<NMTVDISPINFO*>(pNMHDR)->item.hItem;
    *pResult = m_treeScheme.GetItemType(h) == TNT_LAYER && h == m_treeScheme.GetSelectedItem() ? FALSE : TRUE;
}

void CSchemaDesignDlg::OnEndlabeleditTreeSd(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = FALSE;
    const auto* pInfo = reinterpret_cast<NMTVDISPINFO*>(pNMHDR);
    if (!pInfo->item.pszText) return;  // Escape
    const CString text = pInfo->item.pszText;
    HTREEITEM h = pInfo->item.hItem;
    CGeoTheme* pTheme = ThemeOfItem(h);
    if (!pTheme || m_treeScheme.GetItemType(h) != TNT_LAYER) return;
    if (text.IsEmpty()) {
        AfxMessageBox("层名不能为空!", MB_OK);
        return;
    }
    if (FindItem(text, &m_treeScheme, m_treeScheme.GetParentItem(h))) {
        AfxMessageBox("层名不能重复!", MB_OK);
        return;
    }
    pTheme->SetName(text);
    *pResult = TRUE;
    if (CScheme* pScheme = SchemeOfItem(h)) pScheme->m_bModified = 1;
}

void CSchemaDesignDlg::OnSdTreeDel() {
    HTREEITEM h = m_treeScheme.GetSelectedItem();
    CScheme* pScheme = SchemeOfItem(h);
    switch (m_treeScheme.GetItemType(h)) {
        case TNT_SCHEME: {
            if (pScheme->m_bModified) {
                const int answer = AfxMessageBox("方案已被修改，是否保存?", MB_YESNOCANCEL);
                if (answer == IDCANCEL) return;
                // A scheme whose save failed stays open, so its edits are not lost.
                if (answer == IDYES && !SaveScheme(pScheme)) return;
            }
            m_treeScheme.DeleteItem(h);
            if (POSITION p = m_schemeList.Find(pScheme)) m_schemeList.RemoveAt(p);
            delete pScheme;
            break;
        }
        case TNT_LAYER: {
            if (AfxMessageBox("是否删除图层?", MB_YESNO) != IDYES) return;
            CGeoTheme* pTheme = ThemeOfItem(h);
            POSITION p = pScheme->m_lstThemes.Find(pTheme);
            if (!p) return;
            pScheme->m_lstThemes.RemoveAt(p);
            m_treeScheme.DeleteItem(h);
            delete pTheme;
            pScheme->m_bModified = 1;
            break;
        }
        case TNT_CLASS: {
            if (!ThemeOfItem(h)->DeleteGC(static_cast<UINT>(m_treeScheme.GetItemData(h)))) return;
            m_treeScheme.DeleteItem(h);
            pScheme->m_bModified = 1;
            break;
        }
        default: break;
    }
}
