#include "raster/GeoBandData.h"

#include "core/GeoHelpers.h"

#include <afx/FileReplacement.h>
#include <win32/codepage.h>
#include <win32/module.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <unistd.h>
#include <vector>

IMPLEMENT_SERIAL(CGeoBandData, CObject, 0)
IMPLEMENT_SERIAL(CGeoBandArray, CObArray, 0)

namespace {

// A fresh name in the temporary folder; CREATE_NEW refuses it should it exist after all.
CString TemporaryFileName()
{
    static std::atomic<unsigned> counter{0};
    const char* dir = std::getenv("TMPDIR");
    std::string folder = win32::NativePathToGbk(dir && *dir ? dir : "/tmp");
    char name[96];
    std::snprintf(name, sizeof name, "/cvband%d_%u_%lx.tmp", (int)getpid(), counter++,
                  (unsigned long)std::time(nullptr));
    return CString((folder + name).c_str());
}

// The part of a GBK path after its last separator, stepping over two-byte characters.
CString LastComponent(const char* path)
{
    const char* start = path;
    for (const char* p = path; *p; ++p) {
        if (win32::IsGbkLeadByte((unsigned char)*p) && p[1]) {
            ++p;
            continue;
        }
        if (*p == '\\' || *p == '/') start = p + 1;
    }
    return CString(start);
}

// A quarter of the physical memory at most, so that many such bands still leave the system room.
bool FitsInMemory(DWORD size)
{
    const long pages = sysconf(_SC_PHYS_PAGES), page = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || page <= 0) return false;
    return (unsigned long long)size <= (unsigned long long)pages * (unsigned long long)page / 4;
}

}  // namespace

CGeoBandData::CGeoBandData() = default;

CGeoBandData::CGeoBandData(const char* mappingName, DWORD size, DWORD bytesToMap)
{
    Create(nullptr, mappingName, size, bytesToMap);
}

CGeoBandData::CGeoBandData(const char* fileName, const char* mappingName, DWORD offset, DWORD length,
                           DWORD bytesToMap)
{
    Open(fileName, mappingName, offset, length, bytesToMap);
}

CGeoBandData::CGeoBandData(const CGeoBandData& other) : CObject() { CopyFrom(other); }

CGeoBandData& CGeoBandData::operator=(const CGeoBandData& other)
{
    if (this == &other) return *this;
    ReleaseHugeData();
    m_strExternFileName.Empty();
    m_strMappingName.Empty();
    m_dwOffset = m_dwViewBase = m_dwOffsetInView = m_dwLength = 0;
    m_bWritable = FALSE;
    CopyFrom(other);
    return *this;
}

CGeoBandData::~CGeoBandData() { ReleaseHugeData(); }

void CGeoBandData::CopyFrom(const CGeoBandData& other)
{
    m_strName = other.m_strName;
    // Without a view there are no bytes to copy: the copy stays empty rather than read through NULL.
    if (!other.GetBuffer() || other.m_dwLength == 0) return;
    if (Create(nullptr, nullptr, other.m_dwLength, other.m_dwLength))
        std::memcpy(GetBuffer(), other.GetBuffer(), other.m_dwLength);
}

CObject* CGeoBandData::Copy() { return new CGeoBandData(*this); }

void CGeoBandData::SetExternFileName(CString& name) { m_strExternFileName = name; }

void CGeoBandData::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_dwLength;
        ar << m_strExternFileName;
    } else {
        ar >> m_dwLength;
        ar >> m_strExternFileName;
    }
}

int CGeoBandData::Create(const char* fileName, const char* mappingName, DWORD size, DWORD bytesToMap)
{
    CString file = fileName ? CString(fileName) : TemporaryFileName();
    m_strMappingName = mappingName ? CString(mappingName) : CString("share") + LastComponent(file);
    // A scratch band that memory can comfortably hold takes private pages of memory: its bytes vanish
    // with it and no other view ever shares them, so a file would only make every first touch of a page
    // a file-system fault and send the bytes to a disk. Larger ones keep the temporary file, which the
    // system can page out to its own disk.
    if (!fileName && size != 0 && (bytesToMap == 0 || bytesToMap == size) && FitsInMemory(size)) {
        m_pView = static_cast<BYTE*>(VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        if (m_pView) {
            m_bPrivateMemory = TRUE;
            m_bWritable = TRUE;
            m_dwOffset = m_dwViewBase = m_dwOffsetInView = 0;
            m_dwLength = size;
            return 1;
        }
    }
    m_hFile = CreateFileA(file, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (m_hFile == INVALID_HANDLE_VALUE) return 0;
    m_bWritable = TRUE;
    m_dwOffset = m_dwViewBase = m_dwOffsetInView = 0;
    m_hMapping = CreateFileMappingA(m_hFile, nullptr, PAGE_READWRITE, 0, size,
                                    m_strMappingName.IsEmpty() ? nullptr : (LPCSTR)m_strMappingName);
    if (m_hMapping) m_pView = static_cast<BYTE*>(MapViewOfFile(m_hMapping, FILE_MAP_WRITE, 0, 0, bytesToMap));
    if (m_pView) {
        m_dwLength = size;
        return 1;
    }
    ShowLastErrorMessage("", "");
    return 0;
}

int CGeoBandData::MapFile(DWORD length, DWORD bytesToMap, bool readOnly)
{
    // The bytes must be in the file: a read/write mapping would otherwise grow a damaged document
    // with zeros merely by loading it.
    const ULONGLONG end = (ULONGLONG)m_dwOffset + length;
    DWORD high = 0;
    const DWORD low = GetFileSize(m_hFile, &high);
    if ((((ULONGLONG)high << 32) | low) < end) {
        SetLastError(ENODATA);  // the file ends before the band does
        ShowLastErrorMessage("", "");
        return 0;
    }
    m_hMapping = CreateFileMappingA(m_hFile, nullptr, readOnly ? PAGE_READONLY : PAGE_READWRITE,
                                    (DWORD)(end >> 32), (DWORD)end,
                                    m_strMappingName.IsEmpty() ? nullptr : (LPCSTR)m_strMappingName);
    if (bytesToMap != 0) bytesToMap += m_dwOffsetInView;
    if (m_hMapping)
        m_pView = static_cast<BYTE*>(
            MapViewOfFile(m_hMapping, readOnly ? FILE_MAP_COPY : FILE_MAP_WRITE, 0, m_dwViewBase, bytesToMap));
    if (!m_pView) {
        ShowLastErrorMessage("", "");
        return 0;
    }
    m_dwLength = length;
    return 1;
}

int CGeoBandData::Open(const char* fileName, const char* mappingName, DWORD offset, DWORD length,
                       DWORD bytesToMap)
{
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    m_dwOffset = offset;
    m_dwViewBase = offset / info.dwAllocationGranularity * info.dwAllocationGranularity;
    m_dwOffsetInView = offset - m_dwViewBase;
    m_dwLength = 0;
    if (!fileName) return m_pView != nullptr;
    m_strMappingName = mappingName ? CString(mappingName) : CString();
    m_hFile = CreateFileA(fileName, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_RANDOM_ACCESS, nullptr);
    m_bWritable = m_hFile != INVALID_HANDLE_VALUE;
    if (!m_bWritable)
        m_hFile = CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_RANDOM_ACCESS, nullptr);
    if (m_hFile == INVALID_HANDLE_VALUE) {
        ShowLastErrorMessage("", "");
        return 0;
    }
    return MapFile(length, bytesToMap, !m_bWritable);
}

int CGeoBandData::Open(HANDLE file, DWORD offset, DWORD length, DWORD bytesToMap)
{
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    m_dwOffset = offset;
    m_dwViewBase = offset / info.dwAllocationGranularity * info.dwAllocationGranularity;
    m_dwOffsetInView = offset - m_dwViewBase;
    m_dwLength = 0;
    m_hFile = file;
    m_bWritable = FALSE;
    m_strMappingName.Empty();
    return MapFile(length, bytesToMap, true);
}

void CGeoBandData::ReleaseHugeData()
{
    if (m_pView && m_bPrivateMemory) VirtualFree(m_pView, 0, MEM_RELEASE);
    else if (m_pView) UnmapViewOfFile(m_pView);
    m_bPrivateMemory = FALSE;
    if (m_hMapping) CloseHandle(m_hMapping);
    if (m_hFile != INVALID_HANDLE_VALUE) CloseHandle(m_hFile);
    m_pView = nullptr;
    m_hMapping = nullptr;
    m_hFile = INVALID_HANDLE_VALUE;
}

int CGeoBandData::ReadHugeData(CFile* file)
{
    if (!m_strExternFileName.IsEmpty())
        return m_dwLength ? Open(m_strExternFileName, nullptr, 0, m_dwLength, m_dwLength) : 0;
    if (!file) return 0;
    const ULONGLONG position = file->GetPosition();
    int result = 0;
    if (m_dwLength != 0 && position <= 0xFFFFFFFFu)
        result = Open(file->GetFilePath(), nullptr, (DWORD)position, m_dwLength, m_dwLength);
    file->Seek(m_dwLength, CFile::current);
    return result;
}

int CGeoBandData::WriteHugeData(CFile* file)
{
    const BYTE* data = GetBuffer();
    std::vector<BYTE> zeros;
    if (!data) {
        zeros.assign(m_dwLength, 0);
        data = zeros.data();
    }
    if (m_strExternFileName.IsEmpty()) {
        if (!file) return 0;
        if (m_dwLength) file->Write(data, m_dwLength);
        return GetBuffer() != nullptr || m_dwLength == 0;
    }
    // Replace the file as a whole: truncating it in place would destroy bytes that this very band may
    // be mapping.
    CFileReplacement save;
    CString temp;
    if (!save.Add(m_strExternFileName, temp)) return 0;
    try {
        CFile out(temp, CFile::modeCreate | CFile::modeReadWrite | CFile::shareDenyNone);
        if (m_dwLength) out.Write(data, m_dwLength);
        out.Close();
    } catch (CFileException&) {
        return 0;  // the temporary goes with save
    }
    if (!save.Commit()) return 0;
    return GetBuffer() != nullptr || m_dwLength == 0;
}

void CGeoBandArray::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << (DWORD)GetSize();
        for (int i = 0; i < GetSize(); ++i) ar.WriteObject(GetAt(i));
    } else {
        DWORD count = 0;
        ar >> count;
        // Bands are collected as they are read, so a damaged count runs into the end of the data
        // instead of allocating from it; a failure deletes what was read.
        std::vector<CGeoBandData*> bands;
        try {
            for (DWORD i = 0; i < count; ++i)
                bands.push_back(static_cast<CGeoBandData*>(ar.ReadOwnedObject(RUNTIME_CLASS(CGeoBandData))));
        } catch (...) {
            for (CGeoBandData* band : bands) delete band;
            throw;
        }
        SetSize((int)bands.size());
        for (size_t i = 0; i < bands.size(); ++i) SetAt((int)i, bands[i]);
    }
}

int CGeoBandArray::ReadHugeData(CFile* file)
{
    for (int i = 0; i < GetSize(); ++i)
        if (GetAt(i)) GetAt(i)->ReadHugeData(file);
    return GetSize();
}

int CGeoBandArray::ReleaseHugeData()
{
    for (int i = 0; i < GetSize(); ++i)
        if (GetAt(i)) GetAt(i)->ReleaseHugeData();
    return GetSize();
}

int CGeoBandArray::WriteHugeData(CFile* file)
{
    for (int i = 0; i < GetSize(); ++i)
        if (GetAt(i)) GetAt(i)->WriteHugeData(file);
    return GetSize();
}

void CGeoBandArray::DeleteAllBands()
{
    for (int i = 0; i < GetSize(); ++i) delete GetAt(i);
    RemoveAll();
}
