#include "shell/window.h"

#include "core/random.h"
#include "platform/display.h"
#include "platform/music.h"
#include "platform/platform.h"
#include "platform/sheets.h"
#include "platform/sound.h"
#include "platform/text.h"
#include "platform/virtual_keys.h"
#include "shell/scene_machine.h"
#include "world/world.h"

namespace {

constexpr size_t STARTUP_LOG_SIZE = 1024;

bool deactivated = false;
std::string logText;

void shutDown() {
    present(1, 0);
    releaseVideo();
    closeSound();
    freeFontDescription();
    closeMusic();
    postWindowMessage(WindowMessage::Destroy);
}

WindowMessage fromEvent(const platform::Event& event) {
    switch (event.type) {
    case platform::EventType::KeyDown:
        return WindowMessage::KeyDown;
    case platform::EventType::KeyUp:
        return WindowMessage::KeyUp;
    case platform::EventType::Activate:
        return WindowMessage::Activate;
    case platform::EventType::Deactivate:
        return WindowMessage::Deactivate;
    case platform::EventType::Close:
        return WindowMessage::Close;
    }
    return WindowMessage::Close;
}

} // namespace

void resetWindow() {
    clearPostedMessages();
    deactivated = false;
    logText.clear();
}

void onWindowCreate() {
    seedRandom(platform::calendarSeconds());
    if (platform::keyDown(VK_F10)) setPageFlipMode(true);
}

void windowProcedure(WindowMessage message, int virtualKey) {
    switch (message) {
    case WindowMessage::KeyDown:
        if (virtualKey == VK_ESCAPE) escapeRequest();
        break;
    case WindowMessage::KeyUp:
        break;
    case WindowMessage::Deactivate:
        deactivated = true;
        break;
    case WindowMessage::Activate:
        // The window is also activated when it first appears; only coming back
        // from another program restores the display.
        if (deactivated && videoStarted()) {
            deactivated = false;
            restoreAfterReactivation();
            loadAllSheets(appendStartupLog);
            // The mirrored frames are rebuilt at once; without them the player,
            // spanners and enemies would vanish whenever they face left.
            rebuildMirroredSheets();
        }
        break;
    case WindowMessage::Close:
        shutDown();
        break;
    case WindowMessage::Destroy:
        postWindowMessage(WindowMessage::Quit);
        break;
    case WindowMessage::Quit:
        break;
    }
}

bool drainMessages() {
    for (;;) {
        PostedMessage next;
        platform::Event event;
        if (takePostedMessage(next)) {
            // Posted by the game itself: handled before the window's own events.
        } else if (platform::pollEvent(event)) {
            next = {fromEvent(event), event.virtualKey};
        } else {
            return true;
        }
        if (next.message == WindowMessage::Quit) return false;
        windowProcedure(next.message, next.virtualKey);
    }
}

void appendStartupLog(const char* text) {
    logText += text;
    logText += "\n";
    // The log holds 1024 bytes; once full, the oldest lines make room.
    while (logText.size() > STARTUP_LOG_SIZE - 1) {
        const size_t end = logText.find('\n');
        logText.erase(0, end == std::string::npos ? logText.size() : end + 1);
    }
    beginGdiText(12, "Times");
    setTextColours(0xFFFFFF, 0x000000, 1);
    textInBox(10, 100, 288, 256, logText.c_str(), ALIGN_CENTRE);
    endGdiText();
    present(0, 0);
}

const std::string& startupLog() {
    return logText;
}
