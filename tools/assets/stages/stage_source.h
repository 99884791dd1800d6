// Reading a stage source (assets/stages/<name>.stages): header keys, then
// stages, each with its keys and a text map whose characters a legend turns
// into objects and enemies. The map is resolved to cells here; pixel
// positions need the enemy definitions and are the assembler's job.
#pragma once

#include "common/diagnostics.h"
#include "formats/stage_file_limits.h"

#include <string>
#include <string_view>
#include <vector>

namespace stages {

constexpr int MAP_ROWS = 16;
constexpr int MAX_STAGES = STAGE_FILE_STAGES; // the editor keeps no more
constexpr int MAX_OBJECTS = STAGE_FILE_OBJECTS;
constexpr int MAX_ENEMIES = STAGE_FILE_ENEMIES;
constexpr int GOAL_KIND = 24;
constexpr int CELL_SIZE = 16;
constexpr int MAX_KIND = 255;         // kinds are kept in one byte
constexpr int LOWEST_OBJECT_KIND = 1; // 0 is the game's removed object
constexpr int MAX_RECORD_Y = 255;     // the editor drops any record below that when it saves
constexpr int MAX_LIVES = 20;
constexpr int MAX_DIFFICULTY = 4;

// A value with the line that gave it (0 for a default), for messages.
struct SourceText {
    std::string text;
    int line = 0;
};

struct CellPlacement {
    int column = 0;
    int row = 0; // 0..15, the last map row being 15
    int kind = 0;
    char symbol = 0;
    int line = 0;
};

struct SourceStage {
    std::string name;
    int line = 0; // of its "stage:"
    SourceText music{"def.mid"};
    int background = 0;
    std::vector<CellPlacement> objects; // in map order: rows from the top, left to right
    std::vector<CellPlacement> enemies;
};

struct StageSource {
    SourceText comment{"(No comment)"};
    SourceText author{"(Unknown)"};
    SourceText clearMessage{"Congratulations!"};
    int startingLives = 4;
    int difficulty = 0;
    std::vector<SourceStage> stages;
};

// Reports every mistake it finds to diagnostics; the result is only usable
// when there were none.
StageSource parseStageSource(std::string_view text, Diagnostics& diagnostics);

} // namespace stages
