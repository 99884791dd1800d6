// The gameplay scene comes with the world and the player; until then it keeps
// the frame rhythm of a scene (input, fade, present with its clear colour), so
// that the scene machine runs as it will.
#include "shell/scene_machine.h"
#include "shell/scenes.h"
#include "world/world.h"

void gameplayScene() {
    plainSceneFrame(world.background != 0 ? CLEAR_BLACK : CLEAR_SKY);
}
