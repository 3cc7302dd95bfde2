// The file-mapping calls band storage stands on: the Windows rules that differ from plain mmap.
#include <win32/filemap.h>
#include <win32/module.h>

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

namespace {

off_t SizeOf(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? st.st_size : -1;
}

TEST(FileMapping, WritableMappingsGrowTheirFileReadOnlyOnesCannot) {
    testsupport::TempDir dir("corvane-filemap");
    std::ofstream(dir("f.bin"), std::ios::binary) << "abcd";
    HANDLE rw = CreateFileA(dir("f.bin").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE ro = CreateFileA(dir("f.bin").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(rw, INVALID_HANDLE_VALUE);
    ASSERT_NE(ro, INVALID_HANDLE_VALUE);

    EXPECT_EQ(CreateFileMappingA(ro, nullptr, PAGE_READONLY, 0, 100, nullptr), nullptr);
    EXPECT_EQ(CreateFileMappingA(ro, nullptr, PAGE_READWRITE, 0, 0, nullptr), nullptr);
    HANDLE map = CreateFileMappingA(rw, nullptr, PAGE_READWRITE, 0, 100, "grow");
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(SizeOf(dir("f.bin")), 100);
    EXPECT_EQ(MapViewOfFile(map, FILE_MAP_WRITE, 0, 4096, 0), nullptr);  // not on the granularity
    EXPECT_EQ(MapViewOfFile(map, FILE_MAP_WRITE, 0, 0, 101), nullptr);   // past the mapping
    char* view = static_cast<char*>(MapViewOfFile(map, FILE_MAP_WRITE, 0, 0, 0));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view[0], 'a');
    view[1] = 'B';
    EXPECT_TRUE(FlushViewOfFile(view + 1, 1));

    HANDLE romap = CreateFileMappingA(ro, nullptr, PAGE_READONLY, 0, 0, nullptr);
    ASSERT_NE(romap, nullptr);
    EXPECT_EQ(MapViewOfFile(romap, FILE_MAP_WRITE, 0, 0, 0), nullptr);
    char* copy = static_cast<char*>(MapViewOfFile(romap, FILE_MAP_COPY, 0, 0, 0));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy[1], 'B');  // the shared view's change is in the file
    copy[2] = 'Z';            // private: stays here
    EXPECT_EQ(view[2], 'c');

    EXPECT_TRUE(UnmapViewOfFile(view));
    EXPECT_FALSE(UnmapViewOfFile(view));
    EXPECT_TRUE(UnmapViewOfFile(copy));
    for (HANDLE h : {map, romap, rw, ro}) EXPECT_TRUE(CloseHandle(h));
    EXPECT_EQ(testsupport::ReadFileBytes(dir("f.bin")).substr(0, 4), "aBcd");

    SYSTEM_INFO info;
    GetSystemInfo(&info);
    EXPECT_EQ(info.dwAllocationGranularity, 65536u);
}

TEST(FileMapping, DeleteOnCloseAndCreateNew) {
    testsupport::TempDir dir("corvane-filemap");
    const std::string path = dir("t.bin");
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(SizeOf(path), -1);
    EXPECT_EQ(CreateFileMappingA(h, nullptr, PAGE_READWRITE, 0, 0, nullptr), nullptr);  // empty: nothing to map
    HANDLE map = CreateFileMappingA(h, nullptr, PAGE_READWRITE, 0, 70000, nullptr);
    ASSERT_NE(map, nullptr);
    EXPECT_TRUE(CloseHandle(h));  // the mapping keeps the data
    char* v = static_cast<char*>(MapViewOfFile(map, FILE_MAP_WRITE, 0, 65536, 0));
    ASSERT_NE(v, nullptr);
    v[70000 - 65536 - 1] = 1;
    EXPECT_TRUE(UnmapViewOfFile(v));
    EXPECT_TRUE(CloseHandle(map));

    std::ofstream(dir("e.bin")) << "x";
    EXPECT_EQ(CreateFileA(dir("e.bin").c_str(), GENERIC_READ, 0, nullptr, CREATE_NEW, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_NE(GetLastError(), 0u);
    EXPECT_EQ(CreateFileA(dir.Path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);  // a folder is no file
}

TEST(FileMapping, PrivateMemoryIsZeroedAndFreedOnlyWhole) {
    const size_t size = 3 * 4096 + 5;
    char* p = static_cast<char*>(VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p[0], 0);
    EXPECT_EQ(p[size - 1], 0);
    p[size - 1] = 7;
    EXPECT_EQ(VirtualAlloc(nullptr, 0, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE), nullptr);
    EXPECT_EQ(VirtualAlloc(nullptr, 16, MEM_COMMIT | MEM_RESERVE, PAGE_READONLY), nullptr);
    EXPECT_FALSE(VirtualFree(p + 4096, 0, MEM_RELEASE));  // not the start of a block
    EXPECT_FALSE(VirtualFree(p, size, MEM_RELEASE));      // only whole blocks, given as 0 bytes
    EXPECT_FALSE(UnmapViewOfFile(p));                     // a block is no view
    EXPECT_TRUE(VirtualFree(p, 0, MEM_RELEASE));
    EXPECT_FALSE(VirtualFree(p, 0, MEM_RELEASE));
}

}  // namespace
