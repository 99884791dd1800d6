#include "platform/game_folders.h"

#include "platform/paths.h"

#include "support/fixture_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace {

namespace fs = std::filesystem;

// Sets environment variables for one test and puts the old values back.
class Environment {
  public:
    ~Environment() {
        for (const auto& [name, value] : saved_) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
    }
    void set(const std::string& name, const char* value) {
        if (!saved_.count(name)) {
            const char* old = std::getenv(name.c_str());
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        if (value)
            setenv(name.c_str(), value, 1);
        else
            unsetenv(name.c_str());
    }

  private:
    std::map<std::string, std::optional<std::string>> saved_;
};

// A portable game folder (data beside the program) and an installed tree
// (programs in games/, data in share/games/velta/) side by side.
class GameFolderLayouts : public testing::Test {
  protected:
    void SetUp() override {
        root_ = makeTempFolder("layouts").string() + "/";
        fs::create_directories(root_ + "portable");
        writeTextFile(root_ + "portable/pal.bmp", "palette");
        fs::create_directories(root_ + "prefix/games");
        fs::create_directories(root_ + "prefix/share/games/velta/stage");
        writeTextFile(root_ + "prefix/share/games/velta/pal.bmp", "palette");
        fs::create_directories(root_ + "empty");
    }
    void TearDown() override {
        useGameFolders(gameFoldersFor("./", true, {}));
        fs::remove_all(root_);
    }

    UserBaseFolders bases() const {
        return {root_ + "home/config/", root_ + "home/cache/", root_ + "home/data/"};
    }

    std::string root_;
};

TEST_F(GameFolderLayouts, TheDataIsBesideTheProgramOrWhereTheInstallPutIt) {
    const struct {
        const char* program;
        const char* data;
    } cases[] = {
        {"portable/velta", "portable/"},
        {"prefix/games/velta", "prefix/games/../share/games/velta/"},
        {"prefix/games/velta-replay", "prefix/games/../share/games/velta/"},
        // Neither holds data: the program's own folder, where the game
        // then reports the missing palette picture.
        {"empty/velta", "empty/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dataFolderOf(root_ + c.program), root_ + c.data) << c.program;
}

TEST_F(GameFolderLayouts, AWritableGameFolderKeepsEverythingBesideTheGame) {
    const GameFolders folders = chooseGameFolders(root_ + "portable/velta", bases());
    EXPECT_TRUE(folders.portable);
    EXPECT_EQ(folders.game, root_ + "portable/");
    EXPECT_EQ(folders.settingsFile, root_ + "portable/config.ini");
    EXPECT_EQ(folders.paletteTableFile, "palfile.dat") << "opened from the game folder";
    EXPECT_EQ(folders.userStages, "");
}

TEST_F(GameFolderLayouts, AnInstalledGameWritesOnlyIntoThePlayersFolders) {
    // Also when the install could be written (root, a prefix of one's own):
    // the install's folder is never the place for the player's files.
    const GameFolders installed = chooseGameFolders(root_ + "prefix/games/velta", bases());
    // A game folder that cannot be written (a copy on read-only media).
    const GameFolders readOnly = gameFoldersFor(root_ + "portable", false, bases());
    for (const GameFolders& folders : {installed, readOnly}) {
        EXPECT_FALSE(folders.portable);
        EXPECT_EQ(folders.settingsFile, root_ + "home/config/velta/config.ini");
        EXPECT_EQ(folders.paletteTableFile, root_ + "home/cache/velta/palfile.dat");
        EXPECT_EQ(folders.userStages, root_ + "home/data/velta/stage/");
    }
    EXPECT_EQ(installed.game, root_ + "prefix/games/../share/games/velta/");
    EXPECT_EQ(readOnly.game, root_ + "portable/");
}

TEST_F(GameFolderLayouts, UnknownPlayerFoldersLeaveNothingToWrite) {
    const GameFolders folders = chooseGameFolders(root_ + "prefix/games/velta", {});
    EXPECT_FALSE(folders.portable);
    EXPECT_EQ(folders.settingsFile, "");
    EXPECT_EQ(folders.paletteTableFile, "");
    EXPECT_EQ(folders.userStages, "");
}

TEST(UserBaseFolders, FollowTheXdgVariablesOrTheHomeFolder) {
    const struct {
        const char* configHome;
        const char* home;
        const char* config;
        const char* cache; // XDG_CACHE_HOME is unset throughout
    } cases[] = {
        {"/x/config", "/home/p", "/x/config/", "/home/p/.cache/"},
        {"/x/config/", "/home/p/", "/x/config/", "/home/p/.cache/"},
        // Unset, empty or relative: as if not set.
        {nullptr, "/home/p", "/home/p/.config/", "/home/p/.cache/"},
        {"", "/home/p", "/home/p/.config/", "/home/p/.cache/"},
        {"relative/config", "/home/p", "/home/p/.config/", "/home/p/.cache/"},
    };
    for (const auto& c : cases) {
        Environment environment;
        environment.set("XDG_CONFIG_HOME", c.configHome);
        environment.set("XDG_CACHE_HOME", nullptr);
        environment.set("XDG_DATA_HOME", "/x/data");
        environment.set("HOME", c.home);
        const UserBaseFolders bases = userBaseFoldersFromEnvironment();
        const char* shown = c.configHome ? c.configHome : "(unset)";
        EXPECT_EQ(bases.config, c.config) << shown;
        EXPECT_EQ(bases.cache, c.cache) << shown;
        EXPECT_EQ(bases.data, "/x/data/") << shown;
    }
}

TEST_F(GameFolderLayouts, PreparingMakesThePlayersFoldersAndEntersTheGameFolder) {
    const CurrentFolder here(root_ + "empty");
    useGameFolders(chooseGameFolders(root_ + "prefix/games/velta", bases()));
    EXPECT_EQ(prepareGameFolders(), 0);
    EXPECT_TRUE(fs::is_directory(root_ + "home/config/velta"));
    EXPECT_TRUE(fs::is_directory(root_ + "home/cache/velta"));
    EXPECT_EQ(fs::current_path(), fs::canonical(root_ + "prefix/share/games/velta"));
}

TEST_F(GameFolderLayouts, FoldersThatCannotBeMadeAreReportedWithWhatIsLost) {
    const CurrentFolder here(root_ + "empty");
    writeTextFile(root_ + "home", "a file where the home folder should be");
    useGameFolders(chooseGameFolders(root_ + "prefix/games/velta", bases()));
    testing::internal::CaptureStderr();
    EXPECT_EQ(prepareGameFolders(), 2);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("cannot create the folder " + root_ + "home/config/velta/"),
              std::string::npos)
        << said;
    EXPECT_NE(said.find("the ranking is not saved"), std::string::npos) << said;
    EXPECT_NE(said.find("cannot create the folder " + root_ + "home/cache/velta/"),
              std::string::npos)
        << said;

    useGameFolders(chooseGameFolders(root_ + "prefix/games/velta", {}));
    testing::internal::CaptureStderr();
    EXPECT_EQ(prepareGameFolders(), 2);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("no home folder"), std::string::npos);
}

TEST_F(GameFolderLayouts, ThePlayersStageFileOfTheSameNameWins) {
    const std::string shipped = root_ + "prefix/games/../share/games/velta/stage/";
    const std::string own = root_ + "home/data/velta/stage/";
    fs::create_directories(own);
    for (const char* name : {"def.vtg", "1_training.vtg", "2_seasons.vtg"})
        writeTextFile(shipped + name, "shipped");
    for (const char* name : {"def.vtg", "1_Training.vtg", "mine.vtg", "__ed.vtg"})
        writeTextFile(own + name, "own");
    useGameFolders(chooseGameFolders(root_ + "prefix/games/velta", bases()));

    const struct {
        const char* name;
        std::string expected;
    } cases[] = {
        {"1_TRAINING.VTG", own + "1_Training.vtg"}, // the stage list's capitals
        {"2_SEASONS.VTG", shipped + "2_SEASONS.VTG"},
        {"MINE.VTG", own + "mine.vtg"},
        {"__ed.vtg", own + "__ed.vtg"}, // the editor's test play
        {"def.vtg", shipped + "def.vtg"},
        {"missing.vtg", shipped + "missing.vtg"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(stageFilePath(c.name), c.expected) << c.name;

    // The portable layout has one stage folder.
    useGameFolders(chooseGameFolders(root_ + "portable/velta", bases()));
    EXPECT_EQ(stageFilePath("MINE.VTG"), root_ + "portable/stage/MINE.VTG");
}

} // namespace
