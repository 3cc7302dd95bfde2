// The registry: a tree of keys holding named values, reached through handles.
//
// Key and value names compare without regard to ASCII case (GBK double-byte characters compare
// exactly) and keep the case they were created with; "\\" separates the elements of a key path, and a
// path may not start with one. The value named "" (or NULL) is the key's default value. A value keeps
// its type and exactly the bytes and size it was written with (a REG_SZ written without a terminator
// is read back without one).
//
// Keys created with REG_OPTION_VOLATILE live in memory only (the end of the process stands for the
// unloading of their hive); a volatile key cannot hold a non-volatile child. The other keys are written
// to the registry file, when one is set, after every change, and read from it when it is set:
// win32::SetRegistryFile, else the environment variable CORVANE_REGISTRY_FILE at first use, else none
// (the registry then lives in memory only). The file is text: one "[ROOT\path]" line per key, then one
// `"name"=type:hex` line per value, names percent-escaped.
//
// Results are Win32 error codes: ERROR_SUCCESS (0) or the failure named at each function.
#pragma once

#include "win32/wintypes.h"

#include <string>

typedef DWORD REGSAM;
typedef HKEY* PHKEY;
struct SECURITY_ATTRIBUTES;
typedef SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;

#define HKEY_CLASSES_ROOT ((HKEY)(ULONG_PTR)0x80000000u)
#define HKEY_CURRENT_USER ((HKEY)(ULONG_PTR)0x80000001u)
#define HKEY_LOCAL_MACHINE ((HKEY)(ULONG_PTR)0x80000002u)
#define HKEY_USERS ((HKEY)(ULONG_PTR)0x80000003u)

#define REG_NONE 0u
#define REG_SZ 1u
#define REG_EXPAND_SZ 2u
#define REG_BINARY 3u
#define REG_DWORD 4u
#define REG_MULTI_SZ 7u

#define REG_OPTION_NON_VOLATILE 0x00000000u
#define REG_OPTION_VOLATILE 0x00000001u
#define REG_CREATED_NEW_KEY 0x00000001u
#define REG_OPENED_EXISTING_KEY 0x00000002u

#define KEY_QUERY_VALUE 0x0001u
#define KEY_SET_VALUE 0x0002u
#define KEY_READ 0x20019u
#define KEY_WRITE 0x20006u
#define KEY_ALL_ACCESS 0xF003Fu

// Error codes (other headers may define some of them too).
#ifndef ERROR_SUCCESS
#define ERROR_SUCCESS 0
#endif
#ifndef ERROR_FILE_NOT_FOUND
#define ERROR_FILE_NOT_FOUND 2
#endif
#ifndef ERROR_PATH_NOT_FOUND
#define ERROR_PATH_NOT_FOUND 3
#endif
#ifndef ERROR_ACCESS_DENIED
#define ERROR_ACCESS_DENIED 5
#endif
#ifndef ERROR_INVALID_HANDLE
#define ERROR_INVALID_HANDLE 6
#endif
#ifndef ERROR_FILE_EXISTS
#define ERROR_FILE_EXISTS 80
#endif
#ifndef ERROR_INVALID_PARAMETER
#define ERROR_INVALID_PARAMETER 87
#endif
#ifndef ERROR_BAD_PATHNAME
#define ERROR_BAD_PATHNAME 161
#endif
#ifndef ERROR_MORE_DATA
#define ERROR_MORE_DATA 234
#endif
#ifndef ERROR_KEY_DELETED
#define ERROR_KEY_DELETED 1018
#endif
#ifndef ERROR_CHILD_MUST_BE_VOLATILE
#define ERROR_CHILD_MUST_BE_VOLATILE 1021
#endif

// Opens subKey under hKey (a root or an open key), creating it and any missing keys on the way with
// dwOptions. *phkResult receives a new handle, *lpdwDisposition (when not NULL) REG_CREATED_NEW_KEY or
// REG_OPENED_EXISTING_KEY. An empty or NULL subKey opens hKey's own key again. Fails with
// ERROR_INVALID_HANDLE, ERROR_BAD_PATHNAME (a leading "\\"), ERROR_INVALID_PARAMETER (no phkResult),
// ERROR_CHILD_MUST_BE_VOLATILE, ERROR_KEY_DELETED.
LONG RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD Reserved, LPSTR lpClass, DWORD dwOptions,
                     REGSAM samDesired, LPSECURITY_ATTRIBUTES lpSecurityAttributes, PHKEY phkResult,
                     LPDWORD lpdwDisposition);
// Opens an existing key: ERROR_FILE_NOT_FOUND when it is missing.
LONG RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult);
// Releases a handle; the roots close successfully and stay usable. ERROR_INVALID_HANDLE otherwise.
LONG RegCloseKey(HKEY hKey);
// Stores cbData bytes from lpData (NULL only with cbData 0) as the value lpValueName of type dwType.
LONG RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                    DWORD cbData);
// Reads the value: ERROR_FILE_NOT_FOUND when missing. With lpData NULL only *lpcbData (the size) and
// *lpType are set. When *lpcbData is smaller than the value, ERROR_MORE_DATA with *lpcbData set to the
// size needed and lpData untouched; otherwise the bytes, *lpcbData = their count, *lpType = the type.
LONG RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                      LPDWORD lpcbData);
// Removes a value (ERROR_FILE_NOT_FOUND when missing).
LONG RegDeleteValueA(HKEY hKey, LPCSTR lpValueName);
// Removes a key that has no subkeys (ERROR_ACCESS_DENIED when it has some, ERROR_FILE_NOT_FOUND when
// it is missing). Handles open on it then fail with ERROR_KEY_DELETED.
LONG RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey);

#define RegCreateKeyEx RegCreateKeyExA
#define RegOpenKeyEx RegOpenKeyExA
#define RegSetValueEx RegSetValueExA
#define RegQueryValueEx RegQueryValueExA
#define RegDeleteValue RegDeleteValueA
#define RegDeleteKey RegDeleteKeyA

namespace win32 {
// Sets the registry file (a GBK path; "" for none) and replaces the persistent keys by the file's
// contents (none when it does not exist yet). Volatile keys and open handles are kept.
void SetRegistryFile(const std::string& gbkPath);
// Empties the whole registry and closes every handle; the registry file, if any, is left as it is and
// no longer used until SetRegistryFile names one again.
void ResetRegistry();
// The whole tree as text in the registry file's form, volatile keys included and marked
// "[ROOT\path] volatile"; keys and values in the order of their lower-case names.
std::string DumpRegistry();
}  // namespace win32
