// Draws a sheet from its text sources (the format is described in
// assets/pictures/README.md): sheet, legend/end, art, fill, copy.
#pragma once

#include "common/indexed_image.h"
#include "pictures/palette_file.h"

#include <string>
#include <vector>

struct SheetSource {
    std::string fileName; // for messages
    std::string text;
};

struct BuiltSheet {
    std::string bmpName; // from the "sheet" directive
    IndexedImage image;
};

// Applies the sources in the given order onto one sheet that starts all index 0.
// Every problem is appended to errors as "file:line: message"; returns false if any.
bool drawSheet(const std::vector<SheetSource>& sources, const NamedPalette& palette,
               BuiltSheet& sheet, std::vector<std::string>& errors);
