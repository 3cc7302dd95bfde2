// CPropageStylePolygon: the page "面风格" (template 2038) that edits the fill part of a display style:
// fill colour, fill shape (the fill-type list 1090: 0 solid, 1..6 hatches), transparent flag (check
// 1046) and fill symbol.
//
// It behaves as the point page (PropageStylePoint.h, StylePage.h): kind STYLEPAGE_FILL, a browser of
// fill symbols with a library.
#pragma once

#include "ui/StylePage.h"

class CPropageStylePolygon : public CSymbolStylePage {
    DECLARE_DYNCREATE(CPropageStylePolygon)
public:
    enum { IDD = 2038 };

    CPropageStylePolygon();

    // Stores fill shape, colour, transparent flag and the fill symbol into *pGeoView.
    void GetData(GEOVIEW* pGeoView);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    int StorePart(GEOVIEW* pGeoView) override {
        GetData(pGeoView);
        return 1;
    }
    void LoadFrom(const GEOVIEW& gv) override;
    void OnLoaded() override;
    void OnTransparentClicked();
    void OnFillTypeSelected();
    LRESULT OnColourChanged(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

public:
    CFillTypeComboBox m_cmbFillType;
    CColourPicker m_btnColour;
    int m_bTransparent = 0;
    COLORREF m_crFill = 0;
    int m_nFillShape = 0;
};
