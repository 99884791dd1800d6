// Frame passes of the whole game, for tests that run it through its scenes.
#pragma once

#include <functional>

// Runs frame passes; false when the game quit before they were done.
bool runPasses(int count);
// Holds a key for one frame pass, then lets it go until its button is up again.
bool tapKey(int virtualKey);
// Runs passes until the predicate holds; false when the game quit or the
// limit ran out first.
bool runPassesUntil(const std::function<bool()>& done, int limit = 2000);
