#include "world/player.h"

#include "core/frame_clock.h"
#include "platform/blit.h"
#include "platform/input.h"
#include "platform/sheets.h"
#include "platform/sound.h"
#include "world/effects.h"

Player player;

namespace {

void addPlayerFrames(Animator& a) {
    // clang-format off
    for (int i = 0; i <= 5; ++i) a.addFrame(16 + 16 * i, 0, 32 + 16 * i, 32);
    for (int i = 0; i <= 4; ++i) a.addFrame(16 * i, 32, 16 * i + 16, 64);
    for (int i = 0; i <= 8; ++i) a.addFrame(16 * i, 64, 16 * i + 16, 96);
    for (int i = 0; i <= 4; ++i) a.addFrame(16 * i, 128, 16 * i + 16, 160);
    a.addFrame(48, 96, 64, 128);
    for (int i = 0; i <= 3; ++i) a.addFrame(80 + 16 * i, 128, 96 + 16 * i, 160);
    a.addFrame(0, 0, 16, 32);
    // clang-format on
}

void addPlayerLines(Animator& a) {
    struct LineSpec {
        int delay;
        bool loops;
        std::initializer_list<int> frames;
    };
    // clang-format off
    const LineSpec specs[] = {
        {0, true, {0}},
        {110, true, {1, 2, 3, 4, 5, 4, 3, 2}},
        {50, true, {1, 2, 3, 4, 5, 4, 3, 2}},
        {0, true, {7}},
        {0, true, {6}},
        {0, true, {8}},
        {0, true, {9}},
        {0, true, {10}},
        {0, true, {11}},
        {70, false, {12, 13, 14, 15, 16, 17, 18, 19}},
        {75, false, {20, 21, 22, 23, 24, 26, 27, 28, 29, 30}},
        {255, false, {25, 25, 25, 25}},
        {75, false, {29, 28, 27, 26, 24, 23, 22, 21, 20}},
    };
    // clang-format on
    int n = 0;
    for (const LineSpec& spec : specs) {
        a.setLine(n++, spec.delay, spec.loops, std::data(spec.frames), int(spec.frames.size()));
    }
}

} // namespace

void playerStartupBuild() {
    player.animator.clear();
    addPlayerFrames(player.animator);
    addPlayerLines(player.animator);
    // Select the entry line even though the animator already stands on line 0.
    player.animator.line = LINE_ENTERING;
    player.animator.position = 1;
    buildPlayerMirror();
}

void buildPlayerMirror() {
    player.animator.buildMirror(SHEET_PLAYER, SHEET_PLAYER_MIRROR, FLIP_LEFT_RIGHT);
}

void resetPlayerForStage() {
    player.x = 0;
    player.y = 224;
    player.vx = 0;
    player.vy = 0;
    player.pendingBounce = 0;
    player.facing = 1;
    player.aiming = 0;
    player.airborne = 0;
    player.throwTime = 0;
    player.hurtTime = 0;
    player.groundObject = NO_OBJECT;
    player.animator.selectLine(LINE_ENTERING, gameClock());
}

void hurtPlayer(int) {
    // Every enemy kind does the same two points of damage.
    if (player.hurtTime != 0) return;
    playEffect(SE_ITE);
    player.vx = 0;
    player.vy = player.vy / 2;
    player.hurtTime = gameClock();
    player.damage += 2;
}

void stompBounce() {
    player.pendingBounce = input.state(BUTTON_B) == STATE_HELD ? -290 : -190;
    playEffect(SE_TROD);
}

void award(int32_t points, const Body& at) {
    if (points != EXTRA_LIFE_POP_UP) player.score += points;
    spawnEffect(at.x + at.width / 2, at.y - at.height / 2, 0, 0, EFFECT_SCORE, NO_SOUND, points);
}

void killPlayer() {
    player.damage = int8_t(player.gaugeSize + 4);
}
