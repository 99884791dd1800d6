#include "platform/headless/headless.h"
#include "platform/headless/headless_audio.h"
#include "platform/music.h"
#include "platform/music_library.h"
#include "platform/paths.h"

#include "support/fixture_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using headless::MidiState;
using platform::MidiStart;

// A format 0 file with one quarter note.
class MusicTest : public testing::Test {
  protected:
    void SetUp() override {
        closeMusic();
        KBGMClose();
        headless::resetAudio();
        folder = makeTempFolder("music");
        for (const char* name : {"def.mid", "stage2.mid", "crd.mid"}) {
            writeMidiFile(folder / "bgm" / name);
        }
        setGameFolderFromExecutable((folder / "velta").string());
    }
    void TearDown() override {
        closeMusic();
        KBGMClose();
        fs::remove_all(folder);
    }

    std::string bgm(const char* name) const { return (folder / "bgm" / name).string(); }
    const headless::MusicRecord& record() const { return headless::musicRecord(); }

    fs::path folder;
};

TEST_F(MusicTest, FirstPieceAndThePieceAfterAResetStartFresh) {
    ASSERT_EQ(openMusic(), 0);
    struct Step {
        bool resetFirst;
        const char* name;
        MidiStart expected;
    };
    const Step steps[] = {
        {false, "\\bgm\\def.mid", MidiStart::Fresh},          // first piece after start-up
        {false, "\\bgm\\stage2.mid", MidiStart::CutPrevious}, // next stage
        {false, "\\bgm\\stage2.mid", MidiStart::CutPrevious}, // retry of the stage
        {true, "bgm\\crd.mid", MidiStart::Fresh},             // staff roll
        {false, "\\bgm\\def.mid", MidiStart::CutPrevious},
    };
    int plays = 0;
    for (const Step& step : steps) {
        if (step.resetFirst) resetFirstPlay();
        loadAndPlayMusic(step.name);
        EXPECT_EQ(record().playCount, ++plays) << step.name;
        EXPECT_EQ(record().lastStart, step.expected) << step.name;
        EXPECT_EQ(record().state, MidiState::Playing) << step.name;
    }
    EXPECT_EQ(record().playingPath, bgm("def.mid"));
    EXPECT_EQ(record().soundfontLoads, 1);
}

TEST_F(MusicTest, PieceThatCannotBeLoadedLeavesThePreviousOnePlaying) {
    ASSERT_EQ(openMusic(), 0);
    FILE* notMidi = std::fopen(bgm("text.mid").c_str(), "wb");
    ASSERT_NE(notMidi, nullptr);
    std::fputs("not a tune", notMidi);
    std::fclose(notMidi);

    loadAndPlayMusic("\\bgm\\def.mid");
    for (const char* name : {"\\bgm\\missing.mid", "\\bgm\\text.mid", "\\bgm"}) {
        loadAndPlayMusic(name);
        EXPECT_EQ(record().playingPath, bgm("def.mid")) << name;
        EXPECT_EQ(record().playCount, 1) << name;
    }
    // The failed loads did not use up the first play either.
    loadAndPlayMusic("\\bgm\\stage2.mid");
    EXPECT_EQ(record().lastStart, MidiStart::CutPrevious);
}

TEST_F(MusicTest, FileNamesFollowTheGameFolderInAnyCase) {
    ASSERT_EQ(openMusic(), 0);
    loadAndPlayMusic("\\BGM\\Stage2.MID");
    EXPECT_EQ(record().playingPath, bgm("stage2.mid"));
}

TEST_F(MusicTest, PauseHoldsThePieceAndResumeGoesOn) {
    ASSERT_EQ(openMusic(), 0);
    loadAndPlayMusic("\\bgm\\def.mid");
    headless::advanceClock(500);
    pauseMusic();
    EXPECT_EQ(record().state, MidiState::Paused);
    headless::advanceClock(3000);
    EXPECT_EQ(record().playedMs, 500u);
    resumeMusic();
    headless::advanceClock(200);
    EXPECT_EQ(record().state, MidiState::Playing);
    EXPECT_EQ(record().playedMs, 700u);
    EXPECT_EQ(record().playingPath, bgm("def.mid"));
}

TEST_F(MusicTest, StopAndFreeSilencesForGoodEvenThroughPauseAndResume) {
    ASSERT_EQ(openMusic(), 0);
    loadAndPlayMusic("\\bgm\\def.mid");
    stopAndFreeMusic();
    EXPECT_EQ(record().state, MidiState::Stopped);
    EXPECT_EQ(record().playingPath, "");
    EXPECT_EQ(record().loadedPieces, 0);
    pauseMusic();
    resumeMusic();
    EXPECT_EQ(record().state, MidiState::Stopped);
    stopAndFreeMusic(); // twice is harmless
    // The next stage's music plays again, told that something may sound.
    loadAndPlayMusic("\\bgm\\stage2.mid");
    EXPECT_EQ(record().state, MidiState::Playing);
    EXPECT_EQ(record().lastStart, MidiStart::CutPrevious);
}

TEST_F(MusicTest, PlayingANewPieceEndsAPause) {
    ASSERT_EQ(openMusic(), 0);
    loadAndPlayMusic("\\bgm\\def.mid");
    pauseMusic();
    loadAndPlayMusic("\\bgm\\stage2.mid");
    EXPECT_EQ(record().state, MidiState::Playing);
    EXPECT_EQ(record().playingPath, bgm("stage2.mid"));
}

TEST_F(MusicTest, WithoutDeviceOrSoundfontMusicStaysSilent) {
    for (bool deviceMissing : {true, false}) {
        headless::resetAudio();
        if (deviceMissing) {
            headless::setAudioDeviceAvailable(false);
        } else {
            headless::setSoundfontAvailable(false);
        }
        EXPECT_NE(openMusic(), 0);
        EXPECT_FALSE(musicOpen());
        loadAndPlayMusic("\\bgm\\def.mid");
        pauseMusic();
        resumeMusic();
        stopAndFreeMusic();
        closeMusic();
        EXPECT_EQ(record().playCount, 0);
        EXPECT_EQ(record().lastLoadedPath, "");
        EXPECT_FALSE(record().playerOpen);
    }
}

TEST_F(MusicTest, CloseStopsAndFreesEverything) {
    ASSERT_EQ(openMusic(), 0);
    loadAndPlayMusic("\\bgm\\def.mid");
    closeMusic();
    EXPECT_FALSE(musicOpen());
    EXPECT_FALSE(record().playerOpen);
    EXPECT_EQ(record().state, MidiState::Stopped);
    EXPECT_EQ(record().loadedPieces, 0);
    // Opening again loads the soundfont again, once.
    ASSERT_EQ(openMusic(), 0);
    loadAndPlayMusic("\\bgm\\def.mid");
    EXPECT_EQ(record().soundfontLoads, 2);
    EXPECT_EQ(record().lastStart, MidiStart::Fresh);
}

// Stages load their music without freeing the last piece; the library must
// keep working and keep the piece that plays.
TEST_F(MusicTest, LibraryForgetsOldPiecesButNeverThePlayingOne) {
    ASSERT_EQ(KBGMOpen(2, -1), KBGM_OK);
    KBGMHandle first = 0;
    ASSERT_EQ(KBGMLoadFile(&first, bgm("def.mid").c_str()), KBGM_OK);
    ASSERT_EQ(KBGMPlay(first, 0), KBGM_OK);
    KBGMHandle later = 0;
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(KBGMLoadFile(&later, bgm("crd.mid").c_str()), KBGM_OK);
    }
    EXPECT_EQ(record().loadedPieces, 2);
    EXPECT_EQ(record().playingPath, bgm("def.mid"));
    EXPECT_EQ(KBGMPause(), KBGM_OK);
    EXPECT_EQ(KBGMResume(first), KBGM_OK);
    EXPECT_EQ(KBGMPlay(later, 1), KBGM_OK);
    EXPECT_EQ(record().playingPath, bgm("crd.mid"));
}

TEST_F(MusicTest, LibraryRejectsBadCalls) {
    KBGMHandle handle = 7;
    EXPECT_EQ(KBGMLoadFile(&handle, bgm("def.mid").c_str()), KBGM_ERROR_NOT_OPEN);
    EXPECT_EQ(KBGMPlay(1, 0), KBGM_ERROR_NOT_OPEN);
    EXPECT_EQ(KBGMOpen(0, -1), KBGM_ERROR_ARGUMENT);
    EXPECT_EQ(KBGMOpen(10, 3), KBGM_ERROR_ARGUMENT);
    ASSERT_EQ(KBGMOpen(10, -1), KBGM_OK);

    EXPECT_EQ(KBGMLoadFile(nullptr, bgm("def.mid").c_str()), KBGM_ERROR_ARGUMENT);
    EXPECT_EQ(KBGMLoadFile(&handle, nullptr), KBGM_ERROR_ARGUMENT);
    EXPECT_EQ(KBGMLoadFile(&handle, bgm("missing.mid").c_str()), KBGM_ERROR_LOAD);
    EXPECT_EQ(handle, 7); // untouched by a failed load
    EXPECT_EQ(KBGMPlay(12345, 0), KBGM_ERROR_HANDLE);
    EXPECT_EQ(KBGMPause(), KBGM_ERROR_NOT_PLAYING);

    ASSERT_EQ(KBGMLoadFile(&handle, bgm("def.mid").c_str()), KBGM_OK);
    EXPECT_EQ(KBGMPlay(handle, 2), KBGM_ERROR_ARGUMENT);
    EXPECT_EQ(KBGMResume(handle), KBGM_ERROR_NOT_PLAYING);
    EXPECT_EQ(KBGMFree(handle), KBGM_OK);
    EXPECT_EQ(KBGMFree(handle), KBGM_ERROR_HANDLE);
    EXPECT_EQ(KBGMClose(), KBGM_OK);
    EXPECT_EQ(KBGMClose(), KBGM_ERROR_NOT_OPEN);
}

} // namespace
