// DEM grid files: NSDTF-DEM text (".dem"), CNSDTF-DEM text (".grd") and ARC/INFO BIL triples
// (".bil" with its ".hdr" and ".blw").
//
// Input layout: the first byte picks the format (0 ".dem", 1 ".grd", 2 ".bil"); for BIL, two
// little-endian 16-bit lengths follow, then the header text, the world file text and the data bytes.
#include "FuzzSupport.h"

#include "core/GeoVectorLayer.h"
#include "terrain/GeoDEM.h"

#include <algorithm>
#include <cmath>

namespace {

const char* const kExt[] = {".dem", ".grd", ".bil"};

// Splits a BIL input into its three files; the lengths are clamped to what the input holds.
void WriteBilTriple(const std::string& base, const uint8_t* data, size_t size) {
    size_t hdrLen = size >= 2 ? (data[0] | data[1] << 8) : 0;
    size_t blwLen = size >= 4 ? (data[2] | data[3] << 8) : 0;
    const size_t head = size >= 4 ? 4 : size;
    data += head;
    size -= head;
    hdrLen = std::min(hdrLen, size);
    blwLen = std::min(blwLen, size - hdrLen);
    fuzz::WriteBytes(base + ".hdr", data, hdrLen);
    fuzz::WriteBytes(base + ".blw", data + hdrLen, blwLen);
    fuzz::WriteBytes(base + ".bil", data + hdrLen + blwLen, size - hdrLen - blwLen);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CWinApp app("fuzz_dem_file");
    if (size == 0) return 0;
    const int format = data[0] % 3;
    const std::string base = fuzz::Scratch("g");
    if (format == 2)
        WriteBilTriple(base, data + 1, size - 1);
    else
        fuzz::WriteBytes(base + kExt[format], data + 1, size - 1);
    AfxSetUserDriver(nullptr);
    {
        CGeoDEM dem;
        // A loaded small grid is contoured: at one stored unit when that asks for more levels than are
        // traced (the refusal), otherwise at an interval giving at most 200 levels.
        if (dem.LoadRasterFile(CString((base + kExt[format]).c_str())) &&
            static_cast<long long>(dem.GetWidth()) * dem.GetHeight() <= 64) {
            const double range = static_cast<double>(dem.GetMaxElevation()) - dem.GetMinElevation();
            const double steps = range > CGeoDEM::kMaxContourLevels ? 1.0 : std::max(1.0, std::ceil(range / 200.0));
            CGeoVectorLayer layer;
            dem.CreateContour(layer, dem.GetResZ() * steps);
        }
    }
    AfxClearMessageLog();
    return 0;
}

void CorvaneFuzzWriteSeeds(const std::string& dir) {
    static CWinApp app("fuzz_dem_file");
    // A small grid written by the library in each format, packed into the input layout above.
    tagRasterParameter parameter{};
    parameter.m_dPixelSize = 10.0;
    CGeoDEM dem(4, 3, 32, 1000, 2000, parameter, 0.1);
    LONG* nodes = reinterpret_cast<LONG*>(dem.GetNodes());
    if (!nodes) return;
    for (int i = 0; i < 12; ++i) nodes[i] = i * 7 - 20;
    dem.RecalcMinMax();
    const std::string scratch = fuzz::Scratch("seed");
    if (dem.SaveAsGrd(CString((scratch + ".grd").c_str()))) {
        std::vector<uint8_t> bytes{1};
        const std::vector<uint8_t> grd = fuzz::ReadBytes(scratch + ".grd");
        bytes.insert(bytes.end(), grd.begin(), grd.end());
        fuzz::SaveSeed(dir, "grid.grd", bytes);
    }
    for (int bits : {8, 16, 32}) {
        if (!dem.SaveAsBil(CString((scratch + ".bil").c_str()), bits)) continue;
        const std::vector<uint8_t> hdr = fuzz::ReadBytes(scratch + ".hdr");
        const std::vector<uint8_t> blw = fuzz::ReadBytes(scratch + ".blw");
        const std::vector<uint8_t> bil = fuzz::ReadBytes(scratch + ".bil");
        std::vector<uint8_t> bytes{2, static_cast<uint8_t>(hdr.size()), static_cast<uint8_t>(hdr.size() >> 8),
                                   static_cast<uint8_t>(blw.size()), static_cast<uint8_t>(blw.size() >> 8)};
        bytes.insert(bytes.end(), hdr.begin(), hdr.end());
        bytes.insert(bytes.end(), blw.begin(), blw.end());
        bytes.insert(bytes.end(), bil.begin(), bil.end());
        fuzz::SaveSeed(dir, "grid" + std::to_string(bits) + ".bil", bytes);
    }
    const char dem_text[] = "NSDTF-DEM x y 0.5 0 100.0 230.0 10.0 10.0 3 2 10\n1 2\n3 -999990\n5 6\n";
    std::vector<uint8_t> bytes{0};
    bytes.insert(bytes.end(), dem_text, dem_text + sizeof dem_text - 1);
    fuzz::SaveSeed(dir, "grid.dem", bytes);
}
