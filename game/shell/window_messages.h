// The game window's message queue: messages the game posts to its own window
// (PostMessage), taken by the window's message drain in the same pass.
#pragma once

enum class WindowMessage { KeyDown, KeyUp, Activate, Deactivate, Close, Destroy, Quit };

struct PostedMessage {
    WindowMessage message = WindowMessage::Quit;
    int virtualKey = 0;
};

void postWindowMessage(WindowMessage message);
// Takes the oldest posted message; false when none is waiting.
bool takePostedMessage(PostedMessage& message);
void clearPostedMessages();
