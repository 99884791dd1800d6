// The game window: the part of the display that holds the picture, shown at
// the largest integer scale that fits the window, letterboxed, at the pace of
// the display's refresh.
#include "platform/platform.h"
#include "platform/sdl/frame_conversion.h"
#include "platform/sdl/frame_pacer.h"
#include "platform/sdl/sdl_pads.h"
#include "platform/sdl/sdl_window.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

SDL_Window* window = nullptr;
SDL_Renderer* renderer = nullptr;
SDL_Texture* texture = nullptr;
platform::DisplayOptions options;
platform::DisplayRect shown{0, 0, 0, 0}; // the part of the display the texture holds
std::vector<uint32_t> converted;
FramePacer pacer;
bool f10HeldAtStart = false;
platform::WindowIcon icon;

void applyWindowIcon() {
    if (!window || icon.width <= 0 || icon.height <= 0) return;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        icon.pixels.data(), icon.width, icon.height, 32, icon.width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!surface) return;
    SDL_SetWindowIcon(window, surface); // copies the pixels
    SDL_FreeSurface(surface);
}

// SDL learns of a key only from its events, so a key already held when the
// window appears reads as up. The game looks at F10 at that moment; it is
// asked of the X server directly.
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

// The window's scale for a picture of this size: [DISPLAY] SCALE, or the
// largest that leaves the desktop room for the window's frame.
int startScale(int width, int height) {
    if (options.scale > 0) return options.scale;
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return 1;
    const int scale = std::min((usable.w - 32) / width, (usable.h - 64) / height);
    return std::max(scale, 1);
}

// The part of the display the window shows: the picture, or with the
// border the whole display as the original screen showed it.
platform::DisplayRect partToShow(const platform::DisplayRect& picture) {
    if (options.border) return {};
    return picture;
}

// A new size of the shown part gets a texture of that size, and a window
// that is not full screen takes the size the start-up scale gives it.
bool showPart(const platform::DisplayRect& part) {
    const bool resized = part.width != shown.width || part.height != shown.height;
    shown = part;
    if (!resized && texture) return true;
    if (texture) SDL_DestroyTexture(texture);
    texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                part.width, part.height);
    converted.assign(size_t(part.width) * size_t(part.height), 0);
    SDL_RenderSetLogicalSize(renderer, part.width, part.height);
    SDL_RenderSetIntegerScale(renderer, SDL_TRUE);
    if (!isFullscreen()) {
        const int scale = startScale(part.width, part.height);
        SDL_SetWindowSize(window, part.width * scale, part.height * scale);
        SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
    return texture != nullptr;
}

bool createRenderer() {
    const Uint32 sync = options.vsync ? SDL_RENDERER_PRESENTVSYNC : 0;
    renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | sync);
    if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE | sync);
    if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer) return false;
    SDL_RendererInfo info;
    const bool syncs =
        SDL_GetRendererInfo(renderer, &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    SDL_DisplayMode mode;
    const int refresh = SDL_GetCurrentDisplayMode(SDL_GetWindowDisplayIndex(window), &mode) == 0
                            ? mode.refresh_rate
                            : 0;
    pacer.start(refresh, options.vsync, syncs);
    return true;
}

double secondsNow() {
    return double(SDL_GetPerformanceCounter()) / double(SDL_GetPerformanceFrequency());
}

void waitForNextRefresh() {
    const double wait = pacer.delayAfterPresent(secondsNow());
    if (wait <= 0) return;
    // Whole milliseconds, rounded down: the schedule itself does not drift.
    SDL_Delay(Uint32(wait * 1000.0));
}

} // namespace

SDL_Window* sdlGameWindow() {
    return window;
}

bool f10HeldAtWindowStart() {
    return f10HeldAtStart;
}

void forgetF10HeldAtWindowStart() {
    f10HeldAtStart = false;
}

namespace platform {

bool openDisplay(const DisplayOptions& displayOptions, DisplayRect picture) {
    options = displayOptions;
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
    const DisplayRect part = partToShow(picture);
    const int scale = startScale(part.width, part.height);
    resetFullscreen();
    window = SDL_CreateWindow("CODE:VELTA", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                              part.width * scale, part.height * scale, SDL_WINDOW_RESIZABLE);
    if (!window) {
        std::fprintf(stderr, "velta: cannot open a window: %s\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_JOYSTICK);
        return false;
    }
    applyWindowIcon();
    shown = {0, 0, 0, 0};
    if (!createRenderer() || !showPart(part)) {
        std::fprintf(stderr, "velta: cannot draw into the window: %s\n", SDL_GetError());
        closeDisplay();
        return false;
    }
    if (options.fullscreen) setFullscreen(window, true);
    SDL_ShowCursor(SDL_DISABLE);
    f10HeldAtStart = x11KeyHeld(window, XK_F10);
    openPads();
    return true;
}

void closeDisplay() {
    closeJoysticks();
    closePads();
    if (texture) SDL_DestroyTexture(texture);
    if (renderer) SDL_DestroyRenderer(renderer);
    if (window) SDL_DestroyWindow(window);
    texture = nullptr;
    renderer = nullptr;
    window = nullptr;
    resetFullscreen();
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_JOYSTICK);
}

bool displayOpen() {
    return window != nullptr;
}

void setWindowIcon(const WindowIcon& windowIcon) {
    if (windowIcon.width <= 0 || windowIcon.height <= 0 ||
        windowIcon.pixels.size() != size_t(windowIcon.width) * size_t(windowIcon.height))
        return;
    icon = windowIcon;
    applyWindowIcon();
}

void showFrame(const uint8_t* pixels, int pitch, DisplayRect picture, const PaletteEntry* palette) {
    if (!renderer || !showPart(partToShow(picture))) return;
    // Only the part the window shows is converted.
    convertToArgb(pixels, pitch, shown, palette, converted.data());
    SDL_UpdateTexture(texture, nullptr, converted.data(), shown.width * 4);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    SDL_RenderPresent(renderer);
    waitForNextRefresh();
}

} // namespace platform
