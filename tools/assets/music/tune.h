// A compiled piece of music: what the tune sources say, in ticks, ready to be
// written as a standard MIDI file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace music {

// 480 ticks per quarter note, so a whole note is 1920 ticks: every length
// from 1 to 64 that a tune uses, triplets included, divides it exactly.
constexpr int ticksPerQuarter = 480;
constexpr int ticksPerWhole = ticksPerQuarter * 4;

struct Note {
    std::uint32_t start = 0;
    std::uint32_t duration = 0;
    int key = 60;
    int velocity = 100;
};

struct TempoChange {
    std::uint32_t tick = 0;
    double beatsPerMinute = 120.0;
};

struct Track {
    std::string name;
    int channel = 1;   // 1..16 as musicians count; 10 is percussion
    int program = 1;   // 1..128 as the General MIDI list counts
    int volume = 100;  // controller 7
    int pan = 64;      // controller 10, 64 is the centre
    int reverb = 40;   // controller 91
    int chorus = 0;    // controller 93
    int transpose = 0; // semitones added to every pitched note
    std::vector<Note> notes;
    std::uint32_t length = 0; // where the track's last note or rest ends
    int line = 0;             // where the track starts in its source
};

struct Tune {
    std::string title;
    int beatsPerBar = 4;
    int beatUnit = 4;
    bool loops = true;
    std::vector<TempoChange> tempos; // sorted by tick, first at tick 0
    std::vector<Track> tracks;
    std::uint32_t length = 0; // in ticks; the end of every track

    std::uint32_t ticksPerBar() const { return beatsPerBar * (ticksPerWhole / beatUnit); }
};

// Playing time of the first `ticks` ticks under the tune's tempo changes.
double secondsAt(const Tune& tune, std::uint32_t ticks);

} // namespace music
