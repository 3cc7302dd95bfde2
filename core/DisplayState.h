// tagDisplayState: the drawing context that a host hands to CGeoVectorLayer::Draw, Hide and Blink and
// that every vector object receives by value when it resolves its style and paints itself.
//
// It is eleven words. Ten are 32-bit ints; word 5 carries the symbol library and is a pointer, so it is
// pointer-sized here (64 bits on this platform). The record is never written to files, so its size in
// memory is free to follow the pointer width. A value-initialised state (tagDisplayState ds{}) draws
// each object with the layer's style (word 1 = 0), without symbols, honouring the feature classes'
// scale ranges.
#pragma once

#include "win32/wintypes.h"

class CSymbolLibIO;

// Show mode (word 6): which objects are drawn at all.
enum VISIBLESTATE : int {
    VISIBLE_BYSCALE = 0,  // objects outside their feature class's scale range are not drawn
    VISIBLE_ALL = 1,      // every value other than 0 and 2 draws regardless of scale ranges
    VISIBLE_NONE = 2,     // nothing is drawn, hidden or blinked
};

struct tagDisplayState {
    // 1: which style an object is drawn with (a DISPLAYATTR code): 0 the layer's, 1 the feature
    //    class's, 2 the object's own, 3 the one computed from its attribute values.
    int m_nDisplayAttr;
    // 2: handed along to the style hooks; nothing in the library reads it.
    int m_nWord2;
    // 3: non-zero draws through the symbol library (word 5).
    int m_bSymbolized;
    // 4: non-zero keeps the symbols' own colours; 0 lets the style's colours override them.
    int m_bKeepSymbolColor;
    // 5: the symbol library used by symbolised drawing (NULL = none). Not owned.
    CSymbolLibIO* m_pSymbolLibIO;
    // 6: the show mode (VISIBLESTATE codes; stored as an int so that any value can be handed on).
    int m_nShowMode;
    // 7: handed along to the style hooks; nothing in the library reads it.
    int m_nWord7;
    // 8: handed to the painting hooks as their second int argument.
    int m_nWord8;
    // 9: non-zero colours objects by the current elevation chart.
    int m_bElevationChart;
    // 10: non-zero draws objects that carry a mark in their mark style.
    int m_bShowMark;
    // 11: handed to the plain painting hook as its scale-widths flag.
    int m_bScaleWidth;
};

static_assert(sizeof(static_cast<tagDisplayState*>(nullptr)->m_pSymbolLibIO) == sizeof(void*),
              "word 5 must hold a whole pointer");
