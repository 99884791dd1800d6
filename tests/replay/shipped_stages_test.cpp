// Every stage the game ships is played from start to goal by its replay in
// tests/replay/stages/<file>/<index>.txt, and the main game is played through
// from the title to the ending, the staff roll and the ranking.
#include "core/random.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "platform/virtual_keys.h"
#include "replay/replay_runner.h"
#include "replay/replay_script.h"
#include "shell/scene_machine.h"
#include "shell/scenes.h"
#include "shell/startup.h"
#include "stage/stage_file.h"
#include "stage/stage_loader.h"
#include "support/fixture_files.h"
#include "support/game_folder_fixture.h"
#include "support/game_passes.h"
#include "world/player.h"
#include "world/world.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path SHIPPED_STAGES = fs::path(VELTA_DIST_DIR) / "stage";
const fs::path REPLAYS = fs::path(VELTA_SOURCE_DIR) / "tests" / "replay" / "stages";
constexpr const char* SCRATCH_FILE = "__ed.vtg";

struct ShippedStage {
    std::string file; // "def.vtg"
    int index = 0;
};

std::string baseName(const std::string& file) {
    return fs::path(file).stem().string();
}

fs::path replayPath(const ShippedStage& stage) {
    char name[16];
    std::snprintf(name, sizeof name, "%02d.txt", stage.index);
    return REPLAYS / baseName(stage.file) / name;
}

// The stage files of the game folder and how many stages each holds (the
// builder writes one "stage_begin" line a stage).
std::vector<ShippedStage> shippedStages() {
    std::vector<ShippedStage> stages;
    std::error_code error;
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(SHIPPED_STAGES, error))
        if (entry.path().extension() == ".vtg" && entry.path().filename() != SCRATCH_FILE)
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::string line;
        int count = 0;
        while (std::getline(in, line))
            count += line == "stage_begin\r" || line == "stage_begin";
        for (int index = 0; index < count; ++index)
            stages.push_back({file.filename().string(), index});
    }
    return stages;
}

ReplayScript readScript(const fs::path& file) {
    ReplayScript script;
    const std::string text = readTextFile(file);
    std::string error;
    EXPECT_TRUE(parseReplayScript(text, script, error)) << file << ": " << error;
    return script;
}

// The game's data and the shipped stage files in a folder of the test's own:
// a cleared main game writes the ranking beside them.
struct ShippedGame {
    explicit ShippedGame(const std::string& name) : game(name) {
        game.useGameData();
        fs::create_directories(game.folder() / "stage");
        for (const auto& entry : fs::directory_iterator(SHIPPED_STAGES))
            if (entry.path().extension() == ".vtg")
                fs::copy_file(entry.path(), game.folder() / "stage" / entry.path().filename());
    }
    GameFolderFixture game;
};

class ShippedStagePlay : public testing::TestWithParam<ShippedStage> {};

// Unhurt as well: damage stays with the player into the next stage, so the
// replays of a file can be played one after another, as the main game is below.
TEST_P(ShippedStagePlay, ItsReplayReachesTheGoalUnhurt) {
    const ShippedStage& stage = GetParam();
    ASSERT_TRUE(fs::exists(replayPath(stage))) << "every shipped stage has a replay";
    ShippedGame folder("shipped-" + baseName(stage.file));
    ReplayOptions options;
    options.gameFolder = folder.game.folder().string();
    options.stageFile = stage.file;
    options.stageIndex = stage.index;
    options.script = readScript(replayPath(stage));
    options.untilClear = true;
    const ReplayResult result = runReplay(options);
    ASSERT_TRUE(result.started);
    EXPECT_GE(result.goalFrame, 0) << describeReplay(result);
    EXPECT_GE(result.clearFrame, 0);
    EXPECT_EQ(result.livesLost, 0);
    EXPECT_EQ(result.hitsTaken, 0);
}

std::string stageName(const testing::TestParamInfo<ShippedStage>& info) {
    return baseName(info.param.file) + "_" + std::to_string(info.param.index);
}

INSTANTIATE_TEST_SUITE_P(Shipped, ShippedStagePlay, testing::ValuesIn(shippedStages()), stageName);

TEST(ShippedStages, TheMainGameHasFourWorldsAndEveryReplayHasItsStage) {
    std::set<fs::path> expected;
    int mainStages = 0;
    for (const ShippedStage& stage : shippedStages()) {
        expected.insert(replayPath(stage));
        mainStages += stage.file == "def.vtg";
    }
    EXPECT_GE(mainStages, 16);
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(REPLAYS, error))
        if (entry.is_regular_file()) {
            EXPECT_TRUE(expected.count(entry.path())) << entry.path() << " replays no stage";
        }
}

TEST(ShippedStages, TheMainGameShowsEveryKindThatDoesSomething) {
    // clang-format off
    const std::set<int> objectKinds = {
        1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24,
        26, 27, 28, 29, 30, 31, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 46, 47, 61, 62, 63};
    // clang-format on
    std::set<int> objectsSeen, enemiesSeen;
    ShippedGame folder("main-game-kinds");
    setGameFolderFromExecutable((folder.game.folder() / "velta").string());
    for (int index = 0;; ++index) {
        const StageRead read = readStageFile("def.vtg", index);
        if (!read.found) break;
        for (const StageRecord& record : read.objects)
            objectsSeen.insert(record.kind);
        for (const StageRecord& record : read.enemies)
            enemiesSeen.insert(record.kind);
    }
    for (int kind : objectKinds)
        EXPECT_TRUE(objectsSeen.count(kind)) << "object kind " << kind;
    for (int kind = 0; kind <= 13; ++kind)
        EXPECT_TRUE(enemiesSeen.count(kind)) << "enemy kind " << kind;
}

// ---- The main game from the title to the ranking ----

void seedReplayRandom() {
    seedRandom(platform::calendarSeconds());
}

bool titleSettled() {
    return sceneNumber == SCENE_TITLE && fadeState == FADE_NONE;
}

TEST(MainGame, PlaysThroughToTheEndingStaffRollAndRanking) {
    std::vector<ShippedStage> stages;
    for (const ShippedStage& stage : shippedStages())
        if (stage.file == "def.vtg") stages.push_back(stage);
    ASSERT_FALSE(stages.empty());
    ShippedGame folder("main-game");
    ASSERT_TRUE(startUp(""));
    ASSERT_TRUE(runPassesUntil(titleSettled, 5000));
    ASSERT_EQ(titleCursor(), 0);
    // A replay starts its stage with the random source as the game seeds it
    // at start-up: swinging and circling objects take their starting angles
    // from it. Each stage of the run starts from the same state, so that its
    // replay meets the stage as it was recorded.
    seedReplayRandom();
    ASSERT_TRUE(tapKey(VK_Z)); // GAME START
    ASSERT_TRUE(runPassesUntil([] { return sceneNumber == SCENE_GAMEPLAY; }, 500));

    int livesLost = 0;
    for (const ShippedStage& stage : stages) {
        SCOPED_TRACE("stage " + std::to_string(stage.index));
        ASSERT_EQ(currentStageIndex(), stage.index);
        const ReplayScript script = readScript(replayPath(stage));
        // The stage's first pass is its replay's frame 0.
        bool wasDying = false;
        int frame = 0;
        for (; frame <= script.lastFrame() + 600 && !world.clearedFlag; ++frame) {
            holdButtons(script.buttonsAt(frame));
            ASSERT_TRUE(framePass());
            livesLost += world.dyingFlag && !wasDying;
            wasDying = world.dyingFlag;
        }
        holdButtons(0);
        ASSERT_TRUE(world.clearedFlag)
            << "the goal was not reached; the player is at x " << player.x << " y " << player.y;
        // The next stage takes its random starting angles as its replay did.
        seedReplayRandom();
        // The clear sequence ends with the next stage loaded or the ending.
        ASSERT_TRUE(
            runPassesUntil([] { return !world.clearedFlag || sceneNumber == SCENE_ENDING; }, 3000));
    }
    EXPECT_EQ(livesLost, 0);
    ASSERT_EQ(sceneNumber, SCENE_ENDING);
    EXPECT_EQ(world.mainGameFlag, 1);
    const uint32_t finalScore = world.finalScore;
    EXPECT_GT(finalScore, 0u);

    // The ending leaves once everything is shown and the fanfare is over,
    // then the staff roll runs to its end and the title comes back.
    for (int tries = 0; sceneNumber == SCENE_ENDING && tries < 400; ++tries)
        ASSERT_TRUE(tapKey(VK_Z));
    ASSERT_TRUE(runPassesUntil([] { return sceneNumber == SCENE_STAFF_ROLL; }, 500));
    ASSERT_TRUE(runPassesUntil(titleSettled, 10000));

    const std::string config = readTextFile(folder.game.folder() / "config.ini");
    EXPECT_NE(config.find("[RANKING]"), std::string::npos);
    EXPECT_NE(config.find(std::to_string(finalScore)), std::string::npos)
        << "the score is in the ranking:\n"
        << config;
}

} // namespace
