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
#include "shell/scenes.h"
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

SceneHandler defaultHandlers[SCENE_COUNT] = {
    bootScene,     gameplayScene,   endingScene,  logoScene,      titleScene,
    gameOverScene, extraStageScene, rankingScene, staffRollScene, confirmationScene,
};
SceneHandler handlers[SCENE_COUNT];

struct ConfirmationState {
    uint8_t entered = 0;
    uint8_t leaving = 0;
    int cursor = 0; // 0 OK, 1 CANCEL
} confirmation;

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
    confirmation = ConfirmationState{};
    for (int i = 0; i < SCENE_COUNT; ++i)
        handlers[i] = defaultHandlers[i];
}

void setSceneHandler(int scene, SceneHandler handler) {
    if (scene >= 0 && scene < SCENE_COUNT) handlers[scene] = handler;
}

SceneHandler sceneHandler(int scene) {
    if (scene < 0 || scene >= SCENE_COUNT) return nullptr;
    if (!handlers[0]) resetSceneMachine();
    return handlers[scene];
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
    screenCaptureBlit(0, 0, SHEET_SNAPSHOT, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
}

void confirmationScene() {
    input.update();
    opaqueBlit(0, 0, SHEET_SNAPSHOT, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
    drawRectangle(64, 96, 224, 160, 0x000000, 0x0000FF, 2);
    spriteText(79, 110, returnScene == SCENE_GAMEPLAY ? "RETURN TO TITLE?" : "EXIT?");
    spriteText(84, 123, confirmation.cursor == 0 ? "lOK" : " OK");
    spriteText(84, 132, confirmation.cursor == 1 ? "lCANCEL" : " CANCEL");

    if (!confirmation.entered) {
        confirmation.entered = 1;
        pauseMusic();
        pauseAllEffects();
    }
    if (!confirmation.leaving && escapeAgainFlag) {
        confirmation.cursor = 1;
        confirmation.leaving = 1;
        escapeAgainFlag = 0;
    }
    if (!confirmation.leaving) {
        if (input.state(BUTTON_UP) == STATE_PRESSED) confirmation.cursor = 0;
        if (input.state(BUTTON_DOWN) == STATE_PRESSED) confirmation.cursor = 1;
    }
    if (!confirmation.leaving && confirmPressed()) {
        confirmation.leaving = 1;
        if (confirmation.cursor == 0) startFadeOut();
    }
    if (confirmation.leaving && fadeState == FADE_NONE) {
        confirmation.leaving = 0;
        confirmation.entered = 0;
        if (confirmation.cursor == 1) {
            confirmation.cursor = 0;
            resumeMusic();
            resumeAllEffects();
            sceneNumber = returnScene;
        } else {
            platform::sleep(500);
            if (returnScene == SCENE_GAMEPLAY) {
                sceneNumber = SCENE_TITLE;
                startFadeIn();
            } else {
                quitOperation();
            }
        }
        return;
    }
    if (confirmation.cursor == 0 && confirmation.leaving) advanceGameClock(frameTime * 1000.0);
    drawFade();
    present(1, CLEAR_BLACK);
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
