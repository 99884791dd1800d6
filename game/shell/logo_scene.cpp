// The maker's logo: the plain name for 1.2 s, then the framed name with the
// chime, then a fade to the title menu once the chime has ended.
#include "core/frame_clock.h"
#include "platform/blit.h"
#include "platform/display.h"
#include "platform/input.h"
#include "platform/platform.h"
#include "platform/sound.h"
#include "platform/text.h"
#include "shell/scene_machine.h"
#include "shell/scenes.h"

namespace {

constexpr uint32_t CHIME_DELAY_MS = 1200;

struct LogoState {
    uint8_t chime = 0;
    uint8_t leaving = 0;
    bool started = false;
    uint32_t startTime = 0;
} logo;

} // namespace

void resetLogoScene() {
    logo = LogoState{};
}

void logoScene() {
    input.update();
    if (logo.chime && effectStatus(SE_MC) != EFFECT_PLAYING) {
        if (!logo.leaving) {
            startFadeOut();
            logo.leaving = 1;
        } else if (fadeState == FADE_NONE) {
            sceneNumber = SCENE_TITLE;
            platform::sleep(500);
            startFadeIn();
            return;
        }
    } else {
        if (!logo.started) {
            logo.started = true;
            logo.startTime = gameClock();
        }
        if (!logo.chime && gameClock() - logo.startTime > CHIME_DELAY_MS) {
            playEffect(SE_MC);
            logo.chime = 1;
        }
    }
    spriteText(104, 128, logo.chime ? "hKARVENHOLMh\n  PRESENTS" : " KARVENHOLM\n  PRESENTS");
    drawFade();
    present(1, CLEAR_LOGO);
}
