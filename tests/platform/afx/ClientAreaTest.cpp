// The client area of a window with its own scroll bars, and the cursor the mouse asks for: the bars take
// the window's right and bottom edges (hit testing, painting, sizes), a bar shows only while part of its
// range is out of view, and every mouse message of the driver first asks the window under the mouse
// (then its parents, then its class) which cursor to show.
#include <afx/afx.h>
#include <afx/Cursor.h>
#include <afx/WindowPicture.h>
#include <afx/afxtest.h>
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

std::vector<std::string> g_heard;

LRESULT PlainProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SIZE) g_heard.push_back("size " + std::to_string(LOWORD(lParam)) + "x" + std::to_string(HIWORD(lParam)));
    return DefWindowProcA(h, msg, wParam, lParam);
}

const int kPlainClass = [] {
    WNDCLASS wc{};
    wc.lpfnWndProc = PlainProc;
    wc.lpszClassName = "ClientAreaPlain";
    RegisterClassA(&wc);
    return 0;
}();

struct ClientArea : ::testing::Test {
    void SetUp() override {
        (void)kPlainClass;
        win32::ResetWindowManager();
        g_heard.clear();
    }
    void TearDown() override { win32::ResetWindowManager(); }
};

TEST_F(ClientArea, OwnScrollBarsTakeTheRightAndBottomEdgesFromTheClientArea) {
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 17);
    EXPECT_EQ(GetSystemMetrics(SM_CYHSCROLL), 17);
    struct {
        DWORD bars;
        RECT client;
        LRESULT atRightEdge, atBottomEdge;
    } cases[] = {
        {0, {0, 0, 100, 80}, HTCLIENT, HTCLIENT},
        {WS_VSCROLL, {0, 0, 83, 80}, HTVSCROLL, HTCLIENT},
        {WS_HSCROLL, {0, 0, 100, 63}, HTCLIENT, HTHSCROLL},
        {WS_VSCROLL | WS_HSCROLL, {0, 0, 83, 63}, HTVSCROLL, HTHSCROLL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bars);
        HWND top = CreateWindowExA(0, "ClientAreaPlain", "", WS_POPUP | WS_VISIBLE | c.bars, 10, 20, 100, 80, nullptr, nullptr, nullptr, nullptr);
        // A child over the whole window: it shows, and is hit, only inside the client area.
        HWND child = CreateWindowExA(0, "ClientAreaPlain", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 80, top, nullptr, nullptr, nullptr);
        RECT rc;
        GetClientRect(top, &rc);
        EXPECT_EQ(std::make_tuple(rc.left, rc.top, rc.right, rc.bottom), std::make_tuple(c.client.left, c.client.top, c.client.right, c.client.bottom));
        const POINT right{10 + 95, 20 + 30}, bottom{10 + 40, 20 + 75}, inside{10 + 40, 20 + 30};
        EXPECT_EQ(SendMessageA(top, WM_NCHITTEST, 0, MAKELPARAM(right.x, right.y)), c.atRightEdge);
        EXPECT_EQ(SendMessageA(top, WM_NCHITTEST, 0, MAKELPARAM(bottom.x, bottom.y)), c.atBottomEdge);
        EXPECT_EQ(SendMessageA(top, WM_NCHITTEST, 0, MAKELPARAM(5, 5)), HTNOWHERE);
        EXPECT_EQ(WindowFromPoint(inside), child);
        EXPECT_EQ(WindowFromPoint(right), c.atRightEdge == HTCLIENT ? child : top);
        EXPECT_EQ(WindowFromPoint(bottom), c.atBottomEdge == HTCLIENT ? child : top);
        // Painting covers the client area, and a new size reports the client area's.
        PAINTSTRUCT ps;
        BeginPaint(top, &ps);
        EXPECT_EQ(std::make_pair(ps.rcPaint.right, ps.rcPaint.bottom), std::make_pair(c.client.right, c.client.bottom));
        EndPaint(top, &ps);
        g_heard.clear();
        MoveWindow(top, 10, 20, 120, 90, TRUE);
        ASSERT_FALSE(g_heard.empty());
        EXPECT_EQ(g_heard.back(), "size " + std::to_string(c.client.right + 20) + "x" + std::to_string(c.client.bottom + 10));
        DestroyWindow(top);
    }
}

TEST_F(ClientArea, ABarShowsOnlyWhileItsPageLeavesPartOfTheRangeOutOfView) {
    HWND h = CreateWindowExA(0, "ClientAreaPlain", "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 80, nullptr, nullptr, nullptr, nullptr);
    struct {
        int min, max;
        UINT page, extra;
        bool shownBefore, shown;
    } cases[] = {
        {0, 9, 10, 0, true, false},    // the page shows every position
        {0, 9, 11, 0, true, false},
        {0, 9, 9, 0, false, true},     // one position out of view
        {0, 9, 0, 0, false, true},     // no page: any range
        {0, 0, 0, 0, true, false},
        {0, 9, 10, SIF_DISABLENOSCROLL, true, true},  // the bar stays as it was
        {0, 9, 10, SIF_DISABLENOSCROLL, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.max) + " page " + std::to_string(c.page));
        ShowScrollBar(h, SB_VERT, c.shownBefore);
        SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | c.extra, c.min, c.max, c.page, 0, 0};
        SetScrollInfo(h, SB_VERT, &si, FALSE);
        EXPECT_EQ(IsScrollBarShown(h, SB_VERT) != FALSE, c.shown);
        RECT rc;
        GetClientRect(h, &rc);
        EXPECT_EQ(rc.right, c.shown ? 83 : 100);
    }
}

TEST_F(ClientArea, AListBoxShowsItsBarOnlyWhileRowsLieOutOfViewAndAComboNever) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 200), nullptr, 0));
    CListBox list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY, CRect(0, 0, 100, 48), &parent, 1));
    CRect item;
    for (const char* s : {"一", "二", "三"}) list.AddString(s);
    EXPECT_FALSE(IsScrollBarShown(list.m_hWnd, SB_VERT)) << "three rows of 16 pixels fit in 48";
    list.GetItemRect(0, &item);
    EXPECT_EQ(item.right, 100);
    list.AddString("四");
    EXPECT_TRUE(IsScrollBarShown(list.m_hWnd, SB_VERT));
    list.GetItemRect(0, &item);
    EXPECT_EQ(item.right, 83) << "the rows leave room for the bar";
    list.DeleteString(0);
    EXPECT_FALSE(IsScrollBarShown(list.m_hWnd, SB_VERT));

    // A combo box hands its scroll styles to its drop-down list: the box itself has no bar.
    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, CRect(0, 60, 100, 160), &parent, 2));
    EXPECT_EQ(combo.GetStyle() & WS_VSCROLL, 0u);
    CRect rc;
    combo.GetClientRect(&rc);
    EXPECT_EQ(rc.Width(), 100);
}

// ---- the picture of a self-painting window with its own bar -------------------------------------------

class RedWnd : public CWnd {
public:
    void OnPaint() {
        CPaintDC dc(this);
        CRect rc;
        GetClientRect(&rc);
        dc.FillSolidRect(&rc, RGB(255, 0, 0));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RedWnd, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

TEST_F(ClientArea, APictureShowsASelfPaintingWindowsBarBesideWhatItPainted) {
    RedWnd w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE | WS_VSCROLL, CRect(0, 0, 100, 80), nullptr, 0));
    w.SetScrollRange(SB_VERT, 0, 20, FALSE);
    ASSERT_TRUE(IsScrollBarShown(w.m_hWnd, SB_VERT));
    HDC pic = AfxDrawWindowPicture(w.m_hWnd);
    ASSERT_NE(pic, nullptr);
    EXPECT_EQ(GetPixel(pic, 80, 40), RGB(255, 0, 0));
    for (int x : {84, 91, 99}) EXPECT_NE(GetPixel(pic, x, 40), RGB(255, 0, 0)) << x;
    DeleteDC(pic);
}

// ---- the cursor ---------------------------------------------------------------------------------------

enum { IDD_CURSOR = 9210, IDC_C_EDIT = 310, IDC_C_BUTTON, IDC_C_PAD, IDC_C_PLAIN };

const int kCursorDialog = [] {
    AfxRegisterDialogTemplate({IDD_CURSOR, "光标", 160, 100, DS_MODALFRAME | WS_POPUP | WS_CAPTION,
                               {{IDC_C_EDIT, "Edit", "", WS_BORDER, 5, 5, 70, 12},
                                {IDC_C_BUTTON, "Button", "按钮", BS_PUSHBUTTON, 5, 22, 50, 14},
                                {IDC_C_PAD, "ClientAreaPlain", "", WS_VSCROLL, 80, 5, 60, 40},
                                {IDC_C_PLAIN, "ClientAreaPlain", "", 0, 80, 50, 60, 20}}});
    return 0;
}();

// Over the pad's client area the dialog shows the sizing cursor; elsewhere it lets the system choose.
class CursorDlg : public CDialog {
public:
    CursorDlg() : CDialog(IDD_CURSOR) {}
    std::vector<std::string> asked;

protected:
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
        asked.push_back(std::to_string(pWnd ? pWnd->GetDlgCtrlID() : -1) + " " + std::to_string(static_cast<short>(nHitTest)) + " " +
                        std::to_string(message));
        if (pWnd && pWnd->GetDlgCtrlID() == IDC_C_PAD && nHitTest == HTCLIENT) {
            ::SetCursor(LoadCursor(nullptr, IDC_SIZEALL));
            return TRUE;
        }
        return static_cast<BOOL>(Default());
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CursorDlg, CDialog)
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

TEST_F(ClientArea, TheMouseAsksTheWindowUnderItThenItsParentThenItsClassForTheCursor) {
    (void)kCursorDialog;
    afxtest::Session s;
    s.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
    CursorDlg dlg;
    s.ExpectDialog(IDD_CURSOR, [&](CDialog& d) {
        const HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW), beam = LoadCursor(nullptr, IDC_IBEAM),
                      sizeAll = LoadCursor(nullptr, IDC_SIZEALL);
        CWnd* pad = d.GetDlgItem(IDC_C_PAD);
        struct {
            int id;
            CPoint at;
            UINT message;
            HCURSOR shown;
            std::string asked;  // what the dialog heard: the window under the mouse, the hit code, the message
        } cases[] = {
            {IDC_C_EDIT, {5, 5}, WM_MOUSEMOVE, beam, "310 1 512"},        // the edit's class cursor
            {IDC_C_PAD, {5, 5}, WM_MOUSEMOVE, sizeAll, "312 1 512"},      // the dialog's own choice
            {IDC_C_BUTTON, {5, 5}, WM_LBUTTONDOWN, arrow, "311 1 513"},   // every mouse message asks
            {IDC_C_PAD, {5, 5}, WM_LBUTTONUP, sizeAll, "312 1 514"},
            {IDC_C_PLAIN, {5, 5}, WM_MOUSEMOVE, sizeAll, "313 1 512"},    // a class without a cursor keeps the last one
            {IDC_C_PAD, {80, 5}, WM_MOUSEMOVE, arrow, "312 7 512"},       // over the pad's own bar (90 wide)
            {0, {2, 2}, WM_MOUSEMOVE, arrow, "0 1 512"},                  // the dialog's own surface
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.asked);
            dlg.asked.clear();
            CWnd* target = c.id ? d.GetDlgItem(c.id) : &d;
            ASSERT_TRUE(afxtest::Mouse(target, c.message, c.at));
            EXPECT_EQ(GetCursor(), c.shown);
            ASSERT_EQ(dlg.asked.size(), 1u);
            EXPECT_EQ(dlg.asked[0], c.asked);
        }
        CRect client, window;
        pad->GetClientRect(&client);
        pad->GetWindowRect(&window);
        EXPECT_EQ(std::make_pair(client.Width(), window.Width()), std::make_pair(73, 90));
        // A hover lands on the window under the point; while a window holds the capture nothing is asked.
        dlg.asked.clear();
        ASSERT_TRUE(afxtest::Hover(&d, CPoint(130, 10)));
        EXPECT_EQ(dlg.asked, std::vector<std::string>{"312 1 512"});
        pad->SetCapture();
        dlg.asked.clear();
        afxtest::Mouse(pad, WM_MOUSEMOVE, CPoint(5, 5));
        EXPECT_TRUE(dlg.asked.empty());
        ReleaseCapture();
        afxtest::Cancel(d);
    });
    dlg.DoModal();
}

}  // namespace
