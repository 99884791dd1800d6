// Replays: the script format, and whole stages played from scripts.
#include "replay/replay_runner.h"
#include "replay/replay_script.h"
#include "support/game_folder_fixture.h"
#include "support/stage_builder.h"

#include <gtest/gtest.h>

namespace {

ReplayScript script(const std::string& text) {
    ReplayScript parsed;
    std::string error;
    EXPECT_TRUE(parseReplayScript(text, parsed, error)) << error;
    return parsed;
}

// A game folder with the game's own data and one stage file.
struct ReplayFolder {
    explicit ReplayFolder(const std::string& name, const TestStageFile& file) : game(name) {
        game.useGameData();
        writeStageFile(game.folder() / "stage" / "test.vtg", file);
    }
    ReplayResult play(const std::string& text, int frames = -1, bool untilClear = false) {
        ReplayOptions options;
        options.gameFolder = game.folder().string();
        options.stageFile = "test.vtg";
        options.script = script(text);
        options.frames = frames;
        options.untilClear = untilClear;
        return runReplay(options);
    }
    GameFolderFixture game;
};

TestStageFile oneStage(std::vector<std::string> rows) {
    TestStageFile file;
    file.stages.push_back({"null", 0, std::move(rows)});
    return file;
}

} // namespace

TEST(ReplayRun, WalkingToTheGoalClearsTheStage) {
    ReplayFolder folder("replay-walk", oneStage({
                                           "..........................G.....",
                                           "################################",
                                           "================================",
                                       }));
    const ReplayResult result = folder.play("0-800 RIGHT C", -1, true);
    ASSERT_TRUE(result.started);
    EXPECT_GE(result.goalFrame, 0);
    EXPECT_GE(result.clearFrame, 0);
    EXPECT_TRUE(result.ending) << "the only stage of the file";
    EXPECT_EQ(result.livesLost, 0);
    std::cout << describeReplay(result);
}
