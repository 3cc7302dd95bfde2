#include "ui/SymbolLibFiles.h"

std::vector<tagSYMBOLLIB_FILE> ListSymbolLibFiles(const CString& strFolder, int nType) {
    std::vector<tagSYMBOLLIB_FILE> files;
    CFileFind find;
    BOOL more = find.FindFile(strFolder + "\\*.*");
    while (more) {
        more = find.FindNextFile();
        if (find.IsDots() || find.IsDirectory()) continue;
        const CString name = find.GetFileName();
        const int n = name.GetLength();
        if (n <= 4 || name[n - 4] != '.') continue;
        const CString ext = name.Right(3);
        const CString title = name.Left(n - 4);
        if (ext.CompareNoCase("slb") == 0) {
            if (nType == 0 || nType == 2) files.push_back(tagSYMBOLLIB_FILE{title, 0});
        } else if (ext.CompareNoCase("sym") == 0) {
            if (nType == 1 || nType == 2) files.push_back(tagSYMBOLLIB_FILE{title, 1});
        }
    }
    return files;
}

CString SymbolLibNameOf(const tagSYMBOLLIB_FILE& file) {
    return file.nKind == 0 ? CString("#") + file.strTitle : file.strTitle;
}
