// CPropageStyleLine: the page "线风格" (template 2037) that edits the line part of a display style:
// line shape, line colour, line width and line symbol.
//
// The page keeps of the line shape only what a geometric pen of more than one pixel uses: its end cap
// (radios 1052..1054) and its corner join (radios 1055..1057), each a choice 0, 1 or 2:
//     choice   end cap                      join
//     0        0x200 flat (PS_ENDCAP_FLAT)   0x2000 mitre (PS_JOIN_MITER)
//     1        0 round (PS_ENDCAP_ROUND)     0 round (PS_JOIN_ROUND)
//     2        0x100 square (PS_ENDCAP_SQUARE) 0x1000 bevel (PS_JOIN_BEVEL)
// Loading tests the flat and mitre bits first (so 0x300 loads as flat ends), storing writes the two
// choices' bits alone (a choice outside 0..2 adds nothing; the pen's style bits are not kept).
// Otherwise the page behaves as the point page (PropageStylePoint.h, StylePage.h): kind STYLEPAGE_LINE,
// a browser of line symbols with a library.
#pragma once

#include "ui/StylePage.h"

class CPropageStyleLine : public CSymbolStylePage {
    DECLARE_DYNCREATE(CPropageStyleLine)
public:
    enum { IDD = 2037 };

    CPropageStyleLine();

    // Stores shape (from the two choices), colour, width and the line symbol into *pGeoView.
    void GetData(GEOVIEW* pGeoView);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    int StorePart(GEOVIEW* pGeoView) override {
        GetData(pGeoView);
        return 1;
    }
    void LoadFrom(const GEOVIEW& gv) override;
    void OnLoaded() override;
    void OnChoiceClicked(UINT nID);
    void OnLineTypeSelected();
    LRESULT OnPickerChanged(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

public:
    CColourPicker m_btnColour;
    CLineWidthPicker m_btnWidth;
    CLineStyleBox m_cmbLineType;
    int m_nEndCap = -1;
    int m_nJoin = -1;
    float m_fLineWidth = 0.0f;
    COLORREF m_crLine = 0;
    int m_nLineShape = 0;
};
