#include "stages/legend.h"

#include "formats/map_legend.h"
#include "stages/stage_source.h"
#include "stages/text_values.h"

namespace stages {

namespace {

Legend makeDefaultLegend() {
    Legend legend;
    forEachDefaultMapCell([&legend](char c, const MapLegendCell& cell) {
        legend[c] = LegendCell{cell.enemy, cell.kind};
    });
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
