// Replays: the script format, and whole stages played from scripts.
#include "platform/headless/picture_file.h"
#include "platform/input.h"
#include "replay/replay_program.h"
#include "replay/replay_runner.h"
#include "replay/replay_script.h"
#include "support/fixture_files.h"
#include "support/game_folder_fixture.h"
#include "support/stage_builder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

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
    EXPECT_EQ(result.hitsTaken, 0);
}

TEST(ReplayRun, RunningIntoAWalkerIsAHitTakenButNoLifeLost) {
    ReplayFolder folder("replay-hit", oneStage({
                                          "..........a.....................",
                                          "################################",
                                          "================================",
                                      }));
    const ReplayResult result = folder.play("0-150 RIGHT", 200);
    ASSERT_TRUE(result.started);
    EXPECT_EQ(result.hitsTaken, 1);
    EXPECT_EQ(result.livesLost, 0);
    EXPECT_NE(describeReplay(result).find("hits taken: 1\n"), std::string::npos);
}

TEST(ReplayScript, ReadsSpansOfFramesWithTheirButtons) {
    const ReplayScript parsed = script("# a comment\n"
                                       "0-59 RIGHT\n"
                                       "\n"
                                       "60-75 right b   # jumping\n"
                                       "70 A\n"
                                       "100-120\n");
    ASSERT_EQ(parsed.spans.size(), 4u);
    EXPECT_EQ(parsed.buttonsAt(0), 1u << BUTTON_RIGHT);
    EXPECT_EQ(parsed.buttonsAt(59), 1u << BUTTON_RIGHT);
    EXPECT_EQ(parsed.buttonsAt(70), (1u << BUTTON_RIGHT) | (1u << BUTTON_B) | (1u << BUTTON_A));
    EXPECT_EQ(parsed.buttonsAt(76), 0u);
    EXPECT_EQ(parsed.buttonsAt(110), 0u);
    EXPECT_EQ(parsed.lastFrame(), 120);
}

TEST(ReplayScript, NamesTheLineOfAMistake) {
    // clang-format off
    const struct { const char* text; const char* error; } cases[] = {
        {"0-10 RIGHT\nten JUMP\n", "line 2: 'ten' is no frame"},
        {"0-10 JUMP\n",            "line 1: 'JUMP' is no button"},
        {"10-5 A\n",               "line 1: '10-5' is no frame"},
        {"-3 A\n",                 "line 1: '-3' is no frame"},
        {"123456789 A\n",          "line 1: '123456789' is no frame"},
    };
    // clang-format on
    for (const auto& c : cases) {
        ReplayScript parsed;
        std::string error;
        EXPECT_FALSE(parseReplayScript(c.text, parsed, error)) << c.text;
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
    }
}

TEST(ReplayRun, FallingIntoAGapLosesALifeAndTheStageBeginsAgain) {
    ReplayFolder folder("replay-gap", oneStage({
                                          "................................",
                                          "############....################",
                                          "############....################",
                                      }));
    const ReplayResult result = folder.play("0-300 RIGHT", 600);
    ASSERT_TRUE(result.started);
    EXPECT_EQ(result.livesLost, 1);
    EXPECT_EQ(result.lives, 2);
    EXPECT_LT(result.x, 16) << "back at the start";
    EXPECT_EQ(result.goalFrame, -1);
}

TEST(ReplayRun, SameScriptSameGame) {
    ReplayFolder folder("replay-twice", oneStage({
                                            ".....o.o.o....................G.",
                                            "###############..###############",
                                            "################################",
                                        }));
    const std::string text = "0-400 RIGHT C\n180-200 B\n";
    const ReplayResult first = folder.play(text, 500);
    const ReplayResult second = folder.play(text, 500);
    EXPECT_EQ(describeReplay(first), describeReplay(second));
}

TEST(ReplayProgram, PlaysAStageSavesAFrameAndReportsTheClear) {
    ReplayFolder folder("replay-program", oneStage({
                                              "..................G.",
                                              "####################",
                                          }));
    const auto scriptFile = folder.game.folder() / "walk.txt";
    writeTextFile(scriptFile, "0-500 RIGHT\n");
    const auto picture = folder.game.folder() / "frame.png";
    const std::string common = "--game-folder " + folder.game.folder().string() + " ";
    auto [output, status] =
        runReplayProgram(common + "--until-clear --expect-clear --save 100 " + picture.string() +
                         " test.vtg 0 " + scriptFile.string());
    EXPECT_EQ(status, 0) << output;
    EXPECT_NE(output.find("stage cleared: yes"), std::string::npos) << output;
    EXPECT_NE(output.find("saved: " + picture.string()), std::string::npos) << output;
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    EXPECT_TRUE(readPngPicture(picture.string(), width, height, rgb));
    EXPECT_EQ(width, 288);
    EXPECT_EQ(height, 256);
    EXPECT_FALSE(std::filesystem::exists(folder.game.folder() / "config.ini"));

    writeTextFile(scriptFile, "0-20 LEFT\n");
    std::tie(output, status) =
        runReplayProgram(common + "--frames 60 --expect-clear test.vtg 0 " + scriptFile.string());
    EXPECT_EQ(status, 1) << "not cleared:\n" << output;

    std::tie(output, status) = runReplayProgram(common + "test.vtg zero " + scriptFile.string());
    EXPECT_EQ(status, 2) << output;
    EXPECT_NE(output.find("usage:"), std::string::npos);
    writeTextFile(scriptFile, "0-20 JUMP\n");
    std::tie(output, status) = runReplayProgram(common + "test.vtg 0 " + scriptFile.string());
    EXPECT_EQ(status, 2);
    EXPECT_NE(output.find("line 1: 'JUMP' is no button"), std::string::npos) << output;
}
