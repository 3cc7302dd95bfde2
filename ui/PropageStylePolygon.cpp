#include "ui/PropageStylePolygon.h"

#include "core/GeoView.h"
#include "ui/StylePageMessages.h"
#include "ui/StyleTypeLists.h"

#include <quenby/SymbolLibIO.h>

IMPLEMENT_DYNCREATE(CPropageStylePolygon, CPropertyPage)

BEGIN_MESSAGE_MAP(CPropageStylePolygon, CPropertyPage)
    ON_BN_CLICKED(1046, OnTransparentClicked)
    ON_CBN_SELCHANGE(1090, OnFillTypeSelected)
    ON_MESSAGE(CPN_COLOURCHANGED, OnColourChanged)
    ON_MESSAGE(WM_SLB_SELCHANGE, OnSymbolSelected)
    ON_BN_CLICKED(1042, OnRestore)
END_MESSAGE_MAP()

CPropageStylePolygon::CPropageStylePolygon() : CPropertyPage(IDD) {}

void CPropageStylePolygon::SetData(GEOVIEW* pGeoView, CSymbolLibIO* pLib) {
    m_pGeoView = pGeoView;
    m_pSymbolLib = pLib;
    if (m_pGeoView) LoadFrom(*m_pGeoView);
}

void CPropageStylePolygon::LoadFrom(const GEOVIEW& gv) {
    m_crFill = gv.m_crFillColor;
    m_nFillShape = gv.m_nFillShape;
    m_bTransparent = gv.m_bTransparent;
    m_nSymbol = gv.GetSymbol(SYMBOL_FILL);
}

void CPropageStylePolygon::GetData(GEOVIEW* pGeoView) {
    pGeoView->m_nFillShape = m_nFillShape;
    pGeoView->m_crFillColor = m_crFill;
    pGeoView->m_bTransparent = m_bTransparent;
    if (m_pSymbolLib && m_wndBrowser.GetSafeHwnd()) m_nSymbol = m_wndBrowser.GetCurSymbol();
    pGeoView->SetSymbol(SYMBOL_FILL, static_cast<int>(m_nSymbol));
}

void CPropageStylePolygon::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, 1045, m_stcPreview);
    DDX_Control(pDX, 1090, m_cmbFillType);
    DDX_Control(pDX, 1063, m_btnColour);
    DDX_ColourPicker(pDX, 1063, m_crFill);
    DDX_Check(pDX, 1046, m_bTransparent);
}

BOOL CPropageStylePolygon::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    if (m_pSymbolLib) {
        CRect rc;
        GetDlgItem(1041)->GetWindowRect(&rc);
        ScreenToClient(&rc);
        m_wndBrowser.Create(rc, this, 9999, 2, 0xFFFFFF);
        m_wndBrowser.SetSymbolFilter(0x2000);
        m_wndBrowser.Initate(m_pSymbolLib);
        m_wndBrowser.SelectSymbol(m_nSymbol, 0);
        m_stcPreview.SetSymbolLib(m_pSymbolLib);
        m_stcPreview.SetSymbol(m_wndBrowser.GetCurSymbol());
    } else {
        GetDlgItem(1041)->ShowWindow(SW_SHOW);
    }
    ShowSymbolText(m_nSymbol);
    UpdateFaceStyleComboBox(m_cmbFillType, m_crFill, m_nFillShape);
    return TRUE;
}

void CPropageStylePolygon::ShowSymbolText(LONG lSymbol) {
    CString text;
    text.Format("%d", static_cast<int>(lSymbol));
    SetDlgItemText(1050, text);
    SetDlgItemText(1051, m_pSymbolLib ? m_pSymbolLib->GetSymbolName(lSymbol) : CString());
}

void CPropageStylePolygon::NotifyChanging() {
    if (m_bViewOnly) return;
    if (!UpdateData(TRUE)) return;
    GEOVIEW scratch;
    GetData(&scratch);
    SetModified(TRUE);
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_GEOVIEW_CHANGING, STYLEPAGE_FILL, reinterpret_cast<LPARAM>(&scratch));
}

void CPropageStylePolygon::OnTransparentClicked() { NotifyChanging(); }

void CPropageStylePolygon::OnFillTypeSelected() {
    if (!UpdateData(TRUE)) return;
    const int sel = m_cmbFillType.GetCurSel();
    if (sel >= 0) m_nFillShape = static_cast<int>(m_cmbFillType.GetItemData(sel));
    NotifyChanging();
}

LRESULT CPropageStylePolygon::OnColourChanged(WPARAM, LPARAM lParam) {
    if (!UpdateData(TRUE)) return 0;
    if (lParam == m_btnColour.GetDlgCtrlID()) UpdateFaceStyleComboBox(m_cmbFillType, m_crFill, m_nFillShape);
    NotifyChanging();
    return 0;
}

LRESULT CPropageStylePolygon::OnSymbolSelected(WPARAM wParam, LPARAM) {
    if (!m_pSymbolLib) return 0;
    const LONG symbol = static_cast<LONG>(wParam);
    m_stcPreview.SetSymbol(symbol);
    ShowSymbolText(symbol);
    NotifyChanging();
    return 0;
}

void CPropageStylePolygon::OnRestore() {
    if (m_pGeoView) LoadFrom(*m_pGeoView);
    UpdateData(FALSE);
    UpdateFaceStyleComboBox(m_cmbFillType, m_crFill, m_nFillShape);
    if (m_pSymbolLib) {
        m_stcPreview.SetSymbol(m_nSymbol);
        m_wndBrowser.SelectSymbol(m_nSymbol, 0);
    }
}

BOOL CPropageStylePolygon::OnApply() {
    if (!m_bViewOnly) {
        if (!UpdateData(TRUE)) return FALSE;
        if (m_pGeoView) {
            GetData(m_pGeoView);
            if (CWnd* pParent = GetParent())
                pParent->SendMessage(WM_GEOVIEW_CHANGED, STYLEPAGE_FILL, reinterpret_cast<LPARAM>(m_pGeoView));
        }
    }
    return CPropertyPage::OnApply();
}
