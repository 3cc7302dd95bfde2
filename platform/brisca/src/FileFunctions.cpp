#include "brisca/FileFunctions.h"

#include <win32/codepage.h>

#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Positions of the separators of a GBK path, stepping over two-byte characters.
std::vector<size_t> Separators(const std::string& s)
{
    std::vector<size_t> at;
    for (size_t i = 0; i < s.size(); ++i) {
        if (win32::IsGbkLeadByte((unsigned char)s[i]) && i + 1 < s.size()) {
            ++i;
            continue;
        }
        if (IsSeparator(s[i])) at.push_back(i);
    }
    return at;
}

std::vector<std::string> Split(const std::string& s)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t at : Separators(s)) {
        parts.push_back(s.substr(start, at - start));
        start = at + 1;
    }
    parts.push_back(s.substr(start));
    return parts;
}

// "C:..." or a leading separator.
bool IsAbsolute(const std::string& s)
{
    if (!s.empty() && IsSeparator(s[0])) return true;
    return s.size() >= 2 && s[1] == ':' && ((s[0] >= 'A' && s[0] <= 'Z') || (s[0] >= 'a' && s[0] <= 'z'));
}

bool SameNoCase(const std::string& a, const std::string& b) { return CString(a.c_str()).CompareNoCase(b.c_str()) == 0; }

char SeparatorOf(const std::string& directory)
{
    const std::vector<size_t> at = Separators(directory);
    return !at.empty() && directory[at[0]] == '/' ? '/' : '\\';
}

}  // namespace

int FileIsExist(CString path)
{
    if (path.IsEmpty()) return 0;
    struct stat st;
    return ::stat(win32::GbkPathToNative((LPCSTR)path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

CString GetFilePath(CString path)
{
    const std::string s = (LPCSTR)path;
    const std::vector<size_t> at = Separators(s);
    if (at.empty()) return CString();
    return CString(s.substr(0, at.back()).c_str());
}

CString GetFileName(CString path)
{
    const std::string s = (LPCSTR)path;
    const std::vector<size_t> at = Separators(s);
    std::string name = at.empty() ? s : s.substr(at.back() + 1);
    // The last '.' that is a character of its own (a trail byte is never '.', but be exact).
    size_t dot = std::string::npos;
    for (size_t i = 0; i < name.size(); ++i) {
        if (win32::IsGbkLeadByte((unsigned char)name[i]) && i + 1 < name.size()) {
            ++i;
            continue;
        }
        if (name[i] == '.') dot = i;
    }
    if (dot != std::string::npos) name.resize(dot);
    return CString(name.c_str());
}

CString GetOppositePath(CString directory, CString path)
{
    const std::string dir = (LPCSTR)directory, p = (LPCSTR)path;
    if (p.empty() || dir.empty() || !IsAbsolute(p)) return path;
    std::vector<std::string> d = Split(dir), q = Split(p);
    while (d.size() > 1 && d.back().empty()) d.pop_back();  // a trailing separator
    size_t common = 0;
    while (common < d.size() && common + 1 < q.size() && SameNoCase(d[common], q[common])) ++common;
    if (common == 0) return path;  // another drive or root
    std::string out;
    for (size_t i = common; i < d.size(); ++i) out += "..\\";
    for (size_t i = common; i < q.size(); ++i) {
        out += q[i];
        if (i + 1 < q.size()) out += '\\';
    }
    return CString(out.c_str());
}

CString GetAbsolutePath(CString directory, CString relative)
{
    const std::string dir = (LPCSTR)directory, rel = (LPCSTR)relative;
    if (rel.empty()) return CString();
    if (dir.empty() || IsAbsolute(rel)) return relative;
    const char sep = SeparatorOf(dir);
    std::vector<std::string> parts = Split(dir);
    while (parts.size() > 1 && parts.back().empty()) parts.pop_back();
    for (const std::string& part : Split(rel)) {
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (parts.size() > 1) parts.pop_back();  // never above the root
            continue;
        }
        parts.push_back(part);
    }
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i) {
        out += parts[i];
        if (i + 1 < parts.size()) out += sep;
    }
    if (parts.size() == 1 && parts[0].empty()) out = std::string(1, sep);
    return CString(out.c_str());
}

CString GetDIBFilter()
{
    return CString("TIFF 文件(*.tif;*.tiff)|*.tif;*.tiff|位图文件(*.bmp)|*.bmp|所有文件(*.*)|*.*||");
}
