// The attribute database over SQLite: schema, records, conversions, files and read-only files.
#include <afx/WinApp.h>
#include <tamsel/GeoAttributeDatabase.h>
#include <tamsel/ValueConvert.h>

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <win32/codepage.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

typedef CGeoAttributeDatabase::CValueList ValueList;

CDaoFieldInfo MakeField(LPCSTR name, short type, LONG size = 0, LPCSTR defaultValue = "") {
    CDaoFieldInfo f;
    f.m_strName = name;
    f.m_nType = type;
    f.m_lSize = size;
    f.m_strDefaultValue = defaultValue;
    return f;
}

ValueList* Values(std::initializer_list<COleVariant> vs, ValueList* out) {
    for (COleVariant v : vs) out->AddTail(v);
    return out;
}

std::vector<COleVariant> ToVector(ValueList& l) {
    std::vector<COleVariant> r;
    for (POSITION p = l.GetHeadPosition(); p;) r.push_back(l.GetNext(p));
    return r;
}

COleVariant Null() {
    COleVariant v;
    v.vt = VT_NULL;
    return v;
}

std::string TestDir(const char* name) {
    std::string d = std::string(CORVANE_TEST_OUTPUT_DIR) + "/tamsel-" + name;
    std::string cmd = "rm -rf '" + d + "' && mkdir -p '" + d + "'";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
    return d;
}

bool Exists(const std::string& path) {
    struct stat sb;
    return ::stat(path.c_str(), &sb) == 0;
}

// A database with common fields NAME (text 8) and H (double, default "1.5"), class 7 with CODE (long)
// and class 9 with no fields of its own.
void BuildSchema(CGeoAttributeDatabase& db) {
    CDaoFieldInfo name = MakeField("NAME", dbText, 8), h = MakeField("H", dbDouble, 0, "1.5"),
                  code = MakeField("CODE", dbLong);
    ASSERT_TRUE(db.AddField(name, 0, -1));
    ASSERT_TRUE(db.NewGC(7));
    ASSERT_TRUE(db.AddField(h, 0, -1));  // a common field reaches the table already there
    ASSERT_TRUE(db.AddField(code, 7, -1));
    ASSERT_TRUE(db.NewGC(9));
}

// The rows of a table as text, through SQLite itself.
std::vector<std::string> Rows(const std::string& file, const std::string& sql) {
    std::vector<std::string> rows;
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    while (st && sqlite3_step(st) == SQLITE_ROW) {
        std::string row;
        for (int i = 0; i < sqlite3_column_count(st); ++i) {
            const unsigned char* t = sqlite3_column_text(st, i);
            row += (i ? "|" : "") + std::string(t ? reinterpret_cast<const char*>(t) : "NULL");
        }
        rows.push_back(row);
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return rows;
}

}  // namespace

TEST(TamselValues, TextToValueAndBack) {
    struct Case {
        LPCSTR text;
        short type;
        VARTYPE vt;
        LPCSTR back;  // VartoString of the value
    } cases[] = {
        {"12", dbLong, VT_I4, "12"},          {" -7 ", dbInteger, VT_I2, "-7"},
        {"2.5", dbLong, VT_I4, "3"},          {"-2.5", dbLong, VT_I4, "-3"},
        {"255", dbByte, VT_UI1, "255"},       {"256", dbByte, VT_EMPTY, ""},
        {"40000", dbInteger, VT_EMPTY, ""},   {"12.0", dbDouble, VT_R8, "12"},
        {"12.345", dbDouble, VT_R8, "12.345"}, {"0.1", dbSingle, VT_R4, "0.1"},
        {"1e20", dbDouble, VT_R8, "1e+20"},   {"12.50", dbCurrency, VT_CY, "12.5"},
        {"-0.0001", dbCurrency, VT_CY, "-0.0001"}, {"7", dbCurrency, VT_CY, "7"},
        {"yes", dbBoolean, VT_BOOL, "1"},     {"是", dbBoolean, VT_BOOL, "1"},
        {"False", dbBoolean, VT_BOOL, "0"},   {"2", dbBoolean, VT_BOOL, "1"},
        {"2021-03-04", dbDate, VT_DATE, "2021-03-04"},
        {"2021/3/4 05:06:07", dbDate, VT_DATE, "2021-03-04 05:06:07"},
        {"2021-02-30", dbDate, VT_EMPTY, ""}, {"2021-03-04 25:00", dbDate, VT_EMPTY, ""},
        {" 道路 ", dbText, VT_BSTR, " 道路 "}, {"", dbMemo, VT_BSTR, ""},
        {"12m", dbLong, VT_EMPTY, ""},        {"0x10", dbLong, VT_EMPTY, ""},
        {"inf", dbDouble, VT_EMPTY, ""},      {"", dbDouble, VT_EMPTY, ""},
        {"1", 11, VT_EMPTY, ""},
    };
    for (const Case& c : cases) {
        COleVariant v = stringtoVar(c.text, c.type);
        EXPECT_EQ(v.vt, c.vt) << c.text;
        EXPECT_EQ(VartoString(&v), c.back) << c.text;
        if (c.vt != VT_EMPTY && c.type != dbText && c.type != dbMemo) {
            CString t = VartoString(&v);
            EXPECT_TRUE(stringtoVar(t, c.type) == v) << "round trip of " << c.text;
        }
    }
    EXPECT_EQ(VartoString(nullptr), "");
    COleVariant n = Null();
    EXPECT_EQ(VartoString(&n), "");
}

TEST(TamselDatabase, RecordsInClassTablesWithCommonFieldsFirst) {
    CGeoAttributeDatabase db(GetDAOEngine());
    ASSERT_TRUE(db.IsOpen());
    EXPECT_FALSE(db.IsReadOnly());
    BuildSchema(db);
    EXPECT_TRUE(db.IsExistGC(7));
    EXPECT_FALSE(db.IsExistGC(8));
    EXPECT_FALSE(db.IsExistGC(0));
    EXPECT_FALSE(db.NewGC(7));
    EXPECT_FALSE(db.NewGC(0));

    ValueList a, b, c;
    EXPECT_TRUE(db.NewID(5, Values({COleVariant("河流"), COleVariant(2.0), COleVariant(LONG(42))}, &a), 7));
    EXPECT_TRUE(db.NewID(6, Values({COleVariant("湖"), Null()}, &b), 9));
    EXPECT_FALSE(db.NewID(5, &a, 7)) << "the record is there already";
    EXPECT_FALSE(db.NewID(8, Values({COleVariant("x")}, &c), 9)) << "one value too few";
    EXPECT_FALSE(db.NewID(8, &a, 0));
    EXPECT_FALSE(db.NewID(8, &a, 3)) << "no table";

    ValueList got;
    ASSERT_TRUE(db.GetIDValue(5, &got, 7));
    std::vector<COleVariant> v = ToVector(got);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_EQ(v[0].vt, VT_BSTR);
    EXPECT_EQ(v[0].strVal, "河流");
    EXPECT_EQ(v[1].vt, VT_R8);
    EXPECT_EQ(v[1].dblVal, 2.0);
    EXPECT_EQ(v[2].vt, VT_I4);
    EXPECT_EQ(v[2].lVal, 42);

    // Class 0 looks at the common fields of whichever table holds the user ID.
    EXPECT_TRUE(db.IsExistID(6, 0));
    EXPECT_TRUE(db.IsExistID(6, 9));
    EXPECT_FALSE(db.IsExistID(6, 7));
    EXPECT_FALSE(db.IsExistID(99, 0));
    ValueList common;
    ASSERT_TRUE(db.GetIDValue(6, &common, 0));
    ASSERT_EQ(common.GetCount(), 2);
    EXPECT_EQ(common.GetTail().vt, VT_NULL);

    COleVariant f;
    EXPECT_TRUE(db.GetFieldValue(5, "name", f, 0));
    EXPECT_EQ(f.strVal, "河流");
    EXPECT_FALSE(db.GetFieldValue(5, "CODE", f, 0)) << "a class field is not common";
    EXPECT_TRUE(db.GetFieldValue(5, "CODE", f, 7));
    EXPECT_EQ(f.lVal, 42);
    EXPECT_FALSE(db.GetFieldValue(99, "NAME", f, 7));

    // One field, then the whole record.
    ValueList one;
    COleVariant text("9.25");
    one.AddTail(text);
    EXPECT_TRUE(db.SetIDValue(5, &one, 7, "H"));
    ASSERT_TRUE(db.GetFieldValue(5, "H", f, 7));
    EXPECT_EQ(f.dblVal, 9.25);
    EXPECT_FALSE(db.SetIDValue(5, &one, 7, "MISSING"));
    EXPECT_FALSE(db.SetIDValue(77, &one, 7, "H")) << "no such record";
    ValueList whole;
    EXPECT_TRUE(db.SetIDValue(5, Values({COleVariant("桥"), COleVariant(LONG(1)), COleVariant("7")}, &whole), 7));
    ASSERT_TRUE(db.GetFieldValue(5, "CODE", f, 7));
    EXPECT_EQ(f.lVal, 7);

    EXPECT_EQ(db.GetIDCount(7), 1);
    EXPECT_EQ(db.GetIDCount(9), 1);
    EXPECT_EQ(db.GetIDCount(0), 2);
    EXPECT_EQ(db.GetIDCount(3), -1);
    EXPECT_TRUE(db.HasAnyID(7));
    EXPECT_TRUE(db.HasAnyID(0));
    EXPECT_FALSE(db.HasAnyID(3)) << "no table";
    EXPECT_TRUE(db.DeleteGC(9));
    EXPECT_FALSE(db.IsExistGC(9));
    EXPECT_FALSE(db.DeleteGC(9));
    EXPECT_FALSE(db.IsExistID(6, 0));
}

TEST(TamselDatabase, FailedWritesLeaveNothingBehind) {
    CGeoAttributeDatabase db(GetDAOEngine());
    BuildSchema(db);
    ValueList ok;
    ASSERT_TRUE(db.NewID(1, Values({COleVariant("a"), COleVariant(1.0), COleVariant(LONG(1))}, &ok), 7));

    struct Case {
        const char* why;
        std::vector<COleVariant> values;
    } cases[] = {
        {"text longer than the field", {COleVariant("123456789"), COleVariant(1.0), COleVariant(LONG(1))}},
        {"text that is no number", {COleVariant("a"), COleVariant("abc"), COleVariant(LONG(1))}},
        {"number out of range", {COleVariant("a"), COleVariant(1.0), COleVariant(3e10)}},
        {"a value type with no meaning here", {COleVariant("a"), COleVariant(LONG(1), VT_ERROR), COleVariant(LONG(1))}},
    };
    for (const Case& c : cases) {
        ValueList l;
        for (COleVariant v : c.values) l.AddTail(v);
        EXPECT_FALSE(db.NewID(2, &l, 7)) << c.why;
        EXPECT_FALSE(db.SetIDValue(1, &l, 7)) << c.why;
    }
    EXPECT_FALSE(db.IsExistID(2, 0));
    COleVariant f;
    ASSERT_TRUE(db.GetFieldValue(1, "NAME", f, 7));
    EXPECT_EQ(f.strVal, "a");

    // A required field refuses NULL until NULL is allowed again.
    CStringList names;
    names.AddTail("code");
    ASSERT_TRUE(db.SetFieldsCanNULL(names, 0, 7));
    ValueList nul;
    EXPECT_FALSE(db.NewID(3, Values({COleVariant("b"), COleVariant(1.0), Null()}, &nul), 7));
    ASSERT_TRUE(db.SetFieldsCanNULL(names, 1, 7));
    EXPECT_TRUE(db.NewID(3, &nul, 7));
    CStringList unknown;
    unknown.AddTail("nothing");
    EXPECT_FALSE(db.SetFieldsCanNULL(unknown, 1, 7));

    // Field names are unique within a record, whatever their case.
    CDaoFieldInfo dup = MakeField("Name", dbText, 5), clash = MakeField("code", dbLong), bad = MakeField("X", 11),
                  empty = MakeField("", dbLong), commonClash = MakeField("CODE", dbText);
    EXPECT_FALSE(db.AddField(dup, 7, -1));
    EXPECT_FALSE(db.AddField(clash, 7, -1));
    EXPECT_FALSE(db.AddField(commonClash, 0, -1)) << "class 7 has CODE already";
    EXPECT_FALSE(db.AddField(bad, 7, -1));
    EXPECT_FALSE(db.AddField(empty, 7, -1));
    EXPECT_FALSE(db.AddField(clash, 8, -1)) << "no table";
}

TEST(TamselDatabase, FieldPositionsAndNamesTheColumnsCannotTake) {
    CGeoAttributeDatabase db(GetDAOEngine());
    CDaoFieldInfo b = MakeField("B", dbLong), a = MakeField("A", dbLong), key = MakeField("userid", dbLong),
                  odd = MakeField("\x81", dbText);  // a lone lead byte: not valid GBK
    ASSERT_TRUE(db.AddField(b, 0, -1));
    ASSERT_TRUE(db.AddField(a, 0, 0));  // before B
    ASSERT_TRUE(db.NewGC(1));
    ASSERT_TRUE(db.AddField(key, 1, -1));
    ASSERT_TRUE(db.AddField(odd, 1, 5));  // out of range: appended
    ValueList l;
    ASSERT_TRUE(db.NewID(4, Values({COleVariant(LONG(1)), COleVariant(LONG(2)), COleVariant(LONG(3)),
                                    COleVariant("\x81")}, &l), 1));
    COleVariant v;
    ASSERT_TRUE(db.GetFieldValue(4, "A", v, 0));
    EXPECT_EQ(v.lVal, 1);
    ASSERT_TRUE(db.GetFieldValue(4, "B", v, 0));
    EXPECT_EQ(v.lVal, 2);
    ASSERT_TRUE(db.GetFieldValue(4, "USERID", v, 1));
    EXPECT_EQ(v.lVal, 3);
    ASSERT_TRUE(db.GetFieldValue(4, "\x81", v, 1));
    EXPECT_EQ(v.strVal, "\x81") << "text that is not valid GBK keeps its bytes";
}

TEST(TamselDatabase, BatchWritesAllOrNothing) {
    CGeoAttributeDatabase db(GetDAOEngine());
    BuildSchema(db);
    ValueList a, b, dup;
    Values({COleVariant(LONG(10)), COleVariant("a"), COleVariant(1.0), COleVariant(LONG(1))}, &a);
    Values({COleVariant(11.0), COleVariant("b"), COleVariant(2.0), COleVariant(LONG(2))}, &b);
    Values({COleVariant(LONG(10)), COleVariant("c"), COleVariant(3.0), COleVariant(LONG(3))}, &dup);
    CGeoAttributeDatabase::CValueListList lists;
    lists.AddTail(&a);
    lists.AddTail(&b);
    EXPECT_TRUE(db.NewID(&lists, 0)) << "class 0 checks the lists";
    EXPECT_EQ(db.GetIDCount(0), 0) << "and writes nothing";
    lists.AddTail(&dup);
    EXPECT_TRUE(db.NewID(&lists, 0));
    EXPECT_FALSE(db.NewID(&lists, 7)) << "user ID 10 twice";
    EXPECT_EQ(db.GetIDCount(7), 0);
    EXPECT_FALSE(db.HasAnyID(7)) << "an empty table";
    lists.RemoveTail();
    EXPECT_TRUE(db.NewID(&lists, 7));
    EXPECT_TRUE(db.IsExistID(10, 7));
    EXPECT_TRUE(db.IsExistID(11, 7));

    ValueList noId, badId;
    Values({COleVariant("x")}, &noId);
    Values({COleVariant(1.5)}, &badId);
    for (ValueList* l : {&noId, &badId}) {
        CGeoAttributeDatabase::CValueListList one;
        one.AddTail(l);
        EXPECT_FALSE(db.NewID(&one, 0));
    }
    CGeoAttributeDatabase::CValueListList withNull;
    withNull.AddTail(static_cast<ValueList*>(nullptr));
    EXPECT_FALSE(db.NewID(&withNull, 0));
    EXPECT_FALSE(db.NewID(nullptr, 0));
    EXPECT_TRUE(db.RemoveID(10));
    EXPECT_TRUE(db.RemoveID(10)) << "nothing to remove is no failure";
    EXPECT_EQ(db.GetIDCount(7), 1);
}

// The database answers "is there a record" for a new, higher user ID without a query; the answer must
// still follow every kind of write, including those made before and after the first question.
TEST(TamselDatabase, ExistenceFollowsEveryKindOfWrite) {
    std::string path = TestDir("exists") + "/exists.mdb";
    CGeoAttributeDatabase db(GetDAOEngine());
    BuildSchema(db);
    EXPECT_FALSE(db.IsExistID(5, 7));
    ValueList a;
    ASSERT_TRUE(db.NewID(5, Values({COleVariant("a"), COleVariant(1.0), COleVariant(LONG(1))}, &a), 7));
    EXPECT_TRUE(db.IsExistID(5, 7));
    EXPECT_FALSE(db.IsExistID(4, 7));
    EXPECT_FALSE(db.IsExistID(6, 7));

    ValueList b;
    Values({COleVariant(LONG(20)), COleVariant("b"), COleVariant(2.0), COleVariant(LONG(2))}, &b);
    CGeoAttributeDatabase::CValueListList lists;
    lists.AddTail(&b);
    ASSERT_TRUE(db.NewID(&lists, 7));
    EXPECT_TRUE(db.IsExistID(20, 7)) << "a batch write";
    EXPECT_TRUE(db.RemoveID(20));
    EXPECT_FALSE(db.IsExistID(20, 7)) << "a removal";

    ASSERT_TRUE(db.Save(path.c_str()));
    ValueList c;
    ASSERT_TRUE(db.NewID(30, Values({COleVariant("c"), Null(), Null()}, &c), 7));
    EXPECT_TRUE(db.IsExistID(30, 7)) << "a write after saving elsewhere";
    ASSERT_TRUE(db.Save(path.c_str()));
    CGeoAttributeDatabase reopened(GetDAOEngine(), path.c_str(), 1);
    EXPECT_FALSE(reopened.IsExistID(31, 7));
    EXPECT_TRUE(reopened.IsExistID(30, 7));
    EXPECT_TRUE(reopened.IsExistID(5, 7));
}

TEST(TamselDatabase, SavedFileOpensElsewhereAndInSqlite) {
    std::string dir = TestDir("save");
    std::string path = dir + "/道路.mdb";
    std::string temp;
    {
        CGeoAttributeDatabase db(GetDAOEngine());
        BuildSchema(db);
        temp = db.GetPathName().str();
        EXPECT_TRUE(Exists(temp));
        ValueList l;
        ASSERT_TRUE(db.NewID(3, Values({COleVariant("河流"), COleVariant(0.5), COleVariant(LONG(8))}, &l), 7));
        ASSERT_TRUE(db.Save(path.c_str()));
        EXPECT_FALSE(Exists(temp)) << "the temporary file goes once the database has a place";
        EXPECT_EQ(db.GetPathName(), path.c_str());
        // Writes after the save land in the saved file; saving onto it commits them.
        ValueList m;
        ASSERT_TRUE(db.NewID(4, Values({COleVariant("湖"), Null(), Null()}, &m), 7));
        ASSERT_TRUE(db.Save(path.c_str()));
        EXPECT_EQ(Rows(win32::GbkPathToNative(path), "SELECT UserID, NAME, H, CODE FROM GC_7 ORDER BY UserID"),
                  (std::vector<std::string>{"3|\xe6\xb2\xb3\xe6\xb5\x81|0.5|8", "4|\xe6\xb9\x96|NULL|NULL"}));
    }
    EXPECT_TRUE(Exists(win32::GbkPathToNative(path)));

    CGeoAttributeDatabase again(GetDAOEngine(), (dir + "\\道路.mdb").c_str(), 0);
    ASSERT_TRUE(again.IsOpen());
    EXPECT_FALSE(again.IsReadOnly());
    EXPECT_TRUE(again.IsExistGC(7));
    EXPECT_TRUE(again.IsExistGC(9));
    COleVariant v;
    ASSERT_TRUE(again.GetFieldValue(3, "NAME", v, 0));
    EXPECT_EQ(v.strVal, "河流");
    CDaoFieldInfo more = MakeField("MORE", dbText);
    EXPECT_TRUE(again.AddField(more, 9, -1)) << "the fields read back keep their columns";
}

TEST(TamselDatabase, FilesThatCannotBeOpenedOrWritten) {
    std::string dir = TestDir("files");
    EXPECT_FALSE(CGeoAttributeDatabase(GetDAOEngine(), (dir + "/missing.mdb").c_str(), 0).IsOpen());
    EXPECT_FALSE(CGeoAttributeDatabase(nullptr).IsOpen());
    {
        std::ofstream junk(dir + "/junk.mdb", std::ios::binary);
        junk << std::string(5000, 'x');
    }
    EXPECT_FALSE(CGeoAttributeDatabase(GetDAOEngine(), (dir + "/junk.mdb").c_str(), 0).IsOpen());
    {
        sqlite3* other = nullptr;
        sqlite3_open((dir + "/other.mdb").c_str(), &other);
        sqlite3_exec(other, "CREATE TABLE t(x)", nullptr, nullptr, nullptr);
        sqlite3_close(other);
    }
    EXPECT_FALSE(CGeoAttributeDatabase(GetDAOEngine(), (dir + "/other.mdb").c_str(), 0).IsOpen())
        << "an SQLite file of another kind";

    std::string ro = dir + "/ro.mdb";
    {
        CGeoAttributeDatabase db(GetDAOEngine());
        BuildSchema(db);
        ValueList l;
        ASSERT_TRUE(db.NewID(1, Values({COleVariant("a"), COleVariant(1.0), COleVariant(LONG(1))}, &l), 7));
        ASSERT_TRUE(db.Save(ro.c_str()));
    }
    ASSERT_EQ(::chmod(ro.c_str(), 0444), 0);
    {
        CGeoAttributeDatabase db(GetDAOEngine(), ro.c_str(), 0);
        ASSERT_TRUE(db.IsOpen());
        EXPECT_TRUE(db.IsReadOnly());
        COleVariant v;
        EXPECT_TRUE(db.GetFieldValue(1, "NAME", v, 7));
        ValueList l;
        Values({COleVariant("b"), COleVariant(1.0), COleVariant(LONG(1))}, &l);
        EXPECT_FALSE(db.NewID(2, &l, 7));
        EXPECT_FALSE(db.SetIDValue(1, &l, 7));
        EXPECT_FALSE(db.RemoveID(1));
        EXPECT_FALSE(db.NewGC(3));
        EXPECT_FALSE(db.DeleteGC(7));
        CDaoFieldInfo f = MakeField("Z", dbLong);
        EXPECT_FALSE(db.AddField(f, 0, -1));
        EXPECT_TRUE(db.Save(ro.c_str())) << "onto its own file: nothing to write";
        db.RemoveFileWhenDestruct(1);
    }
    EXPECT_TRUE(Exists(ro)) << "a read-only file is never removed";

    // A read-only target is not overwritten.
    CGeoAttributeDatabase db(GetDAOEngine());
    EXPECT_FALSE(db.Save(ro.c_str()));
    EXPECT_FALSE(db.Save(""));
    EXPECT_FALSE(db.Save((dir + "/no/such/folder/x.mdb").c_str()));
    EXPECT_TRUE(db.IsOpen());
    ::chmod(ro.c_str(), 0644);
}

TEST(TamselDatabase, RemovingTheFileAndReleasing) {
    std::string dir = TestDir("remove");
    std::string path = dir + "/x.mdb";
    std::string temp;
    {
        CGeoAttributeDatabase unsaved(GetDAOEngine());
        temp = unsaved.GetPathName().str();
    }
    EXPECT_FALSE(Exists(temp));

    CGeoAttributeDatabase* db = new CGeoAttributeDatabase(GetDAOEngine());
    ASSERT_TRUE(db->Save(path.c_str()));
    db->RemoveFileWhenDestruct(1);
    EXPECT_EQ(db->IsRemoveFileWhenDestruct(), 1);
    db->RemoveDatabase();  // deletes the object
    EXPECT_FALSE(Exists(path));
}

// What SQLite holds for every field type, written by single inserts, whole-record and one-field updates
// and a batch: the storage class and the exact value of each column. Several texts of one record (ASCII,
// GBK that becomes UTF-8, bytes that are not GBK and stay a blob) must each keep their own bytes.
TEST(TamselDatabase, StoredTypesAndBytesOfEveryFieldType) {
    CGeoAttributeDatabase db(GetDAOEngine());
    ASSERT_TRUE(db.IsOpen());
    CDaoFieldInfo common[] = {MakeField("T1", dbText, 20), MakeField("T2", dbText), MakeField("M", dbMemo)};
    CDaoFieldInfo own[] = {MakeField("BO", dbBoolean), MakeField("BY", dbByte),     MakeField("I2", dbInteger),
                           MakeField("I4", dbLong),    MakeField("CY", dbCurrency), MakeField("R4", dbSingle),
                           MakeField("R8", dbDouble),  MakeField("DT", dbDate)};
    for (CDaoFieldInfo& f : common) ASSERT_TRUE(db.AddField(f, 0, -1));
    ASSERT_TRUE(db.NewGC(3));
    for (CDaoFieldInfo& f : own) ASSERT_TRUE(db.AddField(f, 3, -1));

    auto Cy = [](long long units) {
        COleVariant v;
        v.vt = VT_CY;
        v.cyVal.int64 = units;
        return v;
    };
    const COleVariant yes(short(VARIANT_TRUE), VT_BOOL), no(short(VARIANT_FALSE), VT_BOOL);
    const COleVariant when(COleDateTime(2021, 3, 4, 5, 6, 7));
    ValueList r1, r2, r3, plain, r4, one, b5, b6;
    Values({COleVariant("road 1"), COleVariant("河流"), COleVariant("a\x81"), yes, COleVariant(BYTE(255)),
            COleVariant(short(-32768)), COleVariant(LONG(2147483647)), Cy(9223372036854775807LL),
            COleVariant(3.4e38f), COleVariant(1e308), when},
           &r1);
    Values({COleVariant(""), Null(), COleVariant(), no, COleVariant(BYTE(0)), COleVariant(short(32767)),
            COleVariant(LONG(-2147483647 - 1)), Cy(-123456), COleVariant(-1.5f), COleVariant(-0.0),
            COleVariant(COleDateTime(0.0))},
           &r2);
    // Values of other types, converted on the way in.
    Values({COleVariant(LONG(42)), COleVariant(2.5), when, COleVariant("yes"), COleVariant("7"), COleVariant(2.5),
            COleVariant(-2.5), COleVariant(1.23456789), COleVariant("0.1"), COleVariant(LONG(7)),
            COleVariant("2021-03-04")},
           &r3);
    Values({COleVariant("x"), COleVariant("y"), COleVariant("z"), no, COleVariant(BYTE(9)), COleVariant(short(9)),
            COleVariant(LONG(9)), Cy(9), COleVariant(9.0f), COleVariant(9.0), when},
           &plain);
    // GBK in every text, for a whole-record update.
    Values({COleVariant("桥梁"), COleVariant("湖 lake"), COleVariant("\xb0\xa1\xff"), yes, COleVariant(BYTE(1)),
            COleVariant(short(1)), COleVariant(LONG(1)), Cy(1), COleVariant(0.1f), COleVariant(0.1), COleVariant(1.5)},
           &r4);
    ASSERT_TRUE(db.NewID(1, &r1, 3));
    ASSERT_TRUE(db.NewID(2, &r2, 3));
    ASSERT_TRUE(db.NewID(3, &r3, 3));
    ASSERT_TRUE(db.NewID(4, &plain, 3));
    ASSERT_TRUE(db.SetIDValue(4, &r4, 3));
    ASSERT_TRUE(db.SetIDValue(3, Values({COleVariant("道路")}, &one), 3, "T2"));
    CGeoAttributeDatabase::CValueListList batch;
    batch.AddTail(Values({COleVariant(LONG(5)), COleVariant("第五"), COleVariant("five"), COleVariant("五"), no,
                          COleVariant(BYTE(5)), COleVariant(short(5)), COleVariant(LONG(5)), Cy(50000),
                          COleVariant(5.5f), COleVariant(5.5), when},
                         &b5));
    batch.AddTail(Values({COleVariant(LONG(6)), Null(), COleVariant("six"), Null(), Null(), Null(), Null(), Null(),
                          Null(), Null(), Null(), Null()},
                         &b6));
    ASSERT_TRUE(db.NewID(&batch, 3));
    ASSERT_TRUE(db.Save(db.GetPathName()));

    std::string sql = "SELECT UserID";
    for (const char* c : {"T1", "T2", "M", "BO", "BY", "I2", "I4", "CY", "R4", "R8", "DT"})
        sql += std::string(", typeof(") + c + ") || ' ' || quote(" + c + ")";
    EXPECT_EQ(Rows(db.GetPathName().str(), sql + " FROM GC_3 ORDER BY rowid"),
              (std::vector<std::string>{
                  "1|text 'road 1'|text '\xE6\xB2\xB3\xE6\xB5\x81'|blob X'6181'|integer 1|integer 255|"
                  "integer -32768|integer 2147483647|integer 9223372036854775807|real 3.39999995214436424883e+38|"
                  "real 1.0e+308|real 4.42592125810185170855e+04",
                  "2|null NULL|null NULL|null NULL|integer 0|integer 0|integer 32767|integer -2147483648|"
                  "integer -123456|real -1.5|real 0.0|integer 0",
                  "3|text '42'|text '\xE9\x81\x93\xE8\xB7\xAF'|text '2021-03-04 05:06:07'|integer 1|integer 7|"
                  "integer 3|integer -3|integer 12346|real 1.00000001490116119384e-01|real 7.0|integer 44259",
                  "4|text '\xE6\xA1\xA5\xE6\xA2\x81'|text '\xE6\xB9\x96 lake'|blob X'B0A1FF'|integer 1|integer 1|"
                  "integer 1|integer 1|integer 1|real 1.00000001490116119384e-01|real 0.1|real 1.5",
                  "5|text '\xE7\xAC\xAC\xE4\xBA\x94'|text 'five'|text '\xE4\xBA\x94'|integer 0|integer 5|"
                  "integer 5|integer 5|integer 50000|real 5.5|real 5.5|real 4.42592125810185170855e+04",
                  "6|null NULL|text 'six'|null NULL|null NULL|null NULL|null NULL|null NULL|null NULL|null NULL|"
                  "null NULL|null NULL"}));
}

TEST(TamselDatabase, AnEditBlockedByAnotherWriterWaitsThenSaysWhy) {
    std::string dir = TestDir("busy");
    const std::string path = dir + "/busy.mdb";
    {
        CGeoAttributeDatabase db(GetDAOEngine());
        BuildSchema(db);
        ASSERT_TRUE(db.Save(path.c_str()));
    }
    CGeoAttributeDatabase db(GetDAOEngine(), path.c_str(), 0);
    ASSERT_TRUE(db.IsOpen());
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);

    ValueList l;
    Values({COleVariant("a"), COleVariant(1.0), COleVariant(LONG(1))}, &l);
    AfxClearMessageLog();
    EXPECT_FALSE(db.NewID(1, &l, 7));
    ASSERT_EQ(AfxGetMessageLog().size(), 1u);
    EXPECT_EQ(AfxGetMessageLog()[0].text.str(), "属性数据库正被其他程序写入，等待2秒后仍未释放，修改未完成: " + path);

    // A change refused for its content says nothing; the lock gone, the edit goes through.
    ASSERT_EQ(sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(other);
    AfxClearMessageLog();
    EXPECT_FALSE(db.NewID(1, &l, 12345));
    EXPECT_TRUE(db.NewID(1, &l, 7));
    EXPECT_TRUE(AfxGetMessageLog().empty());
}
