#include "platform/palette.h"

#include "platform/file_replace.h"
#include "platform/loaders/bmp_check.h"
#include "platform/loaders/regular_file.h"
#include "platform/paths.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <string>

PaletteEntry workingPalette[256];
PaletteTables paletteTables;

namespace {

struct SavedColour {
    uint8_t red, green, blue;
};

SavedColour savedPalette[256];
PaletteEntry shownPalette[256];

constexpr int NO_INDEX_DISTANCE = 195075; // 3 * 255 * 255
// The table file is ours; anything much larger is not what was written.
constexpr size_t MAX_PALETTE_TABLE_FILE_BYTES = 1 << 20;

int distance(const PaletteEntry& c, int red, int green, int blue) {
    const int dr = int(c.red) - red, dg = int(c.green) - green, db = int(c.blue) - blue;
    return dr * dr + dg * dg + db * db;
}

// Colour of ramp k (1..13) at intensity v (0..255).
void rampColour(int k, int v, int& red, int& green, int& blue) {
    int channel[3] = {0, 0, 0}; // red, green, blue
    auto twoStep = [&](std::initializer_list<int> leading) {
        int others[3] = {1, 1, 1};
        for (int c : leading) {
            channel[c] = v < 128 ? 2 * v : 255;
            others[c] = 0;
        }
        for (int c = 0; c < 3; ++c)
            if (others[c]) channel[c] = v < 128 ? 0 : 2 * v - 256;
    };
    auto threeStep = [&](int first, int second, int third) {
        channel[first] = v > 84 ? 255 : 3 * v;
        channel[second] = v <= 84 ? 0 : (v >= 170 ? 255 : 3 * v - 255);
        channel[third] = v >= 170 ? 3 * v - 510 : 0;
    };
    // clang-format off
    switch (k) {
    case 1:  twoStep({0}); break;
    case 2:  twoStep({1}); break;
    case 3:  twoStep({2}); break;
    case 4:  twoStep({0, 1}); break;
    case 5:  twoStep({0, 2}); break;
    case 6:  twoStep({1, 2}); break;
    case 7:  channel[0] = channel[1] = channel[2] = v; break;
    case 8:  threeStep(0, 1, 2); break;
    case 9:  threeStep(0, 2, 1); break;
    case 10: threeStep(1, 0, 2); break;
    case 11: threeStep(1, 2, 0); break;
    case 12: threeStep(2, 0, 1); break;
    case 13: threeStep(2, 1, 0); break;
    default: break;
    }
    // clang-format on
    red = channel[0];
    green = channel[1];
    blue = channel[2];
}

void completeBlendTable() {
    for (int a = 0; a < 256; ++a) {
        paletteTables.blend[a][a] = uint8_t(a);
        for (int b = a + 1; b < 256; ++b)
            paletteTables.blend[b][a] = paletteTables.blend[a][b];
    }
}

} // namespace

uint8_t nearestPaletteIndex(int red, int green, int blue) {
    int best = NO_INDEX_DISTANCE;
    int index = 0;
    for (int i = 0; i < 256; ++i) {
        const int d = distance(workingPalette[i], red, green, blue);
        if (d < best) {
            best = d;
            index = i;
        }
    }
    return uint8_t(index);
}

uint8_t nearestPaletteIndex(uint32_t colourRef) {
    return nearestPaletteIndex(int(colourRef & 0xFF), int((colourRef >> 8) & 0xFF),
                               int((colourRef >> 16) & 0xFF));
}

void buildPaletteTables() {
    for (int a = 0; a < 255; ++a) {
        for (int b = a + 1; b < 256; ++b) {
            const PaletteEntry& ca = workingPalette[a];
            const PaletteEntry& cb = workingPalette[b];
            paletteTables.blend[a][b] = nearestPaletteIndex(
                (ca.red + cb.red) >> 1, (ca.green + cb.green) >> 1, (ca.blue + cb.blue) >> 1);
        }
    }
    completeBlendTable();
    for (int i = 0; i < 256; ++i) {
        const PaletteEntry& c = workingPalette[i];
        paletteTables.negative[i] = nearestPaletteIndex(255 - c.red, 255 - c.green, 255 - c.blue);
        for (int k = 1; k <= 13; ++k) {
            int r, g, b;
            rampColour(k, i, r, g, b);
            paletteTables.ramp[k][i] = nearestPaletteIndex(r, g, b);
        }
    }
    for (int i = 0; i < 256; ++i) {
        const PaletteEntry& target = workingPalette[i];
        for (int k = 1; k <= 13; ++k) {
            int best = NO_INDEX_DISTANCE;
            uint8_t chosen = 0;
            for (int v = 0; v < 256; ++v) {
                const uint8_t c = paletteTables.ramp[k][v];
                const int d = distance(workingPalette[c], target.red, target.green, target.blue);
                if (d < best) {
                    best = d;
                    chosen = c;
                }
            }
            paletteTables.rampProjection[k][i] = chosen;
        }
    }
}

// Written whole through a temporary file: a full disk or a crash must not
// leave a short file that a later start would take for the tables.
bool writePaletteTableFile(const char* fileName) {
    std::string bytes;
    bytes.reserve(size_t(PALETTE_TABLE_FILE_SIZE));
    for (int a = 0; a < 255; ++a)
        bytes.append(reinterpret_cast<const char*>(&paletteTables.blend[a][a + 1]),
                     size_t(255 - a));
    bytes.append(reinterpret_cast<const char*>(paletteTables.negative), 256);
    for (int k = 1; k <= 13; ++k)
        bytes.append(reinterpret_cast<const char*>(paletteTables.rampProjection[k]), 256);
    for (int k = 1; k <= 13; ++k)
        bytes.append(reinterpret_cast<const char*>(paletteTables.ramp[k]), 256);
    return replaceFileAtomically(resolvePath(fileName), bytes);
}

// A file shorter than the tables would leave them partly undefined, so it
// counts as unreadable and the tables are built afresh. Only a regular file is
// read (a FIFO in its place would keep the start waiting); what follows the
// tables is ignored.
bool readPaletteTableFile(const char* fileName) {
    const std::optional<std::string> file =
        readRegularFile(resolvePath(fileName), MAX_PALETTE_TABLE_FILE_BYTES);
    if (!file || file->size() < size_t(PALETTE_TABLE_FILE_SIZE)) return false;
    const char* next = file->data();
    auto take = [&next](uint8_t* into, size_t count) {
        std::memcpy(into, next, count);
        next += count;
    };
    for (int a = 0; a < 255; ++a)
        take(&paletteTables.blend[a][a + 1], size_t(255 - a));
    take(paletteTables.negative, 256);
    for (int k = 1; k <= 13; ++k)
        take(paletteTables.rampProjection[k], 256);
    for (int k = 1; k <= 13; ++k)
        take(paletteTables.ramp[k], 256);
    completeBlendTable();
    return true;
}

int loadPalette(const char* pictureName, const char* tableFileName) {
    // Only the colour table is read, but a file that is no 8-bit picture with
    // a full table behind a 40-byte header would give a palette of garbage;
    // it is treated like a missing one.
    const std::optional<std::string> picture =
        readRegularFile(resolvePath(pictureName), MAX_PICTURE_FILE_BYTES);
    if (!picture || !bmpHasFullColourTable(*picture)) return 0;
    const auto* bytes = reinterpret_cast<const uint8_t*>(picture->data());
    for (int i = 0; i < 256; ++i) {
        const uint8_t* entry = bytes + 54 + i * 4;
        workingPalette[i] = {entry[2], entry[1], entry[0], entry[3]};
    }
    applyPaletteRange(0, 256);
    if (!readPaletteTableFile(tableFileName)) {
        buildPaletteTables();
        // A folder where the file cannot be written has the tables built at
        // every start instead.
        writePaletteTableFile(tableFileName);
    }
    return 1;
}

int applyPaletteRange(int first, int count) {
    if (count <= 0 || count > 256 || first < 0 || first >= 256) return 0;
    if (first + count > 256) return 0;
    std::memcpy(&shownPalette[first], &workingPalette[first], sizeof(PaletteEntry) * size_t(count));
    return 1;
}

const PaletteEntry* displayPalette() {
    return shownPalette;
}

void showWorkingPalette() {
    std::memcpy(shownPalette, workingPalette, sizeof shownPalette);
}

void savePalette() {
    for (int i = 0; i < 256; ++i)
        savedPalette[i] = {workingPalette[i].red, workingPalette[i].green, workingPalette[i].blue};
}

void restorePalette() {
    for (int i = 0; i < 256; ++i) {
        workingPalette[i].red = savedPalette[i].red;
        workingPalette[i].green = savedPalette[i].green;
        workingPalette[i].blue = savedPalette[i].blue;
    }
}
