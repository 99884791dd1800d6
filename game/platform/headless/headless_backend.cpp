// The headless backend: the platform interface without a window, for tests.
#include "platform/headless/headless.h"
#include "platform/headless/headless_audio.h"
#include "platform/headless/picture_file.h"

#include <cstdio>
#include <cstring>
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

// A shown frame as it came: its palette indices and the palette it was shown
// through. Pictures are made from it only when a test asks, so that long runs
// cost no colour conversion.
struct KeptFrame {
    std::vector<uint8_t> indices; // DISPLAY_WIDTH * DISPLAY_HEIGHT
    PaletteEntry palette[256];
    platform::DisplayRect picture;
    uint64_t number = 0; // frames shown before this one
};

struct HeadlessState {
    uint32_t clock = 0;
    uint32_t frameStep = 16;
    uint32_t calendar = 1700000000;
    bool displayAvailable = true;
    bool displayOpen = false;
    platform::DisplayOptions displayOptions;
    bool recordFrames = true;
    bool keys[256] = {};
    std::vector<ScheduledKey> scheduledKeys;
    std::deque<platform::Event> events;
    std::vector<ScheduledEvent> scheduledEvents;
    std::map<unsigned, Joystick> joysticks;
    bool padsUsed = false;
    std::map<int, platform::PadState> pads;
    std::vector<std::string> padMappingFiles;
    uint64_t framesShown = 0;
    size_t keptFrames = 4;
    std::deque<KeptFrame> frames;
    // Pictures made from kept frames on request, by frame number.
    std::deque<std::pair<uint64_t, headless::Picture>> pictures;
    std::vector<uint8_t> lastIndices;
    platform::DisplayRect lastPicture;
    std::vector<headless::MessageBoxRecord> messageBoxes;
    std::string executablePath = "/tmp/velta-headless/velta";
    platform::WindowIcon windowIcon;
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
const platform::DisplayOptions& openedDisplayOptions() {
    return state().displayOptions;
}
void setDisplayAvailable(bool available) {
    state().displayAvailable = available;
}
void setExecutablePath(const std::string& path) {
    state().executablePath = path;
}
const platform::WindowIcon& windowIcon() {
    return state().windowIcon;
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

void setPad(int slot, const platform::PadState& pad) {
    state().pads[slot] = pad;
}
void removePad(int slot) {
    state().pads.erase(slot);
}
bool padsUsed() {
    return state().padsUsed;
}
const std::vector<std::string>& padMappingFiles() {
    return state().padMappingFiles;
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
void setFrameRecording(bool on) {
    state().recordFrames = on;
}
void setKeptFrames(size_t count) {
    state().keptFrames = count;
}

uint32_t Picture::pixel(int x, int y) const {
    const uint8_t* p = &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3];
    return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
}

namespace {

Picture pictureOf(const KeptFrame& frame, const platform::DisplayRect& part) {
    Picture picture;
    picture.width = part.width;
    picture.height = part.height;
    picture.rgb.resize(size_t(part.width) * size_t(part.height) * 3);
    for (int y = 0; y < part.height; ++y) {
        const uint8_t* row = &frame.indices[size_t(part.y + y) * DISPLAY_WIDTH + size_t(part.x)];
        uint8_t* out = &picture.rgb[size_t(y) * size_t(part.width) * 3];
        for (int x = 0; x < part.width; ++x) {
            const PaletteEntry& c = frame.palette[row[x]];
            *out++ = c.red;
            *out++ = c.green;
            *out++ = c.blue;
        }
    }
    return picture;
}

} // namespace

const Picture* shownFrame(size_t back) {
    // Pictures handed out stay valid until the frames they came from are dropped.
    HeadlessState& s = state();
    auto& made = s.pictures;
    if (back >= s.frames.size()) return nullptr;
    const KeptFrame& frame = s.frames[back];
    for (auto& [number, picture] : made)
        if (number == frame.number) return &picture;
    made.emplace_front(frame.number, pictureOf(frame, {}));
    while (made.size() > s.keptFrames + 1)
        made.pop_back();
    return &made.front().second;
}

const std::vector<uint8_t>& lastFrameIndices() {
    return state().lastIndices;
}

platform::DisplayRect lastFramePicture() {
    return state().lastPicture;
}

Picture shownPicture(size_t back) {
    const HeadlessState& s = state();
    if (back >= s.frames.size()) return {};
    return pictureOf(s.frames[back], s.frames[back].picture);
}

bool savePicture(const Picture& picture, const std::string& fileName) {
    return writePicture(fileName, picture.width, picture.height, picture.rgb);
}

const std::vector<MessageBoxRecord>& messageBoxes() {
    return state().messageBoxes;
}

} // namespace headless

namespace platform {

bool openDisplay(const DisplayOptions& options, DisplayRect) {
    HeadlessState& s = state();
    s.displayOptions = options;
    s.displayOpen = s.displayAvailable;
    return s.displayOpen;
}
void closeDisplay() {
    state().displayOpen = false;
}
bool displayOpen() {
    return state().displayOpen;
}

void showFrame(const uint8_t* pixels, int pitch, DisplayRect picture, const PaletteEntry* palette) {
    HeadlessState& s = state();
    if (!s.displayOpen) return;
    if (!s.recordFrames) {
        ++s.framesShown;
        s.clock += s.frameStep;
        applyScheduledInput();
        return;
    }
    s.lastIndices.resize(size_t(DISPLAY_WIDTH) * DISPLAY_HEIGHT);
    for (int y = 0; y < DISPLAY_HEIGHT; ++y)
        std::memcpy(&s.lastIndices[size_t(y) * DISPLAY_WIDTH], pixels + size_t(y) * size_t(pitch),
                    DISPLAY_WIDTH);
    s.lastPicture = picture;
    if (s.keptFrames > 0) {
        KeptFrame frame;
        frame.indices = s.lastIndices;
        std::memcpy(frame.palette, palette, sizeof frame.palette);
        frame.picture = picture;
        frame.number = s.framesShown;
        s.frames.push_front(std::move(frame));
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

void messageBox(const std::string& text, const std::string& caption, MessageIcon icon) {
    state().messageBoxes.push_back({text, caption, icon});
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

void usePads(bool on) {
    state().padsUsed = on;
}

void padStates(std::vector<PadState>& pads) {
    pads.clear();
    if (!state().padsUsed) return;
    for (const auto& [slot, pad] : state().pads)
        pads.push_back(pad);
}

int addPadMappings(const std::string& file, std::string&) {
    state().padMappingFiles.push_back(file);
    return 1;
}

std::string executablePath() {
    return state().executablePath;
}

void setWindowIcon(const WindowIcon& icon) {
    state().windowIcon = icon;
}

} // namespace platform
