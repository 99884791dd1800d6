// The scene table: one row per scene number with the handler the dispatcher
// runs and the reset that puts the scene's own state back to its start values.
#pragma once

using SceneHandler = void (*)();

struct SceneRow {
    int scene;
    SceneHandler handler;
    SceneHandler reset; // nullptr for a scene without state of its own
};

// The row of a scene number; nullptr outside the table.
const SceneRow* sceneRow(int scene);

// Every scene's own state back to its start values (program start, tests).
void resetAllScenes();
