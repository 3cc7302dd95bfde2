// The feature-class sheet: the general page's checks and rules, the field page reaching the class, and
// EditGeoClass run end to end through the sheet on a layer with an attribute database.
#include "ui/GCPropSheet.h"

#include <afx/afxtest.h>
#include <tamsel/GeoAttributeDatabase.h>

#include <gtest/gtest.h>

#include <string>

#include "core/GeoClassEdit.h"
#include "core/GeoVectorLayer.h"
#include "vector/GeoPoint.h"

namespace {

afxtest::Session* Strict(afxtest::Session& s) {
    s.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
    return &s;
}

CGeoGClass* Class(UINT code, const char* name) {
    auto* gc = new CGeoGClass;
    gc->SetGCID(code);
    gc->SetGCName(name);
    return gc;
}

struct Others {
    CObList list;
    Others() {
        list.AddTail(Class(1, "道路"));
        list.AddTail(Class(3, "河流"));
    }
    ~Others() {
        for (POSITION p = list.GetHeadPosition(); p;) static_cast<CGeoGClass*>(list.GetNext(p))->Remove();
    }
};

}  // namespace

TEST(GCPropSheet, NewClassStartsAsLineWithCodeOneAndMeetsTheDuplicateChecks) {
    afxtest::Session s;
    Strict(s);
    Others others;
    CGCPropSheet sheet("地物属性", &others.list, nullptr, nullptr, 0);
    s.ExpectSheet("地物属性", [](CPropertySheet& sh) {
        CPropertyPage& p = *sh.GetPage(0);
        EXPECT_EQ(afxtest::Text(p, 1112), "1");
        EXPECT_EQ(afxtest::CheckState(p, 1019), BST_CHECKED);
        EXPECT_EQ(afxtest::CheckState(p, 1024), BST_CHECKED);
        EXPECT_EQ(afxtest::CheckState(p, 1142), BST_UNCHECKED);
        EXPECT_EQ(afxtest::Text(p, 1100), "10");
        EXPECT_EQ(afxtest::Text(p, 1101), "10000");
        EXPECT_FALSE(afxtest::IsEnabled(p, 1100));
        EXPECT_FALSE(afxtest::IsEnabled(p, 1023)) << "needs the point check";
        afxtest::Type(p, 1098, "湖泊");
        afxtest::Ok(sh);  // code 1 is the road's
        EXPECT_FALSE(sh.IsEnded());
        EXPECT_EQ(afxtest::FocusId(), 1112);
        afxtest::Type(p, 1098, "河流");
        afxtest::Type(p, 1112, "4");
        afxtest::Ok(sh);  // the name is the river's
        EXPECT_EQ(afxtest::FocusId(), 1098);
        afxtest::Type(p, 1098, "湖泊");
        afxtest::Type(p, 1112, "0");
        afxtest::Ok(sh);
        afxtest::Type(p, 1112, "4");
        afxtest::Ok(sh);
    });
    s.ExpectMessageBox("地物编码重复", IDOK);
    s.ExpectMessageBox("地物名称重复", IDOK);
    s.ExpectMessageBox("地物编码必须是大于0的正整数!", IDOK);
    EXPECT_EQ(sheet.DoModal(), 1);
    EXPECT_EQ(sheet.GetModifiedFlag(), 1);
    const CGeoGClass gc = sheet.GetEditedGClass();
    EXPECT_EQ(gc.GetGCID(), 4u);
    EXPECT_EQ(std::string(gc.GetGCName()), "湖泊");
    EXPECT_EQ(gc.GetType() & 0xFF, GCT_LINE | GCT_LINE_DIRECTED);
    EXPECT_EQ(gc.GetMaxScale(), 0xFFFFFFFFu);
    EXPECT_EQ(gc.GetMinScale(), 1u);
    EXPECT_TRUE(s.Verify());
}

TEST(GCPropSheet, GeneralPageClickRules) {
    // Each row: the boxes ticked before, the box clicked, the boxes ticked after (of 1023, 1041, 1055, 1056).
    const struct {
        DWORD type;
        int click;
        bool pd, id, gis, carto;
    } cases[] = {
        {GCT_POINT | GCT_GIS_DATA, 1055, false, false, false, true},    // at least one data kind
        {GCT_POINT | GCT_CARTO_DATA, 1056, false, false, true, false},
        {GCT_POINT | GCT_GIS_DATA | GCT_CARTO_DATA, 1055, false, false, false, true},
        {GCT_POINT | GCT_POINT_DIRECTED | GCT_GIS_DATA, 1041, false, true, true, false},
        {GCT_POINT | GCT_POINT_IDPOINT | GCT_GIS_DATA, 1023, true, false, true, false},
    };
    for (const auto& c : cases) {
        afxtest::Session s;
        Strict(s);
        CGeoGClass gc;
        gc.SetGCID(8);
        gc.SetType(static_cast<int>(c.type));
        CGCPropSheet sheet("地物属性", nullptr, &gc, nullptr, 0);
        s.ExpectSheet("", [&](CPropertySheet& sh) {
            CPropertyPage& p = *sh.GetPage(0);
            afxtest::Click(p, c.click);
            EXPECT_EQ(afxtest::CheckState(p, 1023) == BST_CHECKED, c.pd) << c.click;
            EXPECT_EQ(afxtest::CheckState(p, 1041) == BST_CHECKED, c.id) << c.click;
            EXPECT_EQ(afxtest::CheckState(p, 1055) == BST_CHECKED, c.gis) << c.click;
            EXPECT_EQ(afxtest::CheckState(p, 1056) == BST_CHECKED, c.carto) << c.click;
            afxtest::Ok(sh);
        });
        EXPECT_EQ(sheet.DoModal(), 1);
        const DWORD type = static_cast<DWORD>(sheet.GetEditedGClass().GetType());
        EXPECT_EQ((type & GCT_GIS_DATA) != 0, c.gis);
        EXPECT_EQ((type & GCT_CARTO_DATA) != 0, c.carto);
        EXPECT_TRUE(s.Verify());
    }
}

TEST(GCPropSheet, OwnCodeSharedWithAnotherClassIsAcceptedAndFocusLossChecksZero) {
    afxtest::Session s;
    Strict(s);
    Others others;
    CGeoGClass gc;
    gc.SetGCID(3);  // the river's code too
    gc.SetGCName("河");
    CGCPropSheet sheet("地物属性", &others.list, &gc, nullptr, 0);
    s.ExpectSheet("", [](CPropertySheet& sh) {
        CPropertyPage& p = *sh.GetPage(0);
        afxtest::Type(p, 1112, "0");
        afxtest::SetFocus(p, 1098);  // leaving the code
        EXPECT_EQ(afxtest::FocusId(), 1112);
        afxtest::Type(p, 1112, "3");
        afxtest::Ok(sh);
    });
    s.ExpectMessageBox("地物编码必须是大于0的正整数!", IDOK);
    EXPECT_EQ(sheet.DoModal(), 1);
    EXPECT_EQ(sheet.GetEditedGClass().GetGCID(), 3u);
    EXPECT_TRUE(s.Verify());
}

TEST(GCPropSheet, ViewOnlyChangesNothing) {
    afxtest::Session s;
    Strict(s);
    CGeoGClass gc;
    gc.SetGCID(3);
    CGCPropSheet sheet("地物属性", nullptr, &gc, nullptr, 1);
    s.ExpectSheet("", [](CPropertySheet& sh) {
        CPropertyPage& p = *sh.GetPage(0);
        for (int id : {1098, 1112, 1142, 1021, 1018, 1019, 1020, 1100, 1101, 1023, 1041, 1024, 1042})
            EXPECT_FALSE(afxtest::IsEnabled(p, id)) << id;
        afxtest::Ok(sh);
    });
    EXPECT_EQ(sheet.DoModal(), 1);
    EXPECT_EQ(sheet.GetEditedGClass().GetGCID(), 3u);
    EXPECT_TRUE(s.Verify());
}

TEST(GCPropSheet, EditGeoClassThroughTheSheetRenumbersAndRenamesAField) {
    afxtest::Session s;
    Strict(s);
    CGeoVectorLayer layer;
    CGeoGClass river;
    river.SetGCID(5);
    river.SetGCName("河流");
    CDaoFieldInfo a;
    a.m_strName = "A";
    a.m_nType = dbText;
    a.m_lSize = 10;
    river.AddField(a, -2);
    layer.m_Theme.AddGC(river, -2);
    auto* shape = new CGeoPoint(2, 3);
    shape->SetObjectClassID(5);
    ASSERT_TRUE(layer.Add(shape));
    CGeoValueList v;
    COleVariant value("长江");
    v.AddTail(value);
    ASSERT_EQ(layer.SetAttribute(shape, &v), 1);

    s.ExpectSheet("地物属性", [](CPropertySheet& sh) {
        afxtest::Type(*sh.GetPage(0), 1112, "7");
        EXPECT_EQ(sh.GetPageCount(), 7);
        afxtest::ActivatePage(sh, 6);
        auto& page = static_cast<CSDFieldPage&>(*sh.GetPage(6));
        afxtest::ClickRow(&page.m_ListCtrl, 0);
        afxtest::Click(page, 1139);
        afxtest::Ok(sh);
    });
    s.ExpectDialog(2031, [](CDialog& d) {
        afxtest::Type(d, 1024, "名称");
        afxtest::Ok(d);
    });
    ASSERT_EQ(EditGeoClass(&layer, 5, nullptr, 0), 1);
    EXPECT_EQ(shape->GetObjectClassID(), 7u);
    CGeoAttributeDatabase* db = layer.GetAttributeDatabase();
    EXPECT_FALSE(db->IsExistGC(5));
    COleVariant got;
    ASSERT_TRUE(db->GetFieldValue(shape->GetUserID(), "名称", got, 7));
    EXPECT_EQ(std::string(got.strVal), "长江");
    CGeoGClass out;
    ASSERT_TRUE(layer.GetGClass(7, out));
    CDaoFieldInfo f;
    out.GetFieldInfo(0, f);
    EXPECT_EQ(std::string(f.m_strName), "名称");
    EXPECT_TRUE(s.Verify());
}

TEST(GCPropSheet, StylePagesWriteTheClassStyleAndLetterSize) {
    afxtest::Session s;
    Strict(s);
    CGeoGClass gc;
    gc.SetGCID(9);
    gc.SetType(GCT_ANNO | GCT_GIS_DATA);
    gc.SetFontSize(80, 90);
    CGCPropSheet sheet("地物属性", nullptr, &gc, nullptr, 0);
    s.ExpectSheet("", [](CPropertySheet& sh) {
        ASSERT_EQ(sh.GetPageCount(), 7);
        afxtest::ActivatePage(sh, 5);  // the annotation page, under the display-style page
        afxtest::Click(*sh.GetPage(5), 1478);  // bold
        afxtest::Ok(sh);
    });
    EXPECT_EQ(sheet.DoModal(), 1);
    EXPECT_EQ(sheet.GetModifiedFlag(), 1);
    const CGeoGClass out = sheet.GetEditedGClass();
    EXPECT_TRUE(out.GetGeoView().m_dwTextFlags & 0x04);
    UINT w = 0, h = 0;
    EXPECT_EQ(out.GetFontSize(w, h), 1);
    EXPECT_EQ(w, 80u);
    EXPECT_EQ(h, 90u);
    EXPECT_TRUE(s.Verify());
}
