#include "win32/codepage.h"

#include <iconv.h>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

namespace win32 {
namespace {

// Converts with iconv; an unconvertible input byte is replaced by `bad` and skipped, so that
// bad data never stops the conversion or loses the rest of the string.
// One converter per direction and thread, opened on first use: opening a converter costs far more
// than converting a short string, and every attribute value and path goes through here.
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter() {
        if (m_cd != (iconv_t)-1) iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    iconv_t Get() const { return m_cd; }

private:
    iconv_t m_cd;
};

std::string Convert(iconv_t cd, const char* in, size_t len, const std::string& bad, size_t inUnit) {
    if (cd == (iconv_t)-1) return std::string(in, len);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);  // a fresh shift state for every string
    // Converted straight into the result, which grows when a conversion runs out of room.
    std::string out(len * 2 + 16, '\0');
    size_t used = 0;
    char* src = const_cast<char*>(in);
    size_t left = len;
    while (left > 0) {
        if (out.size() - used < 16) out.resize(out.size() * 2);
        char* dst = &out[used];
        size_t room = out.size() - used;
        size_t r = iconv(cd, &src, &left, &dst, &room);
        used = static_cast<size_t>(dst - out.data());
        if (r == (size_t)-1) {
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            // EILSEQ or EINVAL (truncated sequence): replace one unit and go on.
            out.replace(used, bad.size(), bad);
            used += bad.size();
            size_t step = left < inUnit ? left : inUnit;
            src += step;
            left -= step;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    out.resize(used);
    return out;
}

// Converts all of `in` into `out` (its buffer reused); false at the first byte that does not convert.
bool ConvertAll(iconv_t cd, const char* in, size_t len, std::string& out) {
    if (cd == (iconv_t)-1) return false;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    out.resize(len * 2 + 16);
    char* src = const_cast<char*>(in);
    size_t left = len;
    size_t used = 0;
    while (left > 0) {
        char* dst = &out[used];
        size_t room = out.size() - used;
        const size_t r = iconv(cd, &src, &left, &dst, &room);
        used = static_cast<size_t>(dst - out.data());
        if (r != (size_t)-1) break;
        if (errno != E2BIG) return false;
        out.resize(out.size() * 2);
    }
    out.resize(used);
    return true;
}

iconv_t GbkToUtf8Cd() {
    thread_local Converter c("UTF-8", "GBK");
    return c.Get();
}
iconv_t Utf8ToGbkCd() {
    thread_local Converter c("GBK", "UTF-8");
    return c.Get();
}
iconv_t Utf16ToGbkCd() {
    thread_local Converter c("GBK", "UTF-16LE");
    return c.Get();
}

}  // namespace

std::string GbkToUtf8(const std::string& gbk) {
    return Convert(GbkToUtf8Cd(), gbk.data(), gbk.size(), "\xEF\xBF\xBD", 1);
}

namespace {

// Every two-byte GBK character that converts to one character of the Basic Multilingual Plane and back
// to the same two bytes, with that character's UTF-8 form: built once from the converters themselves,
// so a text of such characters (and ASCII) converts by table to exactly what they would give.
class TwoByteTable {
public:
    TwoByteTable() : m_utf8(kLeads * kTrails) {
        std::string out, back;
        for (int lead = 0x81; lead <= 0xFE; ++lead)
            for (int trail = 0x40; trail <= 0xFE; ++trail) {
                const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                if (!ConvertAll(GbkToUtf8Cd(), pair, 2, out) || out.size() < 2 || out.size() > 3) continue;
                if (!ConvertAll(Utf8ToGbkCd(), out.data(), out.size(), back) || back != std::string(pair, 2)) continue;
                Entry& e = m_utf8[static_cast<size_t>(lead - 0x81) * kTrails + (trail - 0x40)];
                e.size = static_cast<uint8_t>(out.size());
                std::memcpy(e.bytes, out.data(), out.size());
            }
    }
    // Writes the character's UTF-8 form at `out`, which has room for 4 bytes, and gives its length; 0
    // when it has none in the table.
    size_t Put(unsigned char lead, unsigned char trail, char* out) const {
        if (trail < 0x40 || trail > 0xFE) return 0;
        const Entry& e = m_utf8[static_cast<size_t>(lead - 0x81) * kTrails + (trail - 0x40)];
        std::memcpy(out, &e, sizeof e);  // the bytes past the character are overwritten or cut off
        return e.size;
    }

private:
    static const int kLeads = 0xFE - 0x81 + 1, kTrails = 0xFE - 0x40 + 1;
    // Four bytes, so that a character is copied whole: its UTF-8 bytes, then their count.
    struct Entry {
        char bytes[3] = {0, 0, 0};
        uint8_t size = 0;
    };
    std::vector<Entry> m_utf8;
};

const TwoByteTable& Table() {
    static const TwoByteTable table;
    return table;
}

}  // namespace

bool GbkToUtf8Exact(const std::string& gbk, std::string& utf8) {
    // By table while every character is ASCII or in it; anything else goes through the converters.
    // Written straight into the result: a character grows from two bytes to three at most, and the
    // table writes four at a time.
    const TwoByteTable& table = Table();
    const size_t n = gbk.size();
    utf8.resize(n + n / 2 + 4);
    char* out = &utf8[0];
    size_t used = 0;
    bool byTable = true;
    for (size_t i = 0; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(gbk[i]);
        if (c < 0x80) {
            out[used++] = static_cast<char>(c);
            continue;
        }
        const size_t size = IsGbkLeadByte(c) && i + 1 < n ? table.Put(c, static_cast<unsigned char>(gbk[i + 1]), out + used) : 0;
        if (size == 0) {
            byTable = false;
            break;
        }
        used += size;
        ++i;
    }
    utf8.resize(used);
    if (byTable) return true;
    thread_local std::string back;
    return ConvertAll(GbkToUtf8Cd(), gbk.data(), gbk.size(), utf8) &&
           ConvertAll(Utf8ToGbkCd(), utf8.data(), utf8.size(), back) && back == gbk;
}

std::string Utf8ToGbk(const std::string& utf8) {
    return Convert(Utf8ToGbkCd(), utf8.data(), utf8.size(), "?", 1);
}

std::string Utf16ToGbk(const std::u16string& utf16) {
    return Convert(Utf16ToGbkCd(), reinterpret_cast<const char*>(utf16.data()), utf16.size() * 2, "?", 2);
}

std::string GbkPathToNative(const std::string& gbkPath) {
    std::string p;
    p.reserve(gbkPath.size());
    for (size_t i = 0; i < gbkPath.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(gbkPath[i]);
        if (IsGbkLeadByte(c) && i + 1 < gbkPath.size()) {
            p += gbkPath[i];
            p += gbkPath[++i];
        } else if (c == '\\') {
            p += '/';
        } else {
            p += gbkPath[i];
        }
    }
    return GbkToUtf8(p);
}

std::string NativePathToGbk(const std::string& nativePath) { return Utf8ToGbk(nativePath); }

}  // namespace win32
