// config.ini as the game reads it: the controller settings and the display
// options at start-up and the ranking at boot; the ranking is shown, a score
// entered and written back, and what was written must read back the same.
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "shell/ranking.h"
#include "shell/scene_machine.h"
#include "support/game_session.h"
#include "support/scratch_folder.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

namespace {

constexpr size_t LARGEST_INPUT = 16 * 1024;
constexpr int SHOWN_FRAMES = 10;
constexpr size_t SHOWN_PLACES = 8;
constexpr uint32_t SCORE_LIMIT = 999999;

bool sameEntries(const std::vector<RankingEntry>& a, const std::vector<RankingEntry>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].score != b[i].score || std::strcmp(a[i].code, b[i].code) != 0) return false;
    return true;
}

// Joystick 0 is plugged in, so that DEVICE=2 settings are read through.
void plugInJoystick() {
    platform::JoystickCaps caps;
    caps.xMax = 65535;
    caps.yMax = 65535;
    headless::setJoystick(0, true, caps);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > LARGEST_INPUT) return 0;
    const std::filesystem::path file = fuzz::scratchGameFolder() / "config.ini";
    fuzz::writeBytes(file, data, size);
    if (fuzz::bootGame("", plugInJoystick)) {
        sceneNumber = SCENE_RANKING;
        startFadeIn();
        fuzz::idleFrames(SHOWN_FRAMES);
        insertIntoRanking(uint32_t(size * 7919) % (SCORE_LIMIT + 1));
        const size_t kept = std::min(rankingTable.size(), SHOWN_PLACES);
        const std::vector<RankingEntry> saved(rankingTable.begin(),
                                              rankingTable.begin() + std::ptrdiff_t(kept));
        if (saveRanking()) {
            loadRanking();
            if (!sameEntries(saved, rankingTable)) {
                std::fprintf(stderr, "the ranking written to config.ini reads back otherwise\n");
                std::abort();
            }
        }
    }
    fuzz::closeGame();
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    return 0;
}
