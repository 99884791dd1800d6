#include "platform/music.h"

#include "platform/music_library.h"
#include "platform/paths.h"

#include <string>

namespace {

bool libraryOpen = false;
KBGMHandle musicHandle = 0;
// Set once a piece has been started; the next piece is then told that an
// earlier one may still be sounding (see KBGMPlay).
bool firstPlayDone = false;

constexpr int LIBRARY_PIECES = 10;
constexpr int DEFAULT_DEVICE = -1;

} // namespace

int openMusic() {
    if (libraryOpen) return 0;
    int result = KBGMOpen(LIBRARY_PIECES, DEFAULT_DEVICE);
    libraryOpen = result == KBGM_OK;
    return result;
}

void closeMusic() {
    if (!libraryOpen) return;
    KBGMStop();
    KBGMFree(musicHandle);
    KBGMClose();
    libraryOpen = false;
    musicHandle = 0;
    firstPlayDone = false;
}

bool musicOpen() {
    return libraryOpen;
}

void loadAndPlayMusic(const char* name) {
    if (!libraryOpen || name == nullptr) return;
    std::string path = resolvePath(gameFolder() + name);
    if (KBGMLoadFile(&musicHandle, path.c_str()) != KBGM_OK) return;
    KBGMPlay(musicHandle, firstPlayDone ? 1 : 0);
    firstPlayDone = true;
}

void resetFirstPlay() {
    firstPlayDone = false;
}

void stopAndFreeMusic() {
    if (!libraryOpen) return;
    KBGMStop();
    KBGMFree(musicHandle);
}

void pauseMusic() {
    if (libraryOpen) KBGMPause();
}

void resumeMusic() {
    if (libraryOpen) KBGMResume(musicHandle);
}
