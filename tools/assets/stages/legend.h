// What each character of a stage map places: the default legend and the
// "c=K" / "c=eK" entries that override it.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace stages {

struct LegendCell {
    bool enemy = false;
    int kind = 0; // object kind 1..255 or enemy kind 0..255

    bool operator==(const LegendCell&) const = default;
};

using Legend = std::map<char, LegendCell>;

// Objects by their look, enemies 'a'..'n' as kinds 0..13.
const Legend& defaultLegend();

// '.' and ' ' are the empty cell.
bool isEmptyCell(char c);

// Adds the blank-separated entries of text to the entries of one scope (the
// file's or a stage's). False, with what is wrong in problem and the entries
// unchanged, at a bad entry or at a character the scope already defines.
bool parseLegendEntries(std::string_view text, Legend& legend, std::string& problem);

} // namespace stages
