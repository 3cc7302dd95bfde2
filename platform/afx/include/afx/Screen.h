// The screen hook: how the window model reaches a real screen without the class library knowing one.
//
// Every window lives in the window model and behaves there whether or not anything is shown. A screen
// (platform/afxqt installs one for a host that links it) mirrors the model for a person: it is told when
// a window is created, changes (text, style, state, items, geometry, focus, new pixels on its canvas)
// and is destroyed, and it answers what a person answers: modal dialogs and sheets (a real modal loop),
// message boxes, file dialogs and popup menus.
//
// Who answers, in order: the installed user driver (AfxSetUserDriver, a test's script) when there is
// one; else the screen when one is installed; else the recorded default answer (a modal ends with its
// cancel answer, a box with its default button, a file dialog and a popup menu are cancelled). A screen
// never changes a rule of the model: what a person does on it reaches the model through the same actions
// the scripted driver uses (afxtest.h), so the notifications are the same.
//
// Every member has a do-nothing default, so a screen overrides only what it shows.
#pragma once

#include <vector>

#include "afx/String.h"
#include "win32/winuser.h"

class CWnd;
class CFileDialog;

class CWndScreen {
public:
    virtual ~CWndScreen() = default;

    // The window record exists (its class, style, parent and id are set; its state is not yet built).
    virtual void OnWindowCreated(HWND hWnd) { (void)hWnd; }
    // Something a screen shows changed; calls come in bursts, so a screen gathers them and catches up later.
    virtual void OnWindowChanged(HWND hWnd) { (void)hWnd; }
    // The window is gone (its handle no longer valid); its children went before it.
    virtual void OnWindowDestroyed(HWND hWnd) { (void)hWnd; }

    // A timer was set (elapse in milliseconds, at least 1) or went (elapse 0); a screen fires it
    // (FireTimer) as its period passes.
    virtual void OnTimerChanged(HWND hWnd, UINT_PTR nIDEvent, UINT elapse) { (void)hWnd; (void)nIDEvent; (void)elapse; }

    // A modal dialog or property sheet is built and initialised: show it and run a modal loop until the
    // model says it ended (CDialog::IsEnded, CPropertySheet::IsEnded). FALSE when not shown.
    virtual BOOL RunModalLoop(CWnd& wnd) { (void)wnd; return FALSE; }
    // The button pressed (IDOK, IDYES...), or -1 when not shown.
    virtual int MessageBox(const CString& text, const CString& caption, UINT nType) {
        (void)text; (void)caption; (void)nType;
        return -1;
    }
    // IDOK with rPathName set (GBK), IDCANCEL, or -1 when not shown.
    virtual int FileDialog(CFileDialog& dlg, CString& rPathName) { (void)dlg; (void)rPathName; return -1; }
    // The command chosen from a popup menu (0: dismissed); pt in screen coordinates.
    virtual UINT PopupMenu(HWND hOwner, const std::vector<MenuItemInfo>& items, POINT pt) {
        (void)hOwner; (void)items; (void)pt;
        return 0;
    }
    // A message loop of the model (GetMessage) waits on an empty queue: let the person act until a
    // message arrives. FALSE ends the loop as WM_QUIT would.
    virtual BOOL WaitForMessage() { return FALSE; }
};

// Installs the screen (NULL removes it); the caller keeps ownership and removes it before deleting it.
void AfxSetScreen(CWndScreen* pScreen);
CWndScreen* AfxGetScreen();
