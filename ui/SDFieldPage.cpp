#include "ui/SDFieldPage.h"

#include <cstdlib>

#include <afx/Menu.h>

#include "core/FlagInfo.h"
#include "core/GeoFieldList.h"
#include "ui/FieldPropDlg.h"
#include "ui/resources/FieldDialogTemplates.h"

IMPLEMENT_DYNCREATE(CSDFieldPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CSDFieldPage, CPropertyPage)
    ON_BN_CLICKED(IDC_FIELDPAGE_ADD, OnAdd)
    ON_BN_CLICKED(IDC_FIELDPAGE_DELETE, OnDelete)
    ON_BN_CLICKED(IDC_FIELDPAGE_EDIT, OnEdit)
    ON_BN_CLICKED(IDC_FIELDPAGE_UP, OnUp)
    ON_BN_CLICKED(IDC_FIELDPAGE_DOWN, OnDown)
    ON_COMMAND(IDC_FIELDPAGE_INSERT, OnInsert)
    ON_NOTIFY(NM_CLICK, IDC_FIELDPAGE_LIST, OnClickList)
    ON_NOTIFY(NM_RCLICK, IDC_FIELDPAGE_LIST, OnRClickList)
    ON_NOTIFY(NM_DBLCLK, IDC_FIELDPAGE_LIST, OnDblClkList)
    ON_MESSAGE(LVM_ROWDROPPED, OnRowDropped)
END_MESSAGE_MAP()

namespace {

CFlagInfo* FlagAt(CObList& flags, int i) { return static_cast<CFlagInfo*>(flags.GetAt(flags.FindIndex(i))); }

void AppendFlag(CObList& flags, const CString& strOld, const CString& strNew, int nState) {
    auto* p = new CFlagInfo;
    p->m_strOldName = strOld;
    p->m_strNewName = strNew;
    p->m_nState = nState;
    flags.AddTail(p);
}

// The record that stands for the field now named strName: found by new name first, since new names are
// unique among the current fields, and by old name only when no record has it as new name. (An old name
// alone may belong to a stored field that has since been renamed, so that another field now carries it.)
int FindCurrentFlag(CObList& flags, const CString& strName) {
    const int i = FindFlagInfoByNewname(flags, strName);
    if (i >= 0) return i;
    const int j = FindFlagInfoByOldname(flags, strName);
    // A record found by old name whose field was renamed belongs to that other field.
    if (j >= 0 && !FlagAt(flags, j)->m_strNewName.IsEmpty()) return -1;
    return j;
}

}  // namespace

CSDFieldPage::CSDFieldPage() : CPropertyPage(IDD) { RegisterFieldDialogTemplates(); }

CSDFieldPage::~CSDFieldPage() {
    ClearFieldInfoList(&m_FieldList);
    ClearFlagInfoList(&m_FlagInfoList);
}

void CSDFieldPage::SetData(CPtrList* pFields, CObList* pFlags, int bViewOnly) {
    if (pFields)
        for (POSITION p = pFields->GetHeadPosition(); p;)
            if (auto* f = static_cast<CDaoFieldInfo*>(pFields->GetNext(p))) m_FieldList.AddTail(new CDaoFieldInfo(*f));
    ClearFlagInfoList(&m_FlagInfoList);
    if (pFlags) CopyFlagInfoList(&m_FlagInfoList, pFlags);
    m_bViewOnly = bViewOnly;
}

void CSDFieldPage::NoteFieldAdded(CObList& flags, const CString& strName) {
    // Only a deleted stored field of that name comes back to life: its data stay under the new field.
    const int i = FindFlagInfoByOldname(flags, strName);
    if (i >= 0 && FlagAt(flags, i)->m_nState == 2) {
        CFlagInfo* p = FlagAt(flags, i);
        p->m_strNewName = strName;
        p->m_nState = 1;
        return;
    }
    AppendFlag(flags, "", strName, 3);
}

void CSDFieldPage::NoteFieldEdited(CObList& flags, const CString& strOld, const CString& strNew) {
    const int i = FindCurrentFlag(flags, strOld);
    if (i < 0) {
        AppendFlag(flags, strOld, strNew, 1);
        return;
    }
    CFlagInfo* p = FlagAt(flags, i);
    p->m_strNewName = strNew;
    if (!p->m_strOldName.IsEmpty() && p->m_nState != 3) p->m_nState = 1;
}

void CSDFieldPage::NoteFieldDeleted(CObList& flags, const CString& strName) {
    const int i = FindCurrentFlag(flags, strName);
    if (i < 0) {
        AppendFlag(flags, strName, "", 2);
        return;
    }
    POSITION pos = flags.FindIndex(i);
    auto* p = static_cast<CFlagInfo*>(flags.GetAt(pos));
    if (p->m_strOldName.IsEmpty() || p->m_nState == 3) {
        flags.RemoveAt(pos);
        delete p;
        return;
    }
    p->m_strNewName.Empty();
    p->m_nState = 2;
}

void CSDFieldPage::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FIELDPAGE_LIST, m_ListCtrl);
}

BOOL CSDFieldPage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    for (int id : {IDC_FIELDPAGE_ADD, IDC_FIELDPAGE_DELETE, IDC_FIELDPAGE_EDIT, IDC_FIELDPAGE_UP, IDC_FIELDPAGE_DOWN})
        GetDlgItem(id)->EnableWindow(!m_bViewOnly);
    m_ListCtrl.ModifyStyle(LVS_TYPEMASK, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS);
    m_ListCtrl.ModifyStyleEx(0, WS_EX_CLIENTEDGE);
    m_ListCtrl.SetExtendedStyle(m_ListCtrl.GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    const char* titles[] = {"字段名", "字段类型", "输出宽度", "输入宽度", "小数位数", "缺省值", "必填字段"};
    for (int c = 0; c < 7; ++c) m_ListCtrl.InsertColumn(c, titles[c], LVCFMT_CENTER, 60);
    for (POSITION p = m_FieldList.GetHeadPosition(); p;) AddRow(*static_cast<CDaoFieldInfo*>(m_FieldList.GetNext(p)), -1);
    GetDlgItem(IDC_FIELDPAGE_EDIT)->EnableWindow(FALSE);
    return TRUE;
}

void CSDFieldPage::AddRow(const CDaoFieldInfo& info, int nRow) {
    const int row = m_ListCtrl.InsertItem(nRow < 0 ? m_ListCtrl.GetItemCount() : nRow, info.m_strName);
    UpdateRow(info, row);
}

void WriteFieldRow(CListCtrl& list, int nRow, const CDaoFieldInfo& info) {
    FTListMap types;
    int width = 0, len = 0, dec = 0;
    GetFieldSize(info.m_nType, info.m_lSize, width, len, dec);
    CString s;
    list.SetItemText(nRow, 0, info.m_strName);
    list.SetItemText(nRow, 1, types.GetTypeString(info.m_nType));
    s.Format("%d", width);
    list.SetItemText(nRow, 2, s);
    s.Format("%d", len);
    list.SetItemText(nRow, 3, s);
    s.Format("%d", dec);
    list.SetItemText(nRow, 4, s);
    list.SetItemText(nRow, 5, info.m_strDefaultValue);
    list.SetItemText(nRow, 6, info.m_bRequired ? "是" : "否");
}

void CSDFieldPage::UpdateRow(const CDaoFieldInfo& info, int nRow) { WriteFieldRow(m_ListCtrl, nRow, info); }

CDaoFieldInfo* CSDFieldPage::FieldAt(int nIndex) const {
    POSITION p = m_FieldList.FindIndex(nIndex);
    return p ? static_cast<CDaoFieldInfo*>(m_FieldList.GetAt(p)) : nullptr;
}

void CSDFieldPage::SwapFields(int a, int b) {
    POSITION pa = m_FieldList.FindIndex(a), pb = m_FieldList.FindIndex(b);
    if (!pa || !pb) return;
    void* t = m_FieldList.GetAt(pa);
    m_FieldList.SetAt(pa, m_FieldList.GetAt(pb));
    m_FieldList.SetAt(pb, t);
    UpdateRow(*FieldAt(a), a);
    UpdateRow(*FieldAt(b), b);
}

int CSDFieldPage::SelectedRow() const {
    POSITION p = m_ListCtrl.GetFirstSelectedItemPosition();
    return p ? m_ListCtrl.GetNextSelectedItem(p) : -1;
}

void CSDFieldPage::SelectRow(int nRow) {
    m_ListCtrl.SetFocus();
    m_ListCtrl.SetItemState(nRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SetModified();
}

bool CSDFieldPage::AskNewField(CDaoFieldInfo& info) {
    CFieldPropDlg dlg(this);
    dlg.SetData(&m_ListCtrl, 1, nullptr);
    if (dlg.DoModal() != IDOK) return false;
    info = dlg.GetFieldInfo();
    return true;
}

void CSDFieldPage::InsertField(const CDaoFieldInfo& info, int nBefore) {
    NoteFieldAdded(m_FlagInfoList, info.m_strName);
    POSITION p = nBefore >= 0 ? m_FieldList.FindIndex(nBefore) : nullptr;
    if (p)
        m_FieldList.InsertBefore(p, new CDaoFieldInfo(info));
    else
        m_FieldList.AddTail(new CDaoFieldInfo(info));
    AddRow(info, p ? nBefore : -1);
    SetModified();
}

void CSDFieldPage::OnAdd() {
    CDaoFieldInfo info;
    if (AskNewField(info)) InsertField(info, -1);
}

void CSDFieldPage::OnInsert() {
    const int r = SelectedRow();
    if (r < 0) return;
    CDaoFieldInfo info;
    if (AskNewField(info)) InsertField(info, r);
}

void CSDFieldPage::OnEdit() {
    const int r = SelectedRow();
    CDaoFieldInfo* pField = r >= 0 ? FieldAt(r) : nullptr;
    if (!pField) return;
    // The row shows this description; the members it does not show keep their values.
    CDaoFieldInfo current = *pField;
    CFieldPropDlg dlg(this);
    dlg.SetData(&m_ListCtrl, 0, &current);
    if (dlg.DoModal() != IDOK) return;
    const CDaoFieldInfo edited = dlg.GetFieldInfo();
    NoteFieldEdited(m_FlagInfoList, current.m_strName, edited.m_strName);
    *pField = edited;
    UpdateRow(edited, r);
    SetModified();
}

void CSDFieldPage::OnDelete() {
    CArray<int, int> rows;
    for (POSITION p = m_ListCtrl.GetFirstSelectedItemPosition(); p;) rows.Add(m_ListCtrl.GetNextSelectedItem(p));
    if (rows.GetSize() == 0) return;
    for (INT_PTR i = rows.GetSize() - 1; i >= 0; --i) m_ListCtrl.DeleteItem(rows[i]);
    for (INT_PTR i = rows.GetSize() - 1; i >= 0; --i) {
        POSITION p = m_FieldList.FindIndex(rows[i]);
        if (!p) continue;
        auto* f = static_cast<CDaoFieldInfo*>(m_FieldList.GetAt(p));
        NoteFieldDeleted(m_FlagInfoList, f->m_strName);
        m_FieldList.RemoveAt(p);
        delete f;
    }
    SetModified();
}

void CSDFieldPage::OnUp() {
    const int n = m_ListCtrl.GetItemCount(), r = SelectedRow();
    if (n < 2 || r < 0) return;
    int target;
    if (r > 0) {
        SwapFields(r, r - 1);
        target = r - 1;
    } else {
        m_FieldList.AddTail(m_FieldList.RemoveHead());
        m_ListCtrl.DeleteItem(0);
        AddRow(*static_cast<CDaoFieldInfo*>(m_FieldList.GetTail()), -1);
        target = n - 1;
    }
    SelectRow(target);
}

void CSDFieldPage::OnDown() {
    const int n = m_ListCtrl.GetItemCount(), r = SelectedRow();
    if (n < 2 || r < 0) return;
    int target;
    if (r == n - 1) {
        m_FieldList.AddHead(m_FieldList.RemoveTail());
        m_ListCtrl.DeleteItem(n - 1);
        AddRow(*static_cast<CDaoFieldInfo*>(m_FieldList.GetHead()), 0);
        target = 0;
    } else {
        SwapFields(r, r + 1);
        target = r + 1;
    }
    SelectRow(target);
}

void CSDFieldPage::OnClickList(NMHDR* pNMHDR, LRESULT* pResult) {
    (void)pNMHDR;
    *pResult = 0;
    GetDlgItem(IDC_FIELDPAGE_EDIT)->EnableWindow(!m_bViewOnly && SelectedRow() >= 0);
}

void CSDFieldPage::OnRClickList(NMHDR* pNMHDR, LRESULT* pResult) {
    (void)pNMHDR;
    *pResult = 0;
    if (m_bViewOnly) return;
    const UINT n = m_ListCtrl.GetSelectedCount();
    CMenu menu;
    menu.CreatePopupMenu();
    if (n == 0) menu.AppendMenu(MF_STRING, IDC_FIELDPAGE_ADD, "追加字段");
    if (n > 0) menu.AppendMenu(MF_STRING, IDC_FIELDPAGE_DELETE, "删除字段");
    if (n == 1) {
        menu.AppendMenu(MF_STRING, IDC_FIELDPAGE_INSERT, "插入字段");
        menu.AppendMenu(MF_STRING, IDC_FIELDPAGE_EDIT, "编辑字段");
    }
    CPoint pt;
    GetCursorPos(&pt);
    menu.TrackPopupMenu(TPM_RIGHTBUTTON, pt.x, pt.y, this);
}

void CSDFieldPage::OnDblClkList(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    if (m_bViewOnly) return;
    const int row = reinterpret_cast<NMITEMACTIVATE*>(pNMHDR)->iItem;
    if (row < 0)
        OnAdd();
    else
        OnEdit();
}

LRESULT CSDFieldPage::OnRowDropped(WPARAM wParam, LPARAM lParam) {
    const int f = static_cast<int>(wParam), t = static_cast<int>(lParam);
    const int n = static_cast<int>(m_FieldList.GetCount());
    if (t == f + 1 || t == f || f < 0 || f >= n || t >= n || (t < 0 && t != -2)) return 0;
    POSITION pf = m_FieldList.FindIndex(f);
    auto* field = static_cast<CDaoFieldInfo*>(m_FieldList.GetAt(pf));
    m_FieldList.RemoveAt(pf);
    m_ListCtrl.DeleteItem(f);
    // Before the field that stood at row t: after taking f out it stands one row higher when t > f.
    const int to = t == -2 ? n - 1 : (t > f ? t - 1 : t);
    POSITION pt = m_FieldList.FindIndex(to);
    if (pt)
        m_FieldList.InsertBefore(pt, field);
    else
        m_FieldList.AddTail(field);
    AddRow(*field, pt ? to : -1);
    SetModified();
    return 0;
}

BOOL CSDFieldPage::OnApply() {
    tagFieldPageData data{&m_FieldList, &m_FlagInfoList};
    CWnd* pSheet = GetSheet() ? static_cast<CWnd*>(GetSheet()) : GetParent();
    if (pSheet) pSheet->SendMessage(WM_FIELDINFO_CHANGED, 0, reinterpret_cast<LPARAM>(&data));
    return CPropertyPage::OnApply();
}
