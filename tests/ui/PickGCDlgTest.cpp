// The feature-class picker: the list by name or code (kept between openings), picking, a new class made
// in the class sheet (duplicates refused), and the current class shown view-only.
#include "ui/PickGCDlg.h"

#include <afx/afxtest.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

afxtest::Session* Strict(afxtest::Session& s) {
    s.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
    return &s;
}

void AddClass(CGeoTheme& theme, UINT code, const char* name) {
    CGeoGClass gc;
    gc.SetGCID(code);
    gc.SetGCName(name);
    theme.AddGC(gc, -2);
}

}  // namespace

TEST(PickGCDlg, ListModeIsKeptAndPickingSetsTheCode) {
    afxtest::Session s;
    Strict(s);
    CPickGCDlg::s_nListBy = 0;
    CPickGCDlg dlg;
    AddClass(dlg.m_Theme, 12, "b");
    AddClass(dlg.m_Theme, 7, "a");
    dlg.m_nCode = 12;
    s.ExpectDialog(2010, [](CDialog& d) {
        EXPECT_EQ(afxtest::Items(d, 1055), (std::vector<std::string>{"a", "*b"}));
        EXPECT_EQ(static_cast<CListBox*>(d.GetDlgItem(1055))->GetCurSel(), 1);
        EXPECT_EQ(afxtest::Text(d, 1000), "b");
        afxtest::Click(d, 1058);  // by code
        EXPECT_EQ(afxtest::Items(d, 1055), (std::vector<std::string>{"*12", "7"}));
        afxtest::Select(d, 1055, "7");
        EXPECT_EQ(afxtest::Text(d, 1001), "7");
        EXPECT_EQ(afxtest::Text(d, 1000), "a");
        afxtest::Ok(d);
    });
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nCode, 7u);

    CPickGCDlg again;
    again.m_nCode = 99;
    s.ExpectDialog(2010, [](CDialog& d) {
        EXPECT_EQ(afxtest::CheckState(d, 1058), BST_CHECKED);
        EXPECT_EQ(afxtest::Text(d, 1000), "未命名地物");
        EXPECT_FALSE(afxtest::IsEnabled(d, 1060)) << "nothing to show";
        afxtest::Cancel(d);
    });
    EXPECT_EQ(again.DoModal(), IDCANCEL);
    CPickGCDlg::s_nListBy = 0;
    EXPECT_TRUE(s.Verify());
}

TEST(PickGCDlg, NewClassIsAddedAndAnUnappliedOneIsNot) {
    afxtest::Session s;
    Strict(s);
    CPickGCDlg::s_nListBy = 0;
    CPickGCDlg dlg;
    AddClass(dlg.m_Theme, 1, "道路");
    dlg.m_nCode = 1;
    s.ExpectDialog(2010, [](CDialog& d) {
        afxtest::Click(d, 1059);  // a click on "注记地物", then Cancel: the class has no code yet
        EXPECT_EQ(afxtest::Items(d, 1055), (std::vector<std::string>{"*道路"}));
        afxtest::Click(d, 1059);  // "河流" 3
        EXPECT_EQ(afxtest::Items(d, 1055), (std::vector<std::string>{"道路", "*河流"}));
        afxtest::Click(d, 1060);  // the current class, view-only
        afxtest::Ok(d);
    });
    s.ExpectSheet("地物属性", [](CPropertySheet& sh) {
        afxtest::Click(*sh.GetPage(0), 1020);
        afxtest::Cancel(sh);
    });
    s.ExpectSheet("地物属性", [](CPropertySheet& sh) {
        afxtest::Type(*sh.GetPage(0), 1098, "道路");
        afxtest::Type(*sh.GetPage(0), 1112, "3");
        afxtest::Ok(sh);  // the name is taken: the sheet says so
        afxtest::Type(*sh.GetPage(0), 1098, "河流");
        afxtest::Ok(sh);
    });
    s.ExpectMessageBox("地物名称重复", IDOK);
    s.ExpectSheet("地物属性", [](CPropertySheet& sh) {
        EXPECT_EQ(afxtest::Text(*sh.GetPage(0), 1098), "河流");
        EXPECT_FALSE(afxtest::IsEnabled(*sh.GetPage(0), 1098));
        afxtest::Ok(sh);
    });
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nCode, 3u);
    EXPECT_EQ(dlg.m_Theme.GetGCCount(), 2);
    EXPECT_TRUE(s.Verify());
}
