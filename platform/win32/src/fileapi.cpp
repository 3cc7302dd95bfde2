#include "win32/fileapi.h"

#include "win32/codepage.h"
#include "win32/module.h"

#include <fstream>
#include <sys/stat.h>

BOOL CopyFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, BOOL bFailIfExists) {
    if (!lpExistingFileName || !lpNewFileName) {
        SetLastError(87);
        return FALSE;
    }
    const std::string source = win32::GbkPathToNative(lpExistingFileName);
    const std::string target = win32::GbkPathToNative(lpNewFileName);
    struct stat st;
    if (::stat(source.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        SetLastError(2);
        return FALSE;
    }
    const bool empty = st.st_size == 0;
    if (bFailIfExists && ::stat(target.c_str(), &st) == 0) {
        SetLastError(80);
        return FALSE;
    }
    std::ifstream in(source, std::ios::binary);
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    if (!in || !out) {
        SetLastError(5);
        return FALSE;
    }
    if (!empty) out << in.rdbuf();  // inserting an empty buffer would mark the stream failed
    out.flush();
    if (!out) {
        SetLastError(5);
        return FALSE;
    }
    return TRUE;
}
