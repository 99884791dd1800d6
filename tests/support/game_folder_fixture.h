// A game folder for whole-game runs on the headless backend: the current
// folder and the executable's folder both point at it.
#pragma once

#include "support/fixture_files.h"

#include <filesystem>
#include <memory>
#include <string>

class GameFolderFixture {
  public:
    explicit GameFolderFixture(const std::string& name);
    const std::filesystem::path& folder() const { return folder_; }
    void writeConfig(const std::string& text);
    // The built game's own pictures, palette, sounds, music and enemy
    // definitions in place of the fixture's stand-ins.
    void useGameData();

  private:
    std::filesystem::path folder_;
    std::unique_ptr<CurrentFolder> here_;
};
