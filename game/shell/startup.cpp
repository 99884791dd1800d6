#include "shell/startup.h"

#include "core/frame_clock.h"
#include "platform/blit.h"
#include "platform/display.h"
#include "platform/game_folders.h"
#include "platform/input.h"
#include "platform/music.h"
#include "platform/palette.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "platform/profile.h"
#include "platform/sheets.h"
#include "platform/sound.h"
#include "platform/text.h"
#include "shell/ranking.h"
#include "shell/scene_machine.h"
#include "shell/scene_table.h"
#include "shell/scenes.h"
#include "shell/window.h"

namespace {

constexpr const char* PALETTE_PICTURE = "pal.bmp";
constexpr const char* WINDOW_ICON = "icon.bmp";
constexpr const char* PALETTE_FAILURE_TEXT = "Can't load the palette picture pal.bmp";

// The window's options: never written by the game, so a player's choice stays.
void readDisplayOptions() {
    const ProfileText settings(settingsFilePath());
    const int scale = settings.readInt("DISPLAY", "SCALE", 0);
    platform::DisplayOptions options;
    options.scale = scale > 0 && scale <= 16 ? scale : 0;
    options.fullscreen = settings.readInt("DISPLAY", "FULLSCREEN", 0) != 0;
    options.border = settings.readInt("DISPLAY", "BORDER", 0) != 0;
    options.vsync = settings.readInt("DISPLAY", "VSYNC", 1) != 0;
    setDisplayOptions(options);
}

void loadingScreen() {
    beginGdiText(24);
    setTextColours(0xFFFFFF, 0x000000, 1);
    textInBox(0, 0, 320, 240, "NOW LOADING...", ALIGN_CENTRE);
    endGdiText();
    present(0, 0);
}

} // namespace

bool startUp(const std::string& line) {
    setCommandLine(line);
    useGameFolders(chooseGameFolders(platform::executablePath(), userBaseFoldersFromEnvironment()));
    prepareGameFolders();
    setAllKeyEdgeLatches();
    clearSheetTable();
    resetSceneMachine();
    resetAllScenes();
    resetWindow();
    readDisplayOptions();
    loadWindowIcon(WINDOW_ICON);
    if (!startVideo(DISPLAY_WIDTH, DISPLAY_HEIGHT)) {
        platform::messageBox("Can't create DirectDraw Object", "error",
                             platform::MessageIcon::None);
        return false;
    }
    onWindowCreate();
    // Without its palette every picture of the game is black: the player is
    // told why, as for a display that cannot start, instead of a dark window.
    if (!loadPalette(PALETTE_PICTURE, currentGameFolders().paletteTableFile.c_str())) {
        platform::messageBox(PALETTE_FAILURE_TEXT, "error", platform::MessageIcon::None);
        releaseVideo();
        return false;
    }
    allocateFontDescription();
    loadingScreen();
    platform::sleep(1000);
    loadAllSheets(appendStartupLog);
    appendStartupLog("SPRITES READY.");
    openSound();
    appendStartupLog("DIRECTSOUND READY.");
    openMusic();
    appendStartupLog("KBGM READY.");
    appendStartupLog("INPUT DEVICE READY.");
    loadGameEffects();
    appendStartupLog("SOUNDS LOADED.");
    platform::sleep(500);
    appendStartupLog("");
    appendStartupLog("WELCOME TO\nTARVELON");
    platform::sleep(500);
    resetFrameClock(platform::ticks());
    return true;
}

bool framePass() {
    const uint32_t passStart = platform::ticks();
    sceneDispatcher();
    measurePass(passStart);
    return drainMessages();
}

int runGame(const std::string& line) {
    if (!startUp(line)) return 0;
    while (framePass()) {
    }
    return 1;
}
