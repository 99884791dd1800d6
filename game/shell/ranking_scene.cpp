// The ranking: the eight best main-game scores with their codes.
#include "platform/blit.h"
#include "platform/display.h"
#include "platform/input.h"
#include "platform/text.h"
#include "shell/blink.h"
#include "shell/ranking.h"
#include "shell/scene_machine.h"
#include "shell/scenes.h"

#include <algorithm>

namespace {

struct RankingSceneState {
    uint8_t leaving = 0;
    Blink message;
} ranking;

} // namespace

void resetRankingScene() {
    ranking = RankingSceneState{};
}

void rankingScene() {
    input.update();
    spriteText(116, 20, "RANKING");
    if (!rankingTable.empty()) {
        const size_t shown = std::min<size_t>(rankingTable.size(), 8);
        for (size_t i = 0; i < shown; ++i)
            spriteText(56, int(50 + 10 * i),
                       formatText("%.2d:  %.6d  (%s)", int(i + 1), int(rankingTable[i].score),
                                  rankingTable[i].code));
    } else if (ranking.message.update()) {
        spriteText(104, 124, "NO RANKING");
    }
    if (rankingSaveFailed()) spriteText(76, 150, "RANKING NOT SAVED");
    startLeavingOnConfirm(ranking.leaving);
    if (readyToLeave(ranking.leaving)) {
        finishLeaving(ranking.leaving);
        sceneNumber = SCENE_TITLE;
        startFadeIn();
        return;
    }
    drawFade();
    present(1, CLEAR_ENDING);
}
