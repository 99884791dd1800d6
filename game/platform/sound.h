// Sound effects: a table of 70 slots, each holding up to 10 copies of one
// recording, played on demand. Every call does nothing (and reports 0) while
// the sound device is not open.
#pragma once

enum SoundEffect {
    SE_JUMP = 0,
    SE_TROD,
    SE_1UP,
    SE_BREAK,
    SE_COIN,
    SE_JUMPDAI,
    SE_UNI,
    SE_SPANNER,
    SE_SWAPBLK,
    SE_SWAPBLK2,
    SE_PAUSE,
    SE_KIN,
    SE_YAA,
    SE_ITE,
    SE_MISS,
    SE_REC,
    SE_PEKO,
    SE_GOAL,
    SE_CLEAR,
    SE_MC,
    SE_GMOV,
    SE_ALLCLEAR,
    SE_OUT,
    SE_MTOUCH,
    SE_TAIHO,
    SE_COUNT
};

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
