// Audio on SDL: effect buffers are SDL_mixer chunks, each on channels of its
// own so that every copy can be held and continued by itself; music is a
// FluidSynth synthesizer and MIDI file player rendered into SDL_mixer's music
// stream through Mix_HookMusic. SDL_mixer's own MIDI music is not used: it
// reloads the soundfont for every piece and its pause has changed between
// versions, while here the soundfont is loaded once and pause simply stops
// rendering.
#include "platform/audio_backend.h"
#include "platform/loaders/regular_file.h"
#include "platform/loaders/wave_loader.h"
#include "platform/midi_file_check.h"
#include "platform/sdl/midi_renderer.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <fluidsynth.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int DEVICE_RATE = 44100;
constexpr int DEVICE_CHANNELS = 2;
constexpr int DEVICE_CHUNK_FRAMES = 1024;
// How long a copy that is cut short takes to fall silent (see the effect
// buffers below): long enough that the cut makes no click, short enough that
// it reads as the same instant as the copy that replaces it.
constexpr int CUT_RAMP_MS = 4;
// FluidSynth's default gain (0.2) leaves the music far below the effects;
// this puts a typical piece a little under a full-scale effect.
constexpr double SYNTH_GAIN = 0.6;

const char* const SYSTEM_SOUNDFONTS[] = {
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
};

// ---- the device, shared by the effects and the music ----

struct Device {
    int users = 0;
    bool failed = false; // sticky, so the reason is printed once
    int rate = 0;
    Uint16 format = 0;
    int channels = 0;
    int cutRampFrames = 1; // CUT_RAMP_MS at the device rate
};

Device device;

bool acquireDevice() {
    if (device.failed) return false;
    if (device.users == 0) {
        const char* reason = nullptr;
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            reason = SDL_GetError();
        } else if (Mix_OpenAudio(DEVICE_RATE, AUDIO_S16SYS, DEVICE_CHANNELS, DEVICE_CHUNK_FRAMES) !=
                   0) {
            reason = Mix_GetError();
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
        }
        if (reason != nullptr) {
            std::fprintf(stderr, "velta: no sound device (%s); playing without sound or music\n",
                         reason);
            device.failed = true;
            return false;
        }
        int rate = 0;
        int channels = 0;
        Mix_QuerySpec(&rate, &device.format, &channels);
        device.rate = rate;
        device.channels = channels;
        device.cutRampFrames = std::max(1, rate * CUT_RAMP_MS / 1000);
    }
    ++device.users;
    return true;
}

void releaseDevice() {
    if (device.users == 0 || --device.users > 0) return;
    Mix_HaltChannel(-1);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

// ---- effect buffers ----

// A copy that stops where it is (played again while it sounds, or stopped)
// ends on whatever sample it had reached, and that step is a click. So each
// buffer has two voices, mixer channels of its own: a copy that is cut
// keeps its channel and ramps down to silence over CUT_RAMP_MS, sample by
// sample, while the new copy starts at once on the other. SDL_mixer's own
// fade-out cannot do this: it sets the volume once per mixing pass (about
// 23 ms) and halts the channel at the first pass after the fade time, which
// is itself a cut.
constexpr int VOICES_PER_BUFFER = 2;

// A voice's level, shared with the mixer thread, which applies it in a
// channel effect. Values >= 0 are a cut copy's frames of ramp left, 0 being
// silent until the channel is halted or reaches its end.
constexpr int VOICE_NOT_MIXED = -1; // started, and the mixer has not reached it yet
constexpr int VOICE_FULL = -2;      // the mixer has played some of it at full level

struct Voice {
    std::atomic<int> level{VOICE_FULL};
    bool shaped = false; // the level effect is registered for the current copy
};

struct EffectBuffer {
    std::vector<Uint8> samples; // in the device format
    Mix_Chunk chunk{};
    bool held = false;
    Voice voices[VOICES_PER_BUFFER];
    int current = -1; // the voice of the copy that plays or is held, if any
};

bool effectsOpen = false;
// Buffer n plays on mixer channels VOICES_PER_BUFFER * n and the next.
// Pointers keep each chunk and voice at a fixed address while the mixer
// refers to them.
std::vector<std::unique_ptr<EffectBuffer>> buffers;
int allocatedChannels = 0;

EffectBuffer* findBuffer(int buffer) {
    if (!effectsOpen || buffer < 0 || buffer >= static_cast<int>(buffers.size())) return nullptr;
    return buffers[buffer].get();
}

int voiceChannel(int buffer, int voice) {
    return buffer * VOICES_PER_BUFFER + voice;
}

// The channel effect, on the mixer thread: marks a new copy as heard, and
// scales a cut one down its ramp. Only this thread lowers a ramp, and only
// the game thread starts one (with compare-and-swap, so that a copy the
// mixer has not reached yet is silenced outright instead).
void shapeVoice(int, void* stream, int length, void* data) {
    auto& voice = *static_cast<Voice*>(data);
    int level = voice.level.load();
    if (level == VOICE_NOT_MIXED && voice.level.compare_exchange_strong(level, VOICE_FULL)) return;
    if (level < 0) return; // full, or the exchange lost to a cut and level holds it now
    const int channels = device.channels;
    const int ramp = device.cutRampFrames;
    const int frames = length / (channels * static_cast<int>(sizeof(Sint16)));
    auto* samples = static_cast<Sint16*>(stream);
    for (int frame = 0; frame < frames; ++frame) {
        if (level > 0) --level;
        Sint16* out = samples + static_cast<ptrdiff_t>(frame) * channels;
        for (int c = 0; c < channels; ++c)
            out[c] = static_cast<Sint16>(out[c] * level / ramp);
    }
    voice.level.store(level);
}

// Starts the cut of the copy on a voice that sounds.
void cutVoice(int buffer, int voice) {
    Voice& v = buffers[buffer]->voices[voice];
    if (!v.shaped) {
        Mix_HaltChannel(voiceChannel(buffer, voice));
        return;
    }
    int level = VOICE_NOT_MIXED;
    if (v.level.compare_exchange_strong(level, 0)) return; // never heard: silent at once
    level = VOICE_FULL;
    v.level.compare_exchange_strong(level, device.cutRampFrames);
}

// The buffer's copy, if any, stops counting as its copy: a held one is
// silent already and is halted, a sounding one is cut.
void retireCurrentCopy(int buffer) {
    EffectBuffer& b = *buffers[buffer];
    if (b.current < 0) return;
    int channel = voiceChannel(buffer, b.current);
    if (b.held) {
        Mix_HaltChannel(channel);
    } else if (Mix_Playing(channel) != 0) {
        cutVoice(buffer, b.current);
    }
    b.current = -1;
    b.held = false;
}

// A voice for a new copy: one that is idle or has fallen silent. Both still
// ramping down can only happen when the mixer's passes are shorter than the
// ramp; then the one nearest to silence is cut.
int freeVoice(int buffer) {
    EffectBuffer& b = *buffers[buffer];
    int nearest = 0;
    int nearestLevel = std::numeric_limits<int>::max();
    for (int voice = 0; voice < VOICES_PER_BUFFER; ++voice) {
        int level = b.voices[voice].level.load();
        if (Mix_Playing(voiceChannel(buffer, voice)) == 0 || level == 0) return voice;
        if (level >= 0 && level < nearestLevel) {
            nearest = voice;
            nearestLevel = level;
        }
    }
    return nearest;
}

void startCopy(int buffer) {
    EffectBuffer& b = *buffers[buffer];
    int voice = freeVoice(buffer);
    int channel = voiceChannel(buffer, voice);
    Voice& v = b.voices[voice];
    // Halting also drops the channel's effects; the level is only touched
    // while no effect of the channel can run.
    Mix_HaltChannel(channel);
    v.level.store(VOICE_NOT_MIXED);
    // Registered before the play, so that the mixer never plays the copy
    // unseen by the effect.
    v.shaped = Mix_RegisterEffect(channel, shapeVoice, nullptr, &v) != 0;
    b.current = voice;
    b.held = false;
    if (Mix_PlayChannel(channel, &b.chunk, 0) < 0) {
        Mix_UnregisterAllEffects(channel);
        v.shaped = false;
        b.current = -1;
    }
}

bool convertToDevice(const PcmSound& sound, std::vector<Uint8>& out) {
    SDL_AudioCVT cvt;
    int needed =
        SDL_BuildAudioCVT(&cvt, sound.sampleFormat, static_cast<Uint8>(sound.channels), sound.rate,
                          device.format, static_cast<Uint8>(device.channels), device.rate);
    if (needed < 0) return false;
    out.assign(sound.samples.size() * static_cast<size_t>(cvt.len_mult), 0);
    std::copy(sound.samples.begin(), sound.samples.end(), out.begin());
    if (needed == 1) {
        cvt.buf = out.data();
        cvt.len = static_cast<int>(sound.samples.size());
        if (SDL_ConvertAudio(&cvt) != 0) return false;
        out.resize(static_cast<size_t>(cvt.len_cvt));
    } else {
        out.resize(sound.samples.size());
    }
    size_t frameBytes =
        static_cast<size_t>(device.channels) * (SDL_AUDIO_BITSIZE(device.format) / 8);
    out.resize(out.size() - out.size() % frameBytes);
    return !out.empty();
}

// ---- the MIDI player ----

struct Midi {
    std::mutex mutex; // the renderer is shared with the audio thread
    MidiRenderer renderer;
    std::vector<float> scratch;
    std::map<int, std::vector<Uint8>> pieces;
    int lastPiece = 0;
    int pieceInPlayer = 0;
    bool soundfontReported = false;
};

// Never destroyed: when the program ends by exit() (Xlib does so when the X
// connection is lost) SDL's audio thread may still call the music hook while
// static objects are being destroyed.
Midi& midi = *new Midi;

void renderMusic(void*, Uint8* stream, int length) {
    std::lock_guard<std::mutex> lock(midi.mutex);
    // The stream arrives silent; a paused or empty renderer leaves it so, and
    // since the player only advances while rendered, pause keeps its place.
    int channels = device.channels;
    int frames = length / (channels * static_cast<int>(sizeof(Sint16)));
    auto* out = reinterpret_cast<Sint16*>(stream);
    if (channels == 2) {
        midi.renderer.renderStereo(out, frames);
        return;
    }
    midi.scratch.assign(static_cast<size_t>(frames) * 2, 0.0f);
    float* left = midi.scratch.data();
    float* right = left + frames;
    midi.renderer.renderFloat(left, right, frames);
    for (int i = 0; i < frames; ++i) {
        float l = SDL_clamp(left[i], -1.0f, 1.0f);
        float r = SDL_clamp(right[i], -1.0f, 1.0f);
        Sint16* frame = out + static_cast<ptrdiff_t>(i) * channels;
        if (channels == 1) {
            frame[0] = static_cast<Sint16>((l + r) * 0.5f * 32767.0f);
        } else {
            frame[0] = static_cast<Sint16>(l * 32767.0f);
            frame[1] = static_cast<Sint16>(r * 32767.0f);
        }
    }
}

std::vector<std::string> soundfontCandidates() {
    std::vector<std::string> paths;
    if (const char* list = std::getenv("SDL_SOUNDFONTS")) {
        std::string entry;
        for (const char* c = list;; ++c) {
            if (*c == ';' || *c == ':' || *c == '\0') {
                if (!entry.empty()) paths.push_back(entry);
                entry.clear();
                if (*c == '\0') break;
            } else {
                entry += *c;
            }
        }
    }
    for (const char* path : SYSTEM_SOUNDFONTS)
        paths.push_back(path);
    return paths;
}

bool loadSoundfont(MidiRenderer& renderer) {
    for (const std::string& path : soundfontCandidates()) {
        if (FILE* file = std::fopen(path.c_str(), "rb")) {
            std::fclose(file);
            if (renderer.loadSoundfont(path)) return true;
        }
    }
    return false;
}

} // namespace

namespace platform {

bool openAudio() {
    if (effectsOpen) return true;
    if (!acquireDevice()) return false;
    effectsOpen = true;
    return true;
}

void closeAudio() {
    if (!effectsOpen) return;
    for (size_t i = 0; i < buffers.size(); ++i) {
        if (!buffers[i]) continue;
        for (int voice = 0; voice < VOICES_PER_BUFFER; ++voice)
            Mix_HaltChannel(voiceChannel(static_cast<int>(i), voice));
    }
    buffers.clear();
    effectsOpen = false;
    allocatedChannels = 0;
    releaseDevice();
}

int createEffectBuffer(const PcmSound& sound) {
    if (!effectsOpen) return -1;
    auto buffer = std::make_unique<EffectBuffer>();
    if (!convertToDevice(sound, buffer->samples)) return -1;
    buffer->chunk.allocated = 0; // the samples belong to the buffer
    buffer->chunk.abuf = buffer->samples.data();
    buffer->chunk.alen = static_cast<Uint32>(buffer->samples.size());
    buffer->chunk.volume = MIX_MAX_VOLUME;

    size_t slot = 0;
    while (slot < buffers.size() && buffers[slot])
        ++slot;
    int number = static_cast<int>(slot);
    int channelsNeeded = voiceChannel(number, VOICES_PER_BUFFER - 1) + 1;
    if (channelsNeeded > allocatedChannels) {
        allocatedChannels = Mix_AllocateChannels(std::max(channelsNeeded, allocatedChannels * 2));
        if (channelsNeeded > allocatedChannels) return -1;
    }
    if (slot == buffers.size()) buffers.emplace_back();
    buffers[slot] = std::move(buffer);
    return number;
}

void releaseEffectBuffer(int buffer) {
    if (findBuffer(buffer) == nullptr) return;
    // The samples go with the buffer, so nothing of it may sound on.
    for (int voice = 0; voice < VOICES_PER_BUFFER; ++voice)
        Mix_HaltChannel(voiceChannel(buffer, voice));
    buffers[buffer].reset();
}

void playEffectBuffer(int buffer) {
    if (findBuffer(buffer) == nullptr) return;
    // A fresh play also ends a held copy, so a held buffer restarts.
    retireCurrentCopy(buffer);
    startCopy(buffer);
}

void stopEffectBuffer(int buffer) {
    if (findBuffer(buffer) == nullptr) return;
    retireCurrentCopy(buffer);
}

bool effectBufferPlaying(int buffer) {
    EffectBuffer* b = findBuffer(buffer);
    if (b == nullptr || b->current < 0) return false;
    int channel = voiceChannel(buffer, b->current);
    return Mix_Playing(channel) != 0 && Mix_Paused(channel) == 0;
}

void holdEffectBuffer(int buffer) {
    EffectBuffer* b = findBuffer(buffer);
    if (b == nullptr || !effectBufferPlaying(buffer)) return;
    Mix_Pause(voiceChannel(buffer, b->current));
    b->held = true;
}

void continueEffectBuffer(int buffer) {
    EffectBuffer* b = findBuffer(buffer);
    if (b == nullptr) return;
    if (b->held) {
        b->held = false;
        Mix_Resume(voiceChannel(buffer, b->current));
    } else if (!effectBufferPlaying(buffer)) {
        startCopy(buffer);
    }
}

bool openMidiPlayer() {
    if (midi.renderer.isOpen()) return true;
    if (!acquireDevice()) return false;
    // Our own stderr line says what matters; FluidSynth's chatter would bury it.
    for (int level : {FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
        fluid_set_log_function(level, nullptr, nullptr);
    }
    bool started = false;
    bool ready = false;
    {
        std::lock_guard<std::mutex> lock(midi.mutex);
        started = midi.renderer.open(device.rate, SYNTH_GAIN);
        ready = started && loadSoundfont(midi.renderer);
        if (!ready) midi.renderer.close();
    }
    if (!ready) {
        if (!midi.soundfontReported) {
            std::fprintf(stderr, !started
                                     ? "velta: the MIDI synthesizer could not start; playing "
                                       "without music\n"
                                     : "velta: no General MIDI soundfont found (SDL_SOUNDFONTS, "
                                       "/usr/share/sounds/sf2/default-GM.sf2, TimGM6mb.sf2); "
                                       "playing without music\n");
            midi.soundfontReported = true;
        }
        releaseDevice();
        return false;
    }
    Mix_HookMusic(renderMusic, nullptr);
    return true;
}

void closeMidiPlayer() {
    if (!midi.renderer.isOpen()) return;
    // Unhooking waits for a running callback, so nothing renders afterwards.
    Mix_HookMusic(nullptr, nullptr);
    {
        std::lock_guard<std::mutex> lock(midi.mutex);
        midi.renderer.close();
        midi.pieceInPlayer = 0;
    }
    midi.pieces.clear();
    releaseDevice();
}

int loadMidiPiece(const std::string& path) {
    if (!midi.renderer.isOpen()) return 0;
    std::optional<std::string> bytes = readRegularFile(path, MAX_MIDI_FILE_BYTES);
    // Only a file the player reads in full and that lasts some time is
    // handed to it (see midi_file_check.h).
    if (!bytes || !midiFileLoopable(*bytes)) return 0;
    midi.pieces[++midi.lastPiece] = std::vector<Uint8>(bytes->begin(), bytes->end());
    return midi.lastPiece;
}

void freeMidiPiece(int piece) {
    if (piece != 0 && piece == midi.pieceInPlayer) stopMidi();
    midi.pieces.erase(piece);
}

void playMidiPiece(int piece, MidiStart start) {
    auto it = midi.pieces.find(piece);
    if (!midi.renderer.isOpen() || it == midi.pieces.end()) return;
    std::lock_guard<std::mutex> lock(midi.mutex);
    midi.pieceInPlayer = midi.renderer.start(it->second, start == MidiStart::Fresh) ? piece : 0;
}

void stopMidi() {
    std::lock_guard<std::mutex> lock(midi.mutex);
    midi.renderer.stop();
    midi.pieceInPlayer = 0;
}

void pauseMidi() {
    std::lock_guard<std::mutex> lock(midi.mutex);
    midi.renderer.setPaused(true);
}

void resumeMidi() {
    std::lock_guard<std::mutex> lock(midi.mutex);
    midi.renderer.setPaused(false);
}

} // namespace platform
