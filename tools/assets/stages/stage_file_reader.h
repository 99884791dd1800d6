// Reading a stage file (stage/<name>.vtg) as the editor writes it, keeping
// the line of every value so that what cannot go back into a map can be
// reported where it stands. Texts stay in their Shift-JIS bytes.
#pragma once

#include "common/diagnostics.h"
#include "stages/stage_file.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stages {

constexpr int COMMENT_LINE = 1;
constexpr int AUTHOR_LINE = 2;
constexpr int CLEAR_LINE = 3;
constexpr int LIVES_LINE = 4;
constexpr int DIFFICULTY_LINE = 5;

struct ReadRecord {
    FileRecord record;
    int line = 0; // of its x
};

struct ReadStage {
    int line = 0; // of its "stage_begin"; the music follows on the next line
    std::string music;
    int32_t background = 0; // as read, on line + 2
    std::vector<ReadRecord> objects;
    std::vector<ReadRecord> enemies;
};

struct ReadStageFile {
    std::string comment;
    std::string author;
    std::string clearMessage;
    int32_t startingLives = 0; // as read: ranges are the importer's to judge
    int32_t difficulty = 0;
    std::vector<ReadStage> stages;
    int endLine = 0; // of "end;"
};

// The whole file, line ends CR LF or LF. Nothing, with one error in
// diagnostics, at a line that is not what the file holds there: a number
// that is not one, a block that does not start with "stage_begin", a file
// that ends before its "end;" (a cut-off copy would otherwise lose stages
// silently), or text after it.
std::optional<ReadStageFile> readStageFileText(std::string_view bytes, Diagnostics& diagnostics);

} // namespace stages
