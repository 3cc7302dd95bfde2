// The window manager's drawing functions: rectangles, focus rectangles, edges, formatted text, system
// colours, and the device contexts of windows.
//
// Windows are headless. A window's DC draws on the window's canvas, a 32-bit bitmap that the window
// code attaches with win32::AttachWindowCanvas (gdirecord.h) and that tests can read back or write to
// PNG. A window of the window manager gets its canvas, at its client size, at its first BeginPaint or
// GetDC. A handle without a canvas (and GetDC(NULL), the screen) gives a DC without pixels: it measures
// text, keeps paths and records, but draws nothing.
#pragma once

#include "win32/wingdi.h"

// System colour indexes (GetSysColor), with the classic Windows scheme's values.
#define COLOR_SCROLLBAR 0
#define COLOR_BACKGROUND 1
#define COLOR_ACTIVECAPTION 2
#define COLOR_INACTIVECAPTION 3
#define COLOR_MENU 4
#define COLOR_WINDOW 5
#define COLOR_WINDOWFRAME 6
#define COLOR_MENUTEXT 7
#define COLOR_WINDOWTEXT 8
#define COLOR_CAPTIONTEXT 9
#define COLOR_ACTIVEBORDER 10
#define COLOR_INACTIVEBORDER 11
#define COLOR_APPWORKSPACE 12
#define COLOR_HIGHLIGHT 13
#define COLOR_HIGHLIGHTTEXT 14
#define COLOR_BTNFACE 15
#define COLOR_BTNSHADOW 16
#define COLOR_GRAYTEXT 17
#define COLOR_BTNTEXT 18
#define COLOR_INACTIVECAPTIONTEXT 19
#define COLOR_BTNHIGHLIGHT 20
#define COLOR_3DDKSHADOW 21
#define COLOR_3DLIGHT 22
#define COLOR_INFOTEXT 23
#define COLOR_INFOBK 24
#define COLOR_3DFACE COLOR_BTNFACE
#define COLOR_3DSHADOW COLOR_BTNSHADOW
#define COLOR_3DHIGHLIGHT COLOR_BTNHIGHLIGHT
#define COLOR_3DHILIGHT COLOR_BTNHIGHLIGHT
#define COLOR_BTNHILIGHT COLOR_BTNHIGHLIGHT

// DrawText formats.
#define DT_TOP 0x00000000
#define DT_LEFT 0x00000000
#define DT_CENTER 0x00000001
#define DT_RIGHT 0x00000002
#define DT_VCENTER 0x00000004  // single-line only
#define DT_BOTTOM 0x00000008   // single-line only
#define DT_WORDBREAK 0x00000010
#define DT_SINGLELINE 0x00000020
#define DT_EXPANDTABS 0x00000040
#define DT_TABSTOP 0x00000080
#define DT_NOCLIP 0x00000100
#define DT_EXTERNALLEADING 0x00000200
#define DT_CALCRECT 0x00000400
#define DT_NOPREFIX 0x00000800
#define DT_INTERNAL 0x00001000
#define DT_EDITCONTROL 0x00002000
#define DT_PATH_ELLIPSIS 0x00004000
#define DT_END_ELLIPSIS 0x00008000
#define DT_MODIFYSTRING 0x00010000
#define DT_RTLREADING 0x00020000
#define DT_WORD_ELLIPSIS 0x00040000

// DrawEdge edges and borders.
#define BDR_RAISEDOUTER 0x0001
#define BDR_SUNKENOUTER 0x0002
#define BDR_RAISEDINNER 0x0004
#define BDR_SUNKENINNER 0x0008
#define BDR_OUTER (BDR_RAISEDOUTER | BDR_SUNKENOUTER)
#define BDR_INNER (BDR_RAISEDINNER | BDR_SUNKENINNER)
#define EDGE_RAISED (BDR_RAISEDOUTER | BDR_RAISEDINNER)
#define EDGE_SUNKEN (BDR_SUNKENOUTER | BDR_SUNKENINNER)
#define EDGE_ETCHED (BDR_SUNKENOUTER | BDR_RAISEDINNER)
#define EDGE_BUMP (BDR_RAISEDOUTER | BDR_SUNKENINNER)
#define BF_LEFT 0x0001
#define BF_TOP 0x0002
#define BF_RIGHT 0x0004
#define BF_BOTTOM 0x0008
#define BF_TOPLEFT (BF_TOP | BF_LEFT)
#define BF_TOPRIGHT (BF_TOP | BF_RIGHT)
#define BF_BOTTOMLEFT (BF_BOTTOM | BF_LEFT)
#define BF_BOTTOMRIGHT (BF_BOTTOM | BF_RIGHT)
#define BF_RECT (BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM)
#define BF_MIDDLE 0x0800
#define BF_SOFT 0x1000
#define BF_ADJUST 0x2000
#define BF_FLAT 0x4000
#define BF_MONO 0x8000

struct tagPAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;  // the whole client area
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};
typedef tagPAINTSTRUCT PAINTSTRUCT;
typedef PAINTSTRUCT* LPPAINTSTRUCT;

DWORD GetSysColor(int index);  // 0 for an unknown index
HBRUSH GetSysColorBrush(int index);  // a stock-like brush (never deleted); NULL for an unknown index

// Rectangles in logical coordinates; brush may be a handle or a system colour index + 1 (GDI's idiom).
int FillRect(HDC hdc, const RECT* rc, HBRUSH brush);   // [left, right) x [top, bottom), raster op ignored
int FrameRect(HDC hdc, const RECT* rc, HBRUSH brush);  // a one-pixel border inside rc
BOOL InvertRect(HDC hdc, const RECT* rc);              // every bit of every pixel inverted
BOOL DrawFocusRect(HDC hdc, const RECT* rc);           // dotted border, XOR: drawing twice removes it
BOOL DrawEdge(HDC hdc, LPRECT rc, UINT edge, UINT flags);  // BF_ADJUST shrinks rc by the edge drawn

// Draws text (GBK, n = -1 for zero-terminated) formatted in rc with the selected font, text colour and
// background mode; returns the height of the text in logical units (0 on failure). DT_CALCRECT only
// measures: it sets rc's right and bottom (and, for single lines, keeps its left and top).
int DrawTextA(HDC hdc, LPCSTR text, int n, LPRECT rc, UINT format);
#define DrawText DrawTextA

// Device contexts of windows. GetDC(NULL) is the screen (no pixels, 32 bits, 1920 x 1080).
HDC GetDC(HWND hwnd);
HDC GetWindowDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC hdc);  // 1 when released
HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT ps);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps);
