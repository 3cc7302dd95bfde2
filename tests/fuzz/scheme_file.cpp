// Scheme files: a list of class-tagged themes with their feature classes and fields.
#include "FuzzSupport.h"

#include "ui/Scheme.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CWinApp app("fuzz_scheme_file");
    const std::string path = fuzz::Scratch("s.sch");
    fuzz::WriteBytes(path, data, size);
    AfxSetUserDriver(nullptr);
    CTypedPtrList<CObList, CGeoTheme*> themes;
    try {
        ReadSchemeFile(path.c_str(), themes);
    } catch (CException&) {
    }
    ClearThemeList(&themes);
    AfxClearMessageLog();
    return 0;
}

void CorvaneFuzzWriteSeeds(const std::string& dir) {
    static CWinApp app("fuzz_scheme_file");
    CTypedPtrList<CObList, CGeoTheme*> themes;
    for (const char* name : {"水系", "道路"}) {
        auto* theme = new CGeoTheme;
        theme->SetName(name);
        CDaoFieldInfo f;
        f.m_strName = "名称";
        f.m_nType = dbText;
        f.m_lSize = 32;
        theme->AddField(f, -2);
        CGeoGClass gc;
        gc.SetGCID(10);
        gc.SetGCName("河流");
        gc.AddField(f, -2);
        theme->AddGC(gc, -2);
        themes.AddTail(theme);
    }
    SaveSchemeFile(themes, (dir + "/scheme.sch").c_str());
    ClearThemeList(&themes);
}
