#include "ui/PropageStylePoint.h"

#include "core/GeoView.h"
#include "ui/StylePageMessages.h"

#include <quenby/SymbolLibIO.h>

IMPLEMENT_DYNCREATE(CPropageStylePoint, CPropertyPage)

BEGIN_MESSAGE_MAP(CPropageStylePoint, CPropertyPage)
    ON_EN_CHANGE(1068, OnSizeChange)
    ON_MESSAGE(CPN_COLOURCHANGED, OnColourChanged)
    ON_MESSAGE(CPN_MARKERCHANGED, OnMarkerChanged)
    ON_MESSAGE(WM_SLB_SELCHANGE, OnSymbolSelected)
    ON_BN_CLICKED(1042, OnRestore)
END_MESSAGE_MAP()

CPropageStylePoint::CPropageStylePoint() : CPropertyPage(IDD) {}

void CPropageStylePoint::SetData(GEOVIEW* pGeoView, CSymbolLibIO* pLib) {
    m_pGeoView = pGeoView;
    m_pSymbolLib = pLib;
    if (m_pGeoView) LoadFrom(*m_pGeoView);
}

void CPropageStylePoint::LoadFrom(const GEOVIEW& gv) {
    m_nPointShape = gv.m_nPointShape;
    m_crPoint = gv.m_crPointColor;
    m_nPointSize = static_cast<UINT>(gv.m_nPointSize);
    m_nSymbol = gv.GetSymbol(SYMBOL_POINT);
}

void CPropageStylePoint::GetData(GEOVIEW* pGeoView) {
    pGeoView->m_nPointShape = m_nPointShape;
    pGeoView->m_crPointColor = m_crPoint;
    pGeoView->m_nPointSize = static_cast<int>(m_nPointSize);
    if (m_pSymbolLib && m_wndBrowser.GetSafeHwnd()) m_nSymbol = m_wndBrowser.GetCurSymbol();
    pGeoView->SetSymbol(SYMBOL_POINT, static_cast<int>(m_nSymbol));
}

void CPropageStylePoint::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, 1045, m_stcPreview);
    DDX_Control(pDX, 1063, m_btnColour);
    DDX_Control(pDX, 1121, m_btnMarker);
    DDX_NonSymbPntPicker(pDX, 1121, m_nPointShape);
    DDX_ColourPicker(pDX, 1063, m_crPoint);
    DDX_Text(pDX, 1068, m_nPointSize);
}

BOOL CPropageStylePoint::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    if (m_pSymbolLib) {
        CRect rc;
        GetDlgItem(1041)->GetWindowRect(&rc);
        ScreenToClient(&rc);
        m_wndBrowser.Create(rc, this, 9999, 2, 0xFFFFFF);
        m_wndBrowser.SetSymbolFilter(0x8000);
        m_wndBrowser.Initate(m_pSymbolLib);
        m_wndBrowser.SelectSymbol(m_nSymbol, 0);
        m_stcPreview.SetSymbolLib(m_pSymbolLib);
        m_stcPreview.SetSymbol(m_wndBrowser.GetCurSymbol());
    } else {
        GetDlgItem(1041)->ShowWindow(SW_SHOW);  // an empty frame where the browser would be
    }
    ShowSymbolText(m_nSymbol);
    return TRUE;
}

void CPropageStylePoint::ShowSymbolText(LONG lSymbol) {
    CString text;
    text.Format("%d", static_cast<int>(lSymbol));
    SetDlgItemText(1050, text);
    SetDlgItemText(1051, m_pSymbolLib ? m_pSymbolLib->GetSymbolName(lSymbol) : CString());
}

void CPropageStylePoint::NotifyChanging() {
    if (m_bViewOnly) return;
    if (!UpdateData(TRUE)) return;
    GEOVIEW scratch;
    GetData(&scratch);
    SetModified(TRUE);
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_GEOVIEW_CHANGING, STYLEPAGE_POINT, reinterpret_cast<LPARAM>(&scratch));
}

void CPropageStylePoint::OnSizeChange() { NotifyChanging(); }

LRESULT CPropageStylePoint::OnColourChanged(WPARAM, LPARAM) {
    NotifyChanging();
    return 0;
}

LRESULT CPropageStylePoint::OnMarkerChanged(WPARAM, LPARAM) {
    NotifyChanging();
    return 0;
}

LRESULT CPropageStylePoint::OnSymbolSelected(WPARAM wParam, LPARAM) {
    if (!m_pSymbolLib) return 0;
    const LONG symbol = static_cast<LONG>(wParam);
    m_stcPreview.SetSymbol(symbol);
    ShowSymbolText(symbol);
    NotifyChanging();
    return 0;
}

void CPropageStylePoint::OnRestore() {
    if (m_pGeoView) LoadFrom(*m_pGeoView);
    UpdateData(FALSE);
    if (m_pSymbolLib) {
        m_stcPreview.SetSymbol(m_nSymbol);
        m_wndBrowser.SelectSymbol(m_nSymbol, 0);
    }
}

BOOL CPropageStylePoint::OnApply() {
    if (!m_bViewOnly) {
        if (!UpdateData(TRUE)) return FALSE;
        if (m_pGeoView) {
            GetData(m_pGeoView);
            if (CWnd* pParent = GetParent())
                pParent->SendMessage(WM_GEOVIEW_CHANGED, STYLEPAGE_POINT, reinterpret_cast<LPARAM>(m_pGeoView));
        }
    }
    return CPropertyPage::OnApply();
}
