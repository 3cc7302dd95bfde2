// The symbol picker and the symbol-library picker driven as a person would, and the core's GetSymbol
// and SelectSymbolLib opening them.
#include "core/SymbolLibAccess.h"
#include "ui/SymbolLibPickDlg.h"
#include "ui/SymbolPickDlg.h"

#include "platform/quenby/SampleSymbolLib.h"
#include "support/TempDir.h"

#include <afx/afxtest.h>
#include <quenby/SymbolLibIO.h>
#include <win32/module.h>

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>

namespace {

class SymbolPickers : public ::testing::Test {
protected:
    void SetUp() override {
        m_session.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
        quenbytest::AddSampleSymbols(m_lib);  // points 3 2 1, lines 12 11, fills 22 21, custom 31
    }
    // The centre of cell n of the picker's browser (client pixels). The browser is painted first, as
    // it is on a screen before anyone can click it: painting settles the spacing the hit test uses.
    static CPoint CellCentre(CSymbolLibBrowser& browser, int n) {
        browser.UpdateWindow();
        CRect rc;
        browser.GetClientRect(&rc);
        const int cols = browser.GetColumnCount();
        const int w = rc.Width() / cols, h = rc.Height() / browser.GetRowCount();
        return CPoint((n % cols) * w + w / 2, (n / cols) * h + h / 2 - 10);
    }
    afxtest::Session m_session;
    CSymbolLibIO m_lib;
};

}  // namespace

TEST_F(SymbolPickers, OpensOnTheGivenSymbolAndFollowsClicksTypingAndRestore) {
    CSymbolPickDlg dlg(&m_lib, 2, 0xE000, nullptr);
    LONG picked = -1;
    m_session.ExpectDialog(2035, [&](CDialog& d) {
        CSymbolLibBrowser& browser = dlg.GetBrowser();
        EXPECT_EQ(browser.GetCurSymbol(), 2);
        EXPECT_EQ(dlg.GetPreview().GetSymbol(), 2);
        EXPECT_EQ(browser.GetDlgCtrlID(), 9999);
        EXPECT_EQ(afxtest::Text(d, 1050), "");  // nothing notified yet
        EXPECT_EQ(afxtest::Text(d, 1051), "");

        afxtest::Type(d, 1048, "1");  // the first listed number beginning with 1: 12 (22 and 21 come first)
        EXPECT_EQ(browser.GetCurSymbol(), 12);
        EXPECT_EQ(afxtest::Text(d, 1050), "12");
        EXPECT_EQ(afxtest::Text(d, 1051), "双线");
        EXPECT_EQ(dlg.GetPreview().GetSymbol(), 12);

        afxtest::Click(d, 1049);  // back to the symbol given, without notification
        EXPECT_EQ(browser.GetCurSymbol(), 2);
        EXPECT_EQ(dlg.GetPreview().GetSymbol(), 2);
        EXPECT_EQ(afxtest::Text(d, 1050), "12");

        // The top-left cell shows the first item of the top row (the browser keeps the current symbol in
        // view, so that row may have moved).
        const CPoint pt = CellCentre(browser, 0);
        const LONG shown = browser.GetItems()[static_cast<size_t>(browser.GetTopRow() * browser.GetColumnCount())].lSymbolID;
        afxtest::Mouse(&browser, WM_LBUTTONDOWN, pt, MK_LBUTTON);
        afxtest::Mouse(&browser, WM_LBUTTONUP, pt);
        EXPECT_EQ(afxtest::Text(d, 1050), std::to_string(shown).c_str());
        picked = shown;
        afxtest::Ok(d);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.GetSelSymbol(), picked);
    EXPECT_TRUE(m_session.Verify());
}

TEST_F(SymbolPickers, MarginAndEmptyCellClicksNotifyAsTheyFall) {
    CSymbolPickDlg dlg(&m_lib, 0, 0x8000, nullptr);  // points only: 3, 2, 1
    m_session.ExpectDialog(2035, [&](CDialog&) {
        CSymbolLibBrowser& browser = dlg.GetBrowser();
        ASSERT_EQ(browser.GetItems().size(), 3u);
        afxtest::MessageSpy spy;
        afxtest::Mouse(&browser, WM_LBUTTONUP, CellCentre(browser, 1));  // symbol 2
        afxtest::Mouse(&browser, WM_LBUTTONUP, CPoint(1, 1));            // a margin
        afxtest::Mouse(&browser, WM_LBUTTONUP, CellCentre(browser, 1));
        afxtest::Mouse(&browser, WM_LBUTTONUP, CellCentre(browser, 5));  // no item there
        const auto sent = spy.Of(2035);
        ASSERT_EQ(sent.size(), 4u);
        EXPECT_EQ(sent[0].wParam, 2u);
        EXPECT_EQ((LONG)sent[0].lParam, 1);
        EXPECT_EQ(sent[1].wParam, 0u);
        EXPECT_EQ((LONG)sent[1].lParam, -1);
        EXPECT_EQ(sent[3].wParam, 2u);  // the previous symbol stays
        EXPECT_EQ((LONG)sent[3].lParam, 5);
        afxtest::Cancel(dlg);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.GetSelSymbol(), 0);  // cancel keeps the number given
}

TEST_F(SymbolPickers, GetSymbolOpensThePickerWithTheKindsFilter) {
    // In each picker "2" is typed into the find field and OK pressed: the first listed number that
    // begins with 2, or the symbol given (5) when none does.
    const struct {
        int kind;
        size_t listed;
        int chosen;
    } cases[] = {{0, 3, 2}, {1, 2, 5}, {2, 2, 22}, {3, 0, 5}, {9, 7, 22}};
    for (const auto& c : cases) {
        m_session.ExpectDialog(2035, [&](CDialog& d) {
            EXPECT_EQ(static_cast<CSymbolPickDlg&>(d).GetBrowser().GetItems().size(), c.listed) << c.kind;
            afxtest::Type(d, 1048, "2");
            afxtest::Ok(d);
        });
        EXPECT_EQ(GetSymbol(static_cast<SYMBOLTYPE>(c.kind), 5, &m_lib), c.chosen) << c.kind;
    }
    m_session.ExpectDialog(2035, [](CDialog& d) {
        afxtest::Type(d, 1048, "1");
        afxtest::Cancel(d);
    });
    EXPECT_EQ(GetSymbol(SYMBOL_POINT, 5, &m_lib), 5);
    EXPECT_TRUE(m_session.Verify());
}

namespace {

class LibraryFolder : public ::testing::Test {
protected:
    void SetUp() override {
        m_session.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
        win32::SetWindowsDirectory(m_tmp.Path());
        ASSERT_EQ(mkdir((m_tmp.Path() + "/Quenby").c_str(), 0755), 0);
        for (const char* name : {"a.slb", "a.sym", "b.slb", "x.slbx", "slb"})
            testsupport::WriteFileBytes(m_tmp.Path() + "/Quenby/" + name, "x");
    }
    afxtest::Session m_session;
    testsupport::TempDir m_tmp{"corvane-windows"};
};

}  // namespace

TEST_F(LibraryFolder, TypesNamesAndTheExistingFileRule) {
    CSymbolLibPickDlg dlg("", nullptr);
    m_session.ExpectDialog(2019, [&](CDialog& d) {
        EXPECT_EQ(afxtest::Text(d, 1035), "符号库");  // an empty name opens on library files
        EXPECT_EQ(dlg.m_lstLibs.GetItemCount(), 2);
        EXPECT_EQ(afxtest::DumpList(&dlg.m_lstLibs).find("x"), std::string::npos);

        afxtest::Select(d, 1035, "所有类型");  // a.slb, a.sym, b.slb: "x.slbx" and "slb" are no library files
        ASSERT_EQ(dlg.m_lstLibs.GetItemCount(), 3);
        int sym = -1;
        for (int i = 0; i < 3; ++i)
            if (dlg.m_lstLibs.GetItemData(i) == 1) sym = i;
        ASSERT_GE(sym, 0);
        EXPECT_STREQ(dlg.m_lstLibs.GetItemText(sym, 0), "a");
        afxtest::ClickRow(&dlg.m_lstLibs, sym);
        EXPECT_EQ(afxtest::Text(d, 1034), "a");

        afxtest::Type(d, 1034, "#missing");
        afxtest::Ok(d);  // no such file: stays open, silently
        EXPECT_FALSE(d.IsEnded());
        afxtest::Type(d, 1034, "#b");
        afxtest::Ok(d);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_STREQ(dlg.GetLibFileName(), "#b");
    EXPECT_TRUE(m_session.Verify());
}

TEST_F(LibraryFolder, SelectSymbolLibOpensOnTheCurrentNameAndCancelKeepsIt) {
    m_session.ExpectDialog(2019, [](CDialog& d) {
        CSymbolLibPickDlg& pick = static_cast<CSymbolLibPickDlg&>(d);
        EXPECT_EQ(afxtest::Text(d, 1035), "符号文件");
        EXPECT_EQ(pick.m_lstLibs.GetSelectedCount(), 1u);  // "a" as a symbol file
        EXPECT_EQ(afxtest::Text(d, 1034), "a");
        afxtest::DoubleClickRow(&pick.m_lstLibs, 0);  // chooses and presses OK
    });
    EXPECT_STREQ(SelectSymbolLib("a"), "a");
    m_session.ExpectDialog(2019, [](CDialog& d) { afxtest::Cancel(d); });
    EXPECT_STREQ(SelectSymbolLib("#b"), "#b");
    EXPECT_TRUE(m_session.Verify());
}
