// The world alone, played frame by frame on the headless backend: a stage
// loaded from a test map, the frames of play stepped with the buttons a test
// holds, and the state read from the world. No scene, menu or stage flow runs.
#pragma once

#include "support/game_folder_fixture.h"
#include "support/held_buttons.h"
#include "support/stage_builder.h"
#include "world/player.h"

#include <functional>
#include <string>

class WorldPlay {
  public:
    // Opens the headless display, palette, sheets and sounds with the built
    // game's data, gives the player a new game's values and loads the stage
    // of "test.vtg" at the index, fading in as a stage starts.
    WorldPlay(const std::string& name, const TestStageFile& file, int stageIndex = 0);

    // Plays frames holding the buttons; false when the stage could not be loaded.
    bool frames(int count, uint8_t buttons = 0);
    // Plays until done() holds, at most limit frames; false when it did not.
    bool until(const std::function<bool()>& done, int limit = 2000, uint8_t buttons = 0);
    // Plays until the entry animation and the fade are over.
    bool settle();

    // What the player's status step asked for in the last frame.
    StageEnd lastEnd = StageEnd::None;
    GameFolderFixture game;

  private:
    void frame();
    bool loaded_ = false;
};
