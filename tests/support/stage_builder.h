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

// A map's characters are the asset builder's default legend (its stage
// sources' README lists them): '#' ground, '=' dirt, 'o' a coin, '?' a coin
// block, 'G' the goal, 'a' a walker, and so on; '.' is empty. An enemy stands
// with its bottom on its cell's bottom.
std::string stageFileText(const TestStageFile& file);
void writeStageFile(const std::filesystem::path& path, const TestStageFile& file);
