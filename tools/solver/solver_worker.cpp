#include "solver_protocol.h"

#include "platform/input.h"

// clang-format off
const std::vector<Move>& moves() {
    static const std::vector<Move> list = {
        {"RIGHT C",   uint8_t(1 << BUTTON_RIGHT | 1 << BUTTON_C)},
        {"RIGHT C B", uint8_t(1 << BUTTON_RIGHT | 1 << BUTTON_C | 1 << BUTTON_B)},
        {"RIGHT",     uint8_t(1 << BUTTON_RIGHT)},
        {"RIGHT B",   uint8_t(1 << BUTTON_RIGHT | 1 << BUTTON_B)},
        {"",          0},
        {"B",         uint8_t(1 << BUTTON_B)},
        {"LEFT",      uint8_t(1 << BUTTON_LEFT)},
        {"RIGHT A",   uint8_t(1 << BUTTON_RIGHT | 1 << BUTTON_A)},
    };
    return list;
}
// clang-format on

std::string scriptText(const std::vector<uint8_t>& path, int firstFrame) {
    std::string text;
    size_t first = 0;
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i < path.size() && path[i] == path[first]) continue;
        const Move& move = moves()[path[first]];
        if (move.buttons != 0)
            text += std::to_string(firstFrame + int(first) * CHUNK_FRAMES) + "-" +
                    std::to_string(firstFrame + int(i) * CHUNK_FRAMES - 1) + " " + move.name + "\n";
        first = i;
    }
    return text;
}
