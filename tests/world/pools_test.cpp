// The projectile and effect pools: spanners, bombs, sparks and pop-ups.
#include "core/frame_clock.h"
#include "platform/sound.h"
#include "support/world_play.h"
#include "world/collision.h"
#include "world/object_kinds.h"
#include "world/object_touch.h"
#include "world/player.h"
#include "world/world.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

TestStageFile floorStage() {
    TestStageFile file;
    file.stages.push_back({"null", 0, {std::string(60, '#')}});
    return file;
}

int active(const auto& pool) {
    return int(
        std::count_if(pool.begin(), pool.end(), [](const auto& slot) { return slot.active; }));
}

int activeOfType(const auto& pool, int type) {
    return int(std::count_if(pool.begin(), pool.end(), [type](const auto& slot) {
        return slot.active && slot.type() == type;
    }));
}

class Pools : public testing::Test {
  protected:
    Pools() : play("pools", floorStage()) {}
    void SetUp() override { ASSERT_TRUE(play.settle()); }
    WorldPlay play;
};

} // namespace

TEST_F(Pools, ALevelSpannerLeavesAt200To279PlusHalfThePlayersSpeed) {
    for (double playerVx : {0.0, 60.0}) {
        player.vx = playerVx;
        player.vy = 0;
        for (int i = 0; i < 40; ++i) {
            const int slot = spawnProjectile(100, 100, 0, PROJECTILE_SPANNER);
            ASSERT_GE(slot, 0);
            const Projectile& p = world.projectiles[size_t(slot)];
            EXPECT_GE(p.vx - playerVx / 2, 200);
            EXPECT_LT(p.vx - playerVx / 2, 280);
            EXPECT_NEAR(p.vy, 0, 1e-9);
        }
        resetProjectiles();
    }
    const int slot = spawnProjectile(100, 100, 0, PROJECTILE_BOMB);
    EXPECT_EQ(world.projectiles[size_t(slot)].vx, 0);
    EXPECT_EQ(world.projectiles[size_t(slot)].vy, -100);
}

TEST_F(Pools, AThrowLowersTheSpannersAndFliesUnderGravity) {
    player.x = 100;
    const int spanners = player.spanners;
    ASSERT_TRUE(play.frames(3, HOLD_A)); // start aiming
    ASSERT_TRUE(play.frames(1));         // released: thrown
    EXPECT_EQ(player.spanners, spanners - 1);
    ASSERT_EQ(active(world.projectiles), 1);
    const auto& spanner = *std::find_if(world.projectiles.begin(), world.projectiles.end(),
                                        [](const Projectile& p) { return p.active; });
    const double vy = spanner.vy;
    ASSERT_TRUE(play.frames(1));
    EXPECT_NEAR(spanner.vy, vy + 400 * 0.016, 1e-9);
}

TEST_F(Pools, ABombBurstsOnItsBlockAndAgainWhereItLands) {
    MapObject block = makeMapObject(300, 180);
    assignKind(block, KIND_BOMB_BLOCK);
    world.objects.push_back(block);
    player.vy = -50;
    touch(world.objects.back(), CONTACT_HEAD, player, true);
    EXPECT_EQ(world.objects.back().kind, KIND_REMOVED);
    EXPECT_EQ(activeOfType(world.projectiles, PROJECTILE_BOMB), 1);
    EXPECT_EQ(activeOfType(world.projectiles, PROJECTILE_SPANNER), 5) << "the first fan";
    EXPECT_EQ(activeOfType(world.effects, EFFECT_EXPLOSION), 6);
    // The first fan put away, the bomb falls to the floor and bursts again
    // into five more.
    for (Projectile& p : world.projectiles)
        if (p.type() == PROJECTILE_SPANNER) p.active = 0;
    ASSERT_TRUE(
        play.until([] { return activeOfType(world.projectiles, PROJECTILE_BOMB) == 0; }, 120));
    EXPECT_EQ(activeOfType(world.projectiles, PROJECTILE_SPANNER), 5) << "the second fan";
}

TEST_F(Pools, AScorePopUpRisesThirtyTwoPixelsInEightHundredMilliseconds) {
    const int slot = spawnEffect(200, 100, 0, 0, EFFECT_SCORE, NO_SOUND, 1000);
    ASSERT_GE(slot, 0);
    const Effect& popUp = world.effects[size_t(slot)];
    EXPECT_EQ(popUp.x, 200 - 12);
    const double startY = popUp.y;
    const uint32_t start = gameClock();
    ASSERT_TRUE(play.until([&] { return !popUp.active; }, 200));
    EXPECT_GE(gameClock() - start, 800u);
    EXPECT_LT(gameClock() - start, 800u + 32);
    EXPECT_NEAR(startY - popUp.y, 32, 0.7) << "40 pixels a second";
}

TEST_F(Pools, AnEffectWaitsItsDelayBeforeItShowsAndSounds) {
    const int slot = spawnEffect(200, 100, 0, 0, EFFECT_EXPLOSION, SE_BREAK, 300);
    const Effect& f = world.effects[size_t(slot)];
    const uint32_t start = gameClock();
    const uint8_t position = f.animator.position;
    bool sounded = false;
    while (!sounded) {
        const uint32_t frameClock = gameClock(); // the clock the frame's update sees
        ASSERT_LT(frameClock - start, 400u) << "never sounded";
        ASSERT_TRUE(play.frames(1));
        sounded = effectStatus(SE_BREAK) == EFFECT_PLAYING;
        EXPECT_EQ(sounded, frameClock - start >= 300) << "at " << frameClock - start << " ms";
        EXPECT_EQ(f.animator.position != position, sounded) << "shown with its sound";
    }
}

TEST_F(Pools, FullPoolsDropFurtherSpawns) {
    for (int i = 0; i < POOL_SLOTS; ++i) {
        ASSERT_EQ(spawnProjectile(100, 100, -1, PROJECTILE_SPANNER), i);
        ASSERT_EQ(spawnEffect(100, 100), i);
    }
    EXPECT_EQ(spawnProjectile(100, 100, -1, PROJECTILE_SPANNER), -1);
    EXPECT_EQ(spawnEffect(100, 100), -1);
    const int spanners = player.spanners;
    player.spanners = 5;
    player.aiming = 1;
    ASSERT_TRUE(play.frames(2, HOLD_A));
    ASSERT_TRUE(play.frames(1));
    EXPECT_EQ(player.spanners, 4) << "a throw into a full pool loses the spanner";
    player.spanners = uint8_t(spanners);
}

TEST_F(Pools, ASpannerHittingAnEnemySparksAndExplodes) {
    world.enemies.push_back(makeEnemy(200, 240, ENEMY_WALKER));
    const int slot = spawnProjectile(150, 230, 0, PROJECTILE_SPANNER);
    ASSERT_GE(slot, 0);
    ASSERT_TRUE(play.until([&] { return !world.projectiles[size_t(slot)].active; }, 60));
    EXPECT_EQ(world.enemies.back().kind, ENEMY_RESTING_SHELL) << "a hit makes a shell";
    EXPECT_GE(activeOfType(world.effects, EFFECT_SPARK), 1);
    EXPECT_GE(activeOfType(world.effects, EFFECT_EXPLOSION), 1);
}

TEST_F(Pools, ABombThatHitsAnEnemyStillMeetsTheMapWithWhatItsSlotNowHolds) {
    // A bomb sunk into the floor inside a walker: the hit bursts it, the
    // fan's first spanner takes the bomb's slot at the bomb's last place, and
    // that spanner, in the floor, meets it in the same frame and bursts.
    world.enemies.push_back(makeEnemy(200, 240, ENEMY_WALKER));
    const int slot = spawnProjectile(204, 244, -1.5707963267948966, PROJECTILE_BOMB);
    ASSERT_EQ(slot, 0);
    ASSERT_TRUE(play.frames(1));
    EXPECT_EQ(world.enemies.back().kind, ENEMY_RESTING_SHELL) << "the bomb hit the walker";
    EXPECT_FALSE(world.projectiles[0].active) << "the spanner in the bomb's slot met the floor";
}
