#include "platform/loaders/wave_loader.h"

#include "support/fixture_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

void put16(Bytes& b, uint16_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(Bytes& b, uint32_t v) {
    for (int s = 0; s < 32; s += 8)
        b.push_back(static_cast<uint8_t>(v >> s));
}

Bytes chunk(const char* id, const Bytes& body, uint32_t statedSize) {
    Bytes b(id, id + 4);
    put32(b, statedSize);
    b.insert(b.end(), body.begin(), body.end());
    if (body.size() & 1) b.push_back(0);
    return b;
}

Bytes chunk(const char* id, const Bytes& body) {
    return chunk(id, body, static_cast<uint32_t>(body.size()));
}

struct Fmt {
    uint16_t tag = 1;
    uint16_t channels = 1;
    uint32_t rate = 8000;
    uint16_t blockAlign = 2;
    uint16_t bits = 16;
};

Bytes fmtBody(const Fmt& f) {
    Bytes b;
    put16(b, f.tag);
    put16(b, f.channels);
    put32(b, f.rate);
    put32(b, f.rate * f.blockAlign);
    put16(b, f.blockAlign);
    put16(b, f.bits);
    return b;
}

Bytes riff(const std::vector<Bytes>& chunks, int sizeAdjust = 0) {
    Bytes inner = {'W', 'A', 'V', 'E'};
    for (const Bytes& c : chunks)
        inner.insert(inner.end(), c.begin(), c.end());
    Bytes b = {'R', 'I', 'F', 'F'};
    put32(b, static_cast<uint32_t>(static_cast<int>(inner.size()) + sizeAdjust));
    b.insert(b.end(), inner.begin(), inner.end());
    return b;
}

Bytes samples16(size_t frames) {
    Bytes b;
    for (size_t i = 0; i < frames; ++i)
        put16(b, static_cast<uint16_t>(i * 37));
    return b;
}

Bytes goodPcm(size_t frames = 800) {
    return riff({chunk("fmt ", fmtBody({})), chunk("data", samples16(frames))});
}

// A file of eight frames in the given format.
Bytes withFormat(const Fmt& f) {
    return riff({chunk("fmt ", fmtBody(f)), chunk("data", samples16(8))});
}

Bytes patched(Bytes b, size_t at, const char* text) {
    std::memcpy(&b[at], text, std::strlen(text));
    return b;
}

bool parses(const Bytes& b) {
    WaveFile wave;
    return parseWave(b.data(), b.size(), wave);
}

TEST(WaveLoader, ReadsFormatAndDataOfPcmFile) {
    Bytes file = riff({chunk("LIST", Bytes(5, 'x')), // odd size: padded to a word
                       chunk("fmt ", fmtBody({1, 2, 22050, 4, 16})), chunk("fact", Bytes(4, 0)),
                       chunk("data", samples16(10))});
    WaveFile wave;
    ASSERT_TRUE(parseWave(file.data(), file.size(), wave));
    EXPECT_EQ(wave.format.formatTag, 1);
    EXPECT_EQ(wave.format.channels, 2);
    EXPECT_EQ(wave.format.samplesPerSecond, 22050u);
    EXPECT_EQ(wave.format.blockAlign, 4);
    EXPECT_EQ(wave.format.bitsPerSample, 16);
    EXPECT_TRUE(wave.format.extra.empty());
    EXPECT_EQ(wave.data, samples16(10));
}

TEST(WaveLoader, BrokenAndLyingFilesFail) {
    Bytes good = goodPcm(8);
    Bytes nonPcmFmt = fmtBody({2, 1, 8000, 256, 4});
    put16(nonPcmFmt, 40); // extra size larger than what the chunk holds
    nonPcmFmt.insert(nonPcmFmt.end(), 4, 0);

    struct Case {
        const char* name;
        Bytes file;
    };
    const std::vector<Case> cases = {
        {"empty", {}},
        {"header cut short", Bytes(good.begin(), good.begin() + 11)},
        {"not RIFF", patched(good, 0, "XIFF")},
        {"not WAVE", patched(good, 8, "AAVE")},
        {"RIFF size past the end",
         riff({chunk("fmt ", fmtBody({})), chunk("data", samples16(8))}, 2)},
        {"RIFF size huge", patched(good, 4, "\xFF\xFF\xFF\xFF")},
        {"no fmt chunk", riff({chunk("data", samples16(8))})},
        {"fmt shorter than 16", riff({chunk("fmt ", Bytes(14, 1)), chunk("data", samples16(8))})},
        {"fmt size past the end", riff({chunk("fmt ", fmtBody({}), 4000)})},
        {"no data chunk", riff({chunk("fmt ", fmtBody({})), chunk("LIST", Bytes(4, 0))})},
        {"data size past the end",
         riff({chunk("fmt ", fmtBody({})), chunk("data", samples16(8), 0x7FFFFFF0)})},
        {"data empty", riff({chunk("fmt ", fmtBody({})), chunk("data", {})})},
        {"data cut off", Bytes(good.begin(), good.end() - 3)},
        {"zero channels", withFormat({1, 0, 8000, 2, 16})},
        {"nine channels", withFormat({1, 9, 8000, 18, 16})},
        {"zero rate", withFormat({1, 1, 0, 2, 16})},
        {"absurd rate", withFormat({1, 1, 0x7FFFFFFF, 2, 16})},
        {"zero block align", withFormat({1, 1, 8000, 0, 16})},
        {"PCM of 12 bits", withFormat({1, 1, 8000, 2, 12})},
        {"PCM block align wrong", withFormat({1, 2, 8000, 2, 16})},
        {"extra size past the fmt chunk",
         riff({chunk("fmt ", nonPcmFmt), chunk("data", Bytes(256, 0))})},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(parses(c.file)) << c.name;
}

// Every cut of a good file and every header byte forced to 0xFF must give a
// clean answer; run under the sanitizers this also proves no stray reads.
TEST(WaveLoader, CutsAndCorruptionsNeverReadOutside) {
    Bytes good = riff(
        {chunk("LIST", Bytes(3, 'x')), chunk("fmt ", fmtBody({})), chunk("data", samples16(4))});
    for (size_t length = 0; length < good.size(); ++length) {
        Bytes cut(good.begin(), good.begin() + static_cast<long>(length));
        EXPECT_FALSE(parses(cut)) << "cut at " << length;
    }
    for (size_t i = 0; i < 56 && i < good.size(); ++i) {
        Bytes bad = good;
        bad[i] = 0xFF;
        WaveFile wave;
        PcmSound sound;
        if (parseWave(bad.data(), bad.size(), wave)) decodeWave(wave, sound);
    }
}

TEST(WaveLoader, DecodesPcmWithItsLength) {
    WaveFile wave;
    Bytes file = goodPcm(800); // 0.1 s at 8000 Hz
    ASSERT_TRUE(parseWave(file.data(), file.size(), wave));
    PcmSound sound;
    ASSERT_TRUE(decodeWave(wave, sound));
    EXPECT_EQ(sound.channels, 1);
    EXPECT_EQ(sound.rate, 8000);
    EXPECT_EQ(sound.frameCount(), 800u);
    EXPECT_EQ(sound.durationMs(), 100u);
    EXPECT_EQ(sound.samples, samples16(800));
}

TEST(WaveLoader, DecodesEightBitStereoAndDropsAPartialFrame) {
    Bytes data(2 * 441 + 1, 0x80);
    Bytes file = riff({chunk("fmt ", fmtBody({1, 2, 44100, 2, 8})), chunk("data", data)});
    PcmSound sound;
    WaveFile wave;
    ASSERT_TRUE(parseWave(file.data(), file.size(), wave));
    ASSERT_TRUE(decodeWave(wave, sound));
    EXPECT_EQ(sound.frameCount(), 441u);
    EXPECT_EQ(sound.durationMs(), 10u);
}

TEST(WaveLoader, DecodesImaAdpcm) {
    // One mono block of 256 bytes: a 4-byte header and 252 bytes of nibbles.
    Bytes fmt = fmtBody({0x11, 1, 8000, 256, 4});
    put16(fmt, 2);
    put16(fmt, 505); // samples per block
    Bytes file = riff({chunk("fmt ", fmt), chunk("data", Bytes(256, 0))});
    WaveFile wave;
    ASSERT_TRUE(parseWave(file.data(), file.size(), wave));
    EXPECT_EQ(wave.format.extra.size(), 2u);
    PcmSound sound;
    ASSERT_TRUE(decodeWave(wave, sound));
    EXPECT_EQ(sound.channels, 1);
    EXPECT_EQ(sound.sampleFormat & 0xFF, 16);
    EXPECT_EQ(sound.frameCount(), 505u);
}

TEST(WaveLoader, UnknownEncodingFailsToDecode) {
    Bytes fmt = fmtBody({0x55, 1, 8000, 1, 0}); // MPEG layer 3
    put16(fmt, 0);
    Bytes file = riff({chunk("fmt ", fmt), chunk("data", Bytes(64, 0))});
    WaveFile wave;
    ASSERT_TRUE(parseWave(file.data(), file.size(), wave));
    PcmSound sound;
    EXPECT_FALSE(decodeWave(wave, sound));
}

TEST(WaveLoader, LoadsFromFileAndFailsOnMissingFile) {
    std::string path = (makeTempFolder("wave-loader") / "wave_loader_test.wav").string();
    Bytes file = goodPcm(400);
    FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(file.data(), 1, file.size(), out);
    std::fclose(out);

    PcmSound sound;
    EXPECT_TRUE(loadWave(path, sound));
    EXPECT_EQ(sound.durationMs(), 50u);
    EXPECT_FALSE(loadWave(path + ".missing", sound));
    std::remove(path.c_str());
}

} // namespace
