// The scheme designer's clipboard and drops: pasted layers, classes, fields and styles with their
// generated names, and drags that copy or move layers and classes (a moved class is saved in its new
// place).
#include "ui/SchemaDesignDlg.h"

#include "SchemaDesignFixture.h"
#include "ui/resources/ClassDialogTemplates.h"
#include "ui/resources/SchemeDesignTemplates.h"

using namespace sdtest;
using testsupport::TempDir;

namespace {

typedef std::vector<std::string> V;

template <class T>
V Names(const T& owner) {
    V out;
    CDaoFieldInfo f;
    for (int i = 0; i < owner.GetFieldCount() && owner.GetFieldInfo(i, f); ++i) out.push_back(std::string(f.m_strName));
    return out;
}

CGeoTheme* ThemeAt(CSchemaDesignDlg& d, int i) {
    CScheme* scheme = d.m_schemeList.GetHead();
    return scheme->m_lstThemes.GetAt(scheme->m_lstThemes.FindIndex(i));
}

// Ends the label edit that a new layer starts, keeping its default name.
void EndLabel() { afxtest::Key(VK_ESCAPE); }

}  // namespace

TEST(SchemaDesignClipboard, UniqueFieldNamesAppendDigits) {
    const struct {
        V rows;
        const char* name;
        const char* unique;
    } cases[] = {
        {{}, "N", "N"},
        {{"n"}, "N", "N1"},  // letter case does not count
        {{"N", "N1", "N2", "N3", "N4", "N5", "N6", "N7", "N8", "N9"}, "N", "N10"},
        {{"N", "N1", "N2", "N3", "N4", "N5", "N6", "N7", "N8", "N9", "N10"}, "N", "N111"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        std::vector<std::string> fields(c.rows.begin(), c.rows.end());
        const std::string path = WriteScheme(dir("s.sch"), {Theme("A", {}, fields)});
        afxtest::Session s;
        CSchemaDesignDlg dlg;
        dlg.InitData(path.c_str());
        RunDesigner(s, dlg, [&](CSchemaDesignDlg& d) {
            afxtest::ClickItem(&d.m_treeScheme, Item(d.m_treeScheme, {"s", "A"}));
            EXPECT_EQ(std::string(d.GetListCtrlUniFieldName(c.name)), c.unique) << c.rows.size();
        });
    }
}

TEST(SchemaDesignClipboard, PastesMakeCopiesUnderFreeNames) {
    TempDir dir;
    const std::string path = WriteScheme(
        dir("s.sch"), {Theme("A", {{2, "x", {"f0"}}, {3, "e"}}, {"F0", "F1"}), Theme("B", {{4, "w"}})});
    afxtest::Session s;
    CSchemaDesignDlg dlg;
    dlg.InitData(path.c_str());
    RunDesigner(s, dlg, [&](CSchemaDesignDlg& d) {
        CTreeCtrl& tree = d.m_treeScheme;
        CScheme* scheme = d.m_schemeList.GetHead();
        CGeoTheme* a = ThemeAt(d, 0);
        const std::string before = DumpThemes(scheme->m_lstThemes);

        // A layer copied, deleted and pasted comes back whole under the next default name.
        Command(s, tree, Item(tree, {"s", "A"}), ID_SD_TREE_COPY);
        const std::string copied = DumpThemes(scheme->m_lstThemes).substr(0, DumpThemes(scheme->m_lstThemes).find("\nB "));
        Command(s, tree, Item(tree, {"s", "A"}), ID_SD_TREE_DEL, [&] { s.ExpectMessageBox("是否删除图层?", IDYES); });
        Command(s, tree, Item(tree, {"s"}), ID_SD_TREE_PASTE);
        EndLabel();
        Command(s, tree, Item(tree, {"s"}), ID_SD_TREE_PASTE);
        EndLabel();
        EXPECT_EQ(Outline(tree), "方案集\n  s\n    未命名层2\n      x-2\n      e-3\n    未命名层1\n      x-2\n      e-3\n    B\n      w-4\n");
        a = ThemeAt(d, 0);
        std::string pasted = DumpThemes(scheme->m_lstThemes);
        pasted = pasted.substr(0, pasted.find("\n未命名层1"));
        EXPECT_EQ(pasted, "未命名层2" + copied.substr(1));

        // Fields pasted into a class: a clash gets digits; the class is written back.
        Command(s, tree, Item(tree, {"s", "未命名层2"}), ID_SD_TREE_COPYFIELD);
        EXPECT_EQ(d.m_clipboard.m_nKind, 1);
        Command(s, tree, Item(tree, {"s", "未命名层2", "x-2"}), ID_SD_TREE_PASTEFIELD);
        CGeoGClass gc;
        a->GetGC(0, gc);
        EXPECT_EQ(Names(gc), (V{"f0", "F01", "F1"}));
        EXPECT_EQ(d.m_lstField.GetItemCount(), 3);

        // An empty field structure pastes nothing but marks the scheme changed.
        scheme->m_bModified = 0;
        Command(s, tree, Item(tree, {"s", "未命名层2", "e-3"}), ID_SD_TREE_COPYFIELD);
        Command(s, tree, Item(tree, {"s", "B"}), ID_SD_TREE_PASTEFIELD);
        EXPECT_TRUE(Names(*ThemeAt(d, 2)).empty());
        EXPECT_EQ(scheme->m_bModified, 1);

        // A style copied from a class onto a layer.
        GEOVIEW red = gc.GetGeoView();
        red.m_crLineColor = RGB(255, 0, 0);
        gc.SetGeoView(red);
        a->SetGC(0, gc);
        Command(s, tree, Item(tree, {"s", "未命名层2", "x-2"}), ID_SD_TREE_COPYSTYLE);
        Command(s, tree, Item(tree, {"s", "B"}), ID_SD_TREE_PASTESTYLE);
        EXPECT_EQ(ThemeAt(d, 2)->GetGeoView().m_crLineColor, RGB(255, 0, 0));

        // A class keeps name and code where they are free, and asks where they are not.
        Command(s, tree, Item(tree, {"s", "未命名层2", "x-2"}), ID_SD_TREE_COPY);
        Command(s, tree, Item(tree, {"s", "B"}), ID_SD_TREE_PASTE);
        Command(s, tree, Item(tree, {"s", "未命名层2"}), ID_SD_TREE_PASTE, [&] {
            s.ExpectDialog(IDD_GC_INFO, [](CDialog& info) {
                EXPECT_EQ(afxtest::Text(info, IDC_GCINFO_NAME), "x");
                afxtest::Type(info, IDC_GCINFO_NAME, "x2");
                afxtest::Type(info, IDC_GCINFO_CODE, "20");
                afxtest::Ok(info);
            });
        });
        EXPECT_EQ(Children(tree, Item(tree, {"s", "B"})), (V{"w-4", "x-2"}));
        EXPECT_EQ(Children(tree, Item(tree, {"s", "未命名层2"})), (V{"x-2", "e-3", "x2-20"}));
        EXPECT_NE(before, DumpThemes(scheme->m_lstThemes));
    });
    EXPECT_TRUE(s.Verify());
}

TEST(SchemaDesignClipboard, DragsCopyAndMoveLayersAndClasses) {
    TempDir dir;
    const std::string path = WriteScheme(dir("s.sch"), {Theme("A", {{1, "p"}, {2, "q"}, {3, "r"}}), Theme("B", {})});
    afxtest::Session s;
    CSchemaDesignDlg dlg;
    dlg.InitData(path.c_str());
    RunDesigner(s, dlg, [&](CSchemaDesignDlg& d) {
        CTreeCtrl& tree = d.m_treeScheme;
        CScheme* scheme = d.m_schemeList.GetHead();
        // The first class dropped on the last: last in the tree and in the saved file.
        afxtest::DragTree(&tree, Item(tree, {"s", "A", "p-1"}), Item(tree, {"s", "A", "r-3"}));
        EXPECT_EQ(Children(tree, Item(tree, {"s", "A"})), (V{"q-2", "r-3", "p-1"}));
        Command(s, tree, Item(tree, {"s"}), ID_SD_TREE_SAVE);
        EXPECT_EQ(DumpFile(path), DumpThemes(scheme->m_lstThemes));
        EXPECT_NE(DumpFile(path).find("  3 r type"), std::string::npos);
        EXPECT_LT(DumpFile(path).find("  3 r type"), DumpFile(path).find("  1 p type"));

        // Sorted by name, a class dropped on its sibling stays; a layer dropped on itself too.
        Command(s, tree, Item(tree, {"s"}), ID_SD_SORT_NAME);
        afxtest::DragTree(&tree, Item(tree, {"s", "A", "p-1"}), Item(tree, {"s", "A", "r-3"}));
        EXPECT_EQ(Children(tree, Item(tree, {"s", "A"})), (V{"p-1", "q-2", "r-3"}));
        afxtest::DragTree(&tree, Item(tree, {"s", "A"}), Item(tree, {"s", "A"}));
        EXPECT_EQ(Outline(tree), "方案集\n  s\n    B\n    A\n      p-1\n      q-2\n      r-3\n");

        // Right drop of a class on a layer: a copy, after the choice in the popup.
        s.ExpectPopup([](const std::vector<MenuItemInfo>& items) -> UINT {
            std::string menu;
            for (const MenuItemInfo& i : items) menu += (i.id ? i.text : "-") + "|";
            EXPECT_EQ(menu, "复制地物类|-|取消|");
            return ID_SD_RDROP_COPYGC;
        });
        afxtest::DragTree(&tree, Item(tree, {"s", "A", "q-2"}), Item(tree, {"s", "B"}), true);
        EXPECT_EQ(Children(tree, Item(tree, {"s", "B"})), (V{"q-2"}));
        // On empty space: no popup.
        afxtest::DragTree(&tree, Item(tree, {"s", "A", "q-2"}), nullptr, true);

        // Right drop of a layer on its sibling: moved after it in the scheme's list.
        s.ExpectPopupText("移动图层");
        afxtest::DragTree(&tree, Item(tree, {"s", "A"}), Item(tree, {"s", "B"}), true);
        EXPECT_EQ(std::string(ThemeAt(d, 0)->GetName()) + std::string(ThemeAt(d, 1)->GetName()), "BA");
        EXPECT_EQ(scheme->m_bModified, 1);

        // A layer dropped on its scheme: a duplicate under the next default name.
        afxtest::DragTree(&tree, Item(tree, {"s", "B"}), Item(tree, {"s"}));
        EndLabel();
        EXPECT_EQ(std::string(ThemeAt(d, 0)->GetName()), "未命名层1");
        EXPECT_EQ(ThemeAt(d, 0)->GetGCCount(), 1);
    });
    EXPECT_TRUE(s.Verify());
}

TEST(SchemaDesignClipboard, MovingALayerOntoItsNamesakeKeepsBothSchemas) {
    TempDir dir;
    const std::string path = WriteScheme(dir("s.sch"), {Theme("A", {{1, "p"}}), Theme("A", {{2, "q"}}), Theme("C", {})});
    afxtest::Session s;
    CSchemaDesignDlg dlg;
    dlg.InitData(path.c_str());
    RunDesigner(s, dlg, [&](CSchemaDesignDlg& d) {
        CTreeCtrl& tree = d.m_treeScheme;
        HTREEITEM hs = Item(tree, {"s"});
        tree.Expand(hs, TVE_EXPAND);
        HTREEITEM second = tree.GetNextSiblingItem(tree.GetChildItem(hs));  // "A" holding q (stored second)
        HTREEITEM third = tree.GetNextSiblingItem(second);                  // "A" holding p (stored first)
        afxtest::DragTree(&tree, third, second);
        EXPECT_EQ(Outline(tree), "方案集\n  s\n    C\n    A\n      q-2\n    A\n      p-1\n");
        CScheme* scheme = d.m_schemeList.GetHead();
        std::string order;
        CGeoGClass gc;
        for (int i = 0; i < 2; ++i) {
            ThemeAt(d, i)->GetGC(0, gc);
            order += std::to_string(gc.GetGCID());
        }
        EXPECT_EQ(order, "21") << "p's layer now after q's";
        EXPECT_EQ(scheme->m_lstThemes.GetCount(), 3);
    });
    EXPECT_TRUE(s.Verify());
}
