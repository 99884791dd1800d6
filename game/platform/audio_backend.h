// The audio part of the backend interface: effect buffers on the sound device
// and one MIDI player. The sound table (sound.h) and the music library
// (music_library.h) are written against these calls only; the SDL backend
// plays through SDL_mixer and FluidSynth, the headless one models the same
// calls on the virtual clock.
#pragma once

#include <string>

struct PcmSound;

namespace platform {

// The sound device. Opening twice is harmless. A device that cannot be had is
// reported once on stderr, and every later open fails quietly, so the game
// runs silent.
bool openAudio();
void closeAudio();

// Effect buffers: one recording each, played once from the start on demand.
// The recording is converted to the device format when the buffer is made.
// Returns a buffer number >= 0, or -1 when no buffer could be made.
int createEffectBuffer(const PcmSound& sound);
void releaseEffectBuffer(int buffer);
// Stops the buffer if it sounds and plays it once from its beginning.
void playEffectBuffer(int buffer);
// Stops the buffer; the next play or resume starts from the beginning.
void stopEffectBuffer(int buffer);
// True while the buffer sounds (a held buffer does not).
bool effectBufferPlaying(int buffer);
// Holds a sounding buffer at its position. A buffer that does not sound is
// left alone.
void holdEffectBuffer(int buffer);
// Plays a held buffer on from where it was held. A buffer that was not held
// and does not sound plays once from its start position, which is its
// beginning; a sounding one goes on undisturbed.
void continueEffectBuffer(int buffer);

// The MIDI player: one synthesizer whose soundfont is loaded once, at open;
// one piece sounds at a time.
enum class MidiStart {
    Fresh,       // nothing should be sounding: the synthesizer starts from its reset state
    CutPrevious, // an earlier piece may still sound: it is silenced first
};

// Opens the sound device (as openAudio) and the synthesizer with its
// soundfont. A missing soundfont is reported once on stderr.
bool openMidiPlayer();
void closeMidiPlayer();
// Reads a standard MIDI file. Returns a piece number > 0, or 0 when the file
// cannot be read or is no MIDI file.
int loadMidiPiece(const std::string& path);
// Forgets a piece; if it is the one in the player, the player stops first.
void freeMidiPiece(int piece);
// Starts a loaded piece from its beginning; it loops until stopped.
void playMidiPiece(int piece, MidiStart start);
void stopMidi();
// Pause keeps the piece's position and every sounding voice; resume goes on
// from there. Both act only on a playing (or paused) piece.
void pauseMidi();
void resumeMidi();

} // namespace platform
