// Starting the game on the headless backend at one stage of a stage file, as
// a new game chosen at the title does: what the replay and the stage overview
// both begin with.
#pragma once

#include <string>

// Changes the current folder for the lifetime of the object: the game reads
// its pictures from there.
class InFolder {
  public:
    explicit InFolder(const std::string& folder);
    ~InFolder();
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;
    bool changed() const { return changed_; }

  private:
    std::string previous_;
    bool changed_ = false;
};

enum class StageStart {
    Started,
    GameFailed,   // the game could not start in the folder
    StageMissing, // the file could not be read or holds no such stage
};

// Boots the game afresh in gameFolder (which must be the current folder),
// starts a new game and loads the stage; the gameplay scene comes next.
StageStart startAtStage(const std::string& gameFolder, const std::string& stageFile,
                        int stageIndex);
