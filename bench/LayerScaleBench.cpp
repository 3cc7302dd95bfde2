// Editing and query workflows on county-sized layers: 10,000, 100,000 and 1,000,000 polylines on a grid
// (other sizes as arguments: bench_LayerScaleBench 10000 100000). For each workflow it prints the time
// per item (per object visited, per query or per delete) at each size and the slope of the workflow's
// total time on a log-log scale between the last two sizes, taking the total as the per-item time times
// the number of objects (1 = linear; a whole-layer scan per query shows as 2). Every size is measured in
// three whole rounds and each row keeps its best; per-query rows also take the best of three runs within
// a round. Polygon workflows run on a layer of square polygons with their arcs and one point each (about
// as many objects as the size), labelling on as many points or lines. Last, the memory a layer of the
// largest size of 3-point polylines takes, per object and per point. No peer; a row of plain memory reads
// shows what the processor's caches alone make of the sizes. Never passes or fails on time.
#include "BenchUtil.h"

#include "annotation/AnnoGrid.h"
#include "annotation/AutoLabelLine.h"
#include "annotation/AutoLabelPoint.h"
#include "annotation/GeoAnno.h"
#include "core/GeoView.h"
#include "vector/GeoPoint.h"
#include "vector/GeoPolygon.h"
#include "vector/IdentifyPoints.h"

#include <malloc.h>
#include <cstdlib>
#include <fstream>

#include "core/GeoVectorLayer.h"
#include "ui/ADBValueDlg.h"
#include "vector/GeoPLine.h"

#include <tamsel/GeoAttributeDatabase.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

const int kQueries = 1000;
const int kRounds = 3;

// The best of three rounds of a workload.
double Best(const std::function<void()>& f) {
    double best = 1e300;
    for (int r = 0; r < 3; ++r) best = std::min(best, bench::TimeOnce(f));
    return best;
}

CDaoFieldInfo Field(const char* name, short type, LONG size = 0) {
    CDaoFieldInfo f;
    f.m_strName = name;
    f.m_nType = type;
    f.m_lSize = size;
    return f;
}

struct Run {
    CGeoVectorLayer* layer = nullptr;
    std::vector<CGeoPLine*> lines;
    int side = 0;  // lines per grid row; each line sits in a cell of 100 x 100 units

    explicit Run(int n) {
        layer = CreateVectorLayer(nullptr, nullptr, "bench", "", 0);
        layer->m_Theme.AddField(Field("NAME", dbText, 20), -2);
        CGeoGClass road;
        road.SetGCID(1);
        layer->m_Theme.AddGC(road, -2);
        side = static_cast<int>(std::sqrt(static_cast<double>(n))) + 1;
        lines.reserve(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) {
            const int x = (i % side) * 100, y = (i / side) * 100;
            POINT pts[3] = {{x + 10, y + 10}, {x + 50, y + 60}, {x + 90, y + 20}};
            CGeoPLine* line = new CGeoPLine(3, pts, FALSE);
            line->SetObjectClassID(1);
            layer->Add(line);
            lines.push_back(line);
        }
    }
    ~Run() { delete layer; }
    // Object coordinates are millimetres here, so a query rectangle is given as is.
    CRect Cell(std::mt19937& rng) const {
        const int cx = std::uniform_int_distribution<int>(0, side - 1)(rng) * 100;
        const int cy = std::uniform_int_distribution<int>(0, side - 1)(rng) * 100;
        return CRect(cx + 30, cy + 30, cx + 70, cy + 70);
    }
};

typedef std::map<std::string, std::map<int, double>> Table;  // workflow -> size -> seconds per item

// The best of the rounds at one size.
void Keep(std::map<int, double>& row, int n, double seconds) {
    auto it = row.find(n);
    if (it == row.end() || seconds < it->second) row[n] = seconds;
}

void Measure(int n, Table& table) {
    Run run(n);
    std::mt19937 rng(29);
    const int stride = n / kQueries;

    // The first search builds the layer's look-ups; it counts as one pass over the objects.
    double t = bench::TimeOnce([&] { run.layer->FindObj(run.Cell(rng), SELOBJ_MEET, 0); });
    Keep(table["first rectangle search (builds the index), per object"], n, t / n);

    size_t hits = 0;
    t = Best([&] {
        for (int q = 0; q < kQueries; ++q) hits += run.layer->FindObj(run.Cell(rng), SELOBJ_MEET, 0) != nullptr;
    });
    Keep(table["FindObj by rectangle, per query"], n, t / kQueries);

    // Likewise the first search by user ID builds that look-up.
    t = bench::TimeOnce([&] {
        CGeoAccessorialObjectList found;
        hits += run.layer->FindUserObj(run.lines[0]->GetUserID(), found);
    });
    Keep(table["first user-ID search (builds the index), per object"], n, t / n);

    t = Best([&] {
        CGeoAccessorialObjectList found;
        for (int q = 0; q < kQueries; ++q)
            hits += run.layer->FindUserObj(run.lines[static_cast<size_t>(q) * stride]->GetUserID(), found);
    });
    Keep(table["FindUserObj, per query"], n, t / kQueries);

    // What opening the attribute dialog and changing a class in the object sheet ask of user IDs.
    t = Best([&] {
        for (int q = 0; q < kQueries; ++q) {
            CGeoPLine* line = run.lines[static_cast<size_t>(q) * stride];
            hits += CADBValueDlg::HaveSameUserObject(line) == 0;
            CGeoAccessorialObjectList sharing;
            hits += run.layer->FindUserObj(line->GetUserID(), sharing);
        }
    });
    Keep(table["a dialog's user-ID checks, per dialog open"], n, t / kQueries);

    t = Best([&] {
        for (int q = 0; q < kQueries; ++q) {
            const CRect c = run.Cell(rng);
            CGeoPolygonList near;
            hits += run.layer->GetNeighbourPolygonList(POINT{c.left - 20, c.top - 20}, near);
            hits += run.layer->GetPolygonListShareSamePoint(POINT{c.left - 20, c.top - 20}, near);
        }
    });
    Keep(table["neighbourhood queries (two kinds), per query"], n, t / (2 * kQueries));

    t = Best([&] {
        for (CGeoPLine* line : run.lines) hits += run.layer->CanConvertObj(line, 0, 0);
    });
    Keep(table["CanConvertObj over every object, per object"], n, t / n);

    // FixedLine and ConvertObj replace each line they are given, so each of their three rounds takes a
    // spread sample of its own (sample offsets within the stride: FixedLine 0, 3, 5; ConvertObj 2, 4, 6;
    // the deletes below take 1), and the best round counts as for the queries.
    auto bestOverSamples = [&](const int (&offsets)[3], const std::function<void(CGeoPLine*&)>& replace) {
        double best = 1e300;
        for (int offset : offsets)
            best = std::min(best, bench::TimeOnce([&] {
                for (int q = 0; q < kQueries; ++q) replace(run.lines[static_cast<size_t>(q) * stride + offset]);
            }));
        return best;
    };
    const int fixedAt[3] = {0, 3, 5}, convertAt[3] = {2, 4, 6};
    t = bestOverSamples(fixedAt, [&](CGeoPLine*& line) {
        if (CGeoPLine* made = run.layer->FixedLine(line)) {
            delete line;
            line = made;
        }
    });
    Keep(table["FixedLine, per line"], n, t / kQueries);

    // ConvertObj to a plain polyline.
    t = bestOverSamples(convertAt, [&](CGeoPLine*& line) {
        if (CGeoVectorObject* made = run.layer->ConvertObj(line, 0, 0)) {
            if (CGeoPLine* pl = made->AsPLine()) {
                delete line;
                line = pl;
            }
        }
    });
    Keep(table["ConvertObj, per line"], n, t / kQueries);

    // Delete with the record: every object gets a record in its class's table (n rows), then a spread
    // sample is deleted, so each delete removes one record from a table as large as the layer.
    {
        CTypedPtrList<CObList, CGeoVectorObject*> objects;
        CList<CGeoValueList*, CGeoValueList*> lists;
        std::vector<std::unique_ptr<CGeoValueList>> owned;
        owned.reserve(run.lines.size());
        COleVariant name(CString("road"));
        for (CGeoPLine* line : run.lines) {
            owned.emplace_back(new CGeoValueList);
            owned.back()->AddTail(name);
            objects.AddTail(line);
            lists.AddTail(owned.back().get());
        }
        if (!run.layer->SetAttribute(&objects, &lists)) std::printf("  (records not written)\n");
    }
    std::vector<CGeoPLine*> doomed;
    for (int q = 0; q < kQueries; ++q) doomed.push_back(run.lines[static_cast<size_t>(q) * stride + 1]);
    const UINT firstDoomed = doomed[0]->GetUserID();
    t = bench::TimeOnce([&] {
        for (CGeoPLine* line : doomed) hits += run.layer->Delete(line, 1);
    });
    for (CGeoPLine* line : doomed) delete line;
    // Each record went with its object, and the table, still holding the others, stayed.
    CGeoAttributeDatabase* db = run.layer->GetAttributeDatabase();
    if (!db || db->GetIDCount(1) != n - kQueries || db->IsExistID(firstDoomed, 1)) {
        std::printf("  wrong: the deletes left %ld records of %d\n", db ? static_cast<long>(db->GetIDCount(1)) : -1L,
                    n - kQueries);
        std::exit(1);
    }
    Keep(table["Delete with its attribute record (table of n records), per delete"], n, t / kQueries);

    // Objects may all carry one user ID (a layer whose IDs were never set apart): deletes and user-ID
    // changes must not walk every holder of the shared ID.
    for (POSITION p = run.layer->m_ObjList.GetHeadPosition(); p;)
        static_cast<CGeoVectorObject*>(run.layer->m_ObjList.GetNext(p))->SetUserID(7);
    std::vector<CGeoPLine*> shared;
    for (int q = 0; q < kQueries; ++q) shared.push_back(run.lines[static_cast<size_t>(q) * stride + 7]);
    t = bench::TimeOnce([&] {
        for (CGeoPLine* line : shared) {
            line->SetUserID(8);
            line->SetUserID(7);
            hits += run.layer->Delete(line, 0);
        }
    });
    for (CGeoPLine* line : shared) delete line;
    Keep(table["Delete and user-ID change when every object shares one ID, per delete"], n, t / kQueries);

    if (hits == 0) std::printf("  (nothing found)\n");
}

// What the memory alone costs as a layer grows: a chain of dependent reads of random cache lines from a
// table of one line per object (a look-up's cell, an object's first line). Once the table outgrows the
// processor's caches every read waits on memory, so a per-query row whose work is a fixed number of such
// reads shows the slope this row shows, though it walks nothing.
void MeasureMemory(int n, Table& table) {
    struct alignas(64) Line {
        uint32_t next;
    };
    std::vector<Line> lines(static_cast<size_t>(n));
    // Sattolo's shuffle: one cycle through every line.
    std::vector<uint32_t> order(static_cast<size_t>(n));
    for (uint32_t i = 0; i < order.size(); ++i) order[i] = i;
    std::mt19937 rng(5);
    for (size_t i = order.size() - 1; i > 0; --i)
        std::swap(order[i], order[std::uniform_int_distribution<size_t>(0, i - 1)(rng)]);
    for (size_t i = 0; i < order.size(); ++i) lines[order[i]].next = order[(i + 1) % order.size()];
    const int reads = 10 * kQueries;
    uint32_t at = 0;
    const double t = Best([&] {
        for (int r = 0; r < reads; ++r) at = lines[at].next;
    });
    Keep(table["memory alone: one random cache-line read, per read"], n, t / reads);
    if (at == 0xFFFFFFFFu) std::printf("  (unreachable)\n");
}

// Automatic labelling of n points and of n lines (pairs of lines with one text that meet end to end,
// joined first) against the default 10 x 10 collision grid over the whole area.
void MeasureLabels(int n, Table& table) {
    const int side = static_cast<int>(std::sqrt(static_cast<double>(n))) + 1;
    const CRect area(0, 0, side * 100, side * 100);
    GEOANNO text;
    text.m_strText = "AB";
    text.m_nCharWidth = 20;
    text.m_nCharHeight = 10;
    text.m_nUnit = 3;
    GEOVIEW style = GetDefaultGEOVIEW();
    tagGEOFORMAT format;
    CPoint origin(0, 0), offset(0, 0);
    {
        std::vector<std::unique_ptr<CGeoPoint>> points;
        CTypedPtrList<CObList, CGeoVectorObject*> objects;
        CStringList texts;
        for (int i = 0; i < n; ++i) {
            points.emplace_back(new CGeoPoint(CPoint((i % side) * 100 + 40, (i / side) * 100 + 40)));
            objects.AddTail(points.back().get());
            texts.AddTail(CString("AB"));
        }
        tagPOINTPARA para;
        para.m_nPosition = 9;
        para.m_nSearchStep = 5;
        para.m_nHorOffsetLimit = 20;
        para.m_nVerOffsetLimit = 20;
        para.m_nUseGrid = 1;
        para.m_nScale = 10;
        para.m_nKind = 1;
        para.m_nUnit = 3;
        CGeoAnnoGrid grid;
        grid.SetTotalRect(area);
        grid.BuildIndex();
        CRect a = area;
        const double t = bench::TimeOnce([&] {
            AutoLabelGeoPoint(nullptr, 10, origin, offset, style, text, para, a, objects, texts, format, &grid, nullptr);
        });
        Keep(table["point auto-labelling (10 x 10 grid), per point"], n, t / n);
    }
    {
        std::vector<std::unique_ptr<CGeoPLine>> owned;
        CTypedPtrList<CObList, CGeoPLine*> lines;
        CStringList texts;
        for (int i = 0; i < n; ++i) {
            const int pair = i / 2, x = (pair % side) * 100, y = (pair / side) * 100;
            POINT pts[2] = {{x + 5 + (i % 2) * 45, y + 50}, {x + 50 + (i % 2) * 45, y + 50}};
            owned.emplace_back(new CGeoPLine(2, pts, FALSE));
            lines.AddTail(owned.back().get());
            CString label;
            label.Format("R%d", pair);
            texts.AddTail(label);
        }
        tagLINEPARA para;
        para.m_nSide = 2;
        para.m_nCharOrient = 1;
        para.m_nScale = 10;
        para.m_nKind = 3;
        para.m_nUnit = 3;
        para.m_nJoinLines = 1;
        para.m_nCollisionTest = 1;
        CGeoAnnoGrid grid;
        grid.SetTotalRect(area);
        grid.BuildIndex();
        CRect a = area;
        const double t = bench::TimeOnce([&] {
            AutoLabelGeoLine(nullptr, 10, origin, offset, style, text, para, a, lines, texts, format, &grid, nullptr);
        });
        Keep(table["line auto-labelling with joining, per line"], n, t / n);
    }
}

// A layer of k x k square polygons (their shared arcs, and one point inside each): about n objects.
struct PolygonRun {
    CGeoVectorLayer* layer = nullptr;
    int k = 0;
    std::vector<CGeoPLine*> horizontal, vertical;  // (k + 1) rows of k, (k + 1) columns of k
    std::vector<CGeoPolygon*> polygons;

    explicit PolygonRun(int n) {
        k = static_cast<int>(std::sqrt(n / 4.0)) + 1;
        layer = CreateVectorLayer(nullptr, nullptr, "polygons", "", 0);
        auto arc = [&](int x0, int y0, int x1, int y1) {
            POINT pts[2] = {{x0, y0}, {x1, y1}};
            CGeoPLine* line = new CGeoPLine(2, pts, FALSE);
            line->SetObjectClassID(7);
            layer->Add(line);
            return line;
        };
        for (int j = 0; j <= k; ++j)
            for (int i = 0; i < k; ++i) horizontal.push_back(arc(i * 100, j * 100, (i + 1) * 100, j * 100));
        for (int i = 0; i <= k; ++i)
            for (int j = 0; j < k; ++j) vertical.push_back(arc(i * 100, j * 100, i * 100, (j + 1) * 100));
        for (int j = 0; j < k; ++j)
            for (int i = 0; i < k; ++i) {
                CGeoPolygon* polygon = new CGeoPolygon;
                layer->Add(polygon);
                CGeoKeyString keys;
                keys.Add(static_cast<LONG>(H(i, j)->GetID()));
                keys.Add(static_cast<LONG>(V(i + 1, j)->GetID()));
                keys.Add(-static_cast<LONG>(H(i, j + 1)->GetID()));
                keys.Add(-static_cast<LONG>(V(i, j)->GetID()));
                keys.Add(POLYGON_RING_END);
                polygon->SetKeyString(keys);
                polygons.push_back(polygon);
            }
        for (int j = 0; j < k; ++j)
            for (int i = 0; i < k; ++i) {
                CGeoPoint* point = new CGeoPoint(CPoint(i * 100 + 50, j * 100 + 50));
                point->SetObjectClassID(5);
                layer->Add(point);
            }
    }
    ~PolygonRun() { delete layer; }
    CGeoPLine* H(int i, int j) const { return horizontal[static_cast<size_t>(j) * k + i]; }
    CGeoPLine* V(int i, int j) const { return vertical[static_cast<size_t>(i) * k + j]; }
};

void MeasurePolygons(int n, Table& table) {
    PolygonRun run(n);
    const int objects = static_cast<int>(run.layer->m_ObjList.GetCount());
    const size_t np = run.polygons.size();
    std::mt19937 rng(29);
    std::uniform_int_distribution<size_t> pick(0, np - 1);
    size_t hits = 0;
    // The first IsPublicLine builds the arcs' look-up.
    double t = bench::TimeOnce([&] {
        CGeoPolygonList list;
        hits += run.layer->IsPublicLine(run.H(0, 0), list);
    });
    Keep(table["first IsPublicLine (builds the look-up), per object"], objects, t / objects);
    t = Best([&] {
        for (int q = 0; q < kQueries; ++q) {
            CGeoPolygonList list;
            const size_t at = pick(rng);
            hits += run.layer->IsPublicLine(run.H(static_cast<int>(at % run.k), static_cast<int>(at / run.k)), list);
        }
    });
    Keep(table["IsPublicLine, per query"], objects, t / kQueries);
    t = Best([&] {
        for (int q = 0; q < kQueries; ++q) {
            const size_t at = pick(rng);
            const int i = static_cast<int>(at % run.k), j = static_cast<int>(at / run.k);
            hits += run.polygons[at]->GetNeighbourPolygon(run.V(i + 1, j)) != nullptr;
        }
    });
    Keep(table["GetNeighbourPolygon, per query"], objects, t / kQueries);

    SetIdentificationPointLayer(run.layer);
    t = bench::TimeOnce([] { ConstructPolygonPointList(); });
    Keep(table["identification points: point lists, per polygon"], objects, t / np);

    const char* ipFile = "scale-bench.ip";
    { std::ofstream(ipFile) << "7 5 0\n"; }
    SpacifyIdentificationPointFile(ipFile);
    CIdentificationPointRelate relate;
    relate.SetLayer(run.layer);
    relate.SetAutoAdd(0);
    relate.SetNoCondition(0);  // relate by the IP file alone
    t = bench::TimeOnce([&] { relate.RelateIdentificationPoint(); });
    Keep(table["identification points: relate with an IP file, per polygon"], objects, t / np);

    // Again without a file on fresh point lists: every polygon whose point became a label point relates
    // none, the rest take their first point.
    ConstructPolygonPointList();
    for (CGeoPolygon* polygon : run.polygons) polygon->SetLabelPoint(static_cast<CGeoLabelPoint*>(nullptr));
    relate.SetNeedIPFile(0);
    relate.SetNoCondition(1);
    t = bench::TimeOnce([&] { relate.RelateIdentificationPoint(); });
    Keep(table["identification points: relate without a file, per polygon"], objects, t / np);
    SpacifyIdentificationPointFile("");
    SetIdentificationPointLayer(nullptr);
    std::remove(ipFile);
    if (hits == 0) std::printf("  (nothing found)\n");
}

// The heap a layer of n 3-point polylines takes, as built, then with its look-ups.
void PrintMemory(int n) {
    const size_t before = bench::HeapInUse();
    Run* run = new Run(n);
    const size_t listed = bench::HeapInUse();
    std::mt19937 rng(1);
    run->layer->FindObj(run->Cell(rng), SELOBJ_MEET, 0);  // builds the bounds look-up
    const size_t bounded = bench::HeapInUse();
    CGeoAccessorialObjectList found;
    run->layer->FindUserObj(run->lines[0]->GetUserID(), found);  // builds the user-ID look-up
    const size_t indexed = bench::HeapInUse();
    const double objects = n, points = 3.0 * n;
    std::printf("\nmemory of a layer of %d 3-point polylines (heap in use):\n", n);
    std::printf("  %-44s %8.1f bytes per object %6.1f per point\n", "objects and list (no look-up)",
                (listed - before) / objects, (listed - before) / points);
    std::printf("    of which the object (sizeof CGeoPLine)     %8zu\n", sizeof(CGeoPLine));
    std::printf("    of which the points                        %8zu\n", 3 * sizeof(POINT));
    std::printf("  %-44s %8.1f bytes per object %6.1f per point\n", "bounds look-up (R-tree and slots)",
                (bounded - listed) / objects, (bounded - listed) / points);
    std::printf("  %-44s %8.1f bytes per object %6.1f per point\n", "user-ID look-up", (indexed - bounded) / objects,
                (indexed - bounded) / points);
    std::printf("  %-44s %8.1f bytes per object %6.1f per point\n", "total", (indexed - before) / objects,
                (indexed - before) / points);
    delete run;
}

}  // namespace

int main(int argc, char** argv) {
    Table table;
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.size() < 2) sizes = {10000, 100000, 1000000};
    for (int n : sizes)
        if (n < 10 * kQueries) {  // the spread samples take eight lines per stride
            std::fprintf(stderr, "sizes must be at least %d\n", 10 * kQueries);
            return 2;
        }
    // Whole rounds over every size, so that a busy spell on a shared machine spoils one round of one
    // size rather than the slope.
    for (int round = 0; round < kRounds; ++round)
        for (int n : sizes) {
            Measure(n, table);
            MeasureLabels(n, table);
            MeasurePolygons(n, table);
            MeasureMemory(n, table);
        }
    std::printf("%-60s", "workflow (time per item)");
    for (int n : sizes) std::printf(" %11d", n);
    std::printf(" %6s\n", "slope");
    for (const auto& row : table) {
        // Rows measured on polygon layers are keyed by their object counts, which differ from the sizes.
        std::vector<double> v;
        std::vector<int> at;
        for (const auto& e : row.second) {
            at.push_back(e.first);
            v.push_back(e.second);
        }
        std::printf("%-60s", row.first.c_str());
        for (double x : v) std::printf(" %8.2f us", x * 1e6);
        // Total time = per item x objects when every object is visited once per item of the workload
        // (a scan per query); per-query costs that stay flat give 1.
        const size_t m = v.size();
        const double slope =
            m < 2 ? 0.0 : 1.0 + std::log10(v[m - 1] / v[m - 2]) / std::log10(static_cast<double>(at[m - 1]) / at[m - 2]);
        std::printf(" %6.2f\n", slope);
    }
    PrintMemory(sizes.back());
    return 0;
}
