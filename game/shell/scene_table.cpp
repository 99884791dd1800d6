#include "shell/scene_table.h"

#include "shell/scene_machine.h"
#include "shell/scenes.h"

#include <iterator>

namespace {

// clang-format off
constexpr SceneRow SCENE_TABLE[] = {
    {SCENE_BOOT,         bootScene,         nullptr},
    {SCENE_GAMEPLAY,     gameplayScene,     resetGameplayScene},
    {SCENE_ENDING,       endingScene,       resetEndingScene},
    {SCENE_LOGO,         logoScene,         resetLogoScene},
    {SCENE_TITLE,        titleScene,        resetTitleScene},
    {SCENE_GAME_OVER,    gameOverScene,     resetGameOverScene},
    {SCENE_EXTRA_STAGE,  extraStageScene,   resetExtraStageScene},
    {SCENE_RANKING,      rankingScene,      resetRankingScene},
    {SCENE_STAFF_ROLL,   staffRollScene,    resetStaffRollScene},
    {SCENE_CONFIRMATION, confirmationScene, resetConfirmationScene},
};
// clang-format on

constexpr bool everySceneInItsRow() {
    if (std::size(SCENE_TABLE) != SCENE_COUNT) return false;
    for (int i = 0; i < SCENE_COUNT; ++i)
        if (SCENE_TABLE[i].scene != i) return false;
    return true;
}
static_assert(everySceneInItsRow(), "one row per scene, in the order of the scene numbers");

} // namespace

const SceneRow* sceneRow(int scene) {
    if (scene < 0 || scene >= SCENE_COUNT) return nullptr;
    return &SCENE_TABLE[scene];
}

void resetAllScenes() {
    for (const SceneRow& row : SCENE_TABLE)
        if (row.reset) row.reset();
}
