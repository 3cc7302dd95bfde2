// Files: CFile over the operating system, CMemFile in memory, CStdioFile for text lines, CFileFind,
// CFileStatus. Paths are GBK with '\\' or '/' separators; they are converted at the system's edge.
#pragma once

#include "afx/Exception.h"
#include "afx/Object.h"
#include "afx/String.h"

#include <ctime>
#include <vector>

class CTime {
public:
    CTime() = default;
    explicit CTime(time_t t) : m_time(t) {}
    time_t GetTime() const { return m_time; }
    static CTime GetCurrentTime() { return CTime(::time(nullptr)); }
    bool operator==(const CTime& o) const { return m_time == o.m_time; }

private:
    time_t m_time = 0;
};

struct CFileStatus {
    CTime m_ctime;
    CTime m_mtime;
    CTime m_atime;
    LONGLONG m_size = 0;
    BYTE m_attribute = 0;   // CFile::Attribute bits
    char m_szFullName[MAX_PATH] = {};
};

class CFile : public CObject {
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000
    };
    enum Attribute { normal = 0x00, readOnly = 0x01, hidden = 0x02, system = 0x04, volume = 0x08, directory = 0x10, archive = 0x20 };
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    CFile() = default;
    // Opens or throws CFileException.
    CFile(LPCTSTR lpszFileName, UINT nOpenFlags);
    ~CFile() override;

    // FALSE on failure, with the cause in *pError when given. Share modes are accepted and ignored.
    virtual BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
    virtual UINT Read(void* lpBuf, UINT nCount);            // bytes read; 0 at the end; throws on error
    virtual void Write(const void* lpBuf, UINT nCount);     // throws on error (diskFull, accessDenied...)
    virtual LONGLONG Seek(LONGLONG lOff, UINT nFrom);
    virtual ULONGLONG GetLength() const;
    virtual ULONGLONG GetPosition() const;
    virtual void SetLength(ULONGLONG dwNewLen);
    virtual void Flush();
    virtual void Close();
    virtual void Abort();   // closes, never throws
    ULONGLONG SeekToEnd() { return static_cast<ULONGLONG>(Seek(0, end)); }
    void SeekToBegin() { Seek(0, begin); }

    // The path as given to Open (GBK), its last component, and that without its extension.
    virtual CString GetFilePath() const { return m_strFileName; }
    virtual CString GetFileName() const;
    virtual CString GetFileTitle() const;
    virtual void SetFilePath(LPCTSTR lpszNewName) { m_strFileName = lpszNewName; }
    BOOL IsOpen() const { return m_fd >= 0; }

    // Throw CFileException on failure.
    static void Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName);
    static void Remove(LPCTSTR lpszFileName);
    // FALSE when the file does not exist. Read-only comes from the permission bits (no write bit at
    // all), so it means the same for root as for anyone else.
    static BOOL GetStatus(LPCTSTR lpszFileName, CFileStatus& rStatus);

protected:
    int m_fd = -1;
    CString m_strFileName;
};

// A file in memory, growing as it is written.
class CMemFile : public CFile {
    DECLARE_DYNAMIC(CMemFile)
public:
    CMemFile() = default;
    // A read-only view of the given bytes (copied).
    CMemFile(const BYTE* pData, UINT nSize) : m_data(pData, pData + nSize) {}
    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    LONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetLength() const override { return m_data.size(); }
    ULONGLONG GetPosition() const override { return m_pos; }
    void SetLength(ULONGLONG n) override { m_data.resize(n); if (m_pos > n) m_pos = n; }
    void Flush() override {}
    void Close() override {}
    void Abort() override {}
    const std::vector<BYTE>& Data() const { return m_data; }
    void Attach(const BYTE* pData, UINT nSize) { m_data.assign(pData, pData + nSize); m_pos = 0; }

private:
    std::vector<BYTE> m_data;
    size_t m_pos = 0;
};

// Text lines. In text mode (the default), WriteString turns "\n" into "\r\n" and ReadString drops
// the "\r" before "\n", as text files on the original system have them.
class CStdioFile : public CFile {
    DECLARE_DYNAMIC(CStdioFile)
public:
    CStdioFile() = default;
    CStdioFile(LPCTSTR lpszFileName, UINT nOpenFlags) { CFileException e; if (!Open(lpszFileName, nOpenFlags, &e)) throw e; }
    BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr) override;
    void WriteString(LPCTSTR lpsz);
    // One line without its end; FALSE at the end of the file.
    BOOL ReadString(CString& rString);

private:
    bool m_bText = true;
};

// Finds files by a pattern with '*' and '?' in its last component, case-insensitively as on the
// original system.
class CFileFind : public CObject {
    DECLARE_DYNAMIC(CFileFind)
public:
    CFileFind() = default;
    BOOL FindFile(LPCTSTR pstrName = nullptr);
    BOOL FindNextFile();   // TRUE while more files follow the one just found
    CString GetFileName() const;
    CString GetFilePath() const;
    CString GetFileTitle() const;
    CString GetRoot() const { return m_strRoot; }
    BOOL IsDirectory() const;
    BOOL IsDots() const;
    ULONGLONG GetLength() const;
    void Close();

private:
    CString m_strRoot;
    std::vector<CString> m_names;
    int m_nNext = 0;
    int m_nCurrent = -1;
};

namespace afx {
// The last path component of a GBK path ('\\' and '/' separate; trail bytes are stepped over).
CString PathFileName(const CString& path);
// The file name without its extension.
CString PathFileTitle(const CString& path);
// The folder part including the trailing separator ("" when there is none).
CString PathFolder(const CString& path);
}  // namespace afx
