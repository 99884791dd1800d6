// The game's entry: start-up sequence and frame loop.
#pragma once

#include <string>

// Runs the whole game. Returns 1 after a normal quit and 0 when the display
// could not be started or the palette picture could not be read.
int runGame(const std::string& commandLine);

// The start-up sequence up to the frame loop; false (after the error box)
// when the display or the palette failed.
bool startUp(const std::string& commandLine);
// One pass of the frame loop; false once the quit message has been taken.
bool framePass();
