// Conversion between the game's Shift-JIS byte strings (Windows code page 932,
// which has the characters Windows writes, such as 髙 and ～) and UTF-8.
#pragma once

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
