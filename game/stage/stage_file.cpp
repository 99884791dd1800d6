#include "stage/stage_file.h"

#include "formats/shift_jis.h"
#include "platform/decimal.h"
#include "platform/game_folders.h"
#include "platform/paths.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <string_view>

namespace {

constexpr size_t LONG_LINE_LIMIT = 1023; // header and marker lines: a 1024-byte buffer
constexpr size_t SHORT_LINE_LIMIT = 255; // music line, lines of skipped blocks: 256 bytes
constexpr int32_t LIST_END = -1;
constexpr std::string_view END_MARKER = "end;";
constexpr std::string_view SKIPPED_LIST_END = "-1";

enum class NumberRead { Read, Malformed, EndOfFile };

class StageText {
  public:
    explicit StageText(std::string text) : text_(std::move(text)) {}

    // One line with its LF (the last line of the file may have none), at most
    // limit bytes of it; nothing at the end of the file.
    std::optional<std::string> readLine(size_t limit) {
        if (position_ >= text_.size()) return std::nullopt;
        size_t end = text_.find('\n', position_);
        size_t next = end == std::string::npos ? text_.size() : end + 1;
        std::string_view line(text_.data() + position_, next - position_);
        position_ = next;
        return std::string(line.substr(0, shiftJisCut(line, limit)));
    }

    void skipRestOfLine() {
        size_t end = text_.find('\n', position_);
        position_ = end == std::string::npos ? text_.size() : end + 1;
    }

    // "%d" after skipping blanks and line ends. A malformed number leaves the
    // position at the text that is not one.
    NumberRead readNumber(int32_t& value) {
        skipSpace();
        if (position_ >= text_.size()) return NumberRead::EndOfFile;
        const DecimalRead number = readDecimal(text_, position_);
        if (!number.matched) return NumberRead::Malformed;
        value = number.value;
        position_ = number.end;
        return NumberRead::Read;
    }

    // The "\n" of "%d\n": any run of blanks and line ends.
    void skipSpace() {
        while (position_ < text_.size() && isSpace(text_[position_]))
            ++position_;
    }

  private:
    static bool isSpace(char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
    }

    std::string text_;
    size_t position_ = 0;
};

// What a C string holding the line would be.
std::string untilNul(std::string text) {
    text.resize(std::strlen(text.c_str()));
    return text;
}

// A single value on its own line, taken with the whole line as the editor
// takes it: text after the number goes, and a line without a number reads as
// 0, so the items after it are still read as what they are.
int32_t readValueLine(StageText& in, int32_t valueAtEnd) {
    int32_t value = 0;
    NumberRead outcome = in.readNumber(value);
    if (outcome == NumberRead::EndOfFile) return valueAtEnd;
    in.skipRestOfLine();
    in.skipSpace();
    return outcome == NumberRead::Read ? value : 0;
}

// Records of three numbers, each read as "%d\n", up to an x of -1. False when the file ends or a
// number is malformed first; a record cut short is not kept.
bool readRecordList(StageText& in, std::vector<StageRecord>& records) {
    for (;;) {
        StageRecord record;
        if (in.readNumber(record.x) != NumberRead::Read) return false;
        if (record.x == LIST_END) return true;
        if (in.readNumber(record.y) != NumberRead::Read ||
            in.readNumber(record.kind) != NumberRead::Read)
            return false;
        records.push_back(record);
    }
}

// An unwanted block is passed line by line: its two lists end at the first two
// lines beginning with "-1", as no other line of a saved file is negative.
void skipBlockLists(StageText& in) {
    int listEnds = 0;
    while (listEnds < 2) {
        std::optional<std::string> line = in.readLine(SHORT_LINE_LIMIT);
        if (!line) return;
        if (line->starts_with(SKIPPED_LIST_END)) ++listEnds;
    }
}

} // namespace

StageRead readStageFile(const std::string& fileName, int wanted) {
    StageRead result;
    std::optional<std::string> text = readTextModeFile(stageFilePath(fileName));
    if (!text) return result;
    result.opened = true;
    StageText in(std::move(*text));

    in.readLine(LONG_LINE_LIMIT); // comment
    in.readLine(LONG_LINE_LIMIT); // author
    result.clearMessage = untilNul(in.readLine(LONG_LINE_LIMIT).value_or(""));
    result.startingLives = readValueLine(in, 0);
    readValueLine(in, 0); // difficulty: only the stage list shows it

    for (long long index = 0;; ++index) {
        std::optional<std::string> marker = in.readLine(LONG_LINE_LIMIT);
        if (!marker || marker->starts_with(END_MARKER)) break;
        if (std::optional<std::string> music = in.readLine(SHORT_LINE_LIMIT))
            result.musicName = untilNul(std::move(*music));
        result.background = readValueLine(in, result.background);
        if (index == wanted) {
            result.met = true;
            result.found = readRecordList(in, result.objects) && readRecordList(in, result.enemies);
            break;
        }
        skipBlockLists(in);
    }
    return result;
}
