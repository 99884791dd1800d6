// Builds se/<name>.wav for each of the game's effects from
// assets/sounds/<name>.txt.
#include "builders.h"
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

// Returns an empty string on success, else what went wrong.
std::string buildEffect(const std::filesystem::path& source, const std::filesystem::path& target,
                        bool& written) {
    const std::optional<std::string> text = readFileText(source.string());
    if (!text) return "cannot read the source";
    sfx::SoundRecipe recipe;
    std::string error;
    if (!sfx::parseSoundRecipe(*text, recipe, error)) return error;
    sfx::MasteredSound sound = sfx::masterSound(sfx::renderRecipe(recipe), recipe.levelDb);
    if (!sound.error.empty()) return sound.error;
    bool changed = false;
    if (!writeFileIfChanged(target.string(), sfx::encodeWave(sound.samples, sfx::kSampleRate),
                            error, &changed))
        return error;
    written = changed;
    return "";
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
        std::string error = buildEffect(source, targetDir / (std::string(name) + ".wav"), written);
        if (!error.empty()) {
            std::fprintf(stderr, "sounds: %s: %s\n", source.string().c_str(), error.c_str());
            ++failures;
        }
        writtenCount += written;
    }
    std::printf("sounds: %zu effects, %d rewritten, %d failed\n", std::size(SOUND_EFFECT_NAMES),
                writtenCount, failures);
    return failures == 0 ? 0 : 1;
}
