// File operations of the platform that the library calls directly. Paths are GBK, with "\\" or "/"
// as separators.
#pragma once

#include "win32/wintypes.h"

// Copies the file lpExistingFileName to lpNewFileName byte for byte, replacing it unless
// bFailIfExists is nonzero. FALSE with GetLastError() ERROR_FILE_NOT_FOUND (2) when the source is
// missing, ERROR_FILE_EXISTS (80) when the target exists and bFailIfExists is set, and
// ERROR_ACCESS_DENIED (5) when the target cannot be written.
BOOL CopyFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, BOOL bFailIfExists);
#define CopyFile CopyFileA
