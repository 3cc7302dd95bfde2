#include "ui/PropageStylePoint.h"

#include "core/GeoView.h"
#include "ui/StylePageMessages.h"

IMPLEMENT_DYNCREATE(CPropageStylePoint, CSymbolStylePage)

BEGIN_MESSAGE_MAP(CPropageStylePoint, CSymbolStylePage)
    ON_EN_CHANGE(1068, OnSizeChange)
    ON_MESSAGE(CPN_COLOURCHANGED, OnPickerChanged)
    ON_MESSAGE(CPN_MARKERCHANGED, OnPickerChanged)
END_MESSAGE_MAP()

CPropageStylePoint::CPropageStylePoint() : CSymbolStylePage(IDD, STYLEPAGE_POINT, 0x8000) {}

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
    pGeoView->SetSymbol(SYMBOL_POINT, static_cast<int>(CurrentSymbol()));
}

void CPropageStylePoint::DoDataExchange(CDataExchange* pDX) {
    CSymbolStylePage::DoDataExchange(pDX);
    DDX_Control(pDX, 1063, m_btnColour);
    DDX_Control(pDX, 1121, m_btnMarker);
    DDX_NonSymbPntPicker(pDX, 1121, m_nPointShape);
    DDX_ColourPicker(pDX, 1063, m_crPoint);
    DDX_Text(pDX, 1068, m_nPointSize);
}

void CPropageStylePoint::OnSizeChange() { NotifyChanging(); }

LRESULT CPropageStylePoint::OnPickerChanged(WPARAM, LPARAM) {
    NotifyChanging();
    return 0;
}
