// Canonical PCM WAVE files: a 44-byte header (RIFF, "WAVE", a 16-byte "fmt "
// chunk, "data") followed by 16-bit little-endian mono samples.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sfx {

std::vector<std::uint8_t> encodeWave(const std::vector<std::int16_t>& samples, int sampleRate);

enum class WriteOutcome { Unchanged, Written, Failed };

// Leaves the file alone when it already holds exactly these bytes, so that
// rebuilding does not touch the game folder's timestamps.
WriteOutcome writeFileIfChanged(const std::string& path, const std::vector<std::uint8_t>& bytes);

} // namespace sfx
