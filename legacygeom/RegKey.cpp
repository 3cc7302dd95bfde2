#include "RegKey.h"

#include "win32/fileapi.h"
#include "win32/module.h"

#include <cstring>
#include <new>

CObject* CRegKey::CreateObject() { return new (std::nothrow) CRegKey; }
CORVANE_IMPLEMENT_RUNTIMECLASS(CRegKey, CObject, 0xFFFF, CRegKey::CreateObject)

CRuntimeClass* CRegKey::_GetBaseClass() { return RUNTIME_CLASS(CObject); }

CRegKey::CRegKey() : m_hKey(nullptr), m_strPath("") {}

CRegKey::~CRegKey() { Close(); }

LONG CRegKey::Open(HKEY root, const char* subkey) {
    m_strPath = subkey;
    Close();  // a key still held after a failed sequence would otherwise leak
    DWORD disposition = 0;
    return RegCreateKeyExA(root, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &m_hKey,
                           &disposition);
}

void CRegKey::Close() {
    if (m_hKey) {
        RegCloseKey(m_hKey);
        m_hKey = nullptr;
    }
}

LONG CRegKey::Write(const char* name, DWORD value) {
    return RegSetValueExA(m_hKey, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

LONG CRegKey::Write(const char* name, const char* text) {
    return RegSetValueExA(m_hKey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                          static_cast<DWORD>(std::strlen(text)));
}

LONG CRegKey::Write(const char* name, const BYTE* data, DWORD size) {
    return RegSetValueExA(m_hKey, name, 0, REG_BINARY, data, size);
}

LONG CRegKey::Read(const char* name, DWORD& value) {
    DWORD buffer = 0;
    DWORD size = sizeof buffer;
    DWORD type = 0;
    LONG rc = RegQueryValueExA(m_hKey, name, nullptr, &type, reinterpret_cast<BYTE*>(&buffer), &size);
    if (rc == ERROR_SUCCESS) value = buffer;
    return rc;
}

LONG CRegKey::Read(const char* name, CString& text) {
    char buffer[200];
    DWORD size = sizeof buffer;
    DWORD type = 0;
    LONG rc = RegQueryValueExA(m_hKey, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    if (rc == ERROR_SUCCESS) {
        // The value need not end with a terminator: take at most the bytes returned.
        size_t n = 0;
        while (n < size && buffer[n] != '\0') ++n;
        text = CString(std::string(buffer, n));
    }
    return rc;
}

LONG CRegKey::Read(const char* name, BYTE* data, DWORD& size) {
    DWORD type = 0;
    return RegQueryValueExA(m_hKey, name, nullptr, &type, data, &size);
}

int CRegKey::CreateFoxDataSource(CString dsn, CString dir, CString dbname, int freeTables, int failIfExists) {
    if (Open(HKEY_CURRENT_USER, CString("SOFTWARE\\ODBC\\ODBC.INI\\") + dsn) != ERROR_SUCCESS) return 0;
    if (Write("BackgroundFetch", "Yes") != ERROR_SUCCESS) return 0;
    if (Write("Collate", "Machine") != ERROR_SUCCESS) return 0;
    if (Write("Description", "") != ERROR_SUCCESS) return 0;
    // A full-size buffer: a system folder longer than the buffer must not leave unwritten bytes in the
    // driver's path.
    char system[MAX_PATH + 1];
    const UINT len = GetSystemDirectory(system, sizeof system);
    if (len == 0 || len >= sizeof system) return 0;
    if (Write("Driver", CString(system) + "\\vfpodbc.dll") != ERROR_SUCCESS) return 0;
    if (Write("Exclusive", "No") != ERROR_SUCCESS) return 0;
    if (Write("SetNoCountOn", "No") != ERROR_SUCCESS) return 0;
    if (freeTables) {
        if (Write("SourceDb", dir) != ERROR_SUCCESS) return 0;
        if (Write("SourceType", "DBF") != ERROR_SUCCESS) return 0;
    } else {
        if (Write("SourceDb", dir + dbname + ".DBC") != ERROR_SUCCESS) return 0;
        if (Write("SourceType", "DBC") != ERROR_SUCCESS) return 0;
    }
    Close();

    if (Open(HKEY_CURRENT_USER, "SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources") != ERROR_SUCCESS) return 0;
    if (Write(dsn, "Microsoft visual FoxPro Driver") != ERROR_SUCCESS) return 0;
    Close();
    if (freeTables) return 1;

    if (Open(HKEY_CURRENT_USER, "SOFTWARE\\KESTRAVION") != ERROR_SUCCESS) return 0;
    CString appPath;
    if (Read("APPPATH", appPath) != ERROR_SUCCESS) return 0;
    static const char* const kExtensions[3][2] = {{"dbc", "DBC"}, {"DCT", "DCT"}, {"DCX", "DCX"}};
    for (const auto& ext : kExtensions) {
        const CString source = appPath + "\\FoxDataSource." + ext[0];
        const CString target = dir + dbname + "." + ext[1];
        if (!CopyFileA(source, target, failIfExists)) return 2;
    }
    Close();
    return 1;
}
