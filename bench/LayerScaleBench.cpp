// Editing and query workflows on county-sized layers: 10,000, 100,000 and 1,000,000 polylines on a grid.
// For each workflow it prints the time per item (per object visited, per query or per delete) at each
// size and the slope of the workflow's total time on a log-log scale from 10^5 to 10^6 objects, taking
// the total as the per-item time times the number of objects (1 = linear; a whole-layer scan per query
// shows as 2). No peer; never passes or fails on time.
#include "BenchUtil.h"

#include "core/GeoVectorLayer.h"
#include "ui/ADBValueDlg.h"
#include "vector/GeoPLine.h"

#include <tamsel/GeoAttributeDatabase.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

const int kQueries = 1000;

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

void Measure(int n, Table& table) {
    Run run(n);
    std::mt19937 rng(29);
    const int stride = n / kQueries;

    // The first search builds the layer's look-ups; it counts as one pass over the objects.
    double t = bench::TimeOnce([&] { run.layer->FindObj(run.Cell(rng), SELOBJ_MEET, 0); });
    table["first rectangle search (builds the index), per object"][n] = t / n;

    size_t hits = 0;
    t = bench::TimeOnce([&] {
        for (int q = 0; q < kQueries; ++q) hits += run.layer->FindObj(run.Cell(rng), SELOBJ_MEET, 0) != nullptr;
    });
    table["FindObj by rectangle, per query"][n] = t / kQueries;

    // Likewise the first search by user ID builds that look-up.
    t = bench::TimeOnce([&] {
        CGeoAccessorialObjectList found;
        hits += run.layer->FindUserObj(run.lines[0]->GetUserID(), found);
    });
    table["first user-ID search (builds the index), per object"][n] = t / n;

    t = bench::TimeOnce([&] {
        CGeoAccessorialObjectList found;
        for (int q = 0; q < kQueries; ++q)
            hits += run.layer->FindUserObj(run.lines[static_cast<size_t>(q) * stride]->GetUserID(), found);
    });
    table["FindUserObj, per query"][n] = t / kQueries;

    // What opening the attribute dialog and changing a class in the object sheet ask of user IDs.
    t = bench::TimeOnce([&] {
        for (int q = 0; q < kQueries; ++q) {
            CGeoPLine* line = run.lines[static_cast<size_t>(q) * stride];
            hits += CADBValueDlg::HaveSameUserObject(line) == 0;
            CGeoAccessorialObjectList sharing;
            hits += run.layer->FindUserObj(line->GetUserID(), sharing);
        }
    });
    table["a dialog's user-ID checks, per dialog open"][n] = t / kQueries;

    t = bench::TimeOnce([&] {
        for (int q = 0; q < kQueries; ++q) {
            const CRect c = run.Cell(rng);
            CGeoPolygonList near;
            hits += run.layer->GetNeighbourPolygonList(POINT{c.left - 20, c.top - 20}, near);
            hits += run.layer->GetPolygonListShareSamePoint(POINT{c.left - 20, c.top - 20}, near);
        }
    });
    table["neighbourhood queries (two kinds), per query"][n] = t / (2 * kQueries);

    t = bench::TimeOnce([&] {
        for (CGeoPLine* line : run.lines) hits += run.layer->CanConvertObj(line, 0, 0);
    });
    table["CanConvertObj over every object, per object"][n] = t / n;

    // FixedLine over a spread sample: each replaces the line by a new one in its place.
    t = bench::TimeOnce([&] {
        for (int q = 0; q < kQueries; ++q) {
            CGeoPLine*& line = run.lines[static_cast<size_t>(q) * stride];
            if (CGeoPLine* made = run.layer->FixedLine(line)) {
                delete line;
                line = made;
            }
        }
    });
    table["FixedLine, per line"][n] = t / kQueries;

    // Delete with the record: records written for a spread sample, then those objects deleted.
    std::vector<CGeoPLine*> doomed;
    for (int q = 0; q < kQueries; ++q) {
        CGeoPLine* line = run.lines[static_cast<size_t>(q) * stride + 1];
        CGeoValueList values;
        COleVariant name(CString("road"));
        values.AddTail(name);
        run.layer->SetAttribute(line, &values);
        doomed.push_back(line);
    }
    t = bench::TimeOnce([&] {
        for (CGeoPLine* line : doomed) hits += run.layer->Delete(line, 1);
    });
    for (CGeoPLine* line : doomed) delete line;
    table["Delete with its attribute record, per delete"][n] = t / kQueries;

    if (hits == 0) std::printf("  (nothing found)\n");
}

}  // namespace

int main() {
    Table table;
    const int sizes[3] = {10000, 100000, 1000000};
    for (int n : sizes) Measure(n, table);
    std::printf("%-56s %11s %11s %11s %6s\n", "workflow (time per item)", "10^4", "10^5", "10^6", "slope");
    for (const auto& row : table) {
        const auto& v = row.second;
        // Total time = per item x objects when every object is visited once per item of the workload
        // (a scan per query); per-query costs that stay flat give 1.
        const double slope = 1.0 + std::log10(v.at(1000000) / v.at(100000));
        std::printf("%-56s %9.2f us %8.2f us %8.2f us %6.2f\n", row.first.c_str(), v.at(10000) * 1e6,
                    v.at(100000) * 1e6, v.at(1000000) * 1e6, slope);
    }
    return 0;
}
