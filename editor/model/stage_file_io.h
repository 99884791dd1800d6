// Stage files as the editor reads and writes them: five header lines, one
// block for each slot that holds something, then "end;". Texts are CP932,
// every line ends with CR LF but the last, "end;", which has none.
#pragma once

#include "stage_set.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The file's bytes for the stage set. Records with a negative x or y, or a
// y of 256 or more, are left out; slots with no record the file can hold are
// left out as empty slots are.
QByteArray stageFileBytes(const StageSet& set);

// Whether the file gets a block for the slot: it holds a record the file can
// keep. A block of none would be an empty stage that the next reading makes
// an empty slot, which the next writing leaves out.
bool slotIsWritten(const StageSlot& slot);

// Records in use that the file cannot hold, in every slot.
int recordsLeftOut(const StageSet& set);

// Reads a stage file into set, which is reset first. False, with what went
// wrong in error, when a line is missing or a number is not one; set then
// holds what was read up to there. What was read but would not be saved as
// it stands (a file cut off before "end;", more than 36 blocks, more records
// than a slot holds, values beyond a byte, records outside the saved range,
// blocks with nothing to save) goes to warnings, each kind once.
bool parseStageFile(const QByteArray& bytes, StageSet& set, QString& error,
                    QStringList* warnings = nullptr);

// Reading and writing a file. A failed read leaves set as it was; a failed
// write leaves the file as it was.
bool readStageFile(const QString& path, StageSet& set, QString& error,
                   QStringList* warnings = nullptr);
bool writeStageFile(const QString& path, const StageSet& set, QString& error);
