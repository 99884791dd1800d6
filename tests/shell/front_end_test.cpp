// The logo, the title menu and the ranking display.
#include "core/frame_clock.h"
#include "platform/display.h"
#include "platform/headless/headless.h"
#include "platform/palette.h"
#include "platform/sheets.h"
#include "platform/sound.h"
#include "platform/virtual_keys.h"
#include "shell/ranking.h"
#include "shell/scene_machine.h"
#include "shell/scenes.h"
#include "shell/startup.h"
#include "support/game_folder_fixture.h"
#include "support/game_passes.h"

#include <gtest/gtest.h>

namespace {

bool inTitleAtRest() {
    return sceneNumber == SCENE_TITLE && fadeState == FADE_NONE;
}
bool inRankingAtRest() {
    return sceneNumber == SCENE_RANKING && fadeState == FADE_NONE;
}

// Runs the logo from its first pass; returns the game clock (relative to the
// logo's start) at which the chime began and the fade-out began.
struct LogoTimes {
    long chime = -1;
    long fadeOut = -1;
    bool chimeOverAtFadeOut = false;
};

LogoTimes runLogo() {
    LogoTimes times;
    const uint32_t start = gameClock();
    for (int i = 0; i < 1000 && sceneNumber == SCENE_LOGO; ++i) {
        if (!framePass()) break;
        const long now = long(gameClock() - start);
        if (times.chime < 0 && effectStatus(SE_MC) == EFFECT_PLAYING) times.chime = now;
        if (times.fadeOut < 0 && fadeState == FADE_OUT) {
            times.fadeOut = now;
            times.chimeOverAtFadeOut = effectStatus(SE_MC) != EFFECT_PLAYING;
        }
    }
    return times;
}

} // namespace

TEST(LogoScene, ChimesAfterOnePointTwoSecondsAndLeavesWhenItEnds) {
    GameFolderFixture game("logo");
    writeToneWave(game.folder() / "se" / "mc.wav", 1000);
    ASSERT_TRUE(startUp(""));
    ASSERT_TRUE(runPasses(1)); // boot
    ASSERT_EQ(sceneNumber, SCENE_LOGO);
    const LogoTimes times = runLogo();
    EXPECT_EQ(sceneNumber, SCENE_TITLE);
    EXPECT_EQ(fadeState, FADE_IN);
    EXPECT_GT(times.chime, 1200);
    EXPECT_LT(times.chime, 1300);
    EXPECT_GE(times.fadeOut, times.chime + 1000);
    EXPECT_TRUE(times.chimeOverAtFadeOut);
}

TEST(LogoScene, WithoutSoundFadesOutRightAfterTheName) {
    GameFolderFixture game("logo-silent");
    ASSERT_TRUE(startUp(""));
    ASSERT_TRUE(runPasses(1));
    const LogoTimes times = runLogo();
    EXPECT_EQ(sceneNumber, SCENE_TITLE);
    EXPECT_EQ(times.chime, -1);
    EXPECT_GT(times.fadeOut, 1200);
    EXPECT_LT(times.fadeOut, 1300);
}

TEST(TitleScene, CursorStopsAtBothEndsAndRankingComesBack) {
    GameFolderFixture game("title");
    ASSERT_TRUE(startUp("/D"));
    ASSERT_TRUE(runPassesUntil(inTitleAtRest));
    ASSERT_EQ(titleCursor(), 0);
    ASSERT_TRUE(tapKey(VK_UP));
    EXPECT_EQ(titleCursor(), 0);
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(tapKey(VK_DOWN));
    EXPECT_EQ(titleCursor(), 3);
    ASSERT_TRUE(tapKey(VK_UP));
    ASSERT_EQ(titleCursor(), 2);
    ASSERT_TRUE(tapKey(VK_Z));
    ASSERT_TRUE(runPassesUntil(inRankingAtRest));
    EXPECT_TRUE(rankingTable.empty());
    ASSERT_TRUE(tapKey(VK_Z));
    ASSERT_TRUE(runPassesUntil(inTitleAtRest));
    EXPECT_EQ(titleCursor(), 2) << "the cursor keeps its place between visits";
}

TEST(TitleScene, KeysAreIgnoredWhileLeaving) {
    GameFolderFixture game("title-leaving");
    ASSERT_TRUE(startUp("/D"));
    ASSERT_TRUE(runPassesUntil(inTitleAtRest));
    ASSERT_TRUE(tapKey(VK_DOWN));
    ASSERT_TRUE(tapKey(VK_DOWN));
    ASSERT_TRUE(tapKey(VK_Z)); // RANKING chosen: the fade-out starts
    ASSERT_TRUE(tapKey(VK_DOWN));
    EXPECT_EQ(titleCursor(), 2);
    ASSERT_TRUE(runPassesUntil(inRankingAtRest));
}

TEST(TitleScene, ExitEndsTheProgram) {
    GameFolderFixture game("title-exit");
    ASSERT_TRUE(startUp("/D"));
    ASSERT_TRUE(runPassesUntil(inTitleAtRest));
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(tapKey(VK_DOWN));
    ASSERT_TRUE(tapKey(VK_Z));
    int passes = 0;
    while (framePass() && passes < 200)
        ++passes;
    EXPECT_LT(passes, 200);
    EXPECT_FALSE(videoStarted());
}

TEST(RankingScene, ShowsTheTableFromTheSettingsFile) {
    GameFolderFixture game("ranking-scene");
    game.writeConfig("[RANKING]\r\n0=123456 FUIQHU\r\n1=999999 SHMXSQ\r\n");
    ASSERT_TRUE(startUp("/D"));
    ASSERT_TRUE(runPassesUntil(inTitleAtRest));
    ASSERT_EQ(rankingTable.size(), 2u);
    EXPECT_EQ(rankingTable[0].score, 123456u);
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(tapKey(VK_DOWN));
    ASSERT_TRUE(tapKey(VK_Z));
    ASSERT_TRUE(runPassesUntil(inRankingAtRest));
    // The picture is the ending's background with text drawn over it.
    const auto& shown = headless::lastFrameIndices();
    EXPECT_EQ(shown[size_t(VIEW_Y + 5) * DISPLAY_WIDTH + VIEW_X + 5], CLEAR_ENDING);
}
