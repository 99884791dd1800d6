#include "replay/stage_start.h"

#include "core/fades.h"
#include "core/frame_clock.h"
#include "platform/display.h"
#include "platform/headless/headless.h"
#include "platform/music.h"
#include "platform/platform.h"
#include "platform/sound.h"
#include "shell/scene_machine.h"
#include "shell/stage_flow.h"
#include "shell/startup.h"
#include "stage/stage_loader.h"

#include <unistd.h>

InFolder::InFolder(const std::string& folder) {
    char here[4096];
    if (getcwd(here, sizeof here)) previous_ = here;
    changed_ = chdir(folder.c_str()) == 0;
}

InFolder::~InFolder() {
    if (changed_ && !previous_.empty()) [[maybe_unused]]
        const int back = chdir(previous_.c_str());
}

namespace {

constexpr uint32_t PASS_MILLISECONDS = 16;

// What an earlier run in this process left open goes first: its sounds would
// refer to a backend that the reset below empties.
void closeEarlierGame() {
    closeSound();
    closeMusic();
    releaseVideo();
}

} // namespace

StageStart startAtStage(const std::string& gameFolder, const std::string& stageFile,
                        int stageIndex) {
    closeEarlierGame();
    headless::resetAll();
    headless::setKeptFrames(1);
    std::string executable = gameFolder;
    if (!executable.empty() && executable.back() != '/') executable += '/';
    headless::setExecutablePath(executable + "velta");
    if (!startUp("")) return StageStart::GameFailed;
    // In the game the pass before a stage's first (the title's last, or the
    // last of the stage before) takes a frame's time, and the stage's first
    // step moves by it: the boot pass here does the same.
    platform::sleep(PASS_MILLISECONDS);
    if (!framePass()) return StageStart::GameFailed; // the boot scene
    newGameReset();
    const bool loaded = loadStage(stageFile, stageIndex);
    sceneNumber = SCENE_GAMEPLAY;
    // A stage after a file's first is reached by clearing the one before it:
    // the game pauses after loading it, and the stage's timers run on through
    // the pause. The replay starts it the same way.
    if (stageIndex > 0)
        fadeBackIn();
    else
        startFadeIn();
    // The game loads a stage inside a pass, and the dispatcher then advances
    // the game clock by that pass's frame time: the stage's enemies and
    // timers start a frame old.
    advanceGameClock(frameTime * 1000.0);
    return loaded ? StageStart::Started : StageStart::StageMissing;
}
