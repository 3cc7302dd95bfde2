// The scheme designer's style and option panel: what a selection shows and enables, the scale range,
// the geometry checks, the data-type rule, the style sheet and the symbol-library reload.
#include "ui/SchemaDesignDlg.h"

#include "SchemaDesignFixture.h"
#include "ui/StyleSheet.h"
#include "ui/resources/SchemeDesignTemplates.h"

using namespace sdtest;
using testsupport::TempDir;

namespace {

struct PanelScheme {
    TempDir dir;
    std::string path;
    PanelScheme() {
        auto* t = Theme("L", {{1, "free"}, {2, "ranged"}, {3, "text"}});
        t->SetDataType(1);
        CGeoGClass gc;
        t->GetGC(0, gc);
        gc.SetType(GCT_LINE | GCT_GIS_DATA);
        t->SetGC(0, gc);
        t->GetGC(1, gc);
        gc.SetMinMaxScale(10, 100);
        gc.SetType(GCT_POINT | GCT_POINT_DIRECTED | GCT_GIS_DATA);
        t->SetGC(1, gc);
        t->GetGC(2, gc);
        gc.SetType(GCT_ANNO | GCT_CARTO_DATA);
        gc.SetFontSize(30, 40);
        t->SetGC(2, gc);
        path = WriteScheme(dir("p.sch"), {t});
    }
};

CGeoTheme* Layer(CSchemaDesignDlg& d) { return d.m_schemeList.GetHead()->m_lstThemes.GetHead(); }

CGeoGClass Class(CSchemaDesignDlg& d, UINT code) {
    CGeoGClass gc;
    Layer(d)->GetGC(Layer(d)->FindGC(code), gc);
    return gc;
}

}  // namespace

TEST(SchemaDesignPanel, SelectionShowsAndEnablesByLevel) {
    PanelScheme f;
    afxtest::Session s;
    CSchemaDesignDlg dlg;
    dlg.InitData(f.path.c_str());
    RunDesigner(s, dlg, [&](CSchemaDesignDlg& d) {
        CTreeCtrl& tree = d.m_treeScheme;
        const int styleButtons[] = {IDC_SD_POINT_STYLE, IDC_SD_LINE_STYLE, IDC_SD_FILL_STYLE, IDC_SD_ANNO_STYLE};
        const int classOnly[] = {IDC_SD_LIMIT_SCALE, IDC_SD_POINT, IDC_SD_LINE, IDC_SD_ANNO, IDC_SD_ELEVATION};

        afxtest::ClickItem(&tree, Item(tree, {"p", "L", "ranged-2"}));
        for (int id : styleButtons) EXPECT_TRUE(afxtest::IsEnabled(d, id));
        for (int id : classOnly) EXPECT_TRUE(afxtest::IsEnabled(d, id));
        EXPECT_EQ(afxtest::Text(d, IDC_SD_MIN_SCALE), "10");
        EXPECT_EQ(afxtest::Text(d, IDC_SD_MAX_SCALE), "100");
        EXPECT_TRUE(afxtest::IsEnabled(d, IDC_SD_MIN_SCALE));
        EXPECT_EQ(afxtest::CheckState(d, IDC_SD_POINT_DIRECTED), BST_CHECKED);
        EXPECT_TRUE(afxtest::IsEnabled(d, IDC_SD_IDENT_POINT));
        EXPECT_FALSE(afxtest::IsEnabled(d, IDC_SD_FILLED)) << "not a line class";
        EXPECT_EQ(afxtest::CheckState(d, IDC_SD_GIS_DATA), BST_CHECKED);
        EXPECT_EQ(d.m_stcPointView.m_nKind, 1);
        EXPECT_EQ(d.m_stcAnnoView.m_nKind, 4);

        afxtest::ClickItem(&tree, Item(tree, {"p", "L", "free-1"}));
        EXPECT_EQ(afxtest::CheckState(d, IDC_SD_LIMIT_SCALE), BST_UNCHECKED);
        EXPECT_EQ(afxtest::Text(d, IDC_SD_MIN_SCALE), "10");
        EXPECT_EQ(afxtest::Text(d, IDC_SD_MAX_SCALE), "10000");
        EXPECT_FALSE(afxtest::IsEnabled(d, IDC_SD_MAX_SCALE));
        EXPECT_EQ(Class(d, 1).GetMaxScale(), 0xFFFFFFFFu) << "showing 10..10000 does not limit the class";

        afxtest::ClickItem(&tree, Item(tree, {"p", "L"}));
        for (int id : classOnly) EXPECT_FALSE(afxtest::IsEnabled(d, id));
        EXPECT_TRUE(afxtest::IsEnabled(d, IDC_SD_GIS_DATA));
        EXPECT_EQ(afxtest::CheckState(d, IDC_SD_GIS_DATA), BST_CHECKED);
        EXPECT_EQ(afxtest::CheckState(d, IDC_SD_MAP_DATA), BST_UNCHECKED);

        afxtest::ClickItem(&tree, Item(tree, {"p"}));
        for (int id : styleButtons) EXPECT_FALSE(afxtest::IsEnabled(d, id));
        EXPECT_EQ(d.m_stcPointView.m_nKind, 5) << "previews cleared";
        EXPECT_EQ(d.m_stcFillSymbol.m_pSymbolLib, nullptr);
    });
    EXPECT_TRUE(s.Verify());
}

TEST(SchemaDesignPanel, ScaleRangeAndGeometryChecksReachTheClass) {
    PanelScheme f;
    afxtest::Session s;
    CSchemaDesignDlg dlg;
    dlg.InitData(f.path.c_str());
    RunDesigner(s, dlg, [&](CSchemaDesignDlg& d) {
        CTreeCtrl& tree = d.m_treeScheme;
        afxtest::ClickItem(&tree, Item(tree, {"p", "L", "ranged-2"}));
        // "从1:" typed above "到1:": the smaller is the minimum.
        afxtest::Type(d, IDC_SD_MIN_SCALE, "5000");
        EXPECT_EQ(Class(d, 2).GetMinScale(), 100u);
        EXPECT_EQ(Class(d, 2).GetMaxScale(), 5000u);
        afxtest::Check(d, IDC_SD_LIMIT_SCALE, false);
        EXPECT_EQ(Class(d, 2).GetMinScale(), 1u);
        EXPECT_EQ(Class(d, 2).GetMaxScale(), 0xFFFFFFFFu);
        EXPECT_FALSE(afxtest::IsEnabled(d, IDC_SD_MIN_SCALE));
        EXPECT_EQ(afxtest::Text(d, IDC_SD_MIN_SCALE), "5000") << "the numbers stay";

        // Identification point and directed point exclude each other.
        afxtest::Check(d, IDC_SD_IDENT_POINT, true);
        EXPECT_EQ(afxtest::CheckState(d, IDC_SD_POINT_DIRECTED), BST_UNCHECKED);
        EXPECT_EQ(Class(d, 2).GetType() & (GCT_POINT_IDPOINT | GCT_POINT_DIRECTED), GCT_POINT_IDPOINT);
        afxtest::Check(d, IDC_SD_POINT_DIRECTED, true);
        EXPECT_EQ(Class(d, 2).GetType() & (GCT_POINT_IDPOINT | GCT_POINT_DIRECTED), GCT_POINT_DIRECTED);
        // Clearing the point disables its options but keeps their bits.
        afxtest::Check(d, IDC_SD_POINT, false);
        EXPECT_FALSE(afxtest::IsEnabled(d, IDC_SD_POINT_DIRECTED));
        EXPECT_EQ(Class(d, 2).GetType() & (GCT_POINT | GCT_POINT_DIRECTED), GCT_POINT_DIRECTED);
        afxtest::Check(d, IDC_SD_ELEVATION, true);
        EXPECT_TRUE(Class(d, 2).IsElevationValid());

        // The last data kind cleared sets the other one, for a class and for a layer.
        afxtest::Check(d, IDC_SD_GIS_DATA, false);
        EXPECT_EQ(afxtest::CheckState(d, IDC_SD_MAP_DATA), BST_CHECKED);
        EXPECT_EQ(static_cast<DWORD>(Class(d, 2).GetType()) & (GCT_GIS_DATA | GCT_CARTO_DATA), static_cast<DWORD>(GCT_CARTO_DATA));
        afxtest::ClickItem(&tree, Item(tree, {"p", "L"}));
        afxtest::Check(d, IDC_SD_GIS_DATA, false);
        EXPECT_EQ(Layer(d)->GetDataType(), 2);
        afxtest::Check(d, IDC_SD_GIS_DATA, true);
        EXPECT_EQ(Layer(d)->GetDataType(), 3);
    });
    EXPECT_TRUE(s.Verify());
}

TEST(SchemaDesignPanel, StyleSheetGetsAndReturnsTheAnnotationSizeOfTextClassesOnly) {
    const struct {
        std::vector<std::string> item;
        int page;
        int showSize;
        UINT width, height;
    } cases[] = {
        {{"p", "L", "text-3"}, IDC_SD_ANNO_STYLE, 1, 30, 40},
        {{"p", "L", "free-1"}, IDC_SD_LINE_STYLE, 0, 50, 50},
        {{"p", "L"}, IDC_SD_POINT_STYLE, 0, 50, 50},
    };
    for (const auto& c : cases) {
        PanelScheme f;
        afxtest::Session s;
        CSchemaDesignDlg dlg;
        dlg.InitData(f.path.c_str());
        RunDesigner(s, dlg, [&](CSchemaDesignDlg& d) {
            afxtest::ClickItem(&d.m_treeScheme, Item(d.m_treeScheme, c.item));
            CScheme* scheme = d.m_schemeList.GetHead();
            s.ExpectSheet("显示风格设置", [&](CPropertySheet& sh) { afxtest::Cancel(sh); });
            afxtest::Click(d, c.page);
            EXPECT_EQ(scheme->m_bModified, 0) << "cancelled";
            s.ExpectSheet("显示风格设置", [&](CPropertySheet& sh) {
                auto& sheet = static_cast<CStyleSheet&>(sh);
                EXPECT_EQ(sheet.m_bShowSize, c.showSize);
                EXPECT_EQ(sheet.m_nAnnoWidth, c.width);
                EXPECT_EQ(sheet.m_nAnnoHeight, c.height);
                if (c.showSize) {
                    afxtest::ActivatePage(sh, 3);
                    afxtest::Type(*sh.GetPage(3), 1045, "33");  // the character width
                }
                afxtest::Ok(sh);
            });
            afxtest::Click(d, c.page);
            EXPECT_EQ(scheme->m_bModified, 1);
            UINT w = 0, h = 0;
            if (c.showSize) {
                Class(d, 3).GetFontSize(w, h);
                EXPECT_EQ(w, 33u) << "written back";
            }
            if (!c.showSize && c.item.size() == 3) {
                Class(d, 3).GetFontSize(w, h);
                EXPECT_EQ(w, 30u) << "another class's size untouched";
            }
        });
        EXPECT_TRUE(s.Verify());
    }
}

TEST(SchemaDesignPanel, ReloadWithAnEmptyNameLeavesNoLibraryAndABadScaleIsRefused) {
    PanelScheme f;
    afxtest::Session s;
    CSchemaDesignDlg dlg;
    dlg.InitData(f.path.c_str());
    RunDesigner(s, dlg, [&](CSchemaDesignDlg& d) {
        afxtest::ClickItem(&d.m_treeScheme, Item(d.m_treeScheme, {"p", "L"}));
        afxtest::Type(d, IDC_SD_SYMBOL_SCALE, "0");
        s.ExpectMessageBox("", IDOK);  // the exchange's own refusal
        afxtest::Click(d, IDC_SD_LIB_RELOAD);
        afxtest::Type(d, IDC_SD_SYMBOL_SCALE, "500");
        afxtest::Type(d, IDC_SD_SYMBOL_LIB, "");
        afxtest::Click(d, IDC_SD_LIB_RELOAD);
        EXPECT_EQ(d.m_pSymbolLib, nullptr);
        EXPECT_EQ(d.m_stcPointSymbol.m_pSymbolLib, nullptr);
        EXPECT_EQ(d.m_stcPointView.m_nKind, 1) << "previews refreshed";
    });
    EXPECT_TRUE(s.Verify());
}
