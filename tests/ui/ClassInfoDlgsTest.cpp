// The feature-class info and selection dialogs driven as a person would.
#include "support/UiFixtures.h"
#include "ui/GCInfoDlg.h"
#include "ui/SelectGCDlg.h"

#include <afx/afxtest.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

afxtest::Session* Strict(afxtest::Session& s) {
    s.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
    return &s;
}

std::vector<std::string> Chosen(CSelectGCDlg& dlg) {
    std::vector<std::string> out;
    for (POSITION p = dlg.GetEntryList()->GetHeadPosition(); p;) {
        auto* e = static_cast<tagGCEntry*>(dlg.GetEntryList()->GetNext(p));
        if (e->bChosen) out.push_back(std::string(e->strScheme) + "/" + std::string(e->strName));
    }
    return out;
}

}  // namespace

TEST(GCInfoDlg, RefusesCodeZeroAndEmptyNameAndFocusesAsAsked) {
    const struct {
        const char* name;
        const char* code;
        const char* box;  // "" for data exchange's own message
        int focus;
    } cases[] = {
        {"河流", "0", "", 1112},
        {"河流", "-1", "", 1112},
        {"河流", "4294967296", "", 1112},
        {"", "5", "地物名称不能为空!", 1099},
    };
    for (const auto& c : cases) {
        afxtest::Session s;
        Strict(s);
        CGCInfoDlg dlg;
        dlg.SetData("a", 3, "");
        dlg.SetFocusField(2);
        s.ExpectDialog(2032, [&](CDialog& d) {
            EXPECT_EQ(afxtest::FocusId(), 1112);
            EXPECT_EQ(afxtest::Selection(d, 1112), std::make_pair(0, 1));
            EXPECT_FALSE(afxtest::IsVisible(d, 1151));
            EXPECT_FALSE(afxtest::IsVisible(d, 1098));
            afxtest::Type(d, 1099, c.name);
            afxtest::Type(d, 1112, c.code);
            afxtest::Ok(d);
            EXPECT_FALSE(d.IsEnded()) << c.code;
            EXPECT_EQ(afxtest::FocusId(), c.focus) << c.code;
            afxtest::Type(d, 1099, "湖泊");
            afxtest::Type(d, 1112, "4294967295");
            afxtest::Ok(d);
        });
        s.ExpectMessageBox(c.box, IDOK);
        ASSERT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(std::string(dlg.m_strName), "湖泊");
        EXPECT_EQ(dlg.m_nCode, 4294967295u);
        EXPECT_TRUE(s.Verify()) << c.code;
    }
}

TEST(GCInfoDlg, ShowsTheLayerAndFocusesTheName) {
    afxtest::Session s;
    Strict(s);
    CGCInfoDlg dlg;
    dlg.SetData("河流", 5, "水系");
    dlg.SetFocusField(1);
    s.ExpectDialog(2032, [](CDialog& d) {
        EXPECT_TRUE(afxtest::IsVisible(d, 1151));
        EXPECT_EQ(afxtest::Text(d, 1098), "水系");
        EXPECT_FALSE(afxtest::IsEnabled(d, 1098));
        EXPECT_EQ(afxtest::FocusId(), 1099);
        EXPECT_EQ(afxtest::Selection(d, 1099), std::make_pair(0, 4));
        afxtest::Cancel(d);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(s.Verify());
}

TEST(SelectGCDlg, MovesKeepTextOrderAndOkReportsSchemaOrder) {
    afxtest::Session s;
    Strict(s);
    CTypedPtrList<CObList, CGeoTheme*> themes;
    themes.AddTail(fixtures::MakeTheme("b", {{9, "z"}, {3, "y"}}));
    themes.AddTail(fixtures::MakeTheme("a", {{4000000000u, "x"}}));
    CSelectGCDlg dlg;
    dlg.SetSchemeList(&themes);
    s.ExpectDialog(2024, [](CDialog& d) {
        EXPECT_EQ(afxtest::Items(d, 1148), (std::vector<std::string>{"*a : x [4000000000]", "b : y [3]", "b : z [9]"}));
        EXPECT_FALSE(afxtest::IsEnabled(d, 1153));
        afxtest::Select(d, 1148, 2);  // a second item selected too
        afxtest::Click(d, 1150);
        EXPECT_EQ(afxtest::Items(d, 1148), (std::vector<std::string>{"*b : y [3]"}));
        EXPECT_EQ(afxtest::Items(d, 1149), (std::vector<std::string>{"*a : x [4000000000]", "b : z [9]"}));
        EXPECT_TRUE(afxtest::IsEnabled(d, 1153));
        afxtest::Click(d, 1153);  // "a : x" and the selection go back
        EXPECT_EQ(afxtest::Items(d, 1148), (std::vector<std::string>{"*a : x [4000000000]", "b : y [3]"}));
        afxtest::Click(d, 1151);  // ">>"
        EXPECT_EQ(afxtest::Items(d, 1148), (std::vector<std::string>{}));
        EXPECT_FALSE(afxtest::IsEnabled(d, 1150));
        EXPECT_FALSE(afxtest::IsEnabled(d, 1151));
        EXPECT_EQ(afxtest::Items(d, 1149).front(), "*a : x [4000000000]");
        afxtest::Select(d, 1149, 0);  // deselect: "<" has nothing to move
        EXPECT_FALSE(afxtest::IsEnabled(d, 1153));
        afxtest::Select(d, 1149, 1);
        afxtest::Click(d, 1153);  // "b : y" back
        afxtest::Ok(d);
    });
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(Chosen(dlg), (std::vector<std::string>{"b/z", "a/x"}));
    for (POSITION p = themes.GetHeadPosition(); p;) delete themes.GetNext(p);
    EXPECT_TRUE(s.Verify());
}

TEST(SelectGCDlg, EmptySchemaListOffersNothing) {
    afxtest::Session s;
    Strict(s);
    CTypedPtrList<CObList, CGeoTheme*> none;
    CSelectGCDlg dlg;
    dlg.SetSchemeList(&none);
    s.ExpectDialog(2024, [](CDialog& d) {
        for (int id : {1150, 1151, 1152, 1153}) EXPECT_FALSE(afxtest::IsEnabled(d, id)) << id;
        afxtest::Ok(d);
    });
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(dlg.GetEntryList()->IsEmpty());
    EXPECT_TRUE(s.Verify());
}
