// The game palette's source: "<index> <name> <RRGGBB>" per line, every index
// 0..255 exactly once, names unique.
#pragma once

#include "common/indexed_image.h"

#include <map>
#include <string>
#include <vector>

struct NamedPalette {
    Palette colours{};
    std::map<std::string, uint8_t, std::less<>> indexByName;
};

// Appends "file:line: ..." messages to errors and returns false when the text is not a
// complete palette.
bool parsePaletteText(const std::string& text, const std::string& fileName, NamedPalette& palette,
                      std::vector<std::string>& errors);
