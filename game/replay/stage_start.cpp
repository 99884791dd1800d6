#include "replay/stage_start.h"

#include "core/fades.h"
#include "platform/display.h"
#include "platform/headless/headless.h"
#include "platform/music.h"
#include "platform/sound.h"
#include "shell/scene_machine.h"
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
    if (!framePass()) return StageStart::GameFailed; // the boot scene
    newGameReset();
    const bool loaded = loadStage(stageFile, stageIndex);
    sceneNumber = SCENE_GAMEPLAY;
    startFadeIn();
    return loaded ? StageStart::Started : StageStart::StageMissing;
}
