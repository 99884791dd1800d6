// Audio on SDL: effect buffers are SDL_mixer chunks, each on a channel of its
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
#include <cstdio>
#include <cstdlib>
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
