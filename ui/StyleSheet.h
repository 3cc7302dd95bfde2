// CStyleSheet: the display-style sheet "显示风格设置", a tree sheet with the point, line, fill and
// annotation style pages at its top level in that order, so that the page index shown first equals
// the kind of StylePageMessages.h.
//
// Use: construct, SetData (the style is copied), DoModal (1 after OK, 2 after Cancel), then GetGeoView
// and GetAnnoSize. The pages write their parts into the sheet's copy only when applied (on OK), so a
// cancelled sheet returns the style it was given.
#pragma once

#include "core/GeoView.h"
#include "ui/PropageStyleAnno.h"
#include "ui/PropageStyleLine.h"
#include "ui/PropageStylePoint.h"
#include "ui/PropageStylePolygon.h"

#include <afx/afx.h>
#include <caddox/TPropertySheet.h>

class CSymbolLibIO;

class CStyleSheet : public CTPropertySheet {
    DECLARE_DYNAMIC(CStyleSheet)
public:
    explicit CStyleSheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    explicit CStyleSheet(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    ~CStyleSheet() override = default;

    // gv: the style to edit (copied); pLib: the symbol library of the point, line and fill pages (not
    // owned, NULL for none); bShowSize, nWidth, nHeight: whether the annotation page shows the character
    // size, and that size in 0.1 mm. Call before DoModal.
    void SetData(GEOVIEW gv, CSymbolLibIO* pLib, int bShowSize, UINT nWidth, UINT nHeight);
    GEOVIEW GetGeoView() const { return m_GeoView; }
    // The character size, as given or as applied by the annotation page while it shows the size.
    void GetAnnoSize(UINT& nWidth, UINT& nHeight) const;

protected:
    void Init();
    BOOL OnInitDialog() override;
    LRESULT OnAnnoSizeChanged(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

public:
    CPropageStylePoint m_pagePoint;
    CPropageStyleLine m_pageLine;
    CPropageStylePolygon m_pagePolygon;
    CPropageStyleAnno m_pageAnno;
    GEOVIEW m_GeoView;
    CSymbolLibIO* m_pSymbolLib = nullptr;
    int m_bShowSize = 0;
    UINT m_nAnnoWidth = 0;
    UINT m_nAnnoHeight = 0;
};
