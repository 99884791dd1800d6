// From a parsed stage source to the stage file's contents: cells become
// pixel positions (an enemy by its bottom edge, which needs its definition's
// picture height), texts become Shift-JIS, and each stage's music is checked
// against the tunes the music builder compiles.
#pragma once

#include "common/diagnostics.h"
#include "stages/stage_file.h"
#include "stages/stage_source.h"

#include <filesystem>
#include <optional>

namespace stages {

// Nothing when diagnostics received an error.
std::optional<StageFile> assembleStageFile(const StageSource& source,
                                           const std::filesystem::path& assetsDir,
                                           Diagnostics& diagnostics);

} // namespace stages
