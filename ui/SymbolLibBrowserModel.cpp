#include "ui/SymbolLibBrowserModel.h"

#include <quenby/SymbolLibIO.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

std::vector<tagSLB_ITEM_DATA> CollectBrowserSymbols(CSymbolLibIO* pLib, DWORD dwFilter) {
    std::vector<tagSLB_ITEM_DATA> items;
    if (!pLib) return items;
    CMap<LONG, LONG, CQuenby*, CQuenby*>& symbols = pLib->GetSymbolMap();
    items.reserve(symbols.GetCount());
    for (POSITION pos = symbols.GetStartPosition(); pos;) {
        LONG number = 0;
        CQuenby* pSymbol = nullptr;
        symbols.GetNextAssoc(pos, number, pSymbol);
        if (number == 0) continue;
        const BOOL bWanted = ((dwFilter & SLB_FILTER_POINT) && pLib->IsKindOfPointSymbol(number)) ||
                             ((dwFilter & SLB_FILTER_LINE) && pLib->IsKindOfLineSymbol(number)) ||
                             ((dwFilter & SLB_FILTER_FILL) && pLib->IsKindOfFillSymbol(number));
        if (bWanted) items.push_back(tagSLB_ITEM_DATA{number, pLib->GetSymbolName(number)});
    }
    // Numbers are unique in a library, so the order is total: highest number first, as unsigned values.
    std::sort(items.begin(), items.end(), [](const tagSLB_ITEM_DATA& a, const tagSLB_ITEM_DATA& b) {
        return static_cast<DWORD>(a.lSymbolID) > static_cast<DWORD>(b.lSymbolID);
    });
    return items;
}

tagSLB_LAYOUT LayoutBrowser(SIZE sizeClient, SIZE sizeLegend, SIZE sizeSpace, LONG nAdjustMode, int nCount) {
    tagSLB_LAYOUT layout{};
    layout.nCellWidth = sizeLegend.cx + 2 * sizeSpace.cx;
    layout.nCellHeight = sizeLegend.cy + 2 * sizeSpace.cy;
    const int w = layout.nCellWidth > 0 ? layout.nCellWidth : 1;
    const int h = layout.nCellHeight > 0 ? layout.nCellHeight : 1;
    const int cx = sizeClient.cx > 0 ? sizeClient.cx : 0;
    const int cy = sizeClient.cy > 0 ? sizeClient.cy : 0;
    layout.nCols = cx / w;
    layout.nRows = cy / h;
    if (nAdjustMode != 2) {
        if (cx % w) ++layout.nCols;
        if (cy % h) ++layout.nRows;
    }
    if (layout.nCols < 1) layout.nCols = 1;
    if (layout.nRows < 1) layout.nRows = 1;
    const long long cells = static_cast<long long>(layout.nCols) * layout.nRows;
    const int itemRows = nCount < cells ? 0 : (nCount + layout.nCols - 1) / layout.nCols;
    layout.nScrollMax = itemRows - layout.nRows > 0 ? itemRows - layout.nRows : 0;
    layout.bShowScroll = nCount >= cells;
    return layout;
}

SIZE StretchBrowserSpace(SIZE sizeClient, SIZE sizeLegend, SIZE sizeSpace, LONG nAdjustMode) {
    SIZE used = sizeSpace;
    if (nAdjustMode != 2) return used;
    const int w = sizeLegend.cx + 2 * sizeSpace.cx;
    const int h = sizeLegend.cy + 2 * sizeSpace.cy;
    if (w > 0 && sizeClient.cx >= w) used.cx = sizeSpace.cx + (sizeClient.cx / (sizeClient.cx / w) - w) / 2;
    if (h > 0 && sizeClient.cy >= h) used.cy = sizeSpace.cy + (sizeClient.cy / (sizeClient.cy / h) - h) / 2;
    return used;
}

LONG BrowserHitTest(POINT pt, SIZE sizeLegend, SIZE sizeSpaceUsed, int nCols, int nTopRow) {
    if (nCols < 1) nCols = 1;
    const int w = sizeLegend.cx + 2 * sizeSpaceUsed.cx;
    const int h = sizeLegend.cy + 2 * sizeSpaceUsed.cy;
    if (w <= 0 || h <= 0 || pt.x < 0 || pt.y < 0) return -1;
    const int col = pt.x / w, row = pt.y / h;
    const int x = pt.x % w, y = pt.y % h;
    // Inside the legend rectangle as PtInRect sees it: left and top edges in, right and bottom out.
    if (x < sizeSpaceUsed.cx || x >= sizeSpaceUsed.cx + sizeLegend.cx) return -1;
    if (y < sizeSpaceUsed.cy || y >= sizeSpaceUsed.cy + sizeLegend.cy) return -1;
    return row * nCols + col + nCols * nTopRow;
}

LONG LocateBrowserSymbol(const std::vector<tagSLB_ITEM_DATA>& items, const char* pszDigits) {
    if (!pszDigits) return -1;
    const size_t n = std::strlen(pszDigits);
    char text[16];
    for (size_t i = 0; i < items.size(); ++i) {
        std::snprintf(text, sizeof text, "%d", static_cast<int>(items[i].lSymbolID));
        if (std::strncmp(text, pszDigits, n) == 0) return static_cast<LONG>(i);
    }
    return -1;
}
