#include "win32/codepage.h"

#include <iconv.h>
#include <cerrno>
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

bool GbkToUtf8Exact(const std::string& gbk, std::string& utf8) {
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
