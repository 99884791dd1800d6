// Blocks and items: what touching each kind does, and the moving and timed kinds.
#include "core/frame_clock.h"
#include "support/world_play.h"
#include "world/collision.h"
#include "world/object_kinds.h"
#include "world/object_touch.h"
#include "world/object_update.h"
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

// An object of the kind added to the world; its index.
int addObject(uint8_t kind, double x, double y) {
    MapObject object = makeMapObject(x, y);
    assignKind(object, kind);
    world.objects.push_back(object);
    return int(world.objects.size()) - 1;
}

MapObject& object(int index) {
    return world.objects[size_t(index)];
}

int activeEffects(int type) {
    return int(std::count_if(world.effects.begin(), world.effects.end(),
                             [type](const Effect& f) { return f.active && f.type() == type; }));
}

class Objects : public testing::Test {
  protected:
    Objects() : play("objects", floorStage()) {}
    void SetUp() override { ASSERT_TRUE(play.settle()); }
    WorldPlay play;
};

} // namespace

TEST_F(Objects, ACoinStaysForASpannerAndGoesToThePlayer) {
    const int coin = addObject(KIND_COIN, 300, 200);
    Projectile spanner;
    EXPECT_FALSE(touch(object(coin), CONTACT_PROJECTILE, spanner, true));
    EXPECT_EQ(object(coin).kind, KIND_COIN);
    const int coins = player.coins;
    EXPECT_FALSE(touch(object(coin), CONTACT_RIGHT, player, true)) << "items never stop";
    EXPECT_EQ(object(coin).kind, KIND_REMOVED);
    EXPECT_EQ(player.coins, coins + 1);
}

TEST_F(Objects, BlocksBumpedFromBelow) {
    // clang-format off
    const struct {
        uint8_t kind, becomes;
        bool stopsWhenBumped;
    } cases[] = {
        {KIND_HIDDEN_BLOCK,  KIND_USED_BLOCK,   true},
        {KIND_TOGGLE_SOLID,  KIND_TOGGLE_OPEN,  true},
        {KIND_TOGGLE_OPEN,   KIND_TOGGLE_SOLID, true},
        {KIND_COIN_BLOCK,    KIND_USED_BLOCK,   true},
        {KIND_BRICK,         KIND_REMOVED,      true},
    };
    // clang-format on
    for (const auto& c : cases) {
        const int block = addObject(c.kind, 300, 150);
        player.vy = 0;
        // Walked into from the side, a hidden or open block lets the player through.
        const bool sideStops = touch(object(block), CONTACT_RIGHT, player, true);
        EXPECT_EQ(sideStops, c.kind != KIND_HIDDEN_BLOCK && c.kind != KIND_TOGGLE_OPEN)
            << int(c.kind);
        player.vy = -100; // rising
        EXPECT_EQ(touch(object(block), CONTACT_HEAD, player, true), c.stopsWhenBumped)
            << int(c.kind);
        EXPECT_EQ(object(block).kind, c.becomes) << int(c.kind);
    }
}

TEST_F(Objects, TheSwitchBlockFlipsEverySwitchWallOfTheStage) {
    const int closed = addObject(KIND_SWITCH_WALL_CLOSED, 100, 100);
    const int open = addObject(KIND_SWITCH_WALL_OPEN, 140, 100);
    const int block = addObject(KIND_SWITCH_BLOCK, 300, 150);
    player.vy = -50;
    ASSERT_TRUE(touch(object(block), CONTACT_HEAD, player, true));
    EXPECT_EQ(object(closed).kind, KIND_SWITCH_WALL_OPEN);
    EXPECT_EQ(object(open).kind, KIND_SWITCH_WALL_CLOSED);
    EXPECT_EQ(object(block).kind, KIND_SWITCH_BLOCK) << "it stays a switch block";
    ASSERT_TRUE(touch(object(block), CONTACT_HEAD, player, true));
    EXPECT_EQ(object(closed).kind, KIND_SWITCH_WALL_CLOSED) << "and flips them back";
}

TEST_F(Objects, ASlidingShellBreaksABrickForFiftyPoints) {
    const int brick = addObject(KIND_BRICK, 300, 200);
    Enemy shell = makeEnemy(280, 224, ENEMY_SLIDING_SHELL);
    const int score = player.score;
    EXPECT_TRUE(touch(object(brick), CONTACT_SHELL, shell, true));
    EXPECT_EQ(object(brick).kind, KIND_REMOVED);
    EXPECT_EQ(player.score, score + 50);
    EXPECT_EQ(activeEffects(EFFECT_DEBRIS), 4);
}

TEST_F(Objects, TheFragileBlockBouncesAFallingPlayer) {
    // clang-format off
    const struct { double vy; bool bHeld; double bounce; } cases[] = {
        {200, false, -225}, {200, true, -325}, {0, false, 0},
    };
    // clang-format on
    for (const auto& c : cases) {
        const int block = addObject(KIND_FRAGILE_BLOCK, 300, 200);
        if (c.bHeld) {
            ASSERT_TRUE(play.frames(2, HOLD_B)); // B read as held
        }
        // The player itself triggers it: by the actor being the player.
        player.vy = c.vy;
        touch(object(block), CONTACT_FEET, player, true);
        EXPECT_DOUBLE_EQ(player.vy, c.bounce == 0 ? c.vy : c.bounce) << c.vy << " " << c.bHeld;
        EXPECT_EQ(object(block).kind, KIND_REMOVED);
        ASSERT_TRUE(play.frames(4)); // B up again
    }
}

TEST_F(Objects, AReleasedItemEmergesOverFourTenthsOfASecond) {
    const int block = addObject(KIND_SPANNER_BLOCK, 300, 150);
    player.vy = -100;
    touch(object(block), CONTACT_HEAD, player, true);
    ASSERT_EQ(world.pendingObjects.size(), 1u) << "made during the frame, added at its end";
    const MapObject released = world.pendingObjects[0];
    EXPECT_EQ(released.kind, KIND_FOUR_SPANNERS);
    EXPECT_EQ(released.y, 134) << "one cell up";
    EXPECT_EQ(released.emergeOffset, 16);
    ASSERT_TRUE(play.frames(1));
    const int item = int(world.objects.size()) - 1;
    ASSERT_EQ(object(item).kind, KIND_FOUR_SPANNERS);
    // 16 pixels at 40 a second: 25 frames of 16 ms.
    ASSERT_TRUE(play.frames(23));
    EXPECT_GT(object(item).emergeOffset, 0);
    EXPECT_FALSE(probeable(object(item))) << "cannot be taken while emerging";
    ASSERT_TRUE(play.frames(2));
    EXPECT_EQ(object(item).emergeOffset, 0);
    EXPECT_TRUE(probeable(object(item)));
}

TEST_F(Objects, TheGaugeBlockGivesACoinOnceTheGaugeUpWasTaken) {
    for (uint8_t taken : {0, 1}) {
        world.itemTakenFlag = taken;
        const int block = addObject(KIND_GAUGE_BLOCK, 300, 150);
        player.vy = -100;
        touch(object(block), CONTACT_HEAD, player, true);
        ASSERT_FALSE(world.pendingObjects.empty());
        EXPECT_EQ(world.pendingObjects.back().kind, taken ? KIND_COIN : KIND_GAUGE_UP);
        world.pendingObjects.clear();
    }
}

TEST_F(Objects, AFallingBlockFallsOnceThePlayerIsBelowAndGoesBelow336) {
    const int block = addObject(KIND_FALLING_BLOCK, 400, 100);
    player.x = 380; // 20 pixels away: not yet
    ASSERT_TRUE(play.frames(1));
    EXPECT_EQ(object(block).vy, 0);
    player.x = 386; // within 16
    ASSERT_TRUE(play.frames(1));
    EXPECT_GT(object(block).vy, 0);
    player.x = 100; // out of the way: once falling it falls on

    ASSERT_TRUE(play.until([&] { return object(block).kind == KIND_REMOVED; }, 200));
    EXPECT_GT(object(block).y - 16, 320);
}

TEST_F(Objects, AFallingPlatformSinksAQuarterSecondAfterTheLanding) {
    const int platform = addObject(KIND_FALLING_PLATFORM, 300, 180);
    player.x = 300;
    player.y = 164;
    player.vy = 0;
    player.groundObject = platform;
    ASSERT_TRUE(play.frames(1));
    const double landed = object(platform).phase;
    ASSERT_GT(landed, 0) << "the landing time";
    ASSERT_TRUE(play.until([&] { return object(platform).vy > 0; }, 100));
    EXPECT_GT(gameClock() - landed, 250);
    EXPECT_LE(gameClock() - landed, 250 + 32);
    EXPECT_NEAR(object(platform).vy, 0.2, 1e-9);
}

TEST_F(Objects, ACannonFiresWithinItsWindowOnly) {
    const int near = addObject(KIND_CANNON_LEFT, 250, 224);
    const int far = addObject(KIND_CANNON_RIGHT, 400, 224); // 400 - camera 0 >= 352
    const double firstShot = object(near).phase;
    const double farLastShot = object(far).pivotX;
    EXPECT_GE(firstShot, 500);
    EXPECT_LT(firstShot, 5500);
    const size_t enemies = world.enemies.size();
    ASSERT_TRUE(play.until([&] { return world.enemies.size() > enemies; }, 400));
    const Enemy& shot = world.enemies.back();
    EXPECT_EQ(shot.kind, ENEMY_CANNON_SHOT);
    EXPECT_EQ(shot.x, 250 - 16);
    EXPECT_LE(shot.vx, -120);
    EXPECT_GT(shot.vx, -170);
    EXPECT_EQ(object(far).pivotX, farLastShot) << "beyond the window: never fired";
    EXPECT_EQ(world.enemies.size(), enemies + 1);
}

TEST_F(Objects, SpringsThrowThePlayerHigherWithJumpHeld) {
    for (bool bHeld : {false, true}) {
        const int spring = addObject(KIND_SPRING, 300, 224);
        if (bHeld) {
            ASSERT_TRUE(play.frames(2, HOLD_B));
        }
        player.vy = 10;
        EXPECT_FALSE(touch(object(spring), CONTACT_FEET, player, true));
        EXPECT_EQ(player.vy, bHeld ? -350 : -250);
        EXPECT_EQ(player.y, 224 - 16);
        ASSERT_TRUE(play.frames(4));
    }
}

TEST_F(Objects, ItemsGiveWhatTheyGive) {
    // clang-format off
    const struct {
        uint8_t kind;
        int coins, spanners, lives, damage, gauge, score;
    } cases[] = {
        {KIND_COIN,          1, 0, 0, 0,  0, 0},
        {KIND_FOUR_COINS,    4, 0, 0, 0,  0, 400},
        {KIND_FOUR_SPANNERS, 0, 4, 0, 0,  0, 80},
        {KIND_TWO_SPANNERS,  0, 2, 0, 0,  0, 40},
        {KIND_EXTRA_LIFE,    0, 0, 1, 0,  0, 0},
        {KIND_SMALL_HEAL,    0, 0, 0, -2, 0, 40},
        {KIND_LARGE_HEAL,    0, 0, 0, -4, 0, 70},
        {KIND_GAUGE_UP,      0, 0, 0, 0,  4, 1000},
    };
    // clang-format on
    for (const auto& c : cases) {
        player.coins = 10;
        player.spanners = 10;
        player.lives = 3;
        player.damage = 6;
        player.gaugeSize = 8;
        player.score = 0;
        const int item = addObject(c.kind, 300, 200);
        touch(object(item), CONTACT_LEFT, player, true);
        EXPECT_EQ(object(item).kind, KIND_REMOVED) << int(c.kind);
        EXPECT_EQ(player.coins, 10 + c.coins) << int(c.kind);
        EXPECT_EQ(player.spanners, 10 + c.spanners) << int(c.kind);
        EXPECT_EQ(player.lives, 3 + c.lives) << int(c.kind);
        EXPECT_EQ(player.damage, 6 + c.damage) << int(c.kind);
        EXPECT_EQ(player.gaugeSize, 8 + c.gauge) << int(c.kind);
        EXPECT_EQ(player.score, c.score) << int(c.kind);
    }
}

TEST_F(Objects, HazardsKillFromTheirDangerousSideOnly) {
    // clang-format off
    const struct { uint8_t kind; Contact contact; double vy; bool kills; } cases[] = {
        {KIND_SPIKE_BLOCK, CONTACT_LEFT,  0,   true},
        {KIND_SPIKES_UP,   CONTACT_FEET,  50,  true},
        {KIND_SPIKES_UP,   CONTACT_FEET,  0,   false},
        {KIND_SPIKES_UP,   CONTACT_RIGHT, 0,   false},
        {KIND_SPIKES_DOWN, CONTACT_HEAD,  -50, true},
        {KIND_SPIKES_LEFT, CONTACT_RIGHT, 0,   true},
        {KIND_SPIKES_LEFT, CONTACT_LEFT,  0,   false},
        {KIND_SPIKES_RIGHT, CONTACT_LEFT, 0,   true},
        {KIND_PENDULUM_SHORT, CONTACT_FEET, 0, true},
    };
    // clang-format on
    for (const auto& c : cases) {
        player.damage = 0;
        player.hurtTime = 0;
        player.vy = c.vy;
        const int hazard = addObject(c.kind, 300, 200);
        touch(object(hazard), c.contact, player, true);
        EXPECT_EQ(player.damage >= player.gaugeSize + 4, c.kills)
            << int(c.kind) << " " << int(c.contact);
    }
    player.damage = 0;
}

TEST_F(Objects, TheMovingKindsKeepToTheirPaths) {
    const int platform = addObject(KIND_PLATFORM_SIDEWAYS, 100, 150);
    const int lift = addObject(KIND_PLATFORM_UPDOWN, 160, 200);
    const int circling = addObject(KIND_CIRCLING_SLOW, 200, 100);
    double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9, farthest = 0;
    // Ten seconds: a whole sideways period (2 / 0.2) and more of the circle.
    for (int i = 0; i < 625; ++i) {
        ASSERT_TRUE(play.frames(1));
        minX = std::min(minX, object(platform).x);
        maxX = std::max(maxX, object(platform).x);
        minY = std::min(minY, object(lift).y);
        maxY = std::max(maxY, object(lift).y);
        const double dx = object(circling).x - 200, dy = object(circling).y - 100;
        farthest = std::max(farthest, std::abs(std::sqrt(dx * dx + dy * dy) - 64));
    }
    EXPECT_NEAR(minX, 100, 0.5);
    EXPECT_NEAR(maxX, 100 + 208, 0.5);
    EXPECT_NEAR(maxY, 200, 0.5);
    EXPECT_NEAR(minY, 200 - 208, 0.5);
    EXPECT_LT(farthest, 0.01) << "the circling platform keeps its radius of 64";
}

// Each swinging or moving hazard, put down at (400, 100) with the player far
// away, over a whole period of its motion: the box its positions fill, in
// pixels from its pivot, and whether it keeps a constant distance from it.
TEST_F(Objects, TheSwingingAndMovingHazardsKeepToTheirPaths) {
    // clang-format off
    const struct {
        uint8_t kind;
        double left, right, top, bottom; // from the pivot
        double radius;                   // 0: not on a circle
    } cases[] = {
        {KIND_PENDULUM_SHORT,     -32, 32,   0,   32, 32}, // the lower half circle
        {KIND_PENDULUM_LONG,      -64, 64,   0,   64, 64},
        {KIND_CIRCLING_BALL,      -32, 32, -32,   32, 32}, // the whole circle
        {KIND_CIRCLING_BALL_LONG, -64, 64, -64,   64, 64},
        {KIND_HAZARD_SIDEWAYS,      0, 208,  0,    0,  0},
        {KIND_HAZARD_UPDOWN,        0,   0, -208,  0,  0},
    };
    // clang-format on
    player.x = 20;
    for (const auto& c : cases) {
        const int hazard = addObject(c.kind, 400, 100);
        double left = 1e9, right = -1e9, top = 1e9, bottom = -1e9, offCircle = 0;
        // Eleven seconds: a whole period of the slowest (0.2 pi a second).
        for (int frame = 0; frame < 690; ++frame) {
            ASSERT_TRUE(play.frames(1));
            const double dx = object(hazard).x - 400, dy = object(hazard).y - 100;
            left = std::min(left, dx);
            right = std::max(right, dx);
            top = std::min(top, dy);
            bottom = std::max(bottom, dy);
            if (c.radius > 0)
                offCircle = std::max(offCircle, std::abs(std::hypot(dx, dy) - c.radius));
        }
        EXPECT_NEAR(left, c.left, 0.5) << int(c.kind);
        EXPECT_NEAR(right, c.right, 0.5) << int(c.kind);
        EXPECT_NEAR(top, c.top, 0.5) << int(c.kind);
        EXPECT_NEAR(bottom, c.bottom, 0.5) << int(c.kind);
        EXPECT_LT(offCircle, 0.01) << int(c.kind);
        object(hazard).kind = KIND_REMOVED;
    }
    EXPECT_FALSE(world.dyingFlag);
}

// A lift is put down with its lowest cell in column 20 of the floor row, over
// a floor that is either whole or has a one-cell notch there; the player
// stands in that column while the lift comes down on it.
TEST(LiftComingDown, ShovesThePlayerAsideOrCrushesItInANotch) {
    // clang-format off
    const struct { const char* floor; bool crushed; } cases[] = {
        {"########################################", false},
        {"####################.###################", true},
    };
    // clang-format on
    for (const auto& c : cases) {
        TestStageFile file;
        file.stages.push_back({"null", 0, {c.floor, std::string(40, '=')}});
        WorldPlay play("lift-coming-down", file);
        ASSERT_TRUE(play.settle());
        const double floorTop = player.y;
        const double liftBottom = c.crushed ? floorTop + 16 : floorTop;
        const int lift = addObject(KIND_PLATFORM_UPDOWN, 320, liftBottom);
        ASSERT_TRUE(play.until([&] { return object(lift).y < liftBottom - 200; }, 400));
        player.x = 320;
        ASSERT_TRUE(play.frames(20)); // into the notch, if there is one
        const double standing = player.y;
        double lowest = standing, leftmost = player.x;
        ASSERT_TRUE(play.until(
            [&] {
                lowest = std::max(lowest, player.y);
                leftmost = std::min(leftmost, player.x);
                return world.dyingFlag || object(lift).y > liftBottom - 1;
            },
            400));
        EXPECT_EQ(lowest, standing) << c.floor;
        EXPECT_EQ(world.dyingFlag, c.crushed) << c.floor;
        if (c.crushed)
            EXPECT_EQ(leftmost, 320) << "kept in the notch, not shoved into the ground";
        else
            EXPECT_LE(player.x + player.width, 320 + 4) << "shoved aside onto the floor";
    }
}
