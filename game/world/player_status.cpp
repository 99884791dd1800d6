// The player's status step: the caps on its counters, the death sequence and
// the goal sequence, once per frame after everything else has moved.
#include "world/player.h"

#include "core/fades.h"
#include "core/frame_clock.h"
#include "core/play_state.h"
#include "platform/music.h"
#include "platform/sound.h"
#include "world/collision.h"
#include "world/world.h"

namespace {

// The fade-out that ends a sequence, started once and then waited for.
bool endingFadeStarted = false;

// True once the fade-out has run its course.
bool fadeOutDone() {
    if (!endingFadeStarted) {
        startFadeOut();
        endingFadeStarted = true;
        return false;
    }
    if (fadeRunning()) return false;
    endingFadeStarted = false;
    return true;
}

void playModeValues() {
    if (playMode != PLAY_NORMAL && withoutDyingSwitch) player.damage = 0;
    if (playMode == PLAY_TEST) {
        player.gaugeSize = 30;
        player.spanners = 99;
    }
}

StageEnd goalSequence() {
    const bool left = player.animator.line == LINE_LEAVING && player.animator.finished();
    if (!left || !fadeOutDone()) return StageEnd::None;
    return playMode == PLAY_TEST ? StageEnd::CloseTestPlay : StageEnd::ClearStage;
}

// A life lost: counters for the retry, or the end of the game.
StageEnd loseALife() {
    world.dyingFlag = 0;
    if (player.lives == 0) return StageEnd::GameOver;
    player.coins = 0;
    player.spanners = 12;
    player.damage = 0;
    world.retryCount += 1;
    player.lives -= 1;
    return StageEnd::RetryStage;
}

StageEnd deathSequence() {
    const uint32_t now = gameClock();
    if (world.deathTime == 0) {
        // Still falling on screen.
        if (player.y + player.height <= 256 && groundProbe(player) == NOTHING_FOUND)
            return StageEnd::None;
        if (effectStatus(SE_MISS) != EFFECT_PLAYING) world.deathTime = now;
    }
    if (world.deathTime == 0 || now - world.deathTime <= 600 || !fadeOutDone())
        return StageEnd::None;
    return loseALife();
}

void die() {
    stopAndFreeMusic();
    playEffect(SE_MTOUCH);
    playEffect(SE_MISS);
    world.deathTime = 0;
    world.dyingFlag = 1;
    player.hurtTime = 0;
    player.vx = 0;
    player.vy = -20;
}

void capCounters() {
    if (player.coins >= 100) {
        playEffect(SE_1UP);
        player.lives += 1;
        player.coins = 0;
    }
    if (player.score > 999999) player.score = 999999;
    if (player.spanners >= 100) {
        player.spanners = 99;
        player.score += 60;
    }
    if (int(player.damage) >= int(player.gaugeSize) + 4) die();
    if (player.damage < 0) player.damage = 0;
    if (player.gaugeSize > 30) player.gaugeSize = 30;
    if (player.lives >= 100) player.lives = 99;
}

} // namespace

void resetStatusSequence() {
    endingFadeStarted = false;
}

StageEnd playerStatusStep() {
    playModeValues();
    if (world.clearedFlag) return goalSequence();
    if (world.dyingFlag) return deathSequence();
    capCounters();
    return StageEnd::None;
}
