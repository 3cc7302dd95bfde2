// Dialog templates as data: a dialog's caption, size and controls with their rectangles in dialog units
// (DLU), registered by id so that CDialog and CPropertyPage can build the windows.
//
// One DLU is 1.5 pixels both ways for the dialog font, 9-point 宋体 at 96 dpi (x * 6 / 4, y * 12 / 8,
// win32::DluToPixelX/Y). A control is created WS_CHILD | WS_VISIBLE | style unless `hidden`; a
// "ComboBox" or "ListBox" gets `items` ('\n'-separated, GBK) added in order. A "Static" with SS_BITMAP
// shows the bitmap resource whose id its text names as "#<id>" (AfxRegisterBitmapResource).
#pragma once

#include <vector>

#include "afx/String.h"
#include "win32/winuser.h"

struct AfxDlgItem {
    int id;               // control id (-1 or IDC_STATIC for labels)
    LPCSTR className;     // "Button", "Edit", "Static", "ComboBox", "ListBox", "SysListView32",
                          // "SysTreeView32", "SysDateTimePick32", "ScrollBar", or a registered class
    LPCSTR text;          // caption (GBK), may be NULL
    DWORD style;          // class styles and WS_GROUP / WS_TABSTOP / WS_DISABLED / WS_BORDER ...
    int x, y, cx, cy;     // DLU, relative to the dialog's client area
    DWORD exStyle = 0;
    bool hidden = false;
    LPCSTR items = nullptr;
};

// The face a dialog template names unless it says otherwise: "宋体" in GBK.
extern const char afxDefaultDialogFontFace[];

struct AfxDlgTemplate {
    UINT id;
    LPCSTR caption;  // GBK; a page's caption labels its tab
    int cx, cy;      // DLU
    DWORD style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    std::vector<AfxDlgItem> items;
    LPCSTR fontFace = afxDefaultDialogFontFace;
    int pointSize = 9;
};

#define IDC_STATIC (-1)

// Registers a template (a later one with the same id replaces it). The data is copied.
void AfxRegisterDialogTemplate(const AfxDlgTemplate& tmpl);
// The template of an id, or NULL.
const AfxDlgTemplate* AfxFindDialogTemplate(UINT nID);

// Builds the template's controls as children of hWndDlg (the dialog window must exist already) and sizes
// the dialog to the template. FALSE when a control's class is unknown (the rest are still made).
BOOL AfxCreateDialogControls(HWND hWndDlg, const AfxDlgTemplate& tmpl);

// Bitmap resources drawn by code: the function makes a new HBITMAP each time it is called (the caller
// owns it). A later registration with the same id replaces the earlier one.
typedef HBITMAP (*AFX_BITMAP_MAKER)();
void AfxRegisterBitmapResource(UINT nID, AFX_BITMAP_MAKER pfnMake);
// A new bitmap of the resource, or NULL when none is registered.
HBITMAP AfxLoadBitmapResource(UINT nID);
