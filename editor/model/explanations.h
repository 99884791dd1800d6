// The object selector's status texts from the editor's "exp.dat": one
// explanation per object kind (MAPCHIP) and per enemy kind (ENEMY).
#pragma once

#include <QString>

// "<kind>:<explanation>", with "(No comment)" for a kind without one.
QString objectExplanation(int kind);
QString enemyExplanation(int kind);
