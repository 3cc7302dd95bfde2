// CPropageStyleAnno: the page "文字风格" (template 2039) that edits the annotation part of a display
// style: face, annotation colour, lettering flags and halo (buffer) width, and optionally shows the
// character width and height of a feature class.
//
// Lettering flags (GEOVIEW text flags): 0x04 bold (1478), 0x10 underline (1475), 0x20 strike line
// (1476), 0x40 emphasis marks (1477), 0x80 transparent background (1046); shoulder-raised 0x08 with the
// direction bit 0x100 clear for left (1041) and set for right (1048); slanted 0x02 with 0x200 clear for
// left (1481) and set for right (1482). The four styles exclude one another: ticking one clears the
// other three. Storing goes through the GEOVIEW setters with shoulder before slant, so a style loaded
// with both keeps only the slant when stored.
//
// SetData hands the page its style (and whether to show the size); Apply stores the part, sends
// WM_GEOVIEW_CHANGED (kind STYLEPAGE_ANNO) and, while the size is shown, WM_ANNOSIZE_CHANGED with the
// width and height. Apply is refused (FALSE, nothing written) while the face list has no selection or
// a number on the page is not valid. Every edit sends WM_GEOVIEW_CHANGING and redraws the sample "中文
// 字样" in the static 1134 (the halo width 1480 only notifies). A view-only page notifies nobody and
// writes nothing.
#pragma once

#include "ui/StylePage.h"

#include <afx/StdCtrls.h>

class CDC;

class CPropageStyleAnno : public CStylePage {
    DECLARE_DYNCREATE(CPropageStyleAnno)
public:
    enum { IDD = 2039 };

    CPropageStyleAnno();

    // pGeoView (not owned) must outlive the page's use. bShowSize: show the character size controls;
    // nWidth, nHeight: the size shown, in 0.1 mm. Call before the page's window exists.
    void SetData(GEOVIEW* pGeoView, int bShowSize, UINT nWidth, UINT nHeight);
    // Stores the flag; when it is nonzero, takes the width and the height from whichever pointer is not
    // NULL (an open page puts them into its size edits at once). An open page shows or hides the size
    // controls when it is next activated.
    void SetShowSize(int bShow, UINT* pWidth, UINT* pHeight);
    // Stores the page's part into *pGeoView with the face selected in the face list: 1; 0 and nothing
    // stored when the list has no selection.
    int GetData(GEOVIEW* pGeoView);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;

    void LoadFrom(const GEOVIEW& gv);
    // The page's part stored into *pGeoView with the given face.
    void StoreInto(GEOVIEW* pGeoView, const CString& strFace);
    int StorePart(GEOVIEW* pGeoView) override { return GetData(pGeoView); }
    // Sends WM_ANNOSIZE_CHANGED while the size is shown.
    void AfterApplied(CWnd* pParent) override;
    void ShowSizeControls();
    // Repaints the sample static at once and draws the sample on it.
    void DrawSample();
    // Draws the sample on pDC, a device context over the sample static's client area.
    void PaintSample(CDC* pDC);

    void OnPaint();
    void OnFlagClicked();
    void OnStyleClicked(UINT nID);
    void OnSizeChange();
    void OnBufferChange();
    void OnFaceSelected();
    LRESULT OnColourChanged(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

public:
    CComboBox m_cmbFace;
    CColourPicker m_btnColour;
    int m_bTransparent = 1;
    int m_bBold = 0;
    int m_nBufferWidth = 0;
    int m_bUnderline = 0;
    int m_bStrike = 0;
    int m_bEmphasis = 0;
    CStatic m_stcSample;
    int m_bLeftSlant = 0;
    int m_bRightSlant = 0;
    UINT m_nCharWidth = 50;
    UINT m_nCharHeight = 50;
    int m_bLeftShoulder = 0;
    int m_bRightShoulder = 0;
    CString m_strFace;
    COLORREF m_crText = 0;
    int m_bShowSize = 0;
};
