// CSymbolLibBrowser: a self-drawn scrolling grid of the symbols of one open symbol library, and
// CSymbolPreview, a static that draws one symbol's legend in an etched frame captioned "预览".
//
// The browser lists the symbols that pass its kind filter (0x8000 point, 0x4000 line, 0x2000 fill;
// 0xE000 at first) by decreasing number. Each cell is the legend rectangle (70 x 70 pixels at first)
// with a margin on every side (10 x 10); under the symbol picture stand its number and name. It keeps a
// current symbol, follows the mouse, the wheel, its vertical scroll bar and typed digits (type-ahead
// by number, forgotten after a pause of more than 2 seconds), and tells the window given to Create
// about every selection it notifies:
//     2035  wParam the current symbol number (0 for none), lParam the selected index (-1 for none; an
//           index at or past the count after a click below the last item)
//     2036  the browser window was deactivated (0, 0)
// Use: Create, then SetSymbolFilter and the size setters, then Initate (the list is rebuilt only
// there), then SelectSymbol. The library is not owned; it must outlive the browser's use of it.
#pragma once

#include "ui/SymbolLibBrowserModel.h"

#include <afx/afx.h>
#include <afx/StdCtrls.h>
#include <afx/Wnd.h>

#include <vector>

class CSymbolLibIO;

#define WM_SLB_SELCHANGE 2035
#define WM_SLB_DEACTIVATE 2036

class CSymbolLibBrowser : public CWnd {
    DECLARE_DYNAMIC(CSymbolLibBrowser)
public:
    typedef ::tagSLB_ITEM_DATA tagSLB_ITEM_DATA;

    // The argument of DrawItem.
    struct tagSLB_DRAWITEM_DATA {
        LONG lSymbolID;
        CString strName;
        LONG lIndex;    // the item's position in the list
        RECT rcItem;    // the cell's legend rectangle, client pixels
        HDC hDC;
        int bSelected;  // 1 for the selected item
    };

    CSymbolLibBrowser();
    ~CSymbolLibBrowser() override;

    // Creates the window over rect (client pixels of pParent). frameStyle 1 adds a border, 2 a client
    // edge; id 0 makes a tool-window pop-up instead of a child. With size-adjust mode 1 the rectangle is
    // first cut to whole cells. The background is filled with crBackground. FALSE when creation fails.
    BOOL Create(const RECT& rect, CWnd* pParent, UINT nID, LONG frameStyle, DWORD crBackground);

    // Sets the library (not owned; NULL lists nothing) and rebuilds the list.
    void Initate(CSymbolLibIO* pLib);
    // Each setter returns the previous value; the filter and sizes take effect at the next Initate.
    DWORD SetSymbolFilter(DWORD dwFilter);
    SIZE SetLegendSize(SIZE size);
    SIZE SetSymbolSize(SIZE size);
    // Sets the margins and the margins used; returns the previous margins.
    SIZE SetSpaceOfLegend(LONG cx, LONG cy);
    // 0 plain, 1 window cut to whole cells at creation, 2 margins stretched to fill the window.
    LONG SetSizeAdjustMode(LONG nMode);
    LONG SetSymbolStyle(LONG nStyle);
    LONG SetLegendStyle(LONG nStyle);

    // Makes lSymbol current, selects its item (none when it is not listed) and scrolls to its row;
    // notify sends 2035.
    void SelectSymbol(LONG lSymbol, int bNotify);
    LONG GetCurSymbol() const { return m_nCurSymbol; }
    // Selects (with 2035) the first listed symbol whose decimal number begins with pszDigits; nothing
    // when none does.
    void LocateSymbol(const char* pszDigits);

    // Read access for hosts and tests.
    const std::vector<tagSLB_ITEM_DATA>& GetItems() const { return m_arrItems; }
    LONG GetCurSel() const { return m_nCurSel; }
    int GetTopRow() const { return m_nTopRow; }
    int GetColumnCount() const { return m_nCols; }
    int GetRowCount() const { return m_nRows; }

    // Draws one cell: the symbol centred in the upper part of the legend, its "[number]" and name in
    // the lower part; the selected cell highlighted in 0x8C3232. Derived browsers may draw their own.
    virtual int DrawItem(tagSLB_DRAWITEM_DATA* pData);

protected:
    int InitateSymbol();
    void SetCurSel(LONG nIndex, int bNotify, int bEraseAll);
    LONG HitTest(POINT pt) const;

    void OnPaint();
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    DECLARE_MESSAGE_MAP()

    CSymbolLibIO* m_pSymbolLib = nullptr;
    DWORD m_dwSymbolFilter = 0xE000;
    SIZE m_sizeLegend = {70, 70};
    SIZE m_sizeSymbol = {35, 35};
    LONG m_nCurSymbol = 0;
    SIZE m_sizeSpace = {10, 10};
    LONG m_nSizeAdjustMode = 2;
    LONG m_nLegendStyle = 2;
    LONG m_nSymbolStyle = 3;
    CWnd* m_pNotifyWnd = nullptr;
    std::vector<tagSLB_ITEM_DATA> m_arrItems;
    LONG m_nCurSel = -1;
    int m_nRows = 1;
    int m_nCols = 1;
    int m_nTopRow = 0;
    int m_nCellHeight = 0;
    SIZE m_sizeSpaceUsed = {10, 10};
    int m_bPartialRedraw = 0;
    LONG m_nPrevSel = -1;
    CString m_strLocate;
    SYSTEMTIME m_timeLastKey;

private:
    void ScrollTo(int nRow);
};

class CSymbolPreview : public CStatic {
    DECLARE_DYNAMIC(CSymbolPreview)
public:
    CSymbolPreview() = default;
    // Not owned.
    void SetSymbolLib(CSymbolLibIO* pLib) { m_pSymbolLib = pLib; }
    // Shows lSymbol (redrawn at once when the window exists).
    void SetSymbol(LONG lSymbol);
    LONG GetSymbol() const { return m_nSymbol; }

protected:
    void OnPaint();
    DECLARE_MESSAGE_MAP()

    CSymbolLibIO* m_pSymbolLib = nullptr;
    LONG m_nSymbol = 0;
};
