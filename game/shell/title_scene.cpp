// The title menu: GAME START, EXTRA STAGE, RANKING, EXIT.
#include "platform/blit.h"
#include "platform/display.h"
#include "platform/input.h"
#include "platform/sheets.h"
#include "platform/text.h"
#include "shell/scene_machine.h"
#include "shell/scenes.h"
#include "shell/stage_flow.h"

#include <string>

namespace {

enum TitleItem { ITEM_GAME_START = 0, ITEM_EXTRA_STAGE, ITEM_RANKING, ITEM_EXIT };

struct TitleState {
    int cursor = ITEM_GAME_START;
    uint8_t leaving = 0;
} title;

void leaveTitle() {
    finishLeaving(title.leaving);
    switch (title.cursor) {
    case ITEM_GAME_START:
        sceneNumber = SCENE_GAMEPLAY;
        startGame("def.vtg");
        startFadeIn();
        break;
    case ITEM_EXTRA_STAGE:
        sceneNumber = SCENE_EXTRA_STAGE;
        startFadeIn();
        break;
    case ITEM_RANKING:
        sceneNumber = SCENE_RANKING;
        startFadeIn();
        break;
    default:
        quitOperation();
        break;
    }
}

} // namespace

void resetTitleScene() {
    title = TitleState{};
}

int titleCursor() {
    return title.cursor;
}

void titleScene() {
    input.update();
    if (!title.leaving) {
        if (input.state(BUTTON_UP) == STATE_PRESSED && title.cursor > ITEM_GAME_START)
            --title.cursor;
        if (input.state(BUTTON_DOWN) == STATE_PRESSED && title.cursor < ITEM_EXIT) ++title.cursor;
    }
    startLeavingOnConfirm(title.leaving);
    if (readyToLeave(title.leaving)) {
        leaveTitle();
        return;
    }
    keyedBlit(16, 0, SHEET_TITLE, 0, 0, 256, 96);
    keyedBlit(16, 100, SHEET_TITLE, 0, 96, 64, 224);
    keyedBlit(194, 130, SHEET_TITLE, 64, 96, 128, 160);
    static const char* const items[] = {" GAME START\n", " EXTRA STAGE\n", " RANKING\n", " EXIT\n"};
    std::string menu;
    for (int i = 0; i < 4; ++i)
        menu += (i == title.cursor ? "l" : " ") + std::string(items[i]);
    spriteText(100, 200, menu.c_str());
    drawFade();
    present(1, CLEAR_SKY);
}
