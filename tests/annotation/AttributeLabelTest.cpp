// Attribute labels: values with their pseudo-fields, the label text (cutting, escaping, filling the
// template) and labelling a layer's objects into annotation objects.
#include "annotation/AttributeLabel.h"

#include "annotation/GeoAnno.h"
#include "core/GeoVectorLayer.h"
#include "vector/GeoPoint.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

CDaoFieldInfo Field(const char* name, short type, LONG size = 0) {
    CDaoFieldInfo f;
    f.m_strName = name;
    f.m_nType = type;
    f.m_lSize = size;
    return f;
}

// Common field NAME (text); class 7 "水井" with H (double).
void SetUpTheme(CGeoVectorLayer& layer) {
    layer.m_Theme.AddField(Field("NAME", dbText, 20), -2);
    CGeoGClass gc;
    gc.SetGCID(7);
    gc.SetGCName("水井");
    gc.AddField(Field("H", dbDouble), -2);
    layer.m_Theme.AddGC(gc, -2);
}

CGeoPoint* Well(CGeoVectorLayer& layer, int x, int y, const char* name, double h) {
    CGeoPoint* p = new CGeoPoint(x, y);
    p->SetObjectClassID(7);
    EXPECT_TRUE(layer.Add(p));
    CGeoValueList values;
    COleVariant text{CString(name)}, value(h);
    values.AddTail(text);
    values.AddTail(value);
    EXPECT_TRUE(layer.SetAttribute(p, &values));
    return p;
}

CStringArray& Names(CStringArray& out, std::initializer_list<const char*> names) {
    for (const char* n : names) out.Add(n);
    return out;
}

CString Fill(std::initializer_list<COleVariant> vs, const char* templ, int precision, int formatted = 1,
             int* result = nullptr) {
    CStringArray names;
    CList<COleVariant, COleVariant&> values;
    int i = 0;
    for (COleVariant v : vs) {
        names.Add(CString("F") + CString(std::to_string(i++).c_str()));
        values.AddTail(v);
    }
    CString label = templ;
    int r = CreateGClassAttibuteLabel(names, values, label, precision, formatted);
    if (result) *result = r;
    return label;
}

}  // namespace

TEST(AttributeLabel, ValuesWithPseudoFields) {
    CGeoVectorLayer layer;
    layer.SetObjectName("水系");
    SetUpTheme(layer);
    CGeoPoint* p = Well(layer, 10, 20, "一号井", 12.5);
    p->SetZ(88.0);
    CStringArray names;
    Names(names, {"图层名", "高程", "地物名称", "地物编码", "H", "NAME", "MISSING"});
    CList<COleVariant, COleVariant&> values;
    ASSERT_EQ(GetAttributeByClassField(p, names, values), 1);
    std::vector<COleVariant> v;
    for (POSITION pos = values.GetHeadPosition(); pos;) v.push_back(values.GetNext(pos));
    ASSERT_EQ(v.size(), 7u);
    EXPECT_EQ(CString(v[0].strVal), CString("水系"));
    EXPECT_EQ(v[1].dblVal, 88.0);
    EXPECT_EQ(CString(v[2].strVal), CString("水井"));
    EXPECT_EQ(v[3].vt, VT_I4);
    EXPECT_EQ(v[3].lVal, 7);
    EXPECT_EQ(v[4].dblVal, 12.5);
    EXPECT_EQ(CString(v[5].strVal), CString("一号井"));
    EXPECT_EQ(v[6].vt, VT_BSTR);  // one empty text for an unknown name
    EXPECT_TRUE(CString(v[6].strVal).IsEmpty());
    EXPECT_EQ(GetAttributeByClassField(nullptr, names, values), 0);
    EXPECT_TRUE(values.IsEmpty());
}

TEST(AttributeLabel, LabelText) {
    struct Case {
        COleVariant value;
        int precision;
        int formatted;
        CString want;
    } cases[] = {
        {COleVariant(12.345), 2, 1, "<12.34>"},  // cut, not rounded
        {COleVariant(12.345), 0, 1, "<12>"},
        {COleVariant(12.345), -3, 1, "<12.3>"},
        {COleVariant(12.0), 3, 1, "<12>"},
        {COleVariant(CString("a(b)")), 1, 1, "<a\\(b\\)>"},
        {COleVariant(CString("a(b)")), 1, 0, "<a(b)>"},        // plain labels stay plain
        {COleVariant(CString("x\\(y")), 1, 1, "<x\\\\(y>"},   // an escaped one is not escaped again
        {COleVariant(CString("\x95\x7C\x81\x40")), 1, 1, "<\x95\x7C\x81\x40>"},  // trail bytes 0x7C, 0x40
        {COleVariant(CString("")), 1, 1, "< >"},
    };
    for (Case& c : cases) EXPECT_EQ(Fill({c.value, COleVariant(CString("z"))}, "<%F0%>", c.precision, c.formatted), c.want);
    int r = -1;
    Fill({COleVariant(CString("")), COleVariant(CString(""))}, "%F0%%F1%", 1, 1, &r);
    EXPECT_EQ(r, 0);
}

TEST(AttributeLabel, CreatesAnnotationsInTheTarget) {
    CGeoVectorLayer layer, target;
    SetUpTheme(layer);
    Well(layer, 1000, 1000, "甲", 1.25);
    Well(layer, 5000, 1000, "", 0.0);  // no text: "%NAME%" alone has no content
    CGeoPoint* empty = new CGeoPoint(9000, 9000);
    empty->SetObjectClassID(7);
    layer.Add(empty);  // no record

    CGeoClassLabel settings;
    settings.SetClassID(7);
    settings.SetFormat("%NAME%");
    settings.SetFormatStyle(0);
    GEOVIEW style;
    style.m_crAnnoColor = 0x0000FF;
    settings.SetGeoView(style);
    CTypedPtrList<CObList, CGeoVectorObject*> objects;
    for (POSITION pos = layer.m_ObjList.GetHeadPosition(); pos;)
        objects.AddTail(dynamic_cast<CGeoVectorObject*>(layer.m_ObjList.GetNext(pos)));
    CPoint origin(0, 0), offset(0, 0);
    CRect area(0, 0, 100000, 100000);
    ShowAttributeAnnotationLabel(nullptr, origin, offset, area, &layer, settings, objects, 1000, 1000,
                                 ANNOLABEL_CREATE, &target, 0, nullptr);
    EXPECT_TRUE(objects.IsEmpty());
    EXPECT_EQ(layer.GetObjectCount(), 3);
    ASSERT_EQ(target.GetObjectCount(), 1);
    CGeoAnno* anno = dynamic_cast<CGeoAnno*>(target.m_ObjList.GetHead());
    ASSERT_TRUE(anno);
    EXPECT_EQ(anno->MakeGeoAnno().m_strText, CString("甲"));
    EXPECT_EQ(anno->GetObjectClassID(), 7u);
    CGeoGClass gc;
    ASSERT_TRUE(target.GetGClass(7, gc));
    EXPECT_EQ(gc.GetGeoView().m_crAnnoColor, 0x0000FFu);
}
