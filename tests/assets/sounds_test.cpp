// The sound effects in the game folder: each must load as a canonical PCM
// WAVE file, last as long as the scenes that wait for it expect, and sit at
// a common, unclipped level without clicks or offset.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct EffectExpectation {
    const char* name;
    double minSeconds;
    double maxSeconds;
};

// In load order. The jingles are waited for: the death sequence for miss,
// the goal for clear, the logo scene for mc, game over for gmov, the ending
// for allclear, and every menu for yaa.
// clang-format off
const EffectExpectation kEffects[] = {
    {"jump", 0.10, 0.35},   {"trod", 0.08, 0.30},    {"1up", 0.30, 0.60},     {"break", 0.15, 0.60},
    {"coin", 0.20, 0.60},   {"jumpdai", 0.20, 0.60}, {"uni", 0.05, 0.25},     {"spanner", 0.15, 0.50},
    {"swapblk", 0.10, 0.40}, {"swapblk2", 0.10, 0.40}, {"pause", 0.20, 0.60},  {"kin", 0.05, 0.30},
    {"yaa", 0.30, 0.50},    {"ite", 0.15, 0.50},     {"miss", 1.50, 2.00},    {"rec", 0.30, 0.60},
    {"peko", 0.05, 0.30},   {"goal", 0.20, 0.60},    {"clear", 2.50, 4.00},   {"mc", 1.50, 2.50},
    {"gmov", 3.00, 5.00},   {"allclear", 4.00, 5.00}, {"out", 0.20, 0.60},    {"mtouch", 0.10, 0.50},
    {"taiho", 0.20, 0.60},
};
// clang-format on

// Names the case in failure messages instead of dumping its bytes.
void PrintTo(const EffectExpectation& effect, std::ostream* out) {
    *out << effect.name;
}

constexpr int kSampleRate = 22050;

std::uint32_t readLittleEndian(const std::vector<std::uint8_t>& bytes, size_t offset, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | bytes[offset + static_cast<size_t>(i)];
    return value;
}

bool tagAt(const std::vector<std::uint8_t>& bytes, size_t offset, const char* tag) {
    return std::memcmp(bytes.data() + offset, tag, 4) == 0;
}

double toDecibels(double fullScaleFraction) {
    return 20.0 * std::log10(fullScaleFraction);
}

class SoundEffectFile : public testing::TestWithParam<EffectExpectation> {
  protected:
    void SetUp() override {
        const std::string path = std::string(VELTA_DIST_DIR) + "/se/" + GetParam().name + ".wav";
        std::ifstream in(path, std::ios::binary);
        ASSERT_TRUE(in) << "missing " << path;
        bytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        ASSERT_GT(bytes_.size(), 44u) << path << " is too short to hold a header and samples";
        for (size_t offset = 44; offset + 1 < bytes_.size(); offset += 2)
            samples_.push_back(static_cast<std::int16_t>(readLittleEndian(bytes_, offset, 2)));
    }

    double seconds() const { return static_cast<double>(samples_.size()) / kSampleRate; }

    double peak() const {
        int peak = 0;
        for (std::int16_t sample : samples_)
            peak = std::max(peak, std::abs(static_cast<int>(sample)));
        return peak / 32768.0;
    }

    // Loudest 50 ms stretch, which is what the ear judges a short effect by.
    double loudestWindowRms() const {
        const size_t window = kSampleRate / 20;
        double loudest = 0.0;
        for (size_t begin = 0; begin < samples_.size(); begin += window / 2) {
            double sum = 0.0;
            for (size_t i = begin; i < std::min(samples_.size(), begin + window); ++i)
                sum += static_cast<double>(samples_[i]) * samples_[i];
            loudest = std::max(loudest, std::sqrt(sum / static_cast<double>(window)) / 32768.0);
        }
        return loudest;
    }

    std::vector<std::uint8_t> bytes_;
    std::vector<std::int16_t> samples_;
};

TEST_P(SoundEffectFile, IsCanonicalPcmWave) {
    const std::uint32_t fileSize = static_cast<std::uint32_t>(bytes_.size());
    EXPECT_TRUE(tagAt(bytes_, 0, "RIFF"));
    EXPECT_EQ(readLittleEndian(bytes_, 4, 4), fileSize - 8);
    EXPECT_TRUE(tagAt(bytes_, 8, "WAVE"));
    EXPECT_TRUE(tagAt(bytes_, 12, "fmt "));
    EXPECT_EQ(readLittleEndian(bytes_, 16, 4), 16u) << "fmt chunk size";
    EXPECT_EQ(readLittleEndian(bytes_, 20, 2), 1u) << "format tag (PCM)";
    EXPECT_EQ(readLittleEndian(bytes_, 22, 2), 1u) << "channels";
    EXPECT_EQ(readLittleEndian(bytes_, 24, 4), static_cast<std::uint32_t>(kSampleRate))
        << "sample rate";
    EXPECT_EQ(readLittleEndian(bytes_, 28, 4), static_cast<std::uint32_t>(kSampleRate * 2))
        << "byte rate";
    EXPECT_EQ(readLittleEndian(bytes_, 32, 2), 2u) << "block align";
    EXPECT_EQ(readLittleEndian(bytes_, 34, 2), 16u) << "bits per sample";
    EXPECT_TRUE(tagAt(bytes_, 36, "data"));
    EXPECT_EQ(readLittleEndian(bytes_, 40, 4), fileSize - 44) << "data size";
    EXPECT_EQ(fileSize % 2, 0u) << "whole 16-bit samples";
}

TEST_P(SoundEffectFile, LastsAsLongAsItsRoleNeeds) {
    EXPECT_GE(seconds(), GetParam().minSeconds);
    EXPECT_LE(seconds(), GetParam().maxSeconds);
}

TEST_P(SoundEffectFile, IsAudibleWithoutClipping) {
    EXPECT_LE(toDecibels(peak()), -1.0) << "peak above -1 dBFS";
    EXPECT_GE(toDecibels(peak()), -12.0) << "much quieter than the other effects";
    const double loudness = toDecibels(loudestWindowRms());
    EXPECT_GE(loudness, -18.0) << "too quiet beside the other effects";
    EXPECT_LE(loudness, -8.0) << "too loud beside the other effects";
}

TEST_P(SoundEffectFile, HasNoOffsetOrClicksAtItsEnds) {
    double sum = 0.0;
    for (std::int16_t sample : samples_)
        sum += sample;
    EXPECT_LT(std::fabs(sum / static_cast<double>(samples_.size())) / 32768.0, 0.005)
        << "DC offset";
    // Playback starts and stops at these samples; a large value is a click.
    const int clickLimit = 32768 / 100;
    EXPECT_LT(std::abs(static_cast<int>(samples_.front())), clickLimit);
    EXPECT_LT(std::abs(static_cast<int>(samples_.back())), clickLimit);
}

INSTANTIATE_TEST_SUITE_P(GameEffects, SoundEffectFile, testing::ValuesIn(kEffects),
                         [](const testing::TestParamInfo<EffectExpectation>& info) {
                             std::string name = info.param.name;
                             return name[0] >= '0' && name[0] <= '9' ? "e" + name : name;
                         });

} // namespace
