// CPropageStylePolygon: the page "面风格" (template 2038) that edits the fill part of a display style:
// fill colour, fill shape (the fill-type list 1090: 0 solid, 1..6 hatches), transparent flag (check
// 1046) and fill symbol.
//
// It behaves as the point page (PropageStylePoint.h): SetData, view-only, Apply writing only this
// part and sending WM_GEOVIEW_CHANGED, WM_GEOVIEW_CHANGING on every edit (kind STYLEPAGE_FILL), a
// browser of fill symbols with a library, and "恢复".
#pragma once

#include "ui/SymbolLibBrowser.h"

#include <afx/afx.h>
#include <afx/PropertySheet.h>
#include <caddox/Pickers.h>

class CSymbolLibIO;
class GEOVIEW;

class CPropageStylePolygon : public CPropertyPage {
    DECLARE_DYNCREATE(CPropageStylePolygon)
public:
    enum { IDD = 2038 };

    CPropageStylePolygon();

    void SetData(GEOVIEW* pGeoView, CSymbolLibIO* pLib);
    void SetViewOnly(int bViewOnly) { m_bViewOnly = bViewOnly; }
    // Stores fill shape, colour, transparent flag and the fill symbol into *pGeoView.
    void GetData(GEOVIEW* pGeoView);

    CSymbolLibBrowser& GetBrowser() { return m_wndBrowser; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnApply() override;

    void LoadFrom(const GEOVIEW& gv);
    void NotifyChanging();
    void ShowSymbolText(LONG lSymbol);
    void OnTransparentClicked();
    void OnFillTypeSelected();
    LRESULT OnColourChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnSymbolSelected(WPARAM wParam, LPARAM lParam);
    void OnRestore();
    DECLARE_MESSAGE_MAP()

public:
    CSymbolPreview m_stcPreview;
    CFillTypeComboBox m_cmbFillType;
    CColourPicker m_btnColour;
    CSymbolLibIO* m_pSymbolLib = nullptr;
    CSymbolLibBrowser m_wndBrowser;
    GEOVIEW* m_pGeoView = nullptr;
    LONG m_nSymbol = 0;
    int m_bViewOnly = 0;
    int m_bTransparent = 0;
    COLORREF m_crFill = 0;
    int m_nFillShape = 0;
};
