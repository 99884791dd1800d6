#include "shell/hud.h"

#include "platform/blit.h"
#include "platform/sheets.h"
#include "platform/text.h"
#include "world/player.h"
#include "world/world.h"

namespace {

// The gauge grows upwards from a fixed bottom at y 96, two pixels a point of
// gauge size; the damage marks fill it from the top.
void drawGauge() {
    const int n = player.gaugeSize;
    const int d = player.damage;
    keyedBlit(5, 90 - 2 * n, SHEET_BEAM, 0, 32, 16, 40);
    for (int i = 0; i < n; ++i)
        keyedBlit(5, 98 - 2 * n + 2 * i, SHEET_BEAM, 0, 40, 16, 42);
    keyedBlit(5, 96, SHEET_BEAM, 0, 48, 16, 64);
    for (int j = 0; j < d; ++j)
        keyedBlit(10, 93 - 2 * n + 2 * j, SHEET_BEAM, 4, 36, 10, 37);
}

} // namespace

void drawHud() {
    spriteText(3, 3, formatText("SCORE\n%.6d", int(player.score)));
    spriteText(72, 3,
               formatText("cx%.2d  lx%.2d\nsx%.2d", player.coins, player.lives, player.spanners));
    spriteText(178, 3, formatText("TIME\n%d", int(world.elapsedTime)));
    spriteText(230, 3, formatText("WORLD\n%d - %d", world.worldNumber + 1, world.stageNumber + 1));
    drawGauge();
}
