#include "support/game_session.h"

#include "platform/display.h"
#include "platform/headless/headless.h"
#include "platform/input.h"
#include "platform/music.h"
#include "platform/paths.h"
#include "platform/sound.h"
#include "replay/replay_runner.h"
#include "replay/stage_start.h"
#include "shell/startup.h"
#include "support/scratch_folder.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <system_error>

namespace fuzz {

namespace {

namespace fs = std::filesystem;

constexpr uint8_t HOLD_RIGHT = 1u << BUTTON_RIGHT;
constexpr uint8_t HOLD_A = 1u << BUTTON_A;
constexpr uint8_t HOLD_B = 1u << BUTTON_B;
constexpr uint8_t HOLD_C = 1u << BUTTON_C;

void copyGameData(const fs::path& from, const fs::path& to) {
    std::error_code error;
    const auto options = fs::copy_options::recursive | fs::copy_options::overwrite_existing;
    for (const auto& entry : fs::directory_iterator(from, error))
        if (entry.path().extension() == ".bmp") fs::copy(entry.path(), to, options, error);
    for (const char* folder : {"se", "bgm", "dat", "stage"})
        fs::copy(from / folder, to / folder, options, error);
    if (!fs::exists(to / "pal.bmp") || !fs::exists(to / "stage")) {
        std::fprintf(stderr, "velta fuzz: no game data in %s (build velta_game_data first)\n",
                     from.c_str());
        std::abort();
    }
}

// Running right all the way, with jumps, a dash and throws between, reaches
// most of what the first screens of a stage hold.
uint8_t buttonsAt(int frame) {
    uint8_t buttons = HOLD_RIGHT;
    const int phase = frame % 48;
    if ((phase >= 6 && phase < 20) || (phase >= 30 && phase < 34)) buttons |= HOLD_B;
    if (phase >= 20 && phase < 30) buttons |= HOLD_C;
    if (frame % 8 == 0) buttons |= HOLD_A;
    return buttons;
}

// The game reads its pictures from the current folder. It is entered for a
// game only: the fuzzer names its inputs and outputs from the folder it was
// started in.
std::optional<InFolder> inGameFolder;

void enterGameFolder(const fs::path& folder) {
    if (!inGameFolder) inGameFolder.emplace(folder.string());
    if (!inGameFolder->changed()) {
        std::perror("velta fuzz: cannot enter the game folder");
        std::abort();
    }
}

int runFrames(int count, uint8_t (*buttons)(int frame)) {
    int played = 0;
    while (played < count) {
        holdButtons(buttons(played));
        if (!framePass()) break;
        ++played;
    }
    holdButtons(0);
    return played;
}

} // namespace

const fs::path& scratchGameFolder() {
    static const fs::path folder = [] {
        const fs::path made = freshSubfolder("game");
        copyGameData(builtGameFolder(), made);
        return made;
    }();
    return folder;
}

void useScratchGameFolderForData() {
    static const bool done = [] {
        setGameFolderFromExecutable((scratchGameFolder() / "velta").string());
        return true;
    }();
    (void)done;
}

bool bootGame(const std::string& commandLine, const std::function<void()>& beforeStart) {
    const fs::path& folder = scratchGameFolder();
    closeGame();
    enterGameFolder(folder);
    headless::resetAll();
    headless::setKeptFrames(1);
    headless::setExecutablePath((folder / "velta").string());
    if (beforeStart) beforeStart();
    if (!startUp(commandLine)) return false;
    // Pictures of the frames are not needed: only the game's own drawing is under test.
    headless::setFrameRecording(false);
    return framePass();
}

bool startNewGameAt(const std::string& stageFile, int stageIndex) {
    const fs::path& folder = scratchGameFolder();
    enterGameFolder(folder);
    const bool started =
        startAtStage(folder.string(), stageFile, stageIndex) != StageStart::GameFailed;
    headless::setFrameRecording(false);
    return started;
}

int playFrames(int count) {
    return runFrames(count, buttonsAt);
}

int idleFrames(int count) {
    return runFrames(count, [](int) { return uint8_t(0); });
}

void closeGame() {
    closeSound();
    closeMusic();
    releaseVideo();
    holdButtons(0);
    inGameFolder.reset();
}

} // namespace fuzz
