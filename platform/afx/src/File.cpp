#include "afx/File.h"

#include "LineReader.h"
#include "win32/codepage.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

IMPLEMENT_DYNAMIC(CFile, CObject)
IMPLEMENT_DYNAMIC(CMemFile, CFile)
IMPLEMENT_DYNAMIC(CStdioFile, CFile)
IMPLEMENT_DYNAMIC(CFileFind, CObject)

namespace afx {

// Index just after the last separator, stepping over two-byte characters.
static int LastSeparatorEnd(const CString& path) {
    const std::string& s = path.str();
    int end = 0;
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (win32::IsGbkLeadByte(c) && i + 1 < s.size()) {
            i += 2;
            continue;
        }
        if (c == '\\' || c == '/' || c == ':') end = static_cast<int>(i) + 1;
        ++i;
    }
    return end;
}

CString PathFileName(const CString& path) { return path.Mid(LastSeparatorEnd(path)); }

CString PathFileTitle(const CString& path) {
    CString name = PathFileName(path);
    int dot = name.ReverseFind('.');
    return dot >= 0 ? name.Left(dot) : name;
}

CString PathFolder(const CString& path) { return path.Left(LastSeparatorEnd(path)); }

}  // namespace afx

namespace {
std::string Native(LPCTSTR gbk) { return win32::GbkPathToNative(gbk ? gbk : ""); }

[[noreturn]] void ThrowErrno(const CString& name) {
    int e = errno;
    AfxThrowFileException(CFileException::OsErrorToException(e), e, name);
}
}  // namespace

CFile::CFile(LPCTSTR lpszFileName, UINT nOpenFlags) {
    CFileException e;
    if (!Open(lpszFileName, nOpenFlags, &e)) throw e;
}

CFile::~CFile() {
    if (m_fd >= 0) ::close(m_fd);
}

BOOL CFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
    if (m_fd >= 0) Abort();
    m_strFileName = lpszFileName;
    int flags = O_CLOEXEC;
    switch (nOpenFlags & 3) {
    case modeRead: flags |= O_RDONLY; break;
    case modeWrite: flags |= O_WRONLY; break;
    default: flags |= O_RDWR; break;
    }
    if (nOpenFlags & modeCreate) {
        flags |= O_CREAT;
        if (!(nOpenFlags & modeNoTruncate)) flags |= O_TRUNC;
    }
    std::string path = Native(lpszFileName);
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        if (pError) *pError = CFileException(CFileException::accessDenied, EISDIR, lpszFileName);
        return FALSE;
    }
    m_fd = ::open(path.c_str(), flags, 0666);
    if (m_fd < 0) {
        int e = errno;
        if (pError) *pError = CFileException(CFileException::OsErrorToException(e), e, lpszFileName);
        return FALSE;
    }
    return TRUE;
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
    if (m_fd < 0) AfxThrowFileException(CFileException::invalidFile, EBADF, m_strFileName);
    UINT done = 0;
    char* p = static_cast<char*>(lpBuf);
    while (done < nCount) {
        ssize_t n = ::read(m_fd, p + done, nCount - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            ThrowErrno(m_strFileName);
        }
        if (n == 0) break;
        done += static_cast<UINT>(n);
    }
    return done;
}

void CFile::Write(const void* lpBuf, UINT nCount) {
    if (m_fd < 0) AfxThrowFileException(CFileException::invalidFile, EBADF, m_strFileName);
    const char* p = static_cast<const char*>(lpBuf);
    UINT done = 0;
    while (done < nCount) {
        ssize_t n = ::write(m_fd, p + done, nCount - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            ThrowErrno(m_strFileName);
        }
        done += static_cast<UINT>(n);
    }
}

LONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom) {
    if (m_fd < 0) AfxThrowFileException(CFileException::invalidFile, EBADF, m_strFileName);
    int whence = nFrom == begin ? SEEK_SET : (nFrom == current ? SEEK_CUR : SEEK_END);
    off_t r = ::lseek(m_fd, static_cast<off_t>(lOff), whence);
    if (r < 0) ThrowErrno(m_strFileName);
    return r;
}

ULONGLONG CFile::GetLength() const {
    struct stat st;
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0) AfxThrowFileException(CFileException::invalidFile, EBADF, m_strFileName);
    return static_cast<ULONGLONG>(st.st_size);
}

ULONGLONG CFile::GetPosition() const {
    off_t r = m_fd < 0 ? -1 : ::lseek(m_fd, 0, SEEK_CUR);
    if (r < 0) AfxThrowFileException(CFileException::invalidFile, EBADF, m_strFileName);
    return static_cast<ULONGLONG>(r);
}

void CFile::SetLength(ULONGLONG dwNewLen) {
    if (m_fd < 0 || ::ftruncate(m_fd, static_cast<off_t>(dwNewLen)) != 0) ThrowErrno(m_strFileName);
}

void CFile::Flush() {
    if (m_fd >= 0) ::fsync(m_fd);
}

void CFile::Close() {
    if (m_fd >= 0) {
        int r = ::close(m_fd);
        m_fd = -1;
        if (r != 0) ThrowErrno(m_strFileName);
    }
}

void CFile::Abort() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

CString CFile::GetFileName() const { return afx::PathFileName(m_strFileName); }
CString CFile::GetFileTitle() const { return afx::PathFileTitle(m_strFileName); }

void CFile::Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName) {
    if (::rename(Native(lpszOldName).c_str(), Native(lpszNewName).c_str()) != 0) ThrowErrno(lpszOldName);
}

void CFile::Remove(LPCTSTR lpszFileName) {
    if (::unlink(Native(lpszFileName).c_str()) != 0) ThrowErrno(lpszFileName);
}

BOOL CFile::GetStatus(LPCTSTR lpszFileName, CFileStatus& rStatus) {
    struct stat st;
    std::string native = Native(lpszFileName);
    if (::stat(native.c_str(), &st) != 0) return FALSE;
    rStatus.m_ctime = CTime(st.st_ctime);
    rStatus.m_mtime = CTime(st.st_mtime);
    rStatus.m_atime = CTime(st.st_atime);
    rStatus.m_size = st.st_size;
    rStatus.m_attribute = 0;
    if (S_ISDIR(st.st_mode)) rStatus.m_attribute |= directory;
    if (!(st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH))) rStatus.m_attribute |= readOnly;
    char real[4096];
    std::string full = ::realpath(native.c_str(), real) ? win32::NativePathToGbk(real) : std::string(lpszFileName);
    std::snprintf(rStatus.m_szFullName, sizeof rStatus.m_szFullName, "%s", full.c_str());
    return TRUE;
}

// ---------------------------------------------------------------------------------------------

UINT CMemFile::Read(void* lpBuf, UINT nCount) {
    size_t n = m_pos < m_data.size() ? std::min<size_t>(nCount, m_data.size() - m_pos) : 0;
    if (n) std::memcpy(lpBuf, m_data.data() + m_pos, n);
    m_pos += n;
    return static_cast<UINT>(n);
}

void CMemFile::Write(const void* lpBuf, UINT nCount) {
    if (m_pos + nCount > m_data.size()) m_data.resize(m_pos + nCount);
    if (nCount) std::memcpy(m_data.data() + m_pos, lpBuf, nCount);
    m_pos += nCount;
}

LONGLONG CMemFile::Seek(LONGLONG lOff, UINT nFrom) {
    LONGLONG base = nFrom == begin ? 0 : (nFrom == current ? static_cast<LONGLONG>(m_pos) : static_cast<LONGLONG>(m_data.size()));
    LONGLONG target = base + lOff;
    if (target < 0) AfxThrowFileException(CFileException::badSeek, EINVAL, m_strFileName);
    m_pos = static_cast<size_t>(target);
    return target;
}

// ---------------------------------------------------------------------------------------------

BOOL CStdioFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
    m_bText = !(nOpenFlags & typeBinary);
    return CFile::Open(lpszFileName, nOpenFlags & ~(typeText | typeBinary), pError);
}

void CStdioFile::WriteString(LPCTSTR lpsz) {
    if (!lpsz) return;
    std::string out;
    for (const char* p = lpsz; *p; ++p) {
        if (*p == '\n' && m_bText) out += '\r';
        out += *p;
    }
    Write(out.data(), static_cast<UINT>(out.size()));
}

BOOL CStdioFile::ReadString(CString& rString) {
    return afx::ReadTextLine([this](char& c) { return Read(&c, 1) == 1; }, m_bText, rString);
}

// ---------------------------------------------------------------------------------------------

BOOL CFileFind::FindFile(LPCTSTR pstrName) {
    Close();
    CString pattern = pstrName ? CString(pstrName) : CString("*.*");
    m_strRoot = afx::PathFolder(pattern);
    CString mask = afx::PathFileName(pattern);
    if (mask == "*.*") mask = "*";
    std::string dir = m_strRoot.IsEmpty() ? std::string(".") : Native(m_strRoot);
    DIR* d = ::opendir(dir.c_str());
    if (!d) return FALSE;
    std::string nativeMask = win32::GbkToUtf8(mask.str());
    while (struct dirent* e = ::readdir(d)) {
        if (::fnmatch(nativeMask.c_str(), e->d_name, FNM_CASEFOLD) == 0)
            m_names.push_back(CString(win32::NativePathToGbk(e->d_name)));
    }
    ::closedir(d);
    std::sort(m_names.begin(), m_names.end());
    m_nNext = 0;
    return !m_names.empty();
}

BOOL CFileFind::FindNextFile() {
    if (m_nNext >= static_cast<int>(m_names.size())) return FALSE;
    m_nCurrent = m_nNext++;
    return m_nNext < static_cast<int>(m_names.size());
}

CString CFileFind::GetFileName() const { return m_nCurrent >= 0 ? m_names[m_nCurrent] : CString(); }
CString CFileFind::GetFilePath() const { return m_strRoot + GetFileName(); }
CString CFileFind::GetFileTitle() const { return afx::PathFileTitle(GetFileName()); }

BOOL CFileFind::IsDirectory() const {
    CFileStatus st;
    return CFile::GetStatus(GetFilePath(), st) && (st.m_attribute & CFile::directory);
}

BOOL CFileFind::IsDots() const { return GetFileName() == "." || GetFileName() == ".."; }

ULONGLONG CFileFind::GetLength() const {
    CFileStatus st;
    return CFile::GetStatus(GetFilePath(), st) ? static_cast<ULONGLONG>(st.m_size) : 0;
}

void CFileFind::Close() {
    m_names.clear();
    m_nNext = 0;
    m_nCurrent = -1;
    m_strRoot.Empty();
}
