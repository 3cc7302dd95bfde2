// Paths and file names. Paths are GBK bytes with '\\' or '/' as separators (a trail byte that looks
// like '\\' belongs to its character); results use '\\' where they join names unless the directory
// given uses '/'.
#pragma once

#include <afx/afx.h>

// Nonzero when path names an existing file (0 for a folder).
int FileIsExist(CString path);
// The folder part without a trailing separator ("C:\\a\\b.tif" -> "C:\\a"); "" when there is none.
CString GetFilePath(CString path);
// The title: the last component without its extension ("C:\\a\\b.tif" -> "b"; "x.tar.gz" -> "x.tar").
CString GetFileName(CString path);
// path relative to directory: "C:\\d\\img\\a.tif" from "C:\\d" -> "img\\a.tif", from "C:\\d\\x" ->
// "..\\img\\a.tif". Components compare without case. path unchanged when directory is empty, when path
// is already relative, or when the two share no root; "" for "".
CString GetOppositePath(CString directory, CString path);
// The inverse: directory joined with relative, "." and ".." resolved; relative unchanged when it is
// absolute or directory is empty; "" for "".
CString GetAbsolutePath(CString directory, CString relative);
// The file-dialog filter of the formats CNewDIB reads.
CString GetDIBFilter();
