#include "core/LayerFileMark.h"

#include <win32/codepage.h>

#include <sys/xattr.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <random>
#include <unistd.h>

namespace {

const char* const kAttribute = "user.corvane.generation";

// One save at a time per thread: the mark handed over by the layer's record, and whether a save is on.
thread_local int t_depth = 0;
thread_local CString t_handed;

std::string Native(const CString& path) { return win32::GbkPathToNative(path.str()); }

}  // namespace

CString CLayerFileMark::NewMark() {
    static std::atomic<unsigned long long> counter{0};
    static const unsigned long long seed =
        std::random_device{}() ^ (static_cast<unsigned long long>(::getpid()) << 32) ^
        static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    // A different value per call within the process, unlikely to repeat across processes.
    unsigned long long v = seed + 0x9E3779B97F4A7C15ull * ++counter;
    v ^= v >> 31;
    v *= 0xBF58476D1CE4E5B9ull;
    v ^= v >> 29;
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", v);
    return CString(text);
}

BOOL CLayerFileMark::Write(const CString& path, const CString& mark) {
    return ::setxattr(Native(path).c_str(), kAttribute, mark.str().data(), mark.str().size(), 0) == 0;
}

CString CLayerFileMark::Read(const CString& path) {
    char value[64];
    ssize_t n = ::getxattr(Native(path).c_str(), kAttribute, value, sizeof value);
    return n > 0 ? CString(value, static_cast<int>(n)) : CString();
}

void CLayerFileMark::Remove(const CString& path) { ::removexattr(Native(path).c_str(), kAttribute); }

CLayerFileMark::Publishing::Publishing() {
    if (t_depth++ == 0) t_handed.Empty();
}

CLayerFileMark::Publishing::~Publishing() {
    if (--t_depth == 0) t_handed.Empty();
}

CString CLayerFileMark::Publishing::Take() {
    CString mark = t_handed;
    t_handed.Empty();
    return mark;
}

bool CLayerFileMark::IsPublishing() { return t_depth > 0; }

void CLayerFileMark::Hand(const CString& mark) { t_handed = mark; }
