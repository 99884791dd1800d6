// Shift-JIS (Windows code page 932) back to UTF-8, for turning a stage
// file's texts into a source. The source is encoded again by the builder,
// so a text only counts as decoded when it encodes back to the same bytes.
#pragma once

#include <cstddef>
#include <string>

struct Cp932Decoded {
    bool ok = false;
    std::string utf8;       // the text when ok
    std::size_t offset = 0; // 0-based byte offset of the first byte that failed
    std::string problem;
};

// Fails at bytes that are no CP932 character and at characters that CP932
// encodes differently from how the text holds them (the duplicated codes of
// the NEC and IBM extensions), never substituting.
Cp932Decoded decodeCp932(const std::string& bytes);
