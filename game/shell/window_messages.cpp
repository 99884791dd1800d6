#include "shell/window_messages.h"

#include <deque>

namespace {

std::deque<PostedMessage> posted;

} // namespace

void postWindowMessage(WindowMessage message) {
    posted.push_back({message, 0});
}

bool takePostedMessage(PostedMessage& message) {
    if (posted.empty()) return false;
    message = posted.front();
    posted.pop_front();
    return true;
}

void clearPostedMessages() {
    posted.clear();
}
