// Conversion between code page 936 (GBK), the encoding of every string inside the system,
// and UTF-8 / UTF-16, the encodings of the operating system, the font engine and the terminal.
#pragma once

#include <string>
#include <cstdint>

namespace win32 {

// GBK bytes -> UTF-8. A byte sequence that is not valid GBK is carried over byte for byte
// where it is ASCII and replaced by U+FFFD otherwise; the result is never shorter in meaning.
std::string GbkToUtf8(const std::string& gbk);

// GBK bytes -> UTF-8 into utf8 (its buffer reused), for text that must come back unchanged: true when
// every byte converts and the UTF-8 converts back to exactly the same bytes; false otherwise (utf8 then
// holds nothing of use).
bool GbkToUtf8Exact(const std::string& gbk, std::string& utf8);

// UTF-8 -> GBK. Characters GBK cannot hold become '?'.
std::string Utf8ToGbk(const std::string& utf8);

// UTF-16LE code units -> GBK ('?' for characters GBK cannot hold).
std::string Utf16ToGbk(const std::u16string& utf16);

// True when the byte starts a two-byte GBK character (0x81..0xFE); its trail byte
// (0x40..0xFE, which includes '\\', '@' and ASCII letters) always belongs to it.
inline bool IsGbkLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// A path as stored (GBK, '\\' or '/' separators) -> a path for the file system (UTF-8, '/').
// Backslashes inside a two-byte character are left alone.
std::string GbkPathToNative(const std::string& gbkPath);

// A file-system path (UTF-8) -> GBK, separators unchanged.
std::string NativePathToGbk(const std::string& nativePath);

}  // namespace win32
