// The programs' icons: the window icons in the game folder and the icon
// theme's pictures at every size, enlarged from the pixel art without
// smoothing; bad icon sources are refused with the usual message.
#include "assets/asset_builder_run.h"
#include "assets/pictures_files.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

using asset_test::readBytes;
using asset_test::runAssetBuilder;
using asset_test::writeBytes;

constexpr int WINDOW_ICON_SIZE = 64;
constexpr int PNG_RGBA = 6;

uint32_t bigEndian(const std::string& bytes, size_t at) {
    return uint32_t(uint8_t(bytes[at])) << 24 | uint32_t(uint8_t(bytes[at + 1])) << 16 |
           uint32_t(uint8_t(bytes[at + 2])) << 8 | uint8_t(bytes[at + 3]);
}

class Icons : public testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("velta_icons_" + std::to_string(::getpid()) + "_" +
                 testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }

    asset_test::BuilderRun build(const fs::path& assets) {
        return runAssetBuilder("icons '" + assets.string() + "' '" + (root_ / "game").string() +
                               "' '" + (root_ / "theme").string() + "'");
    }

    fs::path root_;
};

TEST_F(Icons, EveryProgramGetsItsWindowIconAndEveryThemeSize) {
    const asset_test::BuilderRun run = build(fs::path(VELTA_SOURCE_DIR) / "assets");
    ASSERT_EQ(run.status, 0) << run.output;

    for (const char* windowIcon : {"icon.bmp", "editor/icon.bmp"}) {
        SCOPED_TRACE(windowIcon);
        const auto bitmap = pictures_test::readBitmap((root_ / "game" / windowIcon).string());
        ASSERT_TRUE(bitmap);
        ASSERT_EQ(bitmap->width, WINDOW_ICON_SIZE);
        ASSERT_EQ(bitmap->height, WINDOW_ICON_SIZE);
        EXPECT_EQ(bitmap->at(0, 0), 0) << "the corners are transparent";
        EXPECT_NE(bitmap->at(32, 32), 0);
        // Enlarged four times from 16 by 16: every 4 by 4 block is one pixel.
        int mixedBlocks = 0;
        for (int y = 0; y < WINDOW_ICON_SIZE; ++y)
            for (int x = 0; x < WINDOW_ICON_SIZE; ++x)
                mixedBlocks += bitmap->at(x, y) != bitmap->at(x / 4 * 4, y / 4 * 4);
        EXPECT_EQ(mixedBlocks, 0);
    }

    for (const char* name : {"velta", "veltaedit"}) {
        for (int size : {16, 32, 48, 64, 128, 256}) {
            const std::string folder = std::to_string(size) + "x" + std::to_string(size);
            const fs::path file = root_ / "theme" / folder / "apps" / (std::string(name) + ".png");
            SCOPED_TRACE(file.string());
            const std::string png = readBytes(file);
            ASSERT_GE(png.size(), 33u);
            EXPECT_EQ(png.substr(1, 3), "PNG");
            EXPECT_EQ(bigEndian(png, 16), uint32_t(size)) << "width";
            EXPECT_EQ(bigEndian(png, 20), uint32_t(size)) << "height";
            EXPECT_EQ(int(png[25]), PNG_RGBA) << "with transparency";
        }
    }
}

TEST_F(Icons, BadSourcesAreRefusedWithoutWritingAnything) {
    const fs::path assets = root_ / "assets";
    writeBytes(assets / "pictures/palette.txt",
               readBytes(fs::path(VELTA_SOURCE_DIR) / "assets/pictures/palette.txt"));
    const struct {
        const char* label;
        std::string sheetLine;
        std::string message;
    } cases[] = {
        {"not square", "sheet icon.bmp 16 8", "must be square"},
        {"outside the game folder", "sheet ../icon.bmp 8 8", "inside the game folder"},
        {"absolute", "sheet /tmp/icon.bmp 8 8", "inside the game folder"},
        {"not a bmp", "sheet icon.png 8 8", "must be a .bmp path"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        fs::remove_all(root_ / "game");
        fs::remove_all(root_ / "theme");
        writeBytes(assets / "icons/app.txt", c.sheetLine + "\nfill 0 0 8 8 ink\n");
        const asset_test::BuilderRun run = build(assets);
        EXPECT_EQ(run.status, 1) << "-1 is a crash:\n" << run.output;
        EXPECT_NE(run.output.find("app.txt: "), std::string::npos) << run.output;
        EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
        EXPECT_FALSE(fs::exists(root_ / "game"));
        EXPECT_FALSE(fs::exists(root_ / "theme"));
    }
}

} // namespace
