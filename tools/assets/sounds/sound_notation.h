// Reads the text notation of a sound effect (documented in
// assets/sounds/README.md) into a recipe.
#pragma once

#include "common/diagnostics.h"
#include "sound_recipe.h"

#include <optional>
#include <string>

namespace sfx {

// Fills `recipe` from `text`. On a mistake returns false and reports it with
// its line and column; nothing is guessed or silently skipped.
bool parseSoundRecipe(const std::string& text, SoundRecipe& recipe, Diagnostics& diagnostics);

// "A4" -> 440, "C#5", "Bb3", or a plain number of hertz.
std::optional<double> parsePitch(const std::string& text);

} // namespace sfx
