// The music synthesizer: FluidSynth's synthesizer and MIDI file player,
// rendered on demand into the caller's stream (no SDL here, so it runs
// without a sound device too).
//
// A piece loops until it is stopped. The player is never told to loop for
// ever: it starts an ended piece again inside the same render call, so a
// piece that lasts no time, or one it cannot read, would be started over and
// over and the call would never return. The renderer allows it one more pass
// at a time, renewed after every slice it renders while the piece plays: a
// piece goes on into its next pass as before, and one that ends at once
// stops after two passes at most, and the music stays silent.
//
// Not thread-safe: the caller serialises every call (the audio thread renders).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class MidiRenderer {
  public:
    MidiRenderer();
    ~MidiRenderer();
    MidiRenderer(const MidiRenderer&) = delete;
    MidiRenderer& operator=(const MidiRenderer&) = delete;

    // The synthesizer at this sample rate and gain, without a soundfont yet.
    bool open(int sampleRate, double gain);
    bool loadSoundfont(const std::string& path);
    void close();
    bool isOpen() const;

    // Starts the piece (the bytes of a standard MIDI file) from its beginning.
    // fresh: the synthesizer goes back to its reset state first; otherwise
    // only what still sounds is cut off.
    bool start(const std::vector<uint8_t>& piece, bool fresh);
    // Silences and forgets the piece in the player.
    void stop();
    bool hasPiece() const;
    // A paused renderer leaves the stream as it is and the piece where it was.
    void setPaused(bool paused);

    // Frames of interleaved 16-bit stereo.
    void renderStereo(int16_t* frames, int count);
    // Separate left and right channels as floats.
    void renderFloat(float* left, float* right, int count);

  private:
    struct State;
    template <typename Write> void renderSlices(int count, Write write);
    void allowAnotherPass();

    std::unique_ptr<State> state_;
};
