#include "stages/stage_file.h"

namespace stages {

namespace {

constexpr const char* LINE_END = "\r\n";

void appendLine(std::string& out, const std::string& line) {
    out += line;
    out += LINE_END;
}

void appendRecords(std::string& out, const std::vector<FileRecord>& records) {
    for (const FileRecord& record : records) {
        appendLine(out, std::to_string(record.x));
        appendLine(out, std::to_string(record.y));
        appendLine(out, std::to_string(record.kind));
    }
    appendLine(out, "-1");
}

} // namespace

std::string stageFileBytes(const StageFile& file) {
    std::string out;
    appendLine(out, file.comment);
    appendLine(out, file.author);
    appendLine(out, file.clearMessage);
    appendLine(out, std::to_string(file.startingLives));
    appendLine(out, std::to_string(file.difficulty));
    for (const FileStage& stage : file.stages) {
        appendLine(out, "stage_begin");
        appendLine(out, stage.music);
        appendLine(out, std::to_string(stage.background));
        appendRecords(out, stage.objects);
        appendRecords(out, stage.enemies);
    }
    return out + "end;";
}

} // namespace stages
