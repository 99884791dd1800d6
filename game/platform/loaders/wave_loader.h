// RIFF WAVE files: the chunk structure read and checked by us, the samples
// decoded by SDL (PCM of any width, float, A-law, mu-law, MS and IMA ADPCM).
// Nothing here needs a sound device.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The "fmt " chunk's record.
struct WaveFormat {
    uint16_t formatTag = 0; // 1 = PCM
    uint16_t channels = 0;
    uint32_t samplesPerSecond = 0;
    uint32_t averageBytesPerSecond = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    std::vector<uint8_t> extra; // the bytes behind the extra size (none for PCM)
};

struct WaveFile {
    WaveFormat format;
    std::vector<uint8_t> data; // the "data" chunk as stored
};

// Decoded samples, interleaved. sampleFormat is SDL's audio format code
// (bits per sample in the low byte, signedness/float/endianness flags above),
// kept as a plain number so that the game side needs no SDL header.
struct PcmSound {
    uint16_t sampleFormat = 0;
    int channels = 0;
    int rate = 0;
    std::vector<uint8_t> samples;

    size_t frameCount() const;
    // Playing time in milliseconds, rounded up.
    uint32_t durationMs() const;
};

// Reads the chunk structure: "RIFF" with form "WAVE", a "fmt " chunk of at
// least 16 bytes, then a "data" chunk anywhere after the form type. Every size
// is checked against the file; a missing chunk, a size that runs past the end
// or an absurd format is a failure, and wave is then left unchanged.
bool parseWave(const uint8_t* bytes, size_t size, WaveFile& wave);
bool readWaveFile(const std::string& path, WaveFile& wave);

// Decodes the samples with SDL. False for an encoding SDL does not know or
// data it cannot decode.
bool decodeWave(const WaveFile& wave, PcmSound& sound);

// readWaveFile followed by decodeWave.
bool loadWave(const std::string& path, PcmSound& sound);
