// The ranking table of the eight best main-game scores, kept in config.ini's
// RANKING section with a code word that guards each score against hand edits.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RankingEntry {
    uint32_t score = 0;
    char code[8] = {}; // six capital letters and a NUL
};

// Best first. Only the first eight entries are shown or saved; an entry that
// did not make the eighth place may stay beyond them.
extern std::vector<RankingEntry> rankingTable;

// The six-letter code of a score. Scores outside 0..999999 still give six
// characters (from the first six of their "%.6d" text), just not letters.
void scoreCode(uint32_t score, char code[8]);

// Reads keys "0".."7" of RANKING in key order; a value whose code does not
// match its score is blanked in the file and left out.
void loadRanking();

// Puts the score into the table; true when it ranks within the first eight.
bool insertIntoRanking(uint32_t score);

// Writes the first eight entries to keys "0".."7"; keys past the last entry
// are left as they are. False when any of them could not be written (a
// read-only config.ini, a full disk).
bool saveRanking();
// Whether the last save of this run failed, so the ranking screen can say
// that what it shows is not kept.
bool rankingSaveFailed();

// config.ini: in the game folder, or the player's settings folder for an
// installed game (game_folders.h).
std::string settingsFilePath();
