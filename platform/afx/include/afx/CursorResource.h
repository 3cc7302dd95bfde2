// Cursor resources of libraries: monochrome 32 x 32 cursors compiled into a library as data and
// registered under its module handle when it loads, and the application's cursor loader that finds
// them through the chain of extension modules.
//
// Nothing is shown on a screen: a handle identifies the cursor an object asks for, and its image can be
// read back for a host to show or a test to check.
#pragma once

#include "win32/wintypes.h"

struct CursorResource {
    int xHotSpot = 0;
    int yHotSpot = 0;
    // One bit per pixel, rows top-down, 4 bytes a row, the leftmost pixel in the high bit of the first
    // byte. The screen pixel is (screen AND andMask) XOR xorMask: AND 1 / XOR 0 leaves it transparent,
    // AND 0 / XOR 0 paints black, AND 0 / XOR 1 paints white, AND 1 / XOR 1 inverts it.
    BYTE andMask[128] = {};
    BYTE xorMask[128] = {};
};

// Registers (or replaces) cursor nID of the module. The image is copied.
void AfxRegisterCursorResource(HINSTANCE hModule, UINT nID, const CursorResource& cursor);
// Removes every cursor of the module; handles handed out for them are no longer valid.
void AfxUnregisterCursorResources(HINSTANCE hModule);

// The application's cursor loader: cursor nID of the first module of the extension-module chain whose
// resources hold it (most recently linked first); NULL when none does. The same handle on every call,
// distinct from the standard cursors of LoadCursor(NULL, ...).
HCURSOR AfxLoadCursorResource(UINT nID);
// The image behind a handle from AfxLoadCursorResource; NULL for any other handle.
const CursorResource* AfxGetCursorResource(HCURSOR hCursor);
