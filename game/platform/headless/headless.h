// Control of the headless backend, for tests: a virtual millisecond clock that
// advances by a fixed step at every shown frame and by every sleep, scripted
// keyboard and joystick input, window events, recorded message boxes and the
// shown frames kept in memory.
#pragma once

#include "platform/platform.h"

#include <cstdint>
#include <string>
#include <vector>

namespace headless {

// Back to the start state: clock 0, frame step 16 ms, no keys down, no events,
// no frames, no message boxes, display available, no joystick, no pads, no
// window icon, executable path unchanged.
void resetAll();

// Virtual clock.
uint32_t now();
void advanceClock(uint32_t milliseconds);
void setFrameStep(uint32_t milliseconds);
void setCalendarSeconds(uint32_t seconds);

// Whether openDisplay succeeds.
void setDisplayAvailable(bool available);
// The options the display was last opened with.
const platform::DisplayOptions& openedDisplayOptions();

// Where executablePath() points, e.g. a fixture game folder + "velta".
void setExecutablePath(const std::string& path);

// The icon the game last gave its window (none: width 0).
const platform::WindowIcon& windowIcon();

// Input. setKey takes effect at once; scheduled keys take effect when the
// given frame number (count of frames shown so far) is reached at a present.
void setKey(int virtualKey, bool down);
void scheduleKey(uint64_t atFrame, int virtualKey, bool down);
void setJoystick(unsigned id, bool present, platform::JoystickCaps caps);
void setJoystickSample(unsigned id, platform::JoystickSample sample);
// Game pads, each in a slot of its own: a pad set is connected, a pad removed
// is gone. padStates reports them, in slot order, while the game uses pads.
void setPad(int slot, const platform::PadState& pad);
void removePad(int slot);
bool padsUsed();
// The mapping files the game added, in order; each counts as one mapping.
const std::vector<std::string>& padMappingFiles();

// Window events delivered by pollEvent, in order.
void pushEvent(const platform::Event& event);
// Events scheduled for the poll that follows the given frame's present.
void scheduleEvent(uint64_t afterFrame, const platform::Event& event);

// Frames shown so far, and the last few kept as pictures of the whole display.
uint64_t framesShown();
void setKeptFrames(size_t count);
// Off: shown frames are only counted (and the clock advanced), not copied;
// for benchmarks that measure the game rather than this backend.
void setFrameRecording(bool on);
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;           // width * height * 3
    uint32_t pixel(int x, int y) const; // 0xRRGGBB
};
// The whole display as shown: index 0 is the last shown frame, 1 the one
// before, ...; nullptr past the kept frames.
const Picture* shownFrame(size_t back = 0);
// The palette indices of the last shown frame (the whole display).
const std::vector<uint8_t>& lastFrameIndices();
// The part of the display the last frame named as the game's picture.
platform::DisplayRect lastFramePicture();
// That part of a kept frame alone, as a window without the border shows it.
Picture shownPicture(size_t back = 0);
// Saves a picture as PNG or BMP, chosen by the file name's extension.
bool savePicture(const Picture& picture, const std::string& fileName);

// Message boxes shown so far, texts in UTF-8.
struct MessageBoxRecord {
    std::string text;
    std::string caption;
    platform::MessageIcon icon = platform::MessageIcon::None;
};
const std::vector<MessageBoxRecord>& messageBoxes();

} // namespace headless
