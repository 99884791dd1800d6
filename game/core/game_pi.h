// The game's own value of pi, used by every angle and rate it turns: a
// rounded 3.1415926538, not the double nearest to pi.
#pragma once

constexpr double GAME_PI = 3.1415926538;
