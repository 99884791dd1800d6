// An installed game on the headless backend: the programs in one folder, the
// data in the folder an install puts beside it, which the game never writes;
// settings, palette tables and the player's stage files in the player's own
// folders.
#include "platform/display.h"
#include "platform/game_folders.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_audio.h"
#include "platform/music.h"
#include "platform/sound.h"
#include "shell/ranking.h"
#include "shell/stage_list.h"
#include "shell/startup.h"
#include "stage/stage_file.h"
#include "support/fixture_files.h"
#include "support/game_folder_fixture.h"
#include "support/game_passes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr size_t PALETTE_TABLE_FILE_BYTES = 39552;

std::set<std::string> filesBelow(const fs::path& folder) {
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        files.insert(fs::relative(entry.path(), folder).string());
    return files;
}

class InstalledGame : public testing::Test {
  protected:
    void SetUp() override {
        closeSound();
        closeMusic();
        releaseVideo();
        headless::resetAll();
        headless::resetAudio();
        root_ = makeTempFolder("installed");
        data_ = root_ / "usr/share/games/velta";
        fs::create_directories(root_ / "usr/games");
        fs::create_directories(data_ / "stage");
        const fs::path dist = VELTA_DIST_DIR;
        const auto options = fs::copy_options::recursive;
        for (const auto& entry : fs::directory_iterator(dist))
            if (entry.path().extension() == ".bmp") fs::copy(entry.path(), data_, options);
        for (const char* folder : {"se", "bgm", "dat"})
            fs::copy(dist / folder, data_ / folder, options);
        for (const char* stage : {"def.vtg", "2_seasons.vtg"})
            fs::copy(dist / "stage" / stage, data_ / "stage" / stage);
        headless::setExecutablePath((root_ / "usr/games/velta").string());

        home_ = root_ / "home";
        setVariable("XDG_CONFIG_HOME", (home_ / "config").string());
        setVariable("XDG_CACHE_HOME", (home_ / "cache").string());
        setVariable("XDG_DATA_HOME", (home_ / "data").string());
        // Started from a menu: the current folder is anywhere.
        fs::create_directories(home_);
        here_.emplace(home_);
    }

    void TearDown() override {
        closeSound();
        closeMusic();
        releaseVideo();
        here_.reset();
        useGameFolders(gameFoldersFor("./", true, {}));
        stageList.clear();
        for (const auto& [name, value] : savedVariables_) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
    }

    void setVariable(const std::string& name, const std::string& value) {
        const char* old = std::getenv(name.c_str());
        savedVariables_.emplace(name, old ? std::optional<std::string>(old) : std::nullopt);
        setenv(name.c_str(), value.c_str(), 1);
    }

    fs::path root_, data_, home_;
    std::optional<CurrentFolder> here_;
    std::map<std::string, std::optional<std::string>> savedVariables_;
};

TEST_F(InstalledGame, ReadsItsDataAndWritesOnlyIntoThePlayersFolders) {
    fs::create_directories(home_ / "config/velta");
    writeTextFile(home_ / "config/velta/config.ini", "[DISPLAY]\r\nSCALE=3\r\n");
    const std::set<std::string> installed = filesBelow(data_);

    ASSERT_TRUE(startUp(""));
    EXPECT_EQ(headless::openedDisplayOptions().scale, 3) << "the player's config.ini is read";
    EXPECT_EQ(fs::file_size(home_ / "cache/velta/palfile.dat"), PALETTE_TABLE_FILE_BYTES);
    ASSERT_TRUE(runPasses(30));
    EXPECT_TRUE(headless::messageBoxes().empty());

    // The ranking, saved at the end of a main game, goes to the same file.
    insertIntoRanking(123456);
    EXPECT_TRUE(saveRanking());
    EXPECT_NE(readTextFile(home_ / "config/velta/config.ini").find("0=123456 FUIQHU"),
              std::string::npos);
    EXPECT_EQ(filesBelow(data_), installed);
}

TEST_F(InstalledGame, GivesItsWindowTheIconWithATransparentBackground) {
    ASSERT_TRUE(startUp(""));
    const platform::WindowIcon& icon = headless::windowIcon();
    ASSERT_EQ(icon.width, 64);
    ASSERT_EQ(icon.height, 64);
    ASSERT_EQ(icon.pixels.size(), 64u * 64u);
    EXPECT_EQ(icon.pixels[0] >> 24, 0u) << "the corner is transparent";
    EXPECT_EQ(icon.pixels[32 * 64 + 32] >> 24, 0xFFu) << "the middle is drawn";
}

TEST_F(InstalledGame, PlaysOnWhenThePlayersFoldersCannotBeMade) {
    writeTextFile(root_ / "blocked", "a file, not a folder");
    setVariable("XDG_CONFIG_HOME", (root_ / "blocked/config").string());
    setVariable("XDG_CACHE_HOME", (root_ / "blocked/cache").string());
    const std::set<std::string> installed = filesBelow(data_);

    testing::internal::CaptureStderr();
    ASSERT_TRUE(startUp(""));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("the ranking is not saved"), std::string::npos) << said;
    EXPECT_NE(said.find("palette tables"), std::string::npos) << said;
    ASSERT_TRUE(runPasses(30));
    EXPECT_TRUE(headless::messageBoxes().empty());

    insertIntoRanking(5);
    EXPECT_FALSE(saveRanking());
    EXPECT_TRUE(rankingSaveFailed());
    EXPECT_EQ(filesBelow(data_), installed);
}

TEST_F(InstalledGame, ThePlayersStageFilesAreOfferedAndPlayedFirst) {
    const fs::path own = home_ / "data/velta/stage";
    fs::create_directories(own);
    // A copy of the shipped stage under its own name and with its own clear
    // message, so that it can be told apart.
    std::string text = readTextFile(data_ / "stage/2_seasons.vtg");
    const size_t third = text.find('\n', text.find('\n') + 1) + 1;
    text.replace(third, text.find('\n', third) - third, "mine");
    writeTextFile(own / "2_SEASONS.vtg", text);
    writeTextFile(own / "mine.vtg", text);

    ASSERT_TRUE(startUp(""));
    ASSERT_TRUE(runPasses(2)); // the boot scene lists the stage files
    std::vector<std::string> names;
    for (const StageListEntry& entry : stageList)
        names.push_back(entry.fileName);
    EXPECT_EQ(names, (std::vector<std::string>{"2_SEASONS.VTG", "MINE.VTG"}));
    for (const std::string& name : names)
        EXPECT_EQ(readStageFile(name, 0).clearMessage, "mine\n") << name;
    EXPECT_NE(readStageFile("def.vtg", 0).clearMessage, "mine\n");
}

} // namespace
