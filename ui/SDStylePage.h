// CSDStylePage: the display-style page "显示风格" (template 2020) that the layer, feature-class and
// vector-object sheets place above the four style pages. It shows a style in seven previews: point
// style and symbol (1118, 1119), fill style and symbol (1115, 1117), line style above its symbol
// (1114, 1116) and the annotation sample (1113). Its ">>" buttons open the display-style sheet at the
// point (1038), line (1039), fill (1040) or annotation (1041) page; after OK the page shows the style
// edited there and marks itself modified.
//
// The page keeps its own copy of the style; its sheet reads nothing back from it. A sheet passes each
// WM_GEOVIEW_CHANGING of its style pages to UpdatePart, so the previews follow the person's edits.
// OnApply and OnKillActive send 0x483 and 0x484 (wParam 7, lParam 0) to the parent before the base
// operation, for a parent outside the library that wants them; the library's sheets ignore them.
#pragma once

#include "core/GeoView.h"
#include "ui/GeoViewPreview.h"

#include <afx/afx.h>
#include <afx/PropertySheet.h>

class CSymbolLibIO;

#define WM_SDSTYLE_APPLY 0x483
#define WM_SDSTYLE_KILLACTIVE 0x484

class CSDStylePage : public CPropertyPage {
    DECLARE_DYNCREATE(CSDStylePage)
public:
    enum { IDD = 2020 };

    CSDStylePage();

    // Copies the style; pLib (not owned, NULL for none) draws the symbol previews; bNoStyleButtons
    // nonzero disables the four ">>" buttons, so the page only shows the style.
    void SetData(GEOVIEW gv, CSymbolLibIO* pLib, int bNoStyleButtons);
    // Copies part nKind (StylePageMessages.h) of gv into the page's style, refreshes the previews and
    // repaints the page.
    void UpdatePart(GEOVIEW gv, int nKind);
    GEOVIEW GetGeoView() const { return m_GeoView; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnApply() override;
    BOOL OnKillActive() override;

    void RefreshPreviews(GEOVIEW gv);
    void OpenStyleSheet(UINT nKind);
    void OnPaint();
    void OnPointStyle();
    void OnLineStyle();
    void OnFillStyle();
    void OnAnnoStyle();
    DECLARE_MESSAGE_MAP()

public:
    CGeoViewSymbolPreview m_stcPointSymbol;
    CGeoViewSymbolPreview m_stcFillSymbol;
    CGeoViewSymbolPreview m_stcLineSymbol;
    CGeoViewPreview m_stcPoint;
    CGeoViewPreview m_stcFill;
    CGeoViewPreview m_stcLine;
    CGeoViewPreview m_stcAnno;
    int m_bNoStyleButtons = 0;
    GEOVIEW m_GeoView;
    CSymbolLibIO* m_pSymbolLib = nullptr;
};
