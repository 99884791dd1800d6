// A stage source (the text map format) as the asset builder reads it; a
// source that parses is assembled with the shipped enemy definitions and
// tunes into the stage file's bytes, and its maps are checked for faults.
#include "common/diagnostics.h"
#include "stages/map_checker.h"
#include "stages/stage_assembly.h"
#include "stages/stage_file.h"
#include "stages/stage_source.h"
#include "support/scratch_folder.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>

namespace {

constexpr size_t LARGEST_INPUT = 64 * 1024;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > LARGEST_INPUT) return 0;
    Diagnostics diagnostics("fuzz.stages");
    const stages::StageSource source =
        stages::parseStageSource(fuzz::asText(data, size), diagnostics);
    if (diagnostics.hasErrors()) return 0;
    const std::optional<stages::StageFile> file =
        stages::assembleStageFile(source, VELTA_FUZZ_ASSETS_DIR, diagnostics);
    if (!file) return 0;
    stages::stageFileBytes(*file);
    stages::EnemyHeights heights(std::filesystem::path(VELTA_FUZZ_ASSETS_DIR) / "dat");
    stages::checkStageMaps(source, heights, diagnostics);
    return 0;
}
