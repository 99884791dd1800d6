// Small text helpers shared by the stage source readers.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stages {

bool isBlank(char c);
std::string_view trimBlanks(std::string_view text);

// The whole text as a decimal integer without sign or blanks, or nothing;
// numbers too large for an int are nothing too.
std::optional<int> parseWholeNumber(std::string_view text);

// The text's lines, split at LF with a CR before it dropped; a last line
// without its end is a line too.
std::vector<std::string_view> splitLines(std::string_view text);

// A character for a message: 'x' when printable ASCII, otherwise its byte value.
std::string describeCharacter(char c);

} // namespace stages
