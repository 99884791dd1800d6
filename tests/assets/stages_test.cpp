// The asset builder's stage files: text maps in assets/stages/ become the
// stage/<name>.vtg files that the game and the editor read.
#include "assets/asset_builder_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using asset_test::BuilderRun;
using asset_test::readBytes;
using asset_test::repeated;
using asset_test::runAssetBuilder;
using asset_test::writeBytes;

// Lines joined with the file's CR LF; the last one, "end;", gets none.
std::string crlf(std::initializer_list<const char*> lines) {
    std::string out;
    for (const char* line : lines)
        out += std::string(line) + (std::string(line) == "end;" ? "" : "\r\n");
    return out;
}

// A scratch assets folder with two enemy definitions (kind 0 16 pixels high,
// kind 1 24 high) and two tunes, and an empty game folder beside it.
class StagesBuilderTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(VELTA_ASSET_BUILDER));
        root_ = fs::temp_directory_path() /
                ("velta_stages_" + std::to_string(::getpid()) + "_" +
                 testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "game");
        writeBytes(root_ / "assets" / "dat" / "e00.dat",
                   "[GENERAL]\r\nNAME=Low\r\nSIZE=16,16\r\nYASE=2\r\n");
        writeBytes(root_ / "assets" / "dat" / "e01.dat",
                   "; a tall one\r\n[general]\r\nname=Tall\r\nsize = 16, 24\r\nSIZE=16,99\r\n");
        writeBytes(root_ / "assets" / "music" / "def.tune", "");
        writeBytes(root_ / "assets" / "music" / "field.tune", "");
    }
    void TearDown() override {
        if (!root_.empty()) fs::remove_all(root_);
    }

    BuilderRun build(const std::string& name, const std::string& source) {
        writeBytes(root_ / "assets" / "stages" / (name + ".stages"), source);
        return runAssetBuilder("stages '" + (root_ / "assets").string() + "' '" +
                               (root_ / "game").string() + "'");
    }
    fs::path built(const std::string& name) const {
        return root_ / "game" / "stage" / (name + ".vtg");
    }
    // The build fails with the message after the source's name and writes
    // no stage file.
    void expectRejected(const std::string& source, const std::string& message) {
        fs::remove_all(root_ / "assets" / "stages");
        const BuilderRun run = build("broken", source);
        EXPECT_NE(run.status, 0);
        EXPECT_NE(run.output.find("stages/broken.stages" + message), std::string::npos)
            << run.output;
        EXPECT_FALSE(fs::exists(built("broken")));
    }

    fs::path root_;
};

} // namespace

TEST_F(StagesBuilderTest, WritesTheStageFileTheGameReads) {
    const struct {
        const char* name;
        std::string source;
        std::string expected;
    } cases[] = {
        {"defaults", "stage: only\nmap:\nG\n#\n",
         crlf({"(No comment)", "(Unknown)", "Congratulations!", "4", "0", "stage_begin", "def.mid",
               "0", "0", "224", "24", "0", "240", "49", "-1", "-1", "end;"})},
        {"full",
         "# A comment line.\n"
         "comment: テスト\n"
         "author: Velta Team   # trailing comment\n"
         "clear: やった！^Well done.\n"
         "lives: 5\n"
         "difficulty: 1\n"
         "legend: Q=57 b=e1\n"
         "\n"
         "stage: 1-1 Not written\n"
         "legend: #=92\n"
         "background: night\n"
         "music: field.mid\n"
         "map:\n"
         "Q.a\n"
         "b\n"
         "..G\n"
         "#.#\n"
         "\n"
         "stage: 1-2\n"
         "music: null\n"
         "map:\n"
         "..b\n"
         "G\n"
         "###\n",
         // clang-format off
         crlf({"\x83\x65\x83\x58\x83\x67", "Velta Team",
               "\x82\xE2\x82\xC1\x82\xBD\x81\x49^Well done.", "5", "1",
               "stage_begin", "field.mid", "1",
               "0", "192", "57",    // Q, row 12 of a four-row map
               "32", "224", "24",   // G
               "0", "240", "92",    // '#' as this stage's legend says
               "32", "240", "92",
               "-1",
               "32", "208", "0",    // a: 16 high, bottom of row 12
               "0", "232", "1",     // b: 24 high, 8 pixels into row 14
               "-1",
               "stage_begin", "null", "0",
               "0", "224", "24",
               "0", "240", "49",    // '#' back to the default
               "16", "240", "49",
               "32", "240", "49",
               "-1",
               "32", "232", "1",
               "-1",
               "end;"})},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const BuilderRun run = build(c.name, c.source);
        ASSERT_EQ(run.status, 0) << run.output;
        EXPECT_EQ(readBytes(built(c.name)), c.expected);
    }
}

TEST_F(StagesBuilderTest, RejectsBrokenSourcesWithTheirLineAndWritesNothing) {
    const std::string stage = "stage: s\nmap:\n";
    const struct {
        const char* name;
        std::string source;
        std::string message;
    } cases[] = {
        {"unknown map character", stage + "G.w\n", ":3: unknown map character 'w' in column 3"},
        {"unknown key", "lifes: 3\n" + stage + "G\n", ":1: unknown key 'lifes'"},
        {"bad number", "lives: five\n" + stage + "G\n", ":1: lives: 'five' is not a whole number"},
        {"lives out of range", "lives: 21\n" + stage + "G\n", ":1: lives must be 0..20"},
        {"difficulty out of range", "\ndifficulty: -1\n" + stage + "G\n",
         ":2: difficulty must be 0..4"},
        {"background", "stage: s\nbackground: dusk\nmap:\nG\n", ":2: background must be 0"},
        {"header key inside a stage", stage + "G\nlives: 3\n", ":4: 'lives' belongs to the header"},
        {"stage key twice", "stage: s\nmusic: null\nmusic: null\nmap:\nG\n",
         ":3: 'music' is given twice"},
        {"key after the map", stage + "G\nmusic: null\n", ":4: 'music' after the map"},
        {"seventeen rows", stage + "G\n" + repeated(".\n", 16), ":19: more than 16 map rows"},
        {"rows after a blank line", stage + "G\n\n...\n...\n", ":5: expected 'key: value'"},
        {"stage without a map", "\nstage: s\nstage: t\nmap:\nG\n", ":2: stage 's' has no 'map:'"},
        {"no stage", "lives: 3\n", ":1: no stage"},
        {"no goal", "stage: s\nmap:\n###\n", ":1: stage 's' has no goal"},
        {"too many objects", stage + "G\n" + std::string(1024, 'A') + "\n",
         ":4: more than 1024 objects"},
        {"too many enemies", stage + std::string(65, 'a') + "\nG\n", ":3: more than 64 enemies"},
        {"missing enemy definition", stage + "Gc\n", ":3: enemy 'c' (kind 2): no enemy definition"},
        {"enemy below what the editor keeps", stage + "Ga\n", ":3: enemy 'a' (kind 0, 16 pixels"},
        {"no Shift-JIS code", "\nauthor: café\n" + stage + "G\n",
         ":2: author, character 4: U+00E9"},
        {"unknown music", "stage: s\nmusic: cave.mid\nmap:\nG\n", ":2: music 'cave.mid'"},
        {"music outside the tunes", "stage: s\nmusic: ../def.mid\nmap:\nG\n",
         ":2: music '../def.mid' is neither"},
        {"object kind 0", "legend: Q=0\n" + stage + "G\n", ":1: legend entry 'Q=0'"},
        {"enemy kind 256", "stage: s\nlegend: Q=e256\nmap:\nG\n", ":2: legend entry 'Q=e256'"},
        {"redefined empty cell", "legend: .=3\n" + stage + "G\n", ":1: legend character '.'"},
        {"legend character twice", "legend: Q=3\nlegend: Q=4\n" + stage + "G\n",
         ":2: legend character 'Q' is given twice"},
        {"thirty-seven stages", repeated(stage + "G\n", 37), ":109: more than 36 stages"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        expectRejected(c.source, c.message);
    }
}

// Map faults the stage file would allow but a player would see or meet fail
// the build at their cell. The test definitions make enemy 'b' 24 pixels high.
TEST_F(StagesBuilderTest, RejectsMapFaultsAtTheirCell) {
    const std::string stage = "stage: s\nmap:\n";
    const struct {
        const char* name;
        std::string map;
        std::string message;
    } cases[] = {
        {"ground top under a block", "A.\n#G\n==\n",
         ":4:1: stage s: '#' (kind 49) is a ground top under a solid tile (kind 1)"},
        {"ground top under ground top", ".#G\n.#=\n===\n", ":4:2: stage s: '#' (kind 49) is a"},
        {"right end beside a left end", "..G\n][#\n===\n",
         ":4:1: stage s: ']' (kind 50) is a ground end with more ground on its open right"},
        {"left end after ground", "..G\n#[=\n===\n",
         ":4:2: stage s: '[' (kind 48) is a ground end with more ground on its open left"},
        {"block on a block", "?.\nAG\n==\n",
         ":3:1: stage s: '?' (kind 33) works only when bumped from below"},
        {"hidden block on ground", "H.G\n===\n", ":3:1: stage s: 'H' (kind 5) works only"},
        {"walker over a pit", "a..\n..G\n.==\n",
         ":3:1: stage s: 'a' (kind 0) walks, but has no floor under its start"},
        {"tall enemy in the ground", "b.\n=G\n==\n",
         ":3:1: stage s: 'b' (kind 1) starts inside the solid tile under it (kind 51)"},
        {"enemies on one cell", "b.\nb.\n.G\n==\n",
         ":4:1: stage s: 'b' (kind 1) overlaps the enemy 'b' (kind 1) of line 3"},
        {"goal over a pit", "G.\n.=\n", ":3:1: stage s: 'G' (kind 24) has no floor under it"},
        {"goal over spikes", "G.\n^.\n==\n", ":3:1: stage s: 'G' (kind 24) stands over a hazard"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        expectRejected(stage + c.map, c.message);
    }
}

// What the checks allow: a floor under a goal seen through items and a
// one-way floor, a walker over a one-way floor, a block over a gap, ground
// ends at the edges of a floor.
TEST_F(StagesBuilderTest, AcceptsMapsWithoutFaults) {
    const BuilderRun run = build("sound", "stage: s\nmap:\n"
                                          "?.....\n"
                                          "......\n"
                                          "...o.G\n"
                                          "a..-.o\n"
                                          "---..J\n"
                                          "[##]=[\n"
                                          "======\n");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(fs::exists(built("sound")));
}

// Every stage source the game ships builds without a map fault.
TEST(ShippedStageSources, HaveNoMapFaults) {
    const fs::path game = fs::temp_directory_path() / ("velta_shipped_" + std::to_string(getpid()));
    fs::remove_all(game);
    fs::create_directories(game);
    const BuilderRun run = runAssetBuilder("stages '" + std::string(VELTA_SOURCE_DIR) +
                                           "/assets' '" + game.string() + "'");
    EXPECT_EQ(run.status, 0) << run.output;
    fs::remove_all(game);
}
