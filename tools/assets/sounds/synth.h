// Renders a recipe into floating-point samples: every tone event is
// synthesised and mixed, then the echo is applied. Levels are left as they
// come; mastering scales them.
#pragma once

#include "sound_recipe.h"

#include <vector>

namespace sfx {

constexpr int kSampleRate = 22050;

std::vector<double> renderRecipe(const SoundRecipe& recipe);

} // namespace sfx
