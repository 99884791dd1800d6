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
