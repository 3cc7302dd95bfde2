#include "ui/SymbolPickDlg.h"

#include <quenby/SymbolLibIO.h>

IMPLEMENT_DYNAMIC(CSymbolPickDlg, CDialog)

BEGIN_MESSAGE_MAP(CSymbolPickDlg, CDialog)
    ON_MESSAGE(WM_SLB_SELCHANGE, OnSymbolSelected)
    ON_BN_CLICKED(1049, OnRestore)
    ON_EN_CHANGE(1048, OnFindChange)
    ON_EN_UPDATE(1048, OnFindUpdate)
END_MESSAGE_MAP()

CSymbolPickDlg::CSymbolPickDlg(CSymbolLibIO* pLib, LONG lSymbol, DWORD dwKindFilter, CWnd* pParent)
    : CDialog(IDD, pParent), m_pSymbolLib(pLib), m_nSymbol(lSymbol) {
    m_wndBrowser.SetSymbolFilter(dwKindFilter);
}

CSymbolPickDlg::CSymbolPickDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

void CSymbolPickDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, 1045, m_stcPreview);
}

BOOL CSymbolPickDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CRect rc;
    GetDlgItem(1041)->GetWindowRect(&rc);
    ScreenToClient(&rc);
    m_wndBrowser.Create(rc, this, 9999, 2, 0xFFFFFF);
    m_stcPreview.SetSymbolLib(m_pSymbolLib);
    m_wndBrowser.Initate(m_pSymbolLib);
    m_wndBrowser.SelectSymbol(m_nSymbol, 0);
    m_stcPreview.SetSymbol(m_wndBrowser.GetCurSymbol());
    return TRUE;
}

LRESULT CSymbolPickDlg::OnSymbolSelected(WPARAM wParam, LPARAM) {
    const LONG symbol = static_cast<LONG>(wParam);
    m_stcPreview.SetSymbol(symbol);
    CString text;
    text.Format("%d", static_cast<int>(symbol));
    SetDlgItemText(1050, text);
    SetDlgItemText(1051, m_pSymbolLib ? m_pSymbolLib->GetSymbolName(symbol) : CString());
    return 0;
}

void CSymbolPickDlg::OnRestore() {
    m_stcPreview.SetSymbol(m_nSymbol);
    m_wndBrowser.SelectSymbol(m_nSymbol, 0);
}

void CSymbolPickDlg::OnFindChange() {
    CString text;
    GetDlgItemText(1048, text);
    m_wndBrowser.LocateSymbol(text);
}

void CSymbolPickDlg::OnOK() {
    m_nSymbol = m_wndBrowser.GetCurSymbol();
    CDialog::OnOK();
}
