// Desktop full screen, with or without a window manager.
#include "platform/sdl/sdl_window.h"

#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

bool fullscreen = false;
bool byHand = false;
SDL_Rect windowedRect{};

// An EWMH window manager announces itself on the root window; without one a
// full-screen request is never carried out and the window keeps its size.
bool x11WithoutWindowManager(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
    Display* display = info.info.x11.display;
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None) return true;
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False,
                                          XA_WINDOW, &type, &format, &items, &after, &data);
    const bool announced = status == Success && type == XA_WINDOW && items == 1;
    if (data) XFree(data);
    return !announced;
}

void enterByHand(SDL_Window* window) {
    SDL_GetWindowPosition(window, &windowedRect.x, &windowedRect.y);
    SDL_GetWindowSize(window, &windowedRect.w, &windowedRect.h);
    SDL_Rect screen;
    if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window), &screen) != 0) return;
    SDL_SetWindowBordered(window, SDL_FALSE);
    SDL_SetWindowPosition(window, screen.x, screen.y);
    SDL_SetWindowSize(window, screen.w, screen.h);
    byHand = true;
}

void leaveByHand(SDL_Window* window) {
    SDL_SetWindowBordered(window, SDL_TRUE);
    SDL_SetWindowSize(window, windowedRect.w, windowedRect.h);
    SDL_SetWindowPosition(window, windowedRect.x, windowedRect.y);
    byHand = false;
}

} // namespace

void setFullscreen(SDL_Window* window, bool on) {
    if (!window || on == fullscreen) return;
    fullscreen = on;
    if (on) {
        if (x11WithoutWindowManager(window))
            enterByHand(window);
        else
            SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else if (byHand) {
        leaveByHand(window);
    } else {
        SDL_SetWindowFullscreen(window, 0);
    }
}

bool isFullscreen() {
    return fullscreen;
}

void resetFullscreen() {
    fullscreen = false;
    byHand = false;
}
