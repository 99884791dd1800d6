// The picture height of an enemy kind, from its definition source
// (assets/dat/eNN.dat, a Windows profile file): the second number of
// [GENERAL] SIZE=w,h. Stage files keep an enemy by its bottom edge, so
// placing one on a map cell needs this height.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace stages {

// The height in a definition's text; nothing, with what is wrong in
// problem, when SIZE is missing or not two positive numbers.
std::optional<int> enemyPictureHeight(const std::string& definition, std::string& problem);

// "e%.2d.dat": two digits below 100, three above.
std::string enemyDefinitionName(int kind);

// Reads each kind's definition from datDir once.
class EnemyHeights {
  public:
    explicit EnemyHeights(std::filesystem::path datDir) : datDir_(std::move(datDir)) {}

    std::optional<int> heightOf(int kind, std::string& problem);

  private:
    struct Entry {
        std::optional<int> height;
        std::string problem;
    };
    std::filesystem::path datDir_;
    std::map<int, Entry> entries_;
};

} // namespace stages
