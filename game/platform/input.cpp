#include "platform/input.h"

#include "platform/platform.h"
#include "platform/profile.h"

#include <array>
#include <cstring>

Input input;

namespace {

constexpr const char* CONTROLLER_SECTION = "CONTROLLER";

// Joystick codes: 1..32 are buttons, then the four stick directions.
constexpr int JOYSTICK_BUTTON_LAST = 32;
constexpr int STICK_UP = 33;
constexpr int STICK_DOWN = 34;
constexpr int STICK_LEFT = 35;
constexpr int STICK_RIGHT = 36;

constexpr int VIRTUAL_KEY_COUNT = 256;

// Codes from config.ini may be anything; outside the virtual-key range a key
// is never down, as GetAsyncKeyState reports for such codes.
bool virtualKeyDown(int virtualKey) {
    if (virtualKey < 0 || virtualKey >= VIRTUAL_KEY_COUNT) return false;
    return platform::keyDown(virtualKey);
}

std::array<bool, VIRTUAL_KEY_COUNT> makeSetLatches() {
    std::array<bool, VIRTUAL_KEY_COUNT> latches;
    latches.fill(true);
    return latches;
}

std::array<bool, VIRTUAL_KEY_COUNT> keyEdgeLatches = makeSetLatches();

} // namespace

void Input::reset() {
    *this = Input();
}

void Input::setButton(int index, const char* name, int code) {
    if (index < 0 || index >= BUTTON_SLOTS) return;
    ButtonEntry& button = buttons_[index];
    button = ButtonEntry();
    if (name) std::strncpy(button.name, name, sizeof button.name - 1);
    button.code = code;
    button.enabled = true;
}

bool Input::readSettings(const std::string& settingsPath) {
    device_ = profileReadInt(settingsPath, CONTROLLER_SECTION, "DEVICE", DEVICE_KEYBOARD);
    joystickId_ = uint32_t(profileReadInt(settingsPath, CONTROLLER_SECTION, "ID", 0));

    if (device_ == DEVICE_JOYSTICK) {
        platform::JoystickCaps caps;
        if (!platform::joystickCaps(joystickId_, caps)) return false;
        upLimit_ = uint16_t(caps.yMax / 4);
        downLimit_ = uint16_t(caps.yMax / 2 + caps.yMax / 4);
        leftLimit_ = uint16_t(caps.xMax / 4);
        rightLimit_ = uint16_t(caps.xMax / 2 + caps.xMax / 4);
    }

    for (ButtonEntry& button : buttons_) {
        if (!button.enabled) continue;
        int code = profileReadInt(settingsPath, CONTROLLER_SECTION, button.name, -1);
        if (code != -1) button.code = code;
    }
    ready_ = true;
    return true;
}

bool Input::sampleDown(const ButtonEntry& button) const {
    if (device_ == DEVICE_KEYBOARD) return virtualKeyDown(button.code);
    if (device_ != DEVICE_JOYSTICK) return false;
    int code = button.code;
    if (code >= 1 && code <= JOYSTICK_BUTTON_LAST) return (sampleButtons_ >> (code - 1)) & 1u;
    switch (code) {
    case STICK_UP:
        return sampleY_ < upLimit_;
    case STICK_DOWN:
        return sampleY_ > downLimit_;
    case STICK_LEFT:
        return sampleX_ < leftLimit_;
    case STICK_RIGHT:
        return sampleX_ > rightLimit_;
    default:
        return false;
    }
}

void Input::update() {
    if (!ready_) return;
    // Our key table holds only the present state of each key; there is no
    // "pressed since the last query" report to clear before sampling.

    // Read whatever the device; a failed read keeps the previous sample.
    platform::JoystickSample sample;
    if (platform::joystickPosition(joystickId_, sample)) {
        sampleX_ = sample.x;
        sampleY_ = sample.y;
        sampleButtons_ = sample.buttons;
    }

    for (int i = 0; i < BUTTON_SLOTS; ++i) {
        if (!buttons_[i].enabled) continue;
        bool down = sampleDown(buttons_[i]);
        uint8_t& state = states_[i];
        switch (state) {
        case STATE_UP:
            if (down) state = STATE_PRESSED;
            break;
        case STATE_PRESSED:
            state = STATE_HELD;
            break;
        case STATE_HELD:
            if (!down) state = STATE_RELEASED;
            break;
        default:
            state = STATE_UP;
            break;
        }
    }
}

uint8_t Input::state(int index) const {
    if (index < 0 || index >= BUTTON_SLOTS) return STATE_UP;
    return states_[index];
}

int Input::code(int index) const {
    if (index < 0 || index >= BUTTON_SLOTS) return -1;
    return buttons_[index].code;
}

int keyEdge(int virtualKey) {
    if (virtualKey < 0 || virtualKey >= VIRTUAL_KEY_COUNT) return 0;
    bool down = platform::keyDown(virtualKey);
    bool& latch = keyEdgeLatches[size_t(virtualKey)];
    int result = 0;
    if (down && !latch) {
        latch = true;
        result += 10;
    }
    if (!down && latch) {
        latch = false;
        result += 20;
    }
    if (latch) result += 1;
    return result;
}

void setAllKeyEdgeLatches() {
    keyEdgeLatches.fill(true);
}
