#include "shell/scene_machine.h"

#include "core/frame_clock.h"
#include "platform/blit.h"
#include "platform/display.h"
#include "platform/input.h"
#include "platform/music.h"
#include "platform/platform.h"
#include "platform/sheets.h"
#include "platform/sound.h"
#include "platform/text.h"
#include "shell/scene_table.h"
#include "shell/window_messages.h"

int sceneNumber = SCENE_BOOT;
int returnScene = -1;
uint8_t pauseFlag = 0;
uint8_t escapeAgainFlag = 0;

bool confirmPressed() {
    return input.state(BUTTON_A) == STATE_PRESSED || input.state(BUTTON_PAUSE) == STATE_PRESSED;
}

void resetSceneMachine() {
    sceneNumber = SCENE_BOOT;
    returnScene = -1;
    pauseFlag = 0;
    escapeAgainFlag = 0;
    resetFades();
    resetPlayState();
}

SceneHandler sceneHandler(int scene) {
    const SceneRow* row = sceneRow(scene);
    if (!row) return nullptr;
    return row->handler;
}

void sceneDispatcher() {
    if (SceneHandler handler = sceneHandler(sceneNumber)) handler();
    if (sceneNumber != SCENE_CONFIRMATION && !pauseFlag) advanceGameClock(frameTime * 1000.0);
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
