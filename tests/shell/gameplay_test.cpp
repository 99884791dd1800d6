// The gameplay scene: the pause, the debug keys, test play, and how games
// go on from stage to stage.
#include "core/fades.h"
#include "core/play_state.h"
#include "platform/display.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_audio.h"
#include "platform/palette.h"
#include "platform/virtual_keys.h"
#include "shell/ranking.h"
#include "shell/scene_machine.h"
#include "shell/stage_flow.h"
#include "shell/startup.h"
#include "stage/stage_loader.h"
#include "support/stage_play.h"
#include "world/player.h"
#include "world/world.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TestStageFile flatStages(int count, int startingLives = 3) {
    TestStageFile file;
    file.startingLives = startingLives;
    for (int i = 0; i < count; ++i)
        file.stages.push_back({"def.mid", 0, {"..................G.", "####################"}});
    return file;
}

bool samePalette(const PaletteEntry* a, const PaletteEntry* b) {
    for (int i = 0; i < 256; ++i)
        if (a[i].red != b[i].red || a[i].green != b[i].green || a[i].blue != b[i].blue)
            return false;
    return true;
}

} // namespace

TEST(Pause, IsRefusedWhileHurtEnteringDyingOrCleared) {
    // clang-format off
    const struct {
        const char* what;
        void (*setUp)(StagePlay&);
    } cases[] = {
        {"hurt", [](StagePlay& play) {
            ASSERT_TRUE(play.settle());
            hurtPlayer(0);
        }},
        // The fade-in ends a quarter second before the entry animation does.
        {"entering", [](StagePlay& play) {
            ASSERT_TRUE(play.until([] { return !fadeRunning(); }));
            ASSERT_EQ(world.entryFlag, 1);
        }},
        {"dying", [](StagePlay& play) {
            ASSERT_TRUE(play.settle());
            killPlayer();
            ASSERT_TRUE(play.frames(1));
            ASSERT_EQ(world.dyingFlag, 1);
        }},
        {"cleared", [](StagePlay& play) {
            ASSERT_TRUE(play.settle());
            world.clearedFlag = 1;
        }},
    };
    // clang-format on
    for (const auto& c : cases) {
        StagePlay play("pause-refused", flatStages(1));
        ASSERT_NO_FATAL_FAILURE(c.setUp(play)) << c.what;
        ASSERT_TRUE(play.frames(1, HOLD_PAUSE));
        EXPECT_EQ(pauseFlag, 0) << c.what;
    }
}

TEST(Pause, HalvesThePaletteStopsTheWorldAndRestoresExactly) {
    StagePlay play("pause", flatStages(1));
    ASSERT_TRUE(play.settle());
    PaletteEntry before[256];
    std::memcpy(before, displayPalette(), sizeof before);
    ASSERT_TRUE(play.frames(1, HOLD_PAUSE));
    ASSERT_EQ(pauseFlag, 1);
    EXPECT_EQ(headless::musicRecord().state, headless::MidiState::Paused);
    for (int i : {3, 135, 255})
        EXPECT_EQ(displayPalette()[i].red, before[i].red >> 1) << i;
    const double x = player.x, clock = world.elapsedTime;
    ASSERT_TRUE(play.frames(30, HOLD_RIGHT));
    EXPECT_EQ(player.x, x) << "nothing of the world runs";
    EXPECT_EQ(world.elapsedTime, clock);
    ASSERT_TRUE(play.frames(1, HOLD_PAUSE));
    EXPECT_EQ(pauseFlag, 0);
    EXPECT_TRUE(samePalette(displayPalette(), before));
    EXPECT_EQ(headless::musicRecord().state, headless::MidiState::Playing);
}

TEST(Pause, IsNotTakenInThePassThatEndsTheGame) {
    TestStageFile file = flatStages(1, 0);
    file.stages[0].rows = {"#####..........#"};
    StagePlay play("pause-game-over", file);
    ASSERT_TRUE(play.settle());
    killPlayer();
    ASSERT_TRUE(play.until([] { return fadeState == FADE_OUT; }, 600));
    ASSERT_TRUE(play.until([] { return fadeState == FADE_NONE; }, 100));
    // The pass in which the fade-out ends switches to the game over.
    ASSERT_TRUE(play.frames(1, HOLD_PAUSE));
    ASSERT_EQ(sceneNumber, SCENE_GAME_OVER);
    EXPECT_EQ(pauseFlag, 0);
}

TEST(DebugMode, EnterReachesTheGoalOnceAndQTurnsTheSwitch) {
    StagePlay play("debug-keys", flatStages(2), 0, "/D");
    ASSERT_EQ(playMode, PLAY_DEBUG);
    ASSERT_TRUE(play.settle());
    headless::setKey(VK_RETURN, true);
    ASSERT_TRUE(play.frames(5));
    headless::setKey(VK_RETURN, false);
    EXPECT_EQ(world.clearedFlag, 1);
    const uint32_t score = world.totalScore;
    ASSERT_TRUE(play.until([] { return world.clearedFlag == 0; }, 600));
    EXPECT_EQ(world.stageNumber, 1) << "one goal for the five frames Enter was held";
    EXPECT_GT(world.totalScore, score);

    EXPECT_EQ(withoutDyingSwitch, 0);
    headless::setKey(VK_Q, true);
    ASSERT_TRUE(play.frames(3));
    EXPECT_EQ(withoutDyingSwitch, 1) << "once per press";
    headless::setKey(VK_Q, false);
    ASSERT_TRUE(play.frames(1));
    headless::setKey(VK_Q, true);
    ASSERT_TRUE(play.frames(1));
    EXPECT_EQ(withoutDyingSwitch, 0);
    headless::setKey(VK_Q, false);
}

TEST(NormalPlay, TheDebugKeysDoNothing) {
    StagePlay play("normal-keys", flatStages(1));
    ASSERT_TRUE(play.settle());
    headless::setKey(VK_RETURN, true);
    headless::setKey(VK_Q, true);
    ASSERT_TRUE(play.frames(3));
    headless::setKey(VK_RETURN, false);
    headless::setKey(VK_Q, false);
    EXPECT_EQ(world.clearedFlag, 0);
    EXPECT_EQ(withoutDyingSwitch, 0);
}

TEST(TestPlay, TheCommandLinePlacesThePlayerAndTheGoalEndsTheProgram) {
    GameFolderFixture game("test-play");
    game.useGameData();
    TestStageFile file = flatStages(6);
    file.stages[5].rows = {"..............................G.", "################################"};
    writeStageFile(game.folder() / "stage" / "__ed.vtg", file);
    ASSERT_TRUE(startUp("05 00000480 __ed.vtg"));
    ASSERT_TRUE(framePass());
    EXPECT_EQ(playMode, PLAY_TEST);
    EXPECT_EQ(sceneNumber, SCENE_GAMEPLAY);
    EXPECT_EQ(world.worldNumber * 4 + world.stageNumber, 5);
    EXPECT_EQ(player.x, 480);
    EXPECT_EQ(player.y, 48) << "dropped in from above";
    EXPECT_EQ(withoutDyingSwitch, 1);
    EXPECT_EQ(fadeState, FADE_NONE) << "a test play starts without a fade";
    // The player drops onto the goal below its start.
    int passes = 0;
    while (framePass() && passes < 2000)
        ++passes;
    EXPECT_LT(passes, 2000) << "reaching the goal ends the program";
    EXPECT_FALSE(videoStarted());
    EXPECT_EQ(player.gaugeSize, 30);
    EXPECT_EQ(player.spanners, 99);
}

TEST(StageFlow, AContinueRestartsTheWorldWithANewGamesValues) {
    StagePlay play("continue", flatStages(8, 5), 6);
    ASSERT_TRUE(play.settle());
    player.score = 4000;
    player.lives = 0;
    world.totalScore = 3000;
    continueGame();
    EXPECT_EQ(world.worldNumber * 4 + world.stageNumber, 4);
    EXPECT_EQ(world.fileName, "test.vtg");
    EXPECT_EQ(player.lives, 5);
    EXPECT_EQ(player.score, 0);
    EXPECT_EQ(world.totalScore, 0u);
}

TEST(StageFlow, TheMainGamesLastClearEntersTheRankingAndAnExtraFilesDoesNot) {
    for (const char* name : {"DEF.vtg", "other.vtg"}) {
        GameFolderFixture game("ending-ranking");
        game.useGameData();
        writeStageFile(game.folder() / "stage" / name, flatStages(1));
        ASSERT_TRUE(startUp(""));
        ASSERT_TRUE(framePass());
        startGame(name);
        sceneNumber = SCENE_GAMEPLAY;
        player.score = 400;
        world.clearedFlag = 1;
        finishStage(StageEnd::ClearStage);
        const bool mainGame = std::string(name) == "DEF.vtg";
        EXPECT_EQ(sceneNumber, SCENE_ENDING) << name;
        EXPECT_EQ(world.mainGameFlag, mainGame) << name;
        EXPECT_EQ(world.newHighScoreFlag, mainGame) << name;
        EXPECT_EQ(std::filesystem::exists(game.folder() / "config.ini"), mainGame) << name;
        char code[8];
        scoreCode(world.finalScore, code);
        EXPECT_STREQ(world.scoreCode, code);
        EXPECT_GT(world.finalScore, 100u);
    }
}

TEST(StageFlow, FallingOutOfTheStageKillsAndTheStageIsTriedAgain) {
    TestStageFile file;
    file.stages.push_back({"null", 0, {"#####......#####"}});
    StagePlay play("fall", file);
    ASSERT_TRUE(play.settle());
    const int lives = player.lives;
    ASSERT_TRUE(play.until([] { return world.dyingFlag != 0; }, 400, HOLD_RIGHT));
    EXPECT_GT(player.y - 32, 320) << "fallen below 352";
    EXPECT_EQ(player.damage, player.gaugeSize + 4);
    ASSERT_TRUE(play.until([] { return world.entryFlag != 0; }, 600));
    EXPECT_EQ(player.lives, lives - 1);
    EXPECT_EQ(world.retryCount, 1);
    EXPECT_EQ(player.spanners, 12);
    EXPECT_EQ(player.x, 0) << "the stage begins again";
}

TEST(StageFlow, TheLastLifeLostEndsInGameOver) {
    TestStageFile file;
    file.startingLives = 0;
    file.stages.push_back({"null", 0, {"#####..........#"}});
    StagePlay play("game-over", file);
    ASSERT_TRUE(play.settle());
    ASSERT_TRUE(play.until([] { return sceneNumber == SCENE_GAME_OVER; }, 1000, HOLD_RIGHT));
    EXPECT_EQ(world.dyingFlag, 0);
}
