// velta_assets import: a stage file as the editor saves it, turned back into
// a stage source that the stages builder makes the same file from.
#include "assets/asset_builder_run.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Record = std::array<int, 3>; // x, y, kind
using Lines = std::vector<std::string>;

using asset_test::BuilderRun;
using asset_test::readBytes;
using asset_test::repeated;
using asset_test::runAssetBuilder;
using asset_test::writeBytes;

Lines operator+(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A stage file's lines joined by lineEnd; "end;" closes it without one.
std::string joined(const Lines& lines, const std::string& lineEnd = "\r\n") {
    std::string out;
    for (const std::string& line : lines)
        out += line + (line == "end;" ? "" : lineEnd);
    return out;
}

const Lines HEADER = {"comment", "author", "clear", "4", "0"};

Lines records(const std::vector<Record>& list) {
    Lines lines;
    for (const Record& r : list)
        lines = lines + Lines{std::to_string(r[0]), std::to_string(r[1]), std::to_string(r[2])};
    return lines + Lines{"-1"};
}

Lines block(const std::vector<Record>& objects, const std::vector<Record>& enemies,
            const std::string& music = "def.mid", const std::string& background = "0") {
    return Lines{"stage_begin", music, background} + records(objects) + records(enemies);
}

const Record GOAL = {0, 224, 24};

// A scratch assets folder with enemy definitions (kinds 0 and 20 16 pixels
// high, kind 1 24 high) and two tunes.
class StageImportTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(VELTA_ASSET_BUILDER));
        root_ = fs::temp_directory_path() /
                ("velta_import_" + std::to_string(::getpid()) + "_" +
                 testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        writeBytes(assets() / "dat" / "e00.dat", "[GENERAL]\r\nSIZE=16,16\r\n");
        writeBytes(assets() / "dat" / "e01.dat", "[GENERAL]\r\nSIZE=16,24\r\n");
        writeBytes(assets() / "dat" / "e20.dat", "[GENERAL]\r\nSIZE=16,16\r\n");
        writeBytes(assets() / "music" / "def.tune", "");
        writeBytes(assets() / "music" / "field.tune", "");
    }
    void TearDown() override {
        if (!root_.empty()) fs::remove_all(root_);
    }

    fs::path assets() const { return root_ / "assets"; }

    // The stage file the builder makes from source, from a stages folder of
    // its own.
    std::string build(const std::string& source) {
        fs::remove_all(assets() / "stages");
        writeBytes(assets() / "stages" / "s.stages", source);
        fs::remove_all(root_ / "game");
        const BuilderRun built = runAssetBuilder("stages '" + assets().string() + "' '" +
                                                 (root_ / "game").string() + "'");
        EXPECT_EQ(built.status, 0) << built.output << source;
        return readBytes(root_ / "game" / "stage" / "s.vtg");
    }

    BuilderRun import(const std::string& stageFile, const fs::path& out) {
        const fs::path in = root_ / "in.vtg";
        writeBytes(in, stageFile);
        return runAssetBuilder("import '" + assets().string() + "' '" + in.string() + "' '" +
                               out.string() + "'");
    }

    fs::path root_;
};

} // namespace

TEST_F(StageImportTest, SourceComesBackAsOneThatBuildsTheSameFile) {
    const struct {
        const char* name;
        std::string source;
        Lines inImported; // lines the imported source holds
    } cases[] = {
        {"own kinds, a tall enemy, a night stage",
         "comment: テスト①です\n"
         "author: Velta Team\n"
         "clear: やった！^Well done.\n"
         "lives: 5\n"
         "difficulty: 2\n"
         "legend: Q=57 W=200 s=e20\n"
         "\n"
         "stage: first\n"
         "music: field.mid\n"
         "legend: #=92\n"
         "map:\n"
         "....b\n"
         "Q.a..W\n"
         ".s..G\n"
         "##.[]\n"
         "======\n"
         "\n"
         "stage: second\n"
         "music: null\n"
         "background: night\n"
         "map:\n"
         "..b\n"
         "G\n"
         "###\n",
         {"comment: テスト①です", "clear: やった！^Well done.", "stage: 1-1", "stage: 1-2",
          "music: null", "background: night", "legend: (=57 )=92 /=200 s=e20", "(.a../", ")).[]"}},
        {"a full-height map",
         "stage: s\nmap:\nA\n" + repeated(".\n", 13) + "G\n#\n",
         {"map:\nA\n"}},
        {"empty rows on top", "stage: s\nmap:\n.\n.\nG.\n#\n", {"map:\nG\n#"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string original = build(c.source);
        ASSERT_FALSE(original.empty());
        const fs::path imported = root_ / "imported.stages";
        const BuilderRun run = import(original, imported);
        ASSERT_EQ(run.status, 0) << run.output;
        const std::string source = readBytes(imported);
        for (const std::string& line : c.inImported)
            EXPECT_NE(source.find(line), std::string::npos) << line << "\n" << source;
        EXPECT_EQ(build(source), original) << source;
    }
}

TEST_F(StageImportTest, EditorFileComesBackWithItsRecordsInMapOrder) {
    // Twenty-five kinds the defaults lack, more than the characters they
    // leave free, so the stage gets a legend of its own.
    std::vector<Record> objects = {{384, 224, 24}};
    for (int kind = 64; kind < 89; ++kind)
        objects.push_back({(kind - 64) * 16, 240, kind});
    const std::vector<Record> enemies = {{16, 224, 20}, {48, 232, 1}};
    // The editor lists records in the order they were placed; this file has
    // them backwards and LF line ends.
    const std::vector<Record> objectsPlaced(objects.rbegin(), objects.rend());
    const std::vector<Record> enemiesPlaced(enemies.rbegin(), enemies.rend());
    const fs::path imported = root_ / "imported.stages";
    const BuilderRun run = import(
        joined(HEADER + block(objectsPlaced, enemiesPlaced) + Lines{"end;"}, "\n"), imported);
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("stage(s) 1-1 now list their records in map order"),
              std::string::npos)
        << run.output;
    const std::string source = readBytes(imported);
    EXPECT_NE(source.find("stage: 1-1\nmusic: def.mid\nbackground: day\nlegend: "),
              std::string::npos)
        << source;
    EXPECT_EQ(build(source), joined(HEADER + block(objects, enemies) + Lines{"end;"}));
}

TEST_F(StageImportTest, RejectsFilesNoSourceCanHoldAndWritesNothing) {
    const Lines end = {"end;"};
    const auto file = [&](const Lines& body) { return joined(HEADER + body + end); };
    const auto stage = [&](const std::vector<Record>& objects,
                           const std::vector<Record>& enemies = {}) {
        return file(block(objects, enemies));
    };
    const auto withHeader = [&](const Lines& header) {
        return joined(header + block({GOAL}, {}) + end);
    };
    std::vector<Record> manyKinds;
    for (int kind = 1; kind <= 100; ++kind)
        manyKinds.push_back({kind * 16, 240, kind});
    Lines manyStages;
    for (int i = 0; i < 37; ++i)
        manyStages = manyStages + block({GOAL}, {});
    // Line 6 is the first "stage_begin"; line 9 holds the first object's x,
    // line 12 the second's; with one object, line 13 the first enemy's x.
    const struct {
        const char* name;
        std::string bytes;
        std::string message;
    } cases[] = {
        {"object off the cells", stage({GOAL, {8, 16, 3}}),
         ":12: stage 1-1: object kind 3 at x 8, y 16: x is not a multiple of 16"},
        {"object below the stage", stage({GOAL, {0, 256, 3}}),
         ":12: stage 1-1: object kind 3 at x 0, y 256: y is below the top of the lowest row"},
        {"object left of the stage", stage({GOAL, {-16, 0, 3}}),
         ":12: stage 1-1: object kind 3 "
         "at x -16, y 0: x is left of the "
         "stage"},
        {"object kind 0", stage({GOAL, {16, 0, 0}}),
         ":12: stage 1-1: object kind 0 at x 16, y 0: "
         "a map places object kinds 1..255 only"},
        {"two objects in one place", stage({GOAL, {0, 224, 3}}),
         ":12: stage 1-1: object kind 3 at x 0, y 224: its cell (column 1, row 15) already holds "
         "the record on line 9"},
        {"an object and an enemy in one cell", stage({GOAL}, {{0, 240, 0}}),
         ":13: stage 1-1: enemy kind 0 at x 0, y 240: its cell (column 1, row 15) already holds "
         "the record on line 9"},
        {"enemy between cells", stage({GOAL}, {{32, 240, 1}}),
         ":13: stage 1-1: enemy kind 1 at x 32, y 240: its top (y minus its 24-pixel height, 216) "
         "is not a multiple of 16"},
        {"enemy without a definition", stage({GOAL}, {{32, 240, 30}}),
         ":13: stage 1-1: enemy kind 30 at x 32, y 240: no enemy definition"},
        {"enemy below what a file keeps", stage({GOAL}, {{32, 264, 1}}),
         ":13: stage 1-1: enemy kind 1 at x 32, y 264: y is past the 0..255"},
        {"object past the longest row", stage({GOAL, {1048576, 0, 3}}),
         ":12: stage 1-1: object kind 3 at x 1048576, y 0: x lies past column 65536"},
        {"more kinds than characters", stage(manyKinds),
         ":6: stage 1-1 uses 100 different kinds, more than a map has characters for"},
        {"no goal", stage({{0, 240, 3}}), ":6: stage 1-1 has no goal (object kind 24)"},
        {"no stage", file({}), ":6: the file holds no stage"},
        {"thirty-seven stages", file(manyStages), ":294: stage 37: a source holds at most 36"},
        {"bad number", withHeader({"c", "a", "m", "4x", "0"}),
         ":4: the starting lives: '4x' is not a whole number"},
        {"missing -1",
         joined(HEADER + Lines{"stage_begin", "def.mid", "0", "0", "224", "24", "-1", "end;"}),
         ":13: the x of an enemy or its list's -1: 'end;' is not a whole number"},
        {"ends early", joined({"c", "a", "m"}),
         ":4: the file ends early, where the starting lives should be"},
        {"no end line", joined(HEADER + block({GOAL}, {})),
         ":14: the file ends early, where 'stage_begin' or 'end;' should be"},
        {"not a block", file({"stage_start"}),
         ":6: expected 'stage_begin' or 'end;', not 'stage_start'"},
        {"text after the end", stage({GOAL}) + "\r\nmore", ":15: 'more' after 'end;'"},
        {"lives out of range", withHeader({"c", "a", "m", "21", "0"}),
         ":4: the starting lives is 21; a source keeps 0..20"},
        {"background", file(block({GOAL}, {}, "def.mid", "2")),
         ":8: stage 1-1: background 2 is neither 0 (day) nor 1 (night)"},
        {"music without a tune", file(block({GOAL}, {}, "cave.mid")),
         ":7: stage 1-1: music 'cave.mid': there is no tune"},
        {"no Shift-JIS", withHeader({"\x80", "a", "m", "4", "0"}),
         ":1: comment, byte 1: 0x80 is no Shift-JIS character"},
        {"a code written back otherwise", withHeader({"c", "ab\xED\x40", "m", "4", "0"}),
         ":2: author, byte 3: 0xED40 ('纊') would be written back as 0xFA5C"},
        {"a lone '#'", withHeader({"c", "a", "Stage # one", "4", "0"}),
         ":3: clear message holds a '#' between blanks"},
        {"a blank at an end", withHeader({" padded", "a", "m", "4", "0"}),
         ":1: comment starts or ends with a blank"},
        {"a control character", withHeader({"a\tb", "a", "m", "4", "0"}),
         ":1: comment, byte 2: a control character (a tab)"},
    };
    const fs::path out = root_ / "out.stages";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(out, "kept\n");
        const BuilderRun run = import(c.bytes, out);
        EXPECT_NE(run.status, 0);
        EXPECT_NE(run.output.find("in.vtg" + c.message), std::string::npos) << run.output;
        EXPECT_EQ(readBytes(out), "kept\n");
    }
}
