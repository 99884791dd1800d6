// Carrying a game from stage to stage.
#pragma once

// Run right before the first stage load of a game.
void newGameReset();
