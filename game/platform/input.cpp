#include "platform/input.h"

#include "platform/platform.h"
#include "platform/profile.h"
#include "platform/virtual_keys.h"

#include <array>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sys/stat.h>

Input input;

namespace {

constexpr const char* CONTROLLER_SECTION = "CONTROLLER";

// Joystick codes: 1..32 are buttons, then the four stick directions.
constexpr int JOYSTICK_BUTTON_LAST = 32;
constexpr int STICK_UP = 33;
constexpr int STICK_DOWN = 34;
constexpr int STICK_LEFT = 35;
constexpr int STICK_RIGHT = 36;

// The pad buttons that press each logical button; the left stick adds the
// four directions.
constexpr uint32_t PAD_BUTTONS_OF[BUTTON_SLOTS] = {
    platform::PAD_DPAD_UP,
    platform::PAD_DPAD_DOWN,
    platform::PAD_DPAD_LEFT,
    platform::PAD_DPAD_RIGHT,
    platform::PAD_START,
    platform::PAD_WEST,
    platform::PAD_SOUTH,
    platform::PAD_EAST | platform::PAD_LEFT_SHOULDER | platform::PAD_RIGHT_SHOULDER,
    0,
    0,
};

constexpr const char* PAD_MAPPING_FILE_NAME = "gamecontrollerdb.txt";
// The database published for all systems together is far smaller.
constexpr uintmax_t PAD_MAPPING_FILE_LIMIT = 8u << 20;
// Enough to find the broken lines of a file without flooding the terminal.
constexpr int PAD_MAPPING_LINES_REPORTED = 5;

uint32_t logicalButtonsOf(const platform::PadState& pad) {
    uint32_t down = 0;
    for (int i = 0; i < BUTTON_SLOTS; ++i)
        if (pad.buttons & PAD_BUTTONS_OF[i]) down |= 1u << i;
    if (pad.stickY < -PAD_STICK_DEAD_ZONE) down |= 1u << BUTTON_UP;
    if (pad.stickY > PAD_STICK_DEAD_ZONE) down |= 1u << BUTTON_DOWN;
    if (pad.stickX < -PAD_STICK_DEAD_ZONE) down |= 1u << BUTTON_LEFT;
    if (pad.stickX > PAD_STICK_DEAD_ZONE) down |= 1u << BUTTON_RIGHT;
    return down;
}

// A line of a mapping file: blank, a comment, or "GUID,name,field,..." with a
// GUID of 32 hexadecimal digits and every further field "key:value".
bool padMappingLineFits(std::string line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.pop_back();
    size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#') return true;
    line.erase(0, start);
    constexpr size_t GUID_DIGITS = 32;
    if (line.size() <= GUID_DIGITS || line[GUID_DIGITS] != ',') return false;
    for (size_t i = 0; i < GUID_DIGITS; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(line[i]))) return false;
    const size_t nameEnd = line.find(',', GUID_DIGITS + 1);
    if (nameEnd == std::string::npos) return false;
    for (unsigned char c : line)
        if (c < 0x20 && c != '\t') return false;
    size_t field = nameEnd + 1;
    bool anyField = false;
    while (field < line.size()) {
        size_t end = line.find(',', field);
        if (end == std::string::npos) end = line.size();
        if (end > field) {
            const size_t colon = line.find(':', field);
            if (colon == std::string::npos || colon == field || colon >= end) return false;
            anyField = true;
        }
        field = end + 1;
    }
    return anyField;
}

// Whether the file may be given to the pad layer; if not, says why on stderr.
bool padMappingFileUsable(const std::string& file) {
    struct stat info;
    if (stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        std::fprintf(stderr, "velta: the pad mappings %s are not a file; not used\n", file.c_str());
        return false;
    }
    if (uintmax_t(info.st_size) > PAD_MAPPING_FILE_LIMIT) {
        std::fprintf(stderr, "velta: the pad mappings %s are too large (%jd bytes); not used\n",
                     file.c_str(), intmax_t(info.st_size));
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "velta: cannot read the pad mappings %s: %s; not used\n", file.c_str(),
                     std::strerror(errno));
        return false;
    }
    std::string line;
    int number = 0;
    int broken = 0;
    while (std::getline(in, line)) {
        ++number;
        if (padMappingLineFits(line)) continue;
        if (++broken <= PAD_MAPPING_LINES_REPORTED)
            std::fprintf(stderr, "velta: %s, line %d: not a pad mapping\n", file.c_str(), number);
    }
    if (in.bad()) {
        std::fprintf(stderr, "velta: cannot read the pad mappings %s; not used\n", file.c_str());
        return false;
    }
    if (broken == 0) return true;
    if (broken > PAD_MAPPING_LINES_REPORTED)
        std::fprintf(stderr, "velta: %s: %d more lines are not pad mappings\n", file.c_str(),
                     broken - PAD_MAPPING_LINES_REPORTED);
    std::fprintf(stderr, "velta: the pad mappings %s are broken; not used\n", file.c_str());
    return false;
}

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

void Input::enterDefaultButtons() {
    // clang-format off
    static const struct {
        const char* name;
        int code;
    } buttons[] = {{"UP", VK_UP},       {"DOWN", VK_DOWN}, {"LEFT", VK_LEFT}, {"RIGHT", VK_RIGHT},
                   {"PAUSE", VK_SPACE}, {"A", VK_Z},       {"B", VK_X},       {"C", VK_C}};
    // clang-format on
    int index = 0;
    for (const auto& button : buttons)
        setButton(index++, button.name, button.code);
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
    // A chosen joystick is the player's one device; pads join the keyboard only.
    platform::usePads(device_ == DEVICE_KEYBOARD);

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

uint32_t Input::padButtonsDown() {
    if (device_ != DEVICE_KEYBOARD) return 0;
    platform::padStates(pads_);
    uint32_t down = 0;
    for (const platform::PadState& pad : pads_)
        down |= logicalButtonsOf(pad);
    return down;
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

    const uint32_t padDown = padButtonsDown();
    for (int i = 0; i < BUTTON_SLOTS; ++i) {
        if (!buttons_[i].enabled) continue;
        bool down = sampleDown(buttons_[i]) || ((padDown >> i) & 1u);
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

std::vector<std::string> padMappingFiles(const GameFolders& folders, const UserBaseFolders& bases) {
    std::vector<std::string> files{folders.game + PAD_MAPPING_FILE_NAME};
    // The per-user config folder, wherever this game keeps its settings.
    const std::string userSettings = gameFoldersFor(folders.game, false, bases).settingsFile;
    const size_t slash = userSettings.rfind('/');
    if (slash != std::string::npos) {
        std::string user = userSettings.substr(0, slash + 1) + PAD_MAPPING_FILE_NAME;
        if (user != files.front()) files.push_back(std::move(user));
    }
    return files;
}

int loadPadMappings(const std::vector<std::string>& files) {
    int problems = 0;
    for (const std::string& file : files) {
        struct stat info;
        // No file is the usual case: the pad layer's own list knows most pads.
        if (lstat(file.c_str(), &info) != 0 && errno == ENOENT) continue;
        if (!padMappingFileUsable(file)) {
            ++problems;
            continue;
        }
        std::string error;
        if (platform::addPadMappings(file, error) < 0) {
            std::fprintf(stderr, "velta: cannot use the pad mappings %s: %s\n", file.c_str(),
                         error.c_str());
            ++problems;
        }
    }
    return problems;
}
