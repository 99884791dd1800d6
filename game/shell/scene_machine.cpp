#include "shell/scene_machine.h"

#include "platform/blit.h"
#include "platform/display.h"
#include "platform/input.h"
#include "platform/music.h"
#include "platform/platform.h"
#include "platform/sheets.h"
#include "platform/sound.h"
#include "platform/text.h"
#include "shell/frame_clock.h"
#include "shell/scene_table.h"
#include "shell/window_messages.h"

int sceneNumber = SCENE_BOOT;
int returnScene = -1;
uint8_t pauseFlag = 0;
uint8_t escapeAgainFlag = 0;
uint8_t fadeState = FADE_NONE;
uint8_t fadeLevel = 0;
uint32_t fadeStepTime = 0;
int playMode = PLAY_NORMAL;
uint8_t withoutDyingSwitch = 0;
int testPlayStartX = 0;

namespace {

constexpr uint32_t FADE_STEP_MS = 50;

// Handlers that tests put in place of a scene's own; none by default.
SceneHandler replacedHandlers[SCENE_COUNT] = {};

} // namespace

bool confirmPressed() {
    return input.state(BUTTON_A) == STATE_PRESSED || input.state(BUTTON_PAUSE) == STATE_PRESSED;
}

void resetSceneMachine() {
    sceneNumber = SCENE_BOOT;
    returnScene = -1;
    pauseFlag = 0;
    escapeAgainFlag = 0;
    fadeState = FADE_NONE;
    fadeLevel = 0;
    fadeStepTime = 0;
    playMode = PLAY_NORMAL;
    withoutDyingSwitch = 0;
    testPlayStartX = 0;
    for (SceneHandler& handler : replacedHandlers)
        handler = nullptr;
}

void setSceneHandler(int scene, SceneHandler handler) {
    if (scene >= 0 && scene < SCENE_COUNT) replacedHandlers[scene] = handler;
}

SceneHandler sceneHandler(int scene) {
    const SceneRow* row = sceneRow(scene);
    if (!row) return nullptr;
    return replacedHandlers[scene] ? replacedHandlers[scene] : row->handler;
}

void sceneDispatcher() {
    if (SceneHandler handler = sceneHandler(sceneNumber)) handler();
    if (sceneNumber != SCENE_CONFIRMATION && !pauseFlag) advanceGameClock(frameTime * 1000.0);
}

void startFadeIn() {
    fadeLevel = 7;
    fadeStepTime = gameClock();
    fadeState = FADE_IN;
}

void startFadeOut() {
    fadeLevel = 0;
    fadeStepTime = gameClock();
    fadeState = FADE_OUT;
}

bool fadeRunning() {
    return fadeState != FADE_NONE;
}

void drawFade() {
    const uint32_t now = gameClock();
    if (fadeState == FADE_IN && now - fadeStepTime > FADE_STEP_MS) {
        if (fadeLevel == 0) {
            fadeState = FADE_NONE;
        } else {
            --fadeLevel;
            fadeStepTime = now;
        }
    } else if (fadeState == FADE_OUT && now - fadeStepTime > FADE_STEP_MS) {
        if (fadeLevel == 7) {
            fadeState = FADE_NONE;
        } else {
            ++fadeLevel;
            fadeStepTime = now;
        }
    }
    const int left = 32 * fadeLevel;
    for (int column = 0; column < 9; ++column)
        for (int row = 0; row < 8; ++row)
            keyedBlit(32 * column, 32 * row, SHEET_EFFECT, left, 96, left + 32, 128);
}

bool startLeavingOnConfirm(uint8_t& leavingFlag, bool playSound) {
    if (leavingFlag || !confirmPressed()) return false;
    if (playSound) playEffect(SE_YAA);
    leavingFlag = 1;
    startFadeOut();
    return true;
}

bool readyToLeave(uint8_t leavingFlag) {
    return leavingFlag && fadeState == FADE_NONE && effectStatus(SE_YAA) != EFFECT_PLAYING;
}

void finishLeaving(uint8_t& leavingFlag) {
    platform::sleep(500);
    leavingFlag = 0;
}

void escapeRequest() {
    if (fadeState != FADE_NONE || pauseFlag) return;
    if (sceneNumber == SCENE_CONFIRMATION) {
        escapeAgainFlag = 1;
        return;
    }
    returnScene = sceneNumber;
    sceneNumber = SCENE_CONFIRMATION;
    // The picture the player was looking at: the back buffer has already been
    // cleared for the next frame by the present that showed it.
    captureShownPicture(SHEET_SNAPSHOT);
}

void quitOperation() {
    fillBackBuffer(0);
    postWindowMessage(WindowMessage::Close);
}

void plainSceneFrame(uint8_t clearColour) {
    input.update();
    drawFade();
    present(1, clearColour);
}
