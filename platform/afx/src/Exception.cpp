#include "afx/Exception.h"

#include <cerrno>
#include <cstring>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CException)
IMPLEMENT_DYNAMIC(CUserException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)
IMPLEMENT_DYNAMIC(CFileException, CException)

BOOL CException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
    if (pnHelpContext) *pnHelpContext = 0;
    if (!lpszError || nMaxError == 0) return FALSE;
    CString text = GetErrorText();
    size_t n = static_cast<size_t>(text.GetLength()) < nMaxError - 1 ? text.GetLength() : nMaxError - 1;
    std::memcpy(lpszError, static_cast<LPCTSTR>(text), n);
    lpszError[n] = '\0';
    return !text.IsEmpty();
}

CString CMemoryException::GetErrorText() const { return "内存不足。"; }
CString CNotSupportedException::GetErrorText() const { return "不支持的操作。"; }

CArchiveException::CArchiveException(int cause, LPCTSTR lpszArchiveName)
    : m_cause(cause), m_strFileName(lpszArchiveName) {}

CString CArchiveException::GetErrorText() const {
    static const char* const texts[] = {
        "没有错误。",                 // none
        "读写文档时发生未知错误。",   // genericException
        "试图写入只读打开的文档。",   // readOnly
        "读取文档时意外到达文件尾。", // endOfFile
        "试图读取只写打开的文档。",   // writeOnly
        "文档格式无效。",             // badIndex
        "文档中的对象类型不符。",     // badClass
        "文档中的对象版本不符。",     // badSchema
        "缓冲区已满。"                // bufferFull
    };
    CString t = (m_cause >= 0 && m_cause <= bufferFull) ? texts[m_cause] : texts[genericException];
    if (!m_strFileName.IsEmpty()) t = m_strFileName + ": " + t;
    return t;
}

CFileException::CFileException(int cause, LONG lOsError, LPCTSTR lpszFileName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszFileName) {}

CString CFileException::GetErrorText() const {
    static const char* const texts[] = {
        "没有错误。", "发生未知错误。", "找不到文件。", "路径无效。", "打开的文件过多。",
        "拒绝访问。", "文件句柄无效。", "不能删除当前目录。", "目录已满。", "定位错误。",
        "硬件输入输出错误。", "共享冲突。", "锁定冲突。", "磁盘已满。", "到达文件尾。"};
    CString t = (m_cause >= 0 && m_cause <= endOfFile) ? texts[m_cause] : texts[genericException];
    if (!m_strFileName.IsEmpty()) t = m_strFileName + ": " + t;
    return t;
}

int CFileException::OsErrorToException(LONG lOsError) {
    switch (lOsError) {
    case 0: return none;
    case ENOENT: return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP: return badPath;
    case EMFILE:
    case ENFILE: return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EEXIST: return accessDenied;
    case EBADF: return invalidFile;
    case EBUSY: return sharingViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return diskFull;
    case EIO: return hardIO;
    case ESPIPE:
    case EINVAL: return badSeek;
    default: return genericException;
    }
}

void AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName) { throw CArchiveException(cause, lpszArchiveName); }
void AfxThrowFileException(int cause, LONG lOsError, LPCTSTR lpszFileName) {
    throw CFileException(cause, lOsError, lpszFileName);
}
void AfxThrowMemoryException() { throw CMemoryException(); }
void AfxThrowNotSupportedException() { throw CNotSupportedException(); }
void AfxThrowUserException() { throw CUserException(); }
