#include "ui/StyleSheet.h"

#include "ui/StylePageMessages.h"

IMPLEMENT_DYNAMIC(CStyleSheet, CTPropertySheet)

BEGIN_MESSAGE_MAP(CStyleSheet, CTPropertySheet)
    ON_MESSAGE(WM_ANNOSIZE_CHANGED, OnAnnoSizeChanged)
END_MESSAGE_MAP()

CStyleSheet::CStyleSheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CTPropertySheet(nIDCaption, pParentWnd, iSelectPage) {
    Init();
}

CStyleSheet::CStyleSheet(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CTPropertySheet(pszCaption, pParentWnd, iSelectPage) {
    Init();
}

void CStyleSheet::Init() {
    AddPage(&m_pagePoint, nullptr, 0, 0, nullptr, nullptr);
    AddPage(&m_pageLine, nullptr, 0, 0, nullptr, nullptr);
    AddPage(&m_pagePolygon, nullptr, 0, 0, nullptr, nullptr);
    AddPage(&m_pageAnno, nullptr, 0, 0, nullptr, nullptr);
}

void CStyleSheet::SetData(GEOVIEW gv, CSymbolLibIO* pLib, int bShowSize, UINT nWidth, UINT nHeight) {
    m_GeoView = gv;
    m_pSymbolLib = pLib;
    m_bShowSize = bShowSize;
    m_nAnnoWidth = nWidth;
    m_nAnnoHeight = nHeight;
}

void CStyleSheet::GetAnnoSize(UINT& nWidth, UINT& nHeight) const {
    nWidth = m_nAnnoWidth;
    nHeight = m_nAnnoHeight;
}

BOOL CStyleSheet::OnInitDialog() {
    // The pages load before their windows exist, which the base creates.
    m_pagePoint.SetData(&m_GeoView, m_pSymbolLib);
    m_pageLine.SetData(&m_GeoView, m_pSymbolLib);
    m_pagePolygon.SetData(&m_GeoView, m_pSymbolLib);
    m_pageAnno.SetData(&m_GeoView, m_bShowSize, m_nAnnoWidth, m_nAnnoHeight);
    return CTPropertySheet::OnInitDialog();
}

LRESULT CStyleSheet::OnAnnoSizeChanged(WPARAM wParam, LPARAM lParam) {
    m_nAnnoWidth = static_cast<UINT>(wParam);
    m_nAnnoHeight = static_cast<UINT>(lParam);
    return 0;
}
