// The arithmetic of the symbol library browser (CSymbolLibBrowser), apart from its window: which symbols
// it lists and in what order, how many cells fit, the scroll range, hit testing, the margins it paints
// with, and the type-ahead rules. Every size is in device pixels of the browser's client area.
#pragma once

#include <afx/afx.h>

#include <vector>

class CSymbolLibIO;

// One symbol of the list: its number and its name (GBK).
struct tagSLB_ITEM_DATA {
    LONG lSymbolID;
    CString strName;
};

// The kind bits of the browser's filter; other bits select nothing.
#define SLB_FILTER_POINT 0x8000
#define SLB_FILTER_LINE 0x4000
#define SLB_FILTER_FILL 0x2000

// The symbols of pLib that pass the filter (0x8000 point, 0x4000 line, 0x2000 fill symbols), number 0
// left out, ordered by decreasing number compared as unsigned values (the highest first). Empty for a
// NULL library. Sorting a vector keeps a 5,000-symbol rebuild at n log n.
std::vector<tagSLB_ITEM_DATA> CollectBrowserSymbols(CSymbolLibIO* pLib, DWORD dwFilter);

// The grid and its scroll bar for a list of nCount items in a client area of sizeClient.
struct tagSLB_LAYOUT {
    int nCols;          // columns that fit, at least 1
    int nRows;          // rows that fit, at least 1
    int nCellWidth;     // legend width + 2 x margin
    int nCellHeight;    // legend height + 2 x margin
    int nScrollMax;     // the scroll range is 0..nScrollMax (rows past the first that fits)
    BOOL bShowScroll;   // the scroll bar is shown: nCount is at least nCols x nRows
};

// The layout after a rebuild. A cell is the legend plus twice the margin each way; the columns and rows
// are the client size divided by the cell size, and unless nAdjustMode is 2 (margins stretched to fill
// the window) a remainder adds one more column or row. Each is at least 1, so a window narrower than a
// cell still has one column. Item rows = nCount / columns rounded up, taken as 0 when nCount is below
// columns x rows; the maximum is item rows - rows, at least 0.
tagSLB_LAYOUT LayoutBrowser(SIZE sizeClient, SIZE sizeLegend, SIZE sizeSpace, LONG nAdjustMode, int nCount);

// The margins painting and hit testing use. In adjust mode 2 they are stretched so that whole cells fill
// the client area: each margin grows by (client size / cells that fit - cell size) / 2 (integer
// division, truncating toward zero). In the other modes, and when not one whole cell fits in a
// direction, the margin of that direction stays sizeSpace.
SIZE StretchBrowserSpace(SIZE sizeClient, SIZE sizeLegend, SIZE sizeSpace, LONG nAdjustMode);

// The index of the item under pt (client pixels), counting the rows scrolled away: a point inside the
// legend rectangle of its cell (left and top edges included, right and bottom excluded) gives row x nCols + column + nCols x nTopRow; a point on a margin -1.
// The result is not checked against the item count. nCols below 1 counts as 1.
LONG BrowserHitTest(POINT pt, SIZE sizeLegend, SIZE sizeSpaceUsed, int nCols, int nTopRow);

// Whether typed digits are forgotten before a new one is added: comparing the time of the last digit
// with now field by field, the stored year is lower, else the stored month is lower, else the day, else
// the hour, else the minute; else when now's second exceeds the stored second by more than 2. TIME is
// SYSTEMTIME or any record with its WORD fields wYear, wMonth, wDay, wHour, wMinute and wSecond.
template <class TIME>
BOOL TypeAheadExpired(const TIME& timeLast, const TIME& timeNow) {
    if (timeLast.wYear < timeNow.wYear) return TRUE;
    if (timeLast.wMonth < timeNow.wMonth) return TRUE;
    if (timeLast.wDay < timeNow.wDay) return TRUE;
    if (timeLast.wHour < timeNow.wHour) return TRUE;
    if (timeLast.wMinute < timeNow.wMinute) return TRUE;
    return static_cast<int>(timeNow.wSecond) - static_cast<int>(timeLast.wSecond) > 2;
}

// The index of the first item, in list order, whose number written in decimal begins with pszDigits;
// -1 when none does or pszDigits is NULL.
LONG LocateBrowserSymbol(const std::vector<tagSLB_ITEM_DATA>& items, const char* pszDigits);
