// Schema changes of the attribute database: a class takes a new code, a field is changed (renamed,
// retyped), deleted or moved, each keeping the values, and each refused change leaving the file as it
// was (no half-renamed table, no record lost).
#include <tamsel/GeoAttributeDatabase.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

typedef CGeoAttributeDatabase::CValueList ValueList;

CDaoFieldInfo MakeField(LPCSTR name, short type, LONG size = 0) {
    CDaoFieldInfo f;
    f.m_strName = name;
    f.m_nType = type;
    f.m_lSize = size;
    return f;
}

// Class 5 with the common field NAME (text 10) and its own A (text 10) and B (long); records 1 and 2.
void Build(CGeoAttributeDatabase& db) {
    CDaoFieldInfo name = MakeField("NAME", dbText, 10), a = MakeField("A", dbText, 10), b = MakeField("B", dbLong);
    ASSERT_TRUE(db.AddField(name, 0, -1));
    ASSERT_TRUE(db.NewGC(5));
    ASSERT_TRUE(db.AddField(a, 5, -1));
    ASSERT_TRUE(db.AddField(b, 5, -1));
    ValueList r1, r2;
    for (COleVariant v : {COleVariant("河"), COleVariant("12"), COleVariant(LONG(7))}) r1.AddTail(v);
    for (COleVariant v : {COleVariant("湖"), COleVariant("x"), COleVariant(LONG(8))}) r2.AddTail(v);
    ASSERT_TRUE(db.NewID(1, &r1, 5));
    ASSERT_TRUE(db.NewID(2, &r2, 5));
}

// A record's values as text, "|"-joined ("NULL" for NULL).
std::string Record(CGeoAttributeDatabase& db, UINT id, UINT code) {
    ValueList v;
    if (!db.GetIDValue(id, &v, code)) return "none";
    std::string out;
    for (POSITION p = v.GetHeadPosition(); p;) {
        COleVariant x = v.GetNext(p);
        if (!out.empty()) out += "|";
        if (x.vt == VT_NULL) out += "NULL";
        else if (x.vt == VT_BSTR) out += std::string(x.strVal);
        else if (x.vt == VT_I4) out += "l" + std::to_string(x.lVal);
        else if (x.vt == VT_R8) out += "d" + std::to_string(static_cast<int>(x.dblVal));
        else out += "?";
    }
    return out;
}

}  // namespace

TEST(TamselSchemaChange, NewCodeMovesTableFieldsAndRecords) {
    CGeoAttributeDatabase db(GetDAOEngine());
    Build(db);
    EXPECT_FALSE(db.ModifyGCID(6, 7)) << "no table 6";
    EXPECT_FALSE(db.ModifyGCID(5, 0));
    ASSERT_TRUE(db.ModifyGCID(5, 7));
    EXPECT_FALSE(db.IsExistGC(5));
    EXPECT_TRUE(db.IsExistGC(7));
    EXPECT_EQ(Record(db, 1, 7), "河|12|l7");
    EXPECT_EQ(db.GetIDCount(7), 2);
    ASSERT_TRUE(db.NewGC(5));
    EXPECT_FALSE(db.ModifyGCID(7, 5)) << "5 has a table again";
    EXPECT_EQ(Record(db, 2, 7), "湖|x|l8");
    // Saved and opened again, the new code is what the file holds.
    const std::string path = std::string(CORVANE_TEST_OUTPUT_DIR) + "/tamsel-newcode.mdb";
    ASSERT_TRUE(db.Save(path.c_str()));
    CGeoAttributeDatabase again(GetDAOEngine(), path.c_str(), 0);
    EXPECT_EQ(Record(again, 1, 7), "河|12|l7");
    EXPECT_EQ(Record(again, 1, 5), "none");
}

TEST(TamselSchemaChange, FieldChangesKeepValuesOrRefuseWhole) {
    const struct {
        const char* old;
        CDaoFieldInfo to;
        UINT code;
        bool ok;
        const char* r1;  // record 1 afterwards
        const char* r2;
    } cases[] = {
        {"A", MakeField("A2", dbText, 10), 5, true, "河|12|l7", "湖|x|l8"},
        {"a", MakeField("A", dbText, 20), 5, true, "河|12|l7", "湖|x|l8"},
        {"B", MakeField("B", dbText, 5), 5, true, "河|12|7", "湖|x|8"},        // long to text
        {"A", MakeField("A", dbLong), 5, false, "河|12|l7", "湖|x|l8"},        // "x" is no number
        {"A", MakeField("A", dbText, 1), 5, false, "河|12|l7", "湖|x|l8"},     // "12" longer than 1
        {"A", MakeField("B", dbText, 10), 5, false, "河|12|l7", "湖|x|l8"},    // B is taken
        {"A", MakeField("name", dbText, 10), 5, false, "河|12|l7", "湖|x|l8"}, // a common field's name
        {"Q", MakeField("Q2", dbText, 10), 5, false, "河|12|l7", "湖|x|l8"},
        {"NAME", MakeField("TITLE", dbMemo), 0, true, "河|12|l7", "湖|x|l8"},
        {"B", MakeField("B", dbDouble), 5, true, "河|12|d7", "湖|x|d8"},
    };
    for (const auto& c : cases) {
        CGeoAttributeDatabase db(GetDAOEngine());
        Build(db);
        CDaoFieldInfo to = c.to;
        EXPECT_EQ(db.ModifyFieldInfo(c.old, to, c.code), c.ok) << c.old << " -> " << std::string(c.to.m_strName);
        EXPECT_EQ(Record(db, 1, 5), c.r1) << c.old;
        EXPECT_EQ(Record(db, 2, 5), c.r2) << c.old;
        // The database goes on working after a refusal.
        ValueList r3;
        for (COleVariant v : {COleVariant("x"), COleVariant("y"), COleVariant("9")}) r3.AddTail(v);
        EXPECT_TRUE(db.NewID(3, &r3, 5)) << c.old;
    }
}

TEST(TamselSchemaChange, DeleteAndReorderFields) {
    CGeoAttributeDatabase db(GetDAOEngine());
    Build(db);
    EXPECT_FALSE(db.DeleteField("Q", 5));
    CUIntArray pos;
    CStringArray names;
    pos.Add(1);
    pos.Add(0);
    names.Add("A");
    names.Add("b");
    ASSERT_TRUE(db.SetFieldPos(pos, names, 5));
    EXPECT_EQ(Record(db, 1, 5), "河|l7|12");
    names[1] = "Q";
    EXPECT_FALSE(db.SetFieldPos(pos, names, 5)) << "names must match the fields";
    names.RemoveAt(1);
    pos.RemoveAt(1);
    EXPECT_FALSE(db.SetFieldPos(pos, names, 5));
    EXPECT_EQ(Record(db, 1, 5), "河|l7|12");
    ASSERT_TRUE(db.DeleteField("a", 5));
    EXPECT_EQ(Record(db, 1, 5), "河|l7");
    ASSERT_TRUE(db.DeleteField("NAME", 0));
    EXPECT_EQ(Record(db, 2, 5), "l8");
    ValueList r;
    COleVariant three(LONG(3));
    r.AddTail(three);
    EXPECT_TRUE(db.NewID(4, &r, 5));
}
