// What the editor's fuzz targets share: a Qt application on the offscreen
// platform and the built game's pictures and enemy definitions for drawing.
#pragma once

#include "canvas_drawing.h"
#include "enemy_definitions.h"

namespace fuzz {

// Made once, before the first input.
void startEditorApplication();

// mapobj.bmp and enemy.bmp of the built game, and its definitions.
const CanvasPictures& editorPictures();
const EnemyDefinitions& builtEnemyDefinitions();

// Draws the slot as the canvas does, at a few views: the start, and around
// the first records, as the seek buttons and scrolling reach them.
void drawSlotViews(const StageSlot& slot, const EnemyDefinitions& definitions);

} // namespace fuzz
