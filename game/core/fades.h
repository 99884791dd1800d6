// The screen fades that every scene change uses: eight steps of the dark
// tiles of sheet 7 over the logical screen, one every 50 ms of game clock.
#pragma once

#include <cstdint>

enum FadeState : uint8_t { FADE_NONE = 0, FADE_IN = 1, FADE_OUT = 2 };

extern uint8_t fadeState;
extern uint8_t fadeLevel; // 0 clear .. 7 dark
extern uint32_t fadeStepTime;

void resetFades();
void startFadeIn();
void startFadeOut();
bool fadeRunning();
// Steps the running fade and draws the overlay; once per pass, before the present.
void drawFade();
