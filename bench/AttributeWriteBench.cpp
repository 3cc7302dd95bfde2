// Attribute records against raw SQLite, on several schemas: records written through the layer into its
// attribute database and committed, against the same rows inserted into an SQLite table of the same
// columns with one prepared statement in one transaction. The schemas:
//   - 100,000 records of a text, a double and a long (a common text and double, the class's long);
//   - 50,000 records of 8 fields, 3 of them Chinese texts of 4 to 30 characters;
//   - 200,000 records of one short text.
// One generator makes each schema's values for both; the peer gets the texts as the UTF-8 SQLite stores.
// Prints the best round of each side and the median of the rounds' ratios (ours / peer); never passes or
// fails on time, but fails when the records read back through the layer differ from what was written.
#include "BenchUtil.h"

#include "core/GeoVectorLayer.h"
#include "vector/GeoPLine.h"

#include <tamsel/GeoAttributeDatabase.h>
#include <win32/codepage.h>

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <random>
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

// One field's value in both forms: what the layer is given and what the peer binds.
struct Value {
    short type = dbText;
    std::string gbk, utf8;  // text fields
    double number = 0;      // dbDouble
    long whole = 0;         // dbLong, dbInteger
};

struct Schema {
    const char* what;
    int records;
    std::vector<CDaoFieldInfo> common, own;  // the theme's common fields and the class's own
    std::vector<std::vector<Value>> rows;     // common values, then the class's
};

const char* const kHan[] = {"河", "路", "山", "湖", "桥", "村", "镇", "县", "市", "省", "东", "西", "南", "北",
                            "中", "新", "大", "小", "长", "江", "水", "林", "田", "石", "港", "口", "城", "区"};

Value Text(const std::string& gbk) {
    Value v;
    v.type = dbText;
    v.gbk = gbk;
    v.utf8 = win32::GbkToUtf8(gbk);
    return v;
}

Value Number(short type, double x) {
    Value v;
    v.type = type;
    v.number = x;
    v.whole = static_cast<long>(x);
    return v;
}

std::string Han(std::mt19937& rng, int from, int to) {
    std::uniform_int_distribution<int> len(from, to), pick(0, sizeof kHan / sizeof kHan[0] - 1);
    std::string s;
    for (int n = len(rng); n > 0; --n) s += kHan[pick(rng)];
    return s;
}

std::vector<Schema> MakeSchemas() {
    std::vector<Schema> out;
    std::mt19937 rng(4343);
    {
        Schema s{"3 fields x 100,000", 100000, {}, {}, {}};
        s.common = {Field("NAME", dbText, 20), Field("H", dbDouble)};
        s.own = {Field("WIDTH", dbLong)};
        for (int i = 0; i < s.records; ++i)
            s.rows.push_back({Text("road " + std::to_string(i)), Number(dbDouble, i * 0.5), Number(dbLong, i % 50)});
        out.push_back(std::move(s));
    }
    {
        Schema s{"8 fields, 3 Chinese texts, x 50,000", 50000, {}, {}, {}};
        s.common = {Field("名称", dbText, 64), Field("CODE", dbLong), Field("AREA", dbDouble)};
        s.own = {Field("地址", dbText, 64), Field("LEVEL", dbInteger), Field("备注", dbText, 64), Field("LEN", dbDouble),
                 Field("TAG", dbText, 10)};
        std::uniform_int_distribution<int> code(0, 999999), level(0, 9);
        for (int i = 0; i < s.records; ++i)
            s.rows.push_back({Text(Han(rng, 4, 30)), Number(dbLong, code(rng)), Number(dbDouble, i * 1.25),
                              Text(Han(rng, 4, 30)), Number(dbInteger, level(rng)), Text(Han(rng, 4, 30)),
                              Number(dbDouble, i * 0.75), Text("T" + std::to_string(i % 97))});
        out.push_back(std::move(s));
    }
    {
        Schema s{"1 short text x 200,000", 200000, {}, {}, {}};
        s.common = {Field("NAME", dbText, 8)};
        for (int i = 0; i < s.records; ++i) s.rows.push_back({Text("n" + std::to_string(i % 100000))});
        out.push_back(std::move(s));
    }
    return out;
}

COleVariant Variant(const Value& v) {
    switch (v.type) {
        case dbText: return COleVariant(CString(v.gbk.c_str()));
        case dbDouble: return COleVariant(v.number);
        case dbInteger: return COleVariant(static_cast<short>(v.whole));
        default: return COleVariant(static_cast<LONG>(v.whole));
    }
}

// Whether the value read back is the one written.
bool Same(const COleVariant& got, const Value& v) {
    switch (v.type) {
        case dbText: return got.vt == VT_BSTR && CString(got.strVal) == CString(v.gbk.c_str());
        case dbDouble: return got.vt == VT_R8 && got.dblVal == v.number;
        case dbInteger: return got.vt == VT_I2 && got.iVal == v.whole;
        default: return got.vt == VT_I4 && got.lVal == v.whole;
    }
}

// Writes the schema's records through a layer and commits; *ok says whether a sample read back right.
double WriteThroughLayer(const Schema& s, bool* ok) {
    CGeoVectorLayer* layer = CreateVectorLayer(nullptr, nullptr, "bench", "", 0);
    for (CDaoFieldInfo f : s.common) layer->m_Theme.AddField(f, -2);
    CGeoGClass cls;
    cls.SetGCID(1);
    for (CDaoFieldInfo f : s.own) cls.AddField(f, -2);
    layer->m_Theme.AddGC(cls, -2);
    std::vector<CGeoPLine*> objects;
    POINT pts[2] = {{0, 0}, {10, 10}};
    for (int i = 0; i < s.records; ++i) {
        CGeoPLine* line = new CGeoPLine(2, pts, FALSE);
        line->SetObjectClassID(1);
        layer->Add(line);
        objects.push_back(line);
    }
    double t = bench::Now();
    for (int i = 0; i < s.records; ++i) {
        CGeoValueList values;
        for (const Value& v : s.rows[static_cast<size_t>(i)]) {
            COleVariant x = Variant(v);
            values.AddTail(x);
        }
        layer->SetAttribute(objects[static_cast<size_t>(i)], &values);
    }
    CGeoAttributeDatabase* db = layer->GetAttributeDatabase();
    db->Save(db->GetPathName());
    t = bench::Now() - t;
    *ok = db->GetIDCount(1) == s.records;
    for (int i = 0; *ok && i < s.records; i += 997) {
        CGeoValueList back;
        *ok = layer->GetAttribute(objects[static_cast<size_t>(i)], &back) &&
              back.GetCount() == static_cast<int>(s.rows[static_cast<size_t>(i)].size());
        POSITION p = back.GetHeadPosition();
        for (const Value& v : s.rows[static_cast<size_t>(i)])
            if (*ok && !Same(back.GetNext(p), v)) *ok = false;
    }
    delete layer;
    return t;
}

double WriteRawSqlite(const Schema& s) {
    std::remove("bench-peer.sqlite");
    sqlite3* db = nullptr;
    sqlite3_open("bench-peer.sqlite", &db);
    std::string create = "CREATE TABLE GC_1 (UserID INTEGER PRIMARY KEY", insert = "INSERT INTO GC_1 VALUES (?";
    int column = 0;
    for (const auto* list : {&s.common, &s.own})
        for (const CDaoFieldInfo& f : *list) {
            create += ", C" + std::to_string(++column) + (f.m_nType == dbText ? " TEXT" : f.m_nType == dbDouble ? " REAL" : " INTEGER");
            insert += ", ?";
        }
    create += ")";
    insert += ")";
    sqlite3_exec(db, create.c_str(), nullptr, nullptr, nullptr);
    double t = bench::Now();
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, insert.c_str(), -1, &st, nullptr);
    for (int i = 0; i < s.records; ++i) {
        sqlite3_bind_int(st, 1, i + 1);
        int at = 1;
        for (const Value& v : s.rows[static_cast<size_t>(i)]) {
            ++at;
            if (v.type == dbText)
                sqlite3_bind_text(st, at, v.utf8.c_str(), static_cast<int>(v.utf8.size()), SQLITE_TRANSIENT);
            else if (v.type == dbDouble)
                sqlite3_bind_double(st, at, v.number);
            else
                sqlite3_bind_int64(st, at, v.whole);
        }
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    t = bench::Now() - t;
    sqlite3_close(db);
    std::remove("bench-peer.sqlite");
    return t;
}

}  // namespace

int main() {
    CWinApp app("bench");
    const std::vector<Schema> schemas = MakeSchemas();
    bench::Header();
    int failed = 0;
    for (const Schema& s : schemas) {
        // Nine rounds of 0.05-0.3 s a side; the ratio printed is the median of the rounds' own ratios (the
        // two sides of a round meet much the same load on a shared machine), the times the best rounds.
        bench::Paired result{1e300, 1e300, 0};
        std::vector<double> ratios;
        for (int r = 0; r < 9; ++r) {
            bool ok = false;
            const double ours = WriteThroughLayer(s, &ok);
            bench::AddRound(result, ratios, ours, WriteRawSqlite(s));
            if (!ok) {
                std::printf("wrong: the records of %s did not read back as written\n", s.what);
                failed = 1;
            }
        }
        result.ratio = bench::Median(ratios);
        bench::Row(std::string("attribute records, ") + s.what + " (raw sqlite3)", result);
    }
    return failed;
}
