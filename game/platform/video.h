// The display, the palette and the sheet table.
//
// The primary is a 640x480 picture of palette indices that the backend shows;
// every scene draws into the back buffer, whose top-left 288x256 pixels are
// the logical screen. Sheets are the sprite pictures, colour index 0 being
// transparent on every one of them.
#pragma once

#include "surface.h"

#include <cstdint>

struct PaletteEntry {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t flags = 0;
};

constexpr int DISPLAY_WIDTH = 640;
constexpr int DISPLAY_HEIGHT = 480;
constexpr int SCREEN_WIDTH = 288; // logical screen
constexpr int SCREEN_HEIGHT = 256;
constexpr int VIEW_X = DISPLAY_WIDTH / 2 - SCREEN_WIDTH / 2;   // 176
constexpr int VIEW_Y = DISPLAY_HEIGHT / 2 - SCREEN_HEIGHT / 2; // 112
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

// Working palette (what the game changes) and the saved copy used by the pause.
extern PaletteEntry workingPalette[256];

// Palette look-up tables, kept in memory after loading the palette.
struct PaletteTables {
    uint8_t blend[256][256];
    uint8_t negative[256];
    uint8_t ramp[14][256];           // rows 1..13 used
    uint8_t rampProjection[14][256]; // rows 1..13 used
};
extern PaletteTables paletteTables;
constexpr long PALETTE_TABLE_FILE_SIZE = 32640 + 3584 + 3328; // 39552

// Scale and full-screen choice for the window, from config.ini's [DISPLAY] section.
void setDisplayOptions(int scale, bool fullscreen);
// Display start; returns 1 on success, 0 when no display can be had.
int startVideo(int width, int height);
void releaseVideo();
bool videoStarted();

// Palette.
int loadPalette(const char* pictureName, const char* tableFileName);
int applyPaletteRange(int first, int count);
void savePalette();
void restorePalette();
// Builds the tables over the working palette (the slow path of loadPalette).
void buildPaletteTables();
bool writePaletteTableFile(const char* fileName);
bool readPaletteTableFile(const char* fileName);
// Index of the working-palette colour nearest to (r, g, b); lowest index wins a tie.
uint8_t nearestPaletteIndex(int red, int green, int blue);
// Same for a GDI colour reference 0x00bbggrr.
uint8_t nearestPaletteIndex(uint32_t colourRef);
// The palette the display shows (what applyPaletteRange last set).
const PaletteEntry* displayPalette();

// Sheets.
void createBlankSheet(int sheet, int width, int height);
int loadSheet(int sheet, const char* fileName, int width, int height);
// Loads the picture sheets and creates the blank ones; each of its two
// progress lines goes to log when given (the start-up log).
using StartupLogWriter = void (*)(const char* line);
void loadAllSheets(StartupLogWriter log = nullptr);
Surface* sheetSurface(int sheet); // nullptr when the slot is empty or out of range
void clearSheetTable();

// Drawing target: the back buffer, or a sheet while mirrored cells are built.
void setDrawingTarget(int sheet);
void resetDrawingTarget();
Surface& drawingTarget();
int drawingTargetSheet(); // -1 for the back buffer

Surface& backBuffer();
Surface& primarySurface();

void restoreAfterReactivation();
