// A picture of a window as it stands: its frame, caption and every visible child, the standard
// controls drawn from their state in the window model (text, checks, selections, items, scroll
// positions), and every other window (owner-painted statics, registered classes) painting itself
// through WM_PAINT on its canvas. What a person would see, for a person to look at; tests read the
// model, not these pixels.
#pragma once

#include "win32/winuser.h"

// A new 32-bit DC of the window's size (its caption bar added above for a top-level window with
// WS_CAPTION) with the picture drawn; free with DeleteDC. NULL for a bad window.
HDC AfxDrawWindowPicture(HWND hWnd);
// The picture written as PNG (path GBK); FALSE for a bad window or when the file cannot be written.
BOOL AfxWriteWindowPicture(HWND hWnd, const char* path);
