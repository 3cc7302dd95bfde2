// Replays inputs through one fuzz harness, so that every input that once failed is tried again on the
// normal sanitized build. Arguments: files or folders (every regular file inside, in name order).
//   --seeds DIR   writes the harness's seeds (files the library itself writes) into DIR and exits
//   --with-seeds  also replays a fresh set of seeds, written into a temporary folder
// Prints "N inputs replayed" and exits 0; a fault aborts through the sanitizers.
#include "../FuzzSupport.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> Inputs(const fs::path& p) {
    std::vector<fs::path> out;
    if (fs::is_directory(p)) {
        for (const auto& e : fs::directory_iterator(p))
            if (e.is_regular_file()) out.push_back(e.path());
        std::sort(out.begin(), out.end());
    } else if (fs::is_regular_file(p)) {
        out.push_back(p);
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<fs::path> roots;
    fs::path seedDir;
    bool withSeeds = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--seeds" && i + 1 < argc) {
            fs::create_directories(argv[i + 1]);
            CorvaneFuzzWriteSeeds(argv[i + 1]);
            return 0;
        }
        if (a == "--with-seeds") withSeeds = true;
        else roots.emplace_back(a);
    }
    if (withSeeds) {
        seedDir = fs::temp_directory_path() / ("corvane-seeds-" + std::to_string(::getpid()));
        fs::create_directories(seedDir);
        CorvaneFuzzWriteSeeds(seedDir.string());
        roots.push_back(seedDir);
    }
    size_t count = 0;
    for (const fs::path& root : roots) {
        for (const fs::path& f : Inputs(root)) {
            std::ifstream in(f, std::ios::binary);
            std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            LLVMFuzzerTestOneInput(data.data(), data.size());
            ++count;
        }
    }
    if (!seedDir.empty()) fs::remove_all(seedDir);
    std::printf("%zu inputs replayed\n", count);
    return count > 0 ? 0 : 1;
}
