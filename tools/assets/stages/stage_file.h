// The stage file the game and the editor read (stage/<name>.vtg): five
// header lines, a block per stage, then "end;". Every line ends with CR LF
// but the last, "end;", which has none.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace stages {

struct FileRecord {
    int32_t x = 0;
    int32_t y = 0; // objects: the cell's top; enemies: the picture's bottom
    int kind = 0;
};

struct FileStage {
    std::string music; // CP932
    int background = 0;
    std::vector<FileRecord> objects;
    std::vector<FileRecord> enemies;
};

struct StageFile {
    std::string comment; // the texts in CP932, each on one line
    std::string author;
    std::string clearMessage;
    int startingLives = 0;
    int difficulty = 0;
    std::vector<FileStage> stages;
};

std::string stageFileBytes(const StageFile& file);

} // namespace stages
