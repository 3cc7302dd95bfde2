// Shared by the scheme designer's tests: small schemes written to files, a run of the designer under a
// strict scripted session, the tree as an outline, popup menus as text, and a dump of themes that says
// everything a scheme file keeps, so a saved file can be compared with the schemes in memory.
#pragma once

#include <afx/afxtest.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/SchemaRecords.h"
#include "support/TempDir.h"
#include "ui/SchemaDesignDlg.h"

namespace sdtest {

typedef CTypedPtrList<CObList, CGeoTheme*> ThemeList;
using schematest::LongField;
using schematest::MakeClass;

struct ClassSpec {
    UINT code;
    const char* name;
    std::vector<std::string> fields = {};
};

inline CGeoTheme* Theme(const char* name, const std::vector<ClassSpec>& classes, const std::vector<std::string>& fields = {}) {
    auto* t = new CGeoTheme;
    t->SetName(name);
    for (const ClassSpec& c : classes) t->AddGC(MakeClass(c.code, c.name, c.fields), -2);
    for (const std::string& f : fields) t->AddField(LongField(f.c_str()), -2);
    return t;
}

// Writes the themes (taken over and freed) as a scheme file; the path.
inline std::string WriteScheme(const std::string& path, const std::vector<CGeoTheme*>& themes) {
    ThemeList list;
    for (CGeoTheme* t : themes) list.AddTail(t);
    EXPECT_EQ(SaveSchemeFile(list, path.c_str()), 1);
    ClearThemeList(&list);
    return path;
}

// Everything a scheme file keeps of the themes, one line per theme and per class.
inline std::string DumpThemes(const ThemeList& list) {
    std::string out;
    CDaoFieldInfo f;
    CGeoGClass gc;
    auto fields = [&](auto& owner) {
        std::string s = "{";
        for (int i = 0; i < owner.GetFieldCount() && owner.GetFieldInfo(i, f); ++i)
            s += std::string(f.m_strName) + ":" + std::to_string(f.m_nType) + ":" + std::to_string(f.m_lSize) + (f.m_bRequired ? "!" : "") + ",";
        return s + "}";
    };
    for (POSITION p = list.GetHeadPosition(); p;) {
        const CGeoTheme* t = list.GetNext(p);
        const GEOVIEW gv = t->GetGeoView();
        out += std::string(t->GetName()) + " dt" + std::to_string(t->GetDataType()) + " line" + std::to_string(gv.m_crLineColor) +
               " " + fields(*t) + "\n";
        for (int i = 0; i < t->GetGCCount() && t->GetGC(i, gc); ++i) {
            const GEOVIEW cv = gc.GetGeoView();
            out += "  " + std::to_string(gc.GetGCID()) + " " + std::string(gc.GetGCName()) + " type" + std::to_string(gc.GetType()) +
                   " scale" + std::to_string(gc.GetMinScale()) + ".." + std::to_string(gc.GetMaxScale()) + " elev" +
                   std::to_string(gc.IsElevationValid()) + " line" + std::to_string(cv.m_crLineColor) + " " + fields(gc) + "\n";
        }
    }
    return out;
}

inline std::string DumpFile(const std::string& path) {
    ThemeList list;
    EXPECT_EQ(ReadSchemeFile(path.c_str(), list), 1);
    const std::string s = DumpThemes(list);
    ClearThemeList(&list);
    return s;
}

// The tree as indented texts, one line per item.
inline std::string Outline(CTreeCtrl& tree) {
    std::string out;
    std::function<void(HTREEITEM, int)> walk = [&](HTREEITEM parent, int depth) {
        for (HTREEITEM h = tree.GetChildItem(parent); h; h = tree.GetNextSiblingItem(h)) {
            out += std::string(static_cast<size_t>(depth) * 2, ' ') + std::string(tree.GetItemText(h)) + "\n";
            walk(h, depth + 1);
        }
    };
    walk(TVI_ROOT, 0);
    return out;
}

// The item at the end of a path of texts from the root item ("方案集" itself for an empty path).
inline HTREEITEM Item(CTreeCtrl& tree, const std::vector<std::string>& path) {
    HTREEITEM h = tree.GetRootItem();
    for (const std::string& text : path) {
        HTREEITEM c = tree.GetChildItem(h);
        while (c && std::string(tree.GetItemText(c)) != text) c = tree.GetNextSiblingItem(c);
        if (!c) {
            ADD_FAILURE() << "no item " << text;
            return nullptr;
        }
        h = c;
    }
    tree.EnsureVisible(h);  // a person opens the branches down to it
    return h;
}

// The texts of the class items of a layer, in tree order.
inline std::vector<std::string> Children(CTreeCtrl& tree, HTREEITEM h) {
    std::vector<std::string> out;
    for (HTREEITEM c = tree.GetChildItem(h); c; c = tree.GetNextSiblingItem(c)) out.push_back(std::string(tree.GetItemText(c)));
    return out;
}

// The popup that a right click on the item shows, "-" for a separator; nothing is chosen.
inline std::string MenuAt(afxtest::Session& s, CTreeCtrl& tree, HTREEITEM h) {
    std::string seen = "(no menu)";
    s.ExpectPopup([&](const std::vector<MenuItemInfo>& items) -> UINT {
        seen.clear();
        for (const MenuItemInfo& i : items) seen += (i.id == 0 ? std::string("-") : i.text) + "|";
        return 0;
    });
    afxtest::RightClick(&tree, h);
    return seen;
}

// A right click on the item and the command of the menu chosen; then states what the command shows
// next (dialogs, boxes), since expectations are met in order.
inline void Command(afxtest::Session& s, CTreeCtrl& tree, HTREEITEM h, UINT nID, const std::function<void()>& then = {}) {
    s.ExpectPopup(nID);
    if (then) then();
    afxtest::RightClick(&tree, h);
}

// Runs the designer with act while it is open; it ends with IDCANCEL unless act ended it.
inline INT_PTR RunDesigner(afxtest::Session& s, CSchemaDesignDlg& dlg, const std::function<void(CSchemaDesignDlg&)>& act) {
    s.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
    s.ExpectDialog(CSchemaDesignDlg::IDD, [&](CDialog&) {
        act(dlg);
        if (!dlg.IsEnded()) dlg.EndDialog(IDCANCEL);
    });
    return dlg.DoModal();
}

}  // namespace sdtest
