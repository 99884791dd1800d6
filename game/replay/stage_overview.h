// A picture of a whole stage at once, for stage designers: the world as the
// game draws it right after the stage has loaded, over the stage's whole
// width and the full height of the screen, without the HUD.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct StageOverview {
    std::string error; // why nothing was drawn; empty when drawn
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb; // width * height * 3

    bool drawn() const { return error.empty(); }
    uint32_t pixel(int x, int y) const; // 0xRRGGBB
};

// Starts a new game at the stage, as velta-replay does before it plays, and
// draws the background, every map object, every enemy and the player where
// they start. The picture is as wide as the stage (the right edge of its
// rightmost object), at least one screen.
StageOverview drawStageOverview(const std::string& gameFolder, const std::string& stageFile,
                                int stageIndex);

// How many stages the file holds, counted as the game's reader walks its
// blocks; -1 when the file cannot be read.
int countStages(const std::string& gameFolder, const std::string& stageFile);
