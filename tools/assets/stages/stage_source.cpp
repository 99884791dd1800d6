#include "stages/stage_source.h"

#include "stages/legend.h"
#include "stages/text_values.h"

#include <cstdint>
#include <optional>
#include <set>

namespace stages {

namespace {

// Beyond this column a cell's x no longer fits the file's numbers.
constexpr size_t MAX_COLUMN = (INT32_MAX - (CELL_SIZE - 1)) / CELL_SIZE;
constexpr std::string_view UTF8_BOM = "\xEF\xBB\xBF";

struct SourceLine {
    std::string_view text;
    int number = 0;
};

std::vector<SourceLine> splitSourceLines(std::string_view text) {
    if (text.starts_with(UTF8_BOM)) text.remove_prefix(UTF8_BOM.size());
    std::vector<SourceLine> lines;
    for (const std::string_view line : splitLines(text))
        lines.push_back({line, int(lines.size()) + 1});
    return lines;
}

bool isBlankLine(std::string_view line) {
    return trimBlanks(line).empty();
}

// "key:" at the very start of the line. No map row can look like one, as ':'
// is never a map character.
bool splitKeyLine(std::string_view line, std::string_view& key, std::string_view& value) {
    size_t at = 0;
    auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    auto isWordCharacter = [&](char c) {
        return isLetter(c) || (c >= '0' && c <= '9') || c == '_';
    };
    if (line.empty() || !isLetter(line[0])) return false;
    while (at < line.size() && isWordCharacter(line[at]))
        ++at;
    if (at == line.size() || line[at] != ':') return false;
    key = line.substr(0, at);
    value = line.substr(at + 1);
    return true;
}

// A comment after a value is a '#' standing alone: blank (or the key's colon)
// before it, blank or the line end after it. "#=49" in a legend and "#1" in a
// text stay.
std::string_view withoutTrailingComment(std::string_view value) {
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '#') continue;
        const bool alone =
            (i == 0 || isBlank(value[i - 1])) && (i + 1 == value.size() || isBlank(value[i + 1]));
        if (alone) return value.substr(0, i);
    }
    return value;
}

bool isHeaderKey(std::string_view key) {
    return key == "comment" || key == "author" || key == "clear" || key == "lives" ||
           key == "difficulty";
}

bool isStageKey(std::string_view key) {
    return key == "music" || key == "background" || key == "map";
}

struct PendingStage {
    SourceStage stage;
    Legend entries;
    std::set<std::string, std::less<>> keysGiven;
    bool hasMap = false;
    int mapLine = 0;
    std::vector<SourceLine> rows;
};

class SourceParser {
  public:
    explicit SourceParser(Diagnostics& diagnostics) : diagnostics_(diagnostics) {}

    StageSource parse(std::string_view text) {
        const std::vector<SourceLine> lines = splitSourceLines(text);
        bool inMap = false;
        int lastStrayLine = -1;
        for (const SourceLine& line : lines) {
            std::string_view key, value;
            const bool keyed = splitKeyLine(line.text, key, value);
            if (inMap) {
                // A map runs to the first blank or key line; a line starting
                // with '#' is a row of it, as '#' is ground.
                if (isBlankLine(line.text)) {
                    inMap = false;
                    continue;
                }
                if (!keyed) {
                    stage_->rows.push_back(line);
                    continue;
                }
                inMap = false;
            }
            if (isBlankLine(line.text) || line.text.front() == '#') continue;
            if (!keyed) {
                // One message for a run of stray lines, such as the rest of
                // a map cut off by a blank line.
                if (lastStrayLine != line.number - 1)
                    error(line.number, "expected 'key: value' here (a map ends at a blank line)");
                lastStrayLine = line.number;
                continue;
            }
            inMap = handleKey(key, trimBlanks(withoutTrailingComment(value)), line.number);
        }
        finishStage();
        if (source_.stages.empty())
            error(lines.empty() ? 1 : lines.back().number,
                  "no stage: a stage file needs at least one 'stage:' with a 'map:'");
        return std::move(source_);
    }

  private:
    void error(int line, const std::string& message) { diagnostics_.error(line, message); }

    // True when the key opens a map.
    bool handleKey(std::string_view key, std::string_view value, int line) {
        if (isHeaderKey(key)) {
            headerKey(key, value, line);
        } else if (key == "legend") {
            legendKey(value, line);
        } else if (key == "stage") {
            finishStage();
            startStage(value, line);
        } else if (isStageKey(key)) {
            return stageKey(key, value, line);
        } else {
            error(line, "unknown key '" + std::string(key) + "'");
        }
        return false;
    }

    void headerKey(std::string_view key, std::string_view value, int line) {
        if (!source_.stages.empty() || stage_) {
            error(line,
                  "'" + std::string(key) + "' belongs to the header, before the first 'stage:'");
            return;
        }
        if (!headerKeysGiven_.insert(std::string(key)).second) {
            error(line, "'" + std::string(key) + "' is given twice");
            return;
        }
        if (key == "comment")
            source_.comment = {std::string(value), line};
        else if (key == "author")
            source_.author = {std::string(value), line};
        else if (key == "clear")
            source_.clearMessage = {std::string(value), line};
        else if (key == "lives")
            readNumber(key, value, line, MAX_LIVES, source_.startingLives);
        else
            readNumber(key, value, line, MAX_DIFFICULTY, source_.difficulty);
    }

    void readNumber(std::string_view key, std::string_view value, int line, int highest,
                    int& target) {
        const bool negative = value.starts_with('-');
        const std::optional<int> number = parseWholeNumber(negative ? value.substr(1) : value);
        if (!number)
            error(line, std::string(key) + ": '" + std::string(value) + "' is not a whole number");
        else if (negative || *number > highest)
            error(line, std::string(key) + " must be 0.." + std::to_string(highest));
        else
            target = *number;
    }

    void legendKey(std::string_view value, int line) {
        if (stage_ && stage_->hasMap) {
            error(line, "'legend' after the map of " + stageLabel() +
                            ": a stage's keys come before its 'map:'");
            return;
        }
        Legend& entries = stage_ ? stage_->entries : fileLegend_;
        std::string problem;
        if (!parseLegendEntries(value, entries, problem)) error(line, problem);
    }

    bool stageKey(std::string_view key, std::string_view value, int line) {
        const std::string name(key);
        if (!stage_) {
            error(line, "'" + name + "' before the first 'stage:'");
            return false;
        }
        if (stage_->hasMap) {
            error(line, "'" + name + "' after the map of " + stageLabel() +
                            ": a stage's keys come before its 'map:'");
            return false;
        }
        if (!stage_->keysGiven.insert(name).second) {
            error(line, "'" + name + "' is given twice in " + stageLabel());
            return false;
        }
        if (key == "music") {
            if (value.empty())
                error(line, "music needs a file name such as field.mid, or null for none");
            else
                stage_->stage.music = {std::string(value), line};
        } else if (key == "background") {
            if (value == "0" || value == "day")
                stage_->stage.background = 0;
            else if (value == "1" || value == "night")
                stage_->stage.background = 1;
            else
                error(line,
                      "background must be 0 (day) or 1 (night), not '" + std::string(value) + "'");
        } else {
            if (!value.empty())
                error(line, "the map's rows start on the line after 'map:', not on its line");
            stage_->hasMap = true;
            stage_->mapLine = line;
            return true;
        }
        return false;
    }

    void startStage(std::string_view name, int line) {
        if (source_.stages.size() == size_t(MAX_STAGES))
            error(line, "more than " + std::to_string(MAX_STAGES) +
                            " stages; the editor keeps no more than that");
        stage_.emplace();
        stage_->stage.name = std::string(name);
        stage_->stage.line = line;
    }

    void finishStage() {
        if (!stage_) return;
        if (!stage_->hasMap)
            error(stage_->stage.line, stageLabel() + " has no 'map:'");
        else
            placeMap(*stage_);
        source_.stages.push_back(std::move(stage_->stage));
        stage_.reset();
    }

    void placeMap(PendingStage& pending) {
        if (pending.rows.empty()) {
            error(pending.mapLine, "the map of " + stageLabel() + " has no rows");
            return;
        }
        if (pending.rows.size() > size_t(MAP_ROWS)) {
            error(pending.rows[MAP_ROWS].number, "more than " + std::to_string(MAP_ROWS) +
                                                     " map rows (a stage is " +
                                                     std::to_string(MAP_ROWS) + " cells high)");
            return;
        }
        Legend legend = defaultLegend();
        for (const Legend* scope : {&fileLegend_, &pending.entries})
            for (const auto& [c, cell] : *scope)
                legend[c] = cell;

        SourceStage& stage = pending.stage;
        // Short maps stand on the bottom of the stage.
        const int firstRow = MAP_ROWS - int(pending.rows.size());
        for (size_t i = 0; i < pending.rows.size(); ++i) {
            const SourceLine& row = pending.rows[i];
            for (size_t column = 0; column < row.text.size(); ++column) {
                const char c = row.text[column];
                if (isEmptyCell(c)) continue;
                const auto found = legend.find(c);
                if (found == legend.end()) {
                    error(row.number, "unknown map character " + describeCharacter(c) +
                                          " in column " + std::to_string(column + 1));
                    break;
                }
                if (column > MAX_COLUMN) {
                    error(row.number,
                          "map row longer than " + std::to_string(MAX_COLUMN + 1) + " cells");
                    break;
                }
                const CellPlacement placement{int(column), firstRow + int(i), found->second.kind, c,
                                              row.number};
                auto& list = found->second.enemy ? stage.enemies : stage.objects;
                const size_t limit = found->second.enemy ? MAX_ENEMIES : MAX_OBJECTS;
                list.push_back(placement);
                if (list.size() == limit + 1)
                    error(row.number, "more than " + std::to_string(limit) +
                                          (found->second.enemy ? " enemies" : " objects") + " in " +
                                          stageLabel());
            }
        }
        bool hasGoal = false;
        for (const CellPlacement& object : stage.objects)
            hasGoal = hasGoal || object.kind == GOAL_KIND;
        if (!hasGoal)
            error(stage.line, stageLabel() + " has no goal (object kind " +
                                  std::to_string(GOAL_KIND) + "), so it could never be cleared");
    }

    std::string stageLabel() const {
        const size_t number = source_.stages.size() + 1;
        if (!stage_ || stage_->stage.name.empty()) return "stage " + std::to_string(number);
        return "stage '" + stage_->stage.name + "'";
    }

    Diagnostics& diagnostics_;
    StageSource source_;
    Legend fileLegend_;
    std::set<std::string> headerKeysGiven_;
    std::optional<PendingStage> stage_;
};

} // namespace

StageSource parseStageSource(std::string_view text, Diagnostics& diagnostics) {
    return SourceParser(diagnostics).parse(text);
}

} // namespace stages
