#include "core/fades.h"

#include "core/frame_clock.h"
#include "platform/blit.h"
#include "platform/sheets.h"

uint8_t fadeState = FADE_NONE;
uint8_t fadeLevel = 0;
uint32_t fadeStepTime = 0;

namespace {

constexpr uint32_t FADE_STEP_MS = 50;

} // namespace

void resetFades() {
    fadeState = FADE_NONE;
    fadeLevel = 0;
    fadeStepTime = 0;
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
