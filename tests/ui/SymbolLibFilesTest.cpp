// The picker's folder scan: which names count as library and symbol files for each type, decoys left
// out, and the names the picker hands back.
#include "ui/SymbolLibFiles.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Listed(const std::string& folder, int type) {
    std::vector<std::string> out;
    for (const auto& f : ListSymbolLibFiles(folder.c_str(), type)) out.push_back((const char*)SymbolLibNameOf(f));
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace

TEST(SymbolLibFiles, TypesDecoysAndNames) {
    testsupport::TempDir dir("symlibs");
    for (const char* name : {"a.slb", "a.sym", "B.SLB", "c.Sym", "x.slbx", "slb", ".slb", "d.txt", "e.sl"})
        testsupport::WriteFileBytes(dir(name), "x");
    std::filesystem::create_directory(dir.Path() + "/dir.slb");

    EXPECT_EQ(Listed(dir.Path(), 0), (std::vector<std::string>{"#B", "#a"}));
    EXPECT_EQ(Listed(dir.Path(), 1), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(Listed(dir.Path(), 2), (std::vector<std::string>{"#B", "#a", "a", "c"}));
    EXPECT_TRUE(Listed(dir.Path() + "/missing", 2).empty());
}
