// The world step's camera and stage clock, and the player's status step:
// caps, deaths by damage and by falling.
#include "core/frame_clock.h"
#include "support/world_play.h"
#include "world/collision.h"
#include "world/player.h"
#include "world/world.h"

#include <gtest/gtest.h>

namespace {

TestStageFile longStage(int cells) {
    TestStageFile file;
    file.stages.push_back({"null", 0, {std::string(size_t(cells), '#')}});
    return file;
}

} // namespace

TEST(Camera, FollowsFrom144AndStopsAtTheStagesRightEnd) {
    WorldPlay play("camera", longStage(40)); // the right edge at 640
    ASSERT_TRUE(play.settle());
    // clang-format off
    const struct { double playerX, cameraX; } cases[] = {
        {0, 0}, {143.9, 0}, {144, 0}, {200, 56}, {496, 352}, {600, 352}, {620.5, 352},
    };
    // clang-format on
    for (const auto& c : cases) {
        player.x = c.playerX;
        worldStep();
        EXPECT_DOUBLE_EQ(world.cameraX, c.cameraX) << "player at " << c.playerX;
    }
}

TEST(Camera, ANarrowStageGivesANegativeCameraPast144) {
    WorldPlay play("narrow", longStage(10)); // the right edge at 160
    ASSERT_TRUE(play.settle());
    player.x = 150;
    worldStep();
    EXPECT_DOUBLE_EQ(world.cameraX, 160 - 288);
}

TEST(StageClock, CountsUpToNineHundredNinetyNineAndStopsWhileDyingOrCleared) {
    WorldPlay play("clock", longStage(20));
    ASSERT_TRUE(play.settle());
    world.elapsedTime = 998.95;
    frameTime = 0.1;
    worldStep();
    EXPECT_DOUBLE_EQ(world.elapsedTime, 999);
    worldStep();
    EXPECT_DOUBLE_EQ(world.elapsedTime, 999);
    world.elapsedTime = 10;
    world.dyingFlag = 1;
    worldStep();
    world.dyingFlag = 0;
    world.clearedFlag = 1;
    worldStep();
    world.clearedFlag = 0;
    EXPECT_DOUBLE_EQ(world.elapsedTime, 10);
}

TEST(PlayerStatus, DamageKillsAtGaugeSizePlusFour) {
    // clang-format off
    const struct { int gauge, damage; bool dies; } cases[] = {
        {4, 7, false}, {4, 8, true}, {10, 13, false}, {10, 14, true}, {30, 34, true},
    };
    // clang-format on
    WorldPlay play("damage", longStage(20));
    ASSERT_TRUE(play.settle());
    for (const auto& c : cases) {
        world.dyingFlag = 0;
        player.gaugeSize = uint8_t(c.gauge);
        player.damage = int8_t(c.damage);
        playerStatusStep();
        EXPECT_EQ(world.dyingFlag != 0, c.dies) << c.gauge << " " << c.damage;
        if (c.dies) {
            EXPECT_EQ(player.vy, -20) << "the death hop";
            EXPECT_EQ(world.deathTime, 0u);
        }
    }
}

TEST(PlayerStatus, CountersAreCappedAndTheHundredthCoinGivesALife) {
    // clang-format off
    const struct {
        int coins, lives, spanners, score, gauge, damage;
        int coinsAfter, livesAfter, spannersAfter, scoreAfter, gaugeAfter, damageAfter;
    } cases[] = {
        {100, 3, 15, 0, 4, 0,        0, 4, 15, 0, 4, 0},       // the 100th coin
        {99, 3, 15, 0, 4, 0,         99, 3, 15, 0, 4, 0},
        {0, 99, 15, 0, 4, 0,         0, 99, 15, 0, 4, 0},
        {0, 100, 15, 0, 4, 0,        0, 99, 15, 0, 4, 0},      // a 100th life is lost by the cap
        {100, 99, 15, 0, 4, 0,       0, 99, 15, 0, 4, 0},
        {0, 3, 100, 500, 4, 0,       0, 3, 99, 560, 4, 0},     // 100 spanners: 99 and 60 points
        {0, 3, 15, 1000050, 4, 0,    0, 3, 15, 999999, 4, 0},
        {0, 3, 15, 0, 34, 0,         0, 3, 15, 0, 30, 0},
        {0, 3, 15, 0, 4, -2,         0, 3, 15, 0, 4, 0},       // healing past zero
    };
    // clang-format on
    WorldPlay play("caps", longStage(20));
    ASSERT_TRUE(play.settle());
    for (const auto& c : cases) {
        player.coins = uint8_t(c.coins);
        player.lives = uint8_t(c.lives);
        player.spanners = uint8_t(c.spanners);
        player.score = c.score;
        player.gaugeSize = uint8_t(c.gauge);
        player.damage = int8_t(c.damage);
        playerStatusStep();
        EXPECT_EQ(player.coins, c.coinsAfter);
        EXPECT_EQ(player.lives, c.livesAfter);
        EXPECT_EQ(player.spanners, c.spannersAfter);
        EXPECT_EQ(player.score, c.scoreAfter);
        EXPECT_EQ(player.gaugeSize, c.gaugeAfter);
        EXPECT_EQ(player.damage, c.damageAfter);
    }
}
