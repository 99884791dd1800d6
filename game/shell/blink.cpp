#include "shell/blink.h"

#include "core/frame_clock.h"

bool Blink::update() {
    const uint32_t now = gameClock();
    if (!started) {
        started = true;
        toggledAt = now;
    }
    if (now - toggledAt > 500) {
        on = !on;
        toggledAt = now;
    }
    return on;
}
