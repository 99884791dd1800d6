#include "stages/map_checker.h"

#include "stages/text_values.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace stages {

namespace {

// What a kind is to the checks. Kinds the game gives no other touch stop
// everything and count as solid; the table names the rest.
enum Role : uint8_t {
    SOLID = 1,     // stops everything where it stands
    SURFACE = 2,   // a ground top: grass, snow, sand, the fort's battlements
    LEFT_END = 4,  // a ground top drawn with its left edge open
    RIGHT_END = 8, // ... with its right edge open
    BUMPED = 16,   // does its work only when bumped from below
    ONE_WAY = 32,  // a floor from above only
    HAZARD = 64,   // kills what stands on it
    NONE = 0,      // passes: items, springs, hidden things, moving pieces
};

struct RoleRow {
    std::initializer_list<uint8_t> kinds;
    uint8_t roles;
};

// clang-format off
const RoleRow ROLE_ROWS[] = {
    // items, the spring, the enemy turner, open walls and blocks, and the
    // hazards and platforms that move away from their cell
    {{3, 4, 6, 7, 8, 9, 15, 18, 20, 22, 23, 24, 26, 27, 28, 29, 30, 31, 38, 39, 42, 46, 47, 63},
     NONE},
    {{2},                      SOLID | HAZARD},
    {{10, 11, 12, 13},         HAZARD},
    {{5},                      BUMPED},
    {{17, 21, 33, 35, 37, 40, 41, 44}, SOLID | BUMPED},
    {{43},                     ONE_WAY},
    {{49, 52, 53, 58, 92, 98, 104, 129}, SOLID | SURFACE},
    {{48, 91, 128},            SOLID | SURFACE | LEFT_END},
    {{50, 93, 130},            SOLID | SURFACE | RIGHT_END},
};
// clang-format on

const std::array<uint8_t, 256>& rolesByKind() {
    static const std::array<uint8_t, 256> roles = [] {
        std::array<uint8_t, 256> table;
        table.fill(SOLID);
        for (const RoleRow& row : ROLE_ROWS)
            for (uint8_t kind : row.kinds)
                table[kind] = row.roles;
        return table;
    }();
    return roles;
}

bool has(int kind, uint8_t role) {
    return kind >= 0 && kind <= 255 && (rolesByKind()[size_t(kind)] & role) != 0;
}

// Walking enemies fall from any start without a floor under it.
constexpr std::array<int, 7> WALKING_ENEMIES = {0, 1, 4, 5, 6, 10, 12};

bool isWalking(int kind) {
    for (int walking : WALKING_ENEMIES)
        if (walking == kind) return true;
    return false;
}

using Cell = std::pair<int, int>; // column, row

class StageCells {
  public:
    explicit StageCells(const SourceStage& stage) {
        for (const CellPlacement& object : stage.objects)
            objects_[{object.column, object.row}] = object.kind;
    }
    // The kind of the object on a cell, or nothing.
    std::optional<int> objectAt(int column, int row) const {
        const auto found = objects_.find({column, row});
        if (found == objects_.end()) return std::nullopt;
        return found->second;
    }
    bool holds(int column, int row, uint8_t role) const {
        const std::optional<int> kind = objectAt(column, row);
        return kind && has(*kind, role);
    }

  private:
    std::map<Cell, int> objects_;
};

class StageChecker {
  public:
    StageChecker(const SourceStage& stage, EnemyHeights& heights, Diagnostics& diagnostics)
        : stage_(stage), cells_(stage), heights_(heights), diagnostics_(diagnostics) {}

    void run() {
        for (const CellPlacement& object : stage_.objects) {
            checkBuriedSurface(object);
            checkEndPiece(object);
            checkUnbumpableBlock(object);
            checkGoalFloor(object);
        }
        std::map<Cell, const CellPlacement*> enemyCells;
        for (const CellPlacement& enemy : stage_.enemies)
            checkEnemy(enemy, enemyCells);
    }

  private:
    void report(const CellPlacement& cell, const std::string& what) {
        diagnostics_.error(cell.line, cell.column + 1,
                           "stage " + stage_.name + ": " + describe(cell) + " " + what);
    }
    static std::string describe(const CellPlacement& cell) {
        return describeCharacter(cell.symbol) + " (kind " + std::to_string(cell.kind) + ")";
    }

    void checkBuriedSurface(const CellPlacement& object) {
        if (!has(object.kind, SURFACE) || !cells_.holds(object.column, object.row - 1, SOLID))
            return;
        report(object, "is a ground top under a solid tile (kind " +
                           std::to_string(*cells_.objectAt(object.column, object.row - 1)) +
                           "); use the ground without a top there");
    }

    // An end piece draws its open edge; beside more ground that is a crack.
    void checkEndPiece(const CellPlacement& object) {
        const bool left = has(object.kind, LEFT_END);
        const bool right = has(object.kind, RIGHT_END);
        if (!left && !right) return;
        const int side = left ? object.column - 1 : object.column + 1;
        if (!cells_.holds(side, object.row, SURFACE)) return;
        // A pair of ends facing each other is reported once, at the right end.
        if (left && cells_.holds(side, object.row, RIGHT_END)) return;
        report(object, std::string("is a ground end with more ground on its open ") +
                           (left ? "left" : "right") + " side, which draws a crack in the floor");
    }

    void checkUnbumpableBlock(const CellPlacement& object) {
        if (!has(object.kind, BUMPED) || !cells_.holds(object.column, object.row + 1, SOLID))
            return;
        report(object, "works only when bumped from below, but a solid tile (kind " +
                           std::to_string(*cells_.objectAt(object.column, object.row + 1)) +
                           ") is right under it");
    }

    // The first thing under the goal must be a floor, not a pit or spikes.
    void checkGoalFloor(const CellPlacement& object) {
        if (object.kind != GOAL_KIND) return;
        for (int row = object.row + 1; row < MAP_ROWS; ++row) {
            if (cells_.holds(object.column, row, HAZARD)) {
                report(object, "stands over a hazard: the player cannot stand in front of it");
                return;
            }
            if (cells_.holds(object.column, row, SOLID | ONE_WAY)) return;
        }
        report(object, "has no floor under it: the player cannot stand in front of it");
    }

    // The cells an enemy's picture covers from its top cell down.
    void checkEnemy(const CellPlacement& enemy, std::map<Cell, const CellPlacement*>& enemyCells) {
        std::string problem;
        const std::optional<int> height = heights_.heightOf(enemy.kind, problem);
        if (!height || *height <= 0) return; // the assembler reports it
        const int bottomRow = enemy.row + (*height - 1) / CELL_SIZE;
        for (int row = enemy.row; row <= bottomRow && row < MAP_ROWS; ++row) {
            if (row > enemy.row && cells_.holds(enemy.column, row, SOLID)) {
                report(enemy, "starts inside the solid tile under it (kind " +
                                  std::to_string(*cells_.objectAt(enemy.column, row)) + ")");
                return;
            }
            const auto [other, fresh] = enemyCells.emplace(Cell{enemy.column, row}, &enemy);
            if (!fresh) {
                report(enemy, "overlaps the enemy " + describe(*other->second) + " of line " +
                                  std::to_string(other->second->line));
                return;
            }
        }
        if (!isWalking(enemy.kind)) return;
        for (int row = bottomRow + 1; row < MAP_ROWS; ++row)
            if (cells_.holds(enemy.column, row, SOLID | ONE_WAY)) return;
        report(enemy, "walks, but has no floor under its start: it falls out of the stage");
    }

    const SourceStage& stage_;
    StageCells cells_;
    EnemyHeights& heights_;
    Diagnostics& diagnostics_;
};

} // namespace

void checkStageMaps(const StageSource& source, EnemyHeights& heights, Diagnostics& diagnostics) {
    for (const SourceStage& stage : source.stages)
        StageChecker(stage, heights, diagnostics).run();
}

} // namespace stages
