// The heads-up display over the stage: score, counters, time, world and the
// damage gauge.
#pragma once

void drawHud();
