#include "shell/ranking.h"

#include "platform/headless/headless.h"
#include "platform/paths.h"

#include "support/fixture_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::vector<uint32_t> rankedScores() {
    std::vector<uint32_t> scores;
    for (const RankingEntry& entry : rankingTable)
        scores.push_back(entry.score);
    return scores;
}

RankingEntry entryFor(uint32_t score) {
    RankingEntry entry;
    entry.score = score;
    scoreCode(score, entry.code);
    return entry;
}

class RankingFile : public testing::Test {
  protected:
    void SetUp() override {
        folder_ = makeTempFolder("ranking").string() + "/";
        setGameFolderFromExecutable(folder_ + "velta");
        rankingTable.clear();
    }
    void TearDown() override {
        rankingTable.clear();
        fs::remove_all(folder_);
    }

    void writeConfig(const std::string& text) {
        std::ofstream(folder_ + "config.ini", std::ios::binary) << text;
    }
    std::string readConfig() {
        std::ifstream in(folder_ + "config.ini", std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::string folder_;
};

TEST(ScoreCode, IsComputedOnTheFirstSixCharactersOfTheScoreText) {
    // clang-format off
    const struct {
        uint32_t score;
        const char* code;
    } cases[] = {
        {0, "AZMFAQ"},
        {123456, "FUIQHU"},
        {999999, "SHMXSQ"},
        {5, "AZHKAQ"},
        {1234567, "FUIQHU"},         // "1234567" -> "123456"
        {uint32_t(-5), ">ZMFAT"},    // "-000005" -> "-00000"
        {uint32_t(-123456), "AWIOFX"}, // "-123456" -> "-12345"
    };
    // clang-format on
    for (const auto& c : cases) {
        char code[8];
        std::fill(std::begin(code), std::end(code), 'x');
        scoreCode(c.score, code);
        EXPECT_STREQ(code, c.code) << c.score;
    }
}

TEST_F(RankingFile, SettingsFileLivesInTheGameFolder) {
    EXPECT_EQ(settingsFilePath(), folder_ + "config.ini");
}

TEST_F(RankingFile, LoadKeepsValidEntriesInKeyOrderAndBlanksForgedOnes) {
    writeConfig("; hand edited\r\n"
                "[CONTROLLER]\r\n"
                "DEVICE=1\r\n"
                "\r\n"
                "[RANKING]\r\n"
                "0=123456 FUIQHU\r\n"
                "1=123456 FUIQHA\r\n"
                "2=NO DATA\r\n"
                "3=\r\n"
                "4=0 AZMFAQ\r\n"
                "5=999999 SHMXSQSHMXSQ\r\n"
                "6=42\r\n"
                "7=-5 >ZMFAT\r\n"
                "8=999999 SHMXSQ\r\n");
    loadRanking();

    EXPECT_EQ(rankedScores(), (std::vector<uint32_t>{123456, 0, uint32_t(-5)}));
    ASSERT_EQ(rankingTable.size(), 3u);
    EXPECT_STREQ(rankingTable[0].code, "FUIQHU");
    // The forged code and the over-long one are blanked; the value without a
    // code is only skipped.
    EXPECT_EQ(readConfig(), "; hand edited\r\n"
                            "[CONTROLLER]\r\n"
                            "DEVICE=1\r\n"
                            "\r\n"
                            "[RANKING]\r\n"
                            "0=123456 FUIQHU\r\n"
                            "1=\r\n"
                            "2=NO DATA\r\n"
                            "3=\r\n"
                            "4=0 AZMFAQ\r\n"
                            "5=\r\n"
                            "6=42\r\n"
                            "7=-5 >ZMFAT\r\n"
                            "8=999999 SHMXSQ\r\n");
}

TEST_F(RankingFile, LoadWithoutSettingsFileGivesAnEmptyTableAndWritesNothing) {
    rankingTable.push_back(entryFor(1));
    loadRanking();
    EXPECT_TRUE(rankingTable.empty());
    EXPECT_FALSE(fs::exists(folder_ + "config.ini"));
}

TEST(RankingInsert, PlacesScoresBelowEqualOnesWithinTheFirstEight) {
    const std::vector<uint32_t> full = {800, 700, 600, 500, 400, 300, 200, 100};
    const struct {
        const char* what;
        std::vector<uint32_t> before;
        uint32_t score;
        bool entered;
        std::vector<uint32_t> after;
    } cases[] = {
        {"first game with an empty table", {}, 0, true, {0}},
        {"below a short table", {300, 200}, 50, true, {300, 200, 50}},
        {"equal to the fifth ranks sixth",
         full,
         400,
         true,
         {800, 700, 600, 500, 400, 400, 300, 200, 100}},
        {"best goes first", full, 900, true, {900, 800, 700, 600, 500, 400, 300, 200, 100}},
        {"equal to the eighth stays out",
         full,
         100,
         false,
         {800, 700, 600, 500, 400, 300, 200, 100, 100}},
        {"lower than all eight stays out",
         full,
         50,
         false,
         {800, 700, 600, 500, 400, 300, 200, 100, 50}},
        {"only the first eight are walked",
         {800, 700, 600, 500, 400, 300, 200, 100, 50},
         70,
         false,
         {800, 700, 600, 500, 400, 300, 200, 100, 50, 70}},
    };
    for (const auto& c : cases) {
        rankingTable.clear();
        for (uint32_t score : c.before)
            rankingTable.push_back(entryFor(score));
        EXPECT_EQ(insertIntoRanking(c.score), c.entered) << c.what;
        EXPECT_EQ(rankedScores(), c.after) << c.what;
    }
    rankingTable.clear();
    insertIntoRanking(123456);
    EXPECT_STREQ(rankingTable[0].code, "FUIQHU");
    rankingTable.clear();
}

TEST_F(RankingFile, SaveWritesOnlyTheRankingKeysItHas) {
    const std::string before = "; settings for the game\r\n"
                               "[CONTROLLER]\r\n"
                               "DEVICE=2\r\n"
                               "ID = 0\r\n"
                               "  A=3  \r\n"
                               "\r\n"
                               "[Ranking]\r\n"
                               "0=1 AZMFAR\r\n"
                               "1=2 x\r\n"
                               "2=3 y\r\n"
                               "3=old three\r\n"
                               "4=old four\r\n"
                               "5=\r\n"
                               "6=old six\r\n"
                               "7=old seven\r\n"
                               "\r\n"
                               "[DISPLAY]\r\n"
                               "SCALE=2\r\n";
    writeConfig(before);
    for (uint32_t score : {123456u, 5u, 0u})
        rankingTable.push_back(entryFor(score));
    saveRanking();

    std::string after = before;
    auto replace = [&after](const std::string& from, const std::string& to) {
        after.replace(after.find(from), from.size(), to);
    };
    replace("0=1 AZMFAR", "0=123456 FUIQHU");
    replace("1=2 x", "1=5 AZHKAQ");
    replace("2=3 y", "2=0 AZMFAQ");
    EXPECT_EQ(readConfig(), after);

    loadRanking(); // keys 3..7 hold no entry that loads
    EXPECT_EQ(rankedScores(), (std::vector<uint32_t>{123456, 5, 0}));
}

TEST_F(RankingFile, SavingAfterAGapBetweenKeysLeavesNoSecondCopyOfAnEntry) {
    // Two entries load from keys 0 and 7; saved back to keys 0..2 with a new
    // score, key 7 would load the 100 a second time.
    writeConfig("[RANKING]\r\n0=98000 AIVFIQ\r\n7=100 BZMFBQ\r\n6=old six\r\n");
    loadRanking();
    ASSERT_EQ(rankedScores(), (std::vector<uint32_t>{98000, 100}));
    insertIntoRanking(5000);
    ASSERT_TRUE(saveRanking());

    EXPECT_EQ(readConfig(), "[RANKING]\r\n0=98000 AIVFIQ\r\n7=\r\n6=old six\r\n"
                            "1=5000 AUMFFQ\r\n2=100 BZMFBQ\r\n");
    loadRanking();
    EXPECT_EQ(rankedScores(), (std::vector<uint32_t>{98000, 5000, 100}));
}

TEST_F(RankingFile, FirstSaveCreatesTheFileAndLoadsBack) {
    loadRanking();
    ASSERT_TRUE(insertIntoRanking(999999));
    ASSERT_TRUE(insertIntoRanking(uint32_t(-5)));
    saveRanking();
    EXPECT_EQ(readConfig(), "[RANKING]\r\n0=-5 >ZMFAT\r\n1=999999 SHMXSQ\r\n");
    loadRanking();
    EXPECT_EQ(rankedScores(), (std::vector<uint32_t>{uint32_t(-5), 999999}));
}

TEST_F(RankingFile, SaveKeepsAtMostEightEntries) {
    for (uint32_t score = 900; score >= 100; score -= 100)
        rankingTable.push_back(entryFor(score));
    saveRanking();
    EXPECT_EQ(readConfig().find("8="), std::string::npos);
    loadRanking();
    EXPECT_EQ(rankingTable.size(), 8u);
    EXPECT_EQ(rankingTable.back().score, 200u);
}

} // namespace
