// Small text helpers shared by the picture source readers.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Splits text into lines, dropping the '\n' and a trailing '\r'.
std::vector<std::string> splitLines(std::string_view text);

// Whitespace-separated words of a line.
std::vector<std::string_view> splitWords(std::string_view line);

// The whole word as a decimal integer, or nothing.
std::optional<int> parseInteger(std::string_view word);

bool isBlank(std::string_view line);

// "file:line: message"
std::string locate(const std::string& file, int line, const std::string& message);
