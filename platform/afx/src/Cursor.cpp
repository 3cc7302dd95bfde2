#include "afx/Cursor.h"

namespace {

const WORD kStandardCursors[] = {32512, 32513, 32642, 32643, 32644, 32645, 32646};

// One byte per cursor: its address is the handle.
char g_cursorTokens[sizeof kStandardCursors / sizeof kStandardCursors[0]];

} // namespace

HCURSOR LoadCursor(HINSTANCE hInstance, LPCSTR lpCursorName)
{
    if (hInstance != nullptr) return nullptr;
    ULONG_PTR id = reinterpret_cast<ULONG_PTR>(lpCursorName);
    for (size_t i = 0; i < sizeof kStandardCursors / sizeof kStandardCursors[0]; ++i)
        if (id == kStandardCursors[i]) return reinterpret_cast<HCURSOR>(&g_cursorTokens[i]);
    return nullptr;
}
