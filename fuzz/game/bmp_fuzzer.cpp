// A BMP sheet as the picture loader reads it, mapped to the game palette
// into a sheet as the game's start-up loads chr.bmp.
#include "platform/palette.h"
#include "platform/sheets.h"
#include "support/game_session.h"
#include "support/scratch_folder.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace {

constexpr size_t LARGEST_INPUT = 256 * 1024;

const std::filesystem::path& pictureFile() {
    static const std::filesystem::path file = [] {
        const std::filesystem::path folder = fuzz::freshSubfolder("bmp");
        // The game's palette, so that colours map as they do in the game.
        const std::filesystem::path game = fuzz::scratchGameFolder();
        loadPalette((game / "pal.bmp").c_str(), (folder / "palfile.dat").c_str());
        return folder / "sheet.bmp";
    }();
    return file;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > LARGEST_INPUT) return 0;
    fuzz::writeBytes(pictureFile(), data, size);
    loadSheet(SHEET_PLAYER, pictureFile().c_str(), 256, 256);
    clearSheetTable();
    return 0;
}
