// The scripted user: a driver for tests and demo hosts that answers dialogs, property sheets, message
// boxes, file dialogs and popup menus in the order they are expected, and acts on controls as a person
// would (typing, clicking, selecting, keys, drags, scrolling, timers), plus readers of the model.
//
//     afxtest::Session s;                          // strict: anything unscripted is a failure
//     s.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
//     s.ExpectDialog(2033, [](CDialog& d) { afxtest::Type(d, 6000, "12"); afxtest::Click(d, IDOK); });
//     s.ExpectMessageBox("范围", IDOK);
//     EXPECT_EQ(dlg.DoModal(), IDOK);
//     s.Verify();                                  // every expectation was used
//
// Expectations are consumed first in, first out across kinds, so a script states the order in which
// the person meets the windows; a nested modal opened by a handler takes the next expectation. A
// persistent responder (OnDialog) answers every opening of its template that no expectation names.
// Acting on a control the person could not reach (disabled or hidden, or not a control of the kind)
// is refused: the action returns false and the failure handler is told. Every action pumps the posted
// messages afterwards, so a popup menu's posted command has run when the action returns.
//
// A session installs itself as the user driver (AfxSetUserDriver) and the window manager's user hooks,
// and removes both when destroyed. Only one session is active at a time.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "afx/Dialog.h"
#include "afx/ListCtrl.h"
#include "afx/PropertySheet.h"
#include "afx/TreeCtrl.h"
#include "afx/WinApp.h"

namespace afxtest {

// ---- scripting ------------------------------------------------------------------------------------

class Session : public CUserDriver {
public:
    // strict: an unscripted modal, box, file dialog or popup is a failure (and gets its cancel answer);
    // lenient (demo hosts): they get their default answers silently.
    explicit Session(bool strict = true);
    ~Session() override;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    void SetFailureHandler(std::function<void(const std::string&)> handler);

    // A dialog of the template id (or of the run-time class) opens next; act runs on it while it is
    // open. If act leaves it open, the dialog ends with its cancel answer (a failure in strict mode).
    void ExpectDialog(UINT nIDTemplate, std::function<void(CDialog&)> act);
    void ExpectDialog(CRuntimeClass* pClass, std::function<void(CDialog&)> act);
    // Answers every opening of the template that no expectation takes.
    void OnDialog(UINT nIDTemplate, std::function<void(CDialog&)> act);
    // An action that opens a dialog of the template at once (a click on a button that runs it): the
    // dialog takes act ahead of the script. False, with the expectation withdrawn, when the action was
    // refused or did not open the dialog (a failure).
    bool OpenDialog(UINT nIDTemplate, std::function<void(CDialog&)> act, const std::function<bool()>& action);
    // A property sheet whose caption contains `caption` ("" for any).
    void ExpectSheet(const std::string& caption, std::function<void(CPropertySheet&)> act);
    // A message box whose text contains `text` ("" for any) is answered with `answer`.
    void ExpectMessageBox(const std::string& text, int answer);
    // A file dialog whose title contains `title` ("" for any): `path` chosen, or cancelled when empty.
    void ExpectFileDialog(const std::string& title, const std::string& path);
    // A popup menu: the chooser gets the items and returns the command id (0 dismisses).
    void ExpectPopup(std::function<UINT(const std::vector<MenuItemInfo>&)> chooser);
    // A popup menu: the item of this command id is chosen (a failure when the menu lacks it).
    void ExpectPopup(UINT nID);
    // A popup menu: the item with this text is chosen.
    void ExpectPopupText(const std::string& text);
    // Messages for a message loop that waits on an empty queue (its own GetMessage loop).
    void FeedLoop(std::function<void()> feed);

    // Reports every expectation never used as a failure; TRUE when none was left.
    bool Verify();
    // Failures so far (also passed to the handler), oldest first.
    const std::vector<std::string>& Failures() const { return m_failures; }
    size_t PendingExpectations() const { return m_script.size(); }
    void Fail(const std::string& message);

    // CUserDriver.
    int OnMessageBox(const CString& text, UINT nType, UINT nIDHelp) override;
    int OnFileDialog(CFileDialog& dlg, CString& rPathName) override;
    BOOL OnModal(CWnd& dlg) override;

private:
    enum class Kind { Dialog, Sheet, Box, File, Popup };
    struct Step {
        Kind kind = Kind::Dialog;
        UINT id = 0;
        CRuntimeClass* cls = nullptr;
        std::string text;
        std::string path;
        int answer = 0;
        unsigned serial = 0;  // set for the expectation of OpenDialog
        std::function<void(CDialog&)> dialog;
        std::function<void(CPropertySheet&)> sheet;
        std::function<UINT(const std::vector<MenuItemInfo>&)> popup;
    };
    std::string Describe(const Step& s) const;
    bool TakeNext(Kind kind, Step& out, const std::string& what);
    UINT OnPopup(const std::vector<MenuItemInfo>& items);

    bool m_strict;
    std::deque<Step> m_script;
    std::vector<std::pair<UINT, std::function<void(CDialog&)>>> m_responders;
    std::vector<std::function<void()>> m_feeds;
    std::function<void(const std::string&)> m_onFailure;
    std::vector<std::string> m_failures;
    CUserDriver* m_pPrevDriver = nullptr;
};

// The active session, or NULL.
Session* Current();

// ---- acting ----------------------------------------------------------------------------------------
// Each takes a control by its parent and id, or the control itself. False when refused.

// Replaces the whole text of an edit (or a drop-down combo's edit part) as typed: one EN_UPDATE and
// EN_CHANGE, cut at the edit's limit. Refused for read-only, disabled or hidden edits.
bool Type(CWnd& parent, int id, const std::string& gbk);
bool Type(CWnd* ctrl, const std::string& gbk);
// Types characters one by one at the caret (WM_CHAR each: a notification per character).
bool TypeChars(CWnd* ctrl, const std::string& gbk);
// A click on a button (auto boxes toggle, auto radios check), a static with SS_NOTIFY, or any window
// (WM_LBUTTONDOWN/UP at its centre). Refused for disabled or hidden windows.
bool Click(CWnd& parent, int id);
bool Click(CWnd* ctrl);
// Clicks a check box until its state is `on` (nothing when it is already).
bool Check(CWnd& parent, int id, bool on);
// Selects an item of a combo or list box as a person does (CBN_SELCHANGE / LBN_SELCHANGE); by index or
// by exact text. In a multiple-selection list box it toggles the item.
bool Select(CWnd& parent, int id, int index);
bool Select(CWnd& parent, int id, const std::string& text);
bool Select(CWnd* ctrl, int index);
// A double click: on a list box item both presses select it (in an LBS_MULTIPLESEL box each toggles
// it, so it ends as it was), then LBN_DBLCLK; on any other window WM_LBUTTONDBLCLK at its centre.
bool DoubleClick(CWnd& parent, int id, int index = -1);
// A key pressed with the focus where it is: the pretranslate chain, then the dialog manager, then the
// focused window (WM_KEYDOWN, WM_CHAR for characters, WM_KEYUP).
bool Key(UINT vk);
// Keys held down while later actions run (GetKeyState).
void HoldKey(UINT vk, bool down);
bool SetFocus(CWnd& parent, int id);
bool SetFocus(CWnd* wnd);
// WM_VSCROLL / WM_HSCROLL as a scroll bar sends it: to the parent of a scroll-bar control, or for a
// window's own bar to the window itself.
bool Scroll(CWnd* target, UINT nSBCode, int nPos = 0, bool vertical = true);
bool Wheel(CWnd* wnd, short delta, CPoint ptClient = CPoint(0, 0));
// A mouse message at a client point of the window; the cursor moves there first. As on the desktop,
// the window first hears WM_SETCURSOR while no window holds the capture (SendSetCursor), for every
// mouse message of the driver's actions.
bool Mouse(CWnd* wnd, UINT message, CPoint ptClient, UINT nFlags = 0);
bool FireTimer(CWnd* wnd, UINT_PTR nIDEvent);
// The dialog's OK or Cancel button clicked (refused when disabled or hidden); for a sheet, its buttons.
bool Ok(CWnd& dlg);
bool Cancel(CWnd& dlg);
bool Apply(CPropertySheet& sheet);
bool ActivatePage(CPropertySheet& sheet, int nPage);
// Trees and lists, with the cursor placed at the item's centre first (GetCursorPos reads it).
// A left click selects the item (TVN_SELCHANGING may veto) and sends NM_CLICK; a right click sends
// NM_RCLICK (and WM_CONTEXTMENU when that returns 0) without selecting; NULL / -1 means empty space
// below the last item. An item whose centre is scrolled out of the client area (above it, below it, or
// under a list's header) is refused: a person scrolls to it first (EnsureVisible, Scroll); so is the
// empty space below the last item where the items fill the control.
bool ClickItem(CTreeCtrl* tree, HTREEITEM item);
bool RightClick(CTreeCtrl* tree, HTREEITEM item);
bool DoubleClick(CTreeCtrl* tree, HTREEITEM item);
bool ClickRow(CListCtrl* list, int row);
bool RightClickRow(CListCtrl* list, int row);
bool DoubleClickRow(CListCtrl* list, int row);
// The first row clicked, the others with Ctrl held.
bool SelectRows(CListCtrl* list, const std::vector<int>& rows);
// A drag: the press at `from` and the control's begin-drag notification, then the mouse moves to `to`
// (empty space below the last item when NULL / -1) and the button is released there. In a list the press
// selects an unselected row first, as any press does (a selected row keeps the selection, so several
// rows drag together); a tree keeps its selection, the notification naming the item dragged. Move and release go to the
// window holding the capture (the drag handler usually takes it), else the window under the point.
bool DragTree(CTreeCtrl* tree, HTREEITEM from, HTREEITEM to, bool rightButton = false);
bool DragList(CListCtrl* list, int from, int to, bool rightButton = false);
// The same drag in the steps a person makes it on a screen: the begin-drag notification at `from`, any
// number of moves over items (or over points of any window), and the release. DragTree and DragList are
// BeginDrag and one Drop.
bool BeginDrag(CTreeCtrl* tree, HTREEITEM from, bool rightButton = false);
bool BeginDrag(CListCtrl* list, int from, bool rightButton = false);
bool DragOver(CTreeCtrl* tree, HTREEITEM over, bool rightButton = false);
bool DragOver(CListCtrl* list, int over, bool rightButton = false);
bool Drop(CTreeCtrl* tree, HTREEITEM at, bool rightButton = false);
bool Drop(CListCtrl* list, int at, bool rightButton = false);
// The mouse moves, no button down, to a client point of `over` (which may lie outside it): the window
// under the point (the one holding the capture, while one does) hears WM_SETCURSOR and, over its
// client area, WM_MOUSEMOVE. False when `over` is no window.
bool Hover(CWnd* over, CPoint ptClient);
// A move to, or the release at, a client point of `over` (which may lie outside it).
void DragOver(CWnd* over, CPoint ptClient, bool rightButton = false);
void Drop(CWnd* over, CPoint ptClient, bool rightButton = false);
// A date picked in a date-time picker (NULL: none, only with DTS_SHOWNONE), which sends
// DTN_DATETIMECHANGE. Refused for an invalid date and for a disabled or hidden picker.
bool SetDate(CWnd* ctrl, const SYSTEMTIME* st);
// Label editing in a tree: EditLabel, the text typed into the editor, then Enter (or Escape when
// cancel). False when the edit was refused.
bool EditTreeLabel(CTreeCtrl* tree, HTREEITEM item, const std::string& gbk, bool cancel = false);
// Dispatches posted messages; the number dispatched.
int Pump();

// ---- observing ------------------------------------------------------------------------------------

std::string Text(CWnd& parent, int id);
std::string Text(CWnd* wnd);
int CheckState(CWnd& parent, int id);
bool IsEnabled(CWnd& parent, int id);
bool IsVisible(CWnd& parent, int id);
// The control id of the focused window (0 for none or a window without id) and the window.
int FocusId();
CWnd* Focus();
// An edit's selection in bytes.
std::pair<int, int> Selection(CWnd& parent, int id);
// Items of a combo or list box, "text" each; selected ones of a list box prefixed with "*".
std::vector<std::string> Items(CWnd& parent, int id);
// What a person saw: message boxes, dialogs, sheets, file dialogs, popups (AfxGetUiTranscript).
const std::vector<std::string>& Transcript();
void ClearTranscript();

// The item dumps of TreeCtrl.h and ListCtrl.h.
std::string DumpTree(CTreeCtrl* tree);
std::string DumpList(CListCtrl* list);

// Every message sent or posted while the spy lives.
class MessageSpy {
public:
    MessageSpy();
    ~MessageSpy();
    const std::vector<win32::SpyRecord>& Records() const { return m_records; }
    // The records of one message.
    std::vector<win32::SpyRecord> Of(UINT msg) const;
    void Clear() { m_records.clear(); }

private:
    std::vector<win32::SpyRecord> m_records;
};

}  // namespace afxtest
