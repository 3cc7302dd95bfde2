// The vector-object sheet driven as a person would, through CGeoVectorObject::EditProperties, over a
// layer with a real attribute database: measures and their unit lists, the class change with its
// record migration, Cancel putting class, user ID and record back, refusals that change nothing, and
// the write-back after OK.
#include "ui/VectorObjectPropSheetEx.h"
#include "support/UiFixtures.h"

#include "core/GeoVectorLayer.h"
#include "ui/PickGCDlg.h"
#include "vector/GeoPLine.h"
#include "vector/GeoPoint.h"
#include "vector/GeoPolygonLine.h"
#include "vector/GeoSPLine.h"

#include <afx/afxtest.h>
#include <tamsel/GeoAttributeDatabase.h>

#include <gtest/gtest.h>

#include <string>

namespace {

const char* kSheet = "矢量对象属性";
const char* kQuestion = "改变地物类编码将有可能丢失属性数据";

void Strict(afxtest::Session& s) { s.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; }); }

CDaoFieldInfo Field(const char* name, short type, LONG size = 0, BOOL required = FALSE) {
    CDaoFieldInfo f;
    f.m_strName = name;
    f.m_nType = type;
    f.m_lSize = size;
    f.m_bRequired = required;
    return f;
}

// Common field 名称; class 5 "道路" (W long, T text 10, X text 10) with records, class 7 "河流" whose
// fields meet the old ones under another case (w), a smaller size (T), another type (X), and one
// required field (R); class 9 "高程点", directed, with elevations.
struct Layer {
    CGeoVectorLayer layer;
    Layer() {
        layer.m_Theme.AddField(Field("名称", dbText, 20), -2);
        CGeoGClass road;
        road.SetGCID(5);
        road.SetGCName("道路");
        road.AddField(Field("W", dbLong), -2);
        road.AddField(Field("T", dbText, 10), -2);
        road.AddField(Field("X", dbText, 10), -2);
        layer.m_Theme.AddGC(road, -2);
        CGeoGClass river;
        river.SetGCID(7);
        river.SetGCName("河流");
        river.AddField(Field("w", dbLong), -2);
        river.AddField(Field("T", dbText, 5), -2);
        river.AddField(Field("X", dbDouble), -2);
        river.AddField(Field("R", dbText, 8, TRUE), -2);
        layer.m_Theme.AddGC(river, -2);
        layer.m_Theme.AddGC(fixtures::SpotHeightClass(), -2);
        CPickGCDlg::s_nListBy = 0;  // the picker lists names
    }
    CGeoPoint* Add(UINT code) {
        auto* p = new CGeoPoint(1, 2);
        p->SetObjectClassID(code);
        EXPECT_TRUE(layer.Add(p));
        return p;
    }
    void Write(CGeoVectorObject* p, const char* name) {
        CGeoValueList v;
        COleVariant n(name), w(static_cast<LONG>(12)), t("abc"), x("xyz");
        v.AddTail(n);
        v.AddTail(w);
        v.AddTail(t);
        v.AddTail(x);
        ASSERT_EQ(layer.SetAttribute(p, &v), 1);
    }
    CGeoAttributeDatabase* Db() { return layer.GetAttributeDatabase(); }
    // A field's value as text ("null" for NULL, "-" when there is no such record).
    std::string Value(UINT uid, const char* field, UINT code) {
        COleVariant v;
        if (!Db() || !Db()->GetFieldValue(uid, field, v, code)) return "-";
        if (v.vt == VT_NULL || v.vt == VT_EMPTY) return "null";
        if (v.vt == VT_I4) return std::to_string(v.lVal);
        return v.strVal.str();
    }
};

// The picker chooses the class named `name` and confirms.
void PickClass(afxtest::Session& s, const char* name) {
    s.ExpectDialog(2010, [name](CDialog& d) {
        afxtest::Select(d, 1055, name);
        afxtest::Ok(d);
    });
}

}  // namespace

TEST(VectorObjectPropSheet, MeasuresInMetresAndTheUnitLists) {
    CGeoVectorLayer layer;
    POINT open[2] = {{0, 0}, {3000, 4000}};  // 5 m in millimetres
    POINT ring[5] = {{0, 0}, {1000000, 0}, {1000000, 1000000}, {0, 1000000}, {0, 0}};  // a square kilometre
    CGeoPLine* line = new CGeoPLine(2, open, FALSE);
    CGeoPolygonLine* area = new CGeoPolygonLine(5, ring, FALSE);
    CGeoPoint* point = new CGeoPoint(1, 1);
    for (CGeoVectorObject* o : {static_cast<CGeoVectorObject*>(line), static_cast<CGeoVectorObject*>(area),
                                static_cast<CGeoVectorObject*>(point)})
        ASSERT_TRUE(layer.Add(o));
    const struct {
        CGeoVectorObject* object;
        bool measures, area;
        const char* label;
        const char* length;
        const char* areaText;
        const char* lengthKm;
        const char* areaKm2;
    } cases[] = {
        {line, true, false, "长度:", "5.000", "", "0.005", ""},
        {area, true, true, "周长:", "4000.000", "1000000.000", "4.000", "1.000"},
        {point, false, false, "长度:", "", "", "", ""},
    };
    for (const auto& c : cases) {
        afxtest::Session s;
        Strict(s);
        s.ExpectSheet(kSheet, [&](CPropertySheet& sh) {
            CPropertyPage& p = *sh.GetPage(0);
            EXPECT_EQ(afxtest::IsVisible(p, 1055), c.measures) << c.label;
            EXPECT_EQ(afxtest::IsVisible(p, 1057), c.area);
            EXPECT_EQ(afxtest::IsVisible(p, 1058), c.area);
            if (c.measures) {
                EXPECT_EQ(afxtest::Text(p, 1059), c.label);
                EXPECT_EQ(afxtest::Text(p, 1055), c.length);
                EXPECT_EQ(afxtest::Items(p, 1056), (std::vector<std::string>{"米", "毫米", "公里", "英寸"}));
                afxtest::Select(p, 1056, "公里");
                EXPECT_EQ(afxtest::Text(p, 1055), c.lengthKm);
            }
            if (c.area) {
                EXPECT_EQ(afxtest::Text(p, 1057), c.areaText);
                afxtest::Select(p, 1058, "平方公里");
                EXPECT_EQ(afxtest::Text(p, 1057), c.areaKm2);
                afxtest::Select(p, 1058, "平方毫米");
                EXPECT_EQ(afxtest::Text(p, 1057), "1000000000000.000") << "converted once per side";
            }
            afxtest::Cancel(sh);
        });
        EXPECT_EQ(c.object->EditProperties(0, 0, nullptr), 0);
        EXPECT_TRUE(s.Verify());
    }
}

TEST(VectorObjectPropSheet, ClassChangeMigratesTheRecordByNameTypeAndSize) {
    Layer l;
    CGeoPoint* a = l.Add(5);
    l.Write(a, "一环路");
    const UINT uid = a->GetUserID();
    afxtest::Session s;
    Strict(s);
    s.ExpectSheet(kSheet, [&](CPropertySheet& sh) {
        CPropertyPage& p = *sh.GetPage(0);
        EXPECT_EQ(afxtest::Text(p, 1039), "道路");
        afxtest::Click(p, 1041);
        EXPECT_EQ(afxtest::Text(p, 1040), "7");
        EXPECT_EQ(afxtest::Text(p, 1039), "河流");
        EXPECT_EQ(a->GetObjectClassID(), 7u) << "the change reaches the object at once";
        afxtest::Ok(sh);
    });
    PickClass(s, "河流");
    s.ExpectMessageBox(kQuestion, IDOK);
    EXPECT_EQ(a->EditProperties(0, 0, nullptr), 1);
    EXPECT_TRUE(s.Verify());
    EXPECT_EQ(a->GetObjectClassID(), 7u);
    EXPECT_EQ(a->GetUserID(), uid) << "nobody shared the user ID";
    // Each field of the new record: copied, or left empty and why.
    const struct {
        const char* field;
        const char* value;
    } fields[] = {
        {"名称", "一环路"},  // a common field, as it was
        {"w", "12"},         // the same name in another case, the same type
        {"T", "null"},       // a text field shorter than the old one
        {"X", "null"},       // another type
        {"R", "null"},       // required, relaxed for the move
    };
    for (const auto& f : fields) EXPECT_EQ(l.Value(uid, f.field, 7), f.value) << f.field;
    EXPECT_FALSE(l.Db()->IsExistGC(5)) << "the old record went with its emptied table";
    CDaoFieldInfo r;
    ASSERT_TRUE(l.layer.m_Theme.FindGCPtr(7)->GetFieldInfo(3, r));
    EXPECT_TRUE(r.m_bRequired) << "the required mark comes back";
}

TEST(VectorObjectPropSheet, CancelPutsClassUserIDAndRecordBack) {
    // Shared: the object gets a new user ID and the other object's record stays; alone: the record
    // moves. Either way Cancel restores the state at opening.
    for (const bool shared : {true, false}) {
        Layer l;
        CGeoPoint* a = l.Add(5);
        CGeoPoint* b = l.Add(5);
        if (shared) b->SetUserID(a->GetUserID());
        l.Write(a, "一环路");
        const UINT uid = a->GetUserID();
        UINT moved = 0;
        afxtest::Session s;
        Strict(s);
        s.ExpectSheet(kSheet, [&](CPropertySheet& sh) {
            afxtest::Click(*sh.GetPage(0), 1041);
            moved = a->GetUserID();
            EXPECT_EQ(moved != uid, shared);
            EXPECT_EQ(l.Value(moved, "名称", 7), "一环路");
            EXPECT_EQ(l.Value(uid, "W", 5), shared ? "12" : "-") << "a shared record stays for the other object";
            afxtest::Cancel(sh);
        });
        PickClass(s, "河流");
        s.ExpectMessageBox(kQuestion, IDOK);
        EXPECT_EQ(a->EditProperties(0, 0, nullptr), 0);
        EXPECT_TRUE(s.Verify());
        EXPECT_EQ(a->GetObjectClassID(), 5u) << shared;
        EXPECT_EQ(a->GetUserID(), uid);
        EXPECT_EQ(l.Value(uid, "名称", 5), "一环路");
        EXPECT_EQ(l.Value(uid, "T", 5), "abc");
        EXPECT_FALSE(l.Db()->IsExistID(moved, 7)) << "the moved record is gone";
        EXPECT_FALSE(l.Db()->IsExistGC(7));
    }
}

TEST(VectorObjectPropSheet, RefusalsAndAPlainCancelLeaveTheDatabaseAlone) {
    Layer l;
    CGeoPoint* a = l.Add(5);
    l.Write(a, "一环路");
    // c shares a's user ID under class 7, whose table holds no record of it: the record cannot be read.
    CGeoPoint* c = l.Add(7);
    c->SetUserID(a->GetUserID());
    const UINT uid = a->GetUserID();
    afxtest::Session s;
    Strict(s);
    s.ExpectSheet(kSheet, [&](CPropertySheet& sh) {
        CPropertyPage& p = *sh.GetPage(0);
        afxtest::Click(p, 1041);  // declined
        EXPECT_EQ(afxtest::Text(p, 1040), "5");
        afxtest::Ok(sh);
    });
    PickClass(s, "河流");
    s.ExpectMessageBox(kQuestion, IDCANCEL);
    EXPECT_EQ(a->EditProperties(0, 0, nullptr), 1);
    s.ExpectSheet(kSheet, [&](CPropertySheet& sh) {
        CPropertyPage& p = *sh.GetPage(0);
        afxtest::Click(p, 1041);  // the read fails
        EXPECT_EQ(afxtest::Text(p, 1040), "7");
        afxtest::Cancel(sh);
    });
    PickClass(s, "道路");
    s.ExpectMessageBox(kQuestion, IDOK);
    s.ExpectMessageBox("获取对象属性信息错误，地物类编码没有改动!", IDOK);
    EXPECT_EQ(c->EditProperties(0, 0, nullptr), 0);
    EXPECT_TRUE(s.Verify());
    EXPECT_EQ(a->GetObjectClassID(), 5u);
    EXPECT_EQ(c->GetObjectClassID(), 7u);
    EXPECT_EQ(c->GetUserID(), uid);
    EXPECT_EQ(l.Value(uid, "名称", 5), "一环路") << "the shared record outlives a Cancel on c";
    EXPECT_EQ(l.Value(uid, "X", 5), "xyz");
}

TEST(VectorObjectPropSheet, OkWritesTheGeneralPageBack) {
    Layer l;
    POINT ring[4] = {{0, 0}, {100, 0}, {100, 100}, {0, 0}};
    auto* area = new CGeoPolygonLine(4, ring, FALSE);
    auto* spline = new CGeoSPLine(3, 4);
    CGeoPoint* plain = l.Add(5);
    plain->SetDirect(45);
    CGeoPoint* spot = l.Add(9);
    spot->SetZ(1234567.891);  // beyond a float's precision
    ASSERT_TRUE(l.layer.Add(area));
    ASSERT_TRUE(l.layer.Add(spline));
    afxtest::Session s;
    Strict(s);
    s.ExpectSheet(kSheet, [](CPropertySheet& sh) {
        CPropertyPage& p = *sh.GetPage(0);
        EXPECT_TRUE(afxtest::IsVisible(p, 1046));
        afxtest::Check(p, 1046, true);
        afxtest::Type(p, 1000, "湖");
        afxtest::Type(p, 1052, "12.5");
        afxtest::Ok(sh);
    });
    EXPECT_EQ(area->EditProperties(0, 0, nullptr), 1);
    EXPECT_TRUE(area->IsFace());
    EXPECT_EQ(std::string(area->GetObjectName()), "湖");
    EXPECT_DOUBLE_EQ(area->GetZ(0), 12.5);

    s.ExpectSheet(kSheet, [](CPropertySheet& sh) {
        CPropertyPage& p = *sh.GetPage(0);
        EXPECT_EQ(afxtest::Text(p, 1049), "4");
        afxtest::Type(p, 1049, "9");
        afxtest::Ok(sh);
    });
    EXPECT_EQ(spline->EditProperties(0, 0, nullptr), 1);
    EXPECT_EQ(spline->GetSplineIntpPoints(), 9);

    s.ExpectSheet(kSheet, [](CPropertySheet& sh) {
        CPropertyPage& p = *sh.GetPage(0);
        EXPECT_FALSE(afxtest::IsVisible(p, 1053)) << "the class is not directed";
        EXPECT_NE(p.GetDlgItem(1052)->GetStyle() & ES_READONLY, 0u) << "class 5 takes no elevation";
        afxtest::Ok(sh);
    });
    EXPECT_EQ(plain->EditProperties(0, 0, nullptr), 1);
    EXPECT_EQ(plain->GetDirect(), 0.0);

    s.ExpectSheet(kSheet, [](CPropertySheet& sh) {
        CPropertyPage& p = *sh.GetPage(0);
        EXPECT_TRUE(afxtest::IsVisible(p, 1053));
        afxtest::Type(p, 1053, "400");
        afxtest::Ok(sh);  // refused
        EXPECT_FALSE(sh.IsEnded());
        afxtest::Type(p, 1053, "30");
        afxtest::Ok(sh);
    });
    s.ExpectMessageBox("", IDOK);
    EXPECT_EQ(spot->EditProperties(0, 0, nullptr), 1);
    EXPECT_DOUBLE_EQ(spot->GetDirect(), 30.0);
    EXPECT_DOUBLE_EQ(spot->GetZ(0), 1234567.891) << "an elevation left as shown keeps its precision";
    EXPECT_TRUE(s.Verify());
}

TEST(VectorObjectPropSheet, EntryPointsAndViewOnly) {
    Layer l;
    CGeoPoint* a = l.Add(5);
    a->SetDirect(45);
    afxtest::Session s;
    Strict(s);
    EXPECT_EQ(a->EditProperties(1, 0, nullptr), 0) << "no sheet";
    l.layer.Editable(0);
    s.ExpectSheet(kSheet, [](CPropertySheet& sh) {
        CPropertyPage& p = *sh.GetPage(0);
        for (int id : {1000, 1041, 1045}) EXPECT_FALSE(afxtest::IsEnabled(p, id)) << id;
        EXPECT_NE(p.GetDlgItem(1052)->GetStyle() & ES_READONLY, 0u);
        afxtest::Ok(sh);
    });
    EXPECT_EQ(a->EditProperties(0, 0, nullptr), 1);
    EXPECT_TRUE(s.Verify());
    EXPECT_EQ(a->GetDirect(), 45.0) << "a view-only sheet writes nothing back";
}

TEST(VectorObjectPropSheet, AMoveTheDatabaseRefusesKeepsClassUserIDAndRecord) {
    Layer l;
    CGeoPoint* a = l.Add(5);
    l.Write(a, "一环路");
    CGeoPoint* b = l.Add(7);
    CGeoValueList v;
    for (int i = 0; i < 5; ++i) {
        COleVariant value(i == 4 ? "r" : "");
        v.AddTail(value);
    }
    ASSERT_EQ(l.layer.SetAttribute(b, &v), 1);
    // The theme's class 7 gains a field its table lacks: the database refuses the moved record.
    CGeoGClass river = *l.layer.m_Theme.FindGCPtr(7);
    river.AddField(Field("Z", dbLong), -2);
    l.layer.m_Theme.SetGC(l.layer.m_Theme.FindGC(7), river);
    const UINT uid = a->GetUserID();
    afxtest::Session s;
    Strict(s);
    s.ExpectSheet(kSheet, [&](CPropertySheet& sh) {
        CPropertyPage& p = *sh.GetPage(0);
        afxtest::Click(p, 1041);
        EXPECT_EQ(afxtest::Text(p, 1040), "5");
        afxtest::Ok(sh);
    });
    PickClass(s, "河流");
    s.ExpectMessageBox(kQuestion, IDOK);
    s.ExpectMessageBox("地物类编码没有改动", IDOK);
    EXPECT_EQ(a->EditProperties(0, 0, nullptr), 1);
    EXPECT_TRUE(s.Verify());
    EXPECT_EQ(a->GetObjectClassID(), 5u);
    EXPECT_EQ(a->GetUserID(), uid);
    EXPECT_EQ(l.Value(uid, "名称", 5), "一环路");
    EXPECT_EQ(l.Value(uid, "X", 5), "xyz");
}
