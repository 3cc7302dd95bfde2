// CArchive: the class library's binary archive over a CFile, byte-compatible with its persistent
// format: little-endian scalars with no padding, length-prefixed strings, 16-bit-compatible counts and
// class-tagged object references with one index space per archive.
//
// Reading is memory-safe on any input: a short read, a bad string length, count, tag, index, class name
// or schema raises CArchiveException with the class library's cause code; nothing is read past the data
// and nothing is allocated from a length that the remaining data cannot hold.
#pragma once

#include "afx/Exception.h"
#include "afx/Geometry.h"
#include "afx/Object.h"
#include "afx/String.h"

#include <cstring>
#include <unordered_map>
#include <vector>

class CFile;
class CDocument;

class CArchive {
public:
    enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

    // pFile stays owned by the caller and must outlive the archive. nBufSize only sizes the I/O buffer.
    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = nullptr);
    // Flushes a storing archive that was not closed (unless bNoFlushOnDelete); errors are swallowed here.
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return m_bLoading; }
    BOOL IsStoring() const { return !m_bLoading; }
    BOOL IsBufferEmpty() const { return m_nBufPos >= m_nBufLen; }
    CFile* GetFile() const { return m_pFile; }

    // Writes out the buffer (storing) and detaches from the file; the file stays open.
    void Close();
    // Detaches without flushing.
    void Abort();
    void Flush();

    // Raw blocks. Read returns the bytes actually read (short at the end of the data) and throws nothing.
    UINT Read(void* lpBuf, UINT nMax);
    void Write(const void* lpBuf, UINT nMax);

    // Throws CArchiveException(endOfFile) unless at least nBytes can still be read; callers that
    // allocate from a stored count ask first. Unknown lengths (a stream) never throw here.
    void EnsureAvailable(ULONGLONG nBytes);

    // For a reader that recognises a record it has read before by its bytes: the unread bytes of the
    // load buffer (NULL and 0 when storing), the bytes read so far, and a pass over n of the buffered
    // bytes (no more than GetLoadBuffer reports). Bytes that a read took (GetLoadedCount grew by c) came
    // from the buffer as GetLoadBuffer showed it before the read whenever c is not more than it showed.
    const BYTE* GetLoadBuffer(UINT& nAvailable) const {
        const bool ok = m_bLoading && m_nBufPos <= m_nBufLen;
        nAvailable = ok ? m_nBufLen - m_nBufPos : 0;
        return ok ? m_buf.data() + m_nBufPos : nullptr;
    }
    ULONGLONG GetLoadedCount() const { return m_nBufBase + m_nBufPos; }
    void SkipLoaded(UINT n) {
        UINT available;
        GetLoadBuffer(available);
        if (n > available) Throw(CArchiveException::endOfFile);
        m_nBufPos += n;
    }

    CArchive& operator<<(BYTE by) { return WriteRaw(&by, 1); }
    CArchive& operator<<(char ch) { return WriteRaw(&ch, 1); }
    CArchive& operator<<(WORD w) { return WriteRaw(&w, 2); }
    CArchive& operator<<(SHORT w) { return WriteRaw(&w, 2); }
    CArchive& operator<<(LONG l) { return WriteRaw(&l, 4); }
    CArchive& operator<<(DWORD dw) { return WriteRaw(&dw, 4); }
    CArchive& operator<<(float f) { return WriteRaw(&f, 4); }
    CArchive& operator<<(double d) { return WriteRaw(&d, 8); }
    CArchive& operator<<(LONGLONG n) { return WriteRaw(&n, 8); }
    CArchive& operator<<(ULONGLONG n) { return WriteRaw(&n, 8); }

    CArchive& operator>>(BYTE& by) { return ReadRaw(&by, 1); }
    CArchive& operator>>(char& ch) { return ReadRaw(&ch, 1); }
    CArchive& operator>>(WORD& w) { return ReadRaw(&w, 2); }
    CArchive& operator>>(SHORT& w) { return ReadRaw(&w, 2); }
    CArchive& operator>>(LONG& l) { return ReadRaw(&l, 4); }
    CArchive& operator>>(DWORD& dw) { return ReadRaw(&dw, 4); }
    CArchive& operator>>(float& f) { return ReadRaw(&f, 4); }
    CArchive& operator>>(double& d) { return ReadRaw(&d, 8); }
    CArchive& operator>>(LONGLONG& n) { return ReadRaw(&n, 8); }
    CArchive& operator>>(ULONGLONG& n) { return ReadRaw(&n, 8); }

    // POINT as x, y; SIZE as cx, cy; RECT as left, top, right, bottom: each LONG.
    CArchive& operator<<(const POINT& p) { return WriteRaw(&p, sizeof p); }
    CArchive& operator<<(const SIZE& s) { return WriteRaw(&s, sizeof s); }
    CArchive& operator<<(const RECT& r) { return WriteRaw(&r, sizeof r); }
    CArchive& operator>>(POINT& p) { return ReadRaw(&p, sizeof p); }
    CArchive& operator>>(SIZE& s) { return ReadRaw(&s, sizeof s); }
    CArchive& operator>>(RECT& r) { return ReadRaw(&r, sizeof r); }

    // Strings: length < 255 -> BYTE; < 0xFFFE -> 0xFF + WORD; else 0xFF 0xFFFF + DWORD; then the bytes.
    // Reading also accepts the wide form (0xFF 0xFFFE, then a length in the same forms and UTF-16LE
    // units), converted to GBK.
    CArchive& operator<<(const CString& s);
    CArchive& operator>>(CString& s);
    CArchive& operator<<(LPCSTR psz) { return *this << CString(psz); }

    // Objects: NULL, a back-reference to an object already written, or a (new or known) class tag
    // followed by the object's Serialize body.
    CArchive& operator<<(const CObject* pOb) { WriteObject(pOb); return *this; }
    CArchive& operator>>(CObject*& pOb) { pOb = ReadObject(nullptr); return *this; }

    // Counts: < 0xFFFF -> WORD, else WORD 0xFFFF + DWORD.
    void WriteCount(DWORD dwCount);
    DWORD ReadCount();

    void WriteObject(const CObject* pOb);
    // A new object (owned by the caller) or one read earlier in this archive, or NULL.
    // pClassRefRequested, when given, is the class every object read must derive from (else badClass).
    CObject* ReadObject(const CRuntimeClass* pClassRefRequested);
    // ReadObject for a container that owns what it reads: the object must be new in this archive (or
    // NULL). A reference to an object read earlier (which another container owns, or which is still
    // being read around this one) is corrupt data for an owner and throws badIndex, so no object is ever
    // owned, or freed after a failure, twice.
    CObject* ReadOwnedObject(const CRuntimeClass* pClassRefRequested);

    // The class part of an object reference alone: a new-class description or a class tag.
    void WriteClass(const CRuntimeClass* pClassRef);
    CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = nullptr, UINT* pSchema = nullptr,
                             DWORD* pObTag = nullptr);
    void SerializeClass(const CRuntimeClass* pClassRef);

    // Enters an object into the index space without writing it (both directions keep the same count).
    void MapObject(const CObject* pOb);

    // The schema read with the object being loaded; (UINT)-1 once asked or outside ReadObject.
    UINT GetObjectSchema();
    void SetObjectSchema(UINT nSchema) { m_nObjectSchema = nSchema; }

    // Text lines (no length prefix): WriteString writes the text as it is; ReadString reads up to '\n',
    // dropping "\r\n"/"\n"; FALSE at the end of the data.
    void WriteString(LPCTSTR lpsz);
    BOOL ReadString(CString& rString);

    // Test hook: makes the next index this value, so the big-tag forms can be reached without writing
    // 32 767 objects. Indices below it stay unused (a reference to one is a bad index).
    void SetMapCountForTest(DWORD nNextIndex);

    CDocument* m_pDocument = nullptr;
    // Nesting limit of objects read inside objects; deeper data is treated as corrupt (badIndex).
    static const int kMaxReadDepth = 1000;

private:
    // Values that fit the buffer are copied in line, without a call: layer files are millions of them.
    CArchive& WriteRaw(const void* p, UINT n) {
        if (!m_bLoading && m_pFile && m_buf.size() - m_nBufLen >= n) {
            std::memcpy(m_buf.data() + m_nBufLen, p, n);
            m_nBufLen += n;
            return *this;
        }
        return WriteRawSlow(p, n);
    }
    CArchive& ReadRaw(void* p, UINT n) {  // short read -> endOfFile
        if (m_bLoading && m_nBufPos <= m_nBufLen && m_nBufLen - m_nBufPos >= n) {
            std::memcpy(p, m_buf.data() + m_nBufPos, n);
            m_nBufPos += n;
            return *this;
        }
        return ReadRawSlow(p, n);
    }
    CArchive& WriteRawSlow(const void* p, UINT n);
    CArchive& ReadRawSlow(void* p, UINT n);
    void FillBuffer();
    void WriteObjectTag(DWORD index, bool isClass);
    DWORD ReadStringLength(bool& wide);
    [[noreturn]] void Throw(int cause) const;
    CObject* ReadObjectImpl(const CRuntimeClass* pClassRefRequested, bool owned);

    struct LoadEntry {
        CObject* pObject = nullptr;
        CRuntimeClass* pClass = nullptr;
        UINT nSchema = 0;
    };

    CFile* m_pFile;
    bool m_bLoading;
    bool m_bNoFlushOnDelete;
    std::vector<BYTE> m_buf;
    UINT m_nBufPos = 0;
    UINT m_nBufLen = 0;
    ULONGLONG m_nBufBase = 0;  // loading: the bytes read before the buffer's present contents
    DWORD m_nMapCount = 1;  // next index; 0 is NULL
    std::unordered_map<const void*, DWORD> m_storeMap;
    std::vector<LoadEntry> m_loadArray;
    UINT m_nObjectSchema = static_cast<UINT>(-1);
    int m_nDepth = 0;
};

// Tag words of the object stream.
namespace afx {
const WORD wNullTag = 0;
const WORD wNewClassTag = 0xFFFF;
const WORD wClassTag = 0x8000;
const DWORD dwBigClassTag = 0x80000000;
const WORD wBigObjectTag = 0x7FFF;
const DWORD nMaxMapCount = 0x3FFFFFFE;
const int nMaxClassNameLength = 64;
}  // namespace afx
