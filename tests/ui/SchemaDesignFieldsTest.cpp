// The scheme designer's field list: its menu, the commands that add, insert, edit, delete, copy and
// move fields of a layer or a class, and the rows staying in step with the stored fields.
#include "ui/SchemaDesignDlg.h"

#include "SchemaDesignFixture.h"
#include "ui/resources/FieldDialogTemplates.h"
#include "ui/resources/SchemeDesignTemplates.h"

using namespace sdtest;
using testsupport::TempDir;

namespace {

typedef std::vector<std::string> V;

struct FieldScheme {
    TempDir dir;
    std::string path;
    FieldScheme() {
        path = WriteScheme(dir("f.sch"), {Theme("L", {{7, "k", {"G0", "G1", "G2"}}}, {"F0", "F1", "F2", "F3", "F4"})});
    }
};

V Rows(CListCtrl& list) {
    V out;
    for (int i = 0; i < list.GetItemCount(); ++i) out.push_back(std::string(list.GetItemText(i, 0)));
    return out;
}

template <class T>
V Names(const T& owner) {
    V out;
    CDaoFieldInfo f;
    for (int i = 0; i < owner.GetFieldCount() && owner.GetFieldInfo(i, f); ++i) out.push_back(std::string(f.m_strName));
    return out;
}

CGeoTheme* LayerL(CSchemaDesignDlg& d) { return d.m_schemeList.GetHead()->m_lstThemes.GetHead(); }

CGeoGClass ClassK(CSchemaDesignDlg& d) {
    CGeoGClass gc;
    LayerL(d)->GetGC(0, gc);
    return gc;
}

// The field dialog, given a name.
void AnswerField(afxtest::Session& s, const char* name) {
    s.ExpectDialog(IDD_FIELD_PROP, [name](CDialog& fd) {
        afxtest::Type(fd, IDC_FIELD_NAME, name);
        afxtest::Ok(fd);
    });
}

std::string ListMenu(afxtest::Session& s, CListCtrl& list, int row) {
    std::string seen = "(no menu)";
    s.ExpectPopup([&](const std::vector<MenuItemInfo>& items) -> UINT {
        seen.clear();
        for (const MenuItemInfo& i : items) seen += i.text + "|";
        return 0;
    });
    afxtest::RightClickRow(&list, row);
    return seen;
}

}  // namespace

TEST(SchemaDesignFields, MenuFollowsSelectedRowsAndClipboard) {
    FieldScheme f;
    afxtest::Session s;
    CSchemaDesignDlg dlg;
    dlg.InitData(f.path.c_str());
    RunDesigner(s, dlg, [&](CSchemaDesignDlg& d) {
        CTreeCtrl& tree = d.m_treeScheme;
        afxtest::ClickItem(&tree, Item(tree, {"f", "L"}));
        const struct {
            V rowsSelected;
            int kind;
            std::string menu;
        } cases[] = {
            {{}, 0, "追加字段|"},
            {{}, 1, "追加字段|粘贴字段|"},
            {{"2"}, 0, "删除字段|拷贝字段|插入字段|编辑字段|"},
            {{"1", "3"}, 1, "删除字段|拷贝字段|粘贴字段|"},
        };
        for (const auto& c : cases) {
            for (int i = 0; i < d.m_lstField.GetItemCount(); ++i) d.m_lstField.SetItemState(i, 0, LVIS_SELECTED);
            for (const std::string& r : c.rowsSelected) d.m_lstField.SetItemState(std::stoi(r), LVIS_SELECTED, LVIS_SELECTED);
            d.m_clipboard.m_nKind = c.kind;
            EXPECT_EQ(ListMenu(s, d.m_lstField, -1), c.menu);
        }
        // A scheme selected: no rows and no menu.
        afxtest::ClickItem(&tree, Item(tree, {"f"}));
        EXPECT_EQ(d.m_lstField.GetItemCount(), 0);
        afxtest::RightClickRow(&d.m_lstField, -1);
    });
    EXPECT_TRUE(s.Verify());
}

TEST(SchemaDesignFields, CommandsKeepRowsAndFieldsInStep) {
    FieldScheme f;
    afxtest::Session s;
    CSchemaDesignDlg dlg;
    dlg.InitData(f.path.c_str());
    RunDesigner(s, dlg, [&](CSchemaDesignDlg& d) {
        CTreeCtrl& tree = d.m_treeScheme;
        CListCtrl& list = d.m_lstField;
        CScheme* scheme = d.m_schemeList.GetHead();
        afxtest::ClickItem(&tree, Item(tree, {"f", "L"}));
        EXPECT_EQ(Rows(list), (V{"F0", "F1", "F2", "F3", "F4"}));
        EXPECT_EQ(std::string(list.GetItemText(0, 1)), std::string(FTListMap().GetTypeString(dbLong)));

        // Delete rows 1 and 3: fields 0, 2, 4 stay in that order.
        afxtest::SelectRows(&list, {1, 3});
        s.ExpectPopupText("删除字段");
        afxtest::RightClickRow(&list, 3);
        EXPECT_EQ(Rows(list), (V{"F0", "F2", "F4"}));
        EXPECT_EQ(Names(*LayerL(d)), Rows(list));
        EXPECT_EQ(scheme->m_bModified, 1);

        // Insert with the first row selected: the new field comes first.
        afxtest::ClickRow(&list, 0);
        s.ExpectPopupText("插入字段");
        AnswerField(s, "N");
        afxtest::RightClickRow(&list, 0);
        EXPECT_EQ(Names(*LayerL(d)), (V{"N", "F0", "F2", "F4"}));
        EXPECT_EQ(Rows(list), Names(*LayerL(d)));

        // A double click on empty space appends; a name already listed is refused by the dialog.
        s.ExpectDialog(IDD_FIELD_PROP, [](CDialog& fd) {
            afxtest::Type(fd, IDC_FIELD_NAME, "f0");
            afxtest::Ok(fd);
            EXPECT_FALSE(fd.IsEnded());
            afxtest::Type(fd, IDC_FIELD_NAME, "Z");
            afxtest::Ok(fd);
        });
        s.ExpectMessageBox("字段名不能重复!", IDOK);
        afxtest::DoubleClickRow(&list, -1);
        EXPECT_EQ(Names(*LayerL(d)), (V{"N", "F0", "F2", "F4", "Z"}));

        // A class's field edited in place: same place, same count, the class written back.
        scheme->m_bModified = 0;
        afxtest::ClickItem(&tree, Item(tree, {"f", "L", "k-7"}));
        EXPECT_EQ(Rows(list), (V{"G0", "G1", "G2"}));
        s.ExpectDialog(IDD_FIELD_PROP, [](CDialog& fd) {
            afxtest::Type(fd, IDC_FIELD_NAME, "G1x");
            afxtest::Ok(fd);
        });
        afxtest::ClickRow(&list, 1);  // the first click of the double click selects the row
        afxtest::DoubleClickRow(&list, 1);
        EXPECT_EQ(Names(ClassK(d)), (V{"G0", "G1x", "G2"}));
        EXPECT_EQ(Rows(list), Names(ClassK(d)));
        EXPECT_EQ(scheme->m_bModified, 1);
        CDaoFieldInfo edited;
        ClassK(d).GetFieldInfo(1, edited);
        EXPECT_EQ(edited.m_nType, dbLong) << "the type shown is kept";

        // Cancelling the dialog changes nothing.
        s.ExpectDialog(IDD_FIELD_PROP, [](CDialog& fd) { afxtest::Cancel(fd); });
        afxtest::DoubleClickRow(&list, -1);
        EXPECT_EQ(Names(ClassK(d)), (V{"G0", "G1x", "G2"}));
    });
    EXPECT_TRUE(s.Verify());
}

TEST(SchemaDesignFields, CopiedRowsKeepWhatTheyShow) {
    TempDir dir;
    auto* t = new CGeoTheme;
    t->SetName("L");
    CDaoFieldInfo text = GetDefaultFieldInfo();
    text.m_strName = "名称";
    text.m_nType = dbText;
    text.m_lSize = GetFieldSize(dbText, 30, 20, 0);
    text.m_bRequired = TRUE;
    text.m_strDefaultValue = "无";
    t->AddField(text, -2);
    t->AddField(LongField("ID"), -2);
    const std::string path = WriteScheme(dir("c.sch"), {t});
    afxtest::Session s;
    CSchemaDesignDlg dlg;
    dlg.InitData(path.c_str());
    RunDesigner(s, dlg, [&](CSchemaDesignDlg& d) {
        afxtest::ClickItem(&d.m_treeScheme, Item(d.m_treeScheme, {"c", "L"}));
        EXPECT_EQ(std::string(d.m_lstField.GetItemText(0, 6)), "是");
        afxtest::SelectRows(&d.m_lstField, {0, 1});
        s.ExpectPopupText("拷贝字段");
        afxtest::RightClickRow(&d.m_lstField, 0);
        ASSERT_EQ(d.m_clipboard.m_nKind, 1);
        ASSERT_EQ(d.m_clipboard.m_fieldList.GetCount(), 2);
        const auto* first = static_cast<CDaoFieldInfo*>(d.m_clipboard.m_fieldList.GetHead());
        EXPECT_EQ(std::string(first->m_strName), "名称") << "row order";
        EXPECT_TRUE(first->m_bRequired);
        EXPECT_EQ(first->m_lSize, text.m_lSize) << "widths and decimals";
        EXPECT_EQ(std::string(first->m_strDefaultValue), "无");
    });
    EXPECT_TRUE(s.Verify());
}

TEST(SchemaDesignFields, DraggedRowLandsBeforeTheRowDroppedOn) {
    const struct {
        int from, to;  // to -1: below the last row
        V order;
    } cases[] = {
        {0, 3, {"F1", "F2", "F0", "F3", "F4"}},
        {3, 0, {"F3", "F0", "F1", "F2", "F4"}},
        {0, -1, {"F1", "F2", "F3", "F4", "F0"}},
        {2, 3, {"F0", "F1", "F2", "F3", "F4"}},
    };
    for (const auto& c : cases) {
        FieldScheme f;
        afxtest::Session s;
        CSchemaDesignDlg dlg;
        dlg.InitData(f.path.c_str());
        RunDesigner(s, dlg, [&](CSchemaDesignDlg& d) {
            afxtest::ClickItem(&d.m_treeScheme, Item(d.m_treeScheme, {"f", "L"}));
            afxtest::ClickRow(&d.m_lstField, c.from);
            afxtest::DragList(&d.m_lstField, c.from, c.to);
            EXPECT_EQ(Names(*LayerL(d)), c.order) << c.from << " onto " << c.to;
            EXPECT_EQ(Rows(d.m_lstField), c.order);
        });
        EXPECT_TRUE(s.Verify());
    }
}
