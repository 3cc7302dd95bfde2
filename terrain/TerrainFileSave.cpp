#include "terrain/TerrainFileSave.h"

#include <afx/WinApp.h>
#include <win32/codepage.h>

#include <cerrno>
#include <string>

FILE* CTerrainFileSave::Open(const CString& target, const char* mode)
{
    CString temp;
    if (!m_save.Add(target, temp, &m_error)) return nullptr;
    errno = 0;
    FILE* fp = std::fopen(win32::GbkPathToNative(std::string(static_cast<LPCTSTR>(temp))).c_str(), mode);
    if (!fp) Fail(target, errno);
    return fp;
}

bool CTerrainFileSave::Close(FILE* fp, const CString& target, bool written)
{
    const int writeError = written ? 0 : errno;
    const bool closed = std::fclose(fp) == 0;
    if (written && closed) return true;
    Fail(target, written ? errno : writeError);
    return false;
}

bool CTerrainFileSave::Commit() { return m_save.Commit(&m_error) != FALSE; }

int CTerrainFileSave::Report(const char* what, const CString& path)
{
    AfxMessageBox(CString(what) + CFileReplacement::FailureText(path, m_error), MB_OK);
    return 0;
}

void CTerrainFileSave::Fail(const CString& target, int err)
{
    if (err == 0) err = EIO;
    m_error = CFileException(CFileException::OsErrorToException(err), err, target);
}
