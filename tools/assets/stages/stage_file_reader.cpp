#include "stages/stage_file_reader.h"

#include "stages/text_values.h"

#include <cstdint>

namespace stages {

namespace {

constexpr std::string_view BLOCK_MARKER = "stage_begin";
constexpr std::string_view END_MARKER = "end;";
constexpr int32_t LIST_END = -1;
constexpr size_t SHOWN_LINE_BYTES = 40;

// A line for a message: printable ASCII as it is, other bytes as '?', cut
// short, so that a damaged file cannot put control codes on the terminal.
std::string shownLine(std::string_view line) {
    std::string shown;
    for (const char c : line.substr(0, SHOWN_LINE_BYTES))
        shown += c >= ' ' && c < 0x7F ? c : '?';
    if (line.size() > SHOWN_LINE_BYTES) shown += "...";
    return "'" + shown + "'";
}

// An optional '-', digits, blanks around; int32 range.
std::optional<int32_t> parseNumberLine(std::string_view line) {
    line = trimBlanks(line);
    const bool negative = line.starts_with('-');
    if (negative) line.remove_prefix(1);
    const std::optional<int> magnitude = parseWholeNumber(line);
    if (!magnitude) return std::nullopt;
    return negative ? -*magnitude : *magnitude;
}

class LineReader {
  public:
    LineReader(std::string_view bytes, Diagnostics& diagnostics)
        : diagnostics_(diagnostics), lines_(splitLines(bytes)) {}

    // The number of the line the next read takes.
    int nextLine() const { return int(next_) + 1; }
    bool atEnd() const { return next_ >= lines_.size(); }

    std::optional<std::string_view> text(const char* what) {
        if (atEnd()) {
            diagnostics_.error(nextLine(),
                               "the file ends early, where " + std::string(what) + " should be");
            return std::nullopt;
        }
        return lines_[next_++];
    }

    std::optional<int32_t> number(const char* what) {
        const std::optional<std::string_view> line = text(what);
        if (!line) return std::nullopt;
        const std::optional<int32_t> value = parseNumberLine(*line);
        if (!value)
            diagnostics_.error(nextLine() - 1, std::string(what) + ": " + shownLine(*line) +
                                                   " is not a whole number");
        return value;
    }

    void error(int line, const std::string& message) { diagnostics_.error(line, message); }

  private:
    Diagnostics& diagnostics_;
    std::vector<std::string_view> lines_;
    size_t next_ = 0;
};

bool readRecords(LineReader& in, const char* what, std::vector<ReadRecord>& records) {
    const std::string x = std::string("the x of ") + what + " or its list's -1";
    const std::string y = std::string("the y of ") + what;
    const std::string kind = std::string("the kind of ") + what;
    for (;;) {
        ReadRecord read;
        read.line = in.nextLine();
        const std::optional<int32_t> first = in.number(x.c_str());
        if (!first) return false;
        if (*first == LIST_END) return true;
        const std::optional<int32_t> second = in.number(y.c_str());
        if (!second) return false;
        const std::optional<int32_t> third = in.number(kind.c_str());
        if (!third) return false;
        read.record = {*first, *second, *third};
        records.push_back(read);
    }
}

bool readHeader(LineReader& in, ReadStageFile& file) {
    for (std::string* text : {&file.comment, &file.author, &file.clearMessage}) {
        const std::optional<std::string_view> line = in.text("a header text");
        if (!line) return false;
        *text = std::string(*line);
    }
    const std::optional<int32_t> lives = in.number("the starting lives");
    if (!lives) return false;
    file.startingLives = *lives;
    const std::optional<int32_t> difficulty = in.number("the difficulty");
    if (!difficulty) return false;
    file.difficulty = *difficulty;
    return true;
}

bool readStage(LineReader& in, ReadStage& stage) {
    const std::optional<std::string_view> music = in.text("the music");
    if (!music) return false;
    stage.music = std::string(*music);
    const std::optional<int32_t> background = in.number("the background");
    if (!background) return false;
    stage.background = *background;
    return readRecords(in, "an object", stage.objects) &&
           readRecords(in, "an enemy", stage.enemies);
}

// Only blank lines may follow "end;": nothing reads past it, so anything
// there would be lost without a word.
bool nothingAfterTheEnd(LineReader& in) {
    while (!in.atEnd()) {
        const int line = in.nextLine();
        const std::string_view text = *in.text("");
        if (!trimBlanks(text).empty()) {
            in.error(line, shownLine(text) + " after 'end;', where nothing is read");
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<ReadStageFile> readStageFileText(std::string_view bytes, Diagnostics& diagnostics) {
    LineReader in(bytes, diagnostics);
    ReadStageFile file;
    if (!readHeader(in, file)) return std::nullopt;
    for (;;) {
        const int line = in.nextLine();
        const std::optional<std::string_view> marker = in.text("'stage_begin' or 'end;'");
        if (!marker) return std::nullopt;
        if (*marker == END_MARKER) {
            file.endLine = line;
            break;
        }
        if (*marker != BLOCK_MARKER) {
            in.error(line, "expected 'stage_begin' or 'end;', not " + shownLine(*marker));
            return std::nullopt;
        }
        ReadStage& stage = file.stages.emplace_back();
        stage.line = line;
        if (!readStage(in, stage)) return std::nullopt;
    }
    if (!nothingAfterTheEnd(in)) return std::nullopt;
    return file;
}

} // namespace stages
