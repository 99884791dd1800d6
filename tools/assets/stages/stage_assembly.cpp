#include "stages/stage_assembly.h"

#include "formats/shift_jis.h"
#include "stages/enemy_heights.h"
#include "stages/text_values.h"

#include <cstdint>
#include <set>
#include <string_view>

namespace fs = std::filesystem;

namespace stages {

namespace {

// The readers keep a line in 1024 bytes (256 for the music) with its line
// end and a terminator.
constexpr size_t TEXT_BYTES = 1022;
constexpr size_t MUSIC_BYTES = 254;
constexpr std::string_view NO_MUSIC = "null";
constexpr std::string_view MUSIC_SUFFIX = ".mid";

std::string encodeLine(const SourceText& text, const std::string& what, size_t limit,
                       int fallbackLine, Diagnostics& diagnostics) {
    const int line = text.line != 0 ? text.line : fallbackLine;
    for (const char c : text.text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            diagnostics.error(line, what + " holds a control character (" + describeCharacter(c) +
                                        "), which a line of the file cannot carry");
            return {};
        }
    const Cp932Result encoded = encodeCp932(text.text);
    if (!encoded.ok) {
        diagnostics.error(line, what + ", character " + std::to_string(encoded.column) + ": " +
                                    encoded.problem);
        return {};
    }
    if (encoded.bytes.size() > limit)
        diagnostics.error(line, what + " is " + std::to_string(encoded.bytes.size()) +
                                    " bytes in Shift-JIS; the readers keep " +
                                    std::to_string(limit));
    return encoded.bytes;
}

// The game plays bgm/<name>, which the music builder makes from <base>.tune.
void checkMusic(const SourceStage& stage, const fs::path& musicDir, Diagnostics& diagnostics) {
    const std::string& name = stage.music.text;
    const int line = stage.music.line != 0 ? stage.music.line : stage.line;
    if (name == NO_MUSIC) return;
    const bool shaped = name.size() > MUSIC_SUFFIX.size() && name.ends_with(MUSIC_SUFFIX) &&
                        name.find_first_of("/\\") == std::string::npos;
    if (!shaped) {
        diagnostics.error(line, "music '" + name + "' is neither '<tune>" +
                                    std::string(MUSIC_SUFFIX) + "' nor " + std::string(NO_MUSIC));
        return;
    }
    const std::string base = name.substr(0, name.size() - MUSIC_SUFFIX.size());
    const fs::path tune = musicDir / (base + ".tune");
    std::error_code error;
    if (!fs::is_regular_file(tune, error))
        diagnostics.error(line, "music '" + name + "': there is no tune " + tune.string());
}

FileRecord objectRecord(const CellPlacement& cell) {
    return {cell.column * CELL_SIZE, cell.row * CELL_SIZE, cell.kind};
}

// A kind without a usable definition is reported where it is first used.
void placeEnemies(const SourceStage& stage, EnemyHeights& heights, std::set<int>& reportedKinds,
                  FileStage& out, Diagnostics& diagnostics) {
    for (const CellPlacement& cell : stage.enemies) {
        std::string problem;
        const std::optional<int> height = heights.heightOf(cell.kind, problem);
        if (!height) {
            if (reportedKinds.insert(cell.kind).second)
                diagnostics.error(cell.line, "enemy " + describeCharacter(cell.symbol) + " (kind " +
                                                 std::to_string(cell.kind) + "): " + problem);
            continue;
        }
        // A definition may give any height: the sum is made where it cannot overflow.
        const int64_t y = int64_t(cell.row) * CELL_SIZE + *height;
        if (y > MAX_RECORD_Y) {
            diagnostics.error(
                cell.line, "enemy " + describeCharacter(cell.symbol) + " (kind " +
                               std::to_string(cell.kind) + ", " + std::to_string(*height) +
                               " pixels high) in row " + std::to_string(cell.row + 1) +
                               " of 16 would stand at y " + std::to_string(y) + ", below the 0.." +
                               std::to_string(MAX_RECORD_Y) + " the editor keeps; place it higher");
            continue;
        }
        out.enemies.push_back({cell.column * CELL_SIZE, int32_t(y), cell.kind});
    }
}

} // namespace

std::optional<StageFile> assembleStageFile(const StageSource& source, const fs::path& assetsDir,
                                           Diagnostics& diagnostics) {
    StageFile file;
    file.comment = encodeLine(source.comment, "comment", TEXT_BYTES, 1, diagnostics);
    file.author = encodeLine(source.author, "author", TEXT_BYTES, 1, diagnostics);
    file.clearMessage = encodeLine(source.clearMessage, "clear", TEXT_BYTES, 1, diagnostics);
    file.startingLives = source.startingLives;
    file.difficulty = source.difficulty;

    EnemyHeights heights(assetsDir / "dat");
    std::set<int> reportedKinds;
    for (const SourceStage& stage : source.stages) {
        FileStage out;
        checkMusic(stage, assetsDir / "music", diagnostics);
        out.music = encodeLine(stage.music, "music", MUSIC_BYTES, stage.line, diagnostics);
        out.background = stage.background;
        for (const CellPlacement& cell : stage.objects)
            out.objects.push_back(objectRecord(cell));
        placeEnemies(stage, heights, reportedKinds, out, diagnostics);
        file.stages.push_back(std::move(out));
    }
    if (diagnostics.hasErrors()) return std::nullopt;
    return file;
}

} // namespace stages
