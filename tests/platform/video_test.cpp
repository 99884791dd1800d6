// Palette, palette tables and sheets.
#include "platform/display.h"
#include "platform/palette.h"
#include "platform/sheets.h"
#include "support/fixture_files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

void setWorkingPalette(const std::vector<Rgb>& colours) {
    for (int i = 0; i < 256; ++i)
        workingPalette[i] = {colours[size_t(i)].red, colours[size_t(i)].green,
                             colours[size_t(i)].blue, 0};
}

class PaletteFiles : public testing::Test {
  protected:
    void SetUp() override {
        folder = makeTempFolder("palette");
        writeIndexedBmp(folder / "pal.bmp", 4, 4, testPalette(), std::vector<uint8_t>(16, 1));
    }
    fs::path folder;
};

} // namespace

TEST_F(PaletteFiles, FirstLoadWritesTheTableFileAndLaterLoadsReadIt) {
    CurrentFolder here(folder);
    ASSERT_EQ(loadPalette("pal.bmp", "palfile.dat"), 1);
    ASSERT_TRUE(fs::exists(folder / "palfile.dat"));
    EXPECT_EQ(fs::file_size(folder / "palfile.dat"), uintmax_t(PALETTE_TABLE_FILE_SIZE));
    EXPECT_EQ(workingPalette[255].red, 255);
    EXPECT_EQ(workingPalette[253].blue, 0x80);

    // Change one stored entry of the blend table ([0][1] is the first byte): a
    // later load must take the file as it is rather than build the tables again.
    std::string bytes = readTextFile(folder / "palfile.dat");
    const uint8_t built = uint8_t(bytes[0]);
    bytes[0] = char(built ^ 0x5A);
    writeTextFile(folder / "palfile.dat", bytes);
    ASSERT_EQ(loadPalette("pal.bmp", "palfile.dat"), 1);
    EXPECT_EQ(paletteTables.blend[0][1], uint8_t(built ^ 0x5A));
    EXPECT_EQ(paletteTables.blend[1][0], uint8_t(built ^ 0x5A));
}

TEST_F(PaletteFiles, ReadBackGivesTheTablesThatWereBuilt) {
    CurrentFolder here(folder);
    ASSERT_EQ(loadPalette("pal.bmp", "palfile.dat"), 1);
    PaletteTables built;
    std::memcpy(&built, &paletteTables, sizeof built);
    std::memset(&paletteTables, 0, sizeof paletteTables);
    ASSERT_TRUE(readPaletteTableFile("palfile.dat"));
    EXPECT_EQ(std::memcmp(built.blend, paletteTables.blend, sizeof built.blend), 0);
    EXPECT_EQ(std::memcmp(built.negative, paletteTables.negative, sizeof built.negative), 0);
    for (int k = 1; k <= 13; ++k) {
        EXPECT_EQ(std::memcmp(built.ramp[k], paletteTables.ramp[k], 256), 0) << k;
        EXPECT_EQ(std::memcmp(built.rampProjection[k], paletteTables.rampProjection[k], 256), 0)
            << k;
    }
}

TEST_F(PaletteFiles, ShortTableFileIsBuiltAgain) {
    CurrentFolder here(folder);
    writeTextFile(folder / "palfile.dat", std::string(1000, '\x07'));
    ASSERT_EQ(loadPalette("pal.bmp", "palfile.dat"), 1);
    EXPECT_EQ(paletteTables.blend[5][5], 5);
    EXPECT_EQ(fs::file_size(folder / "palfile.dat"), uintmax_t(PALETTE_TABLE_FILE_SIZE));
}

TEST_F(PaletteFiles, MissingOrTruncatedPictureLeavesThePaletteAlone) {
    CurrentFolder here(folder);
    for (auto& entry : workingPalette)
        entry = PaletteEntry{};
    EXPECT_EQ(loadPalette("missing.bmp", "palfile.dat"), 0);
    writeTextFile(folder / "short.bmp", std::string(300, 'x'));
    EXPECT_EQ(loadPalette("short.bmp", "palfile.dat"), 0);
    EXPECT_EQ(workingPalette[255].red, 0);
    EXPECT_FALSE(fs::exists(folder / "palfile.dat"));
}

TEST(PaletteTables, BlendIsSymmetricWithIdentityDiagonal) {
    setWorkingPalette(testPalette());
    buildPaletteTables();
    for (int a = 0; a < 256; ++a) {
        EXPECT_EQ(paletteTables.blend[a][a], a);
        for (int b = 0; b < 256; ++b)
            ASSERT_EQ(paletteTables.blend[a][b], paletteTables.blend[b][a]);
    }
    EXPECT_EQ(paletteTables.blend[0][0], 0);
    // Black and white blend to the grey of the palette nearest (127, 127, 127).
    EXPECT_EQ(paletteTables.blend[0][255], 250);
    // The grey ramp at full intensity is white, its projection of white is white.
    EXPECT_EQ(paletteTables.ramp[7][255], 255);
    EXPECT_EQ(paletteTables.rampProjection[7][255], 255);
    EXPECT_EQ(paletteTables.negative[255], 0);
}

TEST(PaletteTables, LowerIndexWinsATie) {
    std::vector<Rgb> colours = testPalette();
    colours[40] = {10, 200, 30};
    colours[90] = {10, 200, 30};
    setWorkingPalette(colours);
    EXPECT_EQ(nearestPaletteIndex(10, 200, 30), 40);
    EXPECT_EQ(nearestPaletteIndex(12, 198, 31), 40);
    // GDI colour references are 0x00bbggrr.
    EXPECT_EQ(nearestPaletteIndex(uint32_t(0x0000FF)), 252);
    EXPECT_EQ(nearestPaletteIndex(uint32_t(0x800000)), 253);
}

TEST(PaletteRange, AppliesOnlyValidRanges) {
    struct Case {
        int first, count, result;
        bool changesEntry0, changesEntry255;
    };
    // clang-format off
    const Case cases[] = {
        {0, 256, 1, true, true}, {200, 100, 0, false, false}, {0, 0, 0, false, false},
        {-1, 10, 0, false, false}, {0, 257, 0, false, false}, {255, 1, 1, false, true},
        {256, 1, 0, false, false},
    };
    // clang-format on
    for (const Case& c : cases) {
        for (int i = 0; i < 256; ++i)
            workingPalette[i] = {0, 0, 0, 0};
        applyPaletteRange(0, 256);
        for (int i = 0; i < 256; ++i)
            workingPalette[i] = {9, 9, 9, 0};
        EXPECT_EQ(applyPaletteRange(c.first, c.count), c.result) << c.first << "," << c.count;
        EXPECT_EQ(displayPalette()[0].red == 9, c.changesEntry0) << c.first << "," << c.count;
        EXPECT_EQ(displayPalette()[255].red == 9, c.changesEntry255) << c.first << "," << c.count;
    }
}

TEST(PaletteSave, RestoreGivesBackColoursButKeepsFlags) {
    for (int i = 0; i < 256; ++i)
        workingPalette[i] = {uint8_t(i), 100, 201, 7};
    savePalette();
    for (auto& entry : workingPalette) {
        entry.red >>= 1;
        entry.green >>= 1;
        entry.blue >>= 1;
        entry.flags = 3;
    }
    restorePalette();
    EXPECT_EQ(workingPalette[77].red, 77);
    EXPECT_EQ(workingPalette[77].green, 100);
    EXPECT_EQ(workingPalette[77].blue, 201);
    EXPECT_EQ(workingPalette[77].flags, 3);
}

TEST(Sheets, PicturesMapToTheNearestPaletteEntry) {
    const fs::path folder = makeTempFolder("sheets");
    CurrentFolder here(folder);
    setWorkingPalette(testPalette());
    // A picture with its own colour order: its index 1 is white, 2 is pure red.
    std::vector<Rgb> own(256, Rgb{0, 0, 0});
    own[1] = {255, 255, 255};
    own[2] = {250, 3, 2};
    std::vector<uint8_t> pixels(8 * 4, 0);
    pixels[0] = 1;
    pixels[9] = 2;
    writeIndexedBmp(folder / "Pic.bmp", 8, 4, own, pixels);
    ASSERT_EQ(loadSheet(SHEET_MAPOBJ, "pic.bmp", 16, 16), 1); // found ignoring letter case
    Surface* sheet = sheetSurface(SHEET_MAPOBJ);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->width, 16);
    EXPECT_EQ(sheet->at(0, 0), 255);
    EXPECT_EQ(sheet->at(1, 1), 252);
    EXPECT_EQ(sheet->at(2, 0), 0);
    EXPECT_EQ(sheet->at(12, 12), 0); // outside the picture: blank
}

TEST(Sheets, MissingOrBrokenPictureLeavesABlankSheet) {
    const fs::path folder = makeTempFolder("broken-sheets");
    CurrentFolder here(folder);
    writeTextFile(folder / "broken.bmp", "BM this is not a picture at all");
    std::string truncated(2000, '\0');
    truncated[0] = 'B';
    truncated[1] = 'M';
    writeTextFile(folder / "truncated.bmp", truncated);
    for (const char* name : {"missing.bmp", "broken.bmp", "truncated.bmp"}) {
        EXPECT_EQ(loadSheet(SHEET_ENEMY, name, 128, 128), 0) << name;
        Surface* sheet = sheetSurface(SHEET_ENEMY);
        ASSERT_NE(sheet, nullptr) << name;
        EXPECT_EQ(sheet->width, 128);
        EXPECT_EQ(std::count(sheet->pixels.begin(), sheet->pixels.end(), 0), 128 * 128);
    }
}

TEST(Sheets, LoadAllSheetsMakesEverySlotAndLogsTwoLines) {
    const fs::path folder = makeTempFolder("all-sheets");
    CurrentFolder here(folder);
    static std::vector<std::string> lines;
    lines.clear();
    loadAllSheets([](const char* line) { lines.push_back(line); });
    const struct {
        int sheet, width, height;
    } expected[] = {{0, 256, 256}, {1, 256, 256}, {2, 64, 64},   {3, 128, 128},
                    {4, 256, 256}, {5, 256, 256}, {6, 256, 256}, {7, 256, 256},
                    {8, 256, 256}, {9, 256, 256}, {10, 288, 256}};
    for (const auto& e : expected) {
        Surface* sheet = sheetSurface(e.sheet);
        ASSERT_NE(sheet, nullptr) << e.sheet;
        EXPECT_EQ(sheet->width, e.width) << e.sheet;
        EXPECT_EQ(sheet->height, e.height) << e.sheet;
    }
    for (int unused = 11; unused < SHEET_COUNT; ++unused)
        EXPECT_EQ(sheetSurface(unused), nullptr);
    EXPECT_EQ(lines, (std::vector<std::string>{"BITMAP LOADED.", "MIRROR SURFACE CREATED."}));
}
