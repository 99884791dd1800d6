// The gameplay scene: the world, the player and the pools once a pass, the
// HUD, the pause, and the keys and captions of the debug and test modes.
#include "core/fades.h"
#include "core/frame_clock.h"
#include "core/play_state.h"
#include "platform/display.h"
#include "platform/input.h"
#include "platform/music.h"
#include "platform/palette.h"
#include "platform/platform.h"
#include "platform/sound.h"
#include "platform/text.h"
#include "platform/virtual_keys.h"
#include "shell/hud.h"
#include "shell/scene_machine.h"
#include "shell/scenes.h"
#include "shell/stage_flow.h"
#include "world/object_kinds.h"
#include "world/object_touch.h"
#include "world/player.h"
#include "world/world.h"
#include "world/world_frame.h"

namespace {

constexpr uint32_t DEBUG_BLINK_MS = 500;

// The mode captions blink on real time, so they blink on through the pause.
struct DebugBlink {
    bool on = true;
    bool started = false;
    uint32_t toggledAt = 0;
} debugBlink;

void playOneFrame() {
    finishStage(worldFrame());
    drawHud();
}

// Enter reaches the goal at once, as if the player had touched it. Not while
// paused: the cleared flag would then refuse every later press of the pause
// key, and the stage could never go on.
void debugGoalKey() {
    if (pauseFlag || !platform::keyDown(VK_RETURN) || world.clearedFlag) return;
    MapObject goal = makeMapObject(player.x, player.y);
    assignKind(goal, KIND_GOAL);
    touch(goal, CONTACT_HEAD, player, true);
    playEffect(SE_CLEAR);
}

// Q turns the without-dying switch over.
void withoutDyingKey() {
    if (keyEdge(VK_Q) / 10 != 1) return;
    playEffect(SE_MC);
    withoutDyingSwitch = !withoutDyingSwitch;
}

void debugKeys() {
    if (playMode == PLAY_NORMAL) return;
    if (playMode == PLAY_DEBUG) debugGoalKey();
    withoutDyingKey();
}

bool pauseAllowed() {
    return !world.dyingFlag && !world.clearedFlag && !world.entryFlag && player.hurtTime == 0;
}

// The pause halves every palette colour and restores the exact ones after.
void pauseKey() {
    if (!pauseAllowed() || input.state(BUTTON_PAUSE) != STATE_PRESSED) return;
    playEffect(SE_PAUSE);
    pauseFlag = !pauseFlag;
    if (pauseFlag) {
        pauseMusic();
        savePalette();
        for (PaletteEntry& entry : workingPalette) {
            entry.red >>= 1;
            entry.green >>= 1;
            entry.blue >>= 1;
        }
    } else {
        resumeMusic();
        restorePalette();
    }
    applyPaletteRange(0, 256);
}

void debugCaptions() {
    if (playMode == PLAY_NORMAL) return;
    debugText(0, 244, "FPS %d  JumpFlag %d  MISS %d", frameRate, player.airborne,
              int(world.retryCount));
    const uint32_t now = platform::ticks();
    if (!debugBlink.started) {
        debugBlink.started = true;
        debugBlink.toggledAt = now;
    }
    if (now - debugBlink.toggledAt > DEBUG_BLINK_MS) {
        debugBlink.on = !debugBlink.on;
        debugBlink.toggledAt = now;
    }
    if (!debugBlink.on) return;
    spriteText(5, 25, playMode == PLAY_DEBUG ? "hDEBUG MODEh" : "hTEST PLAYh");
    if (withoutDyingSwitch) spriteText(5, 34, "WITHOUT DYING");
}

} // namespace

uint8_t stageClearColour() {
    return world.background != 0 ? CLEAR_BLACK : CLEAR_SKY;
}

void resetGameplayScene() {
    debugBlink = DebugBlink{};
}

void gameplayScene() {
    input.update();
    if (!pauseFlag) playOneFrame();
    // After a game over or the ending was chosen, the keys no longer act on
    // the stage left behind: a pause there would stop the next scene's fade.
    if (sceneNumber == SCENE_GAMEPLAY) {
        debugKeys();
        pauseKey();
    }
    drawFade();
    if (pauseFlag) spriteText(116, 124, "hPAUSEh");
    debugCaptions();
    present(pauseFlag ? 0 : 1, stageClearColour());
}
