// The library's entry point, run by its own load function in place of the system loader.
#include <afx/afx.h>

#include "win32/module.h"

namespace {

AFX_EXTENSION_MODULE g_geomModule;

// Internal: the main library has an entry point of the same name, and each must run its own.
BOOL DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID) {
    if (dwReason == DLL_PROCESS_ATTACH) {
        AfxInitExtensionModule(g_geomModule, hInstance);
        new CDynLinkLibrary(g_geomModule, FALSE);  // the chain owns it
    }
    return 1;
}

__attribute__((constructor)) void OnGeomLibraryLoad() {
    static int anchor;
    DllMain(GetModuleHandleFromAddress(&anchor), DLL_PROCESS_ATTACH, nullptr);
}

}  // namespace
