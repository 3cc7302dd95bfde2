// Hand-built archive bytes for the object records, written field by field as the record tables give
// them (little-endian, no padding), and small helpers to store and load a record through CMemFile.
#pragma once

#include <afx/afx.h>

#include <cstring>
#include <string>
#include <vector>

namespace objbytes {

class Bytes {
public:
    Bytes& Byte(BYTE v) { return Raw(&v, 1); }
    Bytes& Word(WORD v) { return Raw(&v, 2); }
    Bytes& Dword(DWORD v) { return Raw(&v, 4); }
    Bytes& Long(LONG v) { return Raw(&v, 4); }
    Bytes& Float(float v) { return Raw(&v, 4); }
    Bytes& Double(double v) { return Raw(&v, 8); }
    // The archive's short string form (fewer than 255 bytes): a length byte, then the bytes.
    Bytes& Str(const char* s) {
        const size_t n = std::strlen(s);
        Byte(static_cast<BYTE>(n));
        return Raw(s, n);
    }
    Bytes& Rect(LONG l, LONG t, LONG r, LONG b) { return Long(l).Long(t).Long(r).Long(b); }
    Bytes& Append(const std::vector<BYTE>& more) {
        m_data.insert(m_data.end(), more.begin(), more.end());
        return *this;
    }
    // The root object part: bounds, name, unit word (bit 31 when a version follows), version.
    Bytes& GeoObject(const CRect& r, const char* name, int unit, float version) {
        Rect(r.left, r.top, r.right, r.bottom).Str(name);
        if (version > 1.0f) return Dword(static_cast<DWORD>(unit) | 0x80000000u).Float(version);
        return Dword(static_cast<DWORD>(unit));
    }
    const std::vector<BYTE>& Data() const { return m_data; }

private:
    Bytes& Raw(const void* p, size_t n) {
        const BYTE* b = static_cast<const BYTE*>(p);
        m_data.insert(m_data.end(), b, b + n);
        return *this;
    }
    std::vector<BYTE> m_data;
};

// The bytes ob.Serialize writes into a fresh archive.
inline std::vector<BYTE> Store(CObject& ob) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    ob.Serialize(ar);
    ar.Close();
    return file.Data();
}

// Runs ob.Serialize on a loading archive over the bytes; returns how many bytes were left unread.
inline size_t Load(CObject& ob, const std::vector<BYTE>& data) {
    CMemFile file(data.data(), static_cast<UINT>(data.size()));
    CArchive ar(&file, CArchive::load);
    ob.Serialize(ar);
    BYTE rest[256];
    size_t left = 0;
    for (UINT n; (n = ar.Read(rest, sizeof rest)) > 0;) left += n;
    return left;
}

}  // namespace objbytes
