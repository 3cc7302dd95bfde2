// Storing an edited feature class in a layer with an attribute database: a new code moves the table and
// the objects; field renames, deletions (asked, "No" keeps), additions and a new order reach the table;
// whatever the database refuses is reported and leaves the class, table and objects as they were.
#include "core/GeoClassEdit.h"
#include "core/GeoVectorLayer.h"

#include "core/TestShape.h"

#include <afx/afxtest.h>
#include <tamsel/GeoAttributeDatabase.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

CDaoFieldInfo Field(const char* name, short type, LONG size = 0) {
    CDaoFieldInfo f;
    f.m_strName = name;
    f.m_nType = type;
    f.m_lSize = size;
    return f;
}

afxtest::Session* Strict(afxtest::Session& s) {
    s.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
    return &s;
}

// Class 5 "河流" with A (text 10) and B (long), class 6 with no fields; two objects of class 5 with
// records ("12", 7) and ("x", 8), one object of class 6.
struct Fixture {
    CGeoVectorLayer layer;
    std::vector<CTestShape*> shapes;
    Fixture() {
        CGeoGClass river, lake;
        river.SetGCID(5);
        river.SetGCName("河流");
        river.AddField(Field("A", dbText, 10), -2);
        river.AddField(Field("B", dbLong), -2);
        lake.SetGCID(6);
        layer.m_Theme.AddGC(river, -2);
        layer.m_Theme.AddGC(lake, -2);
        const char* texts[] = {"12", "x"};
        for (int i = 0; i < 2; ++i) {
            auto* s = new CTestShape(CRect(0, 0, 10, 10));
            s->SetObjectClassID(5);
            EXPECT_TRUE(layer.Add(s));
            CGeoValueList v;
            COleVariant text(texts[i]), number(LONG(7 + i));
            v.AddTail(text);
            v.AddTail(number);
            EXPECT_EQ(layer.SetAttribute(s, &v), 1);
            shapes.push_back(s);
        }
        auto* s = new CTestShape(CRect(0, 0, 10, 10));
        s->SetObjectClassID(6);
        EXPECT_TRUE(layer.Add(s));
        shapes.push_back(s);
    }
    CGeoAttributeDatabase* DB() { return layer.GetAttributeDatabase(); }
    CGeoGClass Class(UINT code) {
        CGeoGClass gc;
        EXPECT_TRUE(layer.GetGClass(code, gc)) << code;
        return gc;
    }
    std::string Fields(UINT code) {
        CGeoGClass gc = Class(code);
        std::string out;
        CDaoFieldInfo f;
        for (int i = 0; i < gc.GetFieldCount(); ++i) {
            gc.GetFieldInfo(i, f);
            out += (i ? "," : "") + std::string(f.m_strName) + ":" + std::to_string(f.m_nType);
        }
        return out;
    }
    // The record of shape i in the class's table, "|"-joined.
    std::string Record(int i, UINT code) {
        CGeoAttributeDatabase::CValueList v;
        if (!DB()->GetIDValue(shapes[i]->GetUserID(), &v, code)) return "none";
        std::string out;
        for (POSITION p = v.GetHeadPosition(); p;) {
            COleVariant x = v.GetNext(p);
            out += out.empty() ? "" : "|";
            if (x.vt == VT_BSTR) out += std::string(x.strVal);
            else if (x.vt == VT_I4) out += std::to_string(x.lVal);
            else if (x.vt == VT_NULL) out += "NULL";
            else out += "?";
        }
        return out;
    }
};

void AddFlag(CGeoGClass& gc, const char* oldName, const char* newName, int state) {
    auto* f = new CFlagInfo;
    f->m_strOldName = oldName;
    f->m_strNewName = newName;
    f->m_nState = state;
    gc.m_FlagInfoList.AddTail(f);
}

}  // namespace

TEST(GeoClassEdit, NewCodeMovesTableAndObjects) {
    Fixture fx;
    ASSERT_NE(fx.DB(), nullptr);
    CGeoGClass edited = fx.Class(5);
    edited.SetGCID(7);
    edited.SetGCName("河");
    ASSERT_EQ(ApplyGeoClassEdit(&fx.layer, 5, edited), 1);
    EXPECT_FALSE(fx.DB()->IsExistGC(5));
    EXPECT_TRUE(fx.DB()->IsExistGC(7));
    EXPECT_EQ(fx.shapes[0]->GetObjectClassID(), 7u);
    EXPECT_EQ(fx.shapes[1]->GetObjectClassID(), 7u);
    EXPECT_EQ(fx.shapes[2]->GetObjectClassID(), 6u);
    EXPECT_EQ(fx.Record(0, 7), "12|7");
    EXPECT_EQ(fx.Record(1, 7), "x|8");
    EXPECT_EQ(std::string(fx.Class(7).GetGCName()), "河");
    CGeoGClass none;
    EXPECT_FALSE(fx.layer.GetGClass(5, none));
}

TEST(GeoClassEdit, RefusedNewCodeIsReportedAndChangesNothing) {
    afxtest::Session s;
    Strict(s);
    Fixture fx;
    ASSERT_TRUE(fx.DB()->NewGC(7));  // a table the class would collide with
    CGeoGClass edited = fx.Class(5);
    edited.SetGCID(7);
    edited.SetGCName("河");
    s.ExpectMessageBox("地物类没有改变", IDOK);
    EXPECT_EQ(ApplyGeoClassEdit(&fx.layer, 5, edited), 0);
    EXPECT_EQ(fx.shapes[0]->GetObjectClassID(), 5u);
    EXPECT_EQ(fx.Record(0, 5), "12|7");
    EXPECT_EQ(std::string(fx.Class(5).GetGCName()), "河流");
    EXPECT_TRUE(s.Verify());
}

TEST(GeoClassEdit, FieldChangesReachTheTable) {
    const struct {
        int answer;         // to the deletion question
        const char* fields;  // the class afterwards
        const char* record;  // shape 0's record afterwards
    } cases[] = {
        {IDNO, "A2:10,C:7,B:4", "12|NULL|7"},  // a field the edited class lacks goes last
        {IDYES, "A2:10,C:7", "12|NULL"},
    };
    for (const auto& c : cases) {
        afxtest::Session s;
        Strict(s);
        Fixture fx;
        CGeoGClass edited = fx.Class(5);
        CDaoFieldInfo a2 = Field("A2", dbText, 10);
        edited.SetFieldInfo(0, a2);
        edited.DeleteField(CString("B"));
        edited.AddField(Field("C", dbDouble), -2);
        AddFlag(edited, "A", "A2", 1);
        AddFlag(edited, "B", "", 2);
        AddFlag(edited, "", "C", 3);
        s.ExpectMessageBox("删除字段(B) 将删除字段内容，是否继续？", c.answer);
        ASSERT_EQ(ApplyGeoClassEdit(&fx.layer, 5, edited), 1);
        EXPECT_EQ(fx.Fields(5), c.fields) << c.answer;
        EXPECT_EQ(fx.Record(0, 5), c.record) << c.answer;
        EXPECT_EQ(fx.Class(5).GetFieldFlagCount(), 0);
        EXPECT_TRUE(s.Verify());
    }
}

TEST(GeoClassEdit, NewOrderAndRefusedFieldChange) {
    afxtest::Session s;
    Strict(s);
    Fixture fx;
    CGeoGClass edited = fx.Class(5);
    // B first; A becomes a long, which the record "x" refuses.
    edited.DeleteAllFields();
    edited.AddField(Field("B", dbLong), -2);
    edited.AddField(Field("A", dbLong), -2);
    AddFlag(edited, "A", "A", 1);
    s.ExpectMessageBox("这些字段保持原样：A", IDOK);
    ASSERT_EQ(ApplyGeoClassEdit(&fx.layer, 5, edited), 1);
    EXPECT_EQ(fx.Fields(5), "B:4,A:10");
    EXPECT_EQ(fx.Record(0, 5), "7|12");
    EXPECT_EQ(fx.Record(1, 5), "8|x");
    EXPECT_TRUE(s.Verify());
}

TEST(GeoClassEdit, WithoutTableOrDatabaseTheEditedClassIsStored) {
    CGeoVectorLayer layer;
    CGeoGClass gc;
    gc.SetGCID(3);
    gc.SetType(GCT_ANNO | GCT_GIS_DATA);
    layer.m_Theme.AddGC(gc, -2);
    auto* s = new CTestShape(CRect(0, 0, 1, 1));
    s->SetObjectClassID(3);
    ASSERT_TRUE(layer.Add(s));
    CGeoGClass edited = gc;
    edited.SetGCID(4);
    edited.SetFontSize(80, 90);
    edited.AddField(Field("N", dbText, 5), -2);
    AddFlag(edited, "", "N", 3);
    ASSERT_EQ(ApplyGeoClassEdit(&layer, 3, edited), 1);
    CGeoGClass out;
    ASSERT_TRUE(layer.GetGClass(4, out));
    UINT w = 0, h = 0;
    EXPECT_EQ(out.GetFontSize(w, h), 1);
    EXPECT_EQ(w, 80u);
    EXPECT_EQ(out.GetFieldCount(), 1);
    EXPECT_EQ(out.GetFieldFlagCount(), 0);
    EXPECT_EQ(s->GetObjectClassID(), 4u);
    EXPECT_EQ(ApplyGeoClassEdit(&layer, 3, edited), 0) << "class 3 is gone";
    EXPECT_EQ(ApplyGeoClassEdit(nullptr, 4, edited), 0);
}

TEST(GeoClassEdit, EditGeoClassRunsTheSheetHook) {
    Fixture fx;
    static int calls;
    static int others;
    calls = 0;
    PFN_GCLASS_SHEET previous = SetGClassSheetHook([](CObList* pOthers, CGeoGClass* pClass, CSymbolLibIO*, int bViewOnly,
                                                      CGeoGClass* pEdited) -> int {
        ++calls;
        others = static_cast<int>(pOthers->GetCount());
        *pEdited = *pClass;
        pEdited->SetGCName("改");
        return 1 + bViewOnly * 0;
    });
    EXPECT_EQ(EditGeoClass(&fx.layer, 9, nullptr, 0), 0);
    EXPECT_EQ(calls, 0) << "no class 9: no sheet";
    EXPECT_EQ(EditGeoClass(&fx.layer, 5, nullptr, 1), 0) << "view-only stores nothing";
    EXPECT_EQ(std::string(fx.Class(5).GetGCName()), "河流");
    EXPECT_EQ(EditGeoClass(&fx.layer, 5, nullptr, 0), 1);
    EXPECT_EQ(std::string(fx.Class(5).GetGCName()), "改");
    EXPECT_EQ(others, 1);
    SetGClassSheetHook(previous);
}
