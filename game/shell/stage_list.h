// The extra stage files found in the game's "stage" folder at boot, with the
// header lines the extra-stage selection shows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct StageListEntry {
    std::string fileName; // as listed, letters a-z in capitals; at most 255 bytes
    std::string comment;  // first line, with its line feed; at most 1023 bytes
    std::string author;   // second line, line feeds turned to blanks; at most 1023 bytes
    int32_t difficulty = 0;
};

extern std::vector<StageListEntry> stageList;

// Lists every "*.vtg" of the stage folder, and of the player's own stage
// folder for an installed game, but "def.vtg" and the editor's test-play file
// "__ed.vtg" (in any case), in name order. Of a player's file and a shipped
// one with the same name (in any letter case) only the player's is listed.
void buildStageList();
