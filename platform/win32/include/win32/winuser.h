// The window manager of a headless system: windows as records in a handle table, window classes with
// their procedures, synchronous and posted messages, timers, focus, capture, the cursor, key state,
// hit testing, scroll bars, menus and image lists with their drag functions.
//
// Nothing is shown on a screen. Every window is a record (class name, parent, id, style bits, rectangle,
// text, enabled and visible state, scroll bars, dirty flag) that a screen library or a test can read.
// Top-level windows sit on a virtual screen whose origin is (0, 0); a child's rectangle is relative to
// its parent's client area, and windows have no non-client frame, so the client area of a window is its
// whole rectangle. Everything runs on one thread and is deterministic.
//
// What a person would do (choose from a popup menu, answer a message box, feed a waiting message loop)
// comes from hooks that a driver installs (SetUserHooks); without them a popup menu is dismissed, a
// message box answers its default button and a waiting message loop ends as if it received WM_QUIT.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "win32/wingdi.h"
#include "win32/wintypes.h"

CORVANE_DECLARE_HANDLE(HTREEITEM);
CORVANE_DECLARE_HANDLE(HIMAGELIST);

typedef int* LPINT;
typedef uintptr_t DWORD_PTR;
typedef LRESULT (*WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef void (*TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);

#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)MAKELONG(l, h))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))
#define GET_X_LPARAM(lp) ((int)(short)LOWORD(lp))
#define GET_Y_LPARAM(lp) ((int)(short)HIWORD(lp))
#define GET_WHEEL_DELTA_WPARAM(wp) ((short)HIWORD(wp))
#define WHEEL_DELTA 120

// ---- messages -----------------------------------------------------------------------------------
#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_MOVE 0x0003
#define WM_SIZE 0x0005
#define WM_ACTIVATE 0x0006
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_ENABLE 0x000A
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_ERASEBKGND 0x0014
#define WM_SHOWWINDOW 0x0018
#define WM_SETCURSOR 0x0020
#define WM_NEXTDLGCTL 0x0028
#define WM_DRAWITEM 0x002B
#define WM_MEASUREITEM 0x002C
#define WM_DELETEITEM 0x002D
#define WM_SETFONT 0x0030
#define WM_GETFONT 0x0031
#define WM_COMPAREITEM 0x0039
#define WM_NOTIFY 0x004E
#define WM_CONTEXTMENU 0x007B
#define WM_NCCREATE 0x0081
#define WM_NCHITTEST 0x0084
#define WM_NCDESTROY 0x0082
#define WM_GETDLGCODE 0x0087
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_SYSCOMMAND 0x0112
#define WM_TIMER 0x0113
#define WM_HSCROLL 0x0114
#define WM_VSCROLL 0x0115
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_LBUTTONDBLCLK 0x0203
#define WM_RBUTTONDOWN 0x0204
#define WM_RBUTTONUP 0x0205
#define WM_RBUTTONDBLCLK 0x0206
#define WM_MOUSEWHEEL 0x020A
#define WM_CAPTURECHANGED 0x0215
#define WM_USER 0x0400
#define WM_APP 0x8000

#define HTTRANSPARENT (-1)
#define HTNOWHERE 0
#define HTCLIENT 1
#define HTHSCROLL 6
#define HTVSCROLL 7

#define WA_INACTIVE 0
#define WA_ACTIVE 1

#define MK_LBUTTON 0x0001
#define MK_RBUTTON 0x0002
#define MK_SHIFT 0x0004
#define MK_CONTROL 0x0008

// ---- window styles ------------------------------------------------------------------------------
#define WS_OVERLAPPED 0x00000000u
#define WS_POPUP 0x80000000u
#define WS_CHILD 0x40000000u
#define WS_VISIBLE 0x10000000u
#define WS_DISABLED 0x08000000u
#define WS_CLIPSIBLINGS 0x04000000u
#define WS_CLIPCHILDREN 0x02000000u
#define WS_CAPTION 0x00C00000u
#define WS_BORDER 0x00800000u
#define WS_DLGFRAME 0x00400000u
#define WS_VSCROLL 0x00200000u
#define WS_HSCROLL 0x00100000u
#define WS_SYSMENU 0x00080000u
#define WS_THICKFRAME 0x00040000u
#define WS_GROUP 0x00020000u
#define WS_TABSTOP 0x00010000u
#define WS_EX_DLGMODALFRAME 0x00000001u
#define WS_EX_TRANSPARENT 0x00000020u
#define WS_EX_CLIENTEDGE 0x00000200u
#define WS_EX_STATICEDGE 0x00020000u
#define WS_EX_TOOLWINDOW 0x00000080u
// Window-class styles: kept with the class; the window manager draws and clicks the same whatever they are.
#define CS_VREDRAW 0x0001u
#define CS_HREDRAW 0x0002u
#define CS_DBLCLKS 0x0008u
#define DS_3DLOOK 0x0004u
#define DS_SETFONT 0x0040u
#define DS_MODALFRAME 0x0080u
#define DS_CONTROL 0x0400u

#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_SHOW 5
#define SW_SHOWNA 8

#define GWLP_WNDPROC (-4)
#define GWL_ID (-12)
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define GWLP_USERDATA (-21)

// ---- keys ---------------------------------------------------------------------------------------
#define VK_LBUTTON 0x01
#define VK_RBUTTON 0x02
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_INSERT 0x2D
#define VK_DELETE 0x2E
#define VK_NUMPAD0 0x60
#define VK_NUMPAD9 0x69
#define VK_F1 0x70
#define VK_F2 0x71

// ---- dialogs ------------------------------------------------------------------------------------
#define DM_GETDEFID (WM_USER + 0)
#define DM_SETDEFID (WM_USER + 1)
#define DC_HASDEFID 0x534B
#define DLGC_WANTARROWS 0x0001
#define DLGC_WANTTAB 0x0002
#define DLGC_WANTALLKEYS 0x0004
#define DLGC_WANTMESSAGE 0x0004
#define DLGC_HASSETSEL 0x0008
#define DLGC_DEFPUSHBUTTON 0x0010
#define DLGC_UNDEFPUSHBUTTON 0x0020
#define DLGC_RADIOBUTTON 0x0040
#define DLGC_WANTCHARS 0x0080
#define DLGC_STATIC 0x0100
#define DLGC_BUTTON 0x2000

// ---- buttons ------------------------------------------------------------------------------------
#define BS_PUSHBUTTON 0x0u
#define BS_DEFPUSHBUTTON 0x1u
#define BS_CHECKBOX 0x2u
#define BS_AUTOCHECKBOX 0x3u
#define BS_RADIOBUTTON 0x4u
#define BS_3STATE 0x5u
#define BS_AUTO3STATE 0x6u
#define BS_GROUPBOX 0x7u
#define BS_AUTORADIOBUTTON 0x9u
#define BS_OWNERDRAW 0xBu
#define BS_TYPEMASK 0xFu
#define BS_LEFTTEXT 0x20u
#define BS_BITMAP 0x80u
#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define BM_GETSTATE 0x00F2
#define BM_SETSTATE 0x00F3
#define BM_SETSTYLE 0x00F4
#define BM_CLICK 0x00F5
#define BST_UNCHECKED 0
#define BST_CHECKED 1
#define BST_INDETERMINATE 2
#define BN_CLICKED 0
#define BN_DOUBLECLICKED 5
#define BN_DBLCLK BN_DOUBLECLICKED
#define BN_SETFOCUS 6
#define BN_KILLFOCUS 7

// ---- edits --------------------------------------------------------------------------------------
#define ES_LEFT 0x0000u
#define ES_CENTER 0x0001u
#define ES_RIGHT 0x0002u
#define ES_MULTILINE 0x0004u
#define ES_UPPERCASE 0x0008u
#define ES_LOWERCASE 0x0010u
#define ES_PASSWORD 0x0020u
#define ES_AUTOVSCROLL 0x0040u
#define ES_AUTOHSCROLL 0x0080u
#define ES_NOHIDESEL 0x0100u
#define ES_READONLY 0x0800u
#define ES_WANTRETURN 0x1000u
#define ES_NUMBER 0x2000u
#define EM_GETSEL 0x00B0
#define EM_SETSEL 0x00B1
#define EM_LIMITTEXT 0x00C5
#define EM_SETLIMITTEXT EM_LIMITTEXT
#define EM_SETREADONLY 0x00CF
#define EM_GETLIMITTEXT 0x00D5
#define EN_SETFOCUS 0x0100
#define EN_KILLFOCUS 0x0200
#define EN_CHANGE 0x0300
#define EN_UPDATE 0x0400
#define EN_MAXTEXT 0x0501

// ---- statics ------------------------------------------------------------------------------------
#define SS_LEFT 0x00u
#define SS_CENTER 0x01u
#define SS_RIGHT 0x02u
#define SS_ICON 0x03u
#define SS_BLACKRECT 0x04u
#define SS_GRAYRECT 0x05u
#define SS_WHITERECT 0x06u
#define SS_BLACKFRAME 0x07u
#define SS_OWNERDRAW 0x0Du
#define SS_BITMAP 0x0Eu
#define SS_ETCHEDHORZ 0x10u
#define SS_ETCHEDVERT 0x11u
#define SS_ETCHEDFRAME 0x12u
#define SS_TYPEMASK 0x1Fu
#define SS_NOTIFY 0x0100u
#define SS_CENTERIMAGE 0x0200u
#define SS_SUNKEN 0x1000u
#define STM_SETIMAGE 0x0172
#define STM_GETIMAGE 0x0173
#define IMAGE_BITMAP 0

// ---- combo boxes --------------------------------------------------------------------------------
#define CBS_SIMPLE 0x0001u
#define CBS_DROPDOWN 0x0002u
#define CBS_DROPDOWNLIST 0x0003u
#define CBS_OWNERDRAWFIXED 0x0010u
#define CBS_OWNERDRAWVARIABLE 0x0020u
#define CBS_AUTOHSCROLL 0x0040u
#define CBS_SORT 0x0100u
#define CBS_HASSTRINGS 0x0200u
#define CB_GETEDITSEL 0x0140
#define CB_LIMITTEXT 0x0141
#define CB_SETEDITSEL 0x0142
#define CB_ADDSTRING 0x0143
#define CB_DELETESTRING 0x0144
#define CB_GETCOUNT 0x0146
#define CB_GETCURSEL 0x0147
#define CB_GETLBTEXT 0x0148
#define CB_GETLBTEXTLEN 0x0149
#define CB_INSERTSTRING 0x014A
#define CB_RESETCONTENT 0x014B
#define CB_FINDSTRING 0x014C
#define CB_SELECTSTRING 0x014D
#define CB_SETCURSEL 0x014E
#define CB_SHOWDROPDOWN 0x014F
#define CB_GETITEMDATA 0x0150
#define CB_SETITEMDATA 0x0151
#define CB_FINDSTRINGEXACT 0x0158
#define CB_ERR (-1)
#define CB_ERRSPACE (-2)
#define CBN_SELCHANGE 1
#define CBN_DBLCLK 2
#define CBN_SETFOCUS 3
#define CBN_KILLFOCUS 4
#define CBN_EDITCHANGE 5
#define CBN_EDITUPDATE 6
#define CBN_DROPDOWN 7
#define CBN_CLOSEUP 8
#define CBN_SELENDOK 9
#define CBN_SELENDCANCEL 10

// ---- list boxes ---------------------------------------------------------------------------------
#define LBS_NOTIFY 0x0001u
#define LBS_SORT 0x0002u
#define LBS_NOREDRAW 0x0004u
#define LBS_MULTIPLESEL 0x0008u
#define LBS_OWNERDRAWFIXED 0x0010u
#define LBS_OWNERDRAWVARIABLE 0x0020u
#define LBS_HASSTRINGS 0x0040u
#define LBS_NOINTEGRALHEIGHT 0x0100u
#define LBS_EXTENDEDSEL 0x0800u
#define LB_ADDSTRING 0x0180
#define LB_INSERTSTRING 0x0181
#define LB_DELETESTRING 0x0182
#define LB_RESETCONTENT 0x0184
#define LB_SETSEL 0x0185
#define LB_SETCURSEL 0x0186
#define LB_GETSEL 0x0187
#define LB_GETCURSEL 0x0188
#define LB_GETTEXT 0x0189
#define LB_GETTEXTLEN 0x018A
#define LB_GETCOUNT 0x018B
#define LB_SELECTSTRING 0x018C
#define LB_GETTOPINDEX 0x018E
#define LB_FINDSTRING 0x018F
#define LB_GETSELCOUNT 0x0190
#define LB_GETSELITEMS 0x0191
#define LB_GETITEMRECT 0x0198
#define LB_GETITEMDATA 0x0199
#define LB_SETITEMDATA 0x019A
#define LB_FINDSTRINGEXACT 0x01A2
#define LB_ERR (-1)
#define LBN_SELCHANGE 1
#define LBN_DBLCLK 2
#define LBN_SELCANCEL 3
#define LBN_SETFOCUS 4
#define LBN_KILLFOCUS 5

// ---- scroll bars --------------------------------------------------------------------------------
#define SBS_HORZ 0x0000u
#define SBS_VERT 0x0001u
#define SB_HORZ 0
#define SB_VERT 1
#define SB_CTL 2
#define SB_BOTH 3
#define SB_LINEUP 0
#define SB_LINELEFT 0
#define SB_LINEDOWN 1
#define SB_LINERIGHT 1
#define SB_PAGEUP 2
#define SB_PAGELEFT 2
#define SB_PAGEDOWN 3
#define SB_PAGERIGHT 3
#define SB_THUMBPOSITION 4
#define SB_THUMBTRACK 5
#define SB_TOP 6
#define SB_BOTTOM 7
#define SB_ENDSCROLL 8
#define SIF_RANGE 0x0001u
#define SIF_PAGE 0x0002u
#define SIF_POS 0x0004u
#define SIF_DISABLENOSCROLL 0x0008u
#define SIF_TRACKPOS 0x0010u
#define SIF_ALL (SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS)
#define ESB_ENABLE_BOTH 0x0000u
#define ESB_DISABLE_BOTH 0x0003u

struct tagSCROLLINFO {
    UINT cbSize;
    UINT fMask;
    int nMin;
    int nMax;
    UINT nPage;
    int nPos;
    int nTrackPos;
};
typedef tagSCROLLINFO SCROLLINFO;
typedef SCROLLINFO* LPSCROLLINFO;

// ---- menus --------------------------------------------------------------------------------------
#define MF_STRING 0x0000u
#define MF_ENABLED 0x0000u
#define MF_UNCHECKED 0x0000u
#define MF_BYCOMMAND 0x0000u
#define MF_GRAYED 0x0001u
#define MF_DISABLED 0x0002u
#define MF_CHECKED 0x0008u
#define MF_POPUP 0x0010u
#define MF_BYPOSITION 0x0400u
#define MF_SEPARATOR 0x0800u
#define TPM_LEFTALIGN 0x0000u
#define TPM_LEFTBUTTON 0x0000u
#define TPM_RIGHTBUTTON 0x0002u
#define TPM_NONOTIFY 0x0080u
#define TPM_RETURNCMD 0x0100u

// ---- owner drawing ------------------------------------------------------------------------------
#define ODT_MENU 1
#define ODT_LISTBOX 2
#define ODT_COMBOBOX 3
#define ODT_BUTTON 4
#define ODT_STATIC 5
#define ODT_LISTVIEW 102
#define ODA_DRAWENTIRE 0x0001u
#define ODA_SELECT 0x0002u
#define ODA_FOCUS 0x0004u
#define ODS_SELECTED 0x0001u
#define ODS_GRAYED 0x0002u
#define ODS_DISABLED 0x0004u
#define ODS_CHECKED 0x0008u
#define ODS_FOCUS 0x0010u
#define ODS_COMBOBOXEDIT 0x1000u

struct tagDRAWITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemAction;
    UINT itemState;
    HWND hwndItem;
    HDC hDC;
    RECT rcItem;
    ULONG_PTR itemData;
};
typedef tagDRAWITEMSTRUCT DRAWITEMSTRUCT;
typedef DRAWITEMSTRUCT* LPDRAWITEMSTRUCT;

struct tagMEASUREITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemWidth;
    UINT itemHeight;
    ULONG_PTR itemData;
};
typedef tagMEASUREITEMSTRUCT MEASUREITEMSTRUCT;
typedef MEASUREITEMSTRUCT* LPMEASUREITEMSTRUCT;

// ---- common-control notifications ---------------------------------------------------------------
struct tagNMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
};
typedef tagNMHDR NMHDR;
typedef NMHDR* LPNMHDR;

#define NM_CLICK ((UINT)-2)
#define NM_DBLCLK ((UINT)-3)
#define NM_RETURN ((UINT)-4)
#define NM_RCLICK ((UINT)-5)
#define NM_RDBLCLK ((UINT)-6)
#define NM_SETFOCUS ((UINT)-7)
#define NM_KILLFOCUS ((UINT)-8)

struct tagSYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};
typedef tagSYSTEMTIME SYSTEMTIME;
typedef SYSTEMTIME* LPSYSTEMTIME;

// ---- list views ---------------------------------------------------------------------------------
#define LVS_ICON 0x0000u
#define LVS_REPORT 0x0001u
#define LVS_SMALLICON 0x0002u
#define LVS_LIST 0x0003u
#define LVS_TYPEMASK 0x0003u
#define LVS_SINGLESEL 0x0004u
#define LVS_SHOWSELALWAYS 0x0008u
#define LVS_SORTASCENDING 0x0010u
#define LVS_SORTDESCENDING 0x0020u
#define LVS_SHAREIMAGELISTS 0x0040u
#define LVS_NOLABELWRAP 0x0080u
#define LVS_AUTOARRANGE 0x0100u
#define LVS_EDITLABELS 0x0200u
#define LVS_OWNERDRAWFIXED 0x0400u  // report view: the parent draws each row (WM_DRAWITEM, ODT_LISTVIEW)
#define LVS_NOSCROLL 0x2000u
#define LVS_NOCOLUMNHEADER 0x4000u
#define LVS_NOSORTHEADER 0x8000u
#define LVS_EX_GRIDLINES 0x0001u
#define LVS_EX_FULLROWSELECT 0x0020u
#define LVIS_FOCUSED 0x0001u
#define LVIS_SELECTED 0x0002u
#define LVIS_CUT 0x0004u
#define LVIS_DROPHILITED 0x0008u
#define LVIF_TEXT 0x0001u
#define LVIF_IMAGE 0x0002u
#define LVIF_PARAM 0x0004u
#define LVIF_STATE 0x0008u
#define LVNI_ALL 0x0000u
#define LVNI_FOCUSED 0x0001u
#define LVNI_SELECTED 0x0002u
#define LVFI_PARAM 0x0001u
#define LVFI_STRING 0x0002u
#define LVFI_PARTIAL 0x0008u
#define LVSIL_NORMAL 0
#define LVSIL_SMALL 1
#define LVSIL_STATE 2
#define LVCFMT_LEFT 0
#define LVCFMT_RIGHT 1
#define LVCFMT_CENTER 2
#define LVCF_FMT 0x0001u
#define LVCF_WIDTH 0x0002u
#define LVCF_TEXT 0x0004u
#define LVCF_SUBITEM 0x0008u
#define LVHT_NOWHERE 0x0001u
#define LVHT_ONITEMICON 0x0002u
#define LVHT_ONITEMLABEL 0x0004u
#define LVHT_ONITEMSTATEICON 0x0008u
#define LVHT_ONITEM (LVHT_ONITEMICON | LVHT_ONITEMLABEL | LVHT_ONITEMSTATEICON)
#define LVHT_ABOVE 0x0008u
#define LVHT_BELOW 0x0010u
#define LVIR_BOUNDS 0
#define LVIR_ICON 1
#define LVIR_LABEL 2
#define LVN_ITEMCHANGING ((UINT)-100)
#define LVN_ITEMCHANGED ((UINT)-101)
#define LVN_INSERTITEM ((UINT)-102)
#define LVN_DELETEITEM ((UINT)-103)
#define LVN_DELETEALLITEMS ((UINT)-104)
#define LVN_BEGINLABELEDIT ((UINT)-105)
#define LVN_ENDLABELEDIT ((UINT)-106)
#define LVN_COLUMNCLICK ((UINT)-108)
#define LVN_BEGINDRAG ((UINT)-109)
#define LVN_BEGINRDRAG ((UINT)-111)
#define LVN_KEYDOWN ((UINT)-155)

struct tagLVITEMA {
    UINT mask;
    int iItem;
    int iSubItem;
    UINT state;
    UINT stateMask;
    LPSTR pszText;
    int cchTextMax;
    int iImage;
    LPARAM lParam;
    int iIndent;
};
typedef tagLVITEMA LVITEM;
typedef LVITEM* LPLVITEM;

struct tagLVCOLUMNA {
    UINT mask;
    int fmt;
    int cx;
    LPSTR pszText;
    int cchTextMax;
    int iSubItem;
};
typedef tagLVCOLUMNA LVCOLUMN;

struct tagNMLISTVIEW {
    NMHDR hdr;
    int iItem;
    int iSubItem;
    UINT uNewState;
    UINT uOldState;
    UINT uChanged;
    POINT ptAction;
    LPARAM lParam;
};
typedef tagNMLISTVIEW NMLISTVIEW;
typedef NMLISTVIEW* LPNMLISTVIEW;
typedef NMLISTVIEW NM_LISTVIEW;

struct tagNMITEMACTIVATE {
    NMHDR hdr;
    int iItem;
    int iSubItem;
    UINT uNewState;
    UINT uOldState;
    UINT uChanged;
    POINT ptAction;
    LPARAM lParam;
    UINT uKeyFlags;
};
typedef tagNMITEMACTIVATE NMITEMACTIVATE;
typedef NMITEMACTIVATE* LPNMITEMACTIVATE;

struct tagLVFINDINFOA {
    UINT flags;
    LPCSTR psz;
    LPARAM lParam;
    POINT pt;
    UINT vkDirection;
};
typedef tagLVFINDINFOA LVFINDINFO;

struct tagLVHITTESTINFO {
    POINT pt;
    UINT flags;
    int iItem;
    int iSubItem;
};
typedef tagLVHITTESTINFO LVHITTESTINFO;

struct tagLVDISPINFO {
    NMHDR hdr;
    LVITEM item;
};
typedef tagLVDISPINFO NMLVDISPINFO;
typedef tagLVDISPINFO LV_DISPINFO;

// ---- tree views ---------------------------------------------------------------------------------
#define TVS_HASBUTTONS 0x0001u
#define TVS_HASLINES 0x0002u
#define TVS_LINESATROOT 0x0004u
#define TVS_EDITLABELS 0x0008u
#define TVS_DISABLEDRAGDROP 0x0010u
#define TVS_SHOWSELALWAYS 0x0020u
#define TVIS_SELECTED 0x0002u
#define TVIS_CUT 0x0004u
#define TVIS_DROPHILITED 0x0008u
#define TVIS_BOLD 0x0010u
#define TVIS_EXPANDED 0x0020u
#define TVIS_EXPANDEDONCE 0x0040u
#define TVIS_OVERLAYMASK 0x0F00u
#define TVIS_STATEIMAGEMASK 0xF000u
#define TVIF_TEXT 0x0001u
#define TVIF_IMAGE 0x0002u
#define TVIF_PARAM 0x0004u
#define TVIF_STATE 0x0008u
#define TVIF_HANDLE 0x0010u
#define TVIF_SELECTEDIMAGE 0x0020u
#define TVIF_CHILDREN 0x0040u
#define TVI_ROOT ((HTREEITEM)(ULONG_PTR)-0x10000)
#define TVI_FIRST ((HTREEITEM)(ULONG_PTR)-0x0FFFF)
#define TVI_LAST ((HTREEITEM)(ULONG_PTR)-0x0FFFE)
#define TVI_SORT ((HTREEITEM)(ULONG_PTR)-0x0FFFD)
#define TVGN_ROOT 0x0000u
#define TVGN_NEXT 0x0001u
#define TVGN_PREVIOUS 0x0002u
#define TVGN_PARENT 0x0003u
#define TVGN_CHILD 0x0004u
#define TVGN_FIRSTVISIBLE 0x0005u
#define TVGN_NEXTVISIBLE 0x0006u
#define TVGN_PREVIOUSVISIBLE 0x0007u
#define TVGN_DROPHILITE 0x0008u
#define TVGN_CARET 0x0009u
#define TVE_COLLAPSE 0x0001u
#define TVE_EXPAND 0x0002u
#define TVE_TOGGLE 0x0003u
#define TVC_UNKNOWN 0x0000u
#define TVC_BYMOUSE 0x0001u
#define TVC_BYKEYBOARD 0x0002u
#define TVHT_NOWHERE 0x0001u
#define TVHT_ONITEMICON 0x0002u
#define TVHT_ONITEMLABEL 0x0004u
#define TVHT_ONITEMINDENT 0x0008u
#define TVHT_ONITEMBUTTON 0x0010u
#define TVHT_ONITEMRIGHT 0x0020u
#define TVHT_ONITEMSTATEICON 0x0040u
#define TVHT_ONITEM (TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON)
#define TVHT_ABOVE 0x0100u
#define TVHT_BELOW 0x0200u
#define TVSIL_NORMAL 0
#define TVSIL_STATE 2
#define TVN_SELCHANGING ((UINT)-401)
#define TVN_SELCHANGED ((UINT)-402)
#define TVN_ITEMEXPANDING ((UINT)-405)
#define TVN_ITEMEXPANDED ((UINT)-406)
#define TVN_BEGINDRAG ((UINT)-407)
#define TVN_BEGINRDRAG ((UINT)-408)
#define TVN_DELETEITEM ((UINT)-409)
#define TVN_BEGINLABELEDIT ((UINT)-410)
#define TVN_ENDLABELEDIT ((UINT)-411)
#define TVN_KEYDOWN ((UINT)-412)

struct tagTVITEMA {
    UINT mask;
    HTREEITEM hItem;
    UINT state;
    UINT stateMask;
    LPSTR pszText;
    int cchTextMax;
    int iImage;
    int iSelectedImage;
    int cChildren;
    LPARAM lParam;
};
typedef tagTVITEMA TVITEM;
typedef TVITEM* LPTVITEM;
typedef TVITEM TV_ITEM;

struct tagTVINSERTSTRUCTA {
    HTREEITEM hParent;
    HTREEITEM hInsertAfter;
    TVITEM item;
};
typedef tagTVINSERTSTRUCTA TVINSERTSTRUCT;

struct tagNMTREEVIEWA {
    NMHDR hdr;
    UINT action;
    TVITEM itemOld;
    TVITEM itemNew;
    POINT ptDrag;
};
typedef tagNMTREEVIEWA NMTREEVIEW;
typedef NMTREEVIEW* LPNMTREEVIEW;
typedef NMTREEVIEW NM_TREEVIEW;

struct tagTVDISPINFOA {
    NMHDR hdr;
    TVITEM item;
};
typedef tagTVDISPINFOA NMTVDISPINFO;
typedef tagTVDISPINFOA TV_DISPINFO;

struct tagTVHITTESTINFO {
    POINT pt;
    UINT flags;
    HTREEITEM hItem;
};
typedef tagTVHITTESTINFO TVHITTESTINFO;

struct tagNMTVKEYDOWN {
    NMHDR hdr;
    WORD wVKey;
    UINT flags;
};
typedef tagNMTVKEYDOWN NMTVKEYDOWN;
typedef tagNMTVKEYDOWN NMLVKEYDOWN;

// ---- date-time pickers --------------------------------------------------------------------------
#define DTS_SHORTDATEFORMAT 0x0000u
#define DTS_UPDOWN 0x0001u
#define DTS_SHOWNONE 0x0002u
#define DTS_LONGDATEFORMAT 0x0004u
#define DTS_TIMEFORMAT 0x0009u
#define GDT_ERROR (-1)
#define GDT_VALID 0
#define GDT_NONE 1
#define DTN_DATETIMECHANGE ((UINT)-759)

struct tagNMDATETIMECHANGE {
    NMHDR nmhdr;
    DWORD dwFlags;
    SYSTEMTIME st;
};
typedef tagNMDATETIMECHANGE NMDATETIMECHANGE;

// ---- image lists --------------------------------------------------------------------------------
#define ILC_MASK 0x0001u
#define ILC_COLOR 0x0000u
#define ILC_COLOR4 0x0004u
#define ILC_COLOR8 0x0008u
#define ILC_COLOR24 0x0018u
#define ILC_COLOR32 0x0020u
#define ILD_NORMAL 0x0000u
#define ILD_TRANSPARENT 0x0001u
#define CLR_NONE 0xFFFFFFFFu
#define CLR_DEFAULT 0xFF000000u

// ---- window classes and creation ----------------------------------------------------------------
struct tagWNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
};
typedef tagWNDCLASSA WNDCLASS;

struct tagCREATESTRUCTA {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCSTR lpszName;
    LPCSTR lpszClass;
    DWORD dwExStyle;
};
typedef tagCREATESTRUCTA CREATESTRUCT;
typedef CREATESTRUCT* LPCREATESTRUCT;

struct tagMSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};
typedef tagMSG MSG;
typedef MSG* LPMSG;

#define PM_NOREMOVE 0x0000u
#define PM_REMOVE 0x0001u

// Registers a class by name (case-insensitive). FALSE when the name is taken or the procedure missing.
BOOL RegisterClassA(const WNDCLASS* wc);
#define RegisterClass RegisterClassA
BOOL GetClassInfoA(HINSTANCE hInstance, LPCSTR lpszClass, WNDCLASS* wc);
#define GetClassInfo GetClassInfoA
// The class name (GBK), at most nMax - 1 bytes; the length copied, 0 for a bad window.
int GetClassNameA(HWND hwnd, LPSTR buf, int nMax);
#define GetClassName GetClassNameA

// Creates a window of a registered class. x, y are relative to the parent's client area (the screen for
// a window without parent); hMenu is the control id of a child. The class procedure receives
// WM_NCCREATE and WM_CREATE (a -1 from WM_CREATE or FALSE from WM_NCCREATE destroys it again and gives
// NULL). NULL for an unknown class or a bad parent.
HWND CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int x, int y,
                     int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam);
#define CreateWindowEx CreateWindowExA
// Destroys the window's children first (each gets WM_DESTROY, then WM_NCDESTROY), releases its focus,
// capture and timers, and removes its posted messages. FALSE for a bad handle.
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
#define SendMessage SendMessageA
// Queued; dispatched by PumpMessages, DispatchMessage or a message loop. FALSE for a bad handle.
BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
#define PostMessage PostMessageA
void PostQuitMessage(int nExitCode);
// The next queued message. With an empty queue the user hook is asked to feed it; if it stays empty
// the loop is told to stop (GetMessage returns FALSE as for WM_QUIT, with msg WM_QUIT).
BOOL GetMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax);
#define GetMessage GetMessageA
BOOL PeekMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg);
#define PeekMessage PeekMessageA
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageA(const MSG* msg);
#define DispatchMessage DispatchMessageA
LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
#define CallWindowProc CallWindowProcA
// Handles what every window does by default: WM_SETTEXT/WM_GETTEXT(LENGTH) on the record's text,
// WM_NCCREATE TRUE, WM_CLOSE destroys, WM_PAINT validates, WM_NCHITTEST the part of the window under
// the screen point in lParam (HTCLIENT, HTVSCROLL or HTHSCROLL over the window's own bars, HTNOWHERE
// outside), WM_SETCURSOR as the system does (see SendSetCursor), everything else 0.
LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
#define DefWindowProc DefWindowProcA

LONG_PTR GetWindowLongPtrA(HWND hwnd, int index);
LONG_PTR SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value);  // the previous value
#define GetWindowLongPtr GetWindowLongPtrA
#define SetWindowLongPtr SetWindowLongPtrA
#define GetWindowLong(h, i) ((LONG)GetWindowLongPtrA(h, i))
#define SetWindowLong(h, i, v) ((LONG)SetWindowLongPtrA(h, i, v))
// One extra pointer per window for the class procedure's own state (cbWndExtra).
void* GetWindowExtra(HWND hwnd);
void SetWindowExtra(HWND hwnd, void* p);

HWND GetParent(HWND hwnd);
HWND GetDlgItem(HWND hDlg, int nID);  // a direct child with the id, the first created; NULL if none
int GetDlgCtrlID(HWND hwnd);
BOOL IsChild(HWND hParent, HWND hwnd);  // any depth
HWND GetDesktopWindow();
HWND GetWindow(HWND hwnd, UINT cmd);
#define GW_HWNDNEXT 2
#define GW_HWNDPREV 3
#define GW_CHILD 5
// Children in creation order (which is also the tab and z order here).
std::vector<HWND> GetChildWindows(HWND hwnd);
// Every top-level window in creation order.
std::vector<HWND> GetTopLevelWindows();

BOOL SetWindowTextA(HWND hwnd, LPCSTR text);
#define SetWindowText SetWindowTextA
int GetWindowTextA(HWND hwnd, LPSTR buf, int nMax);
#define GetWindowText GetWindowTextA
int GetWindowTextLengthA(HWND hwnd);
#define GetWindowTextLength GetWindowTextLengthA
// The record's text without a message (what a screen shows).
std::string GetWindowTextRaw(HWND hwnd);
BOOL SetDlgItemTextA(HWND hDlg, int nID, LPCSTR text);
#define SetDlgItemText SetDlgItemTextA
UINT GetDlgItemTextA(HWND hDlg, int nID, LPSTR buf, int nMax);
#define GetDlgItemText GetDlgItemTextA

BOOL ShowWindow(HWND hwnd, int nCmdShow);  // the previous visibility
BOOL IsWindowVisible(HWND hwnd);             // the window and all its ancestors carry WS_VISIBLE
BOOL EnableWindow(HWND hwnd, BOOL bEnable);  // TRUE if it was disabled before
BOOL IsWindowEnabled(HWND hwnd);

BOOL MoveWindow(HWND hwnd, int x, int y, int w, int h, BOOL bRepaint);
BOOL GetWindowRect(HWND hwnd, LPRECT rc);  // screen coordinates
// (0, 0, width, height) less the window's own scroll bars where it shows them (WS_VSCROLL: the
// SM_CXVSCROLL pixels at the right, WS_HSCROLL: the SM_CYHSCROLL pixels at the bottom). The client
// area begins at the window's top left corner, so client and window coordinates agree.
BOOL GetClientRect(HWND hwnd, LPRECT rc);
BOOL ScreenToClient(HWND hwnd, LPPOINT pt);
BOOL ClientToScreen(HWND hwnd, LPPOINT pt);
int MapWindowPoints(HWND from, HWND to, LPPOINT pts, UINT n);
// The deepest visible window whose rectangle holds the screen point (disabled ones included, as the
// hit test of the system does for child windows); NULL when none. A point over a window's own scroll
// bar is that window's, never a child's.
HWND WindowFromPoint(POINT pt);
HWND ChildWindowFromPoint(HWND hParent, POINT ptClient);

// Sends WM_KILLFOCUS to the old window, then WM_SETFOCUS to the new one; the previous focus.
HWND SetFocus(HWND hwnd);
HWND GetFocus();
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
HWND SetCapture(HWND hwnd);  // the previous capture; the old one gets WM_CAPTURECHANGED
BOOL ReleaseCapture();
HWND GetCapture();

// Marks the window dirty (UpdateWindow and PaintDirtyWindows send WM_PAINT then).
BOOL InvalidateRect(HWND hwnd, const RECT* rc, BOOL bErase);
BOOL ValidateRect(HWND hwnd, const RECT* rc);
BOOL UpdateWindow(HWND hwnd);
BOOL IsWindowDirty(HWND hwnd);
// Every dirty visible window receives WM_PAINT, parents before children; the number painted. A
// handler that does not validate is flagged in the log (GetUserLog) and then validated.
int PaintDirtyWindows();

// Timers are recorded; they fire only when a driver calls FireTimer (WM_TIMER, or the TIMERPROC).
UINT_PTR SetTimer(HWND hwnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR nIDEvent);
BOOL HasTimer(HWND hwnd, UINT_PTR nIDEvent);
UINT GetTimerElapse(HWND hwnd, UINT_PTR nIDEvent);  // 0 when the timer is not set
BOOL FireTimer(HWND hwnd, UINT_PTR nIDEvent);        // FALSE when the timer is not set

// The cursor position in screen coordinates, and the state of keys, are what a driver sets.
BOOL GetCursorPos(LPPOINT pt);
BOOL SetCursorPos(int x, int y);
SHORT GetKeyState(int vk);  // negative while the key is down
SHORT GetAsyncKeyState(int vk);
void SetKeyDown(int vk, bool down);
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
// What the system does as a mouse message is about to reach a window while no window holds the
// capture: asks the window which part of it lies under the cursor position (WM_NCHITTEST) and sends it
// WM_SETCURSOR (wParam the window, LOWORD(lParam) that hit-test code, HIWORD(lParam) the mouse
// message). A child that does not answer it passes it to its parent (DefWindowProc); when no one does,
// the client area shows the class cursor of the window under the mouse (a class without one leaves the
// cursor as it is) and the rest of the window, its scroll bars, the arrow. Returns the hit-test code,
// HTNOWHERE (and sends nothing) while a window holds the capture.
int SendSetCursor(HWND hwnd, UINT mouseMsg);
namespace win32 {
// The system's cursor of a standard IDC_ number (32512 the arrow, 32513 the text cursor, 32642 to 32646
// the sizing ones), the same handle on every call; NULL for other numbers.
HCURSOR StandardCursor(WORD id);
}  // namespace win32

// System metrics, as Windows gives them at 96 dots per inch; 0 for others.
#define SM_CXVSCROLL 2  // the width of a vertical scroll bar: 17
#define SM_CYHSCROLL 3  // the height of a horizontal scroll bar: 17
int GetSystemMetrics(int nIndex);

// Scroll bars: a window's own (SB_HORZ, SB_VERT) or a scroll-bar control (SB_CTL).
int SetScrollInfo(HWND hwnd, int nBar, const SCROLLINFO* si, BOOL bRedraw);  // the new position
BOOL GetScrollInfo(HWND hwnd, int nBar, LPSCROLLINFO si);
int SetScrollPos(HWND hwnd, int nBar, int nPos, BOOL bRedraw);  // the previous position
int GetScrollPos(HWND hwnd, int nBar);
BOOL SetScrollRange(HWND hwnd, int nBar, int nMin, int nMax, BOOL bRedraw);
BOOL GetScrollRange(HWND hwnd, int nBar, LPINT lpMin, LPINT lpMax);
// SetScrollInfo with a new range or page shows a window's own bar when the page leaves part of the range out
// of view and hides it when the page covers the whole range (SIF_DISABLENOSCROLL: left as it is).
BOOL ShowScrollBar(HWND hwnd, int nBar, BOOL bShow);
BOOL EnableScrollBar(HWND hwnd, UINT wSBflags, UINT wArrows);
BOOL IsScrollBarShown(HWND hwnd, int nBar);

// ---- menus --------------------------------------------------------------------------------------
HMENU CreatePopupMenu();
HMENU CreateMenu();
BOOL DestroyMenu(HMENU hMenu);
BOOL AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem);
#define AppendMenu AppendMenuA
BOOL InsertMenuA(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem);
#define InsertMenu InsertMenuA
BOOL DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags);
int GetMenuItemCount(HMENU hMenu);
UINT GetMenuItemID(HMENU hMenu, int nPos);  // 0 for a separator, -1 for a submenu or a bad position
UINT GetMenuState(HMENU hMenu, UINT uId, UINT uFlags);
int GetMenuStringA(HMENU hMenu, UINT uIDItem, LPSTR buf, int nMax, UINT uFlag);
#define GetMenuString GetMenuStringA
DWORD CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck);
BOOL EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable);
HMENU GetSubMenu(HMENU hMenu, int nPos);
// Shows the menu (the user hook chooses). Without TPM_RETURNCMD the chosen command is posted to the
// owner as WM_COMMAND, so it runs after the caller returns, and the result is TRUE when one was chosen;
// with TPM_RETURNCMD the command id is returned (0 when dismissed).
BOOL TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int nReserved, HWND hWnd, const RECT* prcRect);

// One menu as the user sees it.
struct MenuItemInfo {
    UINT id;           // 0 for a separator
    std::string text;  // GBK
    UINT flags;        // MF_SEPARATOR, MF_GRAYED, MF_CHECKED, MF_POPUP
    std::vector<MenuItemInfo> sub;
};
std::vector<MenuItemInfo> GetMenuItems(HMENU hMenu);

// ---- image lists --------------------------------------------------------------------------------
// An image list is a row of cx x cy images in one 32-bit bitmap; with ILC_MASK the mask colour marks
// transparent pixels.
HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int cInitial, int cGrow);
BOOL ImageList_Destroy(HIMAGELIST himl);
// Adds every image of the bitmap (its width divided by cx); the index of the first, -1 on failure.
int ImageList_Add(HIMAGELIST himl, HBITMAP hbmImage, HBITMAP hbmMask);
int ImageList_AddMasked(HIMAGELIST himl, HBITMAP hbmImage, COLORREF crMask);
int ImageList_GetImageCount(HIMAGELIST himl);
BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy);
BOOL ImageList_Remove(HIMAGELIST himl, int i);  // -1 removes all
BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle);
// The drag image: BeginDrag takes one image and its hot spot; DragEnter locks the window and shows the
// image at a point of the window; DragMove moves it; DragLeave hides it; EndDrag ends the drag. The
// state is readable through ImageList_GetDragState.
BOOL ImageList_BeginDrag(HIMAGELIST himlTrack, int iTrack, int dxHotspot, int dyHotspot);
BOOL ImageList_DragEnter(HWND hwndLock, int x, int y);
BOOL ImageList_DragMove(int x, int y);
BOOL ImageList_DragShowNolock(BOOL fShow);
BOOL ImageList_DragLeave(HWND hwndLock);
void ImageList_EndDrag();
struct ImageListDragState {
    bool dragging = false;  // between BeginDrag and EndDrag
    HIMAGELIST image = nullptr;
    int index = -1;
    POINT hotSpot{0, 0};
    HWND lock = nullptr;  // the window of DragEnter, until DragLeave
    bool shown = false;
    POINT pos{0, 0};  // last position, relative to the lock window
};
ImageListDragState ImageList_GetDragState();

// ---- message boxes ------------------------------------------------------------------------------
// Through the user hook; without one, the default button. Recorded in the user log.
int MessageBoxA(HWND hwnd, LPCSTR text, LPCSTR caption, UINT type);
#define MessageBox MessageBoxA
// The button a box of this type answers by default (its default button).
int MessageBoxDefaultAnswer(UINT type);

// ---- the user, a driver and observers -----------------------------------------------------------
namespace win32 {

// What a person does, installed by a driver. Each member may be empty.
struct UserHooks {
    // The chosen command id, or 0 to dismiss. items lists the menu.
    std::function<UINT(HWND owner, const std::vector<MenuItemInfo>& items, POINT pt)> popupMenu;
    // The button pressed.
    std::function<int(HWND owner, const std::string& text, const std::string& caption, UINT type)> messageBox;
    // Called when a message loop waits on an empty queue; it may post messages. Returning false ends the
    // loop (as WM_QUIT).
    std::function<bool()> emptyQueue;
};
void SetUserHooks(const UserHooks& hooks);
const UserHooks& GetUserHooks();

// Called when a window record exists but before its WM_NCCREATE (create), and after its WM_NCDESTROY
// (destroy), for an object layer that attaches objects to windows. NULL removes a hook.
void SetWindowLifeHooks(void (*create)(HWND), void (*destroy)(HWND));

// For a screen that shows the windows (the class library's screen hook installs these). The change hook
// runs whenever a window's record changes in a way a screen shows: created, text, style, enabled or
// visible state, geometry, scroll bars, focus, invalidation (a control's items and checks invalidate)
// and a finished paint. The screen's user hooks answer what the driver's hooks (SetUserHooks) leave
// empty, member by member. Empty members remove them.
void SetWindowChangeHook(std::function<void(HWND)> changed);
// Told when a timer is set (elapse its period in milliseconds, at least 1) and when it goes (elapse 0:
// killed, its window destroyed, or the manager reset), so that a screen can make it fire in time.
void SetTimerHook(std::function<void(HWND hwnd, UINT_PTR nIDEvent, UINT elapse)> changed);
void SetScreenUserHooks(const UserHooks& hooks);

// Every message sent or posted, for a spy. from is the window whose procedure was running when the
// message was sent (NULL from outside any procedure).
struct SpyRecord {
    bool posted;
    HWND from;
    HWND to;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};
// A spy sees every message; NULL removes it. A screen reading the model to show it takes the spy away
// while it reads (GetMessageSpy, then puts it back), so the spy sees only what the program and the
// person cause.
void SetMessageSpy(std::function<void(const SpyRecord&)> spy);
std::function<void(const SpyRecord&)> GetMessageSpy();

// Events a person would have seen or a developer should know about: message boxes, popup menus,
// waiting loops, paint handlers that never validated. One line each, GBK.
const std::vector<std::string>& GetUserLog();
void ClearUserLog();
void AppendUserLog(const std::string& line);

// Dispatches posted messages until the queue is empty (at most a bound, against endless re-posting);
// the number dispatched.
int PumpMessages();
size_t GetQueueLength();
// Destroys every window, timer, menu and image list, clears the queue, focus, capture, key state and
// cursor. For tests between cases.
void ResetWindowManager();

// DLU to pixels for the dialog font (9-point 宋体 at 96 dpi): x * 6 / 4, y * 12 / 8.
inline int DluToPixelX(int x) { return x * 6 / 4; }
inline int DluToPixelY(int y) { return y * 12 / 8; }

}  // namespace win32
