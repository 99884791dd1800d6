// The SDL backend: a resizable window that shows the 640x480 display at an
// integer scale, letterboxed; keyboard, joystick, clock and message boxes.
#include "platform/platform.h"
#include "platform/sdl/key_mapping.h"
#include "platform/virtual_keys.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <climits>
#include <cstdio>
#include <ctime>
#include <map>
#include <unistd.h>
#include <vector>

namespace {

SDL_Window* window = nullptr;
SDL_Renderer* renderer = nullptr;
SDL_Texture* texture = nullptr;
int displayWidth = 0;
int displayHeight = 0;
std::vector<uint32_t> converted;
std::map<unsigned, SDL_Joystick*> joysticks;
bool fullscreen = false;

// SDL learns of a key only from its events, so a key already held when the
// window appears reads as up. The game looks at F10 at that moment; it is
// asked of the X server directly and counts until the first events arrive.
bool f10HeldAtStart = false;

bool x11KeyHeld(SDL_Window* w, KeySym key) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(w, &info) || info.subsystem != SDL_SYSWM_X11) return false;
    Display* display = info.info.x11.display;
    const KeyCode code = XKeysymToKeycode(display, key);
    char keys[32] = {};
    if (code == 0 || !XQueryKeymap(display, keys)) return false;
    return (keys[code / 8] >> (code % 8)) & 1;
}

int chooseScale(int width, int height, int requested) {
    if (requested > 0) return requested;
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return 1;
    // Leave room for the window frame.
    int scale = std::min((usable.w - 32) / width, (usable.h - 64) / height);
    return scale < 1 ? 1 : scale;
}

void toggleFullscreen() {
    fullscreen = !fullscreen;
    SDL_SetWindowFullscreen(window, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

bool translate(const SDL_Event& e, platform::Event& out) {
    switch (e.type) {
    case SDL_QUIT:
        out.type = platform::EventType::Close;
        return true;
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
            out.type = platform::EventType::Close;
            return true;
        }
        if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
            out.type = platform::EventType::Activate;
            return true;
        }
        if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
            out.type = platform::EventType::Deactivate;
            return true;
        }
        return false;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        const bool down = e.type == SDL_KEYDOWN;
        if (down && !e.key.repeat &&
            (e.key.keysym.scancode == SDL_SCANCODE_F11 ||
             (e.key.keysym.scancode == SDL_SCANCODE_RETURN && (e.key.keysym.mod & KMOD_ALT)))) {
            toggleFullscreen();
            return false;
        }
        // Held keys repeat in the OS; the game acts on presses only, so a held
        // Escape opens the dialog once instead of opening and cancelling it.
        if (down && e.key.repeat) return false;
        const int vk = virtualKeysOfScancode(e.key.keysym.scancode).message;
        if (vk == 0) return false;
        out.type = down ? platform::EventType::KeyDown : platform::EventType::KeyUp;
        out.virtualKey = vk;
        return true;
    }
    default:
        return false;
    }
}

} // namespace

namespace platform {

bool openDisplay(const DisplayOptions& options, DisplayRect) {
    const int width = DISPLAY_WIDTH, height = DISPLAY_HEIGHT;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_JOYSTICK) != 0) {
        std::fprintf(stderr, "velta: no display: %s\n", SDL_GetError());
        return false;
    }
    // Without a desktop SDL falls back to drawing nowhere; the game would then
    // run unseen, so that counts as no display unless it was asked for.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* requested = SDL_getenv("SDL_VIDEODRIVER");
    if (driver && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0) &&
        !(requested && SDL_strcasecmp(requested, driver) == 0)) {
        std::fprintf(stderr, "velta: no display to show the game on\n");
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_JOYSTICK);
        return false;
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    const int scale = chooseScale(width, height, options.scale);
    fullscreen = options.fullscreen;
    window = SDL_CreateWindow(
        "CODE:VELTA", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width * scale, height * scale,
        SDL_WINDOW_RESIZABLE | (fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0));
    if (!window) {
        std::fprintf(stderr, "velta: cannot open a window: %s\n", SDL_GetError());
        return false;
    }
    renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
    if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (renderer) {
        SDL_RenderSetLogicalSize(renderer, width, height);
        SDL_RenderSetIntegerScale(renderer, SDL_TRUE);
        texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                    width, height);
    }
    if (!renderer || !texture) {
        std::fprintf(stderr, "velta: cannot draw into the window: %s\n", SDL_GetError());
        closeDisplay();
        return false;
    }
    SDL_ShowCursor(SDL_DISABLE);
    f10HeldAtStart = x11KeyHeld(window, XK_F10);
    displayWidth = width;
    displayHeight = height;
    converted.assign(size_t(width) * size_t(height), 0);
    return true;
}

void closeDisplay() {
    for (auto& [id, joystick] : joysticks)
        SDL_JoystickClose(joystick);
    joysticks.clear();
    if (texture) SDL_DestroyTexture(texture);
    if (renderer) SDL_DestroyRenderer(renderer);
    if (window) SDL_DestroyWindow(window);
    texture = nullptr;
    renderer = nullptr;
    window = nullptr;
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_JOYSTICK);
}

bool displayOpen() {
    return window != nullptr;
}

void showFrame(const uint8_t* pixels, int pitch, DisplayRect, const PaletteEntry* palette) {
    if (!texture) return;
    uint32_t colours[256];
    for (int i = 0; i < 256; ++i)
        colours[i] = 0xFF000000u | uint32_t(palette[i].red) << 16 |
                     uint32_t(palette[i].green) << 8 | palette[i].blue;
    for (int y = 0; y < displayHeight; ++y) {
        const uint8_t* in = pixels + size_t(y) * size_t(pitch);
        uint32_t* out = &converted[size_t(y) * size_t(displayWidth)];
        for (int x = 0; x < displayWidth; ++x)
            out[x] = colours[in[x]];
    }
    SDL_UpdateTexture(texture, nullptr, converted.data(), displayWidth * 4);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    SDL_RenderPresent(renderer);
}

uint32_t ticks() {
    return SDL_GetTicks();
}
void sleep(uint32_t milliseconds) {
    SDL_Delay(milliseconds);
}
uint32_t calendarSeconds() {
    return uint32_t(std::time(nullptr));
}

void messageBox(const std::string& text, const std::string& caption, MessageIcon icon) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    SDL_ShowCursor(SDL_ENABLE);
    SDL_ShowSimpleMessageBox(icon == MessageIcon::Error ? SDL_MESSAGEBOX_ERROR : 0, caption.c_str(),
                             text.c_str(), window);
    SDL_ShowCursor(SDL_DISABLE);
}

bool pollEvent(Event& event) {
    if (!window) return false;
    f10HeldAtStart = false;
    SDL_Event e;
    while (SDL_PollEvent(&e))
        if (translate(e, event)) return true;
    return false;
}

bool keyDown(int virtualKey) {
    if (!window) return false;
    if (virtualKey == VK_F10 && f10HeldAtStart) return true;
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    for (int s = 0; s < count; ++s)
        if (state[s] && scancodeIsVirtualKey(SDL_Scancode(s), virtualKey)) return true;
    return false;
}

namespace {
SDL_Joystick* openJoystick(unsigned id) {
    auto it = joysticks.find(id);
    if (it != joysticks.end()) return it->second;
    if (id > unsigned(INT_MAX) || int(id) >= SDL_NumJoysticks()) return nullptr;
    SDL_Joystick* joystick = SDL_JoystickOpen(int(id));
    if (joystick) joysticks[id] = joystick;
    return joystick;
}
} // namespace

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

std::string executablePath() {
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return "./velta";
    buffer[n] = '\0';
    return buffer;
}

} // namespace platform
