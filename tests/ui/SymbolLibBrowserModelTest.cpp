// The symbol browser's arithmetic: the list order and filter, the layout and scroll range, the margins
// painting uses, hit testing, type-ahead by number and its two-second rule.
#include "ui/SymbolLibBrowserModel.h"

#include "platform/quenby/SampleSymbolLib.h"

#include <quenby/SymbolLibIO.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

void AddPoint(CSymbolLibIO& lib, LONG number, const char* name) {
    auto* symbol = new CGeoPointSymbol;
    symbol->SetSymbolNumber(number);
    symbol->SetSymbolName(name);
    ASSERT_TRUE(lib.AddSymbol(symbol));
}

std::vector<LONG> Numbers(const std::vector<tagSLB_ITEM_DATA>& items) {
    std::vector<LONG> out;
    for (const auto& item : items) out.push_back(item.lSymbolID);
    return out;
}

struct Time {
    WORD wYear, wMonth, wDay, wHour, wMinute, wSecond;
};

}  // namespace

TEST(SymbolLibBrowserModel, ListsByDecreasingNumberThroughTheFilter) {
    CSymbolLibIO lib;
    AddPoint(lib, 5, "五");
    AddPoint(lib, 12, "十二");
    AddPoint(lib, 3, "三");
    const auto items = CollectBrowserSymbols(&lib, 0xE000);
    EXPECT_EQ(Numbers(items), (std::vector<LONG>{12, 5, 3}));
    EXPECT_STREQ(items[0].strName, "十二");

    CSymbolLibIO sample;
    quenbytest::AddSampleSymbols(sample);  // points 1-3, lines 11-12, fills 21-22, custom 31
    const struct {
        DWORD filter;
        std::vector<LONG> numbers;
    } cases[] = {
        {0xE000, {22, 21, 12, 11, 3, 2, 1}}, {0x8000, {3, 2, 1}}, {0x4000, {12, 11}}, {0x2000, {22, 21}},
        {0xA000, {22, 21, 3, 2, 1}},         {0x1000, {}},        {0xF000, {22, 21, 12, 11, 3, 2, 1}},
    };
    for (const auto& c : cases) EXPECT_EQ(Numbers(CollectBrowserSymbols(&sample, c.filter)), c.numbers) << c.filter;
    EXPECT_TRUE(CollectBrowserSymbols(nullptr, 0xE000).empty());
}

TEST(SymbolLibBrowserModel, LayoutAndScrollRange) {
    const SIZE legend = {70, 70}, space = {10, 10};  // cells of 90 x 90
    const struct {
        SIZE client;
        LONG mode;
        int count;
        int cols, rows, max;
        BOOL shown;
    } cases[] = {
        {{270, 360}, 2, 20, 3, 4, 3, TRUE},   // 7 item rows, 4 fit
        {{270, 360}, 2, 12, 3, 4, 0, TRUE},   // exactly full: shown, nothing to scroll
        {{270, 360}, 2, 11, 3, 4, 0, FALSE},  // one short: hidden
        {{300, 370}, 2, 20, 3, 4, 3, TRUE},   // remainders dropped in mode 2
        {{300, 370}, 0, 20, 4, 5, 0, TRUE},   // and counted in the other modes
        {{50, 50}, 2, 5, 1, 1, 4, TRUE},      // narrower than one cell: still one column and row
        {{0, 0}, 0, 0, 1, 1, 0, FALSE},
    };
    for (const auto& c : cases) {
        const tagSLB_LAYOUT l = LayoutBrowser(c.client, legend, space, c.mode, c.count);
        EXPECT_EQ(l.nCols, c.cols) << c.client.cx << " " << c.count;
        EXPECT_EQ(l.nRows, c.rows) << c.client.cx << " " << c.count;
        EXPECT_EQ(l.nScrollMax, c.max) << c.client.cx << " " << c.count;
        EXPECT_EQ(l.bShowScroll, c.shown) << c.client.cx << " " << c.count;
        EXPECT_EQ(l.nCellWidth, 90);
        EXPECT_EQ(l.nCellHeight, 90);
    }
}

TEST(SymbolLibBrowserModel, StretchedMarginsFillTheWindowInModeTwoOnly) {
    const SIZE legend = {70, 70}, space = {10, 10};
    // 300 / 3 = 100 per cell: the margin grows by (100 - 90) / 2 = 5; 370 / 4 = 92: by 1.
    SIZE used = StretchBrowserSpace(SIZE{300, 370}, legend, space, 2);
    EXPECT_EQ(used.cx, 15);
    EXPECT_EQ(used.cy, 11);
    used = StretchBrowserSpace(SIZE{300, 370}, legend, space, 1);
    EXPECT_EQ(used.cx, 10);
    EXPECT_EQ(used.cy, 10);
    used = StretchBrowserSpace(SIZE{50, 50}, legend, space, 2);  // not one whole cell: left as it is
    EXPECT_EQ(used.cx, 10);
}

TEST(SymbolLibBrowserModel, HitTestCountsScrolledRowsAndRefusesMargins) {
    const SIZE legend = {70, 70}, used = {10, 10};
    const struct {
        POINT pt;
        int top;
        LONG index;
    } cases[] = {
        {{10, 10}, 0, 0},   {{79, 79}, 0, 0},   {{80, 40}, 0, -1}, {{5, 40}, 0, -1},  {{40, 85}, 0, -1},
        {{100, 40}, 0, 1},  {{40, 100}, 0, 3},  {{190, 190}, 0, 8}, {{40, 40}, 2, 6}, {{-1, 40}, 0, -1},
        {{40, 460}, 0, 15},  // below the last row: no check against the count
    };
    for (const auto& c : cases)
        EXPECT_EQ(BrowserHitTest(c.pt, legend, used, 3, c.top), c.index) << c.pt.x << "," << c.pt.y << " top " << c.top;
}

TEST(SymbolLibBrowserModel, TypeAheadFindsTheFirstNumberWithThePrefix) {
    std::vector<tagSLB_ITEM_DATA> items = {{300, ""}, {125, ""}, {12, ""}, {1, ""}};
    EXPECT_EQ(LocateBrowserSymbol(items, "1"), 1);
    EXPECT_EQ(LocateBrowserSymbol(items, "12"), 1);
    EXPECT_EQ(LocateBrowserSymbol(items, "3"), 0);
    EXPECT_EQ(LocateBrowserSymbol(items, "4"), -1);
    EXPECT_EQ(LocateBrowserSymbol(items, nullptr), -1);
    EXPECT_EQ(LocateBrowserSymbol(items, ""), 0);

    const Time last = {2026, 6, 15, 10, 30, 20};
    const struct {
        Time now;
        BOOL expired;
    } cases[] = {
        {{2026, 6, 15, 10, 30, 22}, FALSE}, {{2026, 6, 15, 10, 30, 23}, TRUE}, {{2026, 6, 15, 10, 31, 0}, TRUE},
        {{2026, 6, 15, 11, 0, 0}, TRUE},    {{2027, 1, 1, 0, 0, 0}, TRUE},      {{2026, 6, 15, 10, 30, 19}, FALSE},
        // Field by field: a later month with an earlier day and second is already "lower".
        {{2026, 7, 1, 0, 0, 0}, TRUE},
    };
    for (const auto& c : cases) EXPECT_EQ(TypeAheadExpired(last, c.now), c.expired) << c.now.wSecond;
}
