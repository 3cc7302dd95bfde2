#include "win32/filemap.h"

#include "win32/codepage.h"
#include "win32/module.h"

#include <cerrno>
#include <fcntl.h>
#include <map>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const DWORD kGranularity = 65536;

// Handles point at one of these; the magic word tells them apart from anything else.
struct KernelObject {
    enum Kind : uint32_t { File = 0x46494C45u, Mapping = 0x4D415050u };
    uint32_t kind;
    int fd;
    bool writable;
    ULONGLONG size;  // mappings only
};

std::map<const void*, size_t>& Views()
{
    static std::map<const void*, size_t> views;
    return views;
}

KernelObject* AsObject(HANDLE h, uint32_t kind)
{
    if (h == nullptr || h == INVALID_HANDLE_VALUE) return nullptr;
    // Handles are only ever made here, so a wrong kind means a handle of another family.
    auto* obj = static_cast<KernelObject*>(h);
    return obj->kind == kind ? obj : nullptr;
}

void SetErrno() { SetLastError(win32::ErrorFromErrno(errno ? errno : EIO)); }

}  // namespace

void GetSystemInfo(SYSTEM_INFO* info)
{
    if (!info) return;
    info->dwPageSize = (DWORD)sysconf(_SC_PAGESIZE);
    info->dwAllocationGranularity = kGranularity;
}

HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD share, void* security, DWORD disposition, DWORD flags,
                   HANDLE tmpl)
{
    (void)share;
    if (!name || security || tmpl) {
        SetLastError(87);
        return INVALID_HANDLE_VALUE;
    }
    const bool write = (access & GENERIC_WRITE) != 0;
    int oflags = O_CLOEXEC | (write ? O_RDWR : O_RDONLY);
    switch (disposition) {
    case CREATE_NEW: oflags |= O_CREAT | O_EXCL; break;
    case CREATE_ALWAYS: oflags |= O_CREAT | O_TRUNC; break;
    case OPEN_EXISTING: break;
    default: SetLastError(87); return INVALID_HANDLE_VALUE;
    }
    const std::string path = win32::GbkPathToNative(name);
    const int fd = ::open(path.c_str(), oflags, 0666);
    if (fd < 0) {
        SetErrno();
        return INVALID_HANDLE_VALUE;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        SetLastError(5);
        return INVALID_HANDLE_VALUE;
    }
    // The name goes at once; the open descriptor and any mapping keep the data alive until closed.
    if (flags & FILE_FLAG_DELETE_ON_CLOSE) ::unlink(path.c_str());
    if (flags & FILE_FLAG_RANDOM_ACCESS) ::posix_fadvise(fd, 0, 0, POSIX_FADV_RANDOM);
    return new KernelObject{KernelObject::File, fd, write, 0};
}

DWORD GetFileSize(HANDLE hFile, LPDWORD high)
{
    KernelObject* f = AsObject(hFile, KernelObject::File);
    struct stat st;
    if (!f || ::fstat(f->fd, &st) != 0) {
        SetLastError(6);
        return 0xFFFFFFFFu;
    }
    if (high) *high = (DWORD)((ULONGLONG)st.st_size >> 32);
    return (DWORD)((ULONGLONG)st.st_size & 0xFFFFFFFFu);
}

HANDLE CreateFileMappingA(HANDLE hFile, void* attributes, DWORD protect, DWORD sizeHigh, DWORD sizeLow,
                          LPCSTR name)
{
    (void)name;
    KernelObject* f = AsObject(hFile, KernelObject::File);
    if (!f || attributes || (protect != PAGE_READONLY && protect != PAGE_READWRITE)) {
        SetLastError(87);
        return nullptr;
    }
    const bool write = protect == PAGE_READWRITE;
    if (write && !f->writable) {
        SetLastError(5);
        return nullptr;
    }
    struct stat st;
    if (::fstat(f->fd, &st) != 0) {
        SetErrno();
        return nullptr;
    }
    ULONGLONG size = ((ULONGLONG)sizeHigh << 32) | sizeLow;
    if (size == 0) size = (ULONGLONG)st.st_size;
    if (size == 0) {
        SetLastError(87);  // a mapping of an empty file
        return nullptr;
    }
    if (size > (ULONGLONG)st.st_size) {
        if (!write) {
            SetLastError(87);  // a read-only mapping cannot grow its file
            return nullptr;
        }
        if (::ftruncate(f->fd, (off_t)size) != 0) {
            SetErrno();
            return nullptr;
        }
    }
    const int fd = ::fcntl(f->fd, F_DUPFD_CLOEXEC, 0);
    if (fd < 0) {
        SetErrno();
        return nullptr;
    }
    return new KernelObject{KernelObject::Mapping, fd, write, size};
}

LPVOID MapViewOfFile(HANDLE hMap, DWORD access, DWORD offHigh, DWORD offLow, size_t bytes)
{
    KernelObject* m = AsObject(hMap, KernelObject::Mapping);
    const ULONGLONG offset = ((ULONGLONG)offHigh << 32) | offLow;
    if (!m || offset % kGranularity != 0 || offset >= m->size) {
        SetLastError(87);
        return nullptr;
    }
    if (bytes == 0) bytes = (size_t)(m->size - offset);
    if (offset + bytes > m->size) {
        SetLastError(87);
        return nullptr;
    }
    int prot = PROT_READ;
    int flags = MAP_SHARED;
    if (access & FILE_MAP_COPY) {
        prot |= PROT_WRITE;
        flags = MAP_PRIVATE;
    } else if (access & FILE_MAP_WRITE) {
        if (!m->writable) {
            SetLastError(5);
            return nullptr;
        }
        prot |= PROT_WRITE;
    }
    void* p = ::mmap(nullptr, bytes, prot, flags, m->fd, (off_t)offset);
    if (p == MAP_FAILED) {
        SetErrno();
        return nullptr;
    }
    ::madvise(p, bytes, MADV_RANDOM);
    Views()[p] = bytes;
    return p;
}

BOOL UnmapViewOfFile(LPCVOID base)
{
    auto it = Views().find(base);
    if (it == Views().end()) {
        SetLastError(87);
        return FALSE;
    }
    ::munmap(const_cast<void*>(base), it->second);
    Views().erase(it);
    return TRUE;
}

BOOL FlushViewOfFile(LPCVOID base, size_t bytes)
{
    auto it = Views().upper_bound(base);
    if (it == Views().begin()) {
        SetLastError(87);
        return FALSE;
    }
    --it;
    const char* start = static_cast<const char*>(it->first);
    const char* p = static_cast<const char*>(base);
    if (p >= start + it->second) {
        SetLastError(87);
        return FALSE;
    }
    const size_t page = (size_t)sysconf(_SC_PAGESIZE);
    const size_t skip = (size_t)(p - start) / page * page;
    size_t len = bytes == 0 ? it->second - skip : (size_t)(p - start) - skip + bytes;
    if (skip + len > it->second) len = it->second - skip;
    if (::msync(const_cast<char*>(start) + skip, len, MS_SYNC) != 0) {
        SetErrno();
        return FALSE;
    }
    return TRUE;
}

namespace {

std::map<const void*, size_t>& Blocks()
{
    static std::map<const void*, size_t> blocks;
    return blocks;
}

}  // namespace

LPVOID VirtualAlloc(LPVOID address, size_t bytes, DWORD type, DWORD protect)
{
    if (address || bytes == 0 || type != (MEM_COMMIT | MEM_RESERVE) || protect != PAGE_READWRITE) {
        SetLastError(87);
        return nullptr;
    }
    // Committed means backed: the pages are taken at once, which costs less than a fault for each page
    // on its first touch.
    void* p = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (p == MAP_FAILED) {
        SetLastError(8);  // not enough memory
        return nullptr;
    }
    Blocks()[p] = bytes;
    return p;
}

BOOL VirtualFree(LPVOID address, size_t bytes, DWORD type)
{
    auto it = Blocks().find(address);
    if (it == Blocks().end() || bytes != 0 || type != MEM_RELEASE) {
        SetLastError(87);
        return FALSE;
    }
    ::munmap(address, it->second);
    Blocks().erase(it);
    return TRUE;
}

BOOL CloseHandle(HANDLE h)
{
    KernelObject* obj = AsObject(h, KernelObject::File);
    if (!obj) obj = AsObject(h, KernelObject::Mapping);
    if (!obj) {
        SetLastError(6);
        return FALSE;
    }
    ::close(obj->fd);
    obj->kind = 0;
    delete obj;
    return TRUE;
}
