// The scheme designer's tree and files: what three opened schemes look like, the context menu of each
// level, class titles and their orders, opening files that cannot be read, and the save commands,
// whose files read back as the schemes in memory.
#include "ui/SchemaDesignDlg.h"

#include <filesystem>

#include "SchemaDesignFixture.h"
#include "ui/resources/SchemeDesignTemplates.h"

using namespace sdtest;
using testsupport::TempDir;

namespace {

struct ThreeSchemes {
    TempDir dir;
    std::string a, b, c;
    ThreeSchemes() {
        c = WriteScheme(dir("c.sch"), {Theme("A", {{2, "x"}, {10, "y"}, {9, "z"}}), Theme("B", {}), Theme("C", {})});
        a = WriteScheme(dir("a.sch"), {Theme("P", {{1, "p-q"}})});
        b = WriteScheme(dir("b.sch"), {Theme("Q", {})});
    }
};

}  // namespace

TEST(SchemaDesignDlg, ThreeOpenedSchemesShowSortedWithTheirLayersReversed) {
    ThreeSchemes f;
    afxtest::Session s;
    CSchemaDesignDlg dlg;
    dlg.InitData(f.c.c_str());
    RunDesigner(s, dlg, [&](CSchemaDesignDlg& d) {
        CTreeCtrl& tree = d.m_treeScheme;
        for (const std::string* path : {&f.a, &f.b}) {
            Command(s, tree, Item(tree, {}), ID_SD_TREE_INPUT, [&] { s.ExpectFileDialog("导入方案", *path); });
        }
        EXPECT_EQ(Outline(tree),
                  "方案集\n"
                  "  a\n    P\n      p-q-1\n"
                  "  b\n    Q\n"
                  "  c\n    C\n    B\n    A\n      x-2\n      y-10\n      z-9\n");
        int image = -1, selected = -1;
        const struct {
            std::vector<std::string> path;
            int image;
        } levels[] = {{{}, 0}, {{"c"}, 2}, {{"c", "A"}, 4}, {{"c", "A", "y-10"}, 6}};
        for (const auto& l : levels) {
            tree.GetItemImage(Item(tree, l.path), image, selected);
            EXPECT_EQ(image, l.image);
            EXPECT_EQ(selected, l.image + 1);
        }
        EXPECT_EQ(tree.GetItemData(Item(tree, {"c", "A", "y-10"})), 10u);
    });
    EXPECT_TRUE(s.Verify());
}

TEST(SchemaDesignDlg, ContextMenusFollowLevelClipboardAndSortMode) {
    ThreeSchemes f;
    afxtest::Session s;
    CSchemaDesignDlg dlg;
    dlg.InitData(f.c.c_str());
    const std::string sortAll = "-|按名字排序|按编码排序|", byNameOff = "-|按编码排序|不排序|";
    const struct {
        std::vector<std::string> path;
        int kind, sortMode;
        std::string menu;
    } cases[] = {
        {{}, 0, 2, "新建方案|导入方案|保存所有方案|" + sortAll},
        {{"c"}, 0, 2, "保存方案|另存方案|删除方案|输出方案|方案属性|-|新建图层|导入图层|" + sortAll},
        {{"c"}, 4, 2, "保存方案|另存方案|删除方案|输出方案|方案属性|-|新建图层|导入图层|粘贴图层|" + sortAll},
        {{"c"}, 3, 1, "保存方案|另存方案|删除方案|输出方案|方案属性|-|新建图层|导入图层|" + byNameOff},
        {{"c", "A"}, 0, 2, "拷贝图层|拷贝属性结构|拷贝显示风格|重命名|删除图层|-|新建地物类|" + sortAll},
        {{"c", "A"}, 1, 2, "拷贝图层|拷贝属性结构|拷贝显示风格|重命名|删除图层|-|新建地物类|粘贴属性结构|" + sortAll},
        {{"c", "A"}, 2, 0, "拷贝图层|拷贝属性结构|拷贝显示风格|重命名|删除图层|-|新建地物类|粘贴显示风格|-|按名字排序|不排序|"},
        {{"c", "A"}, 3, 2, "拷贝图层|拷贝属性结构|拷贝显示风格|重命名|删除图层|-|新建地物类|粘贴地物类|" + sortAll},
        {{"c", "A", "x-2"}, 0, 2, "拷贝地物类|拷贝属性结构|拷贝显示风格|重命名|删除地物类|" + sortAll},
        {{"c", "A", "x-2"}, 1, 2, "拷贝地物类|拷贝属性结构|拷贝显示风格|重命名|删除地物类|粘贴属性结构|" + sortAll},
        {{"c", "A", "x-2"}, 2, 2, "拷贝地物类|拷贝属性结构|拷贝显示风格|重命名|删除地物类|粘贴显示风格|" + sortAll},
        {{"c", "A", "x-2"}, 4, 2, "拷贝地物类|拷贝属性结构|拷贝显示风格|重命名|删除地物类|" + sortAll},
    };
    RunDesigner(s, dlg, [&](CSchemaDesignDlg& d) {
        for (const auto& c : cases) {
            d.m_clipboard.m_nKind = c.kind;
            d.m_treeScheme.SetSortMode(c.sortMode);
            HTREEITEM h = Item(d.m_treeScheme, c.path);
            EXPECT_EQ(MenuAt(s, d.m_treeScheme, h), c.menu) << c.path.size() << " kind " << c.kind;
            EXPECT_EQ(d.m_treeScheme.GetSelectedItem(), h) << "the right click selects";
        }
        // Empty space below the items: no menu.
        afxtest::RightClick(&d.m_treeScheme, nullptr);
    });
    EXPECT_TRUE(s.Verify());
}

TEST(SchemaDesignDlg, TitlesSplitBackIntoNameAndCode) {
    const struct {
        const char* title;
        int nameFirst;
        const char* name;
        UINT code;
    } cases[] = {
        {"road-12", 1, "road", 12},
        {"12-road", 0, "road", 12},
        {"a-b-5", 1, "a-b", 5},            // a hyphen in the name stays in the name
        {"5-a-b", 0, "a-b", 5},
        {"3000000000-big", 0, "big", 3000000000u},
        {"plain", 1, "untouched", 77},     // no hyphen: outputs kept
        {"x-abc", 1, "x", 0},
    };
    for (const auto& c : cases) {
        CString name = "untouched";
        UINT code = 77;
        CSchemaDesignDlg::OutGCTitle(c.title, name, code, c.nameFirst);
        EXPECT_EQ(std::string(name), c.name) << c.title;
        EXPECT_EQ(code, c.code) << c.title;
    }
    EXPECT_EQ(std::string(CSchemaDesignDlg::GetGCTitle("big", 3000000000u, 0)), "3000000000-big");
    EXPECT_EQ(std::string(CSchemaDesignDlg::GetGCTitle("道路", 7, 1)), "道路-7");
}

TEST(SchemaDesignDlg, SortModesRetitleAndReorderClasses) {
    TempDir dir;
    const std::string path = WriteScheme(dir("s.sch"), {Theme("A", {{2, "x"}, {10, "y"}, {9, "z"}, {5, "a-b"}})});
    afxtest::Session s;
    CSchemaDesignDlg dlg;
    dlg.InitData(path.c_str());
    RunDesigner(s, dlg, [&](CSchemaDesignDlg& d) {
        CTreeCtrl& tree = d.m_treeScheme;
        HTREEITEM layer = Item(tree, {"s", "A"});
        typedef std::vector<std::string> V;
        EXPECT_EQ(Children(tree, layer), (V{"x-2", "y-10", "z-9", "a-b-5"}));
        Command(s, tree, layer, ID_SD_SORT_CODE);
        EXPECT_EQ(Children(tree, layer), (V{"10-y", "2-x", "5-a-b", "9-z"})) << "codes compare as text";
        Command(s, tree, layer, ID_SD_SORT_NONE);
        EXPECT_EQ(Children(tree, layer), (V{"2-x", "10-y", "9-z", "5-a-b"})) << "stored order, titles still code first";
        Command(s, tree, layer, ID_SD_SORT_NAME);
        EXPECT_EQ(Children(tree, layer), (V{"a-b-5", "x-2", "y-10", "z-9"}));
        EXPECT_EQ(d.m_bNameFirst, 1);
        for (HTREEITEM h = tree.GetChildItem(layer); h; h = tree.GetNextSiblingItem(h)) {
            CString name;
            UINT code = 0;
            CSchemaDesignDlg::OutGCTitle(tree.GetItemText(h), name, code, 1);
            EXPECT_EQ(code, tree.GetItemData(h)) << std::string(tree.GetItemText(h));
        }
    });
    EXPECT_TRUE(s.Verify());
}

TEST(SchemaDesignDlg, AFileThatCannotBeReadAddsNothing) {
    TempDir dir;
    testsupport::WriteFileBytes(dir("bad.sch"), std::string("\x05\x00garbage", 9));
    const struct {
        std::string path;
        bool openBox;  // the file could not even be opened: the open failure box comes first
    } cases[] = {{dir("missing.sch"), true}, {dir("bad.sch"), false}};
    for (const auto& c : cases) {
        afxtest::Session s;
        CSchemaDesignDlg dlg;
        dlg.InitData(c.path.c_str());
        if (c.openBox) s.ExpectMessageBox("", IDOK);
        s.ExpectMessageBox("无法打开指定文件!", IDOK);
        RunDesigner(s, dlg, [&](CSchemaDesignDlg& d) {
            EXPECT_EQ(Outline(d.m_treeScheme), "方案集\n");
            EXPECT_TRUE(d.m_schemeList.IsEmpty());
        });
        EXPECT_TRUE(s.Verify()) << c.path;
    }
}

TEST(SchemaDesignDlg, NewSchemeIsWrittenOnlyBySavesAndReadsBackAsInMemory) {
    TempDir dir;
    const std::string n = dir("n.sch"), m = dir("m.sch");
    afxtest::Session s;
    CSchemaDesignDlg dlg;
    const INT_PTR result = RunDesigner(s, dlg, [&](CSchemaDesignDlg& d) {
        CTreeCtrl& tree = d.m_treeScheme;
        Command(s, tree, Item(tree, {}), ID_SD_TREE_NEW, [&] { s.ExpectFileDialog("新建方案", n); });
        EXPECT_EQ(Outline(tree), "方案集\n  n\n    未命名层\n");
        EXPECT_EQ(tree.GetSelectedItem(), Item(tree, {"n"}));
        CScheme* scheme = d.m_schemeList.GetHead();
        EXPECT_EQ(scheme->m_bModified, 0);
        EXPECT_FALSE(std::filesystem::exists(n)) << "nothing written before a save";
        scheme->m_lstThemes.GetHead()->AddGC(MakeClass(4, "k", {"F"}), -2);
        scheme->m_bModified = 1;
        Command(s, tree, Item(tree, {"n"}), ID_SD_TREE_SAVE);
        EXPECT_EQ(scheme->m_bModified, 0);
        EXPECT_EQ(DumpFile(n), DumpThemes(scheme->m_lstThemes));
        Command(s, tree, Item(tree, {"n"}), ID_SD_TREE_SAVEAS, [&] { s.ExpectFileDialog("方案另存为", m); });
        EXPECT_EQ(std::string(scheme->m_strPath), m);
        EXPECT_EQ(Outline(tree), "方案集\n  m\n    未命名层\n");
        Command(s, tree, Item(tree, {"m"}), ID_SD_TREE_PROP, [&] { s.ExpectMessageBox(m, IDOK); });
        // "保存结束" saves every scheme and closes.
        scheme->m_lstThemes.GetHead()->SetName("L");
        afxtest::Click(d, IDOK);
        EXPECT_EQ(DumpFile(m), DumpThemes(scheme->m_lstThemes));
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(s.Verify());
}

TEST(SchemaDesignDlg, OkKeepsTheDesignerOpenWhileASaveFailsAndCancelAsks) {
    TempDir dir;
    const std::string lost = dir("no/such/folder/x.sch");
    afxtest::Session s;
    CSchemaDesignDlg dlg;
    const INT_PTR result = RunDesigner(s, dlg, [&](CSchemaDesignDlg& d) {
        Command(s, d.m_treeScheme, Item(d.m_treeScheme, {}), ID_SD_TREE_NEW, [&] { s.ExpectFileDialog("新建方案", lost); });
        s.ExpectMessageBox("", IDOK);  // the save failure
        afxtest::Click(d, IDOK);
        EXPECT_FALSE(d.IsEnded()) << "the scheme's edits would be lost";
        s.ExpectMessageBox("真的要退出.", IDNO);
        afxtest::Click(d, IDCANCEL);
        EXPECT_FALSE(d.IsEnded());
        s.ExpectMessageBox("真的要退出.", IDYES);
        afxtest::Click(d, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(s.Verify());
}
