// The one reader of decimal numbers in text: stage files, the stage list,
// the ranking, the test-play command line, enemy definitions and profile
// files all read their numbers through it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

struct DecimalRead {
    int32_t value = 0;    // 0 when no digit was read
    bool matched = false; // at least one digit
    size_t end = 0;       // just after the last digit; where reading began when none matched
};

// A number as "%d" takes it: white space, an optional sign, then digits up to
// the first other character or the end of the text. It never reads past the
// text, and digits beyond the range of a 32-bit int wrap modulo 2^32 as the
// original platform's C library does, instead of overflowing.
DecimalRead readDecimal(std::string_view text, size_t from = 0);
