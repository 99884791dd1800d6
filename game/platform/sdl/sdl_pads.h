// Game pads through SDL's game controller layer: SDL's own mapping database,
// SDL_GAMECONTROLLERCONFIG (which SDL reads itself) and the mapping files the
// game adds. Pads are opened when they appear and closed when they go.
#pragma once

#include "platform/platform.h"

#include <SDL.h>

// Starts SDL's game controller layer and opens every pad already connected.
// Returns false when SDL cannot start it; the game then plays without pads.
bool openPads();
void closePads();
// True between openPads and closePads: SDL's event queue is running.
bool padsOpen();

// Follows pads plugged in and out. True when the event is one for the game:
// Back on a pad while pads drive the game, as the Escape key.
bool translatePadEvent(const SDL_Event& e, platform::Event& out);
