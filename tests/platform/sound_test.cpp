#include "platform/headless/headless.h"
#include "platform/headless/headless_audio.h"
#include "platform/paths.h"
#include "platform/sound.h"

#include "support/fixture_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A mono 16-bit PCM file of the given length at 8000 Hz.
void writeWave(const fs::path& path, uint32_t milliseconds) {
    uint32_t frames = milliseconds * 8;
    std::vector<uint8_t> b;
    auto put = [&b](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    auto tag = [&b](const char* t) { b.insert(b.end(), t, t + 4); };
    tag("RIFF");
    put(36 + frames * 2, 4);
    tag("WAVE");
    tag("fmt ");
    put(16, 4);
    put(1, 2);
    put(1, 2);
    put(8000, 4);
    put(16000, 4);
    put(2, 2);
    put(16, 2);
    tag("data");
    put(frames * 2, 4);
    for (uint32_t i = 0; i < frames; ++i)
        put((i % 40) * 500, 2);
    fs::create_directories(path.parent_path());
    FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(b.data(), 1, b.size(), out);
    std::fclose(out);
}

class SoundTest : public testing::Test {
  protected:
    void SetUp() override {
        closeSound();
        headless::resetAudio();
        folder = makeTempFolder("sound");
        fs::create_directories(folder / "se");
        setGameFolderFromExecutable((folder / "velta").string());
    }
    void TearDown() override {
        closeSound();
        fs::remove_all(folder);
    }

    // Effect that sounds for the given time; the file lies in "se".
    int load(const std::string& name, uint32_t milliseconds, int copies = 1) {
        writeWave(folder / "se" / name, milliseconds);
        return loadEffect(("se\\" + name).c_str(), copies);
    }

    void advance(uint32_t milliseconds) { headless::advanceClock(milliseconds); }

    fs::path folder;
};

TEST_F(SoundTest, PlayingAgainRestartsASoundingEffect) {
    ASSERT_EQ(openSound(), 1);
    int jump = load("jump.wav", 100);
    ASSERT_EQ(jump, 0);
    playEffect(jump);
    advance(60);
    EXPECT_EQ(effectStatus(jump), EFFECT_PLAYING);
    playEffect(jump);
    advance(60); // 120 ms after the first start: still sounding thanks to the restart
    EXPECT_EQ(effectStatus(jump), EFFECT_PLAYING);
    advance(41);
    EXPECT_EQ(effectStatus(jump), 0);
}

TEST_F(SoundTest, DifferentEffectsSoundTogether) {
    ASSERT_EQ(openSound(), 1);
    int shortOne = load("a.wav", 100);
    int longOne = load("b.wav", 300);
    ASSERT_EQ(longOne, 1);
    playEffect(shortOne);
    playEffect(longOne);
    EXPECT_EQ(effectStatus(shortOne), EFFECT_PLAYING);
    EXPECT_EQ(effectStatus(longOne), EFFECT_PLAYING);
    advance(150);
    EXPECT_EQ(effectStatus(shortOne), 0);
    EXPECT_EQ(effectStatus(longOne), EFFECT_PLAYING);
}

TEST_F(SoundTest, ResumeContinuesFromTheStopWhileAFinishedEffectStaysSilent) {
    ASSERT_EQ(openSound(), 1);
    int jingle = load("jingle.wav", 200);
    int blip = load("blip.wav", 50);
    int never = load("never.wav", 500);
    playEffect(jingle);
    playEffect(blip);
    advance(100); // blip has finished, jingle has 100 ms to go

    pauseAllEffects();
    EXPECT_EQ(effectStatus(jingle), 0);
    advance(5000);
    resumeAllEffects();
    EXPECT_EQ(effectStatus(jingle), EFFECT_PLAYING);
    EXPECT_EQ(effectStatus(blip), 0);
    EXPECT_EQ(effectStatus(never), 0);
    advance(99);
    EXPECT_EQ(effectStatus(jingle), EFFECT_PLAYING);
    advance(2);
    EXPECT_EQ(effectStatus(jingle), 0);

    // A second resume with nothing paused in between brings nothing back.
    resumeAllEffects();
    EXPECT_EQ(effectStatus(jingle), 0);
}

TEST_F(SoundTest, StopSilencesEveryCopyOrOne) {
    ASSERT_EQ(openSound(), 1);
    int coin = load("coin.wav", 100, 3);
    for (int i = 0; i < 3; ++i)
        playEffect(coin); // the next copy each time
    for (int copy = 0; copy < 3; ++copy)
        EXPECT_EQ(effectStatus(coin, copy), EFFECT_PLAYING);
    stopEffect(coin, 1);
    EXPECT_EQ(effectStatus(coin, 1), 0);
    EXPECT_EQ(effectStatus(coin, 2), EFFECT_PLAYING);
    stopEffect(coin);
    EXPECT_EQ(effectStatus(coin, 0), 0);
    EXPECT_EQ(effectStatus(coin, 2), 0);
}

TEST_F(SoundTest, WithoutADeviceEverythingIsSilentAndHarmless) {
    headless::setAudioDeviceAvailable(false);
    writeWave(folder / "se" / "yaa.wav", 100);
    EXPECT_EQ(openSound(), 0);
    EXPECT_FALSE(soundOpen());
    EXPECT_EQ(loadEffect("se\\yaa.wav", 1), 0);
    loadGameEffects();
    playEffect(SE_YAA);
    EXPECT_EQ(effectStatus(SE_YAA), 0);
    pauseAllEffects();
    resumeAllEffects();
    stopEffect(SE_YAA);
    EXPECT_EQ(headless::liveEffectBuffers(), 0);
    closeSound();
}

TEST_F(SoundTest, GameEffectsKeepTheirNumbersEvenWhenOneFileIsMissing) {
    for (int effect = 0; effect < SE_COUNT; ++effect) {
        if (effect == SE_COIN) continue;
        std::string file = gameEffectFile(effect);
        writeWave(folder / "se" / file.substr(3), 20 + 10 * effect);
    }
    ASSERT_EQ(openSound(), 1);
    loadGameEffects();
    EXPECT_EQ(headless::liveEffectBuffers(), SE_COUNT - 1);
    for (int effect = 0; effect < SE_COUNT; ++effect) {
        playEffect(effect);
        if (effect == SE_COIN) {
            EXPECT_EQ(effectStatus(effect), 0);
            continue;
        }
        uint32_t length = 20 + 10 * effect;
        advance(length - 1);
        EXPECT_EQ(effectStatus(effect), EFFECT_PLAYING) << gameEffectFile(effect);
        advance(2);
        EXPECT_EQ(effectStatus(effect), 0) << gameEffectFile(effect);
    }
    EXPECT_STREQ(gameEffectFile(SE_TAIHO), "se\\taiho.wav");
    EXPECT_EQ(gameEffectFile(SE_COUNT), nullptr);
}

TEST_F(SoundTest, FailedLoadsLeaveTheSlotFree) {
    ASSERT_EQ(openSound(), 1);
    FILE* junk = std::fopen((folder / "se" / "junk.wav").c_str(), "wb");
    ASSERT_NE(junk, nullptr);
    std::fputs("RIFF\x10\0\0\0WAVEfmt ", junk);
    std::fclose(junk);
    writeWave(folder / "se" / "good.wav", 100);

    struct Case {
        const char* file;
        int copies;
    };
    for (Case c : {Case{"se\\missing.wav", 1}, Case{"se\\junk.wav", 1}, Case{"se\\good.wav", 0},
                   Case{"se\\good.wav", 11}}) {
        EXPECT_EQ(loadEffect(c.file, c.copies), 0) << c.file << " x" << c.copies;
    }
    EXPECT_EQ(headless::liveEffectBuffers(), 0);
    EXPECT_EQ(loadEffect("se\\good.wav", 1), 0); // the first slot, still free
    EXPECT_EQ(loadEffect("se\\good.wav", 10), 1);
    EXPECT_EQ(headless::liveEffectBuffers(), 11);
}

TEST_F(SoundTest, TableHoldsSeventyEffects) {
    ASSERT_EQ(openSound(), 1);
    writeWave(folder / "se" / "x.wav", 10);
    for (int slot = 0; slot < EFFECT_SLOTS; ++slot)
        ASSERT_EQ(loadEffect("se\\x.wav", 1), slot);
    EXPECT_EQ(loadEffect("se\\x.wav", 1), 0);
    EXPECT_EQ(headless::liveEffectBuffers(), EFFECT_SLOTS);
    closeSound();
    EXPECT_EQ(headless::liveEffectBuffers(), 0);
}

TEST_F(SoundTest, NumbersOutsideTheTableDoNothing) {
    ASSERT_EQ(openSound(), 1);
    int jump = load("jump.wav", 100);
    for (int effect : {-1, 1, EFFECT_SLOTS, 100000}) {
        playEffect(effect);
        stopEffect(effect);
        EXPECT_EQ(effectStatus(effect), 0) << effect;
    }
    for (int copy : {-2, 1, 10}) {
        playEffect(jump, copy);
        EXPECT_EQ(effectStatus(jump, copy), 0) << copy;
    }
    EXPECT_EQ(effectStatus(jump), 0);
}

} // namespace
