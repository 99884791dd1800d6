// The eight logical buttons, read from the keyboard or a joystick as
// config.ini's CONTROLLER section says, and the key-edge reader for the
// debug keys. With the keyboard, any connected game pad drives the buttons
// too.
#pragma once

#include "platform/game_folders.h"
#include "platform/platform.h"

#include <cstdint>
#include <string>
#include <vector>

enum ButtonIndex {
    BUTTON_UP = 0,
    BUTTON_DOWN = 1,
    BUTTON_LEFT = 2,
    BUTTON_RIGHT = 3,
    BUTTON_PAUSE = 4,
    BUTTON_A = 5,
    BUTTON_B = 6,
    BUTTON_C = 7,
};

enum ButtonState : uint8_t {
    STATE_UP = 0,
    STATE_HELD = 1,
    STATE_RELEASED = 2, // one update only
    STATE_PRESSED = 3,  // one update only
};

enum InputDevice { DEVICE_KEYBOARD = 1, DEVICE_JOYSTICK = 2 };

constexpr int BUTTON_SLOTS = 10;

class Input {
  public:
    // Forgets the settings and every button (start-up state).
    void reset();
    void setButton(int index, const char* name, int code);
    // The keyboard's buttons the game starts with, before its settings are
    // read: the arrows, Space pauses, Z throws (A), X jumps (B), C dashes.
    void enterDefaultButtons();
    // Reads DEVICE, ID and the button codes; false when the joystick cannot be
    // opened. Game pads drive the game when the device is the keyboard.
    bool readSettings(const std::string& settingsPath);
    void update();
    uint8_t state(int index) const;

    bool ready() const { return ready_; }
    int device() const { return device_; }
    unsigned joystickId() const { return joystickId_; }
    int code(int index) const;

  private:
    struct ButtonEntry {
        char name[32] = {};
        int32_t code = 0;
        bool enabled = false;
    };
    bool sampleDown(const ButtonEntry& button) const;
    uint32_t padButtonsDown();

    uint32_t joystickId_ = 0;
    uint16_t upLimit_ = 0, downLimit_ = 0, leftLimit_ = 0, rightLimit_ = 0;
    uint32_t sampleX_ = 0, sampleY_ = 0, sampleButtons_ = 0;
    ButtonEntry buttons_[BUTTON_SLOTS];
    uint8_t states_[BUTTON_SLOTS] = {};
    int32_t device_ = DEVICE_KEYBOARD;
    bool ready_ = false;
    std::vector<platform::PadState> pads_; // kept to reuse its storage
};

// The game's one input object.
extern Input input;

// How far from its centre the left stick must be pushed to press a direction:
// a third of the way to its edge, so that a worn stick at rest presses nothing.
constexpr int PAD_STICK_DEAD_ZONE = 32767 / 3;

// The pad mapping files the game reads (gamecontrollerdb.txt): in the game
// folder, then in the player's own config folder, whose mappings win.
std::vector<std::string> padMappingFiles(const GameFolders& folders, const UserBaseFolders& bases);
// Adds the mappings of each of these files that exists. A file that cannot be
// read, is too large or holds a line that is no mapping is reported on stderr
// and not used at all. Returns the number of files so reported.
int loadPadMappings(const std::vector<std::string>& files);

// Key-edge reader: 11 when the key went down since the last call, 1 while it
// stays down, 20 when it went up since the last call, 0 while it stays up.
int keyEdge(int virtualKey);
// Sets all 256 latches (start-up), so a key held at start gives no press.
void setAllKeyEdgeLatches();
