// Control of the headless audio backend, for tests. Effect buffers sound for
// their real length on the virtual clock (headless::now()); the MIDI player
// only records what it was asked to do.
#pragma once

#include "platform/audio_backend.h"

#include <cstdint>
#include <string>

namespace headless {

// Back to the start state: a device and a soundfont available, nothing open,
// no buffers, no pieces, the record below cleared.
void resetAudio();

// Whether openAudio / openMidiPlayer find a device, and the player a soundfont.
void setAudioDeviceAvailable(bool available);
void setSoundfontAvailable(bool available);

enum class MidiState { Stopped, Playing, Paused };

struct MusicRecord {
    bool playerOpen = false;
    int soundfontLoads = 0;
    std::string lastLoadedPath; // the last file that loaded as a piece
    std::string playingPath;    // the piece in the player, "" after a stop
    MidiState state = MidiState::Stopped;
    int playCount = 0;
    platform::MidiStart lastStart = platform::MidiStart::Fresh;
    uint32_t playedMs = 0; // virtual time the current piece has sounded
    int loadedPieces = 0;  // pieces loaded and not yet freed
};

const MusicRecord& musicRecord();

// Effect buffers currently made (not released).
int liveEffectBuffers();

} // namespace headless
