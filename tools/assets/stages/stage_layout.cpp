#include "stages/stage_layout.h"

#include "stages/stage_source.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <utility>

namespace stages {

namespace {

constexpr int64_t LOWEST_CELL_TOP = (MAP_ROWS - 1) * CELL_SIZE;

std::string describeRecord(const PlacedCell& cell) {
    return std::string(cell.enemy ? "enemy" : "object") + " kind " + std::to_string(cell.kind) +
           " at x " + std::to_string(cell.record.x) + ", y " + std::to_string(cell.record.y);
}

// The column of x; an empty problem means there is one.
int columnOf(int32_t x, std::string& problem) {
    if (x < 0)
        problem = "x is left of the stage (x 0 is its left edge)";
    else if (x % CELL_SIZE != 0)
        problem = "x is not a multiple of 16, so no map cell gives it";
    else if (x / CELL_SIZE >= MAX_IMPORT_COLUMNS)
        problem = "x lies past column " + std::to_string(MAX_IMPORT_COLUMNS) +
                  ", further than any map row is written";
    return x / CELL_SIZE;
}

// The row whose top is at top; what (e.g. "y") names top in messages.
int rowOf(int64_t top, const std::string& what, std::string& problem) {
    if (top < 0)
        problem = what + " is above the stage";
    else if (top > LOWEST_CELL_TOP)
        problem = what + " is below the top of the lowest row (y 0.." +
                  std::to_string(LOWEST_CELL_TOP) + ")";
    else if (top % CELL_SIZE != 0)
        problem = what + " is not a multiple of 16, so no map cell gives it";
    return int(top / CELL_SIZE);
}

class StageLayouter {
  public:
    StageLayouter(const std::string& label, EnemyHeights& heights, Diagnostics& diagnostics)
        : label_(label), heights_(heights), diagnostics_(diagnostics) {}

    void place(const ReadRecord& read, bool enemy, std::vector<PlacedCell>& cells) {
        PlacedCell cell;
        cell.enemy = enemy;
        cell.kind = read.record.kind;
        cell.record = read.record;
        const int lowest = enemy ? 0 : LOWEST_OBJECT_KIND;
        std::string problem;
        if (cell.kind < lowest || cell.kind > MAX_KIND) {
            problem = std::string("a map places ") + (enemy ? "enemy" : "object") + " kinds " +
                      std::to_string(lowest) + ".." + std::to_string(MAX_KIND) + " only";
        } else {
            cell.column = columnOf(read.record.x, problem);
            if (problem.empty())
                cell.row =
                    enemy ? enemyRow(read.record, problem) : rowOf(read.record.y, "y", problem);
        }
        if (!problem.empty())
            error(read.line, cell, problem);
        else if (claimCell(read.line, cell))
            cells.push_back(cell);
    }

    bool failed() const { return failed_; }

  private:
    // An enemy stands in the cell whose top its picture hangs from.
    int enemyRow(const FileRecord& record, std::string& problem) {
        const std::optional<int> height = heights_.heightOf(record.kind, problem);
        if (!height) return 0;
        if (record.y > MAX_RECORD_Y) {
            problem = "y is past the 0.." + std::to_string(MAX_RECORD_Y) + " a stage file keeps";
            return 0;
        }
        const int64_t top = int64_t(record.y) - *height;
        return rowOf(top,
                     "its top (y minus its " + std::to_string(*height) + "-pixel height, " +
                         std::to_string(top) + ")",
                     problem);
    }

    bool claimCell(int line, const PlacedCell& cell) {
        const auto [found, added] = owners_.emplace(std::pair(cell.row, cell.column), line);
        if (added) return true;
        error(line, cell,
              "its cell (column " + std::to_string(cell.column + 1) + ", row " +
                  std::to_string(cell.row + 1) + ") already holds the record on line " +
                  std::to_string(found->second) + "; a map cell holds one thing");
        return false;
    }

    void error(int line, const PlacedCell& cell, const std::string& problem) {
        diagnostics_.error(line, label_ + ": " + describeRecord(cell) + ": " + problem);
        failed_ = true;
    }

    const std::string& label_;
    EnemyHeights& heights_;
    Diagnostics& diagnostics_;
    std::map<std::pair<int, int>, int> owners_; // (row, column) -> line of the record there
    bool failed_ = false;
};

bool mapOrder(const PlacedCell& a, const PlacedCell& b) {
    return std::pair(a.row, a.column) < std::pair(b.row, b.column);
}

bool inMapOrder(std::vector<PlacedCell>& cells) {
    const bool sorted = std::is_sorted(cells.begin(), cells.end(), mapOrder);
    std::sort(cells.begin(), cells.end(), mapOrder);
    return sorted;
}

} // namespace

std::optional<StageLayout> layOutStage(const ReadStage& stage, const std::string& label,
                                       EnemyHeights& heights, Diagnostics& diagnostics) {
    bool failed = false;
    const auto tooMany = [&](size_t count, size_t limit, const char* what) {
        if (count <= limit) return;
        diagnostics.error(stage.line, label + " has " + std::to_string(count) + " " + what +
                                          "; a stage holds at most " + std::to_string(limit));
        failed = true;
    };
    tooMany(stage.objects.size(), MAX_OBJECTS, "objects");
    tooMany(stage.enemies.size(), MAX_ENEMIES, "enemies");

    StageLayout layout;
    StageLayouter layouter(label, heights, diagnostics);
    for (const ReadRecord& read : stage.objects)
        layouter.place(read, false, layout.objects);
    for (const ReadRecord& read : stage.enemies)
        layouter.place(read, true, layout.enemies);
    failed = failed || layouter.failed();

    const bool hasGoal =
        std::any_of(stage.objects.begin(), stage.objects.end(),
                    [](const ReadRecord& r) { return r.record.kind == GOAL_KIND; });
    if (!hasGoal) {
        diagnostics.error(stage.line, label + " has no goal (object kind " +
                                          std::to_string(GOAL_KIND) +
                                          "); the builder refuses a stage that cannot be cleared");
        failed = true;
    }
    if (failed) return std::nullopt;
    const bool objectsInOrder = inMapOrder(layout.objects);
    const bool enemiesInOrder = inMapOrder(layout.enemies);
    layout.reordered = !objectsInOrder || !enemiesInOrder;
    return layout;
}

} // namespace stages
