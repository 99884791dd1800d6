// A stage file's texts as source values: the UTF-8 that the builder turns
// back into the same Shift-JIS bytes on the same one line.
#pragma once

#include "common/diagnostics.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace stages {

// The readers keep a line in 1024 bytes (256 for the music) with its line
// end and a terminator.
constexpr std::size_t TEXT_LIMIT = 1022;
constexpr std::size_t MUSIC_LIMIT = 254;

// what names the text in messages ("comment"). Nothing, with the reason at
// line, when the source cannot carry it exactly: longer than limit, a
// control character, bytes that are no Shift-JIS or would be encoded back
// differently, blanks at either end (a source value is trimmed), or a '#'
// standing alone (it starts a comment in a source line).
std::optional<std::string> sourceTextOf(const std::string& bytes, const std::string& what,
                                        std::size_t limit, int line, Diagnostics& diagnostics);

// False, with the reason at line, when the builder would refuse the music:
// neither "null" nor "<tune>.mid" with its tune in musicDir.
bool checkImportedMusic(const std::string& music, const std::filesystem::path& musicDir, int line,
                        const std::string& label, Diagnostics& diagnostics);

} // namespace stages
