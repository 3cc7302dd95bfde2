// The layer's feature-class page in a host sheet that keeps what Apply sends: renumbering pairs,
// deletions with their questions, the menu for unused classes, sorting, import from a scheme file and
// the feature-class sheet's Cancel.
#include "ui/LayerGCPage.h"

#include <afx/afxtest.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "core/GeoVectorLayer.h"
#include "ui/Scheme.h"
#include "vector/GeoPoint.h"

#include "LayerSheetTestSupport.h"

using layersheet_test::DeleteClass;
using layersheet_test::Renumber;
using layersheet_test::RowOfCode;

namespace {

afxtest::Session* Strict(afxtest::Session& s) {
    s.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
    return &s;
}

std::string Pairs(const CUIntArray& oldCodes, const CUIntArray& newCodes) {
    std::string out;
    for (INT_PTR i = 0; i < oldCodes.GetSize(); ++i)
        out += (i ? "," : "") + std::to_string(oldCodes[i]) + ">" + std::to_string(newCodes[i]);
    return out;
}

// The sheet a page applies to: keeps the classes and pairs of the last Apply.
class HostSheet : public CPropertySheet {
public:
    HostSheet() : CPropertySheet("图层属性") {}
    std::string classes, pairs;

protected:
    LRESULT OnClasses(WPARAM, LPARAM lParam) {
        auto* d = reinterpret_cast<tagLayerGCData*>(lParam);
        classes.clear();
        for (POSITION p = d->pClassList->GetHeadPosition(); p;) {
            CGeoGClass* gc = d->pClassList->GetNext(p);
            classes += (classes.empty() ? "" : ",") + std::to_string(gc->GetGCID());
        }
        pairs = Pairs(*d->pOldCodes, *d->pNewCodes);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(HostSheet, CPropertySheet)
    ON_MESSAGE(WM_LAYERGC_CHANGED, OnClasses)
END_MESSAGE_MAP()

// Classes 10 "Bridge", 9 "apple", 5 "河流" (two objects), 6 "道路" (one object).
struct Fixture {
    CGeoVectorLayer layer;
    Fixture() {
        const struct {
            UINT code;
            const char* name;
            int objects;
        } classes[] = {{10, "Bridge", 0}, {9, "apple", 0}, {5, "河流", 2}, {6, "道路", 1}};
        for (const auto& c : classes) {
            CGeoGClass gc;
            gc.SetGCID(c.code);
            gc.SetGCName(c.name);
            layer.m_Theme += gc;
            for (int i = 0; i < c.objects; ++i) {
                auto* p = new CGeoPoint(i, i);
                layer.Add(p);
                p->SetObjectClassID(c.code);
            }
        }
    }
};

std::string Column(CLayerGCPage& page, int column) {
    std::string out;
    for (int r = 0; r < page.m_ListCtrl.GetItemCount(); ++r)
        out += (r ? "," : "") + std::string(page.m_ListCtrl.GetItemText(r, column));
    return out;
}

void ClickColumn(CLayerGCPage& page, int column) {
    NMLISTVIEW nm{};
    nm.hdr.hwndFrom = page.m_ListCtrl.m_hWnd;
    nm.hdr.idFrom = 1140;
    nm.hdr.code = LVN_COLUMNCLICK;
    nm.iItem = -1;
    nm.iSubItem = column;
    page.SendMessage(WM_NOTIFY, 1140, reinterpret_cast<LPARAM>(&nm));
}

// The page filled from the fixture's layer in its host sheet; Run shows it with the script.
struct Host {
    HostSheet sheet;
    CLayerGCPage page;
    explicit Host(Fixture& f) {
        page.SetData(&f.layer, nullptr, 0);
        sheet.AddPage(&page);
    }
    void Run(afxtest::Session& s, std::function<void(CPropertySheet&)> script) {
        s.ExpectSheet("", script);
        EXPECT_EQ(sheet.DoModal(), IDOK);
    }
};

}  // namespace

TEST(LayerGCPage, RowsSortAndUsage) {
    afxtest::Session s;
    Strict(s);
    Fixture f;
    Host h(f);
    CLayerGCPage& page = h.page;
    h.Run(s, [&](CPropertySheet& sh) {
        EXPECT_EQ(Column(page, 0), "apple,Bridge,道路,河流") << "names ignore letter case";
        EXPECT_EQ(Column(page, 2), "未用,未用,已用,已用");
        EXPECT_EQ(Column(page, 3), "0,0,1,2");
        ClickColumn(page, 1);
        EXPECT_EQ(Column(page, 1), "5,6,9,10") << "codes sort as numbers";
        ClickColumn(page, 1);
        EXPECT_EQ(Column(page, 1), "10,9,6,5") << "a second click turns the order";
        afxtest::Ok(sh);
    });
    EXPECT_EQ(h.sheet.classes, "5,6,9,10") << "the page's list keeps the layer's ascending order";
    EXPECT_TRUE(s.Verify());
}

TEST(LayerGCPage, RenumberingKeepsOnePairPerClass) {
    afxtest::Session s;
    Strict(s);
    Fixture f;
    Host h(f);
    CLayerGCPage& page = h.page;
    h.Run(s, [&](CPropertySheet& sh) {
        Renumber(s, page, "5", "7");
        EXPECT_EQ(Pairs(page.m_arrOldCodes, page.m_arrNewCodes), "5>7");
        Renumber(s, page, "7", "8");
        EXPECT_EQ(Pairs(page.m_arrOldCodes, page.m_arrNewCodes), "5>8") << "renumbered twice: one pair";
        EXPECT_EQ(page.m_ListCtrl.GetItemText(RowOfCode(page, "8"), 2), CString("已用")) << "usage texts stay";
        Renumber(s, page, "8", "5");
        EXPECT_EQ(Pairs(page.m_arrOldCodes, page.m_arrNewCodes), "") << "back at its old code";
        Renumber(s, page, "6", "11");
        // Deleting a renumbered class asks about the objects of its layer code and drops its pair.
        DeleteClass(s, page, "11", "地物类[11]已被使用");
        DeleteClass(s, page, "9", "确实要删除地物类[9]吗?", IDCANCEL);
        afxtest::Ok(sh);
    });
    EXPECT_EQ(h.sheet.classes, "5,9,10");
    EXPECT_EQ(h.sheet.pairs, "");
    EXPECT_TRUE(s.Verify());
}

TEST(LayerGCPage, UnusedClassesGoFromTheMenuWithoutQuestion) {
    afxtest::Session s;
    Strict(s);
    Fixture f;
    Host h(f);
    CLayerGCPage& page = h.page;
    h.Run(s, [&](CPropertySheet& sh) {
        s.ExpectMessageBox("请先选择要删除的地物!", IDOK);
        afxtest::Click(page, 1143);
        s.ExpectPopupText("删除所有未使用的地物类");
        afxtest::RightClickRow(&page.m_ListCtrl, -1);
        EXPECT_EQ(Column(page, 1), "6,5");
        afxtest::RightClickRow(&page.m_ListCtrl, -1);  // every class is used: no menu (strict would fail)
        afxtest::Ok(sh);
    });
    EXPECT_EQ(h.sheet.classes, "5,6");
    EXPECT_TRUE(s.Verify());
}

TEST(LayerGCPage, ClassSheetCancelledAfterApplyAddsNothing) {
    afxtest::Session s;
    Strict(s);
    Fixture f;
    Host h(f);
    CLayerGCPage& page = h.page;
    h.Run(s, [&](CPropertySheet& sh) {
        s.ExpectSheet("地物属性", [](CPropertySheet& gcs) {
            afxtest::Type(*gcs.GetPage(0), 1112, "12");
            afxtest::Apply(gcs);
            afxtest::Cancel(gcs);
        });
        afxtest::DoubleClickRow(&page.m_ListCtrl, -1);  // no row selected: New
        afxtest::Ok(sh);
    });
    EXPECT_EQ(h.sheet.classes, "5,6,9,10");
    EXPECT_TRUE(s.Verify());
}

TEST(LayerGCPage, ImportResolvesClashesWithTheInfoDialog) {
    afxtest::Session s;
    Strict(s);
    Fixture f;
    const std::string path = ::testing::TempDir() + "layergc_import.sch";
    {
        CTypedPtrList<CObList, CGeoTheme*> themes;
        auto* theme = new CGeoTheme;
        theme->SetName("方案层");
        for (auto c : {std::pair<UINT, const char*>{9, "林地"}, {20, "河流"}, {21, "草地"}}) {
            CGeoGClass gc;
            gc.SetGCID(c.first);
            gc.SetGCName(c.second);
            *theme += gc;
        }
        themes.AddTail(theme);
        ASSERT_EQ(SaveSchemeFile(themes, path.c_str()), 1);
        ClearThemeList(&themes);
    }
    const std::string broken = ::testing::TempDir() + "layergc_broken.sch";
    if (FILE* fp = std::fopen(broken.c_str(), "wb")) {
        std::fputs("not a scheme", fp);
        std::fclose(fp);
    }
    Host h(f);
    CLayerGCPage& page = h.page;
    h.Run(s, [&](CPropertySheet& sh) {
        s.ExpectFileDialog("打开方案", broken);
        s.ExpectMessageBox("无法打开指定文件!", IDOK);
        afxtest::Click(page, 1142);
        // Class 9 was deleted on the page, yet its code stays the layer's.
        DeleteClass(s, page, "9", "确实要删除地物类[9]吗?");
        s.ExpectFileDialog("打开方案", path);
        s.ExpectDialog(2024, [](CDialog& d) {
            afxtest::Click(d, 1151);  // all
            afxtest::Ok(d);
        });
        s.ExpectDialog(2032, [](CDialog& d) {  // 林地 [9]: the code clashes
            EXPECT_EQ(afxtest::FocusId(), 1112);
            afxtest::Type(d, 1112, "30");
            afxtest::Ok(d);
        });
        s.ExpectDialog(2032, [](CDialog& d) {  // 河流: the name clashes
            EXPECT_EQ(afxtest::FocusId(), 1099);
            afxtest::Cancel(d);
        });
        afxtest::Click(page, 1142);
        afxtest::Ok(sh);
    });
    EXPECT_EQ(h.sheet.classes, "5,6,10,30,21");
    EXPECT_EQ(h.sheet.pairs, "");
    EXPECT_TRUE(s.Verify());
    std::remove(path.c_str());
    std::remove(broken.c_str());
}
