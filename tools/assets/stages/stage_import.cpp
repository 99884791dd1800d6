#include "stages/stage_import.h"

#include "common/diagnostics.h"
#include "common/file_io.h"
#include "stages/enemy_heights.h"
#include "stages/legend_choice.h"
#include "stages/source_texts.h"
#include "stages/source_writer.h"
#include "stages/stage_assembly.h"
#include "stages/stage_file_reader.h"
#include "stages/stage_layout.h"
#include "stages/stage_source.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace stages {

namespace {

constexpr int STAGES_PER_WORLD = 4;

// "1-1" for the first stage: worlds of four, as the game counts them.
std::string stageName(size_t index) {
    return std::to_string(index / STAGES_PER_WORLD + 1) + "-" +
           std::to_string(index % STAGES_PER_WORLD + 1);
}

// The file's name for the heading comment, kept to one line.
std::string originName(const std::string& path) {
    std::string name = fs::path(path).filename().string();
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    return name;
}

void checkRange(int32_t value, int highest, const char* what, int line, Diagnostics& diagnostics) {
    if (value < 0 || value > highest)
        diagnostics.error(line, std::string(what) + " is " + std::to_string(value) +
                                    "; a source keeps 0.." + std::to_string(highest));
}

struct Imported {
    ImportedSource source;
    StageFile expected; // the file again, records in map order
    std::vector<std::string> reordered;
};

// Everything of the file a source can hold, or nothing with every reason
// reported.
std::optional<Imported> importContents(const ReadStageFile& file, const fs::path& assetsDir,
                                       Diagnostics& diagnostics) {
    Imported imported;
    ImportedSource& source = imported.source;
    const auto text = [&](const std::string& bytes, const char* what, size_t limit, int line) {
        return sourceTextOf(bytes, what, limit, line, diagnostics).value_or("");
    };
    source.comment = text(file.comment, "comment", TEXT_LIMIT, COMMENT_LINE);
    source.author = text(file.author, "author", TEXT_LIMIT, AUTHOR_LINE);
    source.clearMessage = text(file.clearMessage, "clear message", TEXT_LIMIT, CLEAR_LINE);
    checkRange(file.startingLives, MAX_LIVES, "the starting lives", LIVES_LINE, diagnostics);
    checkRange(file.difficulty, MAX_DIFFICULTY, "the difficulty", DIFFICULTY_LINE, diagnostics);
    source.startingLives = file.startingLives;
    source.difficulty = file.difficulty;
    imported.expected = {file.comment,       file.author,     file.clearMessage,
                         file.startingLives, file.difficulty, {}};

    if (file.stages.empty())
        diagnostics.error(file.endLine, "the file holds no stage; a source needs at least one");
    if (file.stages.size() > size_t(MAX_STAGES))
        diagnostics.error(file.stages[MAX_STAGES].line, "stage " + std::to_string(MAX_STAGES + 1) +
                                                            ": a source holds at most " +
                                                            std::to_string(MAX_STAGES) + " stages");

    EnemyHeights heights(assetsDir / "dat");
    std::vector<StageLayout> layouts;
    for (size_t i = 0; i < file.stages.size() && i < size_t(MAX_STAGES); ++i) {
        const ReadStage& read = file.stages[i];
        const std::string label = "stage " + stageName(i);
        ImportedStage& stage = source.stages.emplace_back();
        stage.name = stageName(i);
        const std::optional<std::string> music =
            sourceTextOf(read.music, label + ": music", MUSIC_LIMIT, read.line + 1, diagnostics);
        if (music &&
            checkImportedMusic(*music, assetsDir / "music", read.line + 1, label, diagnostics))
            stage.music = *music;
        if (read.background != 0 && read.background != 1)
            diagnostics.error(read.line + 2, label + ": background " +
                                                 std::to_string(read.background) +
                                                 " is neither 0 (day) nor 1 (night)");
        stage.background = read.background;
        if (std::optional<StageLayout> layout = layOutStage(read, label, heights, diagnostics)) {
            if (layout->reordered) imported.reordered.push_back(stage.name);
            layouts.push_back(std::move(*layout));
        }
    }
    if (diagnostics.hasErrors()) return std::nullopt;

    std::vector<KindSet> kinds;
    for (const StageLayout& layout : layouts) {
        KindSet& used = kinds.emplace_back();
        for (const auto* cells : {&layout.objects, &layout.enemies})
            for (const PlacedCell& cell : *cells)
                used.insert(KindKey(cell.enemy, cell.kind));
    }
    size_t failedStage = 0;
    const std::optional<LegendChoice> legends = chooseLegends(kinds, failedStage);
    if (!legends) {
        diagnostics.error(file.stages[failedStage].line,
                          "stage " + stageName(failedStage) + " uses " +
                              std::to_string(kinds[failedStage].size()) +
                              " different kinds, more than a map has characters for");
        return std::nullopt;
    }
    source.legend = legends->file;
    for (size_t i = 0; i < layouts.size(); ++i) {
        ImportedStage& stage = source.stages[i];
        stage.legend = legends->stages[i];
        stage.rows = mapRows(layouts[i], source.legend, stage.legend);

        FileStage& expected = imported.expected.stages.emplace_back();
        expected.music = file.stages[i].music;
        expected.background = stage.background;
        for (const PlacedCell& cell : layouts[i].objects)
            expected.objects.push_back(cell.record);
        for (const PlacedCell& cell : layouts[i].enemies)
            expected.enemies.push_back(cell.record);
    }
    return imported;
}

// The builder's own reading of the written source must give the file back:
// what this command promises, checked rather than assumed.
bool buildsBack(const std::string& sourceText, const StageFile& expected, const fs::path& assetsDir,
                const std::string& sourceFile, const std::string& stageFile) {
    Diagnostics built(sourceFile);
    const StageSource parsed = parseStageSource(sourceText, built);
    std::optional<StageFile> file;
    if (!built.hasErrors()) file = assembleStageFile(parsed, assetsDir, built);
    if (file && stageFileBytes(*file) == stageFileBytes(expected)) return true;
    std::fprintf(stderr, "%s: the source made from it would not build back into it\n",
                 stageFile.c_str());
    for (const std::string& message : built.messages())
        std::fprintf(stderr, "  %s\n", message.c_str());
    return false;
}

void reportOrder(const std::vector<std::string>& reordered) {
    if (reordered.empty()) return;
    std::string names;
    for (const std::string& name : reordered)
        names += (names.empty() ? "" : ", ") + name;
    std::printf("import: stage(s) %s now list their records in map order, not in the file's "
                "order; see 'Editing a stage in VeltaEdit' in assets/stages/README.md\n",
                names.c_str());
}

} // namespace

} // namespace stages

int importStageFile(const std::string& assetsDir, const std::string& stageFile,
                    const std::string& sourceFile) {
    using namespace stages;
    std::error_code error;
    if (!fs::is_directory(assetsDir, error)) {
        std::fprintf(stderr, "import: %s is not an assets folder\n", assetsDir.c_str());
        return 1;
    }
    // The shared reader throws on a folder; a missing file is reported the same way.
    const bool isFile = fs::is_regular_file(stageFile, error);
    const std::optional<std::string> bytes =
        isFile ? readFileText(stageFile) : std::optional<std::string>();
    if (!bytes) {
        std::fprintf(stderr, "%s: cannot read\n", stageFile.c_str());
        return 1;
    }
    Diagnostics diagnostics(stageFile);
    std::optional<Imported> imported;
    if (const std::optional<ReadStageFile> file = readStageFileText(*bytes, diagnostics))
        imported = importContents(*file, assetsDir, diagnostics);
    if (!imported) {
        for (const std::string& message : diagnostics.messages())
            std::fprintf(stderr, "%s\n", message.c_str());
        std::fprintf(stderr, "import: nothing written\n");
        return 1;
    }

    imported->source.origin = originName(stageFile);
    const std::string text = writeSourceText(imported->source);
    if (!buildsBack(text, imported->expected, assetsDir, sourceFile, stageFile)) {
        std::fprintf(stderr, "import: nothing written\n");
        return 1;
    }
    std::string problem;
    bool written = false;
    if (!writeFileIfChanged(sourceFile, std::vector<uint8_t>(text.begin(), text.end()), problem,
                            &written)) {
        std::fprintf(stderr, "import: %s\n", problem.c_str());
        return 1;
    }
    std::printf("import: %s %s, %zu stage(s)\n", sourceFile.c_str(),
                written ? "written" : "unchanged", imported->source.stages.size());
    reportOrder(imported->reordered);
    return 0;
}
