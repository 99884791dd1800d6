// The game window's message queue and window procedure.
#pragma once

#include "platform/platform.h"

#include <string>

enum class WindowMessage { KeyDown, KeyUp, Activate, Deactivate, Close, Destroy, Quit };

// Posts a message to the game window (PostMessage); it is handled in the
// message drain of the current pass.
void postWindowMessage(WindowMessage message);

// Window creation: seeds the random source, chooses page-flip mode when F10 is held.
void onWindowCreate();

// Handles one message as the window procedure does.
void windowProcedure(WindowMessage message, int virtualKey = 0);

// Drains every pending message; false once the quit message has been taken.
bool drainMessages();

// Forgets pending messages and the activation history (start of a run, tests).
void resetWindow();

// The start-up log: appends a line and redraws the whole log.
void appendStartupLog(const char* text);
const std::string& startupLog();
