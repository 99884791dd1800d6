#include "synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace sfx {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kNyquistGuard = 0.45 * kSampleRate;

// Softens the jumps of square and saw waves so high notes do not alias.
double polyBlep(double phase, double step) {
    if (phase < step) {
        double t = phase / step;
        return t + t - t * t - 1.0;
    }
    if (phase > 1.0 - step) {
        double t = (phase - 1.0) / step;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

double wrap(double phase) {
    return phase - std::floor(phase);
}

// Every wave is centred on zero so that no layer adds a DC offset.
double oscillate(Waveform wave, double phase, double step, double duty) {
    switch (wave) {
    case Waveform::Sine:
        return std::sin(2.0 * kPi * phase);
    case Waveform::Triangle:
        return 4.0 * std::fabs(phase - 0.5) - 1.0;
    case Waveform::Saw:
        return 2.0 * phase - 1.0 - polyBlep(phase, step);
    case Waveform::Square: {
        double value = phase < duty ? 1.0 : -1.0;
        value += polyBlep(phase, step);
        value -= polyBlep(wrap(phase + 1.0 - duty), step);
        return value - (2.0 * duty - 1.0);
    }
    case Waveform::Noise:
        break;
    }
    return 0.0;
}

// Topology-preserving state-variable filter: stable at every cutoff, which
// matters because the cutoffs sweep.
class StateVariableFilter {
  public:
    struct Outputs {
        double low, band, high;
    };

    Outputs process(double input, double cutoff, double damping) {
        double g = std::tan(kPi * std::min(cutoff, kNyquistGuard) / kSampleRate);
        double a1 = 1.0 / (1.0 + g * (g + damping));
        double a2 = g * a1;
        double a3 = g * a2;
        double v3 = input - state2_;
        double v1 = a1 * state1_ + a2 * v3;
        double v2 = state2_ + a2 * state1_ + a3 * v3;
        state1_ = 2.0 * v1 - state1_;
        state2_ = 2.0 * v2 - state2_;
        return {v2, v1, input - damping * v1 - v2};
    }

  private:
    double state1_ = 0.0;
    double state2_ = 0.0;
};

// Deterministic so that unchanged sources give byte-identical files.
class NoiseSource {
  public:
    explicit NoiseSource(std::uint32_t seed) : state_(seed ? seed : 1) {}

    double next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_ / 2147483648.0 - 1.0;
    }

  private:
    std::uint32_t state_;
};

double sweepExponential(const Sweep& sweep, double progress) {
    if (sweep.from == sweep.to) return sweep.from;
    return sweep.from * std::pow(sweep.to / sweep.from, progress);
}

double sweepLinear(const Sweep& sweep, double progress) {
    return sweep.from + (sweep.to - sweep.from) * progress;
}

double envelopeBeforeRelease(const ToneEvent& tone, double t) {
    if (t < tone.attack) return t / tone.attack;
    double sinceAttack = t - tone.attack;
    if (sinceAttack < tone.decay) return 1.0 - (1.0 - tone.sustain) * sinceAttack / tone.decay;
    return tone.sustain;
}

double envelope(const ToneEvent& tone, double t) {
    double level;
    if (t < tone.hold)
        level = envelopeBeforeRelease(tone, t);
    else if (tone.release <= 0.0)
        level = 0.0;
    else
        level = envelopeBeforeRelease(tone, tone.hold) *
                std::max(0.0, 1.0 - (t - tone.hold) / tone.release);
    if (tone.halfLife > 0.0) level *= std::pow(0.5, t / tone.halfLife);
    return level;
}

void renderTone(const ToneEvent& tone, std::vector<double>& mix) {
    const int first = static_cast<int>(std::lround(tone.start * kSampleRate));
    const int count = static_cast<int>(std::ceil((tone.hold + tone.release) * kSampleRate));
    const double sweepTime = tone.sweepTime > 0.0 ? tone.sweepTime : tone.hold;

    NoiseSource noise(tone.seed);
    double noiseValue = noise.next();
    double phase = 0.0;
    double modulatorPhase = 0.0;
    StateVariableFilter lowpass, highpass;
    std::vector<StateVariableFilter> formantFilters(tone.formants.size());

    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double progress = std::min(1.0, t / sweepTime);

        double semitones = 0.0;
        if (!tone.arpeggio.empty()) {
            size_t step = static_cast<size_t>(t / tone.arpStep) % tone.arpeggio.size();
            semitones += tone.arpeggio[step];
        }
        if (tone.vibratoRate > 0.0)
            semitones += tone.vibratoDepth * std::sin(2.0 * kPi * tone.vibratoRate * t);
        double frequency = sweepExponential(tone.frequency, progress) * tone.ratio *
                           std::pow(2.0, semitones / 12.0);
        frequency = std::min(frequency, kNyquistGuard);
        const double step = frequency / kSampleRate;

        double sample;
        if (tone.wave == Waveform::Noise) {
            phase += step;
            if (phase >= 1.0) {
                phase = wrap(phase);
                noiseValue = noise.next();
            }
            sample = noiseValue;
        } else {
            double shifted = phase;
            if (tone.fmRatio > 0.0) {
                double index = tone.fmIndex;
                if (tone.fmHalfLife > 0.0) index *= std::pow(0.5, t / tone.fmHalfLife);
                shifted = wrap(phase + index * std::sin(2.0 * kPi * modulatorPhase) / (2.0 * kPi));
                modulatorPhase = wrap(modulatorPhase + step * tone.fmRatio);
            }
            sample = oscillate(tone.wave, shifted, step, sweepLinear(tone.duty, progress));
            phase = wrap(phase + step);
        }

        if (!formantFilters.empty()) {
            double voiced = 0.0;
            for (size_t f = 0; f < formantFilters.size(); ++f) {
                const double damping = 0.12; // narrow bands, as in a vocal tract
                double band =
                    formantFilters[f]
                        .process(sample, sweepExponential(tone.formants[f], progress), damping)
                        .band;
                voiced += damping * band / static_cast<double>(f + 1);
            }
            sample = voiced * 2.0;
        }
        if (tone.lowpass.isSet())
            sample =
                lowpass
                    .process(sample, sweepExponential(tone.lowpass, progress), 1.0 / tone.resonance)
                    .low;
        if (tone.highpass.isSet())
            sample =
                highpass.process(sample, sweepExponential(tone.highpass, progress), 1.414).high;

        const size_t index = static_cast<size_t>(first + i);
        if (index < mix.size()) mix[index] += sample * envelope(tone, t) * tone.volume;
    }
}

// A feedback comb: each repeat is quieter by the feedback factor.
void applyEcho(const Echo& echo, std::vector<double>& samples) {
    const size_t delay = static_cast<size_t>(std::lround(echo.delay * kSampleRate));
    if (delay == 0 || echo.feedback <= 0.0) return;
    for (size_t i = delay; i < samples.size(); ++i)
        samples[i] += echo.feedback * samples[i - delay];
}

} // namespace

std::vector<double> renderRecipe(const SoundRecipe& recipe) {
    double end = 0.0;
    for (const ToneEvent& tone : recipe.tones)
        end = std::max(end, tone.end());
    if (recipe.echo.repeats > 0) end += recipe.echo.delay * recipe.echo.repeats;

    std::vector<double> mix(static_cast<size_t>(std::ceil(end * kSampleRate)) + 1, 0.0);
    for (const ToneEvent& tone : recipe.tones)
        renderTone(tone, mix);
    if (recipe.echo.repeats > 0) applyEcho(recipe.echo, mix);
    return mix;
}

} // namespace sfx
