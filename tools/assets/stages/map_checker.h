// Faults of a stage's map that the stage file itself allows but a player
// would see or meet: ground tops buried under blocks, blocks that can never be
// bumped, enemies that start in mid-air or inside walls, ground ends that draw
// a crack in a floor, and goals with nothing to stand on in front of them.
// Each is reported at its map cell as file:line:column.
#pragma once

#include "common/diagnostics.h"
#include "stages/enemy_heights.h"
#include "stages/stage_source.h"

namespace stages {

// Reports every fault of every stage of a parsed source. Enemy kinds without
// a usable definition are left to the assembler to report.
void checkStageMaps(const StageSource& source, EnemyHeights& heights, Diagnostics& diagnostics);

} // namespace stages
