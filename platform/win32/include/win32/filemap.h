// Files, file mappings and views, as far as band storage uses them, over POSIX open and mmap.
// Paths are GBK with '\\' or '/' separators. Failures set GetLastError() to a Windows error code.
#pragma once

#include "win32/wintypes.h"

#define INVALID_HANDLE_VALUE ((HANDLE)(intptr_t)-1)

#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u
#define FILE_SHARE_READ 0x00000001u
#define FILE_SHARE_WRITE 0x00000002u
#define CREATE_NEW 1u
#define CREATE_ALWAYS 2u
#define OPEN_EXISTING 3u
#define FILE_ATTRIBUTE_NORMAL 0x00000080u
#define FILE_FLAG_DELETE_ON_CLOSE 0x04000000u
#define FILE_FLAG_RANDOM_ACCESS 0x10000000u

#define PAGE_READONLY 0x02u
#define PAGE_READWRITE 0x04u
#define FILE_MAP_COPY 0x0001u
#define FILE_MAP_WRITE 0x0002u
#define FILE_MAP_READ 0x0004u

struct SYSTEM_INFO {
    DWORD dwPageSize;
    DWORD dwAllocationGranularity;  // 65536: views start on multiples of it
};
void GetSystemInfo(SYSTEM_INFO* lpSystemInfo);

// Opens or creates a file. CREATE_NEW fails when the file exists; OPEN_EXISTING when it does not;
// CREATE_ALWAYS creates or truncates. FILE_FLAG_DELETE_ON_CLOSE removes the name at once, so the file
// disappears with its last handle or mapping (even after a crash). FILE_FLAG_RANDOM_ACCESS is a hint.
// Share modes are accepted and ignored. Returns INVALID_HANDLE_VALUE on failure. The security and
// template arguments must be NULL.
HANDLE CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode, void* lpSecurity,
                   DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes, HANDLE hTemplateFile);
#define CreateFile CreateFileA

// Size of an open file in bytes; the high 32 bits go to *lpFileSizeHigh when given. 0xFFFFFFFF on failure.
DWORD GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh);

// A mapping of an open file of the given maximum size (0 and 0: the file's size). A read/write
// mapping larger than the file grows the file to that size (zeros); a read-only mapping larger than the
// file, and a mapping of size 0, fail. The name is kept for nothing (mappings are not shared by name
// here). Returns NULL on failure.
HANDLE CreateFileMappingA(HANDLE hFile, void* lpAttributes, DWORD flProtect, DWORD dwMaximumSizeHigh,
                          DWORD dwMaximumSizeLow, LPCSTR lpName);
#define CreateFileMapping CreateFileMappingA

// Maps dwNumberOfBytesToMap bytes (0: to the end of the mapping) from the given offset, which must be
// a multiple of the allocation granularity. FILE_MAP_WRITE gives a shared read/write view (changes
// reach the file); FILE_MAP_READ a read-only view; FILE_MAP_COPY a private copy-on-write view (changes
// stay in memory). NULL on failure (write access on a read-only mapping, a range past the mapping).
LPVOID MapViewOfFile(HANDLE hFileMappingObject, DWORD dwDesiredAccess, DWORD dwFileOffsetHigh,
                     DWORD dwFileOffsetLow, size_t dwNumberOfBytesToMap);
// Unmaps a view by its start address; FALSE when it is no view.
BOOL UnmapViewOfFile(LPCVOID lpBaseAddress);
// Writes the changed pages of a shared view to its file (the whole view when dwNumberOfBytesToFlush is 0).
BOOL FlushViewOfFile(LPCVOID lpBaseAddress, size_t dwNumberOfBytesToFlush);

// Private read/write memory of the system's pages, never the heap: MEM_COMMIT | MEM_RESERVE with
// PAGE_READWRITE only; bytes (not 0) zeros at first, at a page boundary, its pages taken at once; NULL
// on failure. VirtualFree with 0 bytes and MEM_RELEASE gives back a whole block from its start; FALSE
// for anything else.
#define MEM_COMMIT 0x00001000u
#define MEM_RESERVE 0x00002000u
#define MEM_RELEASE 0x00008000u
LPVOID VirtualAlloc(LPVOID lpAddress, size_t dwSize, DWORD flAllocationType, DWORD flProtect);
BOOL VirtualFree(LPVOID lpAddress, size_t dwSize, DWORD dwFreeType);

// Closes a file or mapping handle made above; FALSE for anything else.
BOOL CloseHandle(HANDLE hObject);

