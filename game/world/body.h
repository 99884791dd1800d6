// The box every moving thing of the world begins with: map objects, the
// player, enemies, projectiles and effects. Probes and the touch operation
// take any of them by this part.
#pragma once

#include <cstdint>

struct Body {
    double x = 0;  // left edge, pixels
    double y = 0;  // bottom edge, pixels (y grows downwards)
    double vx = 0; // pixels per second
    double vy = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t inset = 0; // taken off both sides against map objects
};
