// Layer files with their attribute databases, loaded through the map. The input is a 32-bit length
// L, then L bytes of layer file, then the database file beside it (none when nothing follows).
#include "FuzzSupport.h"

#include "core/GeoMap.h"
#include "core/GeoVectorLayer.h"
#include "vector/GeoPLine.h"
#include "vector/GeoPoint.h"

#include <cstring>
#include <filesystem>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CWinApp app("fuzz_layer_file");
    if (size < 4) return 0;
    uint32_t n = 0;
    std::memcpy(&n, data, 4);
    const size_t layerBytes = std::min<size_t>(n, size - 4);
    const std::string lyr = fuzz::Scratch("f.LYR"), mdb = fuzz::Scratch("f.mdb");
    fuzz::WriteBytes(lyr, data + 4, layerBytes);
    std::filesystem::remove(mdb);
    if (size - 4 > layerBytes) fuzz::WriteBytes(mdb, data + 4 + layerBytes, size - 4 - layerBytes);
    AfxSetUserDriver(nullptr);
    try {
        CGeoMap map;
        std::unique_ptr<CGeoLayer> layer(map.LoadLayer(lyr.c_str()));
    } catch (CException&) {
    }
    AfxClearMessageLog();
    return 0;
}

void CorvaneFuzzWriteSeeds(const std::string& dir) {
    static CWinApp app("fuzz_layer_file");
    const std::string work = fuzz::Scratch("seed");
    std::filesystem::create_directories(work);
    CGeoTheme theme;
    CDaoFieldInfo name;
    name.m_strName = "名称";
    name.m_nType = dbText;
    name.m_lSize = 32;
    theme.AddField(name, -2);
    CGeoGClass gc;
    gc.SetGCID(1);
    gc.SetGCName("道路");
    theme.AddGC(gc, -2);
    CRect bounds(0, 0, 10000, 10000);
    CGeoMap map;
    CGeoVectorLayer* layer = CreateVectorLayer(&bounds, &theme, "道路", "", 0);
    map.AddLayer(layer, -1);
    const POINT pts[] = {{0, 0}, {500, 300}, {900, 100}};
    auto* line = new CGeoPLine(3, pts, FALSE);
    line->SetObjectClassID(1);
    layer->Add(line);
    layer->Add(new CGeoPoint(40, 50));
    CGeoValueList values;
    COleVariant text("京沪线");
    values.AddTail(text);
    layer->SetAttribute(line, &values);
    const std::string path = work + "/f.LYR";
    if (!map.SaveLayer(layer, path.c_str())) return;
    std::vector<uint8_t> lyr = fuzz::ReadBytes(path), mdb = fuzz::ReadBytes(work + "/f.mdb");
    auto pack = [](const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
        std::vector<uint8_t> out(4);
        const uint32_t n = static_cast<uint32_t>(a.size());
        std::memcpy(out.data(), &n, 4);
        out.insert(out.end(), a.begin(), a.end());
        out.insert(out.end(), b.begin(), b.end());
        return out;
    };
    fuzz::SaveSeed(dir, "layer-with-database", pack(lyr, mdb));
    fuzz::SaveSeed(dir, "layer-alone", pack(lyr, {}));
}
