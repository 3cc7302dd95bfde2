#include "core/CorvaneModule.h"

#include "core/CorvaneVersion.h"

#include "win32/module.h"

#include <cstdlib>

#define CORVANE_TEXT(x) CORVANE_TEXT_(x)
#define CORVANE_TEXT_(x) #x

namespace {

// The version block's product version is the record version, "major.minor".
const char kProductVersion[] = CORVANE_TEXT(CORVANE_VERSION_MAJOR) "." CORVANE_TEXT(CORVANE_VERSION_MINOR);

AFX_EXTENSION_MODULE g_extensionModule;
HINSTANCE g_hInstance = nullptr;
float g_fLibraryVersion = 0.0f;
float g_fCurrentFileVersion = 0.0f;

HINSTANCE OwnModule() {
    static int anchor;
    return GetModuleHandleFromAddress(&anchor);
}

// The loader's calls, in place of the system loader calling DllMain.
__attribute__((constructor)) void OnLibraryLoad() {
    HINSTANCE h = OwnModule();
    // The version block is data of this library, registered before the entry point reads it.
    win32::RegisterVersionStrings(h, {{"ProductVersion", kProductVersion}, {"FileVersion", "1.15"}});
    DllMain(h, DLL_PROCESS_ATTACH, nullptr);
}

__attribute__((destructor)) void OnLibraryUnload() {
    DllMain(g_hInstance, DLL_PROCESS_DETACH, nullptr);
    win32::UnregisterModuleResources(OwnModule());
}

}  // namespace

BOOL DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID) {
    if (dwReason == DLL_PROCESS_ATTACH) {
        if (!AfxInitExtensionModule(g_extensionModule, hInstance)) return FALSE;
        g_hInstance = hInstance;
        new CDynLinkLibrary(g_extensionModule, FALSE);  // the chain owns it
    } else if (dwReason == DLL_PROCESS_DETACH) {
        AfxTermExtensionModule(g_extensionModule, FALSE);
    }
    g_fLibraryVersion = GetCorvaneVersion();
    return TRUE;
}

CString GetVersionSection(HINSTANCE hModule, CString key) {
    char fileName[256];
    CString result;
    if (GetModuleFileName(hModule, fileName, sizeof fileName) == 0) return result;
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSize(fileName, &handle);
    if (size == 0) return result;
    HGLOBAL hMem = GlobalAlloc(GMEM_MOVEABLE, size);
    LPVOID block = GlobalLock(hMem);
    if (block && GetFileVersionInfo(fileName, handle, size, block)) {
        CString query = CString("\\StringFileInfo\\080404b0\\") + key;
        LPVOID value = nullptr;
        UINT len = 0;
        if (VerQueryValue(block, query, &value, &len) && value) result = static_cast<LPCSTR>(value);
    }
    GlobalUnlock(hMem);
    GlobalFree(hMem);
    return result;
}

HINSTANCE GetCorvaneInstance() { return g_hInstance; }

float GetCorvaneVersion() {
    // The version block is data of this library and cannot change while it is loaded; every stored
    // record asks for the version, so it is read once rather than resolved through the module path
    // each time. A failed read (no module yet) is not kept, so a later call reads again.
    static float cached = 0.0f;
    if (cached != 0.0f) return cached;
    const float v = static_cast<float>(std::atof(GetVersionSection(GetCorvaneInstance(), "ProductVersion")));
    if (GetCorvaneInstance() != nullptr) cached = v;
    return v;
}

float GetCorvaneLibraryVersion() { return g_fLibraryVersion; }

void SetCurrentFileVersion(float fVersion) { g_fCurrentFileVersion = fVersion; }

float GetCurrentFileVersion() {
    float library = GetCorvaneVersion();
    if (g_fCurrentFileVersion == 0.0f) {
        g_fCurrentFileVersion = library;
        return library;
    }
    if (g_fCurrentFileVersion > library) {
        AfxMessageBox("版本号错误!", MB_OK);
        return library;
    }
    return g_fCurrentFileVersion;
}

int GetCorvaneVersionNum() { return CORVANE_VERSION_NUM; }

const char* GetCorvaneVersionString() { return CORVANE_VERSION_STRING; }
