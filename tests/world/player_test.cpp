// The player's moves on small test stages: jumps, running, skids, friction,
// edges, landings and head bumps.
#include "support/world_play.h"
#include "world/player.h"
#include "world/world.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr double DT = 0.016; // the headless backend's frame

TestStageFile flatStage() {
    TestStageFile file;
    file.stages.push_back({"null",
                           0,
                           {
                               "........................................",
                               "########################################",
                               "========================================",
                           }});
    return file;
}

// The highest point of a jump from the floor, holding B for the given frames.
double jumpHeight(int framesHeld) {
    WorldPlay play("jump-height", flatStage());
    EXPECT_TRUE(play.settle());
    const double floor = player.y;
    double top = player.y;
    auto highest = [&] {
        top = std::min(top, player.y);
        return !player.airborne;
    };
    for (int frame = 0; frame < framesHeld; ++frame) {
        EXPECT_TRUE(play.frames(1, HOLD_B));
        highest();
    }
    EXPECT_TRUE(play.until(highest, 400));
    return floor - top;
}

} // namespace

TEST(PlayerJump, HoldingJumpGoesHigherThanTappingIt) {
    const double tapped = jumpHeight(1);
    const double held = jumpHeight(60);
    // Gravity 550 with 215 upwards gives about 42 pixels in the continuous
    // limit and holding (210 off gravity while rising) about 68; stepped at
    // 16 ms frames, velocity before position, the game reaches a little more.
    EXPECT_NEAR(tapped, 45.05, 0.01);
    EXPECT_NEAR(held, 69.71, 0.01);
}

TEST(PlayerJump, StartSpeedGrowsWithARunAboveFifty) {
    // clang-format off
    const struct { double vx, vy; } cases[] = {
        {0, -215}, {50, -215}, {60, -230}, {140, -250}, {-140, -250}, {-60, -230},
    };
    // clang-format on
    WorldPlay play("jump-speeds", flatStage());
    ASSERT_TRUE(play.settle());
    for (const auto& c : cases) {
        player.x = 300;
        player.vx = c.vx;
        ASSERT_TRUE(play.frames(1, HOLD_B)) << c.vx;
        EXPECT_DOUBLE_EQ(player.vy, c.vy) << "running at " << c.vx;
        ASSERT_TRUE(play.until([] { return !player.airborne; })) << c.vx;
        ASSERT_TRUE(play.frames(4)); // B goes up before the next press
    }
}

TEST(PlayerRun, TheOppositeDirectionSkidsOrFlipsAtTwenty) {
    // clang-format off
    const struct {
        double vx;
        uint8_t held;
        double expectedVx;
        int line;
        int facing;
    } cases[] = {
        // 60 to the right, LEFT pressed: skid, the full 250 a second off, then friction.
        {60,  HOLD_LEFT,  60 - 250 * DT - 55 * DT,          LINE_SKIDDING, 0},
        // Below 20 in the old direction: flipped at once to 20 the other way.
        {10,  HOLD_LEFT,  -20 - 250 * DT + 55 * DT,         LINE_WALKING,  0},
        {-10, HOLD_RIGHT, 20 + 250 * DT - 55 * DT,          LINE_WALKING,  1},
        {-60, HOLD_RIGHT, -60 + 250 * DT + 55 * DT,         LINE_SKIDDING, 1},
    };
    // clang-format on
    WorldPlay play("skid", flatStage());
    ASSERT_TRUE(play.settle());
    for (const auto& c : cases) {
        player.x = 300;
        // A direction counts from its second frame, when it reads as held.
        ASSERT_TRUE(play.frames(1, c.held));
        player.vx = c.vx;
        ASSERT_TRUE(play.frames(1, c.held));
        EXPECT_NEAR(player.vx, c.expectedVx, 1e-9) << "from " << c.vx;
        EXPECT_EQ(player.animator.line, c.line) << "from " << c.vx;
        EXPECT_EQ(player.facing, c.facing) << "from " << c.vx;
        player.vx = 0;
        ASSERT_TRUE(play.frames(4));
    }
}

TEST(PlayerRun, FrictionStopsThePlayerAtTwentyWithNoDirectionPressed) {
    WorldPlay play("friction", flatStage());
    ASSERT_TRUE(play.settle());
    player.x = 300;
    player.vx = 30;
    // 55 a second takes 0.88 a frame: twelve frames bring 30 to 20 or less.
    ASSERT_TRUE(play.frames(11));
    EXPECT_NEAR(player.vx, 30 - 11 * 55 * DT, 1e-9);
    ASSERT_TRUE(play.frames(1));
    EXPECT_EQ(player.vx, 0);
    EXPECT_EQ(player.animator.line, LINE_STANDING);
}

TEST(PlayerRun, DashReachesOneHundredFortyAndWalkingSixty) {
    WorldPlay play("top-speed", flatStage());
    ASSERT_TRUE(play.settle());
    ASSERT_TRUE(play.frames(60, HOLD_RIGHT));
    // The limit, then that frame's friction.
    EXPECT_NEAR(player.vx, 60 - 55 * DT, 1e-9);
    ASSERT_TRUE(play.frames(60, HOLD_RIGHT | HOLD_C));
    EXPECT_NEAR(player.vx, 140 - 55 * DT, 1e-9);
    EXPECT_EQ(player.animator.line, LINE_DASHING);
}

TEST(PlayerGround, WalkingOffAnEdgeFallsToTheFloorBelow) {
    TestStageFile file;
    file.stages.push_back({"null",
                           0,
                           {
                               "##########..............",
                               "..........##############",
                           }});
    WorldPlay play("edge", file);
    ASSERT_TRUE(play.settle());
    ASSERT_EQ(player.y, 224);
    ASSERT_TRUE(play.until([] { return player.airborne != 0; }, 400, HOLD_RIGHT));
    EXPECT_EQ(player.vy, 0) << "walking off starts the fall from rest";
    EXPECT_GE(player.x + player.inset, 160) << "no longer over the upper floor";
    ASSERT_TRUE(play.until([] { return !player.airborne; }, 200, HOLD_RIGHT));
    EXPECT_EQ(player.y, 240) << "standing on the lower floor";
    EXPECT_EQ(player.vy, 0);
}

TestStageFile stepsAndBlock() {
    TestStageFile file;
    // Rows from y 128: a block whose bottom is at 160 over x 320, and a step
    // whose top is at 208 from x 352 on.
    file.stages.push_back({"null",
                           0,
                           {
                               "........................................",
                               "....................=...................",
                               "........................................",
                               "........................................",
                               "........................................",
                               "......................==================",
                               "########################################",
                               "========================================",
                           }});
    return file;
}

TEST(PlayerAir, AHeadBumpStopsTheRiseBelowTheBlock) {
    WorldPlay play("bump", stepsAndBlock());
    ASSERT_TRUE(play.settle());
    player.x = 320;
    ASSERT_TRUE(play.frames(1, HOLD_B));
    double highestHead = player.y - player.height;
    ASSERT_TRUE(play.until(
        [&] {
            highestHead = std::min(highestHead, player.y - player.height);
            return player.vy >= 0;
        },
        100, HOLD_B));
    EXPECT_EQ(player.vy, 0) << "the bump stops the rise";
    EXPECT_EQ(highestHead, 160 + 1) << "the head is put just below the block";
    ASSERT_TRUE(play.until([] { return !player.airborne; }, 200));
    EXPECT_EQ(player.y, 224);
}

TEST(PlayerAir, AJumpLandsOnTopOfAStep) {
    TestStageFile file;
    file.stages.push_back({"null",
                           0,
                           {
                               "..........##########",
                               "####################",
                           }});
    WorldPlay play("land", file);
    ASSERT_TRUE(play.settle());
    player.x = 140;
    player.vx = 60;
    ASSERT_TRUE(play.frames(1, HOLD_B | HOLD_RIGHT));
    ASSERT_TRUE(play.until([] { return !player.airborne; }, 200, HOLD_B | HOLD_RIGHT));
    EXPECT_EQ(player.y, 224) << "on the step, whose top is at 224 (the floor at 240)";
    EXPECT_EQ(player.vy, 0);
    EXPECT_GT(player.x + player.width - player.inset, 160);
    EXPECT_EQ(player.animator.line, LINE_STANDING) << "the jump line ends on landing";
}
