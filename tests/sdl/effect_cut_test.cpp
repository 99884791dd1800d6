// What the SDL backend's effect buffers put into the mixed output when a copy
// is cut short, played again or stopped while it sounds: heard as the mixer
// hands its passes to the sound device (the post-mix hook) on SDL's dummy
// driver, which runs the mixer at the device's pace and plays nothing.
#include "platform/audio_backend.h"
#include "platform/loaders/wave_loader.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace {

constexpr int RATE = 44100;
constexpr int SOUND_FRAMES = RATE / 2;
constexpr int EDGE_FRAMES = RATE / 200; // the sound's own fade in and out, 5 ms
// A cut copy must be gone from the output within this time, and every step
// between two output samples stay below MAX_STEP: the test sound's own steps
// are under 0.004 of full scale, a cut anywhere after its fade-in steps by
// at least 0.3.
constexpr int CUT_GONE_FRAMES = RATE / 100;
constexpr int MAX_STEP = 32768 / 50;
// SDL's conversion to stereo goes through floating point and may round a
// sample by one.
constexpr int CONVERSION_ERROR = 1;

// Half a second of a tone that never comes near zero once faded in (0.5 plus
// or minus 0.2 of full scale), mono at the device rate so that the mixed
// output holds it sample for sample, but for rounding. Its first and last
// samples are not zero, so where it starts and ends can be read from the
// output.
std::vector<Sint16> toneWave() {
    std::vector<Sint16> wave(SOUND_FRAMES);
    for (int i = 0; i < SOUND_FRAMES; ++i) {
        double edge =
            std::min({1.0, (i + 1.0) / EDGE_FRAMES, double(SOUND_FRAMES - i) / EDGE_FRAMES});
        double level = 0.5 + 0.2 * std::sin(2 * M_PI * 100 * i / RATE);
        wave[size_t(i)] = Sint16(std::lround(32767 * edge * level));
    }
    return wave;
}

PcmSound toneSound(const std::vector<Sint16>& wave) {
    PcmSound sound;
    sound.sampleFormat = AUDIO_S16SYS;
    sound.channels = 1;
    sound.rate = RATE;
    const auto* bytes = reinterpret_cast<const uint8_t*>(wave.data());
    sound.samples.assign(bytes, bytes + wave.size() * sizeof(Sint16));
    return sound;
}

// The left channel of every pass the mixer has made since the last clear.
struct Tap {
    std::mutex mutex;
    std::vector<Sint16> left;
    int passFrames = 0;
};

Tap tap;

void record(void*, Uint8* stream, int length) {
    std::lock_guard<std::mutex> lock(tap.mutex);
    const auto* frames = reinterpret_cast<const Sint16*>(stream);
    int count = length / int(2 * sizeof(Sint16));
    for (int i = 0; i < count; ++i)
        tap.left.push_back(frames[2 * i]);
    tap.passFrames = count;
}

int framesMixed() {
    std::lock_guard<std::mutex> lock(tap.mutex);
    return int(tap.left.size());
}

bool waitForFrames(int frames) {
    for (Uint32 start = SDL_GetTicks(); SDL_GetTicks() - start < 10000; SDL_Delay(1)) {
        if (framesMixed() >= frames) return true;
    }
    return false;
}

enum class Action { Play, Stop };

struct Step {
    Action action;
    int framesAfterPrevious; // mixed output between the previous step and this one
};

struct CutCase {
    const char* name;
    std::vector<Step> steps;
};

const CutCase CUT_CASES[] = {
    {"played again mid-wave", {{Action::Play, 0}, {Action::Play, 8000}}},
    // The second restart takes the voice the first one cut.
    {"played again twice, two passes apart",
     {{Action::Play, 0}, {Action::Play, 8000}, {Action::Play, 2048}}},
    {"stopped mid-wave", {{Action::Play, 0}, {Action::Stop, 8000}}},
};

class EffectCut : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        opened = platform::openAudio();
        if (opened) Mix_SetPostMix(record, nullptr);
    }

    static void TearDownTestSuite() {
        if (!opened) return;
        Mix_SetPostMix(nullptr, nullptr);
        platform::closeAudio();
    }

    void SetUp() override {
        ASSERT_TRUE(opened) << "no dummy sound device";
        int rate = 0;
        Uint16 format = 0;
        int channels = 0;
        Mix_QuerySpec(&rate, &format, &channels);
        ASSERT_EQ(rate, RATE);
        ASSERT_EQ(format, AUDIO_S16SYS);
        ASSERT_EQ(channels, 2);
    }

    static inline bool opened = false;
};

TEST_F(EffectCut, ACutCopyRampsDownWhileTheNewOneStartsAtOnce) {
    const std::vector<Sint16> wave = toneWave();
    for (const CutCase& c : CUT_CASES) {
        SCOPED_TRACE(c.name);
        int buffer = platform::createEffectBuffer(toneSound(wave));
        ASSERT_GE(buffer, 0);
        {
            std::lock_guard<std::mutex> lock(tap.mutex);
            tap.left.clear();
        }
        int before = 0; // output mixed just before and after the last step
        int after = 0;
        for (const Step& step : c.steps) {
            ASSERT_TRUE(waitForFrames(after + step.framesAfterPrevious));
            before = framesMixed();
            if (step.action == Action::Play) {
                platform::playEffectBuffer(buffer);
            } else {
                platform::stopEffectBuffer(buffer);
            }
            after = framesMixed();
            EXPECT_EQ(platform::effectBufferPlaying(buffer), step.action == Action::Play);
        }
        ASSERT_TRUE(waitForFrames(after + SOUND_FRAMES + 4 * RATE / 100));
        platform::releaseEffectBuffer(buffer);

        std::lock_guard<std::mutex> lock(tap.mutex);
        const std::vector<Sint16>& out = tap.left;
        const int pass = tap.passFrames;
        int largestStep = 0;
        int largestAt = 0;
        for (size_t i = 1; i < out.size(); ++i) {
            int step = std::abs(out[i] - out[i - 1]);
            if (step > largestStep) {
                largestStep = step;
                largestAt = int(i);
            }
        }
        EXPECT_LT(largestStep, MAX_STEP)
            << "a step of " << largestStep << " at frame " << largestAt;

        int end = int(out.size());
        while (end > 0 && out[size_t(end - 1)] == 0)
            --end;
        if (c.steps.back().action == Action::Stop) {
            // Silent within the ramp after the pass that takes the stop.
            EXPECT_GE(end, before);
            EXPECT_LE(end, after + pass + CUT_GONE_FRAMES);
            continue;
        }
        // The last copy whole, starting with the first pass after the play;
        // the copy it cut is gone from the output shortly after.
        int start = end - SOUND_FRAMES;
        EXPECT_EQ(start % pass, 0) << "the new copy started at frame " << start
                                   << ", not at a pass of " << pass << " frames";
        EXPECT_GE(start, before);
        EXPECT_LE(start, after + pass);
        ASSERT_GE(start, 0);
        int differing = 0;
        for (int k = CUT_GONE_FRAMES; k < SOUND_FRAMES; ++k)
            differing += std::abs(out[size_t(start + k)] - wave[size_t(k)]) > CONVERSION_ERROR;
        EXPECT_EQ(differing, 0);
    }
}

} // namespace
