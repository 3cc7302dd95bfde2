// Band buffers of raster objects and TINs: byte blocks that never live on the heap but in a view of a
// file mapping, over a temporary file that disappears with the band, over a named outside file, or over
// the archive file itself where the band's bytes were written; a scratch band that memory holds easily
// takes private pages of memory instead of the temporary file.
#pragma once

#include <afx/afx.h>
#include <win32/filemap.h>

class CGeoBandData : public CObject {
    DECLARE_SERIAL(CGeoBandData)
public:
    // An empty band: no file, no mapping, offset 0, length 0.
    CGeoBandData();
    // Create(NULL, mappingName, size, bytesToMap): a scratch band of size bytes (zeros).
    CGeoBandData(const char* mappingName, DWORD size, DWORD bytesToMap);
    // Open(fileName, mappingName, offset, length, bytesToMap).
    CGeoBandData(const char* fileName, const char* mappingName, DWORD offset, DWORD length, DWORD bytesToMap);
    // Deep copies: the name and the bytes into a new temporary mapping of the same length, no extern file
    // name. A source without a view (or of length 0) gives an empty band that keeps only the name.
    CGeoBandData(const CGeoBandData& other);
    CGeoBandData& operator=(const CGeoBandData& other);  // releases the target's mapping first
    ~CGeoBandData() override;  // ReleaseHugeData

    // Archive record: DWORD length, then the extern file name. Loading sets only these two; the bytes
    // are attached by ReadHugeData.
    void Serialize(CArchive& ar) override;

    virtual void SetExternFileName(CString& name);
    // A deep copy as above; the caller deletes it.
    virtual CObject* Copy();
    // Maps the band's bytes. Extern file name empty: they stand at the file's current position in the
    // file's own path (read/write when that file can be opened for writing, so changes go straight into
    // it; otherwise a private copy), and the file is advanced by length bytes whatever the outcome.
    // Otherwise: from offset 0 of the extern file; the file is not touched. A band of length 0 maps
    // nothing. Returns 1 when a view exists afterwards.
    virtual int ReadHugeData(CFile* file);
    // Unmaps the view, closes the mapping and the file (each when present); the length stays.
    virtual void ReleaseHugeData();
    // Writes the length bytes. Extern file name empty: to file at its position. Otherwise to the extern
    // file, which is replaced as a whole (written beside it under a temporary name, then renamed), so a
    // band mapped over that very file keeps intact bytes; file is not touched. A band without a view
    // writes length zero bytes in place of its data, so the layout after it stays readable, and returns
    // 0. Returns 1 on success, 0 on failure (a file error of the extern file is caught).
    virtual int WriteHugeData(CFile* file);

    // A temporary delete-on-close file (fileName NULL: a fresh unique name in the temporary folder) or
    // a new file of that name, which must not exist, mapped read/write with size bytes; bytesToMap 0
    // maps all. A scratch band (fileName NULL) of all its size and at most a quarter of the physical
    // memory takes private zeroed pages of memory instead (VirtualAlloc), no file made. The mapping name is the given one, else "share" + the file name after its last '\\' or
    // '/'. Returns 1 when a view exists. The file cannot be made: 0 without a message. The mapping or
    // the view fails (size 0, for one): a message box with the system's text, 0.
    int Create(const char* fileName, const char* mappingName, DWORD size, DWORD bytesToMap);
    // Maps length bytes from offset of an existing file; the view starts at the offset rounded down to
    // the allocation granularity (65536). The file is opened read/write when it can be, else read-only;
    // a read-only band is a private copy: its bytes can be changed in memory but never reach the file.
    // fileName NULL: only the offsets are set, and the result tells whether a view exists already.
    // bytesToMap 0 maps to the end of offset + length. A file that cannot be opened or that holds fewer
    // than offset + length bytes, or a failed mapping or view: a message box with the system's text, 0.
    // Returns 1 when a view exists. Call it on an empty or released band.
    int Open(const char* fileName, const char* mappingName, DWORD offset, DWORD length, DWORD bytesToMap);
    // The same on an open file handle, always as a private copy; the band owns the handle afterwards.
    int Open(HANDLE file, DWORD offset, DWORD length, DWORD bytesToMap);

    // view + offset in view; NULL when no view exists.
    BYTE* GetBuffer() const { return m_pView ? m_pView + m_dwOffsetInView : nullptr; }
    DWORD GetLength() const { return m_dwLength; }
    DWORD GetOffset() const { return m_dwOffset; }
    DWORD GetViewBase() const { return m_dwViewBase; }
    DWORD GetOffsetInView() const { return m_dwOffsetInView; }
    BOOL IsWritable() const { return m_bWritable; }
    const CString& GetExternFileName() const { return m_strExternFileName; }
    const CString& GetMappingName() const { return m_strMappingName; }
    CString m_strName;  // carried with the band and its copies; not stored, not read here

private:
    void CopyFrom(const CGeoBandData& other);
    int MapFile(DWORD length, DWORD bytesToMap, bool readOnly);

    CString m_strExternFileName;
    CString m_strMappingName;
    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    HANDLE m_hMapping = nullptr;
    BYTE* m_pView = nullptr;
    DWORD m_dwOffset = 0;
    DWORD m_dwViewBase = 0;
    DWORD m_dwOffsetInView = 0;
    DWORD m_dwLength = 0;
    BOOL m_bWritable = FALSE;
    BOOL m_bPrivateMemory = FALSE;  // m_pView is a VirtualAlloc block of a scratch band, not a view
};

// The bands of one raster object, band 0 first. The array owns its bands: DeleteAllBands deletes them;
// the owner calls it before the array goes.
class CGeoBandArray : public CTypedPtrArray<CObArray, CGeoBandData*> {
    DECLARE_SERIAL(CGeoBandArray)
public:
    // DWORD count, then every band through the archive's object writing. Loading sizes the array to the
    // count and reads every element as a CGeoBandData; anything else raises CArchiveException and
    // leaves the array as it was. Load into an empty array: elements already there are replaced, not
    // deleted.
    void Serialize(CArchive& ar) override;
    // The same operation on every non-NULL band in index order; each returns the number of bands.
    virtual int ReadHugeData(CFile* file);
    virtual int ReleaseHugeData();
    virtual int WriteHugeData(CFile* file);
    // Deletes every non-NULL band and empties the array.
    void DeleteAllBands();
};
