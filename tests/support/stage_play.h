// A game started on a test stage on the headless backend, played frame by
// frame with the buttons a test holds.
#pragma once

#include "support/game_folder_fixture.h"
#include "support/held_buttons.h"
#include "support/stage_builder.h"

#include <cstdint>
#include <functional>
#include <string>

class StagePlay {
  public:
    // Boots the game in the mode the command line chooses ("" normal, "/D"
    // debug), then starts a new game on "test.vtg" at the stage index, as
    // the title menu does. The game's own data is used.
    StagePlay(const std::string& name, const TestStageFile& file, int stageIndex = 0,
              const std::string& commandLine = "");

    // Plays frames holding the buttons; false once the game has ended.
    bool frames(int count, uint8_t buttons = 0);
    // Plays until done() holds, at most limit frames; false when it did not.
    bool until(const std::function<bool()>& done, int limit = 2000, uint8_t buttons = 0);
    // Plays until the entry animation and the fade are over.
    bool settle();

    GameFolderFixture game;
};
