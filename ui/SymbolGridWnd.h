// CSymbolGridWnd: the symbols of one kind of an open library as a scrolling grid of cells with a hover
// frame and press-and-release selection; and CSymbolSelectDlg (template 2018), which hosts the grid
// with the library's description, the chosen number and name, and a number field for finding a symbol.
//
// The grid's cells hold the symbols of its kind (0 point, 1 line, 2 fill, 3 custom symbols) in
// increasing number, with one empty cell more at the end. In single mode (SetSingleMode(TRUE)) the one
// symbol SetSingleSymbol names fills the window; while a single symbol is set the grid ignores hover and
// clicks. It tells its parent (SendMessage) with the address of a tagSGW_NOTIFY in lParam and the kind
// in wParam:
//     WM_SGW_HOVER  (WM_USER+101) the mouse entered another valid cell
//     WM_SGW_CHOSEN (WM_USER+102) a cell was pressed and released inside the same cell
// The record is valid only during the call. The library is not owned.
#pragma once

#include <afx/afx.h>
#include <afx/Dialog.h>
#include <afx/StdCtrls.h>
#include <afx/Wnd.h>

#include <vector>

class CSymbolLibIO;

#define WM_SGW_HOVER (WM_USER + 101)
#define WM_SGW_CHOSEN (WM_USER + 102)

struct tagSGW_NOTIFY {
    int nKind;
    int nIndex;     // the cell
    LONG lSymbol;   // its symbol number, 0 for the empty cell
    int nReserved;  // 0
};

class CSymbolGridWnd : public CWnd {
    DECLARE_DYNAMIC(CSymbolGridWnd)
public:
    CSymbolGridWnd(int nKind = 0, CSymbolLibIO* pLib = nullptr, LONG lSingleSymbol = 0);

    // Creates the child window (WS_CHILD is added to dwStyle) with a static edge over rect (pixels of
    // pParent) and lays the grid out when pLib is given. FALSE when creation fails.
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParent, CSymbolLibIO* pLib, UINT nID);

    // Each setter repaints the window when it exists.
    void SetKind(int nKind);
    void SetSymbolLib(CSymbolLibIO* pLib);
    // Also scrolls back to the first row.
    void SetSingleSymbol(LONG lSymbol);
    // TRUE shows one symbol, FALSE the grid.
    void SetSingleMode(BOOL bSingle);

    // Selects and scrolls to the first cell whose number, written in decimal, begins with lSymbol
    // written the same way: 1 when found, else 0 (always 0 in single mode or without a library).
    int Locate(LONG lSymbol);
    // The number of the selected cell; 0 when none is selected or it is the empty cell.
    LONG GetSelectedSymbol() const;

    // For hosts and tests.
    int GetCellCount() const { return m_nCount; }
    int GetColumnCount() const { return m_nCols; }
    int GetRowCount() const { return m_nRows; }
    int GetCellWidth() const { return m_nCellWidth; }
    int GetCellHeight() const { return m_nCellHeight; }
    int GetLeftMargin() const { return m_nLeftMargin; }
    int GetSelected() const { return m_nSelected; }
    int GetTopRow() const { return m_nTopRow; }
    // The cell under pt (client pixels), -1 for none.
    int HitTest(POINT pt) const;
    // Client rectangle of cell nIndex (with the scroll position), grown by 1 on every side.
    CRect GetCellRect(int nIndex) const;
    // Counts the cells and lays them out for the current client width.
    void Layout();

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    DECLARE_MESSAGE_MAP()

    int m_nKind;
    COLORREF m_crBack;
    BYTE m_bGrid = 1;
    int m_nCellWidth = 0;
    int m_nCellHeight = 0;
    int m_nTopMargin = 0;
    int m_nLeftMargin = 0;
    int m_nSelected = -1;
    LONG m_nSingleSymbol;
    int m_nCount = 0;
    CSymbolLibIO* m_pSymbolLib;
    int m_nCols = 1;
    int m_nRows = 0;
    int m_nHover = -1;
    int m_nTopRow = 0;
    POINT m_ptLastClick = {0, 0};

private:
    BOOL IsOfKind(LONG lSymbol) const;
    LONG CellSymbol(int nIndex) const;
    void Notify(UINT message, int nIndex);
    // Frames cell nIndex raised (bPressed FALSE) or sunken; nIndex -1 or a state already shown draws
    // nothing. EraseFrame draws over the last frame in the background colour.
    void DrawFrame(int nIndex, BOOL bPressed);
    void EraseFrame();

    std::vector<LONG> m_cells;  // the kind's symbol numbers, increasing
    int m_nFramed = -1;
    BOOL m_bFramedPressed = FALSE;
};

class CSymbolSelectDlg : public CDialog {
    DECLARE_DYNAMIC(CSymbolSelectDlg)
public:
    enum { IDD = 2018 };

    CSymbolSelectDlg(CSymbolLibIO* pLib, int nKind, LONG lSymbol, CWnd* pParent = nullptr);

    CSymbolGridWnd m_wndGrid;
    CEdit m_edtCode;
    LONG m_nSymbol;
    CString m_strSymbolName;
    CString m_strLibDescribe;
    CSymbolLibIO* m_pSymbolLib;
    int m_nKind;
    LONG m_nInitSymbol;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnCodeChanged();
    LRESULT OnGridHover(WPARAM wParam, LPARAM lParam);
    LRESULT OnGridChosen(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
