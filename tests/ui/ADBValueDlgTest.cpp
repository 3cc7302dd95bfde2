// The attribute value dialog driven as a person would, over a layer with a real attribute database:
// the number checks, scrolling through six fields with the focus kept, required fields, all-empty
// records, refused numbers, deletion and splitting a shared record; and the core's entry points that
// open it.
#include "ui/ADBValueDlg.h"

#include "core/GeoVectorLayer.h"
#include "vector/GeoPoint.h"

#include <afx/afxtest.h>
#include <tamsel/GeoAttributeDatabase.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

CDaoFieldInfo Field(const char* name, short type, LONG size = 0, BOOL required = FALSE, const char* def = "") {
    CDaoFieldInfo f;
    f.m_strName = name;
    f.m_nType = type;
    f.m_lSize = size;
    f.m_bRequired = required;
    f.m_strDefaultValue = def;
    return f;
}

void Strict(afxtest::Session& s) { s.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; }); }

const int kEdit[4] = {1098, 1099, 1100, 1101};

// Common field 名称 (text, required); class 5 with W (long) and N (byte, default 65).
struct RoadLayer {
    CGeoVectorLayer layer;
    CGeoPoint* a;
    CGeoPoint* b;
    RoadLayer() {
        layer.m_Theme.AddField(Field("名称", dbText, 20, TRUE), -2);
        CGeoGClass gc;
        gc.SetGCID(5);
        gc.AddField(Field("W", dbLong), -2);
        gc.AddField(Field("N", dbByte, 0, FALSE, "65"), -2);
        layer.m_Theme.AddGC(gc, -2);
        a = Add(5);
        b = Add(5);
    }
    CGeoPoint* Add(UINT nClass) {
        auto* p = new CGeoPoint(1, 2);
        p->SetObjectClassID(nClass);
        EXPECT_TRUE(layer.Add(p));
        return p;
    }
    void Write(CGeoPoint* p, const char* name, LONG w) {
        CGeoValueList v;
        COleVariant n(name), wv(w), nv(static_cast<BYTE>(1));
        v.AddTail(n);
        v.AddTail(wv);
        v.AddTail(nv);
        ASSERT_EQ(layer.SetAttribute(p, &v), 1);
    }
    std::string Name(UINT uid) {
        COleVariant v;
        if (!layer.GetAttributeDatabase() || !layer.GetAttributeDatabase()->GetFieldValue(uid, "名称", v, 5)) return "-";
        return v.strVal.str();
    }
};

}  // namespace

TEST(ADBValueDlg, NumberChecks) {
    const struct {
        const char* text;
        short type;
        int ok;
    } cases[] = {
        {"255", dbByte, 1},       {"256", dbByte, 0},       {"1000", dbByte, 0},     {"0", dbByte, 1},
        {"-1", dbByte, 0},        {"-5", dbInteger, 1},     {"-32768", dbInteger, 1}, {"-32769", dbInteger, 0},
        {"32767", dbInteger, 1},  {"40000", dbInteger, 0},  {"1-2", dbInteger, 0},   {"-", dbInteger, 0},
        {"-1-2", dbInteger, 0},   {"2147483647", dbLong, 1}, {"2147483648", dbLong, 0}, {"-2147483648", dbLong, 1},
        {"-2147483649", dbLong, 0}, {"99999999999", dbLong, 0}, {"-0.5", dbDouble, 1},  {"1.2.3", dbDouble, 0},
        {"0.5-", dbDouble, 0},    {".", dbDouble, 0},       {"12.50", dbCurrency, 1}, {"", dbInteger, 0},
        {"abc", dbText, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CADBValueDlg::InvalideData(c.text, c.type), c.ok) << c.text << " type " << c.type;
}

TEST(ADBValueDlg, SixFieldsScrollWithTheFocusKept) {
    CGeoVectorLayer layer;
    CGeoGClass gc;
    gc.SetGCID(3);
    for (const char* n : {"F0", "F1", "F2", "F3", "F4", "F5"}) gc.AddField(Field(n, dbText, 10), -2);
    layer.m_Theme.AddGC(gc, -2);
    auto* p = new CGeoPoint(0, 0);
    p->SetObjectClassID(3);
    ASSERT_TRUE(layer.Add(p));

    afxtest::Session s;
    Strict(s);
    CADBValueDlg dlg;
    ASSERT_EQ(dlg.InitData(p), 1);
    s.ExpectDialog(2016, [&](CDialog& d) {
        auto names = [&] {
            std::string r;
            for (int id : {1252, 1251, 1250, 1245}) r += afxtest::Text(d, id) + " ";
            return r;
        };
        CWnd* bar = d.GetDlgItem(1253);
        int lo = -1, hi = -1;
        bar->GetScrollRange(SB_CTL, &lo, &hi);
        EXPECT_EQ(std::make_pair(lo, hi), std::make_pair(0, 2));
        EXPECT_EQ(names(), "F0 F1 F2 F3 ");
        EXPECT_EQ(afxtest::FocusId(), 1098);
        for (int i = 0; i < 4; ++i) afxtest::Type(d, kEdit[i], "v" + std::to_string(i));

        afxtest::SetFocus(d, 1101);  // field F3
        afxtest::Scroll(bar, SB_LINEDOWN);
        EXPECT_EQ(names(), "F1 F2 F3 F4 ");
        EXPECT_EQ(afxtest::FocusId(), 1100) << "F3 keeps the focus in its new row";
        afxtest::Type(d, 1101, "v4");  // typing into F4 gives it the focus
        afxtest::Scroll(bar, SB_LINEDOWN);
        EXPECT_EQ(names(), "F2 F3 F4 F5 ");
        EXPECT_EQ(afxtest::FocusId(), 1100);
        EXPECT_EQ(dlg.GetTopIndex(), 2);
        afxtest::Scroll(bar, SB_LINEDOWN);
        EXPECT_EQ(dlg.GetTopIndex(), 2) << "a third line down does nothing";
        afxtest::Type(d, 1101, "v5");

        afxtest::SetFocus(d, 1101);  // F5 goes out of view: the focus goes to row 3
        afxtest::Scroll(bar, SB_PAGEUP);
        EXPECT_EQ(names(), "F0 F1 F2 F3 ");
        EXPECT_EQ(afxtest::FocusId(), 1101);
        EXPECT_EQ(afxtest::Text(d, 1098), "v0") << "values come back from the array";
        afxtest::Ok(d);
    });
    dlg.DoModal();
    EXPECT_TRUE(s.Verify());
    EXPECT_EQ(dlg.GetRetCode(), 1);
    for (int i = 0; i < 6; ++i) {
        COleVariant v;
        ASSERT_TRUE(layer.GetAttributeDatabase()->GetFieldValue(p->GetUserID(), ("F" + std::to_string(i)).c_str(), v, 3));
        EXPECT_EQ(v.strVal.str(), "v" + std::to_string(i));
    }
}

TEST(ADBValueDlg, NewRecordRequiredFieldAndRefusedNumber) {
    RoadLayer r;
    afxtest::Session s;
    Strict(s);
    CADBValueDlg dlg;
    ASSERT_EQ(dlg.InitData(r.a), 1);
    s.ExpectDialog(2016, [&](CDialog& d) {
        EXPECT_EQ(afxtest::Text(d, 1017), "* L");
        EXPECT_EQ(afxtest::Text(d, 1016), "   ");
        EXPECT_EQ(afxtest::Text(d, 1100), "65") << "the byte default shown as digits";
        EXPECT_FALSE(afxtest::IsVisible(d, 1101)) << "no fourth field";
        EXPECT_FALSE(afxtest::IsVisible(d, 1253)) << "three fields need no scroll bar";
        EXPECT_FALSE(afxtest::IsEnabled(d, 1031)) << "nobody shares the user ID";
        afxtest::Type(d, 1099, "12");
        afxtest::Ok(d);  // 名称 empty
        afxtest::Type(d, 1098, "一环路");
        afxtest::Type(d, 1099, "1-2");
        afxtest::Ok(d);  // W refused
        EXPECT_EQ(afxtest::FocusId(), 1099);
        afxtest::Type(d, 1099, "-12");
        afxtest::Ok(d);
    });
    s.ExpectMessageBox("名称为必填字段!", IDOK);
    s.ExpectMessageBox("W的数据无效!", IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(s.Verify());
    EXPECT_EQ(dlg.GetRetCode(), 1);
    EXPECT_EQ(r.Name(r.a->GetUserID()), "一环路");
    COleVariant w;
    ASSERT_TRUE(r.layer.GetAttributeDatabase()->GetFieldValue(r.a->GetUserID(), "W", w, 5));
    EXPECT_EQ(w.lVal, -12);
}

TEST(ADBValueDlg, AllEmptyWritesNothing) {
    CGeoVectorLayer layer;
    CGeoGClass gc;
    gc.SetGCID(2);
    gc.AddField(Field("T", dbText, 10), -2);
    gc.AddField(Field("D", dbDouble), -2);
    layer.m_Theme.AddGC(gc, -2);
    auto* p = new CGeoPoint(0, 0);
    p->SetObjectClassID(2);
    ASSERT_TRUE(layer.Add(p));
    afxtest::Session s;
    Strict(s);
    s.ExpectDialog(2016, [](CDialog& d) { afxtest::Ok(d); });
    EXPECT_EQ(ObjAttributeEdit(p), 1) << "closed without a change";
    EXPECT_TRUE(s.Verify());
    EXPECT_EQ(layer.GetAttributeDatabase(), nullptr);
}

TEST(ADBValueDlg, SplitGivesTheObjectItsOwnRecord) {
    RoadLayer r;
    const UINT shared = r.a->GetUserID();
    r.b->SetUserID(shared);
    r.Write(r.a, "老路", 3);
    afxtest::Session s;
    Strict(s);
    s.ExpectDialog(2016, [](CDialog& d) {
        EXPECT_EQ(afxtest::Text(d, 1098), "老路");
        EXPECT_EQ(afxtest::Text(d, 1099), "3");
        EXPECT_TRUE(afxtest::IsEnabled(d, 1031));
        afxtest::Type(d, 1098, "新路");
        afxtest::Click(d, 1031);
    });
    EXPECT_EQ(ObjAttributeEdit(r.b), 0);
    EXPECT_TRUE(s.Verify());
    EXPECT_NE(r.b->GetUserID(), shared);
    EXPECT_EQ(r.a->GetUserID(), shared);
    EXPECT_EQ(r.Name(shared), "老路");
    EXPECT_EQ(r.Name(r.b->GetUserID()), "新路");
}

TEST(ADBValueDlg, DeleteRemovesTheRecordAndCancelKeepsIt) {
    RoadLayer r;
    r.Write(r.a, "老路", 3);
    afxtest::Session s;
    Strict(s);
    s.ExpectDialog(2016, [](CDialog& d) {
        afxtest::Type(d, 1098, "改了");
        afxtest::Cancel(d);
    });
    EXPECT_EQ(ObjAttributeEdit(r.a), 1);
    EXPECT_EQ(r.Name(r.a->GetUserID()), "老路");
    s.ExpectDialog(2016, [](CDialog& d) { afxtest::Click(d, 1012); });
    EXPECT_EQ(ObjAttributeEdit(r.a), 0);
    EXPECT_TRUE(s.Verify());
    EXPECT_EQ(r.Name(r.a->GetUserID()), "-");
}

TEST(ADBValueDlg, CoreEntryPointsOpenTheDialog) {
    RoadLayer r;
    CGeoPoint* none = r.Add(0);
    CGeoPoint* unknown = r.Add(9);
    EXPECT_EQ(ObjAttributeEdit(nullptr), 2);
    EXPECT_EQ(ObjAttributeEdit(none), 2) << "no feature class";
    EXPECT_EQ(ObjAttributeEdit(unknown), 2) << "a class the theme lacks";
    CGeoPoint loose(0, 0);
    loose.SetObjectClassID(5);
    EXPECT_EQ(ObjAttributeEdit(&loose), 2) << "not in a layer";

    afxtest::Session s;
    Strict(s);
    s.ExpectDialog(2016, [](CDialog& d) {
        afxtest::Type(d, 1098, "环线");
        afxtest::Ok(d);
    });
    EXPECT_EQ(r.layer.SetAttribute(r.a, nullptr), 0);
    EXPECT_TRUE(s.Verify());
    EXPECT_EQ(r.Name(r.a->GetUserID()), "环线");
}
