// The sheet table: sixteen 8-bit pictures that hold the sprites, colour index
// 0 being transparent on every one of them.
#pragma once

#include "platform/surface.h"

constexpr int SHEET_COUNT = 16;

// Sheet numbers.
enum Sheet {
    SHEET_PLAYER = 0, // chr.bmp
    SHEET_MAPOBJ = 1, // mapobj.bmp
    SHEET_BEAM = 2,   // beam.bmp
    SHEET_ENEMY = 3,  // enemy.bmp
    SHEET_PLAYER_MIRROR = 4,
    SHEET_ENEMY_MIRROR = 5,
    SHEET_BEAM_MIRROR = 6,
    SHEET_EFFECT = 7, // effect.bmp
    SHEET_ENEMY_UPSIDE_DOWN = 8,
    SHEET_TITLE = 9, // tt.bmp
    SHEET_SNAPSHOT = 10,
};

void createBlankSheet(int sheet, int width, int height);
int loadSheet(int sheet, const char* fileName, int width, int height);
// Loads the picture sheets and creates the blank ones; each of its two
// progress lines goes to log when given (the start-up log).
using StartupLogWriter = void (*)(const char* line);
void loadAllSheets(StartupLogWriter log = nullptr);
Surface* sheetSurface(int sheet); // nullptr when the slot is empty or out of range
void clearSheetTable();
