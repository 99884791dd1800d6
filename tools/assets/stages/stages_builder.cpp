// Compiles every stage source assets/stages/<name>.stages into
// <game>/stage/<name>.vtg.
#include "builders.h"
#include "common/file_io.h"
#include "stages/map_checker.h"
#include "stages/stage_assembly.h"
#include "stages/stage_source.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool buildOneStageFile(const fs::path& source, const fs::path& assetsDir,
                       const fs::path& stageDir) {
    const std::optional<std::string> text = readFileText(source.string());
    if (!text) {
        std::fprintf(stderr, "%s: cannot read\n", source.c_str());
        return false;
    }
    Diagnostics diagnostics(source.string());
    const stages::StageSource parsed = stages::parseStageSource(*text, diagnostics);
    std::optional<stages::StageFile> file;
    if (!diagnostics.hasErrors()) file = stages::assembleStageFile(parsed, assetsDir, diagnostics);
    if (file) {
        stages::EnemyHeights heights(assetsDir / "dat");
        stages::checkStageMaps(parsed, heights, diagnostics);
    }
    if (!file || diagnostics.hasErrors()) {
        for (const std::string& message : diagnostics.messages())
            std::fprintf(stderr, "%s\n", message.c_str());
        return false;
    }

    const fs::path target = stageDir / (source.stem().string() + ".vtg");
    const std::string bytes = stages::stageFileBytes(*file);
    std::string error;
    bool written = false;
    if (!writeFileIfChanged(target.string(), std::vector<uint8_t>(bytes.begin(), bytes.end()),
                            error, &written)) {
        std::fprintf(stderr, "stages: %s\n", error.c_str());
        return false;
    }
    if (written) std::printf("stages: %s, %zu stage(s)\n", target.c_str(), file->stages.size());
    return true;
}

} // namespace

int buildStages(const std::string& assetsDir, const std::string& gameDir) {
    const fs::path sourceDir = fs::path(assetsDir) / "stages";
    std::error_code error;
    std::vector<fs::path> sources;
    if (fs::exists(sourceDir, error)) {
        for (const fs::directory_entry& entry : fs::directory_iterator(sourceDir, error))
            if (entry.is_regular_file() && entry.path().extension() == ".stages")
                sources.push_back(entry.path());
    }
    if (error) {
        std::fprintf(stderr, "%s: %s\n", sourceDir.c_str(), error.message().c_str());
        return 1;
    }
    std::sort(sources.begin(), sources.end());
    int failures = 0;
    for (const fs::path& source : sources)
        failures += !buildOneStageFile(source, assetsDir, fs::path(gameDir) / "stage");
    return failures == 0 ? 0 : 1;
}
