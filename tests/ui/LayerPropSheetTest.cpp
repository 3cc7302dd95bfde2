// The layer property sheet over a fixture layer with an attribute database: pages per layer type, the
// modified flag, field renames, deletions and order reaching the database, class renumbering and
// deletion with their questions, refusals, and Cancel after Apply leaving everything as it was.
#include "ui/LayerPropSheet.h"

#include <afx/afxtest.h>
#include <tamsel/GeoAttributeDatabase.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/GeoVectorLayer.h"
#include "raster/GeoImageLayer.h"
#include "terrain/GeoDEMLayer.h"
#include "vector/GeoPoint.h"

#include "LayerSheetTestSupport.h"

using layersheet_test::DeleteClass;

namespace {

afxtest::Session* Strict(afxtest::Session& s) {
    s.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
    return &s;
}

CDaoFieldInfo Field(const char* name, short type = dbText, long size = 20) {
    CDaoFieldInfo f;
    f.m_strName = name;
    f.m_nType = type;
    f.m_lSize = size;
    return f;
}

CGeoGClass Class(UINT code, const char* name) {
    CGeoGClass gc;
    gc.SetGCID(code);
    gc.SetGCName(name);
    return gc;
}

// Common fields 名称, 编号; classes 5 河流 (own field 宽度), 6 道路, 9 湖泊 (unused); two rivers and a
// road, the first river and the road with records when the layer has a database.
struct Fixture {
    CGeoVectorLayer layer;
    CGeoPoint* river1 = new CGeoPoint(1, 1);
    CGeoPoint* river2 = new CGeoPoint(2, 2);
    CGeoPoint* road = new CGeoPoint(3, 3);

    explicit Fixture(bool withRecords = true) {
        layer.SetObjectName("水系");
        layer.m_Theme += Field("名称");
        layer.m_Theme += Field("编号");
        CGeoGClass river = Class(5, "河流");
        river += Field("宽度");
        layer.m_Theme += river;
        layer.m_Theme += Class(6, "道路");
        layer.m_Theme += Class(9, "湖泊");
        for (auto* p : {river1, river2, road}) layer.Add(p);
        river1->SetObjectClassID(5);
        river2->SetObjectClassID(5);
        road->SetObjectClassID(6);
        if (!withRecords) return;
        Write(river1, {"长江", "1", "20"});
        Write(road, {"国道", "2"});
    }
    void Write(CGeoPoint* p, std::vector<const char*> values) {
        CGeoValueList v;
        for (const char* s : values) {
            COleVariant value(s);
            v.AddTail(value);
        }
        ASSERT_EQ(layer.SetAttribute(p, &v), 1);
    }
    CGeoAttributeDatabase* DB() { return layer.GetAttributeDatabase(); }
    std::string Value(CGeoPoint* p, const char* field, UINT code) {
        COleVariant got;
        if (!DB()->GetFieldValue(p->GetUserID(), field, got, code)) return "<none>";
        return std::string(got.strVal);
    }
    std::string Fields() {
        std::string out;
        CDaoFieldInfo f;
        for (int i = 0; i < layer.m_Theme.GetFieldCount(); ++i) {
            layer.m_Theme.GetFieldInfo(i, f);
            out += (i ? "," : "") + std::string(f.m_strName);
        }
        return out;
    }
    std::string Codes() {
        std::string out;
        CGeoGClass gc;
        for (int i = 0; i < layer.m_Theme.GetGCCount(); ++i) {
            layer.m_Theme.GetGC(i, gc);
            out += (i ? "," : "") + std::to_string(gc.GetGCID());
        }
        return out;
    }
    // The common fields in the database's order (a record's values, read field by field).
    std::string RecordOrder(CGeoPoint* p, UINT code) {
        CGeoAttributeDatabase::CValueList values;
        DB()->GetIDValue(p->GetUserID(), &values, code);
        std::string out;
        for (POSITION pos = values.GetHeadPosition(); pos;) out += std::string(values.GetNext(pos).strVal) + ";";
        return out;
    }
};

CSDFieldPage& FieldPage(CPropertySheet& sh) {
    afxtest::ActivatePage(sh, 6);
    return static_cast<CSDFieldPage&>(*sh.GetPage(6));
}

CLayerGCPage& GCPage(CPropertySheet& sh) {
    afxtest::ActivatePage(sh, 7);
    return static_cast<CLayerGCPage&>(*sh.GetPage(7));
}

// Renames the field in row `row` of the field page through the field dialog.
void RenameField(afxtest::Session& s, CPropertySheet& sh, int row, const char* name) {
    CSDFieldPage& page = FieldPage(sh);
    s.ExpectDialog(2031, [name](CDialog& d) {
        afxtest::Type(d, 1024, name);
        afxtest::Ok(d);
    });
    afxtest::ClickRow(&page.m_ListCtrl, row);
    afxtest::Click(page, 1139);
}

void DeleteField(CPropertySheet& sh, int row) {
    CSDFieldPage& page = FieldPage(sh);
    afxtest::ClickRow(&page.m_ListCtrl, row);
    afxtest::Click(page, 1137);
}

void Renumber(afxtest::Session& s, CPropertySheet& sh, const char* code, const char* to) {
    layersheet_test::Renumber(s, GCPage(sh), code, to);
}

}  // namespace

TEST(LayerPropSheet, PagesPerLayerType) {
    afxtest::Session s;
    Strict(s);
    CGeoVectorLayer vector;
    CGeoImageLayer image;
    CGeoDEMLayer dem;
    CGeoLayer plain;
    EXPECT_EQ(CLayerPropSheet::GetLayerType(nullptr), 0);
    EXPECT_EQ(CLayerPropSheet::GetLayerType(&plain), 1);
    const struct {
        CGeoLayer* layer;
        int type;
        std::vector<std::string> pages;  // run-time class, "<" when under the previous top-level page
    } cases[] = {
        {&vector, 2,
         {"CLayerNormalPage", "CSDStylePage", "<CPropageStylePoint", "<CPropageStyleLine", "<CPropageStylePolygon",
          "<CPropageStyleAnno", "CSDFieldPage", "CLayerGCPage"}},
        {&image, 3, {"CLayerNormalPage"}},
        {&dem, 4, {"CLayerNormalPage"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CLayerPropSheet::GetLayerType(c.layer), c.type);
        CLayerPropSheet sheet("图层属性", c.layer, nullptr, 0);
        std::vector<std::string> pages;
        for (int i = 0; i < sheet.GetPageCount(); ++i) {
            CPropertyPage* p = sheet.GetPage(i);
            pages.push_back((sheet.GetParentPage(p) ? "<" : "") + std::string(p->GetRuntimeClass()->m_lpszClassName));
        }
        EXPECT_EQ(pages, c.pages) << c.type;
    }
    CLayerPropSheet none("图层属性", &plain, nullptr, 0);
    EXPECT_EQ(none.GetPageCount(), 0);
    EXPECT_EQ(plain.EditProperties(0, 0, nullptr), 0);
    EXPECT_TRUE(s.Verify());
}

TEST(LayerPropSheet, OpeningClearsTheFlagAndCancelAfterApplyChangesNothing) {
    afxtest::Session s;
    Strict(s);
    Fixture f;
    f.layer.Modified(1);
    s.ExpectSheet("图层属性", [&](CPropertySheet& sh) {
        EXPECT_FALSE(f.layer.IsModified()) << "cleared at open";
        afxtest::Type(*sh.GetPage(0), 1099, "别名");
        RenameField(s, sh, 1, "代码");
        DeleteClass(s, GCPage(sh), "6", "地物类[6]已被使用");
        afxtest::Apply(sh);
        afxtest::Cancel(sh);
    });
    EXPECT_EQ(f.layer.EditProperties(0, 0, nullptr), 0);
    EXPECT_EQ(std::string(f.layer.GetObjectName()), "水系");
    EXPECT_EQ(f.Fields(), "名称,编号");
    EXPECT_EQ(f.Codes(), "5,6,9");
    EXPECT_EQ(f.Value(f.road, "编号", 6), "2");
    EXPECT_EQ(f.road->GetObjectClassID(), 6u);
    EXPECT_TRUE(f.layer.IsModified()) << "the unsaved state from before the sheet is kept";

    f.layer.Modified(0);
    s.ExpectSheet("图层属性", [](CPropertySheet& sh) { afxtest::Ok(sh); });
    EXPECT_EQ(f.layer.EditProperties(0, 0, nullptr), 1) << "OK reports a change";
    EXPECT_EQ(f.layer.EditProperties(1, 0, nullptr), 0) << "a non-zero first argument opens nothing";
    EXPECT_TRUE(s.Verify());
}

TEST(LayerPropSheet, GeneralPageWritesNameEditableAndTypeUnlessViewOnly) {
    for (int viewOnly : {0, 1}) {
        afxtest::Session s;
        Strict(s);
        Fixture f(false);
        f.layer.Modified(0);
        s.ExpectSheet("图层属性", [&](CPropertySheet& sh) {
            CPropertyPage& p = *sh.GetPage(0);
            if (!viewOnly) {
                afxtest::Type(p, 1099, "新水系");
                afxtest::Click(p, 1019);
                afxtest::Click(p, 1062);
            }
            afxtest::Click(p, 1063);  // the thematic box is never disabled
            afxtest::Ok(sh);
        });
        EXPECT_EQ(f.layer.EditProperties(0, viewOnly, nullptr), 1);
        if (viewOnly) {
            EXPECT_EQ(std::string(f.layer.GetObjectName()), "水系");
            EXPECT_EQ(f.layer.GetLayerType(), 1);
            EXPECT_FALSE(f.layer.IsModified());
        } else {
            EXPECT_EQ(std::string(f.layer.GetObjectName()), "新水系");
            EXPECT_FALSE(f.layer.CanBeEdited());
            EXPECT_EQ(f.layer.GetLayerType(), 2 | 4 | 8);
            EXPECT_EQ(f.layer.m_Theme.GetDataType(), 2 | 4 | 8);
            EXPECT_TRUE(f.layer.IsModified());
        }
        EXPECT_TRUE(s.Verify());
    }
}

TEST(LayerPropSheet, FieldEditsReachTheDatabase) {
    const struct {
        const char* what;
        bool records;
        int deleteAnswer;  // 0: no question expected
        const char* fields;
        const char* roadCode;  // the road's value under "代码" or "编号"
    } cases[] = {
        {"rename keeps data, delete asked, No", true, IDNO, "代码,名称", "2"},
        {"rename keeps data, delete asked, Yes", true, IDYES, "代码", "2"},
        {"no records: delete without question", false, 0, "代码", "<none>"},
    };
    for (const auto& c : cases) {
        afxtest::Session s;
        Strict(s);
        Fixture f;
        if (!c.records) {
            f.layer.RemoveAttribute(f.river1, 1);
            f.layer.RemoveAttribute(f.road, 1);
            ASSERT_NE(f.DB(), nullptr);
            ASSERT_EQ(f.DB()->GetIDCount(0), 0);
        }
        s.ExpectSheet("图层属性", [&](CPropertySheet& sh) {
            RenameField(s, sh, 1, "代码");
            DeleteField(sh, 0);
            if (c.deleteAnswer) s.ExpectMessageBox("删除字段(名称) 将删除字段内容", c.deleteAnswer);
            afxtest::Ok(sh);
        });
        EXPECT_EQ(f.layer.EditProperties(0, 0, nullptr), 1) << c.what;
        EXPECT_EQ(f.Fields(), c.fields) << c.what;
        EXPECT_EQ(f.layer.m_Theme.GetFieldFlagCount(), 0) << c.what;
        if (c.records) {
            EXPECT_EQ(f.Value(f.road, "代码", 6), c.roadCode) << c.what;
            EXPECT_EQ(f.Value(f.road, "名称", 6), c.deleteAnswer == IDNO ? "国道" : "<none>") << c.what;
        }
        CGeoValueList values;
        EXPECT_EQ(f.layer.GetAttribute(f.river1->GetUserID(), &values, 5), c.records ? 1 : 0);
        EXPECT_TRUE(s.Verify()) << c.what;
    }
}

TEST(LayerPropSheet, WithoutDatabaseTheThemeTakesThePageFields) {
    afxtest::Session s;
    Strict(s);
    Fixture f(false);
    ASSERT_EQ(f.DB(), nullptr);
    s.ExpectSheet("图层属性", [&](CPropertySheet& sh) {
        RenameField(s, sh, 0, "河名");
        DeleteField(sh, 1);
        afxtest::Ok(sh);
    });
    EXPECT_EQ(f.layer.EditProperties(0, 0, nullptr), 1);
    EXPECT_EQ(f.Fields(), "河名");
    EXPECT_EQ(f.layer.m_Theme.GetFieldFlagCount(), 0);
    EXPECT_TRUE(s.Verify());
}

TEST(LayerPropSheet, FieldOrderIsSentOnlyWhenOutOfOrder) {
    const struct {
        std::vector<UINT> positions;
        int out;
    } cases[] = {{{}, 0}, {{4}, 0}, {{0, 1, 2}, 0}, {{1, 0}, 1}, {{0, 0xFFFFFFFFu}, 0}, {{0xFFFFFFFFu, 0}, 1}};
    for (const auto& c : cases) {
        CUIntArray a;
        for (UINT v : c.positions) a.Add(v);
        EXPECT_EQ(CLayerPropSheet::IsModifyPos(a), c.out);
    }
    afxtest::Session s;
    Strict(s);
    Fixture f;
    ASSERT_EQ(f.RecordOrder(f.road, 6), "国道;2;");
    s.ExpectSheet("图层属性", [&](CPropertySheet& sh) {
        CSDFieldPage& page = FieldPage(sh);
        afxtest::ClickRow(&page.m_ListCtrl, 0);
        afxtest::Click(page, 1141);  // down
        afxtest::Ok(sh);
    });
    EXPECT_EQ(f.layer.EditProperties(0, 0, nullptr), 1);
    EXPECT_EQ(f.Fields(), "编号,名称");
    EXPECT_EQ(f.RecordOrder(f.road, 6), "2;国道;");
    EXPECT_TRUE(s.Verify());
}

TEST(LayerPropSheet, RenumberComesBeforeDeletionsAndNoKeepsTheClass) {
    for (int answer : {IDNO, IDYES}) {
        afxtest::Session s;
        Strict(s);
        Fixture f;
        s.ExpectSheet("图层属性", [&](CPropertySheet& sh) {
            Renumber(s, sh, "5", "7");
            DeleteClass(s, GCPage(sh), "6", "地物类[6]已被使用");
            s.ExpectMessageBox("删除地物类(道路)将删除记录信息", answer);
            afxtest::Ok(sh);
        });
        EXPECT_EQ(f.layer.EditProperties(0, 0, nullptr), 1);
        EXPECT_EQ(f.river1->GetObjectClassID(), 7u);
        EXPECT_EQ(f.river2->GetObjectClassID(), 7u);
        EXPECT_FALSE(f.DB()->IsExistGC(5));
        EXPECT_EQ(f.Value(f.river1, "宽度", 7), "20");
        if (answer == IDNO) {
            EXPECT_EQ(f.Codes(), "7,6,9") << "class, table and objects of 6 kept";
            EXPECT_EQ(f.Value(f.road, "编号", 6), "2");
            EXPECT_EQ(f.road->GetObjectClassID(), 6u);
        } else {
            EXPECT_EQ(f.Codes(), "7,9");
            EXPECT_FALSE(f.DB()->IsExistGC(6));
            EXPECT_EQ(f.road->GetObjectClassID(), 0u);
        }
        EXPECT_TRUE(s.Verify());
    }
}

TEST(LayerPropSheet, RefusedRenumberKeepsClassTableAndObjects) {
    afxtest::Session s;
    Strict(s);
    Fixture f;
    // A table of code 7 the theme no longer names: the database cannot give table 5 that code.
    ASSERT_TRUE(f.DB()->NewGC(7));
    s.ExpectSheet("图层属性", [&](CPropertySheet& sh) {
        Renumber(s, sh, "5", "7");
        s.ExpectMessageBox("数据库不能把地物类编码5改为7", IDOK);
        afxtest::Ok(sh);
    });
    EXPECT_EQ(f.layer.EditProperties(0, 0, nullptr), 1);
    EXPECT_EQ(f.Codes(), "5,6,9");
    EXPECT_EQ(f.river1->GetObjectClassID(), 5u);
    EXPECT_EQ(f.Value(f.river1, "宽度", 5), "20");
    EXPECT_TRUE(s.Verify());
}

TEST(LayerPropSheet, ClassesWithoutDatabaseFollowThePage) {
    afxtest::Session s;
    Strict(s);
    Fixture f(false);
    s.ExpectSheet("图层属性", [&](CPropertySheet& sh) {
        Renumber(s, sh, "5", "8");
        DeleteClass(s, GCPage(sh), "6", "地物类[6]已被使用");
        s.ExpectSheet("地物属性", [](CPropertySheet& gcs) {
            afxtest::Type(*gcs.GetPage(0), 1098, "桥梁");
            afxtest::Type(*gcs.GetPage(0), 1112, "12");
            afxtest::Ok(gcs);
        });
        afxtest::Click(GCPage(sh), 1141);
        afxtest::Ok(sh);
    });
    EXPECT_EQ(f.layer.EditProperties(0, 0, nullptr), 1);
    EXPECT_EQ(f.Codes(), "8,9,12");
    EXPECT_EQ(f.river1->GetObjectClassID(), 8u);
    EXPECT_EQ(f.road->GetObjectClassID(), 0u);
    EXPECT_TRUE(s.Verify());
}

TEST(LayerPropSheet, ImageLayerRenamesAndSwitchesBoundsTracking) {
    afxtest::Session s;
    Strict(s);
    CGeoImageLayer image;
    ASSERT_EQ(image.IsAutoSize(), 1);
    s.ExpectSheet("图层属性", [](CPropertySheet& sh) {
        EXPECT_EQ(sh.GetPageCount(), 1);
        afxtest::Type(*sh.GetPage(0), 1099, "影像");
        afxtest::Click(*sh.GetPage(0), 1047);
        afxtest::Ok(sh);
    });
    EXPECT_EQ(image.EditProperties(0, 0, nullptr), 1);
    EXPECT_EQ(std::string(image.GetObjectName()), "影像");
    EXPECT_EQ(image.IsAutoSize(), 0);
    EXPECT_TRUE(image.IsModified());
    EXPECT_TRUE(s.Verify());
}
