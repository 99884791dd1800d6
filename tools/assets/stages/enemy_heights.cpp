#include "stages/enemy_heights.h"

#include "common/file_io.h"
#include "stages/text_values.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string_view>
#include <utility>

namespace stages {

namespace {

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

// The value of section/key as a profile reader finds it: names in any case,
// the first occurrence wins, ';' lines are comments.
std::optional<std::string_view> profileValue(std::string_view text, std::string_view section,
                                             std::string_view key) {
    bool inSection = false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (line.ends_with('\r')) line.remove_suffix(1);
        line = trimBlanks(line);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            const size_t close = line.find(']');
            inSection = close != std::string_view::npos &&
                        sameName(trimBlanks(line.substr(1, close - 1)), section);
            continue;
        }
        const size_t equals = line.find('=');
        if (inSection && equals != std::string_view::npos &&
            sameName(trimBlanks(line.substr(0, equals)), key))
            return trimBlanks(line.substr(equals + 1));
    }
    return std::nullopt;
}

} // namespace

std::optional<int> enemyPictureHeight(const std::string& definition, std::string& problem) {
    const std::optional<std::string_view> size = profileValue(definition, "GENERAL", "SIZE");
    if (!size) {
        problem = "[GENERAL] SIZE is missing";
        return std::nullopt;
    }
    const size_t comma = size->find(',');
    const std::optional<int> width = comma == std::string_view::npos
                                         ? std::nullopt
                                         : parseWholeNumber(trimBlanks(size->substr(0, comma)));
    const std::optional<int> height = comma == std::string_view::npos
                                          ? std::nullopt
                                          : parseWholeNumber(trimBlanks(size->substr(comma + 1)));
    if (!width || !height || *width <= 0 || *height <= 0) {
        problem = "[GENERAL] SIZE=" + std::string(*size) + " is not 'width,height'";
        return std::nullopt;
    }
    return height;
}

std::string enemyDefinitionName(int kind) {
    char name[32];
    std::snprintf(name, sizeof name, "e%.2d.dat", kind);
    return name;
}

std::optional<int> EnemyHeights::heightOf(int kind, std::string& problem) {
    auto found = entries_.find(kind);
    if (found == entries_.end()) {
        Entry entry;
        const std::filesystem::path path = datDir_ / enemyDefinitionName(kind);
        if (const std::optional<std::string> text = readFileText(path.string())) {
            std::string what;
            entry.height = enemyPictureHeight(*text, what);
            if (!entry.height) entry.problem = path.string() + ": " + what;
        } else {
            entry.problem = "no enemy definition " + path.string();
        }
        found = entries_.emplace(kind, std::move(entry)).first;
    }
    problem = found->second.problem;
    return found->second.height;
}

} // namespace stages
