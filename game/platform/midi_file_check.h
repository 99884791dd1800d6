// Whether a standard MIDI file can be given to the synthesizer's file player
// and looped. That player reads tracks until the header's count is met and
// starts a looping piece again the moment it ends, all inside one render
// call: a file it cannot read to the end, or a piece that lasts no time, has
// it start over without end while the audio thread holds its locks.
#pragma once

#include <cstddef>
#include <string_view>

// A game tune is a few kilobytes; a file far beyond that is not one.
constexpr size_t MAX_MIDI_FILE_BYTES = 8u * 1024 * 1024;

// True for a file whose header, chunks and events are all within the file and
// readable, with the promised number of tracks and a piece longer than zero
// ticks. Stricter than the player where it is lenient or reads oddly: a
// running status after a meta or system-exclusive event or carried into the
// next track, a track count above 255, a length past the end of its track.
bool midiFileLoopable(std::string_view bytes);
