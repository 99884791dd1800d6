#include "stages/source_texts.h"

#include "formats/shift_jis.h"
#include "stages/text_values.h"

#include <string_view>
#include <system_error>

namespace fs = std::filesystem;

namespace stages {

namespace {

constexpr std::string_view NO_MUSIC = "null";
constexpr std::string_view MUSIC_SUFFIX = ".mid";

// The rule by which a source line's value loses a trailing comment.
bool hasLoneHash(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == '#' && (i == 0 || isBlank(text[i - 1])) &&
            (i + 1 == text.size() || isBlank(text[i + 1])))
            return true;
    return false;
}

} // namespace

std::optional<std::string> sourceTextOf(const std::string& bytes, const std::string& what,
                                        std::size_t limit, int line, Diagnostics& diagnostics) {
    if (bytes.size() > limit) {
        diagnostics.error(line, what + " is " + std::to_string(bytes.size()) +
                                    " bytes; the readers keep " + std::to_string(limit));
        return std::nullopt;
    }
    // No Shift-JIS trail byte is a control code, so the bytes can be looked
    // at one by one.
    for (size_t i = 0; i < bytes.size(); ++i)
        if (static_cast<unsigned char>(bytes[i]) < 0x20 || bytes[i] == 0x7F) {
            diagnostics.error(line, what + ", byte " + std::to_string(i + 1) +
                                        ": a control character (" + describeCharacter(bytes[i]) +
                                        "), which a source line cannot carry");
            return std::nullopt;
        }
    const Cp932Decoded decoded = decodeCp932(bytes);
    if (!decoded.ok) {
        diagnostics.error(line, what + ", byte " + std::to_string(decoded.offset + 1) + ": " +
                                    decoded.problem);
        return std::nullopt;
    }
    const std::string& text = decoded.utf8;
    if (trimBlanks(text).size() != text.size()) {
        diagnostics.error(line, what + " starts or ends with a blank, which a source value drops");
        return std::nullopt;
    }
    if (hasLoneHash(text)) {
        diagnostics.error(line, what + " holds a '#' between blanks, which a source line reads "
                                       "as the start of a comment");
        return std::nullopt;
    }
    return text;
}

bool checkImportedMusic(const std::string& music, const fs::path& musicDir, int line,
                        const std::string& label, Diagnostics& diagnostics) {
    if (music == NO_MUSIC) return true;
    const bool shaped = music.size() > MUSIC_SUFFIX.size() && music.ends_with(MUSIC_SUFFIX) &&
                        music.find_first_of("/\\") == std::string::npos;
    if (!shaped) {
        diagnostics.error(line, label + ": music '" + music + "' is neither '<tune>" +
                                    std::string(MUSIC_SUFFIX) + "' nor " + std::string(NO_MUSIC));
        return false;
    }
    const fs::path tune =
        musicDir / (music.substr(0, music.size() - MUSIC_SUFFIX.size()) + ".tune");
    std::error_code error;
    if (fs::is_regular_file(tune, error)) return true;
    diagnostics.error(line, label + ": music '" + music + "': there is no tune " + tune.string() +
                                " to build it from");
    return false;
}

} // namespace stages
