// CPropageStylePoint: the page "点风格" (template 2036) that edits the point part of a display style:
// point shape (a marker number), point colour, point size and point symbol.
//
// SetData hands the page the style it edits and loads the page from it; Apply stores the point part
// (the other parts stay as they are). Edits and Apply notify the parent as every style page does
// (StylePage.h, kind STYLEPAGE_POINT); the symbol browser lists point symbols only; "恢复" (1042)
// reloads the page from the style without telling anyone.
#pragma once

#include "ui/StylePage.h"

class CPropageStylePoint : public CSymbolStylePage {
    DECLARE_DYNCREATE(CPropageStylePoint)
public:
    enum { IDD = 2036 };

    CPropageStylePoint();

    // Stores the page's part into *pGeoView: shape, colour, size, and the point symbol (taken from the
    // browser first when there is a library and a browser).
    void GetData(GEOVIEW* pGeoView);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    int StorePart(GEOVIEW* pGeoView) override {
        GetData(pGeoView);
        return 1;
    }
    void LoadFrom(const GEOVIEW& gv) override;
    void OnSizeChange();
    LRESULT OnPickerChanged(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

public:
    int m_nPointShape = 0;
    COLORREF m_crPoint = 0;
    UINT m_nPointSize = 0;
    CColourPicker m_btnColour;
    CNonSymbPntPicker m_btnMarker;
};
