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
// Otherwise the page behaves as the point page (PropageStylePoint.h): SetData, view-only, Apply writing
// only this part and sending WM_GEOVIEW_CHANGED, WM_GEOVIEW_CHANGING on every edit (kind
// STYLEPAGE_LINE), a browser of line symbols with a library, and "恢复".
#pragma once

#include "ui/SymbolLibBrowser.h"

#include <afx/afx.h>
#include <afx/PropertySheet.h>
#include <caddox/Pickers.h>

class CSymbolLibIO;
class GEOVIEW;

class CPropageStyleLine : public CPropertyPage {
    DECLARE_DYNCREATE(CPropageStyleLine)
public:
    enum { IDD = 2037 };

    CPropageStyleLine();

    void SetData(GEOVIEW* pGeoView, CSymbolLibIO* pLib);
    void SetViewOnly(int bViewOnly) { m_bViewOnly = bViewOnly; }
    // Stores shape (from the two choices), colour, width and the line symbol into *pGeoView.
    void GetData(GEOVIEW* pGeoView);

    CSymbolLibBrowser& GetBrowser() { return m_wndBrowser; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnApply() override;

    void LoadFrom(const GEOVIEW& gv);
    void NotifyChanging();
    void ShowSymbolText(LONG lSymbol);
    void OnChoiceClicked(UINT nID);
    void OnLineTypeSelected();
    LRESULT OnPickerChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnSymbolSelected(WPARAM wParam, LPARAM lParam);
    void OnRestore();
    DECLARE_MESSAGE_MAP()

public:
    CSymbolPreview m_stcPreview;
    CColourPicker m_btnColour;
    CLineWidthPicker m_btnWidth;
    CLineStyleBox m_cmbLineType;
    int m_nEndCap = -1;
    int m_nJoin = -1;
    CSymbolLibIO* m_pSymbolLib = nullptr;
    CSymbolLibBrowser m_wndBrowser;
    GEOVIEW* m_pGeoView = nullptr;
    LONG m_nSymbol = 0;
    int m_bViewOnly = 0;
    float m_fLineWidth = 0.0f;
    COLORREF m_crLine = 0;
    int m_nLineShape = 0;
};
