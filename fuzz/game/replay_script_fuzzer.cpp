// A replay script as velta-replay reads it; a script that parses is played
// for a few seconds on a shipped stage, so that any mix of held buttons
// reaches the game.
#include "platform/headless/headless.h"
#include "replay/replay_runner.h"
#include "replay/replay_script.h"
#include "support/game_session.h"
#include "support/scratch_folder.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

constexpr size_t LARGEST_INPUT = 16 * 1024;
constexpr int MAX_PLAYED_FRAMES = 90;
constexpr const char* STAGE_FILE = "1_training.vtg";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > LARGEST_INPUT) return 0;
    ReplayOptions options;
    std::string error;
    if (!parseReplayScript(std::string(fuzz::asText(data, size)), options.script, error)) return 0;
    options.gameFolder = fuzz::scratchGameFolder().string();
    options.stageFile = STAGE_FILE;
    options.frames = std::clamp(options.script.lastFrame() + 1, 1, MAX_PLAYED_FRAMES);
    // The replay keeps a picture of every frame; none is looked at here.
    options.afterFrame = [](int) { headless::setFrameRecording(false); };
    runReplay(options);
    fuzz::closeGame();
    return 0;
}
