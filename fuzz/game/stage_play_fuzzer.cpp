// A stage file as the stage loader reads it: the first stage is loaded into
// a new game and played for a while, so that whatever the file places, at
// whatever coordinates, is built, updated and drawn; the file is then walked
// to its last block as a later stage's load would.
#include "stage/stage_file.h"
#include "support/game_session.h"
#include "support/scratch_folder.h"

#include <cstddef>
#include <cstdint>

namespace {

constexpr size_t LARGEST_INPUT = 64 * 1024;
constexpr int PLAYED_FRAMES = 60;
constexpr int LAST_SLOT = 35;
constexpr const char* STAGE_FILE = "fuzz.vtg";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > LARGEST_INPUT) return 0;
    fuzz::writeBytes(fuzz::scratchGameFolder() / "stage" / STAGE_FILE, data, size);
    if (fuzz::startNewGameAt(STAGE_FILE, 0)) fuzz::playFrames(PLAYED_FRAMES);
    fuzz::closeGame();
    readStageFile(STAGE_FILE, LAST_SLOT);
    return 0;
}
