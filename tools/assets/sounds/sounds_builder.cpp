// Builds se/<name>.wav for each of the game's effects from
// assets/sounds/<name>.txt.
#include "builders.h"
#include "common/diagnostics.h"
#include "common/file_io.h"
#include "platform/sound_effects.h"

#include "mastering.h"
#include "sound_notation.h"
#include "synth.h"
#include "wave_file.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <optional>

namespace {

// Reports what went wrong to diagnostics; false when the effect was not made.
bool buildEffect(const std::filesystem::path& source, const std::filesystem::path& target,
                 Diagnostics& diagnostics, bool& written) {
    const std::optional<std::string> text = readFileText(source.string());
    if (!text) {
        diagnostics.error("cannot read the source");
        return false;
    }
    sfx::SoundRecipe recipe;
    if (!sfx::parseSoundRecipe(*text, recipe, diagnostics)) return false;
    sfx::MasteredSound sound = sfx::masterSound(sfx::renderRecipe(recipe), recipe.levelDb);
    if (!sound.error.empty()) {
        diagnostics.error(sound.error);
        return false;
    }
    std::string error;
    if (!writeFileIfChanged(target.string(), sfx::encodeWave(sound.samples, sfx::kSampleRate),
                            error, &written)) {
        diagnostics.error(error);
        return false;
    }
    return true;
}

} // namespace

int buildSounds(const std::string& assetsDir, const std::string& gameDir) {
    const std::filesystem::path sourceDir = std::filesystem::path(assetsDir) / "sounds";
    const std::filesystem::path targetDir = std::filesystem::path(gameDir) / "se";
    std::error_code ignored;
    std::filesystem::create_directories(targetDir, ignored);

    int failures = 0;
    int writtenCount = 0;
    for (const char* name : SOUND_EFFECT_NAMES) {
        const std::filesystem::path source = sourceDir / (std::string(name) + ".txt");
        bool written = false;
        Diagnostics diagnostics(source.string());
        if (!buildEffect(source, targetDir / (std::string(name) + ".wav"), diagnostics, written)) {
            for (const std::string& message : diagnostics.messages())
                std::fprintf(stderr, "%s\n", message.c_str());
            ++failures;
        }
        writtenCount += written;
    }
    std::printf("sounds: %zu effects, %d rewritten, %d failed\n", std::size(SOUND_EFFECT_NAMES),
                writtenCount, failures);
    return failures == 0 ? 0 : 1;
}
