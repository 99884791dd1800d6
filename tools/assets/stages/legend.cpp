#include "stages/legend.h"

#include "stages/stage_source.h"
#include "stages/text_values.h"

#include <utility>

namespace stages {

namespace {

constexpr int DEFAULT_ENEMY_COUNT = 14;

Legend makeDefaultLegend() {
    // clang-format off
    const std::pair<char, int> objects[] = {
        {'#', 49}, {'=', 51}, {'[', 48}, {']', 50}, {'A', 1},   {'X', 2},  {'o', 3},  {'O', 63},
        {'J', 4},  {'H', 5},  {'|', 6},  {'7', 7},  {'8', 8},   {'1', 9},  {'^', 10}, {'v', 11},
        {'<', 12}, {'>', 13}, {'D', 14}, {'+', 15}, {'I', 16},  {'T', 17}, {'t', 18}, {'Y', 19},
        {'y', 20}, {'K', 21}, {'R', 22}, {'r', 23}, {'G', 24},  {'p', 26}, {'Z', 27}, {'F', 28},
        {'P', 29}, {'q', 30}, {'U', 31}, {'?', 33}, {'u', 34},  {'B', 35}, {'C', 36}, {'S', 37},
        {'M', 38}, {'V', 39}, {'L', 40}, {'E', 41}, {'z', 42},  {'-', 43}, {'!', 44}, {'Q', 46},
        {'*', 47}, {'{', 61}, {'}', 62}, {'%', 54}, {'&', 56},  {'@', 59}, {'$', 124},
    };
    // clang-format on
    Legend legend;
    for (const auto& [c, kind] : objects)
        legend[c] = LegendCell{false, kind};
    for (int kind = 0; kind < DEFAULT_ENEMY_COUNT; ++kind)
        legend[char('a' + kind)] = LegendCell{true, kind};
    return legend;
}

// ':' would make a map row look like a key line.
bool canBeDefined(char c) {
    return c > ' ' && c < 0x7F && !isEmptyCell(c) && c != ':';
}

} // namespace

const Legend& defaultLegend() {
    static const Legend legend = makeDefaultLegend();
    return legend;
}

bool isEmptyCell(char c) {
    return c == '.' || c == ' ';
}

bool parseLegendEntries(std::string_view text, Legend& legend, std::string& problem) {
    Legend added;
    size_t at = 0;
    while (at < text.size()) {
        if (isBlank(text[at])) {
            ++at;
            continue;
        }
        size_t end = at;
        while (end < text.size() && !isBlank(text[end]))
            ++end;
        const std::string_view entry = text.substr(at, end - at);
        at = end;

        if (entry.size() < 3 || entry[1] != '=') {
            problem = "legend entry '" + std::string(entry) +
                      "' is not 'c=K' (object kind) or 'c=eK' (enemy kind)";
            return false;
        }
        const char c = entry[0];
        if (!canBeDefined(c)) {
            problem = "legend character " + describeCharacter(c) +
                      " cannot be defined (use a printable ASCII character other than '.' and "
                      "':')";
            return false;
        }
        const bool enemy = entry[2] == 'e';
        const std::string_view number = entry.substr(enemy ? 3 : 2);
        const std::optional<int> kind = parseWholeNumber(number);
        const int lowest = enemy ? 0 : LOWEST_OBJECT_KIND;
        const int highest = MAX_KIND;
        if (!kind) {
            problem = "legend entry '" + std::string(entry) + "': '" + std::string(number) +
                      "' is not a number";
            return false;
        }
        if (*kind < lowest || *kind > highest) {
            problem = "legend entry '" + std::string(entry) + "': " + (enemy ? "enemy" : "object") +
                      " kind must be " + std::to_string(lowest) + ".." + std::to_string(highest);
            return false;
        }
        if (added.count(c) || legend.count(c)) {
            problem = "legend character " + describeCharacter(c) + " is given twice";
            return false;
        }
        added[c] = LegendCell{enemy, *kind};
    }
    legend.merge(added);
    return true;
}

} // namespace stages
