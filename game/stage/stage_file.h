// The game's reading of a stage file: the header values the stage loader keeps
// and the records of one wanted stage block. Building the world from them is
// the loader's job.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct StageRecord {
    int32_t x = 0, y = 0, kind = 0; // kind as read; the caller keeps its low byte
    bool operator==(const StageRecord&) const = default;
};

struct StageRead {
    bool opened = false;       // the file could be opened and read
    bool met = false;          // the wanted block's marker line was read
    bool found = false;        // the wanted block was met and both its lists read to their "-1"
    std::string clearMessage;  // header line 3 with its LF, at most 1023 bytes
    int32_t startingLives = 0; // header line 4
    // The last block walked (the wanted one when found): its music line with
    // its LF, at most 255 bytes, and its background.
    std::string musicName;
    int32_t background = 0;
    std::vector<StageRecord> objects; // the wanted block's object records in file order
    std::vector<StageRecord> enemies; // the wanted block's enemy records in file order
};

// Reads the stage file fileName ("<game folder>stage/<fileName>", or the
// player's own file of that name, stageFilePath in game_folders.h) for the
// stage block numbered wanted (counted from 0 in file order).
//
// The file is read as a Windows text-mode read sees it: CR LF is one LF.
// Numbers are read as "%d\n" reads them: blanks and line ends before and after
// are skipped, digits beyond the range of an int wrap modulo 2^32.
//
// Where a hand-made or damaged file would throw a line-by-line C reader out of
// step, this reader stays in step instead:
// - A line longer than its buffer (1023 bytes for header and marker lines, 255
//   for the music line and the lines of skipped blocks) keeps its first bytes,
//   never half a double-byte character, and no line end; the rest of the line
//   is skipped rather than read as the next item.
// - A header number or a background takes its whole line, as the editor reads
//   it: text after the number is ignored, a line without a number reads as 0.
// - Kept texts end at a NUL byte, as a C string holding them would.
// - In the wanted block, a file that ends, or a number that is not one, before
//   the enemy list's "-1" stops the reading: the complete records read so far
//   are kept and found is false.
StageRead readStageFile(const std::string& fileName, int wanted);
