// The screen hook: a screen hears of windows being made, changed and destroyed, and answers modals,
// boxes, file dialogs and popups only when no driver is installed.
#include <afx/afx.h>
#include <afx/Menu.h>
#include <afx/Screen.h>
#include <afx/StdCtrls.h>
#include <afx/afxtest.h>
#include <gtest/gtest.h>

#include <set>

namespace {

enum { IDD_SCREEN = 9301, IDC_SCREEN_EDIT = 100, IDC_SCREEN_CHECK, IDC_SCREEN_MENU };

const int kRegistered = [] {
    AfxRegisterDialogTemplate({IDD_SCREEN, "屏幕", 120, 60, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                               {{IDC_SCREEN_EDIT, "Edit", "", WS_BORDER | WS_TABSTOP, 5, 5, 80, 12},
                                {IDC_SCREEN_CHECK, "Button", "勾选", BS_AUTOCHECKBOX | WS_TABSTOP, 5, 20, 50, 10},
                                {IDOK, "Button", "确定", BS_DEFPUSHBUTTON | WS_TABSTOP, 5, 40, 40, 14},
                                {IDCANCEL, "Button", "取消", BS_PUSHBUTTON, 50, 40, 40, 14}}});
    return 0;
}();

// A screen that records what it hears and acts like a person who types, then presses OK.
class FakeScreen : public CWndScreen {
public:
    std::set<HWND> created, changed, destroyed;
    int modals = 0, boxes = 0, files = 0, popups = 0;
    void OnWindowCreated(HWND h) override { created.insert(h); }
    void OnWindowChanged(HWND h) override { changed.insert(h); }
    void OnWindowDestroyed(HWND h) override { destroyed.insert(h); }
    BOOL RunModalLoop(CWnd& wnd) override {
        ++modals;
        CDialog& dlg = static_cast<CDialog&>(wnd);
        afxtest::Type(dlg, IDC_SCREEN_EDIT, "12");
        afxtest::Ok(dlg);
        return TRUE;
    }
    int MessageBox(const CString&, const CString&, UINT) override { return ++boxes, IDNO; }
    int FileDialog(CFileDialog&, CString& path) override {
        ++files;
        path = "/tmp/选.txt";
        return IDOK;
    }
    UINT PopupMenu(HWND, const std::vector<MenuItemInfo>& items, POINT) override {
        ++popups;
        return items.empty() ? 0 : items.back().id;
    }
};

class ScreenDlg : public CDialog {
public:
    ScreenDlg() : CDialog(IDD_SCREEN) {}
    CString m_text;
protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_SCREEN_EDIT, m_text); }
};

struct ScreenHookTest : ::testing::Test {
    FakeScreen screen;
    void SetUp() override { AfxSetScreen(&screen); }
    void TearDown() override {
        AfxSetScreen(nullptr);
        win32::ResetWindowManager();
    }
};

TEST_F(ScreenHookTest, WithoutDriverTheScreenRunsTheModalAndHearsEveryWindow) {
    ScreenDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_text, CString("12"));
    EXPECT_EQ(screen.modals, 1);
    // The dialog and its four controls were made, changed (typing, focus) and destroyed.
    EXPECT_EQ(screen.created.size(), 5u);
    EXPECT_EQ(screen.destroyed, screen.created);
    EXPECT_GE(screen.changed.size(), 3u);
}

TEST_F(ScreenHookTest, BoxesFilesAndPopupsReachTheScreenOnlyWithoutDriver) {
    EXPECT_EQ(AfxMessageBox("问", MB_YESNO), IDNO);
    CFileDialog fd(TRUE, "txt", nullptr, OFN_FILEMUSTEXIST, "文本(*.txt)|*.txt||");
    EXPECT_EQ(fd.DoModal(), IDOK);
    EXPECT_EQ(fd.GetPathName(), CString("/tmp/选.txt"));
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, 7, "七");
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 0, 0, nullptr), 7);
    EXPECT_EQ(screen.boxes + screen.files + screen.popups, 3);

    // A driver takes precedence over the screen for each of them.
    afxtest::Session s;
    s.ExpectMessageBox("问", IDYES);
    s.ExpectFileDialog("", "");
    s.ExpectPopup([](const std::vector<MenuItemInfo>&) -> UINT { return 0; });
    s.ExpectDialog(IDD_SCREEN, [](CDialog& d) { afxtest::Cancel(d); });
    EXPECT_EQ(AfxMessageBox("问", MB_YESNO), IDYES);
    EXPECT_EQ(fd.DoModal(), IDCANCEL);
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 0, 0, nullptr), 0);
    ScreenDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(s.Verify());
    EXPECT_EQ(screen.boxes + screen.files + screen.popups + screen.modals, 3);
}

TEST_F(ScreenHookTest, WithoutScreenOrDriverTheDefaultsStand) {
    AfxSetScreen(nullptr);
    EXPECT_EQ(AfxMessageBox("问", MB_YESNO), IDYES);
    ScreenDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(screen.modals + screen.boxes, 0);
    EXPECT_TRUE(screen.created.empty());
}

}  // namespace
