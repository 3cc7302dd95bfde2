// The window model driven as a person would: a small test dialog with every standard control, data
// exchange, the notification policy, the dialog manager, nested modals, property sheets and popups.
#include <afx/afx.h>
#include <afx/DateTimeCtrl.h>
#include <afx/Menu.h>
#include <afx/StdCtrls.h>
#include <afx/afxtest.h>
#include <gtest/gtest.h>

namespace {

enum {
    IDD_TEST = 9001, IDD_INNER = 9002, IDD_PAGE1 = 9003, IDD_PAGE2 = 9004, IDD_PAGE3 = 9005,
    IDC_NAME = 100, IDC_COUNT, IDC_SCALE, IDC_CHECK, IDC_RADIO1, IDC_RADIO2, IDC_RADIO3, IDC_KIND, IDC_LIST,
    IDC_LOCKED, IDC_GROUP, IDC_LABEL, IDC_HIDDEN_DEF, IDC_POPUP, IDC_DATE, IDC_BAR, IDC_READONLY
};

const int kRegistered = [] {
    AfxRegisterDialogTemplate({IDD_TEST, "测试", 200, 150, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                               {
                                   {IDC_LABEL, "Static", "名称:", SS_LEFT, 5, 5, 30, 8},
                                   {IDC_NAME, "Edit", "", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 40, 5, 80, 12},
                                   {IDC_COUNT, "Edit", "", WS_BORDER | WS_TABSTOP, 40, 20, 80, 12},
                                   {IDC_SCALE, "Edit", "", WS_BORDER | WS_TABSTOP, 40, 35, 80, 12},
                                   {IDC_GROUP, "Button", "类型", BS_GROUPBOX, 5, 50, 120, 40},
                                   {IDC_RADIO1, "Button", "点", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 10, 60, 30, 10},
                                   {IDC_RADIO2, "Button", "线", BS_AUTORADIOBUTTON, 45, 60, 30, 10},
                                   {IDC_RADIO3, "Button", "面", BS_AUTORADIOBUTTON, 80, 60, 30, 10},
                                   {IDC_CHECK, "Button", "可编辑", BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP, 10, 75, 50, 10},
                                   {IDC_KIND, "ComboBox", "", CBS_DROPDOWNLIST | WS_TABSTOP, 130, 5, 60, 60, 0, false, "否\n是"},
                                   {IDC_LIST, "ListBox", "", LBS_NOTIFY | LBS_SORT | WS_BORDER, 130, 25, 60, 50, 0, false, "b\nA\nc"},
                                   {IDC_LOCKED, "Button", "锁定", BS_PUSHBUTTON | WS_DISABLED, 130, 80, 50, 14},
                                   {IDC_READONLY, "Edit", "只读", ES_READONLY | WS_BORDER, 130, 100, 50, 12},
                                   {IDC_POPUP, "Button", "菜单", BS_PUSHBUTTON, 5, 95, 40, 14},
                                   {IDC_DATE, "SysDateTimePick32", "", DTS_SHOWNONE, 50, 95, 70, 12},
                                   {IDC_BAR, "ScrollBar", "", SBS_VERT, 185, 100, 10, 40},
                                   {IDOK, "Button", "确定", BS_PUSHBUTTON | WS_TABSTOP, 80, 130, 50, 14},
                                   {IDCANCEL, "Button", "取消", BS_PUSHBUTTON | WS_TABSTOP, 140, 130, 50, 14},
                                   {IDC_HIDDEN_DEF, "Button", "Button3", BS_DEFPUSHBUTTON, 10, 130, 50, 14, 0, true},
                               }});
    AfxRegisterDialogTemplate({IDD_INNER, "内层", 100, 50, DS_MODALFRAME | WS_POPUP | WS_CAPTION,
                               {{IDC_NAME, "Edit", "", WS_BORDER | WS_TABSTOP, 5, 5, 80, 12},
                                {IDOK, "Button", "确定", BS_DEFPUSHBUTTON | WS_TABSTOP, 5, 30, 40, 14},
                                {IDCANCEL, "Button", "取消", BS_PUSHBUTTON, 50, 30, 40, 14}}});
    for (UINT id : {IDD_PAGE1, IDD_PAGE2, IDD_PAGE3})
        AfxRegisterDialogTemplate({id, id == IDD_PAGE1 ? "常规" : id == IDD_PAGE2 ? "风格" : "属性", 150, 100,
                                   WS_CHILD | WS_CAPTION, {{IDC_COUNT, "Edit", "", WS_BORDER | WS_TABSTOP, 5, 5, 60, 12}}});
    return 0;
}();

#define WM_TEST_POSTED (WM_USER + 55)

class TestDlg : public CDialog {
public:
    TestDlg() : CDialog(IDD_TEST) {}
    CString m_name = "图层";
    UINT m_count = 7;
    float m_scale = 1.5f;
    int m_check = 0, m_radio = 1, m_kind = 0;
    std::vector<std::string> events;
    UINT popupChosen = 0;
    bool handlerReturned = false;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, IDC_NAME, m_name);
        DDX_Text(pDX, IDC_COUNT, m_count);
        DDV_MinMaxUInt(pDX, m_count, 1, 9999999);
        DDX_Text(pDX, IDC_SCALE, m_scale);
        DDV_MinMaxFloat(pDX, m_scale, 0.0f, 360.0f);
        DDX_Check(pDX, IDC_CHECK, m_check);
        DDX_Radio(pDX, IDC_RADIO1, m_radio);
        DDX_CBIndex(pDX, IDC_KIND, m_kind);
    }
    void Log(const std::string& e) { events.push_back(e); }
    void OnNameChange() { Log("EN_CHANGE name"); }
    void OnNameUpdate() { Log("EN_UPDATE name"); }
    void OnNameKill() { Log("EN_KILLFOCUS name"); }
    void OnCheck() { Log("BN_CLICKED check=" + std::to_string(IsDlgButtonChecked(IDC_CHECK))); }
    void OnRadio(UINT id) { Log("BN_CLICKED radio " + std::to_string(id)); }
    void OnKind() { Log("CBN_SELCHANGE " + std::to_string(static_cast<CComboBox*>(GetDlgItem(IDC_KIND))->GetCurSel())); }
    void OnKindKill() { Log("CBN_KILLFOCUS"); }
    void OnList() { Log("LBN_SELCHANGE " + std::to_string(static_cast<CListBox*>(GetDlgItem(IDC_LIST))->GetCurSel())); }
    void OnHiddenDefault() { Log("default 1133"); }
    void OnDateChange(NMHDR*, LRESULT*) { Log("DTN_DATETIMECHANGE"); }
    void OnDateKill(NMHDR*, LRESULT*) { Log("NM_KILLFOCUS date"); }
    void OnPopup() {
        CMenu menu;
        menu.CreatePopupMenu();
        menu.AppendMenu(MF_STRING, 501, "新建");
        menu.AppendMenu(MF_SEPARATOR);
        menu.AppendMenu(MF_STRING, 502, "删除");
        menu.TrackPopupMenu(TPM_RIGHTBUTTON, 0, 0, this);
        handlerReturned = false;
        Log("popup shown");
        handlerReturned = true;
    }
    void OnMenu(UINT id) {
        popupChosen = id;
        Log(std::string("command ") + std::to_string(id) + (handlerReturned ? " after return" : " inside handler"));
    }
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar) {
        Log("WM_VSCROLL " + std::to_string(code) + " " + std::to_string(pos) + (bar && bar->GetDlgCtrlID() == IDC_BAR ? " bar" : ""));
    }
    LRESULT OnPosted(WPARAM w, LPARAM) {
        Log("posted " + std::to_string(w));
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestDlg, CDialog)
    ON_EN_CHANGE(IDC_NAME, OnNameChange)
    ON_EN_UPDATE(IDC_NAME, OnNameUpdate)
    ON_EN_KILLFOCUS(IDC_NAME, OnNameKill)
    ON_BN_CLICKED(IDC_CHECK, OnCheck)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_RADIO1, IDC_RADIO3, OnRadio)
    ON_CBN_SELCHANGE(IDC_KIND, OnKind)
    ON_CBN_KILLFOCUS(IDC_KIND, OnKindKill)
    ON_LBN_SELCHANGE(IDC_LIST, OnList)
    ON_BN_CLICKED(IDC_HIDDEN_DEF, OnHiddenDefault)
    ON_BN_CLICKED(IDC_POPUP, OnPopup)
    ON_COMMAND_RANGE(501, 502, OnMenu)
    ON_NOTIFY(DTN_DATETIMECHANGE, IDC_DATE, OnDateChange)
    ON_NOTIFY(NM_KILLFOCUS, IDC_DATE, OnDateKill)
    ON_WM_VSCROLL()
    ON_MESSAGE(WM_TEST_POSTED, OnPosted)
END_MESSAGE_MAP()

// A session whose failures fail the test, unless a test collects them itself.
struct Scripted : afxtest::Session {
    explicit Scripted(bool strict = true) : afxtest::Session(strict) {
        SetFailureHandler([this](const std::string& m) {
            if (collect) collected.push_back(m);
            else ADD_FAILURE() << m;
        });
    }
    bool collect = false;
    std::vector<std::string> collected;
};

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        (void)kRegistered;
        win32::ResetWindowManager();
        AfxClearUiTranscript();
        AfxClearMessageLog();
    }
    void TearDown() override { win32::ResetWindowManager(); }
};

}  // namespace

TEST_F(DialogTest, InitialExchangeFillsControlsWithoutNotifications) {
    Scripted s;
    TestDlg dlg;
    s.ExpectDialog(IDD_TEST, [&](CDialog& d) {
        EXPECT_EQ(afxtest::Text(d, IDC_NAME), "图层");
        EXPECT_EQ(afxtest::Text(d, IDC_COUNT), "7");
        EXPECT_EQ(afxtest::Text(d, IDC_SCALE), "1.5");
        EXPECT_EQ(afxtest::CheckState(d, IDC_RADIO2), BST_CHECKED);
        EXPECT_EQ(afxtest::Text(d, IDC_KIND), "否");
        EXPECT_EQ(afxtest::Items(d, IDC_LIST), (std::vector<std::string>{"A", "b", "c"}));  // sorted, case-blind
        EXPECT_EQ(afxtest::FocusId(), IDC_NAME);  // OnInitDialog TRUE: the first tab stop
        // Geometry from dialog units: 1.5 px each way, dialogs at a fixed screen origin.
        CRect rc;
        d.GetDlgItem(IDC_NAME)->GetWindowRect(&rc);
        EXPECT_EQ(rc, CRect(100 + 60, 100 + 7, 100 + 60 + 120, 100 + 7 + 18));
        EXPECT_TRUE(dlg.events.empty());
        afxtest::Cancel(d);  // the click takes the focus: EN_KILLFOCUS
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.events, std::vector<std::string>{"EN_KILLFOCUS name"});
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_TRUE(s.Verify());
}

TEST_F(DialogTest, TypingNotifiesButTextSetByCodeDoesNot) {
    Scripted s;
    TestDlg dlg;
    s.ExpectDialog(IDD_TEST, [&](CDialog& d) {
        d.SetDlgItemText(IDC_NAME, "代码");
        static_cast<CEdit*>(d.GetDlgItem(IDC_NAME))->LimitText(4);
        EXPECT_TRUE(dlg.events.empty());
        afxtest::Type(d, IDC_NAME, "河流水系");  // 8 bytes, cut at the limit on a character boundary
        EXPECT_EQ(afxtest::Text(d, IDC_NAME), "河流");
        afxtest::Check(d, IDC_CHECK, true);
        afxtest::Click(d, IDC_RADIO3);
        afxtest::Select(d, IDC_KIND, "是");
        afxtest::Select(d, IDC_LIST, 2);
        static_cast<CComboBox*>(d.GetDlgItem(IDC_KIND))->SetCurSel(0);  // no notification
        static_cast<CButton*>(d.GetDlgItem(IDC_CHECK))->SetCheck(BST_UNCHECKED);
        afxtest::Ok(d);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    std::vector<std::string> want = {"EN_UPDATE name",      "EN_CHANGE name",      "EN_KILLFOCUS name", "BN_CLICKED check=1",
                                     "BN_CLICKED radio 106", "CBN_SELCHANGE 1",    "CBN_KILLFOCUS",     "LBN_SELCHANGE 2"};
    EXPECT_EQ(dlg.events, want);
    EXPECT_EQ(dlg.m_name, "河流");
    EXPECT_EQ(dlg.m_radio, 2);
    EXPECT_EQ(dlg.m_check, 0);
    EXPECT_EQ(dlg.m_kind, 0);
}

TEST_F(DialogTest, RadioClickUnchecksItsGroupOnly) {
    Scripted s;
    TestDlg dlg;
    dlg.m_check = 1;
    s.ExpectDialog(IDD_TEST, [&](CDialog& d) {
        afxtest::Click(d, IDC_RADIO1);
        EXPECT_EQ(afxtest::CheckState(d, IDC_RADIO1), BST_CHECKED);
        EXPECT_EQ(afxtest::CheckState(d, IDC_RADIO2), BST_UNCHECKED);
        EXPECT_EQ(afxtest::CheckState(d, IDC_CHECK), BST_CHECKED);  // the next WS_GROUP run
        afxtest::Click(d, IDC_CHECK);
        EXPECT_EQ(afxtest::CheckState(d, IDC_CHECK), BST_UNCHECKED);
        afxtest::Ok(d);
    });
    dlg.DoModal();
    EXPECT_EQ(dlg.m_radio, 0);
}

TEST_F(DialogTest, RefusedActionsFailLoudly) {
    Scripted s;
    s.collect = true;
    TestDlg dlg;
    s.ExpectDialog(IDD_TEST, [&](CDialog& d) {
        EXPECT_FALSE(afxtest::Click(d, IDC_LOCKED));         // disabled
        EXPECT_FALSE(afxtest::Click(d, IDC_HIDDEN_DEF));     // hidden
        EXPECT_FALSE(afxtest::Type(d, IDC_READONLY, "x"));  // read-only
        EXPECT_FALSE(afxtest::Select(d, IDC_KIND, 5));       // no such item
        EXPECT_TRUE(dlg.events.empty());
        afxtest::Cancel(d);
    });
    dlg.DoModal();
    ASSERT_EQ(s.collected.size(), 4u);
    EXPECT_NE(s.collected[0].find("disabled"), std::string::npos);
    EXPECT_NE(s.collected[1].find("hidden"), std::string::npos);
}

TEST_F(DialogTest, FailedExchangeShowsItsMessageFocusesTheFieldAndStaysOpen) {
    struct Case {
        int field;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {IDC_COUNT, "-1", "非负整数"},        // a minus before an unsigned value never wraps
        {IDC_COUNT, "0", "1 到 9999999"},     // below the range
        {IDC_COUNT, "12x", "非负整数"},       // trailing characters
        {IDC_SCALE, "361", "0 到 360"},       // float range
        {IDC_SCALE, "abc", "数值"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Scripted s;
        TestDlg dlg;
        s.ExpectDialog(IDD_TEST, [&](CDialog& d) {
            afxtest::Type(d, IDC_NAME, "新名");
            afxtest::Type(d, c.field, c.text);
            afxtest::SetFocus(d, IDOK);
            afxtest::Ok(d);
            EXPECT_FALSE(static_cast<CDialog&>(d).IsEnded());
            EXPECT_EQ(afxtest::FocusId(), c.field);
            EXPECT_EQ(afxtest::Selection(d, c.field), std::make_pair(0, static_cast<int>(strlen(c.text))));
            afxtest::Cancel(d);
        });
        s.ExpectMessageBox(c.message, IDOK);
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(dlg.m_name, "新名");  // read before the failure: kept
        EXPECT_TRUE(s.Verify());
    }
}

TEST_F(DialogTest, EnterGoesToTheHiddenDefaultButtonAndEscapeCancels) {
    Scripted s;
    TestDlg dlg;
    s.ExpectDialog(IDD_TEST, [&](CDialog& d) {
        afxtest::SetFocus(d, IDC_NAME);
        afxtest::Key(VK_RETURN);
        EXPECT_EQ(dlg.events.back(), "default 1133");
        EXPECT_FALSE(dlg.IsEnded());
        afxtest::SetFocus(d, IDOK);  // a focused push button takes Enter itself
        afxtest::Key(VK_ESCAPE);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST_F(DialogTest, PopupCommandIsPostedAndRunsAfterTheHandlerReturns) {
    Scripted s;
    TestDlg dlg;
    s.ExpectDialog(IDD_TEST, [&](CDialog& d) {
        afxtest::Click(d, IDC_POPUP);
        afxtest::Click(d, IDC_POPUP);
        afxtest::Cancel(d);
    });
    s.ExpectPopup(502);
    s.ExpectPopupText("新建");
    dlg.DoModal();
    std::vector<std::string> want = {"EN_KILLFOCUS name", "popup shown", "command 502 after return", "popup shown",
                                     "command 501 after return"};
    EXPECT_EQ(dlg.events, want);
    bool listed = false;
    for (const auto& line : afxtest::Transcript())
        if (line.find("popup menu [501 新建|-|502 删除] chose 502") != std::string::npos) listed = true;
    EXPECT_TRUE(listed);
}

TEST_F(DialogTest, NestedModalsTakeTheNextExpectationInOrder) {
    Scripted s;
    TestDlg dlg;
    std::string inner;
    s.ExpectDialog(IDD_TEST, [&](CDialog& d) {
        CDialog nested(IDD_INNER, &d);
        EXPECT_EQ(nested.DoModal(), IDOK);
        EXPECT_EQ(AfxMessageBox("继续吗?", MB_YESNO), IDNO);
        EXPECT_EQ(afxtest::FocusId(), IDC_NAME);  // focus comes back after the nested modal
        afxtest::Ok(d);
    });
    s.ExpectDialog(IDD_INNER, [&](CDialog& d) {
        afxtest::Type(d, IDC_NAME, "内");
        inner = afxtest::Text(d, IDC_NAME);
        afxtest::Key(VK_RETURN);  // the inner default button
    });
    s.ExpectMessageBox("继续", IDNO);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(inner, "内");
    EXPECT_TRUE(s.Verify());
}

TEST_F(DialogTest, StrictModeFailsOnAnythingUnscripted) {
    Scripted s;
    s.collect = true;
    TestDlg dlg;
    s.ExpectDialog(IDD_TEST, [&](CDialog&) {
        EXPECT_EQ(AfxMessageBox("意外", MB_OKCANCEL), IDCANCEL);  // cancel answer
    });  // and the dialog is left open
    s.ExpectFileDialog("打开", "");
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_FALSE(s.Verify());
    ASSERT_EQ(s.collected.size(), 3u);
    EXPECT_NE(s.collected[0].find("unscripted message box"), std::string::npos);
    EXPECT_NE(s.collected[1].find("left open"), std::string::npos);
    EXPECT_NE(s.collected[2].find("never shown"), std::string::npos);
}

TEST_F(DialogTest, WithoutADriverModalsEndWithTheirCancelAnswerAndAreLogged) {
    AfxSetUserDriver(nullptr);
    TestDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    CFileDialog file(TRUE, "sch", nullptr, OFN_FILEMUSTEXIST, "方案文件|*.sch||");
    EXPECT_EQ(file.DoModal(), IDCANCEL);
    const auto& t = afxtest::Transcript();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0], "dialog 9001 CDialog ended 2 (no driver: cancel answer)");
    EXPECT_NE(t[1].find("cancelled (no driver)"), std::string::npos);
}

TEST_F(DialogTest, DateTimeScrollBarTimersAndPostedMessages) {
    Scripted s;
    TestDlg dlg;
    s.ExpectDialog(IDD_TEST, [&](CDialog& d) {
        auto* date = static_cast<CDateTimeCtrl*>(d.GetDlgItem(IDC_DATE));
        EXPECT_TRUE(date->SetTime(COleDateTime(2024, 2, 29, 0, 0, 0)));
        EXPECT_EQ(afxtest::Text(d, IDC_DATE), "2024-02-29");
        EXPECT_FALSE(date->SetTime(COleDateTime(2023, 2, 29, 0, 0, 0)));
        COleDateTime t;
        EXPECT_EQ(date->GetTime(t), static_cast<DWORD>(GDT_VALID));
        EXPECT_EQ(t.GetDay(), 29);
        afxtest::SetFocus(d, IDC_DATE);
        afxtest::SetFocus(d, IDC_NAME);
        auto* bar = static_cast<CScrollBar*>(d.GetDlgItem(IDC_BAR));
        bar->SetScrollRange(0, 10);
        bar->SetScrollPos(25);
        EXPECT_EQ(bar->GetScrollPos(), 10);  // clamped to the range
        afxtest::Scroll(bar, SB_THUMBTRACK, 4);
        d.SetTimer(7, 500);
        d.PostMessage(WM_TEST_POSTED, 3);
        EXPECT_EQ(dlg.events.back(), "WM_VSCROLL 5 4 bar");  // posted messages wait for the pump
        EXPECT_TRUE(afxtest::FireTimer(&d, 7));
        EXPECT_EQ(dlg.events.back(), "posted 3");
        d.KillTimer(7);
        afxtest::Cancel(d);
    });
    s.collect = false;
    dlg.DoModal();
    EXPECT_EQ(std::count(dlg.events.begin(), dlg.events.end(), "NM_KILLFOCUS date"), 1);
}

// ---- property sheets ------------------------------------------------------------------------------

namespace {
std::vector<std::string> g_calls;

class Page : public CPropertyPage {
public:
    Page(UINT id, const char* n) : CPropertyPage(id), name(n) {}
    std::string name;
    UINT count = 3;
    bool refuseApply = false;
    BOOL OnInitDialog() override {
        g_calls.push_back(name + " init");
        return CPropertyPage::OnInitDialog();
    }
    BOOL OnSetActive() override {
        g_calls.push_back(name + " active");
        return TRUE;
    }
    BOOL OnKillActive() override {
        g_calls.push_back(name + " kill");
        return CPropertyPage::OnKillActive();
    }
    BOOL OnApply() override {
        g_calls.push_back(name + " apply");
        return refuseApply ? FALSE : CPropertyPage::OnApply();
    }
    void OnReset() override { g_calls.push_back(name + " reset"); }

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, IDC_COUNT, count);
        DDV_MinMaxUInt(pDX, count, 1, 10);
    }
};
}  // namespace

TEST_F(DialogTest, SheetCreatesPagesLazilyAndOkAppliesCreatedPagesInOrder) {
    g_calls.clear();
    Scripted s;
    Page a(IDD_PAGE1, "a"), b(IDD_PAGE2, "b"), c(IDD_PAGE3, "c");
    CPropertySheet sheet("属性");
    sheet.AddPage(&a);
    sheet.AddPage(&b);
    sheet.AddPage(&c);
    s.ExpectSheet("属性", [&](CPropertySheet& sh) {
        // Pages narrower than the row of buttons: the sheet is as wide as the buttons need.
        CRect client;
        sh.GetClientRect(&client);
        for (int id : {IDOK, IDCANCEL, ID_APPLY_NOW}) {
            CRect rc;
            sh.GetDlgItem(id)->GetWindowRect(&rc);
            sh.ScreenToClient(&rc);
            EXPECT_GE(rc.left, 7) << id;
            EXPECT_LE(rc.right, client.right - 7) << id;
        }
        afxtest::ActivatePage(sh, 2);
        afxtest::Type(*sh.GetPage(2), IDC_COUNT, "99");  // out of range
        EXPECT_FALSE(afxtest::ActivatePage(sh, 0));  // leaving refuses
        EXPECT_EQ(sh.GetActiveIndex(), 2);
        afxtest::Type(*sh.GetPage(2), IDC_COUNT, "4");
        afxtest::Ok(sh);
    });
    s.ExpectMessageBox("1 到 10", IDOK);
    EXPECT_EQ(sheet.DoModal(), IDOK);
    std::vector<std::string> want = {"a init", "a active", "a kill", "c init", "c active", "c kill",
                                     "c kill", "a apply",  "c apply"};
    EXPECT_EQ(g_calls, want);
    EXPECT_EQ(c.count, 4u);
    EXPECT_TRUE(s.Verify());
}

TEST_F(DialogTest, SheetStaysOpenOnARefusedApplyAndCancelResetsCreatedPagesOnly) {
    g_calls.clear();
    Scripted s;
    Page a(IDD_PAGE1, "a"), b(IDD_PAGE2, "b"), c(IDD_PAGE3, "c");
    b.refuseApply = true;
    CPropertySheet sheet("属性", nullptr, 1);
    sheet.AddPage(&a);
    sheet.AddPage(&b);
    sheet.AddPage(&c);
    s.ExpectSheet("", [&](CPropertySheet& sh) {
        afxtest::Ok(sh);
        EXPECT_FALSE(sh.IsEnded());
        afxtest::Cancel(sh);
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    std::vector<std::string> want = {"b init", "b active", "b kill", "b apply", "b reset"};
    EXPECT_EQ(g_calls, want);
}

TEST(ListBoxDoubleClick, BothPressesLandOnTheItem) {
    // A double click is two presses on the item: a multiple-selection box toggles it twice (so it ends
    // as it was), the others select it; then the box tells its parent of the double click.
    struct Case {
        DWORD style;
        std::vector<std::string> items;
        int selChanges;
    };
    const UINT kLists = 9120;
    for (const Case& c : {Case{LBS_MULTIPLESEL, {"a", "b", "c"}, 2}, Case{LBS_EXTENDEDSEL, {"a", "*b", "c"}, 1},
                          Case{0, {"a", "b", "c"}, 1}}) {
        SCOPED_TRACE(c.style);
        AfxRegisterDialogTemplate({kLists, "列表", 100, 80, DS_MODALFRAME | WS_POPUP | WS_CAPTION,
                                   {{IDC_LIST, "ListBox", "", LBS_NOTIFY | WS_BORDER | c.style, 5, 5, 60, 50, 0, false, "a\nb\nc"},
                                    {IDCANCEL, "Button", "取消", BS_PUSHBUTTON, 50, 60, 40, 14}}});
        afxtest::Session s;
        s.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
        CDialog dlg(kLists);
        s.ExpectDialog(kLists, [&](CDialog& d) {
            afxtest::MessageSpy spy;
            EXPECT_TRUE(afxtest::DoubleClick(d, IDC_LIST, 1));
            int changes = 0, doubles = 0;
            for (const auto& r : spy.Of(WM_COMMAND)) {
                if (r.to != d.m_hWnd || LOWORD(r.wParam) != IDC_LIST) continue;
                changes += HIWORD(r.wParam) == LBN_SELCHANGE;
                doubles += HIWORD(r.wParam) == LBN_DBLCLK;
            }
            EXPECT_EQ(changes, c.selChanges);
            EXPECT_EQ(doubles, 1);
            if (c.style) EXPECT_EQ(afxtest::Items(d, IDC_LIST), c.items);
            else EXPECT_EQ(static_cast<CListBox*>(d.GetDlgItem(IDC_LIST))->GetCurSel(), 1);
            afxtest::Cancel(d);
        });
        dlg.DoModal();
        EXPECT_TRUE(s.Verify());
    }
}
