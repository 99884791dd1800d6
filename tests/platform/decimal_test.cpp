// The one decimal reader behind every number the game reads from text.
#include "platform/decimal.h"

#include <gtest/gtest.h>

TEST(DecimalReader, ReadsAsPercentDDoesAndWrapsInsteadOfOverflowing) {
    // clang-format off
    const struct {
        std::string_view text;
        size_t from;
        int32_t value;
        bool matched;
        size_t end;
    } cases[] = {
        {"42",            0, 42,          true,  2},
        {"  -17x",        0, -17,         true,  5},
        {"+8",            0, 8,           true,  2},
        {"\t\r\n 5",      0, 5,           true,  5},
        {"12,34",         3, 34,          true,  5},
        {"2147483647",    0, 2147483647,  true,  10},
        {"2147483648",    0, INT32_MIN,   true,  10}, // wraps modulo 2^32
        {"4294967297",    0, 1,           true,  10},
        {"-4294967297",   0, -1,          true,  11},
        {"99999999999999999999", 0, 1661992959, true, 20},
        {"abc",           0, 0,           false, 0},
        {"-",             0, 0,           false, 0},
        {"  ",            1, 0,           false, 1},
        {"",              0, 0,           false, 0},
        {"7",             5, 0,           false, 5}, // starting past the end reads nothing
    };
    // clang-format on
    for (const auto& c : cases) {
        const DecimalRead read = readDecimal(c.text, c.from);
        EXPECT_EQ(read.value, c.value) << '"' << c.text << '"';
        EXPECT_EQ(read.matched, c.matched) << '"' << c.text << '"';
        EXPECT_EQ(read.end, c.end) << '"' << c.text << '"';
    }
}
