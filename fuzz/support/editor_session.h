// What the editor's fuzz targets share: a Qt application on the offscreen
// platform, the built game's pictures and enemy definitions for drawing, and
// the switch for the round-trip checks.
#pragma once

#include "canvas_drawing.h"
#include "enemy_definitions.h"

namespace fuzz {

// Made once, before the first input.
void startEditorApplication();

// mapobj.bmp and enemy.bmp of the built game, and its definitions.
const CanvasPictures& editorPictures();
const EnemyDefinitions& builtEnemyDefinitions();

// Whether a file that changes when the editor saves it again aborts the run
// (VELTA_FUZZ_ROUND_TRIP=1) or is only reported. Off by default: the
// editor's Shift-JIS conversion turns the duplicate codes of the 0xED/0xEE
// and 0xFA-0xFC rows into one another, so such files keep changing until
// that conversion is rebuilt.
bool roundTripAborts();
// Reports each kind of round-trip difference once per process, or aborts
// when asked to.
void roundTripDiffers(const char* what);

// Draws the slot as the canvas does, at a few views: the start, and around
// the first records, as the seek buttons and scrolling reach them.
void drawSlotViews(const StageSlot& slot, const EnemyDefinitions& definitions);

} // namespace fuzz
