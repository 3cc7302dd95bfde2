#include "ui/StylePage.h"

#include "core/GeoView.h"
#include "ui/StylePageMessages.h"

#include <quenby/SymbolLibIO.h>

IMPLEMENT_DYNAMIC(CStylePage, CPropertyPage)

void CStylePage::NotifyChanging() {
    if (m_bViewOnly) return;
    if (!UpdateData(TRUE)) return;
    GEOVIEW scratch;
    StorePart(&scratch);
    SetModified(TRUE);
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_GEOVIEW_CHANGING, static_cast<WPARAM>(m_nKind), reinterpret_cast<LPARAM>(&scratch));
}

BOOL CStylePage::OnApply() {
    if (!m_bViewOnly) {
        // A number the exchange refused (it said so) must not let stale values through.
        if (!UpdateData(TRUE)) return FALSE;
        if (m_pGeoView) {
            if (!StorePart(m_pGeoView)) return FALSE;
            if (CWnd* pParent = GetParent()) {
                pParent->SendMessage(WM_GEOVIEW_CHANGED, static_cast<WPARAM>(m_nKind),
                                     reinterpret_cast<LPARAM>(m_pGeoView));
                AfterApplied(pParent);
            }
        }
    }
    return CPropertyPage::OnApply();
}

IMPLEMENT_DYNAMIC(CSymbolStylePage, CStylePage)

BEGIN_MESSAGE_MAP(CSymbolStylePage, CStylePage)
    ON_MESSAGE(WM_SLB_SELCHANGE, OnSymbolSelected)
    ON_BN_CLICKED(1042, OnRestore)
END_MESSAGE_MAP()

void CSymbolStylePage::SetData(GEOVIEW* pGeoView, CSymbolLibIO* pLib) {
    m_pGeoView = pGeoView;
    m_pSymbolLib = pLib;
    if (m_pGeoView) LoadFrom(*m_pGeoView);
}

LONG CSymbolStylePage::CurrentSymbol() {
    if (m_pSymbolLib && m_wndBrowser.GetSafeHwnd()) m_nSymbol = m_wndBrowser.GetCurSymbol();
    return m_nSymbol;
}

void CSymbolStylePage::DoDataExchange(CDataExchange* pDX) {
    CStylePage::DoDataExchange(pDX);
    DDX_Control(pDX, 1045, m_stcPreview);
}

BOOL CSymbolStylePage::OnInitDialog() {
    CStylePage::OnInitDialog();
    if (m_pSymbolLib) {
        CRect rc;
        GetDlgItem(1041)->GetWindowRect(&rc);
        ScreenToClient(&rc);
        m_wndBrowser.Create(rc, this, 9999, 2, 0xFFFFFF);
        m_wndBrowser.SetSymbolFilter(m_nSymbolFilter);
        m_wndBrowser.Initate(m_pSymbolLib);
        m_wndBrowser.SelectSymbol(m_nSymbol, 0);
        m_stcPreview.SetSymbolLib(m_pSymbolLib);
        m_stcPreview.SetSymbol(m_wndBrowser.GetCurSymbol());
    } else {
        GetDlgItem(1041)->ShowWindow(SW_SHOW);  // an empty frame where the browser would be
    }
    ShowSymbolText(m_nSymbol);
    OnLoaded();
    return TRUE;
}

void CSymbolStylePage::ShowSymbolText(LONG lSymbol) {
    CString text;
    text.Format("%d", static_cast<int>(lSymbol));
    SetDlgItemText(1050, text);
    SetDlgItemText(1051, m_pSymbolLib ? m_pSymbolLib->GetSymbolName(lSymbol) : CString());
}

LRESULT CSymbolStylePage::OnSymbolSelected(WPARAM wParam, LPARAM) {
    if (!m_pSymbolLib) return 0;
    const LONG symbol = static_cast<LONG>(wParam);
    m_stcPreview.SetSymbol(symbol);
    ShowSymbolText(symbol);
    NotifyChanging();
    return 0;
}

void CSymbolStylePage::OnRestore() {
    if (m_pGeoView) LoadFrom(*m_pGeoView);
    UpdateData(FALSE);
    OnLoaded();
    if (m_pSymbolLib) {
        m_stcPreview.SetSymbol(m_nSymbol);
        m_wndBrowser.SelectSymbol(m_nSymbol, 0);
    }
}
