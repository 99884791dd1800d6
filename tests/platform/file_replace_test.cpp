// Files the game writes (config.ini, palfile.dat) under a full disk, in a
// folder it may not write to, and made read-only by the player.
#include "platform/child_process.h"
#include "platform/palette.h"
#include "platform/profile.h"

#include "support/fixture_files.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <string>

namespace {

namespace fs = std::filesystem;

// A "disk" that takes no file beyond the given size, for the child alone.
void limitFileSize(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN); // the write fails with EFBIG instead
    const rlimit limit{bytes, bytes};
    setrlimit(RLIMIT_FSIZE, &limit);
}

size_t entriesIn(const fs::path& folder) {
    return size_t(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

class FileReplace : public testing::Test {
  protected:
    void SetUp() override {
        folder = makeTempFolder("file-replace");
        config = folder / "config.ini";
        writeTextFile(config, OLD_TEXT);
    }
    void TearDown() override {
        restoreFolder(folder);
        fs::remove_all(folder);
    }

    // A few kilobytes, so that the file is not rewritten within one block.
    const std::string OLD_TEXT =
        "[RANKING]\r\n0=123456 FUIQHU\r\n[NOTES]\r\n" + std::string(3000, 'n') + "\r\n";
    fs::path folder;
    fs::path config;
};

TEST_F(FileReplace, AFullDiskLeavesTheOldSettingsFileWhole) {
    const ChildEnd end = runInChild(std::chrono::seconds(20), [&] {
        limitFileSize(1024);
        return !profileWriteString(config.string(), "RANKING", "1", "999999 SHMXSQ");
    });
    EXPECT_EQ(end, ChildEnd::Passed);
    EXPECT_EQ(readTextFile(config), OLD_TEXT);
    EXPECT_EQ(entriesIn(folder), 1u) << "no temporary file left behind";
}

TEST_F(FileReplace, AReadOnlySettingsFileIsNeverReplaced) {
    ASSERT_EQ(chmod(config.c_str(), 0444), 0);
    EXPECT_FALSE(profileWriteString(config.string(), "RANKING", "1", "999999 SHMXSQ"));
    EXPECT_EQ(readTextFile(config), OLD_TEXT);
    struct stat info;
    ASSERT_EQ(stat(config.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0444u);
}

// The folder of the game may be one the player cannot write to while the
// settings file in it is theirs to change.
TEST_F(FileReplace, AFolderThatCannotBeWrittenHasTheFileRewrittenInPlace) {
    if (!folderCanBeMadeReadOnly(folder)) GTEST_SKIP() << "no way to make a folder read-only here";
    const ChildEnd end = runInChild(std::chrono::seconds(20), [&] {
        if (!makeFolderReadOnly(folder, config)) return false;
        const bool saved = profileWriteString(config.string(), "RANKING", "1", "999999 SHMXSQ");
        const bool created = profileWriteString((folder / "new.ini").string(), "A", "B", "1");
        return saved && !created;
    });
    restoreFolder(folder);
    EXPECT_EQ(end, ChildEnd::Passed);
    EXPECT_EQ(readTextFile(config),
              "[RANKING]\r\n0=123456 FUIQHU\r\n1=999999 SHMXSQ\r\n[NOTES]\r\n" +
                  std::string(3000, 'n') + "\r\n");
    EXPECT_EQ(entriesIn(folder), 1u);
}

// Rewriting in place claims the room first: a full disk then fails before
// the file is touched.
TEST_F(FileReplace, AFullDiskLeavesTheFileWholeWhenItIsRewrittenInPlace) {
    if (!folderCanBeMadeReadOnly(folder)) GTEST_SKIP() << "no way to make a folder read-only here";
    const ChildEnd end = runInChild(std::chrono::seconds(20), [&] {
        if (!makeFolderReadOnly(folder, config)) return false;
        limitFileSize(OLD_TEXT.size() + 4);
        return !profileWriteString(config.string(), "RANKING", "1", "999999 SHMXSQ");
    });
    restoreFolder(folder);
    EXPECT_EQ(end, ChildEnd::Passed);
    EXPECT_EQ(readTextFile(config), OLD_TEXT);
}

class PaletteTableFile : public testing::Test {
  protected:
    void SetUp() override {
        folder = makeTempFolder("palette-table-file");
        writeIndexedBmp(folder / "pal.bmp", 4, 4, testPalette(), std::vector<uint8_t>(16, 1));
        here = std::make_unique<CurrentFolder>(folder);
    }
    void TearDown() override {
        here.reset();
        restoreFolder(folder);
        fs::remove_all(folder);
    }
    fs::path folder;
    std::unique_ptr<CurrentFolder> here;
};

// A short table file would be taken as no file at the next start, but it
// is still a broken file; the tables are written whole or not at all.
TEST_F(PaletteTableFile, AFullDiskNeverLeavesAShortTableFile) {
    const ChildEnd end = runInChild(std::chrono::seconds(60), [&] {
        limitFileSize(10000);
        return loadPalette("pal.bmp", "palfile.dat") == 1 && paletteTables.blend[5][5] == 5;
    });
    EXPECT_EQ(end, ChildEnd::Passed);
    EXPECT_FALSE(fs::exists(folder / "palfile.dat"));
    EXPECT_EQ(entriesIn(folder), 1u) << "no temporary file left behind";
}

TEST_F(PaletteTableFile, AFolderThatCannotBeWrittenHasTheTablesBuiltAtEachStart) {
    if (!folderCanBeMadeReadOnly(folder)) GTEST_SKIP() << "no way to make a folder read-only here";
    for (int start = 0; start < 2; ++start) {
        const ChildEnd end = runInChild(std::chrono::seconds(60), [&] {
            if (!makeFolderReadOnly(folder)) return false;
            return loadPalette("pal.bmp", "palfile.dat") == 1 && paletteTables.blend[5][5] == 5 &&
                   paletteTables.blend[3][9] == paletteTables.blend[9][3];
        });
        restoreFolder(folder);
        EXPECT_EQ(end, ChildEnd::Passed) << "start " << start;
    }
    EXPECT_FALSE(fs::exists(folder / "palfile.dat"));
}

// Whatever stands where the table file should be, the start neither waits
// nor takes it for tables: they are built afresh.
TEST_F(PaletteTableFile, AnythingButAWholeTableFileHasTheTablesBuilt) {
    const struct {
        const char* what;
        std::function<void(const fs::path&)> make;
    } cases[] = {
        {"a FIFO", [](const fs::path& p) { ASSERT_EQ(mkfifo(p.c_str(), 0644), 0); }},
        {"a folder", [](const fs::path& p) { fs::create_directory(p); }},
        {"a short file", [](const fs::path& p) { writeTextFile(p, std::string(1000, '\x07')); }},
    };
    for (const auto& c : cases) {
        const fs::path table = folder / "palfile.dat";
        c.make(table);
        const ChildEnd end = runInChild(std::chrono::seconds(20), [&] {
            return loadPalette("pal.bmp", "palfile.dat") == 1 && paletteTables.blend[5][5] == 5 &&
                   paletteTables.blend[3][9] == paletteTables.blend[9][3];
        });
        EXPECT_EQ(end, ChildEnd::Passed) << c.what;
        fs::remove_all(table);
    }
}

} // namespace
