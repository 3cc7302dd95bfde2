// Standard system cursors, as opaque handles.
//
// Nothing is shown on a screen here: a cursor handle only identifies which cursor an object asks for,
// so that a host (or a test) can compare it with LoadCursor(NULL, IDC_...).
#pragma once

#include "win32/wintypes.h"

#ifndef MAKEINTRESOURCE
#define MAKEINTRESOURCE(i) ((LPSTR)(ULONG_PTR)(WORD)(i))
#endif

#define IDC_ARROW MAKEINTRESOURCE(32512)
#define IDC_IBEAM MAKEINTRESOURCE(32513)
#define IDC_SIZENWSE MAKEINTRESOURCE(32642)
#define IDC_SIZENESW MAKEINTRESOURCE(32643)
#define IDC_SIZEWE MAKEINTRESOURCE(32644)
#define IDC_SIZENS MAKEINTRESOURCE(32645)
#define IDC_SIZEALL MAKEINTRESOURCE(32646)

// hInstance NULL: the standard cursor named by an IDC_ value, the same handle on every call, distinct
// for distinct cursors; NULL for an unknown name. Cursor resources of modules are not provided: a
// non-NULL hInstance gives NULL.
HCURSOR LoadCursor(HINSTANCE hInstance, LPCSTR lpCursorName);
