// The enemy kinds the editor offers: read at start-up from the game's
// definition files "../dat/eNN.dat", from kind 0 up to the first missing
// file and at most 32.
#pragma once

#include <QString>
#include <QStringList>

#include <array>

constexpr int DEFINITION_SLOTS = 32;

struct EnemyDefinition {
    QString name;
    int x = 0; // the first frame's corner in enemy.bmp
    int y = 0;
    int width = 0;
    int height = 0;
    bool inUse = false;
};

struct EnemyDefinitions {
    std::array<EnemyDefinition, DEFINITION_SLOTS> entries{};

    // The kind's entry; an empty one (width and height 0) when the kind has
    // none, so that such an enemy is drawn as nothing.
    const EnemyDefinition& of(int kind) const;
    int count() const; // entries in use, from kind 0
};

// Reads the definitions from the folder holding eNN.dat. Values that are not
// two whole numbers separated by a comma read as 0; each such value is named
// in problems.
EnemyDefinitions readEnemyDefinitions(const QString& datFolder, QStringList& problems);

// The definitions of this run.
EnemyDefinitions& enemyDefinitions();
