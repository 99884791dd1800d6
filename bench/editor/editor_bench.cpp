// Figures for the editor's model: opening and saving a stage file of 36 full
// slots (1024 objects and 64 enemies each), and one canvas redraw of a full
// slot. Goals on the reference machine: open and save within 100 ms each,
// a redraw within 2 ms. Each prints the median of its runs.
#include "canvas_drawing.h"
#include "editor_paths.h"
#include "enemy_definitions.h"
#include "stage_file_io.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::unique_ptr<StageSet> fullSet() {
    auto set = std::make_unique<StageSet>();
    set->reset();
    for (StageSlot& slot : set->stageSlots) {
        for (int i = 0; i < OBJECT_SLOTS; ++i)
            slot.placeObject(16 * (i / 16), 16 * (i % 16), uint8_t(1 + i % 255));
        for (int i = 0; i < ENEMY_SLOTS; ++i)
            slot.placeEnemy(16 * i, 240, uint8_t(i % 14));
    }
    return set;
}

QTemporaryDir& folder() {
    static QTemporaryDir dir;
    return dir;
}

void OpenFullFile(benchmark::State& state) {
    const QString path = folder().filePath("full.vtg");
    QString error;
    writeStageFile(path, *fullSet(), error);
    auto set = std::make_unique<StageSet>();
    std::vector<double> times;
    for (auto _ : state) {
        const auto start = Clock::now();
        if (!readStageFile(path, *set, error)) state.SkipWithError("the file did not read");
        times.push_back(millisecondsSince(start));
    }
    state.counters["median_ms"] = median(times);
    state.counters["goal_ms"] = 100;
}

void SaveFullFile(benchmark::State& state) {
    const QString path = folder().filePath("saved.vtg");
    const auto set = fullSet();
    QString error;
    std::vector<double> times;
    for (auto _ : state) {
        const auto start = Clock::now();
        if (!writeStageFile(path, *set, error)) state.SkipWithError("the file was not written");
        times.push_back(millisecondsSince(start));
    }
    state.counters["median_ms"] = median(times);
    state.counters["goal_ms"] = 100;
}

void RedrawFullSlot(benchmark::State& state) {
    setEditorFolder(VELTA_DIST_DIR "/editor");
    const CanvasPictures pictures = canvasPictures(
        QImage(gamePath("mapobj.bmp")), QImage(gamePath("enemy.bmp")), QImage(gamePath("pal.bmp")));
    QStringList problems;
    const EnemyDefinitions definitions = readEnemyDefinitions(gamePath("dat"), problems);
    const auto set = fullSet();
    std::vector<double> times;
    for (auto _ : state) {
        const auto start = Clock::now();
        QImage canvas =
            drawCanvas(set->stageSlots[0], 16, definitions, pictures, QRect(64, 64, 16, 16));
        benchmark::DoNotOptimize(canvas.constBits());
        times.push_back(millisecondsSince(start));
    }
    state.counters["median_ms"] = median(times);
    state.counters["goal_ms"] = 2;
}

} // namespace

BENCHMARK(OpenFullFile)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(SaveFullFile)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(RedrawFullSlot)->Unit(benchmark::kMillisecond)->Iterations(500);
BENCHMARK_MAIN();
