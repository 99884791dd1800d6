// Writes a tune as a format 1 standard MIDI file: a conductor track with the
// title, time signature, tempo and loop markers, then one track per voice.
#pragma once

#include "tune.h"

#include <cstdint>
#include <vector>

namespace music {

std::vector<std::uint8_t> writeStandardMidi(const Tune& tune);

} // namespace music
