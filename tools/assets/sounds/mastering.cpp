#include "mastering.h"

#include "synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace sfx {

namespace {

double decibelsToGain(double decibels) {
    return std::pow(10.0, decibels / 20.0);
}

// One-pole high-pass at 20 Hz: removes the offset a square's duty sweep or a
// lopsided envelope leaves behind, far below anything audible in the effect.
void removeDcOffset(std::vector<double>& samples) {
    const double pole = 1.0 - 2.0 * std::numbers::pi * 20.0 / kSampleRate;
    double previousInput = 0.0;
    double previousOutput = 0.0;
    for (double& sample : samples) {
        double output = sample - previousInput + pole * previousOutput;
        previousInput = sample;
        previousOutput = output;
        sample = output;
    }
}

// Raised-cosine ramps at both ends so playback starts and stops at zero.
void fadeEnds(std::vector<double>& samples) {
    const size_t fadeIn = std::min(samples.size() / 2, static_cast<size_t>(kSampleRate * 0.002));
    const size_t fadeOut = std::min(samples.size() / 2, static_cast<size_t>(kSampleRate * 0.010));
    auto ramp = [](size_t position, size_t length) {
        return 0.5 - 0.5 * std::cos(std::numbers::pi * static_cast<double>(position) / length);
    };
    for (size_t i = 0; i < fadeIn; ++i)
        samples[i] *= ramp(i, fadeIn);
    for (size_t i = 0; i < fadeOut; ++i)
        samples[samples.size() - 1 - i] *= ramp(i, fadeOut);
}

double peakOf(const std::vector<double>& samples) {
    double peak = 0.0;
    for (double sample : samples)
        peak = std::max(peak, std::fabs(sample));
    return peak;
}

double loudestWindowRms(const std::vector<double>& samples) {
    const size_t window = kSampleRate / 20;
    double loudest = 0.0;
    for (size_t begin = 0; begin < samples.size(); begin += window / 2) {
        size_t end = std::min(samples.size(), begin + window);
        double sum = 0.0;
        for (size_t i = begin; i < end; ++i)
            sum += samples[i] * samples[i];
        loudest = std::max(loudest, std::sqrt(sum / static_cast<double>(window)));
    }
    return loudest;
}

} // namespace

MasteredSound masterSound(std::vector<double> samples, double levelDb) {
    MasteredSound result;
    removeDcOffset(samples);
    fadeEnds(samples);

    const double peak = peakOf(samples);
    if (peak < 1e-6) {
        result.error = "the effect is silent";
        return result;
    }
    double gain = std::min(decibelsToGain(kTargetPeakDb) / peak,
                           decibelsToGain(kLoudnessCeilingDb) / loudestWindowRms(samples));
    gain *= decibelsToGain(levelDb);
    if (peak * gain > decibelsToGain(kMaxPeakDb)) {
        result.error = "level pushes the peak above -1 dBFS";
        return result;
    }

    result.samples.reserve(samples.size());
    for (double sample : samples) {
        double scaled = std::clamp(sample * gain * 32767.0, -32767.0, 32767.0);
        result.samples.push_back(static_cast<std::int16_t>(std::lround(scaled)));
    }
    return result;
}

} // namespace sfx
