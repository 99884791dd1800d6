// Map characters for the kinds the default legend has none for, when a
// stage file is turned back into a source.
#pragma once

#include "stages/legend.h"

#include <cstddef>
#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace stages {

using KindKey = std::pair<bool, int>; // (enemy, kind)
using KindSet = std::set<KindKey>;

struct LegendChoice {
    Legend file;                // entries for every stage
    std::vector<Legend> stages; // one per stage; empty unless the file's could not do
};

// One file-wide legend while the characters no default uses suffice (the
// same kind then reads the same in every stage); otherwise a legend per
// stage, which may also take the default characters of kinds that stage
// does not use. Nothing, with the stage's index in failedStage, when a
// stage uses more kinds than a map has characters.
std::optional<LegendChoice> chooseLegends(const std::vector<KindSet>& stageKinds,
                                          std::size_t& failedStage);

// The character that places kind in a stage with these entries over the
// defaults; 0 when there is none.
char characterFor(const KindKey& kind, const Legend& file, const Legend& stage);

} // namespace stages
