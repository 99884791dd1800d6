// The player's resolution against map objects and enemies after each move.
#pragma once

// After the x move: the stage's ends, the objects at the player's sides and
// the enemies met side on.
void resolvePlayerHorizontally();
// After the y move: the objects under the feet and at the head, and the
// enemies met from above or below.
void resolvePlayerVertically();
