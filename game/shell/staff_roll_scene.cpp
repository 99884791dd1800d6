// The staff roll: the credits rise from below the screen at 20 pixels a
// second to their own music, and end by themselves or on confirm.
#include "core/frame_clock.h"
#include "platform/blit.h"
#include "platform/display.h"
#include "platform/input.h"
#include "platform/music.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "shell/scene_machine.h"
#include "shell/scenes.h"

#include <algorithm>
#include <string>

namespace {

struct StaffRollState {
    uint8_t musicStarted = 0;
    uint8_t leaving = 0;
    uint8_t finished = 0;
    double scrollOffset = 0.0;
} roll;

// Eighty-three lines; the ones not listed are empty.
std::string buildCredits() {
    struct Line {
        int number;
        const char* text;
    };
    // clang-format off
    static const Line lines[] = {
        {0, "ll TARVELON ll"},
        {1, "        CODE:VELTA"},
        {8, "        ss STAFF ss"},
        {12, "      qPROGRAM"},
        {13, "        KARVENHOLM"},
        {16, "      qGRAPHIC"},
        {17, "        KARVENHOLM"},
        {20, "      qSUPPORT TOOLS"},
        {21, "        KARVENHOLM"},
        {29, "    hh SPECIAL THANKS hh"},
        {31, "         ASTRID VALEN"},
        {32, "         BORIS HALLQVIST"},
        {33, "         CELINE MARROW"},
        {34, "         DAG ERNHOLT"},
        {35, "         EMIL SOKKA"},
        {36, "         FREJA LINDSTAD"},
        {37, "         GUNNAR OPPEBY"},
        {38, "         HEDDA KRAFT"},
        {45, "    cc TEST PLAYERS cc"},
        {48, "         IVAR TOLLEFSEN"},
        {49, "         JONNA PRESTVIK"},
        {50, "         KALLE RUNDBERG"},
        {51, "         LIV AASHEIM"},
        {52, "         MATS ODEGARD"},
        {53, "         NORA SKJELBRED"},
        {67, "        PRESENTED BY"},
        {70, "        aKARVENHOLM"},
        {80, "   THANK YOU FOR PLAYINGhh"},
    };
    // clang-format on
    std::string text;
    const Line* next = std::begin(lines);
    for (int n = 0; n < 83; ++n) {
        if (n > 0) text += '\n';
        if (next != std::end(lines) && next->number == n) text += (next++)->text;
    }
    return text;
}

} // namespace

const std::string& creditsText() {
    static const std::string text = buildCredits();
    return text;
}

void resetStaffRollScene() {
    roll = StaffRollState{};
}
double staffRollOffset() {
    return roll.scrollOffset;
}

void staffRollScene() {
    input.update();
    if (!roll.musicStarted) {
        resetFirstPlay();
        loadAndPlayMusic("bgm\\crd.mid");
        roll.musicStarted = 1;
    }
    if (!roll.leaving && (confirmPressed() || roll.finished)) {
        roll.leaving = 1;
        startFadeOut();
    }
    if (roll.leaving && fadeState == FADE_NONE) {
        platform::sleep(500);
        roll.leaving = 0;
        sceneNumber = SCENE_TITLE;
        startFadeIn();
        roll.scrollOffset = 0.0;
        roll.finished = 0;
        roll.musicStarted = 0;
        stopAndFreeMusic();
        return;
    }
    roll.scrollOffset += frameTime * 20.0;
    const std::string& credits = creditsText();
    const auto lineFeeds = std::count(credits.begin(), credits.end(), '\n');
    if (double(lineFeeds * 9 + 256 + 64) < roll.scrollOffset) roll.finished = 1;
    spriteText(30, 256 - int(roll.scrollOffset), credits.c_str());
    drawFade();
    present(1, CLEAR_BLACK);
}
