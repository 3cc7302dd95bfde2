// BMP, TIFF and GeoTIFF files: the bitmap, the placement, and the image object made from both (its
// bounds from the placement).
#include "FuzzSupport.h"

#include "raster/GeoImage.h"

#include <brisca/GeoTIFF.h>
#include <brisca/NewDIB.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CWinApp app("fuzz_images");
    AfxSetUserDriver(nullptr);
    // A ".tif" name: the image object looks for a placement only in files so named.
    const std::string path = fuzz::Scratch("i.tif");
    fuzz::WriteBytes(path, data, size);
    {
        CNewDIB dib;
        dib.ReadFile(path.c_str());
        CGeoTIFF geo;
        geo.LoadGeoTIFFFile(path.c_str());
        CGeoImage image;
        if (image.LoadRasterFile(path.c_str())) {
            image.GetBounds();
            image.GetPixelValue(0, 0);
        }
    }
    AfxClearMessageLog();
    return 0;
}

void CorvaneFuzzWriteSeeds(const std::string& dir) {
    for (int bits : {1, 4, 8, 24, 32}) {
        CNewDIB dib;
        if (!dib.CreateDIB(7, 5, bits)) continue;
        for (const char* ext : {".bmp", ".tif"})
            dib.SaveFile((dir + "/image" + std::to_string(bits) + ext).c_str());
    }
}
