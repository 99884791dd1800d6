// A tune source (the music notation) as the asset builder reads it; a tune
// that parses is written as the standard MIDI file the builder makes.
#include "common/diagnostics.h"
#include "music/smf_writer.h"
#include "music/tune_parser.h"
#include "support/scratch_folder.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

constexpr size_t LARGEST_INPUT = 32 * 1024;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > LARGEST_INPUT) return 0;
    music::Tune tune;
    Diagnostics diagnostics("fuzz.tune");
    if (music::parseTune(std::string(fuzz::asText(data, size)), tune, diagnostics))
        music::writeStandardMidi(tune);
    return 0;
}
