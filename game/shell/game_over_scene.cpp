// Game over: CONTINUE restarts the current world, RESET goes to the title.
#include "platform/blit.h"
#include "platform/display.h"
#include "platform/input.h"
#include "platform/sound.h"
#include "platform/text.h"
#include "shell/scene_machine.h"
#include "shell/scenes.h"
#include "shell/stage_flow.h"
#include "world/world.h"

namespace {

enum GameOverItem { ITEM_CONTINUE = 0, ITEM_RESET = 1 };

struct GameOverState {
    int cursor = ITEM_CONTINUE;
    uint8_t leaving = 0;
} gameOver;

void leaveGameOver() {
    finishLeaving(gameOver.leaving);
    if (gameOver.cursor == ITEM_CONTINUE) {
        continueGame();
        sceneNumber = SCENE_GAMEPLAY;
    } else {
        sceneNumber = SCENE_TITLE;
    }
    gameOver.cursor = ITEM_CONTINUE;
    startFadeIn();
}

} // namespace

void resetGameOverScene() {
    gameOver = GameOverState{};
}
int gameOverCursor() {
    return gameOver.cursor;
}

void gameOverScene() {
    input.update();
    spriteText(108, 124, "GAME OVER");
    if (effectStatus(SE_GMOV) != EFFECT_PLAYING) {
        spriteText(108, 200,
                   gameOver.cursor == ITEM_CONTINUE ? "lCONTINUE\n RESET" : " CONTINUE\nlRESET");
        if (!gameOver.leaving) {
            if (input.state(BUTTON_UP) == STATE_PRESSED)
                gameOver.cursor = gameOver.cursor == ITEM_CONTINUE ? ITEM_RESET : ITEM_CONTINUE;
            if (input.state(BUTTON_DOWN) == STATE_PRESSED)
                gameOver.cursor = gameOver.cursor == ITEM_RESET ? ITEM_CONTINUE : ITEM_RESET;
        }
        startLeavingOnConfirm(gameOver.leaving);
        if (readyToLeave(gameOver.leaving)) {
            leaveGameOver();
            return;
        }
    }
    drawFade();
    present(1, CLEAR_BLACK);
}
