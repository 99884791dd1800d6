#include "support/world_play.h"

#include "core/fades.h"
#include "core/frame_clock.h"
#include "core/play_state.h"
#include "platform/display.h"
#include "platform/input.h"
#include "platform/palette.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "platform/sheets.h"
#include "platform/sound.h"
#include "stage/stage_loader.h"
#include "world/world.h"
#include "world/world_frame.h"

#include <gtest/gtest.h>

namespace {

// The keyboard's buttons as a game without settings has them.
void keyboardButtons() {
    input.reset();
    input.enterDefaultButtons();
    EXPECT_TRUE(input.readSettings(gameFolder() + "config.ini"))
        << "the keyboard, without settings";
}

} // namespace

WorldPlay::WorldPlay(const std::string& name, const TestStageFile& file, int stageIndex)
    : game(name) {
    game.useGameData();
    writeStageFile(game.folder() / "stage" / "test.vtg", file);
    setGameFolderFromExecutable(platform::executablePath());
    setAllKeyEdgeLatches();
    clearSheetTable();
    resetFades();
    resetPlayState();
    EXPECT_TRUE(startVideo(DISPLAY_WIDTH, DISPLAY_HEIGHT));
    EXPECT_TRUE(loadPalette("pal.bmp", "palfile.dat"));
    loadAllSheets();
    openSound();
    loadGameEffects();
    resetFrameClock(platform::ticks());
    playerStartupBuild();
    keyboardButtons();
    newGameReset();
    loaded_ = loadStage("test.vtg", stageIndex);
    EXPECT_TRUE(loaded_) << "stage " << stageIndex << " of the test map";
    startFadeIn();
}

// The frame of play as the gameplay scene runs it, without the HUD and the
// stage flow: the world, the fade, the present, then the clocks.
void WorldPlay::frame() {
    const uint32_t passStart = platform::ticks();
    input.update();
    lastEnd = worldFrame();
    drawFade();
    present(1, 0);
    advanceGameClock(frameTime * 1000.0);
    measurePass(passStart);
}

bool WorldPlay::frames(int count, uint8_t buttons) {
    holdButtons(buttons);
    for (int i = 0; i < count && loaded_; ++i)
        frame();
    holdButtons(0);
    return loaded_;
}

bool WorldPlay::until(const std::function<bool()>& done, int limit, uint8_t buttons) {
    holdButtons(buttons);
    for (int i = 0; i < limit && loaded_ && !done(); ++i)
        frame();
    holdButtons(0);
    return loaded_ && done();
}

bool WorldPlay::settle() {
    return until([] { return !world.entryFlag && !fadeRunning(); });
}
