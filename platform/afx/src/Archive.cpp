#include "afx/Archive.h"

#include "afx/File.h"
#include "LineReader.h"
#include "win32/codepage.h"

#include <algorithm>
#include <cstring>

using namespace afx;

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void* /*lpBuf*/)
    : m_pFile(pFile),
      m_bLoading((nMode & load) != 0),
      m_bNoFlushOnDelete((nMode & bNoFlushOnDelete) != 0),
      m_buf(static_cast<size_t>(std::max(nBufSize, 512))) {
    if (m_bLoading) m_loadArray.resize(1);  // index 0 is NULL
}

CArchive::~CArchive() {
    if (m_pFile && !m_bLoading && !m_bNoFlushOnDelete) {
        try {
            Flush();
        } catch (...) {
            // A destructor must not throw; the caller who wanted to know called Close.
        }
    }
}

void CArchive::Throw(int cause) const {
    CString name;
    if (m_pFile) name = m_pFile->GetFilePath();
    AfxThrowArchiveException(cause, name.IsEmpty() ? nullptr : static_cast<LPCTSTR>(name));
}

void CArchive::Close() {
    Flush();
    m_pFile = nullptr;
}

void CArchive::Abort() { m_pFile = nullptr; }

void CArchive::Flush() {
    if (!m_pFile) return;
    if (m_bLoading) {
        // Give back what was buffered but not read, so the file position is where reading stopped.
        UINT unread = m_nBufLen - m_nBufPos;
        if (unread) m_pFile->Seek(-static_cast<LONGLONG>(unread), CFile::current);
        m_nBufBase += m_nBufPos;
        m_nBufPos = m_nBufLen = 0;
    } else if (m_nBufLen) {
        m_pFile->Write(m_buf.data(), m_nBufLen);
        m_nBufLen = 0;
    }
}

void CArchive::FillBuffer() {
    if (!m_pFile) Throw(CArchiveException::endOfFile);
    m_nBufBase += m_nBufPos;
    m_nBufPos = 0;
    m_nBufLen = m_pFile->Read(m_buf.data(), static_cast<UINT>(m_buf.size()));
}

UINT CArchive::Read(void* lpBuf, UINT nMax) {
    if (!m_bLoading) Throw(CArchiveException::writeOnly);
    BYTE* dst = static_cast<BYTE*>(lpBuf);
    UINT done = 0;
    while (done < nMax) {
        if (m_nBufPos >= m_nBufLen) {
            FillBuffer();
            if (m_nBufLen == 0) break;
        }
        UINT n = std::min(nMax - done, m_nBufLen - m_nBufPos);
        std::memcpy(dst + done, m_buf.data() + m_nBufPos, n);
        m_nBufPos += n;
        done += n;
    }
    return done;
}

void CArchive::Write(const void* lpBuf, UINT nMax) {
    if (m_bLoading) Throw(CArchiveException::readOnly);
    if (!m_pFile) Throw(CArchiveException::genericException);
    const BYTE* src = static_cast<const BYTE*>(lpBuf);
    while (nMax > 0) {
        if (m_nBufLen == m_buf.size()) {
            m_pFile->Write(m_buf.data(), m_nBufLen);
            m_nBufLen = 0;
        }
        UINT n = std::min(nMax, static_cast<UINT>(m_buf.size()) - m_nBufLen);
        std::memcpy(m_buf.data() + m_nBufLen, src, n);
        m_nBufLen += n;
        src += n;
        nMax -= n;
    }
}

CArchive& CArchive::WriteRawSlow(const void* p, UINT n) {
    Write(p, n);
    return *this;
}

CArchive& CArchive::ReadRawSlow(void* p, UINT n) {
    if (Read(p, n) != n) Throw(CArchiveException::endOfFile);
    return *this;
}

void CArchive::EnsureAvailable(ULONGLONG nBytes) {
    if (!m_bLoading) return;
    ULONGLONG buffered = m_nBufLen - m_nBufPos;
    if (nBytes <= buffered) return;
    if (!m_pFile) Throw(CArchiveException::endOfFile);
    ULONGLONG len, pos;
    try {
        len = m_pFile->GetLength();
        pos = m_pFile->GetPosition();
    } catch (CException&) {
        return;  // a stream of unknown length: reading will find the end
    }
    ULONGLONG left = len > pos ? len - pos : 0;
    if (buffered + left < nBytes) Throw(CArchiveException::endOfFile);
}

// ---------------------------------------------------------------------------------------------
// Strings

CArchive& CArchive::operator<<(const CString& s) {
    DWORD n = static_cast<DWORD>(s.GetLength());
    if (n < 255) {
        *this << static_cast<BYTE>(n);
    } else if (n < 0xFFFE) {
        *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(n);
    } else {
        *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFF) << n;
    }
    Write(static_cast<LPCTSTR>(s), n);
    return *this;
}

DWORD CArchive::ReadStringLength(bool& wide) {
    wide = false;
    for (;;) {
        BYTE b;
        *this >> b;
        if (b < 0xFF) return b;
        WORD w;
        *this >> w;
        if (w == 0xFFFE) {
            if (wide) Throw(CArchiveException::badIndex);  // the wide mark comes only once
            wide = true;
            continue;
        }
        if (w < 0xFFFF) return w;
        DWORD dw;
        *this >> dw;
        return dw;
    }
}

CArchive& CArchive::operator>>(CString& s) {
    bool wide;
    DWORD n = ReadStringLength(wide);
    // A name or a face name of a layer file: already in the buffer, taken from there in one copy.
    if (!wide && m_bLoading && m_nBufPos <= m_nBufLen && m_nBufLen - m_nBufPos >= n) {
        s = CString(reinterpret_cast<const char*>(m_buf.data() + m_nBufPos), static_cast<int>(n));
        m_nBufPos += n;
        return *this;
    }
    ULONGLONG bytes = wide ? static_cast<ULONGLONG>(n) * 2 : n;
    EnsureAvailable(bytes);
    // Read in bounded steps, so a corrupt length on a stream of unknown size cannot allocate at once
    // more than the data really holds.
    std::string data;
    const ULONGLONG kStep = 1 << 16;
    while (data.size() < bytes) {
        size_t step = static_cast<size_t>(std::min<ULONGLONG>(kStep, bytes - data.size()));
        size_t old = data.size();
        data.resize(old + step);
        ReadRaw(&data[old], static_cast<UINT>(step));
    }
    if (wide) {
        std::u16string u(n, u'\0');
        std::memcpy(&u[0], data.data(), bytes);
        s = CString(win32::Utf16ToGbk(u));
    } else {
        s = CString(data);
    }
    return *this;
}

void CArchive::WriteString(LPCTSTR lpsz) {
    if (lpsz) Write(lpsz, static_cast<UINT>(std::strlen(lpsz)));
}

BOOL CArchive::ReadString(CString& rString) {
    return afx::ReadTextLine([this](char& c) { return Read(&c, 1) == 1; }, true, rString);
}

// ---------------------------------------------------------------------------------------------
// Counts and objects

void CArchive::WriteCount(DWORD dwCount) {
    if (dwCount < 0xFFFF) {
        *this << static_cast<WORD>(dwCount);
    } else {
        *this << static_cast<WORD>(0xFFFF) << dwCount;
    }
}

DWORD CArchive::ReadCount() {
    WORD w;
    *this >> w;
    if (w != 0xFFFF) return w;
    DWORD dw;
    *this >> dw;
    return dw;
}

void CArchive::WriteObjectTag(DWORD index, bool isClass) {
    if (index < wBigObjectTag) {
        *this << static_cast<WORD>(isClass ? (wClassTag | index) : index);
    } else {
        *this << wBigObjectTag << (isClass ? (dwBigClassTag | index) : index);
    }
}

void CArchive::WriteClass(const CRuntimeClass* pClassRef) {
    if (!IsStoring()) Throw(CArchiveException::writeOnly);
    if (!pClassRef || !pClassRef->IsSerializable()) Throw(CArchiveException::badClass);
    auto it = m_storeMap.find(pClassRef);
    if (it != m_storeMap.end()) {
        WriteObjectTag(it->second, true);
        return;
    }
    WORD len = static_cast<WORD>(std::strlen(pClassRef->m_lpszClassName));
    *this << wNewClassTag << static_cast<WORD>(pClassRef->m_wSchema) << len;
    Write(pClassRef->m_lpszClassName, len);
    if (m_nMapCount >= nMaxMapCount) Throw(CArchiveException::badIndex);
    m_storeMap[pClassRef] = m_nMapCount++;
}

void CArchive::WriteObject(const CObject* pOb) {
    if (!IsStoring()) Throw(CArchiveException::writeOnly);
    if (!pOb) {
        *this << wNullTag;
        return;
    }
    auto it = m_storeMap.find(pOb);
    if (it != m_storeMap.end()) {
        WriteObjectTag(it->second, false);
        return;
    }
    WriteClass(pOb->GetRuntimeClass());
    if (m_nMapCount >= nMaxMapCount) Throw(CArchiveException::badIndex);
    m_storeMap[pOb] = m_nMapCount++;
    const_cast<CObject*>(pOb)->Serialize(*this);
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema, DWORD* pObTag) {
    if (!IsLoading()) Throw(CArchiveException::readOnly);
    WORD wTag;
    *this >> wTag;
    DWORD obTag;
    if (wTag == wBigObjectTag) {
        *this >> obTag;
    } else {
        obTag = (static_cast<DWORD>(wTag & wClassTag) << 16) | (wTag & ~wClassTag);
    }
    if (!(obTag & dwBigClassTag)) {
        if (pObTag) *pObTag = obTag;
        return nullptr;
    }

    CRuntimeClass* cls;
    UINT schema;
    if (wTag == wNewClassTag) {
        WORD wSchema, len;
        *this >> wSchema >> len;
        if (len == 0 || len > nMaxClassNameLength) Throw(CArchiveException::badClass);
        char name[nMaxClassNameLength + 1];
        ReadRaw(name, len);
        name[len] = '\0';
        cls = CRuntimeClass::FromName(name);
        if (!cls || !cls->IsSerializable()) Throw(CArchiveException::badClass);
        if (!(cls->m_wSchema & VERSIONABLE_SCHEMA) && static_cast<WORD>(cls->m_wSchema) != wSchema)
            Throw(CArchiveException::badSchema);
        if (m_nMapCount >= nMaxMapCount) Throw(CArchiveException::badIndex);
        LoadEntry e;
        e.pClass = cls;
        e.nSchema = wSchema;
        m_loadArray.push_back(e);
        ++m_nMapCount;
        schema = wSchema;
    } else {
        DWORD idx = obTag & ~dwBigClassTag;
        if (idx == 0 || idx >= m_nMapCount || !m_loadArray[idx].pClass) Throw(CArchiveException::badIndex);
        cls = m_loadArray[idx].pClass;
        schema = m_loadArray[idx].nSchema;
    }
    if (pClassRefRequested && !cls->IsDerivedFrom(pClassRefRequested)) Throw(CArchiveException::badClass);
    if (pSchema) *pSchema = schema;
    if (pObTag) *pObTag = obTag;
    return cls;
}

void CArchive::SerializeClass(const CRuntimeClass* pClassRef) {
    if (IsStoring()) WriteClass(pClassRef);
    else ReadClass(pClassRef);
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested) {
    return ReadObjectImpl(pClassRefRequested, false);
}

CObject* CArchive::ReadOwnedObject(const CRuntimeClass* pClassRefRequested) {
    return ReadObjectImpl(pClassRefRequested, true);
}

CObject* CArchive::ReadObjectImpl(const CRuntimeClass* pClassRefRequested, bool owned) {
    UINT schema = 0;
    DWORD obTag = 0;
    CRuntimeClass* cls = ReadClass(pClassRefRequested, &schema, &obTag);
    if (!cls) {
        if (obTag == 0) return nullptr;
        if (owned) Throw(CArchiveException::badIndex);
        if (obTag >= m_nMapCount || !m_loadArray[obTag].pObject) Throw(CArchiveException::badIndex);
        CObject* p = m_loadArray[obTag].pObject;
        if (pClassRefRequested && !p->IsKindOf(pClassRefRequested)) Throw(CArchiveException::badClass);
        return p;
    }

    if (m_nDepth >= kMaxReadDepth) Throw(CArchiveException::badIndex);
    CObject* p = cls->CreateObject();
    if (!p) Throw(CArchiveException::badClass);
    if (m_nMapCount >= nMaxMapCount) {
        delete p;
        Throw(CArchiveException::badIndex);
    }
    DWORD index = m_nMapCount++;
    LoadEntry e;
    e.pObject = p;
    m_loadArray.push_back(e);

    UINT savedSchema = m_nObjectSchema;
    m_nObjectSchema = schema;
    ++m_nDepth;
    try {
        p->Serialize(*this);
    } catch (...) {
        // The half-read object is not reachable from anything the caller holds: free it here so a
        // corrupt file leaks nothing, and make later references to it invalid.
        --m_nDepth;
        m_nObjectSchema = savedSchema;
        m_loadArray[index].pObject = nullptr;
        delete p;
        throw;
    }
    --m_nDepth;
    m_nObjectSchema = savedSchema;
    return p;
}

void CArchive::MapObject(const CObject* pOb) {
    if (m_nMapCount >= nMaxMapCount) Throw(CArchiveException::badIndex);
    if (IsStoring()) {
        if (pOb && m_storeMap.find(pOb) == m_storeMap.end()) m_storeMap[pOb] = m_nMapCount++;
    } else {
        LoadEntry e;
        e.pObject = const_cast<CObject*>(pOb);
        m_loadArray.push_back(e);
        ++m_nMapCount;
    }
}

UINT CArchive::GetObjectSchema() {
    UINT s = m_nObjectSchema;
    m_nObjectSchema = static_cast<UINT>(-1);
    return s;
}

void CArchive::SetMapCountForTest(DWORD nNextIndex) {
    if (nNextIndex <= m_nMapCount) return;
    if (IsLoading()) m_loadArray.resize(nNextIndex);
    m_nMapCount = nNextIndex;
}
