// Attribute-conditioned display styles: the condition notation, the rule containers and their record.
#include "core/AttriDispParam.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<BYTE> Store(CObject& ob, bool asObject = false) {
    CMemFile f;
    {
        CArchive ar(&f, CArchive::store);
        if (asObject)
            ar.WriteObject(&ob);
        else
            ob.Serialize(ar);
        ar.Close();
    }
    return f.Data();
}

void Load(CObject& ob, const std::vector<BYTE>& bytes) {
    CMemFile f(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&f, CArchive::load);
    ob.Serialize(ar);
}

void Append(std::vector<BYTE>& v, const std::vector<BYTE>& more) { v.insert(v.end(), more.begin(), more.end()); }
void AppendDword(std::vector<BYTE>& v, DWORD d) {
    for (int i = 0; i < 4; ++i) v.push_back(static_cast<BYTE>(d >> (8 * i)));
}
void AppendWord(std::vector<BYTE>& v, WORD w) {
    v.push_back(static_cast<BYTE>(w));
    v.push_back(static_cast<BYTE>(w >> 8));
}
void AppendString(std::vector<BYTE>& v, const char* s) {
    v.push_back(static_cast<BYTE>(std::strlen(s)));
    v.insert(v.end(), s, s + std::strlen(s));
}
void AppendNewClass(std::vector<BYTE>& v, WORD schema, const char* name) {
    AppendWord(v, 0xFFFF);
    AppendWord(v, schema);
    AppendWord(v, static_cast<WORD>(std::strlen(name)));
    v.insert(v.end(), name, name + std::strlen(name));
}

GEOVIEW Style(COLORREF colour) {
    GEOVIEW v;
    v.m_crLineColor = colour;
    return v;
}

}  // namespace

TEST(AttriDispNotation, IntervalsAndSetsExpandBracketed) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"%H%=(100,200]", "(%H%>100 && %H%<=200)"},
        {"%H% = [ *, 50 )", "(%H%<50)"},
        {"%H%=(100,*)", "(%H%>100)"},
        {"%C%={1,2,3}", "(%C%==1||%C%==2||%C%==3)"},
        {"%C%={}", "(%C%==0)"},
        {"%H%=(0,10)&&%C%={2,5}", "(%H%>0 && %H%<10)&&(%C%==2||%C%==5)"},
        {"%A%==5", "%A%==5"},
        {"%H%=(*,*)", ""},
        {"%H%=[*,*]", ""},
        {"%A%==1||%H%=[*,*]", ""},
        {"%H%=(1,", ""},
        // Outside the notation: comparisons and connectors pass through in their places.
        {"%A%>=5&&%B%<=6||%C%!=7", "%A%>=5&&%B%<=6||%C%!=7"},
        {"%A%==5&&%H%=(0,10)", "%A%==5&&(%H%>0 && %H%<10)"},
        {"(%A%==1)||(%B%==2)", "(%A%==1)||(%B%==2)"},
        // Two-byte characters whose trail bytes are '|' '{' '[' ']' '}' are never taken for them.
        {"%名%==\x81|\x81|", "%名%==\x81|\x81|"},
        {"%名%=={\x81{\x81]\x81}", "%名%=={\x81{\x81]\x81}"},
        {"%C%={\x81|,\x81}}", "(%C%==\x81|||%C%==\x81})"},
    };
    for (const auto& c : cases) EXPECT_EQ(CAttriDispParam::ExpandIntervalExpression(c.in), c.out) << c.in;
}

TEST(AttriDispNotation, TextComparisonsOfATextField) {
    struct Case {
        const char* in;
        const char* value;
        const char* out;
    } cases[] = {
        {"%NAME%==road||%NAME%==rail", "Road", "1||0"},
        {"%NAME% == RAIL || %NAME%==road", "rail", "1||0"},
        {"%NAME%==12", "12", "%NAME%==12"},  // both plain numbers: a numeric comparison stays
        {"%NAME%==12", "Road", "0"},
        {"%NAME%==.", ".", "1"},
        {"(%NAME%==Road||%NAME%==Rail)&&%H%>5", "Rail", "(0||1)&&%H%>5"},
        {"%X%==1&&%NAME%==河流", "河流", "%X%==1&&1"},
        {"%NAME%>5", "Road", "%NAME%>5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CAttriDispParam::RewriteTextComparison(c.in, "NAME", c.value), c.out) << c.in;
}

TEST(AttriDispRules, NamesAndExpressionsFollowTheirCaseRules) {
    CAttriDispParam p;
    p.AddGCClassName(3, "A");
    p.AddGCClassName(3, "a");
    CStringList names;
    EXPECT_TRUE(p.GetGCClassName(3, names));
    EXPECT_EQ(names.GetCount(), 1);

    // The parameter finds conditions without regard to case; a set on its own does not.
    p.AddCondition(3, "a", "%X%==1");
    p.AddCondition(3, "A", "%x%==1");
    CADPConditions* set = p.GetCondition(3, "A");
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->GetConditonList().GetCount(), 1);
    set->AddCondition("%x%==1", nullptr, nullptr);
    EXPECT_EQ(set->GetConditonList().GetCount(), 2);
    CStringList exprs;
    EXPECT_TRUE(set->GetCondition(exprs));
    EXPECT_EQ(exprs.GetTail(), "%x%==1");

    GEOVIEW red = Style(0xFF), got = Style(0x123);
    p.SetGeoView(3, "a", "%X%==1", red);
    EXPECT_EQ(p.GetGeoView(3, "A", "%x%==1", got), 1);
    EXPECT_EQ(got.m_crLineColor, 0xFFu);
    got = Style(0x123);
    EXPECT_EQ(p.GetGeoView(3, "B", "%x%==1", got), 0);
    EXPECT_EQ(got.m_crLineColor, 0x123u) << "untouched when missing";
    p.SetConditionName(3, "A", "%X%==1", "一级");
    EXPECT_EQ(p.GetConditionName(3, "a", "%X%==1"), "一级");
    EXPECT_EQ(p.GetConditionName(4, "a", "%X%==1"), "");

    CList<GEOVIEW, GEOVIEW> views;
    EXPECT_TRUE(p.GetGCGeoViewList(3, "a", "", views));
    EXPECT_EQ(views.GetCount(), 2);
    EXPECT_EQ(views.GetHead().m_crLineColor, 0xFFu);
    EXPECT_EQ(p.GetGCGeoViewList(3, "B", "", views), 0);
    EXPECT_EQ(p.GetGCGeoViewList(9, "A", "", views), 0);

    EXPECT_EQ(p.RemoveCondition(3, "A", "%nothing%"), 0);
    EXPECT_EQ(p.RemoveCondition(3, "A", "%X%==1"), 1) << "both spellings go";
    EXPECT_EQ(set->GetConditonList().GetCount(), 0);
    EXPECT_EQ(p.RemoveGCClasName(3, "nothing"), 1);
    EXPECT_EQ(p.RemoveGCClasName(8, "A"), 0);
    EXPECT_EQ(p.RemoveGCClasName(3, "A"), 1);
    EXPECT_EQ(p.GetCondition(3, "A"), nullptr);
    EXPECT_EQ(p.GetGCClassName(3, names), 0) << "the entry stays, now empty";
    EXPECT_NE(p.GetConditionList(3), nullptr);
    EXPECT_EQ(p.GetConditionList(8), nullptr);
}

TEST(AttriDispRules, CopiesAreDeepAndDropEmptyEntries) {
    CAttriDispParam p;
    p.AddCondition(1, "s", "%H%>1");
    p.AddGCClassName(2, "empty set");  // a list holding an empty set is not empty
    p.AddGCClassName(5, "gone");
    p.RemoveGCClasName(5, "gone");     // an entry with an empty list
    CAttriDispParam q(p);
    EXPECT_NE(q.GetConditionList(1), nullptr);
    EXPECT_NE(q.GetConditionList(2), nullptr);
    EXPECT_EQ(q.GetConditionList(5), nullptr);
    EXPECT_NE(q.GetCondition(1, "s"), p.GetCondition(1, "s"));
    p.Reset();
    EXPECT_EQ(p.GetGCClassNameMap().GetCount(), 0);
    ASSERT_NE(q.GetCondition(1, "s"), nullptr);
    EXPECT_EQ(q.GetCondition(1, "s")->GetConditonList().GetCount(), 1);

    CADPConditions a, b;
    a.SetName("a");
    a.AddCondition("x", nullptr, nullptr);
    b.AddCondition("y", nullptr, nullptr);
    b = a;  // appends
    EXPECT_EQ(b.GetName(), "a");
    EXPECT_EQ(b.GetConditonList().GetCount(), 2);
}

TEST(AttriDispRecord, BytesOfOneEntry) {
    CAttriDispParam p;
    GEOVIEW v = Style(0x0000FF);
    CString name = "名";
    p.AddCondition(7, "S", "%H%>1");
    p.SetGeoView(7, "S", "%H%>1", v);
    p.SetConditionName(7, "S", "%H%>1", name);

    std::vector<BYTE> expected;
    AppendDword(expected, 1);  // entries
    AppendDword(expected, 7);  // class code
    AppendNewClass(expected, 0, "CObList");
    AppendWord(expected, 1);   // the list's count
    AppendNewClass(expected, 1, "CADPConditions");
    AppendString(expected, "S");
    AppendDword(expected, 1);  // conditions
    AppendNewClass(expected, 1, "CADPCondition");
    Append(expected, Store(v));
    AppendString(expected, "名");
    AppendString(expected, "%H%>1");
    EXPECT_EQ(Store(p), expected);
}

TEST(AttriDispRecord, RoundTripKeepsOrderAndContent) {
    CAttriDispParam p;
    // Keys in several hash buckets, sets and conditions in several orders.
    for (UINT key : {0u, 40u, 3u, 17u, 1000u}) {
        p.AddCondition(key, "second", "%A%==2");
        p.AddCondition(key, "first", "%B%=(1,2]");
        p.SetGeoView(key, "first", "%B%=(1,2]", Style(key));
    }
    std::vector<BYTE> bytes = Store(p);
    CAttriDispParam q;
    q.AddCondition(40, "stale", "x");  // replaced by the entry read
    Load(q, bytes);
    EXPECT_EQ(Store(q), bytes);
    CStringList names;
    q.GetGCClassName(40, names);
    ASSERT_EQ(names.GetCount(), 2);
    EXPECT_EQ(names.GetHead(), "second");
    GEOVIEW got;
    EXPECT_EQ(q.GetGeoView(1000, "first", "%B%=(1,2]", got), 1);
    EXPECT_EQ(got.m_crLineColor, 1000u);
}

TEST(AttriDispRecord, CorruptRecordsRaiseAndLeakNothing) {
    CAttriDispParam p;
    p.AddCondition(1, "a", "%A%==1");
    p.AddCondition(1, "a", "%A%==2");
    p.AddCondition(2, "b", "%B%==1");
    std::vector<BYTE> bytes = Store(p);
    for (size_t n = 0; n < bytes.size(); ++n) {
        std::vector<BYTE> cut(bytes.begin(), bytes.begin() + n);
        CAttriDispParam q;
        EXPECT_THROW(Load(q, cut), CArchiveException) << "cut at " << n;
    }

    // A second entry whose list refers back to the first entry's list: one list owned twice.
    std::vector<BYTE> twice;
    AppendDword(twice, 2);
    AppendDword(twice, 1);
    AppendNewClass(twice, 0, "CObList");  // class index 1, the list object index 2
    AppendWord(twice, 0);
    AppendDword(twice, 2);
    AppendWord(twice, 2);                 // a reference to object 2
    CAttriDispParam q;
    EXPECT_THROW(Load(q, twice), CArchiveException);

    // A list of something other than sets.
    std::vector<BYTE> wrong;
    AppendDword(wrong, 1);
    AppendDword(wrong, 1);
    AppendNewClass(wrong, 0, "CObList");
    AppendWord(wrong, 1);
    AppendNewClass(wrong, 0, "CStringList");
    AppendWord(wrong, 0);
    CAttriDispParam r;
    EXPECT_THROW(Load(r, wrong), CArchiveException);
}
