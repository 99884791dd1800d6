// What the SDL backend's parts share: the one game window and its picture.
#pragma once

#include <SDL.h>

// The game window; nullptr while the display is closed.
SDL_Window* sdlGameWindow();

// Desktop full screen on and off (Alt+Enter, F11, [DISPLAY] FULLSCREEN=1).
// Without a window manager, which is what carries out a full-screen request
// on X11, the window is made borderless and sized to the screen by hand.
void setFullscreen(SDL_Window* window, bool on);
bool isFullscreen();
// Forgets the full-screen state of a window that is gone.
void resetFullscreen();

// True while F10 was held when the window appeared (until the first events).
bool f10HeldAtWindowStart();
void forgetF10HeldAtWindowStart();

// Closes every joystick opened for the input (when the display closes).
void closeJoysticks();
