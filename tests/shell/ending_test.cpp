// Game over, the ending and the staff roll.
#include "core/frame_clock.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_audio.h"
#include "platform/sound.h"
#include "platform/virtual_keys.h"
#include "shell/scene_machine.h"
#include "shell/scenes.h"
#include "shell/startup.h"
#include "support/game_folder_fixture.h"
#include "support/game_passes.h"
#include "world/world.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

bool sceneSettled() {
    return fadeState == FADE_NONE;
}

// Starts a run in debug mode with short jingles and the staff roll's music,
// then switches to the given scene as the game would.
void startIn(GameFolderFixture& game, int scene, int jingle) {
    writeToneWave(game.folder() / "se" / "gmov.wav", 1500);
    writeToneWave(game.folder() / "se" / "allclear.wav", 3000);
    writeMidiFile(game.folder() / "bgm" / "crd.mid");
    ASSERT_TRUE(startUp("/D"));
    ASSERT_TRUE(runPasses(1));
    sceneNumber = scene;
    playEffect(jingle);
    startFadeIn();
}

} // namespace

TEST(Credits, EightyThreeLinesEndingWithTwoEmptyOnes) {
    const std::string& text = creditsText();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 82);
    EXPECT_EQ(text.substr(0, 15), "ll TARVELON ll\n");
    EXPECT_EQ(text.substr(text.size() - 28), "   THANK YOU FOR PLAYINGhh\n\n");
    size_t longest = 0, start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        longest = std::max(longest, end - start);
    EXPECT_LE(30 + 8 * longest, 288u) << "every line fits the screen";
}

TEST(GameOverScene, WaitsForTheJingleThenWrapsItsMenu) {
    GameFolderFixture game("game-over");
    startIn(game, SCENE_GAME_OVER, SE_GMOV);
    ASSERT_TRUE(tapKey(VK_DOWN));
    EXPECT_EQ(gameOverCursor(), 0) << "keys wait for the jingle";
    while (effectStatus(SE_GMOV) == EFFECT_PLAYING)
        ASSERT_TRUE(runPasses(1));
    ASSERT_TRUE(tapKey(VK_UP));
    EXPECT_EQ(gameOverCursor(), 1);
    ASSERT_TRUE(tapKey(VK_DOWN));
    EXPECT_EQ(gameOverCursor(), 0);
    ASSERT_TRUE(tapKey(VK_DOWN));
    ASSERT_TRUE(tapKey(VK_Z)); // RESET
    while (sceneNumber == SCENE_GAME_OVER)
        ASSERT_TRUE(runPasses(1));
    EXPECT_EQ(sceneNumber, SCENE_TITLE);
    EXPECT_EQ(gameOverCursor(), 0);
}

TEST(GameOverScene, ContinueStartsANewGame) {
    GameFolderFixture game("continue");
    startIn(game, SCENE_GAME_OVER, SE_GMOV);
    while (effectStatus(SE_GMOV) == EFFECT_PLAYING)
        ASSERT_TRUE(runPasses(1));
    world.newGameFlag = 0;
    ASSERT_TRUE(tapKey(VK_Z));
    while (sceneNumber == SCENE_GAME_OVER)
        ASSERT_TRUE(runPasses(1));
    EXPECT_EQ(sceneNumber, SCENE_GAMEPLAY);
    EXPECT_EQ(world.newGameFlag, 1);
}

TEST(EndingScene, RevealsLinesAndLeavesOnlyWhenAllAreShownAndTheFanfareIsOver) {
    for (uint8_t mainGame : {1, 0}) {
        GameFolderFixture game("ending");
        world.mainGameFlag = mainGame;
        world.finalScore = 123456;
        std::copy_n("FUIQHU", 7, world.scoreCode);
        world.endingText = "WELL DONE\nSEE YOU";
        startIn(game, SCENE_ENDING, SE_ALLCLEAR);
        const uint32_t start = gameClock();
        ASSERT_EQ(effectStatus(SE_ALLCLEAR), EFFECT_PLAYING);
        ASSERT_TRUE(runPassesUntil(sceneSettled));
        ASSERT_TRUE(tapKey(VK_Z));
        EXPECT_LT(endingRevealStep(), 7);
        while (endingRevealStep() < 7)
            ASSERT_TRUE(runPasses(1));
        EXPECT_GT(gameClock() - start, 7u * 250u) << "a line every quarter second";
        ASSERT_TRUE(tapKey(VK_Z));
        EXPECT_EQ(fadeState, FADE_NONE) << "the fanfare still plays";
        while (effectStatus(SE_ALLCLEAR) == EFFECT_PLAYING)
            ASSERT_TRUE(runPasses(1));
        ASSERT_TRUE(tapKey(VK_Z));
        while (sceneNumber == SCENE_ENDING)
            ASSERT_TRUE(runPasses(1));
        EXPECT_EQ(sceneNumber, mainGame ? SCENE_STAFF_ROLL : SCENE_TITLE);
        EXPECT_EQ(endingRevealStep(), 0);
    }
}

TEST(StaffRollScene, PlaysItsMusicAndEndsByItself) {
    GameFolderFixture game("staff-roll");
    startIn(game, SCENE_STAFF_ROLL, SE_ALLCLEAR);
    ASSERT_TRUE(runPasses(1));
    EXPECT_EQ(headless::musicRecord().state, headless::MidiState::Playing);
    EXPECT_NE(headless::musicRecord().playingPath.find("bgm/crd.mid"), std::string::npos);
    int passes = 0;
    while (sceneNumber == SCENE_STAFF_ROLL && passes < 10000) {
        ASSERT_TRUE(runPasses(1));
        ++passes;
    }
    EXPECT_EQ(sceneNumber, SCENE_TITLE);
    // 82 lines of 9 pixels plus the screen and 64 pixels at 20 pixels a second.
    EXPECT_GT(passes, int(1058 / 20.0 / 0.016));
    EXPECT_EQ(headless::musicRecord().state, headless::MidiState::Stopped);
    EXPECT_EQ(staffRollOffset(), 0.0);
}

TEST(StaffRollScene, ConfirmEndsItEarly) {
    GameFolderFixture game("staff-roll-early");
    startIn(game, SCENE_STAFF_ROLL, SE_ALLCLEAR);
    ASSERT_TRUE(runPassesUntil(sceneSettled));
    ASSERT_TRUE(tapKey(VK_Z));
    while (sceneNumber == SCENE_STAFF_ROLL)
        ASSERT_TRUE(runPasses(1));
    EXPECT_EQ(sceneNumber, SCENE_TITLE);
    EXPECT_EQ(headless::musicRecord().state, headless::MidiState::Stopped);
}
