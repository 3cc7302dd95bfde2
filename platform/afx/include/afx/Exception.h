// Exceptions of the class library. They are thrown by value and caught by reference:
//   try { ... } catch (CArchiveException& e) { ... }
#pragma once

#include "afx/Object.h"
#include "afx/String.h"

class CException : public CObject {
    DECLARE_DYNAMIC(CException)
public:
    CException() = default;
    // Kept for code written for heap-allocated exceptions; thrown-by-value exceptions need no delete.
    void Delete() {}
    // Writes a text describing the failure into the buffer (at most nMaxError - 1 bytes and a NUL);
    // returns FALSE when there is no text. Writes nothing when the buffer is NULL or nMaxError <= 0.
    virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const;
    // The same text as a string.
    virtual CString GetErrorText() const { return CString(); }
};

class CMemoryException : public CException {
    DECLARE_DYNAMIC(CMemoryException)
public:
    CString GetErrorText() const override;
};

class CNotSupportedException : public CException {
    DECLARE_DYNAMIC(CNotSupportedException)
public:
    CString GetErrorText() const override;
};

class CUserException : public CException {
    DECLARE_DYNAMIC(CUserException)
};

class CArchiveException : public CException {
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum {
        none,
        genericException,
        readOnly,
        endOfFile,
        writeOnly,
        badIndex,
        badClass,
        badSchema,
        bufferFull
    };
    explicit CArchiveException(int cause = none, LPCTSTR lpszArchiveName = nullptr);
    CString GetErrorText() const override;

    int m_cause;
    CString m_strFileName;
};

class CFileException : public CException {
    DECLARE_DYNAMIC(CFileException)
public:
    enum {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };
    explicit CFileException(int cause = none, LONG lOsError = -1, LPCTSTR lpszFileName = nullptr);
    CString GetErrorText() const override;

    // The cause code for an errno value.
    static int OsErrorToException(LONG lOsError);

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

[[noreturn]] void AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName = nullptr);
[[noreturn]] void AfxThrowFileException(int cause, LONG lOsError = -1, LPCTSTR lpszFileName = nullptr);
[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowNotSupportedException();
[[noreturn]] void AfxThrowUserException();
