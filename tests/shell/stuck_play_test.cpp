// Play that could never go on: each case here once left the game waiting for
// something that could not happen, or dropped the player through the floor.
#include "core/fades.h"
#include "core/play_state.h"
#include "platform/display.h"
#include "platform/headless/headless.h"
#include "platform/virtual_keys.h"
#include "shell/scene_machine.h"
#include "shell/startup.h"
#include "support/stage_play.h"
#include "world/player.h"
#include "world/world.h"

#include <gtest/gtest.h>

namespace {

// A goal hanging over a pit, where the player walking right off the floor
// touches it and then falls out of the stage; a second stage to go on to.
TestStageFile goalOverAPit() {
    TestStageFile file;
    const TestStage pit{"null", 0, {"..........G.........", "#########....#######"}};
    const TestStage flat{"null", 0, {"....................", "####################"}};
    file.stages = {pit, flat};
    return file;
}

} // namespace

TEST(GoalOverAPit, TheStageIsClearedWhenThePlayerFallsOutAfterTouchingIt) {
    StagePlay play("goal-over-pit", goalOverAPit());
    ASSERT_TRUE(play.settle());
    const uint8_t lives = player.lives;
    ASSERT_TRUE(play.until([] { return world.clearedFlag == 1; }, 300, HOLD_RIGHT));
    ASSERT_TRUE(play.until([] { return world.clearedFlag == 0; }, 1000))
        << "the goal sequence ends although the player never lands";
    EXPECT_EQ(world.stageNumber, 1) << "the next stage is loaded";
    EXPECT_EQ(player.lives, lives);
    EXPECT_EQ(world.retryCount, 0) << "no life was lost to the fall";
    ASSERT_TRUE(play.settle());
    ASSERT_TRUE(play.frames(30));
    EXPECT_EQ(world.dyingFlag, 0) << "the fall left no deadly damage for the next stage";
}

TEST(GoalOverAPit, ATestPlayClosesTheGame) {
    GameFolderFixture game("goal-over-pit-test-play");
    game.useGameData();
    writeStageFile(game.folder() / "stage" / "__ed.vtg", goalOverAPit());
    ASSERT_TRUE(startUp("00 00000100 __ed.vtg"));
    headless::setKey(VK_RIGHT, true);
    int passes = 0;
    while (framePass() && passes < 2000)
        ++passes;
    headless::setKey(VK_RIGHT, false);
    EXPECT_LT(passes, 2000) << "the game closes as for any goal";
    EXPECT_FALSE(videoStarted());
}

TEST(DebugMode, EnterWhilePausedLeavesThePauseFree) {
    TestStageFile file;
    file.stages = {{"null", 0, {"....................", "####################"}}};
    StagePlay play("debug-pause", file, 0, "/D");
    ASSERT_TRUE(play.settle());
    ASSERT_TRUE(play.frames(1, HOLD_PAUSE));
    ASSERT_EQ(pauseFlag, 1);
    headless::setKey(VK_RETURN, true);
    ASSERT_TRUE(play.frames(3));
    headless::setKey(VK_RETURN, false);
    EXPECT_EQ(world.clearedFlag, 0) << "Enter does nothing while paused";
    ASSERT_TRUE(play.frames(1, HOLD_PAUSE));
    EXPECT_EQ(pauseFlag, 0) << "the pause key still ends the pause";
    headless::setKey(VK_RETURN, true);
    ASSERT_TRUE(play.frames(1));
    headless::setKey(VK_RETURN, false);
    EXPECT_EQ(world.clearedFlag, 1) << "and Enter reaches the goal again once running";
}

TEST(LongFrames, AFallAtFullSpeedLandsOnAOneCellFloor) {
    // A floor one cell thick with nothing below it. Whatever the height the
    // fall starts from, frames of 100 ms at the 300 px/s cap must not carry
    // the player through it.
    TestStageFile file;
    file.stages = {
        {"null", 0, {"....................", "####################", "...................."}}};
    StagePlay play("long-frames", file);
    ASSERT_TRUE(play.settle());
    for (int offset = 0; offset < 30; offset += 3) {
        SCOPED_TRACE(offset);
        player.x = 100;
        player.y = 60 + offset;
        player.vx = 0;
        player.vy = 300;
        player.airborne = 1;
        player.groundObject = NO_OBJECT;
        headless::setFrameStep(100);
        ASSERT_TRUE(play.frames(3)); // the first of them still measures 16 ms
        ASSERT_TRUE(play.until([] { return player.airborne == 0 || world.dyingFlag; }, 40));
        headless::setFrameStep(16);
        EXPECT_EQ(world.dyingFlag, 0);
        EXPECT_EQ(player.y, 224) << "standing on the floor";
        ASSERT_TRUE(play.frames(2));
    }
}
