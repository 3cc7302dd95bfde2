// Windows as objects: CWnd over a window of the window manager (win32/winuser.h), message maps, and
// command routing with notification reflection.
//
// A CWnd is attached to at most one window (m_hWnd). A CWnd that created or subclassed its window gets
// every message through WindowProc: its message map and the maps of its base classes are searched
// first, then DefWindowProc passes the message to the window class's own procedure. Control
// notifications (WM_COMMAND, WM_NOTIFY) are offered to the control's own CWnd first (reflection:
// ON_CONTROL_REFLECT, ON_NOTIFY_REFLECT) and then to the parent's map.
//
// FromHandle gives the object attached to a window, or for a window no object claims (the controls of
// a dialog template) an object of the class library's class for its window class (CButton for "Button",
// CEdit for "Edit", CTreeCtrl for "SysTreeView32" ...), owned by the library and deleted with the
// window. A CWnd without a window (m_hWnd NULL) still receives SendMessage and PostMessage calls
// directly in WindowProc, at once.
//
// Message-map handlers are named by their bare member name, as in
//     BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//         ON_BN_CLICKED(IDC_APPLY, OnApply)
//         ON_NOTIFY(TVN_SELCHANGED, IDC_TREE, OnSelChanged)
//         ON_WM_PAINT()
//     END_MESSAGE_MAP()
// with DECLARE_MESSAGE_MAP() in the class. The handler signatures are those listed at each macro.
#pragma once

#include "afx/Geometry.h"
#include "afx/Object.h"
#include "afx/String.h"
#include "win32/winuser.h"

class CWnd;
class CDC;
class CScrollBar;
class CMenu;
class CFont;
class CDataExchange;

// ---- message maps -------------------------------------------------------------------------------

// Reflected messages: WM_REFLECT_BASE + WM_COMMAND / WM_NOTIFY in the control's own map.
#define WM_REFLECT_BASE 0xBC00u

// A handler: runs the member function; FALSE when it declined (the _EX forms) so the search goes on.
typedef BOOL (*AFX_PMSG)(CWnd* pTarget, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // WM_*, or WM_REFLECT_BASE + WM_COMMAND / WM_NOTIFY; 0 ends the table
    UINT nCode;     // the notification code of WM_COMMAND / WM_NOTIFY entries
    UINT nID;       // the first control or command id
    UINT nLastID;   // the last id of a range
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                        \
protected:                                           \
    static const AFX_MSGMAP* GetThisMessageMap();    \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                        \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                 \
        typedef theClass ThisClass;                                                   \
        typedef baseClass TheBaseClass;                                               \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                                \
    {0, 0, 0, 0, nullptr}};                                                              \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, _messageEntries}; \
    return &messageMap;                                                                  \
    }

#define AFX_THIS(p) static_cast<ThisClass*>(p)
#define AFX_ENTRY(msg, code, id, last, body)                                                                 \
    {msg, code, (UINT)(id), (UINT)(last), [](CWnd* _p, WPARAM wParam, LPARAM lParam, LRESULT* pResult) -> BOOL { \
         (void)wParam; (void)lParam; (void)pResult; body; return TRUE; }},

// Commands and control notifications: void fn()
#define ON_COMMAND(id, fn) AFX_ENTRY(WM_COMMAND, 0, id, id, AFX_THIS(_p)->fn())
#define ON_CONTROL(code, id, fn) AFX_ENTRY(WM_COMMAND, code, id, id, AFX_THIS(_p)->fn())
// void fn(UINT id)
#define ON_COMMAND_RANGE(id, idLast, fn) AFX_ENTRY(WM_COMMAND, 0, id, idLast, AFX_THIS(_p)->fn(LOWORD(wParam)))
#define ON_CONTROL_RANGE(code, id, idLast, fn) AFX_ENTRY(WM_COMMAND, code, id, idLast, AFX_THIS(_p)->fn(LOWORD(wParam)))
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_BN_DOUBLECLICKED(id, fn) ON_CONTROL(BN_DOUBLECLICKED, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_EN_UPDATE(id, fn) ON_CONTROL(EN_UPDATE, id, fn)
#define ON_EN_KILLFOCUS(id, fn) ON_CONTROL(EN_KILLFOCUS, id, fn)
#define ON_EN_SETFOCUS(id, fn) ON_CONTROL(EN_SETFOCUS, id, fn)
#define ON_EN_MAXTEXT(id, fn) ON_CONTROL(EN_MAXTEXT, id, fn)
#define ON_CBN_SELCHANGE(id, fn) ON_CONTROL(CBN_SELCHANGE, id, fn)
#define ON_CBN_KILLFOCUS(id, fn) ON_CONTROL(CBN_KILLFOCUS, id, fn)
#define ON_CBN_SETFOCUS(id, fn) ON_CONTROL(CBN_SETFOCUS, id, fn)
#define ON_CBN_DROPDOWN(id, fn) ON_CONTROL(CBN_DROPDOWN, id, fn)
#define ON_CBN_EDITCHANGE(id, fn) ON_CONTROL(CBN_EDITCHANGE, id, fn)
#define ON_CBN_SELENDOK(id, fn) ON_CONTROL(CBN_SELENDOK, id, fn)
#define ON_CBN_DBLCLK(id, fn) ON_CONTROL(CBN_DBLCLK, id, fn)
#define ON_LBN_SELCHANGE(id, fn) ON_CONTROL(LBN_SELCHANGE, id, fn)
#define ON_LBN_DBLCLK(id, fn) ON_CONTROL(LBN_DBLCLK, id, fn)
#define ON_LBN_KILLFOCUS(id, fn) ON_CONTROL(LBN_KILLFOCUS, id, fn)
#define ON_STN_CLICKED(id, fn) ON_CONTROL(0, id, fn)
// void fn(NMHDR* pNMHDR, LRESULT* pResult)
#define ON_NOTIFY(code, id, fn) \
    AFX_ENTRY(WM_NOTIFY, code, id, id, AFX_THIS(_p)->fn(reinterpret_cast<NMHDR*>(lParam), pResult))
#define ON_NOTIFY_RANGE(code, id, idLast, fn) \
    AFX_ENTRY(WM_NOTIFY, code, id, idLast, AFX_THIS(_p)->fn(LOWORD(wParam), reinterpret_cast<NMHDR*>(lParam), pResult))
// In the control's own map. void fn(NMHDR*, LRESULT*); the _EX form: BOOL fn(NMHDR*, LRESULT*), FALSE
// passes the notification on to the parent.
#define ON_NOTIFY_REFLECT(code, fn) \
    AFX_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, code, 0, 0, AFX_THIS(_p)->fn(reinterpret_cast<NMHDR*>(lParam), pResult))
#define ON_NOTIFY_REFLECT_EX(code, fn)                                                                          \
    {WM_REFLECT_BASE + WM_NOTIFY, code, 0, 0, [](CWnd* _p, WPARAM, LPARAM lParam, LRESULT* pResult) -> BOOL { \
         return AFX_THIS(_p)->fn(reinterpret_cast<NMHDR*>(lParam), pResult); }},
// void fn()
#define ON_CONTROL_REFLECT(code, fn) AFX_ENTRY(WM_REFLECT_BASE + WM_COMMAND, code, 0, 0, AFX_THIS(_p)->fn())
// LRESULT fn(WPARAM, LPARAM)
#define ON_MESSAGE(msg, fn) AFX_ENTRY(msg, 0, 0, 0, *pResult = AFX_THIS(_p)->fn(wParam, lParam))

// Window messages.
#define ON_WM_CREATE() AFX_ENTRY(WM_CREATE, 0, 0, 0, *pResult = AFX_THIS(_p)->OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam)))
#define ON_WM_DESTROY() AFX_ENTRY(WM_DESTROY, 0, 0, 0, AFX_THIS(_p)->OnDestroy())
#define ON_WM_CLOSE() AFX_ENTRY(WM_CLOSE, 0, 0, 0, AFX_THIS(_p)->OnClose())
#define ON_WM_PAINT() AFX_ENTRY(WM_PAINT, 0, 0, 0, AFX_THIS(_p)->OnPaint())
#define ON_WM_ERASEBKGND() \
    AFX_ENTRY(WM_ERASEBKGND, 0, 0, 0, *pResult = AFX_THIS(_p)->OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(wParam))))
#define ON_WM_SIZE() AFX_ENTRY(WM_SIZE, 0, 0, 0, AFX_THIS(_p)->OnSize((UINT)wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)))
#define ON_WM_TIMER() AFX_ENTRY(WM_TIMER, 0, 0, 0, AFX_THIS(_p)->OnTimer((UINT)wParam))
#define ON_WM_SETFOCUS() AFX_ENTRY(WM_SETFOCUS, 0, 0, 0, AFX_THIS(_p)->OnSetFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam))))
#define ON_WM_KILLFOCUS() AFX_ENTRY(WM_KILLFOCUS, 0, 0, 0, AFX_THIS(_p)->OnKillFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam))))
#define AFX_MOUSE(msg, fn) \
    AFX_ENTRY(msg, 0, 0, 0, AFX_THIS(_p)->fn((UINT)wParam, CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))))
// void fn(UINT nFlags, CPoint point)
#define ON_WM_MOUSEMOVE() AFX_MOUSE(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_MOUSE(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_MOUSE(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_MOUSE(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_MOUSE(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_MOUSE(WM_RBUTTONUP, OnRButtonUp)
// BOOL fn(UINT nFlags, short zDelta, CPoint pt)
#define ON_WM_MOUSEWHEEL()                                                                            \
    AFX_ENTRY(WM_MOUSEWHEEL, 0, 0, 0,                                                                 \
              *pResult = AFX_THIS(_p)->OnMouseWheel(LOWORD(wParam), GET_WHEEL_DELTA_WPARAM(wParam), \
                                                    CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))))
// void fn(UINT nChar, UINT nRepCnt, UINT nFlags)
#define ON_WM_KEYDOWN() AFX_ENTRY(WM_KEYDOWN, 0, 0, 0, AFX_THIS(_p)->OnKeyDown((UINT)wParam, LOWORD(lParam), HIWORD(lParam)))
#define ON_WM_KEYUP() AFX_ENTRY(WM_KEYUP, 0, 0, 0, AFX_THIS(_p)->OnKeyUp((UINT)wParam, LOWORD(lParam), HIWORD(lParam)))
#define ON_WM_CHAR() AFX_ENTRY(WM_CHAR, 0, 0, 0, AFX_THIS(_p)->OnChar((UINT)wParam, LOWORD(lParam), HIWORD(lParam)))
// void fn(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
#define ON_WM_VSCROLL()                                                     \
    AFX_ENTRY(WM_VSCROLL, 0, 0, 0,                                          \
              AFX_THIS(_p)->OnVScroll(LOWORD(wParam), HIWORD(wParam),       \
                                      (CScrollBar*)CWnd::FromHandle(reinterpret_cast<HWND>(lParam))))
#define ON_WM_HSCROLL()                                                     \
    AFX_ENTRY(WM_HSCROLL, 0, 0, 0,                                          \
              AFX_THIS(_p)->OnHScroll(LOWORD(wParam), HIWORD(wParam),       \
                                      (CScrollBar*)CWnd::FromHandle(reinterpret_cast<HWND>(lParam))))
// BOOL fn(CWnd* pWnd, UINT nHitTest, UINT message)
#define ON_WM_SETCURSOR()                                                                                    \
    AFX_ENTRY(WM_SETCURSOR, 0, 0, 0,                                                                         \
              *pResult = AFX_THIS(_p)->OnSetCursor(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)), LOWORD(lParam), \
                                                   HIWORD(lParam)))
// void fn(CWnd* pWnd, CPoint pos)
#define ON_WM_CONTEXTMENU()                                                                     \
    AFX_ENTRY(WM_CONTEXTMENU, 0, 0, 0,                                                          \
              AFX_THIS(_p)->OnContextMenu(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)),     \
                                          CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))))
// UINT fn()
#define ON_WM_GETDLGCODE() AFX_ENTRY(WM_GETDLGCODE, 0, 0, 0, *pResult = AFX_THIS(_p)->OnGetDlgCode())
// void fn(UINT nState, CWnd* pWndOther, BOOL bMinimized)
#define ON_WM_ACTIVATE() \
    AFX_ENTRY(WM_ACTIVATE, 0, 0, 0, AFX_THIS(_p)->OnActivate(LOWORD(wParam), CWnd::FromHandle(reinterpret_cast<HWND>(lParam)), HIWORD(wParam)))
// void fn(BOOL bShow, UINT nStatus)
#define ON_WM_SHOWWINDOW() AFX_ENTRY(WM_SHOWWINDOW, 0, 0, 0, AFX_THIS(_p)->OnShowWindow((BOOL)wParam, (UINT)lParam))
// void fn(int nIDCtl, LPDRAWITEMSTRUCT) / void fn(int nIDCtl, LPMEASUREITEMSTRUCT)
#define ON_WM_DRAWITEM() AFX_ENTRY(WM_DRAWITEM, 0, 0, 0, AFX_THIS(_p)->OnDrawItem((int)wParam, reinterpret_cast<LPDRAWITEMSTRUCT>(lParam)); *pResult = TRUE)
#define ON_WM_MEASUREITEM() AFX_ENTRY(WM_MEASUREITEM, 0, 0, 0, AFX_THIS(_p)->OnMeasureItem((int)wParam, reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam)); *pResult = TRUE)
// void fn(UINT nID, LPARAM lParam)
#define ON_WM_SYSCOMMAND() AFX_ENTRY(WM_SYSCOMMAND, 0, 0, 0, AFX_THIS(_p)->OnSysCommand((UINT)wParam, lParam))
// void fn(CWnd* pWnd)
#define ON_WM_CAPTURECHANGED() AFX_ENTRY(WM_CAPTURECHANGED, 0, 0, 0, AFX_THIS(_p)->OnCaptureChanged(CWnd::FromHandle(reinterpret_cast<HWND>(lParam))))

// ---- CWnd ---------------------------------------------------------------------------------------

class CWnd : public CObject {
    DECLARE_DYNAMIC(CWnd)
public:
    CWnd() = default;
    ~CWnd() override;  // destroys a window it still owns
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object of a window (see the top of this file); NULL for NULL or a destroyed window.
    static CWnd* FromHandle(HWND hWnd);
    // Only an object that created or subclassed the window; NULL otherwise.
    static CWnd* FromHandlePermanent(HWND hWnd);

    // Creation. rect is in the parent's client coordinates (the screen without parent). FALSE when the
    // class is unknown or WM_CREATE refused. lpszClassName NULL gives the class library's plain class.
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, void* pContext = nullptr);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                          const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
    virtual BOOL DestroyWindow();
    // Attaches without taking the messages (Attach) or with them (SubclassWindow). FALSE when this
    // object has a window already, the handle is bad or another object claims it.
    BOOL Attach(HWND hWnd);
    HWND Detach();
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    // Messages. Without a window the message goes to WindowProc at once (Post too).
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // TRUE when the map (or a built-in handler) took the message.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Looks nID / nCode up in the map (WM_COMMAND entries); TRUE when handled.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo);
    // Keys and mouse messages a driver delivers pass here first, from the target up to the top window
    // (WalkPreTranslateTree); TRUE stops them.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);
    // A reflected notification for this control; TRUE when its own map took it.
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    const MSG* GetCurrentMessage();

    // Hierarchy and identity.
    CWnd* GetDlgItem(int nID) const;
    void GetDlgItem(int nID, HWND* phWnd) const;
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int nID);
    CWnd* GetParent() const;
    CWnd* GetOwner() const { return GetParent(); }
    CWnd* GetTopLevelParent() const;
    BOOL IsChild(const CWnd* pWnd) const;
    static CWnd* GetDesktopWindow();
    CWnd* GetWindow(UINT nCmd) const;
    CWnd* GetNextDlgGroupItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const;
    CWnd* GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const;
    CString GetClassName() const;

    // Text, visibility, state and style.
    void SetWindowText(LPCTSTR lpszString);
    int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const;
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const;
    void SetDlgItemText(int nID, LPCTSTR lpszString);
    int GetDlgItemText(int nID, CString& rString) const;
    int GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE);
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const;
    void CheckDlgButton(int nIDButton, UINT nCheck);
    UINT IsDlgButtonChecked(int nIDButton) const;
    void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
    int GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton);
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    CFont* GetFont() const;

    // Geometry, in pixels.
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void GetWindowRect(LPRECT lpRect) const;
    void GetClientRect(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    void CenterWindow(CWnd* pAlternateOwner = nullptr);
    static CWnd* WindowFromPoint(POINT point);
    CWnd* ChildWindowFromPoint(POINT point) const;

    // Painting. GetDC / ReleaseDC pair (the DC belongs to the window).
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void ValidateRect(LPCRECT lpRect);
    void UpdateWindow();
    BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, void* prgnUpdate = nullptr, UINT flags = 0);
    CDC* GetDC();
    int ReleaseDC(CDC* pDC);

    // Focus and capture.
    CWnd* SetFocus();
    static CWnd* GetFocus();
    CWnd* SetCapture();
    static CWnd* GetCapture();
    static BOOL ReleaseCapture() { return ::ReleaseCapture(); }
    CWnd* SetActiveWindow();
    static CWnd* GetActiveWindow();
    BOOL SetForegroundWindow() { SetActiveWindow(); return TRUE; }

    // Timers (fired by a driver).
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);

    // The window's own scroll bars (SB_HORZ, SB_VERT), or this scroll-bar control (SB_CTL).
    int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE);
    int GetScrollPos(int nBar) const;
    void SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
    void GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const;
    BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
    BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL);
    int GetScrollLimit(int nBar);
    void ShowScrollBar(UINT nBar, BOOL bShow = TRUE);
    BOOL EnableScrollBar(int nSBFlags, UINT nArrowFlags = ESB_ENABLE_BOTH);

    // Message boxes go through the user driver like AfxMessageBox; caption NULL is the application's name.
    int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption = nullptr, UINT nType = MB_OK);

    // The last step of a destroyed window's life (WM_NCDESTROY): the object is detached, then this runs.
    virtual void PostNcDestroy() {}
    // Runs DoDataExchange; FALSE when an exchange failed (its message shown, the field focused).
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

protected:
    // The map search; a derived class with DECLARE_MESSAGE_MAP overrides GetMessageMap.
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
    // Empty handlers for the message-map macros (a class declares its own to receive them).
    LRESULT Default();
    virtual void DoDataExchange(CDataExchange* pDX) { (void)pDX; }

    WNDPROC m_pfnSuper = nullptr;  // the class procedure under AfxWndProc
    bool m_bTemporary = false;     // made by FromHandle for a window no object claimed
    friend LRESULT AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend struct AfxWndAccess;
};

// The procedure of every window an object claims.
LRESULT AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// Registers (once) a class of the given style and returns its name; windows of it are served by their
// object's message map. The name is "Afx:<style>:<cursor>:<brush>:<icon>" in hex.
LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
                            HICON hIcon = nullptr);
