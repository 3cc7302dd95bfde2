#include "ui/PickGCDlg.h"

#include "ui/GCPropSheet.h"
#include "ui/resources/ClassDialogTemplates.h"

IMPLEMENT_DYNAMIC(CPickGCDlg, CDialog)

BEGIN_MESSAGE_MAP(CPickGCDlg, CDialog)
    ON_LBN_SELCHANGE(IDC_PICKGC_LIST, OnSelChangeList)
    ON_LBN_DBLCLK(IDC_PICKGC_LIST, OnDblClkList)
    ON_BN_CLICKED(IDC_PICKGC_BY_NAME, OnListBy)
    ON_BN_CLICKED(IDC_PICKGC_BY_CODE, OnListBy)
    ON_BN_CLICKED(IDC_PICKGC_NEW, OnNewClass)
    ON_BN_CLICKED(IDC_PICKGC_PROPERTIES, OnProperties)
END_MESSAGE_MAP()

int CPickGCDlg::s_nListBy = 0;

namespace {

// Heap copies of every class of the theme (CGeoGClass*), for a sheet's collision checks.
void CopyClasses(const CGeoTheme& theme, CObList& out) {
    CGeoGClass gc;
    for (int i = 0; i < theme.GetGCCount(); ++i)
        if (theme.GetGC(i, gc)) out.AddTail(new CGeoGClass(gc));
}

void FreeClasses(CObList& list) {
    for (POSITION p = list.GetHeadPosition(); p;) static_cast<CGeoGClass*>(list.GetNext(p))->Remove();
    list.RemoveAll();
}

}  // namespace

CPickGCDlg::CPickGCDlg(CWnd* pParent) : CDialog(IDD, pParent) { RegisterClassDialogTemplates(); }

void CPickGCDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PICKGC_LIST, m_lstClasses);
    DDX_Text(pDX, IDC_PICKGC_CODE, m_nCode);
    DDX_Text(pDX, IDC_PICKGC_NAME, m_strName);
    DDX_Radio(pDX, IDC_PICKGC_BY_NAME, s_nListBy);
}

CString CPickGCDlg::EntryText(const CGeoGClass& gc) const {
    CString text;
    if (s_nListBy == 1)
        text.Format("%u", gc.GetGCID());
    else
        text = gc.GetGCName();
    return text;
}

void CPickGCDlg::FillList() {
    m_lstClasses.ResetContent();
    CGeoGClass gc;
    for (int i = 0; i < m_Theme.GetGCCount(); ++i) {
        if (!m_Theme.GetGC(i, gc)) continue;
        const int at = m_lstClasses.AddString(EntryText(gc));
        m_lstClasses.SetItemData(at, gc.GetGCID());
    }
    const CGeoGClass* pCurrent = m_Theme.FindGCPtr(m_nCode);
    m_strName = pCurrent ? pCurrent->GetGCName() : CString("未命名地物");
    if (pCurrent) {
        const int at = m_lstClasses.FindStringExact(-1, EntryText(*pCurrent));
        if (at >= 0) m_lstClasses.SetCurSel(at);
    }
    GetDlgItem(IDC_PICKGC_PROPERTIES)->EnableWindow(m_lstClasses.GetCount() > 0);
    UpdateData(FALSE);
}

BOOL CPickGCDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    FillList();
    return TRUE;
}

void CPickGCDlg::OnSelChangeList() {
    const int sel = m_lstClasses.GetCurSel();
    if (sel < 0) return;
    m_nCode = static_cast<UINT>(m_lstClasses.GetItemData(sel));
    const CGeoGClass* pCurrent = m_Theme.FindGCPtr(m_nCode);
    m_strName = pCurrent ? pCurrent->GetGCName() : CString("未命名地物");
    UpdateData(FALSE);
}

void CPickGCDlg::OnDblClkList() { OnOK(); }

void CPickGCDlg::OnListBy() {
    UpdateData(TRUE);
    FillList();
}

void CPickGCDlg::OnNewClass() {
    CObList others;
    CopyClasses(m_Theme, others);
    CGCPropSheet sheet("地物属性", &others, nullptr, m_pSymbolLib, 0, nullptr, 0);
    sheet.DoModal();
    FreeClasses(others);
    if (!sheet.GetModifiedFlag()) return;
    const CGeoGClass edited = sheet.GetEditedGClass();
    if (edited.GetGCID() == 0) return;
    if (m_Theme.FindGC(edited.GetGCID()) >= 0 || m_Theme.FindGC(edited.GetGCName()) >= 0) {
        AfxMessageBox("新建的地物类已经存在!\n输入无效!");
        return;
    }
    m_Theme += edited;
    m_nCode = edited.GetGCID();
    FillList();
}

void CPickGCDlg::OnProperties() {
    const CGeoGClass* pCurrent = m_Theme.FindGCPtr(m_nCode);
    if (!pCurrent) return;
    CGeoGClass shown = *pCurrent;
    CObList others;
    CopyClasses(m_Theme, others);
    CGCPropSheet sheet("地物属性", &others, &shown, m_pSymbolLib, 1, nullptr, 0);
    sheet.DoModal();
    FreeClasses(others);
}
