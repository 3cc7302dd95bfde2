#include "afx/Cursor.h"

#include "win32/winuser.h"

HCURSOR LoadCursor(HINSTANCE hInstance, LPCSTR lpCursorName)
{
    if (hInstance != nullptr) return nullptr;
    const ULONG_PTR id = reinterpret_cast<ULONG_PTR>(lpCursorName);
    return id <= 0xFFFF ? win32::StandardCursor(static_cast<WORD>(id)) : nullptr;
}
