// Game pads on the SDL backend, played with SDL's virtual joysticks: a pad is
// plugged in, its buttons and stick are moved, and the game's own button
// states are read; no window and no pad device are needed.
#include "platform/input.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_pads.h"
#include "platform/sdl/sdl_window.h"
#include "platform/virtual_keys.h"

#include "support/fixture_files.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A joystick of SDL_CONTROLLER_BUTTON_MAX buttons and the four stick axes in
// SDL's game controller order, which SDL maps as a game pad of its own
// accord; or, as an unknown joystick, one that no mapping knows yet.
struct VirtualPad {
    SDL_Joystick* joystick = nullptr;

    bool attach(const char* name, bool gamePadLayout) {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = gamePadLayout ? SDL_JOYSTICK_TYPE_GAMECONTROLLER : SDL_JOYSTICK_TYPE_UNKNOWN;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.naxes = 4;
        desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
        desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_LEFTX) | (1u << SDL_CONTROLLER_AXIS_LEFTY) |
                         (1u << SDL_CONTROLLER_AXIS_RIGHTX) | (1u << SDL_CONTROLLER_AXIS_RIGHTY);
        desc.name = name;
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        if (index < 0) return false;
        joystick = SDL_JoystickOpen(index);
        return joystick != nullptr;
    }

    void detach() {
        if (!joystick) return;
        const SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
        SDL_JoystickClose(joystick);
        joystick = nullptr;
    }

    // The GUID as a mapping names it: the database's lines carry no name
    // checksum in the GUID (digits 4 to 7), and SDL matches none that does.
    std::string guid() const {
        char text[33];
        SDL_JoystickGetGUIDString(SDL_JoystickGetGUID(joystick), text, sizeof text);
        std::string guid = text;
        guid.replace(4, 4, "0000");
        return guid;
    }

    void set(const std::vector<int>& buttons, int16_t x, int16_t y) {
        for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b)
            SDL_JoystickSetVirtualButton(joystick, b, 0);
        for (int b : buttons)
            SDL_JoystickSetVirtualButton(joystick, b, 1);
        SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, x);
        SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTY, y);
    }
};

class SdlGamePad : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
        folder_ = makeTempFolder("sdl-pads");
        input.reset();
        input.enterDefaultButtons();
    }
    void TearDown() override {
        for (VirtualPad& pad : pads_)
            pad.detach();
        closeJoysticks();
        closePads();
        platform::usePads(false);
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
        input.reset();
        fs::remove_all(folder_);
    }

    VirtualPad& attach(const char* name, bool gamePadLayout = true) {
        pads_.emplace_back();
        EXPECT_TRUE(pads_.back().attach(name, gamePadLayout)) << SDL_GetError();
        return pads_.back();
    }

    bool readSettings(const std::string& controllerSection) {
        const fs::path path = folder_ / "config.ini";
        writeTextFile(path, "[CONTROLLER]\r\n" + controllerSection);
        return input.readSettings(path.string());
    }

    // The frame's event drain, as the game's frame loop does it.
    std::vector<platform::Event> drainEvents() {
        std::vector<platform::Event> events;
        platform::Event event;
        while (platform::pollEvent(event))
            events.push_back(event);
        return events;
    }

    // One frame: events, then the input update; the logical buttons down,
    // as "UDLRPABC" letters.
    std::string buttonsDown() {
        drainEvents();
        input.update();
        std::string down;
        for (int i = 0; i < 8; ++i)
            if (input.state(i) == STATE_PRESSED || input.state(i) == STATE_HELD)
                down += "UDLRPABC"[i];
        return down;
    }

    // Lets go of everything and runs frames until every button is up again
    // (a button passes through held and released first).
    void releaseAll(VirtualPad& pad) {
        pad.set({}, 0, 0);
        for (int frame = 0; frame < 3; ++frame)
            buttonsDown();
        for (int i = 0; i < 8; ++i)
            ASSERT_EQ(input.state(i), STATE_UP) << i;
    }

    fs::path folder_;
    std::deque<VirtualPad> pads_; // what attach returns stays valid
};

TEST_F(SdlGamePad, PadPluggedInWhilePlayingDrivesTheButtons) {
    ASSERT_TRUE(openPads());
    ASSERT_TRUE(readSettings(""));
    VirtualPad& pad = attach("Virtual pad, plugged in");
    constexpr int16_t EDGE = PAD_STICK_DEAD_ZONE;
    const struct {
        std::vector<int> buttons;
        int16_t x, y;
        const char* down;
    } cases[] = {
        {{}, 0, 0, ""},
        {{SDL_CONTROLLER_BUTTON_A}, 0, 0, "B"},
        {{SDL_CONTROLLER_BUTTON_X}, 0, 0, "A"},
        {{SDL_CONTROLLER_BUTTON_B}, 0, 0, "C"},
        {{SDL_CONTROLLER_BUTTON_LEFTSHOULDER}, 0, 0, "C"},
        {{SDL_CONTROLLER_BUTTON_RIGHTSHOULDER}, 0, 0, "C"},
        {{SDL_CONTROLLER_BUTTON_START}, 0, 0, "P"},
        {{SDL_CONTROLLER_BUTTON_Y, SDL_CONTROLLER_BUTTON_GUIDE}, 0, 0, ""},
        {{SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_DPAD_LEFT}, 0, 0, "UL"},
        {{SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_DPAD_RIGHT}, 0, 0, "DR"},
        {{}, EDGE, int16_t(-EDGE), ""},
        {{}, int16_t(EDGE + 1), int16_t(-EDGE - 1), "UR"},
        {{SDL_CONTROLLER_BUTTON_A}, -32768, 32767, "DLB"},
    };
    for (const auto& c : cases) {
        pad.set(c.buttons, c.x, c.y);
        EXPECT_EQ(buttonsDown(), c.down)
            << "buttons " << testing::PrintToString(c.buttons) << " x " << c.x << " y " << c.y;
        releaseAll(pad);
    }
}

TEST_F(SdlGamePad, BackIsTheEscapeKeyWhilePadsDriveTheGame) {
    ASSERT_TRUE(openPads());
    VirtualPad& pad = attach("Virtual pad, back");
    const struct {
        const char* section;
        size_t events;
    } cases[] = {{"", 2}, {"DEVICE=1\r\n", 2}, {"DEVICE=2\r\n", 0}, {"DEVICE=3\r\n", 0}};
    for (const auto& c : cases) {
        input.reset();
        input.enterDefaultButtons();
        ASSERT_TRUE(readSettings(c.section)) << c.section;
        drainEvents();
        std::vector<platform::Event> events;
        pad.set({SDL_CONTROLLER_BUTTON_BACK}, 0, 0);
        for (const platform::Event& e : drainEvents())
            events.push_back(e);
        pad.set({}, 0, 0);
        for (const platform::Event& e : drainEvents())
            events.push_back(e);
        ASSERT_EQ(events.size(), c.events) << c.section;
        if (c.events == 0) continue;
        EXPECT_EQ(events[0].type, platform::EventType::KeyDown);
        EXPECT_EQ(events[0].virtualKey, VK_ESCAPE);
        EXPECT_EQ(events[1].type, platform::EventType::KeyUp);
        EXPECT_EQ(events[1].virtualKey, VK_ESCAPE);
    }
}

TEST_F(SdlGamePad, BackOnSeveralPadsIsOneEscapeKey) {
    ASSERT_TRUE(openPads());
    ASSERT_TRUE(readSettings(""));
    VirtualPad* pads[] = {&attach("Virtual pad, first"), &attach("Virtual pad, second")};
    drainEvents();
    using platform::EventType;
    const struct {
        int pad;
        bool back; // false: let go; unplugged when pad is negative
        std::vector<EventType> events;
    } steps[] = {
        {0, true, {EventType::KeyDown}},
        {1, true, {}},
        {0, false, {}},
        {1, false, {EventType::KeyUp}},
        {1, true, {EventType::KeyDown}},
        {-2, false, {EventType::KeyUp}},
    };
    for (const auto& step : steps) {
        if (step.pad < 0)
            pads[-step.pad - 1]->detach();
        else
            pads[step.pad]->set(step.back ? std::vector<int>{SDL_CONTROLLER_BUTTON_BACK}
                                          : std::vector<int>{},
                                0, 0);
        std::vector<EventType> events;
        for (const platform::Event& e : drainEvents()) {
            EXPECT_EQ(e.virtualKey, VK_ESCAPE);
            events.push_back(e.type);
        }
        EXPECT_EQ(events, step.events) << "pad " << step.pad << " back " << step.back;
    }
}

TEST_F(SdlGamePad, ChosenJoystickKeepsItsCodesAndIgnoresThePadLayout) {
    ASSERT_TRUE(openPads());
    VirtualPad& pad = attach("Virtual pad, as joystick 0");
    // Button code 1 is the joystick's first button, which the pad layout
    // calls south; 36 is the stick pushed right past three quarters of its
    // range (49150 of 0 to 65535, that is 16382 from the centre).
    ASSERT_TRUE(readSettings("DEVICE=2\r\nID=0\r\nA=1\r\nRIGHT=36\r\n"));
    const struct {
        std::vector<int> buttons;
        int16_t x;
        const char* down;
    } cases[] = {
        {{SDL_CONTROLLER_BUTTON_A}, 0, "A"},
        {{SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_DPAD_UP}, 0, ""},
        {{}, 16382, ""},
        {{}, 16383, "R"},
    };
    for (const auto& c : cases) {
        pad.set(c.buttons, c.x, 0);
        EXPECT_EQ(buttonsDown(), c.down) << c.x;
        releaseAll(pad);
    }
}

TEST_F(SdlGamePad, UnpluggedPadIsDroppedAndAPadPluggedInAgainIsTaken) {
    VirtualPad& first = attach("Virtual pad, there at start");
    ASSERT_TRUE(openPads());
    ASSERT_TRUE(readSettings(""));
    first.set({SDL_CONTROLLER_BUTTON_A}, -32768, 0);
    EXPECT_EQ(buttonsDown(), "LB");
    EXPECT_EQ(buttonsDown(), "LB");

    first.detach();
    drainEvents();
    input.update();
    EXPECT_EQ(input.state(BUTTON_B), STATE_RELEASED);
    EXPECT_EQ(input.state(BUTTON_LEFT), STATE_RELEASED);
    std::vector<platform::PadState> states;
    platform::padStates(states);
    EXPECT_TRUE(states.empty());

    VirtualPad& second = attach("Virtual pad, plugged in later");
    second.set({SDL_CONTROLLER_BUTTON_START}, 0, 0);
    EXPECT_EQ(buttonsDown(), "P");
    platform::padStates(states);
    EXPECT_EQ(states.size(), 1u);
}

TEST_F(SdlGamePad, JoystickOnlyAMappingFileKnowsBecomesAPad) {
    VirtualPad& stick = attach("Virtual stick, file mapped", false);
    ASSERT_TRUE(openPads());
    ASSERT_TRUE(readSettings(""));
    stick.set({0, 1}, 0, 0);
    EXPECT_EQ(buttonsDown(), "") << "no mapping knows this joystick yet";

    const fs::path file = folder_ / "gamecontrollerdb.txt";
    writeTextFile(file, "# the player's own mappings\n" + stick.guid() +
                            ",Virtual stick,a:b1,x:b0,leftx:a0,lefty:a1,platform:Linux,\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadPadMappings({(folder_ / "absent.txt").string(), file.string()}), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(buttonsDown(), "AB");
}

TEST_F(SdlGamePad, BrokenMappingFilesChangeNothing) {
    VirtualPad& stick = attach("Virtual stick, broken files", false);
    ASSERT_TRUE(openPads());
    ASSERT_TRUE(readSettings(""));
    const std::string guid = stick.guid();
    const std::vector<std::string> texts = {
        guid + ",Virtual stick,a:b0,platform:Linux,\n" + std::string(300, '\xff') + "\n",
        "garbage\n" + guid + ",Virtual stick,a:b0,platform:Linux,\n",
        std::string("\0\0\0\0", 4),
    };
    for (const std::string& text : texts) {
        const fs::path file = folder_ / "gamecontrollerdb.txt";
        writeTextFile(file, text);
        testing::internal::CaptureStderr();
        EXPECT_EQ(loadPadMappings({file.string()}), 1);
        EXPECT_NE(testing::internal::GetCapturedStderr().find(file.string()), std::string::npos);
        stick.set({0}, 0, 0);
        EXPECT_EQ(buttonsDown(), "");
    }
    std::string error;
    EXPECT_EQ(platform::addPadMappings((folder_ / "absent.txt").string(), error), -1);
    EXPECT_NE(error, "");
}

TEST_F(SdlGamePad, MappingFromTheEnvironmentIsTaken) {
    // SDL reads the variable when its joystick layer starts; the stick's GUID
    // is learnt from an attachment before that.
    constexpr const char* NAME = "Virtual stick, mapped by the environment";
    VirtualPad probe;
    ASSERT_TRUE(probe.attach(NAME, false));
    const std::string mapping = probe.guid() + ",Virtual stick,a:b2,leftx:a0,lefty:a1,";
    probe.detach();
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    setenv("SDL_GAMECONTROLLERCONFIG", mapping.c_str(), 1);
    const bool started = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
    VirtualPad& stick = attach(NAME, false);
    const bool opened = openPads();
    unsetenv("SDL_GAMECONTROLLERCONFIG");
    ASSERT_TRUE(started && opened) << SDL_GetError();
    ASSERT_TRUE(readSettings(""));
    stick.set({2}, 0, 32767);
    EXPECT_EQ(buttonsDown(), "DB");
}

} // namespace
