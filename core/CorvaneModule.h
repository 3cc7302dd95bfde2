// Library start-up and version.
//
// When the library is loaded into a process its entry point registers it as an extension module of the
// class library and sets the library version from its own version block ("ProductVersion" "1.38").
// That version is written into every versioned record; loaders compare a record's stored version with
// float thresholds (`version >= 1.38f`) to decide which fields it holds.
#pragma once

#include <afx/afx.h>

// The entry point: process attach (1), detach (0), thread attach (2) and detach (3). Run by the library's
// own load and unload functions. Returns FALSE only when the extension module cannot initialise, at
// process attach; nothing else is set then.
BOOL DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved);

// The string value named by lpszKey in the module's version block under "\StringFileInfo\080404b0\";
// empty when the module has no version block or the value is missing.
CString GetVersionSection(HINSTANCE hModule, CString key);

// The module handle kept at process attach (NULL before).
HINSTANCE GetCorvaneInstance();

// The library version: atof of "ProductVersion" from the library's own version block, 1.38f here;
// 0.0f when the block cannot be read.
float GetCorvaneVersion();

// The library version as the entry point last set it (0.0 before the first call).
float GetCorvaneLibraryVersion();

// The version this library was built as, for a host to compare with the one it was compiled against
// (core/CorvaneVersion.h): CORVANE_VERSION_NUM (major * 10000 + minor * 100 + patch) and
// CORVANE_VERSION_STRING ("major.minor.patch", static storage) of the library's own build.
int GetCorvaneVersionNum();
const char* GetCorvaneVersionString();

// The host's current file version. The library never calls these itself.
void SetCurrentFileVersion(float fVersion);
// 0.0 (unset) becomes the library version; a value above the library version shows "版本号错误!"
// and gives the library version, leaving the stored value as it is; otherwise the stored value.
float GetCurrentFileVersion();
