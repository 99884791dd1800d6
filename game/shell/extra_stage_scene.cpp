// The extra-stage selection: the stage list in pages of 23 rows, an EXIT row,
// and the author, difficulty and comment of the entry under the cursor.
#include "platform/blit.h"
#include "platform/display.h"
#include "platform/input.h"
#include "platform/sound.h"
#include "platform/text.h"
#include "shell/blink.h"
#include "shell/scene_machine.h"
#include "shell/scenes.h"
#include "shell/stage_flow.h"
#include "shell/stage_list.h"

#include <algorithm>
#include <string>

namespace {

constexpr int PAGE_ROWS = 23;

struct ExtraStageState {
    int cursor = 0;
    int topRow = 0;
    uint8_t leaving = 0;
    Blink message;
} extra;

// Difficulty 0 to 4 shows one to five marks; a hand-edited value outside that
// range shows the nearest of them.
const char* difficultyMarks(int difficulty) {
    static const char* const marks[] = {"q", "qq", "qqq", "qqqq", "qqqqq"};
    return marks[std::clamp(difficulty, 0, 4)];
}

void drawEntryDetails(const StageListEntry& entry) {
    spriteText(154, 50, "AUTHOR");
    spriteText(154, 85, "DIFFICULTY");
    spriteText(154, 120, "COMMENT");
    beginGdiText(12);
    setTextColours(0xFFFFFF, 0x000000, 1);
    textOut(159, 60, entry.author.c_str());
    textInBox(159, 130, 288, 246, entry.comment.c_str(), ALIGN_LEFT);
    endGdiText();
    spriteText(159, 95, difficultyMarks(entry.difficulty));
}

void drawList(int count) {
    while (extra.cursor - extra.topRow > PAGE_ROWS - 1)
        extra.topRow += PAGE_ROWS;
    while (extra.cursor - extra.topRow < 0)
        extra.topRow -= PAGE_ROWS;
    int r = 0;
    for (; r < PAGE_ROWS && extra.topRow + r < count; ++r) {
        const int row = extra.topRow + r;
        const std::string name = shownStageName(stageList[size_t(row)].fileName);
        spriteText(25, 40 + 9 * r, formatText(row == extra.cursor ? "l%s" : " %s", name.c_str()));
        if (row == extra.cursor) drawEntryDetails(stageList[size_t(row)]);
    }
    if (r < PAGE_ROWS) spriteText(25, 40 + 9 * r, extra.cursor == count ? "lEXIT" : " EXIT");
    drawLine(149, 35, 149, 246, 0x0000FF, 2);
}

void moveCursor(int count) {
    const int step = input.state(BUTTON_B) == STATE_HELD ? PAGE_ROWS : 1;
    if (input.state(BUTTON_UP) == STATE_PRESSED) extra.cursor = std::max(0, extra.cursor - step);
    if (input.state(BUTTON_DOWN) == STATE_PRESSED)
        extra.cursor = std::min(count, extra.cursor + step);
}

} // namespace

std::string shownStageName(const std::string& name) {
    if (name.size() > 13) return name.substr(0, 9) + "e.VTG";
    return name;
}

void resetExtraStageScene() {
    extra = ExtraStageState{};
}
int extraStageCursor() {
    return extra.cursor;
}
int extraStageTopRow() {
    return extra.topRow;
}

void extraStageScene() {
    input.update();
    const int count = int(stageList.size());
    spriteText(100, 20, "EXTRA STAGE");
    if (count > 0)
        drawList(count);
    else if (extra.message.update())
        spriteText(88, 124, "FILE NOT FOUND.");
    if (!extra.leaving) moveCursor(count);
    startLeavingOnConfirm(extra.leaving, count > 0);
    if (readyToLeave(extra.leaving)) {
        finishLeaving(extra.leaving);
        if (count == 0 || extra.cursor == count) {
            sceneNumber = SCENE_TITLE;
        } else {
            startGame(stageList[size_t(extra.cursor)].fileName);
            sceneNumber = SCENE_GAMEPLAY;
        }
        extra.cursor = 0;
        startFadeIn();
        return;
    }
    drawFade();
    present(1, CLEAR_BLACK);
}
