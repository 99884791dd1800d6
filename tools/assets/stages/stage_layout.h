// Putting a stage file's records back on map cells: the reverse of what the
// assembler does, with every record that no map cell can give reported.
#pragma once

#include "common/diagnostics.h"
#include "stages/enemy_heights.h"
#include "stages/stage_file_reader.h"

#include <optional>
#include <string>
#include <vector>

namespace stages {

// Map rows are text: past this many columns (a stage over a million pixels
// wide) a record is taken for damage rather than written as a row that long.
constexpr int MAX_IMPORT_COLUMNS = 65536;

struct PlacedCell {
    int column = 0;
    int row = 0; // 0..15 from the top
    bool enemy = false;
    int kind = 0;
    FileRecord record; // as the file held it
};

// A stage's cells in map order (rows from the top, left to right), objects
// and enemies apart, as the builder lists them.
struct StageLayout {
    std::vector<PlacedCell> objects;
    std::vector<PlacedCell> enemies;
    bool reordered = false; // the file listed its records in another order
};

// label names the stage in messages ("stage 1-2"). Nothing when diagnostics
// received an error: a position off the cells or outside the stage, two
// records in one cell, an enemy kind without a definition, a kind or a count
// the source cannot hold, or no goal.
std::optional<StageLayout> layOutStage(const ReadStage& stage, const std::string& label,
                                       EnemyHeights& heights, Diagnostics& diagnostics);

} // namespace stages
