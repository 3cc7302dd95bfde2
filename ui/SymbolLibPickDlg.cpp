#include "ui/SymbolLibPickDlg.h"

#include "core/SymbolLibAccess.h"
#include "ui/SymbolLibFiles.h"

#include <brisca/FileFunctions.h>

IMPLEMENT_DYNAMIC(CSymbolLibPickDlg, CDialog)

BEGIN_MESSAGE_MAP(CSymbolLibPickDlg, CDialog)
    ON_CBN_SELCHANGE(1035, OnTypeChanged)
    ON_NOTIFY(NM_DBLCLK, 1033, OnDblClk)
    ON_NOTIFY(LVN_ITEMCHANGED, 1033, OnItemChanged)
END_MESSAGE_MAP()

CSymbolLibPickDlg::CSymbolLibPickDlg(CString strCurrentName, CWnd* pParent)
    : CDialog(IDD, pParent), m_strLibName(strCurrentName) {}

void CSymbolLibPickDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, 1033, m_lstLibs);
    DDX_Text(pDX, 1034, m_strLibName);
    DDX_CBIndex(pDX, 1035, m_nLibType);
}

BOOL CSymbolLibPickDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_lstLibs.InsertColumn(0, "符号库名", LVCFMT_CENTER, 100);
    m_imgList.Create(182, 10, 2, RGB(0, 255, 0));
    m_lstLibs.SetImageList(&m_imgList, LVSIL_SMALL);
    m_nLibType = (m_strLibName.IsEmpty() || m_strLibName[0] == '#') ? 0 : 1;
    FillList(m_nLibType, m_strLibName);
    UpdateData(FALSE);
    return TRUE;
}

void CSymbolLibPickDlg::FillList(int nType, const CString& strSelect) {
    m_lstLibs.DeleteAllItems();
    const std::vector<tagSYMBOLLIB_FILE> files = ListSymbolLibFiles(GetSymbolLibPath(), nType);
    for (const tagSYMBOLLIB_FILE& file : files) {
        const int item = m_lstLibs.InsertItem(m_lstLibs.GetItemCount(), file.strTitle, file.nKind);
        m_lstLibs.SetItemData(item, static_cast<DWORD_PTR>(file.nKind));
    }
    const BOOL bLibrary = !strSelect.IsEmpty() && strSelect[0] == '#';
    const CString title = bLibrary ? strSelect.Mid(1) : strSelect;
    const DWORD_PTR kind = bLibrary ? 0 : 1;
    for (int i = 0; i < m_lstLibs.GetItemCount(); ++i) {
        if (m_lstLibs.GetItemText(i, 0).CompareNoCase(title) == 0 && m_lstLibs.GetItemData(i) == kind) {
            m_lstLibs.SetItemState(i, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            break;
        }
    }
}

CString CSymbolLibPickDlg::GetSelectedName() {
    POSITION pos = m_lstLibs.GetFirstSelectedItemPosition();
    if (!pos) return CString();
    const int item = m_lstLibs.GetNextSelectedItem(pos);
    const CString text = m_lstLibs.GetItemText(item, 0);
    return m_lstLibs.GetItemData(item) == 0 ? CString("#") + text : text;
}

void CSymbolLibPickDlg::OnItemChanged(NMHDR*, LRESULT* pResult) {
    const CString name = GetSelectedName();
    if (!name.IsEmpty()) {
        m_strLibName = name;
        UpdateData(FALSE);
    }
    *pResult = 0;
}

void CSymbolLibPickDlg::OnDblClk(NMHDR* pNMHDR, LRESULT* pResult) {
    OnItemChanged(pNMHDR, pResult);
    OnOK();
}

void CSymbolLibPickDlg::OnTypeChanged() {
    UpdateData(TRUE);
    FillList(m_nLibType, m_strLibName);
}

void CSymbolLibPickDlg::OnOK() {
    if (!UpdateData(TRUE)) return;
    if (!m_strLibName.IsEmpty() && FileIsExist(GetSymbolLibFileName(m_strLibName))) EndDialog(IDOK);
}
