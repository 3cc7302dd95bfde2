// The layer's general page in a host sheet: what each kind of layer shows, the data-type rules and the
// values Apply sends.
#include "ui/LayerNormalPage.h"

#include <afx/afxtest.h>

#include <gtest/gtest.h>

#include <string>

namespace {

afxtest::Session* Strict(afxtest::Session& s) {
    s.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
    return &s;
}

class HostSheet : public CPropertySheet {
public:
    HostSheet() : CPropertySheet("图层属性") {}
    int sent = 0;
    tagLayerNormalData last{"", 0, 0, 0};

protected:
    LRESULT OnGeneral(WPARAM, LPARAM lParam) {
        last = *reinterpret_cast<tagLayerNormalData*>(lParam);
        ++sent;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(HostSheet, CPropertySheet)
    ON_MESSAGE(WM_LAYERNORMAL_CHANGED, OnGeneral)
END_MESSAGE_MAP()

COleDateTime Date() { return COleDateTime(2024, 3, 7, 10, 0, 0); }

}  // namespace

TEST(LayerNormalPage, WhatEachKindShows) {
    const struct {
        int kind;
        const char* text;
        bool dataTypes, autoSize;
    } cases[] = {{1, "图层", false, false}, {2, "矢量图层", true, false}, {3, "图像图层", false, true},
                 {4, "DEM图层", false, true}};
    for (const auto& c : cases) {
        afxtest::Session s;
        Strict(s);
        HostSheet sheet;
        CLayerNormalPage page;
        page.SetData(c.kind, "d:\\maps\\a.LYR", "水系", Date(), 1, 0, 42, 1, 1);
        sheet.AddPage(&page);
        s.ExpectSheet("", [&](CPropertySheet& sh) {
            EXPECT_EQ(afxtest::Text(&page), "图层常规属性");
            EXPECT_EQ(afxtest::Text(page, 1015), c.text);
            EXPECT_EQ(afxtest::Text(page, 1016), "2024年3月7日");
            EXPECT_EQ(afxtest::Text(page, 1017), "d:\\maps\\a.LYR");
            EXPECT_EQ(afxtest::Text(page, 1098), "42");
            EXPECT_FALSE(afxtest::IsEnabled(page, 1098));
            for (int id : {1057, 1053, 1054, 1062}) EXPECT_EQ(afxtest::IsVisible(page, id), c.dataTypes) << c.kind;
            EXPECT_EQ(afxtest::IsVisible(page, 1047), c.autoSize) << c.kind;
            EXPECT_TRUE(afxtest::IsVisible(page, 1063));
            afxtest::Ok(sh);
        });
        EXPECT_EQ(sheet.DoModal(), IDOK);
        EXPECT_TRUE(s.Verify());
    }
}

TEST(LayerNormalPage, DataTypeRules) {
    afxtest::Session s;
    Strict(s);
    HostSheet sheet;
    CLayerNormalPage page;
    page.SetData(2, "", "水系", Date(), 1, 0, 0, 0, 1 | 4);  // symbolised
    sheet.AddPage(&page);
    s.ExpectSheet("", [&](CPropertySheet& sh) {
        EXPECT_EQ(afxtest::CheckState(page, 1053), BST_UNCHECKED);
        EXPECT_EQ(afxtest::CheckState(page, 1054), BST_CHECKED);
        EXPECT_FALSE(afxtest::IsEnabled(page, 1053));
        EXPECT_FALSE(afxtest::IsEnabled(page, 1054));
        afxtest::Click(page, 1062);  // symbolised off
        EXPECT_TRUE(afxtest::IsEnabled(page, 1053));
        EXPECT_EQ(afxtest::CheckState(page, 1054), BST_CHECKED);
        afxtest::Click(page, 1054);  // the last one off: GIS data comes on
        EXPECT_EQ(afxtest::CheckState(page, 1053), BST_CHECKED);
        afxtest::Click(page, 1053);  // and back
        EXPECT_EQ(afxtest::CheckState(page, 1054), BST_CHECKED);
        EXPECT_EQ(afxtest::CheckState(page, 1053), BST_UNCHECKED);
        afxtest::Click(page, 1063);
        afxtest::Type(page, 1099, "河网");
        afxtest::Ok(sh);
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(sheet.sent, 1);
    EXPECT_EQ(std::string(sheet.last.strName), "河网");
    EXPECT_EQ(sheet.last.nLayerType, 2 | 8);
    EXPECT_EQ(sheet.last.bEditable, 1);
    EXPECT_TRUE(s.Verify());
}

TEST(LayerNormalPage, ViewOnlyDisablesEditingAndStillSends) {
    afxtest::Session s;
    Strict(s);
    HostSheet sheet;
    CLayerNormalPage page;
    page.SetData(3, "", "影像", Date(), 0, 1, 3, 1, 0);
    sheet.AddPage(&page);
    s.ExpectSheet("", [&](CPropertySheet& sh) {
        for (int id : {1099, 1019, 1047}) EXPECT_FALSE(afxtest::IsEnabled(page, id)) << id;
        EXPECT_TRUE(afxtest::IsEnabled(page, 1063));
        afxtest::Ok(sh);
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(sheet.sent, 1);
    EXPECT_EQ(std::string(sheet.last.strName), "影像");
    EXPECT_EQ(sheet.last.bAutoSize, 1);
    EXPECT_TRUE(s.Verify());
}
