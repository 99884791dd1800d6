#include "platform/music.h"

#include "platform/music_library.h"
#include "platform/paths.h"

#include <optional>
#include <string>
#include <string_view>

namespace {

bool libraryOpen = false;
KBGMHandle musicHandle = 0;
// Set once a piece has been started; the next piece is then told that an
// earlier one may still be sounding (see KBGMPlay).
bool firstPlayDone = false;

constexpr int LIBRARY_PIECES = 10;
constexpr int DEFAULT_DEVICE = -1;
constexpr const char* MUSIC_FOLDER = "bgm";

bool hasParentComponent(std::string_view name) {
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of("/\\", start);
        if (end == std::string_view::npos) end = name.size();
        if (name.substr(start, end - start) == "..") return true;
        start = end + 1;
    }
    return false;
}

// A stage's music line can name any file; only regular files inside the bgm
// folder are played, since a device or a FIFO would hold up the loading for
// ever and nothing outside the folder is a tune of the game.
std::optional<std::string> musicFilePath(const char* name) {
    if (hasParentComponent(name)) return std::nullopt;
    std::string path = resolvePath(gameFolder() + name);
    if (!regularFileWithin(path, gameFolder() + MUSIC_FOLDER)) return std::nullopt;
    return path;
}

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
    const std::optional<std::string> path = musicFilePath(name);
    if (!path || KBGMLoadFile(&musicHandle, path->c_str()) != KBGM_OK) return;
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
