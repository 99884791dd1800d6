#include "support/game_passes.h"

#include "platform/headless/headless.h"
#include "shell/startup.h"

bool runPasses(int count) {
    for (int i = 0; i < count; ++i)
        if (!framePass()) return false;
    return true;
}

bool tapKey(int virtualKey) {
    headless::setKey(virtualKey, true);
    const bool running = runPasses(1);
    headless::setKey(virtualKey, false);
    // A button goes pressed, held, released, up: three more updates before
    // the next tap can read as a press.
    return running && runPasses(3);
}

bool runPassesUntil(const std::function<bool()>& done, int limit) {
    for (int i = 0; i < limit; ++i) {
        if (done()) return true;
        if (!framePass()) return false;
    }
    return done();
}
