// The example host: links the library as a map program would. It builds a map of two vector layers
// with their themes, attribute records and polylines, saves it as layer files and a map record, loads
// it into a new map, and prints both maps side by side.
#include "core/CorvaneModule.h"
#include "core/GeoGClass.h"
#include "core/GeoMap.h"
#include "core/GeoTheme.h"
#include "core/GeoVectorLayer.h"
#include "tamsel/ValueConvert.h"
#include "vector/GeoPLine.h"

#include <win32/codepage.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Utf8(const CString& s) { return win32::GbkToUtf8(s.str()); }

CDaoFieldInfo Field(const char* name, short type, LONG size) {
    CDaoFieldInfo f;
    f.m_strName = name;
    f.m_nType = type;
    f.m_lSize = size;
    return f;
}

CGeoGClass FeatureClass(UINT code, const char* name, const CDaoFieldInfo* field, COLORREF color, float width) {
    CGeoGClass gc;
    gc.SetGCID(code);
    gc.SetGCName(name);
    if (field) gc.AddField(*field, -2);
    GEOVIEW view = gc.GetGeoView();
    view.m_crLineColor = color;
    view.m_fLineWidth = width;
    gc.SetGeoView(view);
    return gc;
}

CGeoPLine* Line(std::initializer_list<POINT> pts, UINT classID) {
    std::vector<POINT> v(pts);
    auto* line = new CGeoPLine(static_cast<int>(v.size()), v.data(), FALSE);
    line->SetObjectClassID(classID);
    return line;
}

void SetValues(CGeoVectorLayer* layer, CGeoVectorObject* object, std::initializer_list<COleVariant> values) {
    CGeoValueList list;
    for (COleVariant v : values) list.AddTail(v);
    layer->SetAttribute(object, &list);
}

CGeoVectorLayer* BuildRoads() {
    CGeoTheme theme;
    theme.SetName("交通");
    CDaoFieldInfo name = Field("名称", dbText, 32), lanes = Field("车道数", dbLong, 4);
    theme.AddField(name, -2);
    theme.AddGC(FeatureClass(1, "高速公路", &lanes, RGB(200, 0, 0), 6), -2);
    theme.AddGC(FeatureClass(2, "乡村道路", nullptr, RGB(120, 80, 0), 2), -2);
    CRect bounds(0, 0, 100000, 100000);
    CGeoVectorLayer* layer = CreateVectorLayer(&bounds, &theme, "道路", "", 0);
    CGeoPLine* a = Line({{1000, 1000}, {20000, 15000}, {40000, 15000}, {60000, 30000}}, 1);
    CGeoPLine* b = Line({{5000, 40000}, {25000, 42000}, {45000, 60000}}, 2);
    CGeoPLine* c = Line({{60000, 30000}, {80000, 50000}, {90000, 90000}}, 1);
    layer->Add(a);
    layer->Add(b);
    layer->Add(c);
    SetValues(layer, a, {COleVariant("京沪线"), COleVariant(static_cast<LONG>(6))});
    SetValues(layer, b, {COleVariant("东村路")});
    SetValues(layer, c, {COleVariant("沪宁线"), COleVariant(static_cast<LONG>(4))});
    return layer;
}

CGeoVectorLayer* BuildRivers() {
    CGeoTheme theme;
    theme.SetName("水系");
    CDaoFieldInfo name = Field("名称", dbText, 32), length = Field("长度", dbDouble, 8);
    theme.AddField(name, -2);
    theme.AddGC(FeatureClass(10, "河流", &length, RGB(0, 90, 220), 4), -2);
    CRect bounds(0, 0, 100000, 100000);
    CGeoVectorLayer* layer = CreateVectorLayer(&bounds, &theme, "河流", "", 0);
    CGeoPLine* r = Line({{0, 70000}, {30000, 65000}, {50000, 80000}, {100000, 75000}}, 10);
    layer->Add(r);
    SetValues(layer, r, {COleVariant("青河"), COleVariant(105.6)});
    return layer;
}

// One line per fact of a map, to print two maps side by side.
std::vector<std::string> Describe(CGeoMap& map) {
    std::vector<std::string> out;
    char buf[512];
    std::snprintf(buf, sizeof buf, "map \"%s\": %d layers", Utf8(map.GetObjectName()).c_str(), map.GetLayerCount());
    out.push_back(buf);
    for (int i = 0; i < map.GetLayerCount(); ++i) {
        auto* layer = static_cast<CGeoVectorLayer*>(map.FindLayer(i));
        std::snprintf(buf, sizeof buf, " layer %d \"%s\": %d objects", i, Utf8(layer->GetObjectName()).c_str(),
                      layer->GetObjectCount());
        out.push_back(buf);
        CUIntArray codes;
        layer->GetAllGCID(codes);
        for (int k = 0; k < codes.GetSize(); ++k) {
            CGeoGClass gc;
            layer->GetGClass(codes[k], gc);
            std::snprintf(buf, sizeof buf, "  class %u \"%s\", %d own fields", codes[k], Utf8(gc.GetGCName()).c_str(),
                          gc.GetFieldCount());
            out.push_back(buf);
        }
        for (int id = 1; id <= layer->GetMaxID(); ++id) {
            auto* obj = static_cast<CGeoVectorObject*>(layer->FindObj(static_cast<UINT>(id)));
            if (!obj) continue;
            CGeoValueList values;
            layer->GetAttribute(obj, &values);
            std::string text;
            for (POSITION p = values.GetHeadPosition(); p;) text += " " + Utf8(VartoString(&values.GetNext(p)));
            auto* line = static_cast<CGeoPLine*>(obj);
            std::snprintf(buf, sizeof buf, "  #%d class %u, %d points:%s", id, obj->GetObjectClassID(),
                          line->GetPoints(), text.c_str());
            out.push_back(buf);
        }
    }
    return out;
}

// Display width of UTF-8 text: CJK characters take two columns.
size_t Columns(const std::string& s) {
    size_t cols = 0;
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : 4;
        cols += n >= 3 ? 2 : 1;
        i += n;
    }
    return cols;
}

void SideBySide(const std::vector<std::string>& left, const std::vector<std::string>& right) {
    const size_t width = 58;
    std::printf("%-*s| %s\n", static_cast<int>(width), "built and saved", "loaded back");
    for (size_t i = 0; i < std::max(left.size(), right.size()); ++i) {
        std::string l = i < left.size() ? left[i] : "", r = i < right.size() ? right[i] : "";
        size_t cols = Columns(l);
        std::printf("%s%s| %s\n", l.c_str(), std::string(cols < width ? width - cols : 1, ' ').c_str(), r.c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    CWinApp app("corvane_demo");
    std::string outDir = argc > 1 ? argv[1] : ".";
    CString dir = CString(win32::NativePathToGbk(outDir).c_str()) + "/";

    std::printf("Corvane library version %.2f (ProductVersion \"%s\", FileVersion \"%s\")\n\n",
                GetCorvaneVersion(), GetVersionSection(GetCorvaneInstance(), "ProductVersion").str().c_str(),
                GetVersionSection(GetCorvaneInstance(), "FileVersion").str().c_str());

    // Build a map, give each layer its file, and store the map record: each layer is written to its
    // layer file (with its attribute database beside it) before its path goes into the record.
    CGeoMap map;
    map.AddLayer(BuildRoads(), -1);
    map.AddLayer(BuildRivers(), -1);
    map.FindLayer(0)->SetFileName(dir + "roads.LYR");
    map.FindLayer(1)->SetFileName(dir + "rivers.LYR");
    CString recordPath = dir + "demo.map";
    {
        CFile f(recordPath, CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&f, CArchive::store);
        map.Serialize(ar);
        ar.Close();
    }

    // Load the record into a new map: each layer is created by the class name in its layer file.
    CGeoMap loaded;
    {
        CFile f(recordPath, CFile::modeRead);
        CArchive ar(&f, CArchive::load);
        loaded.Serialize(ar);
    }
    SideBySide(Describe(map), Describe(loaded));
    std::printf("\nfiles in %s: demo.map, roads.LYR, roads.mdb, rivers.LYR, rivers.mdb\n", outDir.c_str());
    return 0;
}
