// CRegKey: one registry key at a time, and the registration of a Visual FoxPro ODBC user data source.
//
// Every LONG result is the Win32 registry code of the underlying call (0 = ERROR_SUCCESS). No member
// shows a message or throws.
#pragma once

#include <afx/afx.h>

#include "win32/registry.h"

class CRegKey : public CObject {
    DECLARE_DYNCREATE(CRegKey)
public:
    // Closed (null handle), empty path.
    CRegKey();
    // Closes the key.
    ~CRegKey() override;

    // The run-time class of CObject.
    static CRuntimeClass* _GetBaseClass();

    // Remembers subkey as the path (also when opening fails), closes a key still held, then opens
    // root\subkey, creating it and the keys on the way when missing. Keys are created persistent:
    // a data source registered here must outlive the session that registered it.
    LONG Open(HKEY root, const char* subkey);
    // Closes the key when one is open.
    void Close();

    // REG_DWORD, 4 bytes.
    LONG Write(const char* name, DWORD value);
    // REG_SZ of strlen(text) bytes: the terminator is not stored; "" is stored with size 0.
    LONG Write(const char* name, const char* text);
    // REG_BINARY, the given bytes.
    LONG Write(const char* name, const BYTE* data, DWORD size);

    // Reads up to 4 bytes, whatever the value's type; value is assigned only on success.
    LONG Read(const char* name, DWORD& value);
    // Reads into a 200-byte buffer: on success text := the bytes read up to the first NUL; a longer
    // value fails with ERROR_MORE_DATA. text is unchanged on any failure.
    LONG Read(const char* name, CString& text);
    // Reads into the caller's buffer of size bytes; size returns the value's size (the needed size with
    // ERROR_MORE_DATA).
    LONG Read(const char* name, BYTE* data, DWORD& size);

    // Registers the Visual FoxPro data source dsn for the current user under
    // HKEY_CURRENT_USER\SOFTWARE\ODBC\ODBC.INI\<dsn> and lists it under "ODBC Data Sources". With
    // freeTables nonzero the source is the directory dir of free tables ("DBF"); otherwise a database
    // container dir + dbname + ".DBC" ("DBC", no separator is inserted), whose template files
    // APPPATH\FoxDataSource.dbc/.DCT/.DCX (APPPATH from HKCU\SOFTWARE\KESTRAVION) are copied next to the
    // data with CopyFileA(..., failIfExists).
    // Returns 1 when done; 0 at the first registry failure (or when the system directory cannot be
    // read), the object then still open on the key being worked on; 2 when a copy fails (later copies
    // are not tried). Values already written stay written.
    int CreateFoxDataSource(CString dsn, CString dir, CString dbname, int freeTables, int failIfExists);

    HKEY m_hKey;
    CString m_strPath;
};
