// velta-replay's command line: every argument it cannot act on is a clear
// error, a usage error (status 2) or a failed run (status 1) that names the
// problem, never a run of something else or a silent success.
#include "replay/replay_program.h"
#include "support/fixture_files.h"
#include "support/game_folder_fixture.h"
#include "support/stage_builder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

namespace fs = std::filesystem;

namespace {

class ReplayArguments : public testing::Test {
  protected:
    ReplayArguments() : game_("replay-arguments") {
        game_.useGameData();
        TestStageFile file;
        for (int i = 0; i < 2; ++i)
            file.stages.push_back({"null", 0, {"..G.", "####"}});
        writeStageFile(game_.folder() / "stage" / "two.vtg", file);
        writeTextFile(script(), "0-10 RIGHT\n");
    }
    fs::path script() const { return game_.folder() / "walk.txt"; }
    std::string folderOption() const { return "--game-folder '" + game_.folder().string() + "' "; }

    GameFolderFixture game_;
};

TEST_F(ReplayArguments, EveryArgumentItCannotActOnIsAnErrorThatNamesIt) {
    const std::string walk = script().string();
    const std::string missingFolder = (game_.folder() / "no" / "such").string();
    fs::create_directories(game_.folder() / "a folder");
    const std::string aFolder = (game_.folder() / "a folder").string();
    const struct {
        const char* label;
        std::string arguments; // after --game-folder
        int status;
        std::string message;
    } cases[] = {
        {"stage index 256", "two.vtg 256 " + walk, 2, "stage index"},
        {"a negative stage index", "two.vtg -1 " + walk, 2, "-1"},
        {"garbage after the stage index", "two.vtg 1x " + walk, 2, "stage index"},
        {"a stage index past the file's stages", "two.vtg 2 " + walk, 1, "2 stages"},
        {"a stage file that does not exist", "none.vtg 0 " + walk, 1, "none.vtg"},
        {"a folder as the script", "two.vtg 0 '" + aFolder + "'", 2, "a folder"},
        {"a script that does not exist", "two.vtg 0 " + walk + ".gone", 2, "cannot read"},
        {"--save into a missing folder", "--save 3 '" + missingFolder + "/f.png' two.vtg 0 " + walk,
         2, missingFolder},
        {"--save onto a folder", "--save 3 '" + aFolder + "' two.vtg 0 " + walk, 2, aFolder},
        {"--save of a frame never played",
         "--frames 5 --save 9 '" + aFolder + "/f.png' two.vtg 0 " + walk, 2, "frame 9"},
        {"--save without its file", "two.vtg 0 " + walk + " --save 3", 2, "--save"},
        {"--save with a negative frame", "--save -3 f.png two.vtg 0 " + walk, 2, "--save"},
        {"--frames 0", "--frames 0 two.vtg 0 " + walk, 2, "--frames"},
        {"--frames past any game", "--frames 999999999 two.vtg 0 " + walk, 2, "--frames"},
        {"--frames with garbage", "--frames 10s two.vtg 0 " + walk, 2, "--frames"},
        {"--frames without its number", "two.vtg 0 " + walk + " --frames", 2, "--frames"},
        {"--overview of stage 256", "--overview '" + aFolder + "/o.png' two.vtg 256", 2,
         "stage index"},
        {"--overview past the file's stages", "--overview '" + aFolder + "/o.png' two.vtg 7", 1,
         "2 stages"},
        {"--overview into a missing folder", "--overview '" + missingFolder + "/o.png' two.vtg 0",
         2, missingFolder},
        {"--overview-all without its folder", "two.vtg --overview-all", 2, "--overview-all"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const auto [output, status] = runReplayProgram(folderOption() + c.arguments);
        EXPECT_EQ(status, c.status) << output;
        EXPECT_NE(output.find(c.message), std::string::npos) << output;
        EXPECT_EQ(output.find("frames: "), std::string::npos) << "nothing is played:\n" << output;
        EXPECT_FALSE(fs::exists(game_.folder() / "a folder" / "f.png"));
    }
    const auto [output, status] =
        runReplayProgram("--game-folder '" + missingFolder + "' two.vtg 0 " + walk);
    EXPECT_EQ(status, 2) << output;
    EXPECT_NE(output.find(missingFolder), std::string::npos) << output;
}

TEST_F(ReplayArguments, TheLastStagePlaysAndAFrameItNeverReachedIsAFailure) {
    const fs::path picture = game_.folder() / "last.png";
    auto [output, status] = runReplayProgram(folderOption() + "--frames 30 --save 29 '" +
                                             picture.string() + "' two.vtg 1 " + script().string());
    EXPECT_EQ(status, 0) << output;
    EXPECT_NE(output.find("frames: 30"), std::string::npos) << output;
    EXPECT_NE(output.find("stage index: 1"), std::string::npos) << output;
    EXPECT_TRUE(fs::exists(picture));

    // Without --frames the play's end is known only when it comes.
    const fs::path late = game_.folder() / "late.png";
    std::tie(output, status) = runReplayProgram(folderOption() + "--save 5000 '" + late.string() +
                                                "' two.vtg 0 " + script().string());
    EXPECT_EQ(status, 1) << output;
    EXPECT_NE(output.find("frame 5000 was not played"), std::string::npos) << output;
    EXPECT_FALSE(fs::exists(late));
}

} // namespace
