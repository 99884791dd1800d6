#include "stage/stage_file.h"

#include "platform/headless/headless.h"
#include "platform/paths.h"
#include "platform/platform.h"

#include "support/fixture_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

// Internal linkage: other tests of this program may print records their own way.
static std::ostream& operator<<(std::ostream& out, const StageRecord& record) {
    return out << "{" << record.x << "," << record.y << "," << record.kind << "}";
}

namespace {

namespace fs = std::filesystem;

struct Block {
    std::string music = "def.mid";
    int background = 0;
    std::vector<StageRecord> objects;
    std::vector<StageRecord> enemies;
};

void appendRecords(std::string& text, const std::vector<StageRecord>& records,
                   const std::string& lineEnd) {
    for (const StageRecord& record : records)
        text += std::to_string(record.x) + lineEnd + std::to_string(record.y) + lineEnd +
                std::to_string(record.kind) + lineEnd;
    text += "-1" + lineEnd;
}

// A stage file as the editor writes it: every line but the final "end;" ends
// with lineEnd.
std::string stageFileText(const std::vector<Block>& blocks, const std::string& lineEnd = "\r\n",
                          const std::string& clearMessage = "Congratulations!", int lives = 4) {
    std::string text = "(No comment)" + lineEnd + "(Unknown)" + lineEnd + clearMessage + lineEnd +
                       std::to_string(lives) + lineEnd + "2" + lineEnd;
    for (const Block& block : blocks) {
        text += "stage_begin" + lineEnd + block.music + lineEnd + std::to_string(block.background) +
                lineEnd;
        appendRecords(text, block.objects, lineEnd);
        appendRecords(text, block.enemies, lineEnd);
    }
    return text + "end;";
}

const Block FIRST = {"first.mid", 1, {{16, 224, 3}, {32, 208, 31}}, {{64, 240, 5}}};
const Block SECOND = {"null", 0, {{0, 0, 200}}, {{80, 96, 12}, {96, 96, 13}}};
const Block OBJECTS_ONLY = {"obj.mid", 0, {{48, 128, 7}}, {}};
const Block ENEMIES_ONLY = {"foe.mid", 1, {}, {{112, 240, 2}}};

class StageFile : public testing::Test {
  protected:
    void SetUp() override {
        folder_ = makeTempFolder("stagefile").string() + "/";
        fs::create_directories(folder_ + "stage");
        setGameFolderFromExecutable(folder_ + "velta");
    }

    StageRead readText(const std::string& text, int wanted) {
        std::ofstream(folder_ + "stage/test.vtg", std::ios::binary | std::ios::trunc) << text;
        return readStageFile("test.vtg", wanted);
    }

    std::string folder_;
};

void expectSame(const StageRead& actual, const StageRead& expected, const std::string& label) {
    SCOPED_TRACE(label);
    EXPECT_EQ(actual.opened, expected.opened);
    EXPECT_EQ(actual.found, expected.found);
    EXPECT_EQ(actual.clearMessage, expected.clearMessage);
    EXPECT_EQ(actual.startingLives, expected.startingLives);
    EXPECT_EQ(actual.musicName, expected.musicName);
    EXPECT_EQ(actual.background, expected.background);
    EXPECT_EQ(actual.objects, expected.objects);
    EXPECT_EQ(actual.enemies, expected.enemies);
}

StageRead foundBlock(const Block& block) {
    StageRead read;
    read.opened = true;
    read.found = true;
    read.clearMessage = "Congratulations!\n";
    read.startingLives = 4;
    read.musicName = block.music + "\n";
    read.background = block.background;
    read.objects = block.objects;
    read.enemies = block.enemies;
    return read;
}

template <typename Change> StageRead changed(StageRead read, Change change) {
    change(read);
    return read;
}

StageRead notFound(const std::string& music, int background) {
    StageRead read = foundBlock({music, background, {}, {}});
    read.found = false;
    if (music.empty()) read.musicName.clear();
    return read;
}

TEST_F(StageFile, WalksBlocksToTheWantedOne) {
    const std::string twoBlocks = stageFileText({FIRST, SECOND});
    const struct {
        const char* label;
        std::string text;
        int wanted;
        StageRead expected;
    } cases[] = {
        {"first block", twoBlocks, 0, foundBlock(FIRST)},
        // Slots 1 and 3 saved with slot 2 empty: the slot-3 stage is the second block.
        {"second block", twoBlocks, 1, foundBlock(SECOND)},
        {"beyond the last block keeps the last block walked", twoBlocks, 2, notFound("null", 0)},
        {"far beyond", twoBlocks, 255, notFound("null", 0)},
        {"header then end", stageFileText({}), 0, notFound("", 0)},
        {"objects but no enemies", stageFileText({OBJECTS_ONLY, FIRST}), 0,
         foundBlock(OBJECTS_ONLY)},
        {"block after an objects-only one", stageFileText({OBJECTS_ONLY, FIRST}), 1,
         foundBlock(FIRST)},
        {"enemies only", stageFileText({ENEMIES_ONLY, FIRST}), 0, foundBlock(ENEMIES_ONLY)},
        {"block after an enemies-only one", stageFileText({ENEMIES_ONLY, FIRST}), 1,
         foundBlock(FIRST)},
        {"empty lists", stageFileText({{"e.mid", 1, {}, {}}, FIRST}), 1, foundBlock(FIRST)},
        {"end with a line end", stageFileText({FIRST}) + "\r\n", 0, foundBlock(FIRST)},
        {"end followed by more blocks stops",
         stageFileText({FIRST}) + "\r\nstage_begin\r\nx.mid\r\n0\r\n-1\r\n-1\r\nend;", 1,
         notFound("first.mid", 1)},
        {"marker beginning with end stops",
         "c\r\nA\r\nCongratulations!\r\n4\r\n0\r\nend;and more\r\nstage_begin\r\nx.mid\r\n1\r\n"
         "-1\r\n-1\r\nend;",
         0, notFound("", 0)},
        {"marker that is not end is any text",
         "c\r\nA\r\nCongratulations!\r\n4\r\n0\r\nend\r\nfirst.mid\r\n1\r\n16\r\n224\r\n3\r\n"
         "32\r\n208\r\n31\r\n-1\r\n64\r\n240\r\n5\r\n-1\r\nend;",
         0, foundBlock(FIRST)},
        // "%d\n" after the difficulty eats the blank lines and the indent before the marker.
        {"blanks before the first marker", "c\nA\nCongratulations!\n4\n0\n\n\n   end;\n", 0,
         notFound("", 0)},
        {"numbers spread over blank lines and blanks",
         "c\nA\nCongratulations!\n  4  \n0\nstage_begin\nfirst.mid\n\n1\n16\n\n 224\t\n+3\n32\n"
         "208\n31\n-1\n64 240 5 -1\nend;",
         0, foundBlock(FIRST)},
    };
    for (const auto& c : cases)
        expectSame(readText(c.text, c.wanted), c.expected, c.label);
}

TEST_F(StageFile, CrLfAndLfFilesReadTheSame) {
    for (int wanted : {0, 1, 2, 3}) {
        StageRead crlf = readText(stageFileText({FIRST, OBJECTS_ONLY, SECOND}, "\r\n"), wanted);
        StageRead lf = readText(stageFileText({FIRST, OBJECTS_ONLY, SECOND}, "\n"), wanted);
        expectSame(crlf, lf, "block " + std::to_string(wanted));
    }
    // Only a CR right before an LF goes; any other CR stays part of its line.
    StageRead read = readText("c\r\nA\r\nwell\rdone\r\r\n4\r\n0\r\nend;", 0);
    EXPECT_EQ(read.clearMessage, "well\rdone\r\n");
    EXPECT_EQ(read.startingLives, 4);
}

TEST_F(StageFile, MissingFilesAndFoldersDoNotOpen) {
    EXPECT_FALSE(readStageFile("missing.vtg", 0).opened);
    fs::create_directories(folder_ + "stage/folder.vtg");
    EXPECT_FALSE(readStageFile("folder.vtg", 0).opened);
    EXPECT_FALSE(readStageFile("", 0).opened);

    // Names as the game spells them find the file in any case.
    std::ofstream(folder_ + "stage/extra.vtg", std::ios::binary) << stageFileText({FIRST});
    expectSame(readStageFile("EXTRA.VTG", 0), foundBlock(FIRST), "capital name");
    EXPECT_TRUE(readStageFile("", 0).clearMessage.empty());
}

TEST_F(StageFile, LargestStagesAreReadWhole) {
    Block big{"big.mid", 1, {}, {}};
    for (int i = 0; i < 1024; ++i)
        big.objects.push_back({16 * (i / 16), 16 * (i % 16), 1 + i % 255});
    for (int i = 0; i < 64; ++i)
        big.enemies.push_back({32 * i, 240, i % 20});
    // More than the editor keeps: the game has no limit of its own.
    Block bigger = big;
    bigger.objects.push_back({16384, 0, 9});
    bigger.enemies.push_back({4096, 32, 1});

    const std::string text = stageFileText({FIRST, big, bigger, SECOND});
    expectSame(readText(text, 1), foundBlock(big), "1024 objects and 64 enemies");
    expectSame(readText(text, 2), foundBlock(bigger), "beyond the editor's limits");
    expectSame(readText(text, 3), foundBlock(SECOND), "after the big blocks");
}

TEST_F(StageFile, NumbersBeyondIntWrapAndKindsComeAsRead) {
    const std::string text = "c\nA\nm\n4294967300\n0\nstage_begin\nx.mid\n-4294967297\n"
                             "2147483648\n-2147483649\n99999999999999999999\n"
                             "16\n32\n300\n-1\n-1\nend;";
    StageRead read = readText(text, 0);
    EXPECT_TRUE(read.found);
    EXPECT_EQ(read.startingLives, 4);
    EXPECT_EQ(read.background, -1);
    ASSERT_EQ(read.objects.size(), 2u);
    EXPECT_EQ(read.objects[0].x, INT32_MIN);
    EXPECT_EQ(read.objects[0].y, INT32_MAX);
    // 10^20 - 1 modulo 2^32.
    EXPECT_EQ(read.objects[0].kind, int32_t(0x630FFFFF));
    EXPECT_EQ(read.objects[1], (StageRecord{16, 32, 300}));
}

TEST_F(StageFile, MalformedNumbersKeepTheReadingInStep) {
    const std::string records = "stage_begin\nfirst.mid\n1\n16\n224\n3\n32\n208\n31\n-1\n";
    const std::string header = "c\nA\nCongratulations!\n";
    StageRead cutObjects = foundBlock(FIRST);
    cutObjects.found = false;
    cutObjects.enemies.clear();
    StageRead firstObjectOnly = cutObjects;
    firstObjectOnly.objects.resize(1);

    const struct {
        const char* label;
        std::string text;
        StageRead expected;
    } cases[] = {
        {"lives not a number reads 0", header + "four\n2\n" + records + "64\n240\n5\n-1\nend;",
         changed(foundBlock(FIRST), [](StageRead& r) { r.startingLives = 0; })},
        {"text after the lives and difficulty",
         header + "4 lives\n2 5\n" + records + "64\n240\n5\n-1\nend;", foundBlock(FIRST)},
        {"text after the background",
         header + "4\n2\nstage_begin\nfirst.mid\n1 night\n16\n224\n3\n32\n208\n31\n-1\n"
                  "64\n240\n5\n-1\nend;",
         foundBlock(FIRST)},
        {"background not a number reads 0",
         header + "4\n2\nstage_begin\nfirst.mid\nnight\n16\n224\n3\n32\n208\n31\n-1\n"
                  "64\n240\n5\n-1\nend;",
         changed(foundBlock(FIRST), [](StageRead& r) { r.background = 0; })},
        {"bad x stops the lists", header + "4\n2\n" + records + "x\n240\n5\n-1\nend;", cutObjects},
        {"lone minus stops the lists", header + "4\n2\n" + records + "-\n-1\nend;", cutObjects},
        {"bad kind drops its record",
         header + "4\n2\nstage_begin\nfirst.mid\n1\n16\n224\n3\n32\n208\nsome\n-1\n-1\nend;",
         firstObjectOnly},
    };
    for (const auto& c : cases)
        expectSame(readText(c.text, 0), c.expected, c.label);
}

TEST_F(StageFile, OverlongLinesAreCutAndTheirRestSkipped) {
    const std::string tail = "4\r\n0\r\nstage_begin\r\nfirst.mid\r\n1\r\n16\r\n224\r\n3\r\n"
                             "32\r\n208\r\n31\r\n-1\r\n64\r\n240\r\n5\r\n-1\r\nend;";
    const std::string doubleByte = "\x83\x65";

    const std::string m1021(1021, 'm'), m1022(1022, 'm'), m1023(1023, 'm');
    const struct {
        const char* label;
        std::string line;
        std::string kept;
    } messages[] = {
        {"fits with its line end", m1022, m1022 + "\n"},
        {"fills the buffer", m1023, m1023},
        {"cut", m1023 + "more", m1023},
        {"no half character", m1022 + doubleByte + "more", m1022},
        {"whole character", m1021 + doubleByte + "more", m1021 + doubleByte},
    };
    for (const auto& c : messages)
        expectSame(readText("c\r\nA\r\n" + c.line + "\r\n" + tail, 0),
                   changed(foundBlock(FIRST), [&](StageRead& r) { r.clearMessage = c.kept; }),
                   c.label);

    StageRead read = readText(std::string(3000, 'c') + "\r\n" + std::string(3000, 'a') +
                                  "\r\nCongratulations!\r\n" + tail,
                              0);
    expectSame(read, foundBlock(FIRST), "long comment and author");

    // Long marker and music lines of a skipped block, and a long line whose
    // 256th byte starts with "-1": none of them shifts the walk.
    const std::string longBlock = "stage_" + std::string(2000, 'b') + "\r\n" +
                                  std::string(300, 'n') + ".mid\r\n1\r\n" + std::string(255, 'z') +
                                  "-1-1\r\n-1\r\n-1\r\n";
    const std::string text = "c\r\nA\r\nCongratulations!\r\n4\r\n0\r\n" + longBlock +
                             tail.substr(tail.find("stage_begin"));
    expectSame(readText(text, 1), foundBlock(FIRST), "after a block of long lines");
    EXPECT_EQ(readText(text, 0).musicName, std::string(255, 'n'));
}

TEST_F(StageFile, KeptTextsEndAtANulByte) {
    using namespace std::string_literals;
    StageRead read =
        readText("c\nA\nwell\0done\n4\n0\nstage_begin\nab\0c.mid\n0\n-1\n-1\nend;"s, 0);
    EXPECT_TRUE(read.found);
    EXPECT_EQ(read.clearMessage, "well");
    EXPECT_EQ(read.musicName, "ab");
}

// Every cut of a valid file reads to an end: what is kept of the wanted block
// is the start of its lists, and the block counts as found only from the cut
// that keeps its last "-1" onwards.
TEST_F(StageFile, TruncatedFilesNeverHangOrInventRecords) {
    for (const std::string lineEnd : {"\r\n", "\n"}) {
        const std::string text = stageFileText({FIRST, OBJECTS_ONLY, SECOND}, lineEnd);
        for (int wanted : {0, 1, 2, 3}) {
            const StageRead whole = readText(text, wanted);
            bool foundBefore = false;
            for (size_t cut = 0; cut <= text.size(); ++cut) {
                SCOPED_TRACE("block " + std::to_string(wanted) + " cut at " + std::to_string(cut));
                StageRead read = readText(text.substr(0, cut), wanted);
                ASSERT_TRUE(read.opened);
                EXPECT_LE(read.objects.size(), whole.objects.size());
                EXPECT_LE(read.enemies.size(), whole.enemies.size());
                for (size_t i = 0; i < read.objects.size() && i < whole.objects.size(); ++i) {
                    EXPECT_EQ(read.objects[i].x, whole.objects[i].x);
                    EXPECT_EQ(read.objects[i].y, whole.objects[i].y);
                }
                for (size_t i = 0; i < read.enemies.size() && i < whole.enemies.size(); ++i) {
                    EXPECT_EQ(read.enemies[i].x, whole.enemies[i].x);
                    EXPECT_EQ(read.enemies[i].y, whole.enemies[i].y);
                }
                if (foundBefore) {
                    EXPECT_TRUE(read.found);
                }
                if (read.found) {
                    expectSame(read, whole, "found");
                    foundBefore = true;
                }
            }
            EXPECT_EQ(foundBefore, whole.found);
        }
    }
}

} // namespace
