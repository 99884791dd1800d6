// Game pads: the game controller layer's view of every connected pad.
#include "platform/sdl/sdl_pads.h"

#include "platform/virtual_keys.h"

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

bool started = false;
bool drive = false;
std::map<SDL_JoystickID, SDL_GameController*> pads;
// The pads holding Back. Back on any number of pads is one Escape key, down
// while any holds it, so that two pads never open and at once cancel the
// question whether to leave.
std::set<SDL_JoystickID> backHeld;
// SDL forgets every mapping added at run time when its game controller layer
// stops; these files are read again when it starts.
std::vector<std::string> mappingFiles;

void openPad(int deviceIndex) {
    if (!SDL_IsGameController(deviceIndex)) return;
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    // Pads connected at start-up come from the scan and again as events.
    if (id < 0 || pads.count(id)) return;
    SDL_GameController* pad = SDL_GameControllerOpen(deviceIndex);
    if (!pad) {
        const char* name = SDL_GameControllerNameForIndex(deviceIndex);
        std::fprintf(stderr, "velta: cannot open the game pad %s: %s\n", name ? name : "",
                     SDL_GetError());
        return;
    }
    pads[id] = pad;
}

void closePad(SDL_JoystickID id) {
    auto it = pads.find(id);
    if (it == pads.end()) return;
    SDL_GameControllerClose(it->second);
    pads.erase(it);
}

// A mapping added for a joystick already connected makes it a pad.
void openEveryPad() {
    const int count = SDL_NumJoysticks();
    for (int i = 0; i < count; ++i)
        openPad(i);
}

bool backChanged(SDL_JoystickID id, bool down, platform::Event& out) {
    const bool before = !backHeld.empty();
    if (down)
        backHeld.insert(id);
    else
        backHeld.erase(id);
    const bool after = !backHeld.empty();
    if (!drive || before == after) return false;
    out.type = after ? platform::EventType::KeyDown : platform::EventType::KeyUp;
    out.virtualKey = VK_ESCAPE;
    return true;
}

int addMappings(const std::string& file, std::string& error) {
    const int added = SDL_GameControllerAddMappingsFromFile(file.c_str());
    if (added < 0) error = SDL_GetError();
    return added;
}

uint32_t buttonsOf(SDL_GameController* pad) {
    static constexpr struct {
        SDL_GameControllerButton button;
        uint32_t bit;
    } BUTTONS[] = {
        {SDL_CONTROLLER_BUTTON_DPAD_UP, platform::PAD_DPAD_UP},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, platform::PAD_DPAD_DOWN},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, platform::PAD_DPAD_LEFT},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, platform::PAD_DPAD_RIGHT},
        {SDL_CONTROLLER_BUTTON_A, platform::PAD_SOUTH},
        {SDL_CONTROLLER_BUTTON_B, platform::PAD_EAST},
        {SDL_CONTROLLER_BUTTON_X, platform::PAD_WEST},
        {SDL_CONTROLLER_BUTTON_Y, platform::PAD_NORTH},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, platform::PAD_LEFT_SHOULDER},
        {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, platform::PAD_RIGHT_SHOULDER},
        {SDL_CONTROLLER_BUTTON_START, platform::PAD_START},
        {SDL_CONTROLLER_BUTTON_BACK, platform::PAD_BACK},
    };
    uint32_t held = 0;
    for (const auto& b : BUTTONS)
        if (SDL_GameControllerGetButton(pad, b.button)) held |= b.bit;
    return held;
}

} // namespace

bool openPads() {
    if (started) return true;
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(stderr, "velta: game pads cannot be used: %s\n", SDL_GetError());
        return false;
    }
    started = true;
    for (const std::string& file : mappingFiles) {
        std::string error;
        addMappings(file, error);
    }
    openEveryPad();
    return true;
}

void closePads() {
    if (!started) return;
    for (auto& [id, pad] : pads)
        SDL_GameControllerClose(pad);
    pads.clear();
    backHeld.clear();
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    started = false;
}

bool padsOpen() {
    return started;
}

bool translatePadEvent(const SDL_Event& e, platform::Event& out) {
    switch (e.type) {
    case SDL_CONTROLLERDEVICEADDED:
        openPad(e.cdevice.which); // a device index
        return false;
    case SDL_CONTROLLERDEVICEREMOVED:
        closePad(e.cdevice.which); // an instance id
        return backChanged(e.cdevice.which, false, out);
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        if (e.cbutton.button != SDL_CONTROLLER_BUTTON_BACK) return false;
        return backChanged(e.cbutton.which, e.type == SDL_CONTROLLERBUTTONDOWN, out);
    default:
        return false;
    }
}

namespace platform {

void usePads(bool on) {
    drive = on;
}

void padStates(std::vector<PadState>& states) {
    states.clear();
    if (!drive) return;
    for (auto& [id, pad] : pads) {
        PadState state;
        state.buttons = buttonsOf(pad);
        state.stickX = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
        state.stickY = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
        states.push_back(state);
    }
}

int addPadMappings(const std::string& file, std::string& error) {
    if (!started) {
        // Taken when the pads open.
        mappingFiles.push_back(file);
        return 0;
    }
    const int added = addMappings(file, error);
    if (added < 0) return added;
    mappingFiles.push_back(file);
    openEveryPad();
    return added;
}

} // namespace platform
