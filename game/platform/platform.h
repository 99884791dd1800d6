// The narrow interface between the game and the machine it runs on.
//
// Everything the game needs from the operating system goes through these
// functions. Two backends implement them: game/platform/sdl (a real window,
// keyboard, joystick, clock) and game/platform/headless (a virtual clock,
// scripted input and frames kept in memory, for tests). The backend is chosen
// at link time; no game code asks which one it runs on, and no backend knows
// anything of the game beyond this file.
//
// Sound and music have their own backend interface in audio_backend.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One entry of the display's 256-colour palette.
struct PaletteEntry {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t flags = 0;
};

// The display: 640 by 480 pixels of palette indices.
constexpr int DISPLAY_WIDTH = 640;
constexpr int DISPLAY_HEIGHT = 480;

namespace platform {

// Display options read from config.ini's [DISPLAY] section before the display
// opens. The game never writes them.
struct DisplayOptions {
    int scale = 0; // 0: the largest integer scale that fits the desktop
    bool fullscreen = false;
    bool border = false; // show the whole display, not only the game's picture
    bool vsync = true;   // present waits for the display's refresh
};

// A rectangle of the display.
struct DisplayRect {
    int x = 0;
    int y = 0;
    int width = DISPLAY_WIDTH;
    int height = DISPLAY_HEIGHT;
    bool operator==(const DisplayRect&) const = default;
};

// Opens the window that shows a DISPLAY_WIDTH by DISPLAY_HEIGHT display of
// palette indices. picture is the part of the display that holds the game's
// picture; the window is sized for it. Returns false when no display can be
// had (the game then ends with its error box).
bool openDisplay(const DisplayOptions& options, DisplayRect picture);
void closeDisplay();
bool displayOpen();

// The window's icon: width by height pixels of 0xAARRGGBB, top row first.
// Kept for the window, whether it is open yet or not.
struct WindowIcon {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};
void setWindowIcon(const WindowIcon& icon);

// Shows the display (pixels with the given pitch) through the given 256-entry
// palette. picture is the part that holds the game's picture: the window shows
// that part at the largest integer scale that fits, or the whole display when
// the options ask for the border. Waits for the display's refresh unless the
// options turned that off.
void showFrame(const uint8_t* pixels, int pitch, DisplayRect picture, const PaletteEntry* palette);

// Milliseconds since some fixed point (timeGetTime) and a blocking wait (Sleep).
uint32_t ticks();
void sleep(uint32_t milliseconds);

// Calendar time in whole seconds; seeds the random source.
uint32_t calendarSeconds();

// A modal message box with an OK button. Texts are UTF-8.
enum class MessageIcon { None, Error };
void messageBox(const std::string& text, const std::string& caption, MessageIcon icon);

// Window messages as the game's window procedure sees them.
enum class EventType { KeyDown, KeyUp, Activate, Deactivate, Close };
struct Event {
    EventType type = EventType::Close;
    int virtualKey = 0; // Windows virtual-key code for KeyDown / KeyUp
};

// Takes the next pending window event; false when there is none. Pumps the
// backend's own event queue, so key states are current after it returns false.
bool pollEvent(Event& event);

// Whether the key with this Windows virtual-key code (virtual_keys.h) is down
// right now (GetAsyncKeyState / GetKeyState high bit).
bool keyDown(int virtualKey);

// Joystick services in the shape of joyGetDevCapsA / joyGetPosEx: axes run
// from 0 to the reported maximum (65535), buttons 1..32 are bits 0..31.
struct JoystickCaps {
    uint32_t xMax = 0;
    uint32_t yMax = 0;
};
struct JoystickSample {
    uint32_t x = 0;
    uint32_t y = 0;
    uint32_t buttons = 0;
};
bool joystickCaps(unsigned id, JoystickCaps& caps);
bool joystickPosition(unsigned id, JoystickSample& sample);

// Game pads: any pad the backend knows in the common game-pad layout (a
// d-pad, four face buttons named by where they sit, shoulders, Start, Back
// and a left stick), plugged in before or while the game runs.
enum PadButton : uint32_t {
    PAD_DPAD_UP = 1u << 0,
    PAD_DPAD_DOWN = 1u << 1,
    PAD_DPAD_LEFT = 1u << 2,
    PAD_DPAD_RIGHT = 1u << 3,
    PAD_SOUTH = 1u << 4,
    PAD_EAST = 1u << 5,
    PAD_WEST = 1u << 6,
    PAD_NORTH = 1u << 7,
    PAD_LEFT_SHOULDER = 1u << 8,
    PAD_RIGHT_SHOULDER = 1u << 9,
    PAD_START = 1u << 10,
    PAD_BACK = 1u << 11,
};
struct PadState {
    uint32_t buttons = 0; // PadButton bits held
    int16_t stickX = 0;   // left stick, -32768 (left) to 32767 (right)
    int16_t stickY = 0;   // -32768 (up) to 32767 (down)
};
// Whether pads drive the game. While they do, Back on any pad reaches the game
// as the Escape key's KeyDown and KeyUp events; while they do not, padStates
// reports no pads. Off until the game turns it on.
void usePads(bool on);
// Every connected pad's state as of the last pollEvent, one entry per pad.
void padStates(std::vector<PadState>& pads);
// Adds the pad mappings of a file in the game controller database format (one
// pad per line, "GUID,name,mapping...,platform:Linux,"). Returns the number
// of new mappings taken, or -1 when the file cannot be read; error says why.
int addPadMappings(const std::string& file, std::string& error);

// Full path of the running executable (GetModuleFileNameA).
std::string executablePath();

} // namespace platform
