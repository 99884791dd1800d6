// Scenes whose contents come with the gameplay and the front-end screens:
// until then each keeps the frame rhythm of a scene (input, fade, present
// with its clear colour), so the scene machine runs as it will.
#include "shell/scene_machine.h"
#include "shell/scenes.h"
#include "world/world.h"

void gameplayScene() { plainSceneFrame(world.background != 0 ? CLEAR_BLACK : CLEAR_SKY); }
void endingScene() { plainSceneFrame(CLEAR_ENDING); }
void gameOverScene() { plainSceneFrame(CLEAR_BLACK); }
void staffRollScene() { plainSceneFrame(CLEAR_BLACK); }
