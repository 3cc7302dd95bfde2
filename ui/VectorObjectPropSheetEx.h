// CVectorObjectPropSheetEx: the vector-object property sheet, a tree sheet with the general page
// "常规", the display-style page "显示风格" and under it the point, line, fill and annotation style
// pages. An object kind adds pages of its own through CGeoVectorObject::OnAddPropertyPage before the
// sheet runs (the sheet does not own them).
//
// RunVectorObjectSheet is the whole of CGeoVectorObject::NewEditProperties: it fills the pages from the
// object, runs the sheet and writes the confirmed edits back (see core/GeoVectorObject.h for the order).
#pragma once

#include <afx/afx.h>
#include <caddox/TPropertySheet.h>

#include "core/GeoView.h"
#include "ui/PropageStyleAnno.h"
#include "ui/PropageStyleLine.h"
#include "ui/PropageStylePoint.h"
#include "ui/PropageStylePolygon.h"
#include "ui/SDStylePage.h"
#include "ui/VectorNormalPropPage.h"

class CGeoVectorObject;
struct tagPropertyParam;

class CVectorObjectPropSheetEx : public CTPropertySheet {
    DECLARE_DYNAMIC(CVectorObjectPropSheetEx)
public:
    explicit CVectorObjectPropSheetEx(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    explicit CVectorObjectPropSheetEx(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    ~CVectorObjectPropSheetEx() override;

    CVectorNormalPropPage m_pageNormal;
    CSDStylePage m_pageStyle;
    CPropageStylePoint m_pagePoint;
    CPropageStyleLine m_pageLine;
    CPropageStylePolygon m_pagePolygon;
    CPropageStyleAnno m_pageAnno;
    // The style the four style pages edit (they write their parts into it when applied).
    GEOVIEW m_GeoView;

protected:
    // Keeps the display-style page's previews in step with the style pages.
    LRESULT OnGeoViewChanging(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void InitSheet();
};

// The core's object-sheet hook (core/DialogHooks.h).
int RunVectorObjectSheet(CGeoVectorObject* pObject, int bViewOnly, tagPropertyParam* pParam);
