// The import command: a stage file as the editor saves it, turned back into
// the source the stages builder makes the same file from.
#pragma once

#include <string>

// Writes sourceFile only when every record of stageFile fits a map and the
// written source is checked to build back into the file's bytes (with the
// records in map order and the editor's line ends). Returns 0 on success;
// otherwise prints every problem as "<stageFile>:LINE: ..." and writes
// nothing.
int importStageFile(const std::string& assetsDir, const std::string& stageFile,
                    const std::string& sourceFile);
