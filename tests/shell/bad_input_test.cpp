// A game folder with files missing, empty or broken, or not writable: each
// gives what the game does without that file (a blank sheet, a silent effect,
// no music, an inactive enemy, an empty world, the start-up error box), and
// never a crash or a hang. Every run is a child process with a time limit.
#include "core/fades.h"
#include "platform/child_process.h"
#include "platform/display.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_audio.h"
#include "platform/input.h"
#include "platform/midi_file_check.h"
#include "platform/paths.h"
#include "platform/sheets.h"
#include "platform/sound.h"
#include "platform/virtual_keys.h"
#include "shell/ranking.h"
#include "shell/scene_machine.h"
#include "shell/scenes.h"
#include "shell/stage_flow.h"
#include "shell/stage_list.h"
#include "shell/startup.h"
#include "stage/stage_loader.h"
#include "support/game_folder_fixture.h"
#include "support/game_passes.h"
#include "support/stage_builder.h"
#include "world/player.h"
#include "world/world.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path FIXTURES = fs::path(VELTA_SOURCE_DIR) / "tests" / "platform" / "fixtures";
constexpr auto GAME_TIME_LIMIT = std::chrono::seconds(180);

// The main game: one stage with music, a block, ground, and an enemy (kind
// 0) kept between barriers, away from the player.
TestStageFile mainGame(const std::string& music = "def.mid") {
    TestStageFile file;
    TestStage stage;
    stage.music = music;
    stage.rows = {
        "                    ", "      ?             ", "                    ",
        "              | a | ", "####################",
    };
    file.stages = {stage};
    return file;
}

// A game folder with the game's own data and the main game above.
void makeGameFolder(GameFolderFixture& game) {
    game.useGameData();
    writeStageFile(game.folder() / "stage" / "def.vtg", mainGame());
}

bool sheetBlank(int sheet) {
    const Surface* surface = sheetSurface(sheet);
    return surface != nullptr && std::all_of(surface->pixels.begin(), surface->pixels.end(),
                                             [](uint8_t p) { return p == 0; });
}

// Boots in debug mode and plays the main game's stage as the title's "GAME
// START" does, jumping now and then; false when the game ended on the way.
bool bootAndPlay(int frames = 240) {
    if (!startUp("/D") || !runPasses(1)) return false;
    startGame("def.vtg");
    sceneNumber = SCENE_GAMEPLAY;
    startFadeIn();
    for (int i = 0; i < frames; ++i) {
        headless::setKey(VK_Z, i % 30 < 10);
        if (!framePass()) return false;
    }
    headless::setKey(VK_Z, false);
    return true;
}

enum class Outcome {
    Plays,           // everything there: the checks below all see the data
    Runs,            // no crash and no hang is all that is asked
    StartUpBox,      // the palette error box, and the game ends
    BlankSheet,      // the sheet of the case stays blank
    SilentEffect,    // the jump effect does not sound
    NoMusic,         // nothing plays
    InactiveEnemies, // the enemy is there but never acts
    EmptyWorld,      // the stage does not load
};

struct Damage {
    const char* what;
    std::function<void(const fs::path&)> apply;
    Outcome outcome;
    int sheet = SHEET_PLAYER;
};

void removeAll(const fs::path& path) {
    fs::remove_all(path);
}
void empty(const fs::path& path) {
    writeTextFile(path, "");
}
void garbage(const fs::path& path) {
    std::string bytes;
    for (int i = 0; i < 3000; ++i)
        bytes += char((i * 7919 + 13) % 256);
    writeTextFile(path, bytes);
}

// Says on stderr what differs from the outcome; true when nothing does.
bool showsOutcome(const Damage& damage) {
    std::vector<std::string> problems;
    auto expect = [&](bool holds, const char* what) {
        if (!holds) problems.push_back(what);
    };
    const Outcome outcome = damage.outcome;
    if (outcome == Outcome::StartUpBox) {
        expect(runGame("/D") == 0, "the game ends with 0");
        expect(!headless::messageBoxes().empty() &&
                   headless::messageBoxes()[0].text == "Can't load the palette picture pal.bmp" &&
                   headless::messageBoxes()[0].caption == "error",
               "the palette error box");
        expect(!videoStarted(), "the display is released");
    } else {
        expect(bootAndPlay(), "the game plays on");
        if (outcome != Outcome::Runs) {
            expect(sheetBlank(damage.sheet) == (outcome == Outcome::BlankSheet), "the sheet");
            playEffect(SE_JUMP);
            expect((effectStatus(SE_JUMP) == EFFECT_PLAYING) == (outcome != Outcome::SilentEffect),
                   "the jump effect");
            expect((headless::musicRecord().state == headless::MidiState::Playing) ==
                       (outcome != Outcome::NoMusic && outcome != Outcome::EmptyWorld),
                   "the music");
            expect(world.objects.empty() == (outcome == Outcome::EmptyWorld), "the objects");
            const bool anyActive = std::any_of(world.enemies.begin(), world.enemies.end(),
                                               [](const Enemy& e) { return e.active != 0; });
            expect(anyActive == (outcome == Outcome::Plays || outcome == Outcome::BlankSheet ||
                                 outcome == Outcome::SilentEffect || outcome == Outcome::NoMusic),
                   "the enemy acts");
            expect(world.enemies.empty() == (outcome == Outcome::EmptyWorld), "the enemy is there");
        }
    }
    for (const std::string& problem : problems)
        std::fprintf(stderr, "%s: not as expected: %s\n", damage.what, problem.c_str());
    return problems.empty();
}

TEST(BadInput, EachMissingOrBrokenFileGivesWhatTheGameDoesWithoutIt) {
    const fs::path fixtures = FIXTURES;
    auto copyOf = [fixtures](const char* fixture) {
        return [fixtures, fixture](const fs::path& path) {
            fs::copy_file(fixtures / fixture, path, fs::copy_options::overwrite_existing);
        };
    };
    const Damage cases[] = {
        {"nothing", [](const fs::path&) {}, Outcome::Plays},
        {"pal.bmp", removeAll, Outcome::StartUpBox},
        {"pal.bmp", empty, Outcome::StartUpBox},
        {"pal.bmp", garbage, Outcome::StartUpBox},
        {"chr.bmp", removeAll, Outcome::BlankSheet},
        {"chr.bmp", empty, Outcome::BlankSheet},
        {"chr.bmp", copyOf("bmp_40000x40000_header.bmp"), Outcome::BlankSheet},
        {"enemy.bmp", garbage, Outcome::BlankSheet, SHEET_ENEMY},
        {"se", removeAll, Outcome::SilentEffect},
        {"se/jump.wav", empty, Outcome::SilentEffect},
        {"se/jump.wav", garbage, Outcome::SilentEffect},
        {"bgm", removeAll, Outcome::NoMusic},
        {"bgm/def.mid", empty, Outcome::NoMusic},
        {"bgm/def.mid", copyOf("missing_track.mid"), Outcome::NoMusic},
        {"bgm/def.mid", copyOf("empty_track.mid"), Outcome::NoMusic},
        {"dat", removeAll, Outcome::InactiveEnemies},
        {"dat/e00.dat", empty, Outcome::InactiveEnemies},
        {"dat/e00.dat", garbage, Outcome::InactiveEnemies},
        {"stage", removeAll, Outcome::EmptyWorld},
        {"stage/def.vtg", empty, Outcome::EmptyWorld},
        {"stage/def.vtg", garbage, Outcome::Runs},
        {"stage/def.vtg",
         [](const fs::path& path) {
             const std::string text = readTextFile(path);
             writeTextFile(path, text.substr(0, text.size() * 2 / 3));
         },
         Outcome::Runs},
        // The stage's music line naming a FIFO beside the music, or a device.
        {"stage/def.vtg",
         [](const fs::path& path) {
             mkfifo((path.parent_path().parent_path() / "fifo").c_str(), 0644);
             writeStageFile(path, mainGame("..\\fifo"));
         },
         Outcome::NoMusic},
        {"stage/def.vtg",
         [](const fs::path& path) {
             writeStageFile(path, mainGame("..\\..\\..\\..\\..\\..\\..\\..\\dev\\stdin"));
         },
         Outcome::NoMusic},
    };
    for (const Damage& damage : cases) {
        GameFolderFixture game("bad-input");
        makeGameFolder(game);
        damage.apply(game.folder() / damage.what);
        const ChildEnd end = runInChild(GAME_TIME_LIMIT, [&] { return showsOutcome(damage); });
        EXPECT_EQ(end, ChildEnd::Passed) << damage.what << ", outcome " << int(damage.outcome);
    }
}

TEST(BadInput, TheGamesOwnTunesAreLoopable) {
    int tunes = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(VELTA_DIST_DIR) / "bgm")) {
        EXPECT_TRUE(midiFileLoopable(readTextFile(entry.path()))) << entry.path();
        ++tunes;
    }
    EXPECT_GT(tunes, 0);
}

// A test play that fails leaves the editor's file behind in the stage folder.
TEST(BadInput, TheEditorsTestPlayFileIsNeverListed) {
    GameFolderFixture game("test-play-file");
    for (const char* name : {"__ed.vtg", "__ED.VTG", "__Ed.vtg", "extra.vtg"})
        writeStageFile(game.folder() / "stage" / name, mainGame());
    buildStageList();
    ASSERT_EQ(stageList.size(), 1u);
    EXPECT_EQ(stageList[0].fileName, "EXTRA.VTG");
}

std::string tenMegabytesOfNotes() {
    std::string text = "[NOTES]\r\n";
    while (text.size() < 10u * 1024 * 1024)
        text += "; a line of notes that the player keeps in the settings file\r\n";
    return text;
}

// Whatever config.ini holds, the game starts with what it can read of it and
// keeps every byte of it when the ranking is written back.
TEST(BadInput, SettingsFilesOfAnyShapeReadAsFarAsTheyGoAndLoseNothing) {
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += char(i % 251 == '[' ? ' ' : i % 251);
    const std::string notes = tenMegabytesOfNotes();
    const struct {
        const char* what;
        std::string text;
        size_t ranked;    // entries loaded
        std::string kept; // still in the file after the save
    } cases[] = {
        {"garbage", binary, 0, binary},
        {"huge numbers",
         "[CONTROLLER]\r\nUP=99999999999999999999\r\n[RANKING]\r\n"
         "0=99999999999999999999 SHMXSQ\r\n1=123456 FUIQHU\r\n",
         1, "UP=99999999999999999999\r\n"},
        {"no final line end", "[RANKING]\r\n0=123456 FUIQHU", 1, "0=123456 FUIQHU\r\n"},
        {"ten megabytes", notes + "[RANKING]\r\n0=123456 FUIQHU\r\n", 1, notes},
    };
    for (const auto& c : cases) {
        GameFolderFixture game("settings-shapes");
        game.writeConfig(c.text);
        const ChildEnd end = runInChild(GAME_TIME_LIMIT, [&] {
            if (!startUp("/D") || !runPasses(1)) return false;
            const bool read = input.device() == 1 && input.code(BUTTON_DOWN) == VK_DOWN &&
                              rankingTable.size() == c.ranked;
            insertIntoRanking(500);
            const bool saved = saveRanking() && !rankingSaveFailed();
            if (!read || !saved)
                std::fprintf(stderr, "%s: read %d, saved %d\n", c.what, read, saved);
            return read && saved;
        });
        EXPECT_EQ(end, ChildEnd::Passed) << c.what;
        const std::string after = readTextFile(game.folder() / "config.ini");
        EXPECT_NE(after.find(c.kept), std::string::npos) << c.what;
        EXPECT_NE(after.find("=500 "), std::string::npos) << c.what;
    }
}

// Whether the last frame shows "RANKING NOT SAVED" under the ranking, in the
// sprite font: anything but the background there.
bool notSavedLineShown() {
    const auto& shown = headless::lastFrameIndices();
    for (int y = 150; y < 158; ++y)
        for (int x = 76; x < 76 + 17 * 8; ++x)
            if (shown[size_t(VIEW_Y + y) * DISPLAY_WIDTH + size_t(VIEW_X + x)] != CLEAR_ENDING)
                return true;
    return false;
}

// A settings file the game cannot read is never replaced; the ranking
// screen says that the ranking was not saved.
TEST(BadInput, AnUnreadableSettingsFileIsKeptAndTheRankingScreenSaysSo) {
    for (const bool fifo : {false, true}) {
        GameFolderFixture game("settings-unreadable");
        game.useGameData();
        const fs::path config = game.folder() / "config.ini";
        if (fifo)
            mkfifo(config.c_str(), 0644);
        else
            fs::create_directory(config);
        const ChildEnd end = runInChild(GAME_TIME_LIMIT, [&] {
            if (!startUp("/D") || !runPasses(1)) return false;
            sceneNumber = SCENE_RANKING;
            startFadeIn();
            if (!runPassesUntil([] { return fadeState == FADE_NONE; }) || notSavedLineShown()) {
                std::fprintf(stderr, "a line under the ranking before any save\n");
                return false;
            }
            insertIntoRanking(500);
            if (saveRanking() || !rankingSaveFailed() || !runPasses(1)) return false;
            if (!notSavedLineShown()) std::fprintf(stderr, "no line under the ranking\n");
            return notSavedLineShown();
        });
        EXPECT_EQ(end, ChildEnd::Passed) << (fifo ? "a FIFO" : "a folder");
        EXPECT_EQ(fs::is_fifo(config), fifo);
        EXPECT_EQ(fs::is_directory(config), !fifo);
    }
}

// Sets an environment variable for the lifetime of the object.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    const char* name_;
    std::optional<std::string> old_;
};

// The game folder read-only (a game unpacked where the player cannot write):
// it still plays and never writes its folder. Its settings, ranking and
// palette tables go to the player's own folders; when those cannot be made
// either, it builds the palette tables at every start and says that the
// ranking is not saved.
TEST(BadInput, AReadOnlyGameFolderStillPlays) {
    for (const bool playerFoldersWritable : {true, false}) {
        GameFolderFixture game("read-only-folder");
        makeGameFolder(game);
        const fs::path folder = game.folder();
        const std::string config = "[RANKING]\r\n0=123456 FUIQHU\r\n";
        game.writeConfig(config);
        const fs::path home = makeTempFolder("read-only-folder-home");
        writeTextFile(home / "file", "not a folder");
        const fs::path base = playerFoldersWritable ? home : home / "file";
        const ScopedVariable configHome("XDG_CONFIG_HOME", (base / "config").string());
        const ScopedVariable cacheHome("XDG_CACHE_HOME", (base / "cache").string());
        const ScopedVariable dataHome("XDG_DATA_HOME", (base / "data").string());
        if (!folderCanBeMadeReadOnly(folder)) GTEST_SKIP() << "no way to make a folder read-only";
        for (int start = 0; start < 2; ++start) {
            const ChildEnd end = runInChild(GAME_TIME_LIMIT, [&] {
                if (!makeFolderReadOnly(folder)) return false;
                if (!bootAndPlay(120)) return false;
                player.score = 400;
                world.clearedFlag = 1;
                finishStage(StageEnd::ClearStage);
                const bool asExpected = sceneNumber == SCENE_ENDING && world.newHighScoreFlag &&
                                        rankingSaveFailed() != playerFoldersWritable;
                if (!asExpected)
                    std::fprintf(stderr, "ending %d, saved %d\n", sceneNumber,
                                 !rankingSaveFailed());
                return asExpected;
            });
            restoreFolder(folder);
            EXPECT_EQ(end, ChildEnd::Passed)
                << "player's folders writable " << playerFoldersWritable;
        }
        EXPECT_FALSE(fs::exists(folder / "palfile.dat"));
        EXPECT_EQ(readTextFile(folder / "config.ini"), config) << "the game folder's own is left";
        if (playerFoldersWritable) {
            const std::string saved = readTextFile(home / "config/velta/config.ini");
            EXPECT_NE(saved.find("\r\n1="), std::string::npos)
                << "both games' scores, saved in the player's config.ini:\n"
                << saved;
            EXPECT_EQ(fs::file_size(home / "cache/velta/palfile.dat"), 39552u);
        }
    }
}

} // namespace
