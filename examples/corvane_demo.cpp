// The example host: links the library as a map program would. It builds a map of two vector layers
// with their themes, attribute records and polylines (the rivers drawn plainly, the roads through a
// symbol library), draws it, saves it as layer files and a map record, loads it into a new map, prints
// both maps side by side, and draws the loaded map into a PNG that must match the first picture pixel
// for pixel.
#include "core/CorvaneModule.h"
#include "core/SymbolLibAccess.h"
#include "tamsel/ValueConvert.h"

// The sample map and the sample symbol library are shared with the tests.
#include "../tests/platform/quenby/SampleSymbolLib.h"
#include "../tests/vector/PLineSampleMap.h"

#include <win32/codepage.h>
#include <win32/gdirecord.h>
#include <win32/module.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::string Utf8(const CString& s) { return win32::GbkToUtf8(s.str()); }

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
    if (!quenbytest::WriteSampleLibrary(libPath)) {
        std::printf("cannot write the symbol library %s\n", Utf8(libPath).c_str());
        return 1;
    }
    CSymbolLibIO* pLib = GetSymbolLibIO(libPath, plinesample::kPictureScale);
    if (!pLib) return 1;

    // Build a map, draw it, give each layer its file, and store the map record: each layer is written to
    // its layer file (with its attribute database beside it) before its path goes into the record.
    CGeoMap map;
    map.AddLayer(plinesample::BuildRivers(), -1);
    map.AddLayer(plinesample::BuildRoads(), -1);
    HDC before = plinesample::DrawMap(map, pLib);
    map.FindLayer(0)->SetFileName(dir + "rivers.LYR");
    map.FindLayer(1)->SetFileName(dir + "roads.LYR");
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
    std::printf("\nfiles in %s: demo.map, rivers.LYR, rivers.mdb, roads.LYR, roads.mdb; symbol library %s\n",
                outDir.c_str(), Utf8(libPath).c_str());

    // Draw the loaded map the same way and compare the two pictures.
    HDC after = plinesample::DrawMap(loaded, pLib);
    const std::vector<BYTE> a = plinesample::Pixels(before), b = plinesample::Pixels(after);
    size_t differ = a.size() == b.size() ? 0 : std::max(a.size(), b.size());
    for (size_t i = 0; i < std::min(a.size(), b.size()); i += 4)
        if (!std::equal(a.begin() + i, a.begin() + std::min(i + 4, a.size()), b.begin() + i)) ++differ;
    std::string png = outDir + "/demo-map.png";
    BOOL written = win32::WriteDCToPNG(after, win32::NativePathToGbk(png).c_str());
    ::DeleteDC(before);
    ::DeleteDC(after);
    ReleaseSymbolLibIO(pLib);
    if (!written) {
        std::printf("cannot write %s\n", png.c_str());
        return 1;
    }
    std::printf("picture of the loaded map (%d x %d pixels, rivers plain, roads symbolised): %s\n",
                plinesample::kPictureSize, plinesample::kPictureSize, png.c_str());
    if (differ) {
        std::printf("the loaded map draws differently from the map that was saved: %zu pixels differ\n", differ);
        return 1;
    }
    std::printf("the loaded map draws exactly as the map that was saved, pixel for pixel\n");
    return 0;
}
