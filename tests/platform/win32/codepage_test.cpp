// GBK to UTF-8 and back: whole strings, bad bytes, strings that grow past the first guess of their
// converted length, and the exact form that attribute texts take.
#include "win32/codepage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Codepage, GbkToUtf8ReplacesWhatIsNotGbk) {
    const struct {
        const char* what;
        std::string gbk, utf8;
    } cases[] = {
        {"ASCII", "road 7", "road 7"},
        {"Chinese", "\xBA\xD3\xC1\xF7", "\xE6\xB2\xB3\xE6\xB5\x81"},  // 河流
        {"Chinese between ASCII", "A\xBA\xD3" "1\xC1\xF7" "z", "A\xE6\xB2\xB3" "1\xE6\xB5\x81" "z"},
        {"a byte that starts nothing", "a\xFF" "b", "a\xEF\xBF\xBD" "b"},
        {"a lead byte at the end", "a\x81", "a\xEF\xBF\xBD"},
        {"empty", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(win32::GbkToUtf8(c.gbk), c.utf8);
        std::string exact = "left over";
        const bool bad = c.utf8.find("\xEF\xBF\xBD") != std::string::npos;
        EXPECT_EQ(win32::GbkToUtf8Exact(c.gbk, exact), !bad);
        if (!bad) {
            EXPECT_EQ(exact, c.utf8);
            EXPECT_EQ(win32::Utf8ToGbk(c.utf8), c.gbk);
        }
    }
}

TEST(Codepage, LongTextsGrowPastTheirFirstBuffer) {
    // Each two-byte character becomes three bytes, more than the room first set aside.
    std::string gbk, utf8;
    for (int i = 0; i < 5000; ++i) {
        gbk += "\xD6\xD0";      // 中
        utf8 += "\xE4\xB8\xAD";
    }
    gbk += "\xFF";
    EXPECT_EQ(win32::GbkToUtf8(gbk), utf8 + "\xEF\xBF\xBD");
    gbk.pop_back();
    std::string exact;
    ASSERT_TRUE(win32::GbkToUtf8Exact(gbk, exact));
    EXPECT_EQ(exact, utf8);
    EXPECT_EQ(win32::Utf8ToGbk(utf8), gbk);
}

}  // namespace
