#include "shell/stage_flow.h"

#include "core/fades.h"
#include "core/play_state.h"
#include "platform/ascii_case.h"
#include "platform/platform.h"
#include "platform/sound.h"
#include "shell/ranking.h"
#include "shell/scene_machine.h"
#include "shell/window_messages.h"
#include "stage/stage_loader.h"
#include "world/world.h"

namespace {

constexpr const char* MAIN_GAME_FILE = "def.vtg";

// The last stage of a file cleared: the score code, and for the main game
// the ranking, then the ending.
void finishFile() {
    scoreCode(world.finalScore, world.scoreCode);
    // The name is lowered in place, as it is compared.
    for (char& c : world.fileName)
        c = lowerAsciiCase(c);
    const bool mainGame = world.fileName == MAIN_GAME_FILE;
    world.mainGameFlag = mainGame;
    world.newHighScoreFlag = 0;
    if (mainGame) {
        world.newHighScoreFlag = insertIntoRanking(world.totalScore);
        saveRanking();
    }
    playEffect(SE_ALLCLEAR);
    sceneNumber = SCENE_ENDING;
    startFadeIn();
}

void clearStage() {
    if (stageClear() == StageClear::LastStage) finishFile();
}

void retryStage() {
    stageRetry();
    if (playMode == PLAY_TEST) {
        // A test play starts again where the editor put the player.
        player.x = testPlayStartX;
        player.y = 32.0;
        withoutDyingSwitch = 1;
    }
}

void gameOver() {
    sceneNumber = SCENE_GAME_OVER;
    playEffect(SE_GMOV);
}

} // namespace

void fadeBackIn() {
    platform::sleep(500);
    startFadeIn();
}

void finishStage(StageEnd end) {
    switch (end) {
    case StageEnd::None:
        return;
    case StageEnd::CloseTestPlay:
        postWindowMessage(WindowMessage::Close);
        return;
    case StageEnd::ClearStage:
        clearStage();
        break;
    case StageEnd::RetryStage:
        retryStage();
        break;
    case StageEnd::GameOver:
        gameOver();
        break;
    }
    fadeBackIn();
}

void startGame(const std::string& fileName) {
    newGameReset();
    loadStage(fileName, 0);
}

void continueGame() {
    // The new-game reset forgets the file and the world, so both are kept first.
    const std::string fileName = world.fileName;
    const int worldNumber = world.worldNumber;
    newGameReset();
    loadStage(fileName, worldNumber * 4);
}
