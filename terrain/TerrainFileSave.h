// One save of terrain files (DEM grids and their companions, a TIN's DXF): each file written to a
// temporary beside its target and all renamed together at the end (CFileReplacement), so a failed or
// killed save leaves the previous files whole. The library's own writers use it; it is not part of the
// data classes' interface.
#pragma once

#include <afx/FileReplacement.h>

#include <cstdio>

class CTerrainFileSave {
public:
    // The temporary for target opened with the fopen mode; NULL when it cannot be made (the cause is
    // kept for Report).
    FILE* Open(const CString& target, const char* mode);
    // Closes fp; false (the cause kept) when a write before failed (written false, the cause in errno)
    // or closing fails.
    bool Close(FILE* fp, const CString& target, bool written);
    // Renames every temporary over its target; false with the cause kept when a rename fails.
    bool Commit();
    // Tells the user why the save of path failed: what (GBK), then the cause. Returns 0.
    int Report(const char* what, const CString& path);

private:
    void Fail(const CString& target, int err);

    CFileReplacement m_save;
    CFileException m_error;
};
