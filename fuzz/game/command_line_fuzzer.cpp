// The game's command line as the boot scene reads it: empty, "/D..." for the
// debug mode, or a test play ("SS XXXXXXXX file.vtg"), then a few dozen
// frames of whatever it started.
#include "support/game_session.h"
#include "support/scratch_folder.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

// The game keeps 255 bytes of it; a little more shows that the rest is cut.
constexpr size_t LARGEST_INPUT = 300;
constexpr int PLAYED_FRAMES = 40;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > LARGEST_INPUT) return 0;
    // main() joins the arguments into one C string: nothing after a NUL reaches the game.
    const std::string line(fuzz::asText(data, size));
    if (fuzz::bootGame(line.c_str())) fuzz::playFrames(PLAYED_FRAMES);
    fuzz::closeGame();
    return 0;
}
