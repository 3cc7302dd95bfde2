// Where symbol-library files lie, how a library name maps to a file, and opening and releasing the
// libraries through the symbol library (as CVMSymbolLibIO objects).
//
// Library names: "#name" is the file name.slb, any other name the file name.sym, both in the folder
// "Quenby" under the Windows directory (which the host can set, win32::SetWindowsDirectory). Paths are
// GBK with '\\' separators, as the rest of the system writes them.
//
// Choosing a library or a symbol interactively (SelectSymbolLib, GetSymbol) opens the pickers through
// the dialog hooks (core/DialogHooks.h).
#pragma once

#include "core/GeoView.h"

#include <afx/afx.h>

class CSymbolLibIO;

// The Windows directory, a backslash when it does not end in a separator, then "Quenby".
CString GetSymbolLibPath();

// "" for an empty name; GetSymbolLibPath () + "\" + the name without its "#" + ".slb" for a name
// beginning with "#"; GetSymbolLibPath () + "\" + name + ".sym" for any other name.
CString GetSymbolLibFileName(CString name);

// The inverse: for a path longer than 4 bytes whose fourth-last byte is '.', the extension compared
// without case: "slb" gives "#" + the file's title (its name without folder and extension), "sym" the
// title alone, anything else ""; a shorter path or one without such an extension gives "".
CString GetSymbolLibName(CString path);

// Opens the library file at path as a CVMSymbolLibIO, n being the host's map scale. The caller owns the
// result and releases it with ReleaseSymbolLibIO. A file that cannot be opened shows "打开符号库出错！"
// (a message box with an OK button) and gives NULL.
CSymbolLibIO* GetSymbolLibIO(CString path, int n);

// Deletes the library object; NULL does nothing.
void ReleaseSymbolLibIO(CSymbolLibIO* pLib);

// Shows the symbol-library picker opened on the name strCurrent; returns the name chosen there after
// OK, strCurrent after cancel (or when no picker is installed).
CString SelectSymbolLib(CString strCurrent);

// The kind filter of the symbol picker for a symbol kind: 0x8000 for kind 0 (point), 0x4000 for 1
// (line), 0x2000 for 2 (fill), 0x1000 for 3 (custom symbols), 0xF000 for any other kind.
DWORD GetSymbolKindFilter(int nKind);

// Shows the symbol picker over pLib (may be NULL: the picker lists nothing) with nCurrent selected and
// the filter of the kind; returns the symbol chosen after OK, nCurrent after cancel (or when no picker
// is installed).
int GetSymbol(SYMBOLTYPE nKind, int nCurrent, CSymbolLibIO* pLib);
