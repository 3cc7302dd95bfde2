#include "ui/PropageStyleLine.h"

#include "core/GeoView.h"
#include "ui/StylePageMessages.h"
#include "ui/StyleTypeLists.h"

#include <quenby/SymbolLibIO.h>

IMPLEMENT_DYNCREATE(CPropageStyleLine, CPropertyPage)

BEGIN_MESSAGE_MAP(CPropageStyleLine, CPropertyPage)
    ON_CONTROL_RANGE(BN_CLICKED, 1052, 1057, OnChoiceClicked)
    ON_CBN_SELCHANGE(1094, OnLineTypeSelected)
    ON_MESSAGE(CPN_COLOURCHANGED, OnPickerChanged)
    ON_MESSAGE(CPN_WIDTHCHANGED, OnPickerChanged)
    ON_MESSAGE(WM_SLB_SELCHANGE, OnSymbolSelected)
    ON_BN_CLICKED(1042, OnRestore)
END_MESSAGE_MAP()

namespace {

const int kCapBits[3] = {PS_ENDCAP_FLAT, PS_ENDCAP_ROUND, PS_ENDCAP_SQUARE};
const int kJoinBits[3] = {PS_JOIN_MITER, PS_JOIN_ROUND, PS_JOIN_BEVEL};

}  // namespace

CPropageStyleLine::CPropageStyleLine() : CPropertyPage(IDD) {}

void CPropageStyleLine::SetData(GEOVIEW* pGeoView, CSymbolLibIO* pLib) {
    m_pGeoView = pGeoView;
    m_pSymbolLib = pLib;
    if (m_pGeoView) LoadFrom(*m_pGeoView);
}

void CPropageStyleLine::LoadFrom(const GEOVIEW& gv) {
    m_crLine = gv.m_crLineColor;
    m_nLineShape = gv.m_nLineShape;
    m_fLineWidth = gv.m_fLineWidth;
    m_nEndCap = (m_nLineShape & PS_ENDCAP_FLAT) ? 0 : (m_nLineShape & PS_ENDCAP_SQUARE) ? 2 : 1;
    m_nJoin = (m_nLineShape & PS_JOIN_MITER) ? 0 : (m_nLineShape & PS_JOIN_BEVEL) ? 2 : 1;
    m_nSymbol = gv.GetSymbol(SYMBOL_LINE);
}

void CPropageStyleLine::GetData(GEOVIEW* pGeoView) {
    int shape = 0;
    if (m_nEndCap >= 0 && m_nEndCap <= 2) shape |= kCapBits[m_nEndCap];
    if (m_nJoin >= 0 && m_nJoin <= 2) shape |= kJoinBits[m_nJoin];
    m_nLineShape = shape;
    pGeoView->m_nLineShape = shape;
    pGeoView->m_crLineColor = m_crLine;
    pGeoView->m_fLineWidth = m_fLineWidth;
    if (m_pSymbolLib && m_wndBrowser.GetSafeHwnd()) m_nSymbol = m_wndBrowser.GetCurSymbol();
    pGeoView->SetSymbol(SYMBOL_LINE, static_cast<int>(m_nSymbol));
}

void CPropageStyleLine::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, 1045, m_stcPreview);
    DDX_Control(pDX, 1063, m_btnColour);
    DDX_Control(pDX, 1043, m_btnWidth);
    DDX_Control(pDX, 1094, m_cmbLineType);
    DDX_LineWidthPicker(pDX, 1043, m_fLineWidth);
    DDX_ColourPicker(pDX, 1063, m_crLine);
    DDX_Radio(pDX, 1052, m_nEndCap);
    DDX_Radio(pDX, 1055, m_nJoin);
}

BOOL CPropageStyleLine::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    if (m_pSymbolLib) {
        CRect rc;
        GetDlgItem(1041)->GetWindowRect(&rc);
        ScreenToClient(&rc);
        m_wndBrowser.Create(rc, this, 9999, 2, 0xFFFFFF);
        m_wndBrowser.SetSymbolFilter(0x4000);
        m_wndBrowser.Initate(m_pSymbolLib);
        m_wndBrowser.SelectSymbol(m_nSymbol, 0);
        m_stcPreview.SetSymbolLib(m_pSymbolLib);
        m_stcPreview.SetSymbol(m_wndBrowser.GetCurSymbol());
    } else {
        GetDlgItem(1041)->ShowWindow(SW_SHOW);
    }
    ShowSymbolText(m_nSymbol);
    UpdateLineStyleComboBox(m_cmbLineType, m_crLine, m_nLineShape);
    return TRUE;
}

void CPropageStyleLine::ShowSymbolText(LONG lSymbol) {
    CString text;
    text.Format("%d", static_cast<int>(lSymbol));
    SetDlgItemText(1050, text);
    SetDlgItemText(1051, m_pSymbolLib ? m_pSymbolLib->GetSymbolName(lSymbol) : CString());
}

void CPropageStyleLine::NotifyChanging() {
    if (m_bViewOnly) return;
    if (!UpdateData(TRUE)) return;
    GEOVIEW scratch;
    GetData(&scratch);
    SetModified(TRUE);
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_GEOVIEW_CHANGING, STYLEPAGE_LINE, reinterpret_cast<LPARAM>(&scratch));
}

void CPropageStyleLine::OnChoiceClicked(UINT) { NotifyChanging(); }

void CPropageStyleLine::OnLineTypeSelected() {
    if (!UpdateData(TRUE)) return;
    const int sel = m_cmbLineType.GetCurSel();
    if (sel >= 0) m_nLineShape = static_cast<int>(m_cmbLineType.GetItemData(sel));
    NotifyChanging();
}

LRESULT CPropageStyleLine::OnPickerChanged(WPARAM, LPARAM lParam) {
    if (!UpdateData(TRUE)) return 0;
    if (lParam == m_btnColour.GetDlgCtrlID()) UpdateLineStyleComboBox(m_cmbLineType, m_crLine, m_nLineShape);
    NotifyChanging();
    return 0;
}

LRESULT CPropageStyleLine::OnSymbolSelected(WPARAM wParam, LPARAM) {
    if (!m_pSymbolLib) return 0;
    const LONG symbol = static_cast<LONG>(wParam);
    m_stcPreview.SetSymbol(symbol);
    ShowSymbolText(symbol);
    NotifyChanging();
    return 0;
}

void CPropageStyleLine::OnRestore() {
    if (m_pGeoView) LoadFrom(*m_pGeoView);
    UpdateData(FALSE);
    UpdateLineStyleComboBox(m_cmbLineType, m_crLine, m_nLineShape);
    if (m_pSymbolLib) {
        m_stcPreview.SetSymbol(m_nSymbol);
        m_wndBrowser.SelectSymbol(m_nSymbol, 0);
    }
}

BOOL CPropageStyleLine::OnApply() {
    if (!m_bViewOnly) {
        if (!UpdateData(TRUE)) return FALSE;
        if (m_pGeoView) {
            GetData(m_pGeoView);
            if (CWnd* pParent = GetParent())
                pParent->SendMessage(WM_GEOVIEW_CHANGED, STYLEPAGE_LINE, reinterpret_cast<LPARAM>(m_pGeoView));
        }
    }
    return CPropertyPage::OnApply();
}
