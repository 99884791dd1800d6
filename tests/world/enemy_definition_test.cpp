#include "world/enemy_definition.h"

#include "platform/blit.h"
#include "platform/display.h"
#include "platform/headless/headless.h"
#include "platform/palette.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "platform/sheets.h"

#include "support/fixture_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A game folder of its own with an empty "dat" folder; the game's executable
// path points into it for the length of the test.
class EnemyDefinition : public testing::Test {
  protected:
    void SetUp() override {
        folder_ = makeTempFolder("enemydef");
        fs::create_directories(folder_ / "dat");
        setGameFolderFromExecutable((folder_ / "velta").string());
    }
    void TearDown() override {
        clearSheetTable();
        fs::remove_all(folder_);
    }

    void writeDefinition(int kind, const std::string& text) {
        char name[32];
        std::snprintf(name, sizeof name, "e%.2d.dat", kind);
        writeTextFile(folder_ / "dat" / name, text);
    }
    void copyRealDefinitions() {
        fs::copy(fs::path(VELTA_SOURCE_DIR) / "assets" / "dat", folder_ / "dat",
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    }

    fs::path folder_;
};

std::vector<int> lineFrames(const Animator& animator, int line) {
    std::vector<int> frames;
    for (int i = 1; i < Animator::LINE_ENTRIES && animator.lines[line][i] != -1; ++i)
        frames.push_back(animator.lines[line][i]);
    return frames;
}

// Lines read: an unread line keeps -1 as its delay entry.
int lineCount(const Animator& animator) {
    int n = 0;
    while (n < Animator::MAX_LINES && animator.lines[n][0] != -1)
        ++n;
    return n;
}

TEST_F(EnemyDefinition, ReadsEveryShippedDefinitionCompletely) {
    copyRealDefinitions();
    // clang-format off
    const struct {
        int kind, width, height, inset, frames, lines, line0Delay;
        std::vector<int> line0;
    } cases[] = {
        {0, 16, 16, 2, 2, 1, 150, {0, 1}},      {1, 16, 16, 2, 2, 1, 150, {0, 1}},
        {2, 16, 16, 2, 2, 1, 400, {0, 0, 0, 1}}, {3, 16, 16, 2, 4, 1, 50, {0, 1, 2, 3}},
        {4, 16, 16, 2, 2, 1, 80, {0, 1}},       {5, 16, 16, 2, 2, 1, 200, {0, 1}},
        {6, 16, 16, 2, 2, 1, 150, {0, 1}},      {7, 16, 16, 2, 2, 1, 100, {0, 1}},
        {8, 16, 16, 2, 2, 1, 100, {0, 1}},      {9, 16, 16, 1, 2, 1, 60, {0, 1}},
        {10, 16, 16, 2, 2, 1, 120, {0, 1}},     {11, 8, 8, 1, 4, 1, 60, {0, 1, 2, 3}},
        {12, 16, 24, 3, 5, 2, 150, {0, 1}},     {13, 16, 16, 2, 2, 1, 60, {0, 1}},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        Enemy enemy;
        enemy.x = 40;
        enemy.y = 200;
        ASSERT_TRUE(loadEnemyDefinition(enemy, c.kind, 5000));
        EXPECT_EQ(enemy.active, 1);
        EXPECT_EQ(enemy.kind, c.kind);
        EXPECT_EQ(enemy.x, 40);
        EXPECT_EQ(enemy.y, 200);
        EXPECT_EQ(enemy.width, c.width);
        EXPECT_EQ(enemy.height, c.height);
        EXPECT_EQ(enemy.inset, c.inset);
        EXPECT_EQ(enemy.animator.frameCount, c.frames);
        EXPECT_EQ(lineCount(enemy.animator), c.lines);
        EXPECT_EQ(enemy.animator.lines[0][0], c.line0Delay);
        EXPECT_EQ(lineFrames(enemy.animator, 0), c.line0);
        EXPECT_EQ(enemy.animator.loopFlags[0], 1);
        EXPECT_EQ(enemy.animator.line, 0);
        EXPECT_EQ(enemy.animator.position, 1);
        EXPECT_EQ(enemy.animator.changedAt, 5000u);
    }

    Enemy tinker;
    ASSERT_TRUE(loadEnemyDefinition(tinker, 12));
    EXPECT_EQ(tinker.animator.loopFlags[1], 0);
    EXPECT_EQ(lineFrames(tinker.animator, 1), (std::vector<int>{2, 3, 4}));
    const FrameRect last = tinker.animator.frames[4];
    EXPECT_EQ(last.left, 64);
    EXPECT_EQ(last.top, 64);
    EXPECT_EQ(last.right, 80);
    EXPECT_EQ(last.bottom, 88);
}

TEST_F(EnemyDefinition, FramesStopAtTheFirstMissingPatKey) {
    writeDefinition(0, "[GENERAL]\r\nSIZE=16,16\r\nYASE=2\r\n[PAT]\r\n"
                       "00=0,0\r\n01=16,0\r\n02=32,0\r\n03=48,0\r\n04=64,0\r\n05=80,0\r\n"
                       "07=112,0\r\n[LINE]\r\n00=0100,Y,00,01;\r\n");
    Enemy enemy;
    ASSERT_TRUE(loadEnemyDefinition(enemy, 0));
    EXPECT_EQ(enemy.animator.frameCount, 6);
}

TEST_F(EnemyDefinition, ThreeDigitKindsAndUpTo128Frames) {
    std::string text = "[GENERAL]\r\nSIZE=8,8\r\nYASE=1\r\n[PAT]\r\n";
    for (int i = 0; i < 130; ++i) {
        char key[32];
        std::snprintf(key, sizeof key, "%.2d=%d,0\r\n", i, i);
        text += key;
    }
    writeTextFile(folder_ / "dat" / "e123.dat", text);
    EXPECT_EQ(enemyDefinitionPath(7), folder_.string() + "/dat/e07.dat");
    EXPECT_EQ(enemyDefinitionPath(123), folder_.string() + "/dat/e123.dat");

    Enemy enemy;
    ASSERT_TRUE(loadEnemyDefinition(enemy, 123));
    EXPECT_EQ(enemy.kind, 123);
    ASSERT_EQ(enemy.animator.frameCount, 128);
    EXPECT_EQ(enemy.animator.frames[127].left, 127); // key "127"
    EXPECT_EQ(enemy.animator.frames[127].right, 135);
    EXPECT_EQ(lineCount(enemy.animator), 0);
}

TEST_F(EnemyDefinition, IncompleteDefinitionsLeaveTheEnemyInactive) {
    const struct {
        const char* what;
        const char* text; // nullptr: no file at all
        int width;        // what was read before giving up
    } cases[] = {
        {"no file", nullptr, 99},
        {"no SIZE", "[GENERAL]\r\nYASE=2\r\n[PAT]\r\n00=0,0\r\n", 99},
        {"no YASE", "[GENERAL]\r\nSIZE=24,16\r\n[PAT]\r\n00=0,0\r\n", 24},
        {"SIZE in another section", "[PAT]\r\nSIZE=24,16\r\nYASE=2\r\n", 99},
        {"SIZE reads as the absent marker", "[GENERAL]\r\nSIZE=FUCK!\r\nYASE=2\r\n", 99},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(folder_ / "dat" / "e04.dat");
        if (c.text) writeDefinition(4, c.text);
        Enemy enemy;
        enemy.width = 99;
        enemy.active = 1;
        enemy.knockedOut = 1;
        enemy.hitCount = 2;
        enemy.defeatTime = 1234;
        enemy.animator.addFrame(1, 2, 3, 4);
        EXPECT_FALSE(loadEnemyDefinition(enemy, 4));
        EXPECT_EQ(enemy.active, 0);
        EXPECT_EQ(enemy.kind, 4);
        EXPECT_EQ(enemy.knockedOut, 0);
        EXPECT_EQ(enemy.hitCount, 0);
        EXPECT_EQ(enemy.defeatTime, 0u);
        EXPECT_EQ(enemy.width, c.width);
        EXPECT_EQ(enemy.animator.frameCount, 0);
    }
}

TEST_F(EnemyDefinition, KindsOutsideTheByteRangeReadNothing) {
    for (int kind : {-1, 256}) {
        Enemy enemy;
        enemy.kind = 5;
        EXPECT_FALSE(loadEnemyDefinition(enemy, kind));
        EXPECT_EQ(enemy.active, 0);
        EXPECT_EQ(enemy.kind, 5);
    }
}

TEST_F(EnemyDefinition, SizeAndCornersScanLikeDecimalPairs) {
    // clang-format off
    const struct {
        const char* size;
        const char* corner;
        FrameRect expected;
    } cases[] = {
        {"16,24", "32,48", {32, 48, 48, 72}},
        {" 16, 24", "+32,-8", {32, -8, 48, 16}},
        {"16", "32", {32, 0, 48, 0}},            // second field missing
        {"16;24", "32 ,48", {32, 0, 48, 0}},     // ',' must follow the digits
        {"x16,24", "", {0, 0, 0, 0}},            // first field unreadable: both 0
        {"16,24", "2147483647,0", {2147483647, 0, 2147483647, 24}}, // no overflow
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.size) + " / " + c.corner);
        writeDefinition(1, std::string("[GENERAL]\r\nSIZE=") + c.size +
                               "\r\nYASE=2\r\n[PAT]\r\n00=" + c.corner + "\r\n");
        Enemy enemy;
        ASSERT_TRUE(loadEnemyDefinition(enemy, 1));
        ASSERT_EQ(enemy.animator.frameCount, 1);
        const FrameRect f = enemy.animator.frames[0];
        EXPECT_EQ(f.left, c.expected.left);
        EXPECT_EQ(f.top, c.expected.top);
        EXPECT_EQ(f.right, c.expected.right);
        EXPECT_EQ(f.bottom, c.expected.bottom);
    }
}

TEST(AnimationLineValue, ParsesDelayLoopAndFrames) {
    // clang-format off
    const struct {
        const char* value;
        int delay;
        bool loops;
        std::vector<int> frames;
    } cases[] = {
        {"0100,Y,00,01,02;", 100, true, {0, 1, 2}},
        {"0150,N,02,03,04;", 150, false, {2, 3, 4}},
        {"0150,y,02;", 150, false, {2}},              // only 'Y' loops
        {"0080,Y,05,06", 80, true, {5, 6}},           // no ';': ends with the value
        {"0080,Y,05,06,", 80, true, {5, 6}},          // a trailing separator adds nothing
        {"0080,Y,05,6", 80, true, {5, 6}},            // a cut field reads what is there
        {"0080,Y,07;09", 80, true, {7}},              // ';' ends the list
        {"0080,Y,1;", 80, true, {1}},                 // one-digit field
        {"0080,Y,xx,03;", 80, true, {0, 3}},          // no digits reads as 0
        {"0080,Y,-1,03;", 80, true, {3}},             // a negative number names no frame
        {"0080,Y,99;", 80, true, {99}},               // kept even without its rectangle
        {"0080,Y", 80, true, {}},                     // no frame list
        {"01", 1, false, {}},                         // shorter than the delay field
        {"", 0, false, {}},
        {"0100xYz07;", 100, true, {7}},               // separators may be any character
        {" 050,Y,00;", 50, true, {0}},                // leading blank of the delay field
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const AnimationLine line = parseAnimationLine(c.value);
        EXPECT_EQ(line.delay, c.delay);
        EXPECT_EQ(line.loops, c.loops);
        EXPECT_EQ(line.frames, c.frames);
    }
}

std::string longLine(int frames) {
    std::string value = "0030,Y,";
    for (int i = 0; i < frames; ++i) {
        char field[8];
        std::snprintf(field, sizeof field, "%.2d%c", i % 100, i + 1 == frames ? ';' : ',');
        value += field;
    }
    return value;
}

TEST(AnimationLineValue, KeepsAtMost126Frames) {
    for (int frames : {125, 126, 127, 140}) {
        SCOPED_TRACE(frames);
        const AnimationLine line = parseAnimationLine(longLine(frames));
        ASSERT_EQ(int(line.frames.size()), std::min(frames, 126));
        EXPECT_EQ(line.frames.back(), (std::min(frames, 126) - 1) % 100);
    }
}

TEST_F(EnemyDefinition, LongAndMissingLinesInTheFile) {
    // The long line is far over 255 characters; lines stop at the first gap.
    writeDefinition(2, "[GENERAL]\r\nSIZE=16,16\r\nYASE=2\r\n[PAT]\r\n00=0,0\r\n[LINE]\r\n00=" +
                           longLine(130) + "\r\n01=0200,N,00;\r\n03=0200,N,00;\r\n");
    Enemy enemy;
    ASSERT_TRUE(loadEnemyDefinition(enemy, 2));
    const Animator& animator = enemy.animator;
    EXPECT_EQ(lineCount(animator), 2);
    EXPECT_EQ(animator.lines[0][0], 30);
    EXPECT_EQ(animator.lines[0][126], 25); // frame number 126 of the list
    EXPECT_EQ(animator.lines[0][127], -1); // the end marker stays
    EXPECT_EQ(animator.loopFlags[1], 0);
    EXPECT_EQ(animator.loopFlags[3], 1); // unread lines keep the default
}

TEST_F(EnemyDefinition, MirrorsEveryFrameIntoTheLeftFacingSheet) {
    createBlankSheet(SHEET_ENEMY, 128, 128);
    createBlankSheet(SHEET_ENEMY_MIRROR, 128, 128);
    Surface& enemySheet = *sheetSurface(SHEET_ENEMY);
    enemySheet.row(2)[17] = 7;  // frame 1 (16,0)-(32,16), one pixel from its left edge
    enemySheet.row(20)[64] = 9; // outside every frame
    writeDefinition(3, "[GENERAL]\r\nSIZE=16,16\r\nYASE=2\r\n[PAT]\r\n00=0,0\r\n01=16,0\r\n");

    Enemy enemy;
    ASSERT_TRUE(loadEnemyDefinition(enemy, 3));
    const Surface& mirror = *sheetSurface(SHEET_ENEMY_MIRROR);
    EXPECT_EQ(mirror.at(30, 2), 7); // one pixel from the frame's right edge
    EXPECT_EQ(mirror.at(17, 2), 0);
    EXPECT_EQ(mirror.at(64, 20), 0);
    EXPECT_EQ(drawingTargetSheet(), -1); // drawing goes back to the back buffer
}

} // namespace
