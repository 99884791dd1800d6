#include "tune.h"

namespace music {

double secondsAt(const Tune& tune, std::uint32_t ticks) {
    double seconds = 0.0;
    double beatsPerMinute = tune.tempos.empty() ? 120.0 : tune.tempos.front().beatsPerMinute;
    std::uint32_t from = 0;
    for (const TempoChange& change : tune.tempos) {
        if (change.tick >= ticks) break;
        seconds +=
            (change.tick - from) / static_cast<double>(ticksPerQuarter) * 60.0 / beatsPerMinute;
        from = change.tick;
        beatsPerMinute = change.beatsPerMinute;
    }
    seconds += (ticks - from) / static_cast<double>(ticksPerQuarter) * 60.0 / beatsPerMinute;
    return seconds;
}

} // namespace music
