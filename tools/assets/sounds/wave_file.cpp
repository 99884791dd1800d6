#include "wave_file.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace sfx {

namespace {

void putTag(std::vector<std::uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(tag[i]));
}

void putLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
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
    for (std::int16_t sample : samples) putLittleEndian(out, static_cast<std::uint16_t>(sample), 2);
    return out;
}

WriteOutcome writeFileIfChanged(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    {
        std::ifstream existing(path, std::ios::binary);
        if (existing) {
            std::vector<std::uint8_t> current((std::istreambuf_iterator<char>(existing)),
                                              std::istreambuf_iterator<char>());
            if (current == bytes) return WriteOutcome::Unchanged;
        }
    }
    // Write beside the target and rename, so an interrupted build never
    // leaves a truncated file that looks finished.
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return WriteOutcome::Failed;
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::remove(temporary.c_str());
            return WriteOutcome::Failed;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return WriteOutcome::Failed;
    }
    return WriteOutcome::Written;
}

} // namespace sfx
