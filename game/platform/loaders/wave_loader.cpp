#include "platform/loaders/wave_loader.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>

namespace {

// An effect is a short recording; anything this large is a broken or foreign
// file, and refusing it keeps a lying size from asking for gigabytes.
constexpr size_t MAX_WAVE_FILE_BYTES = 64u * 1024 * 1024;
constexpr uint16_t FORMAT_PCM = 1;
constexpr int MAX_CHANNELS = 8;
constexpr uint32_t MAX_RATE = 384000;

uint16_t readLe16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t readLe32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

void writeLe16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void writeLe32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

void writeTag(std::vector<uint8_t>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

struct Chunk {
    size_t body = 0; // offset of the chunk's first data byte
    uint32_t size = 0;
};

// Finds the first chunk with this id between begin and end. Chunks are
// word-aligned; a chunk whose size runs past end makes the whole search fail,
// since nothing behind it can be trusted.
bool findChunk(const uint8_t* bytes, size_t begin, size_t end, const char* id, Chunk& found) {
    size_t pos = begin;
    while (end - pos >= 8) {
        uint32_t size = readLe32(bytes + pos + 4);
        size_t body = pos + 8;
        if (size > end - body) return false;
        if (std::memcmp(bytes + pos, id, 4) == 0) {
            found = {body, size};
            return true;
        }
        pos = body + size + (size & 1);
        if (pos > end) return false;
    }
    return false;
}

bool plausibleFormat(const WaveFormat& format) {
    if (format.channels == 0 || format.channels > MAX_CHANNELS) return false;
    if (format.samplesPerSecond == 0 || format.samplesPerSecond > MAX_RATE) return false;
    if (format.blockAlign == 0) return false;
    if (format.formatTag == FORMAT_PCM) {
        uint16_t bits = format.bitsPerSample;
        if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
        if (format.blockAlign != format.channels * (bits / 8)) return false;
    }
    return true;
}

// The file as SDL should see it: the checked format and data and nothing
// else, so that SDL never reads a chunk we did not check.
std::vector<uint8_t> rebuildRiff(const WaveFile& wave, size_t dataBytes) {
    const WaveFormat& f = wave.format;
    bool hasExtraSize = f.formatTag != FORMAT_PCM;
    uint32_t fmtSize = 16 + (hasExtraSize ? 2 + static_cast<uint32_t>(f.extra.size()) : 0);
    uint32_t dataSize = static_cast<uint32_t>(dataBytes);

    std::vector<uint8_t> out;
    out.reserve(12 + 8 + fmtSize + 1 + 8 + dataSize + 1);
    writeTag(out, "RIFF");
    writeLe32(out, 0); // patched below
    writeTag(out, "WAVE");
    writeTag(out, "fmt ");
    writeLe32(out, fmtSize);
    writeLe16(out, f.formatTag);
    writeLe16(out, f.channels);
    writeLe32(out, f.samplesPerSecond);
    writeLe32(out, f.averageBytesPerSecond);
    writeLe16(out, f.blockAlign);
    writeLe16(out, f.bitsPerSample);
    if (hasExtraSize) {
        writeLe16(out, static_cast<uint16_t>(f.extra.size()));
        out.insert(out.end(), f.extra.begin(), f.extra.end());
    }
    if (fmtSize & 1) out.push_back(0);
    writeTag(out, "data");
    writeLe32(out, dataSize);
    out.insert(out.end(), wave.data.begin(), wave.data.begin() + dataBytes);
    if (dataSize & 1) out.push_back(0);
    uint32_t riffSize = static_cast<uint32_t>(out.size() - 8);
    for (int i = 0; i < 4; ++i)
        out[4 + i] = static_cast<uint8_t>(riffSize >> (8 * i));
    return out;
}

} // namespace

size_t PcmSound::frameCount() const {
    size_t frameBytes = static_cast<size_t>(channels) * ((sampleFormat & 0xFF) / 8);
    return frameBytes == 0 ? 0 : samples.size() / frameBytes;
}

uint32_t PcmSound::durationMs() const {
    if (rate <= 0) return 0;
    uint64_t frames = frameCount();
    return static_cast<uint32_t>((frames * 1000 + static_cast<uint64_t>(rate) - 1) / rate);
}

bool parseWave(const uint8_t* bytes, size_t size, WaveFile& wave) {
    if (bytes == nullptr || size < 12 || size > MAX_WAVE_FILE_BYTES) return false;
    if (std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0) return false;
    uint32_t riffSize = readLe32(bytes + 4);
    if (riffSize < 4 || riffSize > size - 8) return false;
    size_t riffEnd = 8 + static_cast<size_t>(riffSize);

    Chunk fmt;
    if (!findChunk(bytes, 12, riffEnd, "fmt ", fmt) || fmt.size < 16) return false;
    const uint8_t* p = bytes + fmt.body;
    WaveFormat format;
    format.formatTag = readLe16(p);
    format.channels = readLe16(p + 2);
    format.samplesPerSecond = readLe32(p + 4);
    format.averageBytesPerSecond = readLe32(p + 8);
    format.blockAlign = readLe16(p + 12);
    format.bitsPerSample = readLe16(p + 14);
    // A non-PCM record of only 16 bytes has no extra size; it then has no
    // extra bytes rather than taking two bytes of whatever follows.
    if (format.formatTag != FORMAT_PCM && fmt.size >= 18) {
        uint16_t extraSize = readLe16(p + 16);
        if (extraSize > fmt.size - 18) return false;
        format.extra.assign(p + 18, p + 18 + extraSize);
    }
    if (!plausibleFormat(format)) return false;

    Chunk data;
    if (!findChunk(bytes, 12, riffEnd, "data", data) || data.size == 0) return false;

    wave.format = std::move(format);
    wave.data.assign(bytes + data.body, bytes + data.body + data.size);
    return true;
}

bool readWaveFile(const std::string& path, WaveFile& wave) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    std::vector<uint8_t> bytes;
    uint8_t block[65536];
    bool ok = true;
    for (;;) {
        size_t got = std::fread(block, 1, sizeof block, file);
        bytes.insert(bytes.end(), block, block + got);
        if (bytes.size() > MAX_WAVE_FILE_BYTES) {
            ok = false;
            break;
        }
        if (got < sizeof block) {
            ok = !std::ferror(file);
            break;
        }
    }
    std::fclose(file);
    return ok && parseWave(bytes.data(), bytes.size(), wave);
}

bool decodeWave(const WaveFile& wave, PcmSound& sound) {
    size_t dataBytes = wave.data.size();
    // A trailing part of a PCM frame cannot be played; drop it instead of
    // letting the decoder refuse the whole file.
    if (wave.format.formatTag == FORMAT_PCM) dataBytes -= dataBytes % wave.format.blockAlign;
    if (dataBytes == 0 || !plausibleFormat(wave.format)) return false;

    std::vector<uint8_t> riff = rebuildRiff(wave, dataBytes);
    SDL_RWops* stream = SDL_RWFromConstMem(riff.data(), static_cast<int>(riff.size()));
    if (stream == nullptr) return false;
    SDL_AudioSpec spec;
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV_RW(stream, 1, &spec, &buffer, &length) == nullptr) return false;

    PcmSound decoded;
    decoded.sampleFormat = spec.format;
    decoded.channels = spec.channels;
    decoded.rate = spec.freq;
    decoded.samples.assign(buffer, buffer + length);
    SDL_FreeWAV(buffer);
    if (decoded.frameCount() == 0) return false;
    sound = std::move(decoded);
    return true;
}

bool loadWave(const std::string& path, PcmSound& sound) {
    WaveFile wave;
    return readWaveFile(path, wave) && decodeWave(wave, sound);
}
