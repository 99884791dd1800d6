// Window events, the keyboard and joysticks.
#include "platform/platform.h"
#include "platform/sdl/key_mapping.h"
#include "platform/sdl/sdl_pads.h"
#include "platform/sdl/sdl_window.h"
#include "platform/virtual_keys.h"

#include <SDL.h>

#include <algorithm>
#include <climits>
#include <map>

namespace {

std::map<unsigned, SDL_Joystick*> joysticks;

bool isFullscreenToggle(const SDL_KeyboardEvent& key) {
    return key.keysym.scancode == SDL_SCANCODE_F11 ||
           (key.keysym.scancode == SDL_SCANCODE_RETURN && (key.keysym.mod & KMOD_ALT));
}

bool translateWindowEvent(const SDL_WindowEvent& e, platform::Event& out) {
    switch (e.event) {
    case SDL_WINDOWEVENT_CLOSE:
        out.type = platform::EventType::Close;
        return true;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        out.type = platform::EventType::Activate;
        return true;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        out.type = platform::EventType::Deactivate;
        return true;
    default:
        return false;
    }
}

bool translateKeyEvent(const SDL_KeyboardEvent& key, platform::Event& out) {
    const bool down = key.type == SDL_KEYDOWN;
    // Held keys repeat in the OS; the game acts on presses only, so a held
    // Escape opens the dialog once instead of opening and cancelling it.
    if (down && key.repeat) return false;
    if (down && isFullscreenToggle(key)) {
        setFullscreen(sdlGameWindow(), !isFullscreen());
        return false;
    }
    const int vk = virtualKeysOfScancode(key.keysym.scancode).message;
    if (vk == 0) return false;
    out.type = down ? platform::EventType::KeyDown : platform::EventType::KeyUp;
    out.virtualKey = vk;
    return true;
}

bool translate(const SDL_Event& e, platform::Event& out) {
    switch (e.type) {
    case SDL_QUIT:
        out.type = platform::EventType::Close;
        return true;
    case SDL_WINDOWEVENT:
        return translateWindowEvent(e.window, out);
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        return translateKeyEvent(e.key, out);
    default:
        return translatePadEvent(e, out);
    }
}

SDL_Joystick* openJoystick(unsigned id) {
    auto it = joysticks.find(id);
    if (it != joysticks.end()) return it->second;
    if (id > unsigned(INT_MAX) || int(id) >= SDL_NumJoysticks()) return nullptr;
    SDL_Joystick* joystick = SDL_JoystickOpen(int(id));
    if (joystick) joysticks[id] = joystick;
    return joystick;
}

} // namespace

void closeJoysticks() {
    for (auto& [id, joystick] : joysticks)
        SDL_JoystickClose(joystick);
    joysticks.clear();
}

namespace platform {

bool pollEvent(Event& event) {
    // SDL's event queue runs while the window or the pads are open.
    if (!sdlGameWindow() && !padsOpen()) return false;
    forgetF10HeldAtWindowStart();
    SDL_Event e;
    while (SDL_PollEvent(&e))
        if (translate(e, event)) return true;
    return false;
}

bool keyDown(int virtualKey) {
    if (!sdlGameWindow()) return false;
    if (virtualKey == VK_F10 && f10HeldAtWindowStart()) return true;
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    for (int s = 0; s < count; ++s)
        if (state[s] && scancodeIsVirtualKey(SDL_Scancode(s), virtualKey)) return true;
    return false;
}

bool joystickCaps(unsigned id, JoystickCaps& caps) {
    if (!openJoystick(id)) return false;
    caps.xMax = 65535;
    caps.yMax = 65535;
    return true;
}

bool joystickPosition(unsigned id, JoystickSample& sample) {
    SDL_Joystick* joystick = openJoystick(id);
    if (!joystick) return false;
    SDL_JoystickUpdate();
    auto axis = [&](int n) {
        return n < SDL_JoystickNumAxes(joystick)
                   ? uint32_t(int(SDL_JoystickGetAxis(joystick, n)) + 32768)
                   : 32768u;
    };
    sample.x = axis(0);
    sample.y = axis(1);
    sample.buttons = 0;
    const int buttons = std::min(SDL_JoystickNumButtons(joystick), 32);
    for (int b = 0; b < buttons; ++b)
        if (SDL_JoystickGetButton(joystick, b)) sample.buttons |= 1u << b;
    return true;
}

} // namespace platform
