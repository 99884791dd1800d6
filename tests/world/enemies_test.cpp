// Enemies: walking into walls, barriers and each other, shells, stomps and
// spanner hits, and the activation window.
#include "core/frame_clock.h"
#include "support/world_play.h"
#include "world/collision.h"
#include "world/object_kinds.h"
#include "world/player.h"
#include "world/world.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TestStageFile floorStage() {
    TestStageFile file;
    file.stages.push_back({"null", 0, {std::string(80, '#')}});
    return file;
}

// An enemy standing on the floor (its top at 240) at x, already active.
int addEnemy(int kind, double x, double y = 240) {
    world.enemies.push_back(makeEnemy(x, y, kind));
    return int(world.enemies.size()) - 1;
}

Enemy& enemy(int index) {
    return world.enemies[size_t(index)];
}

int addObject(uint8_t kind, double x, double y) {
    MapObject object = makeMapObject(x, y);
    assignKind(object, kind);
    world.objects.push_back(object);
    return int(world.objects.size()) - 1;
}

class Enemies : public testing::Test {
  protected:
    Enemies() : play("enemies", floorStage()) {}
    void SetUp() override {
        ASSERT_TRUE(play.settle());
        player.x = 20; // out of the way, at the stage's left end
    }
    WorldPlay play;
};

} // namespace

TEST_F(Enemies, StartWithTheirKindsSpeedFacingLeft) {
    // clang-format off
    const struct { int kind; double vx; } cases[] = {
        {0, -20}, {1, -20}, {2, 0}, {3, -150}, {4, -40}, {5, -50}, {6, -100},
        {7, -40}, {8, -40}, {9, -150}, {10, -50}, {11, -20}, {12, -20}, {13, -20},
    };
    // clang-format on
    for (const auto& c : cases) {
        const Enemy e = makeEnemy(500, 240, c.kind);
        EXPECT_EQ(e.active, 1) << c.kind;
        EXPECT_EQ(e.vx, c.vx) << c.kind;
        EXPECT_EQ(e.facing, 0) << c.kind;
    }
    EXPECT_EQ(makeEnemy(500, 240, 77).active, 0) << "no definition file";
}

TEST_F(Enemies, AWalkerTurnsFlushAtAWallAndInPlaceAtABarrier) {
    const int wall = addObject(49, 300, 240);
    const int walker = addEnemy(ENEMY_WALKER, 340);
    ASSERT_TRUE(play.until([&] { return enemy(walker).vx > 0; }, 400));
    // Put flush against the wall, then this frame's move away from it.
    const double flush = world.objects[size_t(wall)].x + 16 - enemy(walker).inset;
    EXPECT_NEAR(enemy(walker).x, flush + 20 * 0.016, 1e-9);
    EXPECT_EQ(enemy(walker).facing, 1);

    addObject(KIND_ENEMY_BARRIER, 600, 240);
    const int other = addEnemy(ENEMY_WALKER, 640);
    double before = enemy(other).x;
    ASSERT_TRUE(play.until(
        [&] {
            if (enemy(other).vx > 0) return true;
            before = enemy(other).x;
            return false;
        },
        400));
    // Turned where it stood: only this frame's move, no putting flush.
    EXPECT_NEAR(enemy(other).x, before + 20 * 0.016, 1e-9);
}

TEST_F(Enemies, TwoWalkersMeetingBothTurnOnce) {
    const int left = addEnemy(ENEMY_WALKER, 400);
    const int right = addEnemy(ENEMY_WALKER, 440);
    enemy(left).vx = 20;
    enemy(left).facing = 1;
    ASSERT_TRUE(play.frames(120));
    int turnsLeft = 0, turnsRight = 0;
    double lastLeft = enemy(left).vx, lastRight = enemy(right).vx;
    for (int i = 0; i < 120; ++i) {
        ASSERT_TRUE(play.frames(1));
        turnsLeft += (enemy(left).vx > 0) != (lastLeft > 0);
        turnsRight += (enemy(right).vx > 0) != (lastRight > 0);
        lastLeft = enemy(left).vx;
        lastRight = enemy(right).vx;
    }
    EXPECT_LT(enemy(left).vx, 0) << "walking away from each other";
    EXPECT_GT(enemy(right).vx, 0);
    EXPECT_EQ(turnsLeft, 0) << "the turn came in the first 120 frames, once";
    EXPECT_EQ(turnsRight, 0);
}

TEST_F(Enemies, AStompMakesAShellAKickSendsItAndAStompStopsIt) {
    const int walker = addEnemy(ENEMY_WALKER, 300);
    player.x = 300;
    player.y = enemy(walker).y - enemy(walker).height;
    player.vy = 100; // falling onto it
    ASSERT_TRUE(enemyContact(enemy(walker), CONTACT_FEET));
    EXPECT_EQ(enemy(walker).kind, ENEMY_RESTING_SHELL);
    EXPECT_EQ(player.pendingBounce, -190);
    // Walked into from the left, the shell slides away to the right.
    player.x = 280;
    player.vy = 0;
    ASSERT_TRUE(enemyContact(enemy(walker), CONTACT_RIGHT));
    EXPECT_EQ(enemy(walker).kind, ENEMY_SLIDING_SHELL);
    EXPECT_EQ(enemy(walker).vx, 150);
    EXPECT_EQ(enemy(walker).x, 280 + 16 + 1) << "put clear of the player";
    player.vy = 50;
    ASSERT_TRUE(enemyContact(enemy(walker), CONTACT_FEET));
    EXPECT_EQ(enemy(walker).kind, ENEMY_RESTING_SHELL);
    EXPECT_EQ(enemy(walker).vx, 0);
}

TEST_F(Enemies, AStompCountsOnlyWhileThePlayerFalls) {
    for (double vy : {-50.0, 0.0}) {
        player.hurtTime = 0;
        player.damage = 0;
        const int walker = addEnemy(ENEMY_WALKER, 300);
        player.vy = vy;
        ASSERT_TRUE(enemyContact(enemy(walker), CONTACT_FEET));
        EXPECT_EQ(enemy(walker).kind, ENEMY_WALKER) << vy;
        EXPECT_EQ(player.damage, 2) << "rising or standing onto it hurts";
    }
    player.damage = 0;
}

TEST_F(Enemies, TwoSlidingShellsKnockEachOtherOut) {
    const int a = addEnemy(ENEMY_SLIDING_SHELL, 400);
    const int b = addEnemy(ENEMY_SLIDING_SHELL, 440);
    enemy(a).vx = 150;
    enemy(a).facing = 1;
    ASSERT_TRUE(play.until([&] { return enemy(a).knockedOut && enemy(b).knockedOut; }, 60));
    ASSERT_TRUE(play.until([&] { return !enemy(a).active && !enemy(b).active; }, 400))
        << "they fall out of the stage upside down";
}

TEST_F(Enemies, ACannonShotTakesThreeSpannersOrOneStomp) {
    const int shot = addEnemy(ENEMY_CANNON_SHOT, 500, 200);
    for (int hit = 1; hit <= 3; ++hit) {
        ASSERT_TRUE(enemyContact(enemy(shot), CONTACT_PROJECTILE));
        EXPECT_EQ(enemy(shot).active, hit < 3) << hit;
    }
    int explosions = 0;
    for (const Effect& f : world.effects)
        explosions += f.active && f.type() == EFFECT_EXPLOSION;
    EXPECT_EQ(explosions, 6);

    const int other = addEnemy(ENEMY_CANNON_SHOT, 500, 200);
    player.vy = 80;
    ASSERT_TRUE(enemyContact(enemy(other), CONTACT_FEET));
    EXPECT_EQ(enemy(other).knockedOut, 1);
    EXPECT_EQ(enemy(other).vx, 0);
}

TEST_F(Enemies, AThrownShotPassesThroughSpannersAndNeverCounts) {
    const int thrown = addEnemy(ENEMY_THROWN_SHOT, 500, 200);
    EXPECT_FALSE(enemyContact(enemy(thrown), CONTACT_PROJECTILE));
    EXPECT_EQ(enemy(thrown).active, 1);
    player.hurtTime = 0;
    EXPECT_FALSE(enemyContact(enemy(thrown), CONTACT_LEFT));
    EXPECT_GT(player.hurtTime, 0u) << "but it hurts";
    player.damage = 0;
}

TEST_F(Enemies, OnlyEnemiesNearTheCameraMoveExceptTheHomingFlyer) {
    // The activation window runs from 288 left of the camera to 864 right of it.
    const int inside = addEnemy(ENEMY_WALKER, 864);
    const int outside = addEnemy(ENEMY_WALKER, 865);
    const int homing = addEnemy(ENEMY_HOMING_FLYER, 1200, 100);
    ASSERT_TRUE(play.frames(10));
    EXPECT_LT(enemy(inside).x, 864);
    EXPECT_EQ(enemy(outside).x, 865);
    EXPECT_NE(enemy(homing).x, 1200);
}

TEST_F(Enemies, ShotsLeavingTheStageAreRetired) {
    const double edge = world.stageRightEdge;
    player.x = edge - 100; // the camera at the stage's right end
    const int right = addEnemy(ENEMY_CANNON_SHOT, edge - 20, 200);
    enemy(right).vx = 150;
    const int falling = addEnemy(ENEMY_THROWN_SHOT, edge - 200, 250);
    ASSERT_TRUE(play.frames(60));
    EXPECT_EQ(enemy(right).active, 0) << "gone past the stage's right end";
    EXPECT_EQ(enemy(falling).active, 0) << "gone below the stage";
}

TEST_F(Enemies, WingedEnemiesLoseTheirWingsToAStompOrASpanner) {
    // clang-format off
    const struct { int kind; Contact contact; int becomes; double bounce; } cases[] = {
        {ENEMY_FLYER_HEAVY, CONTACT_FEET,       ENEMY_WALKER_HEAVY, -190},
        {ENEMY_FLYER_HEAVY, CONTACT_PROJECTILE, ENEMY_WALKER_HEAVY, 0},
        {ENEMY_FLYER,       CONTACT_FEET,       ENEMY_WALKER,       -190},
        {ENEMY_FLYER,       CONTACT_PROJECTILE, ENEMY_WALKER,       0},
    };
    // clang-format on
    for (const auto& c : cases) {
        const int flyer = addEnemy(c.kind, 300, 200);
        enemy(flyer).vy = 30;
        player.vy = c.contact == CONTACT_FEET ? 100 : 0;
        player.pendingBounce = 0;
        const uint32_t score = player.score;
        ASSERT_TRUE(enemyContact(enemy(flyer), c.contact));
        EXPECT_EQ(enemy(flyer).kind, c.becomes) << c.kind << " " << int(c.contact);
        EXPECT_EQ(enemy(flyer).vy, 0);
        EXPECT_EQ(player.score, score + 80);
        EXPECT_EQ(player.pendingBounce, c.bounce) << "only a stomp bounces";
        ASSERT_TRUE(play.until([&] { return !enemy(flyer).airborne; }, 100))
            << "without wings it falls to the floor";
    }
}

TEST_F(Enemies, JumpersJumpWhenThePlayerComesWithin64Pixels) {
    // clang-format off
    const struct { int kind; double jump; } cases[] = {
        {ENEMY_JUMPER, -200}, {ENEMY_JUMPER_FAST, -200}, {ENEMY_CHASER, -240},
    };
    // clang-format on
    for (const auto& c : cases) {
        const int jumper = addEnemy(c.kind, 400);
        player.x = 400 - 100;
        ASSERT_TRUE(play.frames(5));
        EXPECT_FALSE(enemy(jumper).airborne) << c.kind << ": the player is too far";
        player.x = enemy(jumper).x - 60;
        ASSERT_TRUE(play.frames(1));
        EXPECT_TRUE(enemy(jumper).airborne) << c.kind;
        EXPECT_NEAR(enemy(jumper).vy, c.jump + 400 * frameTime, 1e-9) << c.kind;
        enemy(jumper).active = 0;
        player.x = 20;
    }
}

TEST_F(Enemies, TheChaserTurnsTowardsAPlayerMoreThan48PixelsAway) {
    const int chaser = addEnemy(ENEMY_CHASER, 400);
    player.x = 300; // 100 to the left: it walks on left
    ASSERT_TRUE(play.frames(1));
    EXPECT_LT(enemy(chaser).vx, 0);
    player.x = 600;
    ASSERT_TRUE(play.frames(1));
    EXPECT_GT(enemy(chaser).vx, 0) << "turned right";
    EXPECT_EQ(enemy(chaser).facing, 1);
    player.x = enemy(chaser).x - 40; // within 48 but ahead of it: no turn
    const double vx = enemy(chaser).vx;
    enemy(chaser).airborne = 1; // and none while in the air
    player.x = 100;
    ASSERT_TRUE(play.frames(1));
    EXPECT_EQ(enemy(chaser).vx, vx);
}

TEST_F(Enemies, TheThrowerStopsAfterTwoSecondsAndThrowsThreeShots) {
    const int thrower = addEnemy(ENEMY_THROWER, 500);
    player.x = 20;
    const uint32_t start = gameClock();
    ASSERT_TRUE(play.until([&] { return enemy(thrower).vx == 0; }, 200)) << "it stops";
    EXPECT_LE(gameClock() - start, 2001u + 32) << "after at most two seconds of walking";
    const size_t before = world.enemies.size();
    ASSERT_TRUE(play.until([&] { return world.enemies.size() == before + 3; }, 200));
    // clang-format off
    const double speeds[3][2] = {{0, -150}, {-50, -150}, {50, -150}};
    // clang-format on
    for (int i = 0; i < 3; ++i) {
        const Enemy& shot = world.enemies[before + size_t(i)];
        EXPECT_EQ(shot.kind, ENEMY_THROWN_SHOT);
        EXPECT_EQ(shot.vx, speeds[i][0]) << i;
        EXPECT_EQ(shot.vy, speeds[i][1]) << i << ": added at the end of the frame, not yet moved";
    }
    ASSERT_TRUE(play.until([&] { return enemy(thrower).vx != 0; }, 300)) << "it walks on";
    EXPECT_EQ(std::abs(enemy(thrower).vx), 20);
}

TEST_F(Enemies, TheHomingFlyerTurnsTowardsThePlayerTwoAndAHalfTimesAsHard) {
    const int homing = addEnemy(ENEMY_HOMING_FLYER, 400, 100);
    player.x = 600; // right of it and below it
    enemy(homing).vx = -20;
    enemy(homing).vy = 0;
    enemy(homing).airborne = 1; // as after its first frame, found with no floor under it
    ASSERT_TRUE(play.frames(1));
    const double a = 100 * frameTime;
    EXPECT_NEAR(enemy(homing).vx, -20 + 2.5 * a, 1e-9) << "turning round";
    EXPECT_NEAR(enemy(homing).vy, a, 1e-9) << "already heading down";
    EXPECT_EQ(enemy(homing).facing, 1);
    ASSERT_TRUE(play.until([&] { return enemy(homing).x > player.x; }, 600))
        << "it reaches the player's column";
}
