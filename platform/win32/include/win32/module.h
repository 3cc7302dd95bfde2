// Modules, their resources and the system folders.
//
// A module handle is the load address of a shared library (as on the original system, where it is the
// image base). Resources (version blocks, string tables) are data compiled into the library that owns
// them and registered under its handle when it loads.
#pragma once

#include "win32/wintypes.h"

#include <map>
#include <vector>
#include <string>

// The handle of the shared library that contains the given address (a function or variable of it),
// or NULL.
HINSTANCE GetModuleHandleFromAddress(const void* pAddress);

// The module's file path (GBK) into lpFilename, cut to nSize - 1 bytes and NUL-terminated; returns the
// length written, 0 on failure. hModule NULL names the main program.
DWORD GetModuleFileName(HINSTANCE hModule, LPSTR lpFilename, DWORD nSize);

namespace win32 {
// Registers the string values of a module's version block, keyed by their names ("ProductVersion"...),
// under "\StringFileInfo\080404b0\". Replaces an earlier registration of the same module.
void RegisterVersionStrings(HINSTANCE hModule, const std::map<std::string, std::string>& values);
void UnregisterModuleResources(HINSTANCE hModule);
// Registers a module's string table.
void RegisterStringTable(HINSTANCE hModule, const std::map<UINT, std::string>& strings);
}  // namespace win32

// The size of the version block of the module file, 0 when it has none.
DWORD GetFileVersionInfoSize(LPCSTR lptstrFilename, LPDWORD lpdwHandle);
// Copies the version block (at most dwLen bytes); FALSE when the file has none.
BOOL GetFileVersionInfo(LPCSTR lptstrFilename, DWORD dwHandle, DWORD dwLen, LPVOID lpData);
// Finds a value in a version block by its path ("\StringFileInfo\080404b0\ProductVersion"):
// *lplpBuffer points into the block at the NUL-terminated text, *puLen is its length with the NUL.
BOOL VerQueryValue(LPCVOID pBlock, LPCSTR lpSubBlock, LPVOID* lplpBuffer, UINT* puLen);

// String resources: the length copied (without the NUL), 0 when the module has no such string.
int LoadString(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax);

// Global memory blocks (movable blocks are plain heap blocks here).
#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
HGLOBAL GlobalAlloc(UINT uFlags, size_t dwBytes);
LPVOID GlobalLock(HGLOBAL hMem);
BOOL GlobalUnlock(HGLOBAL hMem);
HGLOBAL GlobalFree(HGLOBAL hMem);   // NULL on success
size_t GlobalSize(HGLOBAL hMem);

// The Windows and system folders: from SetWindowsDirectory / SetSystemDirectory, else the environment
// variables CORVANE_WINDOWS_DIR / CORVANE_SYSTEM_DIR, else the current folder. Results are GBK paths
// without a trailing separator; returns the length, or the size needed when the buffer is too small.
UINT GetWindowsDirectory(LPSTR lpBuffer, UINT uSize);
UINT GetSystemDirectory(LPSTR lpBuffer, UINT uSize);
namespace win32 {
void SetWindowsDirectory(const std::string& gbkPath);
void SetSystemDirectory(const std::string& gbkPath);
}  // namespace win32

// The calling thread's last error: a Windows system error code (2 file not found, 5 access denied,
// 80 file exists, 87 invalid parameter, 112 disk full, ...), never an errno value.
DWORD GetLastError();
void SetLastError(DWORD dwErrCode);
namespace win32 {
// The Windows code for an errno value (0 for 0; 1117, an I/O device error, for any errno without a
// closer code).
DWORD ErrorFromErrno(int err);
// The system's text for a Windows code (GBK, static storage, never NULL); "未知错误。" for a code
// without a text of its own.
const char* SystemErrorText(DWORD code);
}  // namespace win32

// Programs a library starts for the person (a report opened in a text editor). Nothing is started
// here: the command line is recorded, so a host or a test can see what would have run. Returns 33 (a
// value above 31, which callers read as success); 2 (file not found) for a NULL or empty command.
UINT WinExec(LPCSTR lpCmdLine, UINT uCmdShow);
namespace win32 {
struct WinExecRecord {
    std::string commandLine;  // GBK, as given
    UINT nCmdShow;
};
// Every WinExec since the last clear, oldest first.
const std::vector<WinExecRecord>& GetWinExecLog();
void ClearWinExecLog();
}  // namespace win32
