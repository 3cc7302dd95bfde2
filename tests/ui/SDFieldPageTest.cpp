// The field page: the rename-record algebra as a table of edit sequences, and scripted sessions in a
// sheet (add, insert from the menu, edit, delete, moves by button and by drag, Apply's message, and the
// inert view-only page).
#include "ui/SDFieldPage.h"

#include <afx/afxtest.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/FlagInfo.h"

namespace {

afxtest::Session* Strict(afxtest::Session& s) {
    s.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
    return &s;
}

std::string Records(CObList& flags) {
    std::string out;
    for (POSITION p = flags.GetHeadPosition(); p;) {
        auto* f = static_cast<CFlagInfo*>(flags.GetNext(p));
        if (!out.empty()) out += "; ";
        out += std::string(f->m_strOldName) + ">" + std::string(f->m_strNewName) + ":" + std::to_string(f->m_nState);
    }
    return out;
}

// A sheet that keeps what the page sent on Apply.
class FieldSheet : public CPropertySheet {
public:
    FieldSheet() : CPropertySheet("字段") {}
    std::vector<std::string> names;
    std::string records;
    int applied = 0;

protected:
    LRESULT OnFieldInfo(WPARAM, LPARAM lParam) {
        auto* d = reinterpret_cast<tagFieldPageData*>(lParam);
        names.clear();
        for (POSITION p = d->pFieldList->GetHeadPosition(); p;)
            names.push_back(std::string(static_cast<CDaoFieldInfo*>(d->pFieldList->GetNext(p))->m_strName));
        records = Records(*d->pFlagInfoList);
        ++applied;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(FieldSheet, CPropertySheet)
    ON_MESSAGE(WM_FIELDINFO_CHANGED, OnFieldInfo)
END_MESSAGE_MAP()

void Fill(CSDFieldPage& page, std::initializer_list<const char*> names, int bViewOnly = 0) {
    CPtrList fields;
    for (const char* n : names) {
        auto* f = new CDaoFieldInfo;
        f->m_strName = n;
        f->m_nType = dbText;
        f->m_lSize = 20;
        fields.AddTail(f);
    }
    page.SetData(&fields, nullptr, bViewOnly);
    for (POSITION p = fields.GetHeadPosition(); p;) delete static_cast<CDaoFieldInfo*>(fields.GetNext(p));
}

std::vector<std::string> Rows(CListCtrl& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.GetItemCount(); ++i) out.push_back(std::string(list.GetItemText(i, 0)));
    return out;
}

std::vector<std::string> Fields(CSDFieldPage& page) {
    std::vector<std::string> out;
    for (POSITION p = page.m_FieldList.GetHeadPosition(); p;)
        out.push_back(std::string(static_cast<CDaoFieldInfo*>(page.m_FieldList.GetNext(p))->m_strName));
    return out;
}

}  // namespace

TEST(SDFieldPage, RenameRecordAlgebra) {
    // Each step: '+' add, '-' delete, or "old>new" edit (stored fields A, B; others added on the page).
    const struct {
        std::vector<std::string> steps;
        const char* records;
    } cases[] = {
        {{"+X", "-X"}, ""},                           // added then deleted: neither reaches the table
        {{"A>B", "B>C"}, "A>C:1"},                    // one record per stored field
        {{"-A", "+A"}, "A>A:1"},                      // deleted then re-added: the stored field stays
        {{"+X", "X>Y"}, ">Y:3"},                      // an added field stays added under its new name
        {{"A>B", "-B"}, "A>:2"},
        {{"A>A"}, "A>A:1"},                           // description changed, name kept
        {{"A>B", "+A"}, "A>B:1; >A:3"},               // the new A does not take the renamed field's record
        {{"A>B", "+A", "-A"}, "A>B:1"},               // ...so deleting it leaves the renamed field alone
        {{"A>B", "+A", "A>Z"}, "A>B:1; >Z:3"},
        {{"A>T", "B>A", "T>B"}, "A>B:1; B>A:1"},      // two stored fields swap names
        {{"-A", "-B", "+B"}, "A>:2; B>B:1"},
    };
    for (const auto& c : cases) {
        CObList flags;
        for (const std::string& s : c.steps) {
            if (s[0] == '+') {
                CSDFieldPage::NoteFieldAdded(flags, s.substr(1).c_str());
            } else if (s[0] == '-') {
                CSDFieldPage::NoteFieldDeleted(flags, s.substr(1).c_str());
            } else {
                const size_t k = s.find('>');
                CSDFieldPage::NoteFieldEdited(flags, s.substr(0, k).c_str(), s.substr(k + 1).c_str());
            }
        }
        EXPECT_EQ(Records(flags), c.records) << c.steps.front() << " ... " << c.steps.back();
        ClearFlagInfoList(&flags);
    }
}

TEST(SDFieldPage, CommandsKeepFieldsRowsAndRecordsInStep) {
    afxtest::Session s;
    Strict(s);
    FieldSheet sheet;
    CSDFieldPage page;
    Fill(page, {"A", "B", "C"});
    sheet.AddPage(&page);
    s.ExpectSheet("字段", [&](CPropertySheet& sh) {
        CListCtrl* list = &page.m_ListCtrl;
        EXPECT_EQ(list->GetColumnCount(), 7);
        EXPECT_EQ(std::string(list->GetColumnText(6)), "必填字段");
        EXPECT_EQ(std::string(list->GetItemText(0, 1)), "文本");
        EXPECT_EQ(std::string(list->GetItemText(0, 2)), "20");
        EXPECT_EQ(std::string(list->GetItemText(0, 6)), "否");
        EXPECT_FALSE(afxtest::IsEnabled(page, 1139));
        afxtest::ClickRow(list, 1);
        EXPECT_TRUE(afxtest::IsEnabled(page, 1139));
        afxtest::Click(page, 1139);  // edit B: rename to B2
        afxtest::Click(page, 1136);  // add D
        afxtest::ClickRow(list, 2);  // C
        afxtest::Click(page, 1137);  // delete C
        list->SetItemState(-1, 0, LVIS_SELECTED);
        afxtest::RightClickRow(list, -1);  // nothing selected: only "追加字段"
        afxtest::ClickRow(list, 0);
        afxtest::RightClickRow(list, 0);  // insert before A
        EXPECT_EQ(Rows(*list), (std::vector<std::string>{"E", "A", "B2", "D"}));
        afxtest::ClickRow(list, 0);
        afxtest::Click(page, 1140);  // up on the first row: to the end
        EXPECT_EQ(Rows(*list), (std::vector<std::string>{"A", "B2", "D", "E"}));
        EXPECT_EQ(page.m_ListCtrl.GetNextItem(-1, LVNI_SELECTED), 3);
        afxtest::Click(page, 1141);  // down on the last row: to the front
        EXPECT_EQ(Rows(*list), (std::vector<std::string>{"E", "A", "B2", "D"}));
        afxtest::ClickRow(list, 0);
        afxtest::DragList(list, 0, 2);  // before B2
        EXPECT_EQ(Rows(*list), (std::vector<std::string>{"A", "E", "B2", "D"}));
        afxtest::ClickRow(list, 0);
        afxtest::DragList(list, 0, 1);  // onto the next row: nothing
        afxtest::ClickRow(list, 1);
        afxtest::DragList(list, 1, -1);  // below the rows: to the end
        EXPECT_EQ(Rows(*list), (std::vector<std::string>{"A", "B2", "D", "E"}));
        EXPECT_EQ(Fields(page), Rows(*list));
        afxtest::Ok(sh);
    });
    s.ExpectDialog(2031, [](CDialog& d) {
        EXPECT_EQ(afxtest::Text(d, 1024), "B");
        afxtest::Type(d, 1024, "B2");
        afxtest::Ok(d);
    });
    s.ExpectDialog(2031, [](CDialog& d) {
        afxtest::Type(d, 1024, "a");  // the list has "A"
        afxtest::Ok(d);
        afxtest::Type(d, 1024, "D");
        afxtest::Ok(d);
    });
    s.ExpectMessageBox("字段名不能重复!", IDOK);
    s.ExpectPopup([](const std::vector<MenuItemInfo>& items) -> UINT {
        EXPECT_EQ(items.size(), 1u);
        EXPECT_EQ(items.front().id, 1136u);
        return 0;
    });
    s.ExpectPopup([](const std::vector<MenuItemInfo>& items) -> UINT {
        std::vector<UINT> ids;
        for (const auto& i : items) ids.push_back(i.id);
        EXPECT_EQ(ids, (std::vector<UINT>{1137, 1174, 1139}));
        return 1174;
    });
    s.ExpectDialog(2031, [](CDialog& d) {
        afxtest::Type(d, 1024, "E");
        afxtest::Ok(d);
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(sheet.applied, 1);
    EXPECT_EQ(sheet.names, (std::vector<std::string>{"A", "B2", "D", "E"}));
    EXPECT_EQ(sheet.records, "B>B2:1; >D:3; C>:2; >E:3");
    EXPECT_TRUE(s.Verify());
}

TEST(SDFieldPage, ViewOnlyPageIsInertButApplies) {
    afxtest::Session s;
    Strict(s);
    FieldSheet sheet;
    CSDFieldPage page;
    Fill(page, {"A", "B"}, 1);
    sheet.AddPage(&page);
    s.ExpectSheet("", [&](CPropertySheet& sh) {
        for (int id : {1136, 1137, 1139, 1140, 1141}) EXPECT_FALSE(afxtest::IsEnabled(page, id)) << id;
        afxtest::ClickRow(&page.m_ListCtrl, 0);
        EXPECT_FALSE(afxtest::IsEnabled(page, 1139));
        afxtest::RightClickRow(&page.m_ListCtrl, 0);  // no menu: strict mode would report one
        afxtest::DoubleClickRow(&page.m_ListCtrl, 0);  // no dialog
        afxtest::DoubleClickRow(&page.m_ListCtrl, -1);
        afxtest::Ok(sh);
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(sheet.names, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(sheet.records, "");
    EXPECT_TRUE(s.Verify());
}
