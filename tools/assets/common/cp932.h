// UTF-8 to Windows Shift-JIS (code page 932), the encoding the editor and the
// game read their texts in.
#pragma once

#include <cstddef>
#include <string>

struct Cp932Result {
    bool ok = false;
    std::string bytes;      // the encoded text when ok
    std::size_t column = 0; // 1-based character column of the first offending character
    std::string problem;    // what is wrong with it, for a file:line:column message
};

// Encodes one line of UTF-8. Fails on malformed UTF-8 and on characters that
// code page 932 has no code for; never substitutes.
Cp932Result encodeCp932(const std::string& utf8);
