// Pictures saved by the headless backend: PNG through libpng and read back,
// BMP by hand.
#include "platform/headless/picture_file.h"
#include "support/fixture_files.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

std::vector<uint8_t> gradient(int width, int height) {
    std::vector<uint8_t> rgb;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            rgb.insert(rgb.end(), {uint8_t(x * 20), uint8_t(y * 30), uint8_t(x ^ y)});
    return rgb;
}

} // namespace

TEST(PictureFile, PngKeepsEveryPixelAcrossWriteAndRead) {
    const auto folder = makeTempFolder("picture-file");
    const std::vector<uint8_t> rgb = gradient(7, 5);
    const std::string file = (folder / "frame.png").string();
    ASSERT_TRUE(writePicture(file, 7, 5, rgb));
    int width = 0, height = 0;
    std::vector<uint8_t> back;
    ASSERT_TRUE(readPngPicture(file, width, height, back));
    EXPECT_EQ(width, 7);
    EXPECT_EQ(height, 5);
    EXPECT_EQ(back, rgb);
}

TEST(PictureFile, BmpRowsArePaddedToFourBytes) {
    const auto folder = makeTempFolder("picture-file");
    const std::string file = (folder / "frame.BMP").string();
    ASSERT_TRUE(writePicture(file, 7, 5, gradient(7, 5)));
    // 54 header bytes, then 5 rows of 21 bytes padded to 24.
    EXPECT_EQ(std::filesystem::file_size(file), 54u + 5u * 24u);
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    EXPECT_FALSE(readPngPicture(file, width, height, rgb)) << "a BMP is no PNG";
}

TEST(PictureFile, RefusesPicturesItCannotWriteOrRead) {
    const auto folder = makeTempFolder("picture-file");
    EXPECT_FALSE(writePicture((folder / "a.png").string(), 0, 5, {}));
    EXPECT_FALSE(writePicture((folder / "a.png").string(), 2, 2, std::vector<uint8_t>(11)));
    EXPECT_FALSE(writePicture((folder / "missing" / "a.png").string(), 1, 1, {1, 2, 3}));
    writeTextFile(folder / "broken.png", "\x89PNG\r\n\x1a\nnot really");
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    EXPECT_FALSE(readPngPicture((folder / "broken.png").string(), width, height, rgb));
    EXPECT_FALSE(readPngPicture((folder / "none.png").string(), width, height, rgb));
}
