// Stage files for tests, drawn as text maps: one character a 16 by 16 cell,
// the first row at the top of the stage.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

struct TestStage {
    std::string music = "null";
    int background = 0;
    // Rows of cells; the last row is the bottom of whatever height is given,
    // which stands at the bottom of the 256-pixel stage (16 rows).
    std::vector<std::string> rows;
};

struct TestStageFile {
    std::string comment = "A test";
    std::string author = "Tests";
    std::string clearMessage = "Well done^See you";
    int startingLives = 3;
    int difficulty = 0;
    std::vector<TestStage> stages;
};

// The characters of a map. Objects: '#' ground (kind 49), '=' dirt (51),
// 'B' brick (35), '?' coin block (33), 'S' spanner block (37), 'H' hidden
// block (5), 'c' coin (3), 'G' goal (24), '^' spikes up (10), 's' spring (4),
// 'X' spike block (2), '|' enemy barrier (6), '_' one-way floor (43),
// 'F' fragile block (36), 'U' gauge-up (31), 'L' gauge block (41).
// Enemies stand with their bottom on the cell's bottom: 'w' walker (0),
// 'k' resting shell (2), 'f' flyer (8), 'j' jumper (5).
std::string stageFileText(const TestStageFile& file);
void writeStageFile(const std::filesystem::path& path, const TestStageFile& file);
