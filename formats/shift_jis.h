// Conversion between Shift-JIS byte strings (Windows code page 932, which has
// the characters Windows writes, such as 髙 and ～) and UTF-8: lenient for
// the game, which shows whatever a file holds, and strict for the asset
// builder, which must write back exactly the bytes it read.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Bytes that are not valid CP932 become U+FFFD; a truncated double-byte
// character at the end becomes U+FFFD too.
std::string sjisToUtf8(std::string_view sjis);

// Characters CP932 cannot hold, and malformed UTF-8, become "?", as Windows
// writes its default character.
std::string utf8ToSjis(std::string_view utf8);

// Whether the byte begins a double-byte character.
bool isShiftJisLeadByte(unsigned char byte);

// The longest start of the text within limit bytes that does not end in the
// middle of a double-byte character.
size_t shiftJisCut(std::string_view text, size_t limit);

// --- Strict: never substitutes, says where it stopped ---

struct Cp932Result {
    bool ok = false;
    std::string bytes;      // the encoded text when ok
    std::size_t column = 0; // 1-based character column of the first offending character
    std::string problem;    // what is wrong with it, for a file:line:column message
};

// Encodes one line of UTF-8. Fails on malformed UTF-8 and on characters that
// code page 932 has no code for; never substitutes.
Cp932Result encodeCp932(const std::string& utf8);

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
