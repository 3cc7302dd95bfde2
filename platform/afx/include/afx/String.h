// CString: a string of code page 936 (GBK) bytes, as the class library's multibyte build keeps it.
//
// Lengths and indexes count bytes. A byte in 0x81..0xFE starts a two-byte character whose trail byte may
// look like ASCII ('\\', '@', '[', 'A'...): searching, case changes and trimming step over whole
// characters, so a trail byte is never taken for a character of its own.
#pragma once

#include "win32/wintypes.h"

#include <cstdarg>
#include <string>

class CString {
public:
    CString() = default;
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString(LPCSTR psz) : m_s(psz ? psz : "") {}           // NULL gives the empty string
    CString(LPCSTR pch, int nLength) : m_s(pch ? std::string(pch, nLength > 0 ? nLength : 0) : std::string()) {}
    CString(char ch, int nRepeat = 1) : m_s(nRepeat > 0 ? nRepeat : 0, ch) {}
    explicit CString(const std::string& s) : m_s(s) {}

    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(LPCSTR psz) { m_s = psz ? psz : ""; return *this; }
    CString& operator=(char ch) { m_s.assign(1, ch); return *this; }

    int GetLength() const { return static_cast<int>(m_s.size()); }
    BOOL IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }
    char GetAt(int nIndex) const { return m_s.at(static_cast<size_t>(nIndex)); }
    char operator[](int nIndex) const { return GetAt(nIndex); }
    void SetAt(int nIndex, char ch) { m_s.at(static_cast<size_t>(nIndex)) = ch; }
    operator LPCTSTR() const { return m_s.c_str(); }
    const std::string& str() const { return m_s; }

    CString& operator+=(const CString& s) { m_s += s.m_s; return *this; }
    CString& operator+=(LPCSTR psz) { if (psz) m_s += psz; return *this; }
    CString& operator+=(char ch) { m_s += ch; return *this; }
    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_s + b.m_s); }
    friend CString operator+(const CString& a, LPCSTR b) { return CString(a.m_s + (b ? b : "")); }
    friend CString operator+(LPCSTR a, const CString& b) { return CString((a ? a : "") + b.m_s); }
    friend CString operator+(const CString& a, char b) { return CString(a.m_s + b); }
    friend CString operator+(char a, const CString& b) { return CString(std::string(1, a) + b.m_s); }

    // Byte-wise comparison: <0, 0, >0.
    int Compare(LPCSTR psz) const;
    // Comparison ignoring the case of single-byte letters; two-byte characters compare as they are.
    int CompareNoCase(LPCSTR psz) const;
    // Collation in the current locale (byte order in the "C" locale).
    int Collate(LPCSTR psz) const;
    int CollateNoCase(LPCSTR psz) const;

    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString SpanIncluding(LPCSTR lpszCharSet) const;
    CString SpanExcluding(LPCSTR lpszCharSet) const;

    // Upper- or lower-cases single-byte letters only; two-byte characters are kept whole.
    void MakeUpper();
    void MakeLower();
    // Reverses the characters (a two-byte character keeps its byte order).
    void MakeReverse();

    int Replace(char chOld, char chNew);
    int Replace(LPCSTR lpszOld, LPCSTR lpszNew);
    int Remove(char ch);
    int Insert(int nIndex, char ch);
    int Insert(int nIndex, LPCSTR psz);
    int Delete(int nIndex, int nCount = 1);

    // White space is ' ', '\t', '\r', '\n', '\v', '\f'.
    void TrimLeft();
    void TrimLeft(char chTarget);
    void TrimLeft(LPCSTR lpszTargets);
    void TrimRight();
    void TrimRight(char chTarget);
    void TrimRight(LPCSTR lpszTargets);

    // Byte index of the first / last match on a character boundary, or -1.
    int Find(char ch) const { return Find(ch, 0); }
    int Find(char ch, int nStart) const;
    int Find(LPCSTR lpszSub) const { return Find(lpszSub, 0); }
    int Find(LPCSTR lpszSub, int nStart) const;
    int ReverseFind(char ch) const;
    int FindOneOf(LPCSTR lpszCharSet) const;

    // printf formatting in the "C" numeric locale.
    void Format(LPCSTR lpszFormat, ...) __attribute__((format(printf, 2, 3)));
    void FormatV(LPCSTR lpszFormat, va_list argList);

    // A writable buffer of at least nMinBufLength bytes plus a terminating NUL, valid until the next
    // change of the string. ReleaseBuffer(-1) takes the length up to the first NUL.
    LPTSTR GetBuffer(int nMinBufLength);
    LPTSTR GetBufferSetLength(int nNewLength);
    void ReleaseBuffer(int nNewLength = -1);

    // Loads a string resource of the modules in the resource chain; FALSE when none has it.
    BOOL LoadString(UINT nID);

private:
    // Calls fn(index, charLen) for each character.
    template <class Fn> void ForEachChar(Fn fn) const;

    std::string m_s;
};

inline bool operator==(const CString& a, const CString& b) { return a.str() == b.str(); }
inline bool operator==(const CString& a, LPCSTR b) { return a.Compare(b) == 0; }
inline bool operator==(LPCSTR a, const CString& b) { return b.Compare(a) == 0; }
inline bool operator!=(const CString& a, const CString& b) { return !(a == b); }
inline bool operator!=(const CString& a, LPCSTR b) { return !(a == b); }
inline bool operator!=(LPCSTR a, const CString& b) { return !(a == b); }
inline bool operator<(const CString& a, const CString& b) { return a.str() < b.str(); }
inline bool operator>(const CString& a, const CString& b) { return a.str() > b.str(); }
inline bool operator<=(const CString& a, const CString& b) { return a.str() <= b.str(); }
inline bool operator>=(const CString& a, const CString& b) { return a.str() >= b.str(); }
