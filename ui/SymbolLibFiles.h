// The symbol-library files of a folder, as the symbol-library picker (CSymbolLibPickDlg) lists them.
#pragma once

#include <afx/afx.h>

#include <vector>

// One file of the folder: its title (the file name without extension; the library name without "#")
// and its kind: 0 a symbol library file (".slb", named "#" + title), 1 a symbol file (".sym", named by
// the title alone).
struct tagSYMBOLLIB_FILE {
    CString strTitle;
    int nKind;
};

// The files of strFolder (GBK, '\\' or '/' separators) for the picker's type: 0 library files, 1 symbol
// files, 2 both. Only plain files count (no folders, no dot entries) whose names are longer than 4 bytes
// with '.' as the fourth byte from the end and an extension of "slb" or "sym" (any case); so "x.slbx"
// and "slb" are not listed. The order is the folder's; empty for a missing folder.
std::vector<tagSYMBOLLIB_FILE> ListSymbolLibFiles(const CString& strFolder, int nType);

// The library name of an entry: "#" + title for kind 0, the title for kind 1.
CString SymbolLibNameOf(const tagSYMBOLLIB_FILE& file);
