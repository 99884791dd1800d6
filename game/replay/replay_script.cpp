#include "replay/replay_script.h"

#include "platform/ascii_case.h"
#include "platform/input.h"

#include <algorithm>
#include <sstream>

namespace {

// clang-format off
const struct {
    const char* name;
    int button;
} BUTTON_NAMES[] = {
    {"UP", BUTTON_UP}, {"DOWN", BUTTON_DOWN}, {"LEFT", BUTTON_LEFT}, {"RIGHT", BUTTON_RIGHT},
    {"PAUSE", BUTTON_PAUSE}, {"A", BUTTON_A}, {"B", BUTTON_B}, {"C", BUTTON_C},
};
// clang-format on

constexpr int MAX_FRAME = 10'000'000;

bool buttonNamed(const std::string& word, int& button) {
    for (const auto& entry : BUTTON_NAMES) {
        if (equalsIgnoringAsciiCase(word, entry.name)) {
            button = entry.button;
            return true;
        }
    }
    return false;
}

// A frame number: digits only, at most MAX_FRAME.
bool frameNumber(const std::string& text, int& frame) {
    if (text.empty() || text.size() > 8) return false;
    if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    frame = std::stoi(text);
    return frame <= MAX_FRAME;
}

bool parseRange(const std::string& word, ReplaySpan& span) {
    const size_t dash = word.find('-');
    if (dash == std::string::npos) {
        if (!frameNumber(word, span.first)) return false;
        span.last = span.first;
        return true;
    }
    return frameNumber(word.substr(0, dash), span.first) &&
           frameNumber(word.substr(dash + 1), span.last) && span.first <= span.last;
}

bool parseLine(const std::string& line, ReplaySpan& span, std::string& error) {
    std::istringstream words(line);
    std::string word;
    words >> word;
    if (!parseRange(word, span)) {
        error = "'" + word + "' is no frame or range of frames such as 12 or 0-59";
        return false;
    }
    while (words >> word) {
        int button = 0;
        if (!buttonNamed(word, button)) {
            error = "'" + word + "' is no button (UP DOWN LEFT RIGHT PAUSE A B C)";
            return false;
        }
        span.buttons |= uint8_t(1u << button);
    }
    return true;
}

} // namespace

uint8_t ReplayScript::buttonsAt(int frame) const {
    uint8_t held = 0;
    for (const ReplaySpan& span : spans)
        if (frame >= span.first && frame <= span.last) held |= span.buttons;
    return held;
}

int ReplayScript::lastFrame() const {
    int last = -1;
    for (const ReplaySpan& span : spans)
        last = std::max(last, span.last);
    return last;
}

bool parseReplayScript(const std::string& text, ReplayScript& script, std::string& error) {
    script.spans.clear();
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        const size_t comment = line.find('#');
        if (comment != std::string::npos) line.resize(comment);
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        ReplaySpan span;
        if (!parseLine(line, span, error)) {
            error = "line " + std::to_string(number) + ": " + error;
            return false;
        }
        script.spans.push_back(span);
    }
    return true;
}
