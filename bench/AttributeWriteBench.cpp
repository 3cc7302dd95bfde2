// Attribute records against raw SQLite: 100,000 records (a text, a double and a long each) written
// through the layer into its attribute database and committed, against the same rows inserted into an
// SQLite table of the same columns with one prepared statement in one transaction.
// Prints ratios (ours / peer); never passes or fails on time.
#include "BenchUtil.h"

#include "core/GeoVectorLayer.h"
#include "vector/GeoPLine.h"

#include <tamsel/GeoAttributeDatabase.h>

#include <sqlite3.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

const int kRecords = 100000;

CDaoFieldInfo Field(const char* name, short type, LONG size = 0) {
    CDaoFieldInfo f;
    f.m_strName = name;
    f.m_nType = type;
    f.m_lSize = size;
    return f;
}

std::string Name(int i) { return "road " + std::to_string(i); }

double WriteThroughLayer() {
    CGeoVectorLayer* layer = CreateVectorLayer(nullptr, nullptr, "bench", "", 0);
    layer->m_Theme.AddField(Field("NAME", dbText, 20), -2);
    layer->m_Theme.AddField(Field("H", dbDouble), -2);
    CGeoGClass road;
    road.SetGCID(1);
    road.AddField(Field("WIDTH", dbLong), -2);
    layer->m_Theme.AddGC(road, -2);
    std::vector<CGeoPLine*> objects;
    POINT pts[2] = {{0, 0}, {10, 10}};
    for (int i = 0; i < kRecords; ++i) {
        CGeoPLine* line = new CGeoPLine(2, pts, FALSE);
        line->SetObjectClassID(1);
        layer->Add(line);
        objects.push_back(line);
    }
    double t = bench::Now();
    for (int i = 0; i < kRecords; ++i) {
        CGeoValueList values;
        COleVariant name(CString(Name(i).c_str())), h(i * 0.5), width(static_cast<LONG>(i % 50));
        values.AddTail(name);
        values.AddTail(h);
        values.AddTail(width);
        layer->SetAttribute(objects[i], &values);
    }
    CGeoAttributeDatabase* db = layer->GetAttributeDatabase();
    db->Save(db->GetPathName());
    t = bench::Now() - t;
    delete layer;
    return t;
}

double WriteRawSqlite() {
    std::remove("bench-peer.sqlite");
    sqlite3* db = nullptr;
    sqlite3_open("bench-peer.sqlite", &db);
    sqlite3_exec(db, "CREATE TABLE GC_1 (UserID INTEGER PRIMARY KEY, NAME TEXT, H REAL, WIDTH INTEGER)", nullptr,
                 nullptr, nullptr);
    double t = bench::Now();
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO GC_1 VALUES (?, ?, ?, ?)", -1, &st, nullptr);
    for (int i = 0; i < kRecords; ++i) {
        std::string name = Name(i);
        sqlite3_bind_int(st, 1, i + 1);
        sqlite3_bind_text(st, 2, name.c_str(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
        sqlite3_bind_double(st, 3, i * 0.5);
        sqlite3_bind_int(st, 4, i % 50);
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
    bench::Header();
    bench::Pair best{1e300, 1e300};
    for (int r = 0; r < 3; ++r) {
        best.ours = std::min(best.ours, WriteThroughLayer());
        best.peer = std::min(best.peer, WriteRawSqlite());
    }
    bench::Row("100,000 attribute records written (raw sqlite3)", best.ours, best.peer);
    return 0;
}
