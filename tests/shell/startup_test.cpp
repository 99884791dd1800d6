// The start-up sequence, the boot scene's choice of play mode and shutdown.
#include "core/random.h"
#include "platform/blit.h"
#include "platform/display.h"
#include "platform/headless/headless.h"
#include "platform/palette.h"
#include "platform/sheets.h"
#include "platform/virtual_keys.h"
#include "shell/scene_machine.h"
#include "shell/scenes.h"
#include "shell/startup.h"
#include "shell/window.h"
#include "support/game_folder_fixture.h"
#include "support/game_passes.h"
#include "world/player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

TEST(StartUp, LogsEveryStepInOrder) {
    GameFolderFixture game("startup-log");
    ASSERT_TRUE(startUp(""));
    EXPECT_EQ(startupLog(), "BITMAP LOADED.\nMIRROR SURFACE CREATED.\nSPRITES READY.\n"
                            "DIRECTSOUND READY.\nKBGM READY.\nINPUT DEVICE READY.\n"
                            "SOUNDS LOADED.\n\nWELCOME TO\nTARVELON\n");
    // NOW LOADING and one frame for each of the nine appends, no more.
    EXPECT_EQ(headless::framesShown(), 10u);
    // One second of loading screen and two half-second waits.
    EXPECT_GE(headless::now(), 2000u);
    EXPECT_TRUE(std::filesystem::exists(game.folder() / "palfile.dat"));
}

TEST(StartUp, TheWindowsOptionsComeFromConfigIni) {
    // clang-format off
    const struct {
        const char* config;
        int scale;
        bool fullscreen, border, vsync;
    } cases[] = {
        {"",                                                        0, false, false, true},
        {"[DISPLAY]\r\nSCALE=3\r\nFULLSCREEN=1\r\n",                3, true,  false, true},
        {"[display]\r\nborder=1\r\nvsync=0\r\n",                    0, false, true,  false},
        {"[DISPLAY]\r\nSCALE=17\r\nBORDER=0\r\nVSYNC=1\r\n",        0, false, false, true},
        {"[DISPLAY]\r\nSCALE=-2\r\n",                               0, false, false, true},
    };
    // clang-format on
    for (const auto& c : cases) {
        GameFolderFixture game("display-options");
        game.writeConfig(c.config);
        ASSERT_TRUE(startUp(""));
        const platform::DisplayOptions& options = headless::openedDisplayOptions();
        EXPECT_EQ(options.scale, c.scale) << c.config;
        EXPECT_EQ(options.fullscreen, c.fullscreen) << c.config;
        EXPECT_EQ(options.border, c.border) << c.config;
        EXPECT_EQ(options.vsync, c.vsync) << c.config;
    }
}

TEST(StartUp, DisplayFailureShowsTheErrorBoxAndEnds) {
    GameFolderFixture game("no-display");
    headless::setDisplayAvailable(false);
    EXPECT_EQ(runGame(""), 0);
    ASSERT_EQ(headless::messageBoxes().size(), 1u);
    EXPECT_EQ(headless::messageBoxes()[0].text, "Can't create DirectDraw Object");
    EXPECT_EQ(headless::messageBoxes()[0].caption, "error");
    EXPECT_EQ(headless::messageBoxes()[0].icon, platform::MessageIcon::None) << "MB_OK alone";
    EXPECT_EQ(headless::framesShown(), 0u);
}

TEST(StartUp, CloseRequestShutsDownAndQuits) {
    GameFolderFixture game("close");
    ASSERT_TRUE(startUp(""));
    ASSERT_TRUE(runPasses(3));
    headless::pushEvent({platform::EventType::Close, 0});
    EXPECT_FALSE(runPasses(1));
    EXPECT_FALSE(videoStarted());
}

TEST(BootScene, CommandLineChoosesThePlayMode) {
    const struct {
        const char* line;
        int mode;
        int scene;
        uint8_t withoutDying;
        uint8_t fade;
    } cases[] = {
        {"", PLAY_NORMAL, SCENE_LOGO, 0, FADE_IN},
        {"/D", PLAY_DEBUG, SCENE_TITLE, 0, FADE_IN},
        {"/Dfoo bar", PLAY_DEBUG, SCENE_TITLE, 0, FADE_IN},
        {"/d", PLAY_TEST, SCENE_GAMEPLAY, 1, FADE_NONE},
        {"05 00000480 __ed.vtg", PLAY_TEST, SCENE_GAMEPLAY, 1, FADE_NONE},
    };
    for (const auto& c : cases) {
        GameFolderFixture game("boot");
        ASSERT_TRUE(startUp(c.line)) << c.line;
        ASSERT_TRUE(runPasses(1)) << c.line;
        EXPECT_EQ(playMode, c.mode) << c.line;
        EXPECT_EQ(sceneNumber, c.scene) << c.line;
        EXPECT_EQ(withoutDyingSwitch, c.withoutDying) << c.line;
        EXPECT_EQ(fadeState, c.fade) << c.line;
        EXPECT_EQ(player.animator.line, LINE_ENTERING) << c.line;
    }
}

TEST(BootScene, TestPlayCommandLineFields) {
    const struct {
        const char* line;
        int stage, x;
        const char* file;
    } cases[] = {
        {"05 00000480 __ed.vtg", 5, 480, "__ed.vtg"},
        {"12 00000144 my stage.vtg", 12, 144, "my stage.vtg"},
        {" 3 -0000016 a.vtg", 3, -16, "a.vtg"},
        {"xx 0000abcd b.vtg", 0, 0, "b.vtg"},
        {"7", 7, 0, ""},
        {"0912345678", 9, 2345678, ""},
    };
    for (const auto& c : cases) {
        const TestPlayCommand command = parseTestPlayCommand(c.line);
        EXPECT_EQ(command.stageIndex, c.stage) << c.line;
        EXPECT_EQ(command.startX, c.x) << c.line;
        EXPECT_EQ(command.fileName, c.file) << c.line;
    }
    GameFolderFixture game("test-play");
    ASSERT_TRUE(startUp("05 00000480 __ed.vtg"));
    ASSERT_TRUE(runPasses(1));
    EXPECT_EQ(testPlayStartX, 480);
    EXPECT_DOUBLE_EQ(player.x, 480.0);
    EXPECT_DOUBLE_EQ(player.y, 48.0);
}

TEST(BootScene, UnusableJoystickShowsTheFatalErrorAndCloses) {
    GameFolderFixture game("joystick");
    game.writeConfig("[CONTROLLER]\r\nDEVICE=2\r\nID=0\r\n");
    ASSERT_TRUE(startUp(""));
    EXPECT_FALSE(runPasses(1));
    ASSERT_EQ(headless::messageBoxes().size(), 1u);
    EXPECT_EQ(headless::messageBoxes()[0].caption, "致命的なｴﾗｰ");
    EXPECT_EQ(headless::messageBoxes()[0].text,
              "入力ﾃﾞﾊﾞｲｽの初期化中にｴﾗｰが発生しました。設定を確認してください。");
    EXPECT_EQ(headless::messageBoxes()[0].icon, platform::MessageIcon::Error);
}

TEST(BootScene, GamePadsAndTheirMappingFilesJoinTheKeyboardOnly) {
    const struct {
        const char* config;
        bool pads;
    } cases[] = {
        {"", true},
        {"[CONTROLLER]\r\nDEVICE=1\r\n", true},
        {"[CONTROLLER]\r\nDEVICE=3\r\n", false},
    };
    for (const auto& c : cases) {
        GameFolderFixture game("pad-mappings");
        game.writeConfig(c.config);
        const std::string mappings = (game.folder() / "gamecontrollerdb.txt").string();
        writeTextFile(mappings, "# no pads yet\n");
        ASSERT_TRUE(startUp("")) << c.config;
        ASSERT_TRUE(runPasses(1)) << c.config;
        EXPECT_EQ(headless::padsUsed(), c.pads) << c.config;
        const std::vector<std::string>& read = headless::padMappingFiles();
        EXPECT_EQ(std::find(read.begin(), read.end(), mappings) != read.end(), c.pads) << c.config;
    }
}

TEST(WindowCreation, SeedsTheRandomSourceAndReadsF10) {
    GameFolderFixture game("window-create");
    headless::setCalendarSeconds(1);
    headless::setKey(VK_F10, true); // F10 held while the window appears
    ASSERT_TRUE(startUp(""));
    headless::setKey(VK_F10, false);
    EXPECT_TRUE(pageFlipMode());
    EXPECT_EQ(drawRandom(), 41); // the sequence of seed 1
    setPageFlipMode(false);
}

TEST(WindowActivation, ComingBackReloadsTheSheetsAndLogsAgain) {
    GameFolderFixture game("activation");
    ASSERT_TRUE(startUp("/D"));
    ASSERT_TRUE(runPasses(2));
    const std::string log = startupLog();
    // The first activation comes with the window itself and changes nothing.
    headless::pushEvent({platform::EventType::Activate, 0});
    ASSERT_TRUE(runPasses(1));
    EXPECT_EQ(startupLog(), log);
    headless::pushEvent({platform::EventType::Deactivate, 0});
    headless::pushEvent({platform::EventType::Activate, 0});
    ASSERT_TRUE(runPasses(1));
    EXPECT_EQ(startupLog(), log + "BITMAP LOADED.\nMIRROR SURFACE CREATED.\n");
    EXPECT_NE(sheetSurface(SHEET_SNAPSHOT), nullptr);
}
