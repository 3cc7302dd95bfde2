// The tree sheet: pages in a tree under their parents, created on first showing, OK applying only the
// pages that exist in the order they were added and staying open on a refusal, Cancel resetting them,
// and the results 1 and 2.
#include <caddox/TPropertySheet.h>

#include <afx/afxtest.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_log;

void RegisterPage(UINT id, const char* caption) {
    AfxDlgTemplate t;
    t.id = id;
    t.caption = caption;
    t.cx = 120;
    t.cy = 60;
    t.style = WS_CHILD | DS_CONTROL;
    t.items = {{1000, "Edit", "", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 7, 100, 13}};
    AfxRegisterDialogTemplate(t);
}

class CLogPage : public CPropertyPage {
public:
    CLogPage(UINT id, const char* name) : CPropertyPage(id), m_name(name) {}
    BOOL m_bApply = TRUE;
    BOOL OnInitDialog() override {
        g_log.push_back(m_name + " init");
        return CPropertyPage::OnInitDialog();
    }
    BOOL OnApply() override {
        g_log.push_back(m_name + " apply");
        return m_bApply;
    }
    void OnReset() override { g_log.push_back(m_name + " reset"); }

private:
    std::string m_name;
};

class TreeSheet : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterPage(9311, "常规");
        RegisterPage(9312, "风格");
        RegisterPage(9313, "点风格");
        g_log.clear();
        m_session.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
        m_sheet.AddPage(&m_general, nullptr, 0, 0, nullptr, nullptr);
        m_sheet.AddPage(&m_style, nullptr, 0, 0, nullptr, nullptr);
        m_sheet.AddPage(&m_point, nullptr, 0, 0, &m_style, nullptr);
    }
    afxtest::Session m_session;
    CTPropertySheet m_sheet{"矢量对象属性"};
    CLogPage m_general{9311, "general"}, m_style{9312, "style"}, m_point{9313, "point"};
};

}  // namespace

TEST_F(TreeSheet, PagesStandInATreeAndOkAppliesTheCreatedOnesInOrder) {
    EXPECT_EQ(m_sheet.GetParentPage(&m_point), &m_style);
    m_session.ExpectSheet("矢量对象属性", [&](CPropertySheet& s) {
        CTreeCtrl& tree = m_sheet.GetPageTree();
        const std::string dump = afxtest::DumpTree(&tree);
        EXPECT_NE(dump.find("常规"), std::string::npos);
        EXPECT_LT(dump.find("风格"), dump.find("点风格"));
        EXPECT_EQ(tree.GetParentItem(tree.GetChildItem(tree.GetNextSiblingItem(tree.GetRootItem()))),
                  tree.GetNextSiblingItem(tree.GetRootItem()));
        EXPECT_EQ(g_log, (std::vector<std::string>{"general init"}));  // only the first page exists

        HTREEITEM point = tree.GetChildItem(tree.GetNextSiblingItem(tree.GetRootItem()));
        afxtest::ClickItem(&tree, point);
        EXPECT_EQ(s.GetActivePage(), &m_point);

        m_general.m_bApply = FALSE;
        afxtest::Ok(s);  // refused: stays open, back on the page that refused, and the tree marks it
        EXPECT_FALSE(s.IsEnded());
        EXPECT_EQ(s.GetActivePage(), &m_general);
        EXPECT_EQ(tree.GetSelectedItem(), tree.GetRootItem());
        EXPECT_TRUE(s.SetActivePage(&m_point));  // the program's choice shows in the tree too
        EXPECT_EQ(tree.GetSelectedItem(), point);
        m_general.m_bApply = TRUE;
        afxtest::Ok(s);
    });
    EXPECT_EQ(m_sheet.DoModal(), 1);
    EXPECT_EQ(g_log, (std::vector<std::string>{"general init", "point init", "general apply", "general apply",
                                               "point apply"}));
    EXPECT_TRUE(m_session.Verify());
}

TEST_F(TreeSheet, TreePagesAndButtonsLieSideBySideInsideTheSheet) {
    m_session.ExpectSheet("", [&](CPropertySheet& s) {
        CRect client;
        s.GetClientRect(&client);
        std::vector<CRect> placed;
        for (CWnd* c = s.GetWindow(GW_CHILD); c; c = c->GetWindow(GW_HWNDNEXT)) {
            if (!c->IsWindowVisible()) continue;
            CRect rc;
            c->GetWindowRect(&rc);
            s.ScreenToClient(&rc);
            CRect inside;
            inside.IntersectRect(&rc, &client);
            EXPECT_EQ(inside, rc) << "control " << c->GetDlgCtrlID() << " cut off at the sheet's edge";
            for (const CRect& other : placed) {
                CRect both;
                EXPECT_FALSE(both.IntersectRect(&rc, &other)) << "control " << c->GetDlgCtrlID() << " overlaps another";
            }
            placed.push_back(rc);
        }
        EXPECT_EQ(placed.size(), 5u) << "tree, page and three buttons";
        afxtest::Cancel(s);
    });
    m_sheet.DoModal();
}

TEST_F(TreeSheet, CancelResetsTheCreatedPagesAndReturnsTwo) {
    m_session.ExpectSheet("", [&](CPropertySheet& s) {
        afxtest::ClickItem(&m_sheet.GetPageTree(), m_sheet.GetPageTree().GetNextSiblingItem(m_sheet.GetPageTree().GetRootItem()));
        afxtest::Cancel(s);
    });
    EXPECT_EQ(m_sheet.DoModal(), 2);
    EXPECT_EQ(g_log, (std::vector<std::string>{"general init", "style init", "general reset", "style reset"}));
}
