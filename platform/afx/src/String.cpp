#include "afx/String.h"

#include "afx/Module.h"
#include "win32/codepage.h"
#include "win32/module.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

inline bool IsLead(const std::string& s, size_t i) {
    return win32::IsGbkLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size();
}
inline char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
inline char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
inline bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

// Splits into characters: each is one byte or a lead byte with its trail byte.
std::vector<std::string> Chars(const std::string& s) {
    std::vector<std::string> out;
    for (size_t i = 0; i < s.size();) {
        size_t n = IsLead(s, i) ? 2 : 1;
        out.emplace_back(s, i, n);
        i += n;
    }
    return out;
}

bool InSet(const std::string& ch, LPCSTR set) {
    if (!set) return false;
    std::string st(set);
    for (const std::string& c : Chars(st))
        if (c == ch) return true;
    return false;
}

}  // namespace

template <class Fn>
void CString::ForEachChar(Fn fn) const {
    for (size_t i = 0; i < m_s.size();) {
        size_t n = IsLead(m_s, i) ? 2 : 1;
        if (!fn(i, n)) return;
        i += n;
    }
}

int CString::Compare(LPCSTR psz) const {
    int r = std::strcmp(m_s.c_str(), psz ? psz : "");
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int CString::CompareNoCase(LPCSTR psz) const {
    CString a(*this), b(psz);
    a.MakeUpper();
    b.MakeUpper();
    return a.Compare(b);
}

int CString::Collate(LPCSTR psz) const {
    int r = std::strcoll(m_s.c_str(), psz ? psz : "");
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int CString::CollateNoCase(LPCSTR psz) const {
    CString a(*this), b(psz);
    a.MakeUpper();
    b.MakeUpper();
    return a.Collate(b);
}

CString CString::Mid(int nFirst) const { return Mid(nFirst, GetLength() - (nFirst < 0 ? 0 : nFirst)); }

CString CString::Mid(int nFirst, int nCount) const {
    if (nFirst < 0) nFirst = 0;
    if (nCount < 0) nCount = 0;
    if (nFirst >= GetLength()) return CString();
    if (nFirst + nCount > GetLength()) nCount = GetLength() - nFirst;
    return CString(m_s.substr(nFirst, nCount));
}

CString CString::Left(int nCount) const {
    if (nCount < 0) nCount = 0;
    return CString(m_s.substr(0, static_cast<size_t>(nCount)));
}

CString CString::Right(int nCount) const {
    if (nCount < 0) nCount = 0;
    if (nCount >= GetLength()) return *this;
    return CString(m_s.substr(m_s.size() - nCount));
}

CString CString::SpanIncluding(LPCSTR lpszCharSet) const {
    size_t end = 0;
    ForEachChar([&](size_t i, size_t n) {
        if (!InSet(m_s.substr(i, n), lpszCharSet)) return false;
        end = i + n;
        return true;
    });
    return CString(m_s.substr(0, end));
}

CString CString::SpanExcluding(LPCSTR lpszCharSet) const {
    size_t end = m_s.size();
    ForEachChar([&](size_t i, size_t n) {
        if (InSet(m_s.substr(i, n), lpszCharSet)) {
            end = i;
            return false;
        }
        return true;
    });
    return CString(m_s.substr(0, end));
}

void CString::MakeUpper() {
    ForEachChar([&](size_t i, size_t n) {
        if (n == 1) m_s[i] = Upper(m_s[i]);
        return true;
    });
}

void CString::MakeLower() {
    ForEachChar([&](size_t i, size_t n) {
        if (n == 1) m_s[i] = Lower(m_s[i]);
        return true;
    });
}

void CString::MakeReverse() {
    std::vector<std::string> cs = Chars(m_s);
    std::string r;
    for (auto it = cs.rbegin(); it != cs.rend(); ++it) r += *it;
    m_s = r;
}

int CString::Replace(char chOld, char chNew) {
    int count = 0;
    ForEachChar([&](size_t i, size_t n) {
        if (n == 1 && m_s[i] == chOld) {
            m_s[i] = chNew;
            ++count;
        }
        return true;
    });
    return count;
}

int CString::Replace(LPCSTR lpszOld, LPCSTR lpszNew) {
    if (!lpszOld || !*lpszOld) return 0;
    std::string oldS(lpszOld), newS(lpszNew ? lpszNew : ""), out;
    int count = 0;
    size_t i = 0;
    while (i < m_s.size()) {
        if (m_s.compare(i, oldS.size(), oldS) == 0) {
            out += newS;
            i += oldS.size();
            ++count;
        } else {
            size_t n = IsLead(m_s, i) ? 2 : 1;
            out.append(m_s, i, n);
            i += n;
        }
    }
    m_s = out;
    return count;
}

int CString::Remove(char ch) {
    std::string out;
    int count = 0;
    ForEachChar([&](size_t i, size_t n) {
        if (n == 1 && m_s[i] == ch) ++count;
        else out.append(m_s, i, n);
        return true;
    });
    m_s = out;
    return count;
}

int CString::Insert(int nIndex, char ch) { return Insert(nIndex, std::string(1, ch).c_str()); }

int CString::Insert(int nIndex, LPCSTR psz) {
    if (nIndex < 0) nIndex = 0;
    if (nIndex > GetLength()) nIndex = GetLength();
    m_s.insert(static_cast<size_t>(nIndex), psz ? psz : "");
    return GetLength();
}

int CString::Delete(int nIndex, int nCount) {
    if (nIndex < 0) nIndex = 0;
    if (nCount > 0 && nIndex < GetLength()) m_s.erase(static_cast<size_t>(nIndex), static_cast<size_t>(nCount));
    return GetLength();
}

void CString::TrimLeft() {
    size_t i = 0;
    while (i < m_s.size() && IsSpace(m_s[i])) ++i;
    m_s.erase(0, i);
}

void CString::TrimLeft(char chTarget) {
    size_t i = 0;
    while (i < m_s.size() && m_s[i] == chTarget && !IsLead(m_s, i)) ++i;
    m_s.erase(0, i);
}

void CString::TrimLeft(LPCSTR lpszTargets) {
    size_t start = m_s.size();
    ForEachChar([&](size_t i, size_t n) {
        if (InSet(m_s.substr(i, n), lpszTargets)) return true;
        start = i;
        return false;
    });
    m_s.erase(0, start);
}

// Trimming from the right walks forward, so that a trail byte is never taken for a character.
void CString::TrimRight() {
    size_t keep = 0;
    ForEachChar([&](size_t i, size_t n) {
        if (!(n == 1 && IsSpace(m_s[i]))) keep = i + n;
        return true;
    });
    m_s.resize(keep);
}

void CString::TrimRight(char chTarget) {
    size_t keep = 0;
    ForEachChar([&](size_t i, size_t n) {
        if (!(n == 1 && m_s[i] == chTarget)) keep = i + n;
        return true;
    });
    m_s.resize(keep);
}

void CString::TrimRight(LPCSTR lpszTargets) {
    size_t keep = 0;
    ForEachChar([&](size_t i, size_t n) {
        if (!InSet(m_s.substr(i, n), lpszTargets)) keep = i + n;
        return true;
    });
    m_s.resize(keep);
}

int CString::Find(char ch, int nStart) const {
    int found = -1;
    ForEachChar([&](size_t i, size_t n) {
        if (static_cast<int>(i) >= nStart && n == 1 && m_s[i] == ch) {
            found = static_cast<int>(i);
            return false;
        }
        return true;
    });
    return found;
}

int CString::Find(LPCSTR lpszSub, int nStart) const {
    if (!lpszSub) return -1;
    std::string sub(lpszSub);
    if (nStart > GetLength()) return -1;
    int found = -1;
    if (sub.empty()) return nStart < 0 ? 0 : nStart;
    ForEachChar([&](size_t i, size_t) {
        if (static_cast<int>(i) >= nStart && m_s.compare(i, sub.size(), sub) == 0) {
            found = static_cast<int>(i);
            return false;
        }
        return true;
    });
    return found;
}

int CString::ReverseFind(char ch) const {
    int found = -1;
    ForEachChar([&](size_t i, size_t n) {
        if (n == 1 && m_s[i] == ch) found = static_cast<int>(i);
        return true;
    });
    return found;
}

int CString::FindOneOf(LPCSTR lpszCharSet) const {
    int found = -1;
    ForEachChar([&](size_t i, size_t n) {
        if (InSet(m_s.substr(i, n), lpszCharSet)) {
            found = static_cast<int>(i);
            return false;
        }
        return true;
    });
    return found;
}

void CString::Format(LPCSTR lpszFormat, ...) {
    va_list args;
    va_start(args, lpszFormat);
    FormatV(lpszFormat, args);
    va_end(args);
}

void CString::FormatV(LPCSTR lpszFormat, va_list argList) {
    va_list copy;
    va_copy(copy, argList);
    int n = std::vsnprintf(nullptr, 0, lpszFormat, copy);
    va_end(copy);
    if (n < 0) {
        m_s.clear();
        return;
    }
    std::vector<char> buf(static_cast<size_t>(n) + 1);
    std::vsnprintf(buf.data(), buf.size(), lpszFormat, argList);
    m_s.assign(buf.data(), static_cast<size_t>(n));
}

LPTSTR CString::GetBuffer(int nMinBufLength) {
    if (nMinBufLength > GetLength()) m_s.resize(static_cast<size_t>(nMinBufLength), '\0');
    return &m_s[0];
}

LPTSTR CString::GetBufferSetLength(int nNewLength) {
    m_s.resize(nNewLength > 0 ? static_cast<size_t>(nNewLength) : 0, '\0');
    return &m_s[0];
}

void CString::ReleaseBuffer(int nNewLength) {
    if (nNewLength < 0) nNewLength = static_cast<int>(std::strlen(m_s.c_str()));
    if (static_cast<size_t>(nNewLength) <= m_s.size()) m_s.resize(static_cast<size_t>(nNewLength));
}

BOOL CString::LoadString(UINT nID) {
    char buf[4096];
    for (CDynLinkLibrary* lib : AfxGetModuleChain()) {
        int n = ::LoadString(lib->m_hResource, nID, buf, sizeof buf);
        if (n > 0) {
            m_s.assign(buf, static_cast<size_t>(n));
            return TRUE;
        }
    }
    return FALSE;
}
