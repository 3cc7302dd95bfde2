#include "ui/VectorObjectPropSheetEx.h"

#include "core/PropertyParam.h"
#include "ui/StylePageMessages.h"
#include "vector/GeoCloseLine.h"
#include "vector/GeoLabelPoint.h"
#include "vector/GeoPoint.h"
#include "vector/GeoPolygon.h"
#include "vector/GeoPolygonLine.h"
#include "vector/GeoSPLine.h"
#include "vector/GeoTriPointCircle.h"

IMPLEMENT_DYNAMIC(CVectorObjectPropSheetEx, CTPropertySheet)

BEGIN_MESSAGE_MAP(CVectorObjectPropSheetEx, CTPropertySheet)
    ON_MESSAGE(WM_GEOVIEW_CHANGING, OnGeoViewChanging)
END_MESSAGE_MAP()

CVectorObjectPropSheetEx::CVectorObjectPropSheetEx(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CTPropertySheet(nIDCaption, pParentWnd, iSelectPage) {
    InitSheet();
}

CVectorObjectPropSheetEx::CVectorObjectPropSheetEx(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CTPropertySheet(pszCaption, pParentWnd, iSelectPage) {
    InitSheet();
}

CVectorObjectPropSheetEx::~CVectorObjectPropSheetEx() = default;

void CVectorObjectPropSheetEx::InitSheet() {
    AddPage(&m_pageNormal);
    AddPage(&m_pageStyle);
    AddPage(&m_pagePoint, nullptr, 0, 0, &m_pageStyle);
    AddPage(&m_pageLine, nullptr, 0, 0, &m_pageStyle);
    AddPage(&m_pagePolygon, nullptr, 0, 0, &m_pageStyle);
    AddPage(&m_pageAnno, nullptr, 0, 0, &m_pageStyle);
}

LRESULT CVectorObjectPropSheetEx::OnGeoViewChanging(WPARAM wParam, LPARAM lParam) {
    if (auto* pView = reinterpret_cast<GEOVIEW*>(lParam)) m_pageStyle.UpdatePart(*pView, static_cast<int>(wParam));
    return 0;
}

namespace {

// The object as the class named, NULL when it is not one.
#define AS(T, p) ((p) && (p)->IsKindOf(RUNTIME_CLASS(T)) ? static_cast<T*>(p) : nullptr)

}  // namespace

int RunVectorObjectSheet(CGeoVectorObject* pObject, int bViewOnly, tagPropertyParam* pParam) {
    if (!pObject) return 0;
    CSymbolLibIO* pLib = pParam ? pParam->m_pSymbolLib : nullptr;
    CVectorObjectPropSheetEx sheet("矢量对象属性", nullptr, 0);
    // A topological polygon is drawn and classed through its label point, when it has one.
    CGeoPolygon* pPolygon = AS(CGeoPolygon, pObject);
    CGeoVectorObject* pLabel = pPolygon ? pPolygon->GetLabelPoint() : nullptr;
    sheet.m_GeoView = (pLabel ? pLabel : pObject)->GetGeoView();
    sheet.m_pageStyle.SetData(sheet.m_GeoView, pLib, 1);
    sheet.m_pagePoint.SetData(&sheet.m_GeoView, pLib);
    sheet.m_pagePoint.SetViewOnly(bViewOnly);
    sheet.m_pageLine.SetData(&sheet.m_GeoView, pLib);
    sheet.m_pageLine.SetViewOnly(bViewOnly);
    sheet.m_pagePolygon.SetData(&sheet.m_GeoView, pLib);
    sheet.m_pagePolygon.SetViewOnly(bViewOnly);
    sheet.m_pageAnno.SetData(&sheet.m_GeoView, 0, 50, 50);
    sheet.m_pageAnno.SetViewOnly(bViewOnly);
    CVectorNormalPropPage& page = sheet.m_pageNormal;
    page.m_bEditable = !bViewOnly;
    page.SetObject(pObject);
    pObject->OnAddPropertyPage(&sheet, pParam, bViewOnly);
    if (sheet.DoModal() != IDOK) {
        pObject->OnPropertyPageCancel();
        return 0;
    }

    // A view-only sheet (an object of a layer that cannot be edited) changes nothing, even by the
    // rules that reset a value.
    if (bViewOnly) {
        pObject->OnPropertyPageOK();
        return 1;
    }
    if (page.m_pObject) page.m_pObject->SetObjectClassID(page.m_nClassCode);
    pObject->SetObjectName(page.m_strName);
    if (page.m_bClosed) {
        if (auto* c = AS(CGeoCloseLine, pObject))
            c->SetFace(page.m_bFace);
        else if (auto* t = AS(CGeoTriPointCircle, pObject))
            t->SetFace(page.m_bFace);
        else if (auto* l = AS(CGeoPolygonLine, pObject))
            l->SetFace(page.m_bFace);
    }
    if (page.m_bSpline && page.m_nInterpPoints > 0)
        if (auto* s = AS(CGeoSPLine, pObject)) s->SetSplineIntpPoints(page.m_nInterpPoints);
    // The page shows single-precision figures: a value the person did not touch keeps the object's own,
    // more precise one.
    if (page.m_bHasElevation && page.m_bElevationEdited) pObject->SetZ(page.m_fElevation);
    if (auto* p = AS(CGeoPoint, pObject)) {
        if (!page.m_bDirected)
            p->SetDirect(0.0);
        else if (page.m_bAngleEdited)
            p->SetDirect(page.m_fAngle);
    }
    if (pLabel) pLabel->SetGeoView(sheet.m_GeoView);
    pObject->SetGeoView(sheet.m_GeoView);
    pObject->OnPropertyPageOK();
    return 1;
}
