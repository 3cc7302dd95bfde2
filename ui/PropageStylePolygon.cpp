#include "ui/PropageStylePolygon.h"

#include "core/GeoView.h"
#include "ui/StylePageMessages.h"
#include "ui/StyleTypeLists.h"

IMPLEMENT_DYNCREATE(CPropageStylePolygon, CSymbolStylePage)

BEGIN_MESSAGE_MAP(CPropageStylePolygon, CSymbolStylePage)
    ON_BN_CLICKED(1046, OnTransparentClicked)
    ON_CBN_SELCHANGE(1090, OnFillTypeSelected)
    ON_MESSAGE(CPN_COLOURCHANGED, OnColourChanged)
END_MESSAGE_MAP()

CPropageStylePolygon::CPropageStylePolygon() : CSymbolStylePage(IDD, STYLEPAGE_FILL, 0x2000) {}

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
    pGeoView->SetSymbol(SYMBOL_FILL, static_cast<int>(CurrentSymbol()));
}

void CPropageStylePolygon::DoDataExchange(CDataExchange* pDX) {
    CSymbolStylePage::DoDataExchange(pDX);
    DDX_Control(pDX, 1090, m_cmbFillType);
    DDX_Control(pDX, 1063, m_btnColour);
    DDX_ColourPicker(pDX, 1063, m_crFill);
    DDX_Check(pDX, 1046, m_bTransparent);
}

void CPropageStylePolygon::OnLoaded() { UpdateFaceStyleComboBox(m_cmbFillType, m_crFill, m_nFillShape); }

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
