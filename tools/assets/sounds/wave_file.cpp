#include "wave_file.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace sfx {

namespace {

void putTag(std::vector<std::uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(tag[i]));
}

void putLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

} // namespace

std::vector<std::uint8_t> encodeWave(const std::vector<std::int16_t>& samples, int sampleRate) {
    const std::uint32_t channels = 1;
    const std::uint32_t bytesPerSample = 2;
    const std::uint32_t dataSize = static_cast<std::uint32_t>(samples.size()) * bytesPerSample;

    std::vector<std::uint8_t> out;
    out.reserve(44 + dataSize);
    putTag(out, "RIFF");
    putLittleEndian(out, 36 + dataSize, 4);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    putLittleEndian(out, 16, 4);
    putLittleEndian(out, 1, 2); // PCM
    putLittleEndian(out, channels, 2);
    putLittleEndian(out, static_cast<std::uint32_t>(sampleRate), 4);
    putLittleEndian(out, static_cast<std::uint32_t>(sampleRate) * channels * bytesPerSample, 4);
    putLittleEndian(out, channels * bytesPerSample, 2);
    putLittleEndian(out, 8 * bytesPerSample, 2);
    putTag(out, "data");
    putLittleEndian(out, dataSize, 4);
    for (std::int16_t sample : samples)
        putLittleEndian(out, static_cast<std::uint16_t>(sample), 2);
    return out;
}

} // namespace sfx
