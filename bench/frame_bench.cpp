// Figures for one gameplay pass (the world, the player, the pools, the status
// step, the HUD and the 8-bit present) on a typical stage and on a worst-case
// stage, for loading a worst-case stage, and for the window's conversion of
// the presented frame to colour. Each prints the median of many frames.
#include "core/frame_clock.h"
#include "platform/display.h"
#include "platform/headless/headless.h"
#include "platform/sdl/frame_conversion.h"
#include "shell/scene_machine.h"
#include "shell/scenes.h"
#include "shell/startup.h"
#include "stage/stage_loader.h"
#include "world/effects.h"
#include "world/player.h"
#include "world/projectiles.h"
#include "world/world.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Record {
    int x, y, kind;
};

// A stage file of one block, as the editor writes it.
std::string stageText(const std::vector<Record>& objects, const std::vector<Record>& enemies) {
    std::string text = "bench\r\nbench\r\ndone\r\n5\r\n0\r\nstage_begin\r\nnull\r\n0\r\n";
    auto list = [&text](const std::vector<Record>& records) {
        for (const Record& r : records)
            text += std::to_string(r.x) + "\r\n" + std::to_string(r.y) + "\r\n" +
                    std::to_string(r.kind) + "\r\n";
        text += "-1\r\n";
    };
    list(objects);
    list(enemies);
    return text + "end;";
}

// A floor with a few blocks, coins and enemies: a stage as stages are.
std::string typicalStage() {
    std::vector<Record> objects, enemies;
    for (int x = 0; x < 3200; x += 16) {
        objects.push_back({x, 224, 49});
        objects.push_back({x, 240, 51});
    }
    for (int x = 160; x < 3200; x += 160) {
        objects.push_back({x, 160, 33});
        objects.push_back({x + 16, 160, 35});
        objects.push_back({x + 48, 128, 3});
    }
    for (int x = 240; x < 1600; x += 160)
        enemies.push_back({x, 224, x / 160 % 2 == 0 ? 0 : 4});
    return stageText(objects, enemies);
}

// 1024 objects, many of them moving, and 64 enemies all inside the window
// in which enemies move.
std::string worstStage() {
    std::vector<Record> objects, enemies;
    const int moving[] = {22, 23, 26, 27, 28, 29, 30, 38, 39, 46, 14, 42, 61, 62};
    for (int x = 0; objects.size() < 700; x += 16) {
        objects.push_back({x, 224, 49});
        objects.push_back({x, 240, 51});
    }
    for (int i = 0; objects.size() < 1024; ++i) {
        const int kind = i % 3 == 0 ? moving[(i / 3) % std::size(moving)] : (i % 3 == 1 ? 3 : 35);
        objects.push_back({(i * 37) % 4000, 48 + (i * 16) % 128, kind});
    }
    for (int i = 0; i < 64; ++i)
        enemies.push_back({100 + i * 12, 224, i % 2 == 0 ? 0 : 4});
    return stageText(objects, enemies);
}

// A game folder of its own: links to the built game's data, and the stages.
const fs::path& benchFolder() {
    static const fs::path folder = [] {
        std::string pattern = (fs::temp_directory_path() / "velta-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        const fs::path made = pattern;
        for (const auto& entry : fs::directory_iterator(VELTA_DIST_DIR)) {
            const std::string name = entry.path().filename().string();
            if (name != "config.ini" && name != "stage")
                fs::create_symlink(entry.path(), made / name);
        }
        fs::create_directories(made / "stage");
        std::ofstream(made / "stage" / "typical.vtg", std::ios::binary) << typicalStage();
        std::ofstream(made / "stage" / "worst.vtg", std::ios::binary) << worstStage();
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(benchFolder(), ignored);
        });
        return made;
    }();
    return folder;
}

// The enemies as the stage loaded them, put back before every pass so that
// all 64 stay active whatever the last pass did to them.
std::vector<Enemy>& loadedEnemies() {
    static std::vector<Enemy> enemies;
    return enemies;
}

// The game started and playing the stage, its entry over.
void startStage(const char* file) {
    static bool started = false;
    if (!started) {
        headless::resetAll();
        headless::setKeptFrames(0);
        headless::setExecutablePath((benchFolder() / "velta").string());
        if (chdir(benchFolder().c_str()) != 0 || !startUp("") || !framePass()) std::abort();
        started = true;
    }
    headless::setFrameRecording(false);
    newGameReset();
    loadStage(file, 0);
    loadedEnemies() = world.enemies;
    sceneNumber = SCENE_GAMEPLAY;
    for (int i = 0; i < 120; ++i)
        framePass();
    player.x = 200;
}

// Every slot of both pools in use: spanners flying up and sparks and pop-ups.
void fillPools() {
    for (int i = 0; i < 128; ++i) {
        spawnProjectile(player.x + i % 64, 120 + i % 32, -1.2 + i * 0.01, PROJECTILE_SPANNER);
        spawnEffect(player.x + i % 64, 100, 0, 0, i % 4, NO_SOUND, i % 4 == 3 ? 1000 : 0);
    }
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Times one gameplay pass per iteration; the frame time stays one 60th.
void timePasses(benchmark::State& state, bool full) {
    std::vector<double> microseconds;
    for (auto _ : state) {
        if (full) {
            state.PauseTiming();
            fillPools();
            world.enemies = loadedEnemies();
            player.x = 200;
            state.ResumeTiming();
        }
        frameTime = 0.016;
        const auto start = std::chrono::steady_clock::now();
        gameplayScene();
        const auto end = std::chrono::steady_clock::now();
        microseconds.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    state.counters["median_us"] = median(microseconds);
}

void GameplayPassTypicalStage(benchmark::State& state) {
    startStage("typical.vtg");
    timePasses(state, false);
}
BENCHMARK(GameplayPassTypicalStage);

void GameplayPassWorstCaseStage(benchmark::State& state) {
    startStage("worst.vtg");
    timePasses(state, true);
    state.counters["objects"] = double(world.objects.size());
    state.counters["enemies"] = double(std::count_if(world.enemies.begin(), world.enemies.end(),
                                                     [](const Enemy& e) { return e.active; }));
}
BENCHMARK(GameplayPassWorstCaseStage);

// Loading a stage of 1024 objects and 64 enemies, each enemy reading its
// definition file.
void LoadWorstCaseStage(benchmark::State& state) {
    startStage("worst.vtg");
    std::vector<double> milliseconds;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        loadStage("worst.vtg", 0);
        const auto end = std::chrono::steady_clock::now();
        milliseconds.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    state.counters["median_ms"] = median(milliseconds);
}
BENCHMARK(LoadWorstCaseStage)->Unit(benchmark::kMillisecond);

// The window's conversion of the shown picture, and of the whole display
// as [DISPLAY] BORDER=1 shows it.
void ConvertPresentedFrame(benchmark::State& state) {
    std::vector<uint8_t> display(size_t(DISPLAY_WIDTH) * DISPLAY_HEIGHT);
    for (size_t i = 0; i < display.size(); ++i)
        display[i] = uint8_t(i * 7);
    PaletteEntry palette[256];
    for (int i = 0; i < 256; ++i)
        palette[i] = {uint8_t(i), uint8_t(i * 3), uint8_t(i * 5), 0};
    const platform::DisplayRect rect =
        state.range(0) ? platform::DisplayRect{}
                       : platform::DisplayRect{VIEW_X, VIEW_Y, SCREEN_WIDTH, SCREEN_HEIGHT};
    std::vector<uint32_t> out(size_t(rect.width) * size_t(rect.height));
    std::vector<double> microseconds;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        convertToArgb(display.data(), DISPLAY_WIDTH, rect, palette, out.data());
        benchmark::DoNotOptimize(out.data());
        const auto end = std::chrono::steady_clock::now();
        microseconds.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    state.counters["median_us"] = median(microseconds);
    state.SetLabel(state.range(0) ? "whole display" : "the picture");
}
BENCHMARK(ConvertPresentedFrame)->Arg(0)->Arg(1);

} // namespace

BENCHMARK_MAIN();
