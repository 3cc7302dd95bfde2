// The style search of attribute-conditioned display over objects of a vector layer.
#include "core/AttriDispParam.h"

#include "core/GeoVectorLayer.h"
#include "core/TestShape.h"

#include <tamsel/GeoAttributeDatabase.h>

#include <gtest/gtest.h>

namespace {

// A shape that counts how often its height is read.
class CountingShape : public CTestShape {
public:
    CountingShape() : CTestShape(CRect(0, 0, 10, 10)) {}
    double GetZ(int nIndex) const override {
        ++reads;
        return CTestShape::GetZ(nIndex);
    }
    mutable int reads = 0;
};

CDaoFieldInfo Field(const char* name, short type, LONG size = 0) {
    CDaoFieldInfo f;
    f.m_strName = name;
    f.m_nType = type;
    f.m_lSize = size;
    return f;
}

GEOVIEW Style(COLORREF colour) {
    GEOVIEW v;
    v.m_crLineColor = colour;
    return v;
}

// A layer with the common field NAME (text) and class 5 with the field LANES (long); the object has
// NAME "Road", LANES 4 and height 150.
struct Fixture {
    CGeoVectorLayer layer;
    CountingShape* shape = new CountingShape;
    Fixture() {
        layer.m_Theme.AddField(Field("NAME", dbText, 20), -2);
        CGeoGClass gc;
        gc.SetGCID(5);
        gc.AddField(Field("LANES", dbLong), -2);
        layer.m_Theme.AddGC(gc, -2);
        shape->SetObjectClassID(5);
        shape->SetZ(150.0);
        layer.Add(shape);
        CGeoValueList values;
        COleVariant name("Road"), lanes(LONG(4));
        values.AddTail(name);
        values.AddTail(lanes);
        layer.SetAttribute(shape, &values);
    }
};

}  // namespace

TEST(AttriDispSearch, ConditionsForEveryClassComeFirst) {
    Fixture f;
    CAttriDispParam& p = f.layer.GetAttriDispParam();
    p.SetGeoView(5, "own", "%LANES%>=2", Style(5));
    GEOVIEW out = Style(0x77);
    EXPECT_EQ(p.GetGeoView(f.shape, out), 1);
    EXPECT_EQ(out.m_crLineColor, 5u);
    p.SetGeoView(0, "all", "%高程%=(100,200]", Style(1));
    EXPECT_EQ(p.GetGeoView(f.shape, out), 1);
    EXPECT_EQ(out.m_crLineColor, 1u) << "key 0 holds and wins over the class's own condition";

    // SetGeoView gives the style to the condition that holds.
    EXPECT_EQ(p.SetGeoView(f.shape, Style(9)), 1);
    GEOVIEW stored;
    EXPECT_EQ(p.GetGeoView(0, "all", "%高程%=(100,200]", stored), 1);
    EXPECT_EQ(stored.m_crLineColor, 9u);
}

TEST(AttriDispSearch, FieldValuesAsTheConditionsUseThem) {
    Fixture f;
    struct Case {
        const char* expression;
        bool holds;
    } cases[] = {
        {"%NAME%==road", true},              // text compares ignoring case
        {"%NAME%==rail||%NAME%==ROAD", true},
        {"%NAME%==rail", false},
        {"%LANES%={2,4}", true},             // a class field, after the common fields
        {"%LANES%=(4,*)", false},
        {"%LANES%=[4,4]&&%NAME%==Road", true},
        {"%高程%=(0,100)&&%LANES%={2,4}", false},  // bracketed: the set does not hold alone
        {"%MISSING%==0", true},              // a field the layer cannot give reads as 0
        {"%LANES%=(*,*)", false},
        {"%LANES%*2==8", true},
    };
    for (const auto& c : cases) {
        CAttriDispParam p;
        p.SetGeoView(5, "s", c.expression, Style(3));
        GEOVIEW out = Style(0);
        EXPECT_EQ(p.GetGeoView(f.shape, out), c.holds ? 1 : 0) << c.expression;
        EXPECT_EQ(out.m_crLineColor, c.holds ? 3u : 0u) << c.expression;
    }
}

TEST(AttriDispSearch, EachFieldIsReadOncePerCall) {
    Fixture f;
    CAttriDispParam& p = f.layer.GetAttriDispParam();
    p.AddCondition(5, "a", "%高程%<100");
    p.AddCondition(5, "a", "%高程%>200||%高程%==0");
    p.AddCondition(5, "b", "%高程%==150");
    GEOVIEW out;
    f.shape->reads = 0;
    EXPECT_EQ(p.GetGeoView(f.shape, out), 1);
    EXPECT_EQ(f.shape->reads, 1);
    EXPECT_EQ(p.GetGeoView(f.shape, out), 1);
    EXPECT_EQ(f.shape->reads, 2) << "a new call reads afresh";
}

TEST(AttriDispSearch, AValueHoldingItsOwnReferenceIsSubstitutedOnce) {
    Fixture f;
    CGeoValueList values;
    COleVariant name("%NAME%"), lanes(LONG(1));
    values.AddTail(name);
    values.AddTail(lanes);
    ASSERT_TRUE(f.layer.SetAttribute(f.shape, &values));
    CAttriDispParam p;
    p.AddCondition(5, "s", "%NAME%>0");
    p.AddCondition(5, "s", "%NAME%==%name%");
    GEOVIEW out;
    EXPECT_EQ(p.GetGeoView(f.shape, out), 1) << "ends, and the text comparison holds";

    // An object outside any layer reads every field as 0.
    CountingShape free;
    free.SetObjectClassID(5);
    CAttriDispParam q;
    q.AddCondition(5, "s", "%LANES%==0&&%NAME%==0");
    EXPECT_EQ(q.GetGeoView(&free, out), 1);
    EXPECT_EQ(q.GetGeoView(nullptr, out), 0);
}
