// Frame timing, fades, the Escape request and the confirmation scene.
#include "core/frame_clock.h"
#include "core/random.h"
#include "platform/blit.h"
#include "platform/display.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_audio.h"
#include "platform/music.h"
#include "platform/palette.h"
#include "platform/sheets.h"
#include "platform/sound.h"
#include "platform/virtual_keys.h"
#include "shell/scene_machine.h"
#include "shell/startup.h"
#include "support/game_folder_fixture.h"
#include "support/game_passes.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

void pressEscape() {
    headless::pushEvent({platform::EventType::KeyDown, VK_ESCAPE});
}

} // namespace

TEST(RandomSource, FollowsTheLinearCongruentialSequence) {
    seedRandom(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169};
    for (int value : expected)
        EXPECT_EQ(drawRandom(), value);
    seedRandom(0);
    EXPECT_EQ(drawRandom(), 38);
}

TEST(FrameLoop, FrameTimeLagsOnePassAndClampsAfterAWait) {
    GameFolderFixture game("frame-time");
    ASSERT_TRUE(startUp("/D"));
    ASSERT_TRUE(runPasses(1)); // the boot scene, which waits a second
    ASSERT_EQ(sceneNumber, SCENE_TITLE);
    resetFrameClock(platform::ticks());
    // The title scene presents once a pass (16 ms of virtual time); what each
    // pass's scene sees is what the pass before it measured.
    std::vector<double> seen;
    for (int pass = 0; pass < 7; ++pass) {
        seen.push_back(frameTime);
        ASSERT_TRUE(runPasses(1));
        if (pass == 3) platform::sleep(500); // a long pass
    }
    EXPECT_DOUBLE_EQ(seen[0], 0.0); // the first pass
    EXPECT_DOUBLE_EQ(seen[1], 0.0); // start-up to the first pass took no time
    EXPECT_DOUBLE_EQ(seen[2], 0.016);
    EXPECT_DOUBLE_EQ(seen[4], 0.016); // pass after the wait: measured before it
    EXPECT_DOUBLE_EQ(seen[5], 0.1);   // the wait itself, clamped
    EXPECT_DOUBLE_EQ(seen[6], 0.016);
}

TEST(FrameLoop, FrameRateCountsPassesOfTheLastSecond) {
    // Quarter seconds add up exactly in binary, so the second boundary is sharp.
    resetFrameClock(0);
    uint32_t t = 0;
    measurePass(t += 250);
    EXPECT_EQ(frameRate, 1);
    for (int i = 0; i < 4; ++i)
        measurePass(t += 250);
    EXPECT_EQ(frameRate, 4);
    measurePass(t += 2000); // a long pass still counts, then the time is clamped
    EXPECT_EQ(frameRate, 1);
    EXPECT_DOUBLE_EQ(frameTime, 0.1);
}

TEST(Fades, StepEveryMoreThanFiftyMillisecondsOfGameClock) {
    resetFrameClock(0);
    resetSceneMachine();
    startFadeOut();
    EXPECT_EQ(fadeLevel, 0);
    // clang-format off
    const struct {
        double advance;
        int level;
        uint8_t state;
    } steps[] = {{50, 0, FADE_OUT}, {1, 1, FADE_OUT}, {51, 2, FADE_OUT}, {51, 3, FADE_OUT},
                 {51, 4, FADE_OUT}, {51, 5, FADE_OUT}, {51, 6, FADE_OUT}, {51, 7, FADE_OUT},
                 {51, 7, FADE_NONE}, {500, 7, FADE_NONE}};
    // clang-format on
    for (const auto& step : steps) {
        advanceGameClock(step.advance);
        drawFade();
        EXPECT_EQ(fadeLevel, step.level);
        EXPECT_EQ(fadeState, step.state);
    }
    startFadeIn();
    EXPECT_EQ(fadeLevel, 7);
    for (int i = 0; i < 7; ++i) {
        advanceGameClock(51);
        drawFade();
    }
    EXPECT_EQ(fadeLevel, 0);
    EXPECT_EQ(fadeState, FADE_IN);
    advanceGameClock(51);
    drawFade();
    EXPECT_EQ(fadeState, FADE_NONE);
}

TEST(EscapeRequest, IgnoredDuringFadesAndPause) {
    headless::resetAll();
    ASSERT_EQ(startVideo(DISPLAY_WIDTH, DISPLAY_HEIGHT), 1);
    resetSceneMachine();
    createBlankSheet(SHEET_SNAPSHOT, 288, 256);
    sceneNumber = SCENE_TITLE;
    for (uint8_t state : {FADE_IN, FADE_OUT}) {
        fadeState = state;
        escapeRequest();
        EXPECT_EQ(sceneNumber, SCENE_TITLE);
    }
    fadeState = FADE_NONE;
    pauseFlag = 1;
    escapeRequest();
    EXPECT_EQ(sceneNumber, SCENE_TITLE);
    pauseFlag = 0;
    escapeRequest();
    EXPECT_EQ(sceneNumber, SCENE_CONFIRMATION);
    EXPECT_EQ(returnScene, SCENE_TITLE);
    escapeRequest();
    EXPECT_EQ(escapeAgainFlag, 1);
}

// The dialog stands over the picture the player saw, not over the flat colour
// the present has already cleared the back buffer to.
TEST(EscapeRequest, SnapshotHoldsThePictureLastShown) {
    for (bool pageFlip : {false, true}) {
        headless::resetAll();
        ASSERT_EQ(startVideo(DISPLAY_WIDTH, DISPLAY_HEIGHT), 1);
        setPageFlipMode(pageFlip);
        resetSceneMachine();
        createBlankSheet(SHEET_SNAPSHOT, 288, 256);
        sceneNumber = SCENE_TITLE;
        backBuffer().fill(135);
        backBuffer().row(10)[20] = 7;
        backBuffer().row(255)[287] = 9;
        present(1, 42);
        escapeRequest();
        const Surface& snapshot = *sheetSurface(SHEET_SNAPSHOT);
        EXPECT_EQ(snapshot.at(20, 10), 7) << "page flip " << pageFlip;
        EXPECT_EQ(snapshot.at(287, 255), 9) << "page flip " << pageFlip;
        EXPECT_EQ(snapshot.at(100, 100), 135) << "page flip " << pageFlip;
    }
    setPageFlipMode(false);
}

class Confirmation : public testing::Test {
  protected:
    Confirmation() : game("confirmation") {}
    void SetUp() override {
        writeMidiFile(game.folder() / "bgm" / "def.mid");
        writeToneWave(game.folder() / "se" / "gmov.wav", 2000);
        ASSERT_TRUE(startUp("/D"));
        ASSERT_TRUE(runPassesUntilTitleSettles());
    }
    // Boot, then the title's fade-in.
    bool runPassesUntilTitleSettles() {
        for (int i = 0; i < 200; ++i) {
            if (!framePass()) return false;
            if (sceneNumber == SCENE_TITLE && fadeState == FADE_NONE) return true;
        }
        return false;
    }
    // Music and a long effect sounding when Escape is pressed.
    void startSounds() {
        loadAndPlayMusic("bgm\\def.mid");
        playEffect(SE_GMOV);
        ASSERT_EQ(headless::musicRecord().state, headless::MidiState::Playing);
        ASSERT_EQ(effectStatus(SE_GMOV), EFFECT_PLAYING);
    }
    GameFolderFixture game;
};

TEST_F(Confirmation, OkInATitleSceneEndsTheProgram) {
    pressEscape();
    ASSERT_TRUE(runPasses(1));
    ASSERT_EQ(sceneNumber, SCENE_CONFIRMATION);
    const uint32_t clockBefore = gameClock();
    ASSERT_TRUE(runPasses(3));
    EXPECT_EQ(gameClock(), clockBefore) << "the game clock stands still in the dialog";
    ASSERT_TRUE(tapKey(VK_Z)); // cursor starts on OK
    int passes = 0;
    while (framePass() && passes < 100)
        ++passes;
    EXPECT_LT(passes, 100) << "the game should have quit";
    EXPECT_FALSE(videoStarted());
}

TEST_F(Confirmation, OkFromGameplayReturnsToTheTitleWithTheMusicLeftPaused) {
    sceneNumber = SCENE_GAMEPLAY;
    ASSERT_TRUE(runPasses(1));
    startSounds();
    pressEscape();
    ASSERT_TRUE(runPasses(1));
    ASSERT_EQ(sceneNumber, SCENE_CONFIRMATION);
    ASSERT_TRUE(runPasses(1)); // the dialog's first pass pauses everything
    EXPECT_EQ(headless::musicRecord().state, headless::MidiState::Paused);
    EXPECT_EQ(effectStatus(SE_GMOV), 0);
    ASSERT_TRUE(tapKey(VK_Z));
    for (int i = 0; i < 100 && sceneNumber == SCENE_CONFIRMATION; ++i)
        ASSERT_TRUE(runPasses(1));
    EXPECT_EQ(sceneNumber, SCENE_TITLE);
    EXPECT_EQ(fadeState, FADE_IN);
    EXPECT_EQ(headless::musicRecord().state, headless::MidiState::Paused);
    EXPECT_EQ(effectStatus(SE_GMOV), 0);
}

TEST_F(Confirmation, CancelReturnsWithoutAFadeAndResumesMusicAndEffects) {
    startSounds();
    pressEscape();
    ASSERT_TRUE(runPasses(1));
    ASSERT_TRUE(runPasses(1));
    EXPECT_EQ(headless::musicRecord().state, headless::MidiState::Paused);
    EXPECT_EQ(effectStatus(SE_GMOV), 0);
    const uint32_t musicPlayed = headless::musicRecord().playedMs;
    ASSERT_TRUE(tapKey(VK_DOWN));
    ASSERT_TRUE(tapKey(VK_UP));
    ASSERT_TRUE(tapKey(VK_DOWN));
    EXPECT_EQ(headless::musicRecord().playedMs, musicPlayed) << "paused music stands still";
    ASSERT_TRUE(tapKey(VK_Z));
    EXPECT_EQ(sceneNumber, SCENE_TITLE);
    EXPECT_EQ(fadeState, FADE_NONE);
    EXPECT_EQ(headless::musicRecord().state, headless::MidiState::Playing);
    EXPECT_EQ(effectStatus(SE_GMOV), EFFECT_PLAYING) << "the effect goes on where it stopped";
}

TEST_F(Confirmation, EscapeAgainChoosesCancel) {
    pressEscape();
    ASSERT_TRUE(runPasses(1));
    ASSERT_EQ(sceneNumber, SCENE_CONFIRMATION);
    pressEscape();
    ASSERT_TRUE(runPasses(1)); // the request arrives in this pass's drain
    ASSERT_TRUE(runPasses(1)); // the next pass closes the dialog
    EXPECT_EQ(sceneNumber, SCENE_TITLE);
    EXPECT_EQ(fadeState, FADE_NONE);
}
