// The marker and sample font: sizes in logical units, the character set and face handed through, and a
// font already held replaced rather than leaked.
#include <caddox/Font.h>

#include <gtest/gtest.h>

#include <cstring>

TEST(CaddoxFont, HeightWidthCharsetAndFaceReachTheFont) {
    const struct {
        LONG height, width;
        BYTE charset;
        const char* face;
        LONG wantHeight, wantWidth;
    } cases[] = {
        {12, 0, SYMBOL_CHARSET, "VOZivuz", -12, 0},
        {-30, 8, DEFAULT_CHARSET, "宋体", -30, 8},
        {0, 0, GB2312_CHARSET, "", 0, 0},
    };
    for (const auto& c : cases) {
        CFont font;
        ASSERT_TRUE(CreateFontA(nullptr, &font, c.height, c.width, c.charset, c.face)) << c.face;
        LOGFONT lf{};
        ASSERT_GT(font.GetLogFont(&lf), 0);
        EXPECT_EQ(lf.lfHeight, c.wantHeight) << c.face;
        EXPECT_EQ(lf.lfWidth, c.wantWidth) << c.face;
        EXPECT_EQ(lf.lfCharSet, c.charset) << c.face;
        EXPECT_STREQ(lf.lfFaceName, c.face);
        EXPECT_EQ(lf.lfWeight, FW_NORMAL);
        EXPECT_EQ(lf.lfItalic, 0);
    }
}

TEST(CaddoxFont, ASecondCreationReplacesTheFontAndNullIsRefused) {
    CFont font;
    ASSERT_TRUE(CreateFontA(nullptr, &font, 10, 0, SYMBOL_CHARSET, "VOZivuz"));
    ASSERT_TRUE(CreateFontA(nullptr, &font, 20, 0, SYMBOL_CHARSET, "VOZivuz"));
    LOGFONT lf{};
    font.GetLogFont(&lf);
    EXPECT_EQ(lf.lfHeight, -20);
    EXPECT_FALSE(CreateFontA(nullptr, nullptr, 10, 0, 0, "x"));
}
