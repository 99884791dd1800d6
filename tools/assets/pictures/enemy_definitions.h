// Checks an enemy definition file (a Windows profile file: [GENERAL] NAME, SIZE,
// YASE; [PAT] 00=x,y ...; [LINE] 00=0150,Y,00,01;) against the enemy sheet, so a
// broken definition fails the build instead of misbehaving in the game.
#pragma once

#include "common/indexed_image.h"

#include <string>
#include <vector>

// Appends "file:line: message" errors; returns false if there were any.
bool checkEnemyDefinition(const std::string& text, const std::string& fileName,
                          const IndexedImage& enemySheet, std::vector<std::string>& errors);
