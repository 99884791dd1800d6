// The scene handlers the dispatcher runs, one per scene number.
#pragma once

#include <cstdint>
#include <string>

void bootScene();
void gameplayScene();
void endingScene();
void logoScene();
void titleScene();
void gameOverScene();
void extraStageScene();
void rankingScene();
void staffRollScene();
void confirmationScene();

// Scene states start at zero when the program starts.
void resetLogoScene();
void resetTitleScene();
void resetRankingScene();
void resetExtraStageScene();
void resetGameOverScene();
void resetEndingScene();
void resetStaffRollScene();
void resetConfirmationScene();
void resetGameplayScene();

// What the stage is drawn over, the whole background: the sky by day, black
// by night.
uint8_t stageClearColour();

// The title menu's cursor: 0 GAME START, 1 EXTRA STAGE, 2 RANKING, 3 EXIT.
int titleCursor();
// The extra-stage selection's cursor row and the first row of its page.
int extraStageCursor();
int extraStageTopRow();
int gameOverCursor();
int endingRevealStep();
double staffRollOffset();
// The staff roll's text: 83 lines in the sprite font.
const std::string& creditsText();

// A stage file name as the selection shows it: long names keep their first
// nine characters and an ellipsis before ".VTG".
std::string shownStageName(const std::string& name);

// The command line as the game received it (at most 255 bytes).
void setCommandLine(const std::string& commandLine);
const char* commandLine();

// Test play from a command line "SS XXXXXXXX file": stage index, start x, file.
struct TestPlayCommand {
    int stageIndex = 0;
    int startX = 0;
    std::string fileName;
};
TestPlayCommand parseTestPlayCommand(const char* commandLine);
void testPlayStart(const char* commandLine);
