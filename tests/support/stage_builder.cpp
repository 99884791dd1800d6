#include "support/stage_builder.h"

#include "support/fixture_files.h"

#include "formats/map_legend.h"

namespace {

void record(std::string& text, int x, int y, int kind) {
    text += std::to_string(x) + "\r\n" + std::to_string(y) + "\r\n" + std::to_string(kind) + "\r\n";
}

} // namespace

std::string stageFileText(const TestStageFile& file) {
    std::string text = file.comment + "\r\n" + file.author + "\r\n" + file.clearMessage + "\r\n" +
                       std::to_string(file.startingLives) + "\r\n" +
                       std::to_string(file.difficulty) + "\r\n";
    for (const TestStage& stage : file.stages) {
        text +=
            "stage_begin\r\n" + stage.music + "\r\n" + std::to_string(stage.background) + "\r\n";
        const int top = 16 - int(stage.rows.size());
        std::string enemies;
        for (size_t r = 0; r < stage.rows.size(); ++r) {
            for (size_t c = 0; c < stage.rows[r].size(); ++c) {
                const auto cell = defaultMapCell(stage.rows[r][c]);
                if (!cell) continue;
                const int x = int(c) * 16, y = (top + int(r)) * 16;
                if (cell->enemy)
                    record(enemies, x, y + 16, cell->kind);
                else
                    record(text, x, y, cell->kind);
            }
        }
        text += "-1\r\n" + enemies + "-1\r\n";
    }
    return text + "end;";
}

void writeStageFile(const std::filesystem::path& path, const TestStageFile& file) {
    std::filesystem::create_directories(path.parent_path());
    writeTextFile(path, stageFileText(file));
}
