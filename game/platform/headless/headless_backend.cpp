// The headless backend: the platform interface without a window, for tests.
#include "platform/headless/headless.h"
#include "platform/headless/headless_audio.h"
#include "platform/headless/picture_writer.h"
#include "platform/video.h"

#include <cstdio>
#include <deque>
#include <map>

namespace {

struct ScheduledKey {
    uint64_t frame;
    int virtualKey;
    bool down;
};
struct ScheduledEvent {
    uint64_t frame;
    platform::Event event;
};
struct Joystick {
    bool present = false;
    platform::JoystickCaps caps;
    platform::JoystickSample sample;
};

struct HeadlessState {
    uint32_t clock = 0;
    uint32_t frameStep = 16;
    uint32_t calendar = 1700000000;
    bool displayAvailable = true;
    bool displayOpen = false;
    bool keys[256] = {};
    std::vector<ScheduledKey> scheduledKeys;
    std::deque<platform::Event> events;
    std::vector<ScheduledEvent> scheduledEvents;
    std::map<unsigned, Joystick> joysticks;
    uint64_t framesShown = 0;
    size_t keptFrames = 4;
    std::deque<headless::Picture> frames;
    std::vector<uint8_t> lastIndices;
    std::vector<std::pair<std::string, std::string>> messageBoxes;
    std::string executablePath = "/tmp/velta-headless/velta";
};

HeadlessState& state() {
    static HeadlessState s;
    return s;
}

void applyScheduledInput() {
    HeadlessState& s = state();
    for (auto it = s.scheduledKeys.begin(); it != s.scheduledKeys.end();) {
        if (it->frame <= s.framesShown) {
            if (it->virtualKey >= 0 && it->virtualKey < 256) s.keys[it->virtualKey] = it->down;
            it = s.scheduledKeys.erase(it);
        } else {
            ++it;
        }
    }
    for (auto it = s.scheduledEvents.begin(); it != s.scheduledEvents.end();) {
        if (it->frame <= s.framesShown) {
            s.events.push_back(it->event);
            it = s.scheduledEvents.erase(it);
        } else {
            ++it;
        }
    }
}

} // namespace

namespace headless {

void resetAll() {
    HeadlessState& s = state();
    std::string path = s.executablePath;
    s = HeadlessState{};
    s.executablePath = path;
    resetAudio();
}

uint32_t now() {
    return state().clock;
}
void advanceClock(uint32_t milliseconds) {
    state().clock += milliseconds;
}
void setFrameStep(uint32_t milliseconds) {
    state().frameStep = milliseconds;
}
void setCalendarSeconds(uint32_t seconds) {
    state().calendar = seconds;
}
void setDisplayAvailable(bool available) {
    state().displayAvailable = available;
}
void setExecutablePath(const std::string& path) {
    state().executablePath = path;
}

void setKey(int virtualKey, bool down) {
    if (virtualKey >= 0 && virtualKey < 256) state().keys[virtualKey] = down;
}
void scheduleKey(uint64_t atFrame, int virtualKey, bool down) {
    state().scheduledKeys.push_back({atFrame, virtualKey, down});
    applyScheduledInput();
}
void setJoystick(unsigned id, bool present, platform::JoystickCaps caps) {
    Joystick& j = state().joysticks[id];
    j.present = present;
    j.caps = caps;
}
void setJoystickSample(unsigned id, platform::JoystickSample sample) {
    state().joysticks[id].sample = sample;
}

void pushEvent(const platform::Event& event) {
    state().events.push_back(event);
}
void scheduleEvent(uint64_t afterFrame, const platform::Event& event) {
    state().scheduledEvents.push_back({afterFrame, event});
    applyScheduledInput();
}

uint64_t framesShown() {
    return state().framesShown;
}
void setKeptFrames(size_t count) {
    state().keptFrames = count;
}

uint32_t Picture::pixel(int x, int y) const {
    const uint8_t* p = &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3];
    return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
}

const Picture* shownFrame(size_t back) {
    const HeadlessState& s = state();
    return back < s.frames.size() ? &s.frames[back] : nullptr;
}
const std::vector<uint8_t>& lastFrameIndices() {
    return state().lastIndices;
}

bool savePicture(const Picture& picture, const std::string& fileName) {
    return writePicture(fileName, picture.width, picture.height, picture.rgb);
}

const std::vector<std::pair<std::string, std::string>>& messageBoxes() {
    return state().messageBoxes;
}

} // namespace headless

namespace platform {

bool openDisplay(int, int, const DisplayOptions&) {
    HeadlessState& s = state();
    s.displayOpen = s.displayAvailable;
    return s.displayOpen;
}
void closeDisplay() {
    state().displayOpen = false;
}
bool displayOpen() {
    return state().displayOpen;
}

void showFrame(const uint8_t* pixels, int pitch, const PaletteEntry* palette) {
    HeadlessState& s = state();
    if (!s.displayOpen) return;
    headless::Picture picture;
    picture.width = DISPLAY_WIDTH;
    picture.height = DISPLAY_HEIGHT;
    picture.rgb.resize(size_t(DISPLAY_WIDTH) * DISPLAY_HEIGHT * 3);
    s.lastIndices.resize(size_t(DISPLAY_WIDTH) * DISPLAY_HEIGHT);
    for (int y = 0; y < DISPLAY_HEIGHT; ++y) {
        const uint8_t* row = pixels + size_t(y) * size_t(pitch);
        for (int x = 0; x < DISPLAY_WIDTH; ++x) {
            const PaletteEntry& c = palette[row[x]];
            uint8_t* out = &picture.rgb[(size_t(y) * DISPLAY_WIDTH + x) * 3];
            out[0] = c.red;
            out[1] = c.green;
            out[2] = c.blue;
            s.lastIndices[size_t(y) * DISPLAY_WIDTH + x] = row[x];
        }
    }
    if (s.keptFrames > 0) {
        s.frames.push_front(std::move(picture));
        while (s.frames.size() > s.keptFrames)
            s.frames.pop_back();
    }
    ++s.framesShown;
    s.clock += s.frameStep;
    applyScheduledInput();
}

uint32_t ticks() {
    return state().clock;
}
void sleep(uint32_t milliseconds) {
    state().clock += milliseconds;
}
uint32_t calendarSeconds() {
    return state().calendar;
}

void messageBox(const std::string& text, const std::string& caption) {
    state().messageBoxes.emplace_back(text, caption);
}

bool pollEvent(Event& event) {
    HeadlessState& s = state();
    applyScheduledInput();
    if (s.events.empty()) return false;
    event = s.events.front();
    s.events.pop_front();
    return true;
}

bool keyDown(int virtualKey) {
    return virtualKey >= 0 && virtualKey < 256 && state().keys[virtualKey];
}

bool joystickCaps(unsigned id, JoystickCaps& caps) {
    auto it = state().joysticks.find(id);
    if (it == state().joysticks.end() || !it->second.present) return false;
    caps = it->second.caps;
    return true;
}

bool joystickPosition(unsigned id, JoystickSample& sample) {
    auto it = state().joysticks.find(id);
    if (it == state().joysticks.end() || !it->second.present) return false;
    sample = it->second.sample;
    return true;
}

std::string executablePath() {
    return state().executablePath;
}

} // namespace platform
