// Clock, waits, calendar, message boxes and the executable's path.
#include "platform/platform.h"
#include "platform/sdl/sdl_window.h"

#include <SDL.h>

#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace platform {

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
    const Uint32 flags = icon == MessageIcon::Error ? SDL_MESSAGEBOX_ERROR : 0;
    SDL_ShowSimpleMessageBox(flags, caption.c_str(), text.c_str(), sdlGameWindow());
    SDL_ShowCursor(SDL_DISABLE);
}

std::string executablePath() {
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return "./velta";
    buffer[n] = '\0';
    return buffer;
}

} // namespace platform
