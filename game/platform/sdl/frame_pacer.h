// Keeps the frame loop at the display's refresh rate.
//
// A renderer made with vsync waits for the refresh in its present; where that
// wait has no effect (a software renderer, a virtual display) presents come
// back at once and the loop would spin. The pacer then sleeps after each
// present until the next refresh is due, on a schedule of its own that does
// not drift.
#pragma once

class FramePacer {
  public:
    // refreshHz 0 or less counts as 60. enabled false: no pacing at all
    // ([DISPLAY] VSYNC=0). rendererSyncs: the renderer was made with vsync.
    void start(int refreshHz, bool enabled, bool rendererSyncs);

    // Called right after each present with a monotonic time in seconds;
    // returns the seconds to sleep before the next frame is drawn.
    double delayAfterPresent(double now);

    // Whether the pacer keeps the rate itself (the renderer does not).
    bool pacing() const { return enabled_ && !rendererPaces_; }

  private:
    double period_ = 1.0 / 60.0;
    bool enabled_ = false;
    bool rendererPaces_ = false;
    bool started_ = false;
    double lastPresent_ = 0;
    double deadline_ = 0;
    int quickPresents_ = 0;
};
