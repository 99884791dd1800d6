#include "formats/map_legend.h"

namespace {

constexpr int DEFAULT_ENEMY_COUNT = 14;

// clang-format off
constexpr struct { char c; int kind; } OBJECTS[] = {
    {'#', 49}, {'=', 51}, {'[', 48}, {']', 50}, {'A', 1},   {'X', 2},  {'o', 3},  {'O', 63},
    {'J', 4},  {'H', 5},  {'|', 6},  {'7', 7},  {'8', 8},   {'1', 9},  {'^', 10}, {'v', 11},
    {'<', 12}, {'>', 13}, {'D', 14}, {'+', 15}, {'I', 16},  {'T', 17}, {'t', 18}, {'Y', 19},
    {'y', 20}, {'K', 21}, {'R', 22}, {'r', 23}, {'G', 24},  {'p', 26}, {'Z', 27}, {'F', 28},
    {'P', 29}, {'q', 30}, {'U', 31}, {'?', 33}, {'u', 34},  {'B', 35}, {'C', 36}, {'S', 37},
    {'M', 38}, {'V', 39}, {'L', 40}, {'E', 41}, {'z', 42},  {'-', 43}, {'!', 44}, {'Q', 46},
    {'*', 47}, {'{', 61}, {'}', 62}, {'%', 54}, {'&', 56},  {'@', 59}, {'$', 124},
};
// clang-format on

} // namespace

std::optional<MapLegendCell> defaultMapCell(char c) {
    if (c >= 'a' && c < 'a' + DEFAULT_ENEMY_COUNT) return MapLegendCell{true, c - 'a'};
    for (const auto& object : OBJECTS)
        if (object.c == c) return MapLegendCell{false, object.kind};
    return std::nullopt;
}
