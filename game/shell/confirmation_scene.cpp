// The confirmation dialog over the scene that Escape interrupted: OK leaves
// (to the title from gameplay, else the program), CANCEL goes back.
#include "core/frame_clock.h"
#include "platform/blit.h"
#include "platform/display.h"
#include "platform/input.h"
#include "platform/music.h"
#include "platform/platform.h"
#include "platform/sheets.h"
#include "platform/sound.h"
#include "platform/text.h"
#include "shell/scene_machine.h"
#include "shell/scenes.h"

namespace {

enum ConfirmationItem { ITEM_OK = 0, ITEM_CANCEL = 1 };

struct ConfirmationState {
    uint8_t entered = 0;
    uint8_t leaving = 0;
    int cursor = ITEM_OK;
} confirmation;

} // namespace

void resetConfirmationScene() {
    confirmation = ConfirmationState{};
}

void confirmationScene() {
    input.update();
    opaqueBlit(0, 0, SHEET_SNAPSHOT, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
    drawRectangle(64, 96, 224, 160, 0x000000, 0x0000FF, 2);
    spriteText(79, 110, returnScene == SCENE_GAMEPLAY ? "RETURN TO TITLE?" : "EXIT?");
    spriteText(84, 123, confirmation.cursor == ITEM_OK ? "lOK" : " OK");
    spriteText(84, 132, confirmation.cursor == ITEM_CANCEL ? "lCANCEL" : " CANCEL");

    if (!confirmation.entered) {
        confirmation.entered = 1;
        pauseMusic();
        pauseAllEffects();
    }
    if (!confirmation.leaving && escapeAgainFlag) {
        confirmation.cursor = ITEM_CANCEL;
        confirmation.leaving = 1;
        escapeAgainFlag = 0;
    }
    if (!confirmation.leaving) {
        if (input.state(BUTTON_UP) == STATE_PRESSED) confirmation.cursor = ITEM_OK;
        if (input.state(BUTTON_DOWN) == STATE_PRESSED) confirmation.cursor = ITEM_CANCEL;
    }
    if (!confirmation.leaving && confirmPressed()) {
        confirmation.leaving = 1;
        if (confirmation.cursor == ITEM_OK) startFadeOut();
    }
    if (confirmation.leaving && fadeState == FADE_NONE) {
        confirmation.leaving = 0;
        confirmation.entered = 0;
        if (confirmation.cursor == ITEM_CANCEL) {
            confirmation.cursor = ITEM_OK;
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
    if (confirmation.cursor == ITEM_OK && confirmation.leaving)
        advanceGameClock(frameTime * 1000.0);
    drawFade();
    present(1, CLEAR_BLACK);
}
