#include "stages/source_writer.h"

#include "stages/legend_choice.h"
#include "stages/stage_source.h"

#include <algorithm>
#include <utility>

namespace stages {

namespace {

constexpr char EMPTY_CELL = '.';
constexpr size_t ENTRIES_PER_LEGEND_LINE = 8;

// Objects before enemies, each by kind: how a reader looks kinds up.
std::vector<std::pair<char, LegendCell>> byKind(const Legend& legend) {
    std::vector<std::pair<char, LegendCell>> entries(legend.begin(), legend.end());
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return std::pair(a.second.enemy, a.second.kind) < std::pair(b.second.enemy, b.second.kind);
    });
    return entries;
}

void appendLegend(std::string& out, const Legend& legend) {
    const auto entries = byKind(legend);
    for (size_t i = 0; i < entries.size(); ++i) {
        const auto& [c, cell] = entries[i];
        out += i % ENTRIES_PER_LEGEND_LINE == 0 ? "legend:" : "";
        out += std::string(" ") + c + "=" + (cell.enemy ? "e" : "") + std::to_string(cell.kind);
        if (i % ENTRIES_PER_LEGEND_LINE == ENTRIES_PER_LEGEND_LINE - 1 || i + 1 == entries.size())
            out += "\n";
    }
}

} // namespace

std::vector<std::string> mapRows(const StageLayout& layout, const Legend& file,
                                 const Legend& stage) {
    std::vector<std::string> rows(MAP_ROWS);
    for (const auto* cells : {&layout.objects, &layout.enemies})
        for (const PlacedCell& cell : *cells) {
            std::string& row = rows[size_t(cell.row)];
            if (row.size() <= size_t(cell.column)) row.resize(size_t(cell.column) + 1, EMPTY_CELL);
            row[size_t(cell.column)] = characterFor(KindKey(cell.enemy, cell.kind), file, stage);
        }
    const auto firstUsed =
        std::find_if(rows.begin(), rows.end(), [](const std::string& row) { return !row.empty(); });
    // The lowest row is always written: it is what the map stands on.
    rows.erase(rows.begin(), std::min(firstUsed, rows.end() - 1));
    for (std::string& row : rows)
        if (row.empty()) row = std::string(1, EMPTY_CELL);
    return rows;
}

std::string writeSourceText(const ImportedSource& source) {
    std::string out = "# Imported from " + source.origin +
                      " by velta_assets import. Stages are named by their place in the file.\n";
    out += "comment: " + source.comment + "\n";
    out += "author: " + source.author + "\n";
    out += "clear: " + source.clearMessage + "\n";
    out += "lives: " + std::to_string(source.startingLives) + "\n";
    out += "difficulty: " + std::to_string(source.difficulty) + "\n";
    appendLegend(out, source.legend);
    for (const ImportedStage& stage : source.stages) {
        out += "\nstage: " + stage.name + "\n";
        out += "music: " + stage.music + "\n";
        out += std::string("background: ") + (stage.background == 0 ? "day" : "night") + "\n";
        appendLegend(out, stage.legend);
        out += "map:\n";
        for (const std::string& row : stage.rows)
            out += row + "\n";
    }
    return out;
}

} // namespace stages
