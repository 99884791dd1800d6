// The game's sound effects in the order they are loaded; an effect's number
// is its place in this list. Each is the file "se\<name>.wav" of the game
// folder, which the asset builder makes from assets/sounds/<name>.txt.
#pragma once

// clang-format off
enum SoundEffect {
    SE_JUMP = 0,   SE_TROD,       SE_1UP,        SE_BREAK,      SE_COIN,
    SE_JUMPDAI,    SE_UNI,        SE_SPANNER,    SE_SWAPBLK,    SE_SWAPBLK2,
    SE_PAUSE,      SE_KIN,        SE_YAA,        SE_ITE,        SE_MISS,
    SE_REC,        SE_PEKO,       SE_GOAL,       SE_CLEAR,      SE_MC,
    SE_GMOV,       SE_ALLCLEAR,   SE_OUT,        SE_MTOUCH,     SE_TAIHO,
    SE_COUNT
};

inline constexpr const char* SOUND_EFFECT_NAMES[SE_COUNT] = {
    "jump",      "trod",      "1up",       "break",     "coin",
    "jumpdai",   "uni",       "spanner",   "swapblk",   "swapblk2",
    "pause",     "kin",       "yaa",       "ite",       "miss",
    "rec",       "peko",      "goal",      "clear",     "mc",
    "gmov",      "allclear",  "out",       "mtouch",    "taiho",
};
// clang-format on
