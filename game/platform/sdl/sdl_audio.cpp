// Audio on SDL: effect buffers are SDL_mixer chunks, each on a channel of its
// own so that every copy can be held and continued by itself; music is a
// FluidSynth synthesizer and MIDI file player rendered into SDL_mixer's music
// stream through Mix_HookMusic. SDL_mixer's own MIDI music is not used: it
// reloads the soundfont for every piece and its pause has changed between
// versions, while here the soundfont is loaded once and pause simply stops
// rendering.
#include "platform/audio_backend.h"
#include "platform/loaders/wave_loader.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <fluidsynth.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace {

constexpr int DEVICE_RATE = 44100;
constexpr int DEVICE_CHANNELS = 2;
constexpr int DEVICE_CHUNK_FRAMES = 1024;
// FluidSynth's default gain (0.2) leaves the music far below the effects;
// this puts a typical piece a little under a full-scale effect.
constexpr double SYNTH_GAIN = 0.6;
// A game tune is a few kilobytes; a file far beyond that is not one.
constexpr size_t MAX_MIDI_FILE_BYTES = 8u * 1024 * 1024;

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

struct EffectBuffer {
    std::vector<Uint8> samples; // in the device format
    Mix_Chunk chunk{};
    bool held = false;
};

bool effectsOpen = false;
// Buffer n plays on mixer channel n. Pointers keep each chunk at a fixed
// address while the mixer refers to it.
std::vector<std::unique_ptr<EffectBuffer>> buffers;
int allocatedChannels = 0;

EffectBuffer* findBuffer(int buffer) {
    if (!effectsOpen || buffer < 0 || buffer >= static_cast<int>(buffers.size())) return nullptr;
    return buffers[buffer].get();
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
    std::mutex mutex; // the synthesizer and player are shared with the audio thread
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_player_t* player = nullptr;
    bool paused = false;
    std::vector<float> scratch;
    std::map<int, std::vector<Uint8>> pieces;
    int lastPiece = 0;
    int pieceInPlayer = 0;
    bool soundfontReported = false;
};

Midi midi;

void renderMusic(void*, Uint8* stream, int length) {
    std::lock_guard<std::mutex> lock(midi.mutex);
    // The stream arrives silent; a paused or empty player leaves it so, and
    // since the player only advances while rendered, pause keeps its place.
    if (midi.synth == nullptr || midi.player == nullptr || midi.paused) return;
    int channels = device.channels;
    int frames = length / (channels * static_cast<int>(sizeof(Sint16)));
    auto* out = reinterpret_cast<Sint16*>(stream);
    if (channels == 2) {
        fluid_synth_write_s16(midi.synth, frames, out, 0, 2, out, 1, 2);
        return;
    }
    midi.scratch.resize(static_cast<size_t>(frames) * 2);
    float* left = midi.scratch.data();
    float* right = left + frames;
    fluid_synth_write_float(midi.synth, frames, left, 0, 1, right, 0, 1);
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

bool loadSoundfont(fluid_synth_t* synth) {
    for (const std::string& path : soundfontCandidates()) {
        if (FILE* file = std::fopen(path.c_str(), "rb")) {
            std::fclose(file);
            if (fluid_synth_sfload(synth, path.c_str(), 1) != FLUID_FAILED) return true;
        }
    }
    return false;
}

void deleteSynth() {
    if (midi.player != nullptr) delete_fluid_player(midi.player);
    if (midi.synth != nullptr) delete_fluid_synth(midi.synth);
    if (midi.settings != nullptr) delete_fluid_settings(midi.settings);
    midi.player = nullptr;
    midi.synth = nullptr;
    midi.settings = nullptr;
}

void stopPlayerLocked() {
    if (midi.player != nullptr) {
        fluid_player_stop(midi.player);
        delete_fluid_player(midi.player);
        midi.player = nullptr;
    }
    if (midi.synth != nullptr) fluid_synth_all_sounds_off(midi.synth, -1);
    midi.pieceInPlayer = 0;
    midi.paused = false;
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
        if (buffers[i]) Mix_HaltChannel(static_cast<int>(i));
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
    int channel = static_cast<int>(slot);
    if (channel >= allocatedChannels) {
        allocatedChannels = Mix_AllocateChannels(std::max(channel + 1, allocatedChannels * 2));
        if (channel >= allocatedChannels) return -1;
    }
    if (slot == buffers.size()) buffers.emplace_back();
    buffers[slot] = std::move(buffer);
    return channel;
}

void releaseEffectBuffer(int buffer) {
    if (findBuffer(buffer) == nullptr) return;
    Mix_HaltChannel(buffer);
    buffers[buffer].reset();
}

void playEffectBuffer(int buffer) {
    EffectBuffer* b = findBuffer(buffer);
    if (b == nullptr) return;
    // A fresh play also clears the channel's pause, so a held copy restarts.
    Mix_HaltChannel(buffer);
    b->held = false;
    Mix_PlayChannel(buffer, &b->chunk, 0);
}

void stopEffectBuffer(int buffer) {
    EffectBuffer* b = findBuffer(buffer);
    if (b == nullptr) return;
    Mix_HaltChannel(buffer);
    b->held = false;
}

bool effectBufferPlaying(int buffer) {
    EffectBuffer* b = findBuffer(buffer);
    return b != nullptr && Mix_Playing(buffer) != 0 && Mix_Paused(buffer) == 0;
}

void holdEffectBuffer(int buffer) {
    EffectBuffer* b = findBuffer(buffer);
    if (b == nullptr || !effectBufferPlaying(buffer)) return;
    Mix_Pause(buffer);
    b->held = true;
}

void continueEffectBuffer(int buffer) {
    EffectBuffer* b = findBuffer(buffer);
    if (b == nullptr) return;
    if (b->held) {
        b->held = false;
        Mix_Resume(buffer);
    } else if (!effectBufferPlaying(buffer)) {
        Mix_PlayChannel(buffer, &b->chunk, 0);
    }
}

bool openMidiPlayer() {
    if (midi.synth != nullptr) return true;
    if (!acquireDevice()) return false;
    // Our own stderr line says what matters; FluidSynth's chatter would bury it.
    for (int level : {FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
        fluid_set_log_function(level, nullptr, nullptr);
    }
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setnum(settings, "synth.sample-rate", device.rate);
    fluid_settings_setnum(settings, "synth.gain", SYNTH_GAIN);
    // The player is driven by the samples we render, so it stops when we do.
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    fluid_synth_t* synth = new_fluid_synth(settings);
    if (synth == nullptr || !loadSoundfont(synth)) {
        if (!midi.soundfontReported) {
            std::fprintf(stderr, synth == nullptr
                                     ? "velta: the MIDI synthesizer could not start; playing "
                                       "without music\n"
                                     : "velta: no General MIDI soundfont found (SDL_SOUNDFONTS, "
                                       "/usr/share/sounds/sf2/default-GM.sf2, TimGM6mb.sf2); "
                                       "playing without music\n");
            midi.soundfontReported = true;
        }
        if (synth != nullptr) delete_fluid_synth(synth);
        delete_fluid_settings(settings);
        releaseDevice();
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(midi.mutex);
        midi.settings = settings;
        midi.synth = synth;
        midi.paused = false;
    }
    Mix_HookMusic(renderMusic, nullptr);
    return true;
}

void closeMidiPlayer() {
    if (midi.synth == nullptr) return;
    // Unhooking waits for a running callback, so nothing renders afterwards.
    Mix_HookMusic(nullptr, nullptr);
    {
        std::lock_guard<std::mutex> lock(midi.mutex);
        stopPlayerLocked();
        deleteSynth();
    }
    midi.pieces.clear();
    releaseDevice();
}

int loadMidiPiece(const std::string& path) {
    if (midi.synth == nullptr) return 0;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return 0;
    std::vector<Uint8> bytes;
    Uint8 block[16384];
    size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0 &&
           bytes.size() <= MAX_MIDI_FILE_BYTES) {
        bytes.insert(bytes.end(), block, block + got);
    }
    std::fclose(file);
    if (bytes.size() > MAX_MIDI_FILE_BYTES || bytes.size() < 14 ||
        std::memcmp(bytes.data(), "MThd", 4) != 0)
        return 0;
    midi.pieces[++midi.lastPiece] = std::move(bytes);
    return midi.lastPiece;
}

void freeMidiPiece(int piece) {
    if (piece != 0 && piece == midi.pieceInPlayer) stopMidi();
    midi.pieces.erase(piece);
}

void playMidiPiece(int piece, MidiStart start) {
    auto it = midi.pieces.find(piece);
    if (midi.synth == nullptr || it == midi.pieces.end()) return;
    std::lock_guard<std::mutex> lock(midi.mutex);
    stopPlayerLocked();
    if (start == MidiStart::Fresh) fluid_synth_system_reset(midi.synth);
    fluid_player_t* player = new_fluid_player(midi.synth);
    if (player == nullptr) return;
    if (fluid_player_add_mem(player, it->second.data(), it->second.size()) != FLUID_OK) {
        delete_fluid_player(player);
        return;
    }
    fluid_player_set_loop(player, -1);
    fluid_player_play(player);
    midi.player = player;
    midi.pieceInPlayer = piece;
}

void stopMidi() {
    std::lock_guard<std::mutex> lock(midi.mutex);
    stopPlayerLocked();
}

void pauseMidi() {
    std::lock_guard<std::mutex> lock(midi.mutex);
    if (midi.player != nullptr) midi.paused = true;
}

void resumeMidi() {
    std::lock_guard<std::mutex> lock(midi.mutex);
    midi.paused = false;
}

} // namespace platform
