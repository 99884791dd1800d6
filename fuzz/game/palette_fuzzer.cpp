// The palette picture (pal.bmp) and the palette tables (palfile.dat) as the
// game loads them at start-up. An input that starts like a BMP is the
// picture, read with the game's own tables file; any other input is the
// tables file, read with the game's own picture.
#include "platform/palette.h"
#include "support/game_session.h"
#include "support/scratch_folder.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr size_t LARGEST_INPUT = 64 * 1024;

struct Files {
    fs::path picture;
    fs::path tables;
    std::string gamePicture;
    std::string gameTables;
};

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const Files& files() {
    static const Files made = [] {
        const fs::path folder = fuzz::freshSubfolder("palette");
        Files f{folder / "pal.bmp", folder / "palfile.dat", {}, {}};
        f.gamePicture = bytesOf(fuzz::scratchGameFolder() / "pal.bmp");
        fuzz::writeBytes(f.picture, f.gamePicture);
        // The game's own tables, built as the game's first start builds them.
        loadPalette(f.picture.c_str(), f.tables.c_str());
        f.gameTables = bytesOf(f.tables);
        return f;
    }();
    return made;
}

// What an input leaves behind must not reach the next one: a picture that
// fails to load keeps the palette as it was.
void forgetPalette() {
    std::fill(std::begin(workingPalette), std::end(workingPalette), PaletteEntry{});
    std::memset(&paletteTables, 0, sizeof paletteTables);
    showWorkingPalette();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > LARGEST_INPUT) return 0;
    const Files& f = files();
    const std::string_view input = fuzz::asText(data, size);
    if (input.starts_with("BM")) {
        fuzz::writeBytes(f.picture, input);
        fuzz::writeBytes(f.tables, f.gameTables);
    } else {
        fuzz::writeBytes(f.picture, f.gamePicture);
        // A short tables file makes the game build the tables afresh from the
        // palette: the same slow work for every input, so it is padded here.
        std::string tables(input);
        if (tables.size() < size_t(PALETTE_TABLE_FILE_SIZE))
            tables.resize(size_t(PALETTE_TABLE_FILE_SIZE), '\0');
        fuzz::writeBytes(f.tables, tables);
    }
    forgetPalette();
    if (loadPalette(f.picture.c_str(), f.tables.c_str())) {
        savePalette();
        applyPaletteRange(0, 256);
        restorePalette();
        for (int i = 0; i < 256; ++i)
            nearestPaletteIndex(uint32_t(i * 0x010307));
    }
    forgetPalette();
    return 0;
}
