// A sound source (the sound notation) as the asset builder reads it; a
// recipe that parses is rendered, mastered and encoded as the builder makes
// an effect, when it is no longer than a real effect.
#include "common/diagnostics.h"
#include "sounds/mastering.h"
#include "sounds/sound_notation.h"
#include "sounds/synth.h"
#include "sounds/wave_file.h"
#include "support/scratch_folder.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

constexpr size_t LARGEST_INPUT = 16 * 1024;
// Rendering time grows with the sound's length and its tones' lengths; the
// longest shipped effect lasts under five seconds.
constexpr double MAX_RENDERED_SECONDS = 5.0;
constexpr double MAX_TONE_SECONDS = 10.0;

bool shortEnough(const sfx::SoundRecipe& recipe) {
    double end = 0.0, toneSeconds = 0.0;
    for (const sfx::ToneEvent& tone : recipe.tones) {
        end = std::max(end, tone.end());
        toneSeconds += tone.end() - tone.start;
    }
    if (recipe.echo.repeats > 0) end += recipe.echo.delay * recipe.echo.repeats;
    return end <= MAX_RENDERED_SECONDS && toneSeconds <= MAX_TONE_SECONDS;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > LARGEST_INPUT) return 0;
    sfx::SoundRecipe recipe;
    Diagnostics diagnostics("fuzz.txt");
    if (!sfx::parseSoundRecipe(std::string(fuzz::asText(data, size)), recipe, diagnostics) ||
        !shortEnough(recipe))
        return 0;
    const sfx::MasteredSound sound = sfx::masterSound(sfx::renderRecipe(recipe), recipe.levelDb);
    if (sound.error.empty()) sfx::encodeWave(sound.samples, sfx::kSampleRate);
    return 0;
}
