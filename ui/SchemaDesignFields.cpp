// The scheme designer's field list: row i always shows field i of the selected layer or class. Each
// command changes the layer's theme directly, or a copy of the class that is written back at its index,
// then the row, and marks the scheme modified.
#include "ui/SchemaDesignDlg.h"

#include <afx/Menu.h>

#include "core/GeoFieldList.h"
#include "ui/FieldPropDlg.h"
#include "ui/SDFieldPage.h"
#include "ui/resources/SchemeDesignTemplates.h"

// What a field command works on: the selected layer's theme, or a copy of the selected class.
struct CSchemaDesignDlg::FieldTarget {
    CGeoTheme* pTheme = nullptr;
    int nClass = -1;  // the class's index in its theme; -1 for the layer itself
    CGeoGClass gc;

    int Count() const { return nClass < 0 ? pTheme->GetFieldCount() : gc.GetFieldCount(); }
    BOOL Get(int i, CDaoFieldInfo& info) const { return nClass < 0 ? pTheme->GetFieldInfo(i, info) : gc.GetFieldInfo(i, info); }
    BOOL Set(int i, const CDaoFieldInfo& info) { return nClass < 0 ? pTheme->SetFieldInfo(i, info) : gc.SetFieldInfo(i, info); }
    BOOL Add(const CDaoFieldInfo& info, int nPos) { return nClass < 0 ? pTheme->AddField(info, nPos) : gc.AddField(info, nPos); }
    BOOL Delete(int i) { return nClass < 0 ? pTheme->DeleteField(i) : gc.DeleteField(i); }
};

namespace {

// The value of the leading decimal digits (0 without any).
int LeadingInt(const CString& s) {
    int v = 0;
    for (int i = 0; i < s.GetLength() && s[i] >= '0' && s[i] <= '9' && v < 100000000; ++i) v = v * 10 + (s[i] - '0');
    return v;
}

}  // namespace

BOOL CSchemaDesignDlg::GetFieldTarget(FieldTarget& t) {
    HTREEITEM h = m_treeScheme.GetSelectedItem();
    const int level = m_treeScheme.GetItemType(h);
    if (level != TNT_LAYER && level != TNT_CLASS) return FALSE;
    t.pTheme = ThemeOfItem(h);
    if (level == TNT_CLASS && (t.nClass = ClassOfItem(h, t.gc)) < 0) return FALSE;
    return t.pTheme != nullptr;
}

void CSchemaDesignDlg::PutFieldTarget(FieldTarget& t) {
    if (t.nClass >= 0) t.pTheme->SetGC(t.nClass, t.gc);
    SetModify(1);
}

void CSchemaDesignDlg::initListCtrl() {
    m_lstField.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    const char* titles[] = {"字段名", "字段类型", "输出宽度", "输入宽度", "小数位数", "缺省值", "必填字段"};
    for (int c = 0; c < 7; ++c) m_lstField.InsertColumn(c, titles[c], LVCFMT_CENTER, 65);
}

void CSchemaDesignDlg::InsertListCtrlItem(const CDaoFieldInfo& field, int nRow) {
    const int row = m_lstField.InsertItem(nRow < 0 ? m_lstField.GetItemCount() : nRow, field.m_strName);
    if (row >= 0) EditListCtrlItem(row, field);
}

void CSchemaDesignDlg::EditListCtrlItem(int nRow, const CDaoFieldInfo& field) { WriteFieldRow(m_lstField, nRow, field); }

void CSchemaDesignDlg::GetListCtrlItem(int nRow, CDaoFieldInfo& field) {
    FTListMap types;
    field.m_strName = m_lstField.GetItemText(nRow, 0);
    field.m_nType = static_cast<short>(types.GetStringType(m_lstField.GetItemText(nRow, 1)));
    field.m_lSize = GetFieldSize(field.m_nType, LeadingInt(m_lstField.GetItemText(nRow, 2)),
                                 LeadingInt(m_lstField.GetItemText(nRow, 3)), LeadingInt(m_lstField.GetItemText(nRow, 4)));
    field.m_strDefaultValue = m_lstField.GetItemText(nRow, 5);
    const CString required = m_lstField.GetItemText(nRow, 6);
    field.m_bRequired = required.CompareNoCase("True") == 0 || required.CompareNoCase("是") == 0;
}

BOOL CSchemaDesignDlg::HasListCtrlSameFieldInfo(CString strName) {
    for (int i = 0; i < m_lstField.GetItemCount(); ++i)
        if (m_lstField.GetItemText(i, 0).CompareNoCase(strName) == 0) return TRUE;
    return FALSE;
}

CString CSchemaDesignDlg::GetListCtrlUniFieldName(CString strName) {
    CString name = strName;
    for (int counter = 1; HasListCtrlSameFieldInfo(name); ++counter) {
        if (counter > 1) name = name.Left(name.GetLength() - 1);
        CString digits;
        digits.Format("%d", counter);
        name += digits;
    }
    return name;
}

void CSchemaDesignDlg::OnRclickListFieldDesign(NMHDR* pNMHDR, LRESULT* pResult) {
    (void)pNMHDR;
    *pResult = 0;
    CPoint pt;
    if (!GetCursorPos(&pt)) return;
    const int level = m_treeScheme.GetItemType(m_treeScheme.GetSelectedItem());
    if (level != TNT_LAYER && level != TNT_CLASS) return;
    const UINT n = m_lstField.GetSelectedCount();
    CMenu menu;
    menu.CreatePopupMenu();
    if (n == 0) menu.AppendMenu(MF_STRING, ID_SD_FIELD_NEW, "追加字段");
    if (n > 0) {
        menu.AppendMenu(MF_STRING, ID_SD_FIELD_DEL, "删除字段");
        menu.AppendMenu(MF_STRING, ID_SD_FIELD_COPY, "拷贝字段");
    }
    if (n == 1) {
        menu.AppendMenu(MF_STRING, ID_SD_FIELD_INSERT, "插入字段");
        menu.AppendMenu(MF_STRING, ID_SD_FIELD_EDIT, "编辑字段");
    }
    if (m_clipboard.m_nKind == 1) menu.AppendMenu(MF_STRING, ID_SD_FIELD_PASTE, "粘贴字段");
    menu.TrackPopupMenu(TPM_RIGHTBUTTON, pt.x, pt.y, this);
}

void CSchemaDesignDlg::OnDblclkListFieldDesign(NMHDR* pNMHDR, LRESULT* pResult) {
    (void)pNMHDR;
    *pResult = 0;
    CPoint pt;
    if (!GetCursorPos(&pt)) return;
    m_lstField.ScreenToClient(&pt);
    const int level = m_treeScheme.GetItemType(m_treeScheme.GetSelectedItem());
    if (level != TNT_LAYER && level != TNT_CLASS) return;
    if (m_lstField.HitTest(pt) < 0)
        OnSdFieldNew();
    else
        OnSdFieldEdit();
}

namespace {

// Runs the field dialog for a new field; its record after OK.
bool AskNewField(CWnd* pParent, CListCtrl* pList, CDaoFieldInfo& info) {
    CFieldPropDlg dlg(pParent);
    dlg.SetData(pList, 1, nullptr);
    if (dlg.DoModal() != IDOK) return false;
    info = dlg.GetFieldInfo();
    return true;
}

int FirstSelectedRow(const CListCtrl& list) {
    POSITION p = list.GetFirstSelectedItemPosition();
    return p ? list.GetNextSelectedItem(p) : -1;
}

}  // namespace

void CSchemaDesignDlg::OnSdFieldNew() {
    FieldTarget t;
    CDaoFieldInfo info;
    if (!GetFieldTarget(t) || !AskNewField(this, &m_lstField, info)) return;
    t.Add(info, -2);
    InsertListCtrlItem(info, -1);
    PutFieldTarget(t);
}

void CSchemaDesignDlg::OnSdFieldInsert() {
    FieldTarget t;
    const int r = FirstSelectedRow(m_lstField);
    CDaoFieldInfo info;
    if (r < 0 || !GetFieldTarget(t) || !AskNewField(this, &m_lstField, info)) return;
    t.Add(info, r == 0 ? -1 : r - 1);
    InsertListCtrlItem(info, r);
    PutFieldTarget(t);
}

void CSchemaDesignDlg::OnSdFieldEdit() {
    FieldTarget t;
    const int r = FirstSelectedRow(m_lstField);
    if (r < 0 || !GetFieldTarget(t)) return;
    // The stored record under the row's texts, so the members the row does not show are kept.
    CDaoFieldInfo record = GetDefaultFieldInfo();
    t.Get(r, record);
    GetListCtrlItem(r, record);
    CFieldPropDlg dlg(this);
    dlg.SetData(&m_lstField, 0, &record);
    if (dlg.DoModal() != IDOK) return;
    const CDaoFieldInfo edited = dlg.GetFieldInfo();
    t.Set(r, edited);
    PutFieldTarget(t);
    EditListCtrlItem(r, edited);
}

void CSchemaDesignDlg::OnSdFieldDel() {
    FieldTarget t;
    if (!GetFieldTarget(t)) return;
    CArray<int, int> rows;
    for (POSITION p = m_lstField.GetFirstSelectedItemPosition(); p;) rows.Add(m_lstField.GetNextSelectedItem(p));
    if (rows.GetSize() == 0) return;
    // From the highest row down, so the lower indices stay valid.
    for (INT_PTR i = rows.GetSize() - 1; i >= 0; --i) {
        t.Delete(rows[i]);
        m_lstField.DeleteItem(rows[i]);
    }
    PutFieldTarget(t);
}

void CSchemaDesignDlg::OnSdFieldCopy() {
    FieldTarget t;
    const BOOL bTarget = GetFieldTarget(t);
    m_clipboard.ClearFields();
    CArray<int, int> rows;
    for (POSITION p = m_lstField.GetFirstSelectedItemPosition(); p;) rows.Add(m_lstField.GetNextSelectedItem(p));
    for (INT_PTR i = rows.GetSize() - 1; i >= 0; --i) {
        auto* pRecord = new CDaoFieldInfo(GetDefaultFieldInfo());
        if (bTarget) t.Get(rows[i], *pRecord);
        GetListCtrlItem(rows[i], *pRecord);
        m_clipboard.m_fieldList.AddHead(pRecord);
    }
    m_clipboard.m_nKind = 1;
}

void CSchemaDesignDlg::OnSdFieldPaste() { PasteFields(); }

void CSchemaDesignDlg::PasteFields() {
    FieldTarget t;
    if (m_clipboard.m_nKind != 1 || !GetFieldTarget(t)) return;
    for (POSITION p = m_clipboard.m_fieldList.GetHeadPosition(); p;) {
        CDaoFieldInfo info = *static_cast<CDaoFieldInfo*>(m_clipboard.m_fieldList.GetNext(p));
        if (HasListCtrlSameFieldInfo(info.m_strName)) info.m_strName = GetListCtrlUniFieldName(info.m_strName);
        t.Add(info, -2);
        InsertListCtrlItem(info, -1);
    }
    PutFieldTarget(t);
}

LRESULT CSchemaDesignDlg::OnMoveField(WPARAM wParam, LPARAM lParam) {
    const int from = static_cast<int>(wParam), to = static_cast<int>(lParam);
    FieldTarget t;
    if (to == from + 1 || to == from || !GetFieldTarget(t)) return 0;
    const int n = t.Count();
    if (from < 0 || from >= n || to >= n || (to < 0 && to != -2)) return 0;
    // The field lands directly before the row it was dropped on, or at the end below the rows.
    int addPos, row;
    if (to < from) {
        addPos = to == 0 ? -1 : to == -2 ? -2 : to - 1;
        row = to == -2 ? -1 : to;
    } else {
        addPos = to - 2;
        row = to - 1;
    }
    CDaoFieldInfo info;
    if (!t.Get(from, info)) return 0;
    t.Delete(from);
    m_lstField.DeleteItem(from);
    t.Add(info, addPos);
    InsertListCtrlItem(info, row);
    PutFieldTarget(t);
    return 0;
}
