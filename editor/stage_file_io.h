// Stage files as the editor reads and writes them: five header lines, one
// block for each slot that holds something, then "end;". Texts are CP932,
// every line ends with CR LF but the last, "end;", which has none.
#pragma once

#include "stage_set.h"

#include <QByteArray>
#include <QString>

// The file's bytes for the stage set. Records with a negative x or y, or a
// y of 256 or more, are left out; slots with no record the file can hold are
// left out as empty slots are.
QByteArray stageFileBytes(const StageSet& set);

// Whether the file gets a block for the slot: it holds a record the file can
// keep. A block of none would be an empty stage that the next reading makes
// an empty slot, which the next writing leaves out.
bool slotIsWritten(const StageSlot& slot);

// Reads a stage file into set, which is reset first. False, with what went
// wrong in error, when a line is missing or a number is not one; set then
// holds what was read up to there.
bool parseStageFile(const QByteArray& bytes, StageSet& set, QString& error);

// Reading and writing a file. A failed read leaves set as it was; a failed
// write leaves the file as it was.
bool readStageFile(const QString& path, StageSet& set, QString& error);
bool writeStageFile(const QString& path, const StageSet& set, QString& error);
