// Turns rendered samples into the 16-bit PCM the game plays: removes DC,
// fades the ends so nothing clicks, and brings every effect to the same
// loudness without clipping.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sfx {

constexpr double kTargetPeakDb = -3.0; // where the loudest sample lands
constexpr double kMaxPeakDb = -1.0;    // never above this
constexpr double kLoudnessCeilingDb =
    -11.0; // loudest 50 ms RMS: keeps buzzy waves in line with pure ones

struct MasteredSound {
    std::vector<std::int16_t> samples;
    std::string error; // set when the sound cannot be mastered (silent, too loud)
};

MasteredSound masterSound(std::vector<double> samples, double levelDb);

} // namespace sfx
