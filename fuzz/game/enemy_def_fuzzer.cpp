// An enemy definition (dat/eNN.dat) as the game reads it: the input becomes
// the definition of every kind, and a stage with one enemy of each kind on
// a floor beside the start is played for a while, so each behaviour moves,
// animates and draws the definition.
#include "support/game_session.h"
#include "support/scratch_folder.h"
#include "world/enemy_definition.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

constexpr size_t LARGEST_INPUT = 8 * 1024;
constexpr int KINDS = 14; // the kinds with a behaviour of their own
constexpr int PLAYED_FRAMES = 60;
constexpr const char* STAGE_FILE = "enemies.vtg";
constexpr int FLOOR_TOP = 224;
constexpr int FLOOR_END = 1280;
constexpr int SOLID_KIND = 1;

std::string stageText() {
    std::string text = "enemies\r\nfuzz\r\ncleared\r\n3\r\n0\r\nstage_begin\r\ndef.mid\r\n0\r\n";
    auto record = [&](int x, int y, int kind) {
        text +=
            std::to_string(x) + "\r\n" + std::to_string(y) + "\r\n" + std::to_string(kind) + "\r\n";
    };
    for (int x = 0; x < FLOOR_END; x += 16)
        record(x, FLOOR_TOP, SOLID_KIND);
    text += "-1\r\n";
    // Enemies stand on the floor: a file keeps an enemy by its bottom edge.
    for (int kind = 0; kind < KINDS; ++kind)
        record(96 + 40 * kind, FLOOR_TOP, kind);
    return text + "-1\r\nend;";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > LARGEST_INPUT) return 0;
    static const bool stageWritten = [] {
        fuzz::writeBytes(fuzz::scratchGameFolder() / "stage" / STAGE_FILE, stageText());
        return true;
    }();
    (void)stageWritten;
    for (int kind = 0; kind < KINDS; ++kind) {
        const std::filesystem::path name =
            std::filesystem::path(enemyDefinitionPath(kind)).filename();
        fuzz::writeBytes(fuzz::scratchGameFolder() / "dat" / name, data, size);
    }
    if (fuzz::startNewGameAt(STAGE_FILE, 0)) fuzz::playFrames(PLAYED_FRAMES);
    fuzz::closeGame();
    return 0;
}
