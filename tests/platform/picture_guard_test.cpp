// Pictures whose headers promise more than their files hold: the picture
// loader handed any header to SDL, which allocated what it promised (6.3 GB
// for a 54-byte file). A sheet refused stays blank, as for a missing picture;
// a palette picture refused leaves the palette as it was.
#include "platform/child_process.h"
#include "platform/headless/picture_file.h"
#include "platform/palette.h"
#include "platform/sheets.h"

#include "support/fixture_files.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path FIXTURES = fs::path(VELTA_SOURCE_DIR) / "tests" / "platform" / "fixtures";

void setPaletteTo(const std::vector<Rgb>& colours) {
    for (int i = 0; i < 256; ++i)
        workingPalette[i] = {colours[size_t(i)].red, colours[size_t(i)].green,
                             colours[size_t(i)].blue, 0};
}

bool sheetBlank(int sheet) {
    const Surface* surface = sheetSurface(sheet);
    return surface != nullptr && std::all_of(surface->pixels.begin(), surface->pixels.end(),
                                             [](uint8_t p) { return p == 0; });
}

// An 8-bit picture of the test palette, every pixel index 7, with one field
// of its headers changed when asked.
std::string indexedPicture(const fs::path& folder, int width, int height) {
    const fs::path file = folder / "made.bmp";
    writeIndexedBmp(file, width, height, testPalette(),
                    std::vector<uint8_t>(size_t(width) * size_t(height), 7));
    return readTextFile(file);
}

std::string withField(std::string bytes, size_t offset, uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes[offset + size_t(i)] = char((value >> (8 * i)) & 0xFF);
    return bytes;
}

// Offsets in the headers.
constexpr size_t PIXEL_OFFSET = 10, HEADER_SIZE = 14, WIDTH = 18, HEIGHT = 22, PLANES = 26,
                 DEPTH = 28, COMPRESSION = 30, COLOURS_USED = 46;

class PictureGuard : public testing::Test {
  protected:
    void SetUp() override {
        folder = makeTempFolder("picture-guard");
        here = std::make_unique<CurrentFolder>(folder);
        setPaletteTo(testPalette());
    }
    void TearDown() override {
        here.reset();
        fs::remove_all(folder);
    }
    fs::path folder;
    std::unique_ptr<CurrentFolder> here;
};

TEST_F(PictureGuard, HeadersThatPromiseTooMuchLeaveTheSheetBlank) {
    // Each in a child: before, the first took 6.3 GB, the others asked for
    // 2^48 and 17 GB.
    for (const char* name :
         {"bmp_40000x40000_header.bmp", "bmp-crash-f6ad493207ef", "bmp-oom-a3a8e9c7f61aa1"}) {
        fs::copy_file(FIXTURES / name, folder / name);
        const ChildEnd end = runInChild(std::chrono::seconds(60), [&] {
            const int loaded = loadSheet(SHEET_PLAYER, name, 256, 256);
            rusage usage{};
            getrusage(RUSAGE_SELF, &usage);
            const long peakMegabytes = usage.ru_maxrss / 1024;
            if (loaded != 0 || !sheetBlank(SHEET_PLAYER) || peakMegabytes > 1024) {
                std::fprintf(stderr, "%s: loaded %d, peak %ld MB\n", name, loaded, peakMegabytes);
                return false;
            }
            return true;
        });
        EXPECT_EQ(end, ChildEnd::Passed) << name;
    }
}

TEST_F(PictureGuard, OnlyPicturesThatFitTheirFileAreLoaded) {
    const std::string picture = indexedPicture(folder, 16, 16);
    ASSERT_TRUE(writePicture((folder / "rgb.bmp").string(), 2, 2, std::vector<uint8_t>(12, 0x80)));
    // clang-format off
    const struct {
        const char* what;
        std::string bytes;
        int loaded;
    } cases[] = {
        {"an 8-bit picture",              picture,                                         1},
        {"rows from the top down",        withField(picture, HEIGHT, uint32_t(-16), 4),     1},
        {"a 24-bit picture",              readTextFile(folder / "rgb.bmp"),                1},
        {"wider than any sheet",          indexedPicture(folder, 4097, 1),                 0},
        {"pixel data cut short",          picture.substr(0, picture.size() - 10),          0},
        {"an unknown header size",        withField(picture, HEADER_SIZE, 2621440, 4),     0},
        {"more colours than 8 bits hold", withField(picture, COLOURS_USED, 300, 4),        0},
        {"a bit depth of 7",              withField(picture, DEPTH, 7, 2),                 0},
        {"no planes",                     withField(picture, PLANES, 0, 2),                0},
        {"width 0",                       withField(picture, WIDTH, 0, 4),                 0},
        {"runs starting past the end",    withField(withField(picture, COMPRESSION, 1, 4),
                                                    PIXEL_OFFSET, 1 << 20, 4),             0},
        {"pixels inside the headers",     withField(picture, PIXEL_OFFSET, 20, 4),         0},
        {"runs for a 24-bit picture",     withField(withField(picture, COMPRESSION, 1, 4),
                                                    DEPTH, 24, 2),                         0},
        {"empty",                         "",                                              0},
    };
    // clang-format on
    for (const auto& c : cases) {
        writeTextFile(folder / "sheet.bmp", c.bytes);
        EXPECT_EQ(loadSheet(SHEET_PLAYER, "sheet.bmp", 256, 256), c.loaded) << c.what;
        EXPECT_EQ(sheetBlank(SHEET_PLAYER), c.loaded == 0) << c.what;
    }
    fs::create_directory(folder / "folder.bmp");
    EXPECT_EQ(loadSheet(SHEET_PLAYER, "folder.bmp", 256, 256), 0);
    mkfifo((folder / "fifo.bmp").c_str(), 0644);
    EXPECT_EQ(loadSheet(SHEET_PLAYER, "fifo.bmp", 256, 256), 0) << "and not waited for";
}

TEST_F(PictureGuard, OnlyAnEightBitPictureWithAFullColourTableGivesThePalette) {
    const std::string picture = indexedPicture(folder, 4, 4);
    // clang-format off
    const struct {
        const char* what;
        std::string bytes;
        int loaded;
    } cases[] = {
        {"an 8-bit picture",            picture,                                      1},
        {"colours used given as 0",     withField(picture, COLOURS_USED, 0, 4),       1},
        {"no BMP file",                 "XX" + picture.substr(2),                    0},
        {"a 108-byte header",           withField(picture, HEADER_SIZE, 108, 4),      0},
        {"a 24-bit picture",            withField(picture, DEPTH, 24, 2),             0},
        {"a table of 16 colours",       withField(picture, COLOURS_USED, 16, 4),      0},
        {"the table cut short",         picture.substr(0, 1000),                      0},
        {"empty",                       "",                                           0},
    };
    // clang-format on
    for (const auto& c : cases) {
        for (auto& entry : workingPalette)
            entry = PaletteEntry{1, 2, 3, 0};
        writeTextFile(folder / "pal.bmp", c.bytes);
        EXPECT_EQ(loadPalette("pal.bmp", "palfile.dat"), c.loaded) << c.what;
        EXPECT_EQ(workingPalette[255].red, c.loaded ? 255 : 1) << c.what;
    }
    fs::remove(folder / "pal.bmp");
    mkfifo((folder / "pal.bmp").c_str(), 0644);
    EXPECT_EQ(loadPalette("pal.bmp", "palfile.dat"), 0) << "a FIFO, not waited for";
}

} // namespace
