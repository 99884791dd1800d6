#include "pictures/palette_file.h"

#include "pictures/text_lines.h"

#include <array>
#include <cctype>

namespace {

bool isIdentifier(std::string_view name) {
    if (name.empty()) return false;
    for (char c : name) {
        if (!(std::islower(static_cast<unsigned char>(c)) ||
              std::isdigit(static_cast<unsigned char>(c)) || c == '_'))
            return false;
    }
    return true;
}

std::optional<Rgb> parseHexColour(std::string_view word) {
    if (word.size() != 6) return std::nullopt;
    uint8_t channels[3];
    for (int i = 0; i < 3; ++i) {
        int value = 0;
        for (int k = 0; k < 2; ++k) {
            const char c =
                static_cast<char>(std::toupper(static_cast<unsigned char>(word[i * 2 + k])));
            int digit;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            else
                return std::nullopt;
            value = value * 16 + digit;
        }
        channels[i] = static_cast<uint8_t>(value);
    }
    return Rgb{channels[0], channels[1], channels[2]};
}

} // namespace

bool parsePaletteText(const std::string& text, const std::string& fileName, NamedPalette& palette,
                      std::vector<std::string>& errors) {
    const size_t errorsBefore = errors.size();
    std::array<int, 256> definedAtLine{};
    palette = NamedPalette{};
    const auto lines = splitLines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        const int lineNumber = static_cast<int>(i) + 1;
        const std::string_view line = lines[i];
        if (isBlank(line) || line.find_first_not_of(" \t") == line.find('#')) continue;
        const auto words = splitWords(line);
        auto fail = [&](const std::string& message) {
            errors.push_back(locate(fileName, lineNumber, message));
        };
        if (words.size() != 3) {
            fail("expected '<index> <name> <RRGGBB>'");
            continue;
        }
        const auto index = parseInteger(words[0]);
        if (!index || *index < 0 || *index > 255) {
            fail("index must be 0..255, got '" + std::string(words[0]) + "'");
            continue;
        }
        if (!isIdentifier(words[1])) {
            fail("name '" + std::string(words[1]) + "' must be made of a-z, 0-9 and _");
            continue;
        }
        const auto colour = parseHexColour(words[2]);
        if (!colour) {
            fail("colour '" + std::string(words[2]) + "' must be six hex digits RRGGBB");
            continue;
        }
        if (definedAtLine[*index] != 0) {
            fail("index " + std::to_string(*index) + " already defined at line " +
                 std::to_string(definedAtLine[*index]));
            continue;
        }
        const std::string name(words[1]);
        if (palette.indexByName.count(name) != 0) {
            fail("name '" + name + "' already used by index " +
                 std::to_string(palette.indexByName[name]));
            continue;
        }
        definedAtLine[*index] = lineNumber;
        palette.colours[*index] = *colour;
        palette.indexByName[name] = static_cast<uint8_t>(*index);
    }
    for (int index = 0; index < 256; ++index) {
        if (definedAtLine[index] == 0)
            errors.push_back(fileName + ": index " + std::to_string(index) + " is missing");
    }
    if (errors.size() == errorsBefore && palette.colours[0] != Rgb{0, 0, 0})
        errors.push_back(fileName + ": index 0 must be black 000000 (the transparent key)");
    return errors.size() == errorsBefore;
}
