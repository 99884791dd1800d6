#include "platform/headless/headless_audio.h"

#include "platform/headless/headless.h"
#include "platform/loaders/regular_file.h"
#include "platform/loaders/wave_loader.h"
#include "platform/midi_file_check.h"

#include <map>
#include <optional>
#include <vector>

namespace {

struct Buffer {
    bool live = false;
    uint32_t durationMs = 0;
    bool sounding = false;  // started and not stopped (may have run out)
    uint32_t startedAt = 0; // virtual time the remaining part started
    uint32_t remainingMs = 0;
    bool held = false;
};

struct AudioState {
    bool deviceAvailable = true;
    bool soundfontAvailable = true;
    int deviceUsers = 0;
    bool effectsOpen = false;
    bool soundfontLoaded = false;
    std::vector<Buffer> buffers;
    std::map<int, std::string> pieces;
    int lastPiece = 0;
    int pieceInPlayer = 0;
    uint32_t playStartedAt = 0; // virtual time of the last start or resume
    uint32_t playedBeforeMs = 0;
    headless::MusicRecord record;
};

AudioState state;

bool bufferPlaying(const Buffer& b) {
    return b.live && b.sounding && !b.held && headless::now() - b.startedAt < b.remainingMs;
}

Buffer* findBuffer(int buffer) {
    if (buffer < 0 || buffer >= static_cast<int>(state.buffers.size())) return nullptr;
    Buffer& b = state.buffers[buffer];
    return b.live ? &b : nullptr;
}

void startBuffer(Buffer& b, uint32_t remainingMs) {
    b.sounding = true;
    b.held = false;
    b.startedAt = headless::now();
    b.remainingMs = remainingMs;
}

bool acquireDevice() {
    if (!state.deviceAvailable) return false;
    ++state.deviceUsers;
    return true;
}

void releaseDevice() {
    if (state.deviceUsers > 0) --state.deviceUsers;
}

// What the real player accepts: a MIDI file it can loop safely.
bool isMidiFile(const std::string& path) {
    const std::optional<std::string> bytes = readRegularFile(path, MAX_MIDI_FILE_BYTES);
    return bytes && midiFileLoopable(*bytes);
}

void updatePlayedTime() {
    uint32_t played = state.playedBeforeMs;
    if (state.record.state == headless::MidiState::Playing) {
        played += headless::now() - state.playStartedAt;
    }
    state.record.playedMs = played;
}

} // namespace

namespace headless {

void resetAudio() {
    state = AudioState{};
}

void setAudioDeviceAvailable(bool available) {
    state.deviceAvailable = available;
}

void setSoundfontAvailable(bool available) {
    state.soundfontAvailable = available;
}

const MusicRecord& musicRecord() {
    updatePlayedTime();
    state.record.loadedPieces = static_cast<int>(state.pieces.size());
    return state.record;
}

int liveEffectBuffers() {
    int count = 0;
    for (const Buffer& b : state.buffers)
        count += b.live ? 1 : 0;
    return count;
}

} // namespace headless

namespace platform {

bool openAudio() {
    if (state.effectsOpen) return true;
    if (!acquireDevice()) return false;
    state.effectsOpen = true;
    return true;
}

void closeAudio() {
    if (!state.effectsOpen) return;
    state.effectsOpen = false;
    releaseDevice();
}

int createEffectBuffer(const PcmSound& sound) {
    if (!state.effectsOpen || sound.frameCount() == 0) return -1;
    Buffer b;
    b.live = true;
    b.durationMs = sound.durationMs();
    for (size_t i = 0; i < state.buffers.size(); ++i) {
        if (!state.buffers[i].live) {
            state.buffers[i] = b;
            return static_cast<int>(i);
        }
    }
    state.buffers.push_back(b);
    return static_cast<int>(state.buffers.size() - 1);
}

void releaseEffectBuffer(int buffer) {
    if (Buffer* b = findBuffer(buffer)) *b = Buffer{};
}

void playEffectBuffer(int buffer) {
    if (Buffer* b = findBuffer(buffer)) startBuffer(*b, b->durationMs);
}

void stopEffectBuffer(int buffer) {
    if (Buffer* b = findBuffer(buffer)) {
        b->sounding = false;
        b->held = false;
    }
}

bool effectBufferPlaying(int buffer) {
    Buffer* b = findBuffer(buffer);
    return b != nullptr && bufferPlaying(*b);
}

void holdEffectBuffer(int buffer) {
    Buffer* b = findBuffer(buffer);
    if (b == nullptr || !bufferPlaying(*b)) return;
    b->remainingMs -= headless::now() - b->startedAt;
    b->held = true;
}

void continueEffectBuffer(int buffer) {
    Buffer* b = findBuffer(buffer);
    if (b == nullptr) return;
    if (b->held) {
        startBuffer(*b, b->remainingMs);
    } else if (!bufferPlaying(*b)) {
        startBuffer(*b, b->durationMs);
    }
}

bool openMidiPlayer() {
    if (state.record.playerOpen) return true;
    if (!acquireDevice()) return false;
    if (!state.soundfontAvailable) {
        releaseDevice();
        return false;
    }
    if (!state.soundfontLoaded) {
        state.soundfontLoaded = true;
        ++state.record.soundfontLoads;
    }
    state.record.playerOpen = true;
    return true;
}

void closeMidiPlayer() {
    if (!state.record.playerOpen) return;
    stopMidi();
    state.pieces.clear();
    state.soundfontLoaded = false;
    state.record.playerOpen = false;
    releaseDevice();
}

int loadMidiPiece(const std::string& path) {
    if (!state.record.playerOpen || !isMidiFile(path)) return 0;
    state.pieces[++state.lastPiece] = path;
    state.record.lastLoadedPath = path;
    return state.lastPiece;
}

void freeMidiPiece(int piece) {
    if (piece != 0 && piece == state.pieceInPlayer) stopMidi();
    state.pieces.erase(piece);
}

void playMidiPiece(int piece, MidiStart start) {
    auto it = state.pieces.find(piece);
    if (!state.record.playerOpen || it == state.pieces.end()) return;
    state.pieceInPlayer = piece;
    state.playStartedAt = headless::now();
    state.playedBeforeMs = 0;
    state.record.playingPath = it->second;
    state.record.state = headless::MidiState::Playing;
    state.record.lastStart = start;
    ++state.record.playCount;
}

void stopMidi() {
    state.pieceInPlayer = 0;
    state.playedBeforeMs = 0;
    state.record.playingPath.clear();
    state.record.state = headless::MidiState::Stopped;
}

void pauseMidi() {
    if (state.record.state != headless::MidiState::Playing) return;
    state.playedBeforeMs += headless::now() - state.playStartedAt;
    state.record.state = headless::MidiState::Paused;
}

void resumeMidi() {
    if (state.record.state != headless::MidiState::Paused) return;
    state.playStartedAt = headless::now();
    state.record.state = headless::MidiState::Playing;
}

} // namespace platform
