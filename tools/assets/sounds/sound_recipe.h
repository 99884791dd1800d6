// What one sound effect is made of, as read from its source file: a list of
// tone events (single tones and the notes of sequences) plus effect-wide
// settings applied after mixing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sfx {

enum class Waveform { Square, Triangle, Saw, Sine, Noise };

// A setting that glides from `from` to `to` over the tone's sweep time.
struct Sweep {
    double from = 0.0;
    double to = 0.0;

    static Sweep fixed(double value) { return {value, value}; }
    bool isSet() const { return from > 0.0 || to > 0.0; }
};

struct ToneEvent {
    Waveform wave = Waveform::Square;
    double start = 0.0;     // seconds from the start of the effect
    double hold = 0.1;      // seconds before the release begins
    double sweepTime = 0.0; // 0 means the sweeps last the whole hold

    Sweep frequency = Sweep::fixed(440.0); // Hz; for noise, the rate of new values
    Sweep duty = Sweep::fixed(0.5);        // square only, 0..1
    double ratio = 1.0;                    // multiplies the frequency (partials)
    double volume = 1.0;

    // Envelope: linear attack, linear decay to the sustain level, linear
    // release after the hold; an optional exponential fall over everything.
    double attack = 0.002;
    double decay = 0.0;
    double sustain = 1.0;
    double release = 0.01;
    double halfLife = 0.0; // 0 means no fall

    double vibratoRate = 0.0;     // Hz
    double vibratoDepth = 0.0;    // semitones
    std::vector<double> arpeggio; // semitone offsets, cycled every arpStep
    double arpStep = 0.05;

    double fmRatio = 0.0; // modulator frequency / carrier frequency; 0 = no FM
    double fmIndex = 0.0;
    double fmHalfLife = 0.0; // the index halves over this time; 0 = constant

    Sweep lowpass;               // Hz; unset = no filter
    Sweep highpass;              // Hz; unset = no filter
    double resonance = 0.707;    // Q of the low-pass
    std::vector<Sweep> formants; // band-passes summed in parallel (voice-like)

    std::uint32_t seed = 1; // noise generator start

    double end() const { return start + hold + release; }
};

struct Echo {
    double delay = 0.0;
    double feedback = 0.0;
    int repeats = 0;
};

struct SoundRecipe {
    std::vector<ToneEvent> tones;
    Echo echo;
    double levelDb = 0.0; // offset from the common loudness, for quieter effects
};

} // namespace sfx
