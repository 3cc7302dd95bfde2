// The scheme designer's layer and class commands: default layer names, new layers named by a label
// edit, new and renamed classes that keep names and codes unique, importing layers, and deleting
// schemes, layers and classes with their questions.
#include "ui/SchemaDesignDlg.h"

#include <filesystem>

#include "SchemaDesignFixture.h"
#include "ui/resources/ClassDialogTemplates.h"
#include "ui/resources/SchemeDesignTemplates.h"

using namespace sdtest;
using testsupport::TempDir;

namespace {

typedef std::vector<std::string> V;

// The info dialog answered with a name and code (OK), or cancelled when name is NULL.
void AnswerInfo(afxtest::Session& s, const char* name, const char* code) {
    s.ExpectDialog(IDD_GC_INFO, [name, code](CDialog& d) {
        if (!name) {
            afxtest::Cancel(d);
            return;
        }
        afxtest::Type(d, IDC_GCINFO_NAME, name);
        afxtest::Type(d, IDC_GCINFO_CODE, code);
        afxtest::Ok(d);
    });
}

// Types into the open label editor and presses Enter (or Escape).
void FinishLabel(CTreeCtrl& tree, const char* text, bool escape = false) {
    CEdit* edit = tree.GetEditControl();
    ASSERT_NE(edit, nullptr) << "a label edit runs";
    afxtest::Type(edit, text);
    afxtest::Key(escape ? VK_ESCAPE : VK_RETURN);
}

std::string LayerNames(CScheme* scheme) {
    std::string s;
    for (POSITION p = scheme->m_lstThemes.GetHeadPosition(); p;) s += std::string(scheme->m_lstThemes.GetNext(p)->GetName()) + ",";
    return s;
}

}  // namespace

TEST(SchemaDesignCommands, DefaultLayerNamesCountPastTheLargestNumber) {
    TempDir dir;
    const struct {
        std::vector<const char*> layers;
        const char* next;
    } cases[] = {
        {{"未命名层2", "未命名层7", "未命名层x"}, "未命名层8"},
        {{"道路"}, "未命名层1"},
        {{"未命名层0", "未命名层4294967295", "未命名层99999999999"}, "未命名层1"},
        {{"未命名层4294967294"}, "未命名层4294967295"},
        {{"未命名层03", "未命名层 5"}, "未命名层4"},
    };
    for (const auto& c : cases) {
        std::vector<CGeoTheme*> themes;
        for (const char* name : c.layers) themes.push_back(Theme(name, {}));
        const std::string path = WriteScheme(dir("d.sch"), themes);
        afxtest::Session s;
        CSchemaDesignDlg dlg;
        dlg.InitData(path.c_str());
        RunDesigner(s, dlg, [&](CSchemaDesignDlg& d) {
            EXPECT_EQ(std::string(d.GetDefaultThemeName(Item(d.m_treeScheme, {"d"}))), c.next) << c.layers[0];
        });
    }
}

TEST(SchemaDesignCommands, NewLayerIsNamedByItsLabelEditAndNamesStayUnique) {
    TempDir dir;
    const std::string path = WriteScheme(dir("s.sch"), {Theme("A", {})});
    afxtest::Session s;
    CSchemaDesignDlg dlg;
    dlg.InitData(path.c_str());
    RunDesigner(s, dlg, [&](CSchemaDesignDlg& d) {
        CTreeCtrl& tree = d.m_treeScheme;
        CScheme* scheme = d.m_schemeList.GetHead();
        Command(s, tree, Item(tree, {"s"}), ID_SD_TREE_NEW);
        EXPECT_EQ(Outline(tree), "方案集\n  s\n    未命名层1\n    A\n");
        EXPECT_EQ(scheme->m_bModified, 1);
        // Confirming the default name unchanged: the item itself counts, so the name is refused.
        s.ExpectMessageBox("层名不能重复!", IDOK);
        FinishLabel(tree, "未命名层1");
        s.ExpectMessageBox("层名不能为空!", IDOK);
        afxtest::EditTreeLabel(&tree, Item(tree, {"s", "未命名层1"}), "");
        s.ExpectMessageBox("层名不能重复!", IDOK);
        afxtest::EditTreeLabel(&tree, Item(tree, {"s", "未命名层1"}), "A");
        afxtest::EditTreeLabel(&tree, Item(tree, {"s", "未命名层1"}), "B", true);  // Escape: nothing
        EXPECT_EQ(LayerNames(scheme), "未命名层1,A,");
        // Enter with the tree focused renames the selected layer (the hidden default button).
        afxtest::ClickItem(&tree, Item(tree, {"s", "未命名层1"}));
        afxtest::Key(VK_RETURN);
        FinishLabel(tree, "道路");
        EXPECT_EQ(LayerNames(scheme), "道路,A,");
        EXPECT_EQ(Outline(tree), "方案集\n  s\n    道路\n    A\n");
        // Only layers are edited as labels.
        afxtest::ClickItem(&tree, Item(tree, {"s"}));
        EXPECT_EQ(tree.EditLabel(Item(tree, {"s"})), nullptr);
    });
    EXPECT_TRUE(s.Verify());
}

TEST(SchemaDesignCommands, NewAndRenamedClassesKeepNamesAndCodesUnique) {
    TempDir dir;
    const std::string path = WriteScheme(dir("s.sch"), {Theme("A", {{2, "x"}, {10, "y"}})});
    afxtest::Session s;
    CSchemaDesignDlg dlg;
    dlg.InitData(path.c_str());
    RunDesigner(s, dlg, [&](CSchemaDesignDlg& d) {
        CTreeCtrl& tree = d.m_treeScheme;
        CScheme* scheme = d.m_schemeList.GetHead();
        CGeoTheme* theme = scheme->m_lstThemes.GetHead();
        Command(s, tree, Item(tree, {"s", "A"}), ID_SD_TREE_NEW, [&] {
            AnswerInfo(s, "x", "99");
            s.ExpectMessageBox("地物名称重复", IDOK);
            AnswerInfo(s, "n", "2");
            s.ExpectMessageBox("地物编码重复", IDOK);
            AnswerInfo(s, "n", "99");
        });
        EXPECT_EQ(Children(tree, Item(tree, {"s", "A"})), (V{"x-2", "y-10", "n-99"}));
        CGeoGClass gc;
        theme->GetGC(2, gc);
        EXPECT_EQ(gc.GetType(), GCT_LINE | GCT_LINE_DIRECTED) << "no data-kind bit";
        EXPECT_EQ(scheme->m_bModified, 1);

        // A cancelled dialog adds nothing.
        Command(s, tree, Item(tree, {"s", "A"}), ID_SD_TREE_NEW, [&] { AnswerInfo(s, nullptr, nullptr); });
        EXPECT_EQ(theme->GetGCCount(), 3);

        // Rename: unchanged accepted at once; the first class's name reopens the dialog.
        Command(s, tree, Item(tree, {"s", "A", "n-99"}), ID_SD_TREE_RENAME, [&] { AnswerInfo(s, "n", "99"); });
        Command(s, tree, Item(tree, {"s", "A", "n-99"}), ID_SD_TREE_RENAME, [&] {
            AnswerInfo(s, "x", "99");
            s.ExpectMessageBox("地物名称重复", IDOK);
            AnswerInfo(s, "w", "7");
        });
        EXPECT_EQ(Children(tree, Item(tree, {"s", "A"})), (V{"x-2", "y-10", "w-7"}));
        EXPECT_EQ(tree.GetItemData(Item(tree, {"s", "A", "w-7"})), 7u);
        EXPECT_EQ(theme->FindGC(7u), 2);
        EXPECT_EQ(theme->FindGC(99u), -1);
    });
    EXPECT_TRUE(s.Verify());
}

TEST(SchemaDesignCommands, ImportedLayersTakeDefaultNamesWhenTheirsAreTaken) {
    TempDir dir;
    const std::string path = WriteScheme(dir("s.sch"), {Theme("A", {})});
    const std::string more = WriteScheme(dir("more.sch"), {Theme("A", {{5, "k", {"F"}}}), Theme("B", {})});
    afxtest::Session s;
    CSchemaDesignDlg dlg;
    dlg.InitData(path.c_str());
    RunDesigner(s, dlg, [&](CSchemaDesignDlg& d) {
        CTreeCtrl& tree = d.m_treeScheme;
        CScheme* scheme = d.m_schemeList.GetHead();
        Command(s, tree, Item(tree, {"s"}), ID_SD_TREE_INPUT, [&] { s.ExpectFileDialog("指定方案", more); });
        EXPECT_EQ(LayerNames(scheme), "A,未命名层1,B,");
        EXPECT_EQ(Outline(tree), "方案集\n  s\n    B\n    未命名层1\n      k-5\n    A\n");
        EXPECT_EQ(scheme->m_bModified, 1);
        // A file that is no scheme: nothing changes.
        testsupport::WriteFileBytes(dir("bad.sch"), "not a scheme");
        Command(s, tree, Item(tree, {"s"}), ID_SD_TREE_INPUT, [&] {
            s.ExpectFileDialog("指定方案", dir("bad.sch"));
            s.ExpectMessageBox("无法打开指定文件!", IDOK);
        });
        EXPECT_EQ(LayerNames(scheme), "A,未命名层1,B,");
    });
    EXPECT_TRUE(s.Verify());
}

TEST(SchemaDesignCommands, DeletingAsksWhatTheLevelNeeds) {
    TempDir dir;
    const struct {
        int answer;         // to "方案已被修改，是否保存?"
        bool failingSave;
        bool schemeGone;
        bool fileRewritten;
    } cases[] = {
        {IDYES, false, true, true},
        {IDNO, false, true, false},
        {IDCANCEL, false, false, false},
        {IDYES, true, false, false},  // a failed save keeps the scheme and its edits
    };
    for (const auto& c : cases) {
        const std::string path = WriteScheme(dir("s.sch"), {Theme("A", {{2, "x"}}), Theme("B", {})});
        afxtest::Session s;
        CSchemaDesignDlg dlg;
        dlg.InitData(path.c_str());
        RunDesigner(s, dlg, [&](CSchemaDesignDlg& d) {
            CTreeCtrl& tree = d.m_treeScheme;
            CScheme* scheme = d.m_schemeList.GetHead();
            // A class goes without a question, a layer after one.
            Command(s, tree, Item(tree, {"s", "A", "x-2"}), ID_SD_TREE_DEL);
            EXPECT_EQ(scheme->m_lstThemes.GetTail()->GetGCCount(), 0);
            Command(s, tree, Item(tree, {"s", "B"}), ID_SD_TREE_DEL, [&] { s.ExpectMessageBox("是否删除图层?", IDNO); });
            EXPECT_EQ(LayerNames(scheme), "A,B,");
            Command(s, tree, Item(tree, {"s", "B"}), ID_SD_TREE_DEL, [&] { s.ExpectMessageBox("是否删除图层?", IDYES); });
            EXPECT_EQ(LayerNames(scheme), "A,");
            EXPECT_EQ(Outline(tree), "方案集\n  s\n    A\n");
            if (c.failingSave) scheme->m_strPath = dir("no/such/folder/s.sch").c_str();
            Command(s, tree, Item(tree, {"s"}), ID_SD_TREE_DEL, [&] {
                s.ExpectMessageBox("方案已被修改，是否保存?", c.answer);
                if (c.failingSave) s.ExpectMessageBox("", IDOK);
            });
            EXPECT_EQ(d.m_schemeList.IsEmpty(), c.schemeGone);
            EXPECT_EQ(Outline(tree) == "方案集\n", c.schemeGone);
        });
        EXPECT_TRUE(s.Verify());
        EXPECT_EQ(DumpFile(path).find("B dt") == std::string::npos, c.fileRewritten) << c.answer;
    }
    // A scheme that was not changed goes without a question.
    const std::string path = WriteScheme(dir("u.sch"), {Theme("A", {})});
    afxtest::Session s;
    CSchemaDesignDlg dlg;
    dlg.InitData(path.c_str());
    RunDesigner(s, dlg, [&](CSchemaDesignDlg& d) {
        Command(s, d.m_treeScheme, Item(d.m_treeScheme, {"u"}), ID_SD_TREE_DEL);
        EXPECT_TRUE(d.m_schemeList.IsEmpty());
    });
    EXPECT_TRUE(s.Verify());
}
