// The game palette: the working palette the game changes, the palette the
// display shows, the copy the pause keeps, and the look-up tables built over
// the working palette.
#pragma once

#include "platform/platform.h"

#include <cstdint>

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

// 1, or 0 (the palette as it was) when the picture is missing or is no 8-bit
// BMP with a full colour table behind a 40-byte information header.
int loadPalette(const char* pictureName, const char* tableFileName);
int applyPaletteRange(int first, int count);
void savePalette();
void restorePalette();
// Builds the tables over the working palette (the slow path of loadPalette).
void buildPaletteTables();
// Replaces the file whole, or leaves it as it was (false).
bool writePaletteTableFile(const char* fileName);
bool readPaletteTableFile(const char* fileName);
// Index of the working-palette colour nearest to (r, g, b); lowest index wins a tie.
uint8_t nearestPaletteIndex(int red, int green, int blue);
// Same for a GDI colour reference 0x00bbggrr.
uint8_t nearestPaletteIndex(uint32_t colourRef);
// The palette the display shows (what applyPaletteRange last set).
const PaletteEntry* displayPalette();
// The display shows the working palette as it stands (when the display starts).
void showWorkingPalette();
