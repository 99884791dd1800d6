// The game window's procedure, its message drain and the start-up log.
#pragma once

#include "shell/window_messages.h"

#include <string>

// Window creation: seeds the random source, chooses page-flip mode when F10 is held.
void onWindowCreate();

// Handles one message as the window procedure does.
void windowProcedure(WindowMessage message, int virtualKey = 0);

// Drains every pending message, posted ones first; false once the quit
// message has been taken.
bool drainMessages();

// Forgets pending messages and the activation history (start of a run, tests).
void resetWindow();

// The start-up log: appends a line and redraws the whole log.
void appendStartupLog(const char* text);
const std::string& startupLog();
