// Stage overviews: whole stages drawn into one picture, by the function and
// by velta-replay.
#include "platform/headless/picture_file.h"
#include "platform/palette.h"
#include "platform/sheets.h"
#include "replay/replay_program.h"
#include "replay/stage_overview.h"
#include "support/fixture_files.h"
#include "support/game_folder_fixture.h"
#include "support/stage_builder.h"
#include "world/world.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

constexpr int SKY = 135;
constexpr int NIGHT = 0;

// 48 cells wide: a brick in the air and a walker on the ground, both beyond
// the first screen. Then a night stage narrower than the screen.
TestStageFile overviewStages() {
    TestStageFile file;
    file.stages.push_back({"null",
                           0,
                           {
                               "........................................B.......",
                               "................................................",
                               "..............................a.................",
                               "################################################",
                           }});
    file.stages.push_back({"null", 1, {"#####"}});
    return file;
}

struct OverviewFolder {
    explicit OverviewFolder(const std::string& name) : game(name) {
        game.useGameData();
        writeStageFile(game.folder() / "stage" / "test.vtg", overviewStages());
    }
    StageOverview draw(int stageIndex) {
        return drawStageOverview(game.folder().string(), "test.vtg", stageIndex);
    }
    GameFolderFixture game;
};

uint32_t colourOf(int index) {
    const PaletteEntry& entry = workingPalette[index];
    return uint32_t(entry.red) << 16 | uint32_t(entry.green) << 8 | entry.blue;
}

// Compares the picture at (x, y) with a sheet's cell, pixel for pixel: the
// cell's colours where it has them, the background where it is transparent.
// mirrored reads the cell right to left, as a left-facing actor is drawn.
void expectCell(const StageOverview& overview, int x, int y, int sheet, int left, int top,
                int width, int height, bool mirrored, int background) {
    const Surface* cells = sheetSurface(sheet);
    ASSERT_NE(cells, nullptr);
    int mismatches = 0;
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const int from = mirrored ? left + width - 1 - column : left + column;
            const uint8_t index = cells->at(from, top + row);
            const uint32_t expected = colourOf(index != 0 ? index : background);
            if (overview.pixel(x + column, y + row) != expected) ++mismatches;
        }
    }
    EXPECT_EQ(mismatches, 0) << "at " << x << ", " << y;
}

} // namespace

TEST(StageOverview, ShowsTheWholeStageWithObjectsAndEnemiesWhereTheyStart) {
    OverviewFolder folder("overview-day");
    const StageOverview overview = folder.draw(0);
    ASSERT_TRUE(overview.drawn()) << overview.error;
    EXPECT_EQ(overview.width, 48 * 16);
    EXPECT_EQ(overview.height, 256);
    ASSERT_EQ(overview.rgb.size(), size_t(overview.width) * 256 * 3);

    constexpr int BRICK = 35; // its cell: column kind mod 16, row kind div 16
    expectCell(overview, 640, 192, SHEET_MAPOBJ, BRICK % 16 * 16, BRICK / 16 * 16, 16, 16, false,
               SKY);

    ASSERT_EQ(world.enemies.size(), 1u);
    const Enemy& walker = world.enemies[0];
    ASSERT_TRUE(walker.active);
    EXPECT_EQ(walker.facing, 0) << "walkers start walking left";
    const FrameRect cell = walker.animator.currentFrame();
    const int width = cell.right - cell.left, height = cell.bottom - cell.top;
    ASSERT_GT(width, 0);
    expectCell(overview, 480, 240 - height, SHEET_ENEMY, cell.left, cell.top, width, height, true,
               SKY);
}

TEST(StageOverview, DrawsOverTheStagesBackgroundAtLeastOneScreenWide) {
    OverviewFolder folder("overview-backgrounds");
    // clang-format off
    const struct { int stage; int width; int background; } cases[] = {
        {0, 48 * 16, SKY},
        {1, 288,     NIGHT},
    };
    // clang-format on
    for (const auto& c : cases) {
        const StageOverview overview = folder.draw(c.stage);
        ASSERT_TRUE(overview.drawn()) << overview.error;
        EXPECT_EQ(overview.width, c.width) << "stage " << c.stage;
        for (int x : {0, 100, c.width - 1})
            EXPECT_EQ(overview.pixel(x, 20), colourOf(c.background)) << "stage " << c.stage;
    }
    EXPECT_NE(colourOf(SKY), colourOf(NIGHT));
}

TEST(StageOverviewProgram, WritesPicturesAndNamesWhatIsMissing) {
    OverviewFolder folder("overview-program");
    namespace fs = std::filesystem;
    const fs::path out = folder.game.folder() / "out";
    const std::string common = "--game-folder " + folder.game.folder().string() + " ";

    auto [output, status] =
        runReplayProgram(common + "--overview-all " + out.string() + " test.vtg");
    EXPECT_EQ(status, 0) << output;
    // clang-format off
    const struct { const char* file; int width; } written[] = {
        {"test-0.png", 48 * 16},
        {"test-1.png", 288},
    };
    // clang-format on
    for (const auto& w : written) {
        int width = 0, height = 0;
        std::vector<uint8_t> rgb;
        EXPECT_TRUE(readPngPicture((out / w.file).string(), width, height, rgb)) << w.file;
        EXPECT_EQ(width, w.width) << w.file;
        EXPECT_EQ(height, 256) << w.file;
    }
    EXPECT_FALSE(fs::exists(out / "test-2.png"));

    const fs::path picture = folder.game.folder() / "one.png";
    // clang-format off
    const struct { std::string arguments; int status; const char* message; } failures[] = {
        {"--overview " + picture.string() + " missing.vtg 0", 1,
         "cannot read the stage file missing.vtg"},
        {"--overview " + picture.string() + " test.vtg 2", 1, "test.vtg has no stage 2"},
        {"--overview " + picture.string() + " --frames 10 test.vtg 0", 2,
         "an overview is drawn, not played"},
        {"--overview-all " + out.string() + " missing.vtg", 1,
         "cannot read the stage file missing.vtg"},
    };
    // clang-format on
    for (const auto& f : failures) {
        std::tie(output, status) = runReplayProgram(common + f.arguments);
        EXPECT_EQ(status, f.status) << f.arguments << "\n" << output;
        EXPECT_NE(output.find(f.message), std::string::npos) << output;
        EXPECT_FALSE(fs::exists(picture)) << f.arguments;
    }
}
