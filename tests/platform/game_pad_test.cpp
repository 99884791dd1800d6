// Game pads beside the keyboard: which logical buttons a pad holds, when pads
// count at all, and which mapping files the game reads.
#include "platform/input.h"

#include "platform/headless/headless.h"
#include "platform/virtual_keys.h"

#include "support/fixture_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using platform::PadState;

class GamePad : public testing::Test {
  protected:
    void SetUp() override {
        folder_ = makeTempFolder("pads");
        headless::resetAll();
        input.reset();
        input.enterDefaultButtons();
    }
    void TearDown() override {
        headless::resetAll();
        input.reset();
        fs::remove_all(folder_);
    }

    bool readSettings(const std::string& controllerSection) {
        const fs::path path = folder_ / "config.ini";
        writeTextFile(path, "[CONTROLLER]\r\n" + controllerSection);
        return input.readSettings(path.string());
    }

    // The logical buttons held after one update from all up, as "UDLRPABC"
    // letters.
    std::string heldAfterFirstUpdate() {
        input.update();
        std::string held;
        for (int i = 0; i < 8; ++i)
            if (input.state(i) == STATE_PRESSED) held += "UDLRPABC"[i];
        return held;
    }

    fs::path folder_;
};

TEST_F(GamePad, PadButtonsAndStickPressLogicalButtons) {
    constexpr int16_t EDGE = PAD_STICK_DEAD_ZONE;
    // clang-format off
    const struct {
        const char* what;
        std::vector<PadState> pads;
        std::string held;
    } cases[] = {
        {"nothing", {{}}, ""},
        {"d-pad", {{platform::PAD_DPAD_UP | platform::PAD_DPAD_LEFT}}, "UL"},
        {"d-pad down and right", {{platform::PAD_DPAD_DOWN | platform::PAD_DPAD_RIGHT}}, "DR"},
        {"south jumps", {{platform::PAD_SOUTH}}, "B"},
        {"west throws", {{platform::PAD_WEST}}, "A"},
        {"east dashes", {{platform::PAD_EAST}}, "C"},
        {"left shoulder dashes", {{platform::PAD_LEFT_SHOULDER}}, "C"},
        {"right shoulder dashes", {{platform::PAD_RIGHT_SHOULDER}}, "C"},
        {"start pauses", {{platform::PAD_START}}, "P"},
        {"north and back press no button", {{platform::PAD_NORTH | platform::PAD_BACK}}, ""},
        {"stick inside the dead zone", {{0, EDGE, int16_t(-EDGE)}}, ""},
        {"stick just past the dead zone", {{0, int16_t(EDGE + 1), int16_t(-EDGE - 1)}}, "UR"},
        {"stick at its edges", {{0, -32768, 32767}}, "DL"},
        {"two pads add up", {{platform::PAD_SOUTH}, {0, -32768, 0}}, "LB"},
        {"two sticks apart press both ways", {{0, -32768, 0}, {0, 32767, 0}}, "LR"},
    };
    // clang-format on
    for (const auto& c : cases) {
        headless::resetAll();
        input.reset();
        input.enterDefaultButtons();
        ASSERT_TRUE(readSettings(""));
        for (size_t i = 0; i < c.pads.size(); ++i)
            headless::setPad(int(i), c.pads[i]);
        EXPECT_EQ(heldAfterFirstUpdate(), c.held) << c.what;
    }
}

TEST_F(GamePad, OnlyTheKeyboardDeviceTakesPads) {
    const struct {
        const char* section;
        bool pads;
    } cases[] = {
        {"", true},
        {"DEVICE=1\r\n", true},
        {"DEVICE=2\r\n", false},
        {"DEVICE=2\r\nA=1\r\nB=2\r\n", false},
        {"DEVICE=3\r\n", false},
    };
    for (const auto& c : cases) {
        headless::resetAll();
        input.reset();
        input.enterDefaultButtons();
        headless::setJoystick(0, true, {65535, 65535});
        headless::setJoystickSample(0, {32768, 32768, 0});
        headless::setPad(0, {platform::PAD_SOUTH | platform::PAD_WEST | platform::PAD_DPAD_UP});
        ASSERT_TRUE(readSettings(c.section)) << c.section;
        EXPECT_EQ(headless::padsUsed(), c.pads) << c.section;
        EXPECT_EQ(heldAfterFirstUpdate(), c.pads ? "UAB" : "") << c.section;
    }
}

TEST_F(GamePad, KeyboardAndPadHoldTheSameButtonTogether) {
    ASSERT_TRUE(readSettings(""));
    const struct {
        bool key;
        bool pad;
        int state;
    } steps[] = {
        {true, false, STATE_PRESSED},   {true, true, STATE_HELD}, {false, true, STATE_HELD},
        {false, false, STATE_RELEASED}, {false, true, STATE_UP},  {false, true, STATE_PRESSED},
    };
    for (const auto& step : steps) {
        headless::setKey(VK_X, step.key);
        headless::setPad(0, {step.pad ? uint32_t(platform::PAD_SOUTH) : 0u});
        input.update();
        EXPECT_EQ(input.state(BUTTON_B), step.state) << "key " << step.key << " pad " << step.pad;
    }
}

TEST_F(GamePad, UnpluggedPadReleasesWhatItHeld) {
    ASSERT_TRUE(readSettings(""));
    headless::setPad(3, {platform::PAD_EAST, 32767, 0});
    input.update();
    input.update();
    ASSERT_EQ(input.state(BUTTON_C), STATE_HELD);
    ASSERT_EQ(input.state(BUTTON_RIGHT), STATE_HELD);
    headless::removePad(3);
    input.update();
    EXPECT_EQ(input.state(BUTTON_C), STATE_RELEASED);
    EXPECT_EQ(input.state(BUTTON_RIGHT), STATE_RELEASED);
}

TEST(GamePadMappingFiles, GameFolderThenThePlayersConfigFolder) {
    const UserBaseFolders bases{"/home/p/.config/", "/home/p/.cache/", "/home/p/.local/share/"};
    const UserBaseFolders noHome{};
    const struct {
        GameFolders folders;
        const UserBaseFolders& bases;
        std::vector<std::string> files;
    } cases[] = {
        {gameFoldersFor("/games/velta", true, bases),
         bases,
         {"/games/velta/gamecontrollerdb.txt", "/home/p/.config/velta/gamecontrollerdb.txt"}},
        {gameFoldersFor("/usr/share/games/velta/", false, bases),
         bases,
         {"/usr/share/games/velta/gamecontrollerdb.txt",
          "/home/p/.config/velta/gamecontrollerdb.txt"}},
        {gameFoldersFor("/games/velta/", true, noHome),
         noHome,
         {"/games/velta/gamecontrollerdb.txt"}},
        {gameFoldersFor("/home/p/.config/velta/", true, bases),
         bases,
         {"/home/p/.config/velta/gamecontrollerdb.txt"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(padMappingFiles(c.folders, c.bases), c.files) << c.folders.game;
}

TEST_F(GamePad, MappingFilesThatAreBrokenAreReportedAndNotUsed) {
    const std::string guid = "03000000de280000ff11000001000000";
    const std::string good = guid + ",A pad,a:b0,b:b1,leftx:a0,lefty:a1,platform:Linux,";
    const struct {
        const char* what;
        std::string text; // empty: a folder of that name
        bool used;
    } cases[] = {
        {"mappings, comments and blank lines", "# pads\r\n\r\n  \n" + good + "\r\n" + good, true},
        {"mapping without a final comma", good.substr(0, good.size() - 1) + "\n", true},
        {"a line of text", good + "\nnot a mapping at all\n", false},
        {"short GUID", guid.substr(1) + ",A pad,a:b0,platform:Linux,\n", false},
        {"GUID that is no hexadecimal", "z" + guid.substr(1) + ",A pad,a:b0,\n", false},
        {"no name", guid + "\n", false},
        {"no field", guid + ",A pad,\n", false},
        {"field without a key", guid + ",A pad,:b0,\n", false},
        {"control bytes", guid + ",A pad,a:b0" + std::string(1, '\0') + ",\n", false},
        {"a folder", "", false},
    };
    for (const auto& c : cases) {
        const fs::path file = folder_ / "gamecontrollerdb.txt";
        fs::remove_all(file);
        if (c.text.empty())
            fs::create_directory(file);
        else
            writeTextFile(file, c.text);
        headless::resetAll();
        testing::internal::CaptureStderr();
        const int problems = loadPadMappings({file.string(), (folder_ / "absent.txt").string()});
        const std::string report = testing::internal::GetCapturedStderr();
        const std::vector<std::string> used =
            c.used ? std::vector<std::string>{file.string()} : std::vector<std::string>{};
        EXPECT_EQ(headless::padMappingFiles(), used) << c.what;
        EXPECT_EQ(problems, c.used ? 0 : 1) << c.what;
        EXPECT_EQ(report.find(file.string()) != std::string::npos, !c.used) << c.what << report;
    }
}

TEST_F(GamePad, OversizedOrVeryBrokenMappingFilesAreNotReadLineByLineToTheTerminal) {
    const fs::path file = folder_ / "gamecontrollerdb.txt";
    std::string junk;
    for (int i = 0; i < 1000; ++i)
        junk += "junk line\n";
    writeTextFile(file, junk);
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadPadMappings({file.string()}), 1);
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_NE(report.find("line 5:"), std::string::npos) << report;
    EXPECT_EQ(report.find("line 6:"), std::string::npos) << report;
    EXPECT_NE(report.find("995 more lines"), std::string::npos) << report;

    fs::resize_file(file, (8u << 20) + 1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadPadMappings({file.string()}), 1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("too large"), std::string::npos);
    EXPECT_TRUE(headless::padMappingFiles().empty());
}

} // namespace
