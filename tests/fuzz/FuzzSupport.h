// What every fuzz harness shares: the libFuzzer entry point, the seed writer each harness defines,
// a scratch folder of this process, and byte helpers.
//
// A harness (tests/fuzz/<family>.cpp) defines LLVMFuzzerTestOneInput, which feeds one input to one
// reader and must neither leak nor fault whatever the bytes are (readers may throw CException, which
// the harness catches), and CorvaneFuzzWriteSeeds, which writes valid inputs made by the library
// itself. The same file builds a libFuzzer target (clang) and a replay program (any compiler).
#pragma once

#include <afx/afx.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
void CorvaneFuzzWriteSeeds(const std::string& dir);

namespace fuzz {

// A folder of this process for the files a reader needs on disk (created on first use, left for the
// system's cleaning of /tmp; one per process, so parallel fuzzers never share a file).
inline const std::string& ScratchDir() {
    static const std::string dir = [] {
        std::string d = (std::filesystem::temp_directory_path() / ("corvane-fuzz-" + std::to_string(::getpid())))
                            .string();
        std::filesystem::create_directories(d);
        return d;
    }();
    return dir;
}

inline std::string Scratch(const std::string& name) { return ScratchDir() + "/" + name; }

inline void WriteBytes(const std::string& path, const uint8_t* data, size_t size) {
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                  static_cast<std::streamsize>(size));
}

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The bytes ob.Serialize writes into a fresh archive.
inline std::vector<uint8_t> Store(CObject& ob) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    ob.Serialize(ar);
    ar.Close();
    return file.Data();
}

// Runs ob.Serialize on a loading archive over the bytes; archive and memory exceptions are the
// reader's clean refusals.
inline void Load(CObject& ob, const uint8_t* data, size_t size) {
    CMemFile file(data, static_cast<UINT>(size));
    try {
        CArchive ar(&file, CArchive::load);
        ob.Serialize(ar);
    } catch (CException& e) {
        (void)e;
    }
}

inline void SaveSeed(const std::string& dir, const std::string& name, const std::vector<uint8_t>& bytes) {
    WriteBytes(dir + "/" + name, bytes.data(), bytes.size());
}

}  // namespace fuzz
