// A stage file as the stage list reads it at boot (its header lines), then
// shown on the extra-stage selection, which draws the entry's author and
// comment as text.
#include "shell/scene_machine.h"
#include "support/game_session.h"
#include "support/scratch_folder.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <system_error>

namespace {

constexpr size_t LARGEST_INPUT = 16 * 1024;
constexpr int SHOWN_FRAMES = 3;
// Sorts before the shipped files, so the selection's cursor starts on it.
constexpr const char* STAGE_FILE = "AAFUZZ.VTG";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > LARGEST_INPUT) return 0;
    const std::filesystem::path file = fuzz::scratchGameFolder() / "stage" / STAGE_FILE;
    fuzz::writeBytes(file, data, size);
    if (fuzz::bootGame("")) {
        sceneNumber = SCENE_EXTRA_STAGE;
        startFadeIn();
        fuzz::idleFrames(SHOWN_FRAMES);
    }
    fuzz::closeGame();
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    return 0;
}
