#include "shell/stage_list.h"

#include "platform/game_folders.h"
#include "platform/headless/headless.h"
#include "platform/paths.h"

#include "support/fixture_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Listed {
    std::string fileName, comment, author;
    int32_t difficulty;
    bool operator==(const Listed&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Listed& entry) {
    return out << "{" << entry.fileName << " | " << entry.comment << " | " << entry.author << " | "
               << entry.difficulty << "}";
}

std::vector<Listed> listed() {
    std::vector<Listed> result;
    for (const StageListEntry& entry : stageList)
        result.push_back({entry.fileName, entry.comment, entry.author, entry.difficulty});
    return result;
}

// A stage file as the editor writes it: CR LF after every line but the last.
std::string stageText(const std::string& comment, const std::string& author,
                      const std::string& difficulty) {
    return comment + "\r\n" + author + "\r\nCongratulations!\r\n4\r\n" + difficulty + "\r\nend;";
}

class StageFolder : public testing::Test {
  protected:
    void SetUp() override {
        folder_ = makeTempFolder("stages").string() + "/";
        fs::create_directories(folder_ + "stage");
        setGameFolderFromExecutable(folder_ + "velta");
    }
    void TearDown() override {
        stageList.clear();
        fs::remove_all(folder_);
    }

    void writeStage(const std::string& name, const std::string& text) {
        std::ofstream(folder_ + "stage/" + name, std::ios::binary) << text;
    }

    std::string folder_;
};

TEST_F(StageFolder, OnlyTheMainFileGivesAnEmptyList) {
    writeStage("def.vtg", stageText("main", "us", "2"));
    stageList.push_back({});
    buildStageList();
    EXPECT_TRUE(stageList.empty());
}

TEST_F(StageFolder, MissingStageFolderGivesAnEmptyList) {
    fs::remove_all(folder_ + "stage");
    buildStageList();
    EXPECT_TRUE(stageList.empty());
}

TEST_F(StageFolder, ListsExtraFilesInCapitalsWithTheirHeaders) {
    writeStage("def.vtg", stageText("main", "us", "2"));
    writeStage("DEF.VTG", stageText("capital def", "them", "1"));
    writeStage("extra.vtg", stageText("Hard stages", "Someone", "3"));
    writeStage("Mixed.Vtg", stageText("(No comment)", "(Unknown)", "hard"));
    writeStage("unix.vtg", "lf only\nauthor\nmsg\n4\n-2\nend;");
    writeStage("short.vtg", "just a comment");
    writeStage("\x83\x65.vtg", stageText("double-byte", "x", "0"));
    writeStage("\xe3\x83\x86.vtg", stageText("utf-8", "x", "0"));
    writeStage("\x80.vtg", stageText("byte 128", "x", "0"));
    writeStage("notes.txt", "not a stage");
    writeStage("extra.vtg.bak", "not a stage");
    fs::create_directories(folder_ + "stage/folder.vtg");
    buildStageList();

    const std::vector<Listed> expected = {
        {"DEF.VTG", "capital def\n", "them ", 1},
        {"EXTRA.VTG", "Hard stages\n", "Someone ", 3},
        {"MIXED.VTG", "(No comment)\n", "(Unknown) ", 0},
        {"SHORT.VTG", "just a comment", "", 0},
        {"UNIX.VTG", "lf only\n", "author ", -2},
    };
    EXPECT_EQ(listed(), expected);

    // The capitalised names find the real files again.
    for (const StageListEntry& entry : stageList) {
        FILE* file = openFile(folder_ + "stage\\" + entry.fileName, "rb");
        EXPECT_NE(file, nullptr) << entry.fileName;
        if (file) std::fclose(file);
    }
}

TEST_F(StageFolder, OverlongHeaderLinesAreCutWithoutShiftingTheNextLines) {
    // 1022 single bytes, then a double-byte character that would straddle the cut.
    std::string comment = std::string(1022, 'c') + "\x83\x65" + std::string(500, 'd');
    std::string author = std::string(2000, 'a');
    writeStage("long.vtg", stageText(comment, author, "4"));
    buildStageList();

    ASSERT_EQ(stageList.size(), 1u);
    EXPECT_EQ(stageList[0].comment, std::string(1022, 'c'));
    EXPECT_EQ(stageList[0].author, std::string(1023, 'a'));
    EXPECT_EQ(stageList[0].difficulty, 4);
}

// An installed game: the shipped stage folder and the player's own, listed
// as one; a player's file takes the place of a shipped one of the same name.
TEST_F(StageFolder, ThePlayersStageFolderIsListedWithTheShippedOne) {
    const std::string own = folder_ + "home/velta/stage/";
    fs::create_directories(own);
    GameFolders folders = gameFoldersFor(folder_, false, {"", "", folder_ + "home/"});
    ASSERT_EQ(folders.userStages, own);
    useGameFolders(folders);

    writeStage("def.vtg", stageText("main", "us", "2"));
    writeStage("1_training.vtg", stageText("Lessons", "us", "0"));
    writeStage("2_seasons.vtg", stageText("Seasons", "us", "1"));
    std::ofstream(own + "2_Seasons.vtg", std::ios::binary) << stageText("My seasons", "me", "4");
    std::ofstream(own + "0_first.vtg", std::ios::binary) << stageText("Mine", "me", "1");
    std::ofstream(own + "def.vtg", std::ios::binary) << stageText("my main", "me", "1");
    std::ofstream(own + "__ed.vtg", std::ios::binary) << stageText("test play", "me", "1");
    buildStageList();
    useGameFolders(gameFoldersFor(folder_, true, {}));

    const std::vector<Listed> expected = {
        {"0_FIRST.VTG", "Mine\n", "me ", 1},
        {"1_TRAINING.VTG", "Lessons\n", "us ", 0},
        {"2_SEASONS.VTG", "My seasons\n", "me ", 4},
    };
    EXPECT_EQ(listed(), expected);
}

} // namespace
