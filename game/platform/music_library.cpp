#include "platform/music_library.h"

#include "platform/audio_backend.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

constexpr int MAX_PIECES = 64;

struct Piece {
    KBGMHandle handle = 0;
    int backendPiece = 0;
    uint64_t loadedOrder = 0;
};

bool libraryOpen = false;
int pieceLimit = 0;
std::vector<Piece> pieces;
KBGMHandle lastHandle = 0;
uint64_t loadCounter = 0;

enum class PlayerState { Stopped, Playing, Paused };
PlayerState playerState = PlayerState::Stopped;
KBGMHandle playingHandle = 0;

std::vector<Piece>::iterator findPiece(KBGMHandle handle) {
    return std::find_if(pieces.begin(), pieces.end(),
                        [handle](const Piece& p) { return p.handle == handle; });
}

void stopPlayer() {
    platform::stopMidi();
    playerState = PlayerState::Stopped;
    playingHandle = 0;
}

void forget(std::vector<Piece>::iterator piece) {
    if (piece->handle == playingHandle) stopPlayer();
    platform::freeMidiPiece(piece->backendPiece);
    pieces.erase(piece);
}

// Makes room for one more piece by forgetting the oldest one not being played.
bool makeRoom() {
    if (static_cast<int>(pieces.size()) < pieceLimit) return true;
    auto oldest = pieces.end();
    for (auto it = pieces.begin(); it != pieces.end(); ++it) {
        if (it->handle == playingHandle) continue;
        if (oldest == pieces.end() || it->loadedOrder < oldest->loadedOrder) oldest = it;
    }
    if (oldest == pieces.end()) return false;
    forget(oldest);
    return true;
}

} // namespace

int KBGMOpen(int pieceCount, int device) {
    if (pieceCount < 1 || pieceCount > MAX_PIECES || device != -1) return KBGM_ERROR_ARGUMENT;
    if (libraryOpen) return KBGM_OK;
    if (!platform::openMidiPlayer()) return KBGM_ERROR_NO_DEVICE;
    libraryOpen = true;
    pieceLimit = pieceCount;
    pieces.clear();
    playerState = PlayerState::Stopped;
    playingHandle = 0;
    return KBGM_OK;
}

int KBGMLoadFile(KBGMHandle* handle, const char* path) {
    if (!libraryOpen) return KBGM_ERROR_NOT_OPEN;
    if (handle == nullptr || path == nullptr) return KBGM_ERROR_ARGUMENT;
    int backendPiece = platform::loadMidiPiece(path);
    if (backendPiece == 0) return KBGM_ERROR_LOAD;
    if (!makeRoom()) {
        platform::freeMidiPiece(backendPiece);
        return KBGM_ERROR_TABLE_FULL;
    }
    // Handles are never reused, so a stale one can only miss.
    Piece piece{++lastHandle, backendPiece, ++loadCounter};
    pieces.push_back(piece);
    *handle = piece.handle;
    return KBGM_OK;
}

int KBGMPlay(KBGMHandle handle, int firstPlay) {
    if (!libraryOpen) return KBGM_ERROR_NOT_OPEN;
    if (firstPlay != 0 && firstPlay != 1) return KBGM_ERROR_ARGUMENT;
    auto piece = findPiece(handle);
    if (piece == pieces.end()) return KBGM_ERROR_HANDLE;
    platform::playMidiPiece(piece->backendPiece, firstPlay == 0 ? platform::MidiStart::Fresh
                                                                : platform::MidiStart::CutPrevious);
    playerState = PlayerState::Playing;
    playingHandle = handle;
    return KBGM_OK;
}

int KBGMStop() {
    if (!libraryOpen) return KBGM_ERROR_NOT_OPEN;
    stopPlayer();
    return KBGM_OK;
}

int KBGMPause() {
    if (!libraryOpen) return KBGM_ERROR_NOT_OPEN;
    if (playerState != PlayerState::Playing) return KBGM_ERROR_NOT_PLAYING;
    platform::pauseMidi();
    playerState = PlayerState::Paused;
    return KBGM_OK;
}

// Only the paused piece resumes: a piece that was stopped (the player died,
// the goal was reached) stays silent through a later pause and resume.
int KBGMResume(KBGMHandle handle) {
    if (!libraryOpen) return KBGM_ERROR_NOT_OPEN;
    if (findPiece(handle) == pieces.end()) return KBGM_ERROR_HANDLE;
    if (playerState != PlayerState::Paused || handle != playingHandle) {
        return KBGM_ERROR_NOT_PLAYING;
    }
    platform::resumeMidi();
    playerState = PlayerState::Playing;
    return KBGM_OK;
}

int KBGMFree(KBGMHandle handle) {
    if (!libraryOpen) return KBGM_ERROR_NOT_OPEN;
    auto piece = findPiece(handle);
    if (piece == pieces.end()) return KBGM_ERROR_HANDLE;
    forget(piece);
    return KBGM_OK;
}

int KBGMClose() {
    if (!libraryOpen) return KBGM_ERROR_NOT_OPEN;
    stopPlayer();
    while (!pieces.empty())
        forget(pieces.begin());
    platform::closeMidiPlayer();
    libraryOpen = false;
    return KBGM_OK;
}
