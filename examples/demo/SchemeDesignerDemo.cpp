// The scheme designer building the demo's scheme, driven by a scripted person: a new scheme file
// "demo.sch" whose first layer is renamed "道路", a second layer "水系", classes added through their
// info dialog, fields through the field dialog, a lake class marked as filled, and "保存结束", which
// writes the file. The designer is drawn into PNG pictures on the way, and the saved file is read back
// and printed.
#include <afx/WindowPicture.h>
#include <afx/afxtest.h>

#include "ui/SchemaDesignDlg.h"
#include "ui/resources/ClassDialogTemplates.h"
#include "ui/resources/FieldDialogTemplates.h"
#include "ui/resources/SchemeDesignTemplates.h"

#include <win32/codepage.h>

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const CString& s) { return win32::GbkToUtf8(s.str()); }

HTREEITEM Child(CTreeCtrl& tree, HTREEITEM parent, const char* text) {
    for (HTREEITEM h = tree.GetChildItem(parent); h; h = tree.GetNextSiblingItem(h))
        if (tree.GetItemText(h) == text) return h;
    return nullptr;
}

}  // namespace

int RunSchemeDesignerDemo(const std::string& outDir) {
    std::printf("\nthe scheme designer builds the demo's scheme:\n");
    const std::string schemePath = win32::NativePathToGbk(outDir + "/demo.sch");
    bool allWritten = true;
    auto picture = [&](HWND h, const char* name, const char* what) {
        const std::string png = outDir + "/" + name;
        const BOOL ok = AfxWriteWindowPicture(h, win32::NativePathToGbk(png).c_str());
        std::printf("  %-36s %s\n", what, ok ? png.c_str() : "NOT WRITTEN");
        allWritten = allWritten && ok;
    };
    afxtest::Session person(false);
    auto command = [&](CTreeCtrl& tree, HTREEITEM h, UINT id) {
        person.ExpectPopup(id);
        afxtest::RightClick(&tree, h);
    };
    auto newClass = [&](CTreeCtrl& tree, HTREEITEM layer, const char* name, const char* code) {
        person.ExpectPopup(ID_SD_TREE_NEW);
        person.ExpectDialog(IDD_GC_INFO, [=](CDialog& d) {
            afxtest::Type(d, IDC_GCINFO_NAME, name);
            afxtest::Type(d, IDC_GCINFO_CODE, code);
            afxtest::Ok(d);
        });
        afxtest::RightClick(&tree, layer);
    };
    auto newField = [&](CListCtrl& list, const char* name) {
        person.ExpectDialog(IDD_FIELD_PROP, [=](CDialog& d) {
            afxtest::Type(d, IDC_FIELD_NAME, name);
            afxtest::Ok(d);
        });
        afxtest::DoubleClickRow(&list, -1);
    };

    CSchemaDesignDlg dlg;
    person.ExpectDialog(CSchemaDesignDlg::IDD, [&](CDialog& d) {
        CTreeCtrl& tree = dlg.m_treeScheme;
        HTREEITEM root = tree.GetRootItem();
        person.ExpectPopup(ID_SD_TREE_NEW);
        person.ExpectFileDialog("新建方案", schemePath);
        afxtest::RightClick(&tree, root);
        HTREEITEM scheme = tree.GetSelectedItem();
        tree.Expand(root, TVE_EXPAND);
        tree.Expand(scheme, TVE_EXPAND);

        // The new scheme's layer becomes "道路" (Enter renames); a second layer is named as it is made.
        afxtest::ClickItem(&tree, tree.GetChildItem(scheme));
        afxtest::Key(VK_RETURN);
        afxtest::Type(tree.GetEditControl(), "道路");
        afxtest::Key(VK_RETURN);
        command(tree, scheme, ID_SD_TREE_NEW);
        afxtest::Type(tree.GetEditControl(), "水系");
        afxtest::Key(VK_RETURN);

        HTREEITEM roads = Child(tree, scheme, "道路"), water = Child(tree, scheme, "水系");
        tree.Expand(roads, TVE_EXPAND);
        tree.Expand(water, TVE_EXPAND);
        newClass(tree, roads, "高速公路", "1");
        newClass(tree, roads, "国道", "2");
        newClass(tree, water, "河流", "10");
        newClass(tree, water, "湖泊", "11");

        afxtest::ClickItem(&tree, roads);
        newField(dlg.m_lstField, "名称");
        newField(dlg.m_lstField, "等级");
        picture(d.m_hWnd, "demo-scheme-designer-layer.png", "designer, the road layer:");

        afxtest::ClickItem(&tree, Child(tree, water, "湖泊-11"));
        afxtest::Check(d, IDC_SD_FILLED, true);
        afxtest::Check(d, IDC_SD_LIMIT_SCALE, true);
        afxtest::Type(d, IDC_SD_MAX_SCALE, "50000");
        newField(dlg.m_lstField, "面积");
        picture(d.m_hWnd, "demo-scheme-designer-class.png", "designer, the lake class:");
        afxtest::Ok(d);  // "保存结束": every scheme saved
    });
    const int result = static_cast<int>(dlg.DoModal());
    std::printf("  the designer returned %d\n", result);

    CTypedPtrList<CObList, CGeoTheme*> themes;
    if (result != IDOK || !ReadSchemeFile(schemePath.c_str(), themes)) {
        std::printf("  demo.sch was not written\n");
        return 1;
    }
    std::printf("  demo.sch read back:\n");
    CGeoGClass gc;
    CDaoFieldInfo f;
    for (POSITION p = themes.GetHeadPosition(); p;) {
        CGeoTheme* t = themes.GetNext(p);
        std::printf("    layer %s, fields:", Utf8(t->GetName()).c_str());
        for (int i = 0; i < t->GetFieldCount() && t->GetFieldInfo(i, f); ++i) std::printf(" %s", Utf8(f.m_strName).c_str());
        std::printf("\n");
        for (int i = 0; i < t->GetGCCount() && t->GetGC(i, gc); ++i) {
            std::printf("      class %u %s, type 0x%x, scales 1:%u..1:%u, fields:", gc.GetGCID(), Utf8(gc.GetGCName()).c_str(),
                        static_cast<unsigned>(gc.GetType()), gc.GetMinScale(), gc.GetMaxScale());
            for (int k = 0; k < gc.GetFieldCount() && gc.GetFieldInfo(k, f); ++k) std::printf(" %s", Utf8(f.m_strName).c_str());
            std::printf("\n");
        }
    }
    ClearThemeList(&themes);
    return allWritten ? 0 : 1;
}
