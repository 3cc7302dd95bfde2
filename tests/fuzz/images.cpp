// BMP, TIFF and GeoTIFF files: the image and its placement.
#include "FuzzSupport.h"

#include <brisca/GeoTIFF.h>
#include <brisca/NewDIB.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzz::Scratch("i.img");
    fuzz::WriteBytes(path, data, size);
    CNewDIB dib;
    dib.ReadFile(path.c_str());
    CGeoTIFF geo;
    geo.LoadGeoTIFFFile(path.c_str());
    return 0;
}

void CorvaneFuzzWriteSeeds(const std::string& dir) {
    for (int bits : {1, 4, 8, 24}) {
        CNewDIB dib;
        if (!dib.CreateDIB(7, 5, bits)) continue;
        for (const char* ext : {".bmp", ".tif"})
            dib.SaveFile((dir + "/image" + std::to_string(bits) + ext).c_str());
    }
}
