// One golden frame per front-end scene: the game's own data drawn on the
// headless backend at a fixed point of virtual time, compared pixel for pixel
// with a reviewed picture in tests/shell/golden/. After a reviewed change,
// scripts/update-golden.sh writes them anew.
#include "platform/headless/headless.h"
#include "platform/headless/picture_file.h"
#include "platform/sound.h"
#include "platform/virtual_keys.h"
#include "shell/ranking.h"
#include "shell/scene_machine.h"
#include "shell/scenes.h"
#include "shell/stage_flow.h"
#include "shell/startup.h"
#include "support/game_folder_fixture.h"
#include "support/game_passes.h"
#include "support/stage_builder.h"
#include "world/player.h"
#include "world/world.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

namespace {

namespace fs = std::filesystem;

const fs::path GOLDEN_FOLDER = fs::path(VELTA_SOURCE_DIR) / "tests" / "shell" / "golden";

bool updating() {
    const char* update = std::getenv("VELTA_UPDATE_GOLDEN");
    return update && *update && std::string(update) != "0";
}

bool atRestIn(int scene) {
    return sceneNumber == scene && fadeState == FADE_NONE;
}

// The game started in debug mode, at rest in the title menu.
void startAtTitle() {
    ASSERT_TRUE(startUp("/D"));
    ASSERT_TRUE(runPassesUntil([] { return atRestIn(SCENE_TITLE); }));
}

void chooseTitleItem(int downs, int scene) {
    for (int i = 0; i < downs; ++i)
        ASSERT_TRUE(tapKey(VK_DOWN));
    ASSERT_TRUE(tapKey(VK_Z));
    static int wanted;
    wanted = scene;
    ASSERT_TRUE(runPassesUntil([] { return atRestIn(wanted); }));
}

// A scene entered as the game enters it, with its jingle, then left to play
// for the given number of passes.
void enterScene(int scene, int jingle, int passes) {
    startAtTitle();
    sceneNumber = scene;
    if (jingle >= 0) playEffect(jingle);
    startFadeIn();
    ASSERT_TRUE(runPasses(passes));
}

std::string rankingConfig() {
    std::string text = "[RANKING]\r\n";
    const uint32_t scores[] = {158200, 97450, 61000, 12300};
    for (int i = 0; i < 4; ++i) {
        char code[8];
        scoreCode(scores[i], code);
        text += std::to_string(i) + "=" + std::to_string(scores[i]) + " " + code + "\r\n";
    }
    return text;
}

// Two extra stage files: one with a Latin author and a comment that wraps,
// one in Japanese (Shift-JIS) with 髙 and ～ in it.
void writeExtraStages(const fs::path& folder) {
    fs::create_directories(folder / "stage");
    writeTextFile(folder / "stage" / "meadow.vtg",
                  "A gentle walk through the meadow for the first-time player, with a few "
                  "coins.\r\nSomeone Else\r\nWell done!\r\n5\r\n1\r\nend;\r\n");
    writeTextFile(folder / "stage" / "yama.vtg",
                  "\x8e\x52\x82\xcc\x92\xb8\x8f\xe3\x82\xf0\x96\xda\x8e\x77\x82\xb7\x81\x60\r\n"
                  "\xfb\xfc\x8b\xb4\x81\x40\x91\xbe\x98\x59\r\nX\r\n3\r\n3\r\nend;\r\n");
}

// A stage with a little of everything the HUD and the world draw.
TestStageFile goldenStage() {
    TestStageFile file;
    file.startingLives = 4;
    file.stages.push_back({"null",
                           0,
                           {
                               "..................................",
                               "..........o.o.o...................",
                               "..................................",
                               ".......?B?B.......................",
                               "..................................",
                               "...............BBB..........G.....",
                               "......a..........................#",
                               "##################...#############",
                               "==================...=============",
                           }});
    return file;
}

// The game started on the golden stage and played for a while: the player
// runs right and jumps.
void playGoldenStage(GameFolderFixture& game, const std::string& commandLine) {
    writeStageFile(game.folder() / "stage" / "golden.vtg", goldenStage());
    ASSERT_TRUE(startUp(commandLine));
    ASSERT_TRUE(framePass());
    startGame("golden.vtg");
    sceneNumber = SCENE_GAMEPLAY;
    startFadeIn();
    ASSERT_TRUE(runPasses(60));
    headless::setKey(VK_RIGHT, true);
    ASSERT_TRUE(runPasses(40));
    headless::setKey(VK_X, true);
    ASSERT_TRUE(runPasses(12));
    headless::setKey(VK_X, false);
    headless::setKey(VK_RIGHT, false);
}

struct GoldenCase {
    const char* name;
    std::function<void(GameFolderFixture&)> play;
};

void PrintTo(const GoldenCase& golden, std::ostream* out) {
    *out << golden.name;
}

// clang-format off
const GoldenCase GOLDEN_CASES[] = {
    {"loading", [](GameFolderFixture&) { ASSERT_TRUE(startUp("")); }},
    {"logo", [](GameFolderFixture&) {
        ASSERT_TRUE(startUp(""));
        ASSERT_TRUE(runPassesUntil([] { return effectStatus(SE_MC) == EFFECT_PLAYING; }));
        ASSERT_TRUE(runPasses(10));
    }},
    {"title", [](GameFolderFixture&) { startAtTitle(); }},
    {"extra_stage", [](GameFolderFixture& game) {
        writeExtraStages(game.folder());
        startAtTitle();
        chooseTitleItem(1, SCENE_EXTRA_STAGE);
    }},
    {"extra_stage_japanese", [](GameFolderFixture& game) {
        writeExtraStages(game.folder());
        startAtTitle();
        chooseTitleItem(1, SCENE_EXTRA_STAGE);
        ASSERT_TRUE(tapKey(VK_DOWN));
    }},
    {"ranking", [](GameFolderFixture& game) {
        game.writeConfig(rankingConfig());
        startAtTitle();
        chooseTitleItem(2, SCENE_RANKING);
    }},
    {"confirmation", [](GameFolderFixture&) {
        startAtTitle();
        headless::pushEvent({platform::EventType::KeyDown, VK_ESCAPE});
        ASSERT_TRUE(runPasses(2));
    }},
    {"game_over", [](GameFolderFixture&) {
        enterScene(SCENE_GAME_OVER, SE_GMOV, 0);
        ASSERT_TRUE(runPassesUntil([] { return effectStatus(SE_GMOV) != EFFECT_PLAYING; }));
        ASSERT_TRUE(runPasses(2));
    }},
    {"ending", [](GameFolderFixture&) {
        world.mainGameFlag = 1;
        world.newHighScoreFlag = 1;
        world.finalScore = 158200;
        scoreCode(world.finalScore, world.scoreCode);
        world.endingText = "THANK YOU FOR PLAYING!\nTHE CASTLE IS SAFE AGAIN.";
        enterScene(SCENE_ENDING, SE_ALLCLEAR, 0);
        ASSERT_TRUE(runPassesUntil([] { return endingRevealStep() == 7; }));
        ASSERT_TRUE(runPasses(20));
    }},
    {"staff_roll", [](GameFolderFixture&) { enterScene(SCENE_STAFF_ROLL, -1, 400); }},
    {"gameplay", [](GameFolderFixture& game) { playGoldenStage(game, ""); }},
    {"gameplay_pause", [](GameFolderFixture& game) {
        playGoldenStage(game, "");
        ASSERT_TRUE(runPassesUntil([] { return !player.airborne; }));
        ASSERT_TRUE(tapKey(VK_SPACE));
    }},
    {"gameplay_debug", [](GameFolderFixture& game) {
        playGoldenStage(game, "/D");
        ASSERT_TRUE(tapKey(VK_Q)); // the without-dying switch on
        ASSERT_TRUE(runPasses(28)); // and the captions' blink back on
    }},
};
// clang-format on

class GoldenFrame : public testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenFrame, MatchesTheReviewedPicture) {
    GameFolderFixture game(std::string("golden-") + GetParam().name);
    game.useGameData();
    ASSERT_NO_FATAL_FAILURE(GetParam().play(game));
    const headless::Picture shown = headless::shownPicture();
    ASSERT_EQ(shown.width, 288);
    ASSERT_EQ(shown.height, 256);
    const fs::path golden = GOLDEN_FOLDER / (std::string(GetParam().name) + ".png");
    if (updating()) {
        ASSERT_TRUE(writePicture(golden.string(), shown.width, shown.height, shown.rgb));
        GTEST_SKIP() << "wrote " << golden;
    }
    int width = 0, height = 0;
    std::vector<uint8_t> expected;
    ASSERT_TRUE(readPngPicture(golden.string(), width, height, expected))
        << golden << " is missing: run scripts/update-golden.sh and look at it";
    ASSERT_EQ(width, shown.width);
    ASSERT_EQ(height, shown.height);
    size_t differing = 0;
    for (size_t i = 0; i < expected.size(); i += 3)
        differing += expected[i] != shown.rgb[i] || expected[i + 1] != shown.rgb[i + 1] ||
                     expected[i + 2] != shown.rgb[i + 2];
    if (differing > 0) {
        const fs::path folder = fs::path(VELTA_DIST_DIR).parent_path() / "golden-actual";
        fs::create_directories(folder);
        const fs::path actual = folder / (std::string(GetParam().name) + ".png");
        writePicture(actual.string(), shown.width, shown.height, shown.rgb);
        ADD_FAILURE() << differing << " pixels differ from " << golden << "; this run drew "
                      << actual;
    }
}

INSTANTIATE_TEST_SUITE_P(FrontEnd, GoldenFrame, testing::ValuesIn(GOLDEN_CASES),
                         [](const testing::TestParamInfo<GoldenCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
