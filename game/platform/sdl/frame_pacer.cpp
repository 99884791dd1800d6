#include "platform/sdl/frame_pacer.h"

namespace {

// Presents this much quicker than a refresh in a row mean the renderer's
// vsync does not hold the loop back.
constexpr double QUICK_FRACTION = 0.5;
constexpr int QUICK_PRESENTS_BEFORE_PACING = 8;

} // namespace

void FramePacer::start(int refreshHz, bool enabled, bool rendererSyncs) {
    period_ = 1.0 / double(refreshHz > 0 ? refreshHz : 60);
    enabled_ = enabled;
    rendererPaces_ = rendererSyncs;
    started_ = false;
    quickPresents_ = 0;
}

double FramePacer::delayAfterPresent(double now) {
    if (!enabled_) return 0;
    if (!started_) {
        started_ = true;
        lastPresent_ = now;
        deadline_ = now;
        return 0;
    }
    const double interval = now - lastPresent_;
    lastPresent_ = now;
    if (rendererPaces_) {
        quickPresents_ = interval < period_ * QUICK_FRACTION ? quickPresents_ + 1 : 0;
        if (quickPresents_ < QUICK_PRESENTS_BEFORE_PACING) {
            deadline_ = now;
            return 0;
        }
        rendererPaces_ = false;
    }
    deadline_ += period_;
    // A frame that took longer than a refresh starts the schedule afresh
    // rather than hurrying to catch up.
    if (deadline_ < now - period_) deadline_ = now;
    const double wait = deadline_ - now;
    return wait > 0 ? wait : 0;
}
