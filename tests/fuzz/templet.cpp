// Templet files: a name and the themes with their feature classes and fields.
#include "FuzzSupport.h"

#include "core/GeoTemplet.h"
#include "core/GeoTheme.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CWinApp app("fuzz_templet");
    const std::string path = fuzz::Scratch("t.TPT");
    fuzz::WriteBytes(path, data, size);
    AfxSetUserDriver(nullptr);
    try {
        CGeoTemplet templet;
        templet.LoadTemplet(path.c_str());
    } catch (CException&) {
    }
    AfxClearMessageLog();
    return 0;
}

void CorvaneFuzzWriteSeeds(const std::string& dir) {
    static CWinApp app("fuzz_templet");
    CGeoTemplet templet;
    CGeoTheme theme;
    theme.SetName("水系");
    CDaoFieldInfo f;
    f.m_strName = "名称";
    f.m_nType = dbText;
    f.m_lSize = 32;
    theme.AddField(f, -2);
    CGeoGClass gc;
    gc.SetGCID(10);
    gc.SetGCName("河流");
    theme.AddGC(gc, -2);
    templet += theme;
    templet += CGeoTheme();
    templet.SaveTemplet((dir + "/templet.TPT").c_str());
}
