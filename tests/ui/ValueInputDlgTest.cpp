// The value input dialog driven as a person would: what it shows, refusals by data exchange and by the
// range table (message, focus, selection, dialog kept open), and what the caller reads afterwards.
#include "ui/ValueInputDlg.h"

#include <afx/afxtest.h>

#include <gtest/gtest.h>

#include <string>

namespace {

afxtest::Session* Strict(afxtest::Session& s) {
    s.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
    return &s;
}

}  // namespace

TEST(ValueInputDlg, IntegerModeShowsItsFieldSelectedAndReturnsTheValue) {
    afxtest::Session s;
    Strict(s);
    CValueInputDlg dlg;
    dlg.SetPrompt("设置符号属性", "符号宽度", "0.01毫米");
    dlg.SetValue(static_cast<LONG>(40));
    s.ExpectDialog(2033, [](CDialog& d) {
        EXPECT_EQ(afxtest::Text(&d), "设置符号属性");
        EXPECT_EQ(afxtest::Text(d, 1038), "符号宽度");
        EXPECT_EQ(afxtest::Text(d, 1039), "0.01毫米");
        EXPECT_TRUE(afxtest::IsVisible(d, 6000));
        EXPECT_FALSE(afxtest::IsVisible(d, 6001));
        EXPECT_EQ(afxtest::Text(d, 6000), "40");
        EXPECT_EQ(afxtest::FocusId(), 6000);
        EXPECT_EQ(afxtest::Selection(d, 6000), std::make_pair(0, 2));
        afxtest::Type(d, 6000, "25");
        afxtest::Ok(d);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.GetLongValue(), 25);
    EXPECT_TRUE(s.Verify());
}

TEST(ValueInputDlg, RefusalsKeepTheDialogOpenWithTheFieldSelected) {
    const struct {
        int mode;
        const char* typed;
        const char* message;  // "" for data exchange's own message
    } cases[] = {
        {3, "abc", ""},
        {1, "5", "输入值应大于10!"},
        {2, "21", "输入值应小于20!"},
        {0, "9", "输入值应在10和20之间!"},
        {7, "x1", ""},  // a mode outside 0..3 checks no range, but text still has to be a number
    };
    for (const auto& c : cases) {
        afxtest::Session s;
        Strict(s);
        CValueInputDlg dlg;
        dlg.SetValue(static_cast<LONG>(15));
        dlg.SetValueField(static_cast<LONG>(10), static_cast<LONG>(20), c.mode);
        s.ExpectDialog(2033, [&](CDialog& d) {
            afxtest::Type(d, 6000, c.typed);
            afxtest::Ok(d);  // refused: the box comes, the dialog stays
            EXPECT_FALSE(d.IsEnded()) << c.typed;
            EXPECT_EQ(afxtest::FocusId(), 6000) << c.typed;
            EXPECT_EQ(afxtest::Selection(d, 6000), std::make_pair(0, (int)std::string(c.typed).size())) << c.typed;
            afxtest::Type(d, 6000, c.mode == 0 || c.mode == 3 || c.mode == 7 ? "10" : (c.mode == 1 ? "10" : "20"));
            afxtest::Ok(d);  // the bound itself passes
        });
        s.ExpectMessageBox(c.message, IDOK);
        EXPECT_EQ(dlg.DoModal(), IDOK) << c.typed;
        EXPECT_EQ(dlg.GetLongValue(), c.mode == 2 ? 20 : 10) << c.typed;
        EXPECT_TRUE(s.Verify()) << c.typed;
    }
}

TEST(ValueInputDlg, FloatModeAndCancel) {
    afxtest::Session s;
    Strict(s);
    CValueInputDlg dlg;
    dlg.SetValue(0.5f);
    dlg.SetValueField(0.0f, 1.0f, 0);
    s.ExpectDialog(2033, [](CDialog& d) {
        EXPECT_FALSE(afxtest::IsVisible(d, 6000));
        EXPECT_TRUE(afxtest::IsVisible(d, 6001));
        EXPECT_EQ(afxtest::FocusId(), 6001);
        afxtest::Type(d, 6001, "2.5");
        afxtest::Ok(d);
        afxtest::Type(d, 6001, "0.75");
        afxtest::Ok(d);
    });
    s.ExpectMessageBox("输入值应在0.000000和1.000000之间!", IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_FLOAT_EQ(dlg.GetFloatValue(), 0.75f);

    CValueInputDlg cancelled;
    cancelled.SetValue(static_cast<LONG>(7));
    s.ExpectDialog(2033, [](CDialog& d) {
        afxtest::Type(d, 6000, "99");
        afxtest::Cancel(d);
    });
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    EXPECT_EQ(cancelled.GetLongValue(), 7);
    EXPECT_TRUE(s.Verify());
}
