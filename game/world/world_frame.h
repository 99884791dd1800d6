// One frame of play: the world, the player, the pools and the player's status.
#pragma once

#include "world/player.h"

// Moves and draws everything of the stage once, in the order the game
// always uses, and returns what the status step asks of the scene.
StageEnd worldFrame();
