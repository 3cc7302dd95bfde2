// Hand-built archive bytes for the schema record tests: little-endian fields written one by one, kept
// apart from the library's own writers so that a record is checked against an independent rendering.
#pragma once

#include <afx/afx.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace schematest {

typedef std::vector<BYTE> Bytes;

class ByteBuilder {
public:
    ByteBuilder& dw(DWORD v) { return raw(&v, 4); }
    ByteBuilder& i32(LONG v) { return raw(&v, 4); }
    ByteBuilder& w(WORD v) { return raw(&v, 2); }
    ByteBuilder& f(float v) { return raw(&v, 4); }
    // A short string (< 255 bytes): a length byte, then the bytes as they are.
    ByteBuilder& str(const std::string& s) {
        BYTE n = static_cast<BYTE>(s.size());
        raw(&n, 1);
        return raw(s.data(), s.size());
    }
    // The string's bytes in a zero-filled field of n bytes.
    ByteBuilder& fixed(const std::string& s, size_t n) {
        Bytes field(n, 0);
        std::memcpy(field.data(), s.data(), s.size() < n ? s.size() : n);
        return bytes(field);
    }
    ByteBuilder& bytes(const Bytes& b) {
        m_b.insert(m_b.end(), b.begin(), b.end());
        return *this;
    }
    ByteBuilder& raw(const void* p, size_t n) {
        const BYTE* q = static_cast<const BYTE*>(p);
        m_b.insert(m_b.end(), q, q + n);
        return *this;
    }
    const Bytes& get() const { return m_b; }

private:
    Bytes m_b;
};

inline Bytes Store(const std::function<void(CArchive&)>& write) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        write(ar);
        ar.Close();
    }
    return file.Data();
}

inline void Load(const Bytes& data, const std::function<void(CArchive&)>& read) {
    CMemFile file(data.data(), static_cast<UINT>(data.size()));
    CArchive ar(&file, CArchive::load);
    read(ar);
}

// Runs read on every proper prefix of data; each must end in an archive exception, never a crash.
inline int CountTruncationFailures(const Bytes& data, const std::function<void(CArchive&)>& read) {
    int failures = 0;
    for (size_t n = 0; n < data.size(); ++n) {
        Bytes prefix(data.begin(), data.begin() + n);
        try {
            Load(prefix, read);
            ++failures;  // a short record must not load
        } catch (CArchiveException&) {
        }
    }
    return failures;
}

}  // namespace schematest
