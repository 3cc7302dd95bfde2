// How long the symbol browser takes to rebuild its list for a 5,000-symbol library, against a peer in
// the same run: the same list built by insertion into a linked list (each new symbol walks the list to
// its place), the quadratic way such a list is often kept. Prints both times and their ratio; it never
// passes or fails on time.
#include "ui/SymbolLibBrowserModel.h"

#include <quenby/SymbolLibIO.h>

#include <chrono>
#include <cstdio>
#include <list>

namespace {

const int kSymbols = 5000;

// A library of kSymbols point, line and fill symbols with numbers spread over 1..0x1FFFFF.
void FillLibrary(CSymbolLibIO& lib) {
    unsigned seed = 12345;
    for (int i = 0; i < kSymbols;) {
        seed = seed * 1103515245u + 12345u;
        const LONG number = static_cast<LONG>((seed >> 8) % 0x1FFFFF) + 1;
        if (lib.FindSymbol(number)) continue;
        CQuenby* symbol = nullptr;
        switch (i % 3) {
        case 0: symbol = new CGeoPointSymbol; break;
        case 1: symbol = new CGeoGroupLineSymbol; break;
        default: symbol = new CGeoFillSymbol; break;
        }
        symbol->SetSymbolNumber(number);
        CString name;
        name.Format("符号%d", static_cast<int>(number));
        symbol->SetSymbolName(name);
        lib.AddSymbol(symbol);
        ++i;
    }
}

// The peer: insert before the first item whose number is smaller or equal, walking from the head.
size_t LinkedListRebuild(CSymbolLibIO& lib) {
    std::list<tagSLB_ITEM_DATA> items;
    CMap<LONG, LONG, CQuenby*, CQuenby*>& symbols = lib.GetSymbolMap();
    for (POSITION pos = symbols.GetStartPosition(); pos;) {
        LONG number = 0;
        CQuenby* symbol = nullptr;
        symbols.GetNextAssoc(pos, number, symbol);
        auto it = items.begin();
        while (it != items.end() && static_cast<DWORD>(it->lSymbolID) > static_cast<DWORD>(number)) ++it;
        items.insert(it, tagSLB_ITEM_DATA{number, lib.GetSymbolName(number)});
    }
    return items.size();
}

template <class F>
double BestMilliseconds(F f, int runs) {
    double best = 1e300;
    for (int r = 0; r < runs; ++r) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        if (ms < best) best = ms;
    }
    return best;
}

}  // namespace

int main() {
    CSymbolLibIO lib;
    FillLibrary(lib);
    size_t shown = 0;
    const double browser = BestMilliseconds(
        [&] {
            const auto items = CollectBrowserSymbols(&lib, 0xE000);
            const tagSLB_LAYOUT layout = LayoutBrowser(SIZE{500, 360}, SIZE{70, 70}, SIZE{10, 10}, 2,
                                                       static_cast<int>(items.size()));
            shown = layout.nCols > 0 ? items.size() : 0;
        },
        5);
    size_t peerShown = 0;
    const double peer = BestMilliseconds([&] { peerShown = LinkedListRebuild(lib); }, 3);
    std::printf("symbol browser rebuild, %d symbols (%zu listed): %.3f ms\n", kSymbols, shown, browser);
    std::printf("linked-list insertion peer (%zu listed): %.3f ms\n", peerShown, peer);
    std::printf("ratio browser / peer: %.3f\n", peer > 0 ? browser / peer : 0.0);
    return shown == peerShown ? 0 : 1;
}
