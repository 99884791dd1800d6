// The pacing that keeps the frame loop at the display's refresh rate.
#include "platform/sdl/frame_pacer.h"

#include <gtest/gtest.h>

namespace {

constexpr double PERIOD = 1.0 / 60.0;

// Runs frames that take work seconds each, sleeping as the pacer says, and
// gives the times of the presents.
std::vector<double> presentTimes(FramePacer& pacer, double work, int frames,
                                 double presentWait = 0) {
    std::vector<double> times;
    double now = 0;
    for (int i = 0; i < frames; ++i) {
        now += work + presentWait;
        times.push_back(now);
        now += pacer.delayAfterPresent(now);
    }
    return times;
}

} // namespace

TEST(FramePacer, PacesARendererWithoutVsyncToTheRefreshRate) {
    FramePacer pacer;
    pacer.start(60, true, false);
    EXPECT_TRUE(pacer.pacing());
    const std::vector<double> times = presentTimes(pacer, 0.002, 121);
    // The first present starts the schedule; from the second on, one a refresh.
    EXPECT_NEAR(times.back() - times[1], 119 * PERIOD, 1e-9) << "two seconds, no drift";
    for (size_t i = 2; i < times.size(); ++i)
        EXPECT_NEAR(times[i] - times[i - 1], PERIOD, 1e-9);
}

TEST(FramePacer, AnUnknownRefreshRateCountsAsSixtyHertz) {
    FramePacer pacer;
    pacer.start(0, true, false);
    const std::vector<double> times = presentTimes(pacer, 0.001, 61);
    EXPECT_NEAR(times.back() - times[1], 59 * PERIOD, 1e-9);
}

TEST(FramePacer, LeavesAWorkingVsyncAlone) {
    FramePacer pacer;
    pacer.start(60, true, true);
    double now = 0;
    for (int i = 0; i < 100; ++i) {
        now += PERIOD; // the present waited for the refresh
        EXPECT_EQ(pacer.delayAfterPresent(now), 0.0);
    }
    EXPECT_FALSE(pacer.pacing());
}

TEST(FramePacer, TakesOverWhenTheRenderersVsyncDoesNotWait) {
    FramePacer pacer;
    pacer.start(60, true, true);
    const std::vector<double> times = presentTimes(pacer, 0.001, 60);
    EXPECT_TRUE(pacer.pacing());
    EXPECT_NEAR(times.back() - times[times.size() - 2], PERIOD, 1e-9);
}

TEST(FramePacer, RunsFreeWhenTurnedOff) {
    FramePacer pacer;
    pacer.start(60, false, false);
    EXPECT_FALSE(pacer.pacing());
    for (double now = 0; now < 1; now += 0.001)
        EXPECT_EQ(pacer.delayAfterPresent(now), 0.0);
}

TEST(FramePacer, ASlowFrameRestartsTheScheduleInsteadOfHurrying) {
    FramePacer pacer;
    pacer.start(60, true, false);
    double now = 0;
    pacer.delayAfterPresent(now);
    now += 0.5; // a long wait inside a scene
    EXPECT_EQ(pacer.delayAfterPresent(now), 0.0);
    now += 0.001;
    EXPECT_NEAR(pacer.delayAfterPresent(now), PERIOD - 0.001, 1e-9) << "one frame, not a burst";
}
