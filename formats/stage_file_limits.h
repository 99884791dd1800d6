// What one stage file holds at most: the stage editor keeps 36 stages, each
// with room for 1024 map-object records and 64 enemy records, and the asset
// builder writes no more than the editor can open.
#pragma once

constexpr int STAGE_FILE_STAGES = 36;
constexpr int STAGE_FILE_OBJECTS = 1024;
constexpr int STAGE_FILE_ENEMIES = 64;
