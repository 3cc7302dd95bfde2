// CPropageStylePoint: the page "点风格" (template 2036) that edits the point part of a display style:
// point shape (a marker number), point colour, point size and point symbol.
//
// SetData hands the page the style it edits and loads the page from it; the style is written only by
// Apply, which stores the page's part (the other parts stay as they are) and then sends
// WM_GEOVIEW_CHANGED to the parent. Every edit the person makes sends WM_GEOVIEW_CHANGING with the
// point part in a scratch style, so the parent can refresh its previews (StylePageMessages.h, kind
// STYLEPAGE_POINT). With a symbol library the page shows a symbol browser (point symbols only) over
// the hidden frame 1041; clicking a symbol shows it in the preview and in the edits 1050 (number) and
// 1051 (name). Without a library the symbol number loaded is shown and stored back unchanged.
// "恢复" (1042) reloads the page from the style without telling anyone.
#pragma once

#include "ui/SymbolLibBrowser.h"

#include <afx/afx.h>
#include <afx/PropertySheet.h>
#include <caddox/Pickers.h>

class CSymbolLibIO;
class GEOVIEW;

class CPropageStylePoint : public CPropertyPage {
    DECLARE_DYNCREATE(CPropageStylePoint)
public:
    enum { IDD = 2036 };

    CPropageStylePoint();

    // pGeoView (not owned) must outlive the page's use; pLib (not owned) may be NULL. Call before the
    // page's window exists.
    void SetData(GEOVIEW* pGeoView, CSymbolLibIO* pLib);
    // Nonzero: the page shows the style but its edits notify nobody and Apply writes nothing.
    void SetViewOnly(int bViewOnly) { m_bViewOnly = bViewOnly; }
    // Stores the page's part into *pGeoView: shape, colour, size, and the point symbol (taken from the
    // browser first when there is a library and a browser).
    void GetData(GEOVIEW* pGeoView);

    // For hosts and tests that look inside.
    CSymbolLibBrowser& GetBrowser() { return m_wndBrowser; }
    CSymbolPreview& GetPreview() { return m_stcPreview; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnApply() override;

    void LoadFrom(const GEOVIEW& gv);
    void NotifyChanging();
    void ShowSymbolText(LONG lSymbol);
    void OnSizeChange();
    LRESULT OnColourChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnMarkerChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnSymbolSelected(WPARAM wParam, LPARAM lParam);
    void OnRestore();
    DECLARE_MESSAGE_MAP()

public:
    CSymbolPreview m_stcPreview;
    CSymbolLibIO* m_pSymbolLib = nullptr;
    CSymbolLibBrowser m_wndBrowser;
    GEOVIEW* m_pGeoView = nullptr;
    LONG m_nSymbol = 0;
    int m_nPointShape = 0;
    COLORREF m_crPoint = 0;
    UINT m_nPointSize = 0;
    CColourPicker m_btnColour;
    CNonSymbPntPicker m_btnMarker;
    int m_bViewOnly = 0;
};
