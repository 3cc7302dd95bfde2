#include "win32/module.h"

#include "win32/codepage.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const char kStringFileInfo[] = "\\StringFileInfo\\080404b0\\";

struct ModuleResources {
    std::map<std::string, std::string> versionStrings;
    std::map<UINT, std::string> strings;
};

std::map<HINSTANCE, ModuleResources>& Resources() {
    static auto* r = new std::map<HINSTANCE, ModuleResources>;  // outlives every unload
    return *r;
}

std::string& WindowsDir() { static std::string s; return s; }
std::string& SystemDir() { static std::string s; return s; }

std::string ResolveModulePath(HINSTANCE h) {
    if (!h) {
        char buf[4096];
        ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
        return n > 0 ? win32::NativePathToGbk(std::string(buf, n)) : std::string();
    }
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(h), &info) || !info.dli_fname) return std::string();
    char real[4096];
    if (realpath(info.dli_fname, real)) return win32::NativePathToGbk(real);
    return win32::NativePathToGbk(info.dli_fname);
}

// A loaded module's path cannot change while it stays loaded, and resolving it (dladdr, realpath)
// costs more than the look-ups that need it, so each path is resolved once; the entry is dropped
// when the module's resources are unregistered at unload.
std::map<HINSTANCE, std::string>& ModulePaths() {
    static auto* m = new std::map<HINSTANCE, std::string>;  // outlives every unload
    return *m;
}

std::string ModulePath(HINSTANCE h) {
    auto& paths = ModulePaths();
    auto it = paths.find(h);
    if (it != paths.end()) return it->second;
    std::string p = ResolveModulePath(h);
    if (!p.empty()) paths.emplace(h, p);
    return p;
}

// A version block is the sequence "path\0value\0" for each value, ending with an empty path.
std::vector<char> BuildBlock(const ModuleResources& r) {
    std::vector<char> b;
    for (const auto& kv : r.versionStrings) {
        std::string path = std::string(kStringFileInfo) + kv.first;
        b.insert(b.end(), path.begin(), path.end());
        b.push_back('\0');
        b.insert(b.end(), kv.second.begin(), kv.second.end());
        b.push_back('\0');
    }
    b.push_back('\0');
    return b;
}

const ModuleResources* FindByFileName(LPCSTR fileName) {
    if (!fileName) return nullptr;
    for (const auto& m : Resources())
        if (ModulePath(m.first) == fileName) return &m.second;
    return nullptr;
}

UINT CopyDir(const std::string& dir, LPSTR buf, UINT size) {
    if (dir.size() + 1 > size || !buf) return static_cast<UINT>(dir.size() + 1);
    std::memcpy(buf, dir.c_str(), dir.size() + 1);
    return static_cast<UINT>(dir.size());
}

std::string ResolveDir(const std::string& set, const char* env) {
    if (!set.empty()) return set;
    if (const char* e = std::getenv(env)) return win32::NativePathToGbk(e);
    char cwd[4096];
    return getcwd(cwd, sizeof cwd) ? win32::NativePathToGbk(cwd) : std::string(".");
}

thread_local DWORD t_lastError = 0;

}  // namespace

HINSTANCE GetModuleHandleFromAddress(const void* pAddress) {
    Dl_info info{};
    if (!dladdr(pAddress, &info)) return nullptr;
    return static_cast<HINSTANCE>(info.dli_fbase);
}

DWORD GetModuleFileName(HINSTANCE hModule, LPSTR lpFilename, DWORD nSize) {
    if (!lpFilename || nSize == 0) return 0;
    std::string p = ModulePath(hModule);
    if (p.empty()) return 0;
    DWORD n = static_cast<DWORD>(p.size() < nSize - 1 ? p.size() : nSize - 1);
    std::memcpy(lpFilename, p.data(), n);
    lpFilename[n] = '\0';
    return n;
}

namespace win32 {
void RegisterVersionStrings(HINSTANCE hModule, const std::map<std::string, std::string>& values) {
    Resources()[hModule].versionStrings = values;
}
void RegisterStringTable(HINSTANCE hModule, const std::map<UINT, std::string>& strings) {
    for (const auto& kv : strings) Resources()[hModule].strings[kv.first] = kv.second;
}
void UnregisterModuleResources(HINSTANCE hModule) {
    Resources().erase(hModule);
    ModulePaths().erase(hModule);
}
void SetWindowsDirectory(const std::string& gbkPath) { WindowsDir() = gbkPath; }
void SetSystemDirectory(const std::string& gbkPath) { SystemDir() = gbkPath; }
}  // namespace win32

DWORD GetFileVersionInfoSize(LPCSTR lptstrFilename, LPDWORD lpdwHandle) {
    if (lpdwHandle) *lpdwHandle = 0;
    const ModuleResources* r = FindByFileName(lptstrFilename);
    if (!r || r->versionStrings.empty()) return 0;
    return static_cast<DWORD>(BuildBlock(*r).size());
}

BOOL GetFileVersionInfo(LPCSTR lptstrFilename, DWORD, DWORD dwLen, LPVOID lpData) {
    const ModuleResources* r = FindByFileName(lptstrFilename);
    if (!r || r->versionStrings.empty() || !lpData) return FALSE;
    std::vector<char> b = BuildBlock(*r);
    if (dwLen < b.size()) return FALSE;
    std::memcpy(lpData, b.data(), b.size());
    return TRUE;
}

BOOL VerQueryValue(LPCVOID pBlock, LPCSTR lpSubBlock, LPVOID* lplpBuffer, UINT* puLen) {
    if (!pBlock || !lpSubBlock) return FALSE;
    const char* p = static_cast<const char*>(pBlock);
    while (*p) {
        const char* path = p;
        p += std::strlen(p) + 1;
        const char* value = p;
        p += std::strlen(p) + 1;
        if (std::strcmp(path, lpSubBlock) == 0) {
            if (lplpBuffer) *lplpBuffer = const_cast<char*>(value);
            if (puLen) *puLen = static_cast<UINT>(std::strlen(value) + 1);
            return TRUE;
        }
    }
    return FALSE;
}

int LoadString(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax) {
    auto m = Resources().find(hInstance);
    if (m == Resources().end()) return 0;
    auto s = m->second.strings.find(uID);
    if (s == m->second.strings.end() || !lpBuffer || cchBufferMax <= 0) return 0;
    size_t n = s->second.size() < static_cast<size_t>(cchBufferMax - 1) ? s->second.size() : cchBufferMax - 1;
    std::memcpy(lpBuffer, s->second.data(), n);
    lpBuffer[n] = '\0';
    return static_cast<int>(n);
}

namespace {
struct GlobalBlock {
    size_t size;
    std::vector<char> data;
};
}  // namespace

HGLOBAL GlobalAlloc(UINT uFlags, size_t dwBytes) {
    (void)uFlags;  // zero-filled always
    auto* b = new GlobalBlock{dwBytes, std::vector<char>(dwBytes ? dwBytes : 1, 0)};
    return reinterpret_cast<HGLOBAL>(b);
}
LPVOID GlobalLock(HGLOBAL hMem) { return hMem ? reinterpret_cast<GlobalBlock*>(hMem)->data.data() : nullptr; }
BOOL GlobalUnlock(HGLOBAL) { return FALSE; }
HGLOBAL GlobalFree(HGLOBAL hMem) {
    delete reinterpret_cast<GlobalBlock*>(hMem);
    return nullptr;
}
size_t GlobalSize(HGLOBAL hMem) { return hMem ? reinterpret_cast<GlobalBlock*>(hMem)->size : 0; }

UINT GetWindowsDirectory(LPSTR lpBuffer, UINT uSize) {
    return CopyDir(ResolveDir(WindowsDir(), "CORVANE_WINDOWS_DIR"), lpBuffer, uSize);
}
UINT GetSystemDirectory(LPSTR lpBuffer, UINT uSize) {
    return CopyDir(ResolveDir(SystemDir(), "CORVANE_SYSTEM_DIR"), lpBuffer, uSize);
}

DWORD GetLastError() { return t_lastError; }
void SetLastError(DWORD dwErrCode) { t_lastError = dwErrCode; }

namespace win32 {

DWORD ErrorFromErrno(int err) {
    switch (err) {
    case 0: return 0;
    case ENOENT: return 2;          // ERROR_FILE_NOT_FOUND
    case ENOTDIR: return 3;         // ERROR_PATH_NOT_FOUND
    case EMFILE:
    case ENFILE: return 4;          // ERROR_TOO_MANY_OPEN_FILES
    case EACCES:
    case EPERM:
    case EISDIR: return 5;          // ERROR_ACCESS_DENIED (Windows refuses a folder opened as a file so)
    case EBADF: return 6;           // ERROR_INVALID_HANDLE
    case ENOMEM: return 8;          // ERROR_NOT_ENOUGH_MEMORY
    case EXDEV: return 17;          // ERROR_NOT_SAME_DEVICE
    case EROFS: return 19;          // ERROR_WRITE_PROTECT
    case EBUSY:
    case ETXTBSY: return 32;        // ERROR_SHARING_VIOLATION
    case EEXIST: return 80;         // ERROR_FILE_EXISTS
    case EINVAL: return 87;         // ERROR_INVALID_PARAMETER
    case ENOSPC:
    case EDQUOT: return 112;        // ERROR_DISK_FULL
    case ENOTEMPTY: return 145;     // ERROR_DIR_NOT_EMPTY
    case ENAMETOOLONG: return 206;  // ERROR_FILENAME_EXCED_RANGE
    case EFBIG: return 223;         // ERROR_FILE_TOO_LARGE
    default: return 1117;           // ERROR_IO_DEVICE
    }
}

const char* SystemErrorText(DWORD code) {
    // The texts a Chinese desktop shows for these codes.
    switch (code) {
    case 0: return "操作成功完成。";
    case 2: return "系统找不到指定的文件。";
    case 3: return "系统找不到指定的路径。";
    case 4: return "系统无法打开文件。";
    case 5: return "拒绝访问。";
    case 6: return "句柄无效。";
    case 8: return "存储空间不足，无法处理此命令。";
    case 17: return "系统无法将文件移到不同的磁盘驱动器。";
    case 19: return "介质受写入保护。";
    case 32: return "另一个程序正在使用此文件，进程无法访问。";
    case 80: return "文件存在。";
    case 87: return "参数错误。";
    case 112: return "磁盘空间不足。";
    case 145: return "目录不是空的。";
    case 206: return "文件名或扩展名太长。";
    case 223: return "文件大小超出允许的限制，无法保存。";
    case 1117: return "由于 I/O 设备错误，无法运行此项请求。";
    default: return "未知错误。";
    }
}

}  // namespace win32

namespace {
std::vector<win32::WinExecRecord>& WinExecLog() {
    static std::vector<win32::WinExecRecord> log;
    return log;
}
}  // namespace

UINT WinExec(LPCSTR lpCmdLine, UINT uCmdShow) {
    if (!lpCmdLine || !*lpCmdLine) return 2;
    WinExecLog().push_back(win32::WinExecRecord{lpCmdLine, uCmdShow});
    return 33;
}

namespace win32 {
const std::vector<WinExecRecord>& GetWinExecLog() { return WinExecLog(); }
void ClearWinExecLog() { WinExecLog().clear(); }
}  // namespace win32
