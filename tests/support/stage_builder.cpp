#include "support/stage_builder.h"

#include "support/fixture_files.h"

namespace {

// clang-format off
const std::map<char, int> OBJECT_CELLS = {
    {'#', 49}, {'=', 51}, {'B', 35}, {'?', 33}, {'S', 37}, {'H', 5},  {'c', 3},  {'G', 24},
    {'^', 10}, {'s', 4},  {'X', 2},  {'|', 6},  {'_', 43}, {'F', 36}, {'U', 31}, {'L', 41},
};
const std::map<char, int> ENEMY_CELLS = {{'w', 0}, {'k', 2}, {'f', 8}, {'j', 5}};
// clang-format on

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
                const char cell = stage.rows[r][c];
                const int x = int(c) * 16, y = (top + int(r)) * 16;
                if (auto object = OBJECT_CELLS.find(cell); object != OBJECT_CELLS.end())
                    record(text, x, y, object->second);
                if (auto enemy = ENEMY_CELLS.find(cell); enemy != ENEMY_CELLS.end())
                    record(enemies, x, y + 16, enemy->second);
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
