// The ending: the lines appear one every quarter second, then the clear
// message pulses; after the main game it leads to the staff roll.
#include "core/frame_clock.h"
#include "platform/blit.h"
#include "platform/display.h"
#include "platform/input.h"
#include "platform/platform.h"
#include "platform/sound.h"
#include "platform/text.h"
#include "shell/scene_machine.h"
#include "shell/scenes.h"
#include "world/world.h"

namespace {

constexpr uint32_t REVEAL_STEP_MS = 250;
constexpr uint16_t LAST_REVEAL_STEP = 7;
constexpr uint32_t PHASE_COLOURS[4] = {0x7F7F7F, 0xBFBFBF, 0xFFFFFF, 0xBFBFBF};

struct EndingState {
    uint8_t leaving = 0;
    uint32_t stepTime = 0;
    uint16_t revealStep = 0;
    uint16_t colourPhase = 0;
} ending;

void advanceReveal() {
    if (ending.stepTime == 0) ending.stepTime = gameClock();
    if (gameClock() - ending.stepTime > REVEAL_STEP_MS) {
        if (ending.revealStep < LAST_REVEAL_STEP) ++ending.revealStep;
        if (++ending.colourPhase > 3) ending.colourPhase = 0;
        ending.stepTime = gameClock();
    }
}

void drawReveal() {
    if (ending.revealStep >= 1) spriteText(76, 20, "CONGRATULATIONS!!");
    if (ending.revealStep >= 2) spriteText(88, 40, "YOUR SCORE IS:");
    if (ending.revealStep >= 3) spriteText(120, 50, formatText("%.6d", int(world.finalScore)));
    if (ending.revealStep >= 4 && world.mainGameFlag)
        spriteText(112, 60, formatText("(%s)", world.scoreCode));
    if (ending.revealStep >= 5 && world.newHighScoreFlag) spriteText(104, 70, "HI SCORE!!");
    if (ending.revealStep >= 7) {
        beginGdiText(15);
        setTextColours(PHASE_COLOURS[ending.colourPhase & 3], 0x000000, 1);
        textInBox(10, 108, 278, 148, world.endingText.c_str(), ALIGN_CENTRE);
        endGdiText();
    }
}

} // namespace

void resetEndingScene() {
    ending = EndingState{};
}
int endingRevealStep() {
    return ending.revealStep;
}

void endingScene() {
    input.update();
    if (confirmPressed() && effectStatus(SE_ALLCLEAR) != EFFECT_PLAYING && !ending.leaving &&
        ending.revealStep == LAST_REVEAL_STEP) {
        ending.leaving = 1;
        startFadeOut();
    }
    if (ending.leaving && fadeState == FADE_NONE) {
        platform::sleep(500);
        ending = EndingState{};
        sceneNumber = world.mainGameFlag ? SCENE_STAFF_ROLL : SCENE_TITLE;
        startFadeIn();
        return;
    }
    advanceReveal();
    drawReveal();
    drawFade();
    present(1, CLEAR_ENDING);
}
