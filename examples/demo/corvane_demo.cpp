// The example host: links the installed library as a map program would. It builds a map of vector
// layers (land-use polygons, rivers, roads, places with symbols, annotations in the lettering styles
// and automatic labels; see DemoMap.h), draws it, saves it as layer files and a map record, loads it
// into a new map, prints both maps side by side, and draws the loaded map into PNG pictures: the
// whole map, which must match the picture of the map before saving pixel for pixel, and one picture
// per subsystem.
#include <core/CorvaneModule.h>
#include <core/SymbolLibAccess.h>
#include <tamsel/ValueConvert.h>

#include "DemoMap.h"
#include "DemoSymbols.h"

#include <win32/codepage.h>
#include <win32/gdirecord.h>
#include <win32/module.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

// Land use dissolved, roads clipped, areas labelled (GeoProcessDemo.cpp).
int RunGeoProcessDemo(const std::string& outDir, const CString& dir);
// The feature-class editor on the river layer, with pictures of its windows (ClassEditDemo.cpp).
int RunClassEditDemo(const std::string& outDir);
// The object property sheet moving the canal to another class, with pictures (ObjectSheetDemo.cpp).
int RunObjectSheetDemo(const std::string& outDir);
// The layer property sheet on the river layer, with pictures of its pages (LayerSheetDemo.cpp).
int RunLayerSheetDemo(const std::string& outDir);
// The value input, symbol picker, symbol grid and library picker, with pictures (SymbolDialogDemo.cpp).
int RunSymbolDialogDemo(const std::string& outDir, CSymbolLibIO* pLib);
// The style sheet and display-style page on the river layer's style, with pictures (StyleEditDemo.cpp).
int RunStyleEditDemo(const std::string& outDir);
// The scheme designer building the demo's scheme demo.sch, with pictures (SchemeDesignerDemo.cpp).
int RunSchemeDesignerDemo(const std::string& outDir);
// The annotation text page and its three dialogs, with pictures (AnnoTextDemo.cpp).
int RunAnnoTextDemo(const std::string& outDir);
// A scan rectified through control points, a DEM with its contours (RasterDemo.cpp).
int RunRasterDemo(const std::string& outDir);

namespace {

std::string Utf8(const CString& s) { return win32::GbkToUtf8(s.str()); }

// A path as this system writes it: '/' between folders, whatever the library's own separator is.
std::string PathUtf8(const CString& s) {
    std::string p = Utf8(s);
    std::replace(p.begin(), p.end(), '\\', '/');
    return p;
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
        // Objects one line per kind: how many, and the attribute values they hold.
        std::vector<std::pair<std::string, std::string>> kinds;
        for (int id = 1; id <= layer->GetMaxID(); ++id) {
            auto* obj = static_cast<CGeoVectorObject*>(layer->FindObj(static_cast<UINT>(id)));
            if (!obj) continue;
            std::string kind = obj->GetRuntimeClass()->m_lpszClassName;
            if (obj->IsKindOf(RUNTIME_CLASS(CGeoAnno))) kind += " \"" + Utf8(static_cast<CGeoAnno*>(obj)->GetName()) + "\"";
            CGeoValueList values;
            layer->GetAttribute(obj, &values);
            std::string text;
            for (POSITION p = values.GetHeadPosition(); p;) {
                std::string v = Utf8(VartoString(&values.GetNext(p)));
                if (!v.empty()) text += " " + v;
            }
            auto at = std::find_if(kinds.begin(), kinds.end(), [&](const auto& k) { return k.first == kind; });
            if (at == kinds.end()) kinds.emplace_back(kind, text);
            else if (!text.empty()) at->second += "," + text;
        }
        for (const auto& k : kinds) {
            std::snprintf(buf, sizeof buf, "  %s%s", k.first.c_str(), k.second.c_str());
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
    const size_t width = 64;
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
    // Absolute, so that the paths printed below can be opened from anywhere.
    std::string outDir = std::filesystem::absolute(argc > 1 ? argv[1] : ".").lexically_normal().string();
    if (outDir.size() > 1 && outDir.back() == '/') outDir.pop_back();
    CString dir = CString(win32::NativePathToGbk(outDir).c_str()) + "/";

    std::printf("Corvane library version %.2f (ProductVersion \"%s\", FileVersion \"%s\")\n\n",
                GetCorvaneVersion(), GetVersionSection(GetCorvaneInstance(), "ProductVersion").str().c_str(),
                GetVersionSection(GetCorvaneInstance(), "FileVersion").str().c_str());

    // The symbol library lives where the host keeps its libraries: the folder "Quenby" under the Windows
    // directory, which this host points at its output folder.
    win32::SetWindowsDirectory(dir.str());
    std::filesystem::create_directories(outDir + "/Quenby");
    CString libPath = GetSymbolLibFileName("示例");
    if (!demo::WriteSampleLibrary(libPath)) {
        std::printf("cannot write the symbol library %s\n", PathUtf8(libPath).c_str());
        return 1;
    }
    CSymbolLibIO* pLib = GetSymbolLibIO(libPath, demo::kPictureScale);
    if (!pLib) return 1;

    // Build a map, draw it, give each layer its file, and store the map record: each layer is written to
    // its layer file (with its attribute database beside it) before its path goes into the record.
    std::vector<std::pair<CGeoPoint*, CString>> places;
    std::vector<std::pair<CGeoPLine*, CString>> lines;
    CGeoMap map;
    map.AddLayer(demo::BuildLandUse(), -1);
    map.AddLayer(demo::BuildRivers(&lines), -1);
    map.AddLayer(demo::BuildRoads(&lines), -1);
    map.AddLayer(demo::BuildPlaces(&places), -1);
    map.AddLayer(demo::BuildNotes(), -1);
    map.AddLayer(demo::BuildLabels(places, lines), -1);
    HDC before = demo::DrawMap(map, pLib);
    const char* const files[] = {"landuse", "rivers", "roads", "places", "notes", "labels"};
    for (int i = 0; i < map.GetLayerCount(); ++i) map.FindLayer(i)->SetFileName(dir + files[i] + ".LYR");
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
    std::printf("\nfiles in %s: demo.map and, for each layer, its .LYR file and .mdb database (", outDir.c_str());
    for (const char* f : files) std::printf("%s%s", f, f == files[5] ? ")\n" : ", ");
    std::printf("symbol library %s\n\n", PathUtf8(libPath).c_str());

    // Draw the loaded map the same way and compare the two pictures.
    HDC after = demo::DrawMap(loaded, pLib);
    const std::vector<BYTE> a = demo::Pixels(before), b = demo::Pixels(after);
    size_t differ = a.size() == b.size() ? 0 : std::max(a.size(), b.size());
    for (size_t i = 0; i < std::min(a.size(), b.size()); i += 4)
        if (!std::equal(a.begin() + i, a.begin() + std::min(i + 4, a.size()), b.begin() + i)) ++differ;

    // One picture per subsystem, from the loaded map, and the whole map.
    struct Picture {
        const char* file;
        const char* what;
        std::vector<int> layers;
    };
    const Picture pictures[] = {
        {"demo-vector.png", "vector: land-use polygons with a hole, rivers, roads symbolised, places", {0, 1, 2, 3}},
        {"demo-annotation.png", "annotation: lettering styles and automatic labels", {4, 5}},
    };
    bool allWritten = true;
    auto write = [&](HDC hdc, const std::string& name, const char* what) {
        std::string png = outDir + "/" + name;
        BOOL ok = win32::WriteDCToPNG(hdc, win32::NativePathToGbk(png).c_str());
        std::printf("%-30s %s (%d x %d pixels)\n", what, ok ? png.c_str() : "NOT WRITTEN", demo::kPictureSize,
                    demo::kPictureSize);
        allWritten = allWritten && ok;
    };
    for (const Picture& p : pictures) {
        std::vector<CGeoLayer*> layers;
        for (int i : p.layers) layers.push_back(loaded.FindLayer(i));
        HDC hdc = demo::DrawLayers(layers, pLib);
        write(hdc, p.file, p.what);
        ::DeleteDC(hdc);
    }
    write(after, "demo-map.png", "the whole map, loaded back");
    ::DeleteDC(before);
    ::DeleteDC(after);
    const int dialogs = RunSymbolDialogDemo(outDir, pLib);
    ReleaseSymbolLibIO(pLib);
    if (!allWritten || dialogs) return 1;
    if (differ) {
        std::printf("the loaded map draws differently from the map that was saved: %zu pixels differ\n", differ);
        return 1;
    }
    std::printf("the loaded map draws exactly as the map that was saved, pixel for pixel\n");
    const int processed = RunGeoProcessDemo(outDir, dir);
    if (processed) return processed;
    const int classes = RunClassEditDemo(outDir);
    if (classes) return classes;
    const int objects = RunObjectSheetDemo(outDir);
    if (objects) return objects;
    const int layerSheet = RunLayerSheetDemo(outDir);
    if (layerSheet) return layerSheet;
    const int styles = RunStyleEditDemo(outDir);
    if (styles) return styles;
    const int schemes = RunSchemeDesignerDemo(outDir);
    if (schemes) return schemes;
    const int annotations = RunAnnoTextDemo(outDir);
    return annotations ? annotations : RunRasterDemo(outDir);
}
