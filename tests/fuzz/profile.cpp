// Profile files: the application's settings file, read by every settings loader of the library.
#include "FuzzSupport.h"

#include "annotation/AnnoDefaults.h"
#include "annotation/LabelParams.h"
#include "core/GeoSettings.h"
#include "vector/IdentifyPoints.h"

namespace {

CWinApp& App() {
    static CWinApp app("fuzz_profile");
    return app;
}

void LoadAll() {
    LoadCorvaneVariable();
    LoadElevationChart();
    LoadContourCode();
    LoadShowElevCharType();
    LoadLabelPointShowType();
    LoadGeoAnno();
    LoadGeoRect();
    LoadGeoFormat();
    LoadSongJianAngle();
    LoadDynamicGeoAnno();
    LoadContourLabel();
    LoadAttributeLabelFontFit();
    LoadLineLabel();
    LoadPointLabel();
    LoadIdentificationPointInfo();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzz::Scratch("p.ini");
    fuzz::WriteBytes(path, data, size);
    App().SetProfileFile(path.c_str());
    AfxSetUserDriver(nullptr);
    LoadAll();
    AfxClearMessageLog();
    return 0;
}

void CorvaneFuzzWriteSeeds(const std::string& dir) {
    // Every saver writes its entries into a fresh profile.
    const std::string path = dir + "/settings.ini";
    App().SetProfileFile(path.c_str());
    SaveCorvaneVariable();
    SaveElevationChart();
    SaveContourCode();
    SaveShowElevCharType();
    SaveLabelPointShowType();
    SaveLineLabel();
    SavePointLabel();
    App().WriteProfileString("Settings", "IPInfo", "1:/tmp/标识点.txt");
    App().SetProfileFile(fuzz::Scratch("unused.ini").c_str());
}
