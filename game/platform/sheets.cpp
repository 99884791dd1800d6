#include "platform/sheets.h"

#include "platform/loaders/picture_loader.h"
#include "platform/palette.h"
#include "platform/paths.h"

#include <algorithm>
#include <array>
#include <memory>
#include <unordered_map>

namespace {

std::array<std::unique_ptr<Surface>, SHEET_COUNT> sheets;

} // namespace

void clearSheetTable() {
    for (auto& sheet : sheets)
        sheet.reset();
}

void createBlankSheet(int sheet, int width, int height) {
    if (sheet < 0 || sheet >= SHEET_COUNT || width <= 0 || height <= 0) return;
    sheets[size_t(sheet)] = std::make_unique<Surface>(width, height);
}

int loadSheet(int sheet, const char* fileName, int width, int height) {
    createBlankSheet(sheet, width, height);
    Surface* surface = sheetSurface(sheet);
    if (!surface) return 0;
    RgbPicture picture;
    if (!loadRgbPicture(resolvePath(fileName), picture)) return 0;
    // Every pixel becomes the nearest palette entry; pictures use few colours.
    std::unordered_map<uint32_t, uint8_t> nearest;
    const int w = std::min(width, picture.width);
    const int h = std::min(height, picture.height);
    for (int y = 0; y < h; ++y) {
        uint8_t* row = surface->row(y);
        for (int x = 0; x < w; ++x) {
            const uint32_t rgb = picture.pixels[size_t(y) * size_t(picture.width) + size_t(x)];
            auto it = nearest.find(rgb);
            if (it == nearest.end())
                it = nearest
                         .emplace(rgb, nearestPaletteIndex(int(rgb >> 16), int((rgb >> 8) & 0xFF),
                                                           int(rgb & 0xFF)))
                         .first;
            row[x] = it->second;
        }
    }
    return 1;
}

void loadAllSheets(StartupLogWriter log) {
    loadSheet(SHEET_PLAYER, "chr.bmp", 256, 256);
    loadSheet(SHEET_MAPOBJ, "mapobj.bmp", 256, 256);
    loadSheet(SHEET_BEAM, "beam.bmp", 64, 64);
    loadSheet(SHEET_ENEMY, "enemy.bmp", 128, 128);
    loadSheet(SHEET_EFFECT, "effect.bmp", 256, 256);
    loadSheet(SHEET_TITLE, "tt.bmp", 256, 256);
    if (log) log("BITMAP LOADED.");
    createBlankSheet(SHEET_PLAYER_MIRROR, 256, 256);
    createBlankSheet(SHEET_ENEMY_MIRROR, 256, 256);
    createBlankSheet(SHEET_ENEMY_UPSIDE_DOWN, 256, 256);
    createBlankSheet(SHEET_BEAM_MIRROR, 256, 256);
    createBlankSheet(SHEET_SNAPSHOT, 288, 256);
    if (log) log("MIRROR SURFACE CREATED.");
}

Surface* sheetSurface(int sheet) {
    if (sheet < 0 || sheet >= SHEET_COUNT) return nullptr;
    return sheets[size_t(sheet)].get();
}
