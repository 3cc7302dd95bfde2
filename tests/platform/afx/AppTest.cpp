// The application profile, the main window's messages, and scripted user answers.
#include <afx/afx.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

class RecordingWnd : public CWnd {
public:
    std::vector<std::pair<UINT, LPARAM>> seen;
    LRESULT WindowProc(UINT m, WPARAM, LPARAM l) override {
        seen.emplace_back(m, l);
        return 0;
    }
};

class ScriptedUser : public CUserDriver {
public:
    int answer = IDNO;
    CString path;
    CString lastTitle;
    int OnMessageBox(const CString&, UINT, UINT) override { return answer; }
    int OnFileDialog(CFileDialog& dlg, CString& rPath) override {
        lastTitle = dlg.GetTitle();
        if (path.IsEmpty()) return IDCANCEL;
        rPath = path;
        return IDOK;
    }
};

}  // namespace

TEST(App, ProfileReadsWritesAndKeepsOtherEntries) {
    std::string ini = std::string(CORVANE_TEST_OUTPUT_DIR) + "/app-test.ini";
    std::remove(ini.c_str());
    CWinApp app("test");
    app.SetProfileFile(ini.c_str());
    EXPECT_EQ(app.GetProfileString("Settings", "SymbolLib"), "");
    EXPECT_EQ(app.GetProfileString("Settings", "SymbolLib", "dflt"), "dflt");
    EXPECT_EQ(app.GetProfileInt("Settings", "N", 7), 7u);
    app.WriteProfileString("Settings", "SymbolLib", "#符号");
    app.WriteProfileInt("Compress Settings", "Para", 12);
    app.WriteProfileString("Settings", "Other", "1:2");
    EXPECT_EQ(Slurp(ini), "[Compress Settings]\r\nPara=12\r\n[Settings]\r\nSymbolLib=#符号\r\nOther=1:2\r\n");

    // Another writer changes the file: the next read sees it.
    {
        std::ofstream out(ini, std::ios::binary | std::ios::trunc);
        out << "[settings]\r\nsymbollib=B\r\n";
    }
    EXPECT_EQ(app.GetProfileString("Settings", "SymbolLib"), "B");
    app.WriteProfileString("Settings", "SymbolLib", nullptr);
    EXPECT_EQ(app.GetProfileString("Settings", "SymbolLib", "gone"), "gone");
    EXPECT_EQ(AfxGetApp(), &app);
}

TEST(App, MainWindowReceivesMessages) {
    CWinApp app;
    EXPECT_EQ(AfxGetMainWnd(), nullptr);
    RecordingWnd wnd;
    app.m_pMainWnd = &wnd;
    AfxGetMainWnd()->SendMessage(9832, 0, 77);
    ASSERT_EQ(wnd.seen.size(), 1u);
    EXPECT_EQ(wnd.seen[0].first, 9832u);
    EXPECT_EQ(wnd.seen[0].second, 77);
}

TEST(App, MessageBoxesAnswerTheDefaultButtonWithoutADriver) {
    AfxSetUserDriver(nullptr);
    AfxClearMessageLog();
    struct Case { UINT type; int answer; };
    const Case cases[] = {{MB_OK, IDOK},
                          {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
                          {MB_YESNO, IDYES},
                          {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
                          {MB_RETRYCANCEL | MB_ICONEXCLAMATION, IDRETRY}};
    for (const Case& c : cases) EXPECT_EQ(AfxMessageBox("问", c.type), c.answer);
    ASSERT_EQ(AfxGetMessageLog().size(), 5u);
    EXPECT_EQ(AfxGetMessageLog()[1].nAnswer, IDCANCEL);
    EXPECT_EQ(AfxGetMessageLog()[0].text, "问");

    CFileDialog dlg(FALSE, "*.LYR", "河流");
    dlg.m_ofn.lpstrTitle = "保存图层";
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.GetPathName(), "");
    // The cancelled dialog is in the log, told apart from the message boxes.
    ASSERT_EQ(AfxGetMessageLog().size(), 6u);
    EXPECT_TRUE(AfxGetMessageLog()[5].bFileDialog);
    EXPECT_FALSE(AfxGetMessageLog()[0].bFileDialog);
    EXPECT_EQ(AfxGetMessageLog()[5].text, "保存图层 河流");
    EXPECT_EQ(AfxGetMessageLog()[5].nAnswer, IDCANCEL);
}

TEST(App, ScriptedDriverAnswers) {
    ScriptedUser user;
    AfxSetUserDriver(&user);
    AfxClearMessageLog();
    EXPECT_EQ(AfxMessageBox("?", MB_YESNO), IDNO);
    CFileDialog dlg(FALSE, "*.TPT", "a", OFN_HIDEREADONLY, "模板(*.TPT)|*.TPT||");
    dlg.m_ofn.lpstrTitle = "保存模板";
    user.path = "/tmp/x/名.TPT";
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(user.lastTitle, "保存模板");
    EXPECT_EQ(dlg.GetFileTitle(), "名");
    EXPECT_EQ(dlg.GetFileExt(), "TPT");
    AfxSetUserDriver(nullptr);
}

TEST(App, DateTimeClockIsInjectable) {
    COleDateTime::SetClock([] { return COleDateTime(2001, 2, 3, 4, 5, 6); });
    COleDateTime now = COleDateTime::GetCurrentTime();
    COleDateTime::SetClock(nullptr);
    EXPECT_EQ(now.GetYear(), 2001);
    EXPECT_EQ(now.GetMonth(), 2);
    EXPECT_EQ(now.GetDay(), 3);
    EXPECT_EQ(now.GetHour(), 4);
    EXPECT_EQ(now.GetMinute(), 5);
    EXPECT_EQ(now.GetSecond(), 6);
    EXPECT_EQ(COleDateTime(1899, 12, 30, 0, 0, 0).m_dt, 0.0);
    EXPECT_EQ(COleDateTime(1900, 1, 1, 12, 0, 0).m_dt, 2.5);
    EXPECT_EQ(COleDateTime(2001, 2, 30, 0, 0, 0).GetStatus(), COleDateTime::invalid);

    CMemFile f;
    {
        CArchive ar(&f, CArchive::store);
        ar << now;
    }
    ASSERT_EQ(f.Data().size(), 12u);
    EXPECT_EQ(f.Data()[0], 0);

    COleVariant a(static_cast<LONG>(5)), b(static_cast<LONG>(5)), c(5.0), t("名");
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a == c);
    EXPECT_EQ(t.vt, VT_BSTR);
    t.Clear();
    EXPECT_EQ(t.vt, VT_EMPTY);
}
