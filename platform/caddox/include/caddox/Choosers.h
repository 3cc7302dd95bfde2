// Caddox choosers: the modal dialogs a click on a picker opens (Pickers.h), in which a person picks a
// colour, a line width or a point marker.
//
//   CColourChooser     "颜色"  a palette of 48 colours (8 x 6) and a custom colour typed as red, green
//                               and blue (0..255 each), with a sample of the colour chosen;
//   CLineWidthChooser  "线宽"  the widths of kLineWidths drawn as lines, one a row, and any other width
//                               (a number >= 0, in the picker's unit) typed below them;
//   CMarkerChooser     "点形"  the CADDOX_MARKER_COUNT markers drawn as DrawPoint draws them (4 x 2).
//
// A click on a cell of the grid selects it (its value goes into the fields below), a double click, or
// Enter, takes it; the arrow keys move the selection. OK takes the value the fields hold: a field that
// does not hold a valid value is reported in a message box and the chooser stays open. The value is
// read after DoModal returned IDOK (GetColour, GetWidth, GetMarker); Cancel and Escape leave it as given.
#pragma once

#include <functional>

#include <afx/afx.h>
#include <afx/Dialog.h>

// Template ids of the choosers, and their controls.
#define CADDOX_IDD_COLOUR_CHOOSER 30601
#define CADDOX_IDD_WIDTH_CHOOSER 30602
#define CADDOX_IDD_MARKER_CHOOSER 30603
#define CADDOX_IDC_CHOOSER_GRID 1001
#define CADDOX_IDC_CHOOSER_RED 1002    // colour: red; width: the width typed
#define CADDOX_IDC_CHOOSER_GREEN 1003
#define CADDOX_IDC_CHOOSER_BLUE 1004
#define CADDOX_IDC_CHOOSER_SAMPLE 1005
#define CADDOX_IDC_CHOOSER_WIDTH CADDOX_IDC_CHOOSER_RED

// Notification codes of the grid, in WM_COMMAND to its parent.
#define CGN_SELCHANGE 1
#define CGN_DBLCLK 2

// A grid of cells that paints itself, subclassing a static of a chooser's template. Cells are numbered
// row by row; the selection is one cell or none (-1).
class CChooserGrid : public CWnd {
    DECLARE_DYNAMIC(CChooserGrid)
public:
    typedef std::function<void(CDC* pDC, int nCell, const CRect& rcCell)> DrawFn;

    // count cells in cols columns; draw paints one cell's inside (the grid draws frames and selection).
    // A grid that is not selectable only shows its cells (a sample): clicks and keys do nothing.
    void Setup(int nCount, int nCols, DrawFn draw, bool bSelectable = true);
    int GetCount() const { return m_nCount; }
    int GetCurSel() const { return m_nSel; }
    // Selects a cell (-1: none) without a notification.
    void SetCurSel(int nCell);
    // The cell's rectangle in client pixels (empty for no such cell); the cell at a client point, or -1.
    CRect GetCellRect(int nCell) const;
    int HitTest(CPoint pt) const;

protected:
    void OnPaint();
    void OnLButtonDown(UINT nFlags, CPoint pt);
    void OnLButtonDblClk(UINT nFlags, CPoint pt);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    UINT OnGetDlgCode();
    void OnSetFocus(CWnd* pOld);
    void OnKillFocus(CWnd* pNew);
    void Select(int nCell, UINT code);
    DECLARE_MESSAGE_MAP()

private:
    int m_nCount = 0;
    int m_nCols = 1;
    int m_nSel = -1;
    bool m_bSelectable = true;
    DrawFn m_draw;
};

class CColourChooser : public CDialog {
    DECLARE_DYNAMIC(CColourChooser)
public:
    explicit CColourChooser(COLORREF crInitial, CWnd* pParent = nullptr);
    COLORREF GetColour() const { return m_crColour; }
    // The palette, row by row; the index of a colour in it, or -1.
    static const COLORREF* Palette();
    static int PaletteIndex(COLORREF cr);
    enum { kPaletteSize = 48, kPaletteCols = 8 };

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    // The colour the three fields hold; FALSE when one is not a number 0..255.
    BOOL ReadFields(COLORREF& cr) const;
    void ShowFields(COLORREF cr);
    CChooserGrid m_grid;
    CChooserGrid m_sample;
    COLORREF m_crColour;
    COLORREF m_crSample;
    bool m_bFilling = false;
};

class CLineWidthChooser : public CDialog {
    DECLARE_DYNAMIC(CLineWidthChooser)
public:
    explicit CLineWidthChooser(float fInitial, CWnd* pParent = nullptr);
    float GetWidth() const { return m_fWidth; }
    // The widths offered as rows; the row of a width, or -1.
    static const float* Widths();
    static int WidthIndex(float fWidth);
    enum { kWidthCount = 10 };

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    CChooserGrid m_grid;
    float m_fWidth;
    bool m_bFilling = false;
};

class CMarkerChooser : public CDialog {
    DECLARE_DYNAMIC(CMarkerChooser)
public:
    explicit CMarkerChooser(int nInitial, CWnd* pParent = nullptr);
    int GetMarker() const { return m_nMarker; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    CChooserGrid m_grid;
    int m_nMarker;
};

// The width a picker face and a chooser row draw for a width: rounded, at least 1 pixel, at most max.
int CaddoxWidthPixels(float fWidth, int nMax);
