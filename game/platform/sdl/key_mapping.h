// SDL scancodes to the Windows virtual-key codes that config.ini and the game use.
#pragma once

#include <SDL_scancode.h>

// 0 when the scancode has no virtual key.
int virtualKeyFromScancode(SDL_Scancode scancode);
