// Sound effects: a table of 70 slots, each holding up to 10 copies of one
// recording, played on demand. Every call does nothing (and reports 0) while
// the sound device is not open.
#pragma once

#include "platform/sound_effects.h"

constexpr int EFFECT_SLOTS = 70;
constexpr int EFFECT_PLAYING = 1; // effectStatus result while a copy sounds

int openSound();
void closeSound();
bool soundOpen();

// Loads a WAVE file (name relative to the game folder, "\\" separators allowed).
// Returns the slot number, or 0 on failure (the slot stays free).
int loadEffect(const char* fileName, int copies);
// Loads the game's 25 effects in table order.
void loadGameEffects();
const char* gameEffectFile(int effect);

void playEffect(int effect, int copy = -1);
int effectStatus(int effect, int copy = -1);
void stopEffect(int effect, int copy = -1);
void pauseAllEffects();
void resumeAllEffects();
