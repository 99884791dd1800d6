// The object selector's status texts from the editor's "exp.dat": one
// explanation per object kind (MAPCHIP) and per enemy kind (ENEMY).
//
// In another language than Japanese, a file of the same form named after the
// language ("exp_en.dat" for English) beside "exp.dat" gives the texts of the
// kinds it has; a kind it lacks, or a missing file, keeps exp.dat's text.
#pragma once

#include <QString>

// "<kind>:<explanation>", with "(No comment)" for a kind without one.
QString objectExplanation(int kind);
QString enemyExplanation(int kind);

// The language of the explanations: "ja" (exp.dat alone) or another code.
void setExplanationLanguage(const QString& language);
// "exp_<language>.dat", or an empty name for Japanese.
QString explanationFileOf(const QString& language);
