#include "support/stage_play.h"

#include "core/fades.h"
#include "shell/scene_machine.h"
#include "shell/stage_flow.h"
#include "shell/startup.h"
#include "stage/stage_loader.h"
#include "world/world.h"

#include <gtest/gtest.h>

StagePlay::StagePlay(const std::string& name, const TestStageFile& file, int stageIndex,
                     const std::string& commandLine)
    : game(name) {
    game.useGameData();
    writeStageFile(game.folder() / "stage" / "test.vtg", file);
    EXPECT_TRUE(startUp(commandLine));
    EXPECT_TRUE(framePass()); // the boot scene
    newGameReset();
    loadStage("test.vtg", stageIndex);
    sceneNumber = SCENE_GAMEPLAY;
    startFadeIn();
}

bool StagePlay::frames(int count, uint8_t buttons) {
    holdButtons(buttons);
    for (int i = 0; i < count; ++i)
        if (!framePass()) return false;
    holdButtons(0);
    return true;
}

bool StagePlay::until(const std::function<bool()>& done, int limit, uint8_t buttons) {
    holdButtons(buttons);
    for (int i = 0; i < limit && !done(); ++i)
        if (!framePass()) break;
    holdButtons(0);
    return done();
}

bool StagePlay::settle() {
    return until([] { return !world.entryFlag && !fadeRunning(); });
}
