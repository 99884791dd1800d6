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

class InputDevice : public testing::Test {
  protected:
    void SetUp() override {
        folder_ = makeTempFolder("input").string();
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
        std::string path = folder_ + "/config.ini";
        std::ofstream(path, std::ios::binary) << "[CONTROLLER]\r\n" << controllerSection;
        return input.readSettings(path);
    }

    std::vector<int> allStatesAfterUpdate() {
        input.update();
        std::vector<int> states;
        for (int i = 0; i < 8; ++i)
            states.push_back(input.state(i));
        return states;
    }

    std::string folder_;
};

TEST_F(InputDevice, ButtonStatesFollowTheSampledKey) {
    // clang-format off
    const struct {
        const char* what;
        std::vector<bool> down;
        std::vector<int> states;
    } cases[] = {
        {"held then released", {true, true, true, false, false}, {3, 1, 1, 2, 0}},
        {"down for one update still passes through held", {true, false, false, false},
         {3, 1, 2, 0}},
        {"pressed during the release update is seen one update later",
         {true, true, false, true, true, true}, {3, 1, 2, 0, 3, 1}},
        {"never down", {false, false}, {0, 0}},
    };
    // clang-format on
    for (const auto& c : cases) {
        input.reset();
        input.enterDefaultButtons();
        ASSERT_TRUE(readSettings(""));
        std::vector<int> seen;
        for (bool down : c.down) {
            headless::setKey(VK_Z, down);
            input.update();
            seen.push_back(input.state(BUTTON_A));
        }
        EXPECT_EQ(seen, c.states) << c.what;
    }
}

TEST_F(InputDevice, UpdatesDoNothingBeforeTheSettingsAreRead) {
    headless::setKey(VK_Z, true);
    input.update();
    EXPECT_EQ(input.state(BUTTON_A), STATE_UP);
    EXPECT_FALSE(input.ready());
}

TEST_F(InputDevice, SettingsReplaceCodesExceptMinusOne) {
    ASSERT_TRUE(readSettings("A=65\r\nb=-1\r\nC=\r\nUP = 87\r\n"));
    EXPECT_TRUE(input.ready());
    EXPECT_EQ(input.device(), DEVICE_KEYBOARD);
    EXPECT_EQ(input.joystickId(), 0u);
    EXPECT_EQ(input.code(BUTTON_A), 65);
    EXPECT_EQ(input.code(BUTTON_B), 88);
    EXPECT_EQ(input.code(BUTTON_C), 67);
    EXPECT_EQ(input.code(BUTTON_UP), 87);
    EXPECT_EQ(input.code(BUTTON_PAUSE), 32);

    headless::setKey(65, true);
    headless::setKey(VK_Z, true);
    input.update();
    EXPECT_EQ(input.state(BUTTON_A), STATE_PRESSED);
}

TEST_F(InputDevice, MissingSettingsFileKeepsTheKeyboardAndBuiltInCodes) {
    ASSERT_TRUE(input.readSettings(folder_ + "/absent.ini"));
    EXPECT_EQ(input.device(), DEVICE_KEYBOARD);
    EXPECT_EQ(input.code(BUTTON_LEFT), 37);
}

TEST_F(InputDevice, JoystickWithoutButtonKeysReadsOnlyPauseAsButton32) {
    headless::setJoystick(0, true, {65535, 65535});
    // Every button and the stick in a corner: only a real joystick code can be down.
    headless::setJoystickSample(0, {0, 0, 0xFFFFFFFFu});
    ASSERT_TRUE(readSettings("DEVICE=2\r\n"));
    EXPECT_EQ(allStatesAfterUpdate(), (std::vector<int>{0, 0, 0, 0, 3, 0, 0, 0}));

    headless::setJoystickSample(0, {0, 0, 0x7FFFFFFFu});
    input.update();
    EXPECT_EQ(input.state(BUTTON_PAUSE), STATE_HELD); // pressed always passes through held
    input.update();
    EXPECT_EQ(input.state(BUTTON_PAUSE), STATE_RELEASED);
}

TEST_F(InputDevice, JoystickCodesReadButtonsAndStickLimits) {
    headless::setJoystick(1, true, {65535, 65535});
    ASSERT_TRUE(readSettings("DEVICE=2\r\nID=1\r\nUP=33\r\nDOWN=34\r\nLEFT=35\r\nRIGHT=36\r\n"
                             "A=1\r\nB=2\r\nC=37\r\nPAUSE=0\r\n"));
    EXPECT_EQ(input.joystickId(), 1u);
    // Limits for 65535: up 16383, down 49150, left 16383, right 49150.
    const struct {
        platform::JoystickSample sample;
        std::vector<int> states;
    } cases[] = {
        {{32768, 32768, 0}, {0, 0, 0, 0, 0, 0, 0, 0}},
        {{16383, 16383, 0}, {0, 0, 0, 0, 0, 0, 0, 0}},
        {{16382, 16382, 1}, {3, 0, 3, 0, 0, 3, 0, 0}},
        {{49151, 49151, 2}, {1, 3, 1, 3, 0, 1, 3, 0}},
    };
    for (const auto& c : cases) {
        headless::setJoystickSample(1, c.sample);
        EXPECT_EQ(allStatesAfterUpdate(), c.states)
            << "x " << c.sample.x << " y " << c.sample.y << " buttons " << c.sample.buttons;
    }
}

TEST_F(InputDevice, FailedJoystickReadKeepsThePreviousSample) {
    headless::setJoystick(0, true, {65535, 65535});
    ASSERT_TRUE(readSettings("DEVICE=2\r\nA=1\r\n"));
    headless::setJoystickSample(0, {32768, 32768, 1});
    input.update();
    headless::setJoystick(0, false, {65535, 65535});
    input.update();
    input.update();
    EXPECT_EQ(input.state(BUTTON_A), STATE_HELD);
}

TEST_F(InputDevice, MissingJoystickFailsTheSettings) {
    EXPECT_FALSE(readSettings("DEVICE=2\r\nID=3\r\nA=1\r\n"));
    EXPECT_FALSE(input.ready());
    EXPECT_EQ(input.code(BUTTON_A), VK_Z);
}

TEST_F(InputDevice, OtherDevicesLeaveEveryButtonUp) {
    headless::setJoystick(0, true, {65535, 65535});
    headless::setJoystickSample(0, {0, 0, 0xFFFFFFFFu});
    for (int key : {32, 37, 38, 39, 40, 67, 88, 90})
        headless::setKey(key, true);
    ASSERT_TRUE(readSettings("DEVICE=3\r\nA=1\r\n"));
    EXPECT_EQ(allStatesAfterUpdate(), std::vector<int>(8, 0));
}

TEST_F(InputDevice, OutOfRangeIndicesAndCodesAreHarmless) {
    input.setButton(10, "EXTRA", 90);
    input.setButton(-1, "EXTRA", 90);
    ASSERT_TRUE(readSettings("A=100000\r\nB=-5\r\n"));
    headless::setKey(VK_Z, true);
    input.update();
    EXPECT_EQ(input.state(BUTTON_A), STATE_UP);
    EXPECT_EQ(input.state(BUTTON_B), STATE_UP);
    EXPECT_EQ(input.state(8), STATE_UP);
    EXPECT_EQ(input.state(-1), STATE_UP);
    EXPECT_EQ(input.state(10), STATE_UP);
}

TEST_F(InputDevice, KeyEdgeReportsChangesSinceTheLastCall) {
    setAllKeyEdgeLatches();
    EXPECT_EQ(keyEdge(VK_Q), 20) << "latches start set, so an up key reads as released";
    EXPECT_EQ(keyEdge(VK_Q), 0);

    std::vector<int> seen;
    for (bool down : {true, true, true, false, false, true}) {
        headless::setKey(VK_Q, down);
        seen.push_back(keyEdge(VK_Q));
    }
    EXPECT_EQ(seen, (std::vector<int>{11, 1, 1, 20, 0, 11}));

    headless::setKey(VK_SPACE, true);
    setAllKeyEdgeLatches();
    EXPECT_EQ(keyEdge(VK_SPACE), 1) << "a key held at start-up gives no press";
    EXPECT_EQ(keyEdge(-1), 0);
    EXPECT_EQ(keyEdge(256), 0);
}

} // namespace
