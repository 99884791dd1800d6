// Writing a stage source (the text the builder reads) from values already
// checked to fit it: texts in UTF-8 on one line, maps as rows of characters.
#pragma once

#include "stages/legend.h"
#include "stages/stage_layout.h"

#include <string>
#include <vector>

namespace stages {

struct ImportedStage {
    std::string name; // "1-1"
    std::string music;
    int background = 0;
    Legend legend;                 // this stage's own entries
    std::vector<std::string> rows; // from the top; the last is the stage's lowest row
};

struct ImportedSource {
    std::string origin; // the file it came from, for the heading comment
    std::string comment;
    std::string author;
    std::string clearMessage;
    int startingLives = 0;
    int difficulty = 0;
    Legend legend; // the file's entries
    std::vector<ImportedStage> stages;
};

// The rows of a map placing the layout's cells with the characters the
// legends give. Empty rows at the top are left out (a map stands on the
// bottom of the stage); an empty row below the first is written as ".".
std::vector<std::string> mapRows(const StageLayout& layout, const Legend& file,
                                 const Legend& stage);

std::string writeSourceText(const ImportedSource& source);

} // namespace stages
