// Private messages and helpers of the control procedures. Private to afx.
#pragma once

#include <string>

#include "win32/winuser.h"

class CImageList;

// What a person does to a control, as the driver delivers it: the procedure applies it as the control
// would for the mouse or keyboard and notifies its parent.
#define AFXM_USER_SELECT 0x0FF0   // combo / list box: wParam index (list box: toggles in multiple mode)
#define AFXM_USER_SCROLL 0x0FF1   // scroll bar: wParam MAKEWPARAM(code, pos); the parent gets WM_?SCROLL
#define AFXM_USER_DBLCLK 0x0FF2   // list box: wParam index
#define AFXM_USER_SETTIME 0x0FF3  // date-time: lParam SYSTEMTIME* or NULL (none)

#ifndef EM_REPLACESEL
#define EM_REPLACESEL 0x00C2
#endif
#define BM_GETIMAGE 0x00F6
#define BM_SETIMAGE 0x00F7
#define BS_NOTIFY 0x4000u
#define STN_CLICKED 0
#define STN_DBLCLK 1

namespace afx {
// WM_COMMAND (code, id) from a control to its parent.
void NotifyParent(HWND hCtl, UINT code);
// WM_NOTIFY with hdr filled in from the control; the parent's result.
LRESULT NotifyParent(HWND hCtl, NMHDR* hdr, UINT code);
// Case-insensitive GBK order, as sorted boxes use.
int CompareItems(const std::string& a, const std::string& b);
// A string (GBK) truncated to at most n bytes without splitting a double-byte character.
std::string CutGbk(const std::string& s, size_t n);
// Pixel height of one list-box or combo-list item.
const int kItemHeight = 16;
// The image a dragged row or item carries, as the system's controls make it: a new one-image list of
// width x height showing the item's icon (image of icons, when there is one) and its label (GBK) on the
// window background. The caller owns the list.
CImageList* NewDragImage(int width, int height, HIMAGELIST icons, int image, const std::string& label);
}  // namespace afx
