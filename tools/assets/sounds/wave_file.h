// Canonical PCM WAVE files: a 44-byte header (RIFF, "WAVE", a 16-byte "fmt "
// chunk, "data") followed by 16-bit little-endian mono samples.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sfx {

std::vector<std::uint8_t> encodeWave(const std::vector<std::int16_t>& samples, int sampleRate);

} // namespace sfx
