// Test support: a fresh folder for one test, removed with all it holds when the object goes, and whole-file
// reads and writes. Header-only, for every test folder.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace testsupport {

class TempDir {
public:
    explicit TempDir(const char* prefix = "corvane") {
        std::string tmpl = std::string("/tmp/") + prefix + "-XXXXXX";
        if (!mkdtemp(&tmpl[0])) throw std::runtime_error("mkdtemp failed");
        m_path = tmpl;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder (ASCII, so the same bytes as a GBK path).
    const std::string& Path() const { return m_path; }
    // A file in the folder; the name is passed through as bytes (GBK names give GBK paths).
    std::string operator()(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

inline std::string ReadFileBytes(const std::string& nativePath) {
    std::ifstream in(nativePath, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

inline void WriteFileBytes(const std::string& nativePath, const std::string& bytes) {
    std::ofstream out(nativePath, std::ios::binary | std::ios::trunc);
    out << bytes;
}

}  // namespace testsupport
