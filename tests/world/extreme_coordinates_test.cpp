// Stage files may put objects and enemies anywhere a 32-bit number reaches.
// Played and drawn, such stages must neither crash nor compute out of range
// (the sanitizers of the test build stop at either).
#include "stage/stage_loader.h"
#include "support/fixture_files.h"
#include "support/world_play.h"
#include "world/player.h"
#include "world/world.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr int64_t MAX = INT32_MAX, MIN = INT32_MIN;

struct Record {
    int64_t x, y, kind;
};

// A stage file as the editor writes it, with a floor to stand on and the
// records under test.
std::string stageText(const std::vector<Record>& objects, const std::vector<Record>& enemies) {
    std::string text = "extreme\r\ntests\r\nbye\r\n3\r\n0\r\nstage_begin\r\nnull\r\n0\r\n";
    auto add = [&text](const Record& r) {
        text += std::to_string(r.x) + "\r\n" + std::to_string(r.y) + "\r\n" +
                std::to_string(r.kind) + "\r\n";
    };
    for (int x = 0; x < 320; x += 16)
        add({x, 240, 49});
    for (const Record& r : objects)
        add(r);
    text += "-1\r\n";
    for (const Record& r : enemies)
        add(r);
    return text + "-1\r\nend;";
}

TestStageFile placeholder() {
    TestStageFile file;
    file.stages.push_back({"null", 0, {"####################"}});
    return file;
}

} // namespace

TEST(ExtremeCoordinates, StagesWithRecordsAtTheEndsOfIntPlayAndDraw) {
    std::vector<Record> everyEnemy;
    for (int kind = 0; kind <= 13; ++kind) {
        everyEnemy.push_back({80, MAX, kind});
        everyEnemy.push_back({MAX, 100, kind});
        everyEnemy.push_back({MIN, MIN, kind});
        everyEnemy.push_back({MAX - 8, MAX - 8, kind});
    }
    // clang-format off
    const struct {
        const char* what;
        std::vector<Record> objects, enemies;
    } cases[] = {
        {"an object at the largest x",           {{MAX, 0, 49}}, {}},
        {"objects just inside the largest x",    {{MAX - 15, 100, 49}, {MAX - 16, 200, 33}}, {}},
        {"an object at the largest y",           {{100, MAX, 49}, {120, MAX - 15, 49}}, {}},
        {"an object at the smallest x and y",    {{MIN, MIN, 49}, {MIN, 100, 35}}, {}},
        {"swinging and circling kinds far out",  {{MAX, MAX, 26}, {MIN, MIN, 29}, {MAX, MIN, 30}, {MIN, MAX, 46}}, {}},
        {"moving platforms far out",             {{MAX, 100, 22}, {MIN, 100, 38}, {100, MAX, 39}, {100, MIN, 42}}, {}},
        {"every enemy kind at the ends",         {}, everyEnemy},
    };
    // clang-format on
    WorldPlay play("extreme", placeholder());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeTextFile(play.game.folder() / "stage" / "extreme.vtg",
                      stageText(c.objects, c.enemies));
        ASSERT_TRUE(loadStage("extreme.vtg", 0));
        ASSERT_TRUE(play.settle());
        ASSERT_TRUE(play.frames(30, HOLD_RIGHT | HOLD_C));
        ASSERT_TRUE(play.frames(5, HOLD_B));
        EXPECT_EQ(world.dyingFlag, 0) << "the floor still holds the player";
    }
}

TEST(ExtremeCoordinates, TheStagesRightEdgeStopsAtTheLargestInt) {
    WorldPlay play("extreme-edge", placeholder());
    writeTextFile(play.game.folder() / "stage" / "extreme.vtg", stageText({{MAX, 0, 49}}, {}));
    ASSERT_TRUE(loadStage("extreme.vtg", 0));
    EXPECT_EQ(world.stageRightEdge, INT32_MAX);
    writeTextFile(play.game.folder() / "stage" / "extreme.vtg", stageText({{MAX - 16, 0, 49}}, {}));
    ASSERT_TRUE(loadStage("extreme.vtg", 0));
    EXPECT_EQ(world.stageRightEdge, INT32_MAX) << "the last cell's right edge itself";
}

TEST(ExtremeCoordinates, EnemyDefinitionsOfExtremeSizesPlayAndDraw) {
    // Sizes and picture corners at the ends of int, for a walker that the
    // player meets, stomps and hits.
    const char* definitions[] = {
        "[GENERAL]\r\nSIZE=2,-2147483648\r\nYASE=2\r\n[PAT]\r\n00=0,0\r\n[LINE]\r\n00=0100,Y,00;"
        "\r\n",
        "[GENERAL]\r\nSIZE=2147483647,2147483647\r\nYASE=-2147483648\r\n[PAT]\r\n"
        "00=2147483647,-2147483648\r\n[LINE]\r\n00=0100,Y,00;\r\n",
        "[GENERAL]\r\nSIZE=-2147483648,16\r\nYASE=2147483647\r\n[PAT]\r\n"
        "00=-2147483648,2147483647\r\n[LINE]\r\n00=0100,Y,00;\r\n",
    };
    WorldPlay play("extreme-definitions", placeholder());
    for (const char* definition : definitions) {
        SCOPED_TRACE(definition);
        writeTextFile(play.game.folder() / "dat" / "e00.dat", definition);
        writeTextFile(play.game.folder() / "stage" / "extreme.vtg",
                      stageText({}, {{120, 240, 0}, {200, 100, 0}}));
        ASSERT_TRUE(loadStage("extreme.vtg", 0));
        ASSERT_TRUE(play.settle());
        ASSERT_TRUE(play.frames(40, HOLD_RIGHT));
        ASSERT_TRUE(play.frames(4, HOLD_A));
        ASSERT_TRUE(play.frames(20, HOLD_B | HOLD_RIGHT));
    }
}
