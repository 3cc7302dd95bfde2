#include "ui/PropageStyleLine.h"

#include "core/GeoView.h"
#include "ui/StylePageMessages.h"
#include "ui/StyleTypeLists.h"

IMPLEMENT_DYNCREATE(CPropageStyleLine, CSymbolStylePage)

BEGIN_MESSAGE_MAP(CPropageStyleLine, CSymbolStylePage)
    ON_CONTROL_RANGE(BN_CLICKED, 1052, 1057, OnChoiceClicked)
    ON_CBN_SELCHANGE(1094, OnLineTypeSelected)
    ON_MESSAGE(CPN_COLOURCHANGED, OnPickerChanged)
    ON_MESSAGE(CPN_WIDTHCHANGED, OnPickerChanged)
END_MESSAGE_MAP()

namespace {

const int kCapBits[3] = {PS_ENDCAP_FLAT, PS_ENDCAP_ROUND, PS_ENDCAP_SQUARE};
const int kJoinBits[3] = {PS_JOIN_MITER, PS_JOIN_ROUND, PS_JOIN_BEVEL};

}  // namespace

CPropageStyleLine::CPropageStyleLine() : CSymbolStylePage(IDD, STYLEPAGE_LINE, 0x4000) {}

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
    pGeoView->SetSymbol(SYMBOL_LINE, static_cast<int>(CurrentSymbol()));
}

void CPropageStyleLine::DoDataExchange(CDataExchange* pDX) {
    CSymbolStylePage::DoDataExchange(pDX);
    DDX_Control(pDX, 1063, m_btnColour);
    DDX_Control(pDX, 1043, m_btnWidth);
    DDX_Control(pDX, 1094, m_cmbLineType);
    DDX_LineWidthPicker(pDX, 1043, m_fLineWidth);
    DDX_ColourPicker(pDX, 1063, m_crLine);
    DDX_Radio(pDX, 1052, m_nEndCap);
    DDX_Radio(pDX, 1055, m_nJoin);
}

void CPropageStyleLine::OnLoaded() { UpdateLineStyleComboBox(m_cmbLineType, m_crLine, m_nLineShape); }

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
