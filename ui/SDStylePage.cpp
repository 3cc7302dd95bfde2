#include "ui/SDStylePage.h"

#include "ui/EditGeoView.h"
#include "ui/StyleSheet.h"

#include <afx/Dc.h>

IMPLEMENT_DYNCREATE(CSDStylePage, CPropertyPage)

BEGIN_MESSAGE_MAP(CSDStylePage, CPropertyPage)
    ON_WM_PAINT()
    ON_BN_CLICKED(1038, OnPointStyle)
    ON_BN_CLICKED(1039, OnLineStyle)
    ON_BN_CLICKED(1040, OnFillStyle)
    ON_BN_CLICKED(1041, OnAnnoStyle)
END_MESSAGE_MAP()

CSDStylePage::CSDStylePage() : CPropertyPage(IDD) {}

void CSDStylePage::SetData(GEOVIEW gv, CSymbolLibIO* pLib, int bNoStyleButtons) {
    m_GeoView = gv;
    m_pSymbolLib = pLib;
    m_bNoStyleButtons = bNoStyleButtons;
}

void CSDStylePage::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, 1119, m_stcPointSymbol);
    DDX_Control(pDX, 1117, m_stcFillSymbol);
    DDX_Control(pDX, 1116, m_stcLineSymbol);
    DDX_Control(pDX, 1118, m_stcPoint);
    DDX_Control(pDX, 1115, m_stcFill);
    DDX_Control(pDX, 1114, m_stcLine);
    DDX_Control(pDX, 1113, m_stcAnno);
}

BOOL CSDStylePage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    for (int id : {1038, 1040, 1041, 1039})
        if (CWnd* pButton = GetDlgItem(id)) pButton->EnableWindow(m_bNoStyleButtons == 0);
    RefreshPreviews(m_GeoView);
    return TRUE;
}

void CSDStylePage::RefreshPreviews(GEOVIEW gv) {
    if (!m_hWnd) return;
    m_stcPoint.SetData(gv, 1);
    m_stcPointSymbol.SetData(gv, 0, m_pSymbolLib);
    m_stcFill.SetData(gv, 3);
    m_stcFillSymbol.SetData(gv, 2, m_pSymbolLib);
    m_stcLine.SetData(gv, 2);
    m_stcLineSymbol.SetData(gv, 1, m_pSymbolLib);
    m_stcAnno.SetData(gv, 4);
}

void CSDStylePage::UpdatePart(GEOVIEW gv, int nKind) {
    CopyGeoViewPart(&m_GeoView, &gv, static_cast<UINT>(nKind));
    RefreshPreviews(m_GeoView);
    if (m_hWnd) Invalidate(TRUE);
}

void CSDStylePage::OnPaint() {
    CPaintDC dc(this);
    for (CWnd* pPreview : std::initializer_list<CWnd*>{&m_stcPointSymbol, &m_stcFillSymbol, &m_stcLineSymbol, &m_stcPoint,
                                                       &m_stcFill, &m_stcLine, &m_stcAnno})
        if (pPreview->GetSafeHwnd()) pPreview->Invalidate(TRUE);
}

void CSDStylePage::OpenStyleSheet(UINT nKind) {
    CStyleSheet sheet("显示风格设置", nullptr, nKind);
    sheet.SetData(m_GeoView, m_pSymbolLib, 0, 50, 50);
    if (sheet.DoModal() == 2) return;
    m_GeoView = sheet.GetGeoView();
    RefreshPreviews(m_GeoView);
    SetModified(TRUE);
    Invalidate(TRUE);
}

void CSDStylePage::OnPointStyle() { OpenStyleSheet(0); }
void CSDStylePage::OnLineStyle() { OpenStyleSheet(1); }
void CSDStylePage::OnFillStyle() { OpenStyleSheet(2); }
void CSDStylePage::OnAnnoStyle() { OpenStyleSheet(3); }

BOOL CSDStylePage::OnApply() {
    if (CWnd* pParent = GetParent()) pParent->SendMessage(WM_SDSTYLE_APPLY, 7, 0);
    return CPropertyPage::OnApply();
}

BOOL CSDStylePage::OnKillActive() {
    if (CWnd* pParent = GetParent()) pParent->SendMessage(WM_SDSTYLE_KILLACTIVE, 7, 0);
    return CPropertyPage::OnKillActive();
}
