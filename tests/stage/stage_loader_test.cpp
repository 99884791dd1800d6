// The stage loader, the stage clear and the retry: what the world holds after each.
#include "stage/stage_loader.h"

#include "platform/headless/headless.h"
#include "platform/headless/headless_audio.h"
#include "platform/music.h"
#include "platform/paths.h"
#include "support/fixture_files.h"
#include "support/stage_builder.h"
#include "world/object_kinds.h"
#include "world/player.h"
#include "world/world.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

class StageLoader : public testing::Test {
  protected:
    void SetUp() override {
        closeMusic();
        headless::resetAll();
        folder_ = makeTempFolder("stage-loader");
        fs::copy(fs::path(VELTA_DIST_DIR) / "dat", folder_ / "dat", fs::copy_options::recursive);
        writeMidiFile(folder_ / "bgm" / "def.mid");
        setGameFolderFromExecutable((folder_ / "velta").string());
        openMusic();
        world.totalScore = 0;
        world.retryCount = 0;
        world.worldNumber = 0;
        world.stageNumber = 0;
    }
    void TearDown() override { closeMusic(); }

    void write(const TestStageFile& file, const std::string& name = "test.vtg") {
        writeStageFile(folder_ / "stage" / name, file);
    }
    void writeText(const std::string& text, const std::string& name = "test.vtg") {
        fs::create_directories(folder_ / "stage");
        writeTextFile(folder_ / "stage" / name, text);
    }
    static int count(uint8_t kind) {
        return int(std::count_if(world.objects.begin(), world.objects.end(),
                                 [kind](const MapObject& o) { return o.kind == kind; }));
    }

    fs::path folder_;
};

TestStage stageWith(std::vector<std::string> rows, const std::string& music = "null") {
    return {music, 0, std::move(rows)};
}

// Eight stages (two worlds), each one cell wider than the one before.
TestStageFile eightStages() {
    TestStageFile file;
    file.startingLives = 5;
    for (int i = 0; i < 8; ++i)
        file.stages.push_back(stageWith({std::string(size_t(10 + i), '#')}));
    return file;
}

} // namespace

TEST_F(StageLoader, BuildsObjectsAtTheirBottomEdgeAndTheRightEdge) {
    TestStageFile file;
    file.stages.push_back(stageWith({"o...", "##.#"}, "def.mid"));
    write(file);
    newGameReset();
    ASSERT_TRUE(loadStage("test.vtg", 0));
    ASSERT_EQ(world.objects.size(), 4u);
    // The coin's cell has its top-left corner at (0, 224): its bottom is 240.
    EXPECT_EQ(world.objects[0].kind, KIND_COIN);
    EXPECT_EQ(world.objects[0].x, 0);
    EXPECT_EQ(world.objects[0].y, 240);
    EXPECT_EQ(world.objects[0].pivotY, 240);
    EXPECT_EQ(world.objects[3].x, 48);
    EXPECT_EQ(world.stageRightEdge, 64);
    EXPECT_EQ(world.entryFlag, 1);
    EXPECT_EQ(player.x, 0);
    EXPECT_EQ(player.y, 224);
    EXPECT_EQ(headless::musicRecord().state, headless::MidiState::Playing);
}

TEST_F(StageLoader, WalksToTheWantedBlockAndFailsPastTheLast) {
    write(eightStages());
    newGameReset();
    // clang-format off
    const struct { int index; bool found; int worldNumber, stageNumber; size_t objects; } cases[] = {
        {0, true, 0, 0, 10}, {3, true, 0, 3, 13}, {7, true, 1, 3, 17},
        {8, false, 2, 0, 0}, {255, false, 63, 3, 0}, {256 + 5, true, 1, 1, 15},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(loadStage("test.vtg", c.index), c.found) << c.index;
        EXPECT_EQ(world.worldNumber, c.worldNumber) << c.index;
        EXPECT_EQ(world.stageNumber, c.stageNumber) << c.index;
        EXPECT_EQ(world.objects.size(), c.objects) << c.index;
    }
}

TEST_F(StageLoader, StopsAtAnyMarkerBeginningWithEndAndReadsACutLastLine) {
    writeText("c\r\na\r\nm\r\n4\r\n0\r\nstage_begin\r\nnull\r\n0\r\n0\r\n224\r\n49\r\n-1\r\n-1\r\n"
              "end;x\r\nnull\r\n0\r\n16\r\n224\r\n49\r\n-1\r\n-1");
    newGameReset();
    EXPECT_TRUE(loadStage("test.vtg", 0));
    EXPECT_EQ(world.objects.size(), 1u);
    EXPECT_FALSE(loadStage("test.vtg", 1)) << "\"end;x\" ends the file for the game";
    writeText("c\na\nm\n4\n0\nstage_begin\nnull\n0\n0\n224\n49\n-1\n-1");
    EXPECT_TRUE(loadStage("test.vtg", 0)) << "no end line and no last line end";
    EXPECT_EQ(world.objects.size(), 1u);
}

TEST_F(StageLoader, AStageWithoutObjectsHasNoRightEdge) {
    TestStageFile file;
    file.stages.push_back(stageWith({"......a..."}));
    write(file);
    newGameReset();
    ASSERT_TRUE(loadStage("test.vtg", 0));
    EXPECT_EQ(world.stageRightEdge, -9999);
    ASSERT_EQ(world.enemies.size(), 1u);
    EXPECT_EQ(world.enemies[0].active, 1);
    EXPECT_EQ(world.enemies[0].x, 96);
    EXPECT_EQ(world.enemies[0].y, 256) << "enemies keep y as stored";
}

TEST_F(StageLoader, AnEnemyWithoutADefinitionStaysInTheListInactive) {
    writeText("c\r\na\r\nm\r\n4\r\n0\r\nstage_begin\r\nnull\r\n0\r\n-1\r\n"
              "64\r\n240\r\n77\r\n80\r\n240\r\n0\r\n-1\r\nend;");
    newGameReset();
    ASSERT_TRUE(loadStage("test.vtg", 0));
    ASSERT_EQ(world.enemies.size(), 2u);
    EXPECT_EQ(world.enemies[0].active, 0) << "no dat/e77.dat";
    EXPECT_EQ(world.enemies[1].active, 1);
}

TEST_F(StageLoader, MusicNullStopsThePreviousStagesMusic) {
    TestStageFile file;
    file.stages.push_back(stageWith({"##"}, "def.mid"));
    file.stages.push_back(stageWith({"##"}, "null"));
    write(file);
    newGameReset();
    ASSERT_TRUE(loadStage("test.vtg", 0));
    EXPECT_EQ(headless::musicRecord().state, headless::MidiState::Playing);
    ASSERT_TRUE(loadStage("test.vtg", 1));
    EXPECT_EQ(headless::musicRecord().state, headless::MidiState::Stopped);
}

TEST_F(StageLoader, ATakenGaugeUpStaysAwayOnRetriesOnly) {
    TestStageFile file;
    file.stages.push_back(stageWith({"U.", "##"}));
    file.stages.push_back(stageWith({"U.", "##"}));
    write(file);
    newGameReset();
    ASSERT_TRUE(loadStage("test.vtg", 0));
    EXPECT_EQ(count(KIND_GAUGE_UP), 1);
    world.itemTakenFlag = 1; // taken
    world.retryCount = 1;    // and a life lost
    ASSERT_TRUE(stageRetry());
    EXPECT_EQ(count(KIND_GAUGE_UP), 0) << "the retried stage has none";
    EXPECT_EQ(world.retryCount, 1) << "a reload of the same stage keeps the count";
    ASSERT_TRUE(loadStage("test.vtg", 1));
    EXPECT_EQ(count(KIND_GAUGE_UP), 1) << "a different stage brings it back";
    EXPECT_EQ(world.itemTakenFlag, 0);
    EXPECT_EQ(world.retryCount, 0);
}

TEST_F(StageLoader, ANewGameStartsWithoutTheLastGamesRetries) {
    write(eightStages());
    newGameReset();
    ASSERT_TRUE(loadStage("test.vtg", 0));
    world.retryCount = 3;
    ASSERT_TRUE(stageRetry());
    EXPECT_EQ(world.retryCount, 3);
    newGameReset();
    ASSERT_TRUE(loadStage("test.vtg", 0));
    EXPECT_EQ(world.retryCount, 0) << "the same stage index, but a new game";
}

TEST_F(StageLoader, ANewGameTakesItsValuesFromTheFileOnce) {
    write(eightStages());
    newGameReset();
    player.score = 700;
    world.totalScore = 1234;
    ASSERT_TRUE(loadStage("test.vtg", 0));
    EXPECT_EQ(player.lives, 5);
    EXPECT_EQ(player.score, 0);
    EXPECT_EQ(player.spanners, 15);
    EXPECT_EQ(player.gaugeSize, 4);
    EXPECT_EQ(world.totalScore, 0u);
    EXPECT_EQ(world.newGameFlag, 0);
    player.lives = 2;
    ASSERT_TRUE(loadStage("test.vtg", 1));
    EXPECT_EQ(player.lives, 2) << "only the first load of a game";
}

TEST_F(StageLoader, ClearingStageThreeLoadsStageFourWithTheBonus) {
    write(eightStages());
    newGameReset();
    ASSERT_TRUE(loadStage("test.vtg", 3));
    world.elapsedTime = 100.7;
    world.retryCount = 2;
    player.gaugeSize = 8;
    ASSERT_EQ(stageClear(), StageClear::NextStage);
    EXPECT_EQ(world.worldNumber, 1);
    EXPECT_EQ(world.stageNumber, 0);
    // (999 - 100.7 truncated) + 50 * 8 - 25 * 2
    EXPECT_EQ(world.totalScore, 898u + 400u - 50u);
    EXPECT_EQ(world.objects.size(), 14u);
}

TEST_F(StageLoader, TheLastClearAddsAQuarterOfTheScoreAndMakesTheEndingText) {
    TestStageFile file;
    // "^" breaks lines, but not the 0x5E second byte of the double-byte 0x835E.
    file.clearMessage = "Well done!^Bye \x83\x5E end";
    file.stages.push_back(stageWith({"##"}));
    write(file);
    newGameReset();
    ASSERT_TRUE(loadStage("test.vtg", 0));
    world.elapsedTime = 999;
    player.gaugeSize = 4;
    player.score = 4003;
    ASSERT_EQ(stageClear(), StageClear::LastStage);
    EXPECT_EQ(world.totalScore, 200u + 1000u);
    EXPECT_EQ(world.finalScore, 1200u);
    EXPECT_EQ(world.endingText, "Well done!\nBye \x83\x5E end\n");
}

TEST_F(StageLoader, TheTotalStaysWithinZeroAndTheLimit) {
    write(eightStages());
    newGameReset();
    ASSERT_TRUE(loadStage("test.vtg", 0));
    world.totalScore = 999900;
    player.gaugeSize = 30;
    ASSERT_EQ(stageClear(), StageClear::NextStage);
    EXPECT_EQ(world.totalScore, 999999u);
    // A bonus below zero, larger than the total, leaves nothing rather than wrapping round.
    world.totalScore = 10;
    world.elapsedTime = 999;
    player.gaugeSize = 0;
    world.retryCount = 4;
    ASSERT_EQ(stageClear(), StageClear::NextStage);
    EXPECT_EQ(world.totalScore, 0u);
}

TEST_F(StageLoader, NothingLoadedMeansNothingToClearOrRetry) {
    newGameReset();
    EXPECT_EQ(stageClear(), StageClear::NoFile);
    EXPECT_FALSE(stageRetry());
    EXPECT_FALSE(loadStage("missing.vtg", 0));
    EXPECT_TRUE(world.objects.empty());
}
