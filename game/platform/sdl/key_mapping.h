// SDL scancodes to the Windows virtual-key codes that config.ini and the game use.
#pragma once

#include <SDL_scancode.h>

// The virtual keys a physical key answers to: the one its key messages carry,
// and for the left and right Shift, Ctrl and Alt keys also the code of that
// side (VK_LSHIFT, ...), which GetAsyncKeyState reports as well.
struct KeyCodes {
    int message = 0; // 0 when the scancode has no virtual key
    int side = 0;    // 0 when the key has no side of its own
};
KeyCodes virtualKeysOfScancode(SDL_Scancode scancode);

// Whether the physical key is read as the virtual key.
bool scancodeIsVirtualKey(SDL_Scancode scancode, int virtualKey);
