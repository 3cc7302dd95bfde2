// The value input dialog's range table: every mode for both types, the bounds themselves passing, the
// messages, and a mode outside 0..3 checking nothing.
#include "ui/ValueInputRange.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(ValueInputRange, IntegerTable) {
    const struct {
        int mode;
        LONG value;
        BOOL pass;
        const char* message;
    } cases[] = {
        {0, 10, TRUE, ""},   {0, 20, TRUE, ""},  {0, 9, FALSE, "输入值应在10和20之间!"},
        {0, 21, FALSE, "输入值应在10和20之间!"},
        {1, 10, TRUE, ""},   {1, 9, FALSE, "输入值应大于10!"},  {1, 2000000000, TRUE, ""},
        {2, 20, TRUE, ""},   {2, 21, FALSE, "输入值应小于20!"}, {2, -2000000000, TRUE, ""},
        {3, -5, TRUE, ""},   {7, 1000, TRUE, ""},  {-1, 1000, TRUE, ""},
    };
    for (const auto& c : cases) {
        CString message;
        EXPECT_EQ(CheckValueInRange(c.value, 10, 20, c.mode, &message), c.pass) << c.mode << " " << c.value;
        EXPECT_STREQ(message, c.message) << c.mode << " " << c.value;
    }
    EXPECT_EQ(ClampValueRangeMode(7), 3);
    EXPECT_EQ(ClampValueRangeMode(-1), 3);
    EXPECT_EQ(ClampValueRangeMode(2), 2);
}

TEST(ValueInputRange, FloatTable) {
    const float nan = std::nanf("");
    const struct {
        int mode;
        float value;
        BOOL pass;
        const char* message;
    } cases[] = {
        {0, 0.5f, TRUE, ""},  {0, 1.5f, TRUE, ""},  {0, 0.25f, FALSE, "输入值应在0.500000和1.500000之间!"},
        {0, nan, FALSE, "输入值应在0.500000和1.500000之间!"},
        {1, 0.5f, TRUE, ""},  {1, 0.4f, FALSE, "输入值应大于0.500000!"}, {1, nan, FALSE, "输入值应大于0.500000!"},
        {2, 1.5f, TRUE, ""},  {2, 1.75f, FALSE, "输入值应小于1.500000!"}, {2, nan, TRUE, ""},
        {3, 99.0f, TRUE, ""},
    };
    for (const auto& c : cases) {
        CString message;
        EXPECT_EQ(CheckValueInRange(c.value, 0.5f, 1.5f, c.mode, &message), c.pass) << c.mode << " " << c.value;
        EXPECT_STREQ(message, c.message) << c.mode << " " << c.value;
    }
}
