// The default legend of the text maps that stage sources and test maps are
// drawn in: which character places which map object, and the enemies 'a'..'n'
// as kinds 0..13. '.' and ' ' are empty cells.
#pragma once

#include <optional>

struct MapLegendCell {
    bool enemy = false;
    int kind = 0; // object kind 1..255 or enemy kind 0..255

    bool operator==(const MapLegendCell&) const = default;
};

// What the character places by default; nothing for an empty or unknown one.
std::optional<MapLegendCell> defaultMapCell(char c);

// Calls visit(c, cell) for every character the default legend defines.
template <typename Visit> void forEachDefaultMapCell(Visit visit) {
    for (int c = 0; c < 128; ++c)
        if (const auto cell = defaultMapCell(char(c))) visit(char(c), *cell);
}
