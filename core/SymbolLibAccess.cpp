#include "core/SymbolLibAccess.h"

#include "core/DialogHooks.h"
#include "core/VMSymbolLibIO.h"

#include <win32/module.h>

#include <vector>

namespace {

// Whether the GBK path's last character is a separator (a trail byte that looks like '\\' is not).
bool EndsInSeparator(const CString& path) {
    const int n = path.GetLength();
    int last = -1;
    for (int i = 0; i < n;) {
        last = i;
        const BYTE b = static_cast<BYTE>(path[i]);
        i += (b >= 0x81 && b <= 0xFE && i + 1 < n) ? 2 : 1;
    }
    return last >= 0 && last == n - 1 && (path[last] == '\\' || path[last] == '/');
}

}  // namespace

CString GetSymbolLibPath() {
    std::vector<char> buf(256);
    UINT n = GetWindowsDirectory(buf.data(), static_cast<UINT>(buf.size()));
    if (n >= buf.size()) {  // a longer folder than the usual buffer holds: take it whole
        buf.resize(n + 1);
        n = GetWindowsDirectory(buf.data(), static_cast<UINT>(buf.size()));
        if (n >= buf.size()) n = 0;
    }
    CString path(buf.data(), static_cast<int>(n));
    if (!EndsInSeparator(path)) path += '\\';
    return path + "Quenby";
}

CString GetSymbolLibFileName(CString name) {
    if (name.IsEmpty()) return CString();
    if (name[0] == '#') return GetSymbolLibPath() + "\\" + name.Mid(1) + ".slb";
    return GetSymbolLibPath() + "\\" + name + ".sym";
}

CString GetSymbolLibName(CString path) {
    const int n = path.GetLength();
    if (n <= 4 || path[n - 4] != '.') return CString();
    const CString ext = path.Right(3);
    if (ext.CompareNoCase("slb") == 0) return "#" + afx::PathFileTitle(path);
    if (ext.CompareNoCase("sym") == 0) return afx::PathFileTitle(path);
    return CString();
}

CSymbolLibIO* GetSymbolLibIO(CString path, int n) {
    LONG error = 0;
    CSymbolLibIO* lib = CSymbolLibIO::OpenSymbolLib(RUNTIME_CLASS(CVMSymbolLibIO), path, &error, static_cast<DWORD>(n));
    if (error != 0 || !lib) {
        delete lib;
        AfxMessageBox("打开符号库出错！", MB_OK);
        return nullptr;
    }
    return lib;
}

void ReleaseSymbolLibIO(CSymbolLibIO* pLib) { delete pLib; }

CString SelectSymbolLib(CString strCurrent) {
    const tagDialogHooks& hooks = GetDialogHooks();
    CString chosen;
    if (hooks.pfnPickSymbolLib && hooks.pfnPickSymbolLib(strCurrent, &chosen) == IDOK) return chosen;
    return strCurrent;
}

DWORD GetSymbolKindFilter(int nKind) {
    switch (nKind) {
    case 0: return 0x8000;
    case 1: return 0x4000;
    case 2: return 0x2000;
    case 3: return 0x1000;
    default: return 0xF000;
    }
}

int GetSymbol(SYMBOLTYPE nKind, int nCurrent, CSymbolLibIO* pLib) {
    const tagDialogHooks& hooks = GetDialogHooks();
    LONG chosen = nCurrent;
    if (hooks.pfnPickSymbol && hooks.pfnPickSymbol(pLib, nCurrent, GetSymbolKindFilter(nKind), &chosen) == IDOK)
        return chosen;
    return nCurrent;
}
