#include "platform/paths.h"

#include "platform/headless/headless.h"

#include "support/fixture_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

class GameFolderPaths : public testing::Test {
  protected:
    void SetUp() override {
        folder_ = makeTempFolder("paths").string() + "/";
        fs::create_directories(folder_ + "Stage");
        fs::create_directories(folder_ + "bgm");
        std::ofstream(folder_ + "Stage/Def.vtg") << "stage";
        std::ofstream(folder_ + "bgm/title.mid") << "music";
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string folder_;
};

TEST_F(GameFolderPaths, ResolvesWindowsNamesToExistingEntries) {
    const struct {
        const char* name;     // below the fixture folder
        const char* expected; // below the fixture folder
    } cases[] = {
        {"Stage/Def.vtg", "Stage/Def.vtg"},
        {"stage\\def.vtg", "Stage/Def.vtg"},
        {"STAGE\\\\DEF.VTG", "Stage/Def.vtg"},
        {"stage//Def.VTG", "Stage/Def.vtg"},
        {"BGM\\TITLE.MID", "bgm/title.mid"},
        {"stage\\", "Stage/"},
        // Missing files keep their spelling below the folders that were found,
        // so a file about to be written lands in the existing folder.
        {"stage\\new.vtg", "Stage/new.vtg"},
        {"nothing\\here.txt", "nothing/here.txt"},
        {"stage\\..\\BGM\\title.mid", "Stage/../bgm/title.mid"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(resolvePath(folder_ + c.name), folder_ + c.expected) << c.name;
}

TEST_F(GameFolderPaths, LeavesPlainNamesAlone) {
    EXPECT_EQ(resolvePath(""), "");
    EXPECT_EQ(resolvePath("\\\\a\\\\b"), "/a/b");
}

TEST_F(GameFolderPaths, PicksTheSmallestNameWhenSeveralDifferOnlyInCase) {
    std::ofstream(folder_ + "bgm/b.MID") << "upper";
    std::ofstream(folder_ + "bgm/B.mid") << "lower";
    EXPECT_EQ(resolvePath(folder_ + "bgm/b.Mid"), folder_ + "bgm/B.mid");
}

TEST_F(GameFolderPaths, OpenFileReadsThroughTheResolvedName) {
    FILE* file = openFile(folder_ + "STAGE\\DEF.VTG", "rb");
    ASSERT_NE(file, nullptr);
    char text[16] = {};
    EXPECT_EQ(std::fread(text, 1, sizeof text - 1, file), 5u);
    std::fclose(file);
    EXPECT_STREQ(text, "stage");
    EXPECT_EQ(openFile(folder_ + "stage\\absent.vtg", "rb"), nullptr);
}

TEST_F(GameFolderPaths, GameFolderIsTheExecutablesFolderWithItsSeparator) {
    setGameFolderFromExecutable(folder_ + "velta");
    EXPECT_EQ(gameFolder(), folder_);
    setGameFolderFromExecutable("/velta");
    EXPECT_EQ(gameFolder(), "/");
    setGameFolderFromExecutable("velta");
    EXPECT_EQ(gameFolder(), "./");
}

} // namespace
