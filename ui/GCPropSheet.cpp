#include "ui/GCPropSheet.h"

#include "core/FlagInfo.h"
#include "ui/StylePageGroup.h"

IMPLEMENT_DYNAMIC(CGCPropSheet, CTPropertySheet)

BEGIN_MESSAGE_MAP(CGCPropSheet, CTPropertySheet)
    ON_MESSAGE(WM_FIELDINFO_CHANGED, OnFieldInfoChanged)
    ON_MESSAGE(WM_GCNORMAL_CHANGED, OnGCNormalChanged)
    ON_MESSAGE(WM_GEOVIEW_CHANGED, OnGeoViewChanged)
    ON_MESSAGE(WM_GEOVIEW_CHANGING, OnGeoViewChanging)
    ON_MESSAGE(WM_ANNOSIZE_CHANGED, OnAnnoSizeChanged)
    ON_MESSAGE(WM_GCTYPE_CHANGED, OnGCTypeChanged)
END_MESSAGE_MAP()

CGCPropSheet::CGCPropSheet(UINT nIDCaption, CObList* pOtherClasses, CGeoGClass* pGClass, CSymbolLibIO* pLib,
                           int bViewOnly, CWnd* pParentWnd, UINT iSelectPage)
    : CTPropertySheet(nIDCaption, pParentWnd, iSelectPage), m_bViewOnly(bViewOnly), m_pOtherClasses(pOtherClasses) {
    InitSheet(pGClass, pLib);
}

CGCPropSheet::CGCPropSheet(LPCTSTR pszCaption, CObList* pOtherClasses, CGeoGClass* pGClass, CSymbolLibIO* pLib,
                           int bViewOnly, CWnd* pParentWnd, UINT iSelectPage)
    : CTPropertySheet(pszCaption, pParentWnd, iSelectPage), m_bViewOnly(bViewOnly), m_pOtherClasses(pOtherClasses) {
    InitSheet(pGClass, pLib);
}

void CGCPropSheet::InitSheet(CGeoGClass* pGClass, CSymbolLibIO* pLib) {
    if (pGClass)
        m_GClass = *pGClass;
    else
        m_GClass.SetType(GCT_LINE | GCT_LINE_DIRECTED);
    m_GeoView = m_GClass.GetGeoView();
    AddPage(&m_NormalPage);
    UINT width = 50, height = 50;
    const int show = m_GClass.GetFontSize(width, height);
    AddStylePages(*this, m_StylePage, m_PointPage, m_LinePage, m_PolygonPage, m_AnnoPage, &m_GeoView, pLib, m_bViewOnly,
                  show, width, height);
    AddPage(&m_FieldPage);
    m_NormalPage.SetData(&m_GClass, m_pOtherClasses, m_bViewOnly);
    CPtrList fields;
    CDaoFieldInfo info;
    for (int i = 0; i < m_GClass.GetFieldCount(); ++i)
        if (m_GClass.GetFieldInfo(i, info)) fields.AddTail(new CDaoFieldInfo(info));
    m_FieldPage.SetData(&fields, &m_GClass.m_FlagInfoList, m_bViewOnly);
    ClearFieldInfoList(&fields);
}

void CGCPropSheet::SetUsedCodes(CUIntArray* pCodes, UINT nOwnCode) {
    m_NormalPage.m_pUsedCodes = pCodes;
    m_NormalPage.m_nOwnCode = nOwnCode;
}

LRESULT CGCPropSheet::OnFieldInfoChanged(WPARAM wParam, LPARAM lParam) {
    (void)wParam;
    m_bModified = 1;
    auto* pData = reinterpret_cast<tagFieldPageData*>(lParam);
    if (!pData) return 0;
    if (pData->pFlagInfoList) CopyFlagInfoList(&m_GClass.m_FlagInfoList, pData->pFlagInfoList);
    m_GClass.DeleteAllFields();
    if (pData->pFieldList)
        for (POSITION p = pData->pFieldList->GetHeadPosition(); p;)
            if (auto* f = static_cast<CDaoFieldInfo*>(pData->pFieldList->GetNext(p))) m_GClass.AddField(*f, -2);
    return 0;
}

LRESULT CGCPropSheet::OnGCNormalChanged(WPARAM wParam, LPARAM lParam) {
    (void)wParam;
    m_bModified = 1;
    if (auto* pClass = reinterpret_cast<CGeoGClass*>(lParam)) {
        UINT width = 50, height = 50;
        const int show = pClass->GetFontSize(width, height);
        m_AnnoPage.SetShowSize(show, &width, &height);
    }
    return 0;
}

LRESULT CGCPropSheet::OnGeoViewChanged(WPARAM wParam, LPARAM lParam) {
    (void)wParam;
    (void)lParam;
    m_bModified = 1;
    m_GClass.SetGeoView(m_GeoView);
    return 0;
}

LRESULT CGCPropSheet::OnGeoViewChanging(WPARAM wParam, LPARAM lParam) {
    if (auto* pView = reinterpret_cast<GEOVIEW*>(lParam)) m_StylePage.UpdatePart(*pView, static_cast<int>(wParam));
    return 0;
}

LRESULT CGCPropSheet::OnAnnoSizeChanged(WPARAM wParam, LPARAM lParam) {
    m_bModified = 1;
    m_GClass.SetFontSize(static_cast<UINT>(wParam), static_cast<UINT>(lParam));
    return 0;
}

LRESULT CGCPropSheet::OnGCTypeChanged(WPARAM wParam, LPARAM lParam) {
    m_bModified = 1;
    if (wParam & GCT_ANNO) m_AnnoPage.SetShowSize(static_cast<int>(lParam), nullptr, nullptr);
    return 0;
}

int RunGClassSheet(CObList* pOthers, CGeoGClass* pClass, CSymbolLibIO* pLib, int bViewOnly, CGeoGClass* pEdited) {
    CGCPropSheet sheet("地物属性", pOthers, pClass, pLib, bViewOnly, nullptr, 0);
    sheet.DoModal();
    if (!sheet.GetModifiedFlag()) return 0;
    if (pEdited) *pEdited = sheet.GetEditedGClass();
    return 1;
}
